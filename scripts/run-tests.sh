#!/usr/bin/env bash
# Builds and runs every test: native, ASan+UBSan, TSan (threaded tests),
# and the Windows build under Wine. Every stage runs even when an earlier one
# failed; the exit status is non-zero when any did.
set -uo pipefail
cd "$(dirname "$0")/.."
CACHE=${TARNVELL_CACHE:-/var/cache/tarnvell}
JOBS=$(nproc)
passed=0
failed=0
skipped=0
failures=()
skips=()
SKIP=77  # a stage's status when this machine cannot run it at all

stage() {  # stage NAME COMMAND...
  local name=$1; shift
  echo "=== $name"
  "$@"
  local rc=$?
  if [ $rc -eq 0 ]; then passed=$((passed + 1))
  elif [ $rc -eq $SKIP ]; then skipped=$((skipped + 1)); skips+=("$name")
  else failed=$((failed + 1)); failures+=("$name"); fi
}

# Wine runs the 32-bit Windows build through 32-bit Linux code; a kernel
# built without IA32 emulation cannot start it ("Exec format error").
kernel_runs_32bit() {
  local loader=/lib/ld-linux.so.2
  [ -x "$loader" ] && "$loader" --version >/dev/null 2>&1
}

native_stage() {  # native_stage BUILD [ctest args]
  local build=$1; shift
  local display=()
  # The native build's window tests need an X server: a private Xvfb.
  [ "$build" = native ] && display=(xvfb-run -a -s "-screen 0 1280x800x24")
  make --no-print-directory "$build" JOBS="$JOBS" || return 1
  rm -rf "build/$build/test-home/tmp/"* "build/$build/test-home/config/"*
  (cd "build/$build" && ${display[@]+"${display[@]}"} ctest --output-on-failure -j2 "$@")
}

win32_imports_are_system_dlls() {
  local exe=build/win32/bin/TarnvellSetup.exe
  file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || { echo "not a PE32 i386 GUI program: $(file "$exe")"; return 1; }
  local allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|ws2_32|crypt32|bcrypt|secur32|normaliz|wldap32|netapi32|wtsapi32|msvcrt|comctl32|comdlg32|shlwapi|iphlpapi|msimg32|version|uxtheme|dwmapi|urlmon|wininet|imm32|winmm|crypt32)\.dll$'
  local bad=0
  for dll in $(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}'); do
    if [[ ! $dll =~ $allowed ]]; then echo "non-system import: $dll"; bad=1; fi
  done
  echo "imports: $(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {printf "%s ", $3}')"
  return $bad
}

win32_stage() {
  make --no-print-directory win32 JOBS="$JOBS" || return 1
  win32_imports_are_system_dlls || return 1
  if ! kernel_runs_32bit; then
    echo "win32-wine: SKIPPED: this machine's kernel cannot execute 32-bit programs, so Wine cannot run"
    echo "the Windows tests here; the Windows build was built and its imports checked."
    return $SKIP
  fi
  export WINEPREFIX=$CACHE/win32/wineprefix WINEARCH=win32 WINEDEBUG=-all
  unset DISPLAY
  if [ ! -d "$WINEPREFIX" ]; then wineboot --init >/dev/null 2>&1; wineserver -w; fi
  rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/~KelVoTemp.* "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/~KelVoTemp.* 2>/dev/null
  # A wineserver started inside CTest would keep its output pipe open, so
  # start one first; it ends by itself 10 s after its last client.
  wineserver -p10 2>/dev/null || true
  wine cmd /c exit </dev/null >/dev/null 2>&1
  (cd build/win32 && ctest -V -j1)
}

stage native native_stage native
stage asan-ubsan native_stage asan
stage tsan native_stage tsan -L threaded
stage win32-wine win32_stage

echo
echo "test stages: ${failures[*]:-none} failed${skips[*]:+; skipped: ${skips[*]}}"
echo "summary: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
