// The two-date window: each date's row, the line of a rotation start, and the list of
// the "&Calcul" command with its four outcomes.
#include "calculators/rotation_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reference_table.h"

namespace kavrel::brennic {
namespace {

TEST(DateRow, ShowsJulianDayRotationAndL0AtMidnight) {
  struct Row {
    DateTexts date;
    const char* sep;
    bool complete;
    const char *julianDay, *rotation, *l0;
  };
  const Row rows[] = {
      {{"1", "1", "2000"}, ",", true, "2451544,500", "1957", "8,04"},
      {{"1", "1", "2000"}, ".", true, "2451544.500", "1957", "8.04"},
      // The time fields of another window would not move the date off 0 h.
      {{"1", "1", "2000", "12", "30"}, ",", true, "2451544,500", "1957", "8,04"},
      {{"7", "11", "1853"}, ",", true, "2398164,500", " < 1", "38,23"},
      {{"", "1", "2000"}, ",", false, "#############", "", ""},
      {{"1", "1", ""}, ".", false, "#############", "", ""},
  };
  for (const Row& row : rows) {
    const DateRow got = dateRow(row.date, row.sep);
    SCOPED_TRACE(got.julianDay);
    EXPECT_EQ(got.complete, row.complete);
    EXPECT_EQ(got.julianDay, row.julianDay);
    EXPECT_EQ(got.rotation, row.rotation);
    EXPECT_EQ(got.l0, row.l0);
  }
}

// The window's rows are the solar-aspect captions of the date at 0 h.
TEST(DateRow, AgreesWithTheReferenceTableAtMidnight) {
  int midnights = 0;
  for (const reference::Row& row : reference::table("aspect_texts.csv")) {
    if (row.text("hour") != "0" || row.text("minute") != "0") continue;
    SCOPED_TRACE(row.where());
    ++midnights;
    const DateRow got = dateRow({row.text("day"), row.text("month"), row.text("year")}, ",");
    EXPECT_EQ(got.julianDay, row.text("julian_day"));
    EXPECT_EQ(got.rotation, row.text("rotation"));
    EXPECT_EQ(got.l0, row.text("l0"));
  }
  EXPECT_GT(midnights, 40);
}

// The starts found by the search, and instants on a whole minute, where the minute cut
// must not lose one.
TEST(InvJul, AgreesWithTheReferenceTables) {
  for (const reference::Row& row : reference::table("rotation_starts.csv")) {
    SCOPED_TRACE(row.where());
    EXPECT_EQ(invJul(row.number("julian_day"), row.number("rotation")), row.text("line"));
  }
  for (const reference::Row& row : reference::table("julian_day.csv")) {
    SCOPED_TRACE(row.where());
    EXPECT_EQ(invJul(row.number("julian_day"), 1), row.text("start_line"));
  }
}

TEST(InvJul, WritesDateAndTimeCutToTheMinute) {
  struct Row {
    double start, rotation;
    const char* line;
  };
  const Row rows[] = {
      {2451545.0, 1958, "Le 01/01/2000 à 12 h 00 min TU, début de la rotation n° 1958"},
      // 14 h 39 min 59 s: the seconds are dropped, not rounded.
      {2451544.5 + (14 * 3600 + 39 * 60 + 59) / 86400.0, 1958,
       "Le 01/01/2000 à 14 h 39 min TU, début de la rotation n° 1958"},
      {2451909.5 + (23 * 3600 + 30 * 60 + 30) / 86400.0, 1971, "Le 31/12/2000 à 23 h 30 min TU, début de la rotation n° 1971"},
      {2299160.0, 1, "Le 04/10/1582 à 12 h 00 min TU, début de la rotation n° 1"},  // Julian calendar
      {0.0, -100000, "Le 01/01/-4712 à 12 h 00 min TU, début de la rotation n° -100000"},
      {12000000.5, 40000, "Le 14/10/28142 à 00 h 00 min TU, début de la rotation n° 40000"},  // past 16 bits
  };
  for (const Row& row : rows) EXPECT_EQ(invJul(row.start, row.rotation), row.line);
}

const std::vector<std::string> kExampleComma = {
    "Le 01/01/2000 à 00 h 00 min TU, rotation 1957 et longitude Lo 8,04°",
    "Le 01/01/2000 à 14 h 39 min TU, début de la rotation n° 1958",
    "Le 28/01/2000 à 22 h 47 min TU, début de la rotation n° 1959",
    "Le 25/02/2000 à 06 h 56 min TU, début de la rotation n° 1960",
    "Le 23/03/2000 à 14 h 36 min TU, début de la rotation n° 1961",
    "Le 19/04/2000 à 21 h 17 min TU, début de la rotation n° 1962",
    "Le 17/05/2000 à 02 h 57 min TU, début de la rotation n° 1963",
    "Le 01/06/2000 à 00 h 00 min TU, rotation 1963 et longitude Lo 163,16°.",
};

TEST(RotationList, ListsTheFirstHalfOf2000) {
  const RotationList comma = rotationList({"1", "1", "2000"}, {"1", "6", "2000"}, ",");
  EXPECT_EQ(comma.outcome, ListOutcome::Listed);
  EXPECT_EQ(comma.lastLine, 7);
  EXPECT_EQ(comma.lines, kExampleComma);

  std::vector<std::string> point = kExampleComma;
  point.front() = "Le 01/01/2000 à 00 h 00 min TU, rotation 1957 et longitude Lo 8.04°";
  point.back() = "Le 01/06/2000 à 00 h 00 min TU, rotation 1963 et longitude Lo 163.16°.";
  EXPECT_EQ(rotationList({"1", "1", "2000"}, {"1", "6", "2000"}, ".").lines, point);
}

TEST(RotationList, OutcomesForTheDatesGiven) {
  struct Row {
    const char* name;
    DateTexts first, second;
    ListOutcome outcome;
    int lastLine;
    std::size_t lines;
  };
  const Row rows[] = {
      {"equal dates", {"1", "1", "2000"}, {"1", "1", "2000"}, ListOutcome::Listed, 1, 2},
      {"second a day before", {"2", "1", "2000"}, {"1", "1", "2000"}, ListOutcome::DatesIncorrect, 0, 0},
      {"98 starts", {"1", "1", "2000"}, {"20", "4", "2007"}, ListOutcome::Listed, 99, 100},
      {"99 starts", {"1", "1", "2000"}, {"20", "5", "2007"}, ListOutcome::Limit, 100, 100},
      {"first before rotation 1", {"1", "1", "1850"}, {"1", "1", "2000"}, ListOutcome::Silent, 0, 0},
      {"second before rotation 1", {"1", "1", "1853"}, {"7", "11", "1853"}, ListOutcome::Silent, 0, 0},
      {"first incomplete", {"", "1", "2000"}, {"1", "6", "2000"}, ListOutcome::Silent, 0, 0},
      {"both incomplete", {"1", "", "2000"}, {"1", "6", ""}, ListOutcome::Silent, 0, 0},
      {"second incomplete", {"1", "1", "2000"}, {"1", "6", ""}, ListOutcome::DatesIncorrect, 0, 0},
      // Six digits before the separator against seven: the texts sort the other way.
      {"-1975 in order", {"7", "11", "-1975"}, {"8", "11", "-1975"}, ListOutcome::DatesIncorrect, 0, 0},
      {"-1975 reversed", {"8", "11", "-1975"}, {"7", "11", "-1975"}, ListOutcome::Silent, 0, 0},
      // Where the theory overflows there is no L0 to start from; where 27 days no longer
      // move the Julian day the search stalls and meets the limit.
      {"year 1e300", {"1", "1", "1e300"}, {"1", "1", "1e300"}, ListOutcome::Silent, 0, 0},
      {"year 1e18", {"1", "1", "1e18"}, {"1", "1", "1e18"}, ListOutcome::Limit, 100, 100},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const RotationList got = rotationList(row.first, row.second, ",");
    EXPECT_EQ(got.outcome, row.outcome);
    EXPECT_EQ(got.lastLine, row.lastLine);
    EXPECT_EQ(got.lines.size(), row.lines);
  }
}

TEST(RotationList, SpanOf98StartsEndsWithRotation2055) {
  const RotationList list = rotationList({"1", "1", "2000"}, {"20", "4", "2007"}, ",");
  ASSERT_EQ(list.lines.size(), 100u);
  EXPECT_EQ(list.lines[98], "Le 31/03/2007 à 11 h 39 min TU, début de la rotation n° 2055");
  EXPECT_EQ(list.lines[99], "Le 20/04/2007 à 00 h 00 min TU, rotation 2055 et longitude Lo 102,42°.");
}

// Day and month are read as numbers and shown on two digits; the year stays as typed.
TEST(RotationList, DateLinesQuoteTheFields) {
  const RotationList list = rotationList({"5", "03", "02000"}, {"5", "3", "2000"}, ",");
  ASSERT_EQ(list.lines.size(), 2u);
  EXPECT_EQ(list.lines[0].substr(0, 42), "Le 05/03/02000 à 00 h 00 min TU, rotation");
  EXPECT_EQ(list.lines[1].substr(0, 41), "Le 05/03/2000 à 00 h 00 min TU, rotation");
}

}  // namespace
}  // namespace kavrel::brennic
