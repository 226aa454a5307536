// A month's bulletin of the network as values and texts (bulletin.h).
#include "reseau/bulletin.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "common/calendar_date.h"
#include "common/fixed_decimals.h"
#include "reseau/network_charts.h"

namespace kavrel::reseau {
namespace {

constexpr char kNone[] = "–";

std::string decimal(double value, int decimals, std::string_view separator) {
  std::string text;
  appendFixed(text, value, decimals, separator.empty() ? ',' : separator.front());
  return text;
}

std::string decimalOr(const std::optional<double>& value, int decimals, std::string_view separator) {
  return value ? decimal(*value, decimals, separator) : kNone;
}

// "2 jours", "1 jour".
std::string counted(int n, const char* one, const char* many) {
  return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

// The observer's k for the bulletin's year: the one the network's number took that year
// where the series says it, else its row of that year in the table, else of the whole
// period.
std::optional<double> kOf(const std::string& code, int year, const std::vector<ObserverK>& ks,
                          const std::vector<ScaleEntry>& scale) {
  if (!scale.empty()) {
    const auto known = std::find_if(ks.begin(), ks.end(), [&](const ObserverK& row) { return row.code == code; });
    if (known == ks.end()) return std::nullopt;
    for (const ScaleEntry& entry : scale)
      if (entry.observer == known->observer && (entry.year == year || entry.year == 0)) return entry.k;
    return std::nullopt;
  }
  std::optional<double> whole;
  for (const auto& row : ks) {
    if (row.code != code || !row.given || !row.estimate.ratioOfSums) continue;
    if (row.year == year) return row.estimate.ratioOfSums;
    if (row.year == 0) whole = row.estimate.ratioOfSums;
  }
  return whole;
}

std::vector<BulletinObserver> observerRows(int year, const std::vector<NetworkObservation>& observations,
                                           const std::vector<ObserverK>& ks, const std::vector<ScaleEntry>& scale,
                                           std::string_view separator) {
  struct Sum {
    int days = 0;
    long long r = 0;
  };
  std::map<std::string, Sum> sums;
  for (const auto& o : observations) {
    Sum& sum = sums[o.observer];
    ++sum.days;
    sum.r += 10LL * o.disc.groups + o.disc.spots;
  }
  std::vector<BulletinObserver> rows;
  for (const auto& [code, sum] : sums) {
    BulletinObserver row;
    row.code = code;
    row.days = sum.days;
    row.meanR = static_cast<double>(sum.r) / sum.days;
    row.k = kOf(code, year, ks, scale);
    if (row.k) row.scaled = *row.k * row.meanR;
    row.cells = {code, std::to_string(row.days), decimal(row.meanR, 1, separator), decimalOr(row.k, 4, separator),
                 decimalOr(row.scaled, 1, separator)};
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<BulletinDay> dayRows(int year, int month, const NetworkSeries& series, std::string_view separator) {
  std::vector<BulletinDay> rows;
  for (const auto& d : series.days) {
    const Day date = dayOfNumber(d.day);
    if (date.year != year || date.month != month) continue;
    BulletinDay row{date.day, d.observers, d.mean, d.sigma, {}};
    row.cells = {std::to_string(date.day), std::to_string(d.observers), decimal(d.mean, 1, separator),
                 decimal(d.sigma, 1, separator)};
    rows.push_back(std::move(row));
  }
  std::sort(rows.begin(), rows.end(), [](const BulletinDay& a, const BulletinDay& b) { return a.day < b.day; });
  return rows;
}

std::vector<std::string> summaryLines(const Bulletin& b, const NetworkSeries& series, std::string_view separator) {
  const NetworkMonth* found = nullptr;
  for (const auto& m : series.months)
    if (m.year == b.year && m.month == b.month) found = &m;
  std::vector<std::string> lines;
  if (found && found->network)
    lines.push_back("Réseau : " + counted(found->days, "jour", "jours") + ", nombre mensuel " +
                    decimal(*found->network, 1, separator));
  else
    lines.push_back("Réseau : aucun jour ne donne de nombre ce mois-ci.");
  if (found && found->smoothed)
    lines.push_back("Nombre lissé sur 13 mois du réseau : " + decimal(*found->smoothed, 1, separator));
  if (found && found->silso) lines.push_back("Moyenne mensuelle SILSO : " + decimal(*found->silso, 1, separator));
  int days = 0;
  for (const auto& o : b.observers) days += o.days;
  std::string observers = "Observateurs : " + std::to_string(b.observers.size()) + ", " +
                          counted(days, "jour observé", "jours observés");
  if (found && found->observersMean)
    observers += ", " + decimal(*found->observersMean, 1, separator) + " par jour du réseau en moyenne";
  lines.push_back(observers);
  return lines;
}

// The monthly picture over the bulletin's year and those before, up to its month.
journal::Chart bulletinChart(int year, int month, const NetworkSeries& series, std::string_view separator) {
  NetworkChartData data;
  for (const auto& m : series.months)
    if (m.year < year || (m.year == year && m.month <= month)) data.series.months.push_back(m);
  data.firstYear = year - kBulletinChartYears + 1;
  data.lastYear = year;
  data.decimalSeparator = std::string(separator);
  return makeNetworkChart(NetworkChartKind::Monthly, data);
}

}  // namespace

Bulletin makeBulletin(int year, int month, const std::vector<NetworkObservation>& observations,
                      const std::vector<ObserverK>& ks, const NetworkSeries& series, std::string_view decimalSeparator) {
  Bulletin b;
  b.year = year;
  b.month = month;
  b.title = "Bulletin du réseau — " + monthName(month) + ' ' + std::to_string(year);
  std::vector<NetworkObservation> ofMonth;
  for (const auto& o : observations)
    if (o.date.year == year && o.date.month == month) ofMonth.push_back(o);
  b.observers = observerRows(year, ofMonth, ks, series.scale, decimalSeparator);
  b.days = dayRows(year, month, series, decimalSeparator);
  b.summary = summaryLines(b, series, decimalSeparator);
  b.chart = bulletinChart(year, month, series, decimalSeparator);
  return b;
}

std::string bulletinFileName(int year, int month) {
  char name[48];
  std::snprintf(name, sizeof name, "reseau-bulletin-%04d-%02d.pdf", year, month);
  return name;
}

}  // namespace kavrel::reseau
