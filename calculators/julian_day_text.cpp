// What the Julian-day window shows for its five fields.
#include "calculators/julian_day_text.h"

#include "common/display_mask.h"

namespace kavrel::farrowel {

std::string julianDayText(const DateTexts& fields, std::string_view decimalSeparator) {
  if (anyEmpty(fields)) return std::string(kEmptyResult);
  return formatMask(julianDay(readDateTime(fields), CenturyCut::Floor), mask::kJulianDay, decimalSeparator);
}

}  // namespace kavrel::farrowel
