// The groups of other observatories in the journal's file: a re-import replaces its
// source's days, never doubles them, and a journal made before they existed takes them.
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "journal/journal.h"

namespace kavrel::journal {
namespace {

// `groups` records a day of `source` on each day of January 2014 from `first` to `last`,
// numbered from `number`.
GroupFile fileOf(GroupSource source, int first, int last, int groups, int number = 100) {
  GroupFile file;
  file.firstDay = {2014, 1, first};
  file.lastDay = {2014, 1, last};
  for (int day = first; day <= last; ++day)
    for (int g = 0; g < groups; ++g) {
      GroupRecord record;
      record.source = source;
      record.date = {2014, 1, day};
      record.dayFraction = source == GroupSource::Srs ? 1.0 : 0.5;
      record.group = number + g;
      record.latitude = g % 2 ? -12.5 : 8.25;
      if (source == GroupSource::Srs) record.spots = 3 + g;
      file.records.push_back(record);
    }
  return file;
}

TEST(JournalGroups, ReImportReplacesTheDaysItCovers) {
  char name[] = "/tmp/kavrel-groups-XXXXXX";
  const std::string folder = ::mkdtemp(name);
  const std::string path = folder + "/journal.sqlite";
  // A journal of the first version, from before these tables.
  {
    auto made = Journal::open(path);
    ASSERT_TRUE(made.journal) << made.error;
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "DROP TABLE silso_days; DROP TABLE group_records; DROP TABLE group_days; "
                         "DROP TABLE unobserved_days; DROP TABLE listed_groups; DROP TABLE listed_group_days; ALTER TABLE observers DROP COLUMN chosen_k; PRAGMA user_version = 1", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  auto opened = Journal::open(path);
  ASSERT_TRUE(opened.journal) << opened.error;
  Journal& journal = *opened.journal;

  constexpr auto G = GroupSource::Greenwich;
  constexpr auto S = GroupSource::Srs;
  GroupFile refused = fileOf(G, 1, 31, 5);
  refused.line = 12;
  refused.error = "Latitude (colonnes 64-68) : vide.";
  const struct {
    const char* name;
    GroupFile file;
    bool done;
    std::size_t greenwich, srs;
  } steps[] = {
      {"a month of Greenwich", fileOf(G, 1, 31, 3), true, 93, 0},
      {"the same file again", fileOf(G, 1, 31, 3), true, 93, 0},
      {"an SRS of one day beside it", fileOf(S, 2, 2, 2), true, 93, 2},
      {"a corrected Greenwich day replaces that day alone", fileOf(G, 2, 2, 1), true, 91, 2},
      {"an SRS without regions empties its day", fileOf(S, 2, 2, 0), true, 91, 0},
      {"a refused file changes nothing", refused, false, 91, 0},
  };
  EXPECT_FALSE(journal.groupDayCovered({2014, 1, 2}, S).value);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    EXPECT_EQ(journal.importGroupRecords(step.file).done(), step.done);
    EXPECT_EQ(journal.groupRecords({2014, 1, 1}, {2014, 12, 31}, G).value.size(), step.greenwich);
    EXPECT_EQ(journal.groupRecords({2014, 1, 1}, {2014, 12, 31}, S).value.size(), step.srs);
    EXPECT_EQ(journal.groupRecords({2014, 1, 1}, {2014, 12, 31}).value.size(), step.greenwich + step.srs);
  }

  // The SRS without regions still covers its day; Greenwich's month covers its days alone.
  EXPECT_TRUE(journal.groupDayCovered({2014, 1, 2}, S).value);
  EXPECT_FALSE(journal.groupDayCovered({2014, 1, 3}, S).value);
  EXPECT_FALSE(journal.groupDayCovered({2014, 2, 1}, G).value);

  ASSERT_TRUE(journal.importGroupRecords(fileOf(S, 3, 3, 2, 2409)).done());
  const auto day = journal.groupRecords({2014, 1, 3}, {2014, 1, 3}).value;
  ASSERT_EQ(day.size(), 5u);
  const GroupRecord& region = day[4];  // Greenwich's three, then the SRS's two
  EXPECT_EQ(region.source, S);
  EXPECT_EQ(region.date, (Day{2014, 1, 3}));
  EXPECT_EQ(region.group, 2410);
  EXPECT_DOUBLE_EQ(region.latitude, -12.5);
  EXPECT_EQ(region.spots, 4);
  EXPECT_EQ(day[0].spots, std::nullopt);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kavrel::journal
