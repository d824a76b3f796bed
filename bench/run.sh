#!/usr/bin/env bash
# Runs the benchmarks and prints their figures beside reference tools
# measured in the same run on the same data.
#
#   bench/run.sh [SECTION...]   sections: utils driver tracker skinui download
#                               (default: all of them)
set -euo pipefail
cd "$(dirname "$0")/.."
sections=" ${*:-utils driver tracker skinui download} "
want() { [[ "$sections" == *" $1 "* ]]; }
B=${TARNVELL_BENCH_BIN:-build/native/bin}
work=$(mktemp -d /tmp/tarnvell-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

if want utils; then
echo "== diagnostic log"
"$B/utils_bench" log 2>/dev/null

echo "== command-line splitting"
"$B/utils_bench" split

echo "== MD5 of a 512 MiB file (warm cache)"
head -c $((512 * 1024 * 1024)) /dev/urandom > "$work/data.bin"
cat "$work/data.bin" > /dev/null
"$B/utils_bench" md5 "$work/data.bin"
start=$(date +%s.%N); ref=$(md5sum "$work/data.bin" | cut -d' ' -f1); end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v d="$ref" 'BEGIN { printf "md5sum (reference): %s 537 MB in %.3f s, %.0f MB/s\n", d, e - s, 536.870912 / (e - s) }'

fi

if want driver; then
echo "== package output parsing (CPU per 1,000 lines)"
"$B/driver_bench" parse "$work/transcript.txt" 2>/dev/null
lines=$(wc -l < "$work/transcript.txt")
start=$(date +%s.%N)
awk -F= '/^(Progress|InstPath|Message)=/ { n++ } END { print n > "/dev/null" }' "$work/transcript.txt"
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v n="$lines" 'BEGIN { printf "awk key match (reference): %d lines, %.3f ms per 1,000 lines (wall, incl. start-up)\n", n, (e - s) * 1e6 / n }'

echo "== delay from a package line to its notification"
(cd "$work" && "$OLDPWD/$B/driver_bench" latency "$OLDPWD/$B/SamplePackage" 2>/dev/null)
fi

if want tracker && [ -x "$B/tracker_bench" ]; then
  echo "== usage reporting (tracker and collection SDK)"
  th="$work/tracker-home"; mkdir -p "$th"
  tb() { HOME="$th" XDG_DATA_HOME="$th/data" XDG_CONFIG_HOME="$th/config" "$B/tracker_bench" "$@" 2>/dev/null; }
  python3 tools/collector/collector.py --records "$work/records.txt" --requests "$work/requests.txt" \
    --port-file "$work/collector.port" --idle-seconds 120 > /dev/null 2>&1 &
  col_pid=$!
  while [ ! -s "$work/collector.port" ]; do sleep 0.1; done
  cport=$(tr -dc 0-9 < "$work/collector.port")
  curl_url="http://127.0.0.1:$cport/sa?project=pc"
  echo "-- trackClick, collector down (closed port)"
  tb latency "http://127.0.0.1:1/sa?project=pc" 20000
  echo "-- trackClick, collector up"
  tb latency "$curl_url" 20000
  echo "-- FlushAll of 1024 records to the local collector"
  : > "$work/requests.txt"
  tb flush "$curl_url" "$work/body.txt"
  python3 - "$work/requests.txt" <<'PY'
import json, sys
posts = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8") if l.strip()]
ok = [p for p in posts if p["status"] == 200]
n = sum(p["records"] for p in ok); b = sum(p["bytes"] for p in ok)
print("on the wire: %d posts, %d records, %d body bytes, %.0f bytes per record" % (len(ok), n, b, b / max(n, 1)))
PY
  gz=$(gzip -9 -c "$work/body.txt.json" | wc -c)
  awk -v g="$gz" 'BEGIN { printf "gzip -9 of the same 30-record JSON (reference): %.0f bytes per record\n", g / 30 }'
  start=$(date +%s.%N)
  for i in $(seq 35); do curl -s -o /dev/null --data-binary @"$work/body.txt" \
    -H "Content-Type: application/x-www-form-urlencoded" "$curl_url"; done
  end=$(date +%s.%N)
  awk -v s="$start" -v e="$end" 'BEGIN { printf "curl posting the same 30-record body 35 times (reference): %.0f records/s\n", 1050 / (e - s) }'
  echo "-- memory"
  tb memory "http://127.0.0.1:1/sa?project=pc"
  awk -v f="$work/body.txt.json" 'BEGIN { while ((getline l < f) > 0) n += length(l); printf "JSON text of those records (reference): %.1f KiB for 1024 (%.0f bytes per record)\n", n / 30 * 1024 / 1024, n / 30 }'
  kill "$col_pid" 2>/dev/null || true
  wait "$col_pid" 2>/dev/null || true
fi

if want skinui && [ -x "$B/skinui_bench" ]; then
  echo "== SkinUI: skin archive to first painted frame, full and hover repaints"
  "$B/skinui_bench"
fi

if want download && [ -x "$B/download_bench" ] && { command -v nginx >/dev/null 2>&1 || [ -x /usr/sbin/nginx ]; }; then
  export PATH="$PATH:/usr/sbin"
  echo "== package download from nginx on 127.0.0.1 (1 GiB random file)"
  srv="$work/nginx"
  python3 tools/package_server/start_nginx.py --work "$srv" --package pkg.bin:$((1024 * 1024 * 1024)):11 \
    --max-seconds 900 > "$work/nginx.txt" &
  srv_pid=$!
  while ! grep -q '^port=' "$work/nginx.txt" 2>/dev/null; do sleep 0.2; done
  port=$(sed -n 's/^port=\([0-9]*\).*/\1/p' "$work/nginx.txt")
  plain="http://127.0.0.1:$port/files/pkg.bin"        # no MD5 in the URL: download alone
  verified="http://127.0.0.1:$port/software/236"      # redirects to /<md5>/pkg.bin: download + MD5
  cat "$srv/root/pkg.bin" > /dev/null
  seconds() { local s e; s=$(date +%s.%N); "$@"; e=$(date +%s.%N); awk -v s="$s" -v e="$e" 'BEGIN { printf "%.3f", e - s }'; }
  mbps() { awk -v t="$1" 'BEGIN { printf "%.0f MB/s", 1073.741824 / t }'; }
  for i in 1 2; do
    t=$(seconds curl -s -o "$work/curl.bin" "$plain"); echo "curl -s -o (reference): 1074 MB in $t s, $(mbps "$t")"; rm -f "$work/curl.bin"
    "$B/download_bench" download 1 "$plain" "$work/one.bin" 2>/dev/null; rm -f "$work/one.bin"
  done
  echo "-- download plus verification (single stream, MD5 taken while writing)"
  "$B/download_bench" download 1 "$verified" "$work/one.bin" 2>/dev/null; rm -f "$work/one.bin"
  echo "-- two ranges"
  for i in 1 2; do
    t=$(seconds aria2c -q -x2 -s2 -k10M --allow-overwrite=true --auto-file-renaming=false -d "$work" -o aria.bin "$plain")
    echo "aria2c -x2 -s2 -k10M (reference): 1074 MB in $t s, $(mbps "$t")"; rm -f "$work/aria.bin"
    "$B/download_bench" download 3 "$plain" "$work/mt.bin" 2>/dev/null; rm -f "$work/mt.bin"
  done
  echo "-- two ranges plus verification"
  "$B/download_bench" download 3 "$verified" "$work/mt.bin" 2>/dev/null; rm -f "$work/mt.bin"
  kill "$srv_pid" 2>/dev/null || true
  wait "$srv_pid" 2>/dev/null || true

  echo "== join of two 512 MiB parts (warm cache)"
  head -c $((512 * 1024 * 1024)) "$srv/root/pkg.bin" > "$work/a.bin"
  tail -c $((512 * 1024 * 1024)) "$srv/root/pkg.bin" > "$work/b.bin"
  t=$(seconds sh -c "cat '$work/a.bin' '$work/b.bin' > '$work/c.bin'")
  awk -v t="$t" 'BEGIN { printf "cat a b > c (reference): 1074 MB written in %.3f s (%.3f s per GiB)\n", t, t }'
  rm -f "$work/c.bin"
  cp "$work/a.bin" "$work/a2.bin"
  "$B/download_bench" join "$work/a.bin" "$work/b.bin"
  "$B/download_bench" join-md5 "$work/a2.bin" "$work/b.bin"
  rm -rf "$srv" "$work"/*.bin
fi
