// The solar-aspect window's captions and report lines for the texts of its five fields.
#include "calculators/aspect_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "reference_table.h"

namespace kavrel::dalvoren {
namespace {

const std::string kEmpty = "#############";

struct Row {
  DateTexts fields;
  const char* sep;
  AspectTexts expected;
};

void expectTexts(const AspectTexts& got, const AspectTexts& want) {
  EXPECT_EQ(got.julianDay, want.julianDay);
  EXPECT_EQ(got.rightAscension, want.rightAscension);
  EXPECT_EQ(got.declination, want.declination);
  EXPECT_EQ(got.rotation, want.rotation);
  EXPECT_EQ(got.semiDiameter, want.semiDiameter);
  EXPECT_EQ(got.p, want.p);
  EXPECT_EQ(got.b0, want.b0);
  EXPECT_EQ(got.l0, want.l0);
}

TEST(AspectTexts, ShowsTheWorkedDates) {
  const Row rows[] = {
      {{"1", "1", "2000", "12", "0"}, ",",
       {"2451545,000", "18,4506", "-23,0158", "1957", "16  17,4", "2,13", "-3,01", "1,45"}},
      {{"1", "1", "2000", "12", "0"}, ".",
       {"2451545.000", "18.4506", "-23.0158", "1957", "16  17.4", "2.13", "-3.01", "1.45"}},
      {{"13", "10", "1992", "0", "0"}, ",",
       {"2448908,500", "13,1330", "-7,4701", "1861", "16  3,4", "26,27", "5,98", "238,64"}},
      {{"13", "10", "1992", "00", "00"}, ".",
       {"2448908.500", "13.1330", "-7.4701", "1861", "16  3.4", "26.27", "5.98", "238.64"}},
      {{"21", "3", "1850", "12", "0"}, ",",
       {"2396838,000", "0,0158", "0,1249", " < 1", "16  4,1", "-25,56", "-6,93", "269,83"}},
      {{"23", "9", "1850", "12", "0"}, ".",
       {"2397024.000", "12.0017", "-0.0156", " < 1", "15  58.6", "25.51", "6.95", "331.06"}},
      // A rotation start falls between 14 h and 15 h.
      {{"1", "1", "2000", "14", "0"}, ",",
       {"2451545,083", "18,4528", "-23,0134", "1957", "16  17,4", "2,09", "-3,02", "0,35"}},
      {{"1", "1", "2000", "15", "0"}, ".",
       {"2451545.125", "18.4539", "-23.0122", "1958", "16  17.4", "2.07", "-3.02", "359.80"}},
      // Far beyond the theory, a year whose Julian day overflows shows nothing at all.
      {{"1", "1", "1e308", "0", "0"}, ",", {kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.fields.day) + "/" + std::string(row.fields.month) + "/" +
                 std::string(row.fields.year) + " " + std::string(row.fields.hour) + "h " + row.sep);
    expectTexts(aspectTexts(row.fields, row.sep), row.expected);
  }
}

TEST(AspectTexts, AnyEmptyFieldEmptiesEveryCaption) {
  const AspectTexts allEmpty{kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty};
  const DateTexts rows[] = {
      {"", "1", "2000", "12", "0"}, {"1", "", "2000", "12", "0"}, {"1", "1", "", "12", "0"},
      {"1", "1", "2000", "", "0"},  {"1", "1", "2000", "12", ""},
  };
  for (const DateTexts& fields : rows) expectTexts(aspectTexts(fields, ","), allEmpty);
}

TEST(AspectTexts, DayBeyondTheMonthCountsOn) {
  const AspectTexts third{"2451971,500", "22,5521", "-6,5248", "1973", "16  9,5", "-22,04", "-7,23", "134,04"};
  expectTexts(aspectTexts({"31", "2", "2001", "0", "0"}, ","), third);
  expectTexts(aspectTexts({"3", "3", "2001", "0", "0"}, ","), third);
}

TEST(AspectTexts, AgreeWithTheReferenceTable) {
  for (const reference::Row& row : reference::table("aspect_texts.csv")) {
    SCOPED_TRACE(row.where());
    const DateTexts fields{row.text("day"), row.text("month"), row.text("year"), row.text("hour"),
                           row.text("minute")};
    expectTexts(aspectTexts(fields, ","),
                {row.text("julian_day"), row.text("right_ascension"), row.text("declination"), row.text("rotation"),
                 row.text("semi_diameter"), row.text("p"), row.text("b0"), row.text("l0")});
  }
}

TEST(ReportLines, QuoteFieldsAndCaptionsAsTheyStand) {
  const DateTexts fields{"1", "1", "2000", "12", "0"};
  const std::array<std::string, 9> want = {
      "Date : 1.1.2000 à 12h 0min",
      "Jour julien : 2451545,000",
      "Ascension droite : 18,4506( hh.mmss)",
      "Déclinaison : -23,0158( °. ' \" )",
      "Rotation synodique : 1957",
      "Demi diamètre apparent : 16  17,4( '  \" )",
      "P : 2,13°",
      "Bo : -3,01°",
      "Lo : 1,45°",
  };
  EXPECT_EQ(reportLines(fields, aspectTexts(fields, ",")), want);

  const DateTexts noDay{"", "12", "2026", "9", "5"};
  const std::array<std::string, 9> lines = reportLines(noDay, aspectTexts(noDay, ","));
  EXPECT_EQ(lines[0], "Date : .12.2026 à 9h 5min");
  EXPECT_EQ(lines[1], "Jour julien : #############");
  EXPECT_EQ(lines[8], "Lo : #############°");
}

}  // namespace
}  // namespace kavrel::dalvoren
