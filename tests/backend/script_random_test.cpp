#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "backend/parcel_tracking.h"

namespace varnola {
namespace {

TEST(ScriptRandomTest, IsZeroPointAndFifteenDigits) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    const std::string text = ScriptRandom();
    ASSERT_EQ(text.size(), 17u) << text;
    EXPECT_EQ(text.substr(0, 2), "0.") << text;
    EXPECT_EQ(text.find_first_not_of("0123456789", 2), std::string::npos) << text;
    seen.insert(text);
  }
  EXPECT_GT(seen.size(), 190u);  // random, not a constant
}

TEST(TscRandomTest, StaysWithinItsBounds) {
  EXPECT_EQ(TscRandom(5, 4), 0);
  for (int i = 0; i < 1000; ++i) {
    const int value = TscRandom(3, 7);
    ASSERT_GE(value, 3);
    ASSERT_LE(value, 7);
  }
  EXPECT_EQ(TscRandom(-2, -2), -2);
  // The whole int range holds 2^32 values; its span must not wrap to a division by zero.
  std::set<int> wide;
  for (int i = 0; i < 100; ++i) wide.insert(TscRandom(INT_MIN, INT_MAX));
  EXPECT_GT(wide.size(), 1u);
  const std::string digits = RandomDigits(5);
  ASSERT_EQ(digits.size(), 5u);
  EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos);
}

}  // namespace
}  // namespace varnola
