#!/usr/bin/env python3
"""Local analytics collector: what the tracker sends, decoded, one record a line.

An HTTP server on 127.0.0.1 that accepts the tracker's batch posts
    POST <any path>   body "data_list=" + URL-encoded Base64 of gzip of a
                      JSON array of records + "&gzip=1"
undoes the URL encoding, the Base64 and the gzip, parses the array and
appends each record, exactly as its JSON text arrived (an array element
must be an object), as one line to the records file before it answers. A body that does not decode is
answered 400 and recorded nowhere but in the request log.

Faults, per run (--mode) or per request:
    ok      200 "ok", records kept
    500     500, records dropped
    204     204 (no body), records dropped
    hang    reads the request, then answers nothing for --hang-seconds
            (past the client's 3 s timeout), records dropped
    close   reads the request, then closes the connection without answer
--script MODE,MODE,...  gives the modes of the first requests in order;
later requests use --mode. While running, a fault can also be queued:
    POST /_control   body "mode=MODE&count=N"  (the next N batch posts)
    GET  /_control/requests   the request log as a JSON list

Request log (--requests FILE): one JSON line per batch post with "seq",
"mode", "status", "records" (count, -1 when undecodable), "bytes" (body
length), "path",
"query", "user_agent", "content_type", "body_head" and "body_tail" (the
first and last 16 bytes of the body).

Start: collector.py --records FILE [--requests FILE] [--port-file FILE]
                    [--mode M] [--script M,M,...] [--hang-seconds S]
                    [--idle-seconds S] [--max-seconds S]
It prints "port=N" on its first output line (and writes N to --port-file).
It stops by itself after --idle-seconds without a request (default 60),
after --max-seconds in all (default 600), or when its parent process ends.
Python 3 standard library only.
"""
import argparse
import base64
import binascii
import gzip
import http.server
import json
import os
import socketserver
import sys
import threading
import time
import urllib.parse

MODES = ("ok", "500", "204", "hang", "close")
PREFIX = b"data_list="
SUFFIX = b"&gzip=1"


class State:
    def __init__(self, args):
        self.args = args
        self.lock = threading.Lock()
        self.script = [m for m in args.script.split(",") if m] if args.script else []
        self.queued = []  # modes queued through /_control
        self.seq = 0
        self.log = []
        self.last_activity = time.monotonic()
        self.stopping = threading.Event()

    def next_mode(self):
        with self.lock:
            self.seq += 1
            if self.queued:
                return self.seq, self.queued.pop(0)
            if self.script:
                return self.seq, self.script.pop(0)
            return self.seq, self.args.mode

    def touch(self):
        with self.lock:
            self.last_activity = time.monotonic()

    def append_lines(self, path, lines):
        if not path or not lines:
            return
        with self.lock:
            with open(path, "a", encoding="utf-8", newline="\n") as out:
                for line in lines:
                    out.write(line + "\n")
                out.flush()
                os.fsync(out.fileno())


def split_array(text):
    """The texts of the top-level elements of a JSON array, as sent."""
    items, depth, start, in_string, escaped = [], 0, None, False, False
    for i, c in enumerate(text):
        if in_string:
            if escaped:
                escaped = False
            elif c == "\\":
                escaped = True
            elif c == '"':
                in_string = False
            continue
        if c == '"':
            in_string = True
        elif c in "[{":
            depth += 1
            if depth == 2 and start is None:
                start = i
        elif c in "]}":
            if depth == 2 and c == "}" and start is not None:
                items.append(text[start:i + 1])
                start = None
            depth -= 1
    return items


