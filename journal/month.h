// A month of one observer's log as the reports count it: one observation per day, and the
// month's means over the days observed.
//
// An observer may observe twice a day. The day's observation is the one the user chose,
// else the one of the better seeing (an observation without seeing ranks last), else the
// earlier. R = 10 g + f; R north and R south exist only for a split observation, and their
// means are over the days with split counts. "Groupes par jour" is the mean of g over the
// days observed (the mean daily frequency of groups).
#pragma once

#include <optional>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

// The day's observations, one per day, in date order, from observations of any order.
[[nodiscard]] std::vector<Observation> observationsOfDays(const std::vector<Observation>& observations);

struct MonthMeans {
  int days = 0;  // days observed
  std::optional<double> relativeNumber;
  std::optional<double> relativeNumberNorth;  // over the days split north and south
  std::optional<double> relativeNumberSouth;
  std::optional<double> groupsPerDay;
  std::optional<double> groupsNorthPerDay;
  std::optional<double> groupsSouthPerDay;
  std::optional<double> spotsPerDay;
};

// The means of the days' observations (as observationsOfDays returns them).
[[nodiscard]] MonthMeans monthMeans(const std::vector<Observation>& days);

}  // namespace kavrel::journal
