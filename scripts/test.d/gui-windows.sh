#!/usr/bin/env bash
# The drawing primitives through the Windows backend: the shared primitive
# tests cross-built for 64-bit Windows (with GoogleTest built for the target)
# and run under wine. The 32-bit backend is compiled by the Windows cross
# builds of the plug-in and by gui-windows-loops.sh.
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs=$(nproc 2>/dev/null || echo 2)
folder=build/win64-gui
limit=300 # seconds for the run under wine

fail() { echo "gui-windows: $*" >&2; exit 1; }
. scripts/lib/display.sh

# GoogleTest needs std::mutex, which only the posix thread model provides;
# the program is linked statically, so it needs no thread runtime DLL.
cmake -S tests/gui/windows -B "$folder" -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
  -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$folder" --target gui_primitives_win -j "$jobs" >/dev/null

# In the prefix and on a virtual display as the window tests.
export WINEPREFIX=$PWD/build/wine-gui WINEDEBUG=-all WINEARCH=win64
status=0
run_wine_tests "$limit" /usr/lib/wine/wine64 "$folder/gui_primitives_win.exe" || status=$?
if [ "$status" -ne 0 ]; then
  [ "$status" -eq 124 ] && fail "the run took longer than $limit s"
  fail "primitive tests failed under wine"
fi
echo "gui-windows: passed" >&2
