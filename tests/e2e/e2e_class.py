#!/usr/bin/env python3
"""End-to-end test of the class window in the real kotoban executable under Xvfb.

Usage: e2e_class.py <kotoban executable> <starter data folder>

kotoban runs in a temporary folder seeded with the starter library, on a private X server.
The test opens 学級(&G) → 学級の所見を開く, imports a roster from the clipboard (as copied
from a spreadsheet: tab-separated, with a header row) into a new class "E2E", pastes a
comment with the placeholder 〇〇 into the main window's composition, puts it into the
first two pupils with Ctrl+Return (所見文を入れる), and closes kotoban through its File menu.
The class file must hold both comments with the family names filled in. Started again,
kotoban reopens the class; Ctrl+Shift+Return (所見文に出す) brings each comment back into
the composition, and "文章をコピー" puts it on the clipboard, where xclip reads it.

Exit codes: 0 passed, 1 failed, 77 skipped (a needed tool is not installed).
"""

import json
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_kotoban as base  # noqa: E402  (the session, the clicks and the clipboard)

TOTAL_SECONDS = 80
SCREENSHOT = "/tmp/kotoban-e2e-class.png"
CLASS_CAPTION = "学級の所見"
ROSTER = ("出席番号\t氏名\tふりがな\t性別\r\n"
          "1\t青木 空\tあおき そら\t男\r\n"
          "2\t井上 海\tいのうえ うみ\t女\r\n"
          "3\t上田 陸\tうえだ りく\t男\r\n")
COMMENT = "〇〇は、係の仕事を最後までやりとげました。"
FILLED = [COMMENT.replace("〇〇", name) for name in ("青木さん", "井上さん")]
TEXT1 = (120 + 5655 // 2, 3360 + 1335 // 2)
CMD_CLEAR = (5880 + 727, 3480 + 187)


class ClassSession(base.Session):
    """The main window's session plus the class window and the dialogs it opens."""

    def visible_windows(self):
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."],
                                capture_output=True, timeout=self.remaining(5))
        return set(result.stdout.decode().split())

    def wait_for_new_window(self, known, what, timeout=10):
        """A visible window not among known, focused so that keys go to it."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            new = self.visible_windows() - known
            if new:
                window = sorted(new)[-1]
                time.sleep(0.3)  # let it finish laying out and take its focus widget
                self.run(["xdotool", "windowfocus", "--sync", window], what=f"focusing {what}")
                return window
            time.sleep(0.2)
        raise base.Failure(f"{what} did not appear within {timeout} s")

    def focus(self, window):
        self.run(["xdotool", "windowfocus", "--sync", window], what="focusing a window")
        time.sleep(base.SETTLE)

    def window_name(self, window):
        return self.run(["xdotool", "getwindowname", window]).decode("utf-8").rstrip("\n")

    def open_class_window(self, below_main=True):
        known = self.visible_windows()
        self.focus(self.window)
        self.key("alt+g")
        time.sleep(0.5)
        self.key("Return")
        window = self.wait_for_new_window(known, "the class window")
        # Without a window manager both windows start at the top left: the class window goes
        # below the main window, which the clicks and the menu probe need to see.
        if below_main:
            self.run(["xdotool", "windowmove", "--sync", window, "0", "420"], what="moving the class window")
        return window

    def answer(self, known, what, *keys):
        """Waits for a dialog, presses keys in it and waits until it is gone."""
        dialog = self.wait_for_new_window(known, what)
        for k in keys:
            if k.startswith("type:"):
                self.type(k[5:])
            else:
                self.key(k)
        end = time.monotonic() + 5
        while dialog in self.visible_windows():
            if time.monotonic() > end:
                raise base.Failure(f"{what} stayed open")
            time.sleep(0.1)

    def set_clipboard(self, text):
        process = subprocess.Popen(["xclip", "-selection", "clipboard", "-i"], stdin=subprocess.PIPE)
        process.communicate(text.encode("utf-8"), timeout=self.remaining(5))
        time.sleep(base.SETTLE)


def inside_xvfb(kotoban, folder):
    session = ClassSession(kotoban, folder, time.monotonic() + TOTAL_SECONDS)
    check = base.check
    try:
        session.start("kotoban-class-run1.log")
        class_window = session.open_class_window()
        check(session.window_name(class_window) == CLASS_CAPTION,
              f"the class window is captioned {session.window_name(class_window)!r}")
        print("ok: 学級の所見を開く shows the class window")

        # The roster from the clipboard into a new class "E2E": the window first says it
        # makes a class, asks its name and file, then shows the preview and a summary.
        session.set_clipboard(ROSTER)
        session.focus(class_window)
        known = session.visible_windows()
        session.key("ctrl+shift+v")
        session.answer(known, "the note that a class is made first", "Return")
        session.answer(known, "the class name question", "type:E2E", "Return")
        session.answer(known, "the file dialog", "Return")
        session.answer(known, "the roster preview", "Return")
        session.answer(known, "the import summary", "Return")
        caption = session.window_name(class_window)
        check(caption == CLASS_CAPTION + " － E2E", f"after the import the class window reads {caption!r}")
        print(f"ok: the roster was imported into {caption}")

        # A comment with 〇〇 in the composition, then into pupils 1 and 2.
        session.set_clipboard(COMMENT)
        session.focus(session.window)
        session.click(TEXT1)
        session.key("ctrl+v")
        session.focus(class_window)
        session.key("ctrl+Return", "ctrl+Return")
        time.sleep(1.5)  # the class saves itself within a second
        session.focus(session.window)
        session.close_with_menu()
        path = os.path.join(folder, "E2E.json")
        check(os.path.exists(path), "no class file E2E.json was written")
        saved = json.load(open(path, encoding="utf-8"))
        texts = [pupil["texts"][0] for pupil in saved["pupils"]]
        check(texts == FILLED + [""], f"the class file holds {texts!r}")
        print("ok: the class file holds both comments with the names filled in")

        # Started again: the class reopens and each comment comes back to the composition.
        session.start("kotoban-class-run2.log")
        class_window = session.open_class_window()
        caption = session.window_name(class_window)
        check(caption == CLASS_CAPTION + " － E2E", f"after a restart the class window reads {caption!r}")
        for pupil, expected in enumerate(FILLED):
            session.focus(session.window)
            session.click(CMD_CLEAR)
            session.focus(class_window)
            if pupil:
                session.key("Down")
            session.key("ctrl+shift+Return")
            session.focus(session.window)
            session.click(base.CMD_COPY)
            copied = session.clipboard(expected)
            check(copied == expected, f"pupil {pupil + 1} came back as {copied!r}, expected {expected!r}")
        print("ok: after a restart both comments come back with the names filled in")
        if shutil.which("import"):
            session.run(["import", "-window", "root", SCREENSHOT], what="saving a screenshot")
        session.focus(session.window)
        session.close_with_menu()
        return 0
    except base.Failure as failure:
        return base.report_failure(session, failure, folder, "kotoban-class-run1.log", "kotoban-class-run2.log")
    finally:
        session.kill()


def main(argv):
    return base.run_test(argv, __file__, inside_xvfb, "kotoban-e2e-class-", TOTAL_SECONDS, screen="1280x1024x24",
                         passed=f"passed; screenshot in {SCREENSHOT}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
