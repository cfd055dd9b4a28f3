#!/usr/bin/env bash
# Fuzzes the PNG decoder for about a minute under AddressSanitizer and
# UndefinedBehaviorSanitizer, starting from the seed files in
# tests/image/fuzz-seeds and the inputs of earlier findings in
# tests/image/fuzz-regressions. Fails on any crash, leak, sanitizer report or hang.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/fuzz.sh
runs=${VELMORA_FUZZ_RUNS:-250000}
fuzz_build png_decode_fuzz

fuzz_corpus tests/image/fuzz-seeds/*.png tests/image/fuzz-regressions/*.png
# About a minute on an idle machine, capped at 90 seconds on a busy one.
# Inputs up to 16 KiB.
fuzz_run "$fuzz_dir/tests/image/png_decode_fuzz" "$corpus" "$runs" 90 -max_len=16384
echo "image-fuzz: PNG decoder fuzzing passed" >&2
