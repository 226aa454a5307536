// Carrington's rotations found on the precise ephemeris (carrington_rotation.h).
#include "sun/carrington_rotation.h"

#include <cmath>

#include "sun/precise_aspect.h"

namespace kavrel {
namespace {

constexpr double kFirstStart = 2398140.2270;       // mean start of rotation 0, Julian day
constexpr double kMeanSynodicPeriod = 27.2752316;  // days
constexpr double kDegreesADay = 360.0 / kMeanSynodicPeriod;

// `angle` brought into (-180, 180].
double signedAngle(double angle) noexcept {
  double a = std::fmod(angle, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a <= -180.0) a += 360.0;
  return a;
}

// The instant near `guess` when L0 equals `longitude`: L0 falls with time, so an L0
// still above the longitude means the passage is ahead.
std::optional<double> passageNear(double guess, double longitude) noexcept {
  double t = guess;
  for (int step = 0; step < 8; ++step) {
    const auto aspect = preciseAspect(t);
    if (!aspect) return std::nullopt;
    const double ahead = signedAngle(aspect->disc.l0 - longitude);
    t += ahead / kDegreesADay;
    if (std::abs(ahead) < 1e-7) return t;
  }
  return t;
}

}  // namespace

std::optional<double> carringtonRotationStart(int rotation) noexcept {
  return passageNear(kFirstStart + kMeanSynodicPeriod * rotation, 0.0);
}

std::optional<double> centralMeridianPassage(int rotation, double longitude) noexcept {
  if (!std::isfinite(longitude)) return std::nullopt;
  const double fraction = (360.0 - longitude) / 360.0;
  return passageNear(kFirstStart + kMeanSynodicPeriod * (rotation + fraction), longitude);
}

std::optional<double> carringtonRotationAt(double julianDayUtc) noexcept {
  if (!std::isfinite(julianDayUtc)) return std::nullopt;
  const auto aspect = preciseAspect(julianDayUtc);
  if (!aspect) return std::nullopt;
  const double fraction = (360.0 - aspect->disc.l0) / 360.0;
  // The mean count may be a rotation off near a start; the fraction settles it.
  const double mean = (julianDayUtc - kFirstStart) / kMeanSynodicPeriod;
  const double whole = std::round(mean - fraction);
  return whole + fraction;
}

}  // namespace kavrel
