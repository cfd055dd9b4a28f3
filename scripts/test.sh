#!/usr/bin/env bash
# Every test: installs what is missing, builds and runs the unit tests (and
# writes the toolkit's gallery pictures after the release run), then again
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the extra suites
# in scripts/test.d (fuzzers, cross builds). Fails when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

for preset in release asan; do
  echo "== $preset" >&2
  scripts/build.sh "$preset"
  ctest --preset "$preset" -j "$jobs"
  if [ "$preset" = release ]; then
    build/release/apps/velmora-gallery build/release/gallery
  fi
done

for suite in scripts/test.d/*.sh; do
  [ -e "$suite" ] || continue
  echo "== $suite" >&2
  bash "$suite"
done
echo "All tests passed." >&2
