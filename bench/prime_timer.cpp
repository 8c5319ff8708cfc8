#include "bench/prime_timer.h"

#include "bench/prime_search.h"
#include "bench/tick_clock.h"

int CPrimeTimer::Measure(int nLimit) {
  m_start = TickCount();
  SearchPrimes(nLimit, KeptRemainder());
  m_end = TickCount();
  return 0;
}
