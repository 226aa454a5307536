// The aspect of the Sun at a Julian day (see ephemeris.h).
//
// Input: a Julian day (days, Universal Time). Output: apparent right ascension (hours)
// and declination (degrees), synodic rotation number, radius vector (AU) and apparent
// semi-diameter (minutes of arc), and P, B0, L0 (degrees).
//
// Each quantity is written in the order of its formula, left to right, so that the
// truncated displays agree to the last digit. Trigonometric arguments in degrees go to
// radians through toRadians (x * pi / 180, with the 15-digit pi). Nothing here casts a
// double to an integer: any finite or infinite Julian day gives a result, NaN where
// the theory has none.
#include "sun/ephemeris.h"

#include <cmath>

#include "common/angles.h"
#include "sun/solar_constants.h"

namespace kavrel {

namespace {

// Inclination of the solar equator on the ecliptic, 7.25 deg, in radians: the stored
// product 7.25 * pi divided by 180.
constexpr double kInclination = 22.776546738525976 / 180;

double sinDeg(double degrees) { return std::sin(toRadians(degrees)); }
double cosDeg(double degrees) { return std::cos(toRadians(degrees)); }

// The remainder of x modulo 360, with the sign of x.
double reduce(double x) { return 360 * (x / 360 - std::trunc(x / 360)); }

// The remainder of x modulo 360, brought into 0..360.
double reducePositive(double x) {
  double r = reduce(x);
  if (r < 0) r = r + 360;
  return r;
}

// Synodic rotations counted from the start of rotation 1 (1853 November 9.9).
double rotationCount(double j) { return 1 + (j - 2398167.401) / 27.2755; }

}  // namespace

double centreLongitudeAngle(double c1, double s1) noexcept {
  // On the line of the node the quotient of arcsin divides by zero; the point (c1, 0)
  // lies at 0 deg or at 180 deg.
  if (s1 == 0) {
    if (c1 > 0) return 0;
    if (c1 < 0) return 180;
  }
  const double rho = std::sqrt(s1 * s1 + c1 * c1);
  const double sigma = s1 < 0 ? -1.0 : (s1 > 0 ? 1.0 : 0.0);
  return sigma * arccosDegrees(c1 / rho);
}

namespace {

// The Sun's apparent ecliptic longitude and the obliquity, degrees, and its distance, AU.
struct EclipticSun {
  double lambda = 0;
  double epsilon = 0;
  double radiusVector = 0;
};

EclipticSun eclipticSun(double jd) {
  // Julian centuries from 1900 January 0.5.
  const double t = (jd - 2415020) / 36525;

  // Mean anomaly; its sign does not matter, it only enters sines and cosines.
  double m = 358.47583 + 35999.04975 * t - 0.000150 * t * t - 0.0000033 * t * t * t;
  m = reduce(m);

  // Equation of the centre.
  const double centre = (1.91946 - 0.004789 * t - 0.000014 * t * t) * sinDeg(m) +
                        (0.020094 - 0.0001 * t) * sinDeg(2 * m) + 0.000293 * sinDeg(3 * m);

  // Arguments of the periodic terms, left unreduced.
  const double argA = 153.23 + 22518.7541 * t;
  const double argB = 216.57 + 45037.5082 * t;
  const double argC = 312.69 + 32964.3577 * t;
  const double argD = 350.74 + 445267.1142 * t - 0.00144 * t * t;
  const double argE = 231.19 + 20.2 * t;
  const double argH = 353.4 + 65928.7155 * t;

  // Mean longitude, into 0..360.
  double meanLongitude = 279.69668 + 36000.768925 * t + 0.0003025 * t * t + 0.00134 * cosDeg(argA) +
                         0.00154 * cosDeg(argB) + 0.002 * cosDeg(argC) + 0.00179 * sinDeg(argD) +
                         0.00178 * sinDeg(argE);
  meanLongitude = reducePositive(meanLongitude);

  const double trueLongitude = meanLongitude + centre;
  const double trueAnomaly = m + centre;

  const double e = 0.01675104 - 0.0000418 * t - 0.000000126 * t * t;

  EclipticSun place;
  double r = 1.0000002 * (1 - e * e) / (1 + e * cosDeg(trueAnomaly));
  r = r + 0.00000543 * sinDeg(argA) + 0.00001575 * sinDeg(argB) + 0.00001627 * sinDeg(argC) +
      0.00003076 * cosDeg(argD) + 0.00000927 * sinDeg(argH);
  place.radiusVector = r;

  // Longitude of the Moon's node, for nutation and aberration.
  const double node = reducePositive(259.18327 - 1934.142 * t);

  place.lambda = (trueLongitude - 0.00569) - 0.00479 * sinDeg(node);
  place.epsilon = 23.452294 - 0.0130125 * t - 0.000001638 * t * t + 0.000000503 * t * t * t + 0.00256 * cosDeg(node);
  return place;
}

// Right ascension (hours) and declination (degrees) into `out`.
void placeOnSky(const EclipticSun& place, SolarAspect& out) {
  const double lambda = place.lambda;
  const double epsilon = place.epsilon;
  // Right ascension: the arctangent gives -90..90; the quadrant comes from lambda,
  // which may lie a little below 0 or at or above 360.
  double alpha = toDegrees(std::atan(cosDeg(epsilon) * sinDeg(lambda) / cosDeg(lambda)));
  if (90 <= lambda && lambda < 270) alpha = alpha + 180;
  if (270 <= lambda && lambda < 360) alpha = alpha + 360;
  if (alpha < 0) alpha = alpha + 360;
  out.rightAscension = alpha / 15;

  out.declination = arcsinDegrees(sinDeg(epsilon) * sinDeg(lambda));
}

// P, B0, L0 and the rotation number into `out`.
void orientDisc(double jd, const EclipticSun& place, SolarAspect& out) {
  const double lambda = place.lambda;
  // Ascending node of the solar equator: 73.66666 deg at 1850 January 1.5, moving by
  // 50.25" a year.
  const double k = 73.66666 + ((jd - 2396759) * 50.25 / 365.25) / 3600;

  const double sinI = std::sin(kInclination);
  const double cosI = std::cos(kInclination);

  out.b0 = arcsinDegrees(sinI * sinDeg(lambda - k));

  const double tanEpsilon = sinDeg(place.epsilon) / cosDeg(place.epsilon);
  const double tanI = sinI / cosI;
  const double x = std::atan(tanEpsilon * cosDeg(lambda));
  const double y = std::atan(-cosDeg(lambda - k) * tanI);
  out.p = toDegrees(y - x);

  // Rotation angle of the prime meridian, negated, into 0..360 (Carrington's sidereal
  // period from 1854 January 1.5).
  double theta = 1 - (jd - sun::kCarringtonEpoch) / sun::kCarringtonSiderealDays;
  theta = 360 * (theta - std::trunc(theta));
  if (theta < 0) theta = theta + 360;

  const double c1 = -cosDeg(k - lambda);
  const double s1 = -sinDeg(lambda - k) * cosI;
  out.l0 = reducePositive(theta + centreLongitudeAngle(c1, s1));

  // In the first days of a rotation (L0 just below 360) the count of the day before
  // still names the previous rotation: take the day after instead.
  if (300 < out.l0 && out.l0 < 360) {
    out.rotation = std::floor(rotationCount(jd + 1));
  } else {
    out.rotation = std::floor(rotationCount(jd - 1));
  }
}

}  // namespace

SolarAspect solarAspect(double jd) noexcept {
  SolarAspect out;
  out.julianDay = jd;
  const EclipticSun place = eclipticSun(jd);
  out.radiusVector = place.radiusVector;
  placeOnSky(place, out);
  orientDisc(jd, place, out);
  out.semiDiameter = 16.019666 / place.radiusVector;
  return out;
}

}  // namespace kavrel
