#include "journal/group_records.h"

#include <gtest/gtest.h>

namespace kavrel::journal {
namespace {

// Lines as the yearly files write them.
const std::string k1957 =
    "1957 1 1.382   1779700 1   92  520   72  404 0.764 322.4 324.5  34.6  34.5\r\r\n"
    "1957 5 1.309   1799901 9    9   33    6   22 0.634 228.5 181.9 -28.2  32.6\r\r\n";
const std::string k2014 =
    "2014 1 1.500   11936 BGD    0  270    0  210 0.764 251.7 225.0 -16.0  49.0\n"
    "20141231.500   12254 B      0   37    0   20 0.357 156.0  43.0 -22.0  -9.0\n";

std::string srs(const std::string& issued, const std::string& validDay, const std::string& regions) {
  return ":Product: 0906SRS.txt\n:Issued: " + issued +
         " 0030 UTC\n# Prepared jointly by the U.S. Dept. of Commerce, NOAA,\n"
         "Joint USAF/NOAA Solar Region Summary\n"
         "I.  Regions with Sunspots.  Locations Valid at " + validDay + "/2400Z \n"
         "Nmbr Location  Lo  Area  Z   LL   NN Mag Type\n" + regions +
         "IA. H-alpha Plages without Spots.  Locations Valid at " + validDay + "/2400Z Sep\n"
         "Nmbr  Location  Lo\n2405  S21W73   090\nII. Regions Due to Return 06 Sep to 08 Sep\nNmbr Lat    Lo\nNone\n";
}

// Each row: a file, how many records, and its first record.
TEST(GroupFileReader, ReadsBothKinds) {
  const struct {
    const char* name;
    std::string text;
    std::size_t records;
    Day first, last;
    GroupRecord record;
  } cases[] = {
      {"Greenwich 1957, CR CR LF, digits in columns 21-22", k1957, 2, {1957, 1, 1}, {1957, 5, 1},
       {GroupSource::Greenwich, {1957, 1, 1}, 0.382, 17797, 34.6, 324.5, 34.5, 404, std::nullopt, "1"}},
      {"NOAA's magnetic type and a day of two digits", k2014, 2, {2014, 1, 1}, {2014, 12, 31},
       {GroupSource::Greenwich, {2014, 1, 1}, 0.5, 11936, -16.0, 225.0, 49.0, 210, std::nullopt, "BGD"}},
      {"an SRS describes the day before, region past 10000",
       srs("2015 Sep 06", "05", "2409 N06W02   019  0010 Bxo  02   03 Beta\n"), 1, {2015, 9, 5}, {2015, 9, 5},
       {GroupSource::Srs, {2015, 9, 5}, 1.0, 12409, 6, 19, 2, 10, 3, "Bxo"}},
      {"an SRS of 1 January describes 31 December",
       srs("2015 Jan 01", "31", "2251 S13E05   047  0190 Dai  08   11 Beta\n"), 1, {2014, 12, 31}, {2014, 12, 31},
       {GroupSource::Srs, {2014, 12, 31}, 1.0, 12251, -13, 47, -5, 190, 11, "Dai"}},
      {"an SRS in capitals, before the numbers passed 9999",
       srs("2000 SEP 22", "21", "9169 N09E32   076  1910 FKC  19   68 BETA-GAMMA-DELTA\n"), 1, {2000, 9, 21},
       {2000, 9, 21}, {GroupSource::Srs, {2000, 9, 21}, 1.0, 9169, 9, 76, -32, 1910, 68, "Fkc"}},
      {"the summer the numbers passed 9999",
       srs("2002 Jul 02", "01",
           "0003 S10W10   100  0010 Axx  01   01 Alpha\n9999 N10W80   100  0010 Axx  01   01 Alpha\n"),
       2, {2002, 7, 1}, {2002, 7, 1}, {GroupSource::Srs, {2002, 7, 1}, 1.0, 10003, -10, 100, 10, 10, 1, "Axx"}},
      {"an SRS without regions covers its day", srs("2015 Sep 06", "05", "None\n"), 0, {2015, 9, 5}, {2015, 9, 5}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const GroupFile file = parseGroupFile(c.text);
    ASSERT_EQ(file.error, "") << "line " << file.line;
    ASSERT_EQ(file.records.size(), c.records);
    EXPECT_EQ(file.firstDay, c.first);
    EXPECT_EQ(file.lastDay, c.last);
    if (c.records == 0) continue;
    const GroupRecord& r = file.records.front();
    EXPECT_EQ(r.source, c.record.source);
    EXPECT_EQ(r.date, c.record.date);
    EXPECT_DOUBLE_EQ(r.dayFraction, c.record.dayFraction);
    EXPECT_EQ(r.group, c.record.group);
    EXPECT_DOUBLE_EQ(r.latitude, c.record.latitude);
    EXPECT_EQ(r.longitude, c.record.longitude);
    EXPECT_EQ(r.centralMeridianDistance, c.record.centralMeridianDistance);
    EXPECT_EQ(r.areaMsh, c.record.areaMsh);
    EXPECT_EQ(r.spots, c.record.spots);
    EXPECT_EQ(r.classification, c.record.classification);
  }
}

// Each row: a file, the line refused and the reason's start.
TEST(GroupFileReader, RefusesWithTheLine) {
  const std::string good = "2014 1 1.500   11936 BGD    0  270    0  210 0.764 251.7 225.0 -16.0  49.0\n";
  const std::string region = "2409 N06W02   019  0010 Bxo  02   03 Beta\n";
  const struct {
    const char* name;
    std::string text;
    int line;
    const char* reason;
  } cases[] = {
      {"garbage", "\x01\x02garbage\xFF\n", 1, "ce n'est ni un fichier de groupes"},
      {"SILSO's daily file", "1818;01;01;1818.001;  -1; -1.0;   0;1\n", 1, "ce n'est ni un fichier de groupes"},
      {"an empty file", "\r\n\n", 2, "le fichier est vide"},
      {"a download cut mid-line", good + good.substr(0, 40), 2, "tronquée : 40 caractères"},
      {"a latitude not a number", good + good.substr(0, 63) + "-1x.0  49.0\n", 2, "Latitude (colonnes 64-68)"},
      {"a latitude past the pole", good + good.substr(0, 63) + "-96.0  49.0\n", 2, "Latitude (colonnes 64-68)"},
      {"30 February", good + "2014 230" + good.substr(8), 2, "Date (colonnes 1-8)"},
      {"text past the columns", good + good.substr(0, good.size() - 1) + " 12\n", 2, "ce n'est pas une ligne"},
      {"another NOAA product", ":Product: 0906GEOA.txt\n", 1, "ce produit de la NOAA"},
      {"an SRS cut before its regions", srs("2015 Sep 06", "05", region).substr(0, 120), 4, "le résumé s'arrête"},
      {"an SRS location mistyped", srs("2015 Sep 06", "05", region + "2411 N13X50   327  0040 Hsx  01   01 Alpha\n"),
       8, "Position : « N13X50 »"},
      {"an SRS region twice", srs("2015 Sep 06", "05", region + region), 8, "la région 2409 est déjà donnée ligne 7"},
      {"an SRS whose positions are not of the day before", srs("2015 Sep 06", "04", region), 5,
       "les positions valent pour le « 04 »"},
      {"an SRS line with a column missing", srs("2015 Sep 06", "05", "2409 N06W02   019  0010 Bxo  02\n"), 7,
       "ce n'est pas une ligne de région"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const GroupFile file = parseGroupFile(c.text);
    EXPECT_TRUE(file.records.empty());
    EXPECT_EQ(file.line, c.line);
    EXPECT_TRUE(file.error.starts_with(c.reason)) << file.error;
  }
}

GroupRecord seen(GroupSource source, int group, double latitude, std::optional<int> spots = std::nullopt) {
  GroupRecord record;
  record.source = source;
  record.date = {2014, 2, 3};
  record.group = group;
  record.latitude = latitude;
  record.spots = spots;
  return record;
}

// Each row: a year's records, and the groups and mean latitudes north and south.
TEST(GroupYear, CountsEachGroupOnceByItsMeanLatitude) {
  constexpr auto G = GroupSource::Greenwich;
  constexpr auto S = GroupSource::Srs;
  const struct {
    const char* name;
    std::vector<GroupRecord> records;
    int groups, north, south;
    std::optional<double> northLatitude, southLatitude;
  } cases[] = {
      {"a group seen four days counts once", {seen(G, 1, 10), seen(G, 1, 12), seen(G, 1, 11), seen(G, 1, 13)}, 1, 1, 0,
       11.5, std::nullopt},
      {"the mean over groups, not over days",
       {seen(G, 1, -10), seen(G, 1, -10), seen(G, 1, -10), seen(G, 2, -20)}, 2, 0, 2, std::nullopt, 15.0},
      {"a group drifting across the equator goes by its mean", {seen(G, 1, -3), seen(G, 1, 1), seen(G, 2, 20)}, 2, 1,
       1, 20.0, 1.0},
      {"a NOAA region listed by both sources is one group", {seen(G, 12246, 19), seen(S, 12246, 21)}, 1, 1, 0, 20.0,
       std::nullopt},
      {"no records", {}, 0, 0, 0, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const GroupYear year = groupYear(c.records);
    EXPECT_EQ(year.groups, c.groups);
    EXPECT_EQ(year.north.groups, c.north);
    EXPECT_EQ(year.south.groups, c.south);
    // -1 for no mean, which no mean of absolute values can be.
    EXPECT_NEAR(year.north.meanLatitude.value_or(-1), c.northLatitude.value_or(-1), 1e-12);
    EXPECT_NEAR(year.south.meanLatitude.value_or(-1), c.southLatitude.value_or(-1), 1e-12);
  }
  const auto lines = groupYearLines(groupYear({seen(G, 1, 17.424), seen(G, 2, -16.951), seen(G, 3, -17)}), ",");
  EXPECT_EQ(lines, (std::vector<std::string>{"Groupes : 3", "Nord : 1 groupe, latitude moyenne 17,42°",
                                             "Sud : 2 groupes, latitude moyenne 16,98°"}));
}

// The columns' padding down to one space.
std::string squeezed(const std::string& line) {
  std::string text;
  for (char c : line)
    if (c != ' ' || (!text.empty() && text.back() != ' ')) text += c;
  return text;
}

// Each row: a day's records, and its counts as printed (the line under the headings).
TEST(GroupDay, CountsTheDayAsTheObserversSheet) {
  constexpr auto G = GroupSource::Greenwich;
  constexpr auto S = GroupSource::Srs;
  const struct {
    const char* name;
    GroupSource source;
    std::vector<GroupRecord> records;
    const char* line;
  } cases[] = {
      {"an SRS counts spots", S, {seen(S, 1, 6, 3), seen(S, 2, -13, 11), seen(S, 3, -20, 2)},
       "2014-02-03 srs 1 3 13 2 13 33 3 16 46"},
      {"Greenwich counts no spots: no f, no R", G, {seen(G, 1, 6), seen(G, 2, -13)},
       "2014-02-03 greenwich 1 – – 1 – – 2 – –"},
      {"a group measured twice in the day counts once", G, {seen(G, 1, 6), seen(G, 1, 6), seen(G, 2, 7)},
       "2014-02-03 greenwich 2 – – 0 – – 2 – –"},
      {"a day without groups has no spots either", G, {}, "2014-02-03 greenwich 0 0 0 0 0 0 0 0 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto lines = groupDayLines({2014, 2, 3}, c.source, groupDay(c.records));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(squeezed(lines[1]), c.line);
    EXPECT_EQ(lines.size(), c.source == G && !c.records.empty() ? 3u : 2u);
  }
}

}  // namespace
}  // namespace kavrel::journal
