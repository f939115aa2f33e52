#!/usr/bin/env python3
"""What a start of the real kotoban executable loads, under Xvfb.

Usage: e2e_startup.py <kotoban executable> <starter data folder>

kotoban starts on the starter library. Once its window shows, the test reads the process's
memory map, where FreeType maps every font file it opens: a start loads one, the window's
own. A second family, loaded for a fallback list or for a text box's first empty page, costs
every start time and memory without anything on the screen to show for it.

Exit codes: 0 passed, 1 failed, 77 skipped (a needed tool is not installed).
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_kotoban as base  # noqa: E402

TOTAL_SECONDS = 40
FONT_FILES = (".ttf", ".otf", ".ttc", ".pfb")


def mapped_fonts(pid):
    """The font files the process has loaded."""
    with open(f"/proc/{pid}/maps") as maps:
        return {line.split()[-1] for line in maps if line.rstrip().endswith(FONT_FILES)}


def inside_xvfb(kotoban, folder):
    session = base.Session(kotoban, folder, time.monotonic() + TOTAL_SECONDS)
    try:
        session.start("kotoban-startup.log")
        fonts = mapped_fonts(session.process.pid)
        base.check(len(fonts) == 1, f"kotoban loaded {len(fonts)} font files at start: {sorted(fonts)}")
        print(f"ok: one font file loaded at start: {fonts.pop()}")
        session.close_with_menu()
        return 0
    except base.Failure as failure:
        return base.report_failure(session, failure, folder, "kotoban-startup.log")
    finally:
        session.kill()


def main(argv):
    return base.run_test(argv, __file__, inside_xvfb, "kotoban-e2e-startup-", TOTAL_SECONDS)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
