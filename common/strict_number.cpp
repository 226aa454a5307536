// The strict conversion of a whole text to a number, under the user's locale.
#include "common/strict_number.h"

#include <charconv>
#include <string>
#include <system_error>

namespace kavrel {

std::optional<double> parseStrictNumber(std::string_view text, std::string_view decimalSeparator) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);

  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }

  // Digits with at most one locale separator, rewritten with "." for from_chars.
  std::string plain;
  bool separatorSeen = false;
  bool digitSeen = false;
  while (!text.empty()) {
    if (text.front() >= '0' && text.front() <= '9') {
      plain.push_back(text.front());
      digitSeen = true;
      text.remove_prefix(1);
    } else if (!separatorSeen && !decimalSeparator.empty() && text.starts_with(decimalSeparator)) {
      plain.push_back('.');
      separatorSeen = true;
      text.remove_prefix(decimalSeparator.size());
    } else {
      return std::nullopt;
    }
  }
  if (!digitSeen) return std::nullopt;

  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (end != plain.data() + plain.size()) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // Without an exponent, only a value below the smallest double can be out of range
    // on the small side: a zero with hundreds of decimals of zeros before its digits.
    if (plain.find_first_not_of("0.") < plain.find('.')) return std::nullopt;
    value = 0;
  } else if (error != std::errc{}) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

}  // namespace kavrel
