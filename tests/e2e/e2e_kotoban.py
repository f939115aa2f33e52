#!/usr/bin/env python3
"""End-to-end test of the real kotoban executable under Xvfb, driven by real X input.

Usage: e2e_kotoban.py <kotoban executable> <starter data folder>

A temporary folder is seeded with the starter library and kotoban runs in it on a
private X server (xvfb-run). xdotool clicks and types, xclip reads the clipboard back
and ImageMagick's import takes screenshots. The test:

 1. checks the window caption;
 2. narrows the lists of categories 1 and 2 with clicks and keys, presses "決　定" in
    each, then "文章をコピー", and reads the two sentences back from the clipboard;
 3. adds an example with typed classes and sentence, closes the window with
    "閉じる" in the File menu, checks the data file and its backup, starts kotoban
    again and finds the example by its class;
 4. adds another example and kills kotoban with SIGKILL: the data file is unchanged,
    and the next start offers the change ("前回、保存しないまま終了した変更があります。
    元に戻しますか？"); answered Yes and closed, the file holds the example;
 5. adds a third example and sends SIGTERM, as logging out does: kotoban saves and ends.

Exit codes: 0 passed, 1 failed, 77 skipped (a needed tool is not installed).
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

CAPTION = "ことばん　（所見作成ソフト）"
SCREENSHOT = "/tmp/kotoban-e2e.png"
TOTAL_SECONDS = 110          # everything inside the X server
CLIENT_COLOUR = (255, 255, 192)  # the window's background below the menu bar
MENU_BAR_FALLBACK = 18        # measured on Debian 12; used only without ImageMagick
SETTLE = 0.25                 # lets the program handle one input before the next

# Class names and sentence typed in step 3: xdotool types ASCII reliably.
NEW_CLASSES = ("E2E-class", "E2E-sub", "E2E-kind")
NEW_SENTENCE = "E2E test sentence 1"
RECOVERED_SENTENCE = "E2E sentence lost in a crash"
TERM_SENTENCE = "E2E sentence before SIGTERM"
RECOVERY_QUESTION_TITLE = "ことばん"  # the message box's title; the window's caption is longer


class Failure(Exception):
    pass


def twips(value):
    """Window geometry is designed in twips; fifteen make a pixel (rounded as the program does)."""
    return (value * 2 + 15) // 30


# Control positions in twips from the client area's top-left. Controls inside the frame
# Frame1 (placed at 120, 0) are given with the frame's offset added.
FRAME_X = 120
COMBO_LEFT = [FRAME_X + x for x in (240, 1800, 3360)]
COMBO_TOP, COMBO_WIDTH, COMBO_HEIGHT = 720, 1455, 1260
OPTION = [(FRAME_X + x + 120, 240 + 187) for x in (240, 2160, 4920)]  # on the round button
CMD_KETTEI = (FRAME_X + 5760 + 667, 2640 + 247)
CMD_ADD = (FRAME_X + 240 + 487, 2880 + 150)
CMD_COPY = (5880 + 727, 3960 + 247)
EXAMPLE_BOX = (FRAME_X + 1440 + 2047, 2160 + 487)


def combo_edit(level):
    """The edit field at the top of classification list 1, 2 or 3 of the shown category."""
    return (COMBO_LEFT[level - 1] + COMBO_WIDTH // 2, COMBO_TOP + 150)


def combo_list(level):
    """A point well inside the always-open list below the edit field, clear of its scroll bar."""
    return (COMBO_LEFT[level - 1] + COMBO_WIDTH // 3, COMBO_TOP + COMBO_HEIGHT * 3 // 4)


# ---------------------------------------------------------------------------- data files

def parse_data_file(data):
    """Records of a data file (code page 932, quoted fields, CR LF) as lists of four texts."""
    text = data.decode("cp932")
    records = []
    for line in text.split("\r\n")[1:]:
        if not line:
            continue
        fields, field, quoted = [], "", False
        for ch in line:
            if ch == '"':
                quoted = not quoted
            elif ch == "," and not quoted:
                fields.append(field)
                field = ""
            else:
                field += ch
        fields.append(field)
        records.append((fields + ["", "", "", ""])[:4])
    return records


def distinct(values):
    seen = []
    for v in values:
        if v not in seen:
            seen.append(v)
    return seen


def example_after_picking(records, first_index):
    """The sentence shown after picking the first-level class at first_index, then the
    first second-level class: the third list stands on its first class and the example
    list on its first example."""
    first = distinct(r[0] for r in records)[first_index]
    under_first = [r for r in records if r[0] == first]
    second = under_first[0][1]
    under_second = [r for r in under_first if r[1] == second]
    third = under_second[0][2]
    return [r for r in under_second if r[2] == third][0][3]


# --------------------------------------------------------------------------- X helpers

class Session:
    """One X server: runs kotoban, finds its window, sends input, reads the screen."""

    def __init__(self, kotoban, folder, deadline):
        self.kotoban = kotoban
        self.folder = folder
        self.deadline = deadline
        self.process = None
        self.log = None
        self.window = None
        self.origin = (0, 0)  # the client area's top-left on the screen

    def remaining(self, at_most):
        left = self.deadline - time.monotonic()
        if left <= 0:
            raise Failure("the test ran out of time")
        return min(left, at_most)

    def run(self, args, timeout=5, what=None):
        try:
            result = subprocess.run(args, capture_output=True, timeout=self.remaining(timeout))
        except subprocess.TimeoutExpired:
            raise Failure(f"{what or args[0]} did not finish within {timeout} s: {' '.join(args)}")
        if result.returncode != 0:
            raise Failure(f"{what or args[0]} failed ({result.returncode}): {' '.join(args)}\n"
                          f"{result.stderr.decode(errors='replace')}")
        return result.stdout

    def start(self, log_name):
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        self.log = open(os.path.join(self.folder, log_name), "wb")
        self.process = subprocess.Popen([self.kotoban], cwd=self.folder, env=env,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.window = self.wait_for_window(timeout=15)
        self.run(["xdotool", "windowfocus", "--sync", self.window], what="focusing the window")
        self.origin = self.find_client_area()

    def wait_for_window(self, timeout):
        """The id of kotoban's visible main window, found by its caption."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self.process.poll() is not None:
                raise Failure(f"kotoban ended at start-up with exit code {self.process.returncode}")
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", CAPTION],
                                    capture_output=True, timeout=self.remaining(5))
            if result.returncode == 0 and result.stdout.split():
                return result.stdout.split()[0].decode()
            time.sleep(0.2)
        raise Failure(f"no window captioned {CAPTION} appeared within {timeout} s")

    def caption(self):
        return self.run(["xdotool", "getwindowname", self.window]).decode("utf-8").rstrip("\n")

    def geometry(self):
        values = {}
        for line in self.run(["xdotool", "getwindowgeometry", "--shell", self.window]).decode().split():
            key, _, value = line.partition("=")
            values[key] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def screenshot_pixels(self):
        """The screen as (width, pixel function) from a PPM taken by ImageMagick."""
        data = self.run(["import", "-window", "root", "-depth", "8", "ppm:-"], what="taking a screenshot")
        # P6 header: magic, width, height, maxval, each ended by one whitespace byte.
        fields, position = [], 0
        while len(fields) < 4:
            end = position
            while data[end:end + 1] not in (b" ", b"\n", b"\t", b"\r"):
                end += 1
            if end > position:
                fields.append(data[position:end])
            position = end + 1
        if fields[0] != b"P6" or fields[3] != b"255":
            raise Failure(f"unexpected screenshot format {fields}")
        width = int(fields[1])
        pixels = data[position:]

        def pixel(x, y):
            i = (y * width + x) * 3
            return tuple(pixels[i:i + 3])
        return pixel

    def find_client_area(self):
        """Finds where the client area starts below the menu bar: the first row of the
        window's own background colour at its left edge (the frame starts 8 px in)."""
        x, y, width, height = self.geometry()
        if shutil.which("import") is None:
            print(f"note: ImageMagick's import is missing; assuming a {MENU_BAR_FALLBACK} px menu bar")
            return (x, y + MENU_BAR_FALLBACK)
        # The first frames may not be painted yet: look again until the colour shows.
        while True:
            pixel = self.screenshot_pixels()
            for row in range(y, y + height // 2):
                if pixel(x + 3, row) == CLIENT_COLOUR and pixel(x + 3, row + 10) == CLIENT_COLOUR:
                    return (x, row)
            if self.deadline - time.monotonic() < 30:
                raise Failure("the window's client area never showed its background colour")
            time.sleep(0.2)

    def point(self, twips_point):
        return (self.origin[0] + twips(twips_point[0]), self.origin[1] + twips(twips_point[1]))

    def click(self, twips_point):
        x, y = self.point(twips_point)
        self.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"])
        time.sleep(SETTLE)

    def key(self, *keys):
        for k in keys:
            self.run(["xdotool", "key", k])
            time.sleep(SETTLE)

    def type(self, text):
        self.run(["xdotool", "type", "--delay", "40", text], timeout=10)
        time.sleep(SETTLE)

    def pick(self, level, key, presses=1):
        """Picks a class: a click into the list, then Home or End and Down presses."""
        self.click(combo_list(level))
        self.key(*([key] + ["Down"] * (presses - 1)))

    def clipboard(self, expected, timeout=5):
        """Reads the clipboard from a separate process until it holds the expected text."""
        end = time.monotonic() + timeout
        text = None
        while time.monotonic() < end:
            result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                                    timeout=self.remaining(3))
            text = result.stdout.decode("utf-8", errors="replace")
            if text == expected:
                return text
            time.sleep(0.2)
        return text

    def screenshot(self, path):
        if shutil.which("import") is None:
            print("note: no screenshot, ImageMagick's import is missing")
            return
        self.run(["import", "-window", self.window, path], what="saving a screenshot")

    def open_file_menu(self, timeout=5):
        """Opens the File menu with alt+f and waits until its popup shows below the menu
        title, so that the keys that follow go to the menu and not to the window."""
        if shutil.which("import") is None:
            self.key("alt+f")
            time.sleep(1)
            return
        probe = (self.origin[0] + 20, self.origin[1] + 12)  # under the first menu item
        before = self.screenshot_pixels()(*probe)
        self.key("alt+f")
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self.screenshot_pixels()(*probe) != before:
                return
            time.sleep(0.1)
        raise Failure("the File menu did not open on alt+f")

    def close_with_menu(self):
        """ファイル(&F) then its last item, 閉じる; the program must end with exit code 0."""
        self.open_file_menu()
        self.key("Up", "Return")
        try:
            code = self.process.wait(timeout=self.remaining(10))
        except subprocess.TimeoutExpired:
            raise Failure("kotoban did not end after 閉じる in the File menu")
        self.log.close()
        self.process = None
        if code != 0:
            raise Failure(f"kotoban ended with exit code {code} after 閉じる")

    def add_example(self, classes, sentence):
        """Types the classes into the three lists' edit fields and the sentence into the
        example box of the shown category, then presses 例文追加."""
        for level, name in enumerate(classes, start=1):
            self.click(combo_edit(level))
            self.key("ctrl+a")
            self.type(name)
        self.click(EXAMPLE_BOX)
        self.key("ctrl+a")
        self.type(sentence)
        self.click(CMD_ADD)

    def answer_start_question(self, log_name, timeout=15):
        """Starts kotoban, waits for the question it asks at start-up and answers it with
        Return (Yes, its default button)."""
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        self.log = open(os.path.join(self.folder, log_name), "wb")
        self.process = subprocess.Popen([self.kotoban], cwd=self.folder, env=env,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self.process.poll() is not None:
                raise Failure(f"kotoban ended at start-up with exit code {self.process.returncode}")
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                     f"^{RECOVERY_QUESTION_TITLE}$"],
                                    capture_output=True, timeout=self.remaining(5))
            if result.returncode == 0 and result.stdout.split():
                # The question takes the keyboard focus as it opens; Return answers Yes.
                time.sleep(SETTLE * 2)
                self.run(["xdotool", "key", "Return"], what="answering the question")
                break
            time.sleep(0.2)
        else:
            raise Failure(f"no question titled {RECOVERY_QUESTION_TITLE} appeared within {timeout} s")
        self.window = self.wait_for_window(timeout=15)
        self.run(["xdotool", "windowfocus", "--sync", self.window], what="focusing the window")
        self.origin = self.find_client_area()

    def end_with(self, signal_number, expected_code):
        self.process.send_signal(signal_number)
        try:
            code = self.process.wait(timeout=self.remaining(10))
        except subprocess.TimeoutExpired:
            raise Failure(f"kotoban did not end after signal {signal_number}")
        self.log.close()
        self.process = None
        if code != expected_code:
            raise Failure(f"kotoban ended with exit code {code} after signal {signal_number}, expected {expected_code}")

    def kill(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=5)
        self.process = None


