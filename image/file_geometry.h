// What a FITS header says of where its Sun is: the keywords of its world coordinates
// (WCS) and of the observer's position, as written, each absent when the header lacks it
// or when its value is not a finite number. Read by the FITS reader, interpreted by
// photo/header_geometry.h.
//
// Units as the keywords have them: CRPIX in 1-based FITS pixels, CDELT, CD and CRVAL in
// CUNIT (an empty CUNIT is the reader's to default), CROTA2 and the observer's angles in
// degrees, RSUN_OBS in arcseconds, RSUN_REF and DSUN_OBS in metres.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace kavrel::image {

struct FileGeometry {
  std::string ctype1;  // "HPLN-TAN", "SOLAR_X", "RA---TAN", ...
  std::string ctype2;
  std::string cunit1;  // "arcsec", "deg", ...
  std::string cunit2;
  std::optional<double> crpix1;
  std::optional<double> crpix2;
  std::optional<double> crval1;
  std::optional<double> crval2;
  std::optional<double> cdelt1;
  std::optional<double> cdelt2;
  std::optional<double> crota2;
  std::optional<std::array<double, 4>> pc;  // PC1_1, PC1_2, PC2_1, PC2_2, all four given
  std::optional<std::array<double, 4>> cd;  // CD1_1, CD1_2, CD2_1, CD2_2, all four given
  std::optional<double> rsunObs;
  std::optional<double> rsunRef;
  std::optional<double> dsunObs;
  std::optional<double> crltObs;  // the observer's Carrington latitude and longitude
  std::optional<double> crlnObs;
  std::optional<double> hgltObs;  // the observer's Stonyhurst latitude and longitude
  std::optional<double> hglnObs;
};

}  // namespace kavrel::image
