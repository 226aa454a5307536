// The regions' shared arithmetic (regions_math.h). Degrees, days.
#include "journal/regions_math.h"

#include <cmath>

#include "common/julian_day.h"

namespace kavrel::journal::regions_math {

double wrap180(double degrees) noexcept {
  const double wrapped = std::fmod(degrees + 180.0, 360.0);
  return (wrapped < 0 ? wrapped + 360.0 : wrapped) - 180.0;
}

double wrap360(double degrees) noexcept {
  const double wrapped = std::fmod(degrees, 360.0);
  return wrapped < 0 ? wrapped + 360.0 : wrapped;
}

double lawDrift(double latitude) noexcept {
  const double s = std::sin(latitude * 3.14159265358979323846 / 180.0);
  return kNewtonNunnA + kNewtonNunnB * s * s - kCarringtonRate;
}

double instantOf(const Sighting& sighting) noexcept {
  const DateTime midnight{static_cast<double>(sighting.date.day), static_cast<double>(sighting.date.month),
                          static_cast<double>(sighting.date.year), 0, 0};
  return julianDay(midnight, CenturyCut::Floor) + sighting.dayFraction;
}

std::optional<double> LineSums::slope() const noexcept {
  const double spread = n * xx - x * x;
  if (n < 2 || spread <= 1e-12 * n * n) return std::nullopt;
  return (n * xy - x * y) / spread;
}

std::optional<Line> fitLine(const std::vector<double>& x, const std::vector<double>& y) {
  const std::size_t n = x.size();
  if (n < 3 || y.size() != n) return std::nullopt;
  double meanX = 0, meanY = 0;
  for (std::size_t i = 0; i < n; ++i) {
    meanX += x[i];
    meanY += y[i];
  }
  meanX /= static_cast<double>(n);
  meanY /= static_cast<double>(n);
  double sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < n; ++i) {
    sxx += (x[i] - meanX) * (x[i] - meanX);
    sxy += (x[i] - meanX) * (y[i] - meanY);
  }
  if (sxx <= 0) return std::nullopt;
  Line line;
  line.slope = sxy / sxx;
  line.intercept = meanY - line.slope * meanX;
  double residuals = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double r = y[i] - line.intercept - line.slope * x[i];
    residuals += r * r;
  }
  const double variance = residuals / static_cast<double>(n - 2);
  line.slopeError = std::sqrt(variance / sxx);
  line.interceptError = std::sqrt(variance * (1.0 / static_cast<double>(n) + meanX * meanX / sxx));
  return line;
}

Track unwrappedTrack(const Region& region, const std::vector<Sighting>& sightings) {
  Track track;
  for (std::size_t i : region.sightings) {
    const Sighting& s = sightings[i];
    track.instants.push_back(instantOf(s));
    const double lon = track.longitudes.empty() ? s.longitude
                                                : track.longitudes.back() + wrap180(s.longitude - track.longitudes.back());
    track.longitudes.push_back(lon);
  }
  return track;
}

Summary summarise(const Region& region, const std::vector<Sighting>& sightings) {
  Summary summary;
  if (region.sightings.empty()) return summary;
  const Track track = unwrappedTrack(region, sightings);
  const double t0 = track.instants.front();
  LineSums line;
  double latitudes = 0;
  const Day* previous = nullptr;
  for (std::size_t k = 0; k < region.sightings.size(); ++k) {
    const Sighting& s = sightings[region.sightings[k]];
    latitudes += s.latitude;
    line.add(track.instants[k] - t0, track.longitudes[k]);
    if (!previous || *previous != s.date) ++summary.days;
    previous = &s.date;
  }
  summary.latitude = latitudes / line.n;
  summary.longitude = wrap360(line.y / line.n);
  summary.drift = line.slope().value_or(0.0);
  return summary;
}

}  // namespace kavrel::journal::regions_math
