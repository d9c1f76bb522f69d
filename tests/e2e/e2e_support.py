"""What the Python end-to-end scripts share: the native build, mastersim on a free port, checks, waiting, and
a private desktop session (X server, session bus, stand-in programs on the PATH, screenshots)."""
import contextlib
import csv
import io
import json
import os
import re
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


def private_session(work, *folders, screen=None, own_processes=False, **env):
    """Runs this script again on a private X server and session bus, WORK emptied, FOLDERS (private) and WORK/bin
    made, WORK/bin first on the PATH, Qt on X11 and ENV set before the bus starts, so the services it starts
    see them too. SCREEN ("1920x1080") sizes the X screen; with OWN_PROCESSES the session runs in a process
    namespace of its own, so whatever its programs leave running (a desktop shell's helpers, services the bus
    started) ends with it. Returns in that second run."""
    if os.environ.get("QUORVEX_E2E_BUS") == "1":
        return
    shutil.rmtree(work, ignore_errors=True)
    for folder in (os.path.join(work, "bin"), *folders):
        os.makedirs(folder, mode=0o700)
    os.makedirs(ARTIFACTS, exist_ok=True)
    os.environ.update(QUORVEX_E2E_BUS="1", QT_QPA_PLATFORM="xcb",
                      PATH=os.path.join(work, "bin") + ":" + os.environ["PATH"], **env)
    display = [os.path.join(ROOT, "scripts", "with-display"), *(["--screen", screen] if screen else [])]
    # The bus launcher is the namespace's first process: when it ends, the kernel ends every other one there.
    # (Not xvfb-run: as a namespace's first process it waited for ever for its X server to say it was ready.)
    # A namespace needs root; without, what the session leaves running outlives it.
    own = ["unshare", "--pid", "--fork", "--kill-child"] if own_processes and os.geteuid() == 0 else []
    command = [*display, *own, "dbus-run-session", "--", sys.argv[0]]
    os.execvp(command[0], command)


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


def steam_joining(address, port):
    """What steam is started with to join the server at ADDRESS and PORT."""
    return ["-applaunch", "270150", f"server_address={address}", f"server_port={port}"]


def has_owner(name):
    """Whether a program on the session bus has taken NAME."""
    from gi.repository import Gio, GLib  # only the scripts that talk D-Bus need PyGObject
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    return bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
                         GLib.Variant("(s)", (name,)), None, 0, 5000, None).unpack()[0]


