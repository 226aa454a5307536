// The ephemeris of the Sun: reference values, quadrants, the start of the count, limits.
#include "sun/ephemeris.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "reference_table.h"

namespace kavrel {
namespace {

// Reference values in decimal form, to a few units of their last digit; the windows show
// them cut (see the program tests).
TEST(SolarAspect, AgreesWithReferenceValues) {
  struct Row {
    double jd, rightAscension, declination, rotation, radiusVector, p, b0, l0;
  };
  const Row rows[] = {
      {2451545.0, 18.7518, -23.0329, 1957, 0.983318, 2.1366, -3.0122, 1.4549},  // 2000 Jan 1, 12 h
      {2448908.5, 13.2251, -7.7836, 1861, 0.9976, 26.27, 5.988, 238.644},      // 1992 Oct 13, 0 h
      // Before 1900: the right ascension in the quadrant of the longitude.
      {2396838.0, 0.0328, 0.2138, -48, 0.9969, -25.57, -6.937, 269.83},  // 1850 Mar 21, 12 h
      {2397024.0, 12.0050, -0.0324, -41, 1.0027, 25.51, 6.953, 331.07},  // 1850 Sep 23, 12 h
      // A rotation start between 14 h and 15 h: the count switches to the day after.
      {2451545.0 + 2.0 / 24, 18.7579, -23.0263, 1957, 0.983318, 2.096, -3.022, 0.36},
      {2451545.0 + 3.0 / 24, 18.7610, -23.0229, 1958, 0.983317, 2.076, -3.027, 359.81},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.jd);
    const SolarAspect sun = solarAspect(row.jd);
    EXPECT_NEAR(sun.rightAscension, row.rightAscension, 5e-5);
    EXPECT_NEAR(sun.declination, row.declination, 5e-5);
    EXPECT_EQ(sun.rotation, row.rotation);
    EXPECT_NEAR(sun.radiusVector, row.radiusVector, 5e-5);
    EXPECT_NEAR(sun.p, row.p, 5e-3);
    EXPECT_NEAR(sun.b0, row.b0, 5e-3);
    EXPECT_NEAR(sun.l0, row.l0, 5e-3);
    EXPECT_DOUBLE_EQ(sun.semiDiameter * sun.radiusVector, 16.019666);
  }
}

// Every result over 1800..2200, and instants half a minute either side of a switch
// between the counts of the day before and after where a count stands nearest a whole
// number: there the last digit of the count's constants decides the number shown.
TEST(SolarAspect, AgreesWithTheReferenceTable) {
  for (const reference::Row& row : reference::table("solar_aspect.csv")) {
    SCOPED_TRACE(row.where());
    const SolarAspect sun = solarAspect(row.number("julian_day"));
    EXPECT_NEAR(sun.rightAscension, row.number("right_ascension"), reference::kTolerance);
    EXPECT_NEAR(sun.declination, row.number("declination"), reference::kTolerance);
    EXPECT_EQ(sun.rotation, row.number("rotation"));
    EXPECT_NEAR(sun.radiusVector, row.number("radius_vector"), reference::kTolerance);
    EXPECT_NEAR(sun.semiDiameter, row.number("semi_diameter"), reference::kTolerance);
    EXPECT_NEAR(sun.p, row.number("p"), reference::kTolerance);
    EXPECT_NEAR(sun.b0, row.number("b0"), reference::kTolerance);
    EXPECT_NEAR(sun.l0, row.number("l0"), reference::kTolerance);
  }
}

// Day by day the right ascension grows by a few minutes, wrapping from 24 h to 0 h once a
// year: a wrong quadrant for the longitude shows as a jump of 12 h.
TEST(SolarAspect, RightAscensionFollowsTheLongitudeAllYear) {
  for (double first : {2396758.0, 2451545.0, 2488070.0}) {  // 1850, 2000, 2100
    int wraps = 0;
    double previous = solarAspect(first).rightAscension;
    for (double jd = first + 1; jd <= first + 366; jd += 1) {
      const double ra = solarAspect(jd).rightAscension;
      ASSERT_GE(ra, 0) << jd;
      ASSERT_LT(ra, 24) << jd;
      const double step = ra - previous < -12 ? ra - previous + 24 : ra - previous;
      if (ra < previous) ++wraps;
      EXPECT_GT(step, 0.05) << jd;
      EXPECT_LT(step, 0.09) << jd;
      previous = ra;
    }
    EXPECT_EQ(wraps, 1) << first;
  }
}

// Rotation 1 starts 1853 November 9.9; before November 8.9 neither count reaches 1.
TEST(SolarAspect, RotationOneBeginsIn1853) {
  for (double jd = 2398166.4; jd > 2398166.4 - 60; jd -= 0.25) {
    EXPECT_LT(solarAspect(jd).rotation, 1) << jd;
  }
  EXPECT_EQ(solarAspect(2398169.0).rotation, 1);  // 1853 Nov 11, 12 h
}

TEST(CentreLongitudeAngle, IsThePolarAngleOfThePoint) {
  struct Row {
    double c1, s1, degrees;
  };
  const Row rows[] = {
      {1, 0, 0},        {-1, 0, 180},    {-1, -0.0, 180},  // on the line of the node
      {0, 1, 90},       {0, -1, -90},    {1, 1, 45},
      {-1, -1, -135},   {-0.5, 2, 104.03624346792648},
  };
  for (const Row& row : rows) {
    EXPECT_NEAR(centreLongitudeAngle(row.c1, row.s1), row.degrees, 1e-9) << row.c1 << ", " << row.s1;
  }
}

// Far outside the theory every result is either NaN or still in its range; nothing traps.
TEST(SolarAspect, HugeAndNonFiniteDaysStayHarmless) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double jd : {1e18, -1e18, 1e150, 1e300, -1e300, 1.7e308, inf, -inf,
                    std::numeric_limits<double>::quiet_NaN()}) {
    SCOPED_TRACE(jd);
    const SolarAspect sun = solarAspect(jd);
    EXPECT_TRUE(std::isnan(sun.l0) || (sun.l0 >= 0 && sun.l0 <= 360));
    EXPECT_TRUE(std::isnan(sun.declination) || std::fabs(sun.declination) <= 90);
    EXPECT_TRUE(std::isnan(sun.rotation) || sun.rotation == std::floor(sun.rotation));
  }
  EXPECT_TRUE(std::isfinite(solarAspect(1e18).rotation));
}

}  // namespace
}  // namespace kavrel
