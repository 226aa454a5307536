// Where a pixel of a solar photograph lies on the disc, and back: position angle and
// distance from the centre, then heliographic latitude and longitude at an instant.
//
// Pixel coordinates: x from the left edge, y from the top edge of the image as displayed,
// in pixels, (0, 0) the centre of the top-left pixel.
//
// The orientation of an image is the direction of celestial north, as an angle in degrees
// from the top of the image counted counter-clockwise as displayed (0: north up, 90: north
// to the left). East lies 90 deg counter-clockwise from north, as in the sky, unless the
// image is mirrored ("Est à droite": a star diagonal, a projection screen, a mirror),
// where it lies 90 deg clockwise. It is given in one of three ways:
//  - the angle of celestial north itself;
//  - the angle of the Sun's north pole (space-observatory images are turned solar north
//    up). The pole lies at position angle P from celestial north through east, and east
//    turns counter-clockwise on an upright image, clockwise on a mirrored one, so celestial
//    north is at the pole's angle - P, or + P when mirrored;
//  - the drift: two positions of one feature taken with the telescope's drive stopped. The
//    sky drifts west, so north lies 90 deg clockwise of the drift on an upright image,
//    counter-clockwise on a mirrored one.
// Position angle theta (degrees from celestial north through east, 0..360) and distance r
// (disc radii) are those of sun/heliographic.h. The mapping is exact for the circle given;
// its errors are the limb's (0.1 px on a 100 px radius is 0.001 in r) and the
// orientation's.
#pragma once

#include <optional>
#include <string_view>

#include "photo/limb.h"
#include "sun/heliographic.h"

namespace kavrel::photo {

enum class NorthGiven { Celestial, Solar, Drift };

struct ImageOrientation {
  NorthGiven given = NorthGiven::Celestial;
  double angle = 0;        // degrees counter-clockwise from the top (Celestial, Solar)
  bool mirrored = false;   // "Est à droite"
  PixelPoint driftFrom{};  // Drift: the feature, then the same feature later
  PixelPoint driftTo{};
};

inline constexpr std::string_view kDriftTooShortMessage =
    "Les deux positions de la dérive sont confondues : laissez le Soleil dériver plus longtemps.";
inline constexpr std::string_view kOrientationNotANumberMessage = "L'orientation de l'image n'est pas un nombre.";

struct NorthOutcome {
  std::optional<double> angle;  // celestial north, degrees counter-clockwise from the top, [0, 360)
  std::string_view reason;
};

// The celestial north of an image. `disc` gives P for a solar north and is unused
// otherwise. A drift shorter than 1 px or a non-finite input is refused.
[[nodiscard]] NorthOutcome celestialNorth(const ImageOrientation& orientation, const DiscOrientation& disc) noexcept;

// A photograph placed on the sky: its limb and where celestial north points.
struct ImageFrame {
  Circle limb{};
  double north = 0;  // degrees counter-clockwise from the top
  bool mirrored = false;
};

// The disc point of a pixel (r may exceed 1: the pixel is then off the disc) and the pixel
// of a disc point (for drawing the heliographic grid over the image).
[[nodiscard]] DiscPoint discPointOfPixel(const ImageFrame& frame, PixelPoint pixel) noexcept;
[[nodiscard]] PixelPoint pixelOfDiscPoint(const ImageFrame& frame, DiscPoint point) noexcept;

// B, L and DMC of a pixel at the instant whose orientation is `disc`; refused off the disc
// as heliographicOf refuses it.
[[nodiscard]] HeliographicResult heliographicOfPixel(const ImageFrame& frame, const DiscOrientation& disc,
                                                     PixelPoint pixel) noexcept;

// The pixel of latitude B and Carrington longitude L (degrees) at that instant, for the
// heliographic grid; visible false on the far side (drawn where the orthographic
// projection puts it, inside the limb) and for non-finite inputs (a NaN pixel).
struct PixelProjection {
  PixelPoint at{};
  bool visible = false;
};
[[nodiscard]] PixelProjection pixelOfHeliographic(const ImageFrame& frame, const DiscOrientation& disc,
                                                  double latitude, double longitude) noexcept;

}  // namespace kavrel::photo
