// The disc program's core: spots typed in and removed, the pointer's read-out, the
// heading's instant, the instant of the date fields, the page's refusals and the grid's
// cut at the limb.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "common/display_mask.h"
#include "disque/disc_grid.h"
#include "disque/disc_spots.h"
#include "disque/disc_texts.h"

namespace kavrel::disque {
namespace {

const std::string kOutside(kOutsideDiscMessage);
const DiscOrientation kTilted{20, 5, 100, 0.27};  // P 20°, B0 5°, L0 100°

struct AngleCase {
  const char* name;
  const char* angle;
  const char* distance;
  bool fromSolarNorth;
  std::optional<DiscOrientation> disc;
  double theta;  // expected, when accepted
  double r;
  std::string refusal;
};

TEST(DisqueCore, SpotTypedAsAngleAndDistance) {
  const AngleCase cases[] = {
      {"an angle as typed", "45", "0,5", false, std::nullopt, 45, 0.5, ""},
      {"a negative angle turned into 0..360", "-90", "0,5", false, std::nullopt, 270, 0.5, ""},
      {"beyond a turn", "450", "0,2", false, std::nullopt, 90, 0.2, ""},
      {"a whole turn is 0", "360", "0", false, std::nullopt, 0, 0, ""},
      {"on the limb", "10", "1", false, std::nullopt, 10, 1, ""},
      {"from the solar pole, P added", "350", "0,3", true, kTilted, 10, 0.3, ""},
      {"from the solar pole, no date", "10", "0,3", true, std::nullopt, 0, 0, kIncompleteDate},
      {"beyond the limb", "10", "1,001", false, kTilted, 0, 0, kOutside},
      {"a negative distance", "10", "-0,1", false, std::nullopt, 0, 0, kOutside},
      {"an angle not a number", "1a", "0,5", false, std::nullopt, 0, 0, kAngleRefused},
      {"an empty angle", "", "0,5", false, std::nullopt, 0, 0, kAngleRefused},
      {"a distance with the wrong separator", "10", "0.5", false, std::nullopt, 0, 0, kDistanceRefused},
  };
  for (const AngleCase& c : cases) {
    SCOPED_TRACE(c.name);
    const SpotEntry entry = spotOfAngle(c.angle, c.distance, c.fromSolarNorth, c.disc, ",");
    EXPECT_EQ(entry.refusal, c.refusal);
    ASSERT_EQ(entry.point.has_value(), c.refusal.empty());
    if (!entry.point) continue;
    EXPECT_NEAR(entry.point->theta, c.theta, 1e-9);
    EXPECT_NEAR(entry.point->r, c.r, 1e-12);
  }
}

struct DrawingCase {
  const char* name;
  const char* x;
  const char* y;
  const char* diameter;
  DrawingOrientation orientation;
  int step;
  double theta;
  double r;
  std::string refusal;
};

TEST(DisqueCore, SpotTypedAsMillimetresOnTheDrawing) {
  constexpr auto left = DrawingOrientation::EastLeft;
  constexpr auto right = DrawingOrientation::EastRight;
  const DrawingCase cases[] = {
      {"east left: left of centre is east", "-37,5", "0", "150", left, 10, 90, 0.5, ""},
      {"east right: right of centre is east", "37,5", "0", "150", right, 10, 90, 0.5, ""},
      {"east right: left of centre is west", "-37,5", "0", "150", right, 10, 270, 0.5, ""},
      {"north is up in both", "0", "25", "50", right, 10, 0, 1, ""},
      {"south-west, east left", "30", "-30", "120", left, 10, 225, std::sqrt(0.5), ""},
      {"a decimal diameter", "0", "-50,25", "100,5", left, 10, 180, 1, ""},
      {"beyond the rim", "80", "0", "150", left, 10, 0, 0, kOutside},
      {"x not a number", "x", "0", "150", left, 10, 0, 0, kMillimetresRefused},
      {"y empty", "0", "", "150", left, 10, 0, 0, kMillimetresRefused},
      {"a diameter too small", "0", "0", "49,9", left, 10, 0, 0, kDiameterRefused},
      {"a diameter not a number", "0", "0", "grand", left, 10, 0, 0, kDiameterRefused},
      {"a step the page cannot draw", "0", "0", "150", left, 7, 0, 0, kStepRefused},
  };
  for (const DrawingCase& c : cases) {
    SCOPED_TRACE(c.name);
    const PageOptions options = pageOptionsOf(c.diameter, c.orientation, GridStep{c.step}, ",");
    const SpotEntry entry = spotOfDrawing(c.x, c.y, options, ",");
    EXPECT_EQ(entry.refusal, c.refusal);
    ASSERT_EQ(entry.point.has_value(), c.refusal.empty());
    if (!entry.point) continue;
    EXPECT_NEAR(entry.point->theta, c.theta, 1e-9);
    EXPECT_NEAR(entry.point->r, c.r, 1e-12);
  }
}

TEST(DisqueCore, ClickedSpotNeedsTheInstantAndTheDisc) {
  EXPECT_TRUE(spotOfClick(kTilted, {30, 0.9}));
  EXPECT_FALSE(spotOfClick(std::nullopt, {30, 0.9}));
  EXPECT_FALSE(spotOfClick(kTilted, {30, 1.01}));
}

struct RemovalCase {
  const char* name;
  int added;
  std::vector<int> rows;
  bool removed;
  std::vector<int> numbersLeft;
};

TEST(DisqueCore, SpotsRemoved) {
  const RemovalCase cases[] = {
      {"the middle one", 3, {1}, true, {1, 3}},
      {"several, in any order", 5, {3, 0, 1}, true, {3, 5}},
      {"the same row twice", 3, {2, 2}, true, {1, 2}},
      {"a row beyond the table", 2, {5, 0}, true, {2}},
      {"none chosen", 2, {}, false, {1, 2}},
      {"all", 2, {0, 1}, true, {}},
  };
  for (const RemovalCase& c : cases) {
    SCOPED_TRACE(c.name);
    DrawnSpotList list;
    for (int i = 0; i < c.added; ++i) list.add({10.0 * i, 0.5});
    EXPECT_EQ(list.remove(c.rows), c.removed);
    std::vector<int> numbers;
    for (const DrawnSpot& spot : list.spots()) numbers.push_back(spot.number);
    EXPECT_EQ(numbers, c.numbersLeft);
    // A number is never given again.
    EXPECT_EQ(list.add({0, 0}).number, c.added + 1);
  }
}

TEST(DisqueCore, SpotRowAndPointerFollowTheInstant) {
  const std::string empty(kEmptyResult);
  const SpotRow known = spotRow(kTilted, {7, {90, 0.5}}, ",");
  EXPECT_EQ(known.number, "7");
  EXPECT_EQ(known.theta, "90,0");
  EXPECT_EQ(known.r, "0,500");
  // East of the centre at half a radius, 70° from the solar north (P 20°): short of 30°
  // east of the central meridian, L = L0 + DMC.
  EXPECT_EQ(known.fromCentralMeridian.substr(0, 4), "-28,");
  EXPECT_EQ(known.longitude.substr(0, 3), "71,");
  const SpotRow unknown = spotRow(std::nullopt, {7, {90, 0.5}}, ".");
  EXPECT_EQ(unknown.theta, "90.0");
  EXPECT_EQ((std::vector{unknown.latitude, unknown.longitude, unknown.fromCentralMeridian}),
            (std::vector{empty, empty, empty}));

  const struct {
    const char* name;
    std::optional<DiscOrientation> disc;
    std::optional<DiscPoint> pointer;
    std::string state;
    bool coordinates;
  } cases[] = {
      {"pointer away", kTilted, std::nullopt, kPointerHint, false},
      {"no instant", std::nullopt, DiscPoint{90, 0.5}, kIncompleteDate, false},
      {"beside the disc", kTilted, DiscPoint{90, 1.05}, kOutside, false},
      {"on the disc", kTilted, DiscPoint{90, 0.5}, "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PointerReadout readout = pointerReadout(c.disc, c.pointer, ",");
    EXPECT_EQ(readout.state, c.state);
    EXPECT_EQ(!readout.cells[2].empty(), c.coordinates);
    if (c.coordinates) {
      EXPECT_EQ((std::vector<std::string>(readout.cells.begin(), readout.cells.end())),
                (std::vector{known.theta, known.r, known.latitude, known.longitude, known.fromCentralMeridian}));
    }
  }
}

TEST(DisqueCore, HeadingTimeToTheNearestMinute) {
  const struct {
    const char* name;
    double julianDay;
    double day, month, year;
    int hour, minute;
  } cases[] = {
      {"midnight", 2451544.5, 1, 1, 2000, 0, 0},
      {"noon", 2451545.0, 1, 1, 2000, 12, 0},
      {"23 h 59 min 29 s stays 23 h 59", 2451545.49965, 1, 1, 2000, 23, 59},
      {"23 h 59 min 35 s is the next day", 2451545.49972, 2, 1, 2000, 0, 0},
      {"rounded across the new year", 2451544.49999, 1, 1, 2000, 0, 0},
      {"rounded across the Gregorian reform", 2299160.4999, 15, 10, 1582, 0, 0},
      {"day 0 of the Julian period", 0.0, 1, 1, -4712, 12, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const HeadingTime time = headingTime(c.julianDay);
    EXPECT_EQ(time.date.day, c.day);
    EXPECT_EQ(time.date.month, c.month);
    EXPECT_EQ(time.date.year, c.year);
    EXPECT_EQ(time.hour, c.hour);
    EXPECT_EQ(time.minute, c.minute);
  }
  // A day number beyond double's minutes keeps a time of day that can be shown.
  const HeadingTime far = headingTime(1e300);
  EXPECT_EQ(far.hour * 60 + far.minute, 0);
}

TEST(DisqueCore, PageTexts) {
  EXPECT_EQ(headingLine(2452249.878472, ","),
            "Le 6 décembre 2001 à 9 h 05 TU     P 13,93°     B0 0,18°     L0 57,25°     Rotation 1983");
  EXPECT_STREQ(kDiameterRefused, "Le diamètre doit être compris entre 50 et 250 mm.");
  EXPECT_STREQ(kStepRefused, "Le pas de la grille doit être de 5, 10 ou 15 degrés.");
  EXPECT_EQ(drawingLine({150, DrawingOrientation::EastLeft, {10}}, ","),
            "Disque de 150 mm, est à gauche (vue directe, photographie), grille de 10°");
  EXPECT_EQ(drawingLine({100.5, DrawingOrientation::EastRight, {15}}, "."),
            "Disque de 100.5 mm, est à droite (écran de projection), grille de 15°");
  const struct {
    double diameter;
    int step;
    std::string refusal;
  } options[] = {{50, 5, ""}, {250, 15, ""}, {250.01, 10, kDiameterRefused}, {NAN, 10, kDiameterRefused},
                 {150, 0, kStepRefused}, {150, 20, kStepRefused}};
  for (const auto& o : options)
    EXPECT_EQ(refusalOf({o.diameter, DrawingOrientation::EastLeft, {o.step}}), o.refusal) << o.diameter << " " << o.step;
}

TEST(DisqueCore, InstantOfTheDateFields) {
  const std::optional<DiscInstant> instant = discInstant({"6", "12", "2001", "9", "5"});
  ASSERT_TRUE(instant);
  EXPECT_NEAR(instant->julianDay, 2452249.878472, 1e-6);
  EXPECT_NEAR(instant->disc.p, 13.93, 0.01);  // as the heading shows them, to hundredths
  EXPECT_NEAR(instant->disc.l0, 57.27, 0.01);
  EXPECT_FALSE(discInstant({"6", "12", "2001", "9", ""}));
  EXPECT_FALSE(discInstant({"", "12", "2001", "9", "5"}));
  EXPECT_FALSE(discInstant({"6", "12", "1e300", "9", "5"}));  // no finite orientation
}

// A straight chord y = 0.5 across the disc, x from -2 to 2: visible within the unit circle.
Projection chord(double x) { return {{x, 0.5}, x * x + 0.25 <= 1}; }
Projection alwaysBehind(double x) { return {{x, 0}, false}; }

TEST(DisqueCore, LimbBisection) {
  const double edge = std::sqrt(0.75);
  const struct {
    const char* name;
    int steps;
  } cases[] = {{"coarse samples", 4}, {"fine samples", 40}, {"a sample on the crossing's side", 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto pieces = visiblePieces(chord, -2, 2, c.steps);
    ASSERT_EQ(pieces.size(), 1u);
    const double tolerance = 4.0 / c.steps / (1 << kLimbBisections);
    EXPECT_NEAR(pieces[0].front().x, -edge, tolerance);
    EXPECT_NEAR(pieces[0].back().x, edge, tolerance);
    EXPECT_LE(std::abs(pieces[0].front().x), edge);  // the ends stay on the visible side
    EXPECT_LE(std::abs(pieces[0].back().x), edge);
  }
  EXPECT_TRUE(visiblePieces(alwaysBehind, -1, 1, 10).empty());

  // On a real disc every piece stays inside the rim and a piece cut by the limb ends on it.
  for (int step : GridStep::kAllowed) {
    for (const GridLine& line : gridLines(kTilted, GridStep{step})) {
      for (const auto& piece : line.pieces) {
        ASSERT_GE(piece.size(), 2u);
        for (SkyPoint p : piece) ASSERT_LE(std::hypot(p.x, p.y), 1 + 1e-9);
        const bool parallel = line.kind == GridLineKind::Parallel || line.kind == GridLineKind::Equator;
        const bool closed = std::hypot(piece.front().x - piece.back().x, piece.front().y - piece.back().y) < 1e-9;
        if (!parallel || closed) continue;  // meridians end at the poles; a ring round the pole has no cut
        EXPECT_NEAR(std::hypot(piece.front().x, piece.front().y), 1, 1e-6);
        EXPECT_NEAR(std::hypot(piece.back().x, piece.back().y), 1, 1e-6);
      }
    }
  }
}

}  // namespace
}  // namespace kavrel::disque
