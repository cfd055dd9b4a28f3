#!/usr/bin/env bash
# Fuzzes LoadState for about a minute under AddressSanitizer and
# UndefinedBehaviorSanitizer with clang's libFuzzer, starting from real saved
# chunks. Fails on any crash, sanitizer report or broken invariant.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/fuzz.sh
runs=${VELMORA_FUZZ_RUNS:-20000}
fuzz_build synth_loadstate_fuzz velmora-info

# Seeds: the chunks a fresh instance saves, each kind of program chunk, and the
# stored chunks the tests keep. The first byte of an input selects the chunk
# kind (bit 7: program chunk) and the current program (bits 0-5).
fuzz_corpus
info="$fuzz_dir/apps/velmora-info"
"$info" --bank-chunk "$corpus/bank.raw"
{ printf '\000'; cat "$corpus/bank.raw"; } >"$corpus/bank"
for index in 0 20 34 47; do
  "$info" --program-chunk "$index" "$corpus/program.raw"
  { printf '\200'; cat "$corpus/program.raw"; } >"$corpus/program-$index"
done
rm -f "$corpus"/*.raw
{ printf '\000'; cat tests/synth/data/bank.chunk; } >"$corpus/stored-bank"
{ printf '\200'; cat tests/synth/data/program.chunk; } >"$corpus/stored-program"

# About a minute on an idle machine, capped at 75 seconds on a busy one.
fuzz_run "$fuzz_dir/tests/synth/synth_loadstate_fuzz" "$corpus" "$runs" 75
echo "patch-fuzz: LoadState fuzzing passed" >&2
