#!/usr/bin/env bash
# The benchmark of Tarvolo's own figure: how many divisions the timed loop does,
# what it costs next to the plainest loop, what it costs under Wine, the clock's
# step, how the window answers during a run, start-up time, what a few hundred
# runs leave behind in the process, .exe sizes, and how fast tarvolo-results reads
# received reports (report files, and a large mbox with the memory it takes).
# Installs and builds what it needs, prints a table, and last one `key: value`
# line per figure. It prints figures and judges none of them: the exit status
# says only whether every figure could be taken. docs/BENCHMARKS.md explains them.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

scripts/setup.sh
# valgrind counts the loop's instructions; GNU time tells a run's peak memory.
if ! command -v valgrind >/dev/null || [ ! -x /usr/bin/time ]; then
  echo "bench: installing valgrind and time"
  update_package_lists
  DEBIAN_FRONTEND=noninteractive apt-get "${apt_network[@]}" install -y -qq --no-install-recommends \
    valgrind time >/dev/null
fi

rounds=9    # timed runs of each side at 100,000 (median of these)
limit=100000

# Only the targets needed: the shipped Tarvolo.exe of both Windows trees, and the
# benchmark programs of the native (unsanitized) and the 64-bit Windows trees.
build() {
  local tree=$1
  shift
  mkdir -p build
  local log=build/bench-build-$tree.log
  if ! configure_tree "$tree" >"$log" 2>&1 ||
    ! cmake --build --preset "$tree" --target "$@" >>"$log" 2>&1; then
    cat "$log" >&2
    echo "bench: building $* in build/$tree failed" >&2
    exit 1
  fi
}
echo "bench: building (logs in build/bench-build-*.log)"
build bench tarvolo_bench measure_once
build win64 Tarvolo tarvolo_bench ui_bench
build win32 Tarvolo
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

native=build/bench/benchmarks/tarvolo_bench
windows=build/win64/benchmarks/tarvolo_bench.exe
out=build/bench/results
rm -rf "$out"
mkdir -p "$out"

# Wine needs a display for the window parts.
use_private_display win64

wine_run() { scripts/wine-run.sh "$@" | tr -d '\r'; }

# Median of the numbers on standard input, and a / b, with fixed decimals.
median() { sort -g | awk '{v[NR] = $1} END {if (NR == 0) exit 1; m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.6f\n", m}'; }
ratio() { awk -v a="$1" -v b="$2" -v d="${3:-3}" 'BEGIN {printf "%.*f\n", d, a / b}'; }
fixed() { awk -v a="$1" -v d="$2" 'BEGIN {printf "%.*f\n", d, a}'; }
field() { awk -v k="$1" -v c="$2" '$1 == k {print $c}'; }
list() { tr '\n' ' ' | sed 's/ $//'; }

# The compiled loops, for reading and for the division instructions' addresses.
disassemble objdump build/bench/benchmarks/measure_once 'CPrimeTimer::Measure(int)' >"$out/measure-native.s"
disassemble objdump "$native" 'ReferenceSearch(int)' >"$out/reference-native.s"
# The .exe carries no symbols: its loop is read in the library it is linked from.
disassemble x86_64-w64-mingw32-objdump build/win64/libtarvolo_core.a 'CPrimeTimer::Measure(int)' \
  >"$out/measure-win64.s"
disassemble i686-w64-mingw32-objdump build/win32/libtarvolo_core.a 'CPrimeTimer::Measure(int)' \
  >"$out/measure-win32.s"
for s in measure-native measure-win64 measure-win32 reference-native; do
  [ -s "$out/$s.s" ] || { echo "bench: no disassembly for $s" >&2; exit 1; }
done

echo "bench: counting divisions through the loop code"
"$native" count >"$out/count.txt"
divisions_10000=$(awk '$2 == 10000 {print $3}' "$out/count.txt")
divisions_100000=$(awk '$2 == 100000 {print $3}' "$out/count.txt")

