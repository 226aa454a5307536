// Degrees and radians as the suite converts them: with the 15-digit value of pi below
// (not the full double), an angle to radians as x * pi / 180 and back as r * 180 / pi,
// left to right: the calculators' own digits. arcsin is built from the arctangent alone.
// The photograph's measures, bound to no such digits, convert with the full double's pi
// (kavrel::precise).
#pragma once

#include <cmath>
#include <numbers>

namespace kavrel {

inline constexpr double kPi = 3.14159265358979;

[[nodiscard]] inline double toRadians(double degrees) noexcept { return degrees * kPi / 180; }
[[nodiscard]] inline double toDegrees(double radians) noexcept { return radians * 180 / kPi; }

namespace precise {
[[nodiscard]] inline double toRadians(double degrees) noexcept { return degrees * std::numbers::pi / 180; }
[[nodiscard]] inline double toDegrees(double radians) noexcept { return radians * 180 / std::numbers::pi; }
}  // namespace precise

// arcsin(s) in degrees, as atan(s / sqrt(1 - s^2)). At |s| >= 1, where that quotient
// would divide by zero or take the root of a negative rounding residue, it gives the
// formula's limit, +/-90.
[[nodiscard]] inline double arcsinDegrees(double s) noexcept {
  if (std::isnan(s)) return s;
  const double root = std::sqrt(1 - s * s);
  if (!(root > 0)) return s < 0 ? -90.0 : 90.0;
  return toDegrees(std::atan(s / root));
}

// arccos(c) in degrees, as 90 - arcsin(c).
[[nodiscard]] inline double arccosDegrees(double c) noexcept { return 90 - arcsinDegrees(c); }

}  // namespace kavrel
