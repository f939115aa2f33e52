#!/usr/bin/env python3
"""End-to-end test of the Windows build under Wine on Xvfb, as a teacher would use it.

Usage: e2e_windows.py <Kotoban-Setup.exe> <portable folder> <fixture library folder> <screenshot folder>

Runs in the Wine prefix of $WINEPREFIX (scripts/build-windows sets it):
 1. installs with the installer (silently, as the current user, no administrator) and checks
    the program files and the Start menu shortcut "ことばん";
 2. starts the installed kotoban.exe: the window appears and Documents\\Kotoban holds the
    starter library (screenshot installed-first-start.png);
 3. starts it on a copy of the fixture library ($KOTOBAN_HOME): picks the first classes,
    copies the example and reads it back from the clipboard (screenshot fixture.png); adds
    an example whose sentence is pasted in Japanese with the characters a Linux input method
    types (WAVE DASH, MINUS SIGN), closes with the File menu, and checks that the data file
    holds exactly the bytes the Linux build writes (glibc's CP932) and that the backup is the
    original;
 4. adds another example and ends the Windows session (wineboot --end-session, as logging off
    does): the program closes, saving it;
 5. uninstalls silently: the program files and the shortcut are gone, the teacher's data stays.

Exit codes: 0 passed, 1 failed, 77 skipped (a needed tool is not installed).
"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import e2e_kotoban as linux_e2e  # noqa: E402  the same window geometry, X helpers and checks
from e2e_kotoban import (CMD_ADD, CMD_COPY, CMD_KETTEI, EXAMPLE_BOX, OPTION, Failure,  # noqa: E402
                         check, combo_edit)

WINE64 = "/usr/lib/wine/wine64"
TOTAL_SECONDS = 240
NEW_CLASSES = ("WineClass", "WineSub", "WineKind")
# Pasted: Japanese with WAVE DASH U+301C and MINUS SIGN U+2212, which Windows' own table lacks.
NEW_SENTENCE = "気温は−3度〜5度でしたが、元気に登校しました。"
SESSION_CLASSES = ("SessionClass", "SessionSub", "SessionKind")
SESSION_SENTENCE = "Typed before logging off"


def glibc_cp932(text):
    """The bytes the Linux build writes: glibc's CP932, through iconv."""
    return subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=text.encode(),
                          capture_output=True, check=True).stdout


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def read(path):
    return open(path, "rb").read() if os.path.exists(path) else None


def wine_env(**extra):
    """The environment for a Windows program: no WINEPATH, so that the installed copy has to
    find every DLL it needs beside itself."""
    env = {k: v for k, v in os.environ.items() if k != "WINEPATH" and not k.startswith("WINEQT_")}
    # Wine's menu builder would put the shortcut's desktop entry and icons in the Unix home.
    overrides = [o for o in env.get("WINEDLLOVERRIDES", "").split(";") if o]
    if "winemenubuilder.exe=d" not in overrides:
        env["WINEDLLOVERRIDES"] = ";".join(overrides + ["winemenubuilder.exe=d"])
    env.update(extra)
    return env


class WineSession(linux_e2e.Session):
    """The Linux test's X session, with kotoban.exe started under Wine."""

    def __init__(self, kotoban, folder, deadline, home=None):
        super().__init__(kotoban, folder, deadline)
        self.home = home

    def start(self, log_name):
        env = wine_env(**({"KOTOBAN_HOME": windows_path(self.home)} if self.home else {}))
        self.log = open(os.path.join(self.folder, log_name), "wb")
        self.process = subprocess.Popen([WINE64, self.kotoban], cwd=self.folder, env=env,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.window = self.wait_for_window(timeout=60)
        self.run(["xdotool", "windowfocus", "--sync", self.window], what="focusing the window")
        self.origin = self.find_client_area()

    def paste(self, text):
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text.encode(), check=True,
                       timeout=self.remaining(5))
        time.sleep(0.5)
        self.key("ctrl+v")


def user_folder(prefix):
    users = [u for u in glob.glob(os.path.join(prefix, "drive_c", "users", "*"))
             if os.path.basename(u) not in ("Public", "public")]
    check(len(users) == 1, f"expected one user folder in the Wine prefix, found {users}")
    return users[0]


def wait_until(condition, timeout, message):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.5)
    raise Failure(message)


