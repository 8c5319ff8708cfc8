# Sourced: the environment in which Tarvolo runs under Wine (code page 932).
tarvolo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$tarvolo_root/build/wineprefix}"
export WINEARCH=win64
export PATH="/usr/lib/wine:$PATH"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
