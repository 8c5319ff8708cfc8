#!/usr/bin/env bash
# Installs what building and testing Tarvolo needs on Debian 12 and prepares the
# Wine prefixes under build/: the 64-bit Wine's and the emulated 32-bit Wine's.
# Safe to run again: it only does what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

# chromium: the results page's browser test (native tree); GMime and libxml2:
# tarvolo-results reads mail and its HTML parts; mutt and mpack write the mail
# its tests read.
# Never wine32: 32-bit Linux programs cannot run on these machines and the
# wine launcher would prefer it. The 32-bit Wine runs emulated from build/wine32.
packages=(cmake ninja-build make g++ googletest libgtest-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 xvfb xauth x11-utils locales fonts-ipafont-gothic fonts-wine imagemagick xdotool python3
  chromium pkg-config libgmime-3.0-dev libxml2-dev mutt mpack)
# ICU: tarvolo-results compares names by its normalizer.
packages+=(libicu-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  update_package_lists
  if ! DEBIAN_FRONTEND=noninteractive apt-get "${apt_network[@]}" install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null; then
    # Say which of them cannot be had, not only apt's last line.
    for p in "${missing[@]}"; do
      apt-cache show "$p" >/dev/null 2>&1 || echo "setup: the package $p is in no package list" >&2
    done
    echo "setup: could not install ${missing[*]} (apt-get's messages above)" >&2
    exit 1
  fi
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi

scripts/wine-prefix.sh
scripts/wine32-setup.sh
TARVOLO_WINE=win32 scripts/wine-prefix.sh
