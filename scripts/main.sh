#!/usr/bin/env bash
# The main job: installs what is missing, builds everything (the Linux release
# with its tools and tests, and the two Windows plug-ins), then renders the
# built-in demo song through the built plug-in into a WAV file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in release win32 win64; do
  scripts/build.sh "$preset"
done

demo=build/velmora-demo.wav
build/release/velmora-render -o "$demo"
echo
echo "Demo song:  $PWD/$demo"
echo "Plug-ins:   $PWD/build/release/velmora.so (Linux, x86-64)"
echo "            $PWD/build/release/velmora.lv2 (Linux LV2 bundle)"
echo "            $PWD/build/win32/velmora.dll (Windows, 32-bit)"
echo "            $PWD/build/win64/velmora.dll (Windows, 64-bit)"
echo "Tools:      $PWD/build/release/velmora-render --help"
echo "            $PWD/build/release/velmora-bench (our plug-in against amsynth)"
