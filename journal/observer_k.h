// The observer's k: R_international ≈ k · R_observer, over the days both have.
//
// - ratio of sums: ΣSN / ΣR over the paired days (days of R = 0 count);
// - mean of ratios: the mean of SN/R over the paired days with R > 0, with the standard
//   deviation of those ratios (divided by their number, not one less);
// - median of the same ratios.
// The three differ by several per cent on real data: a few days of small R weigh heavily
// in the mean of ratios, not in the ratio of sums.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

struct PairedDay {
  Day date;
  int observer = 0;  // the observer's R of the day's observation
  int international = 0;
};

struct KEstimate {
  int days = 0;                  // paired days
  std::optional<double> ratioOfSums;
  int ratioDays = 0;             // paired days with R > 0
  std::optional<double> meanOfRatios;
  std::optional<double> standardDeviation;
  std::optional<double> median;
};

inline constexpr int kFewestPairedDays = 20;

[[nodiscard]] KEstimate estimateK(const std::vector<PairedDay>& days);

}  // namespace kavrel::journal
