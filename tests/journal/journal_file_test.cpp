// The journal's file with the real SQLite on a real file system: what is stored comes back,
// a file that is not a journal is refused untouched, a full disk, a read-only medium and a
// process killed mid-import leave the journal as it was, two processes write at once,
// and every change of the session is undone.
#include <signal.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include <gtest/gtest.h>

#include "common/calendar_date.h"
#include "journal/chart_series.h"
#include "journal/journal.h"
#include "scratch_file_system.h"

namespace kavrel::journal {
namespace {

namespace fs = std::filesystem;

constexpr Day kToday{2026, 1, 1};

// A folder of the test's own, removed with what it holds.
struct Folder {
  Folder() {
    char name[] = "/tmp/kavrel-journal-XXXXXX";
    path = ::mkdtemp(name);
  }
  ~Folder() { fs::remove_all(path); }
  std::string path;
};

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void nextDay(Day& day) {
  if (++day.day <= daysInMonth(day.year, day.month)) return;
  day.day = 1;
  if (++day.month > 12) {
    day.month = 1;
    ++day.year;
  }
}

// The day `index` days after 1 January 1970.
Day dayAfter(int index) {
  Day day{1970, 1, 1};
  for (int i = 0; i < index; ++i) nextDay(day);
  return day;
}

// `count` split observations, one a day from 1 January 1970 (`shift` days later).
ParsedLog logOf(int count, const std::string& code = "ABC", int shift = 0) {
  ParsedLog log;
  Day day = dayAfter(shift);
  for (int i = 0; i < count; ++i, nextDay(day)) {
    Observation o;
    o.date = day;
    o.time = {9, i % 60};
    o.seeing = 1 + i % 5;
    o.counts = Tally::of({i % 4, i % 4 * 3}, {1, 2});
    log.rows.push_back({i + 2, o, code});
  }
  return log;
}

std::unique_ptr<Journal> opened(const std::string& path) {
  auto outcome = Journal::open(path);
  EXPECT_EQ(outcome.error, "");
  return std::move(outcome.journal);
}

std::size_t countOf(const Journal& journal) {
  return journal.observationsBetween({1600, 1, 1}, {9999, 12, 31}).value.size();
}

// A journal of `count` observations at `path`, closed (its WAL folded into the file).
void makeJournal(const std::string& path, int count) {
  auto journal = opened(path);
  ASSERT_TRUE(journal);
  ASSERT_EQ(journal->importLog(logOf(count), false, kToday).stored, count);
}

TEST(JournalFile, ValuesComeBackAsStored) {
  Folder folder;
  auto journal = opened(folder.path + "/a/b/journal.sqlite");  // its folders made too
  ASSERT_TRUE(journal);
  Observer observer{0, "HUZR", "Hélène « Huz »", 102, 1320, Method::Projection, std::nullopt};
  const Change added = journal->addObserver(observer);
  ASSERT_TRUE(added.done()) << added.error;
  observer.id = added.id;
  EXPECT_EQ(journal->addObserver(observer).error, "Code : un observateur a déjà le code HUZR.");

  Observation split{0, {2014, 2, 3}, {9, 5}, observer.id, 4, std::nullopt, "ciel voilé; \"brume\"",
                    Tally::of({2, 25}, {5, 84}), false};
  Observation disc{0, {2014, 2, 28}, {23, 59}, observer.id, std::nullopt, 5, "", Tally::wholeDisc({0, 0}), true};
  for (Observation* o : {&split, &disc}) {
    const Change change = journal->addObservation(*o, "", kToday);
    ASSERT_TRUE(change.done()) << change.error;
    o->id = change.id;
  }
  Group group{0, split.id, 3, 11967, Hemisphere::South, -12.5, 359.75, -48.25, 'D', "Dkc", 14, 250.5,
              GroupOrigin::Photograph};
  const Change groupAdded = journal->addGroup(group);
  ASSERT_TRUE(groupAdded.done()) << groupAdded.error;
  group.id = groupAdded.id;
  ASSERT_TRUE(journal->setChosenK(observer.id, 1.22).done());
  journal.reset();

  journal = opened(folder.path + "/a/b/journal.sqlite");
  ASSERT_TRUE(journal);
  const auto month = journal->monthObservations(2014, 2).value;
  ASSERT_EQ(month.size(), 2u);
  for (const auto& [got, want] : {std::pair{month[0], split}, std::pair{month[1], disc}}) {
    EXPECT_EQ(got.date, want.date);
    EXPECT_EQ(got.time, want.time);
    EXPECT_EQ(got.observerId, want.observerId);
    EXPECT_EQ(got.seeing, want.seeing);
    EXPECT_EQ(got.transparency, want.transparency);
    EXPECT_EQ(got.remarks, want.remarks);
    EXPECT_EQ(got.counts.north, want.counts.north);
    EXPECT_EQ(got.counts.south, want.counts.south);
    EXPECT_EQ(got.counts.disc, want.counts.disc);
    EXPECT_EQ(got.chosenForDay, want.chosenForDay);
  }
  EXPECT_TRUE(journal->monthObservations(2014, 3).value.empty());
  const auto groups = journal->groups(split.id).value;
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].noaaRegion, group.noaaRegion);
  EXPECT_EQ(groups[0].hemisphere, group.hemisphere);
  EXPECT_EQ(groups[0].latitude, group.latitude);
  EXPECT_EQ(groups[0].longitude, group.longitude);
  EXPECT_EQ(groups[0].centralMeridianDistance, group.centralMeridianDistance);
  EXPECT_EQ(groups[0].zurichClass, group.zurichClass);
  EXPECT_EQ(groups[0].mcintoshClass, group.mcintoshClass);
  EXPECT_EQ(groups[0].spots, group.spots);
  EXPECT_EQ(groups[0].areaMsh, group.areaMsh);
  EXPECT_EQ(groups[0].origin, group.origin);
  const auto stored = journal->observer("HUZR").value;
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->name, observer.name);
  EXPECT_EQ(stored->apertureMm, 102);
  EXPECT_EQ(stored->focalLengthMm, 1320);
  EXPECT_EQ(stored->method, Method::Projection);
  EXPECT_EQ(stored->chosenK, 1.22);
  // The name changed keeps the k; the k cleared is none.
  Observer renamed = *stored;
  renamed.name = "Hélène";
  renamed.chosenK = std::nullopt;
  ASSERT_TRUE(journal->updateObserver(renamed).done());
  EXPECT_EQ(journal->observer("HUZR").value->chosenK, 1.22);
  ASSERT_TRUE(journal->setChosenK(observer.id, std::nullopt).done());
  EXPECT_EQ(journal->observer("HUZR").value->chosenK, std::nullopt);
  EXPECT_EQ(journal->setChosenK(observer.id, 0.0).error, "k : un nombre positif, 1,22 par exemple.");
}

