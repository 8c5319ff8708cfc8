// CPrimeTimer times one prime search: the tick count just before and just after.
#ifndef TARVOLO_BENCH_PRIME_TIMER_H
#define TARVOLO_BENCH_PRIME_TIMER_H

class CPrimeTimer {
 public:
  CPrimeTimer() {}
  virtual ~CPrimeTimer() {}

  // Searches the primes up to nLimit and leaves the tick counts around the
  // search in m_start and m_end. Always returns 0.
  int Measure(int nLimit);

  int m_start;
  int m_end;
};

#endif
