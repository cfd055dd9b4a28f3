#!/usr/bin/env bash
# Fuzzes the render tool's MIDI file reader under AddressSanitizer and
# UndefinedBehaviorSanitizer with clang's libFuzzer, starting from the songs
# in tests/apps/render/fuzz-seeds. Fails on any crash, sanitizer report or
# broken invariant.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/fuzz.sh
runs=${VELMORA_FUZZ_RUNS:-400000}
fuzz_build midi_file_fuzz

fuzz_corpus tests/apps/render/fuzz-seeds/*.mid
# About ten seconds on an idle machine, capped at 45 seconds on a busy one.
fuzz_run "$fuzz_dir/tests/apps/render/midi_file_fuzz" "$corpus" "$runs" 45 -max_len=4096
echo "midi-fuzz: MIDI file fuzzing passed" >&2
