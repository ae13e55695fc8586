"""A small FTP server on 127.0.0.1 for the tests and the benchmark.

Serves ROOT to the user "user" (password "secret", may write) and to
anonymous logins (read only), in active and passive mode, on a free port that
it prints as "PORT <n>" once it listens. Ends when its standard input closes,
so it never outlives the program that started it.

Names that make faults:
  hidden-*   left out of directory listings, but can be fetched;
  broken-*   the transfer breaks off after the first 64 KiB;
  slow-*     sent slowly (a pause before every 64 KiB).
"""
import os
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import ThreadedFTPServer


class FaultyFile:
    def __init__(self, f, broken, slow):
        self._f = f
        self._broken = broken
        self._slow = slow
        self._sent = 0
        self.name = f.name
        self.closed = False

    def read(self, size=-1):
        if self._broken and self._sent >= 65536:
            raise OSError("connection lost")
        if self._slow:
            time.sleep(0.02)
        data = self._f.read(65536 if size is None or size < 0 or size > 65536 else size)
        self._sent += len(data)
        return data

    def seek(self, *args):
        return self._f.seek(*args)

    def close(self):
        self.closed = True
        self._f.close()


class FaultyFS(AbstractedFS):
    def listdir(self, path):
        return [n for n in super().listdir(path) if not n.startswith("hidden-")]

    def open(self, filename, mode):
        f = super().open(filename, mode)
        base = os.path.basename(filename)
        if "r" in mode and (base.startswith("broken-") or base.startswith("slow-")):
            return FaultyFile(f, base.startswith("broken-"), base.startswith("slow-"))
        return f


def main():
    root = sys.argv[1]
    authorizer = DummyAuthorizer()
    authorizer.add_user("user", "secret", root, perm="elradfmwMT")
    authorizer.add_anonymous(root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.abstracted_fs = FaultyFS
    handler.banner = "loopback test server"
    handler.permit_privileged_ports = True
    server = ThreadedFTPServer(("127.0.0.1", 0), handler)
    server.max_cons = 64
    print("PORT %d" % server.socket.getsockname()[1], flush=True)

    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.CRITICAL)
    main()
