#include "reseau/network_charts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace kavrel::reseau {
namespace {

using journal::Chart;
using journal::ChartSeries;

NetworkMonth month(int year, int m, std::optional<double> network, std::optional<double> silso,
                   std::optional<double> smoothed = std::nullopt, std::optional<double> observers = std::nullopt) {
  NetworkMonth out;
  out.year = year;
  out.month = m;
  out.days = network ? 20 : 0;
  out.network = network;
  out.silso = silso;
  out.smoothed = smoothed;
  out.observersMean = observers;
  return out;
}

ObserverK yearK(const std::string& code, int year, double k, bool given = true) {
  ObserverK row;
  row.code = code;
  row.year = year;
  row.given = given;
  row.estimate.days = given ? 40 : 5;
  row.estimate.ratioOfSums = k;
  return row;
}

// The values a series draws, by x, NaN left out.
std::map<double, double> drawn(const ChartSeries& series) {
  std::map<double, double> values;
  for (const auto& p : series.points)
    if (!std::isnan(p.y)) values[p.x] = p.y;
  return values;
}

std::vector<std::string> legends(const Chart& chart) {
  std::vector<std::string> names;
  for (const auto& panel : chart.panels)
    for (const auto& s : panel.series) names.push_back(s.name);
  return names;
}

TEST(NetworkChart, SeriesAndAxesOfEachPicture) {
  NetworkChartData twoYears;
  twoYears.series.months = {month(2013, 12, 60, 70, 65, 3), month(2014, 1, 80, 90, 70, 4.5),
                            month(2014, 3, std::nullopt, 121), month(2014, 4, 100, std::nullopt, std::nullopt, 2)};
  twoYears.observers = {{2014, 1, 7}, {2014, 4, 3}};
  NetworkChartData withoutSilso;
  withoutSilso.series.months = {month(2014, 1, 80, std::nullopt)};
  const double january = journal::decimalYear(2014, 1);
  const struct {
    const char* name;
    NetworkChartKind kind;
    NetworkChartData data;
    std::vector<std::string> legends;
    std::size_t series;  // whose values are checked
    std::map<double, double> values;
    double xLow, xHigh, yHigh;
    bool silsoCredit;
  } cases[] = {
      {"monthly: SILSO's month without a network's kept, the network's line broken there",
       NetworkChartKind::Monthly, twoYears,
       {"Moyenne mensuelle SILSO", "Moyenne lissée sur 13 mois du réseau", "Moyenne mensuelle du réseau"}, 2,
       {{journal::decimalYear(2013, 12), 60}, {january, 80}, {journal::decimalYear(2014, 4), 100}}, 2013, 2015, 150,
       true},
      {"monthly without SILSO: no credit", NetworkChartKind::Monthly, withoutSilso, {"Moyenne mensuelle du réseau"}, 0,
       {{january, 80}}, 2014, 2015, 80, false},
      {"observers: bars of those who sent, the mean per day as a line", NetworkChartKind::Observers, twoYears,
       {"Observateurs ayant envoyé des jours du mois", "Observateurs par jour du réseau, moyenne du mois"}, 0,
       {{january, 7}, {journal::decimalYear(2014, 4), 3}}, 2013, 2015, 8, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Chart chart = makeNetworkChart(c.kind, c.data);
    EXPECT_EQ(legends(chart), c.legends);
    ASSERT_EQ(chart.panels.size(), 1u);
    ASSERT_LT(c.series, chart.panels[0].series.size());
    EXPECT_EQ(drawn(chart.panels[0].series[c.series]), c.values);
    EXPECT_DOUBLE_EQ(chart.panels[0].x.low, c.xLow);
    EXPECT_DOUBLE_EQ(chart.panels[0].x.high, c.xHigh);
    EXPECT_DOUBLE_EQ(chart.panels[0].y.low, 0);
    EXPECT_DOUBLE_EQ(chart.panels[0].y.high, c.yHigh);
    EXPECT_EQ(chart.credit.find("SILSO") != std::string::npos, c.silsoCredit);
  }
}

// Observers with k over `years` consecutive years from 2000, k = 1 + year's offset / 100.
std::vector<ObserverK> observersWithYears(const std::vector<std::pair<std::string, int>>& observers) {
  std::vector<ObserverK> rows;
  for (const auto& [code, years] : observers) {
    rows.push_back(yearK(code, 0, 9));  // the whole period's: never drawn
    for (int y = 0; y < years; ++y) rows.push_back(yearK(code, 2000 + y, 1 + y / 100.0));
    rows.push_back(yearK(code, 2000 + years, 7, false));  // too few days
  }
  return rows;
}

TEST(NetworkChart, KDrawsTheObserversOfMostYears) {
  std::vector<std::pair<std::string, int>> fourteen;
  for (int i = 0; i < 14; ++i) fourteen.emplace_back(std::string(1, static_cast<char>('A' + i)), 5 + i % 7);
  const struct {
    const char* name;
    std::vector<std::pair<std::string, int>> observers;
    std::optional<int> first, last;
    std::vector<std::string> legends;
    double yLow, yHigh;
  } cases[] = {
      {"four years are not enough", {{"IVAN", 4}, {"PETR", 6}}, {}, {}, {"PETR"}, 1, 1.05},
      {"years asked narrow the count", {{"IVAN", 8}, {"PETR", 6}}, 2003, 2010, {"IVAN"}, 1.03, 1.07},
      {"a dozen of the most years, by code",
       fourteen, {}, {}, {"B", "C", "D", "E", "F", "G", "I", "J", "K", "L", "M", "N"}, 1, 1.1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NetworkChartData data;
    data.yearlyK = observersWithYears(c.observers);
    data.firstYear = c.first;
    data.lastYear = c.last;
    const Chart chart = makeNetworkChart(NetworkChartKind::K, data);
    EXPECT_EQ(legends(chart), c.legends);
    ASSERT_EQ(chart.panels.size(), 1u);
    EXPECT_NEAR(chart.panels[0].y.low, c.yLow, 1e-9);
    EXPECT_NEAR(chart.panels[0].y.high, c.yHigh, 1e-9);
    // No two observers drawn alike.
    std::set<std::pair<journal::Look, journal::Ink>> looks;
    for (const auto& s : chart.panels[0].series) looks.insert({s.look, s.ink});
    EXPECT_EQ(looks.size(), chart.panels[0].series.size());
  }
}

TEST(NetworkChart, KOfAYearAtItsMiddleAndGapsBroken) {
  NetworkChartData data;
  data.yearlyK = observersWithYears({{"IVAN", 6}});
  data.yearlyK.erase(data.yearlyK.begin() + 3);  // 2002 without a k
  data.pilot = "PETR";
  const Chart chart = makeNetworkChart(NetworkChartKind::K, data);
  ASSERT_EQ(chart.panels.size(), 1u);
  ASSERT_EQ(chart.panels[0].series.size(), 1u);
  EXPECT_EQ(drawn(chart.panels[0].series[0]),
            (std::map<double, double>{{2000.5, 1}, {2001.5, 1.01}, {2003.5, 1.03}, {2004.5, 1.04}, {2005.5, 1.05}}));
  EXPECT_EQ(chart.panels[0].series[0].points.size(), 6u);  // 2000..2005: the year with too few days adds none
  EXPECT_EQ(chart.panels[0].y.title, "k (rapport des sommes, référence du pilote PETR)");
  EXPECT_EQ(chart.credit.find("SILSO"), std::string::npos);
}

TEST(NetworkChart, ObserversCountedOncePerMonth) {
  ObserversByMonth counter;
  const Day days[] = {{2014, 1, 31}, {2014, 1, 2}, {2014, 2, 1}, {2013, 12, 31}};
  for (const Id observer : {Id{1}, Id{2}})
    for (const Day day : days) counter.add({observer, dayNumber(day), 50, std::nullopt});
  counter.add({1, dayNumber({2014, 2, 9}), 0, 3});
  const auto months = counter.months();
  ASSERT_EQ(months.size(), 3u);
  const int expected[][3] = {{2013, 12, 2}, {2014, 1, 2}, {2014, 2, 2}};
  for (std::size_t i = 0; i < months.size(); ++i) {
    EXPECT_EQ(months[i].year, expected[i][0]);
    EXPECT_EQ(months[i].month, expected[i][1]);
    EXPECT_EQ(months[i].observers, expected[i][2]);
  }
}

TEST(NetworkChart, NothingToDrawAndFileNames) {
  NetworkChartData empty;
  NetworkChartData notGiven;
  notGiven.yearlyK = {yearK("IVAN", 2000, 1.1, false)};
  NetworkChartData monthly;
  monthly.series.months = {month(2008, 1, 80, 90), month(2019, 5, 10, 12)};
  NetworkChartData oneYear;
  oneYear.observers = {{2014, 2, 5}};
  const struct {
    const char* name;
    NetworkChartKind kind;
    NetworkChartData data;
    bool nothing;
    const char* file;
  } cases[] = {
      {"no data", NetworkChartKind::Monthly, empty, true, "reseau-mensuel.svg"},
      {"only k not given", NetworkChartKind::K, notGiven, true, "reseau-k.svg"},
      {"several years", NetworkChartKind::Monthly, monthly, false, "reseau-mensuel-2008-2019.svg"},
      {"one year", NetworkChartKind::Observers, oneYear, false, "reseau-observateurs-2014.svg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Chart chart = makeNetworkChart(c.kind, c.data);
    EXPECT_EQ(chart.note == journal::kNothingToDraw, c.nothing);
    EXPECT_EQ(chart.panels.empty(), c.nothing);
    EXPECT_EQ(networkChartFileName(c.kind, chart, "svg"), c.file);
  }
  EXPECT_EQ(networkChartKindNamed("observateurs"), NetworkChartKind::Observers);
  EXPECT_EQ(networkChartKindNamed("papillon"), std::nullopt);
}

}  // namespace
}  // namespace kavrel::reseau
