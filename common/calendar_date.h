// The calendar date of a Julian day: the inverse of julianDay, switching from the
// Julian to the Gregorian calendar at the same instant (JD 2299160.5).
//
//   J = jd + 0.5, Z = floor(J), F = J - Z
//   A = Z when Z < 2299161, else alpha = floor((Z - 1867216.25) / 36524.25) and
//       A = Z + 1 + alpha - floor(alpha / 4)
//   B = A + 1524, C = floor((B - 122.1) / 365.25), D = floor(365.25 C),
//   E = floor((B - D) / 30.6001)
//   day = B - D - floor(30.6001 E)       (the fraction F is kept apart)
//   month = E - 1 when E < 13.5, else E - 13
//   year = C - 4716 when month > 2.5, else C - 4715   (astronomical numbering)
//
// Every quantity stays a double, so any finite Julian day is safe; beyond about 10^15
// days the month may fall outside 1..12 and monthName() then gives its digits.
#pragma once

#include <string>

namespace kavrel {

struct CalendarDate {
  double day = 0;       // whole day of the month
  double fraction = 0;  // fraction of the day elapsed since 0 h, in [0, 1)
  double month = 0;     // 1 to 12
  double year = 0;
};

[[nodiscard]] CalendarDate calendarDate(double julianDay) noexcept;

// Whether the year (astronomical numbering) has a 29 February: every fourth year, less,
// in the Gregorian calendar, the centuries not divisible by 400.
[[nodiscard]] constexpr bool isLeapYear(long long year, bool gregorian = true) noexcept {
  if (year % 4 != 0) return false;
  return !gregorian || year % 100 != 0 || year % 400 == 0;
}

// The days of a month (1..12) of that year; 0 for a month outside 1..12.
[[nodiscard]] constexpr int daysInMonth(long long year, int month, bool gregorian = true) noexcept {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year, gregorian) ? 29 : kDays[month - 1];
}

// "janvier" .. "décembre"; the month's digits outside 1..12.
[[nodiscard]] std::string monthName(double month);

}  // namespace kavrel
