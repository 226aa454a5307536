// A double written in fixed notation with a given number of decimals ("2451545.00000"),
// as std::to_chars writes it: the exact binary value rounded to the nearest, a tie (a value
// exactly halfway, such as 0.125 to 2 decimals) to the even last digit. A value that rounds
// to zero loses its sign ("-0.00001" to 4 decimals is "0.0000").
// Values whose scaled magnitude stays under 2^52 (every ephemeris quantity, a Julian day
// to 5 decimals) are written by integer arithmetic, several times faster than to_chars;
// larger ones go through to_chars. Infinities and NaN write nothing.
#pragma once

#include <string>

namespace kavrel {

// `decimals` from 0 to 9; `point` replaces the decimal point (',' in French).
void appendFixed(std::string& text, double value, int decimals, char point = '.');

}  // namespace kavrel
