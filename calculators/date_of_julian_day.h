// What the window of the date of a Julian day checks and shows.
//
// The check looks only at the first and last characters and at the number of points:
// a first "-" is a negative number, a first "." or a last character other than a digit
// or ".", or a second ".", is not a number. Characters in between are not checked
// ("24a5" passes and reads 24). A text whose value is beyond the double range is not a
// number either.
#pragma once

#include <string>
#include <string_view>

#include "common/field_check.h"

namespace kavrel::gastrel {

enum class Refusal { None, Negative, Number };

inline constexpr std::string_view kNegativeMessageLine1 = "Le programme n'a pas été conçu pour calculer";
inline constexpr std::string_view kNegativeMessageLine2 = "d'après un nombre négatif !";
using ::kavrel::kNumberMessage;  // "Valeur incorrecte", as for the date fields

[[nodiscard]] Refusal checkJulianDayText(std::string_view text) noexcept;

// The caption of lblDate for an accepted text (the empty text reads 0):
// "Le " + day and fraction under "00.000" + "  " + month name + "  " + year,
// for example "Le 01,500  janvier  2000".
[[nodiscard]] std::string dateText(std::string_view text, std::string_view decimalSeparator);

}  // namespace kavrel::gastrel