# Instructions a function executes itself (callees left out) and how many of
# them are divisions, from callgrind's per-instruction counts. Arguments: a name
# for the files, the function, its disassembly, then the program to run. Sets
# `executed` and `divided`.
callgrind_counts() {
  local name=$1 function=$2 disassembly=$3 counts
  shift 3
  valgrind --tool=callgrind --dump-instr=yes --dump-line=no --compress-pos=no \
    --compress-strings=no --collect-atstart=no --toggle-collect="$function" \
    --callgrind-out-file="$out/$name.callgrind" "$@" >"$out/$name.callgrind.log" 2>&1
  counts=$(python3 scripts/callgrind_counts.py "$out/$name.callgrind" "$function" "$disassembly") ||
    { echo "bench: no callgrind counts for $function" >&2; exit 1; }
  read -r executed divided <<<"$counts"
}

echo "bench: callgrind on CPrimeTimer::Measure(10000) and on the reference loop"
callgrind_counts measure 'CPrimeTimer::Measure(int)' "$out/measure-native.s" \
  build/bench/benchmarks/measure_once
instructions=$executed idivs=$divided
callgrind_counts reference 'ReferenceSearch(int)' "$out/reference-native.s" \
  "$native" reference 10000
reference_instructions=$executed reference_idivs=$divided

echo "bench: shipped loop against the reference loop, $rounds rounds at $limit (native)"
"$native" versus "$limit" "$rounds" >"$out/versus.txt"
shipped_ns=$(field shipped 3 <"$out/versus.txt" | median)
reference_ns=$(field reference 3 <"$out/versus.txt" | median)

echo "bench: Measure($limit) in the x86_64 .exe under Wine and natively, $rounds each, alternately"
: >"$out/native-runs.txt"
: >"$out/wine-runs.txt"
for ((r = 0; r < rounds; r++)); do
  if ((r % 2 == 0)); then
    "$native" measure "$limit" 1 >>"$out/native-runs.txt"
    wine_run "$windows" measure "$limit" 1 >>"$out/wine-runs.txt"
  else
    wine_run "$windows" measure "$limit" 1 >>"$out/wine-runs.txt"
    "$native" measure "$limit" 1 >>"$out/native-runs.txt"
  fi
done
native_ms=$(field shipped 2 <"$out/native-runs.txt" | median)
wine_ms=$(field shipped 2 <"$out/wine-runs.txt" | median)

echo "bench: the tick count's step over 2 s (under Wine and natively)"
wine_run "$windows" clock 2000 >"$out/clock-wine.txt"
"$native" clock 2000 >"$out/clock-native.txt"

echo "bench: Tarvolo.exe under Wine: start-up and the window's replies during runs"
wine_run build/win64/ui_bench.exe >"$out/ui.txt"
start_ms=$(field start_to_window 2 <"$out/ui.txt" | median)
reply=$(awk '$1 == "ui_reply"' "$out/ui.txt")
[ -n "$reply" ] || { echo "bench: ui_bench gave no reply times (see $out/ui.txt)" >&2; exit 1; }
read -r _ replies reply_p50 reply_p99 reply_max <<<"$reply"

soak=$(awk '$1 == "soak"' "$out/ui.txt")
[ -n "$soak" ] || { echo "bench: ui_bench gave no soak counts (see $out/ui.txt)" >&2; exit 1; }
read -r _ soak_runs handles_before handles_after gdi_before gdi_after bytes_before bytes_after \
  threads_before threads_after <<<"$soak"
soak_handle_growth=$((handles_after - handles_before))
soak_gdi_growth=$((gdi_after - gdi_before))
soak_bytes_growth=$((bytes_after - bytes_before))

# One timed run of the unsanitized tool into the folder site: its nanoseconds
# are added to $out/NAME-runs.txt, its peak KiB (GNU time) to NAME-peaks.txt,
# its summary line is NAME-run.txt.
time_results() {
  local name=$1 site=$2 started
  shift 2
  started=$(date +%s%N)
  /usr/bin/time -f %M -a -o "$out/$name-peaks.txt" \
    build/bench/tarvolo-results -o "$site" "$@" >"$out/$name-run.txt"
  echo $(($(date +%s%N) - started)) >>"$out/$name-runs.txt"
}

