// Each observer's coefficient and the network's number, from a base's observations and a
// reference: SILSO's daily number, or a pilot observer of the network. The base is read
// streaming (observer order for the k, date order for the network's days) and handed to
// the arithmetic of network_number.h, which says the rules:
// - k: R_reference ≈ k · R_observer over the paired days, by the Journal's three rules,
//   over a period and per calendar year; fewer than `fewestDays` paired days (100 over a
//   period, 20 in a year) gives none. `qualityAtLeast` keeps only the days of that quality
//   or better (a day without a quality is then left out), for the k and the network alike.
// - The network's day: the weighted mean of k·R over the day's observers that have a k,
//   with their number and standard deviation; by default each observer's k of a day is
//   one known before the day's year, `Global` takes one per observer over the period.
// - The month: the mean of the network's days; SILSO's monthly mean beside it; the
//   network's 13-month smoothed number.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "journal/observer_k.h"
#include "reseau/network_number.h"
#include "reseau/store.h"

namespace kavrel::reseau {

struct KOptions {
  int first = 0, last = 0;           // day numbers, inclusive
  std::optional<std::string> pilot;  // the pilot's code; none: SILSO
  std::optional<int> qualityAtLeast;
  int fewestDays = 100;       // over the period (and for the network's global k)
  int fewestDaysInYear = 20;  // in a calendar year
};

struct ObserverK {
  Id observer = 0;
  std::string code;
  int year = 0;                 // 0: the whole period
  journal::KEstimate estimate;  // estimate.days < the fewest: no k given
  bool given = false;
};

struct KTable {
  std::vector<ObserverK> rows;  // by observer code, then year
  std::string error;            // French; rows empty then
  bool refused = false;         // the error is the request's (a pilot the base does not hold)
};
[[nodiscard]] KTable computeK(const Store& store, const KOptions& options, bool perYear);

struct NetworkSeries {
  std::vector<NetworkDay> days;
  std::vector<NetworkMonth> months;
  std::string error;  // French; days and months empty then
  // The k and weight each observer's days took, by observer then year (year 0 under
  // Global): what a bulletin shows beside the network's number.
  std::vector<ScaleEntry> scale;
};
[[nodiscard]] NetworkSeries computeNetwork(const Store& store, const KOptions& options, NetworkRule rule);

}  // namespace kavrel::reseau
