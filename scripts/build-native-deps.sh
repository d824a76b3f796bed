#!/usr/bin/env bash
# Builds the one native dependency Debian ships no library for: the LZMA SDK
# 7z decoder (public domain C sources of Debian's 7zip source package), as a
# position-independent static library in a cache folder outside the clone.
# A stamp holding the hash of this script makes later runs a no-op.
#
#   TARNVELL_CACHE   cache folder (default /var/cache/tarnvell)
set -euo pipefail

CACHE=${TARNVELL_CACHE:-/var/cache/tarnvell}
P=$CACHE/native/prefix
S=$CACHE/src
B=$CACHE/native/build
STAMP=$P/.stamp
HASH=$(sha256sum "$0" | cut -d' ' -f1)

if [ -f "$STAMP" ] && [ "$(cat "$STAMP")" = "$HASH" ]; then
  exit 0
fi
echo "build-native-deps: building the 7z decoder into $P"
rm -rf "$P" "$B"
mkdir -p "$P/include/lzma" "$P/lib" "$S" "$B/lzma"

cd "$S"
if ! ls 7zip_*.dsc >/dev/null 2>&1; then
  apt-get source --download-only 7zip >/dev/null 2>&1
fi
if ! ls -d 7zip-*/ >/dev/null 2>&1; then
  dpkg-source --no-check -x 7zip_*.dsc >/dev/null
fi
SEVENZ_SRC=$(ls -d "$S"/7zip-*/ | head -1)

LZ="7zAlloc 7zArcIn 7zBuf 7zCrc 7zCrcOpt 7zDec 7zStream Bcj2 Bra Bra86 CpuArch Delta Lzma2Dec LzmaDec"
cp "$SEVENZ_SRC"/C/*.h "$P/include/lzma/"
for f in $LZ; do
  gcc -O2 -fPIC -I"$P/include/lzma" -c "$SEVENZ_SRC/C/$f.c" -o "$B/lzma/$f.o"
done
ar rcs "$P/lib/lib7zdec.a" "$B"/lzma/*.o

echo "$HASH" > "$STAMP"
echo "build-native-deps: done"
