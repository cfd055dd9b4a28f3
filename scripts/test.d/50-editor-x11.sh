#!/usr/bin/env bash
# The Linux editor inside a host's X window, on a virtual X server: the test
# host (velmora-editor-test) opens velmora.so's editor in a window of its
# own, drives it through XTEST and compares the window's pixels with the
# software backend's. Run on the release build and, when the AddressSanitizer
# build exists, on that one too. Pictures land in build/editor-x11.
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs=$(nproc 2>/dev/null || echo 2)
out=build/editor-x11
mkdir -p "$out"

fail() { echo "editor-x11: $*" >&2; exit 1; }
. scripts/lib/display.sh

presets=(release)
[ -f build/asan/CMakeCache.txt ] && presets+=(asan)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" --target velmora_vst velmora-editor-test -j "$jobs" >/dev/null
done

# A display number nobody uses; the server goes when the suite ends.
start_xvfb 90 120 "$out/xvfb.log" || fail "no virtual X server"

for preset in "${presets[@]}"; do
  echo "editor-x11: $preset build" >&2
  mkdir -p "$out/$preset"
  DISPLAY=":$display" timeout 300 "build/$preset/apps/velmora-editor-test" "build/$preset/velmora.so" \
    "$out/$preset" || fail "the $preset editor test failed"
done
echo "editor-x11: passed" >&2
