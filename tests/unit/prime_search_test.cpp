// The timed loop, run with a remainder that counts and records instead of the
// shipped one: same loop code, so the counts are the shipped program's work.
#include "bench/division_count.h"
#include "bench/prime_search.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TEST(PrimeSearch, DivisionCountsAtEachLimit) {
  const struct {
    int limit;
    long long divisions;
  } cases[] = {
      {-5, 0}, {0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 2}, {10, 15}, {50, 350}, {10000, 5775223},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DivisionsUpTo(c.limit), c.divisions) << "limit " << c.limit;
  }
}

// Every divisor from 2 upward, stopping at the first that divides.
TEST(PrimeSearch, TriesDivisorsInRisingOrderUntilTheFirstZero) {
  std::vector<std::pair<int, int>> tried;
  SearchPrimes(10, [&tried](int i, int j) {
    tried.emplace_back(i, j);
    return i % j;
  });
  const std::vector<std::pair<int, int>> expected = {
      {3, 2}, {4, 2}, {5, 2}, {5, 3}, {5, 4}, {6, 2}, {7, 2},  {7, 3},
      {7, 4}, {7, 5}, {7, 6}, {8, 2}, {9, 2}, {9, 3}, {10, 2},
  };
  EXPECT_EQ(tried, expected);
}

TEST(PrimeSearch, NoSquareRootBoundForPrimes) {
  // 9973 is prime: all 9971 divisors 2..9972 are tried, not just up to 99.
  long long count = 0;
  SearchPrimes(9973, CountingRemainder{&count});
  long long upTo9972 = DivisionsUpTo(9972);
  EXPECT_EQ(count - upTo9972, 9971);
}

}  // namespace
