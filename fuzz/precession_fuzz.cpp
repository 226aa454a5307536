// The precession computation for arbitrary texts in its four input boxes.
//
// Input: "separator|reference year|right ascension|declination|target year".
//
// The messages come as up to two year warnings and then possibly "Données incorrectes";
// the results are written both or neither, and neither exactly with that message. A
// starting position out of range gives that message alone; a year that converts gives
// its warning exactly when it lies outside 1700..2200; and once both years convert, the
// results are shown whenever the years read lie within 10^290 of each other.
#include <algorithm>

#include "common/number_reader.h"
#include "common/strict_number.h"
#include "fuzz_support.h"
#include "calculators/precession.h"

using namespace kavrel;
using kavrel::fuzz::require;
using precession::Message;

namespace {

bool outOfYears(double year) { return year < 1700 || year > 2200; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = kavrel::fuzz::splitFields(data, size, 4);
  const auto& t = fields.texts;
  const precession::Inputs inputs{t[0], t[1], t[2], t[3]};
  const precession::Outcome outcome = precession::compute(inputs, fields.separator);

  const auto& messages = outcome.messages;
  const auto warnings = std::count(messages.begin(), messages.end(), Message::YearOutOfRange);
  const bool badData = !messages.empty() && messages.back() == Message::BadData;
  require(warnings <= 2);
  require(static_cast<std::size_t>(warnings) + (badData ? 1 : 0) == messages.size());
  require(outcome.rightAscension.has_value() == outcome.declination.has_value());
  if (badData) require(!outcome.rightAscension.has_value());

  for (const auto* result : {&outcome.rightAscension, &outcome.declination}) {
    if (!*result) continue;
    const auto shown = kavrel::fuzz::requireResult(**result, 4, 1, fields.separator);
    require(shown.has_value());
    kavrel::fuzz::requireSexagesimalDigits(*shown);
  }

  const double rightAscension = readNumber(inputs.rightAscension);
  const double declination = readNumber(inputs.declination);
  if (rightAscension > 24 || rightAscension < 0 || declination > 90 || declination < -90) {
    require(messages.size() == 1 && badData);
    return 0;
  }

  const auto target = parseStrictNumber(inputs.targetYear, fields.separator);
  if (!target) {
    require(messages.size() == 1 && badData);
    return 0;
  }
  const auto reference = parseStrictNumber(inputs.referenceYear, fields.separator);
  require(badData == !reference.has_value());
  require(warnings == (outOfYears(*target) ? 1 : 0) + (reference && outOfYears(*reference) ? 1 : 0));

  const double years = readNumber(inputs.targetYear) - readNumber(inputs.referenceYear);
  if (reference && std::fabs(years) < 1e290) require(outcome.rightAscension.has_value());
  return 0;
}
