// A double in fixed notation (fixed_decimals.h).
#include "common/fixed_decimals.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <system_error>

namespace kavrel {

namespace {

constexpr std::array<double, 10> kPowersOfTen{1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
// Below this a scaled value keeps a fraction of at least half a unit's resolution, and
// its nearest integer fits in 64 bits.
constexpr double kExactLimit = 4503599627370496.0;  // 2^52

void appendThroughToChars(std::string& text, double value, int decimals, char point) {
  std::array<char, 400> digits{};  // a finite double in fixed notation with a few decimals
  const auto [end, error] =
      std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, decimals);
  if (error != std::errc{}) return;
  std::string_view written(digits.data(), static_cast<std::size_t>(end - digits.data()));
  if (written.front() == '-' && written.find_first_not_of("-0.") == std::string_view::npos) written.remove_prefix(1);
  text.append(written);
  if (decimals > 0) text[text.size() - static_cast<std::size_t>(decimals) - 1] = point;
}

}  // namespace

void appendFixed(std::string& text, double value, int decimals, char point) {
  if (!std::isfinite(value)) return;
  const double scale = kPowersOfTen[static_cast<std::size_t>(decimals)];
  const double magnitude = std::fabs(value);
  const double scaled = magnitude * scale;
  if (!(scaled < kExactLimit)) return appendThroughToChars(text, value, decimals, point);

  // scaled >= 0 and below 2^52: its truncation is its floor, and its fraction, and the
  // fraction's distance from one half, are exact (multiples of its last bit, which is
  // finer than a half). The product's rounding error is at most half that bit, so it
  // decides only for a fraction of exactly one half.
  auto units = static_cast<std::uint64_t>(scaled);
  const double fromHalf = (scaled - static_cast<double>(units)) - 0.5;
  if (fromHalf > 0) {
    ++units;
  } else if (fromHalf == 0) {
    const double error = std::fma(magnitude, scale, -scaled);  // magnitude * scale - scaled, exactly
    if (error > 0 || (error == 0 && units % 2 == 1)) ++units;
  }

  // Written backwards, two digits at a time.
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  std::array<char, 32> digits{};
  char* end = digits.data() + digits.size();
  char* at = end;
  const auto pair = [&at](std::uint64_t twoDigits) {
    at -= 2;
    std::memcpy(at, kPairs + 2 * twoDigits, 2);
  };
  int left = decimals;
  for (; left >= 2; left -= 2) {
    pair(units % 100);
    units /= 100;
  }
  if (left == 1) {
    *--at = static_cast<char>('0' + units % 10);
    units /= 10;
  }
  if (decimals > 0) *--at = point;
  while (units >= 100) {
    pair(units % 100);
    units /= 100;
  }
  if (units >= 10) {
    pair(units);
  } else {
    *--at = static_cast<char>('0' + units);
  }
  if (std::signbit(value)) {
    // A value that rounds to zero is written without its sign.
    bool allZero = true;
    for (const char* c = at; c != end; ++c) allZero = allZero && (*c == '0' || *c == point);
    if (!allZero) *--at = '-';
  }
  text.append(at, static_cast<std::size_t>(end - at));
}

}  // namespace kavrel
