// Numbers as the windows show them: digit masks with the locale's decimal separator.
//
// A mask such as "#######0.000" or "00" says how many integer digits always show (the
// "0"s before the point; "#" shows a digit only when needed, and integer digits beyond
// the placeholders still show) and how many decimals (the placeholders after the point).
// The value's decimal form is first rounded to 15 significant digits, then half away
// from zero to the mask's decimals, so a tie such as 2451544.5125 shows ".513" whatever
// its binary neighbour. A negative zero shows without its sign; any value below zero
// keeps its "-" (-0.0001 shows "-0,000"). There is never a grouping separator.
// A value that is not finite shows kEmptyResult.
#pragma once

#include <string>
#include <string_view>

namespace kavrel {

// What a result shows while it cannot be computed (an input field is empty).
inline constexpr std::string_view kEmptyResult = "#############";

// What a synodic rotation number below 1 (a date before rotation 1) shows.
inline constexpr std::string_view kBeforeRotationOne = " < 1";

namespace mask {
inline constexpr std::string_view kJulianDay = "#######0.000";
inline constexpr std::string_view kSexagesimal = "##0.0000";       // RA and declination
inline constexpr std::string_view kAngle = "###0.00";              // P, B0, L0
inline constexpr std::string_view kArcSeconds = "#0.0";            // semi-diameter seconds
inline constexpr std::string_view kSiderealTime = "##00.0000";
inline constexpr std::string_view kPrecession = "#######0.0000";
inline constexpr std::string_view kDayOfMonth = "00.000";          // date of a Julian day
inline constexpr std::string_view kTwoDigits = "00";
}  // namespace mask

[[nodiscard]] std::string formatMask(double value, std::string_view mask,
                                     std::string_view decimalSeparator);

// An integer-valued double in plain decimal digits, with "-" when negative ("1957",
// "-4712"); kEmptyResult when not finite.
[[nodiscard]] std::string formatInteger(double value);

// A synodic rotation number as the windows show it: kBeforeRotationOne below 1 (rotation
// 1 itself is "1"), otherwise formatInteger.
[[nodiscard]] std::string rotationText(double rotation);

}  // namespace kavrel
