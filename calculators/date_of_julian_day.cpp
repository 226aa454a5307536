// What the window of the date of a Julian day checks and shows.
#include "calculators/date_of_julian_day.h"

#include <cmath>

#include "common/calendar_date.h"
#include "common/display_mask.h"
#include "common/number_reader.h"

namespace kavrel::gastrel {

Refusal checkJulianDayText(std::string_view text) noexcept {
  if (text.empty()) return Refusal::None;
  if (text.front() == '-') return Refusal::Negative;
  if (text.front() == '.') return Refusal::Number;
  const char last = text.back();
  const bool lastIsDigitOrPoint = (last >= '0' && last <= '9') || last == '.';
  // Any count above one is refused, so counting may stop at two.
  int points = 0;
  for (char c : text)
    if (c == '.' && ++points > 1) break;
  if (!lastIsDigitOrPoint || points > 1) return Refusal::Number;
  // A value beyond the double range has no date.
  if (!std::isfinite(readNumber(text))) return Refusal::Number;
  return Refusal::None;
}

std::string dateText(std::string_view text, std::string_view decimalSeparator) {
  const CalendarDate date = calendarDate(readNumber(text));
  return "Le " + formatMask(date.day + date.fraction, mask::kDayOfMonth, decimalSeparator) + "  " +
         monthName(date.month) + "  " + formatInteger(date.year);
}

}  // namespace kavrel::gastrel
