// The limb found on made-up photographs, the images without a Sun refused, and the circle
// through three points picked by hand.
#include "photo/limb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

#include "synthetic_sun.h"

namespace kavrel::photo {
namespace {

using test::Picture;
using test::SunShape;

// Photographs with limb darkening and noise of 2 % of the centre's intensity; the limb
// must come out within 0.2 px of the disc drawn.
TEST(Limb, FoundOnDiscsWithinAFifthOfAPixel) {
  struct Row {
    const char* name;
    int width, height;
    SunShape sun;
    std::function<void(Picture&, const SunShape&)> spoil;
  };
  const auto none = [](Picture&, const SunShape&) {};
  const Row rows[] = {
      {"centred", 300, 300, {150.3, 149.6, 120}, none},
      {"off centre", 320, 260, {120.7, 140.2, 95}, none},
      {"cut by the frame, half the limb inside", 260, 300, {255.4, 150.2, 120}, none},
      {"cut by a corner, half the limb inside", 240, 240, {170.2, 169.6, 100}, none},
      {"uneven lighting, 40 % from left to right", 300, 300, {148.5, 151.5, 115},
       [](Picture& p, const SunShape&) {
         for (int y = 0; y < p.height; ++y)
           for (int x = 0; x < p.width; ++x) p.at(x, y) *= static_cast<float>(0.8 + 0.4 * x / p.width);
       }},
      {"a dark spot on the limb", 300, 300, {150.3, 149.6, 120},
       [](Picture& p, const SunShape& s) {
         const double sx = s.cx + (s.radius - 4) * std::cos(1.0), sy = s.cy + (s.radius - 4) * std::sin(1.0);
         for (int y = 0; y < p.height; ++y)
           for (int x = 0; x < p.width; ++x)
             if (std::hypot(x - sx, y - sy) < 12 && std::hypot(x - s.cx, y - s.cy) < s.radius) p.at(x, y) *= 0.3f;
       }},
      {"a bright prominence", 300, 300, {150.3, 149.6, 110},
       [](Picture& p, const SunShape& s) {
         const double px = s.cx - (s.radius + 10), py = s.cy - 20;
         for (int y = 0; y < p.height; ++y)
           for (int x = 0; x < p.width; ++x)
             if (std::hypot(x - px, y - py) < 12 && std::hypot(x - s.cx, y - s.cy) > s.radius + 0.5) p.at(x, y) = 0.35f;
       }},
      {"blank beyond 1.1 radii, a field cut round", 300, 300, {150.3, 149.6, 120},
       [](Picture& p, const SunShape& s) {
         for (int y = 0; y < p.height; ++y)
           for (int x = 0; x < p.width; ++x)
             if (std::hypot(x - s.cx, y - s.cy) > 1.1 * s.radius) p.at(x, y) = std::nanf("");
       }},
      {"a cloud over the upper left", 300, 300, {151.1, 148.4, 115},
       [](Picture& p, const SunShape&) {
         for (int y = 0; y < p.height; ++y)
           for (int x = 0; x < p.width; ++x) {
             const double cloud = std::exp(-(std::pow(x - 60, 2) + std::pow(y - 60, 2)) / (2 * 50.0 * 50.0));
             p.at(x, y) = static_cast<float>(p.at(x, y) * (1 - 0.4 * cloud) + 0.05 * cloud);
           }
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Picture picture = test::drawSun(row.width, row.height, row.sun);
    row.spoil(picture, row.sun);
    test::addNoise(picture, 0.02, 7);
    const LimbOutcome outcome = findLimb(picture.view());
    ASSERT_TRUE(outcome.limb.has_value()) << outcome.reason;
    const Limb& limb = *outcome.limb;
    EXPECT_NEAR(limb.circle.centre.x, row.sun.cx, 0.2);
    EXPECT_NEAR(limb.circle.centre.y, row.sun.cy, 0.2);
    EXPECT_NEAR(limb.circle.radius, row.sun.radius, 0.2);
    EXPECT_LT(limb.rms, 0.5);
    EXPECT_GE(limb.points, limb.rays / 3);
    EXPECT_TRUE(outcome.reason.empty());
  }
}

// A darkened limb falls most steeply inside its edge, the more so the more it is blurred
// (0.07 px for u 0.6 sharp, 0.15 px blurred by 1 px, 0.33 px for u 0.8): the radius is that
// of the edge all the same.
TEST(Limb, RadiusOfADarkenedLimbIsItsEdge) {
  const struct {
    const char* name;
    double darkening;
    double blur;  // pixels, sigma
  } rows[] = {{"u 0.6, sharp", 0.6, 0}, {"u 0.6, blurred 1 px", 0.6, 1}, {"u 0.8, blurred 1 px", 0.8, 1},
              {"not darkened, blurred 1.5 px", 0, 1.5}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const SunShape sun{120.4, 119.7, 100, row.darkening};
    Picture picture = test::drawSun(240, 240, sun);
    if (row.blur > 0) test::blur(picture, row.blur);
    test::addNoise(picture, 0.01, 3);
    const LimbOutcome outcome = findLimb(picture.view());
    ASSERT_TRUE(outcome.limb.has_value());
    EXPECT_NEAR(outcome.limb->circle.radius, sun.radius, 0.05);
  }
}

// Observatory products blank every pixel beyond the limb (NaN, or BLANK in an integer
// file, which the reader turns to NaN), a few pixels out or right at the limb: the data's
// edge is then the limb's fall.
TEST(Limb, FoundWhereTheSkyIsBlankFromJustBeyondTheLimb) {
  struct Row {
    const char* name;
    int side;
    SunShape sun;
    double blankFrom;  // pixels beyond the radius; NaN for no blank
  };
  const double none = std::numeric_limits<double>::quiet_NaN();
  const Row rows[] = {
      {"blank from the limb", 512, {255.7, 256.2, 230}, 0},
      {"blank from 1 px beyond the limb", 512, {255.7, 256.2, 230}, 1},
      {"blank from 3 px beyond the limb", 512, {255.7, 256.2, 230}, 3},
      {"100 px, radius 47, blank from the limb", 100, {49.6, 49.3, 47}, 0},
      {"100 px, radius 47, the limb 2 px from the frame", 100, {49.6, 49.3, 47}, none},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Picture picture = test::drawSun(row.side, row.side, row.sun);
    test::addNoise(picture, 0.02, 11);
    for (int y = 0; y < row.side; ++y)
      for (int x = 0; x < row.side; ++x)
        if (std::hypot(x - row.sun.cx, y - row.sun.cy) > row.sun.radius + row.blankFrom)
          picture.at(x, y) = std::nanf("");
    const LimbOutcome outcome = findLimb(picture.view());
    ASSERT_TRUE(outcome.limb.has_value()) << outcome.reason;
    EXPECT_NEAR(outcome.limb->circle.centre.x, row.sun.cx, 0.3);
    EXPECT_NEAR(outcome.limb->circle.centre.y, row.sun.cy, 0.3);
    EXPECT_NEAR(outcome.limb->circle.radius, row.sun.radius, 0.3);
  }
}

TEST(Limb, NoSunRefused) {
  struct Row {
    const char* name;
    std::function<float(int, int)> value;
  };
  std::mt19937 generator(3);
  std::uniform_real_distribution<float> uniform(0, 1);
  const Row rows[] = {
      {"black", [](int, int) { return 0.0f; }},
      {"noise", [&](int, int) { return uniform(generator); }},
      {"a gradient landscape: bright sky, a dark hilly ground",
       [](int x, int y) {
         const double horizon = 150 + 25 * std::sin(x / 30.0);
         return static_cast<float>(y < horizon ? 0.9 - 0.002 * y : 0.15 + 0.0005 * x);
       }},
      {"a smooth gradient", [](int x, int y) { return static_cast<float>(x + y) / 600; }},
      {"blank", [](int, int) { return std::numeric_limits<float>::quiet_NaN(); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Picture picture{300, 300, std::vector<float>(300 * 300)};
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 300; ++x) picture.at(x, y) = row.value(x, y);
    const LimbOutcome outcome = findLimb(picture.view());
    EXPECT_FALSE(outcome.limb.has_value());
    EXPECT_EQ(outcome.reason, kNoLimbMessage);
  }
}

// A vignetted flat: bright in the middle, falling smoothly to the corners, with no edge. On
// a large image its scattered "limb" stays within 1 % of the radius, which the residual
// alone would accept.
TEST(Limb, LargeRadialGradientRefused) {
  constexpr int kSide = 2048;
  Picture picture{kSide, kSide, std::vector<float>(std::size_t{kSide} * kSide)};
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      picture.at(x, y) = static_cast<float>(1 - std::hypot(x - 1023.5, y - 1023.5) / 1448.2);
  const LimbOutcome outcome = findLimb(picture.view());
  EXPECT_FALSE(outcome.limb.has_value()) << outcome.limb->circle.radius << " px, rms " << outcome.limb->rms;
  EXPECT_EQ(outcome.reason, kNoLimbMessage);
}

TEST(Limb, CircleThroughThreePoints) {
  struct Row {
    const char* name;
    PixelPoint a, b, c;
    double cx, cy, radius;  // NaN when refused
    std::string_view reason;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Row rows[] = {
      {"a quarter apart", {300, 100}, {100, 300}, {-100, 100}, 100, 100, 200, {}},
      {"close together on a large disc far from the origin", {5000 + 1000 * std::cos(0.1), 7000 + 1000 * std::sin(0.1)},
       {5000 + 1000 * std::cos(0.3), 7000 + 1000 * std::sin(0.3)}, {5000 + 1000 * std::cos(0.5), 7000 + 1000 * std::sin(0.5)},
       5000, 7000, 1000, {}},
      {"two the same", {10, 10}, {10, 10}, {50, 20}, nan, nan, nan, kSamePointsMessage},
      {"in a line", {0, 0}, {10, 10}, {25, 25}, nan, nan, nan, kAlignedPointsMessage},
      {"not a number", {0, 0}, {nan, 10}, {25, 0}, nan, nan, nan, kNotANumberPointMessage},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const CircleOutcome outcome = circleThroughPoints(row.a, row.b, row.c);
    EXPECT_EQ(outcome.reason, row.reason);
    ASSERT_EQ(outcome.circle.has_value(), row.reason.empty());
    if (!outcome.circle) continue;
    EXPECT_NEAR(outcome.circle->centre.x, row.cx, 1e-6);
    EXPECT_NEAR(outcome.circle->centre.y, row.cy, 1e-6);
    EXPECT_NEAR(outcome.circle->radius, row.radius, 1e-6);
  }
}

}  // namespace
}  // namespace kavrel::photo
