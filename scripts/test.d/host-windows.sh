#!/usr/bin/env bash
# The Windows plug-in and test host: cross builds for 32- and 64-bit, their
# import and export tables, and renders under wine that must equal the Linux
# build's render sample for sample.
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs=$(nproc 2>/dev/null || echo 2)
renders=build/host-renders
mkdir -p "$renders"

fail() { echo "host-windows: $*" >&2; exit 1; }
. scripts/lib/display.sh
. scripts/lib/i386.sh

cmake --preset release >/dev/null
cmake --build build/release --target velmora_vst velmora-host -j "$jobs" >/dev/null
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target velmora_vst velmora-host -j "$jobs" >/dev/null
done

# Each build holds code for its own word size.
for pair in win32:pei-i386 win64:pei-x86-64; do
  for file in build/${pair%%:*}/velmora.dll build/${pair%%:*}/apps/velmora-host.exe; do
    objdump -f "$file" | grep -q "file format ${pair#*:}\$" || fail "$file is not ${pair#*:}"
  done
done

# Only DLLs that every Windows has: the compiler's runtime is linked in.
system_dlls='^(kernel32|msvcrt|user32|gdi32|shell32|winmm|advapi32|comdlg32|ole32)\.dll$'
for file in build/win32/velmora.dll build/win64/velmora.dll build/win32/apps/velmora-host.exe \
            build/win64/apps/velmora-host.exe; do
  imports=$(objdump -p "$file" | awk '/DLL Name:/ {print tolower($3)}')
  [ -n "$imports" ] || fail "$file: no import table found"
  for dll in $imports; do
    [[ $dll =~ $system_dlls ]] || fail "$file needs $dll, which Windows does not provide"
  done
  echo "$file imports: $(echo $imports)"
done

# Both entry names, at the same address.
for dll in build/win32/velmora.dll build/win64/velmora.dll; do
  table=$(objdump -p "$dll")
  exports=$(echo "$table" | awk '/\[Ordinal\/Name Pointer\] Table/ {table=1; next} NF == 0 {table=0} table {print $NF}' | sort | tr '\n' ' ')
  [ "$exports" = "VSTPluginMain main " ] || fail "$dll exports '$exports', not VSTPluginMain and main"
  rvas=$(echo "$table" | awk '/Export RVA/ {print $(NF-2)}' | sort -u | wc -l)
  [ "$rvas" -eq 1 ] || fail "$dll: the two entry names lead to different code"
done
linux_exports=$(nm -D --defined-only build/release/velmora.so | awk '{print $3}' | sort | tr '\n' ' ')
[ "$linux_exports" = "VSTPluginMain main " ] || fail "velmora.so exports '$linux_exports'"

export WINEPREFIX=$PWD/build/wine WINEDEBUG=-all WINEARCH=win64
wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
# 32-bit Windows code needs a machine that can run 32-bit x86 code, natively
# or emulated: made ready before the prefix, so that wine sets up its 32-bit
# side in it too.
words="64"
if can_run_i386 "$wine32"; then
  words="64 32"
else
  echo "host-windows: SKIPPED the 32-bit wine runs: $i386_why ($wine32 does not start);" \
       "the 32-bit build and its tables were checked" >&2
fi
make_wine_prefix "$wine64" || fail "cannot create the wine prefix $WINEPREFIX"

# Every factory program renders to the very same bytes on Linux and on both
# Windows builds: the synth does its maths with its own functions, not the C
# runtime's, so no last bit may differ.
host=build/release/apps/velmora-host
mkdir -p "$renders/linux"
"$host" render-each build/release/velmora.so "$renders/linux" >"$renders/linux.log" \
  || fail "the Linux renders failed: $(cat "$renders/linux.log")"
silent=$(grep -c 'peak 0.000000' "$renders/linux.log" || true)
[ "$silent" = 0 ] || fail "$silent Linux renders are silent"
echo "Linux: $(grep -c finite "$renders/linux.log") programs rendered"

# The tool refuses what it cannot do, and the comparison can fail.
! "$host" render /nonexistent/plugin.so "$renders/none.raw" 2>/dev/null || fail "rendered a missing plug-in"
! "$host" render build/release/velmora.so "$renders/none.raw" --program 2>/dev/null || fail "took a bad option"
"$host" render /usr/lib/vst/amsynth_vst.so "$renders/foreign.raw" >/dev/null 2>&1 || fail "cannot render amsynth"
! "$host" compare "$renders/linux/program-0.raw" "$renders/foreign.raw" >/dev/null || fail "different renders compared equal"

run_windows() {  # loader, build folder, label
  local loader=$1 folder=$2 label=$3
  "$loader" "$folder/apps/velmora-host.exe" info "$folder/velmora.dll" | grep -q '^id vlm1, 64 programs' \
    || fail "$label: the plug-in did not load under wine"
  mkdir -p "$renders/$label"
  "$loader" "$folder/apps/velmora-host.exe" render-each "$folder/velmora.dll" "$renders/$label" >/dev/null \
    || fail "$label: the renders failed"
  local differing=0
  for program in $(seq 0 63); do
    "$host" compare "$renders/linux/program-$program.raw" "$renders/$label/program-$program.raw" >/dev/null \
      || { echo "$label, program $program: $("$host" compare "$renders/linux/program-$program.raw" \
             "$renders/$label/program-$program.raw" 2>&1)" >&2; differing=$((differing + 1)); }
  done
  [ "$differing" = 0 ] || fail "$label: $differing of 64 programs differ from the Linux renders"
  echo "$label: all 64 programs identical to the Linux renders"
}

run_windows "$wine64" build/win64 win64
if [ "$words" = "64 32" ]; then
  run_windows "$wine32" build/win32 win32
fi

# The editor inside a window of the Windows test host, on a virtual X server
# for wine to draw on. The wine server of the renders above lives on without a
# display, and every program started while it lives would share its desktop,
# which can make no windows: wait for it to end first.
/usr/lib/wine/wineserver64 -w
start_xvfb 121 150 "$renders/xvfb.log" || fail "no virtual X server for the editor run"
for bits in $words; do
  loader=$wine64
  [ "$bits" = 32 ] && loader=$wine32
  DISPLAY=":$display" timeout 300 "$loader" "build/win$bits/apps/velmora-host.exe" editor \
    "build/win$bits/velmora.dll" "$renders/editor-win$bits.bmp" \
    || fail "win$bits: the editor did not open, idle and close inside the host's window"
done
echo "host-windows: passed" >&2
