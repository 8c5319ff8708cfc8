#!/usr/bin/env bash
# The release is the same bytes wherever and whenever it is built: two copies of
# the source, in folders of different names and depths, each build the release
# zip from nothing, in different time zones and with different umasks; the two
# zips must be identical. On a difference, says which file in them differs.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
work=$(mktemp -d "${TMPDIR:-/tmp}/tarvolo-release.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Both builds take the entries' time from here, as two checkouts of one commit
# would from the commit.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$src" log -1 --format=%ct 2>/dev/null || echo 1000000000)}

# The working tree as it stands (edits included), without builds or git data.
copy_source() {
  mkdir -p "$1"
  tar -C "$src" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$1" -xf -
}
first="$work/a/Tarvolo"
second="$work/another-clone/deeper/tarvolo-src"
copy_source "$first"
copy_source "$second"

(cd "$first" && umask 022 && TZ=UTC scripts/dist.sh)
(cd "$second" && umask 077 && TZ=Asia/Tokyo scripts/dist.sh)

zips=("$first"/dist/*.zip)
other="$second/dist/$(basename "${zips[0]}")"
if cmp -s "${zips[0]}" "$other"; then
  echo "both builds made the same $(basename "$other")"
  exit 0
fi

echo "the two builds differ:" >&2
mkdir -p "$work/x1" "$work/x2"
(cd "$work/x1" && unzip -q "${zips[0]}") && (cd "$work/x2" && unzip -q "$other")
diff -r "$work/x1" "$work/x2" >&2 || true
unzip -Z -v "${zips[0]}" >"$work/z1" && unzip -Z -v "$other" >"$work/z2"
diff "$work/z1" "$work/z2" >&2 || true
exit 1
