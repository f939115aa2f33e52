#!/usr/bin/env python3
"""End-to-end test of the class window's example pane: a class written by keyboard alone.

Usage: e2e_pane.py <kotoban executable> <starter data folder>

On a 1280 × 800 screen, kotoban runs in a folder holding a small library written for this
test and a class of three pupils that the class window opens as the class used last. Once
学級(&G) → 学級の所見を開く has shown the class window (which must fit the screen), every
field is written from the example pane with keys only: Ctrl+F, the search words (pasted, as
an input method would commit them), ↓ into the list, Enter to put an example in at the
cursor, Ctrl+↓ to the next pupil, Ctrl+→ to the next field. The class window is closed
through its own menu, and the class file must hold each text with the names filled in. The
keys pressed per pupil, the search words aside, are printed.

Exit codes: 0 passed, 1 failed, 77 skipped (a needed tool is not installed).
"""

import json
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_class  # noqa: E402  (the class window's session)
import e2e_kotoban as base  # noqa: E402

TOTAL_SECONDS = 90
SCREEN = (1280, 800)
SCREENSHOT = "/tmp/kotoban-e2e-pane.png"
CLASS_FILE = "4年1組.json"

LIBRARY = {
    1: ("学習について", [
        ("国語", "読む", "ほめたい", "〇〇は音読に意欲的に取り組みました。"),
        ("国語", "書く", "ほめたい", "ていねいな字で最後まで書き上げました。"),
        ("理科", "観察", "ほめたい", "メダカの観察を毎日続けました。"),
    ]),
    2: ("道徳、特活、総合、行事", [
        ("行事", "運動会", "ほめたい", "運動会では友達を大きな声で応援しました。"),
        ("道徳", "友情", "ほめたい", "〇〇は友達の気持ちを考えて行動できました。"),
    ]),
    3: ("日常生活について", [
        ("生活", "係", "ほめたい", "係の仕事に進んで取り組みました。"),
        ("生活", "あいさつ", "ほめたい", "毎朝元気にあいさつできました。"),
    ]),
}

PUPILS = [(1, "青木 空", "男"), (2, "井上 海", "女"), (3, "上田 陸", "男")]

# Per pupil: the keys that choose the field, then (search words, keys after pasting them) per
# example. Enter in the search box takes the first example listed; "Down" goes into the list
# and a second one to the next example. Ctrl+↓ then goes to the next pupil.
STEPS = [
    ([], [("音読", ["Return"]), ("係", ["Return"])]),
    ([], [("友達", ["Down", "Down", "Return"]), ("あいさつ", ["Return"])]),
    (["ctrl+Right"], [("メダカ", ["Return"]), ("ていねい", ["Return"])]),
]
EXPECTED = [
    ["青木くんは音読に意欲的に取り組みました。係の仕事に進んで取り組みました。", ""],
    ["井上さんは友達の気持ちを考えて行動できました。毎朝元気にあいさつできました。", ""],
    ["", "メダカの観察を毎日続けました。ていねいな字で最後まで書き上げました。"],
]


def prepare(folder):
    """The library above in place of the starter one, and the class, remembered as the last."""
    for n, (title, records) in LIBRARY.items():
        lines = [f'"{title}"'] + [",".join(f'"{field}"' for field in record) for record in records]
        with open(os.path.join(folder, f"Kotoban{n}.txt"), "wb") as file:
            file.write(("\r\n".join(lines) + "\r\n").encode("cp932"))
    book = {
        "format": "kotoban-class", "version": 1, "name": "4年1組", "naming": "family-by-sex",
        "fields": [{"name": "所見", "limit": 200}, {"name": "行動", "limit": 0}],
        "pupils": [{"number": number, "name": name, "kana": "", "sex": sex, "texts": ["", ""]}
                   for number, name, sex in PUPILS],
    }
    with open(os.path.join(folder, CLASS_FILE), "w", encoding="utf-8") as file:
        json.dump(book, file, ensure_ascii=False, indent=1)
    with open(os.path.join(folder, "KotobanLastClass.txt"), "w", encoding="utf-8") as file:
        file.write(CLASS_FILE + "\n")


def geometry(session, window):
    """x, y, width and height of a window, its frame left aside (there is no window manager)."""
    values = {}
    for line in session.run(["xdotool", "getwindowgeometry", "--shell", window]).decode().split():
        name, _, value = line.partition("=")
        values[name] = int(value) if value.isdigit() else value
    return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]


def inside_xvfb(kotoban, folder):
    session = e2e_class.ClassSession(kotoban, folder, time.monotonic() + TOTAL_SECONDS)
    check = base.check
    try:
        session.start("kotoban-pane.log")
        # The class window stays where it opens: alone it has to fit the screen.
        class_window = session.open_class_window(below_main=False)
        caption = session.window_name(class_window)
        check(caption == e2e_class.CLASS_CAPTION + " － 4年1組", f"the class window reads {caption!r}")
        x, y, width, height = geometry(session, class_window)
        check(x + width <= SCREEN[0] and y + height <= SCREEN[1],
              f"the class window ({width} × {height} at {x}, {y}) does not fit a {SCREEN[0]} × {SCREEN[1]} screen")
        print(f"ok: the class window opens on the last class at {width} × {height}")

        presses = []
        for pupil, (before, examples) in enumerate(STEPS):
            keys = list(before)
            session.key(*before)
            for words, after in examples:
                session.key("ctrl+f")
                session.set_clipboard(words)
                session.key("ctrl+v")  # the search words, as an input method commits them
                session.key(*after)
                keys += ["ctrl+f"] + after
            if pupil + 1 < len(STEPS):
                session.key("ctrl+Down")
                keys.append("ctrl+Down")
            presses.append(len(keys))
        if shutil.which("import"):
            session.run(["import", "-window", "root", SCREENSHOT], what="saving a screenshot")
        print(f"ok: keys pressed per pupil, the search words aside: {presses}")

        # Closed through its own menu (学級 → 閉じる), the class window saves.
        session.focus(class_window)
        session.key("alt+f")
        time.sleep(0.5)
        session.key("x")
        end = time.monotonic() + 5
        while class_window in session.visible_windows():
            check(time.monotonic() < end, "the class window did not close")
            time.sleep(0.1)
        with open(os.path.join(folder, CLASS_FILE), encoding="utf-8") as file:
            texts = [pupil["texts"] for pupil in json.load(file)["pupils"]]
        check(texts == EXPECTED, f"the class file holds {texts!r}")
        print("ok: the class file holds every field written from the pane, the names filled in")
        session.focus(session.window)
        session.close_with_menu()
        return 0
    except base.Failure as failure:
        return base.report_failure(session, failure, folder, "kotoban-pane.log")
    finally:
        session.kill()


def main(argv):
    return base.run_test(argv, __file__, inside_xvfb, "kotoban-e2e-pane-", TOTAL_SECONDS,
                         screen=f"{SCREEN[0]}x{SCREEN[1]}x24", prepare=prepare, passed=f"passed; screenshot in {SCREENSHOT}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
