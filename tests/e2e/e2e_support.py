"""What the Python end-to-end scripts share: the native build, mastersim on a free port, checks."""
import contextlib
import os
import signal
import subprocess

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.environ.get("QUORVEX_NATIVE_BUILD", os.path.join(ROOT, "build", "native"))
CONSOLE = os.path.join(BUILD, "frontends", "console", "quorvex-console")
SCENARIOS = os.path.join(ROOT, "tests", "e2e", "scenarios")


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
