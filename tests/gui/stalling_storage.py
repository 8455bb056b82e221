"""Storage that stalls, as a network share that stops answering or a cloud
file still downloading does: a FUSE file system serving the files of one
folder six ways, each under a folder of its own.

  open-waits/NAME   opening the file waits
  reads-wait/NAME   every read from 64 KiB on waits
  waits-once/NAME   the first read from 64 KiB on waits 3 seconds, once
  every-read-waits/NAME   every read waits
  close-waits/NAME  closing the file waits
  gone-after-close/NAME   once a file there is closed, every look-up,
                    listing and open there waits, as on a share whose server
                    went away; logged as "gone" when it begins

A wait lasts STALL seconds, or until a file named LOG.answer exists, which
answers every call waiting and ends the stalls. Each wait is logged to LOG
when it begins ("stalled open NAME", "stalled read NAME") and when it ends
("answered ..."), so that a test knows when the program is inside one.

With "uncached" after STALL, the kernel keeps no look-up: each reaches the
file system, so that a folder stops answering the moment it is gone.

Usage: stalling_storage.py SOURCE MOUNTPOINT LOG STALL [uncached]
Run with Debian's /usr/bin/python3, whose fusepy module this needs.
"""

import errno
import os
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations

KINDS = ("open-waits", "reads-wait", "waits-once", "every-read-waits", "close-waits", "gone-after-close")
GONE = "gone-after-close"
FIRST_READS_ANSWERED = 64 * 1024
ONCE_SECONDS = 3


class StallingStorage(Operations):
    def __init__(self, source, log, stall):
        self.source = source
        self.log = open(log, "a", buffering=1)
        self.answer = log + ".answer"
        self.stall = stall
        self.waited_once = set()
        self.gone = False
        self.log_lock = threading.Lock()

    def note(self, line):
        with self.log_lock:
            self.log.write(line + "\n")

    def wait(self, what, seconds):
        self.note("stalled " + what)
        # Looked for often: fusepy runs no signal handler while FUSE's loop
        # holds the main thread.
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and not os.path.exists(self.answer):
            time.sleep(0.05)
        self.note("answered " + what)

    def locate(self, path):
        """The kind of storage, the file's name and its real path."""
        kind, _, name = path.strip("/").partition("/")
        if kind not in KINDS:
            raise FuseOSError(errno.ENOENT)
        return kind, name, os.path.join(self.source, name)

    def stall_if_gone(self, path, what):
        if self.gone and path.strip("/").partition("/")[0] == GONE:
            self.wait(what + " " + path, self.stall)

    def getattr(self, path, fh=None):
        self.stall_if_gone(path, "look-up")
        if path == "/" or not self.locate(path)[1]:
            return {"st_mode": stat.S_IFDIR | 0o755, "st_nlink": 2}
        try:
            status = os.lstat(self.locate(path)[2])
        except OSError as error:
            raise FuseOSError(error.errno)
        keys = ("st_mode", "st_nlink", "st_size", "st_uid", "st_gid", "st_atime", "st_mtime", "st_ctime")
        return {key: getattr(status, key) for key in keys}

    def readdir(self, path, fh):
        if path == "/":
            return [".", ".."] + list(KINDS)
        self.stall_if_gone(path, "listing")
        self.locate(path)
        return [".", ".."] + sorted(os.listdir(self.source))

    def open(self, path, flags):
        self.stall_if_gone(path, "open")
        kind, name, real = self.locate(path)
        if kind == "open-waits":
            self.wait("open " + name, self.stall)
        return os.open(real, os.O_RDONLY)

    def read(self, path, size, offset, fh):
        kind, name, _ = self.locate(path)
        if kind == "every-read-waits":
            self.wait("read " + name, self.stall)
        elif offset >= FIRST_READS_ANSWERED:
            if kind == "reads-wait":
                self.wait("read " + name, self.stall)
            elif kind == "waits-once" and name not in self.waited_once:
                self.waited_once.add(name)
                self.wait("read " + name, ONCE_SECONDS)
        return os.pread(fh, size, offset)

    def flush(self, path, fh):
        kind, name, _ = self.locate(path)
        if kind == "close-waits":
            self.wait("close " + name, self.stall)
        return 0

    def release(self, path, fh):
        os.close(fh)
        if self.locate(path)[0] == GONE and not self.gone:
            self.gone = True
            self.note("gone")
        return 0


def main():
    source, mountpoint, log, stall = sys.argv[1:5]
    storage = StallingStorage(source, log, float(stall))
    uncached = {"attr_timeout": 0, "entry_timeout": 0} if sys.argv[5:] == ["uncached"] else {}
    # direct_io passes every read to the file system, as a share that caches
    # nothing does; threads let it list a folder while a read waits.
    FUSE(storage, mountpoint, foreground=True, nothreads=False, direct_io=True, ro=True, **uncached)


if __name__ == "__main__":
    main()
