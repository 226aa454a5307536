// A FITS header's geometry from arbitrary keyword values.
//
// Input: a byte choosing the axes' types and units, four bytes saying which keywords are
// present, then their values as doubles (8 bytes each, in the order of FileGeometry; NaN
// and infinities taken as absent, as the reader takes them), and the date's fields.
//
// Whatever the values: a limb given is finite with a positive radius, an orientation's
// angle lies in [0, 360), a disc given is finite, and comparing a limb with a found circle
// says consistent exactly when it gives no reason.
#include <cmath>
#include <cstring>

#include "fuzz_support.h"
#include "photo/header_geometry.h"

using namespace kavrel;
using kavrel::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const std::uint8_t kinds = data[0];
  std::uint32_t present = 0;
  std::memcpy(&present, data + 1, 4);
  data += 5;
  size -= 5;
  int bit = 0;
  const auto next = [&](std::optional<double>& into) {
    const bool given = (present >> (bit++ % 32)) & 1;
    if (size < 8) return;
    double value = 0;
    std::memcpy(&value, data, 8);
    data += 8;
    size -= 8;
    if (given && std::isfinite(value)) into = value;
  };
  static constexpr const char* kTypes[][2] = {
      {"", ""}, {"HPLN-TAN", "HPLT-TAN"}, {"SOLAR_X", "SOLAR_Y"}, {"RA---TAN", "DEC--TAN"}, {"GLON-CAR", ""}};
  static constexpr const char* kUnits[] = {"", "arcsec", "deg", "rad", "m"};
  image::FileGeometry k;
  k.ctype1 = kTypes[kinds % 5][0];
  k.ctype2 = kTypes[kinds % 5][1];
  k.cunit1 = kUnits[(kinds / 5) % 5];
  k.cunit2 = kUnits[(kinds / 25) % 5];
  for (auto* field : {&k.crpix1, &k.crpix2, &k.crval1, &k.crval2, &k.cdelt1, &k.cdelt2, &k.crota2, &k.rsunObs,
                      &k.rsunRef, &k.dsunObs, &k.crltObs, &k.crlnObs, &k.hgltObs, &k.hglnObs})
    next(*field);
  std::optional<double> matrix[4];
  for (auto& element : matrix) next(element);
  if (matrix[0] && matrix[1] && matrix[2] && matrix[3]) {
    if (kinds & 0x80)
      k.cd = {{*matrix[0], *matrix[1], *matrix[2], *matrix[3]}};
    else
      k.pc = {{*matrix[0], *matrix[1], *matrix[2], *matrix[3]}};
  }
  std::optional<double> second;
  next(second);
  const image::ObservationDate observed{2000 + static_cast<int>(present % 100), 1 + static_cast<int>(present % 12),
                                        1 + static_cast<int>(present % 28), true, static_cast<int>(present % 24),
                                        static_cast<int>(present % 60), second ? std::fmod(std::fabs(*second), 60) : 0};

  const photo::HeaderGeometry header = photo::headerGeometry(k, observed, 100, 80);
  if (header.limb)
    require(std::isfinite(header.limb->centre.x) && std::isfinite(header.limb->centre.y) &&
            std::isfinite(header.limb->radius) && header.limb->radius > 0);
  if (header.orientation) require(header.orientation->angle >= 0 && header.orientation->angle < 360);
  if (header.disc)
    require(std::isfinite(header.disc->p) && std::isfinite(header.disc->b0) && std::isfinite(header.disc->l0) &&
            std::isfinite(header.disc->semiDiameter));
  if (const auto agreement = photo::compareLimbs(header, {{50, 40}, 30}, ","))
    require(agreement->consistent == agreement->reason.empty());
  return 0;
}
