bench:
	scripts/bench.sh

.PHONY: bench
