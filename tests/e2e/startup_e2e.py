#!/usr/bin/env python3
"""Black-box checks of the installer executable's start-up sequence.

Runs a copy of the installer in a temporary folder with its own
KelvoInstallerConfig.ini and a temporary HOME, reads its diagnostic log from
standard error, and checks: the log line format, configuration precedence
(command line over INI over defaults, first occurrence wins, exact case),
the kept values for unusable numbers, the single-instance exit status 255
while the first instance runs, and an orderly exit 0 when the first one is
closed.

    startup_e2e.py PATH_TO_INSTALLER
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

INSTALLER = None
PREFIX = re.compile(
    r"<P(\d{5,})><T(\d{5,})><(\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)\.(\d{3})>\(([^)]*)\)<(\d{4,})>: ")


class Running:
    """One installer process with its standard error collected as it comes."""

    def __init__(self, exe, args, env):
        self.proc = subprocess.Popen([exe] + args, env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.err = b""
        self.lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for chunk in iter(lambda: self.proc.stderr.read1(65536), b""):
            with self.lock:
                self.err += chunk

    def text(self):
        with self.lock:
            return self.err.decode("utf-8", "replace")

    def wait_for(self, needle, timeout=10):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if needle in self.text():
                return True
            if self.proc.poll() is not None:
                self.reader.join(2)
                return needle in self.text()
            time.sleep(0.02)
        return False

    def close(self, timeout=10):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
        code = self.proc.wait(timeout)
        self.reader.join(5)
        return code


class StartupTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tarnvell-e2e-")
        self.bin = os.path.join(self.root, "bin")
        os.makedirs(self.bin)
        self.exe = os.path.join(self.bin, "tarnvell-installer")
        shutil.copy2(INSTALLER, self.exe)
        home = os.path.join(self.root, "home")
        env = dict(os.environ)
        for var, sub in (("HOME", ""), ("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
                         ("XDG_RUNTIME_DIR", "runtime"), ("TMPDIR", "tmp")):
            path = os.path.join(home, sub)
            os.makedirs(path, exist_ok=True)
            env[var] = path
        self.env = env
        self.running = []
        self.write_ini("[Install]\r\n")

    def tearDown(self):
        for r in self.running:
            if r.proc.poll() is None:
                r.proc.kill()
                r.proc.wait()
        shutil.rmtree(self.root, ignore_errors=True)

    def write_ini(self, text):
        # Usage reports go to a closed port on loopback, never to the
        # built-in collection host.
        text += "AnalyticsUrl=http://127.0.0.1:9/sa?project=pc\r\n"
        with open(os.path.join(self.bin, "KelvoInstallerConfig.ini"), "w", encoding="utf-8") as f:
            f.write(text)

    def start(self, *args):
        r = Running(self.exe, list(args), self.env)
        self.running.append(r)
        return r

    def config_line(self, r):
        self.assertTrue(r.wait_for("main window open"), r.text())
        m = re.search(r"InstallerConfig (AppName=.*)\r\n", r.text())
        self.assertIsNotNone(m, r.text())
        return dict(re.findall(r"(\w+)=(\S*)", m.group(1)))

    def test_log_lines_have_the_fixed_prefix(self):
        r = self.start()
        self.assertTrue(r.wait_for("main window open"), r.text())
        self.assertEqual(r.close(), 0)
        lines = [l for l in r.text().split("\r\n") if l]
        self.assertTrue(lines)
        for line in lines:
            m = PREFIX.match(line)
            self.assertIsNotNone(m, line)
            self.assertEqual(int(m.group(1)), r.proc.pid)
            self.assertEqual(m.group(10), "RunInstaller" if "InstallerConfig" in line else m.group(10))
        self.assertIn("exit 0", r.text())

    def test_precedence_command_line_over_ini_over_defaults(self):
        self.write_ini("[Install]\r\nDownloadUrl=http://127.0.0.1:1/ini\r\nDownloadType=2\r\n"
                       "DownloadScale=0.4\r\nInstCmd=-from-ini\r\nm_DlAppVersion=9.9\r\n")
        r = self.start("-downloadurl=http://127.0.0.1:1/cli", "-downloadurl=http://127.0.0.1:1/second",
                       "-DownloadType=3", "-instcmd=", "-downloadscale=0.25")
        c = self.config_line(r)
        self.assertEqual(c["DownloadUrl"], "http://127.0.0.1:1/cli")
        self.assertEqual(c["DownloadType"], "2")        # -DownloadType is not -downloadtype
        self.assertEqual(c["InstCmd"], "")
        self.assertEqual(c["DownloadScale"], "0.25")
        self.assertEqual(c["DlAppVersion"], "9.9")      # INI only
        self.assertEqual(c["IsCheckNet"], "true")       # absent key: the file's fallback "true"
        self.assertEqual(c["DlAppNameSuffix"], ".downloader")
        self.assertEqual(r.close(), 0)

    def test_unusable_numbers_keep_the_previous_value_and_say_so(self):
        self.write_ini("[Install]\r\nDownloadScale=0.6\r\n")
        r = self.start("-downloadscale=abc", "-downloadtype=99999999999")
        c = self.config_line(r)
        self.assertEqual(c["DownloadScale"], "0.6")
        self.assertEqual(c["DownloadType"], "1")
        self.assertIn("DownloadScale \"abc\" is not a number between 0 and 1", r.text())
        self.assertIn("-downloadtype \"99999999999\" does not fit", r.text())
        self.assertEqual(r.close(), 0)

    def test_second_instance_exits_255_and_first_is_unaffected(self):
        first = self.start()
        self.assertTrue(first.wait_for("main window open"), first.text())
        t0 = time.time()
        second = subprocess.run([self.exe], env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=20)
        self.assertEqual(second.returncode, 255, second.stderr)
        self.assertLess(time.time() - t0, 10)
        self.assertNotIn(b"main window open", second.stderr)
        self.assertIsNone(first.proc.poll())
        self.assertEqual(first.close(), 0)
        # With the first one gone, the next start takes the lock.
        third = self.start()
        self.assertTrue(third.wait_for("main window open"), third.text())
        self.assertEqual(third.close(), 0)


if __name__ == "__main__":
    INSTALLER = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
