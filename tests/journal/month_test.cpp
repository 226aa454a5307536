#include "journal/month.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "journal/month_sheet.h"

namespace kavrel::journal {
namespace {

Observation observed(int day, int hour, std::optional<int> seeing, Tally counts, bool chosen = false) {
  Observation o;
  o.date = {2014, 2, day};
  o.time = {hour, 0};
  o.seeing = seeing;
  o.counts = counts;
  o.chosenForDay = chosen;
  return o;
}

UnobservedDay notObserved(int day, const char* weather) {
  UnobservedDay d;
  d.date = {2014, 2, day};
  d.remarks = weather;
  return d;
}

const Tally kSplit = Tally::of({2, 8}, {3, 15});
const Tally kDisc = Tally::wholeDisc({4, 20});

TEST(DayObservation, ChosenThenBetterSeeingThenEarlier) {
  const struct {
    const char* name;
    std::vector<Observation> day;
    int hourChosen;
  } cases[] = {
      {"the user's choice over a better seeing", {observed(3, 8, 5, kSplit), observed(3, 9, 2, kSplit, true)}, 9},
      {"the better seeing over the earlier", {observed(3, 8, 3, kSplit), observed(3, 14, 4, kSplit)}, 14},
      {"no seeing ranks below the worst", {observed(3, 8, std::nullopt, kSplit), observed(3, 9, 1, kSplit)}, 9},
      {"equal seeing: the earlier", {observed(3, 15, 4, kSplit), observed(3, 7, 4, kSplit)}, 7},
      {"neither with seeing: the earlier", {observed(3, 15, {}, kSplit), observed(3, 10, {}, kSplit)}, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto days = observationsOfDays(c.day);
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].time.hour, c.hourChosen);
  }
}

TEST(DayObservation, OnePerDayInDateOrder) {
  const auto days = observationsOfDays(
      {observed(20, 9, 3, kSplit), observed(2, 9, 3, kSplit), observed(20, 10, 4, kDisc), observed(11, 8, 3, kDisc)});
  ASSERT_EQ(days.size(), 3u);
  EXPECT_EQ(days[0].date.day, 2);
  EXPECT_EQ(days[1].date.day, 11);
  EXPECT_EQ(days[2].date.day, 20);
  EXPECT_EQ(days[2].time.hour, 10);
}

// The means, and the month's lines that show them.
TEST(MonthMeans, OverTheDaysObserved) {
  const struct {
    const char* name;
    std::vector<Observation> observations;
    const char* separator;
    std::vector<std::string> lines;
    std::vector<UnobservedDay> unobserved = {};
  } cases[] = {
      {"split days",
       {observed(1, 9, 4, Tally::of({2, 8}, {3, 15})), observed(2, 9, 4, Tally::of({1, 1}, {0, 0}))},
       ",",
       {"Jours d'observation : 2", "Moyenne de R : 42,00", "Moyenne de R nord : 19,50", "Moyenne de R sud : 22,50",
        "Groupes par jour : 3,00"}},
      {"a month without split days has no hemisphere means",
       {observed(1, 9, 4, Tally::wholeDisc({4, 20})), observed(5, 9, 4, Tally::wholeDisc({1, 3}))},
       ".",
       {"Jours d'observation : 2", "Moyenne de R : 36.50", "Moyenne de R nord : –", "Moyenne de R sud : –",
        "Groupes par jour : 2.50"}},
      {"hemispheres over the split days only, R over all",
       {observed(1, 9, 4, Tally::of({1, 2}, {0, 0})), observed(2, 9, 4, Tally::wholeDisc({3, 7})),
        observed(3, 9, 4, Tally::wholeDisc({0, 0}))},
       ",",
       {"Jours d'observation : 3", "Moyenne de R : 16,33", "Moyenne de R nord : 12,00", "Moyenne de R sud : 0,00",
        "Groupes par jour : 1,33"}},
      {"a second observation of a day counts once",
       {observed(1, 9, 4, Tally::wholeDisc({1, 1})), observed(1, 11, 2, Tally::wholeDisc({5, 50}))},
       ",",
       {"Jours d'observation : 1", "Moyenne de R : 11,00", "Moyenne de R nord : –", "Moyenne de R sud : –",
        "Groupes par jour : 1,00"}},
      {"no day observed",
       {},
       ",",
       {"Jours d'observation : 0", "Moyenne de R : –", "Moyenne de R nord : –", "Moyenne de R sud : –",
        "Groupes par jour : –"}},
      {"days not observed count in no mean",
       {observed(1, 9, 4, Tally::of({2, 8}, {3, 15})), observed(2, 9, 4, Tally::of({1, 1}, {0, 0}))},
       ",",
       {"Jours d'observation : 2", "Moyenne de R : 42,00", "Moyenne de R nord : 19,50", "Moyenne de R sud : 22,50",
        "Groupes par jour : 3,00"},
       {notObserved(3, "C"), notObserved(4, "R")}},
      {"a month of clouds only",
       {},
       ",",
       {"Jours d'observation : 0", "Moyenne de R : –", "Moyenne de R nord : –", "Moyenne de R sud : –",
        "Groupes par jour : –"},
       {notObserved(3, "C")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(monthSheet(c.observations, c.separator, std::nullopt, c.unobserved).meansLines, c.lines);
  }
}

// The printed month gives each day's remarks: the observation the day keeps, on one line.
TEST(MonthSheet, RemarksOfTheDays) {
  Observation veiled = observed(3, 9, 3, kSplit);
  veiled.remarks = "voile léger";
  Observation other = observed(3, 14, 2, kSplit);  // the day keeps the better seeing
  other.remarks = "nuages";
  Observation imported = observed(5, 9, 3, kSplit);
  imported.remarks = "bord est\nturbulent";
  Observation blank = observed(7, 9, 3, kSplit);
  blank.remarks = "  ";
  EXPECT_EQ(monthSheet({blank, imported, other, veiled}, ",").remarks,
            (std::vector<std::string>{"3 : voile léger", "5 : bord est turbulent"}));
}

TEST(MonthSheet, ColumnsAlignedOnTheTerminal) {
  const MonthSheet sheet = monthSheet({observed(3, 9, std::nullopt, kDisc), observed(28, 14, 5, kSplit)}, ",");
  ASSERT_EQ(sheet.rows.size(), 2u);
  EXPECT_EQ(sheet.rows[0][5], "–");  // R north of a day counted on the whole disc
  // "–" is one column wide: every line as long, in characters, as the headings.
  const auto columns = [](const std::string& s) {
    return std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
  };
  const auto width = columns(sheetHeadingLine(sheet));
  EXPECT_EQ(columns(sheetLine(sheet, 0)), width);
  EXPECT_EQ(columns(sheetLine(sheet, 1)), width);
  EXPECT_TRUE(sheetLine(sheet, 1).ends_with(" 73"));
}

// The lines of `kavrel journal mois`: the days not observed among the others, the
// remarks last and only where there are some.
TEST(MonthSheet, DaysNotObservedAndRemarks) {
  Observation misty = observed(5, 9, 4, kDisc);
  misty.remarks = "brume\nlégère";
  const std::string heading = "Jour  Heure TU  Seeing  g nord  f nord  R nord  g sud  f sud  R sud  g   f   R";
  const std::string day3 = "   3     09:00       –       –       –       –      –      –      –  4  20  60";
  const struct {
    const char* name;
    std::vector<Observation> observations;
    std::vector<UnobservedDay> unobserved;
    std::vector<std::string> lines;  // the headings, then the days
  } cases[] = {
      {"no remark: the lines as they always were, no trailing blanks",
       {observed(3, 9, std::nullopt, kDisc)}, {}, {heading, day3}},
      {"a day not observed between two observed",
       {observed(3, 9, std::nullopt, kDisc), observed(7, 9, std::nullopt, kDisc)},
       {notObserved(4, "C-R")},
       {heading + "  Remarques", day3,
        "   4         –       –       –       –       –      –      –      –  –   –   –  C-R",
        "   7     09:00       –       –       –       –      –      –      –  4  20  60"}},
      {"an observation's remark on one line",
       {misty}, {}, {heading + "  Remarques", "   5     09:00       4       –       –       –      –      –      –  4  20  60"
                                             "  brume légère"}},
      {"a day observed is never shown as not observed",
       {observed(3, 9, std::nullopt, kDisc)}, {notObserved(3, "C")}, {heading, day3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MonthSheet sheet = monthSheet(c.observations, ",", std::nullopt, c.unobserved);
    std::vector<std::string> lines{sheetHeadingLine(sheet)};
    for (std::size_t row = 0; row < sheet.rows.size(); ++row) lines.push_back(sheetLine(sheet, row));
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(sheet.rowObservations.size(), sheet.rows.size());
  }
}

}  // namespace
}  // namespace kavrel::journal
