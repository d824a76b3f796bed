#!/usr/bin/env python3
"""Scripted package server for tests: HTTP on 127.0.0.1 with faults chosen
per request, and a log of every request.

Routes
  /software/236            302 to /<lower-case md5>/<package file name>
  /<32 hex>/<name>         the file <name> of the root folder (any MD5 text)
  /files/<name>            the same file, from a URL that carries no MD5
  POST /_control/faults    JSON {"queue": [fault, ...], "default": fault}
  GET  /_control/log       JSON list of {"method", "path", "range"}
  POST /_control/reset     clears the faults and the log

A fault is a JSON object; each request takes the first queued fault whose
"method" (optional) matches it, else the default. A queued fault with
"count": N serves N requests before it is used up (default 1). Keys:
  close_after: N      send N body bytes, then close the connection
  stall: T            wait T seconds before the body
  slow: T             send the body one byte every T seconds
  no_length: true     no Content-Length (the body ends when the connection closes)
  length: N           announce N as Content-Length whatever the body
  status: S           answer S (404, 500, ...) with a short body
  redirect_loop: true the package URL redirects to itself forever
  ignore_range: true  answer 200 with the whole file to a Range request
  upper_md5: true     the package URL redirects to an upper-case MD5
  no_md5: true        the package URL redirects to /files/<name>
  alter: true         serve different bytes (each byte inverted)

Start: fault_server.py --root DIR --package NAME [--make NAME:SIZE[:SEED]]...
It prints "port=N" on its first line. It stops by itself when its parent
process ends or after --max-seconds (default 600).
"""
import argparse
import hashlib
import http.server
import json
import os
import random
import re
import socketserver
import sys
import threading
import time

MD5_PATH = re.compile(r"^/([0-9A-Za-z]{32})/([^/]+)$")


