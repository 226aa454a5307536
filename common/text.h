// The small texts every reader of the suite needs: a field cut of its blanks, a run of
// digits, a field quoted in a French message, a decimal number written with the user's
// separator or a point. Bytes in, bytes out (UTF-8 passes through untouched); nothing here
// depends on the process's locale.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kavrel {

// The blanks of a spreadsheet's or a network's field.
inline constexpr std::string_view kSpaceAndTab = " \t";
// Every character std::isspace takes in the "C" locale.
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

// `text` without the characters of `blanks` at either end.
[[nodiscard]] std::string_view trimmed(std::string_view text, std::string_view blanks = kSpaceAndTab) noexcept;

// True for one ASCII digit or more and nothing else.
[[nodiscard]] bool allDigits(std::string_view text) noexcept;

// The length of the valid UTF-8 sequence at the start of `text`, 0 when it is not one
// (overlong forms, surrogates and code points past U+10FFFF included).
[[nodiscard]] std::size_t utf8Length(std::string_view text) noexcept;

// "« text »" for a message: at most `mostCharacters` characters, then "…"; a control
// character or a byte that is not UTF-8 as "?", so that the message stays printable UTF-8.
[[nodiscard]] std::string quoted(std::string_view text, int mostCharacters = 24);

// A decimal number with the locale's `separator` ("," in French) or a point as its decimal
// mark: an optional sign, digits, at most one mark, surrounding spaces allowed; none for
// anything else (an exponent, "inf", a grouping, an empty text, both marks at once).
[[nodiscard]] std::optional<double> decimalNumber(std::string_view text, std::string_view separator);

}  // namespace kavrel
