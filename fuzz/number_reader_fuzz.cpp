// The number reader on arbitrary text.
//
// Beside a differential check against the C library's strtod on the part of the text
// that can form a number, two properties of "the longest leading number": a character
// that cannot continue a number changes nothing when appended, and a "-" put in front
// of a text without a sign negates the value.
#include <cerrno>
#include <cstdlib>
#include <string>

#include "common/number_reader.h"
#include "fuzz_support.h"

using kavrel::readNumber;
using kavrel::fuzz::require;

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool sameNumber(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

// The text without blanks, cut at the first character that no number holds, with the
// exponent letters D and d written E, as strtod reads it. Hexadecimal numbers,
// "inf" and "nan" are cut away: their letters are not in the set.
std::string numberCharacters(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (isBlank(c)) continue;
    if (kavrel::fuzz::isDigit(c) || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E') {
      kept.push_back(c);
    } else if (c == 'd' || c == 'D') {
      kept.push_back('e');
    } else {
      break;
    }
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = kavrel::fuzz::bytesAsText(data, size);
  const double value = readNumber(text);
  require(!std::isnan(value));

  const std::string reference = numberCharacters(text);
  const double expected = std::strtod(reference.c_str(), nullptr);
  require(sameNumber(value, expected));

  require(sameNumber(readNumber(std::string(text) + "x"), value));
  require(sameNumber(readNumber(std::string(text) + ","), value));

  std::size_t first = 0;
  while (first < text.size() && isBlank(text[first])) ++first;
  if (first == text.size() || (text[first] != '+' && text[first] != '-')) {
    require(readNumber("-" + std::string(text)) == -value);
  }
  return 0;
}
