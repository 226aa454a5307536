#include "common/sexagesimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/display_mask.h"
#include "common/number_reader.h"
#include "reference_table.h"

namespace kavrel {
namespace {

TEST(Dms, TruncatesMinutesAndSecondsTowardZero) {
  const struct {
    double x;
    const char* shown;  // under "##0.0000"
  } cases[] = {
      {0, "0,0000"},          {18.7518, "18,4506"},  {-23.0329, "-23,0158"}, {-0.5, "-0,3000"},
      {0.9999, "0,5959"},     {24 - 1e-9, "23,5959"}, {13.179527777, "13,1046"}, {6.7, "6,4200"},
      {-0.0761, "-0,0433"},   {12.5, "12,3000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(formatMask(dms(c.x), mask::kSexagesimal, ","), c.shown);
  }
}

// Most rows stand on a whole second, where the order of the operations decides whether
// the truncated seconds keep their last unit.
TEST(Dms, Arr1AndArr2AgreeWithTheReferenceTable) {
  for (const reference::Row& row : reference::table("sexagesimal.csv")) {
    SCOPED_TRACE(row.where());
    const double x = row.number("x");
    EXPECT_EQ(dms(x), row.number("dms"));  // its order of operations is fixed to the bit
    EXPECT_EQ(formatMask(dms(x), mask::kSexagesimal, ","), row.text("dms_shown"));
    EXPECT_NEAR(arr1(x), row.number("arr1"), reference::kTolerance);
    EXPECT_NEAR(arr2(x), row.number("arr2"), reference::kTolerance);
  }
}

TEST(Degr, AgreesWithTheReferenceTable) {
  for (const reference::Row& row : reference::table("degr.csv")) {
    SCOPED_TRACE(row.where() + " " + row.text("typed"));
    EXPECT_NEAR(degr(readNumber(row.text("typed"))), row.number("degr"), reference::kTolerance);
  }
}

TEST(Cuts, Arr1AndArr2MoveTowardZero) {
  EXPECT_EQ(formatMask(arr2(-3.0122), mask::kAngle, "."), "-3.01");
  EXPECT_EQ(formatMask(arr2(-3.0199), mask::kAngle, "."), "-3.01");
  EXPECT_EQ(formatMask(arr2(2.1366), mask::kAngle, "."), "2.13");
  EXPECT_EQ(formatMask(arr1(17.486), mask::kArcSeconds, "."), "17.4");
  EXPECT_EQ(formatMask(arr1(-0.09), mask::kArcSeconds, "."), "0.0");
  EXPECT_EQ(formatMask(arr2(359.999), mask::kAngle, "."), "359.99");
}

TEST(Degr, ReadsTheDigitsAsTyped) {
  const struct {
    double x;
    double expected;
  } cases[] = {
      {1.15, 1.25},
      {6.42, 6 + 42.0 / 60},
      {6.4245, (6 + 42.0 / 60) + 45.0 / 3600},
      {-16.3858, -((16 + 38.0 / 60) + 58.0 / 3600)},
      {1.7, 1 + 70.0 / 60},          // minutes of 60 or more are not refused
      {0.001, 10.0 / 3600},          // 0 h 0 min 10 s
      {12.345678, (12 + 34.0 / 60) + 56.78 / 3600},
      {0.00001, 0.1 / 3600},
      {24, 24},
      {0, 0},
      {1e20, 1e20},
      // No decimals are left among 15 digits: the value itself, even where its 15-digit
      // rounding lies beyond the largest double (it read as 0).
      {1234567890123456789.0, 1234567890123456789.0},
      {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()},
      {-std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x);
    EXPECT_EQ(degr(c.x), c.expected);
  }
  EXPECT_EQ(degr(std::numeric_limits<double>::infinity()), std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace kavrel
