// The precise orientation of the disc against sunpy 4.1.2's sunpy.coordinates.sun (P, B0,
// L0, angular_radius: its own ephemeris, the observer at the Earth's centre), computed for
// these instants; and the instants it cannot take.
#include "sun/precise_aspect.h"

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
