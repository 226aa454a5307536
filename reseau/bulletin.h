// A month's bulletin of the network as values and French texts, ready to be laid out on
// paper (pictures/network_bulletin.h paints it):
//
// - its title, "Bulletin du réseau — février 2014";
// - the summary: the network's days and monthly number, its 13-month smoothed number and
//   SILSO's monthly mean where known, the observers and their days;
// - one row per observer who sent days of the month: the days, the mean R (R = 10 g + f of
//   the whole disc), the k and the mean R times k. The k shown is the one the network's
//   number took for the observer that year (the series' scale), so that the columns add
//   up to the network's days; a series without its scale: the observer's row of the
//   bulletin's year in the table given, else its row of the whole period (year 0);
// - one row per network day: the observers counted, the mean of k·R and its deviation;
// - the monthly picture: the network's monthly number over the years up to the month's.
// Made from computed values only: nothing here reads a base.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/chart_series.h"
#include "reseau/coefficients.h"
#include "reseau/records.h"

namespace kavrel::reseau {

// The years the bulletin's picture spans: the month's year and those before.
inline constexpr int kBulletinChartYears = 5;

struct BulletinObserver {
  std::string code;
  int days = 0;
  double meanR = 0;
  std::optional<double> k;
  std::optional<double> scaled;  // meanR × k
  // Observateur, Jours, R moyen, k, k × R moyen; "–" where there is no value.
  std::array<std::string, 5> cells;
};

struct BulletinDay {
  int day = 0;  // of the month
  int observers = 0;
  double mean = 0;
  double sigma = 0;
  // Jour, Observateurs, R du réseau, σ.
  std::array<std::string, 4> cells;
};

struct Bulletin {
  int year = 0, month = 0;
  std::string title;
  std::vector<std::string> summary;
  std::vector<BulletinObserver> observers;  // by code
  std::vector<BulletinDay> days;            // in date order
  journal::Chart chart;
};

inline constexpr std::array<const char*, 5> kObserverCaptions = {"Observateur", "Jours", "R moyen", "k",
                                                                 "k × R moyen"};
inline constexpr std::array<const char*, 4> kDayCaptions = {"Jour", "Observateurs", "R du réseau", "σ"};

// The bulletin of `month` of `year` from the month's observations (every observer's, as
// the base gives them), the coefficients and the network's series.
[[nodiscard]] Bulletin makeBulletin(int year, int month, const std::vector<NetworkObservation>& observations,
                                    const std::vector<ObserverK>& ks, const NetworkSeries& series,
                                    std::string_view decimalSeparator = ",");

// "reseau-bulletin-2014-02.pdf".
[[nodiscard]] std::string bulletinFileName(int year, int month);

}  // namespace kavrel::reseau
