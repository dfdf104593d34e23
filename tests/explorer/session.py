"""One simcad.exe under Wine, driven a command at a time through its standard input; each
command's reply is what it prints before the `echo` of a fresh marker sent after it."""
import contextlib
import json
import os
import re
import select
import subprocess
import time

# The lines of Wine's relay trace, which are not the programs' own.
_TRACE = re.compile(r"^[0-9a-f]+:(Call|Ret |Starting|trace:)")


class Hang(Exception):
    """No reply within the command's deadline."""


class Stopped(Exception):
    """simcad ended on its own: a crash or, by its exit code, a command that could not run."""


class Session:
    def __init__(self, wine_run, simcad_exe, environment, stderr_path):
        self._stderr_path, self._stderr = stderr_path, open(stderr_path, "wb")
        self._process = subprocess.Popen([wine_run, simcad_exe, "-"], stdin=subprocess.PIPE,
                                         stdout=subprocess.PIPE, stderr=self._stderr, env=environment)
        self._pending, self._markers, self._errors_read = b"", 0, 0

    def run(self, command, deadline_s):
        """Runs one command; returns its printed lines. Raises Hang or Stopped."""
        self._markers += 1
        marker, lines, end = "@@done %d" % self._markers, [], time.monotonic() + deadline_s
        try:
            self._process.stdin.write((command + "\necho " + marker + "\n").encode())
            self._process.stdin.flush()
        except OSError:
            raise Stopped(self._exit_text())
        while True:
            line = self._read_line(end)
            if line is None:
                raise Hang("no reply to '%s' within %.0f s" % (command, deadline_s))
            if line == marker:
                return lines
            lines.append(line)

    def dump(self, deadline_s=20):
        for line in self.run("dump", deadline_s):
            if line.startswith("dump: "):
                return json.loads(line[len("dump: "):])
        raise Stopped("dump printed no state")

    def new_errors(self):
        """What the programs wrote to standard error since the last call."""
        text = self._errors(self._errors_read)
        self._errors_read += len(text)
        return text.decode("utf-8", "replace")

    def close(self, deadline_s=15):
        """A clean end of input, then force; simcad's exit code, or None when killed."""
        with contextlib.suppress(OSError):
            self._process.stdin.close()
        try:
            code = self._process.wait(timeout=deadline_s)
        except subprocess.TimeoutExpired:
            self._process.kill()
            self._process.wait()
            code = None
        self._stderr.close()
        return code

    def _errors(self, start=0):
        self._stderr.flush()
        with open(self._stderr_path, "rb") as errors:
            errors.seek(start)
            return errors.read()

    def _read_line(self, end):
        while b"\n" not in self._pending:
            left = end - time.monotonic()
            if left <= 0:
                return None
            if select.select([self._process.stdout], [], [], left)[0]:
                chunk = os.read(self._process.stdout.fileno(), 65536)
                if not chunk:
                    raise Stopped(self._exit_text())
                self._pending += chunk
        line, self._pending = self._pending.split(b"\n", 1)
        return line.decode("utf-8", "replace").rstrip("\r")

    def _exit_text(self):
        try:
            code = self._process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            return "simcad stopped answering"
        lines = self._errors().decode("utf-8", "replace").strip().splitlines()
        last = [line for line in lines if not _TRACE.match(line)][-1:]
        return "simcad ended with exit code %d%s" % (code, (": " + last[0]) if last else "")
