// The timed loop: plain trial division of every number from 2 to the limit.
//
// Every remainder i % j for j = 2 .. i-1 is computed, in rising order, until the
// first zero. No square-root bound, no skipping of even numbers, no table: this is
// the work the benchmark times, so it must not get cheaper.
//
// The loop is a template over how one remainder is taken so that the shipped
// program and the division-counting tests run the very same loop code.
#ifndef TARVOLO_BENCH_PRIME_SEARCH_H
#define TARVOLO_BENCH_PRIME_SEARCH_H

// Hides a value from the optimiser without emitting an instruction: the empty asm
// statement may have changed it (as far as the compiler knows).
template <typename T>
inline void HideValue(T& value) {
  asm("" : "+r"(value));
}

// Keeps a value alive without emitting an instruction: the volatile asm statement
// "uses" it, so the division that produced it cannot be deleted.
template <typename T>
inline void KeepValue(T value) {
  asm volatile("" : : "r"(value));
}

// One remainder as the shipped program takes it: by the processor's division.
struct KeptRemainder {
  int operator()(int i, int j) const {
    int remainder = i % j;
    KeepValue(remainder);
    return remainder;
  }
};

template <typename Remainder>
inline void SearchPrimes(int nLimit, Remainder remainder) {
  // Counts i up to nLimit without ever stepping past it, so no limit can overflow i.
  for (int i = 1; i < nLimit;) {
    ++i;
    // Without this the compiler knows the first divisor is 2 and turns i % 2
    // into a bit mask; every remainder must come from the division instruction.
    int firstDivisor = 2;
    HideValue(firstDivisor);
    for (int j = firstDivisor; j < i; ++j) {
      if (remainder(i, j) == 0) break;
    }
  }
}

#endif
