#!/usr/bin/env bash
# Screenshots of one skin layout in real windows: the X11 build of
# tv-skin-show on a private Xvfb, then the Windows build of the same tool
# under Wine on that display. Each screen is dumped with `xwd -root` and
# converted to PNG into the output folder (native.png, wine.png).
#
#   scripts/skin-screenshots.sh SKIN LAYOUT [OUTDIR]
#
# SKIN is a skin folder or 7z archive, LAYOUT a layout file in it. Builds
# come from $NATIVE_BUILD (default build/native) and $WIN32_BUILD (default
# build/win32); tv-skin-show is built there when missing. Run by hand; not
# part of `make test`.
set -uo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 SKIN LAYOUT [OUTDIR]" >&2
  exit 1
fi
if [ ! -e "$1" ]; then
  echo "$0: no skin at $1" >&2
  exit 1
fi
SKIN=$(realpath "$1")
LAYOUT=$2
OUT=$(realpath -m "${3:-build/skin-screenshots}")
NATIVE_BUILD=${NATIVE_BUILD:-build/native}
WIN32_BUILD=${WIN32_BUILD:-build/win32}
CACHE=${TARNVELL_CACHE:-/var/cache/tarnvell}
CONVERT=ui_toolkit/backends/tools/xwd_to_png.py
SHOW_SECONDS=6
SETTLE_SECONDS=3
WINE_SETTLE_SECONDS=8  # Wine starts its server and loads the program first
mkdir -p "$OUT"

tool_in() {  # tool_in BUILD NAME: builds the tool when the build folder exists
  local build=$1 name=$2
  [ -d "$build" ] || return 1
  [ -x "$build/bin/$name" ] || cmake --build "$build" --target tv-skin-show -j2 >&2 || return 1
  [ -x "$build/bin/$name" ]
}

# A private X server on the first free display number.
start_xvfb() {
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    DISPLAY_NUM=$n
    for _ in $(seq 50); do
      xwd -root -silent -display ":$n" >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
  done
  echo "no X server could be started" >&2
  return 1
}

# shoot NAME SETTLE COMMAND...: runs the command on the display, waits
# SETTLE seconds for the window to appear, dumps the screen and converts it.
shoot() {
  local name=$1 settle=$2; shift 2
  DISPLAY=":$DISPLAY_NUM" "$@" &
  local pid=$!
  sleep "$settle"
  if xwd -root -silent -display ":$DISPLAY_NUM" >"$OUT/$name.xwd" &&
     python3 "$CONVERT" "$OUT/$name.xwd" "$OUT/$name.png"; then
    rm -f "$OUT/$name.xwd"
    echo "$name: $OUT/$name.png"
  else
    echo "$name: screenshot failed" >&2
    status=1
  fi
  wait "$pid" || { echo "$name: tv-skin-show failed" >&2; status=1; }
}

status=0
start_xvfb || exit 1
trap 'kill "$XVFB_PID" 2>/dev/null' EXIT

if tool_in "$NATIVE_BUILD" tv-skin-show; then
  shoot native "$SETTLE_SECONDS" "$NATIVE_BUILD/bin/tv-skin-show" "$SKIN" "$LAYOUT" --seconds "$SHOW_SECONDS"
else
  echo "native: no build in $NATIVE_BUILD" >&2
  status=1
fi

if ! [ -x /lib/ld-linux.so.2 ] || ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo "wine: skipped, this kernel cannot run 32-bit programs" >&2
elif tool_in "$WIN32_BUILD" tv-skin-show.exe; then
  export WINEPREFIX=$CACHE/win32/wineprefix WINEARCH=win32 WINEDEBUG=-all
  # Wine sees the skin through its Z: drive (the whole Unix file system).
  shoot wine "$WINE_SETTLE_SECONDS" wine "$WIN32_BUILD/bin/tv-skin-show.exe" \
    "Z:${SKIN//\//\\}" "$LAYOUT" --seconds "$((WINE_SETTLE_SECONDS + 3))"
else
  echo "wine: no build in $WIN32_BUILD" >&2
  status=1
fi
exit $status
