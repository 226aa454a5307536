// The display masks and the integer display on arbitrary doubles: NaN, infinities,
// subnormals, huge values, and decimal values read from text (ties such as .5125 in
// particular).
//
// Input: one byte choosing the mask (or the integer display) and the separator, one
// byte choosing how the value is made, then either the eight bytes of the double or
// the text the number reader reads.
#include <array>
#include <cstring>

#include "common/display_mask.h"
#include "common/number_reader.h"
#include "fuzz_support.h"

using namespace kavrel;
using kavrel::fuzz::require;

namespace {

constexpr std::array<std::string_view, 9> kMasks = {
    mask::kJulianDay,     mask::kSexagesimal, mask::kAngle,      mask::kArcSeconds, mask::kSiderealTime,
    mask::kPrecession,    mask::kDayOfMonth,  mask::kTwoDigits,  "0",  // the mask of formatInteger
};

double valueFrom(const std::uint8_t* data, std::size_t size, bool asBits) {
  if (asBits) {
    std::uint8_t bits[sizeof(double)] = {};
    std::memcpy(bits, data, std::min(size, sizeof bits));
    double value;
    std::memcpy(&value, bits, sizeof value);
    return value;
  }
  return readNumber(kavrel::fuzz::bytesAsText(data, size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t maskIndex = data[0] % kMasks.size();
  const std::string_view separator = (data[0] / kMasks.size()) % 2 ? "," : ".";
  const double value = valueFrom(data + 2, size - 2, data[1] % 2 == 0);

  if (maskIndex + 1 < kMasks.size()) {
    const std::string_view mask = kMasks[maskIndex];
    kavrel::fuzz::requireMasked(formatMask(value, mask, separator), value, mask, separator);
    return 0;
  }

  const std::string shown = formatInteger(value);
  kavrel::fuzz::requireMasked(shown, value, "0", "");
  // An integer below 10^15 has at most 15 digits: it shows exactly.
  const double whole = std::trunc(value);
  if (std::fabs(whole) < 1e15) {
    const auto exact = kavrel::fuzz::readShown(formatInteger(whole), 0, "");
    require(exact.has_value() && exact->value == whole);
  }
  return 0;
}
