#include "timed_start_time.h"

#include <gtest/gtest.h>

namespace portable {
namespace {

// SYSTEMTIME's fields in order: year, month, weekday, day, hour, minute, second, milliseconds.

TEST(TimedStartTime, CenturyLeapYearsFollowTheGregorianRule) {
  EXPECT_TRUE(IsTimedStartTime({2000, 2, 0, 29, 0, 0, 0, 0}));
  EXPECT_FALSE(IsTimedStartTime({1900, 2, 0, 29, 0, 0, 0, 0}));
  EXPECT_FALSE(IsTimedStartTime({2100, 2, 0, 29, 0, 0, 0, 0}));
  EXPECT_TRUE(IsTimedStartTime({2100, 2, 0, 28, 23, 59, 59, 0}));
}

TEST(TimedStartTime, FieldsOutsideTheCalendarOrTheDayAreRefused) {
  EXPECT_TRUE(IsTimedStartTime({1601, 1, 0, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(IsTimedStartTime({1600, 12, 0, 31, 23, 59, 59, 0}));
  EXPECT_FALSE(IsTimedStartTime({2005, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(IsTimedStartTime({2005, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(IsTimedStartTime({2005, 1, 0, 32, 0, 0, 0, 0}));
  EXPECT_FALSE(IsTimedStartTime({2005, 1, 0, 1, 0, 0, 60, 0}));
  EXPECT_FALSE(IsTimedStartTime({2005, 258, 0, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(IsTimedStartTime({2005, 1, 0, 257, 0, 0, 0, 0}));
  EXPECT_FALSE(IsTimedStartTime({65535, 65535, 0, 65535, 65535, 65535, 65535, 0}));
}

TEST(TimedStartTime, TextIsZeroPaddedAndLeavesOutWeekdayAndMilliseconds) {
  EXPECT_EQ(TimedStartTimeText({2005, 3, 2, 1, 7, 5, 9, 999}), "2005-03-01 07:05:09");
  // An impossible time is still written whole, for the journal's "failed" line.
  EXPECT_EQ(TimedStartTimeText({65535, 65535, 0, 65535, 65535, 65535, 65535, 0}),
            "65535-65535-65535 65535:65535:65535");
}

}  // namespace
}  // namespace portable
