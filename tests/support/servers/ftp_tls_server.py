#!/usr/bin/python3
"""An FTP server for tests: explicit TLS (AUTH TLS) required, or no TLS at all.

    ftp_tls_server.py --root DIR --record FILE [--plain | --cert CERT.pem --key KEY.pem]
                      [--user U --password P] [--watch-stdin]

Listens on 127.0.0.1 on a port the system picks, prints "ready PORT" once it
accepts connections, and serves until SIGTERM or SIGINT (or, with
--watch-stdin, until stdin reaches its end, so that a test that dies without
cleaning up does not leave the server behind). The one user's home is DIR.

With TLS the login and every data connection must be encrypted (PROT P);
--plain offers no TLS at all, and a client that insists on it gets 500.

FILE gets one JSON object a line per command received, before it is handled:
{"command": "STOR", "arg": "...", "tls": true, "session": 1}; "tls" tells
whether the control connection was encrypted when the command came. The
arguments of PASS are never recorded, only that it came.
"""

import argparse
import json
import logging
import os
import signal
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer


class Recorder:
    def __init__(self, path):
        self._file = open(path, "ab")
        self._lock = threading.Lock()

    def write(self, record):
        line = json.dumps(record, ensure_ascii=False).encode("utf-8", "replace")
        with self._lock:
            self._file.write(line + b"\n")
            self._file.flush()


def recording(base, recorder):
    class Recording(base):
        sessions = 0

        def on_connect(self):
            Recording.sessions += 1
            self.number = Recording.sessions

        def pre_process_command(self, line, cmd, arg):
            recorder.write({"command": cmd, "arg": None if cmd == "PASS" else arg,
                            "tls": bool(getattr(self, "_ssl_established", False)),
                            "session": getattr(self, "number", 0)})
            return super().pre_process_command(line, cmd, arg)

    return Recording


class HandshakingDTPHandler(TLS_DTPHandler):
    # pyftpdlib takes a data connection that has something to read before the
    # transfer command for one the client closed, and drops it; a client that
    # starts TLS at once (curl does) sends its hello just then.
    def readable(self):
        return self._ssl_accepting or super().readable()


def parse_args():
    p = argparse.ArgumentParser(description="FTP server for tests")
    p.add_argument("--root", required=True)
    p.add_argument("--record", required=True)
    p.add_argument("--plain", action="store_true", help="no TLS at all")
    p.add_argument("--cert")
    p.add_argument("--key")
    p.add_argument("--user", default="webmaster")
    p.add_argument("--password", default="ftp s3cret")
    p.add_argument("--watch-stdin", action="store_true",
                   help="exit when stdin reaches its end (the starting process has gone)")
    return p.parse_args()


def main():
    args = parse_args()
    logging.basicConfig(level=logging.WARNING, stream=sys.stderr,
                        format="%(asctime)s %(name)s %(levelname)s %(message)s")
    stop = threading.Event()
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda *_: stop.set())
    if args.watch_stdin:
        # os.read rather than sys.stdin: a thread blocked in sys.stdin holds its lock
        # and makes the interpreter abort at exit.
        def watch():
            while os.read(0, 4096):
                pass
            stop.set()
        threading.Thread(target=watch, daemon=True).start()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    recorder = Recorder(args.record)
    if args.plain:
        handler = recording(FTPHandler, recorder)
    else:
        handler = recording(TLS_FTPHandler, recorder)
        handler.dtp_handler = HandshakingDTPHandler
        handler.certfile = args.cert
        handler.keyfile = args.key
        handler.tls_control_required = True
        handler.tls_data_required = True
    handler.authorizer = authorizer

    server = FTPServer(("127.0.0.1", 0), handler)
    print(f"ready {server.address[1]}", flush=True)
    while not stop.is_set():
        server.serve_forever(timeout=0.2, blocking=False)
    server.close_all()


if __name__ == "__main__":
    sys.exit(main())
