#!/usr/bin/env bash
# Installs what is missing, builds Tarvolo and runs it under Wine. On a desktop
# the window opens there; without a display it runs in a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh win64 win32 >/dev/null
echo "Tarvolo for Windows: build/win32/Tarvolo.exe (32-bit), build/win64/Tarvolo.exe (64-bit)"
if [ -z "${DISPLAY:-}" ]; then
  echo "No DISPLAY: running in a private Xvfb, where the window cannot be seen."
fi
exec scripts/wine-run.sh build/win64/Tarvolo.exe
