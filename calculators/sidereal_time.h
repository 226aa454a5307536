// Greenwich mean sidereal time at 0 h UT of a date.
//
//   T = (JD - 2415020) / 36525                  Julian centuries from 1900 January 0.5
//   theta = (0.276919398 + 100.0021359 T) + (0.000001075 T) T     in revolutions
//   H = 24 (theta - floor(theta))               hours; floor keeps 0 <= H < 24 before 1900
#pragma once

#include <string>
#include <string_view>

#include "common/julian_day.h"

namespace kavrel::kestrum {

[[nodiscard]] double siderealTimeAt0h(double julianDay) noexcept;

struct SiderealTexts {
  std::string julianDay;     // lblJourJulien: always computed, an empty field reading 0
  std::string siderealTime;  // Label7: dms(H) under "##00.0000", or "#############"
};

// Day, month and year fields (hour and minute are ignored: the instant is 0 h UT).
[[nodiscard]] SiderealTexts siderealTexts(const DateTexts& fields, std::string_view decimalSeparator);

}  // namespace kavrel::kestrum
