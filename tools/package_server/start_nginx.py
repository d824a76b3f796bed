#!/usr/bin/env python3
"""Starts nginx as the package server on free 127.0.0.1 ports.

  start_nginx.py --work DIR --package NAME[:SIZE[:SEED]] [--max-seconds N]

Makes the package file in DIR/root when a size is given (pseudo-random
bytes, reproducible from the seed), a test CA and a certificate for the host
name localhost signed by it (DIR/ca.crt), fills nginx.conf.in into DIR and
runs nginx. Prints one line
  port=P tls_port=T ca=DIR/ca.crt md5=M name=NAME root=DIR/root
once nginx answers, then waits. nginx stops when this script's parent ends,
after --max-seconds (default 600), or on SIGTERM/SIGINT.
"""
import argparse
import getpass
import hashlib
import os
import random
import signal
import socket
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def make_package(path, size, seed):
    if os.path.isfile(path) and os.path.getsize(path) == size:
        return
    rng = random.Random(seed)
    with open(path, "wb") as f:
        left = size
        while left:
            step = min(left, 4 << 20)
            f.write(rng.randbytes(step))
            left -= step


def file_md5(path):
    digest = hashlib.md5()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(4 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def openssl(*args):
    subprocess.run(["openssl"] + list(args), check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_certificates(work):
    ca_key, ca_crt = os.path.join(work, "ca.key"), os.path.join(work, "ca.crt")
    key, csr, crt = (os.path.join(work, n) for n in ("localhost.key", "localhost.csr", "localhost.crt"))
    ext = os.path.join(work, "localhost.ext")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", ca_key, "-out", ca_crt,
            "-days", "2", "-subj", "/CN=Tarnvell Test CA")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr, "-subj", "/CN=localhost")
    with open(ext, "w") as f:
        f.write("subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\n"
                "keyUsage=digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n")
    openssl("x509", "-req", "-in", csr, "-CA", ca_crt, "-CAkey", ca_key, "-CAcreateserial",
            "-out", crt, "-days", "2", "-extfile", ext)
    return ca_crt


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--work", required=True)
    parser.add_argument("--package", required=True)
    parser.add_argument("--max-seconds", type=float, default=600)
    args = parser.parse_args()

    work = os.path.abspath(args.work)
    root = os.path.join(work, "root")
    for d in (root, os.path.join(work, "tmp")):
        os.makedirs(d, exist_ok=True)
    fields = args.package.split(":")
    name = fields[0]
    package = os.path.join(root, name)
    if len(fields) > 1:
        make_package(package, int(fields[1]), int(fields[2]) if len(fields) > 2 else 1)
    md5 = file_md5(package)
    ca = make_certificates(work)
    port, tls_port = free_port(), free_port()
    # Workers run as the user nginx names; as root, keep them root so they can
    # read a private temporary folder.
    user_line = "user %s;" % getpass.getuser() if os.geteuid() == 0 else ""
    with open(os.path.join(HERE, "nginx.conf.in")) as f:
        conf = f.read()
    for key, value in (("@USER_LINE@", user_line), ("@WORK@", work), ("@ROOT@", root), ("@PORT@", str(port)),
                       ("@TLS_PORT@", str(tls_port)), ("@MD5@", md5), ("@NAME@", name)):
        conf = conf.replace(key, value)
    conf_path = os.path.join(work, "nginx.conf")
    with open(conf_path, "w") as f:
        f.write(conf)

    nginx = subprocess.Popen(["nginx", "-p", work, "-c", conf_path, "-e", os.path.join(work, "error.log")],
                             stdin=subprocess.DEVNULL)

    def stop(*_):
        nginx.terminate()
        try:
            nginx.wait(5)
        except subprocess.TimeoutExpired:
            nginx.kill()
        sys.exit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    parent = os.getppid()
    deadline = time.time() + args.max_seconds
    while True:  # until nginx accepts connections
        if nginx.poll() is not None:
            sys.stderr.write(open(os.path.join(work, "error.log")).read())
            sys.exit(1)
        try:
            socket.create_connection(("127.0.0.1", port), 0.2).close()
            break
        except OSError:
            time.sleep(0.05)
    sys.stdout.write("port=%d tls_port=%d ca=%s md5=%s name=%s root=%s\n" % (port, tls_port, ca, md5, name, root))
    sys.stdout.flush()
    while time.time() < deadline and os.getppid() == parent and nginx.poll() is None:
        time.sleep(0.25)
    stop()


if __name__ == "__main__":
    main()
