// The Julian day of a calendar date and time of Universal Time.
#include "common/julian_day.h"

#include <cmath>

#include "common/number_reader.h"

namespace kavrel {

double julianDay(const DateTime& when, CenturyCut cut) noexcept {
  const auto century = [cut](double x) { return cut == CenturyCut::Floor ? std::floor(x) : std::trunc(x); };

  double month = when.month;
  double year = when.year;
  if (month < 3) {
    month = month + 12;
    year = year - 1;
  }
  const double a = century(year / 100);
  const double b = (2 - a) + century(a / 4);
  const double f = (when.hour + when.minute / 60) / 24;

  const double gregorian =
      std::floor(365.25 * year) + std::floor(30.6001 * (month + 1)) + when.day + b + 1720994.5 + f;
  if (gregorian < kGregorianReform)
    return std::floor(365.25 * year) + std::floor(30.6001 * (month + 1)) + when.day + 1720994.5 + f;
  return gregorian;
}

bool anyEmpty(const DateTexts& texts) noexcept {
  return texts.day.empty() || texts.month.empty() || texts.year.empty() || texts.hour.empty() ||
         texts.minute.empty();
}

DateTime readDateTime(const DateTexts& texts) noexcept {
  return {readNumber(texts.day), readNumber(texts.month), readNumber(texts.year), readNumber(texts.hour),
          readNumber(texts.minute)};
}

}  // namespace kavrel
