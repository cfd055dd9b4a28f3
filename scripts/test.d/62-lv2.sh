#!/usr/bin/env bash
# The LV2 bundle in hosts nobody here wrote. lv2info (lilv) must load the
# Turtle and list the instrument with its 123 ports, its X11 editor and the
# 64 factory presets. Ardour's Lua session tool, on the Dummy backend, must
# load the plug-in on a MIDI track, play it audibly, and after saving and
# reopening the session play the program that only the plug-in's state kept
# at the same level.
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs=$(nproc 2>/dev/null || echo 2)

fail() { echo "lv2: $*" >&2; exit 1; }
command -v lv2info >/dev/null || fail "no lv2info (Debian package lilv-utils)"
command -v ardour7-lua >/dev/null || fail "no ardour7-lua (Debian package ardour)"

cmake --preset release >/dev/null
cmake --build build/release --target velmora_lv2 -j "$jobs" >/dev/null

# Only our bundle and the specifications: the build folder holds other files.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/lv2"
ln -s "$(realpath build/release/velmora.lv2)" "$work/lv2/velmora.lv2"

info=$work/lv2info.txt
LV2_PATH=$work/lv2:/usr/lib/lv2 lv2info urn:velmora:synth >"$info" 2>"$work/lv2info.err" || { cat "$work/lv2info.err" >&2; fail "lv2info failed"; }
grep -q 'velmora' "$work/lv2info.err" && { cat "$work/lv2info.err" >&2; fail "lilv complains about the bundle"; }
errors=()
expect() {  # what, actual, wanted
  [ "$2" = "$3" ] || errors+=("$1 is '$2', expected '$3'")
}
field() { sed -n "s/^\t$1: *//p" "$info" | head -1; }
count() { grep -c -- "$1" "$info" || true; }
expect "name" "$(field Name)" Velmora
expect "class" "$(field Class)" "Instrument Plugin"
expect "author" "$(field Author)" "Velmora Instruments"
expect "ports" "$(count '^	Port [0-9]*:$')" 123
expect "control inputs" "$(count 'lv2core#ControlPort')" 120
expect "audio outputs" "$(count 'lv2core#AudioPort')" 2
expect "atom inputs" "$(count 'atom#AtomPort')" 1
expect "UI class" "$(count 'ui#X11UI')" 1
expect "presets" "$(sed -n '/^\tPresets:/,/^\tPort 0:/p' "$info" | grep -c '^	  *[^ ]')" 64
expect "state interface" "$(count 'state#interface')" 1
expect "port 16 (Filter Cutoff)" "$(sed -n '/^\tPort 16:/,/^$/p' "$info" | sed -n 's/^\t\t\(Name\|Minimum\|Maximum\|Default\): *//p' | tr '\n' ' ')" \
  "Filter Cutoff 0.000000 100.000000 100.000000 "
expect "port 110 (Phaser Low)" "$(sed -n '/^\tPort 110:/,/^$/p' "$info" | sed -n 's/^\t\t\(Name\|Minimum\|Maximum\|Default\): *//p' | tr '\n' ' ')" \
  "Phaser Low 20.000000 20000.000000 4000.000000 "

# Ardour: a fresh home, so that no cache or configuration decides anything,
# and no LV2 plug-in but ours.
home=$work/home
mkdir -p "$home"
log=$work/ardour.log
status=0
for step in create reopen; do
  env -u DISPLAY -u WAYLAND_DISPLAY LV2_PATH="$work/lv2" HOME="$home" XDG_CACHE_HOME="$home/.cache" \
    XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    timeout 60 ardour7-lua scripts/lv2/ardour-roundtrip.lua "$work/session" "$step" >>"$log" 2>&1 || status=$?
done
level() { sed -n "s/^level $1 //p" "$log"; }
first=$(level program-0)
saved=$(level saved)
reloaded=$(level reloaded)
if [ "$status" -ne 0 ] || [ -z "$reloaded" ]; then
  cat "$log" >&2
  fail "the Ardour session round trip did not finish (exit status $status)"
fi
# Audible and finite; the reopened session plays the saved program, which
# sounds unlike program 0.
awk -v a="$first" -v s="$saved" -v r="$reloaded" 'BEGIN {
  ok = (a > -60 && a < 20 && s > -60 && s < 20 && r > -60 && r < 20)
  d = s - r; if (d < 0) d = -d
  e = s - a; if (e < 0) e = -e
  exit !(ok && d < 0.5 && e > 0.5) }' ||
  errors+=("Ardour levels program 0 $first dB, saved $saved dB, reloaded $reloaded dB: expected audible, the reloaded level within 0.5 dB of the saved one and that one 0.5 dB or more from program 0")

if [ "${#errors[@]}" -ne 0 ]; then
  printf 'lv2: %s\n' "${errors[@]}" >&2
  cat "$info" >&2
  fail "the LV2 bundle is not listed or played as expected"
fi
echo "lv2: lv2info lists 123 ports and 64 presets; Ardour plays program 0 at $first dB, the saved program at $saved dB and after reopening at $reloaded dB" >&2
echo "lv2: passed" >&2
