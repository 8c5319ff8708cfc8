#!/usr/bin/env bash
# Runs a Windows program under Wine in Tarvolo's environment (ctest's emulator for
# the Windows trees). Without a display it starts a private Xvfb for the run.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
"$here/wine-prefix.sh"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
# A test that reads the Wine debug output of the programs it starts names a
# file for it; the debug output goes to the Unix stderr they inherit.
if [ -n "${TARVOLO_STDERR_LOG:-}" ]; then
  exec wine "$@" 2>>"$TARVOLO_STDERR_LOG"
fi
exec wine "$@"
