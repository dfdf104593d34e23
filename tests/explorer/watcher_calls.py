"""The watcher's directory read, seen through Wine's relay trace of a few calls: the export
directory's handle must not be closed while a read on it is outstanding (docs/explorer.md)."""
import re

# The relay list's calls; the process start only for its status (why a launch failed).
TRACED = ["CreateFileA", "ReadDirectoryChangesW", "GetOverlappedResult", "CloseHandle",
          "GetQueuedCompletionStatus", "NtCreateUserProcess"]
_LINE = re.compile(r"^([0-9a-f]+):(Call|Ret ) KERNEL32\.(\w+)\((.*?)\)(?: retval=([0-9a-f]+))?")
# CreateFileA's access and flags when the watcher opens the directory to read its
# changes: FILE_LIST_DIRECTORY, and FILE_FLAG_OVERLAPPED | FILE_FLAG_BACKUP_SEMANTICS.
_LIST_DIRECTORY, _OVERLAPPED_DIRECTORY = 0x1, 0x42000000


def _number(text, mask=-1):
    """A hex argument or result; mask 0xFFFFFFFF for a 32-bit one (the trace prints the register)."""
    try:
        return int(text, 16) & mask
    except ValueError:
        return None


def _dword(text):
    return _number(text, 0xFFFFFFFF)


class _Read:
    def __init__(self, handle):
        self.handle, self.outstanding = handle, False  # True, False, or None: cannot tell


class WatcherCalls:
    def __init__(self):
        self._calls = {}    # thread id -> (name, arguments) of the call it is in
        self._reads = {}    # thread id -> the directory read of a watcher thread
        self._rest = ""

    def feed(self, text, directory_removed=False):
        """Takes the trace written since the last call; returns what went wrong, or None."""
        lines = (self._rest + text).split("\n")
        self._rest = lines.pop()
        for found in filter(None, map(_LINE.match, lines)):
            thread, kind, name, arguments, result = found.groups()
            if kind == "Call":
                self._calls[thread] = (name, arguments.split(","))
                continue
            called = self._calls.pop(thread, None)
            problem = called and called[0] == name and self._returned(thread, name, called[1], result,
                                                                       directory_removed)
            if problem:
                return problem
        return None

    def _returned(self, thread, name, arguments, result, directory_removed):
        read = self._reads.get(thread)
        if name == "CreateFileA":
            if len(arguments) == 7 and (_dword(arguments[1]), _dword(arguments[5])) == (
                    _LIST_DIRECTORY, _OVERLAPPED_DIRECTORY):
                self._reads[thread] = _Read(_number(result))
            return None
        # The port's wait is the watcher thread's own; every other call is on the directory's handle.
        if read is None or (name != "GetQueuedCompletionStatus" and _number(arguments[0]) != read.handle):
            return None
        succeeded = bool(_dword(result or "0"))
        if name == "ReadDirectoryChangesW":
            read.outstanding = succeeded
        elif name == "GetQueuedCompletionStatus":
            # The read's completion or the stop signal's wake: unknown. A false return timed
            # out, unless the directory went: only then a read fails.
            if read.outstanding and (succeeded or directory_removed):
                read.outstanding = None
        elif name == "GetOverlappedResult" and len(arguments) == 4 and _dword(arguments[3]):
            read.outstanding = False  # waited for after a cancel: over
        elif name == "CloseHandle":
            del self._reads[thread]
            if read.outstanding:
                return ("the watcher closed the export directory (handle %s) while its read was "
                        "outstanding: no wait for the cancelled read before the close" % hex(read.handle))
        return None