# ------------------------------------------------------------------------------ the test

def report_failure(session, failure, folder, *log_names):
    """Prints why a run failed and the logs kotoban wrote; the exit code of a failed test."""
    print(f"FAIL: {failure}", file=sys.stderr)
    session.kill()
    for name in log_names:
        log = os.path.join(folder, name)
        if os.path.exists(log):
            print(f"--- {name}:\n{open(log, errors='replace').read()}", file=sys.stderr)
    return 1


def check(condition, message):
    if not condition:
        raise Failure(message)


def inside_xvfb(kotoban, folder):
    deadline = time.monotonic() + TOTAL_SECONDS
    session = Session(kotoban, folder, deadline)

    def read(name):
        """A file of the working folder, or None when it does not exist."""
        path = os.path.join(folder, name)
        return open(path, "rb").read() if os.path.exists(path) else None

    starter = {n: read(f"Kotoban{n}.txt") for n in (1, 2, 3)}
    try:
        # 1. The window and its caption.
        session.start("kotoban-run1.log")
        caption = session.caption()
        check(caption == CAPTION, f"window caption is {caption!r}, expected {CAPTION!r}")
        print(f"ok: window {session.window} captioned {caption}, client area at {session.origin}")

        # 2. Category 1: the second first-level class, its first second-level class;
        #    category 2: the third first-level class, its first second-level class.
        session.pick(1, "Home", presses=2)
        session.pick(2, "Home")
        session.click(CMD_KETTEI)
        session.click(OPTION[1])
        session.pick(1, "Home", presses=3)
        session.pick(2, "Home")
        session.click(CMD_KETTEI)
        session.screenshot(SCREENSHOT)
        session.click(CMD_COPY)
        first = example_after_picking(parse_data_file(starter[1]), 1)
        second = example_after_picking(parse_data_file(starter[2]), 2)
        expected = first + "\n" + second
        copied = session.clipboard(expected)
        check(copied == expected, f"clipboard holds {copied!r}, expected {expected!r}")
        print(f"ok: clipboard holds the two examples: {copied!r}")

        # 3. A new example in category 1 with typed classes and sentence.
        session.click(OPTION[0])
        session.add_example(NEW_CLASSES, NEW_SENTENCE)
        session.close_with_menu()
        print("ok: kotoban ended with exit code 0 after 閉じる")

        saved = read("Kotoban1.txt")
        line = ",".join(f'"{t}"' for t in NEW_CLASSES + (NEW_SENTENCE,)) + "\r\n"
        check(saved == starter[1] + line.encode("cp932"),
              f"Kotoban1.txt does not hold the starter library plus {line!r}; "
              f"it ends with {saved[-120:] if saved else saved!r}")
        check(read("Kotoban1.bak") == starter[1], "Kotoban1.bak is not the starter file")
        for n in (2, 3):
            check(read(f"Kotoban{n}.txt") == starter[n], f"Kotoban{n}.txt changed although nothing was edited")
            check(not os.path.exists(os.path.join(folder, f"Kotoban{n}.bak")),
                  f"Kotoban{n}.bak was written although Kotoban{n}.txt did not change")
        print("ok: Kotoban1.txt ends with the new example, Kotoban1.bak is the starter file")

        # Started again, the new first-level class is the last entry of the first list.
        session.start("kotoban-run2.log")
        session.pick(1, "End")
        session.pick(2, "Home")
        session.click(CMD_KETTEI)
        session.click(CMD_COPY)
        copied = session.clipboard(NEW_SENTENCE)
        check(copied == NEW_SENTENCE, f"after a restart the new example reads {copied!r}, expected {NEW_SENTENCE!r}")
        session.close_with_menu()
        check(read("Kotoban1.txt") == saved, "Kotoban1.txt changed on the second run")
        check(read("Kotoban1.bak") == starter[1], "Kotoban1.bak changed on the second run")
        print("ok: after a restart the new example is found under its class")

        # 4. Killed right after an add: nothing written, the change offered at the next start.
        def line_of(sentence):
            return (",".join(f'"{t}"' for t in NEW_CLASSES + (sentence,)) + "\r\n").encode("cp932")

        session.start("kotoban-run3.log")
        session.add_example(NEW_CLASSES, RECOVERED_SENTENCE)
        time.sleep(SETTLE)
        session.end_with(signal.SIGKILL, -signal.SIGKILL)
        check(read("Kotoban1.txt") == saved, "Kotoban1.txt changed although kotoban was killed before saving")
        journals = [n for n in os.listdir(folder) if n.endswith(".journal")]
        check(len(journals) == 1, f"expected one journal after the kill, found {journals}")
        session.answer_start_question("kotoban-run4.log")
        session.close_with_menu()
        check(read("Kotoban1.txt") == saved + line_of(RECOVERED_SENTENCE),
              f"after answering Yes, Kotoban1.txt ends with {read('Kotoban1.txt')[-120:]!r}")
        check(not [n for n in os.listdir(folder) if n.endswith(".journal")], "a journal is left after saving")
        print("ok: killed after an add, the change was offered at the next start and saved")

        # 5. SIGTERM, as logging out sends it: the window closes as a close does, saving.
        session.start("kotoban-run5.log")
        session.add_example(NEW_CLASSES, TERM_SENTENCE)
        time.sleep(SETTLE)
        session.end_with(signal.SIGTERM, 0)
        check(read("Kotoban1.txt") == saved + line_of(RECOVERED_SENTENCE) + line_of(TERM_SENTENCE),
              f"after SIGTERM, Kotoban1.txt ends with {read('Kotoban1.txt')[-120:]!r}")
        print("ok: SIGTERM saved the example added before it")
        return 0
    except Failure as failure:
        return report_failure(session, failure, folder, *(f"kotoban-run{n}.log" for n in range(1, 6)))
    finally:
        session.kill()


