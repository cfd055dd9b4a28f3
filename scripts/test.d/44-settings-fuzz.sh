#!/usr/bin/env bash
# Fuzzes the settings file reader and writer under AddressSanitizer and
# UndefinedBehaviorSanitizer with clang's libFuzzer, starting from a file as
# the file dialog writes it and one edited by hand (tests/io/fuzz-seeds).
# Fails on any crash, sanitizer report or broken invariant.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/fuzz.sh
runs=${VELMORA_FUZZ_RUNS:-8000}
fuzz_build ini_file_fuzz

# The target works on a file of its own in the temporary folder.
fuzz_corpus tests/io/fuzz-seeds/*.ini
fuzz_scratch scratch
# About 20 seconds on an idle machine, capped at 60 seconds on a busy one.
# Inputs up to 4 KiB: lines are read in pieces of 255 characters anyway.
TMPDIR=$scratch fuzz_run "$fuzz_dir/tests/io/ini_file_fuzz" "$corpus" "$runs" 60 -max_len=4096
echo "settings-fuzz: settings file fuzzing passed" >&2
