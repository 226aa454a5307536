// The per-keystroke checks of the date and time fields.
#include "common/field_check.h"

#include <cmath>

#include "common/number_reader.h"

namespace kavrel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// True when the text is one of "low" .. "high" written without leading zero.
bool isPlainInteger(std::string_view text, int low, int high) {
  if (text.empty() || text.size() > 2 || !isDigit(text[0])) return false;
  if (text.size() == 2 && (text[0] == '0' || !isDigit(text[1]))) return false;
  int value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value >= low && value <= high;
}

// True for "00" to "09": the two-digit hours, minutes and months.
bool isZeroPadded(std::string_view text) { return text.size() == 2 && text[0] == '0' && isDigit(text[1]); }

// True when the value read from the text equals an integer of low .. high exactly.
bool readsAsInteger(std::string_view text, int low, int high) {
  const double value = readNumber(text);
  return value >= low && value <= high && value == std::floor(value);
}

bool inRange(std::string_view text, CheckForm form, int low, int high, bool zeroPaddedToo) {
  if (form == CheckForm::NumberRead) return readsAsInteger(text, low, high);
  return isPlainInteger(text, low, high) || (zeroPaddedToo && isZeroPadded(text));
}

Refusal checkYear(std::string_view text) {
  // Only the last character is looked at: the field is checked on every keystroke, and a
  // lone "-" starts a negative year. A lone "0" is refused, "-0" is year 0.
  if (text.size() == 1) return text == "-" || (isDigit(text[0]) && text[0] != '0') ? Refusal::None : Refusal::Number;
  return isDigit(text.back()) ? Refusal::None : Refusal::Number;
}

}  // namespace

Refusal checkField(DateField field, CheckForm form, std::string_view text) noexcept {
  if (text.empty()) return Refusal::None;
  switch (field) {
    case DateField::Day:
      return inRange(text, form, 1, 31, false) ? Refusal::None : Refusal::Day;
    case DateField::Month:
      return isPlainInteger(text, 1, 12) || (isZeroPadded(text) && text != "00") ? Refusal::None
                                                                                  : Refusal::Month;
    case DateField::Year:
      return checkYear(text);
    case DateField::Hour:
      return inRange(text, form, 0, 23, true) ? Refusal::None : Refusal::Hour;
    case DateField::Minute:
      return inRange(text, form, 0, 59, true) ? Refusal::None : Refusal::Minute;
  }
  return Refusal::None;
}

std::string_view refusalMessage(Refusal refusal) noexcept {
  switch (refusal) {
    case Refusal::None: return {};
    case Refusal::Day: return kDayMessage;
    case Refusal::Month: return kMonthMessage;
    case Refusal::Hour: return kHourMessage;
    case Refusal::Minute: return kMinuteMessage;
    case Refusal::Number: return kNumberMessage;
  }
  return {};
}

}  // namespace kavrel
