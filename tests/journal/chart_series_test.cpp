#include "journal/chart_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace kavrel::journal {
namespace {

TEST(ChartAxes, RoundStepsOverTheValues) {
  const struct {
    const char* name;
    double low, high;
    int wanted;
    double axisLow, axisHigh;
    std::vector<std::string> labels;
  } cases[] = {
      {"monthly numbers up to 137", 0, 137, 6, 0, 150, {"0", "50", "100", "150"}},
      {"a top already round", 0, 200, 4, 0, 200, {"0", "50", "100", "150", "200"}},
      {"nothing but zeros", 0, 0, 6, 0, 1, {"0,0", "0,2", "0,4", "0,6", "0,8", "1,0"}},
      {"decimals with the comma", 0, 1.3, 6, 0, 1.5, {"0,0", "0,5", "1,0", "1,5"}},
      {"below zero, no -0", -12, 12, 5, -15, 15, {"-15", "-10", "-5", "0", "5", "10", "15"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Axis axis = valueAxis("R", c.low, c.high, c.wanted, ",");
    EXPECT_DOUBLE_EQ(axis.low, c.axisLow);
    EXPECT_DOUBLE_EQ(axis.high, c.axisHigh);
    std::vector<std::string> labels;
    for (const auto& tick : axis.ticks) labels.push_back(tick.label);
    EXPECT_EQ(labels, c.labels);
  }
}

TEST(ChartAxes, YearsMarkedAtRoundYearsOrByQuarter) {
  const struct {
    const char* name;
    int first, last;
    std::vector<std::string> labels;
  } cases[] = {
      {"one year by quarter, its end the next year", 2014, 2014, {"2014", "avr.", "juil.", "oct.", "2015"}},
      {"a cycle every two years", 2008, 2019, {"2008", "2010", "2012", "2014", "2016", "2018", "2020"}},
      {"150 years every twenty", 1874, 2023, {"1880", "1900", "1920", "1940", "1960", "1980", "2000", "2020"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Axis axis = yearAxis(c.first, c.last);
    EXPECT_EQ(axis.low, c.first);
    EXPECT_EQ(axis.high, c.last + 1);
    std::vector<std::string> labels;
    for (const auto& tick : axis.ticks) labels.push_back(tick.label);
    EXPECT_EQ(labels, c.labels);
  }
}

// SILSO's days of every month from `first` to `last` (year, month), each of SN 100 but
// those of `missing`.
std::vector<SilsoDay> silsoMonths(std::pair<int, int> first, std::pair<int, int> last,
                                  std::optional<std::pair<int, int>> missing = std::nullopt) {
  std::vector<SilsoDay> days;
  for (auto [year, month] = first; std::pair{year, month} <= last; month == 12 ? (++year, month = 1) : ++month)
    for (int day = 1; day <= 28; ++day) {
      SilsoDay d;
      d.date = {year, month, day};
      if (std::pair{year, month} != missing) d.total = 100;
      days.push_back(d);
    }
  return days;
}

// The months of a series with a value, as (year, month).
std::set<std::pair<int, int>> monthsWith(const ChartSeries& series) {
  std::set<std::pair<int, int>> months;
  for (const auto& p : series.points)
    if (!std::isnan(p.y)) {
      const int index = static_cast<int>(std::floor(p.x * 12));
      months.insert({index / 12, index % 12 + 1});
    }
  return months;
}

std::set<std::pair<int, int>> monthsFrom(std::pair<int, int> first, std::pair<int, int> last) {
  std::set<std::pair<int, int>> months;
  for (auto [year, month] = first; std::pair{year, month} <= last; month == 12 ? (++year, month = 1) : ++month)
    months.insert({year, month});
  return months;
}

TEST(MonthlyChart, SmoothedMeanWhereThirteenMonthsExist) {
  const auto all = monthsFrom({2014, 1}, {2015, 12});
  auto allButMarch = all;
  allButMarch.erase({2014, 3});
  const struct {
    const char* name;
    std::vector<SilsoDay> silso;
    std::set<std::pair<int, int>> means;  // the months with a value
    std::set<std::pair<int, int>> smoothed;
  } cases[] = {
      {"the months beyond the years make the edges'", silsoMonths({2013, 7}, {2016, 6}), all, all},
      {"a month missing: none six months either side", silsoMonths({2013, 1}, {2016, 12}, std::pair{2014, 3}),
       allButMarch, monthsFrom({2014, 10}, {2015, 12})},
      {"none within six months of the file's end", silsoMonths({2013, 1}, {2015, 9}), monthsFrom({2014, 1}, {2015, 9}),
       monthsFrom({2014, 1}, {2015, 3})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChartData data;
    data.firstYear = 2014;
    data.lastYear = 2015;
    data.silso = c.silso;
    const Chart chart = makeChart(data, {});
    ASSERT_EQ(chart.panels.size(), 1u);
    ASSERT_EQ(chart.panels[0].series.size(), 2u);
    const ChartSeries& means = chart.panels[0].series[0];
    const ChartSeries& smoothed = chart.panels[0].series[1];
    EXPECT_EQ(monthsWith(means), c.means);
    EXPECT_EQ(monthsWith(smoothed), c.smoothed);
    EXPECT_EQ(chart.credit, kSilsoCredit);
    EXPECT_DOUBLE_EQ(chart.panels[0].y.high, 100);
  }
}

// A saved picture is offered under a name that says what it shows and over which years.
TEST(ChartFileName, KindAndYearsDrawn) {
  const auto data = [](int first, int last) {
    ChartData d;
    d.firstYear = first;
    d.lastYear = last;
    d.silso = silsoMonths({first, 1}, {last, 12});
    return d;
  };
  const struct {
    const char* name;
    ChartKind kind;
    ChartData data;
    const char* file;
  } cases[] = {
      {"several years", ChartKind::Monthly, data(2008, 2020), "journal-mensuel-2008-2020.png"},
      {"one year", ChartKind::Butterfly, data(2014, 2014), "journal-papillon-2014.png"},
      {"nothing drawn: no years", ChartKind::K, ChartData{}, "journal-k.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChartRequest request;
    request.kind = c.kind;
    EXPECT_EQ(chartFileName(c.kind, makeChart(c.data, request)), c.file);
  }
}

GroupRecord record(GroupSource source, Day date, int number, double latitude) {
  GroupRecord r;
  r.source = source;
  r.date = date;
  r.group = number;
  r.latitude = latitude;
  return r;
}

// The butterfly's two sources: the observer's groups a mark a day, the imported ones a mark
// a group.
TEST(ButterflyChart, ObserverByDayImportedByGroup) {
  constexpr auto G = GroupSource::Greenwich;
  constexpr auto S = GroupSource::Srs;
  const struct {
    const char* name;
    std::vector<GroupRecord> imported;
    std::vector<ChartPoint> marks;  // x as the year's fraction of days, latitude
  } cases[] = {
      {"a group seen on three days is one mark at its mean",
       {record(G, {2014, 3, 11}, 5, 12), record(G, {2014, 3, 10}, 5, 10), record(G, {2014, 3, 12}, 5, 11)},
       {{2014 + 69.5 / 365, 11}}},
      {"its number met again after more than 30 days is another group",
       {record(G, {2014, 3, 10}, 5, 10), record(G, {2014, 4, 10}, 5, -20)},
       {{2014 + 68.5 / 365, 10}, {2014 + 99.5 / 365, -20}}},
      {"the same number from Greenwich and NOAA is two groups",
       {record(G, {2014, 3, 10}, 5, 10), record(S, {2014, 3, 10}, 5, 14)},
       {{2014 + 68.5 / 365, 10}, {2014 + 68.5 / 365, 14}}},
      {"a group of another year is left out", {record(G, {2013, 12, 31}, 5, 10)}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChartData data;
    data.firstYear = data.lastYear = 2014;
    data.observer = "HUZR";
    data.imported = c.imported;
    data.ownGroups = {record(G, {2014, 3, 10}, 1, 12), record(G, {2014, 3, 11}, 1, 12.5)};
    ChartRequest request;
    request.kind = ChartKind::Butterfly;
    const Chart chart = makeChart(data, request);
    ASSERT_EQ(chart.panels.size(), 2u);
    const auto& series = chart.panels[0].series;
    ASSERT_EQ(series.size(), c.marks.empty() ? 1u : 2u);
    EXPECT_EQ(series[0].name, "Groupes de HUZR, par jour : 2");
    EXPECT_EQ(series[0].points.size(), 2u);
    if (c.marks.empty()) continue;
    EXPECT_NE(series[1].look, series[0].look);
    ASSERT_EQ(series[1].points.size(), c.marks.size());
    for (std::size_t i = 0; i < c.marks.size(); ++i) {
      EXPECT_NEAR(series[1].points[i].x, c.marks[i].x, 1e-9);
      EXPECT_NEAR(series[1].points[i].y, c.marks[i].y, 1e-9);
    }
    EXPECT_NE(chart.credit.find("Greenwich"), std::string::npos);
  }
}

TEST(KChart, LineOfTheChosenKElseOfTheRatioOfSums) {
  const std::vector<PairedDay> days = {{{2014, 3, 1}, 100, 120}, {{2014, 3, 2}, 50, 70}, {{2014, 3, 3}, 0, 10}};
  const struct {
    const char* name;
    std::optional<double> k;
    double slope;
    const char* legend;
  } cases[] = {
      {"chosen", 1.25, 1.25, "SN = 1,25 × R (k choisi)"},
      {"the ratio of sums, the days of R = 0 counted", std::nullopt, 200.0 / 150, "SN = 1,3333 × R (k, rapport des sommes)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChartData data;
    data.firstYear = data.lastYear = 2014;
    data.paired = days;
    ChartRequest request;
    request.kind = ChartKind::K;
    request.k = c.k;
    const Chart chart = makeChart(data, request);
    ASSERT_EQ(chart.panels[0].series.size(), 2u);
    const ChartSeries& line = chart.panels[0].series[1];
    EXPECT_EQ(line.name, c.legend);
    EXPECT_NEAR(line.points.back().y / line.points.back().x, c.slope, 1e-12);
    EXPECT_EQ(chart.panels[0].series[0].points.size(), 3u);
    EXPECT_LE(line.points.back().x, chart.panels[0].x.high);
    EXPECT_LE(line.points.back().y, chart.panels[0].y.high);
    EXPECT_EQ(chart.credit, kSilsoCredit);
  }
}

}  // namespace
}  // namespace kavrel::journal
