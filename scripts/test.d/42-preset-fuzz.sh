#!/usr/bin/env bash
# Fuzzes the bank (.fxb) and program (.fxp) file reader under AddressSanitizer
# and UndefinedBehaviorSanitizer with clang's libFuzzer, starting from the
# files the editor saves. Fails on any crash, sanitizer report or broken
# invariant.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/fuzz.sh
runs=${VELMORA_FUZZ_RUNS:-200000}
fuzz_build preset_file_fuzz velmora-info

fuzz_corpus
info="$fuzz_dir/apps/velmora-info"
"$info" --bank-file "$corpus/bank.fxb"
for index in 0 20 34 47; do
  "$info" --program-file "$index" "$corpus/program-$index.fxp"
done

# About ten seconds on an idle machine, capped at 45 seconds on a busy one.
fuzz_run "$fuzz_dir/tests/io/preset_file_fuzz" "$corpus" "$runs" 45
echo "preset-fuzz: bank and program file fuzzing passed" >&2
