// Each observer's k against a reference, the default rule's k of the years before, the
// network's weighted day and its months, on rows each case makes.
#include "reseau/network_number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace kavrel::reseau {
namespace {

constexpr int kFirst2000 = 10957;  // dayNumber 2000-01-01

struct Pair {
  int day, observer, reference;
  std::optional<int> quality = 3;
};

std::vector<ObserverKResult> ks(const std::vector<Pair>& pairs, std::optional<int> quality, int fewest, bool perYear) {
  std::vector<std::pair<int, int>> referenceDays;
  for (const Pair& p : pairs)
    if (p.reference >= 0) referenceDays.emplace_back(kFirst2000 + p.day, p.reference);
  const Reference reference(referenceDays);
  ObserverKs k(reference, {kFirst2000, kFirst2000 + 800, quality}, {fewest, fewest}, perYear);
  for (const Pair& p : pairs)
    if (p.observer >= 0) k.add({1, kFirst2000 + p.day, p.observer, p.quality});
  return k.finish();
}

TEST(ObserverK, PairsOnlyTheDaysBothHaveAndCountsTheZeroDays) {
  struct Case {
    std::string name;
    std::vector<Pair> pairs;  // -1: that side has no such day
    std::optional<int> quality;
    int fewest;
    int days;
    std::optional<double> sums;
    bool given;
  };
  const std::vector<Case> cases = {
      {"a day of only one side is not paired",
       {{0, 10, -1}, {1, 20, 40}, {2, 30, 60}, {3, -1, 100}},
       {},
       2,
       2,
       2.0,
       true},
      {"R = 0 days weigh in the ratio of sums", {{0, 0, 10}, {1, 10, 10}}, {}, 2, 2, 2.0, true},
      {"fewest days reached", {{0, 10, 20}, {1, 10, 20}, {2, 10, 20}}, {}, 3, 3, 2.0, true},
      {"one day short of the fewest", {{0, 10, 20}, {1, 10, 20}, {2, 10, 20}}, {}, 4, 3, 2.0, false},
      {"quality below, or none, left out",
       {{0, 10, 20, 1}, {1, 10, 30, 3}, {2, 10, 40, std::nullopt}, {3, 10, 50, 5}},
       3,
       1,
       2,
       4.0,
       true},
      {"nothing seen: no ratio of sums", {{0, 0, 10}, {1, 0, 12}}, {}, 1, 2, std::nullopt, true},
  };
  for (const Case& c : cases) {
    const auto results = ks(c.pairs, c.quality, c.fewest, false);
    ASSERT_EQ(results.size(), 1u) << c.name;
    EXPECT_EQ(results[0].estimate.days, c.days) << c.name;
    EXPECT_EQ(results[0].estimate.ratioOfSums.has_value(), c.sums.has_value()) << c.name;
    if (c.sums) {
      EXPECT_DOUBLE_EQ(*results[0].estimate.ratioOfSums, *c.sums) << c.name;
    }
    EXPECT_EQ(results[0].given, c.given) << c.name;
  }
}

TEST(ObserverK, PerYearSplitsAtNewYearAndAPilotServesAsReference) {
  // Days 365 and 366 are 2000-12-31 and 2001-01-01 (2000 is a leap year).
  const auto years = ks({{364, 10, 20}, {365, 10, 20}, {366, 10, 50}}, {}, 2, true);
  ASSERT_EQ(years.size(), 2u);
  EXPECT_EQ(years[0].year, 2000);
  EXPECT_TRUE(years[0].given);
  EXPECT_EQ(years[1].year, 2001);
  EXPECT_DOUBLE_EQ(*years[1].estimate.ratioOfSums, 5.0);
  EXPECT_FALSE(years[1].given);

  const RowFilter all{kFirst2000, kFirst2000 + 10, 2};
  PilotDays pilot(7, all);
  for (const ObservationRow& row : std::vector<ObservationRow>{
           {7, kFirst2000, 30, 3}, {1, kFirst2000, 10, 3}, {7, kFirst2000 + 1, 90, 1}, {7, kFirst2000 + 2, 60, 4}})
    pilot.add(row);
  const Reference reference = pilot.finish();
  ObserverKs k(reference, all, {1, 1}, false);
  for (const ObservationRow& row :
       std::vector<ObservationRow>{{1, kFirst2000, 10, 3}, {1, kFirst2000 + 1, 10, 3}, {1, kFirst2000 + 2, 20, 3}})
    k.add(row);
  const auto results = k.finish();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].estimate.days, 2);  // the pilot's day of quality 1 is no reference
  EXPECT_DOUBLE_EQ(*results[0].estimate.ratioOfSums, 3.0);
}

struct YearDays {
  int year, days, observer, reference;
};

