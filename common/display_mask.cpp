// Numbers as the windows show them: digit masks with the locale's decimal separator.
#include "common/display_mask.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kavrel {

namespace {

// |value| rounded to 15 significant digits: its digits (no trailing zeros) and the
// number of them that stand before the decimal point (negative or zero below 0.1).
struct Significant {
  std::string digits;
  int wholeLength = 0;
};

Significant significantDigits(double magnitude) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const auto e = text.find('e');
  Significant s;
  s.digits.push_back(text[0]);
  s.digits.append(text.substr(2, e - 2));
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), s.wholeLength);
  s.wholeLength += 1;
  return s;
}

// Adds one unit to the last digit of a string of decimal digits, carrying leftwards.
// Returns true when the carry adds a new leading digit ("99" becomes "100").
bool incrementDigits(std::string& digits) {
  for (auto i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
  return true;
}

}  // namespace

std::string formatMask(double value, std::string_view mask, std::string_view decimalSeparator) {
  if (!std::isfinite(value)) return std::string(kEmptyResult);

  const auto point = mask.find('.');
  const std::string_view wholeMask = mask.substr(0, point);
  const std::size_t decimals = point == std::string_view::npos ? 0 : mask.size() - point - 1;
  std::size_t minimumWhole = 0;
  for (char c : wholeMask)
    if (c == '0') ++minimumWhole;

  // Digits of |value| at the mask's precision: `kept` holds the whole digits then exactly
  // `decimals` decimals, rounded half away from zero on the 15-digit decimal form.
  std::string kept;
  if (value != 0) {
    const Significant s = significantDigits(std::fabs(value));
    const long long keep = static_cast<long long>(s.wholeLength) + static_cast<long long>(decimals);
    // Built by appending to one string: no temporaries for the optimiser to see overlap in.
    // Nothing kept (all digits below the last decimal) leaves zeros after the padding below,
    // or "1" when the first dropped digit rounds up.
    if (keep >= 0) {
      const auto count = static_cast<std::size_t>(keep);
      kept.append(s.digits, 0, count);
      if (count > s.digits.size()) {
        kept.append(count - s.digits.size(), '0');
      } else if (count < s.digits.size() && s.digits[count] >= '5') {
        incrementDigits(kept);
      }
    }
  }
  // Left-pad so that the decimals and at least one whole digit are there.
  if (kept.size() < decimals + 1) kept.insert(0, decimals + 1 - kept.size(), '0');

  std::string whole = kept.substr(0, kept.size() - decimals);
  const std::string fraction = kept.substr(kept.size() - decimals);
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.size() < minimumWhole) whole.insert(0, minimumWhole - whole.size(), '0');

  std::string text;
  if (value < 0) text += '-';
  text += whole;
  if (point != std::string_view::npos) {
    text += decimalSeparator;
    text += fraction;
  }
  return text;
}

std::string formatInteger(double value) {
  if (!std::isfinite(value)) return std::string(kEmptyResult);
  return formatMask(value, "0", "");
}

std::string rotationText(double rotation) {
  if (rotation < 1) return std::string(kBeforeRotationOne);
  return formatInteger(rotation);
}

}  // namespace kavrel
