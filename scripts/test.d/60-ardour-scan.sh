#!/usr/bin/env bash
# A host nobody here wrote: Ardour's VST scanner loads velmora.so, asks it
# what it is and writes its verdict to a cache file. The file must list the
# plug-in as an instrument named Velmora by Velmora Instruments, with no audio
# inputs, two audio outputs and MIDI in. The scanner exits 0 even when it
# rejects a plug-in, so only the cache file counts.
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs=$(nproc 2>/dev/null || echo 2)
scanner=/usr/lib/ardour7/ardour-vst-scanner

fail() { echo "ardour-scan: $*" >&2; exit 1; }
[ -x "$scanner" ] || fail "no $scanner (Debian package ardour)"
command -v xmllint >/dev/null || fail "no xmllint (Debian package libxml2-utils)"

cmake --preset release >/dev/null
cmake --build build/release --target velmora_vst -j "$jobs" >/dev/null
plugin=$(realpath build/release/velmora.so)

# A fresh home: no cache or blacklist from an earlier run decides anything,
# and nothing is written outside it. No display: scanning must not need one.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
log=$home/scan.log
status=0
env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_CACHE_HOME="$home/.cache" \
  XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  LD_LIBRARY_PATH=/usr/lib/ardour7${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} \
  timeout 60 "$scanner" -f "$plugin" >"$log" 2>&1 || status=$?
[ "$status" -eq 124 ] && { cat "$log" >&2; fail "the scanner took longer than 60 s"; }

mapfile -t caches < <(find "$home/.cache/ardour7/vst" -name '*.v2i' 2>/dev/null)
if [ "${#caches[@]}" -ne 1 ]; then
  cat "$log" >&2
  fail "expected one cache file under $home/.cache/ardour7/vst, found ${#caches[@]}: the scanner rejected velmora.so (exit status $status)"
fi
cache=${caches[0]}

attr() { xmllint --xpath "string(/VST2Cache/VST2Info/@$1)" "$cache"; }
errors=()
expect() {  # what, actual, wanted
  [ "$2" = "$3" ] || errors+=("$1 is '$2', expected '$3'")
}
expect "the root element" "$(xmllint --xpath 'name(/*)' "$cache")" VST2Cache
expect "the binary" "$(xmllint --xpath 'string(/VST2Cache/@binary)' "$cache")" "$plugin"
expect "the number of plug-ins" "$(xmllint --xpath 'count(/VST2Cache/VST2Info)' "$cache")" 1
# The unique ID is the four characters vlm1 read as a big-endian integer.
expect "the unique ID" "$(attr id)" $(( 0x766c6d31 ))
expect "name" "$(attr name)" Velmora
expect "creator" "$(attr creator)" "Velmora Instruments"
expect "category" "$(attr category)" Instrument
expect "is_instrument" "$(attr is_instrument)" 1
expect "n_inputs" "$(attr n_inputs)" 0
expect "n_outputs" "$(attr n_outputs)" 2
expect "n_midi_inputs" "$(attr n_midi_inputs)" 1
expect "can_process_replace" "$(attr can_process_replace)" 1

if [ "${#errors[@]}" -ne 0 ]; then
  printf 'ardour-scan: %s\n' "${errors[@]}" >&2
  echo "ardour-scan: the scanner's cache file $cache:" >&2
  cat "$cache" >&2
  echo >&2
  echo "ardour-scan: the scanner's output:" >&2
  cat "$log" >&2
  fail "velmora.so is not listed as expected"
fi
echo "ardour-scan: passed" >&2