// Which observer an observation without a code goes to, and what a refused change says.
TEST(JournalFile, ObserversAndRefusedChanges) {
  Folder folder;
  auto journal = opened(folder.path + "/journal.sqlite");
  ASSERT_TRUE(journal);
  Observation o{0, {2014, 2, 3}, {9, 5}, 0, 4, std::nullopt, "", Tally::wholeDisc({3, 12}), false};
  const Change first = journal->addObservation(o, "", kToday);
  ASSERT_TRUE(first.done()) << first.error;
  EXPECT_TRUE(journal->observer("OBS").value);  // none before: "OBS" made

  struct Case {
    const char* name;
    Observation observation;
    const char* code;
    std::string error;
  };
  Observation later = o;
  later.time = {10, 0};
  Observation tooMany = later;
  tooMany.counts = Tally{Counts{1, 0}, Counts{1, 3}, Counts{0, 0}};
  const Case cases[] = {
      {"the same observer's same minute", o, "OBS", "Heure TU : OBS a déjà une observation le 3 février 2014 à 09:05."},
      {"a second observer by code", later, "XYZ", ""},
      {"no code with two observers", later, "", "Observateur : le journal en tient plusieurs ; donnez le code de celui "
                                                "qui a observé."},
      {"the checks' messages, one a line", tooMany, "OBS",
       "f nord : chaque groupe a au moins une tache (f = 0 est inférieur à g = 1).\n"
       "g disque : nord et sud font 2 groupes, le disque 0.\n"
       "f disque : nord et sud font 3 taches, le disque 0."},
  };
  for (const Case& c : cases) {
    const Change change = journal->addObservation(c.observation, c.code, kToday);
    EXPECT_EQ(change.error, c.error) << c.name;
  }
  EXPECT_EQ(journal->observer("XYZ").value->name, "XYZ");
  EXPECT_EQ(countOf(*journal), 2u);
}

// An import is all or nothing unless partial; a row already in the journal, or twice in
// the file, is refused with its line.
TEST(JournalFile, ImportAllOrNothing) {
  struct Case {
    const char* name;
    bool partial;
    int stored;
    std::vector<int> refusedLines;
  };
  const Case cases[] = {{"refused rows: none stored", false, 0, {1, 4, 6}}, {"partial", true, 5, {1, 4, 6}}};
  for (const Case& c : cases) {
    Folder folder;
    auto journal = opened(folder.path + "/journal.sqlite");
    ASSERT_TRUE(journal);
    ASSERT_EQ(journal->importLog(logOf(3), false, kToday).stored, 3);  // lines 2..4
    ParsedLog log = logOf(9);
    log.refusals.push_back({1, "en-tête"});    // from the parser
    log.rows[4].observation = log.rows[3].observation;       // line 6 repeats line 5
    log.rows.erase(log.rows.begin(), log.rows.begin() + 2);  // line 4 is already there
    const Imported imported = journal->importLog(log, c.partial, kToday);
    EXPECT_EQ(imported.error, "") << c.name;
    EXPECT_EQ(imported.stored, c.stored) << c.name;
    std::vector<int> lines;
    for (const Refusal& refusal : imported.refusals) lines.push_back(refusal.line);
    EXPECT_EQ(lines, c.refusedLines) << c.name;
    EXPECT_EQ(countOf(*journal), 3u + c.stored) << c.name;
  }
}

