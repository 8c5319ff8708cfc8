#!/usr/bin/env bash
# A real browser reads the results pages made from hostile reports: Chromium's
# DOM after parsing holds only the pages' own elements (the first page's
# pictures among them), and the markup sent in the reports is there as text.
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
report() {
  printf 'To %s\r\n\r\n' "$mail"
  printf '名前                 ：%s\r\n' "$markup"
  printf '[10,000]測定結果(秒) ：0.987\r\n[100,000]測定結果(秒)：%s\r\n' "$1"
  for label in 'マシン名             ' 'ＣＰＵ               ' 'クロック             ' \
    'ＯＳ                 '; do
    printf '%s：%s\r\n' "$label" "$markup"
  done
  printf 'コメント：%s\r\n' "$markup"
}
{ printf '\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n'; report 80.123; } | iconv -t CP932 >"$work/report.txt"
{ printf 'Subject: <b>report</b>\n\n'; report 1.000; } >"$work/mail.txt"

"$program" -o "$work/out" "$work/report.txt" "$work/mail.txt" >/dev/null

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
# Both entries come from the same person's machine (the same name, machine name
# and CPU), so each ranking has one row. Expected: page, table rows (with the
# header rows), pictures.
for expected in 'index.html 4 2' '10000-1.html 2 0'; do
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
  [ "$status" -eq 0 ] || { echo "$page: elements: $elements"; exit 1; }
  echo "$page: the DOM holds only the pages' own elements: $elements"
done
