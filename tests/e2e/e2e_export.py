#!/usr/bin/env python3
"""End-to-end test of "列をコピー" in the real kotoban executable under Xvfb.

Usage: e2e_export.py <kotoban executable> <starter data folder>

kotoban runs in a temporary folder holding the starter library and a class file it reopens.
The test opens 学級(&G) → 学級の所見を開く, copies the first field's column with
Ctrl+Shift+C (列をコピー), moves to the second field and copies that one, and reads both back
from the real X clipboard with xclip: one row per pupil in 出席番号 order, each ended by
CR LF, a text with a line break or a quote in quotes (quotes doubled), as Excel pastes it.

Exit codes: 0 passed, 1 failed, 77 skipped (a needed tool is not installed).
"""

import json
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_kotoban as base  # noqa: E402
from e2e_class import ClassSession  # noqa: E402

TOTAL_SECONDS = 60
CLASS = {
    "format": "kotoban-class",
    "version": 1,
    "name": "E2E 書き出し",
    "fields": [{"name": "所見", "limit": 200}, {"name": "道徳", "limit": 100}],
    # Stored out of 出席番号 order: the copy goes by number.
    "pupils": [
        {"number": 2, "name": "井上 海", "kana": "", "sex": "女",
         "texts": ["一行目。\n二行目。", "「はい」と\"言った\"。"]},
        {"number": 1, "name": "𠮷田 空", "kana": "", "sex": "男",
         "texts": ["𠮷田さんは、係の仕事をやりとげました。", ""]},
        {"number": 3, "name": "上田 陸", "kana": "", "sex": "男",
         "texts": ["", "タブ\tのある文"]},
    ],
}
EXPECTED = [
    "𠮷田さんは、係の仕事をやりとげました。\r\n\"一行目。\n二行目。\"\r\n\r\n",
    "\r\n\"「はい」と\"\"言った\"\"。\"\r\n\"タブ\tのある文\"\r\n",
]


def inside_xvfb(kotoban, folder):
    session = ClassSession(kotoban, folder, time.monotonic() + TOTAL_SECONDS)
    check = base.check
    try:
        session.start("kotoban-export.log")
        class_window = session.open_class_window()
        caption = session.window_name(class_window)
        check(caption == "学級の所見 － E2E 書き出し", f"the class window reads {caption!r}")
        for field, expected in enumerate(EXPECTED):
            session.focus(class_window)
            if field:
                session.key("Right")
            session.key("ctrl+shift+c")
            copied = session.clipboard(expected)
            check(copied == expected, f"field {field + 1} was copied as {copied!r}, expected {expected!r}")
            print(f"ok: 列をコピー put field {field + 1} on the X clipboard as Excel pastes it")
        session.focus(session.window)
        session.close_with_menu()
        return 0
    except base.Failure as failure:
        return base.report_failure(session, failure, folder, "kotoban-export.log")
    finally:
        session.kill()


def write_class(folder):
    with open(os.path.join(folder, "E2E.json"), "w", encoding="utf-8") as f:
        json.dump(CLASS, f, ensure_ascii=False)
    with open(os.path.join(folder, "KotobanLastClass.txt"), "w", encoding="utf-8") as f:
        f.write("E2E.json\n")


def main(argv):
    return base.run_test(argv, __file__, inside_xvfb, "kotoban-e2e-export-", TOTAL_SECONDS, screen="1280x1024x24",
                         prepare=write_class)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