// Each change undone brings the journal back to what it was before it.
TEST(JournalFile, UndoRestoresTheJournal) {
  Folder folder;
  auto journal = opened(folder.path + "/journal.sqlite");
  ASSERT_TRUE(journal);
  ASSERT_EQ(journal->importLog(logOf(5), false, kToday).stored, 5);
  const auto state = [&] {
    std::string text;
    for (const Observation& o : journal->observationsBetween({1600, 1, 1}, {9999, 12, 31}).value) {
      text += std::to_string(o.id) + ' ' + std::to_string(o.date.day) + ' ' + std::to_string(o.time.minute) + ' ' +
              std::to_string(o.counts.disc.spots) + ' ' + std::to_string(o.chosenForDay) + ' ' + o.remarks + ':';
      for (const Group& g : journal->groups(o.id).value) text += std::to_string(g.number) + '/' + std::to_string(g.spots);
      text += '\n';
    }
    for (const UnobservedDay& d : journal->unobservedDaysBetween({1600, 1, 1}, {9999, 12, 31}).value)
      text += std::to_string(d.id) + ' ' + std::to_string(d.date.day) + ' ' + std::to_string(d.observerId) + ' ' +
              (d.time ? std::to_string(d.time->minute) : "-") + ' ' + d.remarks + '\n';
    for (const Observer& observer : journal->observers().value)
      text += observer.code + '=' + observer.name + " k " + std::to_string(observer.chosenK.value_or(0)) + '\n';
    return text;
  };
  const Id first = journal->monthObservations(1970, 1).value.front().id;
  const Id second = first + 1;
  Group group{0, first, 1, std::nullopt, Hemisphere::North, 10.0, 20.0, 5.0, 'C', "Cro", 6, 30.0, GroupOrigin::Typed};
  group.id = journal->addGroup(group).id;
  Observation sameDay = *journal->observation(first).value;
  sameDay.id = 0;
  sameDay.time = {14, 30};
  ASSERT_TRUE(journal->addObservation(sameDay, "ABC", kToday).done());
  // The 20th of January not observed, at 07:30.
  const Change marked = journal->addUnobservedDay({0, {1970, 1, 20}, 0, TimeOfDay{7, 30}, "C"}, "ABC", kToday);
  ASSERT_TRUE(marked.done()) << marked.error;
  ParsedLog withClouds = logOf(2, "ABC", 19);  // the 20th and the 21st observed
  withClouds.unobserved.push_back({4, {0, {1970, 1, 25}, 0, std::nullopt, "R"}, "IMP"});

  struct Case {
    const char* name;
    std::function<Change()> change;
    std::string caption;
  };
  const Case cases[] = {
      {"add", [&] { return journal->addObservation({0, {2014, 2, 3}, {9, 5}, 0, 4, {}, "", Tally::wholeDisc({1, 1}),
                                                    false}, "NEW", kToday); },
       "Annuler l'ajout de l'observation du 3 février 2014"},
      {"update", [&] {
         Observation o = *journal->observation(first).value;
         o.remarks = "nuages";
         o.counts = Tally::wholeDisc({1, 7});
         return journal->updateObservation(o, kToday);
       },
       "Annuler la modification de l'observation du 1er janvier 1970"},
      {"remove with its groups", [&] { return journal->removeObservation(first); },
       "Annuler la suppression de l'observation du 1er janvier 1970"},
      {"choose", [&] { return journal->chooseForDay(journal->monthObservations(1970, 1).value[1].id); },
       "Annuler le choix de l'observation du 1er janvier 1970"},
      {"import with a new observer", [&] {
         const Imported imported = journal->importLog(logOf(4, "IMP", 100), false, kToday);
         return Change{imported.error, imported.stored};
       },
       "Annuler l'import de 4 observations"},
      {"add a group", [&] {
         Group added;
         added.observationId = second;
         added.number = 2;
         return journal->addGroup(added);
       },
       "Annuler l'ajout du groupe 2"},
      {"update a group", [&] {
         Group changed = group;
         changed.spots = 9;
         return journal->updateGroup(changed);
       },
       "Annuler la modification du groupe 1"},
      {"remove a group", [&] { return journal->removeGroup(group.id); }, "Annuler la suppression du groupe 1"},
      {"add an observer", [&] { return journal->addObserver({0, "ZZ", "Zoé", {}, {}, Method::Unknown, {}}); },
       "Annuler l'ajout de l'observateur ZZ"},
      {"a day not observed, by a new observer",
       [&] { return journal->addUnobservedDay({0, {1970, 1, 10}, 0, std::nullopt, "C-R"}, "NEW", kToday); },
       "Annuler l'ajout du jour sans observation du 10 janvier 1970"},
      {"a day not observed changed",
       [&] { return journal->updateUnobservedDay({marked.id, {1970, 1, 22}, 0, std::nullopt, "S"}, kToday); },
       "Annuler la modification du jour sans observation du 20 janvier 1970"},
      {"a day not observed removed", [&] { return journal->removeUnobservedDay(marked.id); },
       "Annuler la suppression du jour sans observation du 20 janvier 1970"},
      {"an observation on a day not observed takes its mark",
       [&] { return journal->addObservation({0, {1970, 1, 20}, {9, 0}, 0, 4, {}, "", Tally::wholeDisc({1, 1}), false},
                                            "ABC", kToday); },
       "Annuler l'ajout de l'observation du 20 janvier 1970"},
      {"an observation moved onto a day not observed", [&] {
         Observation o = *journal->observation(first).value;
         o.date = {1970, 1, 20};
         return journal->updateObservation(o, kToday);
       },
       "Annuler la modification de l'observation du 1er janvier 1970"},
      {"an import observing a day not observed, marking another", [&] {
         const Imported imported = journal->importLog(withClouds, false, kToday);
         return Change{imported.error, imported.stored};
       },
       "Annuler l'import de 2 observations et 1 jour sans observation"},
      {"choose a k", [&] { return journal->setChosenK(journal->observer("ABC").value->id, 1.3); },
       "Annuler le k choisi pour ABC"},
  };
  for (const Case& c : cases) {
    const std::string before = state();
    const Change change = c.change();
    ASSERT_TRUE(change.done()) << c.name << ": " << change.error;
    EXPECT_NE(state(), before) << c.name;
    EXPECT_EQ(journal->undoCaption(), c.caption) << c.name;
    const Change undone = journal->undo();
    EXPECT_TRUE(undone.done()) << c.name << ": " << undone.error;
    EXPECT_EQ(state(), before) << c.name;
  }
}

