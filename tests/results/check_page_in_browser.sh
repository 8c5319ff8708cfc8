#!/usr/bin/env bash
# A real browser reads the results page made from hostile reports: Chromium's
# DOM after parsing holds only the page's own elements, and the markup sent in
# the reports is there as text. Usage: check_page_in_browser.sh TARVOLO_RESULTS
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
# Headless, as root: no sandbox; a D-Bus complaint on stderr is harmless.
timeout 120 chromium --headless --no-sandbox --disable-gpu --dump-dom \
  "file://$work/out/index.html" >"$work/dom.html" 2>"$work/chromium.log" || {
  echo "FAIL: chromium did not dump the page's DOM:"
  tail -n 20 "$work/chromium.log"
  exit 1
}

status=0
elements=$(grep -o -E '<[A-Za-z][A-Za-z0-9-]*' "$work/dom.html" | tr -d '<' | sort -u | tr '\n' ' ')
own=' body h1 h2 head html meta p style table tbody td th thead title tr '
for element in $elements; do
  [[ $own == *" $element "* ]] || { echo "FAIL: the DOM holds a <$element> element"; status=1; }
done
# Two tables: a header row and two data rows each.
rows=$(grep -o '<tr' "$work/dom.html" | wc -l)
[ "$rows" -eq 6 ] || { echo "FAIL: $rows table rows in the DOM, not 6"; status=1; }
grep -q -F '&lt;script&gt;alert(1)&lt;/script&gt;&lt;img src=x onerror=alert(2)&gt;' "$work/dom.html" ||
  { echo "FAIL: the name is not shown as text"; status=1; }
if [ "$status" -ne 0 ]; then
  echo "elements: $elements"
  exit 1
fi
echo "the DOM holds only the page's own elements: $elements"
