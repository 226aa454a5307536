// dms, arr1, arr2 and degr on arbitrary doubles.
//
// Input: one byte choosing how the value is made, then either the eight bytes of the
// double or the text the number reader reads (as the precession window reads its
// positions).
//
// For finite values: dms keeps the sign and the whole part and writes minutes and
// seconds below 60; degr reads back minutes and seconds below 100 each, so it lies
// within 99/60 + 100/3600 of the whole part; and degr undoes dms up to the seconds
// that dms drops (less than one second), as long as the whole part leaves the 15
// significant digits room for the four decimals.
#include <cstring>

#include "common/number_reader.h"
#include "common/sexagesimal.h"
#include "fuzz_support.h"

using namespace kavrel;
using kavrel::fuzz::require;

namespace {

bool sameSignOrZero(double result, double x) { return result == 0 || std::signbit(result) == std::signbit(x); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  double x;
  if (data[0] % 2 == 0) {
    std::uint8_t bits[sizeof(double)] = {};
    std::memcpy(bits, data + 1, std::min(size - 1, sizeof bits));
    std::memcpy(&x, bits, sizeof x);
  } else {
    x = readNumber(kavrel::fuzz::bytesAsText(data + 1, size - 1));
  }

  const double sexagesimal = dms(x);
  const double tenths = arr1(x);
  const double hundredths = arr2(x);
  const double decimal = degr(x);
  if (!std::isfinite(x)) return 0;

  require(std::isfinite(sexagesimal));
  require(sameSignOrZero(sexagesimal, x));
  require(std::fabs(sexagesimal - std::trunc(x)) < 0.6);
  for (const double cut : {tenths, hundredths})
    require(std::isnan(cut) || sameSignOrZero(cut, x));

  require(std::isfinite(decimal));
  require(sameSignOrZero(decimal, x));
  const double excess = std::fabs(decimal) - std::trunc(std::fabs(x));
  require(excess >= -1e-9 * std::fabs(x) && excess <= (99.0 / 60 + 100.0 / 3600) * (1 + 1e-12) + 1e-12 * std::fabs(x));

  if (std::fabs(x) < 1e9) {
    const double back = degr(sexagesimal);
    const double lost = std::fabs(x) - std::fabs(back);
    const double noise = 1e-9 + 1e-14 * std::fabs(x);  // a few units in the last place of x
    require(lost >= -noise && lost < 1.0 / 3600 + noise);
  }
  return 0;
}
