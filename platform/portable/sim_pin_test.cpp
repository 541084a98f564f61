#include "sim_pin.h"

#include <gtest/gtest.h>

namespace portable {
namespace {

TEST(SimPin, FourToEightDigitsAndNothingElse) {
  EXPECT_TRUE(IsNewSimPin(u"0000"));
  EXPECT_TRUE(IsNewSimPin(u"12345678"));
  EXPECT_FALSE(IsNewSimPin(u""));
  EXPECT_FALSE(IsNewSimPin(u"123"));
  EXPECT_FALSE(IsNewSimPin(u"123456789"));
  EXPECT_FALSE(IsNewSimPin(u"12x4"));
  EXPECT_FALSE(IsNewSimPin(u"1234 "));
  EXPECT_FALSE(IsNewSimPin(u"/:/:"));  // the units either side of the digits
}

}  // namespace
}  // namespace portable
