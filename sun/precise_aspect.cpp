#include "sun/precise_aspect.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "sun/solar_constants.h"

namespace kavrel {
namespace {

constexpr double kDegree = ERFA_DD2R;
using sun::kPoleDeclination;
using sun::kPoleRightAscension;
using sun::kPrimeMeridianAtJ2000;

using Vector = double[3];

double dot(const Vector a, const Vector b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace

namespace {

// The direction from the Sun to the Earth in the Sun's rotating frame at the light's
// departure: its longitude (Carrington's) and latitude, radians. ICRS -> Sun-fixed is
// Rz(W) Rx(90 deg - delta0) Rz(90 deg + alpha0).
struct Direction {
  double longitude = 0;
  double latitude = 0;
};

Direction sunFixedDirection(Vector toEarth, double tt1, double tt2, double lightTime) {
  const double days = (tt1 - ERFA_DJ00) + tt2 - lightTime;
  const double meridian = kPrimeMeridianAtJ2000 + sun::kRotationDegreesPerDay * days;
  double sunFixed[3][3];
  eraIr(sunFixed);
  eraRz((90 + kPoleRightAscension) * kDegree, sunFixed);
  eraRx((90 - kPoleDeclination) * kDegree, sunFixed);
  eraRz(std::fmod(meridian, 360.0) * kDegree, sunFixed);
  Vector earthFixed;
  eraRxp(sunFixed, toEarth, earthFixed);
  Direction direction;
  eraC2s(earthFixed, &direction.longitude, &direction.latitude);
  return direction;
}

// P, radians: the pole and the Sun's direction in the true equator of date, the Sun where
// it is seen, displaced by the aberration of the Earth's motion (20").
double positionAngle(const Vector toEarth, const Vector earthVelocity, double tt1, double tt2, double lightTime) {
  double equatorOfDate[3][3];
  eraPnm06a(tt1, tt2, equatorOfDate);
  Vector pole;
  eraS2c(kPoleRightAscension * kDegree, kPoleDeclination * kDegree, pole);
  Vector toSun = {-toEarth[0] + earthVelocity[0] * lightTime, -toEarth[1] + earthVelocity[1] * lightTime,
                  -toEarth[2] + earthVelocity[2] * lightTime};
  Vector poleOfDate;
  Vector sunOfDate;
  eraRxp(equatorOfDate, pole, poleOfDate);
  eraRxp(equatorOfDate, toSun, sunOfDate);
  double sunRightAscension = 0;
  double sunDeclination = 0;
  eraC2s(sunOfDate, &sunRightAscension, &sunDeclination);
  const Vector east = {-std::sin(sunRightAscension), std::cos(sunRightAscension), 0};
  const Vector north = {-std::sin(sunDeclination) * std::cos(sunRightAscension),
                        -std::sin(sunDeclination) * std::sin(sunRightAscension), std::cos(sunDeclination)};
  return std::atan2(dot(poleOfDate, east), dot(poleOfDate, north));
}

}  // namespace

std::optional<PreciseAspect> preciseAspect(double julianDayUtc) noexcept {
  if (!std::isfinite(julianDayUtc)) return std::nullopt;
  // ERFA wants the day's start and its fraction apart, so that a leap-second day is known.
  const double utc1 = std::floor(julianDayUtc - 0.5) + 0.5;
  const double utc2 = julianDayUtc - utc1;
  double tai1 = 0;
  double tai2 = 0;
  double tt1 = 0;
  double tt2 = 0;
  if (eraUtctai(utc1, utc2, &tai1, &tai2) < 0 || eraTaitt(tai1, tai2, &tt1, &tt2) != 0) return std::nullopt;

  double heliocentric[2][3];
  double barycentric[2][3];
  eraEpv00(tt1, tt2, heliocentric, barycentric);  // its status only warns outside 1900-2100
  // From the Sun to the Earth, ICRS, au.
  Vector toEarth = {heliocentric[0][0], heliocentric[0][1], heliocentric[0][2]};
  const double distance = std::sqrt(dot(toEarth, toEarth));
  if (!(distance > 0)) return std::nullopt;
  const double lightTime = distance * sun::kLightDaysPerAu;

  const Direction earth = sunFixedDirection(toEarth, tt1, tt2, lightTime);
  const double p = positionAngle(toEarth, barycentric[1], tt1, tt2, lightTime);

  PreciseAspect aspect;
  aspect.distanceAu = distance;
  aspect.disc.p = p / kDegree;
  aspect.disc.b0 = earth.latitude / kDegree;
  aspect.disc.l0 = reduce360(earth.longitude / kDegree);
  aspect.disc.semiDiameter = std::asin(sun::kRadiusMetres / (distance * sun::kMetresPerAu)) / kDegree;
  return aspect;
}

std::optional<DiscOrientation> preciseDiscOrientation(double julianDayUtc) noexcept {
  const std::optional<PreciseAspect> aspect = preciseAspect(julianDayUtc);
  if (!aspect) return std::nullopt;
  return aspect->disc;
}

std::optional<DiscInstant> preciseDiscInstant(const DateTexts& fields) noexcept {
  if (anyEmpty(fields)) return std::nullopt;
  const double jd = julianDay(readDateTime(fields), CenturyCut::TowardZero);
  const std::optional<DiscOrientation> disc = preciseDiscOrientation(jd);
  if (!disc) return std::nullopt;
  return DiscInstant{jd, *disc};
}

}  // namespace kavrel
