// The Julian-day window's result for arbitrary texts in its five fields.
//
// Input: "separator|day|month|year|hour|minute".
//
// An empty field shows the empty result; otherwise the text is the Julian day under
// "#######0.000", or the empty result when the day count leaves the double range. When
// every field passes the window's checks and the year is not huge, the Julian day is
// shown and lies where the calendar puts it: 365.25 days a year from JD 1721058.5 (year
// 0, 1 March), give or take the months and the Gregorian correction.
#include "common/field_check.h"
#include "common/number_reader.h"
#include "fuzz_support.h"
#include "calculators/julian_day_text.h"

using namespace kavrel;
using kavrel::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = kavrel::fuzz::splitFields(data, size, 5);
  const auto& t = fields.texts;
  const DateTexts date{t[0], t[1], t[2], t[3], t[4]};
  const std::string shown = farrowel::julianDayText(date, fields.separator);

  if (anyEmpty(date)) {
    require(shown == kEmptyResult);
    return 0;
  }
  const auto julianDay = kavrel::fuzz::requireResult(shown, 3, 1, fields.separator);

  const DateField order[] = {DateField::Day, DateField::Month, DateField::Year, DateField::Hour, DateField::Minute};
  for (std::size_t i = 0; i < 5; ++i)
    if (checkField(order[i], CheckForm::NumberRead, t[i]) != Refusal::None) return 0;
  const double year = readNumber(date.year);
  if (std::fabs(year) > 1e6) return 0;
  require(julianDay.has_value());
  const long double expected = 365.25L * year + 1721058.5L;
  require(std::fabs(julianDay->value - expected) <= 400 + 0.0076L * std::fabs(year));
  return 0;
}
