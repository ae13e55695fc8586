"""An FTP server on 127.0.0.1 that misbehaves on purpose, for the tests.

Usage: hostile_ftp_server.py SCENARIO_JSON

It prints "PORT <n>" once it listens, serves any login, passive data
connections only (EPSV and PASV), and ends when its standard input closes or
after two minutes at the latest. The scenario names the files and the faults:

  {"files": {"there.txt": "text", "pub/x.bin": {"size": 300000}},
   "modify": "20250101000000",          # modify fact of every listed file
   "cwd": "fail" | "stall",             # every CWD below the login folder
   "mlsd": "missing" | "stall-line" | "dribble" | "flood",
   "dribble_ms": 1500,                  # one listing byte per this long
   "flood_bytes": 67108864,             # bare line ends before the entries
   "list_size": "-5",                   # size fact text of every entry
   "size": "unsupported" | "<text>",    # the SIZE answer (default: the real size)
   "retr": "short:<n>" | "cut:<n>",     # send n bytes, then 226 or a broken end
   "announce": true,                    # "(N bytes)" in the 150 answer
   "pasv_dead_from": 1}                 # passive ports from the second on (counted
                                        # over all sessions) that nobody listens on

A file given as {"size": n} holds n pattern bytes (byte i is i*7 mod 251).
"""
import json
import os
import socket
import socketserver
import sys
import threading
import time

SCENARIO = {}
FILES = {}
PASSIVE_OPENED = [0]
LOCK = threading.Lock()


def pattern(n):
    return bytes((i * 7) % 251 for i in range(n))


def load(scenario):
    for path, content in scenario.get("files", {}).items():
        if isinstance(content, dict):
            FILES[path] = pattern(content["size"])
        else:
            FILES[path] = content.encode("utf-8")


def is_dir(parts):
    prefix = "/".join(parts) + "/" if parts else ""
    return any(path.startswith(prefix) for path in FILES)


