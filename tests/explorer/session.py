"""One simcad.exe under Wine, driven a command at a time through its standard input.

Every command is followed by an `echo` of a fresh marker, so the reply of a command
is everything printed before that marker. A reply that does not come within the
command's deadline is a hang; simcad ending on its own is a crash (or a command
that could not run, which the caller tells apart by the exit code).
"""
import json
import os
import re
import select
import subprocess
import time


# The lines of Wine's relay trace, which are not the programs' own.
_TRACE = re.compile(r"^[0-9a-f]+:(Call|Ret |Starting|trace:)")


class Hang(Exception):
    pass


class Stopped(Exception):
    pass


class Session:
    def __init__(self, wine_run, simcad_exe, environment, stderr_path):
        self._stderr_path = stderr_path
        self._stderr = open(stderr_path, "wb")
        self._process = subprocess.Popen(
            [wine_run, simcad_exe, "-"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            stderr=self._stderr, env=environment)
        self._pending = b""
        self._markers = 0
        self._errors_read = 0

    def run(self, command, deadline_s):
        """Runs one command; returns its printed lines. Raises Hang or Stopped."""
        self._markers += 1
        marker = "@@done %d" % self._markers
        try:
            self._process.stdin.write((command + "\necho " + marker + "\n").encode())
            self._process.stdin.flush()
        except (BrokenPipeError, OSError):
            raise Stopped(self._exit_text())
        lines = []
        end = time.monotonic() + deadline_s
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
        self._stderr.flush()
        with open(self._stderr_path, "rb") as errors:
            errors.seek(self._errors_read)
            text = errors.read()
        self._errors_read += len(text)
        return text.decode("utf-8", "replace")

    def close(self, deadline_s=15):
        """Ends the session: a clean end of input first, then force. Returns simcad's
        exit code, or None when it had to be killed."""
        try:
            self._process.stdin.close()
        except OSError:
            pass
        code = None
        try:
            code = self._process.wait(timeout=deadline_s)
        except subprocess.TimeoutExpired:
            self._process.kill()
            self._process.wait()
        self._stderr.close()
        return code

    def _read_line(self, end):
        while b"\n" not in self._pending:
            left = end - time.monotonic()
            if left <= 0:
                return None
            ready, _, _ = select.select([self._process.stdout], [], [], left)
            if not ready:
                continue
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
        self._stderr.flush()
        with open(self._stderr_path, "rb") as errors:
            lines = errors.read().decode("utf-8", "replace").strip().splitlines()
        last = [line for line in lines if not _TRACE.match(line)][-1:]
        return "simcad ended with exit code %d%s" % (code, (": " + last[0]) if last else "")
