#!/usr/bin/env bash
# The picture of a sample results page in docs/results-page.png: seven entries
# written by the program's own entry writer, one received twice, one with an
# implausible pair of times and markup in its name, read by tarvolo-results and
# shown by headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
configure_tree bench >/dev/null
cmake --build --preset bench --target results_corpus tarvolo-results >/dev/null
mail=$(sed -n 's/^#define TARVOLO_MAKER_MAIL "\(.*\)"$/\1/p' report/report_fields.h)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/received"
build/bench/benchmarks/results_corpus "$work/received" 1 7 3
cp "$work/received/reports-0000.txt" "$work/received/resent.txt"
{
  printf '\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\nTo %s\r\n\r\n' "$mail"
  printf '%s\r\n' '名前                 ：<b>最速</b>' '[10,000]測定結果(秒) ：0.250' \
    '[100,000]測定結果(秒)：3.000' 'マシン名             ：謎のマシン' 'コメント：'
} | iconv -t CP932 >"$work/received/mail.txt"
build/bench/tarvolo-results -o "$work/page" "$work/received"
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1200,600 \
  --screenshot="$PWD/docs/results-page.png" "file://$work/page/index.html" 2>/dev/null
echo "docs/results-page.png"
