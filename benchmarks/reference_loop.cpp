// The reference loop is written out here on purpose, not taken from
// bench/prime_search.h: it is what the shipped loop is compared against. It lives
// in its own file so that the compiler sees neither its caller nor its result.
#include "benchmarks/reference_loop.h"

void ReferenceSearch(int n) {
  for (int i = 2; i <= n; i++) {
    // Hidden start: otherwise the compiler peels j = 2 off into a test of bit 0.
    int j = 2;
    asm("" : "+r"(j));
    for (; j < i; j++) {
      int r = i % j;
      // Keeps the remainder alive, so the division cannot be dropped.
      asm volatile("" : : "r"(r));
      if (r == 0) break;
    }
  }
}
