// The regions of a month as the Journal's tab shows them (journal/region_view.h), on
// sightings made by each case: the days read around the month, the regions kept, their
// numbers and how they are said, a region's days.
#include "journal/region_view.h"

#include <gtest/gtest.h>

namespace kavrel::journal {
namespace {

using Cells = std::vector<std::string>;

// One group seen at noon on each of `days` at a fixed Carrington place, with its number.
std::vector<Sighting> seen(std::vector<Day> days, double latitude, double longitude,
                           std::optional<int> number = std::nullopt, std::optional<double> area = std::nullopt) {
  std::vector<Sighting> sightings;
  for (const Day& day : days) {
    Sighting s;
    s.date = day;
    s.latitude = latitude;
    s.longitude = longitude;
    s.areaMsh = area;
    s.number = number;
    sightings.push_back(s);
  }
  return sightings;
}

std::vector<Sighting> joined(std::vector<Sighting> a, const std::vector<Sighting>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(RegionMonth, KeepsTheMonthsRegionsWholeAndNumbersThem) {
  const auto early = seen({{2014, 1, 20}, {2014, 1, 21}}, -15, 200);
  const auto across = seen({{2014, 1, 30}, {2014, 1, 31}, {2014, 2, 1}, {2014, 2, 2}}, 10, 100, std::nullopt, 120);
  const auto inFeb = seen({{2014, 2, 3}, {2014, 2, 4}}, 10, 100);
  const struct {
    const char* name;
    int year, month;
    RegionSource source;
    std::vector<Sighting> own, noaa, greenwich;
    Day readFirst, readLast;
    std::vector<Cells> rows;  // regionRows
    std::string numbering;
    Cells firstDay;  // the first row of the first region's days
  } cases[] = {
      {"a region crossing the month's first day kept whole, one seen only before it left out", 2014, 2,
       RegionSource::Observer, joined(early, across), {}, {}, {2014, 1, 18}, {2014, 3, 14},
       {{"2", "30/01/2014", "02/02/2014", "4", "10,0", "100,0", "0,00", "120", "–", "–", "–", "–"}},
       "Numéros : aucun relevé NOAA ni de Greenwich de ces jours dans le journal, les régions n'en ont pas.",
       {"30/01/2014", "12:00", "10,00", "100,00", "120", "–"}},
      {"the observer's region numbered by NOAA's records though Greenwich's are there too", 2014, 2,
       RegionSource::Observer, inFeb, seen({{2014, 2, 3}, {2014, 2, 4}}, 10.5, 100.5, 11966),
       seen({{2014, 2, 3}, {2014, 2, 4}}, 10, 100, 777), {2014, 1, 18}, {2014, 3, 14},
       {{"1", "03/02/2014", "04/02/2014", "2", "10,0", "100,0", "0,00", "–", "–", "–", "11966", "–"}},
       "Numéros : ceux des régions NOAA (SRS) des mêmes jours, trouvés pour 1 région sur 1.",
       {"03/02/2014", "12:00", "10,00", "100,00", "–", "11966"}},
      {"numbered by Greenwich's records without NOAA's", 2014, 2, RegionSource::Observer, inFeb, {},
       seen({{2014, 2, 3}, {2014, 2, 4}}, 10, 100, 777), {2014, 1, 18}, {2014, 3, 14},
       {{"1", "03/02/2014", "04/02/2014", "2", "10,0", "100,0", "0,00", "–", "–", "–", "777", "–"}},
       "Numéros : ceux des groupes de Greenwich des mêmes jours, trouvés pour 1 région sur 1.",
       {"03/02/2014", "12:00", "10,00", "100,00", "–", "777"}},
      {"Greenwich's own numbers kept, December read into January", 2014, 12, RegionSource::Greenwich,
       joined(seen({{2014, 12, 31}, {2015, 1, 1}}, -8, 300, 12255), seen({{2015, 1, 3}}, 5, 40, 12260)), {}, {},
       {2014, 11, 17}, {2015, 1, 14},
       {{"1", "31/12/2014", "01/01/2015", "2", "-8,0", "300,0", "0,00", "–", "–", "–", "12255", "–"}},
       "Numéros : ceux de Greenwich.", {"31/12/2014", "12:00", "-8,00", "300,00", "–", "12255"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<RegionSpan> span = monthRegionSpan(c.year, c.month);
    ASSERT_TRUE(span.has_value());
    EXPECT_EQ(span->readFirst, c.readFirst);
    EXPECT_EQ(span->readLast, c.readLast);
    const RegionMonth month = regionMonth(*span, c.source, c.own, c.noaa, c.greenwich);
    EXPECT_EQ(regionRows(month, ","), c.rows);
    EXPECT_EQ(month.numbering, c.numbering);
    const auto days = regionDayRows(month, 0, ",");
    ASSERT_FALSE(days.empty());
    EXPECT_EQ(days.front(), c.firstDay);
  }
}

}  // namespace
}  // namespace kavrel::journal
