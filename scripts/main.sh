#!/usr/bin/env bash
# The main job: installs what is missing, builds the release and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
build/release/apps/velmora-info
