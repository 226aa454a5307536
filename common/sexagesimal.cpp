// Sexagesimal numbers and the cuts applied before display.
#include "common/sexagesimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace kavrel {

double dms(double x) noexcept {
  const double d = std::trunc(x);
  const double f = x - std::trunc(x);
  const double q = (3600 * f) / 60;
  const double m = std::trunc(q);
  const double s = std::trunc(60 * (q - std::trunc(q)));
  return (d + m / 100) + s / 10000;
}

double arr1(double x) noexcept { return std::trunc(10 * x) / 10; }

double arr2(double x) noexcept { return std::trunc(100 * x) / 100; }

namespace {

// The digits of |x| rounded to 15 significant digits, as a plain decimal: whole part and
// decimals, without exponent ("6.4245" gives {"6", "4245"}, 1e20 gives {"100...0", ""}).
struct DecimalDigits {
  std::string whole;
  std::string decimals;
};

DecimalDigits decimalDigits(double v) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 14);
  const std::string text(buffer, result.ptr);  // d.dddddddddddddde[+-]xx
  const auto e = text.find('e');
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);  // 15 significant digits
  const int exponent = std::stoi(text.substr(e + 1));

  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int wholeLength = exponent + 1;  // digits before the point
  if (wholeLength <= 0) return {"0", std::string(static_cast<std::size_t>(-wholeLength), '0') + digits};
  if (static_cast<std::size_t>(wholeLength) >= digits.size())
    return {digits + std::string(static_cast<std::size_t>(wholeLength) - digits.size(), '0'), ""};
  return {digits.substr(0, static_cast<std::size_t>(wholeLength)),
          digits.substr(static_cast<std::size_t>(wholeLength))};
}

double parseDecimal(const std::string& text) {
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

double degr(double x) noexcept {
  if (!std::isfinite(x) || x == 0) return x;
  // From 10^15 on, the 15 significant digits are all whole: there are no minutes or
  // seconds, and the whole part is x itself (near the largest double, its rounding to
  // 15 digits would lie beyond the double range and read back as nothing).
  if (std::fabs(x) >= 1e15) return x;
  // The minutes and seconds are the digits as typed, not those of the binary value:
  // 1.15 is 1 deg 15', though 100 * (1.15 - 1) is 14.999999999999991.
  DecimalDigits digits = decimalDigits(std::fabs(x));
  digits.decimals.resize(std::max<std::size_t>(digits.decimals.size(), 4), '0');
  const double d = parseDecimal(digits.whole);
  const double mm = parseDecimal(digits.decimals.substr(0, 2));
  const double s = parseDecimal(digits.decimals.substr(2, 2) + "." + digits.decimals.substr(4) + "0");
  const double magnitude = (d + mm / 60) + s / 3600;
  return x < 0 ? -magnitude : magnitude;
}

}  // namespace kavrel
