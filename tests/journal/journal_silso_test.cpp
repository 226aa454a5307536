// SILSO's files kept in the journal: a re-import replaces its kind whole, a refused file
// leaves the journal as it was, the observer's day observation is paired with SILSO's
// day, and a journal of the first version gains the tables keeping its observations.
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "journal/journal.h"

namespace kavrel::journal {
namespace {

struct Folder {
  Folder() {
    char name[] = "/tmp/kavrel-silso-XXXXXX";
    path = ::mkdtemp(name);
  }
  ~Folder() { std::filesystem::remove_all(path); }
  std::string path;
};

Observation observed(int day, int hour, int seeing, Tally counts) {
  Observation o;
  o.date = {2014, 3, day};
  o.time = {hour, 0};
  o.seeing = seeing;
  o.counts = counts;
  return o;
}

std::string stateOf(const Journal& journal) {
  std::string text;
  const auto number = [](std::optional<int> value) { return value ? std::to_string(*value) : std::string("-"); };
  for (const SilsoDay& day : journal.silsoDays({2014, 3, 1}, {2014, 3, 31}).value)
    text += std::to_string(day.date.day) + ':' + number(day.total) + '/' + number(day.north) + '/' +
            number(day.south) + (day.definitive ? "" : "p") + ' ';
  return text;
}

TEST(JournalSilso, ReimportReplacesItsKind) {
  Folder folder;
  auto journal = Journal::open(folder.path + "/journal.sqlite").journal;
  ASSERT_TRUE(journal);
  const struct {
    const char* name;
    SilsoFile::Kind kind;
    const char* text;
    bool done;
    const char* state;
  } steps[] = {
      {"the total file, a day missing, a day provisional", SilsoFile::Kind::Total,
       "2014;03;01;2014.163;  50;  5.0;  30;1\n2014;03;02;2014.166;  20;  2.0;  30;1\n"
       "2014;03;04;2014.171;  -1; -1.0;   0;1\n2014;03;05;2014.174;  66;  2.0;  30;0\n",
       true, "1:50/-/- 2:20/-/- 4:-/-/- 5:66/-/-p "},
      {"the hemispheres joined by date", SilsoFile::Kind::Hemispheric,
       "2014;03;01;2014.163;  70; 30; 40;   7.4;  3.1;  5.0;  30; 20; 20;1\n"
       "2014;03;03;2014.168;  44; 20; 24;   7.4;  3.1;  5.0;  30; 20; 20;1\n",
       true, "1:50/30/40 2:20/-/- 3:44/20/24 4:-/-/- 5:66/-/-p "},
      {"a refused file changes nothing", SilsoFile::Kind::Total,
       "2014;03;02;2014.166;  21;  2.0;  30;1\ngarbage\n", false,
       "1:50/30/40 2:20/-/- 3:44/20/24 4:-/-/- 5:66/-/-p "},
      {"a re-import replaces the total series whole", SilsoFile::Kind::Total,
       "2014;03;02;2014.166;  21;  2.0;  30;1\n", true, "1:70/30/40 2:21/-/- 3:44/20/24 "},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    EXPECT_EQ(journal->importSilso(parseSilso(step.text, step.kind)).done(), step.done);
    EXPECT_EQ(stateOf(*journal), step.state);
  }
}

TEST(JournalSilso, DayObservationPairedWithSilso) {
  Folder folder;
  auto journal = Journal::open(folder.path + "/journal.sqlite").journal;
  ASSERT_TRUE(journal);
  ParsedLog log;
  // Day 1 twice: the better seeing is the day's. Day 2 on the whole disc. Day 3 without
  // SILSO's day, day 4 with SILSO's value missing.
  const Observation observations[] = {observed(1, 8, 2, Tally::wholeDisc({2, 2})),
                                      observed(1, 9, 5, Tally::of({1, 2}, {2, 3})),
                                      observed(2, 9, 3, Tally::wholeDisc({1, 1})),
                                      observed(3, 9, 3, Tally::wholeDisc({1, 1})),
                                      observed(4, 9, 3, Tally::wholeDisc({1, 1}))};
  for (const Observation& o : observations) log.rows.push_back({static_cast<int>(log.rows.size()) + 2, o, "ABC"});
  ASSERT_EQ(journal->importLog(log, false, Day{9999, 12, 31}).stored, 5);
  ASSERT_TRUE(journal->importSilso(parseSilso("2014;03;01;2014.163;  50;  5.0;  30;1\n"
                                              "2014;03;02;2014.166;  20;  2.0;  30;1\n"
                                              "2014;03;04;2014.171;  -1; -1.0;   0;1\n",
                                              SilsoFile::Kind::Total))
                  .done());
  ASSERT_TRUE(journal->importSilso(parseSilso("2014;03;01;2014.163;  50; 30; 20;   7.4;  3.1;  5.0;  30; 20; 20;1\n"
                                              "2014;03;02;2014.166;  20; 12;  8;   7.4;  3.1;  5.0;  30; 20; 20;1\n",
                                              SilsoFile::Kind::Hemispheric))
                  .done());
  const Id observer = journal->observer("ABC").value->id;
  const auto text = [&](Journal::Part part) {
    std::string pairs;
    for (const PairedDay& d : journal->pairedDays({2014, 3, 1}, {2014, 3, 31}, observer, part).value)
      pairs += std::to_string(d.date.day) + ':' + std::to_string(d.observer) + '/' + std::to_string(d.international) +
               ' ';
    return pairs;
  };
  EXPECT_EQ(text(Journal::Part::Disc), "1:35/50 2:11/20 ");
  EXPECT_EQ(text(Journal::Part::North), "1:12/30 ");  // day 2 was not split
  EXPECT_EQ(text(Journal::Part::South), "1:23/20 ");
  EXPECT_EQ(journal->pairedDays({2014, 3, 2}, {2014, 3, 31}, observer).value.size(), 1u);
}

TEST(JournalSilso, FirstVersionJournalMigrates) {
  Folder folder;
  const std::string path = folder.path + "/journal.sqlite";
  {
    auto journal = Journal::open(path).journal;
    ASSERT_TRUE(journal);
    ParsedLog log;
    for (int day = 1; day <= 3; ++day)
      log.rows.push_back({day + 1, observed(day, 9, 3, Tally::wholeDisc({1, 1})), "ABC"});
    ASSERT_EQ(journal->importLog(log, false, Day{9999, 12, 31}).stored, 3);
  }
  // Back to the first version: its three tables alone.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  std::vector<std::string> later;
  sqlite3_exec(
      db,
      "SELECT name FROM sqlite_schema WHERE type = 'table' "
      "AND name NOT IN ('observers', 'observations', 'sunspot_groups')",
      [](void* names, int, char** values, char**) {
        static_cast<std::vector<std::string>*>(names)->push_back(values[0]);
        return 0;
      },
      &later, nullptr);
  ASSERT_FALSE(later.empty());
  for (const std::string& table : later)
    ASSERT_EQ(sqlite3_exec(db, ("DROP TABLE " + table).c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "ALTER TABLE observers DROP COLUMN chosen_k; PRAGMA user_version = 1", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  sqlite3_close(db);

  auto journal = Journal::open(path);
  ASSERT_TRUE(journal.journal) << journal.error;
  EXPECT_EQ(journal.journal->observationsBetween({2014, 3, 1}, {2014, 3, 31}).value.size(), 3u);
  const SilsoFile file = parseSilso("2014;03;01;2014.163;  50;  5.0;  30;1\n", SilsoFile::Kind::Total);
  EXPECT_TRUE(journal.journal->importSilso(file).done());
  EXPECT_EQ(journal.journal->silsoDays({2014, 3, 1}, {2014, 3, 1}).value.size(), 1u);
  // The observers gained their chosen k, none until one is chosen.
  const std::optional<Observer> observer = journal.journal->observer("ABC").value;
  ASSERT_TRUE(observer);
  EXPECT_EQ(observer->chosenK, std::nullopt);
  EXPECT_TRUE(journal.journal->setChosenK(observer->id, 1.1).done());
  EXPECT_EQ(journal.journal->observer("ABC").value->chosenK, 1.1);
}

}  // namespace
}  // namespace kavrel::journal