# The maker's tool over 100 generated report files of 1,000 entries each (about
# 50 MB), written by the program's own entry writer; median of three runs, and
# the largest resident size of the three (GNU time).
echo "bench: tarvolo-results over 100,000 generated entries"
build bench results_corpus tarvolo-results
corpus=$out/results-corpus
site=$out/results-page
mkdir -p "$corpus"
build/bench/benchmarks/results_corpus "$corpus" 100 1000 1
results_mb=$(du -sb "$corpus" | awk '{printf "%.1f", $1 / 1e6}')
: >"$out/results-runs.txt"
: >"$out/results-peaks.txt"
for r in 1 2 3; do time_results results "$site" "$corpus"; done
rm -rf "$corpus"
# KiB as GNU time gives them, in MB of 10^6 bytes.
results_peak_mb=$(sort -g "$out/results-peaks.txt" | tail -n 1 | awk '{printf "%.1f", $1 * 1024 / 1e6}')
results_index_bytes=$(stat -c %s "$site/index.html")
results_pages=$(find "$site" -maxdepth 1 -name '*.html' | wc -l)
results_largest_page=$(find "$site" -maxdepth 1 -name '*.html' -printf '%s %f\n' | sort -g | tail -n 1)
read -r results_largest_page_bytes results_largest_page_name <<<"$results_largest_page"
# The processors compared (a quarter of the people type theirs full-width): how
# many processors.html counts, and its size.
results_processors=$(sed -n 's/.*ごとにまとめました（\([0-9,]*\) 種）.*/\1/p' "$site/processors.html" | tr -d ,)
[ -n "$results_processors" ] || { echo "bench: processors.html gives no count of processors" >&2; exit 1; }
results_processors_page_bytes=$(stat -c %s "$site/processors.html")

# Headless Chromium drawing the site's index.html, and a page made from one
# entry: from the start of the browser (a fresh profile each time) to its
# screenshot of the window, five of each, alternately.
echo "bench: headless Chromium drawing index.html and a page of one entry"
one=$out/results-one
mkdir -p "$one/corpus"
build/bench/benchmarks/results_corpus "$one/corpus" 1 1 1
build/bench/tarvolo-results -o "$one/page" "$one/corpus" >/dev/null
draw_ms() {
  local profile started
  profile=$(mktemp -d)
  started=$(date +%s%N)
  timeout 300 chromium --headless --no-sandbox --disable-gpu --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --hide-scrollbars --window-size=1200,900 \
    --screenshot="$out/results-drawn.png" "file://$1" >/dev/null 2>&1 ||
    { echo "bench: chromium could not draw $1" >&2; exit 1; }
  echo $((($(date +%s%N) - started) / 1000000))
  rm -rf "$profile"
}
: >"$out/render-index.txt"
: >"$out/render-one.txt"
for ((r = 0; r < 5; r++)); do
  if ((r % 2 == 0)); then
    draw_ms "$PWD/$site/index.html" >>"$out/render-index.txt"
    draw_ms "$PWD/$one/page/index.html" >>"$out/render-one.txt"
  else
    draw_ms "$PWD/$one/page/index.html" >>"$out/render-one.txt"
    draw_ms "$PWD/$site/index.html" >>"$out/render-index.txt"
  fi
done
results_index_render_ms=$(median <"$out/render-index.txt" | awk '{printf "%.0f", $1}')
results_one_entry_render_ms=$(median <"$out/render-one.txt" | awk '{printf "%.0f", $1}')
results_index_render_ratio=$(ratio "$results_index_render_ms" "$results_one_entry_render_ms" 2)

results_entries=$(awk '{print $2}' "$out/results-run.txt")  # "tarvolo-results: N entries read ..."
results_s=$(median <"$out/results-runs.txt" | awk '{printf "%.3f", $1 / 1e9}')
results_entries_per_second=$(ratio "$results_entries" "$results_s" 0)