def run_test(argv, script, inside, prefix, total_seconds, screen="1024x768x24", prepare=None, passed="passed"):
    """The command line of an end-to-end script: with --inside-xvfb it runs inside(kotoban,
    folder); otherwise it makes a fresh working folder holding the starter data files (and
    whatever prepare(folder) adds) and runs itself under an X server of its own."""
    if len(argv) == 4 and argv[1] == "--inside-xvfb":
        return inside(argv[2], argv[3])
    if len(argv) != 3:
        print(sys.modules[inside.__module__].__doc__, file=sys.stderr)
        return 2
    kotoban, data = os.path.abspath(argv[1]), os.path.abspath(argv[2])
    missing = [tool for tool in ("xvfb-run", "xdotool", "xclip") if shutil.which(tool) is None]
    if missing:
        print(f"SKIP: not installed: {', '.join(missing)}")
        return 77
    if not os.access(kotoban, os.X_OK):
        print(f"FAIL: {kotoban} is not an executable", file=sys.stderr)
        return 1

    folder = tempfile.mkdtemp(prefix=prefix)
    for n in (1, 2, 3):
        shutil.copy(os.path.join(data, f"Kotoban{n}.txt"), folder)
    if prepare:
        prepare(folder)
    # -noreset: without it the server resets when kotoban, its last client, goes, and signals
    # xvfb-run, which can break xvfb-run's clean-up and leave the server running.
    command = ["xvfb-run", "-a", "-s", f"-screen 0 {screen} -noreset",
               sys.executable, os.path.abspath(script), "--inside-xvfb", kotoban, folder]
    # Its own process group, so that a hang takes the X server and kotoban down with it.
    process = subprocess.Popen(command, start_new_session=True)
    try:
        code = process.wait(timeout=total_seconds + 15)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        print("FAIL: the test under xvfb-run did not finish in time", file=sys.stderr)
        code = 1
    if code == 0:
        shutil.rmtree(folder, ignore_errors=True)
        print(passed)
    else:
        print(f"the working folder is kept for a look: {folder}", file=sys.stderr)
    return code


def main(argv):
    return run_test(argv, __file__, inside_xvfb, "kotoban-e2e-", TOTAL_SECONDS,
                    passed=f"passed; screenshot in {SCREENSHOT}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
