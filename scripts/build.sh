#!/usr/bin/env bash
# build.sh <preset>: configures and builds one CMake preset (see CMakePresets.json).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$1
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$jobs"
