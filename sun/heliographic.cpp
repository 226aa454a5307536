#include "sun/heliographic.h"

#include <cmath>
#include <numbers>

#include "common/angles.h"
#include "common/display_mask.h"
#include "sun/ephemeris.h"

namespace kavrel {

double reduce360(double degrees) noexcept {
  double reduced = std::fmod(degrees, 360.0);
  if (reduced < 0) reduced += 360;
  if (reduced >= 360) reduced = 0;
  return reduced;
}

namespace {

bool finite(const DiscOrientation& disc) noexcept {
  return std::isfinite(disc.p) && std::isfinite(disc.b0) && std::isfinite(disc.l0) &&
         std::isfinite(disc.semiDiameter);
}

// A direction from the Sun's centre, in the frame of the disc: toward the east point of
// the disc, toward the Sun's north pole as projected on the disc, toward the observer.
struct DiscFrame {
  double east = 0;
  double north = 0;
  double toward = 0;
};

// The same direction in the Sun's frame: toward the central meridian in the equator's
// plane, toward the west in that plane, toward the north pole.
struct SunFrame {
  double centre = 0;
  double west = 0;
  double pole = 0;
};

SunFrame toSun(const DiscFrame& d, double sinB0, double cosB0) noexcept {
  return {cosB0 * d.toward - sinB0 * d.north, -d.east, sinB0 * d.toward + cosB0 * d.north};
}

DiscFrame toDisc(const SunFrame& s, double sinB0, double cosB0) noexcept {
  return {-s.west, cosB0 * s.pole - sinB0 * s.centre, cosB0 * s.centre + sinB0 * s.pole};
}

}  // namespace

DiscOrientation discOrientation(double julianDay) noexcept {
  const SolarAspect sun = solarAspect(julianDay);
  return {sun.p, sun.b0, sun.l0, sun.semiDiameter / 60};
}

std::optional<DiscInstant> discInstant(const DateTexts& fields) noexcept {
  if (anyEmpty(fields)) return std::nullopt;
  const double jd = julianDay(readDateTime(fields), CenturyCut::TowardZero);
  const DiscOrientation disc = discOrientation(jd);
  if (!std::isfinite(jd) || !finite(disc)) return std::nullopt;
  return DiscInstant{jd, disc};
}

std::string_view refusalMessage(DiscRefusal refusal) noexcept {
  switch (refusal) {
    case DiscRefusal::None:
      return {};
    case DiscRefusal::OutsideDisc:
      return kOutsideDiscMessage;
    case DiscRefusal::NotANumber:
      return kNotANumberMessage;
  }
  return {};
}

DiscRefusal pointRefusal(DiscPoint point) noexcept {
  if (!std::isfinite(point.theta) || !std::isfinite(point.r)) return DiscRefusal::NotANumber;
  if (point.r < 0 || point.r > 1 + kLimbRounding) return DiscRefusal::OutsideDisc;
  return DiscRefusal::None;
}

HeliographicResult heliographicOf(const DiscOrientation& disc, DiscPoint point) noexcept {
  if (!finite(disc)) return {DiscRefusal::NotANumber, {}};
  if (const DiscRefusal refusal = pointRefusal(point); refusal != DiscRefusal::None) return {refusal, {}};
  const double r = point.r > 1 ? 1.0 : point.r;

  // psi = arcsin(r), with its cosine from (1 - r)(1 + r) to keep it exact near the limb.
  const double psi = std::atan2(r, std::sqrt((1 - r) * (1 + r)));
  const double rho = psi - r * toRadians(disc.semiDiameter);

  // chi = P - theta is the position angle from the Sun's north pole counted through west.
  const double chi = toRadians(disc.p - point.theta);
  const DiscFrame d{-std::sin(rho) * std::sin(chi), std::sin(rho) * std::cos(chi), std::cos(rho)};
  const double b0 = toRadians(disc.b0);
  const SunFrame s = toSun(d, std::sin(b0), std::cos(b0));

  Heliographic at;
  at.latitude = toDegrees(std::atan2(s.pole, std::hypot(s.centre, s.west)));
  at.fromCentralMeridian = toDegrees(std::atan2(s.west, s.centre));
  at.longitude = reduce360(disc.l0 + at.fromCentralMeridian);
  return {DiscRefusal::None, at};
}

HeliographicTexts heliographicTexts(const Heliographic& at, std::string_view sep) {
  const std::string zero = "0" + std::string(sep) + "00";
  const auto text = [&](double degrees) {
    std::string shown = formatMask(degrees, mask::kAngle, sep);
    if (shown == "-" + zero) shown = zero;
    return shown;
  };
  std::string longitude = text(at.longitude);
  if (longitude == "360" + std::string(sep) + "00") longitude = zero;
  return {text(at.latitude), longitude, text(at.fromCentralMeridian)};
}

Projection skyPointOf(const DiscOrientation& disc, double latitude, double longitude) noexcept {
  const double b = toRadians(latitude);
  const double dmc = toRadians(longitude - disc.l0);
  const SunFrame s{std::cos(b) * std::cos(dmc), std::cos(b) * std::sin(dmc), std::sin(b)};
  const double b0 = toRadians(disc.b0);
  const DiscFrame d = toDisc(s, std::sin(b0), std::cos(b0));

  // rho from the centre of the disc, then Newton's method on psi - S sin psi = rho,
  // which converges in a few steps since S is a few thousandths of a radian.
  const double rho = std::atan2(std::hypot(d.east, d.north), d.toward);
  const double sd = toRadians(disc.semiDiameter);
  double psi = rho;
  for (int step = 0; step < 8; ++step) {
    const double change = (psi - sd * std::sin(psi) - rho) / (1 - sd * std::cos(psi));
    psi -= change;
    if (!(std::fabs(change) > 1e-16)) break;
  }
  const double r = std::sin(psi);

  // The position angle from the Sun's north pole (through east) is atan2(east, north);
  // turned by P it is the celestial one.
  const double fromPole = toDegrees(std::atan2(d.east, d.north));
  Projection projection;
  projection.at = skyPointOf(DiscPoint{fromPole + disc.p, r});
  // The limb itself is visible, whatever the last bit of psi there.
  projection.visible = psi <= std::numbers::pi / 2 + 1e-12;
  return projection;
}

DiscPoint discPointOf(SkyPoint sky) noexcept {
  const double r = std::hypot(sky.x, sky.y);
  if (r == 0) return {0, 0};
  return {reduce360(toDegrees(std::atan2(-sky.x, sky.y))), r};
}

SkyPoint skyPointOf(DiscPoint point) noexcept {
  const double theta = toRadians(point.theta);
  return {-point.r * std::sin(theta), point.r * std::cos(theta)};
}

double celestialPositionAngle(const DiscOrientation& disc, double fromSolarNorth) noexcept {
  return reduce360(fromSolarNorth + disc.p);
}

double solarPositionAngle(const DiscOrientation& disc, double fromCelestialNorth) noexcept {
  return reduce360(fromCelestialNorth - disc.p);
}

DiscPoint discPointOfDrawing(double x, double y, double diameter, DrawingOrientation orientation) noexcept {
  if (!(diameter > 0) || !std::isfinite(diameter)) return {0, std::nan("")};
  const double radius = diameter / 2;
  // East right is the sky turned over left to right: west is then on the left.
  const double west = orientation == DrawingOrientation::EastLeft ? x : -x;
  return discPointOf(SkyPoint{west / radius, y / radius});
}

}  // namespace kavrel
