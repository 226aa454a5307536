// Greenwich mean sidereal time at 0 h UT of a date.
#include "calculators/sidereal_time.h"

#include <cmath>

#include "common/display_mask.h"
#include "common/sexagesimal.h"

namespace kavrel::kestrum {

double siderealTimeAt0h(double julianDay) noexcept {
  const double t = (julianDay - 2415020) / 36525;
  const double revolutions = (0.276919398 + 100.0021359 * t) + (0.000001075 * t) * t;
  return 24 * (revolutions - std::floor(revolutions));
}

SiderealTexts siderealTexts(const DateTexts& fields, std::string_view decimalSeparator) {
  const DateTexts date{fields.day, fields.month, fields.year};  // 0 h UT
  const double jd = julianDay(readDateTime(date), CenturyCut::TowardZero);
  SiderealTexts texts;
  texts.julianDay = formatMask(jd, mask::kJulianDay, decimalSeparator);
  texts.siderealTime = anyEmpty(date) ? std::string(kEmptyResult)
                                      : formatMask(dms(siderealTimeAt0h(jd)), mask::kSiderealTime, decimalSeparator);
  return texts;
}

}  // namespace kavrel::kestrum
