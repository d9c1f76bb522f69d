"""quorvex-console driven from Python: commands written to its stdin, its stdout's JSON events read back. The one
driver of console-e2e, qt-e2e, scripts/soak and scripts/latency."""
import json
import os
import queue
import select
import subprocess
import threading
import time

from e2e_support import CONSOLE


class StampedLines:
    """A stream's lines, read on a thread of their own and stamped with when they arrived: a wait can time out,
    and a latency is measured to the moment a line came, however late it is looked at."""

    def __init__(self, stream):
        self._fd, self._lines, self._stop = stream.fileno(), queue.Queue(), threading.Event()
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        pending = b""
        while not self._stop.is_set():
            if not select.select([self._fd], [], [], 0.1)[0]:
                continue  # a look at the stop now and then
            chunk = os.read(self._fd, 1 << 16)
            arrived = time.monotonic()
            if not chunk:
                break
            *lines, pending = (pending + chunk).split(b"\n")
            for line in lines:
                self._lines.put((arrived, line.decode()))
        self._lines.put((time.monotonic(), None))

    def next(self, timeout=60):
        """(when it arrived, the next line); EOFError at the end of the stream, TimeoutError after TIMEOUT s."""
        try:
            arrived, line = self._lines.get(timeout=timeout)
        except queue.Empty:
            raise TimeoutError(f"no line within {timeout:.1f} s") from None
        if line is None:
            self._lines.put((arrived, None))  # the end stays the end
            raise EOFError("the stream ended")
        return arrived, line

    def until(self, wanted, timeout=30):
        """When the first line holding WANTED arrived."""
        deadline = time.monotonic() + timeout
        while True:
            arrived, line = self.next(max(0.01, deadline - time.monotonic()))
            if wanted in line:
                return arrived

    def stop(self):
        """Reads no more; once this returns, the stream may be closed."""
        self._stop.set()
        self._thread.join()


def group_steps(events, idles=0):
    """The events before each idle (start-up's, then each command's): IDLES groups, or with 0 every group up to the
    end of EVENTS, the last one what came after the last idle."""
    found = [[]]
    for event in events:
        if event["ev"] != "idle":
            found[-1].append(event)
        elif len(found) == idles:
            break
        else:
            found.append([])
    return found


def run_console(home, options, commands, *flags):
    """A whole run on the virtual clock in HOME, COMMANDS its input, to the end of it: its stdout."""
    return subprocess.run([CONSOLE, "--home", home, "--virtual-time", *options, *flags],
                          input="".join(command + "\n" for command in commands), capture_output=True, text=True,
                          timeout=60).stdout


def events_of(stdout):
    """A run's JSON lines, grouped as group_steps does."""
    return group_steps(map(json.loads, stdout.splitlines()))


class Console:
    """quorvex-console running in HOME with OPTIONS and FLAGS (--virtual-time, say), under the PREFIX command (a
    network namespace's, say). Leaving a `with` ends it (killed if it still runs)."""

    def __init__(self, home, options=(), *flags, prefix=()):
        self.home = home
        self.process = subprocess.Popen([*prefix, CONSOLE, "--home", home, *options, *flags], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)
        self.lines = StampedLines(self.process.stdout)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()

    def send(self, *commands):
        """Writes the commands; returns when they were sent."""
        self.process.stdin.write("".join(command + "\n" for command in commands))
        self.process.stdin.flush()
        return time.monotonic()

    def event(self, timeout=60):
        try:
            return json.loads(self.lines.next(timeout)[1])
        except EOFError:
            raise RuntimeError(f"quorvex-console ended (exit {self.process.wait()})") from None

    def steps(self, idles):
        """The events before each of the next IDLES idles."""
        return group_steps(iter(self.event, None), idles)

    def until(self, wanted, timeout=30):
        """When the first event line holding WANTED arrived."""
        return self.lines.until(wanted, timeout)

    def stop_reading(self):
        """Its reader goes away: stdout is closed."""
        self.lines.stop()
        self.process.stdout.close()

    def close_input(self):
        self.process.stdin.close()

    def wait(self, timeout=None):
        return self.process.wait(timeout)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        self.lines.stop()
        for pipe in (self.process.stdin, self.process.stdout):
            try:
                pipe.close()
            except BrokenPipeError:  # a command it never read
                pass
