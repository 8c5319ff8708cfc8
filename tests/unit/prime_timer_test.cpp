#include "bench/prime_timer.h"

#include <gtest/gtest.h>

#include "bench/tick_clock.h"

namespace {

TEST(PrimeTimer, MeasureReturnsZeroAndLeavesTicksAroundTheSearch) {
  for (int limit : {-1, 0, 1, 2, 3, 10000}) {
    CPrimeTimer timer;
    int before = TickCount();
    EXPECT_EQ(timer.Measure(limit), 0) << "limit " << limit;
    int after = TickCount();
    EXPECT_LE(before, timer.m_start);
    EXPECT_LE(timer.m_start, timer.m_end);
    EXPECT_LE(timer.m_end, after);
  }
  // Millions of divisions: the end is read after the search, not with the start.
  CPrimeTimer timer;
  timer.Measure(10000);
  EXPECT_LT(timer.m_start, timer.m_end);
}

}  // namespace
