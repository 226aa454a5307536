// The network's pictures as numbers and texts (network_charts.h).
#include "reseau/network_charts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace kavrel::reseau {
namespace {

using journal::Axis;
using journal::Chart;
using journal::ChartPoint;
using journal::ChartSeries;
using journal::Ink;
using journal::Look;
using journal::Panel;

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
constexpr char kMonthlyTitle[] = "Nombre de taches mensuel";

using MonthKey = std::pair<int, int>;

std::string yearsText(int first, int last) {
  return first == last ? std::to_string(first) : std::to_string(first) + "–" + std::to_string(last);
}

bool hasPoints(const ChartSeries& series) {
  return std::any_of(series.points.begin(), series.points.end(), [](const ChartPoint& p) { return !std::isnan(p.y); });
}

void addIfDrawn(Panel& panel, ChartSeries series) {
  if (hasPoints(series)) panel.series.push_back(std::move(series));
}

// The smallest and largest y drawn in the panel, none when nothing is.
std::optional<std::pair<double, double>> yRange(const Panel& panel) {
  std::optional<std::pair<double, double>> range;
  for (const auto& series : panel.series)
    for (const auto& p : series.points) {
      if (std::isnan(p.y)) continue;
      if (!range) range = std::pair{p.y, p.y};
      range->first = std::min(range->first, p.y);
      range->second = std::max(range->second, p.y);
    }
  return range;
}

// The years of the data (each year given by `years`), narrowed or widened to those asked.
struct Years {
  int first = 0, last = 0;  // 0: none
  void see(int year) {
    first = first == 0 ? year : std::min(first, year);
    last = std::max(last, year);
  }
};
Years settle(Years seen, const NetworkChartData& data) {
  if (seen.first == 0 && !data.firstYear && !data.lastYear) return seen;
  Years years;
  years.first = data.firstYear.value_or(seen.first != 0 ? std::min(seen.first, data.lastYear.value_or(9999))
                                                        : data.lastYear.value_or(0));
  years.last = data.lastYear.value_or(std::max(seen.last, years.first));
  return years;
}

// One point per month of the years, NaN where `value` has none.
template <typename Value>
std::vector<ChartPoint> monthly(const Years& years, Value value) {
  std::vector<ChartPoint> points;
  for (int year = years.first; year <= years.last; ++year)
    for (int month = 1; month <= 12; ++month)
      points.push_back({journal::decimalYear(year, month), value(year, month).value_or(kNoValue)});
  return points;
}

Chart monthlyChart(const NetworkChartData& data) {
  Years seen;
  std::map<MonthKey, const NetworkMonth*> months;
  for (const auto& m : data.series.months) {
    months[{m.year, m.month}] = &m;
    if (m.network || m.silso) seen.see(m.year);
  }
  const Years years = settle(seen, data);
  Chart chart;
  if (years.first == 0) return chart;
  chart.title = "Nombre de taches du réseau, moyennes mensuelles, " + yearsText(years.first, years.last);
  const auto field = [&months](std::optional<double> NetworkMonth::*member) {
    return [&months, member](int year, int month) -> std::optional<double> {
      const auto found = months.find({year, month});
      return found == months.end() ? std::nullopt : found->second->*member;
    };
  };
  Panel panel;
  addIfDrawn(panel, {"Moyenne mensuelle SILSO", Look::ThinLine, Ink::Grey, monthly(years, field(&NetworkMonth::silso))});
  addIfDrawn(panel, {"Moyenne lissée sur 13 mois du réseau", Look::ThickLine, Ink::Black,
                     monthly(years, field(&NetworkMonth::smoothed))});
  addIfDrawn(panel, {"Moyenne mensuelle du réseau", Look::DashedMarks, Ink::Blue,
                     monthly(years, field(&NetworkMonth::network))});
  panel.x = journal::yearAxis(years.first, years.last);
  panel.y = journal::valueAxis(kMonthlyTitle, 0, yRange(panel).value_or(std::pair{0.0, 0.0}).second, 6,
                               data.decimalSeparator);
  if (!panel.series.empty() && panel.series.front().name.find("SILSO") != std::string::npos)
    chart.credit = journal::kSilsoCredit;
  chart.panels.push_back(std::move(panel));
  chart.firstYear = years.first;
  chart.lastYear = years.last;
  return chart;
}

// An observer's given yearly k (ratio of sums), by year.
using YearlyK = std::map<int, double>;

// The observers drawn: at least kFewestYearsDrawn years within the years, the most years
// first (then by code), at most kMostObserversDrawn; how many had enough years.
std::pair<std::vector<std::pair<std::string, YearlyK>>, std::size_t> observersDrawn(
    const std::map<std::string, YearlyK>& byCode) {
  std::vector<std::pair<std::string, YearlyK>> enough;
  for (const auto& [code, ks] : byCode)
    if (static_cast<int>(ks.size()) >= kFewestYearsDrawn) enough.emplace_back(code, ks);
  const std::size_t qualified = enough.size();
  std::stable_sort(enough.begin(), enough.end(),
                   [](const auto& a, const auto& b) { return a.second.size() > b.second.size(); });
  if (enough.size() > kMostObserversDrawn) enough.resize(kMostObserversDrawn);
  std::sort(enough.begin(), enough.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  return {std::move(enough), qualified};
}

// The n-th observer's look: its ink changes first, then its marks.
std::pair<Look, Ink> lookOf(std::size_t n) {
  static constexpr Ink kInks[] = {Ink::Blue, Ink::Red, Ink::Black, Ink::Grey};
  static constexpr Look kLooks[] = {Look::DashedMarks, Look::LineDots, Look::LineCrosses};
  return {kLooks[(n / std::size(kInks)) % std::size(kLooks)], kInks[n % std::size(kInks)]};
}

Chart kChart(const NetworkChartData& data) {
  Years seen;
  for (const auto& row : data.yearlyK)
    if (row.year != 0 && row.given && row.estimate.ratioOfSums) seen.see(row.year);
  const Years years = settle(seen, data);
  Chart chart;
  if (years.first == 0) return chart;
  std::map<std::string, YearlyK> byCode;
  for (const auto& row : data.yearlyK)
    if (row.year >= years.first && row.year <= years.last && row.given && row.estimate.ratioOfSums)
      byCode[row.code][row.year] = *row.estimate.ratioOfSums;
  const auto [drawn, qualified] = observersDrawn(byCode);

  chart.title = "k de chaque observateur par année, " + yearsText(years.first, years.last);
  Panel panel;
  for (std::size_t n = 0; n < drawn.size(); ++n) {
    const auto& [code, ks] = drawn[n];
    ChartSeries series{code, lookOf(n).first, lookOf(n).second, {}};
    for (int year = years.first; year <= years.last; ++year) {
      const auto found = ks.find(year);
      series.points.push_back({year + 0.5, found == ks.end() ? kNoValue : found->second});
    }
    addIfDrawn(panel, std::move(series));
  }
  panel.x = journal::yearAxis(years.first, years.last);
  const auto range = yRange(panel).value_or(std::pair{1.0, 1.0});
  const std::string reference = data.pilot ? "du pilote " + *data.pilot : "SILSO";
  panel.y = journal::valueAxis("k (rapport des sommes, référence " + reference + ")", range.first, range.second, 6,
                               data.decimalSeparator);
  if (!panel.series.empty()) {
    chart.credit = std::to_string(drawn.size()) + " observateurs sur " + std::to_string(qualified) +
                   " ayant un k au moins " + std::to_string(kFewestYearsDrawn) + " années";
    if (!data.pilot) chart.credit += " ; " + std::string(journal::kSilsoCredit);
  }
  chart.panels.push_back(std::move(panel));
  chart.firstYear = years.first;
  chart.lastYear = years.last;
  return chart;
}

Chart observersChart(const NetworkChartData& data) {
  Years seen;
  std::map<MonthKey, int> sent;
  for (const auto& m : data.observers) {
    sent[{m.year, m.month}] = m.observers;
    seen.see(m.year);
  }
  std::map<MonthKey, double> perDay;
  for (const auto& m : data.series.months)
    if (m.observersMean) {
      perDay[{m.year, m.month}] = *m.observersMean;
      seen.see(m.year);
    }
  const Years years = settle(seen, data);
  Chart chart;
  if (years.first == 0) return chart;
  chart.title = "Observateurs du réseau par mois, " + yearsText(years.first, years.last);
  const auto from = [](const auto& values) {
    return [&values](int year, int month) -> std::optional<double> {
      const auto found = values.find({year, month});
      if (found == values.end()) return std::nullopt;
      return static_cast<double>(found->second);
    };
  };
  Panel panel;
  addIfDrawn(panel, {"Observateurs ayant envoyé des jours du mois", Look::Bars, Ink::Grey, monthly(years, from(sent))});
  addIfDrawn(panel, {"Observateurs par jour du réseau, moyenne du mois", Look::DashedMarks, Ink::Blue,
                     monthly(years, from(perDay))});
  panel.x = journal::yearAxis(years.first, years.last);
  panel.y = journal::valueAxis("Observateurs", 0, yRange(panel).value_or(std::pair{0.0, 0.0}).second, 6,
                               data.decimalSeparator);
  chart.panels.push_back(std::move(panel));
  chart.firstYear = years.first;
  chart.lastYear = years.last;
  return chart;
}

}  // namespace

std::optional<NetworkChartKind> networkChartKindNamed(std::string_view name) noexcept {
  if (name == "mensuel") return NetworkChartKind::Monthly;
  if (name == "k") return NetworkChartKind::K;
  if (name == "observateurs") return NetworkChartKind::Observers;
  return std::nullopt;
}

void ObserversByMonth::add(const ObservationRow& row) {
  const Day date = dayOfNumber(row.day);
  seen_[{date.year, date.month}].insert(row.observer);
}

std::vector<MonthObservers> ObserversByMonth::months() const {
  std::vector<MonthObservers> months;
  months.reserve(seen_.size());
  for (const auto& [key, observers] : seen_)
    months.push_back({key.first, key.second, static_cast<int>(observers.size())});
  return months;
}

journal::Chart makeNetworkChart(NetworkChartKind kind, const NetworkChartData& data) {
  Chart chart;
  switch (kind) {
    case NetworkChartKind::Monthly: chart = monthlyChart(data); break;
    case NetworkChartKind::K: chart = kChart(data); break;
    case NetworkChartKind::Observers: chart = observersChart(data); break;
  }
  const bool drawn =
      std::any_of(chart.panels.begin(), chart.panels.end(), [](const Panel& p) { return !p.series.empty(); });
  if (!drawn) {
    Chart nothing;
    nothing.note = journal::kNothingToDraw;
    return nothing;
  }
  return chart;
}

std::string networkChartFileName(NetworkChartKind kind, const journal::Chart& chart, std::string_view extension) {
  std::string name = "reseau-";
  switch (kind) {
    case NetworkChartKind::Monthly: name += "mensuel"; break;
    case NetworkChartKind::K: name += "k"; break;
    case NetworkChartKind::Observers: name += "observateurs"; break;
  }
  if (chart.firstYear > 0) {
    name += '-' + std::to_string(chart.firstYear);
    if (chart.lastYear != chart.firstYear) name += '-' + std::to_string(chart.lastYear);
  }
  return name + '.' + std::string(extension);
}

}  // namespace kavrel::reseau
