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

presets=(release)
[ -f build/asan/CMakeCache.txt ] && presets+=(asan)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" --target velmora_vst velmora-editor-test -j "$jobs" >/dev/null
done

# A display number nobody uses; the server goes when the suite ends.
display=
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || fail "no free display number"
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done
[ -e "/tmp/.X11-unix/X$display" ] || fail "the virtual X server did not start (see $out/xvfb.log)"

for preset in "${presets[@]}"; do
  echo "editor-x11: $preset build" >&2
  mkdir -p "$out/$preset"
  DISPLAY=":$display" timeout 300 "build/$preset/apps/velmora-editor-test" "build/$preset/velmora.so" \
    "$out/$preset" || fail "the $preset editor test failed"
done
echo "editor-x11: passed" >&2
