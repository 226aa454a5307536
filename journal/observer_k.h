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
#include <string_view>
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

// The estimate of each month that has paired days, in date order (`days` in date order).
struct MonthK {
  int year = 0;
  int month = 0;
  KEstimate estimate;
};
[[nodiscard]] std::vector<MonthK> estimateKByMonth(const std::vector<PairedDay>& days);

// The estimate's lines, as the command prints them and the window shows them, with the
// decimal separator of the locale:
//   k (rapport des sommes) : 1,2210 (212 jours)
//   k (moyenne des rapports) : 1,2417 ± 0,1980 (209 jours)
//   k (médiane) : 1,2300
// A value that cannot be made (no day of R > 0, ΣR = 0) is written "–".
[[nodiscard]] std::vector<std::string> kLines(const KEstimate& estimate, std::string_view decimalSeparator);
// "k nord (rapport des sommes) : 1,1980 (150 jours)", for `hemisphere` "nord" or "sud".
[[nodiscard]] std::string kHemisphereLine(std::string_view hemisphere, const KEstimate& estimate,
                                          std::string_view decimalSeparator);
// "février 2014 : 1,2210 (21 jours), moyenne des rapports 1,2417 ± 0,1980 (20 jours),
// médiane 1,2300": a month on one line, its ratio of sums first.
[[nodiscard]] std::string kMonthLine(const MonthK& month, std::string_view decimalSeparator);
// "Pas assez de jours communs (12) pour estimer k."
[[nodiscard]] std::string tooFewDaysLine(int days);

// A k the user chooses, typed with the comma or the point: a number above 0 and at most
// 10^6; none for anything else (a sign, a blank, letters).
inline constexpr double kLargestChosenK = 1e6;
[[nodiscard]] std::optional<double> chosenK(std::string_view text);

}  // namespace kavrel::journal