# The maker's mail: one mbox of 30,000 reports (a third each quoted-printable,
# base64, and report files attached) among 200 mails with a 1 MB picture (half of
# them sent as application/octet-stream), about 300 MB. Read a message at a time,
# its peak memory stays far below the file's size. Side by side: Python's own mail
# package reading the same mbox, and grep counting its messages from the page cache.
echo "bench: tarvolo-results over a 300 MB mbox"
mbox=$out/results-mail.mbox
results_mbox_sent=$(python3 scripts/mail_corpus.py "$mbox" 30000 200)
results_mbox_mb=$(du -sb "$mbox" | awk '{printf "%.0f", $1 / 1e6}')
# Written out to the disk first, so that no run pays for the writing back of the
# file; then each side reads it from the page cache, the tool and grep by turns,
# three times (medians).
sync "$mbox"
# Not to /dev/null: GNU grep stops at the first match when its output goes nowhere.
grep -c '^From ' "$mbox" >"$out/results-mbox-grep-count.txt"  # into the page cache
: >"$out/results-mbox-runs.txt"
: >"$out/results-mbox-peaks.txt"
: >"$out/results-mbox-grep-runs.txt"
for r in 1 2 3; do
  time_results results-mbox "$out/results-mbox-page" "$mbox"
  started=$(date +%s%N)  # to the millisecond: grep takes less than a tenth of a second
  grep -c '^From ' "$mbox" >"$out/results-mbox-grep-count.txt"
  echo $(($(date +%s%N) - started)) >>"$out/results-mbox-grep-runs.txt"
done
/usr/bin/time -f '%e' -o "$out/results-mbox-python.txt" \
  python3 scripts/mail_read_python.py "$mbox" >/dev/null
rm -f "$mbox"
results_mbox_python_s=$(cat "$out/results-mbox-python.txt")
results_mbox_grep_s=$(median <"$out/results-mbox-grep-runs.txt" | awk '{printf "%.3f", $1 / 1e9}')

# One mail with a report beside a 400 MB attachment (base64, 560 MB on disk):
# the attachment is sniffed, never held.
echo "bench: tarvolo-results over a mail with a 400 MB attachment"
big=$out/results-big-attachment.eml
python3 scripts/mail_corpus.py --big-attachment "$big" 400 >/dev/null
/usr/bin/time -f '%e %M' -o "$out/results-big-time.txt" \
  build/bench/tarvolo-results -o "$out/results-big-page" "$big" >"$out/results-big-run.txt"
rm -f "$big"
results_big_attachment_entries=$(awk '{print $2}' "$out/results-big-run.txt")
results_big_attachment_s=$(awk '{print $1}' "$out/results-big-time.txt")
results_big_attachment_peak_mb=$(awk '{printf "%.0f", $2 / 1024}' "$out/results-big-time.txt")
results_mbox_entries=$(awk '{print $2}' "$out/results-mbox-run.txt")
results_mbox_s=$(median <"$out/results-mbox-runs.txt" | awk '{printf "%.3f", $1 / 1e9}')
results_mbox_peak_mb=$(sort -g "$out/results-mbox-peaks.txt" | tail -n 1 | awk '{printf "%.0f", $1 / 1024}')
results_mbox_vs_python=$(ratio "$results_mbox_s" "$results_mbox_python_s")
results_mbox_vs_grep=$(ratio "$results_mbox_s" "$results_mbox_grep_s" 1)

exe_bytes_win32=$(stat -c %s build/win32/Tarvolo.exe)
exe_bytes_win64=$(stat -c %s build/win64/Tarvolo.exe)
cpu_model=$(awk -F': *' '/^model name/ {print $2; exit}' /proc/cpuinfo)
clock_step_ms=$(awk '$1 == "clock" {print $2}' "$out/clock-wine.txt")
clock_step_native=$(awk '$1 == "clock" {print $2}' "$out/clock-native.txt")
for v in divisions_10000 divisions_100000 shipped_ns reference_ns native_ms wine_ms \
  clock_step_ms clock_step_native start_ms results_peak_mb results_largest_page_bytes \
  results_index_render_ms results_one_entry_render_ms results_mbox_python_s results_mbox_grep_s \
  results_big_attachment_peak_mb; do
  [ -n "${!v}" ] || { echo "bench: no figure for $v (raw data in $out)" >&2; exit 1; }
done

