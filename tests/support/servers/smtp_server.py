#!/usr/bin/python3
"""An SMTP server for tests: records every command and every accepted message.

    smtp_server.py --mode MODE --record FILE --cert CERT.pem --key KEY.pem
                   [--user U --password P] [--watch-stdin]

Listens on 127.0.0.1 on a port the system picks, prints "ready PORT" once it
accepts connections, and serves until SIGTERM or SIGINT (or, with
--watch-stdin, until stdin reaches its end, so that a test that dies without
cleaning up does not leave the server behind).

Modes:
  starttls-auth  STARTTLS offered; AUTH only after it.
  implicit-tls   TLS from the first byte; AUTH offered at once.
  plain          no TLS at all; AUTH accepted in clear, and recorded as such.
  refuse         as starttls-auth, but every recipient gets 550.
With --refuse-to ADDRESS (any mode) that one recipient gets 550, the others are taken.

FILE gets one JSON object a line: {"command": ...} for each command handled,
then {"message": {...}} for each message accepted. Every record carries
"session" (a number per connection) and command records carry "tls" (whether
the command came over an encrypted connection); AUTH records also carry
"mechanism", "user", "ok" and "reply" (the final reply code). Passwords are
never recorded.
"""

import argparse
import asyncio
import email
import email.header
import email.policy
import functools
import hashlib
import json
import logging
import os
import re
import signal
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

REFUSAL = "550 5.7.1 Refused by policy"


class Recorder:
    def __init__(self, path):
        self._file = open(path, "ab")

    def write(self, record):
        # ensure_ascii=False then a lenient encode: stray surrogates from
        # undecodable input become "?" instead of making the line unreadable.
        line = json.dumps(record, ensure_ascii=False).encode("utf-8", "replace")
        self._file.write(line + b"\n")
        self._file.flush()


def _text(value):
    """A str that may carry surrogate-escaped raw bytes, as readable Unicode."""
    if isinstance(value, bytes):
        return value.decode("utf-8", "replace")
    return value.encode("utf-8", "surrogateescape").decode("utf-8", "replace")


def _decode_header_value(raw):
    unfolded = re.sub(r"\r?\n(?=[ \t])", "", _text(raw))
    try:
        return str(email.header.make_header(email.header.decode_header(unfolded)))
    except (LookupError, ValueError, UnicodeError):
        # An unknown charset or a broken encoded word: keep what was sent.
        return unfolded


def _part_record(part):
    payload = None if part.is_multipart() else part.get_payload(decode=True)
    charset = part.get_content_charset()
    text = None
    if payload is not None and part.get_content_maintype() == "text":
        try:
            text = payload.decode(charset or "us-ascii", "replace")
        except LookupError:
            text = payload.decode("utf-8", "replace")
        text = text.replace("\r\n", "\n")
    filename = part.get_filename()
    encoding = part.get("Content-Transfer-Encoding")
    content_id = part.get("Content-ID")
    return {
        "content_type": part.get_content_type(),
        "charset": charset,
        "transfer_encoding": str(encoding).strip().lower() if encoding is not None else None,
        "filename": _decode_header_value(str(filename)) if filename is not None else None,
        "disposition": part.get_content_disposition(),
        "content_id": str(content_id).strip() if content_id is not None else None,
        "text": text,
        "size": len(payload) if payload is not None else None,
        "sha256": hashlib.sha256(payload).hexdigest() if payload is not None else None,
    }


def message_record(envelope):
    raw = envelope.original_content
    msg = email.message_from_bytes(raw, policy=email.policy.default)
    parts = list(msg.walk())
    part_records = [_part_record(p) for p in parts]
    # After the parts: decoding their payloads is what finds faults such as
    # bad base64.
    defects = [type(d).__name__ + (f": {d}" if str(d) else "") for p in parts for d in p.defects]
    return {
        "mail_from": _text(envelope.mail_from),
        "rcpt_tos": [_text(r) for r in envelope.rcpt_tos],
        "mail_options": envelope.mail_options,
        "raw": raw.decode("utf-8", "replace"),
        # raw_items: the values as sent, so the decoding is ours and not the
        # policy's structured-header parsing.
        "headers": [[name, _decode_header_value(value)] for name, value in msg.raw_items()],
        "parts": part_records,
        "defects": defects,
    }


class Handler:
    def __init__(self, recorder, refuse, refuse_to=""):
        self.recorder = recorder
        self.refuse = refuse
        self.refuse_to = refuse_to.lower()

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.refuse or (self.refuse_to and address.lower() == self.refuse_to):
            return REFUSAL
        envelope.rcpt_tos.append(address)
        envelope.rcpt_options.extend(rcpt_options)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.refuse:
            return REFUSAL
        record = {"session": server.number}
        try:
            record["message"] = message_record(envelope)
        except Exception as error:  # never lose the message over a parse fault
            record["message"] = {
                "mail_from": _text(envelope.mail_from),
                "rcpt_tos": [_text(r) for r in envelope.rcpt_tos],
                "raw": envelope.original_content.decode("utf-8", "replace"),
                "parse_error": repr(error),
            }
        self.recorder.write(record)
        return "250 OK"


