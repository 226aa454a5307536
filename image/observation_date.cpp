#include "image/observation_date.h"

#include <erfa.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/calendar_date.h"
#include "common/text.h"

namespace kavrel::image {
namespace {

std::string_view trimmed(std::string_view text) { return kavrel::trimmed(text, kWhiteSpace); }

// Exactly `digits` decimal digits at the front of `text`, consumed.
std::optional<int> takeNumber(std::string_view& text, std::size_t digits) {
  if (text.size() < digits) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  text.remove_prefix(digits);
  return value;
}

bool take(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

bool validDate(const ObservationDate& d) {
  return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= daysInMonth(d.year, d.month);
}

// "hh:mm", "hh:mm:ss" or "hh:mm:ss.fff", to the end of the text.
bool readTime(std::string_view text, ObservationDate& into) {
  if (!text.empty() && text.back() == 'Z') text.remove_suffix(1);
  const auto hour = takeNumber(text, 2);
  if (!hour || !take(text, ':')) return false;
  const auto minute = takeNumber(text, 2);
  if (!minute) return false;
  double second = 0;
  if (take(text, ':')) {
    const auto whole = takeNumber(text, 2);
    if (!whole) return false;
    second = *whole;
    if (take(text, '.')) {
      double scale = 0.1;
      if (text.empty()) return false;
      for (const char c : text) {
        if (c < '0' || c > '9') return false;
        second += (c - '0') * scale;
        scale /= 10;
      }
      text = {};
    }
  }
  if (!text.empty() || *hour > 23 || *minute > 59 || !(second < 61)) return false;
  into.hasTime = true;
  into.hour = *hour;
  into.minute = *minute;
  into.second = second;
  return true;
}

}  // namespace

std::optional<ObservationDate> observationDate(std::string_view dateText, std::string_view timeText) {
  std::string_view text = trimmed(dateText);
  ObservationDate date;
  if (text.size() >= 3 && text[2] == '/') {
    const auto day = takeNumber(text, 2);
    if (!day || !take(text, '/')) return std::nullopt;
    const auto month = takeNumber(text, 2);
    if (!month || !take(text, '/')) return std::nullopt;
    const auto year = takeNumber(text, 2);
    if (!year || !text.empty()) return std::nullopt;
    date.day = *day;
    date.month = *month;
    date.year = 1900 + *year;
  } else {
    const auto year = takeNumber(text, 4);
    if (!year || !take(text, '-')) return std::nullopt;
    const auto month = takeNumber(text, 2);
    if (!month || !take(text, '-')) return std::nullopt;
    const auto day = takeNumber(text, 2);
    if (!day) return std::nullopt;
    date.year = *year;
    date.month = *month;
    date.day = *day;
    if (take(text, 'T')) {
      // A time written in the date must be read, or the whole value is doubtful.
      if (!readTime(text, date)) return std::nullopt;
      text = {};
    }
    if (!text.empty()) return std::nullopt;
  }
  if (!validDate(date)) return std::nullopt;
  if (!date.hasTime) readTime(trimmed(timeText), date);
  return date;
}

std::optional<ObservationDate> observationDateOfTobs(std::string_view text) {
  text = trimmed(text);
  std::string_view scale = "UTC";
  if (const auto underscore = text.rfind('_'); underscore != std::string_view::npos && underscore > 10) {
    scale = text.substr(underscore + 1);
    text = text.substr(0, underscore);
  }
  if (scale != "UTC" && scale != "TAI" && scale != "TT") return std::nullopt;
  // "2010.10.15_23:01:00" is the ISO form with other separators.
  std::string iso(text);
  if (iso.size() > 10 && iso[4] == '.' && iso[7] == '.' && iso[10] == '_') {
    iso[4] = iso[7] = '-';
    iso[10] = 'T';
  }
  std::optional<ObservationDate> date = observationDate(iso, {});
  if (!date || !date->hasTime || scale == "UTC") return date && date->hasTime ? date : std::nullopt;

  double day1 = 0;
  double day2 = 0;
  const int whole = static_cast<int>(date->second);
  if (eraDtf2d("TAI", date->year, date->month, date->day, date->hour, date->minute, whole, &day1, &day2) < 0)
    return std::nullopt;
  day2 += (date->second - whole) / 86400;
  if (scale == "TT") day2 -= 32.184 / 86400;  // TT - TAI, exact by definition
  double utc1 = 0;
  double utc2 = 0;
  int fields[4] = {};
  if (eraTaiutc(day1, day2, &utc1, &utc2) < 0 ||
      eraD2dtf("UTC", 3, utc1, utc2, &date->year, &date->month, &date->day, fields) < 0)
    return std::nullopt;
  date->hour = fields[0];
  date->minute = fields[1];
  date->second = fields[2] + fields[3] / 1000.0;
  return date;
}

}  // namespace kavrel::image
