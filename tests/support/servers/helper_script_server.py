#!/usr/bin/python3
"""A web server for tests that acts as the helper script uploads are posted to.

    helper_script_server.py --record FILE --store DIR [--password P]
                            [--cert CERT.pem --key KEY.pem] [--watch-stdin]

Listens on 127.0.0.1 on a port the system picks, prints "ready PORT" once it
accepts connections, and serves until SIGTERM or SIGINT (or, with
--watch-stdin, until stdin reaches its end). With --cert and --key it speaks
HTTPS only.

A POST to any path but those below is an upload: XHRAUTH must equal the
password, the body is inflated when XHRCOMP is "TRUE", its length must equal
XHRDL, and it is stored as DIR/XHRFN. The answer is " File stored. success. ",
or a status of 400 or 403 with the reason.
  /missing    404 with an error page
  /broken     200 with a page that lacks the word of success
  /moved      302 to another address
  /stall      reads the request, then says nothing until the client gives up

FILE gets one JSON object a line for each request, written before the answer:
"method", "path", "headers" (a list of [name, value] in the order they came),
"body_length" (bytes on the wire), "stored" (the file name, or null) and
"outcome" (what the server answered: "stored", or the reason).
"""

import argparse
import http.server
import os
import ssl
import sys
import time
import zlib

import http_serving


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        sys.stderr.write("%s\n" % (fmt % args))

    def _answer(self, status, text, extra=()):
        data = text.encode("latin-1")
        self.send_response(status)
        for name, value in extra:
            self.send_header(name, value)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(data)

    def _record(self, body_length, stored, outcome):
        record = {
            "method": self.command,
            "path": self.path,
            "headers": [[k, v] for k, v in self.headers.items()],
            "body_length": body_length,
            "stored": stored,
            "outcome": outcome,
        }
        self.server.recorder(record)

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length)
        path = self.path
        if path == "/missing":
            self._record(len(body), None, "not found")
            return self._answer(404, "<html><body>404 Not Found</body></html>")
        if path == "/broken":
            self._record(len(body), None, "error page")
            return self._answer(200, "<html><body>PHP Warning: disk full</body></html>")
        if path == "/moved":
            self._record(len(body), None, "moved")
            return self._answer(302, "Moved", [("Location", "http://127.0.0.2:9/elsewhere.php")])
        if path == "/stall":
            self._record(len(body), None, "stalled")
            while not self.server.stopping.is_set():
                time.sleep(0.1)
            return
        outcome, stored = self._store(body)
        self._record(len(body), stored, outcome)
        if outcome != "stored":
            return self._answer(403 if outcome == "wrong password" else 400, " %s. " % outcome.capitalize())
        self._answer(200, " File stored. success. ")

    def _store(self, body):
        if self.headers.get("XHRAUTH") is None or self.headers.get("XHRAUTH") != self.server.password:
            return "wrong password", None
        name = self.headers.get("XHRFN") or ""
        if not name or "/" in name or "\\" in name or name in (".", ".."):
            return "bad file name", None
        if self.headers.get("XHRCOMP") == "TRUE":
            try:
                body = zlib.decompress(body)
            except zlib.error:
                return "not a zlib stream", None
        if self.headers.get("XHRDL") != str(len(body)):
            return "length differs", None
        with open(os.path.join(self.server.store, name), "wb") as f:
            f.write(body)
        return "stored", name


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--record", required=True)
    parser.add_argument("--store", required=True)
    parser.add_argument("--password", default="")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--watch-stdin", action="store_true")
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.password = args.password
    server.store = args.store
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    http_serving.serve(server, args.record, args.watch_stdin)

if __name__ == "__main__":
    main()