// A change that another program's change keeps from being taken back is said and given
// up, so that the earlier ones can still be taken back.
TEST(JournalFile, UndoBlockedByAnotherProgramGivesWay) {
  Folder folder;
  const std::string path = folder.path + "/journal.sqlite";
  auto window = opened(path);
  auto command = opened(path);
  Observation observation;
  observation.date = {1970, 1, 10};
  observation.time = {9, 0};
  observation.counts = Tally::wholeDisc({1, 3});
  const Change added = window->addObservation(observation, "ABC", kToday);
  ASSERT_TRUE(added.done());
  ASSERT_TRUE(window->removeObservation(added.id).done());
  ASSERT_TRUE(command->addObservation(observation, "ABC", kToday).done());
  const Change blocked = window->undo();
  EXPECT_EQ(blocked.error,
            "Heure TU : ABC a déjà une observation le 10 janvier 1970 à 09:00. Cette annulation est abandonnée.");
  EXPECT_EQ(window->undoCaption(), "Annuler l'ajout de l'observation du 10 janvier 1970");
}

// A day is observed or not, for each observer: the journal never holds both.
TEST(JournalFile, ADayIsObservedOrNot) {
  Folder folder;
  auto journal = opened(folder.path + "/journal.sqlite");
  ASSERT_TRUE(journal);
  ASSERT_TRUE(journal->addObservation({0, {2014, 2, 3}, {9, 5}, 0, 4, {}, "", Tally::wholeDisc({1, 1}), false}, "OBS",
                                      kToday).done());
  const auto clouds = [](int day) { return UnobservedDay{0, {2014, 2, day}, 0, std::nullopt, "C"}; };
  const auto observation = [](int day, int hour) {
    return Observation{0, {2014, 2, day}, {hour, 0}, 0, 4, {}, "", Tally::wholeDisc({2, 5}), false};
  };
  // An import's first refusal, or its failure.
  const auto import = [&](ParsedLog log) {
    const Imported imported = journal->importLog(log, false, kToday);
    return Change{imported.refusals.empty() ? imported.error : imported.refusals[0].message, imported.stored};
  };
  const auto marks = [&] {
    std::string text;
    for (const UnobservedDay& d : journal->monthUnobservedDays(2014, 2).value)
      text += std::to_string(d.date.day) + ' ' + journal->observer(d.observerId).value->code + ' ' + d.remarks + ';';
    return text;
  };
  Id fourth = 0;
  const struct {
    const char* name;
    std::function<Change()> change;
    std::string error;
    std::string marks;  // the month's days not observed after it
  } steps[] = {
      {"a day observed cannot be marked", [&] { return journal->addUnobservedDay(clouds(3), "OBS", kToday); },
       "Date : OBS a une observation le 3 février 2014 ; ce jour ne peut être sans observation.", ""},
      {"a day of clouds", [&] {
         const Change change = journal->addUnobservedDay(clouds(4), "OBS", kToday);
         fourth = change.id;
         return change;
       },
       "", "4 OBS C;"},
      {"the same day twice", [&] { return journal->addUnobservedDay(clouds(4), "OBS", kToday); },
       "Date : le 4 février 2014 est déjà un jour sans observation de OBS.", "4 OBS C;"},
      {"moved onto a day observed", [&] {
         UnobservedDay moved = clouds(3);
         moved.id = fourth;
         return journal->updateUnobservedDay(moved, kToday);
       },
       "Date : OBS a une observation le 3 février 2014 ; ce jour ne peut être sans observation.", "4 OBS C;"},
      {"another observer's day is his own", [&] { return journal->addUnobservedDay(clouds(3), "XYZ", kToday); }, "",
       "3 XYZ C;4 OBS C;"},
      {"an observation takes the mark away", [&] { return journal->addObservation(observation(4, 10), "OBS", kToday); },
       "", "3 XYZ C;"},
      {"undone, the mark comes back", [&] { return journal->undo(); }, "", "3 XYZ C;4 OBS C;"},
      {"a file observing a day and not: the day not observed refused", [&] {
         ParsedLog log;
         log.rows.push_back({2, observation(6, 9), "OBS"});
         log.unobserved.push_back({3, clouds(6), "OBS"});
         return import(log);
       },
       "Date : OBS a une observation le 6 février 2014 ; ce jour ne peut être sans observation.", "3 XYZ C;4 OBS C;"},
      {"a file observing a day not observed", [&] {
         ParsedLog log;
         log.rows.push_back({2, observation(4, 11), "OBS"});
         log.unobserved.push_back({3, clouds(5), "OBS"});
         return import(log);
       },
       "", "3 XYZ C;5 OBS C;"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    EXPECT_EQ(step.change().error, step.error);
    EXPECT_EQ(marks(), step.marks);
  }
}

// A file that is not a journal, or is damaged, or of a newer version, is refused with its
// reason and left byte for byte as it was, with nothing written beside it.
TEST(JournalFile, ForeignAndDamagedFilesRefusedUntouched) {
  Folder folder;
  const std::string model = folder.path + "/model.sqlite";
  makeJournal(model, 3000);
  const std::string journalBytes = bytesOf(model);
  const auto sql = [](const std::string& path, const char* statements) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, statements, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
  };

  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
    std::string error;
  };
  const Case cases[] = {
      {"a PNG renamed",
       [](const std::string& path) { std::ofstream(path, std::ios::binary) << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16); },
       "Ce fichier n'est pas un journal de Kavrel : ce n'est pas une base SQLite."},
      {"a text file",
       [](const std::string& path) { std::ofstream(path) << "date;heure_tu;g_nord;f_nord;g_sud;f_sud\n" << std::string(5000, 'x'); },
       "Ce fichier n'est pas un journal de Kavrel : ce n'est pas une base SQLite."},
      {"ten bytes", [](const std::string& path) { std::ofstream(path) << "SQLite for"; },
       "Ce fichier n'est pas un journal de Kavrel : ce n'est pas une base SQLite."},
      {"another program's SQLite file",
       [&](const std::string& path) { sql(path, "CREATE TABLE photos (name TEXT); INSERT INTO photos VALUES ('a');"); },
       "Ce fichier n'est pas un journal de Kavrel : c'est une base SQLite d'un autre programme."},
      {"a newer journal",
       [&](const std::string& path) {
         std::ofstream(path, std::ios::binary) << journalBytes;
         sql(path, "PRAGMA user_version = 7");
       },
       "Ce journal vient d'une version plus récente de Kavrel (format 7, celle-ci lit jusqu'au 6) : mettez Kavrel à "
       "jour pour l'ouvrir."},
      {"a page overwritten",
       [&](const std::string& path) {
         std::string bytes = journalBytes;
         // From the start of a page (16 KiB) in the middle: its header, not the free space
         // between its cells that no check reads.
         const std::size_t page = bytes.size() / 2 / 16384 * 16384;
         for (std::size_t i = page; i < page + 3000; ++i) bytes[i] = static_cast<char>(i * 7);
         std::ofstream(path, std::ios::binary) << bytes;
       },
       "Ce journal est endommagé ; il n'a pas été modifié. Reprenez une copie de sauvegarde."},
      {"a file cut short",
       [&](const std::string& path) { std::ofstream(path, std::ios::binary) << journalBytes.substr(0, 60); },
       "Ce journal est endommagé ; il n'a pas été modifié. Reprenez une copie de sauvegarde."},
  };
  for (const Case& c : cases) {
    Folder place;
    const std::string path = place.path + "/journal.sqlite";
    c.make(path);
    const std::string before = bytesOf(path);
    const auto outcome = Journal::open(path);
    EXPECT_FALSE(outcome.journal) << c.name;
    EXPECT_EQ(outcome.error, c.error) << c.name;
    EXPECT_EQ(bytesOf(path), before) << c.name;
    EXPECT_EQ(std::distance(fs::directory_iterator(place.path), fs::directory_iterator()), 1) << c.name;
  }
  const std::string pipe = folder.path + "/pipe.sqlite";  // read, it would never answer
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(Journal::open(pipe).error,
            "Impossible d'ouvrir le journal " + pipe + " : ce n'est pas un fichier ordinaire.");
}

