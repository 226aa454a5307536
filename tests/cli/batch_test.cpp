// The lines of a log of instants as `kavrel soleil --csv` and `kavrel tache --csv` read
// them, and the rows they write.
#include "cli/batch.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "common/field_check.h"
#include "sun/heliographic.h"

namespace kavrel::batch {
namespace {

TEST(BatchLine, ReadsInstantsAndRefusesAsTheWindowDoes) {
  struct Case {
    const char* name;
    std::string line;
    std::string date;  // empty when refused
    std::string time;
    double minute;
    std::string_view refusal;
  };
  const Case cases[] = {
      {"five fields", "6 12 2001 9 5", "2001-12-06", "09:05", 5, {}},
      {"tabs and surrounding blanks", "\t6  12\t2001 9 5 \r", "2001-12-06", "09:05", 5, {}},
      {"zero-padded hour and minute pass", "6 12 2001 09 05", "2001-12-06", "09:05", 5, {}},
      {"ISO with T", "2001-12-06T09:05", "2001-12-06", "09:05", 5, {}},
      {"ISO with a space", "2001-12-06 09:05", "2001-12-06", "09:05", 5, {}},
      {"seconds count", "2001-12-06T09:05:30", "2001-12-06", "09:05:30", 5.5, {}},
      {"astronomical year, fields", "15 3 -44 12 0", "-0044-03-15", "12:00", 0, {}},
      {"astronomical year, ISO", "-0044-03-15T12:00", "-0044-03-15", "12:00", 0, {}},
      {"year 0 in ISO", "0000-01-01T00:00", "0000-01-01", "00:00", 0, {}},
      {"year -0 is year 0 as in the window", "1 1 -0 0 0", "0000-01-01", "00:00", 0, {}},
      {"29 February of a Julian leap year", "29 2 1500 0 0", "1500-02-29", "00:00", 0, {}},
      {"29 February 2000", "2000-02-29T00:00", "2000-02-29", "00:00", 0, {}},
      {"a day dropped by the reform is a Julian date", "10 10 1582 0 0", "1582-10-10", "00:00", 0, {}},

      {"31 February is not moved to March", "31 2 2000 0 0", "", "", 0, kNoSuchDayMessage},
      {"29 February 1900", "1900-02-29T00:00", "", "", 0, kNoSuchDayMessage},
      {"31 April", "31 4 2001 0 0", "", "", 0, kNoSuchDayMessage},
      {"day 06 refused as in the window", "06 12 2001 9 5", "", "", 0, kDayMessage},
      {"the first refused field speaks", "32 13 2000 24 60", "", "", 0, kDayMessage},
      {"month 13", "1 13 2000 0 0", "", "", 0, kMonthMessage},
      {"hour 24", "1 1 2000 24 0", "", "", 0, kHourMessage},
      {"minute 60 in ISO", "2000-01-01T12:60", "", "", 0, kMinuteMessage},
      {"second 60", "2000-01-01T12:00:60", "", "", 0, kSecondMessage},
      {"day 00 in ISO", "2000-01-00T12:00", "", "", 0, kDayMessage},
      {"year 0 in fields, as the window", "1 1 0 0 0", "", "", 0, kNumberMessage},
      {"year ending in a digit but not a number", "1 1 2x01 0 0", "", "", 0, kNumberMessage},
      {"year of 16 digits", "1 1 1234567890123456 0 0", "", "", 0, kNumberMessage},
      {"ISO year of 16 digits", "1234567890123456-01-01T00:00", "", "", 0, kNumberMessage},
      {"ISO year of 2 digits", "01-01-01T00:00", "", "", 0, kSunLineMessage},
      {"ISO without time", "2001-12-06", "", "", 0, kSunLineMessage},
      {"ISO with a one-digit month", "2001-1-06T09:05", "", "", 0, kSunLineMessage},
      {"four fields", "6 12 2001 9", "", "", 0, kSunLineMessage},
      {"six fields", "6 12 2001 9 5 0", "", "", 0, kSunLineMessage},
      {"many words", "a b c d e f g h i j k", "", "", 0, kSunLineMessage},
      {"garbage", "lundi matin", "", "", 0, kSunLineMessage},
      {"binary bytes", std::string("\x00\xff\xfe\x01", 4), "", "", 0, kSunLineMessage},
      {"too long", std::string(1001, '1'), "", "", 0, kLongLineMessage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SunLine got = parseSunLine(c.line);
    EXPECT_EQ(got.refusal, c.refusal);
    ASSERT_EQ(got.instant.has_value(), !c.date.empty());
    if (!got.instant) continue;
    EXPECT_EQ(got.instant->date, c.date);
    EXPECT_EQ(got.instant->time, c.time);
    EXPECT_EQ(got.instant->when.minute, c.minute);
  }

  struct SpotCase {
    const char* name;
    std::string line;
    const char* decimalSeparator;
    double angle;
    double distance;
    std::string_view refusal;
  };
  const SpotCase spots[] = {
      {"fields, point", "6 12 2001 9 5 59 0.534", ",", 59, 0.534, {}},
      {"ISO, locale comma", "2001-12-06T09:05 120 0,62", ",", 120, 0.62, {}},
      {"ISO with a space", "2001-12-06 09:05 -30 1", ".", -30, 1, {}},
      {"comma in a point locale", "2001-12-06T09:05 120 0,62", ".", 0, 0, kDistanceMessage},
      {"angle not a number", "6 12 2001 9 5 nord 0.5", ".", 0, 0, kAngleMessage},
      {"distance missing", "6 12 2001 9 5 59", ".", 0, 0, kSpotLineMessage},
      {"instant refused first", "31 2 2000 0 0 x y", ".", 0, 0, kNoSuchDayMessage},
  };
  for (const auto& c : spots) {
    SCOPED_TRACE(c.name);
    const SpotLine got = parseSpotLine(c.line, c.decimalSeparator);
    EXPECT_EQ(got.refusal, c.refusal);
    EXPECT_EQ(got.instant.has_value(), c.refusal.empty());
    EXPECT_EQ(got.angle, c.angle);
    EXPECT_EQ(got.distance, c.distance);
  }
}

TEST(BatchRows, WritesSeparatorsQuotesAndEmptyRows) {
  struct Case {
    const char* name;
    std::string input;
    bool spots;
    const char* decimalSeparator;
    std::string output;
    std::size_t rows;
    std::size_t refused;
  };
  const std::string sunFr =
      "date;heure_tu;jour_julien;ascension_droite_h;declinaison_deg;rotation;demi_diametre_arcmin;P_deg;B0_deg;"
      "L0_deg;erreur\n";
  const std::string sunC =
      "date,heure_tu,jour_julien,ascension_droite_h,declinaison_deg,rotation,demi_diametre_arcmin,P_deg,B0_deg,"
      "L0_deg,erreur\n";
  const std::string spotFr = "date;heure_tu;angle;distance;B_deg;L_deg;DMC_deg;erreur\n";
  const std::string aspectFr =
      "2000-01-01;12:00;2451545,00000;18,751803;-23,0329;1957,9959;16,2914;2,1366;-3,0122;1,4549;\n";
  const std::string outside = std::string(kOutsideDiscMessage);
  const Case cases[] = {
      {"decimal comma, semicolons", "1 1 2000 12 0\n", false, ",", sunFr + aspectFr, 1, 0},
      {"point, commas", "1 1 2000 12 0\n1 1 2000 1 1 1\n", false, ".",
       sunC + "2000-01-01,12:00,2451545.00000,18.751803,-23.0329,1957.9959,16.2914,2.1366,-3.0122,1.4549,\n" +
           ",,,,,,,,,,Ligne illisible : attendu JOUR MOIS ANNEE HEURE MINUTE ou AAAA-MM-JJTHH:MM[:SS]\n",
       2, 1},
      {"skipped lines, CRLF, byte-order mark, no final line break",
       "\xEF\xBB\xBF# journal\r\n\r\n   \n  # indented comment\n1 1 2000 12 0\r\n2000-01-01T12:00", false, ",",
       sunFr + aspectFr + aspectFr, 2, 0},
      {"a refused line keeps its place between computed rows", "1 1 2000 12 0\n31 2 2000 0 0\n1 1 2000 12 0\n",
       false, ",", sunFr + aspectFr + ";;;;;;;;;;Ce jour n'existe pas dans ce mois\n" + aspectFr, 3, 1},
      {"a huge line is one refused row, the next line is read",
       std::string(5'000'000, '7') + "\n1 1 2000 12 0\n", false, ",",
       sunFr + ";;;;;;;;;;" + std::string(kLongLineMessage) + "\n" + aspectFr, 2, 1},
      {"the fraction of a rotation is cut, never rounded into the next one", "2000-01-01T14:39\n", false, ",",
       sunFr + "2000-01-01;14:39;2451545,11042;18,759933;-23,0241;1957,9999;16,2914;2,0830;-3,0251;0,0007;\n", 1, 0},
      {"spot and a point beyond the limb", "6 12 2001 9 5 59 0.534\n2001-12-06T09:05 120 1.02\n", true, ",",
       spotFr + "2001-12-06;09:05;59,000;0,534;22,236;33,252;-24,000;\n" +
           "2001-12-06;09:05;120,000;1,020;;;;" + outside + "\n",
       2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::istringstream in(c.input);
    std::ostringstream out;
    const Summary summary = runBatch(c.spots ? Kind::Spot : Kind::SolarAspect, in, out, c.decimalSeparator);
    EXPECT_EQ(out.str(), c.output);
    EXPECT_EQ(summary.rows, c.rows);
    EXPECT_EQ(summary.refused, c.refused);
    EXPECT_FALSE(summary.writeFailed);
  }

  struct Quote {
    std::string_view text;
    char separator;
    std::string_view written;
  };
  const Quote quotes[] = {
      {"plain text", ';', "plain text"},
      {"a;b", ';', "\"a;b\""},
      {"a,b", ';', "a,b"},
      {"a,b", ',', "\"a,b\""},
      {"dit \"non\"", ';', "\"dit \"\"non\"\"\""},
      {"deux\nlignes", ',', "\"deux\nlignes\""},
  };
  for (const auto& q : quotes) {
    std::string row;
    csv::appendField(row, q.text, csv::Format{q.separator, q.separator == ';' ? ',' : '.'});
    EXPECT_EQ(row, q.written) << q.text;
  }

  // A standard output that refuses to be written stops the batch.
  std::istringstream in("1 1 2000 12 0\n");
  std::ostream refusing(nullptr);
  EXPECT_TRUE(runBatch(Kind::SolarAspect, in, refusing, ",").writeFailed);
}

}  // namespace
}  // namespace kavrel::batch