// An observer's rows of whole years and the scale they make for the network's days of
// `year`, whose own rows pair with a reference a hundred times the observer's.
struct Built {
  std::unique_ptr<Reference> reference;
  std::unique_ptr<NetworkScale> scale;
};
Built scaleOf(const std::vector<YearDays>& history, int year, NetworkRule rule) {
  std::vector<std::pair<int, int>> referenceDays;
  std::vector<ObservationRow> rows;
  for (YearDays y : history) {
    for (int i = 0; i < y.days; ++i) {
      rows.push_back({1, dayNumber({y.year, 1, 1}) + i, y.observer, 3});
      referenceDays.emplace_back(rows.back().day, y.reference);
    }
  }
  for (int i = 0; i < 30; ++i) {
    rows.push_back({1, dayNumber({year, 1, 1}) + i, 10, 3});
    referenceDays.emplace_back(rows.back().day, 1000);
  }
  Built built{std::make_unique<Reference>(referenceDays), nullptr};
  const int first = rule == NetworkRule::Global ? dayNumber({history.front().year, 1, 1}) : dayNumber({year, 1, 1});
  built.scale = std::make_unique<NetworkScale>(*built.reference, RowFilter{first, dayNumber({year, 12, 31}), {}}, rule);
  for (const ObservationRow& row : rows) built.scale->add(row);
  built.scale->finish();
  return built;
}

TEST(NetworkScale, TheDefaultKIsOneKnownBeforeTheDaysYear) {
  struct Case {
    std::string name;
    std::vector<YearDays> history;
    std::optional<double> k;
  };
  const std::vector<Case> cases = {
      {"the three years before", {{1997, 30, 10, 20}, {1998, 30, 10, 20}, {1999, 30, 10, 20}}, 2.0},
      {"a fourth year back is not read",
       {{1996, 100, 10, 50}, {1997, 20, 10, 20}, {1998, 20, 10, 20}, {1999, 20, 10, 20}},
       2.0},
      {"under 60 days in three years: the ten years", {{1991, 20, 10, 40}, {1999, 30, 10, 20}}, 2.8},
      {"under 20 days in ten years: none", {{1999, 19, 10, 20}}, std::nullopt},
      {"an eleventh year back is not read", {{1989, 50, 10, 20}, {1999, 10, 10, 20}}, std::nullopt},
      {"a window of only R = 0: none", {{1998, 30, 0, 5}, {1999, 30, 0, 5}}, std::nullopt},
  };
  for (const Case& c : cases) {
    const Built built = scaleOf(c.history, 2000, NetworkRule::Default);
    const ScaleEntry* entry = built.scale->on(1, dayNumber({2000, 6, 1}));
    EXPECT_EQ(entry != nullptr, c.k.has_value()) << c.name;
    if (entry && c.k) {
      EXPECT_NEAR(entry->k, *c.k, 1e-12) << c.name;
    }
  }
}

TEST(NetworkScale, GlobalTakesOneKOverThePeriodWithTheFewestDays) {
  struct Case {
    std::string name;
    std::vector<YearDays> history;
    std::optional<double> k;
  };
  // The 30 days of 2000 pair with 100 × R: counted, like every day of the period.
  const std::vector<Case> cases = {
      {"70 + 30 days", {{1999, 70, 10, 20}}, (70 * 20 + 30 * 1000) / 1000.0},
      {"69 + 30 days: one short", {{1999, 69, 10, 20}}, std::nullopt},
  };
  for (const Case& c : cases) {
    const Built built = scaleOf(c.history, 2000, NetworkRule::Global);
    const ScaleEntry* entry = built.scale->on(1, dayNumber({1999, 3, 1}));
    EXPECT_EQ(entry != nullptr, c.k.has_value()) << c.name;
    if (entry && c.k) {
      EXPECT_NEAR(entry->k, *c.k, 1e-12) << c.name;
    }
  }
}

