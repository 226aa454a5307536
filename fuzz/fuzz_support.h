// What the fuzz targets share: turning the fuzzer's bytes into field texts, and the
// checks that every text a window shows must pass.
//
// Inputs are plain text so that a seed file reads like what a user types: the fields are
// separated by "|", the first field choosing the decimal separator ("," or else ".").
// Missing fields are empty; the last field takes the rest of the bytes, "|" included.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/display_mask.h"

namespace kavrel::fuzz {

// A broken invariant ends the run; libFuzzer reports it as a crash and keeps the input.
inline void require(bool condition) {
  if (!condition) __builtin_trap();
}

// Whether `text` is well-formed UTF-8 (no overlong leads, no cut sequence): every text
// shown or written must be.
inline bool isUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

inline std::string_view bytesAsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The separator field and then `count` texts.
struct Fields {
  std::string_view separator;
  std::vector<std::string_view> texts;
};

inline Fields splitFields(const std::uint8_t* data, std::size_t size, std::size_t count) {
  std::string_view rest = bytesAsText(data, size);
  Fields fields;
  fields.texts.resize(count);
  bool more = true;
  for (std::size_t i = 0; i <= count && more; ++i) {
    std::string_view field = rest;
    if (i < count) {
      const auto bar = rest.find('|');
      more = bar != std::string_view::npos;
      field = rest.substr(0, bar);
      rest = more ? rest.substr(bar + 1) : std::string_view{};
    }
    if (i == 0) {
      fields.separator = field == "," ? "," : ".";
    } else {
      fields.texts[i - 1] = field;
    }
  }
  return fields;
}

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline bool allDigits(std::string_view text) {
  for (char c : text)
    if (!isDigit(c)) return false;
  return true;
}

// A number as a mask writes it: "-" or nothing, whole digits, then the separator and
// the decimals when there are any.
struct Shown {
  bool negative = false;
  std::string whole;
  std::string decimals;
  long double value = 0;  // long double, so that a rounding past the largest double still reads
};

// Reads a text written by a mask with `decimals` decimals; nullopt when it is not one.
inline std::optional<Shown> readShown(std::string_view text, std::size_t decimals, std::string_view separator) {
  Shown shown;
  if (!text.empty() && text.front() == '-') {
    shown.negative = true;
    text.remove_prefix(1);
  }
  std::string_view whole = text;
  if (decimals > 0) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos) return std::nullopt;
    whole = text.substr(0, at);
    const std::string_view fraction = text.substr(at + separator.size());
    if (fraction.size() != decimals || !allDigits(fraction)) return std::nullopt;
    shown.decimals = fraction;
  }
  if (whole.empty() || !allDigits(whole)) return std::nullopt;
  shown.whole = whole;
  const std::string plain = (shown.negative ? "-" : "") + shown.whole + "." + shown.decimals + "0";
  shown.value = std::strtold(plain.c_str(), nullptr);
  return shown;
}

// A result label: the empty-result text, or a number under a mask of `decimals` decimals
// and at least `minimumWhole` whole digits, without a needless leading zero.
inline std::optional<Shown> requireResult(std::string_view text, std::size_t decimals, std::size_t minimumWhole,
                                          std::string_view separator) {
  if (text == kEmptyResult) return std::nullopt;
  const auto shown = readShown(text, decimals, separator);
  require(shown.has_value());
  require(shown->whole.size() >= minimumWhole);
  require(shown->whole.size() == minimumWhole || shown->whole.size() == 1 || shown->whole[0] != '0');
  return shown;
}

// The text of `value` under `mask`: the empty-result text exactly when the value is not
// finite; otherwise the mask's form, a "-" exactly when the value is below zero, and a
// number within half a unit of the last decimal (after the rounding to 15 significant
// digits) of the value.
inline void requireMasked(std::string_view text, double value, std::string_view mask, std::string_view separator) {
  require(!text.empty());
  if (!std::isfinite(value)) {
    require(text == kEmptyResult);
    return;
  }
  const auto point = mask.find('.');
  const std::size_t decimals = point == std::string_view::npos ? 0 : mask.size() - point - 1;
  std::size_t minimumWhole = 0;
  for (char c : mask.substr(0, point))
    if (c == '0') ++minimumWhole;
  const auto shown = requireResult(text, decimals, minimumWhole, separator);
  require(shown.has_value());
  require(shown->negative == (value < 0));
  const long double unit = std::pow(10.0L, -static_cast<long double>(decimals));
  const long double v = value;
  const long double tolerance = unit / 2 * (1 + 1e-9L) + std::fabs(v) * 1e-14L;
  require(std::fabs(shown->value - v) <= tolerance);
}

// The "dd.mmss" of a sexagesimal text: minutes and seconds each below 60, wherever the
// whole part leaves room for the four decimals among 15 significant digits.
inline void requireSexagesimalDigits(const Shown& shown) {
  require(shown.decimals.size() == 4);
  if (shown.whole.size() > 10) return;
  require(shown.decimals[0] <= '5' && shown.decimals[2] <= '5');
}

}  // namespace kavrel::fuzz
