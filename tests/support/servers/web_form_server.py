#!/usr/bin/python3
"""A web site for tests that keeps booking forms: canned answers per path.

    web_form_server.py --routes FILE --record FILE [--watch-stdin]

Listens on 127.0.0.1 on a port the system picks, prints "ready PORT" once it
accepts connections, and serves until SIGTERM or SIGINT (or, with
--watch-stdin, until stdin reaches its end).

ROUTES is read afresh for every request: a JSON object from a path to its
answer, {"status": 200, "body": FILE, "mode": "", "location": ""}, where FILE
holds the body's bytes. A path not listed gets 404 with an empty body. Modes:
  ""        the answer as it is
  "short"   promises 1000 bytes more than the body (Content-Length), sends the
            body and closes the connection: a transfer cut short
  "silent"  reads the request and says nothing until the client gives up
"location" adds a Location header (for redirects).

RECORD gets one JSON object a line for each request, before the answer:
"path" and "agent" (the User-Agent header, or null).
"""

import argparse
import http.server
import json
import sys
import time

import http_serving


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        sys.stderr.write("%s\n" % (fmt % args))

    def do_GET(self):
        self.server.recorder({"path": self.path, "agent": self.headers.get("User-Agent")})
        with open(self.server.routes, encoding="utf-8") as f:
            route = json.load(f).get(self.path)
        if route is None:
            route = {"status": 404}
        body = b""
        if route.get("body"):
            with open(route["body"], "rb") as f:
                body = f.read()
        mode = route.get("mode", "")
        if mode == "silent":
            while not self.server.stopping.is_set():
                time.sleep(0.1)
            return
        self.send_response(route["status"])
        if route.get("location"):
            self.send_header("Location", route["location"])
        self.send_header("Content-Type", "text/html")
        extra = 1000 if mode == "short" else 0
        self.send_header("Content-Length", str(len(body) + extra))
        if mode == "short":
            self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()
        if mode == "short":
            self.close_connection = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--routes", required=True)
    parser.add_argument("--record", required=True)
    parser.add_argument("--watch-stdin", action="store_true")
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.routes = args.routes
    http_serving.serve(server, args.record, args.watch_stdin)

if __name__ == "__main__":
    main()
