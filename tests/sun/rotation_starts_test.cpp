// The search for rotation starts: where it lands, in what order, and that it always ends.
#include "sun/rotation_starts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "reference_table.h"
#include "sun/ephemeris.h"

namespace kavrel {
namespace {

std::vector<RotationStart> startsAfter(double jd, int count) {
  std::vector<RotationStart> starts;
  forEachRotationStart(jd, solarAspect(jd).l0, count, [&](const RotationStart& start) {
    starts.push_back(start);
    return true;
  });
  return starts;
}

// The first starts after each date of the table, in order, with their numbers.
TEST(RotationStarts, AgreeWithTheReferenceTable) {
  for (const reference::Row& row : reference::table("rotation_starts.csv")) {
    SCOPED_TRACE(row.where());
    std::vector<RotationStart> starts;
    const int index = static_cast<int>(row.number("index"));
    forEachRotationStart(row.number("from"), row.number("l0_from"), index + 1, [&](const RotationStart& start) {
      starts.push_back(start);
      return true;
    });
    ASSERT_EQ(starts.size(), static_cast<std::size_t>(index + 1));
    EXPECT_NEAR(starts.back().julianDay, row.number("julian_day"), reference::kJulianDayTolerance);
    EXPECT_EQ(starts.back().rotation, row.number("rotation"));
  }
}

// Degrees between L0 and the 0/360 line.
double offStart(double jd) {
  const double l0 = solarAspect(jd).l0;
  return std::fmin(l0, 360 - l0);
}

TEST(RotationStarts, LandOnTheZeroOfL0InOrder) {
  for (double from : {2398200.5, 2415020.5, 2451544.5, 2488069.5, 2600000.5}) {
    SCOPED_TRACE(from);
    const std::vector<RotationStart> starts = startsAfter(from, 30);
    ASSERT_EQ(starts.size(), 30u);
    for (std::size_t i = 0; i < starts.size(); ++i) {
      const double s = starts[i].julianDay;
      EXPECT_LT(offStart(s), 0.001) << i;  // about 6 s of time
      // A start, not any crossing: L0 just above 0 before it, just below 360 after.
      EXPECT_LT(solarAspect(s - 0.1).l0, 3) << i;
      EXPECT_GT(solarAspect(s + 0.1).l0, 357) << i;
      if (i > 0) {
        EXPECT_NEAR(s - starts[i - 1].julianDay, kSearchSynodicPeriod, 0.3) << i;
        // The count runs on its own mean period; centuries away from 1900 it drifts from
        // the starts of L0 and a number may repeat or be skipped.
        if (from < 2500000) {
          EXPECT_EQ(starts[i].rotation, starts[i - 1].rotation + 1) << i;
        }
      }
    }
    EXPECT_GT(starts.front().julianDay, from);
    EXPECT_LT(starts.front().julianDay, from + kSearchSynodicPeriod + 0.3);
  }
}

// The Julian day of a minute of Universal Time, from the Julian day of its 0 h.
double atMinute(double midnight, int hour, int minute) { return midnight + (hour * 60 + minute) / 1440.0; }

TEST(RotationStarts, FirstStartDependsOnWhereTheDateStands) {
  // 2000 Jan 1 at 0 h, L0 8.04: rotation 1958 begins the same day at 14 h 39.
  const RotationStart before = startsAfter(2451544.5, 1).at(0);
  EXPECT_GE(before.julianDay, atMinute(2451544.5, 14, 39));
  EXPECT_LT(before.julianDay, atMinute(2451544.5, 14, 40));
  EXPECT_EQ(before.rotation, 1958);
  // Half a day after that start (L0 near 353) the first one found is the next,
  // 2000 Jan 28 at 22 h 47.
  const RotationStart after = startsAfter(before.julianDay + 0.5, 1).at(0);
  EXPECT_GE(after.julianDay, atMinute(2451571.5, 22, 47));
  EXPECT_LT(after.julianDay, atMinute(2451571.5, 22, 48));
  EXPECT_EQ(after.rotation, 1959);
}

TEST(RotationStarts, StopsWhenTheVisitorSays) {
  int visits = 0;
  forEachRotationStart(2451544.5, solarAspect(2451544.5).l0, 50, [&](const RotationStart&) {
    return ++visits < 3;
  });
  EXPECT_EQ(visits, 3);
}

// Where 27 days no longer change the Julian day, or nothing is finite, the walk must
// still end after maxStarts.
TEST(RotationStarts, AlwaysEndsAfterMaxStarts) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Row {
    double from, l0;
    int maxStarts;
    int visits;
  };
  const Row rows[] = {
      {1e18, solarAspect(1e18).l0, 100, 100},
      {1e300, 0, 100, 100},
      {nan, nan, 7, 7},
      {std::numeric_limits<double>::infinity(), 10, 4, 4},
      {2451544.5, 8, 0, 0},
  };
  for (const Row& row : rows) {
    int visits = 0;
    forEachRotationStart(row.from, row.l0, row.maxStarts, [&](const RotationStart&) {
      ++visits;
      return true;
    });
    EXPECT_EQ(visits, row.visits) << row.from;
  }
}

}  // namespace
}  // namespace kavrel
