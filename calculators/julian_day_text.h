// What the Julian-day window shows for its five fields.
#pragma once

#include <string>
#include <string_view>

#include "common/julian_day.h"

namespace kavrel::farrowel {

// The caption of lblJourJulien: the Julian day of the fields (read with the number
// reader, the century cut by floor) under the mask "#######0.000", or "#############"
// while a field is empty.
[[nodiscard]] std::string julianDayText(const DateTexts& fields, std::string_view decimalSeparator);

}  // namespace kavrel::farrowel
