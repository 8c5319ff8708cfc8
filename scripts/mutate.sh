#!/usr/bin/env bash
# Measures what the tests are worth: plants each fault of tests/mutations.txt, one
# at a time, in a private copy of the tree (build/mutate/src), rebuilds it
# incrementally, runs the native tests and, when they did not notice, the 64-bit
# tree's tests under Wine. Prints one line per fault (killed, survived, hung or
# broken) and "mutation_score: K/N" last. The work tree itself is never changed.
#
#   scripts/mutate.sh [FAULT-LIST]     (make mutate)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
list=$root/${1:-tests/mutations.txt}
copy=$root/build/mutate/src
log_dir=$root/build/mutate/logs

# Fault lines: file @@ original line @@ planted line @@ what the user suffers.
faults=()
while IFS= read -r line; do
  [[ -z "${line// /}" || $line == \#* ]] && continue
  faults+=("$line")
done <"$list"

# Plants (or checks) one fault in the copy: the original line, leading spaces
# aside, must occur exactly once; the planted line keeps its indentation.
plant() {
  python3 - "$copy" "$1" "${2:-plant}" <<'EOF'
import sys
copy, fault, mode = sys.argv[1], sys.argv[2], sys.argv[3]
fields = [f.strip() for f in fault.split("@@")]
if len(fields) != 4:
    sys.exit(f"not four fields: {fault}")
path, original, planted, _ = fields
lines = open(f"{copy}/{path}", encoding="utf-8").read().split("\n")
hits = [i for i, l in enumerate(lines) if l.strip() == original]
if len(hits) != 1:
    sys.exit(f"{path}: the line occurs {len(hits)} times: {original}")
if mode == "plant":
    i = hits[0]
    lines[i] = lines[i][: len(lines[i]) - len(lines[i].lstrip())] + planted
    open(f"{copy}/{path}", "w", encoding="utf-8").write("\n".join(lines))
EOF
}

# The copy: the work tree as it stands (edits included), without builds or git
# data. Its own build trees are kept, so only files whose bytes differ are
# written, with a new time stamp that the next build sees (even when the old
# bytes were a fault left by a run that was stopped).
mkdir -p "$copy" "$log_dir"
python3 - "$root" "$copy" <<'PY'
import filecmp, os, shutil, sys
root, copy = sys.argv[1], sys.argv[2]
wanted = set()
for folder, dirs, files in os.walk(root):
    if folder == root:
        dirs[:] = [d for d in dirs if d not in ("build", "dist", ".git")]
    for name in files:
        path = os.path.relpath(os.path.join(folder, name), root)
        wanted.add(path)
        target = os.path.join(copy, path)
        if not os.path.isfile(target) or not filecmp.cmp(os.path.join(root, path), target, False):
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy(os.path.join(root, path), target)
for folder, dirs, files in os.walk(copy):
    if folder == copy:
        dirs[:] = [d for d in dirs if d != "build"]
    for name in files:
        if os.path.relpath(os.path.join(folder, name), copy) not in wanted:
            os.remove(os.path.join(folder, name))
PY

for fault in "${faults[@]}"; do plant "$fault" check; done
echo "mutate: ${#faults[@]} faults, every one applies exactly once"

# A display and a Wine prefix of the copy's own, ended when this script ends.
source scripts/lib.sh
start_private_xvfb 1024x768x24
stop_wine() { (cd "$copy" && source scripts/wine-env.sh && wineserver -k 2>/dev/null) || true; }
trap 'stop_wine; kill $XVFB_PID 2>/dev/null || true' EXIT

build() { (cd "$copy" && scripts/build.sh "$@") >"$log_dir/build.log" 2>&1; }
# A killed fault stops at its first failure: ctest stops there, GoogleTest too.
# The reproducible-release check builds the release twice and reads no fault.
run_tree() {
  local tree=$1 seconds=$2
  (cd "$copy" && GTEST_FAIL_FAST=1 timeout -k 10 "$seconds" \
    ctest --preset "$tree" --stop-on-failure -E release_is_reproducible) >"$log_dir/$tree.log" 2>&1
}
# passed, failed or hung (the deadline, or a test's own time limit, ran out).
verdict() {
  local status=$1 tree=$2
  if ((status == 124 || status == 137)) || grep -q '\*\*\*Timeout' "$log_dir/$tree.log"; then
    echo hung
  elif ((status == 0)); then
    echo passed
  else
    echo failed
  fi
}

start=$(date +%s)
# The resource tests read the shipped 32-bit Tarvolo.exe beside the 64-bit one:
# built once, since no listed fault touches the resources.
build_shipped() {
  (cd "$copy" && configure_tree win32 >/dev/null &&
    cmake --build --preset win32 --target Tarvolo) >"$log_dir/build.log" 2>&1
}
build native win64 && build_shipped ||
  { echo "mutate: the copy does not build (see $log_dir/build.log)"; exit 1; }
# The suites must pass untouched, or a failure would say nothing about a fault.
for tree in native win64; do
  t0=$(date +%s)
  if ! run_tree "$tree" 1800; then
    echo "mutate: the $tree tests fail without any fault (see $log_dir/$tree.log)"
    exit 1
  fi
  declare "passing_$tree=$(($(date +%s) - t0))"
done
echo "mutate: built and passed in $(($(date +%s) - start)) s" \
  "(native tests ${passing_native} s, win64 tests ${passing_win64} s)"
# Per fault: twice the passing time, and a minute for the machine's load.
deadline_native=$((2 * passing_native + 60))
deadline_win64=$((2 * passing_win64 + 60))

killed=0 number=0
for fault in "${faults[@]}"; do
  number=$((number + 1)) began=$(date +%s)
  file=$(sed 's/ *@@.*//' <<<"$fault")
  why=$(sed 's/.*@@ *//' <<<"$fault")
  cp "$copy/$file" "$copy/$file.orig"
  plant "$fault"
  # The 64-bit tree is built and run only when the native tests let the fault by.
  result=broken
  if build native; then
    status=0
    run_tree native "$deadline_native" || status=$?
    result=$(verdict "$status" native)
    if [ "$result" = passed ]; then
      result=broken
      if build win64; then
        status=0
        run_tree win64 "$deadline_win64" || status=$?
        result=$(verdict "$status" win64)
        [ "$result" = hung ] && stop_wine
      fi
    fi
  fi
  case $result in
    failed) result=killed killed=$((killed + 1)) ;;
    passed) result=survived ;;
  esac
  # Restored with a new time stamp, so that the next build compiles back what
  # the fault touched (the saved copy is older than the fault's objects).
  mv "$copy/$file.orig" "$copy/$file"
  touch "$copy/$file"
  printf '%-8s %2d  %4d s  %s: %s\n' "$result" "$number" "$(($(date +%s) - began))" "$file" "$why"
done
echo "mutate: $(($(date +%s) - start)) s in all"
echo "mutation_score: $killed/${#faults[@]}"