def decode_batch(body):
    """The records of one batch body (each the record's own JSON text, as
    sent), or None when it does not decode."""
    if not body.startswith(PREFIX) or not body.endswith(SUFFIX):
        return None
    encoded = body[len(PREFIX):len(body) - len(SUFFIX)]
    try:
        text = encoded.decode("ascii")
        raw = base64.b64decode(urllib.parse.unquote_to_bytes(text), validate=True)
        text = gzip.decompress(raw).decode("utf-8")
        array = json.loads(text)
    except (UnicodeDecodeError, binascii.Error, OSError, EOFError, ValueError):
        return None
    if not isinstance(array, list) or not all(isinstance(r, dict) for r in array):
        return None
    items = split_array(text)
    return items if len(items) == len(array) else None


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "KvCollector/1.0"

    def log_message(self, fmt, *args):  # quiet: the request log says it all
        pass

    def read_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length > 0 else b""

    def answer(self, status, body=b""):
        self.send_response(status)
        if status != 204:
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if status != 204 and body:
            self.wfile.write(body)

    def do_GET(self):
        state = self.server.state
        state.touch()
        if urllib.parse.urlsplit(self.path).path == "/_control/requests":
            with state.lock:
                data = json.dumps(state.log).encode("utf-8")
            self.answer(200, data)
        else:
            self.answer(404, b"not found")

    def control(self, body):
        state = self.server.state
        fields = urllib.parse.parse_qs(body.decode("ascii", "replace"))
        mode = fields.get("mode", [""])[0]
        if mode not in MODES:
            self.answer(400, b"unknown mode")
            return
        count = int(fields.get("count", ["1"])[0])
        with state.lock:
            state.queued.extend([mode] * count)
        self.answer(200, b"queued")

    def do_POST(self):
        state = self.server.state
        state.touch()
        body = self.read_body()
        url = urllib.parse.urlsplit(self.path)
        if url.path == "/_control":
            self.control(body)
            return
        seq, mode = state.next_mode()
        records = decode_batch(body)
        status = {"ok": 200, "500": 500, "204": 204}.get(mode, 0)
        if records is None and mode == "ok":
            status = 400
        entry = {
            "seq": seq, "mode": mode, "status": status,
            "records": -1 if records is None else len(records),
            "bytes": len(body),
            "path": url.path, "query": url.query,
            "user_agent": self.headers.get("User-Agent", ""),
            "content_type": self.headers.get("Content-Type", ""),
            "body_head": body[:16].decode("latin-1"),
            "body_tail": body[-16:].decode("latin-1"),
        }
        with state.lock:
            state.log.append(entry)
        state.append_lines(state.args.requests, [json.dumps(entry, ensure_ascii=False)])
        if status == 200:
            state.append_lines(state.args.records, records)
        if mode == "hang":
            state.stopping.wait(state.args.hang_seconds)
            self.close_connection = True
        elif mode == "close":
            self.close_connection = True
        elif status == 400:
            self.answer(400, b"undecodable batch")
        else:
            self.answer(status, b"ok" if status == 200 else b"")
        state.touch()


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        # A client that gave up (timeout, closed socket) is expected here;
        # nothing goes to standard error, which nobody may be reading.
        pass


def write_port_file(path, port):
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="ascii") as out:
        out.write("%d\n" % port)
    os.replace(temporary, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--records", required=True)
    parser.add_argument("--requests", default="")
    parser.add_argument("--port-file", default="")
    parser.add_argument("--mode", choices=MODES, default="ok")
    parser.add_argument("--script", default="")
    parser.add_argument("--hang-seconds", type=float, default=5.0)
    parser.add_argument("--idle-seconds", type=float, default=60.0)
    parser.add_argument("--max-seconds", type=float, default=600.0)
    args = parser.parse_args()
    for mode in filter(None, args.script.split(",")):
        if mode not in MODES:
            parser.error("unknown mode in --script: " + mode)

    state = State(args)
    server = Server(("127.0.0.1", 0), Handler)
    server.state = state
    port = server.server_address[1]
    if args.port_file:
        write_port_file(args.port_file, port)
    sys.stdout.write("port=%d\n" % port)
    sys.stdout.flush()

    worker = threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1}, daemon=True)
    worker.start()
    started = time.monotonic()
    parent = os.getppid()
    while True:
        time.sleep(0.1)
        now = time.monotonic()
        with state.lock:
            idle = now - state.last_activity
        if idle > args.idle_seconds or now - started > args.max_seconds or os.getppid() != parent:
            break
    state.stopping.set()
    server.shutdown()
    server.server_close()


if __name__ == "__main__":
    main()
