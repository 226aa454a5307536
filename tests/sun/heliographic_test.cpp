// Heliographic coordinates of disc points: against an independent modern reference, the
// way back to the disc, the limb, drawings in both orientations, angles from the pole.
#include "sun/heliographic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavrel {
namespace {

// Carrington latitude and longitude and the distance to the central meridian of points
// given by position angle (from celestial north) and distance in apparent radii, from a
// modern ephemeris with the observer on the Earth (scripts/check-heliographic-accuracy
// --rows 10). Our 1900 theory stays within these tolerances inside r = 0.95, and within
// twice them nearer the limb. The last two lie on the axis just beyond the north pole,
// tilted toward the Earth: on the far meridian.
TEST(Heliographic, AgreesWithAModernEphemeris) {
  struct Row {
    const char* when;
    double jd, theta, r, b, l, dmc;
  };
  const Row rows[] = {
      {"6/10/1996 8:11", 2450362.840972, 335.45, 0.7845, 34.1247, 170.1107, 47.0744},
      {"25/7/1952 16:15", 2434219.177083, 238.17, 0.9173, -33.3371, 137.6971, 56.9896},
      {"3/6/2011 9:32", 2455715.897222, 68.94, 0.9487, 5.9118, 320.7459, -71.1675},
      {"19/11/2003 20:41", 2452963.361806, 197.17, 0.5748, -32.5582, 357.7991, -2.0079},
      {"23/5/2017 18:48", 2457897.283333, 193.87, 0.7410, -40.1405, 71.5157, 30.9294},
      {"19/10/1950 21:35", 2433574.399306, 24.19, 0.6624, 46.7585, 312.0796, 1.8041},
      {"1/5/2048 18:47", 2469198.282639, 235.12, 0.5473, -9.4304, 314.4612, 32.8485},
      {"17/10/1971 19:39", 2441242.318750, 354.96, 0.9381, 56.2878, 323.9328, 60.9529},
      {"20/1/1986 5:45", 2446450.739583, 248.23, 0.9360, -15.6017, 349.8295, 69.7269},
      {"31/7/2012 8:07", 2456139.838194, 336.91, 0.4314, 26.4772, 209.8123, 15.4773},
      {"7/9/2001 0:00", 2452159.500000, 22.50, 0.9995, 84.8262, 349.3474, -179.9886},
      {"8/9/2031 12:00", 2463118.000000, 22.71, 0.9990, 85.5746, 70.3487, 179.9721},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.when);
    const auto result = heliographicOf(discOrientation(row.jd), {row.theta, row.r});
    ASSERT_EQ(result.refusal, DiscRefusal::None);
    const double wide = row.r > 0.95 ? 2 : 1;
    EXPECT_NEAR(result.at.latitude, row.b, 0.05 * wide);
    EXPECT_NEAR(std::remainder(result.at.longitude - row.l, 360), 0, 0.2 * wide);
    EXPECT_NEAR(std::remainder(result.at.fromCentralMeridian - row.dmc, 360), 0, 0.2 * wide);
  }
}

// Disc -> Sun -> disc over the whole disc, the limb included, for the Sun's axis leaning
// both ways and its north pole tilted toward us, away from us and not at all.
TEST(Heliographic, ComesBackToTheSameDiscPoint) {
  const DiscOrientation discs[] = {
      {2.1366, -3.0122, 1.4549, 0.2715},
      {26.3, 7.25, 358.2, 0.2662},
      {-24.9, -7.25, 181.0, 0.2708},
      {0, 0, 0, 0.2667},
  };
  for (const auto& disc : discs) {
    for (int t = 0; t < 360; t += 15) {
      for (int i = 0; i <= 20; ++i) {
        const DiscPoint point{double(t), i / 20.0};
        SCOPED_TRACE(testing::Message() << "P " << disc.p << " theta " << point.theta << " r " << point.r);
        const auto there = heliographicOf(disc, point);
        ASSERT_EQ(there.refusal, DiscRefusal::None);
        const auto back = skyPointOf(disc, there.at.latitude, there.at.longitude);
        EXPECT_TRUE(back.visible);
        const SkyPoint expected = skyPointOf(point);
        EXPECT_LT(std::hypot(back.at.x - expected.x, back.at.y - expected.y), 1e-9);
      }
    }
  }
}

