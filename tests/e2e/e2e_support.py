"""What the Python end-to-end scripts share: the native build, mastersim on a free port, checks, waiting, and
a private desktop session (X server, session bus, stand-in programs on the PATH, screenshots)."""
import contextlib
import csv
import io
import os
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.environ.get("QUORVEX_NATIVE_BUILD", os.path.join(ROOT, "build", "native"))
CONSOLE = os.path.join(BUILD, "frontends", "console", "quorvex-console")
SCENARIOS = os.path.join(ROOT, "tests", "e2e", "scenarios")
ARTIFACTS = os.path.join(ROOT, "build", "artifacts")
QT = os.environ.get("QUORVEX_QT", os.path.join(BUILD, "frontends", "qt", "quorvex"))


def expect(what, actual, wanted):
    if actual != wanted:
        raise AssertionError(f"{what}: got {actual!r}, wanted {wanted!r}")


class Checks:
    def __init__(self, script):
        self.script, self.passed, self.failed = script, 0, 0

    def check(self, name, ok, detail=""):
        self.passed, self.failed = self.passed + bool(ok), self.failed + (not ok)
        print("ok  " if ok else "FAIL", name + ("" if ok or detail == "" else f": {detail}"), flush=True)

    def run(self, name, steps, *args):
        """A check of steps: it fails at the first that raises, or after a minute (a hang)."""
        signal.signal(signal.SIGALRM, lambda *_: expect("an answer within a minute", None, "an answer"))
        signal.alarm(60)
        try:
            steps(*args)
            self.check(name, True)
        except Exception as error:  # whatever goes wrong in a check fails it
            self.check(name, False, repr(error))
        finally:
            signal.alarm(0)

    def summary(self):
        print(f"{self.script}: {self.passed} passed, {self.failed} failed")
        return 0 if self.failed == 0 else 1


def start_mastersim(scenario, faults=(), log=None, prefix=()):
    """tests/integration/with-mastersim serving SCENARIO, its log at LOG if given, under the PREFIX command
    (a network namespace's, say): (the process, mastersim's address). Closing its stdin and waiting stops it."""
    command = [*prefix, os.path.join(ROOT, "tests", "integration", "with-mastersim"), "--scenario", scenario,
               *(a for f in faults for a in ("--fault", f)), "sh", "-c", 'echo "$QUORVEX_MASTERSIM" && exec cat']
    env = {"MASTERSIM": os.path.join(BUILD, "tools", "mastersim", "mastersim"), **os.environ,
           **({"MASTERSIM_LOG": log} if log else {})}
    process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, env=env)
    address = process.stdout.readline().strip()
    if not address:
        raise RuntimeError(f"mastersim did not start (exit {process.wait(10)})")
    return process, address


def master_options(address):
    """The options that point a front end at mastersim at ADDRESS."""
    return ["--master", address, "--latest-version", f"http://{address}/latest_version.txt"]


@contextlib.contextmanager
def mastersim(scenario, *faults):
    """mastersim serving SCENARIO; yields the options that point a front end at it."""
    process, address = start_mastersim(scenario, faults)
    try:
        yield master_options(address)
    finally:
        process.stdin.close()
        process.wait(10)


def wait_for(predicate, seconds, interval=0.05):
    """PREDICATE's first true value within SECONDS, else its last. A script's GLib main loop, if it has one, runs
    meanwhile: it serves the script's D-Bus objects and brings AT-SPI's events."""
    deadline = time.monotonic() + seconds
    while True:
        glib = sys.modules.get("gi.repository.GLib")
        while glib and glib.MainContext.default().iteration(False):
            pass
        value = predicate()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


def private_session(work, *folders, **env):
    """Runs this script again on a private X server and session bus, WORK emptied, FOLDERS (private) and WORK/bin
    made, WORK/bin first on the PATH, Qt on X11 and ENV set before the bus starts, so the services it starts
    see them too. Returns in that second run."""
    if os.environ.get("QUORVEX_E2E_BUS") == "1":
        return
    shutil.rmtree(work, ignore_errors=True)
    for folder in (os.path.join(work, "bin"), *folders):
        os.makedirs(folder, mode=0o700)
    os.makedirs(ARTIFACTS, exist_ok=True)
    os.environ.update(QUORVEX_E2E_BUS="1", QT_QPA_PLATFORM="xcb",
                      PATH=os.path.join(work, "bin") + ":" + os.environ["PATH"], **env)
    display = os.path.join(ROOT, "scripts", "with-display")
    os.execv(display, [display, "dbus-run-session", "--", sys.argv[0]])


def recorder(path, record):
    """An executable at PATH that writes its arguments, one a line, to RECORD: a stand-in steam, flatpak or
    link handler."""
    with open(path, "w") as script:
        script.write(f'#!/bin/sh\nprintf "%s\\n" "$@" > "{record}"\n')
        os.fchmod(script.fileno(), 0o755)


def recorded(record, action, seconds=10):
    """Runs ACTION with RECORD removed before and after: the arguments a recorder wrote there within SECONDS, or
    None."""
    if os.path.exists(record):
        os.remove(record)
    action()
    if not wait_for(lambda: os.path.exists(record), seconds):
        return None
    time.sleep(0.2)  # its whole line
    args = open(record).read().split()
    os.remove(record)
    return args


def start_qt(work, options):
    """The Qt tray with OPTIONS, its stderr appended to WORK/quorvex.log."""
    return subprocess.Popen([QT, *options], stderr=open(os.path.join(work, "quorvex.log"), "a"))


def start_trayer():
    """An XEmbed tray along the top of the screen, its icons at the right end (the first centred at 1008,16)."""
    trayer = subprocess.Popen(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height",
                               "32", "--transparent", "false", "--tint", "0xd0d0d0"], stderr=subprocess.DEVNULL)
    time.sleep(1)
    return trayer


def xdotool(*actions):
    return subprocess.run(["xdotool", *map(str, actions)], capture_output=True, text=True).stdout.split()


def windows_named(title):
    return xdotool("search", "--onlyvisible", "--name", f"^{title}$")


def screenshot(name, window="root", *edit):
    """build/artifacts/NAME of WINDOW, then EDIT (convert's options) applied to it: its path."""
    path = os.path.join(ARTIFACTS, name)
    subprocess.run(["import", "-window", str(window), path], check=True)
    if edit:
        subprocess.run(["convert", path, *edit, path], check=True)
    return path


def has_owner(name):
    """Whether a program on the session bus has taken NAME."""
    from gi.repository import Gio, GLib  # only the scripts that talk D-Bus need PyGObject
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    return bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
                         GLib.Variant("(s)", (name,)), None, 0, 5000, None).unpack()[0]


def ocr_lines(path):
    """The lines tesseract reads in the picture at PATH, as one block of text: each line's words joined by a
    blank, and the height of the line's middle in the picture."""
    words = subprocess.run(["tesseract", path, "-", "--psm", "6", "tsv"], capture_output=True, text=True).stdout
    lines = {}  # each line's words with their top and bottom, in reading order
    for row in csv.DictReader(io.StringIO(words), delimiter="\t", quoting=csv.QUOTE_NONE):
        if row["level"] == "5" and row["text"].strip():
            top = int(row["top"])
            lines.setdefault((row["block_num"], row["par_num"], row["line_num"]), []).append(
                (row["text"], top, top + int(row["height"])))
    return [(" ".join(word[0] for word in line), (min(word[1] for word in line) + max(word[2] for word in line)) // 2)
            for line in lines.values()]
