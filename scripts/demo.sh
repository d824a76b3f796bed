#!/usr/bin/env bash
# The main job as far as it exists: the installer's start-up spine, run from
# a temporary folder with its own INI file and a temporary HOME. Shows the
# diagnostic log, a second instance leaving with status 255, and the orderly
# tear-down when the (headless) main window is closed.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d /tmp/tarnvell-demo.XXXXXX)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/home"/{config,data,runtime,tmp}
cp build/native/bin/tarnvell-installer "$work/bin/"
cat > "$work/bin/KelvoInstallerConfig.ini" <<'INI'
[Install]
DownloadUrl=http://127.0.0.1:8236/${ROUTE}/software/236
DownloadType=3
DownloadScale=0.6
IsCheckNet=false
AnalyticsUrl=http://127.0.0.1:9/sa?project=pc
INI
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data \
       XDG_RUNTIME_DIR=$work/home/runtime TMPDIR=$work/home/tmp

echo "--- starting the installer (INI: DownloadType=3, DownloadScale=0.6; command line: -downloadscale=0.8 -instcmd=-demo)"
"$work/bin/tarnvell-installer" -downloadscale=0.8 -instcmd=-demo 2>"$work/log.txt" &
pid=$!
for _ in $(seq 100); do grep -q "main window open" "$work/log.txt" && break; sleep 0.05; done
cat "$work/log.txt"

echo "--- a second instance while the first runs"
set +e
"$work/bin/tarnvell-installer" 2>&1
echo "second instance exit status: $?"
set -e

echo "--- closing the first instance's window (SIGTERM)"
kill -TERM "$pid"
wait "$pid"
echo "first instance exit status: $?"
tail -n +2 "$work/log.txt" | grep -v "main window open" | sed -n '/closed/,$p'
