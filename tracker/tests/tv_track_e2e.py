#!/usr/bin/env python3
"""End-to-end checks of tv-track against the real local collector.

Each case runs tv-track in a temporary HOME with its own INI file whose
"AnalyticsUrl" points at a collector started for that case (or at a port
nobody listens on), then reads the decoded records and the request log:
key order and properties, batch boundaries of 30, the put-back order after
a failed batch, staging across two runs with the endpoint down, the
"Failed to ..." lines and reporting switched off.

    tv_track_e2e.py PATH_TO_TV_TRACK PATH_TO_COLLECTOR
"""
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

TV_TRACK = None
COLLECTOR = None
APP = "Tarnvell.downloader"


def ordered(text):
    return json.loads(text, object_pairs_hook=lambda pairs: pairs)


def keys(pairs):
    return [k for k, _ in pairs]


def as_dict(pairs):
    return {k: (as_dict(v) if isinstance(v, list) and v and isinstance(v[0], tuple) else v)
            for k, v in pairs}


def dead_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


class Collector:
    def __init__(self, folder, *args):
        self.records = os.path.join(folder, "records.jsonl")
        self.requests = os.path.join(folder, "requests.jsonl")
        self.proc = subprocess.Popen(
            [sys.executable, COLLECTOR, "--records", self.records, "--requests", self.requests,
             "--idle-seconds", "30", "--max-seconds", "120"] + list(args),
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        first = self.proc.stdout.readline().strip()
        assert first.startswith("port="), first
        self.port = int(first.split("=", 1)[1])

    def url(self):
        return "http://127.0.0.1:%d/sa?project=pc" % self.port

    def record_lines(self):
        if not os.path.exists(self.records):
            return []
        with open(self.records, encoding="utf-8") as f:
            return [line.rstrip("\n") for line in f if line.strip()]

    def request_log(self):
        if not os.path.exists(self.requests):
            return []
        with open(self.requests, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]

    def stop(self):
        self.proc.kill()
        self.proc.wait()
        self.proc.stdout.close()


class TvTrackCase(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tv-track-e2e-")
        self.home = os.path.join(self.dir, "home")
        os.makedirs(self.home)
        self.collectors = []

    def tearDown(self):
        for c in self.collectors:
            c.stop()
        shutil.rmtree(self.dir, ignore_errors=True)

    def collector(self, *args):
        c = Collector(self.dir, *args)
        self.collectors.append(c)
        return c

    def write_ini(self, url, enabled=True):
        path = os.path.join(self.dir, "track.ini")
        with open(path, "w", encoding="utf-8") as f:
            f.write("[Install]\nIsEnableAppAnalytics=%s\nm_DlAppVersion=2.0.1\nAnalyticsUrl=%s\n"
                    % ("true" if enabled else "false", url))
        return path

    def run_tv(self, ini, *events):
        env = dict(os.environ)
        env.update(HOME=self.home, XDG_DATA_HOME=os.path.join(self.home, "data"),
                   XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   TMPDIR=self.dir)
        env.pop("LC_ALL", None)
        env.pop("LC_MESSAGES", None)
        env["LANG"] = "zh_CN.UTF-8"
        done = subprocess.run([TV_TRACK, "--ini", ini] + list(events), env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=90)
        self.assertEqual(done.returncode, 0, done.stderr)
        return done.stdout.decode("utf-8")

    def data_folder(self):
        return os.path.join(self.home, "data", "KVLocal", APP)

    def staged_lines(self):
        folder = self.data_folder()
        names = [n for n in os.listdir(folder) if "Staging" in n] if os.path.isdir(folder) else []
        lines = []
        for n in names:
            with open(os.path.join(folder, n), "rb") as f:
                lines += [l for l in f.read().decode("utf-8").split("\r\n") if l]
        return lines


class RecordShape(TvTrackCase):
    def test_key_order_and_properties(self):
        c = self.collector()
        ini = self.write_ini(c.url())
        out = self.run_tv(ini, "click", "立即安装", "view", "安装中",
                          "task", "大包下载完毕", "12.5", "细节", "crash", "崩溃")
        self.assertEqual(out, "")
        lines = c.record_lines()
        self.assertEqual(len(lines), 4)
        records = [ordered(l) for l in lines]
        for r in records:
            self.assertEqual(keys(r), ["_track_id", "distinct_id", "event", "lib", "properties",
                                       "time", "type"])
            props = dict(r)["properties"]
            self.assertEqual(keys(props), sorted(keys(props), key=lambda k: k.encode("utf-8")))
            self.assertEqual(keys(dict(r)["lib"]), ["$lib", "$lib_method", "$lib_version"])
        click, view, task, crash = [as_dict(r) for r in records]
        self.assertEqual([click["event"], view["event"], task["event"], crash["event"]],
                         ["KvEventClick", "KvEventView", "KvEventTask", "AppCrashed"])
        p = click["properties"]
        self.assertEqual(p["kv_name"], "立即安装")
        self.assertEqual(p["kv_click_type"], "Button")
        self.assertIs(p["$is_first_time"], True)
        self.assertEqual(p["kvc_ab"], "IN")
        self.assertEqual(p["kv_app_id"], APP)
        self.assertEqual(p["kv_dlapp_id"], "Tarnvell")
        self.assertEqual(p["kv_dlapp_version"], "2.0.1")
        self.assertEqual(p["kv_app_store"], "tv-track")
        self.assertEqual(p["$app_version"], "1.7.9")
        self.assertEqual(p["kv_l10n_locale"], "zh_CN")
        self.assertEqual(p["kv_sdk"], "WindowsCPP")
        self.assertEqual(p["$lib"], "cpp")
        t = task["properties"]
        self.assertEqual(t["kv_task_name"], "大包下载完毕")
        self.assertEqual(t["kv_task_elapsed"], 12.5)
        self.assertEqual(t["kv_task_result"], "Success")
        self.assertEqual(t["kv_reason"], "细节")
        self.assertEqual(t["kvc_ab"], "IN")
        self.assertEqual(crash["properties"]["app_crashed_reason"], "崩溃")
        self.assertNotIn("kvc_ab", crash["properties"])
        self.assertEqual(len({r["distinct_id"] for r in (click, view, task, crash)}), 1)
        log = c.request_log()
        self.assertEqual([(e["path"], e["query"], e["user_agent"]) for e in log],
                         [("/sa", "project=pc", "KvCollect CPP SDK 0.9")])
        self.assertTrue(log[0]["body_head"].startswith("data_list="))
        self.assertTrue(log[0]["body_tail"].endswith("&gzip=1"))

    def test_failed_lines_and_reporting_off(self):
        c = self.collector()
        out = self.run_tv(self.write_ini(c.url()), "task", "", "0", "", "click", "",
                          "view", "", "view", "ok")
        self.assertEqual(out, "Failed to trackTask\nFailed to trackClick\nFailed to trackView\n")
        # Only "later" events: sent when the tracker is released.
        self.assertEqual([as_dict(ordered(l))["properties"]["kv_name"] for l in c.record_lines()],
                         ["ok"])

        shutil.rmtree(self.home)
        os.makedirs(self.home)
        out = self.run_tv(self.write_ini(c.url(), enabled=False), "click", "x", "crash", "c")
        self.assertEqual(out, "")
        self.assertEqual(len(c.record_lines()), 1)
        self.assertFalse(os.path.exists(os.path.join(self.home, "data", "KVLocal")))


class Batches(TvTrackCase):
    def events(self, count):
        args = []
        for i in range(count):
            args += ["task", "t%03d" % i, "0", ""]
        return args

    def names(self, lines):
        return [as_dict(ordered(l))["properties"].get("kv_task_name", "crash") for l in lines]

    def test_batches_of_thirty_in_queue_order(self):
        c = self.collector()
        self.run_tv(self.write_ini(c.url()), *(self.events(75) + ["crash", "c"]))
        self.assertEqual([e["records"] for e in c.request_log()], [30, 30, 16])
        self.assertEqual(self.names(c.record_lines()),
                         ["t%03d" % i for i in range(75)] + ["crash"])

    def test_failed_batch_goes_back_in_front_in_order(self):
        c = self.collector("--script", "ok,500")
        self.run_tv(self.write_ini(c.url()), *(self.events(75) + ["crash", "c"]))
        log = c.request_log()
        self.assertEqual([(e["records"], e["status"]) for e in log],
                         [(30, 200), (30, 500), (30, 200), (16, 200)])
        # Delivered exactly once each, in the order they were tracked.
        self.assertEqual(self.names(c.record_lines()),
                         ["t%03d" % i for i in range(75)] + ["crash"])
        self.assertEqual(self.staged_lines(), [])


class Staging(TvTrackCase):
    def test_records_staged_while_down_are_sent_first_by_the_next_run(self):
        down = self.write_ini("http://127.0.0.1:%d/sa?project=pc" % dead_port())
        self.run_tv(down, "click", "first", "crash", "down")
        staged = self.staged_lines()
        self.assertEqual(len(staged), 2)
        self.assertEqual(as_dict(ordered(staged[0]))["properties"]["kv_name"], "first")

        # A second run still without endpoint keeps both runs' records.
        self.run_tv(down, "view", "second")
        self.assertEqual(len(self.staged_lines()), 3)

        c = self.collector()
        self.run_tv(self.write_ini(c.url()), "view", "third", "crash", "up")
        got = [as_dict(ordered(l)) for l in c.record_lines()]
        self.assertEqual([(r["event"], r["properties"].get("kv_name", r["properties"].get(
            "app_crashed_reason"))) for r in got],
            [("KvEventClick", "first"), ("AppCrashed", "down"), ("KvEventView", "second"),
             ("KvEventView", "third"), ("AppCrashed", "up")])
        self.assertEqual(self.staged_lines(), [])


if __name__ == "__main__":
    TV_TRACK = os.path.abspath(sys.argv.pop(1))
    COLLECTOR = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
