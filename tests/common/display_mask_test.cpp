#include "common/display_mask.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kavrel {
namespace {

TEST(DisplayMask, DigitsDecimalsSignAndSeparator) {
  const struct {
    double value;
    std::string_view mask;
    const char* separator;
    const char* shown;
  } cases[] = {
      {2451545.0, mask::kJulianDay, ",", "2451545,000"},
      {2451545.0, mask::kJulianDay, ".", "2451545.000"},
      {0.0, mask::kJulianDay, ",", "0,000"},
      {-0.0, mask::kJulianDay, ",", "0,000"},           // a negative zero has no sign
      {-0.0001, mask::kJulianDay, ",", "-0,000"},       // a value below zero keeps it
      {-1.5, mask::kJulianDay, ",", "-1,500"},
      {2299160.99930556, mask::kJulianDay, ",", "2299160,999"},
      {2451544.5125, mask::kJulianDay, ",", "2451544,513"},   // a decimal tie rounds away from zero
      {-2451544.5125, mask::kJulianDay, ",", "-2451544,513"},
      {0.0005, mask::kJulianDay, ".", "0.001"},
      {0.0004999, mask::kJulianDay, ".", "0.000"},
      {0.00004, mask::kJulianDay, ".", "0.000"},
      {99999999.9996, mask::kJulianDay, ".", "100000000.000"},  // digits beyond the placeholders
      {1e20, mask::kJulianDay, ".", "100000000000000000000.000"},
      {6.3952, mask::kSiderealTime, ",", "06,3952"},
      {13.1046, mask::kSiderealTime, ".", "13.1046"},
      {123.45, mask::kSiderealTime, ".", "123.4500"},
      {1.5, mask::kDayOfMonth, ",", "01,500"},
      {31.9999, mask::kDayOfMonth, ",", "32,000"},
      {5, mask::kTwoDigits, ",", "05"},
      {0, mask::kTwoDigits, ",", "00"},
      {123, mask::kTwoDigits, ",", "123"},
      {17.4, mask::kArcSeconds, ",", "17,4"},
      {0.95, mask::kArcSeconds, ",", "1,0"},
      {2.13, mask::kAngle, ",", "2,13"},
      {-3.01, mask::kAngle, ",", "-3,01"},
      {-16.4203, mask::kPrecession, ".", "-16.4203"},
      {2451545.0, mask::kJulianDay, "٫", "2451545٫000"},  // a separator of more than one byte
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " " << c.mask);
    EXPECT_EQ(formatMask(c.value, c.mask, c.separator), c.shown);
  }
}

TEST(DisplayMask, NotFiniteShowsTheEmptyResult) {
  EXPECT_EQ(formatMask(std::numeric_limits<double>::infinity(), mask::kJulianDay, ","), "#############");
  EXPECT_EQ(formatMask(-std::numeric_limits<double>::infinity(), mask::kAngle, ","), "#############");
  EXPECT_EQ(formatMask(std::numeric_limits<double>::quiet_NaN(), mask::kTwoDigits, ","), "#############");
}

TEST(DisplayMask, Integers) {
  EXPECT_EQ(formatInteger(1957), "1957");
  EXPECT_EQ(formatInteger(-4712), "-4712");
  EXPECT_EQ(formatInteger(0), "0");
  EXPECT_EQ(formatInteger(-0.0), "0");
  EXPECT_EQ(formatInteger(1e16), "10000000000000000");
  EXPECT_EQ(formatInteger(std::numeric_limits<double>::quiet_NaN()), "#############");
}

}  // namespace
}  // namespace kavrel
