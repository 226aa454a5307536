// The network's pictures as numbers and texts (journal/chart_series.h's Chart: series, axes,
// French titles and legends), painted as the Journal's are (pictures/journal_charts.h):
//
// - "mensuel": the network's monthly number, its 13-month smoothed number and SILSO's
//   monthly mean, against time;
// - "k": each observer's yearly k by the ratio of sums (its drift), one line per observer,
//   for the observers with a k in at least kFewestYearsDrawn of the years drawn; the
//   kMostObserversDrawn of them with the most such years, so that the lines stay apart;
// - "observateurs": the observers who sent days in each month (bars) and the mean number
//   of observers of the network's days of the month (a line).
//
// Time in decimal years (a month at its middle, a year's k at the year's middle); a NaN y
// breaks a line (a month or a year without a value). Made from computed values only:
// nothing here reads a base.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "journal/chart_series.h"
#include "reseau/coefficients.h"

namespace kavrel::reseau {

enum class NetworkChartKind { Monthly, K, Observers };

// "mensuel", "k", "observateurs"; none for another name.
[[nodiscard]] std::optional<NetworkChartKind> networkChartKindNamed(std::string_view name) noexcept;

inline constexpr int kFewestYearsDrawn = 5;
inline constexpr std::size_t kMostObserversDrawn = 12;

// The observers who sent at least one day in a month.
struct MonthObservers {
  int year = 0, month = 0;
  int observers = 0;
};

// Counts them from the observations handed one at a time (as Store::scan hands them), in
// any order; memory grows with months × observers, not with the observations.
class ObserversByMonth {
 public:
  void add(const ObservationRow& row);
  [[nodiscard]] std::vector<MonthObservers> months() const;  // in date order

 private:
  std::map<std::pair<int, int>, std::set<Id>> seen_;
};

struct NetworkChartData {
  NetworkSeries series;                  // "mensuel", "observateurs"
  std::vector<ObserverK> yearlyK;        // "k": rows by year (those of year 0 ignored)
  std::vector<MonthObservers> observers; // "observateurs"
  std::optional<std::string> pilot;      // the k's reference when not SILSO: the pilot's code
  std::optional<int> firstYear;          // the years drawn; none: those of the data
  std::optional<int> lastYear;
  std::string decimalSeparator = ",";
};

// The chart; its note (journal::kNothingToDraw) says when nothing is drawn.
[[nodiscard]] journal::Chart makeNetworkChart(NetworkChartKind kind, const NetworkChartData& data);

// "reseau-mensuel-1990-2019.png", "reseau-k-2014.svg", "reseau-observateurs.pdf" when
// nothing is drawn. `extension` without its dot.
[[nodiscard]] std::string networkChartFileName(NetworkChartKind kind, const journal::Chart& chart,
                                               std::string_view extension = "png");

}  // namespace kavrel::reseau
