// The Sun's limb on a photograph: the circle of the disc's edge, found automatically or
// through three points picked by hand.
//
// Pixel coordinates: x from the left edge, y from the top edge of the image as displayed,
// in pixels, (0, 0) the centre of the top-left pixel. Samples are float, NaN a blank pixel.
//
// Assumes a disc brighter than the sky with at least half its limb inside the frame; limb
// darkening, noise, uneven lighting, spots, prominences and a passing cloud are allowed.
// Method: the disc is told from the sky by Otsu's threshold on a histogram of a subsample
// (at most 256 samples a side, the extreme 0.1 % clipped, NaN counted with the darkest
// samples: a blank sky is sky, however dark the disc's limb). From the centroid
// of the disc's samples 180 rays are cast; along each, the last crossing of a level a fifth
// of the way from the sky to the disc is found on a coarse step (the nearest pixel), then
// the steepest fall of a lightly smoothed profile (bilinear, every half pixel) near it, to
// a fraction of a pixel by a parabola through the gradient's peak. A ray that meets the
// frame before its fall gives no point; past the frame the profile keeps the frame's
// sample, so that a limb a pixel from the frame keeps its window. A blank pixel is sky
// (a field cut round, an observatory's product blanked beyond the limb). Where the blank
// begins at the fall itself, no pixel from the fall to the blank is sky (under 35 % of the
// way from the sky to the disc just inside): the limb point is then the data's edge, where
// the ray leaves the last pixel with data, which for a product blanked from the limb is
// the limb to a few hundredths of a pixel on average. The circle is fitted algebraically,
// refitted after clipping the points beyond 3 robust sigmas, then refined geometrically
// (Gauss-Newton). Then 720 rays are recast from
// the fitted centre, searching within a fifth of a radius of the first circle, and fitted
// again: the centroid is biased where the frame cuts the disc.
//
// The steepest fall of a limb-darkened disc lies inside its edge: just inside, the disc's
// light falls as sqrt(R - r) (mu = sqrt(1 - (r/R)^2) goes to zero), and blurred by the
// seeing, the optics and the pixels, that fall pulls the gradient's peak inward. Measured
// on made-up discs (radius 70 to 130 px, u 0.6, noise 2 %), the radius came out 0.07 px
// short when sharp, 0.15 px blurred by 1 px, 0.34 px by 2 px, 0.33 px for u 0.8 blurred by
// 1 px, within 0.01 px without darkening; 0.07 to 0.08 px short on sunpy's maps of 400 px
// radius. So the radius is moved to the edge of a model fitted to the mean profile across
// the circle (8 px either side, the rays whose profile is whole in the frame and not
// blank): the sky S outside, A + B sqrt(e - d) inside, blurred by a Gaussian of width
// sigma (0.25 to 3 px), S, A and B >= 0 by least squares for each e and sigma. Left as
// found where the profile is whole on under an eighth of the rays (blank just beyond the
// limb: the data's edge is the limb), the radius is under 32 px, the blur is outside that
// range, the edge moves more than 1 px, or B / (A - S) exceeds that of u = 0.9 (levels that
// are not the light's, as a stretched quick-look's). After it: -0.008 px on average (worst
// -0.014) sharp, -0.015 (-0.030) blurred by 1 px, -0.033 (-0.079) by 2 px, -0.028 (-0.048)
// for u 0.8; within 0.003 px of the header on sunpy's maps; on a real SOHO/MDI image
// 0.032 px beyond its header's radius (0.019 px short before).
//
// Refused, with kNoLimbMessage, where no limb is found: under a third of the 720 rays kept,
// a residual above 1.5 px or 1 % of the radius, a radius outside 8 px .. the image's larger
// side, or a circle whose inside and outside do not agree with the histogram's classes (an
// image of noise, a landscape, a gradient); never an invented circle.
//
// Measured (tests/photo/limb_test.cpp and 60 random discs of 70 to 130 px radius, limb
// darkening u = 0.6, Gaussian noise of 2 % of the centre): the centre within 0.02 px, the
// radius within 0.02 px, also off centre, cut by the frame to half the limb, under a 40 %
// lighting gradient, with a spot on the limb, a prominence, a cloud, or blank pixels beyond
// the limb. With
// every pixel blank beyond R + k (k from 0 to 5 px; radii 46 to 230 px, 100 x 100 to
// 512 x 512 images, the limb 2 px from the frame on the smallest): centre and radius
// within 0.14 px, the worst where k is a quarter of a pixel (the pixels the limb crosses
// half kept). 8 to 12 ms of processor time on a 4096 x 4096 image, blank beyond the limb
// or not (bench/photo_bench.cpp); the edge's model adds about 4 ms where it is fitted.
#pragma once

#include <optional>
#include <string_view>

#include "image/grey_image.h"

namespace kavrel::photo {

struct PixelPoint {
  double x = 0;  // pixels from the centre of the left column
  double y = 0;  // pixels from the centre of the top row
};

struct Circle {
  PixelPoint centre{};
  double radius = 0;  // pixels
};

struct Limb {
  Circle circle{};
  double rms = 0;      // pixels, the points kept about the circle
  int points = 0;      // limb points kept in the fit
  int rays = 0;        // rays cast
};

inline constexpr std::string_view kNoLimbMessage = "Aucun bord du Soleil n'a été trouvé dans l'image.";

struct LimbOutcome {
  std::optional<Limb> limb;  // none when refused
  std::string_view reason;   // French, empty when found
};

[[nodiscard]] LimbOutcome findLimb(image::GreyView image);

inline constexpr std::string_view kSamePointsMessage =
    "Deux des trois points sont confondus : choisissez trois points distincts du bord.";
inline constexpr std::string_view kAlignedPointsMessage =
    "Les trois points sont alignés : choisissez-les répartis sur le bord.";
inline constexpr std::string_view kNotANumberPointMessage = "La position d'un des points n'est pas un nombre.";

struct CircleOutcome {
  std::optional<Circle> circle;
  std::string_view reason;
};

// The circle through three points picked on the limb. Points closer than 1e-6 px, points
// in a line (the circle's radius would exceed 1e6 times their spread) or not finite are
// refused, each with its message.
[[nodiscard]] CircleOutcome circleThroughPoints(PixelPoint a, PixelPoint b, PixelPoint c) noexcept;

}  // namespace kavrel::photo
