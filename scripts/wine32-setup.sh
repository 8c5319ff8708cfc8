#!/usr/bin/env bash
# Makes the emulated 32-bit Wine under build/wine32: Debian's i386 Wine (the
# host's wine64 version) unpacked into a private root and run by qemu-i386, since
# 32-bit code cannot execute natively here. Nothing is installed system-wide and
# the system's apt is never touched: private apt configurations only download.
# The .debs are kept in ~/.cache/tarvolo so that another checkout reuses them.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
top="$PWD/build/wine32"
root="$top/root"
version=$(dpkg-query -W -f='${Version}' wine64)
# The root holds its own absolute path (loader script, library cache): a moved
# checkout makes it again.
stamp="$top/.ready-1-$version"
[ "$(cat "$stamp" 2>/dev/null)" = "$root" ] && exit 0

cache="${XDG_CACHE_HOME:-$HOME/.cache}/tarvolo/wine32-$version"
debs="$cache/debs"
started=$SECONDS

# Downloads into $debs unless a complete set is already there.
download() {
  local apt="$top/apt" keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  rm -rf "$apt" "$debs"
  mkdir -p "$debs/partial"
  for arch in i386 amd64; do
    mkdir -p "$apt/$arch/state/lists/partial" "$apt/$arch/etc/apt/apt.conf.d" "$apt/$arch/etc/apt/preferences.d"
  done
  # One configuration per architecture. Dir points apt away from /etc/apt and
  # /var (its apt.conf.d is not read); the empty status makes it fetch every
  # dependency.
  for arch in i386 amd64; do
    : >"$apt/$arch/status"
    cat >"$apt/$arch/apt.conf" <<EOF
Dir "$apt/$arch/";
Dir::State "$apt/$arch/state/";
Dir::State::status "$apt/$arch/status";
Dir::Cache "$apt/$arch/cache/";
Dir::Cache::archives "$debs/";
Dir::Etc::sourcelist "$apt/$arch/sources.list";
Dir::Etc::sourceparts "-";
APT::Architecture "$arch";
APT::Architectures { "$arch"; };
APT::Install-Recommends "false";
APT::Sandbox::User "root";
EOF
  done
  local mirror="[arch=i386 signed-by=$keyring] http://deb.debian.org"
  printf '%s\n' "deb $mirror/debian bookworm main" "deb $mirror/debian bookworm-updates main" \
    "deb $mirror/debian-security bookworm-security main" >"$apt/i386/sources.list"
  # qemu-user 10 from backports starts a Wine process in under a second, 7.2 in ~80 s.
  echo "deb [arch=amd64 signed-by=$keyring] http://deb.debian.org/debian bookworm-backports main" \
    >"$apt/amd64/sources.list"

  echo "setup: downloading Debian's i386 Wine $version and qemu-user (about 200 MB)"
  for arch in i386 amd64; do
    APT_CONFIG="$apt/$arch/apt.conf" update_package_lists
  done
  # winex11.drv opens the X extension libraries at run time: no package depends on them.
  if ! APT_CONFIG="$apt/i386/apt.conf" apt-get "${apt_network[@]}" install -qq --download-only -y \
    "wine32=$version" "libwine=$version" libxrender1 libxrandr2 libxi6 libxcursor1 \
    libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1 >/dev/null; then
    local offered
    offered=$(APT_CONFIG="$apt/i386/apt.conf" apt-cache madison wine32 2>/dev/null |
      awk -F'|' '{gsub(/ /, "", $2); printf "%s%s", sep, $2; sep = ", "}')
    echo "setup: cannot download the i386 packages wine32 and libwine at version $version, the" \
      "host's wine64 version, which the 32-bit Wine must match; the package lists offer wine32" \
      "${offered:-in no version}" >&2
    exit 1
  fi
  if ! (cd "$debs" && APT_CONFIG="$apt/amd64/apt.conf" apt-get "${apt_network[@]}" download -qq qemu-user); then
    echo "setup: cannot download qemu-user (amd64, bookworm-backports), which runs the 32-bit Wine" >&2
    exit 1
  fi
  rm -rf "$apt" "$debs/partial" "$debs/lock"
  touch "$debs/.complete"
}
[ -f "$debs/.complete" ] || download

echo "setup: unpacking the 32-bit Wine into $root"
rm -rf "$top"
mkdir -p "$root/usr/bin"
for deb in "$debs"/*.deb; do
  case "$deb" in
    */qemu-user_*) dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$root" ./usr/bin/qemu-i386 ;;
    *) dpkg-deb -x "$deb" "$root" ;;
  esac
done
qemu="$root/usr/bin/qemu-i386"

# What libwine's install script would have made: the builtin zlib1.dll, the
# mingw one with Wine's builtin signature at byte 64.
windows="$root/usr/lib/i386-linux-gnu/wine/i386-windows"
{
  head -c 64 "$root/usr/i686-w64-mingw32/lib/zlib1.dll"
  printf 'Wine builtin DLL'
  head -c 16 /dev/zero
  tail -c +97 "$root/usr/i686-w64-mingw32/lib/zlib1.dll"
} >"$windows/zlib1.dll"

# qemu-i386 -L reads the root's copy of a path when there is one: the root gets
# its own library cache (else the host's 32-bit libraries would mix in) and no
# fonts or font configuration (so the host's Japanese fonts are found).
printf '%s\n' "$root/lib/i386-linux-gnu" "$root/usr/lib/i386-linux-gnu" >"$top/ld.so.conf"
find "$root/usr/lib/i386-linux-gnu" -mindepth 1 -maxdepth 1 -type d -exec sh -c \
  'ls "$1"/*.so* >/dev/null 2>&1 && echo "$1"' _ {} \; >>"$top/ld.so.conf"
/sbin/ldconfig -X -C "$root/etc/ld.so.cache" -f "$top/ld.so.conf"
rm -rf "$root/usr/share/fonts" "$root/etc/fonts"
# Its own font cache, so 32-bit caches are not written into the host's.
cat >"$top/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <cachedir>$top/fontconfig-cache</cachedir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
EOF

# Wine starts every new process through "<its loader's folder>/<the name it was
# started as>": that name is a script running the same emulated loader again.
# The host's 64-bit wineserver (same version) serves the 32-bit clients.
wine="$root/usr/lib/wine"
printf '#!/bin/sh\nexec "%s" -L "%s" -0 wine32 "%s" "$@"\n' "$qemu" "$root" "$wine/wine" >"$wine/wine32"
printf '#!/bin/sh\nexec /usr/lib/wine/wineserver64 "$@"\n' >"$top/wineserver"
rm -f "$wine/wineserver"
cp "$top/wineserver" "$wine/wineserver"
chmod +x "$wine/wine32" "$wine/wineserver" "$top/wineserver"
# What scripts/wine-env.sh puts first on PATH for the 32-bit Wine.
mkdir -p "$top/bin"
ln -s "$wine/wine32" "$top/bin/wine"
ln -s "$top/wineserver" "$top/bin/wineserver"

echo "$root" >"$stamp"
echo "setup: 32-bit Wine ready in $((SECONDS - started)) s ($(du -sh "$top" | cut -f1) under build/wine32)"
