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
. scripts/lib/display.sh
. scripts/lib/i386.sh

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

# Without a display wine can make no windows: CreateWindow fails and no
# message ever arrives.
export WINEPREFIX=$PWD/build/wine-gui WINEDEBUG=-all WINEARCH=win64
wine32=/usr/lib/wine/wine
# 32-bit Windows code needs a machine that can run 32-bit x86 code, natively
# or emulated: made ready before the prefix, so that wine sets up its 32-bit
# side in it too.
words="64"
if can_run_i386 "$wine32"; then
  words="64 32"
else
  echo "gui-windows-loops: SKIPPED the 32-bit wine run: $i386_why ($wine32 does not start);" \
       "the 32-bit program was built" >&2
fi
status=0
run_wine_tests "$limit" /usr/lib/wine/wine64 build/win64-gui/gui_windows_win.exe || status=$?
if [ "$status" -ne 0 ]; then
  [ "$status" -eq 124 ] && fail "the 64-bit run took longer than $limit s"
  fail "window tests failed under wine (64-bit)"
fi
if [ "$words" = "64 32" ]; then
  run_wine_tests "$limit" "$wine32" build/win32-gui/gui_windows_win.exe || fail "window tests failed under wine (32-bit)"
fi
echo "gui-windows-loops: passed" >&2
