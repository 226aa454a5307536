// Where an observatory's FITS header puts its Sun: the limb circle, the orientation, the
// instant and the disc's P, B0, L0 and semi-diameter seen by its observer, or the keywords
// that are missing; and whether that limb agrees with the one found on the image.
//
// Given the header's keywords (image/file_geometry.h), its date (DATE-OBS or T_OBS, UTC)
// and the image's size in pixels. The world coordinates are read as helioprojective
// (CTYPE HPLN/HPLT or SOLAR_X/Y, or none: x toward solar west, y toward solar north) or
// equatorial (RA/DEC: orientation only, the Sun's centre is not where CRVAL is). The
// matrix from pixels to world is CDi_j, else CDELTi x PCi_j, else CDELT with CROTA2 (0 when
// absent); CUNIT arcsec by default, deg, arcmin, mas or rad accepted. The projection is
// taken as linear about the Sun's centre (the TAN projection differs by x^2/3: under
// 0.01 px on the radius of a full disc).
//
// Pixels as in photo/limb.h: x from the left, y from the top of the image as displayed,
// (0, 0) the centre of the top-left pixel. A FITS image is displayed with its first row at
// the bottom and its pixels count from 1: FITS pixel (i, j) is (i - 1, height - j).
//
// The orientation is the direction of solar north (NorthGiven::Solar, helioprojective) or
// of celestial north (equatorial), counter-clockwise from the top as displayed; mirrored
// when the axes turn the other way than the sky's (west right of north up for
// helioprojective axes, east left for equatorial ones). The limb's radius is RSUN_OBS,
// else arcsin(RSUN_REF / DSUN_OBS) (RSUN_REF 695 700 km when absent), over the pixel's
// size (the mean of the two axes').
//
// The disc: B0 and L0 are the observer's (CRLT_OBS, CRLN_OBS; else HGLT_OBS and
// HGLN_OBS plus the Earth's L0, less the rotation during the difference of their light
// times), the semi-diameter that of the limb; where the header
// gives no observer they come from the precise ephemeris (sun/precise_aspect.h), the
// observer at the Earth's centre. P is always the Earth's from the ephemeris: an image
// oriented on solar north needs it only to go to celestial north and back, where it
// cancels.
//
// Use: with limb, orientation and disc all present the photograph needs nothing typed:
//   north = celestialNorth(*g.orientation, *g.disc);
//   frame = ImageFrame{*g.limb, *north.angle, g.orientation->mirrored};
//   heliographicOfPixel(frame, *g.disc, pixel);
// the limb found on the image may stand in for the header's (compareLimbs says whether they
// agree); where only the orientation is given, the instant and the limb come from the user.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/file_geometry.h"
#include "image/observation_date.h"
#include "photo/image_orientation.h"
#include "photo/limb.h"
#include "sun/heliographic.h"

namespace kavrel::photo {

struct HeaderGeometry {
  std::optional<Circle> limb;
  std::optional<ImageOrientation> orientation;
  std::optional<double> julianDay;     // UTC, with its seconds
  std::optional<DiscOrientation> disc;  // needs the instant
  bool observerGiven = false;          // B0 and L0 from the header, not the ephemeris
  std::string_view centreKeywords;     // those the limb's centre and radius came from, for messages
  std::string_view radiusKeywords;
  std::vector<std::string_view> missing;  // the keywords lacking for what is absent, e.g. "CRPIX1"
};

// A file's instant (FITS DATE-OBS or T_OBS, EXIF) as a Julian day of UTC with its
// seconds; none without a time of day.
[[nodiscard]] std::optional<double> julianDayOfObservation(const image::ObservationDate& observed) noexcept;

[[nodiscard]] HeaderGeometry headerGeometry(const image::FileGeometry& keywords,
                                            const std::optional<image::ObservationDate>& observed, int width,
                                            int height);

// "L'en-tête du fichier ne donne pas : CRPIX1, RSUN_OBS."; empty when nothing is missing.
[[nodiscard]] std::string missingKeywordsText(const HeaderGeometry& header);

// The header's limb differs from the one found on the image when their centres or radii
// are more than kLimbTolerancePixels, or kLimbToleranceFraction of the radius if larger,
// apart: beyond the found limb's own error (0.1 px) and a header rounded to the pixel, a
// header that describes another image (cropped, binned, turned).
inline constexpr double kLimbTolerancePixels = 3;
inline constexpr double kLimbToleranceFraction = 0.01;

struct LimbAgreement {
  bool consistent = true;
  double centreOffset = 0;  // pixels
  double radiusOffset = 0;  // pixels, the header's radius minus the found one
  std::string reason;       // French, naming the keywords; empty when consistent
};

// None when the header gives no limb.
[[nodiscard]] std::optional<LimbAgreement> compareLimbs(const HeaderGeometry& header, const Circle& found,
                                                        std::string_view decimalSeparator);

}  // namespace kavrel::photo
