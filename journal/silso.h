// The international sunspot number as the World Data Center (SILSO, Brussels) publishes
// it, read from its daily files, and the means SILSO itself makes of it.
//
// SN_d_tot_V2.0.csv: ";", no header: year; month; day; decimal year; SN; σ; number of
// observations; 1 definitive / 0 provisional; -1 marks a missing value.
// SN_d_hem_V2.0.csv: year; month; day; decimal year; total; north; south; σ total, north,
// south; observations total, north, south; flag.
// A malformed line refuses the whole file with its line number (the first line is 1).
//
// The monthly mean is the plain mean of the month's days with a value (SILSO's own); the
// 13-month smoothed mean weights the months m-6 and m+6 by 1/2 and the eleven between by
// 1, divided by 12, and exists only where all thirteen monthly means exist.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

struct SilsoDay {
  Day date;
  std::optional<int> total;  // none: missing (-1 in the file)
  std::optional<int> north;  // from the hemispheric file only
  std::optional<int> south;
  bool definitive = true;
};

struct SilsoFile {
  enum class Kind { Total, Hemispheric } kind = Kind::Total;
  std::vector<SilsoDay> days;  // in the file's order
  int line = 0;                // the malformed line, 0 when read
  std::string error;           // its French message, empty when read
};

[[nodiscard]] SilsoFile parseSilso(std::string_view text, SilsoFile::Kind kind);

struct MonthValue {
  int year = 0;
  int month = 0;
  std::optional<double> value;
  int days = 0;  // days with a value in the month
};

// Monthly means of days in date order (all of the same series), one per month from the
// first day's month to the last's.
[[nodiscard]] std::vector<MonthValue> monthlyMeans(const std::vector<SilsoDay>& days);
// The 13-month smoothed mean of each month of `means` (consecutive months), made as
// SILSO makes it: of the monthly means rounded to one decimal, as it publishes them.
[[nodiscard]] std::vector<MonthValue> smoothed13(const std::vector<MonthValue>& means);
// To one decimal, a half away from zero (SILSO's 250.25 is 250.3).
[[nodiscard]] double roundedToTenth(double value);

}  // namespace kavrel::journal