TEST(JournalFile, DefaultPath) {
  struct Case {
    const char* name;
    const char* dataHome;  // unset when null
    std::string path;
  };
  const Case cases[] = {
      {"XDG_DATA_HOME", "/data", "/data/kavrel/journal.sqlite"},
      {"XDG_DATA_HOME unset", nullptr, "/home/obs/.local/share/kavrel/journal.sqlite"},
      {"XDG_DATA_HOME empty", "", "/home/obs/.local/share/kavrel/journal.sqlite"},
      {"XDG_DATA_HOME relative, to be ignored", "data", "/home/obs/.local/share/kavrel/journal.sqlite"},
  };
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  const char* data = std::getenv("XDG_DATA_HOME");
  const std::string dataHome = data ? data : "";
  ::setenv("HOME", "/home/obs", 1);
  for (const Case& c : cases) {
    if (c.dataHome)
      ::setenv("XDG_DATA_HOME", c.dataHome, 1);
    else
      ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(defaultJournalPath(), c.path) << c.name;
  }
  ::setenv("HOME", home.c_str(), 1);
  if (data)
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
  else
    ::unsetenv("XDG_DATA_HOME");
}

// A small tmpfs, filled by the test; none without the right to mount.
struct SmallDisk {
  explicit SmallDisk(const char* size) {
    if (::mount("tmpfs", folder.path.c_str(), "tmpfs", 0, size) == 0) mounted = true;
  }
  ~SmallDisk() {
    if (mounted) ::umount2(folder.path.c_str(), MNT_DETACH);
  }
  // Leaves `room` bytes free.
  void fill(long room) const {
    struct statvfs free {};
    ::statvfs(folder.path.c_str(), &free);
    std::ofstream(folder.path + "/filler", std::ios::binary)
        << std::string(static_cast<std::size_t>(free.f_bavail * free.f_frsize - room), 'x');
  }
  Folder folder;
  bool mounted = false;
};

