// The two-date window's texts: each date's row (Julian day, rotation number and L0 at
// 0 h UT) and the "&Calcul" list of the rotation starts between the two dates.
//
// The list is built from the dates' field texts alone, the way the window reads its
// captions: the two Julian-day captions are compared as texts, a rotation caption
// " < 1" stops the command, line 0 and the closing line quote the captions as shown,
// and between them each start found by the search is one line, up to 100 lines in all.
#include "calculators/rotation_list.h"

#include <cmath>

#include "common/calendar_date.h"
#include "common/display_mask.h"
#include "common/number_reader.h"
#include "common/sexagesimal.h"
#include "sun/ephemeris.h"
#include "sun/rotation_starts.h"

namespace kavrel::brennic {

namespace {

// A date's row together with the numbers behind its captions.
struct DateResult {
  DateRow row;
  double julianDay = 0;
  double rotation = 0;
  double l0 = 0;
};

DateResult computeDate(const DateTexts& date, std::string_view sep) {
  DateTexts atMidnight{date.day, date.month, date.year, "0", "0"};
  DateResult result;
  if (anyEmpty(atMidnight)) {
    result.row.julianDay = std::string(kEmptyResult);
    return result;
  }
  result.julianDay = julianDay(readDateTime(atMidnight), CenturyCut::TowardZero);
  const SolarAspect sun = solarAspect(result.julianDay);
  result.rotation = sun.rotation;
  result.l0 = sun.l0;
  result.row.complete = true;
  result.row.julianDay = formatMask(result.julianDay, mask::kJulianDay, sep);
  result.row.rotation = rotationText(sun.rotation);
  result.row.l0 = formatMask(arr2(sun.l0), mask::kAngle, sep);
  return result;
}

std::string twoDigits(double value) { return formatMask(value, mask::kTwoDigits, "."); }

// "Le 01/01/2000 à 00 h 00 min TU, rotation 1957 et longitude Lo 8,04°": the day and
// month read as numbers, the year as typed.
std::string dateLine(const DateTexts& date, const DateRow& row) {
  return "Le " + twoDigits(readNumber(date.day)) + "/" + twoDigits(readNumber(date.month)) + "/" +
         std::string(date.year) + " à 00 h 00 min TU, rotation " + row.rotation + " et longitude Lo " +
         row.l0 + "°";
}

// "/01/" .. "/12/"; a month the conversion cannot name (Julian days beyond about 10^15)
// keeps its digits.
std::string monthText(double month) {
  std::string text(1, '/');
  text += month >= 1 && month <= 12 && month == std::trunc(month) ? twoDigits(month) : formatInteger(month);
  text += '/';
  return text;
}

}  // namespace

DateRow dateRow(const DateTexts& date, std::string_view sep) { return computeDate(date, sep).row; }

std::string invJul(double start, double rotation) {
  const CalendarDate date = calendarDate(start);
  const double h = 24 * date.fraction;
  const double hour = std::trunc(h);
  const double minute = std::trunc((h - std::trunc(h)) * 3600 / 60);
  return "Le " + twoDigits(date.day) + monthText(date.month) + formatInteger(date.year) + " à " +
         twoDigits(hour) + " h " + twoDigits(minute) + " min TU, début de la rotation n° " +
         formatInteger(rotation);
}

RotationList rotationList(const DateTexts& first, const DateTexts& second, std::string_view sep) {
  const DateResult from = computeDate(first, sep);
  const DateResult to = computeDate(second, sep);

  RotationList list;

  // The window orders the dates by their Julian-day captions, compared as texts. An
  // incomplete second date shows "#############", which sorts before any day number.
  if (to.row.julianDay < from.row.julianDay) {
    list.outcome = ListOutcome::DatesIncorrect;
    return list;
  }

  // With no Julian day for the first date there is nowhere to start from; nor is there
  // when its L0 cannot be computed (years so large that the theory overflows).
  if (!from.row.complete || !to.row.complete || !std::isfinite(from.julianDay) ||
      !std::isfinite(from.l0)) {
    list.outcome = ListOutcome::Silent;
    return list;
  }

  if (from.row.rotation == kBeforeRotationOne || to.row.rotation == kBeforeRotationOne) {
    list.outcome = ListOutcome::Silent;
    return list;
  }

  list.lines.push_back(dateLine(first, from.row));

  bool limitReached = false;
  forEachRotationStart(from.julianDay, from.l0, kMaxLines, [&](const RotationStart& start) {
    ++list.lastLine;
    if (list.lastLine == kMaxLines) {
      limitReached = true;
      return false;
    }
    // This start lies after the second date: the list closes here.
    if (to.rotation < start.rotation) return false;
    list.lines.push_back(invJul(start.julianDay, start.rotation));
    return true;
  });

  if (limitReached) {
    list.outcome = ListOutcome::Limit;
    return list;
  }

  list.lines.push_back(dateLine(second, to.row) + ".");
  list.outcome = ListOutcome::Listed;
  return list;
}

}  // namespace kavrel::brennic
