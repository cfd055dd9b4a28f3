#!/usr/bin/env bash
# Renders the demo song and a phrase on each of the 64 factory programs
# through the built plug-in and compares their SHA-256 sums with the pinned
# list: any change of a render's bytes fails. With --write the list is written
# instead, for a change of sound made on purpose.
# Usage: golden-renders.sh [--write] VELMORA-RENDER VELMORA-HOST PLUGIN LIST
set -euo pipefail
write=0
if [ "${1:-}" = --write ]; then write=1; shift; fi
[ $# -eq 4 ] || { echo "usage: $0 [--write] VELMORA-RENDER VELMORA-HOST PLUGIN LIST" >&2; exit 2; }
render=$1 host=$2 plugin=$3 list=$4

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$render" --plugin "$plugin" --bits 32 -o "$out/demo.wav" >/dev/null
"$host" render-each "$plugin" "$out" >/dev/null
sums=$(cd "$out" && sha256sum demo.wav $(for p in $(seq 0 63); do echo "program-$p.raw"; done))

if [ "$write" = 1 ]; then
  echo "$sums" >"$list"
  echo "golden-renders: wrote $(echo "$sums" | wc -l) sums to $list"
  exit 0
fi
if ! diff <(echo "$sums") "$list" >"$out/diff"; then
  echo "golden-renders: these renders changed:" >&2
  grep '^<' "$out/diff" | awk '{print "  " $3}' >&2
  exit 1
fi
echo "golden-renders: demo and 64 programs match their pinned sums"