TEST(JournalFile, FullDiskLeavesTheJournalAsItWas) {
  SmallDisk disk("size=1m");
  if (!disk.mounted) GTEST_SKIP() << "tmpfs : " << std::strerror(errno);
  const std::string path = disk.folder.path + "/journal.sqlite";
  makeJournal(path, 10);
  auto journal = opened(path);
  ASSERT_TRUE(journal);
  disk.fill(64 * 1024);
  const Imported imported = journal->importLog(logOf(20000, "ABC", 20), false, kToday);
  EXPECT_EQ(imported.stored, 0);
  EXPECT_EQ(imported.error, "Le journal n'a pas été modifié : plus de place sur le disque.");
  EXPECT_EQ(journal->undoCaption(), "");  // nothing to undo
  journal.reset();
  fs::remove(disk.folder.path + "/filler");
  journal = opened(path);
  ASSERT_TRUE(journal);
  EXPECT_EQ(countOf(*journal), 10u);
}

TEST(JournalFile, ReadOnlyMediumReadButNeverWritten) {
  Folder model;
  makeJournal(model.path + "/journal.sqlite", 10);
  const testing::ScratchFileSystem scratch(testing::Place::ReadOnly, "journal.sqlite",
                                           bytesOf(model.path + "/journal.sqlite"));
  if (!scratch.reason().empty()) GTEST_SKIP() << scratch.reason();
  const std::string before = scratch.contents();

  auto journal = opened(scratch.path());
  ASSERT_TRUE(journal);
  EXPECT_EQ(countOf(*journal), 10u);
  const Change change =
      journal->addObservation({0, {2014, 2, 3}, {9, 5}, 0, 4, {}, "", Tally::wholeDisc({1, 1}), false}, "", kToday);
  EXPECT_EQ(change.error, "Ce journal est en lecture seule : il est sur un support en lecture seule.");
  EXPECT_EQ(journal->readOnlyReason(), change.error);
  journal.reset();
  EXPECT_EQ(scratch.contents(), before);

  const auto missing = Journal::open(scratch.path() + "-new");
  EXPECT_FALSE(missing.journal);
  EXPECT_EQ(missing.error, "Impossible de créer le journal " + scratch.path() + "-new : son dossier " +
                               fs::path(scratch.path()).parent_path().string() +
                               " ne peut être écrit (le disque est en lecture seule).");
}

