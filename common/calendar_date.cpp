// The calendar date of a Julian day.
#include "common/calendar_date.h"

#include <array>
#include <cmath>

#include "common/display_mask.h"

namespace kavrel {

CalendarDate calendarDate(double julianDay) noexcept {
  const double j = julianDay + 0.5;
  const double z = std::floor(j);
  const double f = j - z;

  double a = z;
  if (!(z < 2299161)) {
    const double alpha = std::floor((z - 1867216.25) / 36524.25);
    a = z + 1 + alpha - std::floor(alpha / 4);
  }
  const double b = a + 1524;
  const double c = std::floor((b - 122.1) / 365.25);
  const double d = std::floor(365.25 * c);
  const double e = std::floor((b - d) / 30.6001);

  CalendarDate date;
  date.day = b - d - std::floor(30.6001 * e);
  date.fraction = f;
  date.month = e < 13.5 ? e - 1 : e - 13;
  date.year = date.month > 2.5 ? c - 4716 : c - 4715;
  return date;
}

std::string monthName(double month) {
  static constexpr std::array<const char*, 12> kNames = {
      "janvier", "février", "mars", "avril", "mai", "juin",
      "juillet", "août", "septembre", "octobre", "novembre", "décembre"};
  for (std::size_t i = 0; i < kNames.size(); ++i)
    if (month == static_cast<double>(i + 1)) return kNames[i];
  return formatInteger(month);
}

}  // namespace kavrel
