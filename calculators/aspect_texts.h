// What the solar-aspect window shows and prints for its five fields.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "common/julian_day.h"

namespace kavrel::dalvoren {

// The captions of the eight result labels.
struct AspectTexts {
  std::string julianDay;       // lblJourJulien, "#######0.000"
  std::string rightAscension;  // lblAD, dms(hours) under "##0.0000"
  std::string declination;     // lblDéc, dms(degrees) under "##0.0000"
  std::string rotation;        // lblRotSyn, the integer, or " < 1"
  std::string semiDiameter;    // lblDemidiam, minutes, two spaces, seconds under "#0.0"
  std::string p;               // lblP, arr2 under "###0.00"
  std::string b0;              // lblBo
  std::string l0;              // lblLo
};

// Every caption is "#############" while a field is empty (the Julian day included).
[[nodiscard]] AspectTexts aspectTexts(const DateTexts& fields, std::string_view decimalSeparator);

inline constexpr std::string_view kReportTitle = "Aspect du Soleil - page ";

// Lines 2 to 10 of the printed report ("Date : ..." to "Lo : ..."), made of the fields'
// texts and the labels' captions exactly as they stand.
[[nodiscard]] std::array<std::string, 9> reportLines(const DateTexts& fields, const AspectTexts& labels);

}  // namespace kavrel::dalvoren