TEST(NetworkDays, ASteadyObserverOutweighsAnErraticOneAndDaysWithoutKAreLeftOut) {
  // 1999, SILSO 30 every day: observer 1 always R = 15 (k 2, no scatter); observer 2
  // alternately 25 and 5 (k 2, relative deviations -1/4 and 1/2: s² = 0.15625);
  // observer 3 has no k. On a day of 2000 they see R = 10, 20 and 50.
  std::vector<std::pair<int, int>> referenceDays;
  std::vector<ObservationRow> rows;
  const int first1999 = dayNumber({1999, 1, 1});
  const int day = dayNumber({2000, 3, 1});
  for (int i = 0; i < 80; ++i) referenceDays.emplace_back(first1999 + i, 30);
  for (Id observer : {1, 2, 3}) {
    for (int i = 0; observer < 3 && i < 80; ++i)
      rows.push_back({observer, first1999 + i, observer == 1 ? 15 : i % 2 ? 25 : 5, 3});
    rows.push_back({observer, day, 10 * static_cast<int>(observer == 3 ? 5 : observer), 3});
  }
  const Reference reference(referenceDays);
  const RowFilter filter{dayNumber({2000, 1, 1}), dayNumber({2000, 12, 31}), {}};
  NetworkScale scale(reference, filter, NetworkRule::Default);
  for (const ObservationRow& row : rows) scale.add(row);  // in observer order
  scale.finish();
  NetworkDays days(scale, filter);
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
    return std::pair{a.day, a.observer} < std::pair{b.day, b.observer};
  });
  for (const ObservationRow& row : rows) days.add(row);
  const auto network = days.finish();
  ASSERT_EQ(network.size(), 1u);
  EXPECT_EQ(network[0].day, day);
  EXPECT_EQ(network[0].observers, 2);
  // A plain mean would give 30: the steady observer weighs 10⁴, the erratic one 6.4.
  EXPECT_NEAR(network[0].mean, (1e4 * 20 + 6.4 * 40) / (1e4 + 6.4), 1e-9);
  EXPECT_GT(network[0].sigma, 0);
  EXPECT_LT(network[0].sigma, 1);
}

TEST(NetworkMonths, MeansOfTheNetworksDaysBesideSilsoAndSmoothedWhereThirteenMonthsAre) {
  const int first = dayNumber({2000, 1, 1});
  const int last = dayNumber({2001, 3, 31});  // 15 months
  std::vector<NetworkDay> days;
  std::vector<std::pair<int, int>> silso;
  for (int m = 1; m <= 15; ++m) {
    if (m == 2) continue;  // February 2000: no network day
    const int start = dayNumber({2000 + (m - 1) / 12, (m - 1) % 12 + 1, 1});
    days.push_back({start, 2, 10.0 * m, 0});
    days.push_back({start + 1, 4, 10.0 * m + 6, 0});
  }
  for (int d = first; d <= last; ++d) silso.emplace_back(d, d == first ? 62 : 31);
  const auto months = networkMonths(days, silso, first, last);
  ASSERT_EQ(months.size(), 15u);
  EXPECT_EQ(months[0].days, 2);
  EXPECT_DOUBLE_EQ(*months[0].network, 13.0);
  EXPECT_DOUBLE_EQ(*months[0].observersMean, 3.0);
  EXPECT_DOUBLE_EQ(*months[0].silso, 32.0);  // SILSO's mean of all the month's days
  EXPECT_FALSE(months[1].network.has_value());
  EXPECT_DOUBLE_EQ(*months[1].silso, 31.0);
  // Smoothing needs the thirteen months around: February 2000's gap leaves July and
  // August without; September's are March 2000 to March 2001.
  for (std::size_t i = 0; i < months.size(); ++i) EXPECT_EQ(months[i].smoothed.has_value(), i == 8) << i;

  days.push_back({dayNumber({2000, 2, 10}), 1, 23.0, 0});
  std::sort(days.begin(), days.end(), [](const auto& a, const auto& b) { return a.day < b.day; });
  const auto whole = networkMonths(days, silso, first, last);
  EXPECT_FALSE(whole[5].smoothed.has_value());
  // July 2000: months 1..13, a linear series 10 m + 3, smooths to its middle's value.
  EXPECT_NEAR(*whole[6].smoothed, 73.0, 1e-9);
  EXPECT_NEAR(*whole[8].smoothed, 93.0, 1e-9);
  EXPECT_FALSE(whole[9].smoothed.has_value());
}

// A period starting or ending inside a month still sets SILSO's whole month beside the
// network's: a bulletin for a base whose last day is the 3rd once gave the mean of 3 days.
TEST(NetworkMonths, SilsoMeanIsTheWholeMonthsWhereThePeriodCutsIt) {
  std::vector<std::pair<int, int>> silso;
  for (int m = 1; m <= 31; ++m) silso.emplace_back(dayNumber({2020, 3, m}), m);  // whole month: 16
  const struct {
    Day first, last;
  } periods[] = {{{2020, 3, 1}, {2020, 3, 3}}, {{2020, 3, 20}, {2020, 3, 31}}, {{2020, 3, 2}, {2020, 3, 29}}};
  for (const auto& period : periods) {
    const auto months = networkMonths({}, silso, dayNumber(period.first), dayNumber(period.last));
    ASSERT_EQ(months.size(), 1u);
    EXPECT_DOUBLE_EQ(*months[0].silso, 16.0) << period.first.day << " " << period.last.day;
  }
}

}  // namespace
}  // namespace kavrel::reseau
