// Heliographic coordinates of points on the Sun's disc, for one instant.
//
// Given: the orientation of the disc at a Julian day as the ephemeris gives it (position
// angle of the axis P, heliographic latitude B0 and longitude L0 of the centre, all in
// degrees, and the apparent semi-diameter S, here in degrees).
//
// Conventions:
//  - position angle theta of a point of the disc: degrees from the north point of the disc
//    (celestial north) through east: 0 north, 90 east, 180 south, 270 west; measured from
//    the Sun's north pole instead, theta + P is the celestial one;
//  - distance r from the centre in disc radii, 0 <= r <= 1 (1 on the limb);
//  - sky coordinates (x, y) in disc radii, north up and east left as seen in the sky:
//    x = -r sin(theta), y = r cos(theta);
//  - heliographic latitude B (north positive), Carrington longitude L in 0..360, and the
//    distance to the central meridian DMC = L - L0 in -180..180, negative east, positive west.
//
// Disc -> Sun. The heliocentric angle between the centre of the disc and the point is
//   rho = arcsin(r) - r S
// (the Sun seen from a finite distance: the limb r = 1 lies at 90 deg - S from the centre,
// not 90 deg). With chi = P - theta,
//   sin B         = sin B0 cos rho + cos B0 sin rho cos chi
//   cos B sin DMC = sin rho sin chi
//   cos B cos DMC = cos B0 cos rho - sin B0 sin rho cos chi
// B and DMC both come from two-argument arctangents, so that they keep their full precision
// near the poles and a point beyond 90 deg of the central meridian (seen over a pole tilted
// toward us) gets its true side. L = L0 + DMC, into 0..360.
// Sun -> disc runs the same rotation backwards and solves arcsin(r) - r S = rho for r
// (Newton's method on psi = arcsin(r): psi - S sin psi = rho, a few steps).
// Disc -> Sun -> disc comes back to better than 1e-9 of a radius over the whole disc.
//
// Validity: the geometry is exact for a spherical Sun; the coordinates are as good as the
// P, B0, L0 and S given (with the suite's ephemeris, within 0.01 deg in B and 0.1 deg in
// L of a modern one over 1950-2050 inside r = 0.95; see the README). Near the limb a small error of the measured r turns into a
// large one of B and L (d rho / d r grows as 1 / sqrt(1 - r^2)).
// A distance r above 1 by no more than kLimbRounding (the rounding of a point measured on
// the limb) is taken as the limb; beyond it, or below 0, the point is refused. A non-finite
// input (in the point or the orientation) is refused, never turned into a NaN.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/julian_day.h"

namespace kavrel {

struct DiscOrientation {
  double p = 0;             // degrees
  double b0 = 0;            // degrees
  double l0 = 0;            // degrees, 0 <= L0 < 360
  double semiDiameter = 0;  // degrees (the ephemeris gives minutes: divide by 60)
};

// The orientation at a Julian day, from the suite's ephemeris of the Sun.
[[nodiscard]] DiscOrientation discOrientation(double julianDay) noexcept;

// The instant of a date window's five fields (day, month, year, hour, minute of UT, read
// as the solar-aspect window reads them) and the disc's orientation then. None while a
// field is empty, or where the theory gives no finite orientation (years far beyond it).
struct DiscInstant {
  double julianDay = 0;
  DiscOrientation disc{};
};
[[nodiscard]] std::optional<DiscInstant> discInstant(const DateTexts& fields) noexcept;

struct DiscPoint {
  double theta = 0;  // position angle, degrees from celestial north through east
  double r = 0;      // disc radii
};

struct SkyPoint {
  double x = 0;  // disc radii, positive toward the west (right, with east left)
  double y = 0;  // disc radii, positive toward the north
};

struct Heliographic {
  double latitude = 0;    // B, degrees
  double longitude = 0;   // L, Carrington, degrees in [0, 360)
  double fromCentralMeridian = 0;  // DMC, degrees in [-180, 180]
};

// Why a point gives no heliographic position.
enum class DiscRefusal { None, OutsideDisc, NotANumber };

// How far above 1 a distance is still the limb.
inline constexpr double kLimbRounding = 1e-12;

inline constexpr std::string_view kOutsideDiscMessage =
    "Le point est en dehors du disque solaire : la distance au centre doit être comprise entre 0 et 1.";
inline constexpr std::string_view kNotANumberMessage = "La position du point n'est pas un nombre.";

// The French message of a refusal; empty for DiscRefusal::None.
[[nodiscard]] std::string_view refusalMessage(DiscRefusal refusal) noexcept;

struct HeliographicResult {
  DiscRefusal refusal = DiscRefusal::None;
  Heliographic at{};  // all zero when refused
};

// Why a point, whatever the instant, gives no heliographic position; None when it can.
[[nodiscard]] DiscRefusal pointRefusal(DiscPoint point) noexcept;

// Disc point -> Sun. r > 1 (beyond rounding), r < 0 or a non-finite input is refused.
[[nodiscard]] HeliographicResult heliographicOf(const DiscOrientation& disc, DiscPoint point) noexcept;

// B, L and DMC as shown: degrees rounded to hundredths with the given decimal separator
// ("-12,35"); a value rounding to zero shows without sign, an L rounding to 360 shows 0.
struct HeliographicTexts {
  std::string latitude;
  std::string longitude;
  std::string fromCentralMeridian;
};
[[nodiscard]] HeliographicTexts heliographicTexts(const Heliographic& at, std::string_view decimalSeparator);

struct Projection {
  SkyPoint at{};
  bool visible = false;  // on the part of the Sun seen from the Earth (within the limb)
};

// Sun -> disc: the point of latitude B and Carrington longitude L (degrees). A point of
// the far side is projected too, as the orthographic projection puts it (inside the
// disc's circle), with visible false; non-finite inputs give a NaN point, not visible.
[[nodiscard]] Projection skyPointOf(const DiscOrientation& disc, double latitude, double longitude) noexcept;

// An angle in degrees into [0, 360); a value just below 0 that would round to 360 gives
// 0. A non-finite angle stays NaN.
[[nodiscard]] double reduce360(double degrees) noexcept;

// Sky <-> disc point; theta comes out in [0, 360), 0 at the centre.
[[nodiscard]] DiscPoint discPointOf(SkyPoint sky) noexcept;
[[nodiscard]] SkyPoint skyPointOf(DiscPoint point) noexcept;

// The position angle of a point measured from the Sun's north pole, turned into the
// celestial one (theta + P), and back; both in [0, 360).
[[nodiscard]] double celestialPositionAngle(const DiscOrientation& disc, double fromSolarNorth) noexcept;
[[nodiscard]] double solarPositionAngle(const DiscOrientation& disc, double fromCelestialNorth) noexcept;

// How a drawing is turned: east left as in the sky or on a photograph; east right on a
// projection screen or after a mirror. North is up in both.
enum class DrawingOrientation { EastLeft, EastRight };

// A point measured on a drawing, x right and y up, in millimetres from the centre of a
// disc drawn `diameter` millimetres across, as a disc point. A diameter that is not
// positive and finite gives r = NaN (which heliographicOf refuses).
[[nodiscard]] DiscPoint discPointOfDrawing(double x, double y, double diameter,
                                           DrawingOrientation orientation) noexcept;

}  // namespace kavrel
