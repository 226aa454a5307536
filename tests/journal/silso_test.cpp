// SILSO's daily files, the monthly and 13-month smoothed means, and the observer's k.
#include <gtest/gtest.h>

#include <cmath>

#include "journal/observer_k.h"
#include "journal/silso.h"

namespace kavrel::journal {
namespace {

constexpr char kTotalLine[] = "2014;01;01;2014.001;  98;  7.4;  30;1\n";
constexpr char kHemisphericLine[] = "2014;01;01;2014.001;  98; 40; 58;   7.4;  3.1;  5.0;  30; 20; 20;1\n";

TEST(SilsoFile, MalformedLineRefusesTheFile) {
  const struct {
    const char* name;
    SilsoFile::Kind kind;
    std::string text;
    int line;
    const char* saying;  // part of the message
  } cases[] = {
      {"a line of garbage", SilsoFile::Kind::Total, std::string(kTotalLine) + "\nhello;world\n", 3, "2 champs"},
      {"a line cut short", SilsoFile::Kind::Total, std::string(kTotalLine) + "2014;01;02;2014.004;  10", 2,
       "5 champs au lieu de 8"},
      {"the flag cut off", SilsoFile::Kind::Total, std::string(kTotalLine) + "2014;01;02;2014.004;  10;  1.0;  3;",
       2, "1 (définitif) ou 0"},
      {"one field too many", SilsoFile::Kind::Total, "2014;01;01;2014.001;98;7.4;30;1;1\n", 1, "9 champs"},
      {"the hemispheric file given as the total", SilsoFile::Kind::Total, kHemisphericLine, 1, "--hemispheres"},
      {"the total file given as hemispheric", SilsoFile::Kind::Hemispheric, kTotalLine, 1, "sans --hemispheres"},
      {"a number below -1", SilsoFile::Kind::Total, "2014;01;01;2014.001;  -2;  7.4;  30;1\n", 1, "ni un entier"},
      {"a hemisphere below -1", SilsoFile::Kind::Hemispheric,
       "2014;01;01;2014.001;  98; -5; 58;   7.4;  3.1;  5.0;  30; 20; 20;1\n", 1, "ni un entier"},
      {"30 February", SilsoFile::Kind::Total, "2014;02;30;2014.160;  98;  7.4;  30;1\n", 1, "n'est pas une date"},
      {"a decimal year of another year", SilsoFile::Kind::Total, "2014;01;01;2015.001;  98;  7.4;  30;1\n", 1,
       "année décimale"},
      {"a day repeated", SilsoFile::Kind::Total, std::string(kTotalLine) + kTotalLine, 2, "ne suit pas"},
      {"an empty file", SilsoFile::Kind::Total, "\n", 2, "aucun jour"},
      {"a binary file", SilsoFile::Kind::Total, std::string("\x89PNG\r\n\x1a\n\0\0;", 12), 1, "pas une ligne"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SilsoFile file = parseSilso(c.text, c.kind);
    EXPECT_EQ(file.line, c.line);
    EXPECT_NE(file.error.find(c.saying), std::string::npos) << file.error;
    EXPECT_EQ(file.error.rfind("ligne " + std::to_string(c.line) + " : ", 0), 0u) << file.error;
    EXPECT_TRUE(file.days.empty());
  }
}

TEST(SilsoFile, DaysAsWritten) {
  const struct {
    const char* name;
    SilsoFile::Kind kind;
    const char* line;
    std::optional<int> total, north, south;
    bool definitive;
  } cases[] = {
      {"a definitive day", SilsoFile::Kind::Total, kTotalLine, 98, {}, {}, true},
      {"-1: missing", SilsoFile::Kind::Total, "1818;01;01;1818.001;  -1; -1.0;   0;1", {}, {}, {}, true},
      {"provisional, CRLF", SilsoFile::Kind::Total, "2025;07;31;2025.579; 145; 11.8;  32;0\r\n", 145, {}, {}, false},
      {"both hemispheres", SilsoFile::Kind::Hemispheric, kHemisphericLine, 98, 40, 58, true},
      {"observations -1, hemisphere missing", SilsoFile::Kind::Hemispheric,
       "1992;01;01;1992.001; 186; -1;186;  14.3;  1.0; 14.3;  19; -1; -1;1", 186, {}, 186, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SilsoFile file = parseSilso(c.line, c.kind);
    ASSERT_EQ(file.error, "");
    ASSERT_EQ(file.days.size(), 1u);
    EXPECT_EQ(file.days[0].total, c.total);
    EXPECT_EQ(file.days[0].north, c.north);
    EXPECT_EQ(file.days[0].south, c.south);
    EXPECT_EQ(file.days[0].definitive, c.definitive);
  }
}

// Months from January 2013, month i with every day worth i² (none in a missing month);
// the smoothed mean of i² over the tapered window is i² + (36 + 2·(1+4+9+16+25))/12.
std::vector<SilsoDay> squares(int months, int missingMonth) {
  std::vector<SilsoDay> days;
  for (int i = 0; i < months; ++i) {
    const int year = 2013 + i / 12, month = i % 12 + 1;
    for (int d = 1; d <= 28; ++d) {
      SilsoDay day;
      day.date = {year, month, d};
      if (i != missingMonth) day.total = i * i;
      days.push_back(day);
    }
  }
  return days;
}

TEST(SilsoMeans, MonthlyMeanOverTheDaysWithAValue) {
  const auto day = [](int month, int d, std::optional<int> total) {
    SilsoDay silso;
    silso.date = {2014, month, d};
    silso.total = total;
    return silso;
  };
  const std::vector<SilsoDay> days{day(1, 30, 10), day(2, 1, 20), day(2, 2, std::nullopt), day(2, 3, 30),
                                   day(4, 1, std::nullopt)};
  const auto means = monthlyMeans(days);
  const struct {
    const char* name;
    int month;
    std::optional<double> mean;
    int days;
  } cases[] = {
      {"one day", 1, 10.0, 1},
      {"the missing day left out", 2, 25.0, 2},
      {"a month without a day in the file", 3, std::nullopt, 0},
      {"a month of missing days", 4, std::nullopt, 0},
  };
  ASSERT_EQ(means.size(), 4u);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MonthValue& m = means[static_cast<std::size_t>(c.month - 1)];
    EXPECT_EQ(m.month, c.month);
    EXPECT_EQ(m.days, c.days);
    EXPECT_EQ(m.value.has_value(), c.mean.has_value());
    if (m.value && c.mean) {
      EXPECT_DOUBLE_EQ(*m.value, *c.mean);
    }
  }
}

TEST(SilsoMeans, SmoothedOverThirteenMonths) {
  const auto smoothed = smoothed13(monthlyMeans(squares(30, 20)));
  ASSERT_EQ(smoothed.size(), 30u);
  const auto expected = [](int i) { return i * i + 146.0 / 12; };
  const struct {
    const char* name;
    int index;
    bool exists;
  } cases[] = {
      {"first month", 0, false},        {"five months from the start", 5, false},
      {"six months from the start", 6, true}, {"the last before a missing month's reach", 13, true},
      {"within six months of a missing month", 14, false}, {"the missing month", 20, false},
      {"six months from the end", 23, false}, {"the last month", 29, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MonthValue& m = smoothed[static_cast<std::size_t>(c.index)];
    EXPECT_EQ(m.year * 12 + m.month - 1, 2013 * 12 + c.index);
    ASSERT_EQ(m.value.has_value(), c.exists);
    if (c.exists) {
      EXPECT_NEAR(*m.value, expected(c.index), 1e-9);
    }
  }
}

// SILSO smooths the monthly means it publishes, rounded to a tenth: months of 7 spotted
// days in 28, each a mean of 0.25 published as 0.3, smooth to 0.3.
TEST(SilsoMeans, SmoothedFromThePublishedTenths) {
  std::vector<SilsoDay> days;
  for (int month = 1; month <= 13; ++month)
    for (int d = 1; d <= 28; ++d) days.push_back({{2014 + (month - 1) / 12, (month - 1) % 12 + 1, d}, d <= 7, {}, {}});
  const auto smoothed = smoothed13(monthlyMeans(days));
  ASSERT_EQ(smoothed.size(), 13u);
  ASSERT_TRUE(smoothed[6].value);
  EXPECT_NEAR(*smoothed[6].value, 0.3, 1e-12);
  EXPECT_EQ(roundedToTenth(250.25), 250.3);  // 7007 / 28, a February of 1849
}

PairedDay pair(int day, int international, int observer) { return {{2014, 3, day}, observer, international}; }

TEST(ObserverK, ThreeDefinitions) {
  const struct {
    const char* name;
    std::vector<PairedDay> days;
    std::optional<double> ratioOfSums;
    int ratioDays;
    std::optional<double> mean, deviation, median;
  } cases[] = {
      {"a day of R = 0 counts in the sum only, median of two",
       {pair(1, 12, 10), pair(2, 30, 20), pair(3, 5, 0)}, 47.0 / 30, 2, 1.35, 0.15, 1.35},
      {"median of an odd number, deviation over n", {pair(1, 10, 10), pair(2, 30, 10), pair(3, 20, 10)}, 2.0, 3, 2.0,
       std::sqrt(2.0 / 3), 2.0},
      {"median of four unsorted", {pair(1, 40, 10), pair(2, 10, 10), pair(3, 30, 10), pair(4, 20, 10)}, 2.5, 4,
       2.5, std::sqrt(1.25), 2.5},
      {"the observer saw nothing", {pair(1, 12, 0), pair(2, 7, 0)}, std::nullopt, 0, std::nullopt, std::nullopt,
       std::nullopt},
      {"no day", {}, std::nullopt, 0, std::nullopt, std::nullopt, std::nullopt},
  };
  const auto near = [](std::optional<double> got, std::optional<double> want) {
    EXPECT_EQ(got.has_value(), want.has_value());
    if (got && want) {
      EXPECT_NEAR(*got, *want, 1e-12);
    }
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const KEstimate k = estimateK(c.days);
    EXPECT_EQ(k.days, static_cast<int>(c.days.size()));
    EXPECT_EQ(k.ratioDays, c.ratioDays);
    near(k.ratioOfSums, c.ratioOfSums);
    near(k.meanOfRatios, c.mean);
    near(k.standardDeviation, c.deviation);
    near(k.median, c.median);
  }
}

TEST(ObserverK, LinesAndMonths) {
  const std::vector<PairedDay> days{pair(1, 12, 10), pair(2, 30, 20), pair(3, 5, 0),
                                    {{2014, 4, 2}, 10, 11}};
  const auto months = estimateKByMonth(days);
  ASSERT_EQ(months.size(), 2u);
  EXPECT_EQ(kLines(months[0].estimate, ","),
            (std::vector<std::string>{"k (rapport des sommes) : 1,5667 (3 jours)",
                                      "k (moyenne des rapports) : 1,3500 ± 0,1500 (2 jours)",
                                      "k (médiane) : 1,3500"}));
  EXPECT_EQ(kMonthLine(months[1], "."),
            "avril 2014 : 1.1000 (1 jour), moyenne des rapports 1.1000 ± 0.0000 (1 jour), médiane 1.1000");
  EXPECT_EQ(kHemisphereLine("nord", estimateK({pair(1, 5, 0)}), ","), "k nord (rapport des sommes) : – (1 jour)");
}

}  // namespace
}  // namespace kavrel::journal
