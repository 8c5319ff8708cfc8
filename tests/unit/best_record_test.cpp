#include "app/best_record.h"

#include <gtest/gtest.h>

namespace {

TEST(BestRecord, OnlyAStrictlyFasterRunReplacesTheRecord) {
  EXPECT_TRUE(IsNewRecord(500, NO_RECORD)) << "the first run always becomes the record";
  EXPECT_TRUE(IsNewRecord(0, NO_RECORD));
  EXPECT_TRUE(IsNewRecord(499, 500));
  EXPECT_FALSE(IsNewRecord(500, 500)) << "an equal time keeps the record";
  EXPECT_FALSE(IsNewRecord(501, 500));
  EXPECT_FALSE(IsNewRecord(0, 0)) << "a 0 ms record can never be beaten";
}

}  // namespace
