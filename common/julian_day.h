// The Julian day of a calendar date and time of Universal Time.
//
//   if month < 3: month += 12, year -= 1        (the year starts on 1 March)
//   A = cut(year / 100),  B = (2 - A) + cut(A / 4)
//   F = (hour + minute / 60) / 24
//   G = floor(365.25 year) + floor(30.6001 (month + 1)) + day + B + 1720994.5 + F
//   JD = G, or the same sum without B when G < 2299160.5 (1582 October 15, 0 h: dates
//        before it, and the ten days dropped by the reform, are Julian-calendar dates).
//
// Sums run left to right. "cut" is floor in the Julian-day window and truncation toward
// zero in the sidereal-time, solar-aspect and rotation windows; the two differ only for
// negative years that still land on the Gregorian side (a huge day number). Nothing
// checks that the day exists in its month: 31 February is 3 March.
#pragma once

#include <string_view>

namespace kavrel {

struct DateTime {
  double day = 0;
  double month = 0;
  double year = 0;
  double hour = 0;
  double minute = 0;
};

enum class CenturyCut { Floor, TowardZero };

inline constexpr double kGregorianReform = 2299160.5;

[[nodiscard]] double julianDay(const DateTime& when, CenturyCut cut) noexcept;

// The texts of a window's date (and time) fields. Windows without time fields leave
// hour and minute at "0", which is 0 h UT.
struct DateTexts {
  std::string_view day;
  std::string_view month;
  std::string_view year;
  std::string_view hour = "0";
  std::string_view minute = "0";
};

// True when a field is empty: the results then cannot be computed.
[[nodiscard]] bool anyEmpty(const DateTexts& texts) noexcept;

// The fields read with the number reader (an empty field reads 0).
[[nodiscard]] DateTime readDateTime(const DateTexts& texts) noexcept;

}  // namespace kavrel
