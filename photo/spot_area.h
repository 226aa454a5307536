// The area of a sunspot on a photograph, from one point inside it.
//
// Pixel coordinates: x from the left edge, y from the top edge of the image as displayed,
// in pixels, (0, 0) the centre of the top-left pixel; the limb as findLimb or
// circleThroughPoints gives it.
//
// Assumes a disc brighter than the sky whose limb darkening depends on the distance from
// the centre only. The darkening is measured on the image itself: the median intensity in
// 20 rings of equal width in mu = sqrt(1 - r^2) (a subsample of about 40,000 pixels of the
// disc), fitted by a quadratic in mu; each pixel is divided by it. The quiet Sun around the
// point is the median of these ratios in a square of 0.3 disc radius centred on it (robust
// while the spot fills less than half of it). The spot is the 4-connected region of pixels
// on the disc, reached from the point by a flood fill with an explicit stack, whose ratio
// is below spotThreshold times the quiet Sun. Its umbra is the spot's pixels below a
// boundary found in the spot's own brightness: the histogram of its pixels (shares of the
// quiet Sun) smoothed, the dip between its highest mode and the next one parted from it
// (umbra and penumbra), the middle of that dip's floor; where there is no such dip (a
// pore, a spot of fewer than 60 pixels) or when asked, the fixed share umbraThreshold. A
// fixed share misjudges 8-bit quick-looks, whose penumbra may lie below 0.60 of the quiet
// Sun and whose umbra is clipped at 0: on the 2014 SDO/HMI 4096 px JPEG quick-look, its
// large spot gives an umbra of 56 of 343 MSH at the dip, 185 at 0.60. A point that is not itself dark is moved to the darkest dark
// pixel within 3 px, as a click rarely falls on the spot's darkest pixel.
//
// Areas: projected, in millionths of the disc (pixels / (pi R^2) x 1e6); corrected for
// foreshortening pixel by pixel, in millionths of the solar hemisphere (MSH: the sum of
// 1/mu over the pixels / (2 pi R^2) x 1e6, mu at each pixel's centre, floored at 0.1).
// Beyond r = 0.95 (mu < 0.3) a pixel spans so much of the Sun that the corrected area is
// rough. Measured (tests/photo/spot_area_test.cpp and like caps, a disc of 180 px radius
// with limb darkening u = 0.6 and 1 % noise): spherical caps of 300 to 3000 MSH from the
// centre to r = 0.9 within 3.5 %, their umbrae within 7 % (pixels straddling the edge
// count in, so areas come out a little large); 2.5 to 3 ms of processor time for a spot
// of 10,000 pixels on a 4096 x 4096 image (bench/photo_bench.cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "image/grey_image.h"
#include "photo/limb.h"

namespace kavrel::photo {

// Where the umbra ends: at the dip of the spot's own histogram between the umbra's mode
// and the penumbra's (the fixed share where it has no such dip), or at the fixed share.
enum class UmbraBoundary { SpotHistogram, FixedShare };

struct SpotThresholds {
  double spot = 0.90;   // of the quiet Sun around it
  double umbra = 0.60;  // the fixed share
  double largestShareOfDisc = 0.03;  // a larger region has leaked out of the spot
  UmbraBoundary boundary = UmbraBoundary::SpotHistogram;
};

struct Area {
  long pixels = 0;
  double projected = 0;   // millionths of the disc
  double hemisphere = 0;  // millionths of the solar hemisphere (MSH)
};

// What a window needs to draw the spot: its cells over the bounding box, row by row.
enum class SpotCell : std::uint8_t { Outside = 0, Penumbra = 1, Umbra = 2 };
struct SpotMask {
  int left = 0, top = 0, width = 0, height = 0;  // pixels
  std::vector<SpotCell> cells;                   // width * height
};

struct SpotMeasure {
  Area whole;
  Area umbra;
  double quietSun = 0;  // the quiet Sun around it, as a share of the limb-darkening fit
  SpotMask mask;
  SpotThresholds thresholds;  // those it was measured with
  double umbraLevel = 0;      // the umbra's boundary used, a share of the quiet Sun
  bool umbraFromDip = false;  // found at the dip of the spot's histogram
};

inline constexpr std::string_view kOffDiscMessage = "Le point choisi est hors du disque.";
inline constexpr std::string_view kNotInSpotMessage = "Le point choisi n'est pas dans une tache.";
inline constexpr std::string_view kSpotLeaksMessage =
    "La tache déborde sur le disque : la région trouvée est trop grande, baissez le seuil.";
inline constexpr std::string_view kNoQuietSunMessage =
    "L'assombrissement du bord ne peut pas être mesuré sur cette image.";
inline constexpr std::string_view kBadThresholdsMessage =
    "Les seuils doivent être compris entre 0 et 1, celui de l'ombre sous celui de la tache.";

struct SpotOutcome {
  std::optional<SpotMeasure> measure;
  std::string_view reason;  // French, empty when measured
};

[[nodiscard]] SpotOutcome measureSpot(image::GreyView image, const Circle& limb, PixelPoint inside,
                                      const SpotThresholds& thresholds = {});

}  // namespace kavrel::photo