class Session(socketserver.StreamRequestHandler):
    timeout = 30

    def reply(self, text):
        self.wfile.write((text + "\r\n").encode("utf-8"))
        self.wfile.flush()

    def wait_for_close(self, seconds=30):
        """Says nothing until the client gives up (or the time is over)."""
        self.request.settimeout(seconds)
        try:
            while self.request.recv(4096):
                pass
        except OSError:
            pass

    def open_passive(self):
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.bind(("127.0.0.1", 0))
        port = listener.getsockname()[1]
        with LOCK:
            count = PASSIVE_OPENED[0]
            PASSIVE_OPENED[0] += 1
        if count >= SCENARIO.get("pasv_dead_from", 1 << 30):
            listener.close()
            self.data_listener = None
        else:
            listener.listen(1)
            listener.settimeout(10)
            self.data_listener = listener
        return port

    def accept_data(self):
        if not self.data_listener:
            return None
        try:
            conn, _ = self.data_listener.accept()
        except OSError:
            return None
        finally:
            self.data_listener.close()
            self.data_listener = None
        return conn

    def path_of(self, name):
        parts = [] if name.startswith("/") else list(self.cwd)
        parts += [p for p in name.split("/") if p and p != "."]
        return parts

    def handle(self):
        self.cwd = []
        self.data_listener = None
        self.reply("220 hostile test server")
        while True:
            try:
                line = self.rfile.readline()
            except OSError:
                return
            if not line:
                return
            command, _, argument = line.decode("utf-8", "replace").strip().partition(" ")
            command = command.upper()
            handler = getattr(self, "do_" + command, None)
            if handler is None:
                self.reply("502 not here")
            elif handler(argument) is False:
                return

    def do_USER(self, _):
        self.reply("331 any password")

    def do_PASS(self, _):
        self.reply("230 in")

    def do_PWD(self, _):
        self.reply('257 "/"')

    def do_TYPE(self, _):
        self.reply("200 type set")

    def do_QUIT(self, _):
        self.reply("221 bye")
        return False

    def do_CWD(self, argument):
        parts = self.path_of(argument)
        if parts and SCENARIO.get("cwd") == "stall":
            self.wait_for_close()
            return False
        if parts and SCENARIO.get("cwd") == "fail":
            self.reply("550 no such folder")
            return None
        if not is_dir(parts):
            self.reply("550 no such folder")
            return None
        self.cwd = parts
        self.reply("250 changed")

    def do_EPSV(self, _):
        self.reply("229 Entering Extended Passive Mode (|||%d|)" % self.open_passive())

    def do_PASV(self, _):
        port = self.open_passive()
        self.reply("227 Entering Passive Mode (127,0,0,1,%d,%d)" % (port // 256, port % 256))

    def do_SIZE(self, argument):
        path = "/".join(self.path_of(argument))
        size = SCENARIO.get("size")
        if path not in FILES:
            self.reply("550 no such file")
        elif size == "unsupported":
            self.reply("500 SIZE not understood")
        elif size is not None:
            self.reply("213 " + size)
        else:
            self.reply("213 %d" % len(FILES[path]))

    def do_MDTM(self, argument):
        path = "/".join(self.path_of(argument))
        if path in FILES:
            self.reply("213 " + SCENARIO.get("modify", "20250101000000"))
        else:
            self.reply("550 no such file")

    def do_REST(self, _):
        self.reply("350 restarting")

    def do_RETR(self, argument):
        path = "/".join(self.path_of(argument))
        if path not in FILES:
            self.reply("550 no such file")
            return None
        data = FILES[path]
        announce = " (%d bytes)" % len(data) if SCENARIO.get("announce") else ""
        conn = self.accept_data()
        if conn is None:
            self.reply("425 no data connection")
            return None
        self.reply("150 sending" + announce)
        fault, _, count = SCENARIO.get("retr", "").partition(":")
        try:
            if fault in ("short", "cut"):
                conn.sendall(data[: int(count)])
            else:
                conn.sendall(data)
        except OSError:
            pass
        if fault == "cut":
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")
            conn.close()
            self.reply("426 connection lost")
        else:
            conn.close()
            self.reply("226 done")

    def listing(self):
        prefix = "/".join(self.cwd) + "/" if self.cwd else ""
        modify = SCENARIO.get("modify", "20250101000000")
        lines = []
        for path, data in FILES.items():
            if path.startswith(prefix) and "/" not in path[len(prefix):]:
                size = SCENARIO.get("list_size", str(len(data)))
                lines.append("type=file;size=%s;modify=%s; %s\r\n" % (size, modify, path[len(prefix):]))
        return "".join(lines).encode("utf-8")

    def do_MLSD(self, _):
        mode = SCENARIO.get("mlsd")
        if mode == "missing":
            self.reply("500 MLSD not understood")
            return None
        conn = self.accept_data()
        if conn is None:
            self.reply("425 no data connection")
            return None
        self.reply("150 listing")
        body = self.listing()
        try:
            if mode == "stall-line":
                conn.sendall(body.split(b"\n")[0] + b"\n")
                self.wait_for_close()
                return False
            if mode == "dribble":
                step = SCENARIO.get("dribble_ms", 1500) / 1000.0
                for i in range(len(body) * 1000):
                    conn.sendall(body[i % len(body):][:1] if body else b"\n")
                    time.sleep(step)
                return False
            if mode == "flood":
                chunk = b"\n" * (1 << 20)
                left = SCENARIO.get("flood_bytes", 64 << 20)
                while left > 0:
                    conn.sendall(chunk[:left])
                    left -= len(chunk)
            conn.sendall(body)
        except OSError:
            return False
        finally:
            conn.close()
        self.reply("226 done")


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    SCENARIO.update(json.loads(sys.argv[1]))
    load(SCENARIO)
    server = Server(("127.0.0.1", 0), Session)
    print("PORT %d" % server.server_address[1], flush=True)

    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    threading.Timer(120, lambda: os._exit(0)).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