// Whatever this process does with a journal it holds open, another process must still see
// it held: closing any descriptor of the file drops every lock the process has on it, and
// another program closing the journal would then take itself for the last one, fold the
// WAL into the file and delete it under the first.
TEST(JournalFile, HeldWhateverThisProcessDoes) {
  struct Case {
    const char* name;
    std::function<void(Journal&, const std::string& path)> meanwhile;
  };
  const Case cases[] = {
      {"the journal opened again, then closed", [](Journal&, const std::string& path) { (void)Journal::open(path); }},
      {"let go while other code reads the file",
       [](Journal& journal, const std::string& path) {
         journal.release();
         for (const char* beside : {"", "-wal", "-shm"}) (void)bytesOf(path + beside);
         EXPECT_EQ(journal.reacquire(), "");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Folder folder;
    const std::string path = folder.path + "/journal.sqlite";
    makeJournal(path, 3);
    // The other process starts before this one opens anything: SQLite's state is not to
    // cross a fork.
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      char signal = 0;
      (void)!::read(go[0], &signal, 1);
      auto other = Journal::open(path).journal;
      const bool added = other && other->addObservation({0, {2014, 2, 5}, {9, 0}, 0, 4, {}, "",
                                                         Tally::wholeDisc({1, 1}), false}, "", kToday).done();
      other.reset();
      ::_exit(added ? 0 : 1);
    }
    auto journal = opened(path);
    ASSERT_TRUE(journal);
    ASSERT_TRUE(journal->addObservation({0, {2014, 2, 3}, {9, 5}, 0, 4, {}, "", Tally::wholeDisc({1, 1}), false}, "",
                                        kToday).done());
    c.meanwhile(*journal, path);
    ASSERT_EQ(::write(go[1], "!", 1), 1);
    ::close(go[0]);
    ::close(go[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(fs::exists(path + "-shm")) << "the other process took itself for the last one";
    ASSERT_TRUE(journal->addObservation({0, {2014, 2, 7}, {9, 0}, 0, 4, {}, "", Tally::wholeDisc({1, 1}), false}, "",
                                        kToday).done());
    journal.reset();
    journal = opened(path);
    ASSERT_TRUE(journal);
    EXPECT_EQ(countOf(*journal), 6u);
  }
}

// A journal let go (while a file dialog is shown) refuses every reading and change, and is
// taken again only when its file is still the journal it was.
TEST(JournalFile, LetGoThenTakenAgain) {
  struct Case {
    const char* name;
    std::function<void(const std::string& path, const std::string& folder)> meanwhile;
    std::string error;  // of reacquire(), the path written P
  };
  const std::string replaced =
      "Le journal P a été remplacé par un autre fichier pendant que la fenêtre de fichiers était ouverte : rien n'y a "
      "été écrit.";
  const Case cases[] = {
      {"nothing happened", [](const std::string&, const std::string&) {}, ""},
      {"the file removed", [](const std::string& path, const std::string&) { fs::remove(path); },
       "Le journal P a disparu pendant que la fenêtre de fichiers était ouverte (déplacé ou effacé) : rien n'y a été "
       "écrit."},
      {"another journal renamed over it",
       [](const std::string& path, const std::string& folder) {
         makeJournal(folder + "/other.sqlite", 2);
         fs::rename(folder + "/other.sqlite", path);
       },
       replaced},
      {"a PNG written in its place",
       [](const std::string& path, const std::string&) {
         std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
       },
       replaced},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Folder folder;
    const std::string path = folder.path + "/journal.sqlite";
    makeJournal(path, 3);
    auto journal = opened(path);
    ASSERT_TRUE(journal);
    ASSERT_TRUE(journal->addObservation({0, {2014, 2, 3}, {9, 5}, 0, 4, {}, "", Tally::wholeDisc({1, 1}), false}, "",
                                        kToday).done());
    journal->release();
    const std::string released =
        "Le journal est laissé le temps d'une fenêtre de fichiers : il n'est ni lu ni modifié.";
    EXPECT_TRUE(journal->monthObservations(2014, 2).value.empty());
    const std::pair<const char*, std::function<std::string()>> readings[] = {
        {"the month", [&] { return journal->monthObservations(2014, 2).error; }},
        {"SILSO's days, once read as none", [&] { return journal->silsoDays({2014, 1, 1}, {2014, 12, 31}).error; }},
        {"the groups of others, once a SQLite error",
         [&] { return journal->groupRecords({2014, 1, 1}, {2014, 12, 31}).error; }},
        {"a picture, once nothing to draw", [&] { return chartData(*journal, ChartRequest{}).error; }},
    };
    for (const auto& [what, error] : readings) EXPECT_EQ(error(), released) << what;
    EXPECT_EQ(journal->addObservation({0, {2014, 2, 4}, {9, 5}, 0, 4, {}, "", Tally::wholeDisc({1, 1}), false}, "",
                                      kToday).error,
              released);
    c.meanwhile(path, folder.path);
    const std::string before = bytesOf(path);
    std::string error = c.error;
    if (const auto at = error.find(" P "); at != std::string::npos) error.replace(at + 1, 1, path);
    EXPECT_EQ(journal->reacquire(), error);
    EXPECT_EQ(journal->released(), !error.empty());
    EXPECT_EQ(journal->undoCaption(), "Annuler l'ajout de l'observation du 3 février 2014");
    EXPECT_EQ(journal->undo().done(), error.empty());
    journal.reset();
    if (!error.empty()) {
      EXPECT_EQ(bytesOf(path), before);
    }
  }
}

TEST(JournalFile, ProcessKilledMidImportLeavesTheJournalAsItWas) {
  Folder folder;
  const std::string path = folder.path + "/journal.sqlite";
  makeJournal(path, 10);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto journal = Journal::open(path).journal;
    ParsedLog log;  // 200,000 rows: 20,000 days of ten observers
    for (char observer = '0'; observer <= '9'; ++observer) {
      ParsedLog part = logOf(20000, std::string("K") + observer, 20);
      log.rows.insert(log.rows.end(), part.rows.begin(), part.rows.end());
    }
    (void)!::write(ready[1], "!", 1);
    if (journal) journal->importLog(log, false, kToday);
    ::_exit(0);
  }
  char signal = 0;
  ASSERT_EQ(::read(ready[0], &signal, 1), 1);
  // Killed once the transaction's pages overflow SQLite's cache into the WAL: in the
  // middle of writing.
  const auto walSize = [&] {
    std::error_code none;
    const auto size = fs::file_size(path + "-wal", none);
    return none ? 0 : size;
  };
  for (int wait = 0; wait < 2000 && walSize() < (1u << 20); ++wait) ::usleep(5000);
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the import ended before it was killed";
  auto journal = opened(path);
  ASSERT_TRUE(journal);
  EXPECT_EQ(countOf(*journal), 10u);
}

// Both start from no file: both create it, one makes the tables, then both write.
TEST(JournalFile, TwoProcessesWriteAtOnce) {
  Folder folder;
  const std::string path = folder.path + "/journal.sqlite";
  constexpr int kEach = 100;
  int start[2];
  ASSERT_EQ(::pipe(start), 0);
  pid_t children[2];
  for (int n = 0; n < 2; ++n) {
    children[n] = ::fork();
    ASSERT_GE(children[n], 0);
    if (children[n] == 0) {
      char go = 0;
      (void)!::read(start[0], &go, 1);
      auto opened = Journal::open(path);
      auto& journal = opened.journal;
      if (!journal) std::fprintf(stderr, "%s\n", opened.error.c_str());
      int failures = journal ? 0 : kEach;
      for (int i = 0; journal && i < kEach; ++i) {
        Observation o{0, dayAfter(i), {n, 0}, 0, 3, {}, "", Tally::wholeDisc({1, 1}), false};
        failures += !journal->addObservation(o, n ? "B" : "A", kToday).done();
      }
      ::_exit(failures);
    }
  }
  ASSERT_EQ(::write(start[1], "!!", 2), 2);
  for (pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "changes refused: " << WEXITSTATUS(status);
  }
  ::close(start[0]);
  ::close(start[1]);
  auto journal = opened(path);
  ASSERT_TRUE(journal);
  EXPECT_EQ(countOf(*journal), 2u * kEach);
}

// A live copy opens as the journal it copies; a copy that cannot be written leaves no
// temporary behind and says why.
TEST(JournalFile, SavedCopyWholeOrNotAtAll) {
  Folder folder;
  auto journal = opened(folder.path + "/journal.sqlite");
  ASSERT_TRUE(journal);
  ASSERT_EQ(journal->importLog(logOf(50), false, kToday).stored, 50);
  const Change saved = journal->saveCopy(folder.path + "/copie.sqlite");
  ASSERT_TRUE(saved.done()) << saved.error;
  auto copy = opened(folder.path + "/copie.sqlite");
  ASSERT_TRUE(copy);
  EXPECT_EQ(countOf(*copy), 50u);
  for (const char* beside : {"", "-wal", "-shm"})
    EXPECT_EQ(journal->saveCopy(folder.path + "/journal.sqlite" + beside).error,
              "La copie n'a pas été écrite : c'est le journal lui-même.")
        << beside;
  EXPECT_EQ(countOf(*journal), 50u);

  SmallDisk disk("size=256k");
  if (!disk.mounted) GTEST_SKIP() << "tmpfs : " << std::strerror(errno);
  ASSERT_EQ(journal->importLog(logOf(3000, "ABC", 60), false, kToday).stored, 3000);
  disk.fill(16 * 1024);
  EXPECT_EQ(journal->saveCopy(disk.folder.path + "/copie.sqlite").error,
            "La copie n'a pas été écrite : plus de place sur le disque.");
  EXPECT_EQ(std::distance(fs::directory_iterator(disk.folder.path), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace kavrel::journal
