#!/usr/bin/env bash
# The toolkit's windows, window procedure and loops on the real window
# system: cross-built for 64- and 32-bit Windows and run under wine on a
# virtual display, with messages posted to real windows of the toolkit's
# class. Each scenario has a watchdog in the program; the whole run has a
# time limit here.
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs=$(nproc 2>/dev/null || echo 2)
limit=300 # seconds for the whole run under wine

fail() { echo "gui-windows-loops: $*" >&2; exit 1; }

# GoogleTest needs std::mutex, which only the posix thread model provides;
# the programs are linked statically, so they need no thread runtime DLL.
for arch in x86_64:win64 i686:win32; do
  cpu=${arch%%:*} folder=build/${arch#*:}-gui
  cmake -S tests/gui/windows -B "$folder" -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR="$cpu" \
    -DCMAKE_C_COMPILER="$cpu-w64-mingw32-gcc-posix" -DCMAKE_CXX_COMPILER="$cpu-w64-mingw32-g++-posix" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$folder" --target gui_windows_win -j "$jobs" >/dev/null || fail "$cpu cross build failed"
done
objdump -f build/win64-gui/gui_windows_win.exe | grep -q 'file format pei-x86-64$' || fail "not a 64-bit program"
objdump -f build/win32-gui/gui_windows_win.exe | grep -q 'file format pei-i386$' || fail "not a 32-bit program"

# Everything of wine runs on one virtual display and the wine server is
# waited for at both ends: a server (and its desktop) started without a
# display can make no windows, and every program that comes while it lives
# gets that desktop: CreateWindow fails and no message ever arrives.
export WINEPREFIX=$PWD/build/wine-gui WINEDEBUG=-all WINEARCH=win64
wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
wineserver=/usr/lib/wine/wineserver64
run_on_display() {  # loader, program
  timeout -k 10 "$limit" xvfb-run -a bash -c '
    "$0" -w
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$1" wineboot -i >/dev/null 2>&1 || { echo "cannot create the wine prefix $WINEPREFIX" >&2; exit 1; }
    fi
    status=0
    "$1" "$2" --gtest_brief=1 || status=$?
    "$0" -w
    exit $status' "$wineserver" "$1" "$2"
}
status=0
run_on_display "$wine64" build/win64-gui/gui_windows_win.exe || status=$?
if [ "$status" -ne 0 ]; then
  # A run that overran its limit may leave programs of this prefix behind.
  "$wineserver" -k 2>/dev/null || true
  [ "$status" -eq 124 ] && fail "the 64-bit run took longer than $limit s"
  fail "window tests failed under wine (64-bit)"
fi
# 32-bit Windows code needs a machine that can run 32-bit x86 code.
if "$wine32" --version >/dev/null 2>&1; then
  run_on_display "$wine32" build/win32-gui/gui_windows_win.exe || fail "window tests failed under wine (32-bit)"
else
  echo "gui-windows-loops: SKIPPED the 32-bit wine run: this machine cannot execute 32-bit x86 code" \
       "($wine32 does not start); the 32-bit program was built" >&2
fi
echo "gui-windows-loops: passed" >&2
