#!/usr/bin/env bash
# Checks the compiled timed loop (CPrimeTimer::Measure) for what keeps the figure
# honest: its remainders come from the division instruction (the compiler may
# peel the first divisor into a copy of the loop, but that copy must divide too),
# never from a bit mask, a shift or a multiplication by a reciprocal.
# Arguments: the objdump to use, then the library's object files.
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
objdump="$1"
shift
object=""
for f in "$@"; do
  case "$f" in *prime_timer.cpp.o*) object="$f" ;; esac
done
[ -n "$object" ] || { echo "no prime_timer object among: $*"; exit 1; }

measure=$(disassemble "$objdump" "$object" 'CPrimeTimer::Measure(int)')
[ -n "$measure" ] || { echo "CPrimeTimer::Measure(int) not found in $object"; exit 1; }

divisions=$(count_divisions <<<"$measure")
shortcuts=$(count_shortcuts <<<"$measure")
echo "$measure"
echo "division instructions: $divisions, masks/shifts/multiplications: $shortcuts"
[ "$divisions" -ge 1 ] && [ "$shortcuts" -eq 0 ]
