#!/usr/bin/env bash
# Configures and builds the given trees (native, win64, win32; all three when
# none is named).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
trees=("$@")
((${#trees[@]})) || trees=(native win64 win32)
for tree in "${trees[@]}"; do
  configure_tree "$tree" >/dev/null
  cmake --build --preset "$tree"
done
