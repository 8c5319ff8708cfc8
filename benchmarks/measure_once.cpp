// Runs the shipped timed loop once at 10,000 and nothing else, so that callgrind
// (collecting only inside CPrimeTimer::Measure) can count its instructions.
#include "bench/prime_timer.h"

int main() {
  CPrimeTimer timer;
  return timer.Measure(10000);
}
