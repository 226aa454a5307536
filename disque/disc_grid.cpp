// The heliographic grid of the disc (disc_grid.h).
#include "disque/disc_grid.h"

#include <cmath>

namespace kavrel::disque {

namespace {

constexpr double kSampleDegrees = 3;
constexpr int kLongitudeLabelStep = 30;
constexpr double kLongitudeLabelReach = 75;

GridLine parallel(const DiscOrientation& disc, double latitude, GridLineKind kind) {
  const auto at = [&](double dmc) { return skyPointOf(disc, latitude, disc.l0 + dmc); };
  return {kind, latitude, visiblePieces(at, -180, 180, static_cast<int>(360 / kSampleDegrees))};
}

GridLine meridian(const DiscOrientation& disc, double longitude, GridLineKind kind) {
  const auto at = [&](double latitude) { return skyPointOf(disc, latitude, longitude); };
  return {kind, longitude, visiblePieces(at, -90, 90, static_cast<int>(180 / kSampleDegrees))};
}

}  // namespace

std::vector<GridLine> gridLines(const DiscOrientation& disc, GridStep step) {
  const int degrees = step.allowed() ? step.degrees : GridStep::kDefault;
  std::vector<GridLine> lines;
  for (int latitude = degrees; latitude < 90; latitude += degrees) {
    lines.push_back(parallel(disc, latitude, GridLineKind::Parallel));
    lines.push_back(parallel(disc, -latitude, GridLineKind::Parallel));
  }
  for (int longitude = 0; longitude < 360; longitude += degrees)
    lines.push_back(meridian(disc, longitude, GridLineKind::Meridian));
  lines.push_back(parallel(disc, 0, GridLineKind::Equator));
  lines.push_back(meridian(disc, disc.l0, GridLineKind::CentralMeridian));
  return lines;
}

std::vector<LongitudeLabel> longitudeLabels(const DiscOrientation& disc) {
  std::vector<LongitudeLabel> labels;
  for (int longitude = 0; longitude < 360; longitude += kLongitudeLabelStep) {
    const double fromCentre = std::remainder(longitude - disc.l0, 360.0);
    if (!(std::abs(fromCentre) <= kLongitudeLabelReach)) continue;
    const Projection point = skyPointOf(disc, 0, longitude);
    if (point.visible) labels.push_back({longitude, point.at});
  }
  return labels;
}

}  // namespace kavrel::disque
