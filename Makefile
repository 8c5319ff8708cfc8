bench:
	scripts/bench.sh

# The release zip: dist/Tarvolo-<version>.zip (scripts/dist.sh).
dist:
	scripts/dist.sh

.PHONY: bench dist
