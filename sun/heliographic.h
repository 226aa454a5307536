// Heliographic coordinates of points on the Sun's disc, for one instant.
//
// Given: the orientation of the disc at a Julian day as the ephemeris gives it (position
// angle of the axis P, heliographic latitude B0 and longitude L0 of the centre, all in
// degrees, and the apparent semi-diameter in minutes of arc).
//
// Conventions:
//  - position angle theta of a point of the disc: degrees from the north point of the disc
//    (celestial north) through east: 0 north, 90 east, 180 south, 270 west;
//  - distance r from the centre in disc radii, 0 <= r <= 1;
//  - sky coordinates (x, y) in disc radii, north up and east left as seen in the sky:
//    x = -r sin(theta), y = r cos(theta);
//  - heliographic latitude B (north positive), Carrington longitude L in 0..360, and the
//    distance to the central meridian DMC = L - L0 in -180..180, negative east, positive west.
//
// TODO(disque-core): implementation, validity notes and the limb correction.
#pragma once

#include <optional>

namespace kavrel {

struct DiscOrientation {
  double p = 0;             // degrees
  double b0 = 0;            // degrees
  double l0 = 0;            // degrees, 0 <= L0 < 360
  double semiDiameter = 0;  // degrees (the ephemeris gives minutes: divide by 60)
};

// The orientation at a Julian day, from the suite's ephemeris of the Sun.
[[nodiscard]] DiscOrientation discOrientation(double julianDay) noexcept;

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

struct HeliographicResult {
  DiscRefusal refusal = DiscRefusal::None;
  Heliographic at{};
};

// Disc point -> Sun. r > 1 (beyond rounding) or a non-finite input is refused.
[[nodiscard]] HeliographicResult heliographicOf(const DiscOrientation& disc, DiscPoint point) noexcept;

struct Projection {
  SkyPoint at{};
  bool visible = false;  // on the hemisphere turned toward the observer
};

// Sun -> disc: the point of latitude B and Carrington longitude L (degrees).
[[nodiscard]] Projection skyPointOf(const DiscOrientation& disc, double latitude, double longitude) noexcept;

[[nodiscard]] DiscPoint discPointOf(SkyPoint sky) noexcept;
[[nodiscard]] SkyPoint skyPointOf(DiscPoint point) noexcept;

// How a drawing is turned: east left as in the sky or on a photograph; east right on a
// projection screen or after a mirror.
enum class DrawingOrientation { EastLeft, EastRight };

// A point measured on a drawing, x right and y up, in millimetres from the centre of a
// disc drawn `diameter` millimetres across, as a disc point.
[[nodiscard]] DiscPoint discPointOfDrawing(double x, double y, double diameter,
                                           DrawingOrientation orientation) noexcept;

}  // namespace kavrel