# The divisions the loop must do at each limit (the counts above should match).
divisions_at_10000=5775223
divisions_at_100000=455189150
loop_vs_reference=$(ratio "$shipped_ns" "$reference_ns")
ns_per_division=$(ratio "$shipped_ns" "$divisions_at_100000")
idiv_per_division=$(ratio "$idivs" "$divisions_at_10000")
instructions_per_division=$(ratio "$instructions" "$divisions_at_10000")
wine_vs_native=$(ratio "$wine_ms" "$native_ms")
ui_reply_p99_ms=$(fixed "$reply_p99" 2)
start_to_window_ms=$(fixed "$start_ms" 0)

row() { printf '%-28s %-11s %-11s %s\n' "$@"; }
# shipped/reference of the two runs of each round, which ran back to back.
round_ratios() {
  awk '{t[$1] = $3} NR % 2 == 0 {printf "%.6f\n", t["shipped"] / t["reference"]}' "$out/versus.txt"
}
ms_of() { awk -v k="$1" '$1 == k {printf "%.0f\n", $3 / 1e6}' "$out/versus.txt" | list; }
instructions_of() { echo "$(count_divisions <"$1") idiv, $(count_shortcuts <"$1") and/shift/imul"; }
clock_of() { awk '{printf "largest step %d ms, %d reads", $3, $5}' "$1"; }

echo
echo "Tarvolo benchmark: $cpu_model, $(nproc) CPUs; raw data in $out"
echo "load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
row "figure" "value" "goal" "detail"
row "divisions at 10,000" "$divisions_10000" "5775223" "counted through SearchPrimes"
row "divisions at 100,000" "$divisions_100000" "455189150" "counted through SearchPrimes"
row "shipped / reference loop" "$loop_vs_reference" "<= 1.02" \
  "medians $(fixed "$shipped_ns" 0) / $(fixed "$reference_ns" 0) ns at $limit"
row "" "" "" "shipped Measure, ms: $(ms_of shipped)"
row "" "" "" "reference loop, ms:  $(ms_of reference)"
row "" "" "" "same round: median $(round_ratios | median | xargs printf '%.3f'), \
best/best $(ratio "$(field shipped 3 <"$out/versus.txt" | sort -g | head -n 1)" \
"$(field reference 3 <"$out/versus.txt" | sort -g | head -n 1)")"
row "ns per division" "$ns_per_division" "printed" "native Measure($limit), median of $rounds"
row "idiv per division" "$idiv_per_division" "1.000" "$idivs idiv executed in Measure(10000)"
row "instructions per division" "$instructions_per_division" "<= 9" \
  "$instructions executed by Measure(10000) itself"
row "" "" "" "reference loop at 10,000: $(ratio "$reference_idivs" "$divisions_at_10000") idiv and \
$(ratio "$reference_instructions" "$divisions_at_10000") instructions per division"
row "Wine / native" "$wine_vs_native" "<= 1.05" \
  "medians $(fixed "$wine_ms" 0) / $(fixed "$native_ms" 0) ms, Measure's own ticks"
row "" "" "" "Wine, ms:   $(field shipped 2 <"$out/wine-runs.txt" | list)"
row "" "" "" "native, ms: $(field shipped 2 <"$out/native-runs.txt" | list)"
row "clock step ms, Wine" "$clock_step_ms" "1" "$(clock_of "$out/clock-wine.txt")"
row "clock step ms, native" "$clock_step_native" "1" "$(clock_of "$out/clock-native.txt")"
row "window reply p99 ms" "$ui_reply_p99_ms" "< 50" \
  "$replies replies during 3 runs; median $reply_p50, max $reply_max"
row "start to window ms" "$start_to_window_ms" "< 1500" \
  "median of: $(field start_to_window 2 <"$out/ui.txt" | list)"
row "soak: handle growth" "$soak_handle_growth" "0" \
  "kernel handles $handles_before -> $handles_after over $soak_runs runs at 10,000"
row "soak: GDI object growth" "$soak_gdi_growth" "0" "GDI objects $gdi_before -> $gdi_after"
row "soak: resident bytes growth" "$soak_bytes_growth" "< 1 MB" \
  "working set $bytes_before -> $bytes_after; threads $threads_before -> $threads_after"
