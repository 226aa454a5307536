// header_probe FILE: what Kavrel reads of a FITS file's geometry, then, for each pixel
// "x y" read from standard input (x from the left, y from the top as displayed), its B, L
// and DMC in degrees and r in disc radii, with the header's limb, orientation and observer.
// header_probe --ephemeris: for each Julian day of UTC read, P B0 L0 (degrees) and the
// semi-diameter (arcseconds) of the precise ephemeris.
// Built and run by scripts/check-header-accuracy; not part of the product.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "image/fits_reader.h"
#include "photo/header_geometry.h"
#include "photo/image_orientation.h"
#include "photo/limb.h"
#include "sun/precise_aspect.h"

using namespace kavrel;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: header_probe FILE | --ephemeris\n");
    return 2;
  }
  if (std::strcmp(argv[1], "--ephemeris") == 0) {
    double jd = 0;
    while (std::cin >> jd) {
      const auto aspect = preciseAspect(jd);
      if (!aspect) return 1;
      std::printf("%.7f %.7f %.7f %.5f\n", aspect->disc.p, aspect->disc.b0, aspect->disc.l0,
                  aspect->disc.semiDiameter * 3600);
    }
    return 0;
  }
  const image::ImageReadOutcome read = image::readFitsFile(argv[1], argv[1]);
  if (!read.ok()) {
    std::fprintf(stderr, "%s\n", read.refusal.c_str());
    return 1;
  }
  const photo::HeaderGeometry header =
      photo::headerGeometry(read.geometry, read.observed, read.image.width(), read.image.height());
  for (const std::string_view name : header.missing)
    std::fprintf(stderr, "missing %.*s\n", static_cast<int>(name.size()), name.data());
  if (!header.limb || !header.orientation || !header.disc) return 1;
  const photo::LimbOutcome found = photo::findLimb(read.image.view());
  if (found.limb) {
    const auto agreement = photo::compareLimbs(header, found.limb->circle, ".");
    std::fprintf(stderr, "limb: header %.3f %.3f R %.3f, found %.3f %.3f R %.3f, %s\n", header.limb->centre.x,
                 header.limb->centre.y, header.limb->radius, found.limb->circle.centre.x, found.limb->circle.centre.y,
                 found.limb->circle.radius, agreement->consistent ? "consistent" : agreement->reason.c_str());
  }
  std::fprintf(stderr, "north %.4f%s, P %.4f B0 %.4f L0 %.4f S %.6f, observer %s\n", header.orientation->angle,
               header.orientation->mirrored ? " mirrored" : "", header.disc->p, header.disc->b0, header.disc->l0,
               header.disc->semiDiameter, header.observerGiven ? "from the header" : "the Earth");
  const photo::NorthOutcome north = photo::celestialNorth(*header.orientation, *header.disc);
  const photo::ImageFrame frame{*header.limb, *north.angle, header.orientation->mirrored};
  photo::PixelPoint pixel;
  while (std::cin >> pixel.x >> pixel.y) {
    const HeliographicResult result = photo::heliographicOfPixel(frame, *header.disc, pixel);
    const DiscPoint point = photo::discPointOfPixel(frame, pixel);
    if (result.refusal != DiscRefusal::None)
      std::printf("nan nan nan %.6f\n", point.r);
    else
      std::printf("%.6f %.6f %.6f %.6f\n", result.at.latitude, result.at.longitude, result.at.fromCentralMeridian,
                  point.r);
  }
  return 0;
}
