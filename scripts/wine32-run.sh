#!/usr/bin/env bash
# Runs a 32-bit Windows program in the emulated 32-bit Wine (ctest's emulator
# for the win32 tree), making that Wine first if it is missing.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/wine32-setup.sh"
TARVOLO_WINE=win32 exec "$here/wine-run.sh" "$@"
