#include "calculators/sidereal_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "reference_table.h"

namespace kavrel::kestrum {
namespace {

TEST(SiderealTexts, WorkedDates) {
  const struct {
    DateTexts date;
    const char* julianDay;
    const char* siderealTime;
  } cases[] = {
      {{"10", "4", "1987"}, "2446895.500", "13.1046"},  // 13 h 10 min 46.3 s: seconds truncated
      {{"1", "1", "2000"}, "2451544.500", "06.3952"},
      {{"1", "1", "1900"}, "2415020.500", "06.4044"},
      {{"15", "10", "1582"}, "2299160.500", "01.3220"},
      {{"4", "10", "1582"}, "2299159.500", "01.2824"},
      {{"10", "10", "1582"}, "2299165.500", nullptr},
      {{"1", "1", "1"}, "1721423.500", "06.3309"},      // negative T, still within 0..24 h
      {{"31", "4", "1987"}, "2446916.500", nullptr},    // counts on into May
      {{"1", "5", "1987"}, "2446916.500", nullptr},
      // An empty field reads 0 for the Julian day; the sidereal time cannot be given.
      {{"", "4", "1987"}, "2446885.500", "#############"},
      {{"10", "", "1987"}, nullptr, "#############"},
      {{"10", "4", ""}, nullptr, "#############"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.date.day << "/" << c.date.month << "/" << c.date.year);
    const SiderealTexts point = siderealTexts(c.date, ".");
    if (c.julianDay) {
      EXPECT_EQ(point.julianDay, c.julianDay);
    }
    if (c.siderealTime) {
      EXPECT_EQ(point.siderealTime, c.siderealTime);
    }
  }
}

TEST(SiderealTexts, AgreeWithTheReferenceTableInFrench) {
  for (const reference::Row& row : reference::table("sidereal_time.csv")) {
    SCOPED_TRACE(row.where());
    EXPECT_NEAR(siderealTimeAt0h(row.number("julian_day")), row.number("hours"), reference::kTolerance);
    const SiderealTexts shown = siderealTexts({row.text("day"), row.text("month"), row.text("year")}, ",");
    EXPECT_EQ(shown.julianDay, row.text("julian_day_shown"));
    EXPECT_EQ(shown.siderealTime, row.text("shown"));
  }
}

TEST(SiderealTexts, HourAndMinuteFieldsAreIgnored) {
  EXPECT_EQ(siderealTexts({"1", "1", "2000", "", "x"}, ".").siderealTime, "06.3952");
}

TEST(SiderealTimeAt0h, StaysWithinTheDayFarFromEpoch) {
  for (double jd : {-1e7, 0.0, 1e6, 2451544.5, 5e6, 1e9}) {
    SCOPED_TRACE(jd);
    const double h = siderealTimeAt0h(jd);
    EXPECT_GE(h, 0);
    EXPECT_LE(h, 24);
  }
}

}  // namespace
}  // namespace kavrel::kestrum