class State:
    def __init__(self, root, package):
        self.root = root
        self.package = package
        self.lock = threading.Lock()
        self.queue = []
        self.default = {}
        self.log = []
        self.md5 = {}

    def file_md5(self, name):
        with self.lock:
            if name not in self.md5:
                digest = hashlib.md5()
                with open(os.path.join(self.root, name), "rb") as f:
                    for block in iter(lambda: f.read(1 << 20), b""):
                        digest.update(block)
                self.md5[name] = digest.hexdigest()
            return self.md5[name]

    def take_fault(self, method):
        with self.lock:
            for i, fault in enumerate(self.queue):
                if fault.get("method", method) == method:
                    left = fault.get("count", 1) - 1
                    if left <= 0:
                        del self.queue[i]
                    else:
                        fault["count"] = left
                    return fault
            return self.default


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "FaultServer/1"

    def log_message(self, *args):
        pass

    def do_HEAD(self):
        self.handle_request(body=False)

    def do_GET(self):
        self.handle_request(body=True)

    def do_POST(self):
        state = self.server.state
        length = int(self.headers.get("Content-Length") or 0)
        data = self.rfile.read(length) if length else b""
        if self.path == "/_control/faults":
            script = json.loads(data or b"{}")
            with state.lock:
                state.queue = list(script.get("queue", []))
                state.default = dict(script.get("default", {}))
            self.reply_bytes(200, b"ok\n")
        elif self.path == "/_control/reset":
            with state.lock:
                state.queue, state.default, state.log = [], {}, []
            self.reply_bytes(200, b"ok\n")
        else:
            self.reply_bytes(404, b"not found\n")

    def reply_bytes(self, status, payload, body=True, headers=()):
        self.send_response(status)
        for key, value in headers:
            self.send_header(key, value)
        self.send_header("Content-Length", str(len(payload)))
        self.end_headers()
        if body:
            self.wfile.write(payload)

    def handle_request(self, body):
        state = self.server.state
        if self.path == "/_control/log":
            with state.lock:
                payload = json.dumps(state.log).encode()
            self.reply_bytes(200, payload, body, [("Content-Type", "application/json")])
            return
        with state.lock:
            state.log.append({"method": self.command, "path": self.path,
                              "range": self.headers.get("Range")})
        fault = state.take_fault(self.command)
        if "status" in fault:
            self.reply_bytes(int(fault["status"]), b"scripted failure\n", body)
            return
        if self.path == "/software/236":
            if fault.get("redirect_loop"):
                target = "/software/236"
            elif fault.get("no_md5"):
                target = "/files/" + state.package
            else:
                md5 = state.file_md5(state.package)
                target = "/%s/%s" % (md5.upper() if fault.get("upper_md5") else md5, state.package)
            self.reply_bytes(302, b"", body, [("Location", target)])
            return
        match = MD5_PATH.match(self.path)
        name = match.group(2) if match else (self.path[len("/files/"):] if self.path.startswith("/files/") else None)
        full = os.path.join(state.root, name) if name and "/" not in name else None
        if not full or not os.path.isfile(full):
            self.reply_bytes(404, b"not found\n", body)
            return
        self.send_file(full, fault, body)

    def send_file(self, full, fault, body):
        size = os.path.getsize(full)
        start, end, status = 0, size - 1, 200
        wanted = self.headers.get("Range")
        if wanted and not fault.get("ignore_range"):
            m = re.match(r"^bytes=(\d*)-(\d*)$", wanted.strip())
            if m and m.group(1):
                start = int(m.group(1))
                end = min(int(m.group(2)), size - 1) if m.group(2) else size - 1
                if start >= size or start > end:
                    self.reply_bytes(416, b"", body, [("Content-Range", "bytes */%d" % size)])
                    return
                status = 206
        count = end - start + 1
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Accept-Ranges", "bytes")
        if status == 206:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, end, size))
        if fault.get("no_length"):
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(fault.get("length", count)))
        self.end_headers()
        if not body:
            return
        limit = fault.get("close_after")
        if "stall" in fault:
            time.sleep(float(fault["stall"]))
        sent = 0
        with open(full, "rb") as f:
            f.seek(start)
            while sent < count:
                step = 1 if "slow" in fault else min(1 << 16, count - sent)
                if limit is not None:
                    step = min(step, limit - sent)
                    if step <= 0:
                        break
                chunk = f.read(step)
                if not chunk:
                    break
                if fault.get("alter"):
                    chunk = bytes(b ^ 0xFF for b in chunk)
                try:
                    self.wfile.write(chunk)
                    self.wfile.flush()
                except (BrokenPipeError, ConnectionResetError):
                    return
                sent += len(chunk)
                if "slow" in fault:
                    time.sleep(float(fault["slow"]))
        if (limit is not None and sent < count) or fault.get("length", count) != count:
            self.close_connection = True  # the announced length was not honoured


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass  # a client that hung up mid-answer is part of the tests


def make_file(root, spec):
    parts = spec.split(":")
    name, size = parts[0], int(parts[1])
    seed = int(parts[2]) if len(parts) > 2 else 1
    path = os.path.join(root, name)
    if os.path.isfile(path) and os.path.getsize(path) == size:
        return
    rng = random.Random(seed)
    with open(path, "wb") as f:
        left = size
        while left:
            step = min(left, 1 << 20)
            f.write(rng.randbytes(step))
            left -= step


def watchdog(parent, deadline):
    while time.time() < deadline and (parent == 0 or os.getppid() == parent):
        time.sleep(0.5)
    os._exit(0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--package", default="package.bin")
    parser.add_argument("--make", action="append", default=[])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--max-seconds", type=float, default=600)
    args = parser.parse_args()
    os.makedirs(args.root, exist_ok=True)
    for spec in args.make:
        make_file(args.root, spec)
    server = Server(("127.0.0.1", args.port), Handler)
    server.state = State(args.root, args.package)
    threading.Thread(target=watchdog, args=(os.getppid(), time.time() + args.max_seconds),
                     daemon=True).start()
    sys.stdout.write("port=%d\n" % server.server_address[1])
    sys.stdout.flush()
    # Nothing more is read from this process's streams: never block on them.
    sys.stderr = open(os.devnull, "w")
    server.serve_forever()


if __name__ == "__main__":
    main()
