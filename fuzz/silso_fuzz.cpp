// Arbitrary bytes read as SILSO's daily files, total and hemispheric.
//
// Whatever the bytes, the reading ends; a refusal names a line of the file and keeps no
// day; the days accepted are real dates in increasing order with numbers of 0 or more.
// Their monthly means lie between the month's smallest and largest day, the smoothed
// means between the smallest and largest monthly mean, and k made of them is finite.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/calendar_date.h"
#include "fuzz_support.h"
#include "journal/observer_k.h"
#include "journal/silso.h"

using kavrel::fuzz::require;
namespace journal = kavrel::journal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = kavrel::fuzz::bytesAsText(data, size);
  const long long lines = 1 + std::count(text.begin(), text.end(), '\n');
  for (const auto kind : {journal::SilsoFile::Kind::Total, journal::SilsoFile::Kind::Hemispheric}) {
    const journal::SilsoFile file = journal::parseSilso(text, kind);
    if (!file.error.empty()) {
      require(file.days.empty() && file.line >= 1 && file.line <= lines + 1);
      continue;
    }
    require(file.line == 0 && !file.days.empty());
    std::vector<journal::PairedDay> paired;
    for (std::size_t i = 0; i < file.days.size(); ++i) {
      const journal::SilsoDay& day = file.days[i];
      require(day.date.month >= 1 && day.date.month <= 12 && day.date.day >= 1 &&
              day.date.day <= kavrel::daysInMonth(day.date.year, day.date.month));
      require(i == 0 || file.days[i - 1].date < day.date);
      for (const auto& value : {day.total, day.north, day.south}) require(!value || *value >= 0);
      if (kind == journal::SilsoFile::Kind::Total) require(!day.north && !day.south);
      if (day.total) paired.push_back({day.date, day.north.value_or(*day.total / 2), *day.total});
    }
    const auto means = journal::monthlyMeans(file.days);
    double lowest = INFINITY, highest = -INFINITY;
    for (const auto& month : means) {
      if (!month.value) continue;
      lowest = std::min(lowest, *month.value);
      highest = std::max(highest, *month.value);
      double low = INFINITY, high = -INFINITY;
      for (const auto& day : file.days)
        if (day.date.year == month.year && day.date.month == month.month && day.total) {
          low = std::min(low, double(*day.total));
          high = std::max(high, double(*day.total));
        }
      require(*month.value >= low && *month.value <= high);
    }
    const auto smoothed = journal::smoothed13(means);
    require(smoothed.size() == means.size());
    for (const auto& month : smoothed)
      if (month.value) require(*month.value >= lowest - 1e-9 && *month.value <= highest + 1e-9);
    const journal::KEstimate k = journal::estimateK(paired);
    for (const auto& value : {k.ratioOfSums, k.meanOfRatios, k.standardDeviation, k.median})
      if (value) require(std::isfinite(*value) && *value >= 0);
    for (const auto& line : journal::kLines(k, ",")) require(!line.empty());
  }
  return 0;
}
