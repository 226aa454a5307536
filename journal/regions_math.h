// The arithmetic the regions share (regions.cpp, regions_rotation.cpp): angles wrapped,
// the drift Newton and Nunn's law gives at a latitude, a sighting's instant, a least-squares
// line, and a region's mean place and drift. Degrees, days, Julian days of UT.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "journal/regions.h"

namespace kavrel::journal::regions_math {

// Carrington's frame turns this many degrees a day, sidereal.
inline constexpr double kCarringtonRate = 14.1844;

// An angle brought into [-180, 180).
[[nodiscard]] double wrap180(double degrees) noexcept;
// An angle brought into [0, 360).
[[nodiscard]] double wrap360(double degrees) noexcept;
// Degrees of Carrington longitude a day a group at `latitude` drifts by Newton and Nunn.
[[nodiscard]] double lawDrift(double latitude) noexcept;
// The sighting's instant, Julian day of UT.
[[nodiscard]] double instantOf(const Sighting& sighting) noexcept;

// Running sums of a least-squares line y = a + b x.
struct LineSums {
  double n = 0, x = 0, y = 0, xx = 0, xy = 0, yy = 0;
  void add(double xi, double yi) noexcept {
    n += 1;
    x += xi;
    y += yi;
    xx += xi * xi;
    xy += xi * yi;
    yy += yi * yi;
  }
  // None with fewer than two points or all at one x.
  [[nodiscard]] std::optional<double> slope() const noexcept;
};

struct Line {
  double intercept = 0;
  double slope = 0;
  double interceptError = 0;  // standard errors, from the residuals' scatter (n > 2)
  double slopeError = 0;
};
// Least squares through (x, y); none with fewer than three points or all at one x.
[[nodiscard]] std::optional<Line> fitLine(const std::vector<double>& x, const std::vector<double>& y);

// A region's sightings' instants and Carrington longitudes, each longitude continuing the
// previous one across 0/360.
struct Track {
  std::vector<double> instants;
  std::vector<double> longitudes;
};
[[nodiscard]] Track unwrappedTrack(const Region& region, const std::vector<Sighting>& sightings);

struct Summary {
  int days = 0;
  double latitude = 0;   // mean
  double longitude = 0;  // mean of the unwrapped longitudes, back into [0, 360)
  double drift = 0;      // slope of the longitudes against time, degrees a day; 0 on one day
};
[[nodiscard]] Summary summarise(const Region& region, const std::vector<Sighting>& sightings);

}  // namespace kavrel::journal::regions_math
