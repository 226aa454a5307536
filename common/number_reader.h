// The suite's number reader: how every recompute turns a field's text into a number.
//
// Whatever the user's locale: spaces, tabs and line feeds are removed from the whole
// text first ("1 2" reads 12), then the longest leading part of the form
//   [+|-] digits [. digits] [(E|e|D|d) [+|-] digits]
// is read as a double. Only "." separates decimals; a comma ends the number. A text
// that does not begin with a number, and the empty text, read as 0.
//
// A number beyond the double range reads as +/-infinity (so every range check refuses
// it); one below the smallest subnormal reads as a zero of its sign.
#pragma once

#include <string_view>

namespace kavrel {

[[nodiscard]] double readNumber(std::string_view text) noexcept;

}  // namespace kavrel
