#!/usr/bin/env bash
# Installs what is missing, builds all three trees and runs every test: natively
# (with AddressSanitizer and UBSan), the 64-bit build under Wine and the 32-bit
# build under the emulated 32-bit Wine, in Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
scripts/setup.sh
scripts/build.sh native win64 win32

# One Xvfb for every Wine test, unless a display is given; each Wine has its
# own wineserver.
use_private_display win64 win32

status=0 passed=0 failed=0
for tree in win32 native win64; do
  echo "== tests: $tree"
  log=build/$tree/ctest.log
  # With pipefail the pipeline fails when ctest does.
  ctest --preset "$tree" 2>&1 | tee "$log" || status=1
  summary=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then status=1; continue; fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$summary")
  passed=$((passed + total - bad)) failed=$((failed + bad))
  [ "$bad" -eq 0 ] || status=1
done
echo "all trees: $passed passed, $failed failed"
exit $status
