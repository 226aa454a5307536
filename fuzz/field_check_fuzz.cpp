// The per-keystroke field checks on arbitrary text: every field in both forms.
//
// An accepted text always reads, with the number reader, as an integer of its field's
// range (the year aside, which is only checked on its last character); the refusal
// named is always the field's own; the exact-text form accepts nothing the number-read
// form refuses; and the empty text is never refused.
#include <cmath>

#include "common/field_check.h"
#include "common/number_reader.h"
#include "fuzz_support.h"

using namespace kavrel;
using kavrel::fuzz::require;

namespace {

struct FieldRule {
  DateField field;
  Refusal refusal;
  int low;
  int high;
};

constexpr FieldRule kRules[] = {
    {DateField::Day, Refusal::Day, 1, 31},
    {DateField::Month, Refusal::Month, 1, 12},
    {DateField::Year, Refusal::Number, 0, 0},
    {DateField::Hour, Refusal::Hour, 0, 23},
    {DateField::Minute, Refusal::Minute, 0, 59},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = kavrel::fuzz::bytesAsText(data, size);
  const double value = readNumber(text);

  for (const FieldRule& rule : kRules) {
    const Refusal byValue = checkField(rule.field, CheckForm::NumberRead, text);
    const Refusal byText = checkField(rule.field, CheckForm::ExactText, text);
    for (const Refusal refusal : {byValue, byText}) {
      require(refusal == Refusal::None || refusal == rule.refusal);
      require(refusalMessage(refusal).empty() == (refusal == Refusal::None));
    }
    if (text.empty()) {
      require(byValue == Refusal::None && byText == Refusal::None);
      continue;
    }
    if (byText == Refusal::None) require(byValue == Refusal::None);

    if (rule.field == DateField::Year) {
      require(byValue == byText);
      if (byValue == Refusal::None) require(text == "-" || (kavrel::fuzz::isDigit(text.back()) && text != "0"));
      continue;
    }
    if (byValue == Refusal::None) {
      require(value >= rule.low && value <= rule.high && value == std::floor(value));
    }
    if (byText == Refusal::None) require(text.size() <= 2);
  }
  return 0;
}