row "results peak MB" "$results_peak_mb" "< 150" \
  "largest resident size of the three runs below, KiB: $(list <"$out/results-peaks.txt")"
row "results index.html bytes" "$results_index_bytes" "< 1000000" \
  "$results_pages pages in $site"
row "results largest page bytes" "$results_largest_page_bytes" "< 1000000" "$results_largest_page_name"
row "results processors" "$results_processors" "printed" "processors.html, CPUs compared folded"
row "results processors page bytes" "$results_processors_page_bytes" "< 1000000" "$site/processors.html"
row "results index render ms" "$results_index_render_ms" "printed" \
  "Chromium drawing index.html, median of: $(list <"$out/render-index.txt")"
row "results index render ratio" "$results_index_render_ratio" "<= 2" \
  "against a page of one entry, median $results_one_entry_render_ms ms of: $(list <"$out/render-one.txt")"
row "results entries per second" "$results_entries_per_second" ">= 50000" \
  "$results_entries entries, $results_mb MB, median $results_s s of: $(awk '{printf "%.2f ", $1 / 1e9}' "$out/results-runs.txt")"
row "results mbox entries" "$results_mbox_entries" "$results_mbox_sent" \
  "$results_mbox_mb MB mbox in $results_mbox_s s: $(cut -d' ' -f5- "$out/results-mbox-run.txt")"
row "results mbox peak MB" "$results_mbox_peak_mb" "< 256" "maximum resident set size"
row "results mbox vs python" "$results_mbox_vs_python" "<= 0.1" \
  "$results_mbox_s s against $results_mbox_python_s s (scripts/mail_read_python.py)"
row "results mbox vs grep" "$results_mbox_vs_grep" "<= 20" \
  "$results_mbox_s s against $results_mbox_grep_s s of grep -c '^From ', page cache"
row "results big attachment MB" "$results_big_attachment_peak_mb" "< 256" \
  "maximum resident set size; $results_big_attachment_entries entries in $results_big_attachment_s s"
row "Tarvolo.exe bytes, win32" "$exe_bytes_win32" "< 400000" "build/win32/Tarvolo.exe"
row "Tarvolo.exe bytes, win64" "$exe_bytes_win64" "< 400000" "build/win64/Tarvolo.exe"
echo
echo "Compiled loops (disassembly in $out/*.s; win64 and win32 from libtarvolo_core.a):"
echo "  Measure, native: $(instructions_of "$out/measure-native.s")"
echo "  Measure, win64:  $(instructions_of "$out/measure-win64.s")"
echo "  Measure, win32:  $(instructions_of "$out/measure-win32.s")"
echo "  reference loop:  $(instructions_of "$out/reference-native.s")"
echo

cat <<EOF
divisions_10000: $divisions_10000
divisions_100000: $divisions_100000
loop_vs_reference: $loop_vs_reference
ns_per_division: $ns_per_division
cpu_model: $cpu_model
idiv_per_division: $idiv_per_division
instructions_per_division: $instructions_per_division
wine_vs_native: $wine_vs_native
clock_step_ms: $clock_step_ms
ui_reply_p99_ms: $ui_reply_p99_ms
start_to_window_ms: $start_to_window_ms
soak_runs: $soak_runs
soak_handle_growth: $soak_handle_growth
soak_gdi_growth: $soak_gdi_growth
soak_bytes_growth: $soak_bytes_growth
exe_bytes_win32: $exe_bytes_win32
exe_bytes_win64: $exe_bytes_win64
results_index_bytes: $results_index_bytes
results_largest_page_bytes: $results_largest_page_bytes
results_processors: $results_processors
results_processors_page_bytes: $results_processors_page_bytes
results_peak_mb: $results_peak_mb
results_index_render_ms: $results_index_render_ms
results_index_render_ratio: $results_index_render_ratio
results_entries_per_second: $results_entries_per_second
results_mbox_entries: $results_mbox_entries
results_mbox_seconds: $results_mbox_s
results_mbox_peak_mb: $results_mbox_peak_mb
results_mbox_vs_python: $results_mbox_vs_python
results_mbox_vs_grep: $results_mbox_vs_grep
results_big_attachment_peak_mb: $results_big_attachment_peak_mb
EOF
