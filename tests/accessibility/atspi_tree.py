"""Reads Kotoban's main window through AT-SPI and checks that a screen reader finds every
control by a name that says what it is for.

    atspi_tree.py <kotoban executable> <starter library folder>

Runs inside a display and a session bus of its own (see check-atspi.sh).
KOTOBAN_ATSPI_DUMP=1 prints the tree it read.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

TITLE = "ことばん　（所見作成ソフト）"


def find_window(pid, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            try:
                if app.get_process_id() != pid:
                    continue
                for window in app:
                    if window is not None and window.name == TITLE:
                        return window
            except Exception:  # the application may still be registering
                pass
        time.sleep(0.5)
    return None


def walk(node, found, depth=0):
    """Collects (role, name, description, showing, node) of every node except list entries."""
    if node is None or depth > 30 or len(found) > 5000:
        return
    role = node.getRoleName()
    showing = node.getState().contains(pyatspi.STATE_SHOWING)
    found.append((role, node.name, node.description, showing, node))
    if role == "list":
        return
    for child in node:
        walk(child, found, depth + 1)


def main():
    program, starter = os.path.abspath(sys.argv[1]), sys.argv[2]
    folder = tempfile.mkdtemp(prefix="kotoban-atspi-")
    for n in (1, 2, 3):
        shutil.copy(os.path.join(starter, f"Kotoban{n}.txt"), folder)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    process = subprocess.Popen([program], cwd=folder, env=env)
    failures = []
    try:
        window = find_window(process.pid, timeout=60)
        if window is None:
            print("FAIL: the main window did not appear on the accessibility bus")
            return 1
        found = []
        walk(window, found)
        if os.environ.get("KOTOBAN_ATSPI_DUMP"):
            for role, name, description, showing, _ in found:
                print(f"{role:14} {'showing' if showing else 'hidden ':7} {name!r} {description!r}")

        def named(name, role=None):
            return [f for f in found if f[1] == name and (role is None or f[0] == role)]

        def expect(name, role, count=1):
            hits = named(name, role)
            if len(hits) != count:
                failures.append(f"{name!r} as {role}: found {len(hits)}, expected {count}")
            return hits

        # Each category's controls, once per category; one set is showing.
        for level in (1, 2, 3):
            expect(f"第{level}分類", None, 3)
            expect(f"第{level}分類の入力欄", "text", 3)
            expect(f"第{level}分類の一覧", "list", 3)
        expect("例文一覧", "list", 3)
        examples = expect("例文", "text", 3)
        if sum(1 for e in examples if e[3]) != 1:
            failures.append("not exactly one example box is showing")
        counts = [f for f in found if f[0] == "label" and f[1].startswith("例文数：")]
        if len(counts) != 3 or not all(c[1][len("例文数："):].strip().isdigit() for c in counts):
            failures.append(f"count labels: {[c[1] for c in counts]}")

        for caption in ("学習について", "道徳、特活、総合、行事", "日常生活について"):
            expect(caption, "radio button")
        for caption in ("例文削除", "例文訂正", "例文追加", "前文", "次文", "決定", "文章消去", "文章をコピー"):
            for hit in expect(caption, "push button"):
                if not hit[2]:
                    failures.append(f"{caption!r} has no description")
        composition = expect("所見文", "text")
        character_count = expect("文字数：0字", "label")
        expect("例文数", "label")
        expect("例文の選択", None)
        menu_bar = expect("メニュー", "menu bar")
        menus = [f for f in found if f[0] == "menu item" or f[0] == "menu"]
        if len(menu_bar) == 1 and len(menus) < 4:
            failures.append(f"menu bar has {len(menus)} entries")

        # Nothing a teacher can act on is left without a name.
        acting = {"push button", "radio button", "text", "list", "menu item", "menu", "check box"}
        unnamed = [f for f in found if f[0] in acting and not f[1].strip()]
        if unnamed:
            failures.append(f"unnamed controls: {unnamed}")

        # Typing into the composition box through AT-SPI: the character count's name follows.
        if len(composition) == 1 and len(character_count) == 1:
            composition[0][4].queryEditableText().setTextContents("理解力あり。")
            label = character_count[0][4]
            deadline = time.monotonic() + 10
            while label.name != "文字数：6字" and time.monotonic() < deadline:
                time.sleep(0.2)
            if label.name != "文字数：6字":
                failures.append(f"character count after typing reads {label.name!r}")

        for failure in failures:
            print("FAIL:", failure)
        if not failures:
            print(f"AT-SPI tree of the main window: {len(found)} nodes, every control named")
        return 1 if failures else 0
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
