// The observer's imported lists of groups in the journal's file: a re-import replaces the
// observer's days it covers, each observer's lists stand apart from the others' and from
// the records of others, and the regions read them with the groups typed in observations.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "journal/journal.h"

namespace kavrel::journal {
namespace {

// `groups` groups a day on each day of March 2014 from `first` to `last`, numbered from 1
// by the observer, at CMD 10° east.
GroupList listOf(int first, int last, int groups) {
  GroupList list;
  list.recognised = true;
  for (int day = first; day <= last; ++day) {
    list.days.push_back({2014, 3, day});
    for (int g = 1; g <= groups; ++g) {
      ListedGroup group;
      group.date = {2014, 3, day};
      group.latitude = 10.0 + g;
      group.centralMeridianDistance = -10.0;
      group.number = g;
      list.groups.push_back(group);
    }
  }
  return list;
}

std::size_t observed(const Journal& journal, std::optional<Id> observer) {
  return journal.sightings({2014, 3, 1}, {2014, 3, 31}, RegionSource::Observer, observer).value.size();
}

TEST(JournalLists, ReImportReplacesTheObserversDays) {
  char name[] = "/tmp/kavrel-lists-XXXXXX";
  const std::string folder = ::mkdtemp(name);
  auto opened = Journal::open(folder + "/journal.sqlite");
  ASSERT_TRUE(opened.journal) << opened.error;
  Journal& journal = *opened.journal;
  GroupFile greenwich;
  greenwich.firstDay = greenwich.lastDay = {2014, 3, 2};
  greenwich.records.push_back({GroupSource::Greenwich, {2014, 3, 2}, 0.5, 12345, -8, 100.0, {}, 50.0, {}, "D"});
  ASSERT_TRUE(journal.importGroupRecords(greenwich).done());

  // The steps, in order: what is stored, then the sightings of A, of B, of every observer.
  const auto typed = [&journal]() {
    Observation observation;
    observation.date = {2014, 3, 9};
    observation.time = {6, 0};
    observation.counts = Tally::wholeDisc({3, 9});
    const Id id = journal.addObservation(observation, "A", {2014, 4, 1}).id;
    const auto group = [id](int number, std::optional<double> latitude, std::optional<double> longitude,
                            std::optional<double> distance) {
      Group g;
      g.observationId = id;
      g.number = number;
      g.latitude = latitude;
      g.longitude = longitude;
      g.centralMeridianDistance = distance;
      return g;
    };
    Group placedByLongitude = group(1, 12.0, 200.0, {});
    placedByLongitude.hemisphere = Hemisphere::South;
    placedByLongitude.noaaRegion = 12001;
    for (const Group& g : {placedByLongitude, group(2, 5.0, {}, 30.0), group(3, {}, 150.0, {})})
      EXPECT_TRUE(journal.addGroup(g).done());
    return true;
  };
  const struct {
    const char* name;
    std::function<bool()> change;
    std::size_t a, b, all;
  } steps[] = {
      {"a list stored under a new observer", [&] { return journal.importGroupList(listOf(1, 3, 2), "A").done(); }, 6,
       0, 6},
      {"a corrected day replaces that day alone", [&] { return journal.importGroupList(listOf(2, 2, 1), "A").done(); },
       5, 0, 5},
      {"a day observed without groups empties it", [&] { return journal.importGroupList(listOf(3, 3, 0), "A").done(); },
       3, 0, 3},
      {"another observer's list stands apart", [&] { return journal.importGroupList(listOf(1, 3, 2), "B").done(); }, 3,
       6, 9},
      {"the typed groups with a place join the observer's", typed, 5, 6, 11},
  };
  const Id a = 1, b = 2;
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    EXPECT_TRUE(step.change());
    EXPECT_EQ(observed(journal, a), step.a);
    EXPECT_EQ(observed(journal, b), step.b);
    EXPECT_EQ(observed(journal, std::nullopt), step.all);
    // Greenwich's record is neither disturbed nor mixed in.
    EXPECT_EQ(journal.groupRecords({2014, 3, 1}, {2014, 3, 31}).value.size(), 1u);
    EXPECT_EQ(journal.sightings({2014, 3, 1}, {2014, 3, 31}, RegionSource::Greenwich).value.size(), 1u);
  }
  EXPECT_EQ(journal.listedGroupDays({2014, 3, 1}, {2014, 3, 31}, a).value.size(), 3u);

  const std::vector<Sighting> seen = journal.sightings({2014, 3, 1}, {2014, 3, 31}, RegionSource::Observer, a).value;
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end(), [](const Sighting& x, const Sighting& y) {
    return x.date != y.date ? x.date < y.date : x.dayFraction < y.dayFraction;
  }));
  // A list's numbers are the observer's of the day, not a region's; a typed group's NOAA
  // region is its number; a southern latitude typed unsigned is south.
  EXPECT_FALSE(seen.front().number);
  EXPECT_EQ(seen[3].number, 12001);
  EXPECT_EQ(seen[3].latitude, -12.0);
  // Placed from where the disc's centre was: L0 = 125.9° on 2014-03-01 12:00 UT (Greenwich's
  // 119° at 24:00 and half a day's turn), 23.8° on 2014-03-09 06:00 UT.
  EXPECT_NEAR(seen.front().longitude, 115.9, 0.5);
  EXPECT_NEAR(seen[4].longitude, 53.8, 0.5);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kavrel::journal
