"""What the HTTP test servers share: the record of requests, the way they stop, and
the "ready PORT" line the tests wait for.

serve(server, record_path, watch_stdin) gives the server `recorder` (one JSON object
a line, appended to record_path and flushed) and `stopping` (set once it is asked to
end), ends on SIGTERM or SIGINT (or, with watch_stdin, when stdin reaches its end),
prints "ready PORT" and serves until then.
"""

import json
import signal
import sys
import threading


def serve(server, record_path, watch_stdin):
    server.daemon_threads = True
    server.stopping = threading.Event()
    lock = threading.Lock()
    record_file = open(record_path, "ab")

    def recorder(record):
        line = json.dumps(record, ensure_ascii=False).encode("utf-8", "replace")
        with lock:
            record_file.write(line + b"\n")
            record_file.flush()

    server.recorder = recorder

    def stop(*_):
        server.stopping.set()
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    if watch_stdin:
        def watch():
            while sys.stdin.buffer.read(4096):
                pass
            stop()
        threading.Thread(target=watch, daemon=True).start()

    print("ready %d" % server.server_address[1], flush=True)
    server.serve_forever()
