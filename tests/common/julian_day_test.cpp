#include "common/julian_day.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "reference_table.h"

namespace kavrel {
namespace {

TEST(JulianDay, WorkedDatesOnBothSidesOfTheReform) {
  const struct {
    DateTime when;
    double expected;
  } cases[] = {
      {{1, 1, 2000, 12, 0}, 2451545.0},
      {{15, 10, 1582, 0, 0}, 2299160.5},      // first Gregorian day
      {{4, 10, 1582, 0, 0}, 2299159.5},       // last Julian day
      {{10, 10, 1582, 0, 0}, 2299165.5},      // dropped by the reform: read as Julian
      {{27, 1, 333, 12, 0}, 1842713.0},
      {{1, 1, -4712, 12, 0}, 0.0},
      {{1, 1, 0, 0, 0}, 1721057.5},
      {{31, 2, 2001, 0, 0}, 2451971.5},       // the day simply counts on: 3 March
      {{3, 3, 2001, 0, 0}, 2451971.5},
      {{0, 3, 2001, 0, 0}, 2451968.5},        // day 0 is the last day of February
      {{10, 4, 1987, 0, 0}, 2446895.5},
      {{1, 1, 1900, 0, 0}, 2415020.5},
  };
  for (const auto& c : cases) {
    for (CenturyCut cut : {CenturyCut::Floor, CenturyCut::TowardZero}) {
      SCOPED_TRACE(testing::Message() << c.when.day << "/" << c.when.month << "/" << c.when.year << " cut "
                                      << static_cast<int>(cut));
      EXPECT_EQ(julianDay(c.when, cut), c.expected);
    }
  }
}

TEST(JulianDay, AgreesWithTheReferenceTable) {
  for (const reference::Row& row : reference::table("julian_day.csv")) {
    SCOPED_TRACE(row.where());
    const DateTime when{row.number("day"), row.number("month"), row.number("year"), row.number("hour"),
                        row.number("minute")};
    for (CenturyCut cut : {CenturyCut::Floor, CenturyCut::TowardZero})
      EXPECT_NEAR(julianDay(when, cut), row.number("julian_day"), reference::kJulianDayTolerance);
  }
}

TEST(JulianDay, TimeOfDayIsAFractionOfTheDay) {
  EXPECT_NEAR(julianDay({15, 10, 1582, 11, 59}, CenturyCut::Floor), 2299160.99930556, 1e-8);
  EXPECT_NEAR(julianDay({4, 10, 1957, 19, 26}, CenturyCut::Floor), 2436116.30972222, 1e-8);
  EXPECT_EQ(julianDay({6, 12, 2001, 9, 5}, CenturyCut::Floor), 2452249.5 + (9 + 5.0 / 60) / 24);
}

TEST(JulianDay, TheCenturyCutMattersForANegativeYearOnTheGregorianSide) {
  // Year -500 with a day count large enough to land after the reform: floor(-5/4) is -2,
  // trunc(-5/4) is -1, so the Gregorian correction differs by one day.
  const DateTime when{1e9, 3, -500, 0, 0};
  EXPECT_EQ(julianDay(when, CenturyCut::Floor) - julianDay(when, CenturyCut::TowardZero), -1.0);
}

TEST(JulianDay, HugeAndInfiniteInputsGiveNumbersNotFaults) {
  EXPECT_TRUE(std::isfinite(julianDay({1, 1, 1e300, 0, 0}, CenturyCut::Floor)));
  EXPECT_FALSE(std::isfinite(
      julianDay({1, 1, std::numeric_limits<double>::infinity(), 0, 0}, CenturyCut::TowardZero)));
}

TEST(DateTexts, EmptyFieldsAndReading) {
  EXPECT_FALSE(anyEmpty({"1", "1", "2000"}));  // hour and minute default to "0"
  EXPECT_TRUE(anyEmpty({"1", "1", "2000", "", "0"}));
  EXPECT_TRUE(anyEmpty({"", "1", "2000"}));
  const DateTime read = readDateTime({"6", "12", "-", "9h", "5,5"});
  EXPECT_EQ(read.day, 6);
  EXPECT_EQ(read.month, 12);
  EXPECT_EQ(read.year, 0);
  EXPECT_EQ(read.hour, 9);
  EXPECT_EQ(read.minute, 5);
}

}  // namespace
}  // namespace kavrel
