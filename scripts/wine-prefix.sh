#!/usr/bin/env bash
# Creates the Wine prefix that runs Tarvolo and its tests (build/wineprefix; with
# TARVOLO_WINE=win32 the emulated 32-bit Wine's, build/wine32/prefix), with
# Japanese Gothic faces standing in for the fonts the dialogs name.
set -euo pipefail
cd "$(dirname "$0")/.."
# Made under the Japanese locale, whatever locale a test then runs in.
unset TARVOLO_LOCALE
source scripts/wine-env.sh

stamp="$WINEPREFIX/.tarvolo-ready-2"
[ -f "$stamp" ] && exit 0

echo "setup: creating the Wine prefix in $WINEPREFIX"
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wine wineboot -i >/dev/null 2>&1
subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
wine reg add "$subst" /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null 2>&1
wine reg add "$subst" /v 'ＭＳ ゴシック' /d IPAGothic /f >/dev/null 2>&1
# Lets a test see the program's beeps and icon drawing when it turns the relay
# channel on.
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d 'user32.MessageBeep;user32.DrawIcon' /f >/dev/null 2>&1
wineserver -w
touch "$stamp"
