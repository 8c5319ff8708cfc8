#include "bench/seconds_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(SecondsText, TicksReadAsSecondsWithThreeDecimals) {
  const struct {
    int ticks;
    const char* text;
  } cases[] = {
      {987, "0.987"},
      {0, "0.000"},
      {1, "0.001"},
      {1000, "1.000"},
      {123456, "123.456"},
      {-1, "-0.001"},
      // From here on the single-precision factor (0.0010000000474974513)
      // decides the last digits, not the exact thousandth.
      {50000000, "50000.002"},
      {99999999, "100000.004"},
      {999999999, "1000000.046"},
      {2147483647, "2147483.749"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(FormatTicks(c.ticks).text, c.text) << c.ticks << " ticks";
  }
}

TEST(SecondsText, FactorIsTheSinglePrecisionThousandth) {
  unsigned bits;
  std::memcpy(&bits, &kSecondsPerTick, sizeof bits);
  EXPECT_EQ(bits, 0x3A83126Fu);
}

}  // namespace
