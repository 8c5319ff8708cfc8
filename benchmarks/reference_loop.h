// The yardstick for the shipped timed loop: the plainest trial division.
#ifndef TARVOLO_BENCHMARKS_REFERENCE_LOOP_H
#define TARVOLO_BENCHMARKS_REFERENCE_LOOP_H

// Tests every number from 2 to n by trial division, the way anyone would write
// it, with the same two compiler barriers as the shipped loop and nothing else.
void ReferenceSearch(int n);

#endif