def find_icon(name, top, height):
    """Where the tray icon is drawn in the band of the screen HEIGHT pixels high from TOP, found as a person finds
    it: by its green band (both drawings of the alert icon have one). Its centre on the screen, or None;
    build/artifacts/NAME shows the band."""
    path = screenshot(name, "root", "-crop", f"{xdotool('getdisplaygeometry')[0]}x{height}+0+{top}", "+repage")
    box = subprocess.run(["convert", path, "-fuzz", "20%", "-fill", "black", "+opaque", "#008000", "-fill", "white",
                          "-opaque", "#008000", "-format", "%@", "info:"], capture_output=True, text=True).stdout
    width, tall, x, y = map(int, re.match(r"(\d+)x(\d+)\+(\d+)\+(\d+)", box).groups())
    return (x + width // 2, top + y + tall // 2) if 12 <= width <= 40 and 8 <= tall <= 40 else None


def console_menus(home, ini, scenario, commands):
    """The menu quorvex-console shows in HOME (made, with Quorvex.ini holding INI) against mastersim serving
    SCENARIO, after start-up and after each of COMMANDS: for each, its shown items as (name, caption), in
    menu order. What a tray must show, character for character."""
    from console_driver import run_console
    os.makedirs(home)
    with open(os.path.join(home, "Quorvex.ini"), "w", newline="") as file:
        file.write(ini)
    with mastersim(scenario) as options:
        out = run_console(home, options, commands)
    menus, items = [], []
    for event in map(json.loads, out.splitlines()):
        if event["ev"] == "menu":
            items = [(item["name"], item["caption"]) for item in event["items"] if item["visible"]]
        elif event["ev"] == "idle":
            menus.append(items)
    return menus


class ScreenReader:
    """Menus as a screen reader reads them: the menu whose item has taken the keyboard focus, and the name,
    role and centre of each item of it shown on the screen. Qt leaves its popups out of the tree of windows,
    so the focus is the one way in. A Qt menu's names are the texts it draws; libdbusmenu-gtk3's are the ones
    it gives screen readers (an item's accessible-desc)."""

    def __init__(self):
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi
        self.atspi = Atspi
        self.focused = None
        self.listener = Atspi.EventListener.new(self.on_focus)
        self.listener.register("object:state-changed:focused")

    def on_focus(self, event):
        if event.detail1 == 1 and event.source.get_role() == self.atspi.Role.MENU_ITEM:
            self.focused = event.source

    def menu_after(self, *actions, lands_on, seconds=5):
        """Runs the xdotool actions, which move the focus through items and menus; the menu of the item named
        LANDS_ON once the focus is there (or, after SECONDS, of wherever it is), or None."""
        self.focused = None
        xdotool(*actions)
        wait_for(lambda: self.focused and self.focused.get_name() == lands_on, seconds)
        return self.focused.get_parent() if self.focused else None

    def items(self, menu):
        menu.clear_cache()  # names change with the lines
        shown = []
        for item in (menu.get_child_at_index(i) for i in range(menu.get_child_count())):
            if item.get_state_set().contains(self.atspi.StateType.SHOWING):
                box = item.get_extents(self.atspi.CoordType.SCREEN)
                shown.append((item.get_name(), item.get_role(), (box.x + box.width // 2, box.y + box.height // 2)))
        return shown

    def texts(self, menu):
        """The names of the shown items, separators left out."""
        return [name for name, role, _ in self.items(menu) if role != self.atspi.Role.SEPARATOR]

    def checked(self, menu):
        """The names of the shown items that show a check mark."""
        menu.clear_cache()
        items = (menu.get_child_at_index(i) for i in range(menu.get_child_count()))
        return [item.get_name() for item in items if item.get_state_set().contains(self.atspi.StateType.SHOWING)
                and item.get_state_set().contains(self.atspi.StateType.CHECKED)]

    def box(self, menu):
        """Where MENU lies on the screen: (x, y, width, height)."""
        box = menu.get_extents(self.atspi.CoordType.SCREEN)
        return box.x, box.y, box.width, box.height


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


def icon_number(name, centre, size, plate="#141414"):
    """The number on the tray icon of SIZE pixels centred at CENTRE on the screen, read as a person reads it: the
    icon cropped from a screenshot (build/artifacts/NAME) and read by plate_number. The text read, "" if none."""
    left, top = centre[0] - size // 2, centre[1] - size // 2
    return plate_number(screenshot(name, "root", "-crop", f"{size}x{size}+{left}+{top}", "+repage"), plate)


def plate_number(path, plate="#141414"):
    """The number on the dark plate in the picture at PATH, read by OCR (tesseract, one line of digits and "+"):
    the plate cut out, made dark on light, scaled so the digits stand 60 pixels tall (the plate is 9 units of
    the number's font high, the digits 7) and smoothed (blurred, then thresholded) so their pixel steps read as
    strokes; kept as PATH with "-read" added. The text read, "" if no plate is seen."""
    # The plate is the largest patch of its colour: a scaled drawing's edges may have a few pixels of it too.
    patches = subprocess.run(["convert", path, "-fuzz", "4%", "-fill", "black", "+opaque", plate, "-fill", "white",
                              "-opaque", plate, "-define", "connected-components:verbose=true",
                              "-connected-components", "8", "null:"], capture_output=True, text=True).stdout
    patch = r"((\d+)x(\d+)\+\d+\+\d+) \S+ (\d+) srgb\(255,255,255\)"  # its box, centre, area and colour
    found = [(int(area), box, int(height)) for box, _, height, area in re.findall(patch, patches)]
    if not found:
        return ""
    _, box, height = max(found)
    read = path.replace(".png", "-read.png")
    subprocess.run(["convert", path, "-crop", box, "+repage", "-negate", "-filter", "point",
                    "-resize", f"{60 * 100 * 9 // 7 // height}%", "-blur", "0x4", "-threshold", "50%",
                    "-bordercolor", "white", "-border", "30", read], check=True)
    return subprocess.run(["tesseract", read, "-", "--psm", "7", "-c", "tessedit_char_whitelist=0123456789+"],
                          capture_output=True, text=True).stdout.replace(" ", "").strip()


if __name__ == "__main__" and sys.argv[1:2] == ["plate-number"]:
    print(plate_number(sys.argv[2]))
