// Dates and times of day written and read back (date_text.h).
#include "common/date_text.h"

#include <array>
#include <charconv>

#include "common/calendar_date.h"

namespace kavrel {
namespace {

// The digits of `value`, zeros before them up to `width`: one string grown in place, since
// the kavrel command writes a date and a time on each of a batch's many lines.
void appendPadded(std::string& text, unsigned long long value, std::size_t width) {
  std::array<char, 24> digits{};
  const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  const auto length = static_cast<std::size_t>(end - digits.data());
  if (length < width) text.append(width - length, '0');
  text.append(digits.data(), length);
}

// Two digits for a month, a day, an hour, a minute or a second; a negative value, which
// none of them takes, as it is.
void appendTwoDigits(std::string& text, int value) {
  if (value < 0) text += std::to_string(value);
  else appendPadded(text, static_cast<unsigned long long>(value), 2);
}


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
  std::string text;
  text.reserve(10);
  if (year < 0) text += '-';
  const auto magnitude = static_cast<unsigned long long>(year);
  appendPadded(text, year < 0 ? -magnitude : magnitude, 4);
  text += '-';
  appendTwoDigits(text, month);
  text += '-';
  appendTwoDigits(text, day);
  return text;
}

std::string hourMinute(int hour, int minute) {
  std::string text;
  text.reserve(8);
  appendTwoDigits(text, hour);
  text += ':';
  appendTwoDigits(text, minute);
  return text;
}

std::string hourMinuteSecond(int hour, int minute, int second) {
  std::string text = hourMinute(hour, minute);
  text += ':';
  appendTwoDigits(text, second);
  return text;
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
