#!/usr/bin/env bash
# Installs what is missing, builds all three trees and runs every test: natively
# (with AddressSanitizer and UBSan), the 64-bit build under Wine and the 32-bit
# build under the emulated 32-bit Wine, in Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh native win64 win32

# One Xvfb for every Wine test, unless a display is given.
if [ -z "${DISPLAY:-}" ]; then
  source scripts/xvfb.sh
  start_private_xvfb 1024x768x24
  # Each prefix has its own wineserver.
  trap '(source scripts/wine-env.sh; wineserver -k 2>/dev/null) || true
    (TARVOLO_WINE=win32; source scripts/wine-env.sh; wineserver -k 2>/dev/null) || true
    kill $XVFB_PID 2>/dev/null || true' EXIT
fi

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
