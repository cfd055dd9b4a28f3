#!/usr/bin/env bash
# The drawing primitives through the Windows backend: the shared primitive
# tests cross-built for 64-bit Windows (with GoogleTest built for the target)
# and run under wine. The 32-bit backend is compiled by the Windows cross
# builds of the plug-in; this machine may not run 32-bit x86 code.
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs=$(nproc 2>/dev/null || echo 2)
folder=build/win64-gui

fail() { echo "gui-windows: $*" >&2; exit 1; }

# GoogleTest needs std::mutex, which only the posix thread model provides;
# the program is linked statically, so it needs no thread runtime DLL.
cmake -S tests/gui/windows -B "$folder" -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
  -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$folder" -j "$jobs" >/dev/null

export WINEPREFIX=$PWD/build/wine WINEDEBUG=-all WINEARCH=win64
wine64=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine64" wineboot -i >/dev/null 2>&1 || fail "cannot create the wine prefix $WINEPREFIX"
fi
"$wine64" "$folder/gui_primitives_win.exe" --gtest_brief=1 || fail "primitive tests failed under wine"
echo "gui-windows: passed" >&2
