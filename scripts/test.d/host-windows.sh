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
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine64" wineboot -i >/dev/null 2>&1 || fail "cannot create the wine prefix $WINEPREFIX"
fi

# Renders of two programs. Bit-identical output is the goal; the C runtimes'
# maths functions may still differ in the last bit, which feedback paths then
# carry on, so a difference of 1e-6 (-120 dB) is tolerated and every run
# prints the difference it measured.
programs="0 17"
tolerance=1e-6
host=build/release/apps/velmora-host
for program in $programs; do
  summary=$("$host" render build/release/velmora.so "$renders/linux-$program.raw" --program "$program")
  echo "Linux, program $program: $summary"
  [[ $summary != *"peak 0.000000"* ]] || fail "the Linux render of program $program is silent"
done

# The tool refuses what it cannot do, and the comparison can fail.
! "$host" render /nonexistent/plugin.so "$renders/none.raw" 2>/dev/null || fail "rendered a missing plug-in"
! "$host" render build/release/velmora.so "$renders/none.raw" --program 2>/dev/null || fail "took a bad option"
"$host" render /usr/lib/vst/amsynth_vst.so "$renders/foreign.raw" >/dev/null 2>&1 || fail "cannot render amsynth"
! "$host" compare "$renders/linux-0.raw" "$renders/foreign.raw" >/dev/null || fail "different renders compared equal"

run_windows() {  # loader, build folder, label
  local loader=$1 folder=$2 label=$3
  for program in $programs; do
    "$loader" "$folder/apps/velmora-host.exe" info "$folder/velmora.dll" | grep -q '^id vlm1, 64 programs' \
      || fail "$label: the plug-in did not load under wine"
    "$loader" "$folder/apps/velmora-host.exe" render "$folder/velmora.dll" "$renders/$label-$program.raw" \
      --program "$program" >/dev/null || fail "$label: render of program $program failed"
    echo -n "$label, program $program against Linux: "
    "$host" compare "$renders/linux-$program.raw" "$renders/$label-$program.raw" \
      --tolerance "$tolerance" || fail "$label: program $program differs from the Linux render"
  done
}

run_windows "$wine64" build/win64 win64
# 32-bit Windows code needs a machine that can run 32-bit x86 code.
words="64"
if "$wine32" --version >/dev/null 2>&1; then
  run_windows "$wine32" build/win32 win32
  words="64 32"
else
  echo "host-windows: SKIPPED the 32-bit wine runs: this machine cannot execute 32-bit x86 code" \
       "($wine32 does not start); the 32-bit build and its tables were checked" >&2
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
