#!/usr/bin/env bash
# Installs the Debian packages the native build, the Windows cross-build and
# the tests need. Idempotent: when every package is already present it does
# nothing, so repeated `make test` runs cost a few dpkg queries.
set -euo pipefail

NATIVE_PKGS=(
  cmake ninja-build g++ make ccache pkg-config python3 git file
  libcurl4-openssl-dev libssl-dev zlib1g-dev libfmt-dev
  libgtest-dev libgmock-dev libpugixml-dev libstb-dev nginx-light openssl aria2 curl
  libfontconfig-dev fonts-wqy-microhei libx11-dev libxext-dev 7zip dpkg-dev xvfb xauth
)
WIN32_PKGS=(
  g++-mingw-w64-i686-posix libz-mingw-w64-dev dpkg-dev
  wine wine32:i386 libgnutls30:i386 fonts-wine
  xvfb xauth x11-apps
)

want=("${NATIVE_PKGS[@]}")
if [ "${TARNVELL_NATIVE_ONLY:-0}" != 1 ]; then want+=("${WIN32_PKGS[@]}"); fi

missing=()
for p in "${want[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

SUDO=""
[ "$(id -u)" = 0 ] || SUDO="sudo"

# deb-src entries: the Windows dependencies Debian lacks for MinGW are built
# from Debian's own source packages (see scripts/build-win32-deps.sh).
SRC_LIST=/etc/apt/sources.list.d/tarnvell-deb-src.sources
need_update=0
if [ ! -f "$SRC_LIST" ] && ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ \
   && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  $SUDO tee "$SRC_LIST" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

if [ "${TARNVELL_NATIVE_ONLY:-0}" != 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi

if [ ${#missing[@]} -eq 0 ] && [ $need_update = 0 ]; then
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
echo "install-deps: installing ${missing[*]:-(source lists only)}"
$SUDO apt-get -o DPkg::Lock::Timeout=900 -q update >/dev/null
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get -o DPkg::Lock::Timeout=900 -q -y --no-install-recommends install "${missing[@]}" >/dev/null
fi
