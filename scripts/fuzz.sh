#!/usr/bin/env bash
# Runs every fuzz target (or those in FUZZ_TARGETS) under libFuzzer for FUZZ_SECONDS each (600 unless set),
# starting from its committed corpus and starting inputs made afresh from the project's own
# samples and generators, then folds what it found into the committed corpus
# (minimised). Prints per target: executions, executions per second, edges
# covered, corpus size and findings. A finding's input is left in
# build/fuzz/findings/TARGET/; once fixed, keep it in tests/fuzz/findings/TARGET/
# under a name that says what it was, so that scripts/test.sh replays it.
# Exit status 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

seconds=${FUZZ_SECONDS:-600}
# More memory than this (ASan's own share included), or a single allocation
# beyond the tool's memory goal, or a few seconds for one input: a finding.
rss_limit_mb=512
malloc_limit_mb=256
timeout_s=5
# FUZZ_TARGETS picks some of them (names separated by blanks).
read -r -a targets <<<"${FUZZ_TARGETS:-received_file_fuzz entries_fuzz decoders_fuzz report_fuzz}"

packages=(cmake ninja-build clang-14 libfuzzer-14-dev pkg-config libgmime-3.0-dev libxml2-dev libicu-dev
  libmagic-dev python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "fuzz: installing ${missing[*]}"
  update_package_lists
  DEBIAN_FRONTEND=noninteractive apt-get "${apt_network[@]}" install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

echo "fuzz: building build/fuzz (log in build/fuzz-build.log)"
mkdir -p build
if ! { configure_tree fuzz && cmake --build --preset fuzz; } >build/fuzz-build.log 2>&1; then
  cat build/fuzz-build.log >&2
  exit 1
fi

# A work folder per set of targets, so that two sets can run side by side.
targets_name=${targets[*]}
out=build/fuzz/run/${targets_name// /+}
rm -rf "$out"
mkdir -p "$out"
python3 tests/fuzz/starting_inputs.py "$out/starting" "$out/tarvolo.dict"

# A small quarantine, so that the memory limit measures the tool, not ASan.
export ASAN_OPTIONS=quarantine_size_mb=16:detect_leaks=1
status=0
summary=()
for target in "${targets[@]}"; do
  bin=build/fuzz/tests/fuzz/$target
  corpus=tests/fuzz/corpus/$target
  found=$out/found/$target
  findings=build/fuzz/findings/$target
  mkdir -p "$corpus" "$found" "$findings"
  echo "fuzz: $target for $seconds s"
  "$bin" -max_total_time="$seconds" -rss_limit_mb="$rss_limit_mb" \
    -malloc_limit_mb="$malloc_limit_mb" -timeout="$timeout_s" -dict="$out/tarvolo.dict" \
    -artifact_prefix="$findings/" -print_final_stats=1 -print_pcs=0 \
    "$found" "$corpus" "$out/starting/$target" >"$out/$target.log" 2>&1 || true
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$target.log" | tail -n 1)
  per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$out/$target.log" | tail -n 1)
  edges=$(grep -oE 'cov: [0-9]+' "$out/$target.log" | tail -n 1 | awk '{print $2}')
  # The committed corpus made anew: a small set (greedy set cover) that covers
  # all it and this run's inputs cover.
  minimised=$out/minimised/$target
  mkdir -p "$minimised"
  "$bin" -set_cover_merge=1 -rss_limit_mb="$rss_limit_mb" -timeout="$timeout_s" \
    "$minimised" "$corpus" "$found" >"$out/$target.merge.log" 2>&1 || true
  if [ -n "$(ls -A "$minimised")" ]; then
    rm -f "$corpus"/*
    cp "$minimised"/* "$corpus"/
  fi
  size=$(find "$corpus" -type f | wc -l)
  found_count=$(find "$findings" -type f | wc -l)
  ((found_count == 0)) || status=1
  summary+=("$(printf '%-20s %12s %10s %8s %8s %9s' "$target" "${executions:-?}" \
    "${per_second:-?}" "${edges:-?}" "$size" "$found_count")")
  echo "fuzz_${target%_fuzz}_executions: ${executions:-?}"
  echo "fuzz_${target%_fuzz}_exec_per_second: ${per_second:-?}"
  echo "fuzz_${target%_fuzz}_edges: ${edges:-?}"
  echo "fuzz_${target%_fuzz}_corpus: $size"
  echo "fuzz_${target%_fuzz}_findings: $found_count"
done

printf '\n%-20s %12s %10s %8s %8s %9s\n' target executions exec/s edges corpus findings
printf '%s\n' "${summary[@]}"
if ((status)); then
  echo "fuzz: findings in build/fuzz/findings/ (logs in $out/)"
fi
exit $status
