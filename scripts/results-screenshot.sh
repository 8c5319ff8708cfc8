#!/usr/bin/env bash
# The pictures of a sample results site: docs/results-page.png, the first page
# (index.html), docs/results-ranking-page.png, the second page of the ranking at
# 10,000, and docs/results-processors.png, processors.html. 3,000 entries
# written by the program's own entry writer, one file of them received twice,
# and a mail with an implausible pair of times and markup in its name (never
# ranked), read by tarvolo-results and shown by headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
configure_tree bench >/dev/null
cmake --build --preset bench --target results_corpus tarvolo-results >/dev/null
mail=$(sed -n 's/^#define TARVOLO_MAKER_MAIL "\(.*\)"$/\1/p' report/report_fields.h)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/received"
build/bench/benchmarks/results_corpus "$work/received" 3 1000 3
cp "$work/received/reports-0000.txt" "$work/received/resent.txt"
{
  printf '\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\nTo %s\r\n\r\n' "$mail"
  printf '%s\r\n' '名前                 ：<b>最速</b>' '[10,000]測定結果(秒) ：0.030' \
    '[100,000]測定結果(秒)：0.500' 'マシン名             ：謎のマシン' 'コメント：'
} | iconv -t CP932 >"$work/received/mail.txt"
build/bench/tarvolo-results -o "$work/page" "$work/received"
shoot() {
  chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/profile" --hide-scrollbars \
    --window-size="$2" --screenshot="$PWD/docs/$3" "file://$work/page/$1" 2>/dev/null
  echo "docs/$3"
}
shoot index.html 1200,900 results-page.png
shoot 10000-2.html 1200,600 results-ranking-page.png
shoot processors.html 1200,900 results-processors.png
