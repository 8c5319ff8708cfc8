#!/usr/bin/env bash
# A real browser reads the results pages made from hostile reports: Chromium's
# DOM after parsing holds only the pages' own elements (the first page's
# pictures among them), and the markup sent in the reports is there as text;
# on the page of the entries to check, the comparison of processors and a
# processor's own page as well.
# Usage: check_page_in_browser.sh TARVOLO_RESULTS
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The maker's address as the program writes it.
mail=$(sed -n 's/^#define TARVOLO_MAKER_MAIL "\(.*\)"$/\1/p' "$(dirname "$0")/../../report/report_fields.h")
[ -n "$mail" ] || { echo "FAIL: no maker's address in report/report_fields.h"; exit 1; }
command -v chromium >/dev/null || { echo "FAIL: chromium is not installed (scripts/setup.sh)"; exit 1; }

# One entry with markup in every field, in Shift_JIS as a report file holds it,
# and the same markup in a UTF-8 mail.
markup='<script>alert(1)</script><img src=x onerror=alert(2)><iframe src="https://example.com/"></iframe>'
markup+="<svg onload=alert(3)></svg>'\"&amp;</td></tr></table><b>bold</b><!--"
# A CPU of markup, and the same typed in full-width letters, as Japanese input
# mode writes them (short enough to stay whole in a field).
cpu='<script>alert(1)</script><img src=x onerror=alert(2)>'
full_width=$(python3 -c 'import sys; print("".join(chr(ord(c) + 0xFEE0) if "!" <= c <= "~" else c for c in sys.argv[1]))' "$cpu")
# Arguments: the times at 10,000 and 100,000, the CPU.
report() {
  printf 'To %s\r\n\r\n' "$mail"
  printf '名前                 ：%s\r\n' "$markup"
  printf '[10,000]測定結果(秒) ：%s\r\n[100,000]測定結果(秒)：%s\r\n' "$1" "$2"
  printf 'マシン名             ：%s\r\nＣＰＵ               ：%s\r\n' "$markup" "$3"
  for label in 'クロック             ' 'ＯＳ                 '; do
    printf '%s：%s\r\n' "$label" "$markup"
  done
  printf 'コメント：%s\r\n' "$markup"
}
entry() { printf '\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n'; }
# The same person's machine twice, its CPU typed in half-width and in full-width
# letters (UTF-8: Shift_JIS has no full-width quote); and in a mail a forged pair.
{ entry; report 0.987 80.123 "$cpu"; } | iconv -t CP932 >"$work/report.txt"
{ entry; report 1.200 90.000 "$full_width"; } >"$work/full-width.txt"
{ printf 'Subject: <b>report</b>\n\n'; report 0.987 1.000 "$cpu"; } >"$work/mail.txt"

"$program" -o "$work/out" "$work/report.txt" "$work/full-width.txt" "$work/mail.txt" >/dev/null
# The processor's own page, by its link.
processor=$(grep -o -m 1 'href="cpu-[0-9a-f]*-10000-1.html"' "$work/out/processors.html" | cut -d'"' -f2)
[ -n "$processor" ] || { echo "FAIL: processors.html links to no processor's page"; exit 1; }

# The first page and a ranking page, as Chromium's DOM after parsing.
# Headless, as root: no sandbox; a D-Bus complaint on stderr is harmless.
dump() {
  timeout 120 chromium --headless --no-sandbox --disable-gpu --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --dump-dom "file://$work/out/$1" >"$work/$1.dom" \
    2>"$work/chromium.log" || {
    echo "FAIL: chromium did not dump the DOM of $1:"
    tail -n 20 "$work/chromium.log"
    exit 1
  }
}
count() { { grep -o -F "$1" "$2" || true; } | wc -l; }
status=0
# The reports in the files come from one person's machine, so each ranking (of
# the limit, of its processor) has one row; the forged pair is the one row to
# check; one processor in both tables of processors.html and in the index's.
# Expected: page, table rows (with the header rows), pictures.
for expected in 'index.html 6 2' '10000-1.html 2 0' 'check-1.html 2 0' 'processors.html 4 0' \
  "$processor 2 0"; do
  read -r page rows pictures <<<"$expected"
  dump "$page"
  dom=$work/$page.dom
  elements=$(grep -o -E '<[A-Za-z][A-Za-z0-9-]*' "$dom" | tr -d '<' | sort -u | tr '\n' ' ')
  own=' a body h1 h2 head html line meta p rect style svg table tbody td text th thead title tr '
  for element in $elements; do
    [[ $own == *" $element "* ]] || { echo "FAIL: $page: the DOM holds a <$element> element"; status=1; }
  done
  found=$(count '<tr' "$dom")
  [ "$found" -eq "$rows" ] || { echo "FAIL: $page: $found table rows in the DOM, not $rows"; status=1; }
  found=$(count '<svg' "$dom")
  [ "$found" -eq "$pictures" ] || { echo "FAIL: $page: $found pictures (svg), not $pictures"; status=1; }
  grep -q -F '&lt;script&gt;alert(1)&lt;/script&gt;&lt;img src=x onerror=alert(2)&gt;' "$dom" ||
    { echo "FAIL: $page: the name is not shown as text"; status=1; }
  case $page in
    10000-1.html) grep -q -F '0.987' "$dom" && ! grep -q -F '1.200' "$dom" ||
      { echo "FAIL: $page: the machine is not ranked once at its best"; status=1; } ;;
    check-1.html) grep -q -F '不自然' "$dom" || { echo "FAIL: $page: no reason shown"; status=1; } ;;
  esac
  [ "$status" -eq 0 ] || { echo "$page: elements: $elements"; exit 1; }
  echo "$page: the DOM holds only the pages' own elements: $elements"
done
