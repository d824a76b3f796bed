#!/usr/bin/env bash
# Builds the i686 MinGW-w64 dependency set that Debian does not ship for
# MinGW (libcurl, pugixml, googletest, the LZMA SDK 7z decoder) from Debian's
# own source packages, plus header-only stb and {fmt} and the packaged static
# zlib, into a cache folder outside the clone. A stamp holding the hash of this
# script makes later runs a no-op; change the script and the cache is rebuilt.
#
#   TARNVELL_CACHE   cache folder (default /var/cache/tarnvell)
set -euo pipefail

CACHE=${TARNVELL_CACHE:-/var/cache/tarnvell}
P=$CACHE/win32/prefix
S=$CACHE/src
B=$CACHE/win32/build
J=$(nproc)
STAMP=$P/.stamp
HASH=$(sha256sum "$0" | cut -d' ' -f1)

if [ -f "$STAMP" ] && [ "$(cat "$STAMP")" = "$HASH" ] && [ -f "$CACHE/win32/mingw32.cmake" ]; then
  exit 0
fi
echo "build-win32-deps: building MinGW dependencies into $P (about two minutes)"
rm -rf "$P" "$B"
mkdir -p "$P/include" "$P/lib" "$S" "$B"

cat > "$CACHE/win32/mingw32.cmake" <<EOT
# i686 MinGW-w64 (posix threads) toolchain; dependencies only from the cache
# prefix, so nothing from the build machine's own /usr leaks into the exe.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH $P)
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
set(TARNVELL_WIN32_PREFIX $P)
EOT
TC=-DCMAKE_TOOLCHAIN_FILE=$CACHE/win32/mingw32.cmake

# Debian-patched sources (needs deb-src entries; scripts/install-deps.sh adds them).
cd "$S"
for pkg in curl 7zip pugixml; do
  if ! ls ${pkg}_*.dsc >/dev/null 2>&1; then
    apt-get source --download-only "$pkg" >/dev/null 2>&1
  fi
  if ! ls -d ${pkg}-*/ >/dev/null 2>&1; then
    dpkg-source --no-check -x ${pkg}_*.dsc >/dev/null
  fi
done
CURL_SRC=$(ls -d "$S"/curl-*/ | head -1)
SEVENZ_SRC=$(ls -d "$S"/7zip-*/ | head -1)
PUGI_SRC=$(ls -d "$S"/pugixml-*/ | head -1)

# zlib: the packaged static MinGW library (never the import library).
cp /usr/i686-w64-mingw32/include/zlib.h /usr/i686-w64-mingw32/include/zconf.h "$P/include/"
cp /usr/i686-w64-mingw32/lib/libz.a "$P/lib/"

# libcurl: static, Schannel TLS, HTTP/HTTPS/FILE only.
cmake -S "$CURL_SRC" -B "$B/curl" $TC -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$P" \
  -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF \
  -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_WINDOWS_SSPI=ON -DENABLE_UNICODE=ON \
  -DCURL_ZLIB=ON -DZLIB_LIBRARY="$P/lib/libz.a" -DZLIB_INCLUDE_DIR="$P/include" \
  -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DUSE_LIBIDN2=OFF -DUSE_WIN32_IDN=ON \
  -DCURL_USE_LIBPSL=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_GSSAPI=OFF -DENABLE_ARES=OFF \
  -DENABLE_THREADED_RESOLVER=ON -DENABLE_UNIX_SOCKETS=OFF \
  -DCURL_DISABLE_{LDAP,LDAPS,FTP,DICT,GOPHER,IMAP,POP3,SMTP,SMB,TELNET,TFTP,RTSP,MQTT}=ON \
  -DCURL_DISABLE_FILE=OFF -DCURL_DISABLE_HTTP=OFF >"$B/curl-configure.log"
cmake --build "$B/curl" -j"$J" >"$B/curl-build.log"
cmake --install "$B/curl" >/dev/null

# googletest + googlemock from Debian's libgtest-dev sources.
cmake -S /usr/src/googletest -B "$B/gtest" $TC -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$P" >/dev/null
cmake --build "$B/gtest" -j"$J" >/dev/null
cmake --install "$B/gtest" >/dev/null

# pugixml (the binary package ships only Linux libraries).
cmake -S "$PUGI_SRC" -B "$B/pugixml" $TC -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$P" \
  -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF >/dev/null
cmake --build "$B/pugixml" -j"$J" >/dev/null
cmake --install "$B/pugixml" >/dev/null

# Header-only libraries: copy, never point a MinGW build at /usr/include.
mkdir -p "$P/include/stb"
cp /usr/include/stb/stb_image.h /usr/include/stb/stb_image_write.h \
   /usr/include/stb/stb_truetype.h /usr/include/stb/stb_rect_pack.h "$P/include/stb/"
cp -r /usr/include/fmt "$P/include/"

# LZMA SDK 7z decoder (public domain C sources of Debian's 7zip) -> lib7zdec.a
mkdir -p "$P/include/lzma" "$B/lzma"
LZ="7zAlloc 7zArcIn 7zBuf 7zCrc 7zCrcOpt 7zDec 7zStream Bcj2 Bra Bra86 CpuArch Delta Lzma2Dec LzmaDec"
cp "$SEVENZ_SRC"/C/*.h "$P/include/lzma/"
for f in $LZ; do
  i686-w64-mingw32-gcc-posix -O2 -I"$P/include/lzma" -c "$SEVENZ_SRC/C/$f.c" -o "$B/lzma/$f.o"
done
i686-w64-mingw32-ar rcs "$P/lib/lib7zdec.a" "$B"/lzma/*.o

echo "$HASH" > "$STAMP"
echo "build-win32-deps: done"
