// The sidereal-time window's two results for arbitrary texts in its date fields.
//
// Input: "separator|day|month|year".
//
// The Julian day is always shown (an empty field reading 0), under "#######0.000", or
// as the empty result when it leaves the double range. The sidereal time is the empty
// result while a field is empty; otherwise a time of day under "##00.0000", within 24 h
// (a turn just short of a whole one may round to 24 h) with minutes and seconds below
// 60, shown for every Julian day within 10^100.
#include "common/number_reader.h"
#include "fuzz_support.h"
#include "calculators/sidereal_time.h"

using namespace kavrel;
using kavrel::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = kavrel::fuzz::splitFields(data, size, 3);
  const auto& t = fields.texts;
  const DateTexts date{t[0], t[1], t[2]};
  const kestrum::SiderealTexts shown = kestrum::siderealTexts(date, fields.separator);

  const auto julianDay = kavrel::fuzz::requireResult(shown.julianDay, 3, 1, fields.separator);
  if (anyEmpty(date)) {
    require(shown.siderealTime == kEmptyResult);
    return 0;
  }
  const auto time = kavrel::fuzz::requireResult(shown.siderealTime, 4, 2, fields.separator);
  if (julianDay && std::fabs(julianDay->value) < 1e100) require(time.has_value());
  if (time) {
    require(!time->negative && time->value <= 24);
    kavrel::fuzz::requireSexagesimalDigits(*time);
  }
  return 0;
}
