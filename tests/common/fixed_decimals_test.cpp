#include "common/fixed_decimals.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kavrel {
namespace {

// What the integer arithmetic must write as to_chars and printf do.
TEST(FixedDecimals, RoundsTheExactBinaryValue) {
  const struct {
    double value;
    int decimals;
    char point;
    const char* written;
  } cases[] = {
      {2451545.0, 5, ',', "2451545,00000"},
      {0.015, 2, '.', "0.01"},  // times 100 makes 1.5 exactly, yet the value lies below it
      {0.025, 2, '.', "0.03"},  // and this one above
      {0.125, 2, '.', "0.12"},  // a true tie goes to the even digit
      {0.375, 2, '.', "0.38"},
      {2.5, 0, '.', "2"},
      {0.99999996, 7, '.', "1.0000000"},  // the carry reaches the units
      {-22.51654999, 4, ',', "-22,5165"},
      {-0.00004, 4, '.', "0.0000"},  // no sign on a zero
      {-0.0, 3, '.', "0.000"},
      {4503599627370495.5, 0, '.', "4503599627370496"},  // the last scaled value written by integers
      {1e17, 2, '.', "100000000000000000.00"},           // beyond them
      {std::numeric_limits<double>::quiet_NaN(), 4, '.', ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " to " << c.decimals);
    std::string text = "x;";
    appendFixed(text, c.value, c.decimals, c.point);
    EXPECT_EQ(text, std::string("x;") + c.written);
  }
}

}  // namespace
}  // namespace kavrel
