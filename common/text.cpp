// The small texts every reader needs (text.h).
#include "common/text.h"

#include <algorithm>
#include <string>

#include "common/strict_number.h"

namespace kavrel {

std::string_view trimmed(std::string_view text, std::string_view blanks) noexcept {
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool allDigits(std::string_view text) noexcept {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::size_t utf8Length(std::string_view text) noexcept {
  if (text.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  return length;
}

std::string quoted(std::string_view text, int mostCharacters) {
  std::string shown = "« ";
  int characters = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (++characters > mostCharacters) {
      shown += "…";
      break;
    }
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = utf8Length(text.substr(i));
    if (length == 0 || c < 0x20 || c == 0x7F) {
      shown += '?';
      i += std::max<std::size_t>(length, 1);
    } else {
      shown += text.substr(i, length);
      i += length;
    }
  }
  return shown + " »";
}

std::optional<double> decimalNumber(std::string_view text, std::string_view separator) {
  if (auto value = parseStrictNumber(text, separator)) return value;
  if (separator != ".") return parseStrictNumber(text, ".");
  return std::nullopt;
}

}  // namespace kavrel