class RecordingSMTP(SMTP):
    sessions = 0
    live = set()

    def __init__(self, handler, recorder, credentials, **kwargs):
        super().__init__(handler, **kwargs)
        RecordingSMTP.sessions += 1
        self.number = RecordingSMTP.sessions
        self.recorder = recorder
        self.credentials = credentials
        self.last_login, self.last_ok, self.last_reply = None, False, None

    def connection_made(self, transport):
        RecordingSMTP.live.add(self)
        super().connection_made(transport)

    def connection_lost(self, error):
        RecordingSMTP.live.discard(self)
        super().connection_lost(error)

    async def push(self, status):
        self.last_reply = status
        await super().push(status)

    def encrypted(self):
        return self.transport is not None and self.transport.get_extra_info("ssl_object") is not None

    def record(self, command, **fields):
        self.recorder.write({"command": command, "session": self.number, "tls": self.encrypted(), **fields})

    def address_of(self, keyword, arg):
        stripped = self._strip_command_keyword(keyword, arg or "")
        if stripped is None:
            return _text(arg or "")
        address, _ = self._getaddr(stripped)
        return _text(address if address else stripped)

    # Called by aiosmtpd as authenticator(server, session, envelope, mechanism, data).
    def authenticate(self, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword)
              and (auth_data.login, auth_data.password) == self.credentials)
        self.last_login = _text(auth_data.login) if isinstance(auth_data, LoginPassword) else None
        self.last_ok = ok
        # handled=False makes aiosmtpd send the 535 itself; with the default
        # (True) it sends nothing and the client waits for ever.
        return AuthResult(success=ok, handled=False)

    async def smtp_AUTH(self, arg):
        # Recorded afterwards, to carry the outcome. The argument may hold the
        # credentials (initial response), so only the mechanism is kept.
        was_encrypted = self.encrypted()
        self.last_login, self.last_ok, self.last_reply = None, False, None
        try:
            await super().smtp_AUTH(arg)
        finally:
            words = (arg or "").split()
            reply = _text(self.last_reply or "")[:3]
            self.recorder.write({"command": "AUTH", "session": self.number, "tls": was_encrypted,
                                 "mechanism": words[0].upper() if words else None,
                                 "user": self.last_login, "ok": self.last_ok,
                                 "reply": int(reply) if reply.isdigit() else None})


def _recording(command, address_keyword=None):
    """An smtp_* method that records the command, then does what aiosmtpd does."""
    base = getattr(SMTP, "smtp_" + command)

    # wraps keeps aiosmtpd's syntax marks, which its HELP reads.
    @functools.wraps(base)
    async def method(self, arg):
        fields = {"address": self.address_of(address_keyword, arg)} if address_keyword else {}
        self.record(command, **fields)
        await base(self, arg)
    return method


for _command, _keyword in [("HELO", None), ("EHLO", None), ("STARTTLS", None), ("MAIL", "FROM:"),
                           ("RCPT", "TO:"), ("DATA", None), ("RSET", None), ("NOOP", None), ("QUIT", None)]:
    setattr(RecordingSMTP, "smtp_" + _command, _recording(_command, _keyword))


def parse_args():
    p = argparse.ArgumentParser(description="SMTP server for tests")
    p.add_argument("--mode", required=True, choices=["starttls-auth", "implicit-tls", "plain", "refuse"])
    p.add_argument("--record", required=True)
    p.add_argument("--cert", required=True)
    p.add_argument("--key", required=True)
    p.add_argument("--user", default="office")
    p.add_argument("--password", default="s3cret pw")
    p.add_argument("--refuse-to", default="")
    p.add_argument("--watch-stdin", action="store_true",
                   help="exit when stdin reaches its end (the starting process has gone)")
    return p.parse_args()


async def serve(args):
    loop = asyncio.get_running_loop()
    stop = asyncio.Event()
    for sig in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(sig, stop.set)
    if args.watch_stdin:
        # On the event loop, not a thread: a thread blocked reading sys.stdin
        # holds its lock and makes the interpreter abort at exit.
        def stdin_readable():
            if not os.read(0, 4096):
                loop.remove_reader(0)
                stop.set()
        loop.add_reader(0, stdin_readable)

    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(args.cert, args.key)
    recorder = Recorder(args.record)
    handler = Handler(recorder, refuse=args.mode == "refuse", refuse_to=args.refuse_to)
    credentials = (args.user.encode("utf-8"), args.password.encode("utf-8"))

    def factory():
        return RecordingSMTP(
            handler, recorder, credentials,
            hostname="smtp.test",
            enable_SMTPUTF8=True,
            tls_context=context if args.mode in ("starttls-auth", "refuse") else None,
            # aiosmtpd counts only STARTTLS as encryption, so an implicit TLS
            # connection must not require it or AUTH would never be offered.
            auth_require_tls=args.mode in ("starttls-auth", "refuse"),
            authenticator=RecordingSMTP.authenticate,
            timeout=60,
            loop=loop)

    # Our own listener rather than aiosmtpd's Controller: the Controller cannot
    # listen on port 0 (it connects to its own port to check it started).
    listener = await loop.create_server(
        factory, host="127.0.0.1", port=0,
        ssl=context if args.mode == "implicit-tls" else None)
    port = listener.sockets[0].getsockname()[1]
    print(f"ready {port}", flush=True)

    await stop.wait()
    listener.close()
    for server in list(RecordingSMTP.live):
        if server.transport is not None:
            server.transport.close()
    await asyncio.sleep(0)


def main():
    args = parse_args()
    logging.basicConfig(level=logging.WARNING, stream=sys.stderr,
                        format="%(asctime)s %(name)s %(levelname)s %(message)s")
    # aiosmtpd trips over its own deprecation on every successful AUTH.
    logging.getLogger("mail.log").addFilter(
        lambda record: "login_data is deprecated" not in record.getMessage())
    asyncio.run(serve(args))


if __name__ == "__main__":
    main()
