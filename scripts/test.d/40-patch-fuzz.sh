#!/usr/bin/env bash
# Fuzzes LoadState for about a minute under AddressSanitizer and
# UndefinedBehaviorSanitizer with clang's libFuzzer, starting from real saved
# chunks. Fails on any crash, sanitizer report or broken invariant.
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${VELMORA_FUZZ_RUNS:-20000}
build=build/fuzz-patch

cmake -S . -B "$build" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF -DVELMORA_FUZZ=ON \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build" --target synth_loadstate_fuzz velmora-info -j2

# Seeds: the chunks a fresh instance saves, each kind of program chunk, and the
# stored chunks the tests keep. The first byte of an input selects the chunk
# kind (bit 7: program chunk) and the current program (bits 0-5).
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
info="$build/apps/velmora-info"
"$info" --bank-chunk "$corpus/bank.raw"
{ printf '\000'; cat "$corpus/bank.raw"; } >"$corpus/bank"
for index in 0 20 34 47; do
  "$info" --program-chunk "$index" "$corpus/program.raw"
  { printf '\200'; cat "$corpus/program.raw"; } >"$corpus/program-$index"
done
rm -f "$corpus"/*.raw
{ printf '\000'; cat tests/synth/data/bank.chunk; } >"$corpus/stored-bank"
{ printf '\200'; cat tests/synth/data/program.chunk; } >"$corpus/stored-program"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A fixed seed and run count from a fresh corpus: the same run every time
# (about a minute on an idle machine), capped at 75 seconds on a busy one.
"$build/tests/synth/synth_loadstate_fuzz" -seed=1 -runs="$runs" -max_total_time=75 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/" "$corpus" 2>&1 | tail -n 8
echo "patch-fuzz: LoadState fuzzing passed" >&2
