#include "journal/month.h"

#include <algorithm>
#include <tuple>

namespace kavrel::journal {
namespace {

// Whether `a` is the better choice for its day than `b`: the user's choice, then the
// better seeing (none ranks last), then the earlier time, then the first stored.
bool betterForDay(const Observation& a, const Observation& b) {
  const auto rank = [](const Observation& o) {
    return std::tuple(!o.chosenForDay, -o.seeing.value_or(0), o.time, o.id);
  };
  return rank(a) < rank(b);
}

struct Mean {
  double sum = 0;
  int count = 0;
  void add(double value) {
    sum += value;
    ++count;
  }
  [[nodiscard]] std::optional<double> value() const {
    return count > 0 ? std::optional<double>(sum / count) : std::nullopt;
  }
};

}  // namespace

std::vector<Observation> observationsOfDays(const std::vector<Observation>& observations) {
  std::vector<Observation> sorted = observations;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Observation& a, const Observation& b) {
    if (a.date != b.date) return a.date < b.date;
    return betterForDay(a, b);
  });
  std::vector<Observation> days;
  for (Observation& observation : sorted)
    if (days.empty() || days.back().date != observation.date) days.push_back(std::move(observation));
  return days;
}

MonthMeans monthMeans(const std::vector<Observation>& days) {
  Mean r, rNorth, rSouth, groups, groupsNorth, groupsSouth, spots;
  for (const Observation& day : days) {
    const Tally& counts = day.counts;
    r.add(relativeNumber(counts.disc));
    groups.add(counts.disc.groups);
    spots.add(counts.disc.spots);
    if (counts.split()) {
      rNorth.add(relativeNumber(*counts.north));
      rSouth.add(relativeNumber(*counts.south));
      groupsNorth.add(counts.north->groups);
      groupsSouth.add(counts.south->groups);
    }
  }
  MonthMeans means;
  means.days = static_cast<int>(days.size());
  means.relativeNumber = r.value();
  means.relativeNumberNorth = rNorth.value();
  means.relativeNumberSouth = rSouth.value();
  means.groupsPerDay = groups.value();
  means.groupsNorthPerDay = groupsNorth.value();
  means.groupsSouthPerDay = groupsSouth.value();
  means.spotsPerDay = spots.value();
  return means;
}

}  // namespace kavrel::journal
