// The observer's k by its three definitions (observer_k.h), and their lines.
#include "journal/observer_k.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/calendar_date.h"
#include "common/fixed_decimals.h"
#include "common/text.h"

namespace kavrel::journal {
namespace {

constexpr int kDecimals = 4;
constexpr char kNone[] = "–";

std::string fixed(std::optional<double> value, std::string_view decimalSeparator) {
  if (!value) return kNone;
  std::string text;
  appendFixed(text, *value, kDecimals, decimalSeparator.empty() ? '.' : decimalSeparator.front());
  return text;
}

std::string daysText(int days) { return " (" + std::to_string(days) + (days == 1 ? " jour)" : " jours)"); }

}  // namespace

KEstimate estimateK(const std::vector<PairedDay>& days) {
  KEstimate estimate;
  estimate.days = static_cast<int>(days.size());
  double international = 0;
  double observer = 0;
  std::vector<double> ratios;
  ratios.reserve(days.size());
  for (const PairedDay& day : days) {
    international += day.international;
    observer += day.observer;
    if (day.observer > 0) ratios.push_back(static_cast<double>(day.international) / day.observer);
  }
  if (observer > 0) estimate.ratioOfSums = international / observer;
  estimate.ratioDays = static_cast<int>(ratios.size());
  if (ratios.empty()) return estimate;

  double sum = 0;
  for (double ratio : ratios) sum += ratio;
  const double mean = sum / static_cast<double>(ratios.size());
  double squares = 0;
  for (double ratio : ratios) squares += (ratio - mean) * (ratio - mean);
  estimate.meanOfRatios = mean;
  estimate.standardDeviation = std::sqrt(squares / static_cast<double>(ratios.size()));

  const std::size_t middle = ratios.size() / 2;
  const auto middleAt = ratios.begin() + static_cast<std::ptrdiff_t>(middle);
  std::nth_element(ratios.begin(), middleAt, ratios.end());
  double median = ratios[middle];
  // Of an even number, the mean of the two middle ones: the lower is the largest below.
  if (ratios.size() % 2 == 0) median = (median + *std::max_element(ratios.begin(), middleAt)) / 2;
  estimate.median = median;
  return estimate;
}

std::vector<MonthK> estimateKByMonth(const std::vector<PairedDay>& days) {
  std::vector<MonthK> months;
  for (auto first = days.begin(); first != days.end();) {
    auto last = first;
    while (last != days.end() && last->date.year == first->date.year && last->date.month == first->date.month) ++last;
    months.push_back({first->date.year, first->date.month, estimateK({first, last})});
    first = last;
  }
  return months;
}

std::vector<std::string> kLines(const KEstimate& estimate, std::string_view decimalSeparator) {
  return {"k (rapport des sommes) : " + fixed(estimate.ratioOfSums, decimalSeparator) + daysText(estimate.days),
          "k (moyenne des rapports) : " + fixed(estimate.meanOfRatios, decimalSeparator) + " ± " +
              fixed(estimate.standardDeviation, decimalSeparator) + daysText(estimate.ratioDays),
          "k (médiane) : " + fixed(estimate.median, decimalSeparator)};
}

std::string kHemisphereLine(std::string_view hemisphere, const KEstimate& estimate,
                            std::string_view decimalSeparator) {
  return "k " + std::string(hemisphere) + " (rapport des sommes) : " + fixed(estimate.ratioOfSums, decimalSeparator) +
         daysText(estimate.days);
}

std::string kMonthLine(const MonthK& month, std::string_view decimalSeparator) {
  const KEstimate& k = month.estimate;
  return monthName(month.month) + ' ' + std::to_string(month.year) + " : " +
         fixed(k.ratioOfSums, decimalSeparator) + daysText(k.days) + ", moyenne des rapports " +
         fixed(k.meanOfRatios, decimalSeparator) + " ± " + fixed(k.standardDeviation, decimalSeparator) +
         daysText(k.ratioDays) + ", médiane " + fixed(k.median, decimalSeparator);
}

std::string tooFewDaysLine(int days) {
  return "Pas assez de jours communs (" + std::to_string(days) + ") pour estimer k.";
}

std::optional<double> chosenK(std::string_view text) {
  if (text.starts_with('+')) return std::nullopt;
  const std::optional<double> value = decimalNumber(text, ",");
  if (!value || !(*value > 0) || *value > kLargestChosenK) return std::nullopt;
  return value;
}

}  // namespace kavrel::journal
