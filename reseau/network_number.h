// The arithmetic of each observer's k and of the network's number, fed with the
// observations as they stream from a base, never seeing the base. Day numbers (records.h)
// throughout; R is the relative number 10 g + f of the whole disc.
//
// - A reference: the days of SILSO's daily number, or of a pilot observer, as (day, R)
//   pairs. An observer's day pairs with the reference's day of the same number, when both
//   exist.
// - ObserverKs: fed in observer order (then date), each observer's k by the Journal's
//   three rules (journal/observer_k.h) over a period and per calendar year; only one
//   observer's paired days are held at a time.
// - NetworkScale: fed in observer order too, the k and the weight each observer's day
//   counts with in the network's day, by a NetworkRule:
//   · Default, a k known before the day's year: the ratio of sums over the paired days of
//     the three calendar years before it (at least 60), else of the ten years before (at
//     least 20), else none. Its weight is 1 / s², s² the mean over those paired days of
//     ((SN − k·R) / (SN + k·R))², the observer's own scatter about the reference: a
//     steady observer counts more than an erratic one.
//   · Global: one k per observer, the ratio of sums over the whole period (at least 100
//     paired days), every observer weighing alike.
// - NetworkDays: fed in date order (then observer), each day's weighted mean of k·R over
//   the day's observers who have a k, their number and scatter.
// - networkMonths: the month's mean of the network's days, SILSO's monthly mean beside it,
//   the network's 13-month smoothed number as SILSO smooths its own.
// Memory: per observer-year sums and one observer's days, one day's observers; never the
// whole network's rows.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "journal/observer_k.h"
#include "journal/silso.h"
#include "reseau/records.h"

namespace kavrel::reseau {

// The reference's days, each (day number, R), in day order, one per day.
class Reference {
 public:
  Reference() = default;
  explicit Reference(std::vector<std::pair<int, int>> days);
  [[nodiscard]] std::optional<int> on(int day) const;
  [[nodiscard]] const std::vector<std::pair<int, int>>& days() const noexcept { return days_; }

 private:
  static constexpr int kNoDay = -1;
  std::vector<std::pair<int, int>> days_;
  int first_ = 0;            // the first day's number
  std::vector<int> values_;  // each day's from the first, kNoDay where none
};

// The days a row is read on, and those it is read with.
struct RowFilter {
  int first = 0, last = 0;            // day numbers, inclusive
  std::optional<int> qualityAtLeast;  // a row without a quality is then left out
  [[nodiscard]] bool keeps(const ObservationRow& row) const noexcept;
};

// A pilot observer's days as the reference, gathered from rows of any order: the pilot's
// rows that `filter` keeps.
class PilotDays {
 public:
  PilotDays(Id pilot, RowFilter filter) : pilot_(pilot), filter_(filter) {}
  void add(const ObservationRow& row);
  [[nodiscard]] Reference finish() { return Reference(std::move(days_)); }

 private:
  Id pilot_;
  RowFilter filter_;
  std::vector<std::pair<int, int>> days_;
};

// The calendar year of a day number.
[[nodiscard]] int yearOf(int day) noexcept;

struct ObserverKResult {
  Id observer = 0;
  int year = 0;  // 0: the whole period
  journal::KEstimate estimate;
  bool given = false;  // enough paired days
};

class ObserverKs {
 public:
  struct Fewest {
    int period = 100;
    int year = 20;
  };
  ObserverKs(const Reference& reference, RowFilter filter, Fewest fewest, bool perYear);
  void add(const ObservationRow& row);  // in observer order, then date
  // Every observer's results, by observer as fed, then year.
  [[nodiscard]] std::vector<ObserverKResult> finish();

 private:
  void close();
  const Reference& reference_;
  RowFilter filter_;
  Fewest fewest_;
  bool perYear_;
  std::optional<Id> current_;
  std::vector<journal::PairedDay> paired_;
  std::vector<ObserverKResult> results_;
};

enum class NetworkRule { Default, Global };

struct ScaleEntry {
  Id observer = 0;
  int year = 0;  // 0 under Global: the whole period
  double k = 0;
  double weight = 1;
  int days = 0;  // paired days it was made of
};

class NetworkScale {
 public:
  // `filter`: the network's days; the default rule reads the ten years before them too.
  NetworkScale(const Reference& reference, RowFilter filter, NetworkRule rule, int fewestGlobal = 100);
  // The rows add() reads: those of the network's days and, under Default, of the ten
  // calendar years before the first.
  [[nodiscard]] RowFilter reads() const noexcept { return reads_; }
  void add(const ObservationRow& row);  // in observer order, then date
  void finish();
  // The entry an observer's day takes; none: the day is left out of the network's.
  [[nodiscard]] const ScaleEntry* on(Id observer, int day) const;
  [[nodiscard]] const std::vector<ScaleEntry>& entries() const noexcept { return entries_; }

 private:
  struct Paired {
    int day = 0, observer = 0, reference = 0;
  };
  void close();
  // The k of `year` from the paired days of the `years` calendar years before it.
  [[nodiscard]] std::optional<ScaleEntry> window(int year, int years, int fewest) const;
  const Reference& reference_;
  RowFilter filter_;
  RowFilter reads_;
  NetworkRule rule_;
  int fewestGlobal_;
  std::optional<Id> current_;
  std::vector<Paired> paired_;       // the current observer's, by date
  std::vector<int> observedYears_;   // the current observer's years in the period
  std::vector<ScaleEntry> entries_;  // by observer, then year
};

struct NetworkDay {
  int day = 0;  // dayNumber
  int observers = 0;
  double mean = 0;   // of k·R, weighted
  double sigma = 0;  // their weighted standard deviation (divided by the sum of weights)
};

class NetworkDays {
 public:
  NetworkDays(const NetworkScale& scale, RowFilter filter);
  void add(const ObservationRow& row);  // in date order
  [[nodiscard]] std::vector<NetworkDay> finish();

 private:
  void close();
  const NetworkScale& scale_;
  RowFilter filter_;
  std::optional<int> day_;
  std::vector<std::pair<double, double>> values_;  // the day's (k·R, weight)
  std::vector<NetworkDay> days_;
};

struct NetworkMonth {
  int year = 0, month = 0;
  int days = 0;                         // network days
  std::optional<double> network;        // mean of the network's days
  std::optional<double> observersMean;  // mean number of observers a network day
  std::optional<double> silso;          // SILSO's monthly mean, where given
  std::optional<double> smoothed;       // the network's 13-month smoothed number
};

// Every month from the first day's month to the last's (both day numbers), with the
// network's days (in date order) and SILSO's (day, SN) pairs (none: silso left empty).
[[nodiscard]] std::vector<NetworkMonth> networkMonths(const std::vector<NetworkDay>& days,
                                                      const std::vector<std::pair<int, int>>& silso, int first,
                                                      int last);

}  // namespace kavrel::reseau
