# Helpers for the fuzz suites; sourced, not run, from the top of the tree.

# Every fuzz target lives in one clang build with AddressSanitizer,
# UndefinedBehaviorSanitizer and libFuzzer's coverage: the first suite to run
# configures it and compiles the core library, the others only add their
# own targets.
fuzz_dir=build/fuzz

# fuzz_build TARGET...: configures the shared fuzz build if it is not yet,
# then builds the targets.
fuzz_build() {
  if [ ! -f "$fuzz_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$fuzz_dir" \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF -DVELMORA_FUZZ=ON \
      -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
  fi
  cmake --build "$fuzz_dir" --target "$@" -j2
}

# fuzz_corpus [FILE...]: sets corpus to a new temporary folder holding copies
# of the seed files; it and every folder of fuzz_scratch go when the suite
# exits.
fuzz_temporaries=()
fuzz_corpus() {
  fuzz_scratch corpus
  [ $# -eq 0 ] || cp "$@" "$corpus/"
}

# fuzz_scratch NAME: sets the variable NAME to a new temporary folder.
fuzz_scratch() {
  local folder
  folder=$(mktemp -d)
  fuzz_temporaries+=("$folder")
  trap 'rm -rf "${fuzz_temporaries[@]}"' EXIT
  printf -v "$1" '%s' "$folder"
}

# fuzz_run TARGET CORPUS RUNS SECONDS [OPTION...]: fuzzes from the corpus with
# a fixed seed, so that every run is the same, for RUNS inputs or at most
# SECONDS on a busy machine. Fails on any crash, leak, sanitizer report, hang
# or trap of the target; prints the end of the log, kept in the fuzz build
# with any failing input.
fuzz_run() {
  local target=$1 corpus=$2 runs=$3 seconds=$4
  shift 4
  local log="$fuzz_dir/$(basename "$target").log"
  local status=0
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$target" -seed=1 -runs="$runs" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$fuzz_dir/" "$@" "$corpus" >"$log" 2>&1 || status=$?
  tail -n 12 "$log"
  return "$status"
}
