# Sourced: the environment in which Tarvolo runs under Wine (code page 932).
# TARVOLO_WINE=win32 chooses the emulated 32-bit Wine of scripts/wine32-setup.sh.
tarvolo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ "${TARVOLO_WINE:-win64}" = win32 ]; then
  export WINEPREFIX="$tarvolo_root/build/wine32/prefix"
  export WINEARCH=win32
  export PATH="$tarvolo_root/build/wine32/bin:$PATH"
  export FONTCONFIG_FILE="$tarvolo_root/build/wine32/fonts.conf"
else
  export WINEPREFIX="${WINEPREFIX:-$tarvolo_root/build/wineprefix}"
  export WINEARCH=win64
  export PATH="/usr/lib/wine:$PATH"
fi
# TARVOLO_LOCALE runs it under another system locale (C.UTF-8: code page 1252);
# Wine takes the locale from the Unix environment of the processes it starts.
export LANG="${TARVOLO_LOCALE:-ja_JP.UTF-8}" LC_ALL="${TARVOLO_LOCALE:-ja_JP.UTF-8}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