TEST(Heliographic, TheLimbIsTheLastPointRead) {
  const DiscOrientation disc{0, 0, 10, 0.2715};
  const auto limb = heliographicOf(disc, {90, 1});
  ASSERT_EQ(limb.refusal, DiscRefusal::None);
  // Seen from a finite distance the limb lies S short of 90 deg from the centre.
  EXPECT_NEAR(limb.at.fromCentralMeridian, -(90 - disc.semiDiameter), 1e-9);
  EXPECT_NEAR(limb.at.latitude, 0, 1e-9);

  struct Row {
    const char* name;
    double r;
    DiscRefusal refusal;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Row rows[] = {
      {"limb measured a rounding too far", 1 + 1e-13, DiscRefusal::None},
      {"just outside the disc", 1 + 1e-9, DiscRefusal::OutsideDisc},
      {"well outside", 1.5, DiscRefusal::OutsideDisc},
      {"negative distance", -0.1, DiscRefusal::OutsideDisc},
      {"not a number", nan, DiscRefusal::NotANumber},
      {"infinite", std::numeric_limits<double>::infinity(), DiscRefusal::NotANumber},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto result = heliographicOf(disc, {90, row.r});
    EXPECT_EQ(result.refusal, row.refusal);
    if (row.refusal == DiscRefusal::None) {
      EXPECT_EQ(result.at.fromCentralMeridian, limb.at.fromCentralMeridian);
    } else {
      EXPECT_FALSE(refusalMessage(row.refusal).empty());
    }
  }
  EXPECT_EQ(heliographicOf({nan, 0, 0, 0.27}, {0, 0.5}).refusal, DiscRefusal::NotANumber);
}

// Beyond the Sun's north pole tilted toward us, on the line of the axis, the point lies
// on the far meridian: DMC 180, not 0.
TEST(Heliographic, PointsBeyondThePoleLieOnTheFarMeridian) {
  const DiscOrientation disc{0, 7, 100, 0.266};
  struct Row {
    double r, dmc;
  };
  const Row rows[] = {{0.99, 0}, {0.9995, 180}, {1, 180}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.r);
    const auto result = heliographicOf(disc, {0, row.r});
    EXPECT_NEAR(std::fabs(result.at.fromCentralMeridian), row.dmc, 1e-9);
    EXPECT_NEAR(result.at.longitude, std::fmod(100 + row.dmc, 360), 1e-9);
  }
}

// A drawing 100 mm across, the point 30 mm to the right and 40 mm up: on the limb, in
// the north-west as seen in the sky when east is left, north-east when east is right.
TEST(Heliographic, ReadsDrawingsInBothOrientations) {
  struct Row {
    const char* name;
    double x, y;
    DrawingOrientation orientation;
    double theta, r;
  };
  const Row rows[] = {
      {"east left, right of centre is west", 30, 40, DrawingOrientation::EastLeft, 323.130102, 1},
      {"east right, right of centre is east", 30, 40, DrawingOrientation::EastRight, 36.869898, 1},
      {"east left, lower left is south-east", -10, -10, DrawingOrientation::EastLeft, 135, 0.282843},
      {"east right, lower left is south-west", -10, -10, DrawingOrientation::EastRight, 225, 0.282843},
      {"centre", 0, 0, DrawingOrientation::EastRight, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const DiscPoint point = discPointOfDrawing(row.x, row.y, 100, row.orientation);
    EXPECT_NEAR(point.theta, row.theta, 1e-6);
    EXPECT_NEAR(point.r, row.r, 1e-6);
  }
  EXPECT_TRUE(std::isnan(discPointOfDrawing(1, 1, 0, DrawingOrientation::EastLeft).r));
}

// Measured from the Sun's north pole, theta + P is the celestial angle, into 0..360; the
// axis itself (0 from the pole) lies on the central meridian.
TEST(Heliographic, AnglesFromTheSolarPole) {
  struct Row {
    double p, fromPole, celestial;
  };
  const Row rows[] = {{20, 0, 20}, {20, 350, 10}, {-20, 10, 350}, {-25, 0, 335}};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "P " << row.p << " from pole " << row.fromPole);
    const DiscOrientation disc{row.p, 5, 200, 0.27};
    EXPECT_NEAR(celestialPositionAngle(disc, row.fromPole), row.celestial, 1e-12);
    EXPECT_NEAR(solarPositionAngle(disc, row.celestial), row.fromPole, 1e-12);
    if (row.fromPole == 0) {
      const auto onAxis = heliographicOf(disc, {row.celestial, 0.5});
      EXPECT_NEAR(onAxis.at.fromCentralMeridian, 0, 1e-9);
      EXPECT_GT(onAxis.at.latitude, 5);
    }
  }
}

TEST(Heliographic, TextsToHundredths) {
  struct Row {
    Heliographic at;
    const char* b;
    const char* l;
    const char* dmc;
  };
  const Row rows[] = {
      {{12.345, 0.004, -0.004}, "12,35", "0,00", "0,00"},
      {{-0.004, 359.996, -179.996}, "0,00", "0,00", "-180,00"},
      {{-7.255, 180.5, 45.005}, "-7,26", "180,50", "45,01"},
  };
  for (const Row& row : rows) {
    const auto texts = heliographicTexts(row.at, ",");
    EXPECT_EQ(texts.latitude, row.b);
    EXPECT_EQ(texts.longitude, row.l);
    EXPECT_EQ(texts.fromCentralMeridian, row.dmc);
  }
}

}  // namespace
}  // namespace kavrel
