#include "bench/tick_clock.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(TickClock, ElapsedIsEndMinusStartAcrossTheWrap) {
  EXPECT_EQ(ElapsedTicks(100, 1087), 987);
  EXPECT_EQ(ElapsedTicks(5, 5), 0);
  EXPECT_EQ(ElapsedTicks(INT_MAX - 5, INT_MIN + 4), 10);
  EXPECT_EQ(ElapsedTicks(-20, 30), 50);
  EXPECT_EQ(ElapsedTicks(INT_MIN, INT_MAX), -1);
}

TEST(TickClock, CountsBecomeWholeMilliseconds) {
  EXPECT_EQ(CountsToTicks(0, 10000000), 0);
  EXPECT_EQ(CountsToTicks(9999, 10000000), 0);
  EXPECT_EQ(CountsToTicks(10000, 10000000), 1);
  EXPECT_EQ(CountsToTicks(12345678, 10000000), 1234);
  EXPECT_EQ(CountsToTicks(1999999999, 1000000000), 1999);
  // About 24.8 days after start the count wraps like a 32-bit number.
  EXPECT_EQ(CountsToTicks(2147483648LL * 1000, 1000000), INT_MIN);
  // Large frequencies and long uptimes do not overflow the conversion.
  EXPECT_EQ(CountsToTicks(3000000000LL * 3000000000LL / 1000, 3000000000LL),
            3000000000LL % (1LL << 32) - (1LL << 32));
}

// The count advances in 1 ms steps: the smallest step seen while watching it
// for a while is one millisecond (the runtime's clock() would show ~16 on Windows).
TEST(TickClock, AdvancesInOneMillisecondSteps) {
  int smallestStep = INT_MAX;
  int previous = TickCount();
  int start = previous;
  while (smallestStep > 1 && ElapsedTicks(start, previous) < 2000) {
    int now = TickCount();
    ASSERT_GE(ElapsedTicks(previous, now), 0) << "the count went backwards";
    if (now != previous && ElapsedTicks(previous, now) < smallestStep) {
      smallestStep = ElapsedTicks(previous, now);
    }
    previous = now;
  }
  EXPECT_EQ(smallestStep, 1);
}

}  // namespace
