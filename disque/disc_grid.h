// The heliographic grid of the Sun's disc for one instant, as pieces of lines in sky
// coordinates (disc radii, north up, x toward the west; sun/heliographic.h).
//
// Parallels and meridians every GridStep degrees (meridians at Carrington longitudes that
// are multiples of the step), the equator and the central meridian, in orthographic
// projection seen from B0 with the axis at P. Only the visible hemisphere is kept: each
// line is sampled every 3 degrees along itself (a chord then strays from the curve by
// 0.0003 of a radius, under a tenth of a millimetre on the largest page) and cut where it
// passes behind the limb, the crossing found by bisection so that a piece ends on the rim
// (within 1e-9 of a radius). An orientation that is not finite gives no visible piece.
#pragma once

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "sun/heliographic.h"

namespace kavrel::disque {

// Degrees between parallels and between meridians; only the allowed values are drawn.
struct GridStep {
  static constexpr int kDefault = 10;
  static constexpr std::array<int, 3> kAllowed = {5, 10, 15};
  int degrees = kDefault;

  [[nodiscard]] constexpr bool allowed() const noexcept {
    return std::find(kAllowed.begin(), kAllowed.end(), degrees) != kAllowed.end();
  }
};

enum class GridLineKind { Parallel, Meridian, Equator, CentralMeridian };

struct GridLine {
  GridLineKind kind = GridLineKind::Parallel;
  double value = 0;  // latitude of a parallel, Carrington longitude of a meridian
  std::vector<std::vector<SkyPoint>> pieces;  // open polylines, each of two points or more
};

// Every line of the grid, the equator and the central meridian last. A step that is not
// allowed is drawn at the default.
[[nodiscard]] std::vector<GridLine> gridLines(const DiscOrientation& disc, GridStep step);

// A Carrington longitude written on the equator, and where.
struct LongitudeLabel {
  int longitude = 0;  // degrees, a multiple of 30
  SkyPoint at{};
};
// The labels every 30 degrees, only within 75 degrees of the central meridian (nearer the
// limb they pile up) and on the visible side.
[[nodiscard]] std::vector<LongitudeLabel> longitudeLabels(const DiscOrientation& disc);

inline constexpr int kLimbBisections = 10;

// The visible pieces of the curve `at(t)` (a Projection for each t), sampled at `steps`
// equal intervals from `from` to `to`. Where visibility changes between two samples the
// crossing is bisected kLimbBisections times and the visible end of the bracket closes or
// opens the piece: the end lies within (to - from) / steps / 2^kLimbBisections of the
// true crossing, on the visible side.
template <typename Curve>
[[nodiscard]] std::vector<std::vector<SkyPoint>> visiblePieces(const Curve& at, double from, double to, int steps) {
  std::vector<std::vector<SkyPoint>> pieces;
  std::vector<SkyPoint> piece;
  double previousT = from;
  Projection previous = at(from);
  if (previous.visible) piece.push_back(previous.at);
  for (int i = 1; i <= steps; ++i) {
    const double t = from + (to - from) * i / steps;
    const Projection here = at(t);
    if (here.visible != previous.visible) {
      double same = previousT, other = t;  // `same` keeps the previous sample's side
      for (int k = 0; k < kLimbBisections; ++k) {
        const double middle = (same + other) / 2;
        (at(middle).visible == previous.visible ? same : other) = middle;
      }
      piece.push_back(at(previous.visible ? same : other).at);
      if (previous.visible) {
        if (piece.size() >= 2) pieces.push_back(std::move(piece));
        piece.clear();
      }
    }
    if (here.visible) piece.push_back(here.at);
    previous = here;
    previousT = t;
  }
  if (piece.size() >= 2) pieces.push_back(std::move(piece));
  return pieces;
}

}  // namespace kavrel::disque
