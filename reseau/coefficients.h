// Each observer's coefficient and the network's number, from a base's observations and a
// reference: SILSO's daily number, or a pilot observer of the network.
//
// - k: R_reference ≈ k · R_observer over the paired days (both the observer's and the
//   reference's day exist), by the Journal's three rules (journal/observer_k.h): ratio of
//   sums (R = 0 days count), mean of ratios ± σ, median; over a period and per calendar
//   year; fewer than `fewestDays` paired days (100 over a period, 20 in a year) gives none.
//   `qualityAtLeast` keeps only the days of that quality or better (a day without a
//   quality is then left out).
// - The network's day: the mean of k·R over the day's observers that have a k, with their
//   number and standard deviation. By default each observer's k of a day is the one known
//   before that day's year (see Rule); `global` takes one k per observer over the whole
//   period (ratio of sums, at least 100 paired days).
// - The month: the mean of the network's days of the month; SILSO's 13-month smoothing.
// Memory flat in the network's size: the observations are read streaming, twice.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "journal/observer_k.h"
#include "journal/silso.h"
#include "reseau/store.h"

namespace kavrel::reseau {

struct KOptions {
  int first = 0, last = 0;  // day numbers, inclusive
  std::optional<std::string> pilot;  // the pilot's code; none: SILSO
  std::optional<int> qualityAtLeast;
  int fewestDays = 100;        // over the period
  int fewestDaysInYear = 20;   // in a calendar year
};

struct ObserverK {
  Id observer = 0;
  std::string code;
  int year = 0;  // 0: the whole period
  journal::KEstimate estimate;  // estimate.days < the fewest: no k given
  bool given = false;
};

struct KTable {
  std::vector<ObserverK> rows;  // by observer code, then year
  std::string error;
};
[[nodiscard]] KTable computeK(const Store& store, const KOptions& options, bool perYear);

enum class NetworkRule { Default, Global };

struct NetworkDay {
  int day = 0;  // dayNumber
  int observers = 0;
  double mean = 0;   // of k·R
  double sigma = 0;  // their standard deviation (divided by their number)
};

struct NetworkMonth {
  int year = 0, month = 0;
  int days = 0;  // network days
  std::optional<double> network;        // mean of the network's days
  std::optional<double> observersMean;  // mean number of observers a day
  std::optional<double> silso;          // SILSO's monthly mean, where imported
  std::optional<double> smoothed;       // the network's 13-month smoothed number
};

struct NetworkSeries {
  std::vector<NetworkDay> days;
  std::vector<NetworkMonth> months;
  std::string error;
};
[[nodiscard]] NetworkSeries computeNetwork(const Store& store, const KOptions& options, NetworkRule rule);

}  // namespace kavrel::reseau
