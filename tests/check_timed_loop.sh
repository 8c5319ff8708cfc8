#!/usr/bin/env bash
# Checks the compiled timed loop (CPrimeTimer::Measure) for what keeps the figure
# honest: exactly one division instruction, and no remainder by 2 turned into a
# bit mask. Arguments: the objdump to use, then the library's object files.
set -euo pipefail
objdump="$1"
shift
object=""
for f in "$@"; do
  case "$f" in *prime_timer.cpp.o*) object="$f" ;; esac
done
[ -n "$object" ] || { echo "no prime_timer object among: $*"; exit 1; }

measure=$("$objdump" -d -C --no-show-raw-insn "$object" |
  awk '/^[0-9a-f]+ <.*CPrimeTimer::Measure\(int\)>:/ {on=1; next} on && /^$/ {exit} on')
[ -n "$measure" ] || { echo "CPrimeTimer::Measure(int) not found in $object"; exit 1; }

divisions=$(grep -c -E '\sidivl?\s' <<<"$measure" || true)
masks=$(grep -c -E '\s(and|test)l?\s+\$0x1,' <<<"$measure" || true)
echo "$measure"
echo "division instructions: $divisions, bit masks by 1: $masks"
[ "$divisions" -eq 1 ] && [ "$masks" -eq 0 ]
