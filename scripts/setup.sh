#!/usr/bin/env bash
# Installs what building and testing Tarvolo needs on Debian 12 and prepares the
# Wine prefixes under build/: the 64-bit Wine's and the emulated 32-bit Wine's.
# Safe to run again: it only does what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

# chromium: the results page's browser test (native tree); GMime and libxml2:
# tarvolo-results reads mail and its HTML parts; ICU: the charsets mail
# declares; libmagic: attachments by their bytes; mutt, mpack and nkf write the
# mail its tests read.
# Never wine32: 32-bit Linux programs cannot run on these machines and the
# wine launcher would prefer it. The 32-bit Wine runs emulated from build/wine32.
packages=(cmake ninja-build make g++ googletest libgtest-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 xvfb xauth x11-utils locales fonts-ipafont-gothic fonts-wine imagemagick xdotool python3
  chromium pkg-config libgmime-3.0-dev libxml2-dev libicu-dev libmagic-dev mutt mpack nkf)

install_missing_packages "${packages[@]}"

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi

scripts/wine-prefix.sh
scripts/wine32-setup.sh
TARVOLO_WINE=win32 scripts/wine-prefix.sh
