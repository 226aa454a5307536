// The aspect of the Sun at a Julian day: its apparent right ascension and declination,
// the synodic rotation number, the radius vector and apparent semi-diameter, and the
// physical ephemeris of the disc (position angle of the axis P, heliographic latitude
// B0 and longitude L0 of the centre).
//
// Low-precision theory in mean elements of 1900 January 0.5 with the periodic terms
// A to H, and the classical construction of P, B0 and L0 from the elements of the solar
// equator (node 73.66666 deg + 50.25"/year from 1850 January 1.5, inclination 7.25 deg,
// sidereal period 25.38 days from 1854 January 1.5). The rotation count is
// 1 + (j - 2398167.401) / 27.2755, rotation 1 starting 1853 November 9.9.
//
// Every step is evaluated as written, left to right, c T^2 as c * T * T, with the
// 15-digit pi of angles.h: the displayed truncations depend on the last bit.
// Meaningful for a few millennia around 1900; any finite Julian day is computed without
// fault (the arguments of the periodic terms simply grow).
#pragma once

namespace kavrel {

struct SolarAspect {
  double julianDay = 0;
  double rightAscension = 0;  // apparent, decimal hours, 0 <= a < 24 (up to rounding)
  double declination = 0;     // apparent, decimal degrees
  double rotation = 0;        // synodic rotation number, an integer (below 1 before rotation 1)
  double radiusVector = 0;    // astronomical units
  double semiDiameter = 0;    // apparent, minutes of arc
  double p = 0;               // position angle of the rotation axis, degrees
  double b0 = 0;              // heliographic latitude of the centre, degrees
  double l0 = 0;              // heliographic longitude of the centre, degrees, 0 <= L0 < 360
};

[[nodiscard]] SolarAspect solarAspect(double julianDay) noexcept;

// The polar angle, in degrees between -180 and +180, of the point (c1, s1) through which
// the longitude of the centre is found: sign(s1) * arccos(c1 / sqrt(s1^2 + c1^2)). On the
// line of the node (s1 == 0) it is 0 deg for c1 > 0 and 180 deg for c1 < 0.
[[nodiscard]] double centreLongitudeAngle(double c1, double s1) noexcept;

}  // namespace kavrel
