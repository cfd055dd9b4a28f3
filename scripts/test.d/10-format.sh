#!/usr/bin/env bash
# Fails when a C++ file departs from .clang-format, naming the files.
set -euo pipefail
cd "$(dirname "$0")/../.."
files=$(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'apps/*.cpp' 'apps/*.h' \
                        'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h')
bad=$(for file in $files; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || echo "$file"
done)
if [ -n "$bad" ]; then
  echo "format: these files differ from .clang-format (run clang-format -i on them):" >&2
  echo "$bad" >&2
  exit 1
fi
echo "format: $(echo "$files" | wc -w) files follow .clang-format" >&2
