// Dates and times of day written and read back (date_text.h).
#include "common/date_text.h"

#include "common/calendar_date.h"

namespace kavrel {
namespace {

std::string twoDigits(int value) { return (value >= 0 && value < 10 ? "0" : "") + std::to_string(value); }

// The digits of text[from, from + count); none when one of them is not a digit.
std::optional<int> digitsAt(std::string_view text, std::size_t from, std::size_t count) noexcept {
  int value = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::string isoDate(long long year, int month, int day) {
  const auto magnitude = static_cast<unsigned long long>(year);
  std::string digits = std::to_string(year < 0 ? -magnitude : magnitude);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  return (year < 0 ? "-" : "") + digits + '-' + twoDigits(month) + '-' + twoDigits(day);
}

std::string hourMinute(int hour, int minute) { return twoDigits(hour) + ':' + twoDigits(minute); }

std::string hourMinuteSecond(int hour, int minute, int second) {
  return hourMinute(hour, minute) + ':' + twoDigits(second);
}

std::string frenchLongDate(int year, int month, int day) {
  return std::to_string(day) + (day == 1 ? "er " : " ") + monthName(month) + ' ' + std::to_string(year);
}

std::optional<YearMonthDay> readIsoDate(std::string_view text) noexcept {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
  if (!year || !month || !day) return std::nullopt;
  return YearMonthDay{*year, *month, *day};
}

std::optional<HourMinute> readHourMinute(std::string_view text) noexcept {
  if (text.size() != 5 || text[2] != ':') return std::nullopt;
  const auto hour = digitsAt(text, 0, 2), minute = digitsAt(text, 3, 2);
  if (!hour || !minute) return std::nullopt;
  return HourMinute{*hour, *minute};
}

}  // namespace kavrel