def inside_xvfb(installer, portable, fixture, shots):
    deadline = time.monotonic() + TOTAL_SECONDS
    prefix = os.environ["WINEPREFIX"]
    user = user_folder(prefix)
    install_dir = os.path.join(user, "AppData", "Local", "Programs", "Kotoban")
    documents = os.path.join(user, "Documents", "Kotoban")
    shortcut = os.path.join(user, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                            "ことばん.lnk")
    # Wine may link Documents to the Unix home folder: never clear anything outside the prefix.
    for path in (install_dir, documents):
        check(os.path.realpath(path).startswith(os.path.realpath(prefix) + os.sep),
              f"{path} leads out of the Wine prefix; scripts/build-windows gives the prefix folders of its own")
    # A new user: nothing of an earlier run.
    for path in (install_dir, documents):
        shutil.rmtree(path, ignore_errors=True)
    if os.path.exists(shortcut):
        os.remove(shortcut)
    os.makedirs(shots, exist_ok=True)
    work = tempfile.mkdtemp(prefix="kotoban-wine-e2e-")
    session = None
    try:
        # 1. Install.
        subprocess.run([WINE64, installer, "/S"], env=wine_env(), timeout=120, check=True)
        for name in ("kotoban.exe", "Qt6Widgets.dll", "platforms/qwindows.dll", "qt.conf", "uninstall.exe",
                     "data/Kotoban1.txt", "data/表記ルール.txt", "translations/qtbase_ja.qm", "licenses/Kotoban.txt"):
            check(os.path.exists(os.path.join(install_dir, name)), f"the installer did not put {name} in place")
        check(os.path.exists(shortcut), "no Start menu shortcut ことばん.lnk")
        menu_entry = os.path.join(os.path.expanduser("~"), ".local", "share", "applications", "wine", "Programs",
                                  "ことばん.desktop")
        check(not os.path.exists(menu_entry), f"Wine's menu builder wrote {menu_entry} into the home folder")
        print(f"ok: installed into {install_dir}, shortcut {os.path.basename(shortcut)}")

        # 2. First start of the installed program: Documents\Kotoban gets the starter library.
        kotoban = os.path.join(install_dir, "kotoban.exe")
        session = WineSession(kotoban, work, deadline)
        session.start("first-start.log")
        caption = session.caption()
        check(caption == linux_e2e.CAPTION, f"window caption is {caption!r}")
        session.screenshot(os.path.join(shots, "installed-first-start.png"))
        for name in ("Kotoban1.txt", "Kotoban2.txt", "Kotoban3.txt", "表記ルール.txt"):
            check(read(os.path.join(documents, name)) == read(os.path.join(portable, "data", name)),
                  f"Documents\\Kotoban\\{name} is not the starter file")
        session.close_with_menu()
        print("ok: the first start showed the window and seeded Documents\\Kotoban with the starter library")

        # 3. The fixture library.
        home = os.path.join(work, "home")
        shutil.copytree(fixture, home)
        original = {n: read(os.path.join(home, f"Kotoban{n}.txt")) for n in (1, 2, 3)}
        session = WineSession(kotoban, work, deadline, home=home)
        session.start("fixture.log")
        session.pick(1, "Home")
        session.pick(2, "Home")
        session.click(CMD_KETTEI)
        session.screenshot(os.path.join(shots, "fixture.png"))
        session.click(CMD_COPY)
        expected = linux_e2e.example_after_picking(linux_e2e.parse_data_file(original[1]), 0)
        copied = session.clipboard(expected)
        check(copied == expected, f"clipboard holds {copied!r}, expected {expected!r}")
        print(f"ok: the fixture's first example was shown and copied: {copied!r}")

        session.click(OPTION[0])
        for level, name in enumerate(NEW_CLASSES, start=1):
            session.click(combo_edit(level))
            session.key("ctrl+a")
            session.type(name)
        session.click(EXAMPLE_BOX)
        session.key("ctrl+a")
        session.paste(NEW_SENTENCE)
        session.click(CMD_ADD)
        session.screenshot(os.path.join(shots, "fixture-added.png"))
        session.close_with_menu()
        line = ",".join(f'"{t}"' for t in NEW_CLASSES + (NEW_SENTENCE,)) + "\r\n"
        saved = read(os.path.join(home, "Kotoban1.txt"))
        check(saved == original[1] + glibc_cp932(line),
              f"Kotoban1.txt is not the fixture plus the bytes Linux writes for {line!r}; it ends with {saved[-120:]!r}")
        check(read(os.path.join(home, "Kotoban1.bak")) == original[1], "Kotoban1.bak is not the original file")
        for n in (2, 3):
            check(read(os.path.join(home, f"Kotoban{n}.txt")) == original[n], f"Kotoban{n}.txt changed")
            check(not os.path.exists(os.path.join(home, f"Kotoban{n}.bak")), f"Kotoban{n}.bak was written")
        check(sorted(os.listdir(home)) == ["Kotoban1.bak", "Kotoban1.txt", "Kotoban2.txt", "Kotoban3.txt", "表記ルール.txt"],
              f"unexpected files beside the data: {sorted(os.listdir(home))}")
        print("ok: the added example is saved with the same bytes as on Linux; the backup is the original")

        # 4. The session ends (logging off, shutting down) with an example not yet saved.
        session = WineSession(kotoban, work, deadline, home=home)
        session.start("session-end.log")
        session.click(OPTION[0])
        for level, name in enumerate(SESSION_CLASSES, start=1):
            session.click(combo_edit(level))
            session.key("ctrl+a")
            session.type(name)
        session.click(EXAMPLE_BOX)
        session.key("ctrl+a")
        session.type(SESSION_SENTENCE)
        session.click(CMD_ADD)
        subprocess.run([WINE64, "wineboot", "--end-session"], env=wine_env(), timeout=30, check=True)
        try:
            session.process.wait(timeout=session.remaining(30))
        except subprocess.TimeoutExpired:
            raise Failure("kotoban did not end with the session")
        session.process = None
        line2 = ",".join(f'"{t}"' for t in SESSION_CLASSES + (SESSION_SENTENCE,)) + "\r\n"
        check(read(os.path.join(home, "Kotoban1.txt")) == saved + glibc_cp932(line2),
              "the example added before the session ended was not saved")
        print("ok: the end of the Windows session closed the program, saving the new example")

        # 5. Uninstall: the program goes, the teacher's data stays.
        data_before = {name: read(os.path.join(documents, name)) for name in os.listdir(documents)}
        subprocess.run([WINE64, os.path.join(install_dir, "uninstall.exe"), "/S"], env=wine_env(), timeout=60,
                       check=True)
        wait_until(lambda: not os.path.exists(install_dir), 60,
                   f"the uninstaller left {sorted(os.listdir(install_dir)) if os.path.exists(install_dir) else ''}")
        check(not os.path.exists(shortcut), "the uninstaller left the Start menu shortcut")
        data_after = {name: read(os.path.join(documents, name)) for name in os.listdir(documents)}
        check(data_after == data_before and len(data_after) >= 3, "the uninstaller touched Documents\\Kotoban")
        print("ok: uninstalled; Documents\\Kotoban kept as it was")
        print(f"screenshots in {shots}")
        return 0
    except (Failure, subprocess.SubprocessError) as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        for log in glob.glob(os.path.join(work, "*.log")):
            print(f"--- {os.path.basename(log)}:\n{open(log, errors='replace').read()}", file=sys.stderr)
        return 1
    finally:
        if session:
            session.kill()
        shutil.rmtree(work, ignore_errors=True)


def main(argv):
    if len(argv) == 6 and argv[1] == "--inside-xvfb":
        return inside_xvfb(*argv[2:])
    if len(argv) != 5:
        print(__doc__, file=sys.stderr)
        return 2
    missing = [tool for tool in ("xvfb-run", "xdotool", "xclip", "import", "iconv") if shutil.which(tool) is None]
    if missing or not os.path.exists(WINE64) or "WINEPREFIX" not in os.environ:
        print(f"SKIP: not installed: {', '.join(missing) or 'wine64 or its prefix'}")
        return 77
    # Every Wine process of the test shares this X server: stop a server started without it.
    subprocess.run(["wineserver", "-k"], capture_output=True)
    command = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -noreset", sys.executable,
               os.path.abspath(__file__), "--inside-xvfb"] + [os.path.abspath(a) for a in argv[1:]]
    try:
        code = subprocess.run(command, timeout=TOTAL_SECONDS + 30, start_new_session=True).returncode
    except subprocess.TimeoutExpired:
        print("FAIL: the test under xvfb-run did not finish in time", file=sys.stderr)
        code = 1
    subprocess.run(["wineserver", "-k"], capture_output=True)
    return code


if __name__ == "__main__":
    sys.exit(main(sys.argv))
