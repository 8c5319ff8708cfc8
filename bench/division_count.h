// The divisions the timed loop performs up to a limit, counted through the very
// loop code: SearchPrimes with a remainder that also counts.
#ifndef TARVOLO_BENCH_DIVISION_COUNT_H
#define TARVOLO_BENCH_DIVISION_COUNT_H

#include "bench/prime_search.h"

struct CountingRemainder {
  long long* count;
  int operator()(int i, int j) const {
    ++*count;
    return i % j;
  }
};

inline long long DivisionsUpTo(int nLimit) {
  long long count = 0;
  SearchPrimes(nLimit, CountingRemainder{&count});
  return count;
}

#endif
