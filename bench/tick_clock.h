// The tick count: milliseconds of elapsed time since the process started, as a
// signed 32-bit number. Read from a monotonic high-resolution clock so that the
// count advances in 1 ms steps (the runtime's clock() steps by ~15.6 ms on Windows).
#ifndef TARVOLO_BENCH_TICK_CLOCK_H
#define TARVOLO_BENCH_TICK_CLOCK_H

#include <cstdint>

int TickCount();

// Whole milliseconds in `counts` ticks of a clock running at `countsPerSecond`,
// wrapped to 32 bits the way the tick count wraps.
inline int CountsToTicks(std::int64_t counts, std::int64_t countsPerSecond) {
  std::int64_t millis =
      counts / countsPerSecond * 1000 + counts % countsPerSecond * 1000 / countsPerSecond;
  return static_cast<int>(static_cast<std::uint32_t>(millis));
}

// end - start in milliseconds. Computed in unsigned arithmetic so that a run
// across the 32-bit wrap gives the true difference instead of undefined overflow.
inline int ElapsedTicks(int nStart, int nEnd) {
  return static_cast<int>(static_cast<std::uint32_t>(nEnd) - static_cast<std::uint32_t>(nStart));
}

#endif
