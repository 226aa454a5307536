#include "common/calendar_date.h"

#include <gtest/gtest.h>

#include "common/julian_day.h"
#include "common/number_reader.h"
#include "reference_table.h"

namespace kavrel {
namespace {

TEST(CalendarDate, WorkedJulianDays) {
  const struct {
    double jd;
    CalendarDate expected;
  } cases[] = {
      {2451545.0, {1, 0.5, 1, 2000}},   {2451545.5, {2, 0.0, 1, 2000}},
      {2299160.5, {15, 0.0, 10, 1582}}, {2299160.0, {4, 0.5, 10, 1582}},
      {1842713.0, {27, 0.5, 1, 333}},   {0.0, {1, 0.5, 1, -4712}},
      {-5.0, {27, 0.5, 12, -4713}},     {2451544.5, {1, 0.0, 1, 2000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.jd);
    const CalendarDate date = calendarDate(c.jd);
    EXPECT_EQ(date.day, c.expected.day);
    EXPECT_EQ(date.fraction, c.expected.fraction);
    EXPECT_EQ(date.month, c.expected.month);
    EXPECT_EQ(date.year, c.expected.year);
  }
}

TEST(CalendarDate, AgreesWithTheReferenceTable) {
  for (const reference::Row& row : reference::table("calendar_date.csv")) {
    SCOPED_TRACE(row.where());
    const CalendarDate date = calendarDate(readNumber(row.text("typed")));
    EXPECT_EQ(date.day, row.number("day"));
    EXPECT_NEAR(date.fraction, row.number("fraction"), reference::kTolerance);
    EXPECT_EQ(date.month, row.number("month"));
    EXPECT_EQ(date.year, row.number("year"));
  }
}

TEST(CalendarDate, InvertsTheJulianDayAcrossBothCalendars) {
  // Every midnight from 4000 BC to AD 3000, the reform included.
  for (double jd = 260000.5; jd < 2817000.5; jd += 1) {
    const CalendarDate date = calendarDate(jd);
    ASSERT_EQ(julianDay({date.day, date.month, date.year, 0, 0}, CenturyCut::Floor), jd) << jd;
  }
}

TEST(CalendarDate, MonthNames) {
  EXPECT_EQ(monthName(1), "janvier");
  EXPECT_EQ(monthName(2), "février");
  EXPECT_EQ(monthName(8), "août");
  EXPECT_EQ(monthName(12), "décembre");
  EXPECT_EQ(monthName(0), "0");
  EXPECT_EQ(monthName(13), "13");
}

}  // namespace
}  // namespace kavrel
