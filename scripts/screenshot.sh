#!/usr/bin/env bash
# Takes the README's picture of the main window: runs Tarvolo under Wine in a
# private Xvfb and saves the window as docs/main-window.png (or the path given).
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs/main-window.png}")"
scripts/setup.sh
scripts/build.sh win64 >/dev/null
source scripts/wine-env.sh

source scripts/xvfb.sh
start_private_xvfb 800x600x24
trap 'wineserver -k 2>/dev/null || true; kill $XVFB_PID 2>/dev/null || true' EXIT

wine build/win64/Tarvolo.exe >/dev/null 2>&1 &
window=""
for _ in $(seq 1 100); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Tarvolo": \("tarvolo.exe"/ {print $1; exit}')
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }
sleep 1
import -window "$window" "$out"
echo "saved $out"
