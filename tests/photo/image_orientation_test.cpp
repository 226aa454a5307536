// Position angle and distance of pixels under each way of giving an image's orientation,
// the way back to the pixel, and heliographic coordinates through them.
#include "photo/image_orientation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kavrel::photo {
namespace {

// A disc of 50 px radius centred on (100, 100); the pixel's expected position follows from
// where north and east point on the screen in each case.
TEST(ImageOrientation, PositionsOfPixelsAndBack) {
  struct Row {
    const char* name;
    ImageOrientation orientation;
    double p;  // the Sun's axis, degrees
    double north;
    PixelPoint pixel;
    double theta, r;
  };
  const Row rows[] = {
      {"north up: the left is east", {NorthGiven::Celestial, 0, false}, 0, 0, {75, 100}, 90, 0.5},
      {"north up: the bottom is south", {NorthGiven::Celestial, 0, false}, 0, 0, {100, 140}, 180, 0.8},
      {"north left: the bottom is east", {NorthGiven::Celestial, 90, false}, 0, 90, {100, 125}, 90, 0.5},
      {"north up, mirrored: the left is west", {NorthGiven::Celestial, 0, true}, 0, 0, {75, 100}, 270, 0.5},
      {"north 30 deg to the left of the top", {NorthGiven::Celestial, 30, false}, 0, 30, {80, 100 - 40 * std::sqrt(0.75)}, 0, 0.8},
      {"north given as -90: to the right", {NorthGiven::Celestial, -90, false}, 0, 270, {150, 100}, 0, 1},
      {"solar north up, P = 20: the top is at P", {NorthGiven::Solar, 0, false}, 20, 340, {100, 50}, 20, 1},
      {"solar north up, P = 20, mirrored: the top still at P", {NorthGiven::Solar, 0, true}, 20, 20, {100, 50}, 20, 1},
      {"solar north up, P = -25, mirrored", {NorthGiven::Solar, 0, true}, -25, 335, {100, 50}, 335, 1},
      {"drift to the right: west right, north up",
       {NorthGiven::Drift, 0, false, {100, 100}, {130, 100}}, 0, 0, {75, 100}, 90, 0.5},
      {"drift to the right, mirrored: north down",
       {NorthGiven::Drift, 0, true, {100, 100}, {130, 100}}, 0, 180, {100, 125}, 0, 0.5},
      {"drift upward: north to the left",
       {NorthGiven::Drift, 0, false, {40, 90}, {40, 20}}, 0, 90, {75, 100}, 0, 0.5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const NorthOutcome north = celestialNorth(row.orientation, DiscOrientation{row.p, 0, 0, 0.27});
    ASSERT_TRUE(north.angle.has_value()) << north.reason;
    EXPECT_NEAR(std::remainder(*north.angle - row.north, 360), 0, 1e-9);
    const ImageFrame frame{{{100, 100}, 50}, *north.angle, row.orientation.mirrored};
    const DiscPoint point = discPointOfPixel(frame, row.pixel);
    EXPECT_NEAR(std::remainder(point.theta - row.theta, 360), 0, 1e-9);
    EXPECT_NEAR(point.r, row.r, 1e-12);
    const PixelPoint back = pixelOfDiscPoint(frame, {row.theta, row.r});
    EXPECT_NEAR(back.x, row.pixel.x, 1e-9);
    EXPECT_NEAR(back.y, row.pixel.y, 1e-9);
  }
}

TEST(ImageOrientation, RefusedOrientations) {
  struct Row {
    const char* name;
    ImageOrientation orientation;
    std::string_view reason;
  };
  const double nan = std::nan("");
  const Row rows[] = {
      {"a drift of half a pixel", {NorthGiven::Drift, 0, false, {10, 10}, {10.3, 10.4}}, kDriftTooShortMessage},
      {"a drift from nowhere", {NorthGiven::Drift, 0, false, {nan, 10}, {20, 10}}, kOrientationNotANumberMessage},
      {"an angle that is not a number", {NorthGiven::Solar, nan, false}, kOrientationNotANumberMessage},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const NorthOutcome north = celestialNorth(row.orientation, DiscOrientation{10, 0, 0, 0.27});
    EXPECT_FALSE(north.angle.has_value());
    EXPECT_EQ(north.reason, row.reason);
  }
}

// The centre pixel lies at B0 on the central meridian; pixels come back from their B and L
// whichever way the image is turned; a pixel off the disc is refused.
TEST(ImageOrientation, HeliographicPositionOfPixels) {
  const DiscOrientation disc{-12.5, 6.25, 200, 0.27};
  const ImageFrame upright{{{320.5, 240.5}, 200}, 15, false};
  const HeliographicResult centre = heliographicOfPixel(upright, disc, {320.5, 240.5});
  ASSERT_EQ(centre.refusal, DiscRefusal::None);
  EXPECT_NEAR(centre.at.latitude, 6.25, 1e-9);
  EXPECT_NEAR(centre.at.fromCentralMeridian, 0, 1e-9);
  EXPECT_NEAR(centre.at.longitude, 200, 1e-9);
  EXPECT_EQ(heliographicOfPixel(upright, disc, {10, 10}).refusal, DiscRefusal::OutsideDisc);

  const ImageFrame mirrored{{{320.5, 240.5}, 200}, 250, true};
  for (const ImageFrame& frame : {upright, mirrored})
    for (const PixelPoint pixel : {PixelPoint{250, 150}, PixelPoint{480, 300}, PixelPoint{330, 420}}) {
      const HeliographicResult at = heliographicOfPixel(frame, disc, pixel);
      ASSERT_EQ(at.refusal, DiscRefusal::None);
      const PixelProjection back = pixelOfHeliographic(frame, disc, at.at.latitude, at.at.longitude);
      EXPECT_TRUE(back.visible);
      EXPECT_NEAR(back.at.x, pixel.x, 1e-6);
      EXPECT_NEAR(back.at.y, pixel.y, 1e-6);
    }
}

}  // namespace
}  // namespace kavrel::photo
