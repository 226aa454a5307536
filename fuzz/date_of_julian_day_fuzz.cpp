// The window of the date of a Julian day, for arbitrary text.
//
// Input: "separator|text".
//
// The check refuses as negative exactly the texts that begin with "-", and accepts only
// texts whose ends and points are right and whose value is finite. For an accepted
// text the date line is "Le " + day "00.000" + "  " + month + "  " + year; for Julian
// days within 10^9 of 0 the month is named, the day lies in 1..32, and the date found
// gives back, by the Julian-day rule, the 0 h that begins its day.
#include "common/calendar_date.h"
#include "common/julian_day.h"
#include "common/number_reader.h"
#include "fuzz_support.h"
#include "calculators/date_of_julian_day.h"

using namespace kavrel;
using kavrel::fuzz::require;

namespace {

const std::string_view kMonthNames[] = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                                        "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = kavrel::fuzz::splitFields(data, size, 1);
  const std::string_view text = fields.texts[0];
  const auto refusal = gastrel::checkJulianDayText(text);

  if (text.empty()) require(refusal == gastrel::Refusal::None);
  require((refusal == gastrel::Refusal::Negative) == (!text.empty() && text.front() == '-'));
  if (refusal != gastrel::Refusal::None) return 0;

  const double jd = readNumber(text);
  require(std::isfinite(jd));
  if (!text.empty()) {
    require(text.front() != '.');
    require(kavrel::fuzz::isDigit(text.back()) || text.back() == '.');
    require(text.find('.') == text.rfind('.'));
  }

  const std::string line = gastrel::dateText(text, fields.separator);
  require(line.starts_with("Le "));
  const auto firstGap = line.find("  ", 3);
  require(firstGap != std::string::npos);
  const auto secondGap = line.find("  ", firstGap + 2);
  require(secondGap != std::string::npos);
  const auto day = kavrel::fuzz::requireResult(std::string_view(line).substr(3, firstGap - 3), 3, 2, fields.separator);
  const std::string month = line.substr(firstGap + 2, secondGap - firstGap - 2);
  const auto year = kavrel::fuzz::requireResult(std::string_view(line).substr(secondGap + 2), 0, 1, "");
  require(day.has_value() && year.has_value());

  if (std::fabs(jd) > 1e9) return 0;
  require(day->value >= 1 && day->value <= 32);
  bool named = false;
  for (std::string_view name : kMonthNames) named = named || month == name;
  require(named);

  const CalendarDate date = calendarDate(jd);
  const double midnight = julianDay(DateTime{date.day, date.month, date.year, 0, 0}, CenturyCut::Floor);
  require(midnight == std::floor(jd + 0.5) - 0.5);
  return 0;
}
