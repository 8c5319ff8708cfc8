#!/usr/bin/env bash
# Builds res/Tarvolo.ico, the application icon (group icon 128), from its pixel-art
# sources res/icon/tarvolo-32.xpm and res/icon/tarvolo-16.xpm: two images, 32x32 and
# 16x16, each stored with a 4-bit, 16-entry palette and an AND mask taken from the
# XPM's transparent ("None") pixels.
#
# Needs ImageMagick (convert) and icoutils (icotool):
#   apt-get install -y imagemagick icoutils
# The output depends only on the pixels, so running it again gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."

src=res/icon
out=res/Tarvolo.ico

for tool in convert icotool; do
  command -v "$tool" >/dev/null || {
    echo "make-icon: $tool is missing; apt-get install -y imagemagick icoutils" >&2
    exit 1
  }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

pngs=()
for size in 32 16; do
  xpm=$src/tarvolo-$size.xpm
  png=$tmp/tarvolo-$size.png
  # RGBA PNG, without the time stamps ImageMagick would otherwise write into it.
  convert "$xpm" +set date:create +set date:modify \
    -define png:exclude-chunks=date,time PNG32:"$png"

  # The picture must be exactly size x size with at most 16 colours besides the
  # transparent one; icotool would otherwise fail or pick a deeper format.
  read -r w h <<<"$(convert "$png" -format '%w %h' info:)"
  if [[ $w != "$size" || $h != "$size" ]]; then
    echo "make-icon: $xpm is ${w}x${h}, expected ${size}x${size}" >&2
    exit 1
  fi
  colours=$(convert "$png" -unique-colors -depth 8 txt:- |
    grep -v '^#' | grep -Evc '#[0-9A-Fa-f]{6}00 ' || true)
  if ((colours > 16)); then
    echo "make-icon: $xpm uses $colours colours; at most 16 fit a 4-bit icon" >&2
    exit 1
  fi
  pngs+=("$png")
done

icotool -c -b 4 -o "$out.tmp" "${pngs[@]}"

# Both entries must really be 4-bit with a 16-entry palette.
listing=$(icotool -l "$out.tmp")
for size in 32 16; do
  if ! grep -q -- "--width=$size --height=$size --bit-depth=4 --palette-size=16" <<<"$listing"; then
    echo "make-icon: the ${size}x${size} entry is not 4-bit/16 colours:" >&2
    echo "$listing" >&2
    rm -f "$out.tmp"
    exit 1
  fi
done
mv "$out.tmp" "$out"
echo "$listing"
