bench:
	scripts/bench.sh

# The release zip: dist/Tarvolo-<version>.zip (scripts/dist.sh).
dist:
	scripts/dist.sh

# How many planted faults the tests notice (scripts/mutate.sh, docs/MUTATION.md).
# Not part of the test command: it rebuilds and reruns the suites once per fault.
mutate:
	scripts/mutate.sh

# Every fuzz target under libFuzzer for FUZZ_SECONDS each (default 600); what
# it finds is folded into tests/fuzz/corpus/ (scripts/fuzz.sh).
fuzz:
	scripts/fuzz.sh

.PHONY: bench dist mutate fuzz
