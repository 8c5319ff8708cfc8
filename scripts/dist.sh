#!/usr/bin/env bash
# Builds the release a Windows user downloads: dist/Tarvolo-<version>.zip with
# the 32-bit Tarvolo.exe, the 64-bit x64/Tarvolo.exe, the Japanese readme
# Tarvolo.txt (Shift_JIS, CR LF) and SHA256SUMS. The same source gives the same
# zip, byte for byte, in any folder and at any time (docs/VERIFYING.md).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

for tool in cmake ninja i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix iconv python3; do
  command -v "$tool" >/dev/null || { echo "dist: $tool is missing; run scripts/setup.sh" >&2; exit 1; }
done

# The release number comes from the version block alone: FILEVERSION 1,0,0,1 is
# release 1.00. The About box, the manifest and the readme must say the same.
IFS=, read -r major minor patch build < <(sed -n 's/^ *FILEVERSION *\([0-9, ]*\)$/\1/p' res/Tarvolo.rc | tr -d ' ')
[ -n "${build:-}" ] || { echo "dist: no FILEVERSION in res/Tarvolo.rc" >&2; exit 1; }
version=$(printf '%d.%02d' "$major" "$minor")
drift=()
grep -q "\"Tarvolo  V$version\"" res/Tarvolo.rc || drift+=("the About box")
grep -q "version=\"$major.$minor.$patch.$build\"" res/Tarvolo.manifest || drift+=("res/Tarvolo.manifest")
grep -q "Ver\.$version" docs/Tarvolo.txt || drift+=("docs/Tarvolo.txt")
if ((${#drift[@]})); then
  echo "dist: the version block says $major.$minor.$patch.$build (release $version), but ${drift[*]} does not" >&2
  exit 1
fi

# The entries' time: the last commit's, so that every checkout of one commit
# gives the same zip; SOURCE_DATE_EPOCH overrides it (a tree without .git).
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || { echo "dist: not a git checkout: set SOURCE_DATE_EPOCH" >&2; exit 1; }

# Only the program itself, in the trees the tests use. Two jobs: the machines
# this is built on are shared. Debian's linker would stamp SOURCE_DATE_EPOCH
# into the PE header: the .exe must not depend on it, so it is not passed on.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
for tree in win32 win64; do
  (
    unset SOURCE_DATE_EPOCH
    configure_tree "$tree" >/dev/null
    cmake --build --preset "$tree" --target Tarvolo >/dev/null
  )
done

stage=build/dist
rm -rf "$stage"
mkdir -p "$stage/x64"
cp build/win32/Tarvolo.exe "$stage/Tarvolo.exe"
cp build/win64/Tarvolo.exe "$stage/x64/Tarvolo.exe"

# The readme is UTF-8 here. Strict Shift_JIS (no character outside JIS X 0208),
# and it must read back the same as code page 932, so that every viewer on
# Windows shows exactly what is written.
LC_ALL=C sed 's/$/\r/' docs/Tarvolo.txt | iconv -f UTF-8 -t SHIFT_JIS >"$stage/Tarvolo.txt"
for codepage in SHIFT_JIS CP932; do
  if ! iconv -f "$codepage" -t UTF-8 "$stage/Tarvolo.txt" | tr -d '\r' | cmp -s - docs/Tarvolo.txt; then
    echo "dist: docs/Tarvolo.txt holds a character that $codepage reads differently" >&2
    exit 1
  fi
done

# CR LF, like the readme, so that every Notepad shows two lines; GNU sha256sum -c
# reads it as it is.
(cd "$stage" && sha256sum Tarvolo.exe x64/Tarvolo.exe | sed 's/$/\r/' >SHA256SUMS &&
  sha256sum --quiet --strict -c SHA256SUMS)

mkdir -p dist
zip="dist/Tarvolo-$version.zip"
python3 scripts/dist_zip.py "$zip" "$stage" "$epoch" \
  Tarvolo.exe Tarvolo.txt x64/ x64/Tarvolo.exe SHA256SUMS
sha256sum "$zip"
