// The precise orientation of the disc against sunpy 4.1.2's sunpy.coordinates.sun (P, B0,
// L0, angular_radius: its own ephemeris, the observer at the Earth's centre), computed for
// these instants; and the instants it cannot take.
#include "sun/precise_aspect.h"

#include "sun/carrington_rotation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavrel {
namespace {

TEST(PreciseAspect, AgreesWithSunpy) {
  struct Row {
    const char* when;  // UTC
    double jd, p, b0, l0, semiDiameterArcsec;
  };
  const Row rows[] = {
      {"1955-03-21T06:00:00, before UTC's leap seconds", 2435187.75, -25.2904, -7.0135, 259.6031, 962.91},
      {"2000-01-01T12:00:00", 2451545.0, 2.1372, -3.0138, 1.4332, 975.50},
      {"2010-10-15T23:00:11", 2455485.45846065, 26.1666, 5.8177, 190.7465, 962.09},
      {"2016-12-31T23:59:59, the second before a leap second", 2457754.49997685, 1.9662, -3.0325, 123.5467, 975.48},
      {"2024-06-07T23:41:30, B0 through 0", 2460469.48715278, -12.5286, 0.2041, 290.0806, 945.04},
      {"2045-09-08T06:05:00, beyond the known leap seconds", 2468231.75347222, 22.7687, 7.2525, 75.0157, 952.04},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.when);
    const auto aspect = preciseAspect(row.jd);
    ASSERT_TRUE(aspect.has_value());
    EXPECT_NEAR(aspect->disc.p, row.p, 0.002);
    EXPECT_NEAR(aspect->disc.b0, row.b0, 0.001);
    EXPECT_NEAR(std::remainder(aspect->disc.l0 - row.l0, 360), 0, 0.001);
    EXPECT_NEAR(aspect->disc.semiDiameter * 3600, row.semiDiameterArcsec, 0.01);
  }
  for (const double jd : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -1e9})
    EXPECT_FALSE(preciseAspect(jd).has_value()) << jd;
}

}  // namespace
}  // namespace kavrel

// Each row a rotation: its start is where L0 passes 0, within a day of its mean date; a
// longitude passes the meridian between the rotation's start and the next's, and the
// rotation found under way then is the same one with the longitude's fraction.
TEST(CarringtonRotation, StartsPassagesAndNumbersAgree) {
  struct Row {
    int rotation;
    double longitude;
  };
  const Row rows[] = {{1, 180}, {1000, 359.5}, {1957, 90}, {2000, 0.5}, {2150, 270}, {2300, 12}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.rotation);
    const auto start = kavrel::carringtonRotationStart(row.rotation);
    const auto next = kavrel::carringtonRotationStart(row.rotation + 1);
    ASSERT_TRUE(start && next);
    EXPECT_NEAR(*start, 2398140.2270 + 27.2752316 * row.rotation, 1.0);
    EXPECT_NEAR(*next - *start, 27.2753, 0.2);
    const double atStart = kavrel::preciseAspect(*start)->disc.l0;
    EXPECT_LT(std::min(atStart, 360.0 - atStart), 1e-6);
    const auto passage = kavrel::centralMeridianPassage(row.rotation, row.longitude);
    ASSERT_TRUE(passage);
    EXPECT_GT(*passage, *start);
    EXPECT_LT(*passage, *next);
    EXPECT_NEAR(kavrel::preciseAspect(*passage)->disc.l0, row.longitude, 1e-6);
    EXPECT_NEAR(*kavrel::carringtonRotationAt(*passage), row.rotation + (360.0 - row.longitude) / 360.0, 1e-8);
  }
}
