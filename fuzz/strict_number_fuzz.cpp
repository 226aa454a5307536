// The strict conversion on arbitrary text, with "," and with ".".
//
// Checked against the form it promises: surrounding spaces, an optional sign, digits
// with at most one separator and at least one digit. A text of that form converts,
// unless its value lies beyond the double range, to what the number reader reads once
// the separator is written "."; any other text is refused.
#include <string>

#include "common/number_reader.h"
#include "common/strict_number.h"
#include "fuzz_support.h"

using kavrel::fuzz::isDigit;
using kavrel::fuzz::require;

namespace {

// The text in the promised form, rewritten with "." as separator; nullopt otherwise.
std::optional<std::string> promisedForm(std::string_view text, std::string_view separator) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::string plain;
  if (text.front() == '+' || text.front() == '-') {
    plain.push_back(text.front());
    text.remove_prefix(1);
  }
  bool digit = false;
  bool separatorSeen = false;
  while (!text.empty()) {
    if (isDigit(text.front())) {
      digit = true;
      plain.push_back(text.front());
      text.remove_prefix(1);
    } else if (!separatorSeen && text.starts_with(separator)) {
      separatorSeen = true;
      plain.push_back('.');
      text.remove_prefix(separator.size());
    } else {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  return plain;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = kavrel::fuzz::bytesAsText(data, size);
  for (const std::string_view separator : {",", "."}) {
    const std::optional<double> converted = kavrel::parseStrictNumber(text, separator);
    const std::optional<std::string> plain = promisedForm(text, separator);
    if (!plain) {
      require(!converted.has_value());
      continue;
    }
    const double read = kavrel::readNumber(*plain);
    if (!std::isfinite(read)) {
      require(!converted.has_value());
      continue;
    }
    require(converted.has_value());
    require(*converted == read);
  }
  return 0;
}
