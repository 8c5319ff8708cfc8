#!/usr/bin/env bash
# Takes the README's pictures: the main window after a run at 100,000 (with its
# best time), the report window and the About box, each with its frame and
# caption. Tarvolo runs in a Wine virtual desktop (which draws the frames) in a
# private Xvfb and is driven by keyboard and mouse.
#
#   scripts/screenshot.sh [--dpi N] [FOLDER]
#
# FOLDER defaults to docs/. --dpi sets Wine's LogPixels (96 by default; 144 is
# Windows' 150 %), so the same pictures show how the dialogs scale.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
dpi=96
if [ "${1:-}" = "--dpi" ]; then
  dpi=$2
  shift 2
fi
out="$(realpath -m "${1:-docs}")"
mkdir -p "$out"

scripts/setup.sh
scripts/build.sh win64 >/dev/null
command -v xdotool >/dev/null || { echo "screenshot: xdotool is missing" >&2; exit 1; }

# A prefix of its own per DPI, so that the tests' prefix keeps its settings.
export WINEPREFIX="$PWD/build/wineprefix-shots-$dpi"
source scripts/wine-env.sh
scripts/wine-prefix.sh
# Wine 8 as Debian packages it reads no fonts from its own data folder: without
# fonts-wine's Marlett in the prefix the frame buttons show letters.
cp -u /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w

# Its own display, even on a desktop: the pictures are taken from it.
use_private_display --always win64

# The X window of Tarvolo's top-level window with this caption.
find_window() {
  local window=""
  for _ in $(seq 1 150); do
    window=$(xwininfo -root -tree 2>/dev/null |
      awk -v name="\"$1\": (\"tarvolo.exe\"" 'index($0, name) {print $1; exit}')
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "screenshot: no window \"$1\" appeared" >&2; return 1; }
  echo "$window"
}

# Waits until the window's pixels stay the same for a second (a run has ended,
# a dialog has painted).
wait_still() {
  local before="" now
  for _ in $(seq 1 120); do
    sleep 1
    now=$(import -window "$1" rgb:- 2>/dev/null | md5sum)
    [ "$now" = "$before" ] && return 0
    before=$now
  done
  echo "screenshot: the window kept changing" >&2
  return 1
}

shoot() {
  wait_still "$1"
  import -window "$1" "$out/$2"
  echo "saved $out/$2"
}

wine explorer /desktop=Tarvolo,800x600 build/win64/Tarvolo.exe >/dev/null 2>&1 &
main=$(find_window Tarvolo)
wait_still "$main"
xdotool windowfocus --sync "$main"

# The limit list (before Start in the tab order): 100,000, then Enter starts.
xdotool key shift+Tab Down Return
sleep 2
wait_still "$main"

# The Report button by mouse, as a user would press it. Its centre, 134 x 29
# dialog units, is placed by the window's own size: the client area is the
# window less the frame (3 px at 96 DPI) and the caption (19 px), scaled with
# the DPI.
read -r width height < <(xwininfo -id "$main" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
border=$((3 * dpi / 96))
caption=$((19 * dpi / 96))
x=$((border + 134 * (width - 2 * border) / 166))
y=$((border + caption + 29 * (height - caption - 2 * border) / 59))
xdotool mousemove --window "$main" "$x" "$y" click 1
report=$(find_window 結果報告書作成)
shoot "$report" report-window.png
xdotool key Escape

# The About box from the system menu: its last entry.
wait_still "$main"
xdotool key alt+space
sleep 1
xdotool key Up Return
about=$(find_window "About Tarvolo")
shoot "$about" about-box.png
xdotool key Return

# The main window last: Wine draws its caption active only once it has been
# activated again (here by the About box closing).
shoot "$main" main-window.png
