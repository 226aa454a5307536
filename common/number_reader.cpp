// The number reader: the longest leading number of a text, "." as decimal separator.
#include "common/number_reader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace kavrel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal exponent of the leading digit of a mantissa written as `digits` (digits
// and at most one "."), e.g. 3 for "123.4" and -2 for "0.0012"; 0 when all are zero.
long long leadingExponent(const std::string& digits) {
  const auto point = digits.find('.');
  const std::string whole = digits.substr(0, point);
  const auto firstNonZero = whole.find_first_not_of('0');
  if (firstNonZero != std::string::npos) return static_cast<long long>(whole.size() - firstNonZero);
  if (point == std::string::npos) return 0;
  const std::string fraction = digits.substr(point + 1);
  const auto firstFractionDigit = fraction.find_first_not_of('0');
  if (firstFractionDigit == std::string::npos) return 0;
  return -static_cast<long long>(firstFractionDigit);
}

}  // namespace

double readNumber(std::string_view text) noexcept {
  // Blanks do not count anywhere in the text.
  std::string compact;
  compact.reserve(text.size());
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') compact.push_back(c);

  std::size_t i = 0;
  bool negative = false;
  if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) negative = compact[i++] == '-';

  std::string mantissa;
  bool anyDigit = false;
  while (i < compact.size() && isDigit(compact[i])) {
    mantissa.push_back(compact[i++]);
    anyDigit = true;
  }
  if (i < compact.size() && compact[i] == '.') {
    mantissa.push_back(compact[i++]);
    while (i < compact.size() && isDigit(compact[i])) {
      mantissa.push_back(compact[i++]);
      anyDigit = true;
    }
  }
  if (!anyDigit) return 0;

  // An exponent counts only when its letter is followed by digits ("2e" reads 2).
  long long exponent = 0;
  if (i < compact.size() && (compact[i] == 'E' || compact[i] == 'e' || compact[i] == 'D' || compact[i] == 'd')) {
    std::size_t j = i + 1;
    bool exponentNegative = false;
    if (j < compact.size() && (compact[j] == '+' || compact[j] == '-')) exponentNegative = compact[j++] == '-';
    if (j < compact.size() && isDigit(compact[j])) {
      for (; j < compact.size() && isDigit(compact[j]); ++j) {
        // Saturate: far beyond any double, the value is decided already.
        if (exponent < 100000) exponent = exponent * 10 + (compact[j] - '0');
      }
      if (exponentNegative) exponent = -exponent;
    }
  }

  const std::string number = mantissa + "e" + std::to_string(exponent);
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Out of range either way: beyond the largest double, or below the smallest.
    value = leadingExponent(mantissa) + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace kavrel
