#!/usr/bin/env bash
# Installs what is missing, builds Tarvolo and runs it under Wine: the 64-bit
# build, or with --win32 the shipped 32-bit one under the emulated 32-bit Wine.
# On a desktop the window opens there; without a display it runs in a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=win64 runner=scripts/wine-run.sh
if [ "${1:-}" = --win32 ]; then
  build=win32 runner=scripts/wine32-run.sh
elif [ $# -gt 0 ]; then
  echo "usage: scripts/run.sh [--win32]" >&2
  exit 2
fi
scripts/setup.sh
scripts/build.sh win64 win32 >/dev/null
echo "Tarvolo for Windows: build/win32/Tarvolo.exe (32-bit), build/win64/Tarvolo.exe (64-bit)"
if [ -z "${DISPLAY:-}" ]; then
  echo "No DISPLAY: running in a private Xvfb, where the window cannot be seen."
fi
exec "$runner" "build/$build/Tarvolo.exe"
