// The strict conversion of a whole text to a number, under the user's locale.
//
// Used where a year must be a number and nothing else (the precession's year checks and
// the choice of its coefficient row). Accepted: surrounding spaces, an optional sign,
// digits and at most one decimal separator of the locale (the separator is given, e.g.
// "," in French), with at least one digit. Refused (nullopt): the empty text, letters
// (so "inf", "nan" and exponents such as "1e3"), digit grouping, the other separator,
// and a value beyond the double range.
#pragma once

#include <optional>
#include <string_view>

namespace kavrel {

[[nodiscard]] std::optional<double> parseStrictNumber(std::string_view text,
                                                      std::string_view decimalSeparator);

}  // namespace kavrel
