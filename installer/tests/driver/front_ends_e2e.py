#!/usr/bin/env python3
"""tv-install and tv-run-package end to end: a real HTTP server on
127.0.0.1 serving the sample package, real package and uninstaller runs.

usage: front_ends_e2e.py BIN_DIR
The server lives in this process and stops with it; an alarm ends the
whole check if anything hangs."""
import functools
import hashlib
import http.server
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading

BIN = sys.argv[1]
signal.alarm(120)
failures = []


def check(name, condition, detail=""):
    print(("ok   " if condition else "FAIL ") + name + ("" if condition else ": " + detail))
    if not condition:
        failures.append(name)


def run(args):
    result = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=90)
    return result.returncode, result.stdout.decode("utf-8").splitlines()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(root):
    handler = functools.partial(QuietHandler, directory=root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


with tempfile.TemporaryDirectory() as work:
    package = os.path.join(BIN, "SamplePackage")
    digest = hashlib.md5(open(package, "rb").read()).hexdigest()
    os.makedirs(os.path.join(work, "srv", digest))
    shutil.copy(package, os.path.join(work, "srv", digest, "TarnvellSetup.exe"))
    server = serve(os.path.join(work, "srv"))
    url = "http://127.0.0.1:%d/%s/TarnvellSetup.exe" % (server.server_address[1], digest)

    folder = os.path.join(work, "Dovrane Product")
    code, lines = run([os.path.join(BIN, "tv-install"), "--url", url, "--folder", folder])
    check("install exits 0", code == 0, "%d %s" % (code, lines))
    check("download comes first", lines[:1] == ["1001 1 "], str(lines[:1]))
    check("download success", "1003 0 LibCurl" in lines, str(lines))
    check("install success last", lines[-1:] == ["2003 0 "], str(lines[-1:]))
    check("install folder notified", "3000 0 " + folder in lines, str(lines))
    exe = os.path.join(folder, "DovraneScreenRecorder.exe")
    check("product written", os.path.exists(exe))
    check("package deleted", not os.path.exists(os.path.join(folder, "__Package_Tarnvell.exe")))

    # A second install over the first removes it through its uninstaller.
    entry = os.path.join(folder, "uninst.ep")
    code, lines = run([os.path.join(BIN, "tv-install"), "--url", url, "--folder",
                       os.path.join(work, "Second"), "--uninstaller", entry])
    check("removal then install exits 0", code == 0, str(lines))
    check("removal comes first", lines[:1] == ["5002 0 "] and "5003 0 " in lines, str(lines))
    check("earlier version removed", not os.path.exists(folder))

    # A failing removal stops everything.
    busy = os.path.join(work, "Busy")
    os.makedirs(busy)
    shutil.copy(package, os.path.join(busy, "uninst.ep"))
    with open(os.path.join(busy, "uninst.script"), "w") as f:
        f.write("out Error=still running\n")
    code, lines = run([os.path.join(BIN, "tv-install"), "--url", url, "--folder",
                       os.path.join(work, "Third"), "--uninstaller", os.path.join(busy, "uninst.ep")])
    check("failed removal exits 1", code == 1, str(lines))
    check("failed removal lines", lines == ["5002 0 ", "5005 0 still running"], str(lines))

    # The package's decisive line cut across two reads.
    code, lines = run([os.path.join(BIN, "tv-run-package"), "--package", package, "--folder",
                       os.path.join(work, "Fourth"), "--instcmd", '-steps="split 8 State=Fail"'])
    check("split fail exits 1", code == 1, str(lines))
    check("split fail lines", lines == ["2001 0 ", "2002 0 ", "2004 0 安装包安装失败"], str(lines))
    server.shutdown()

sys.exit(1 if failures else 0)
