// What the observer's log costs at the scale of a life of observing: a journal of 50 years
// (18,000 days, 200,000 groups, 11 a day) opened, a month's and a year's observations
// read, a day added and undone, and 18,000 rows imported into a new journal; the reading
// again on a journal of 5 years, so that a cost growing with the file shows. The journals
// are made once, in a folder under /tmp removed at the end, or kept in
// $KAVREL_JOURNAL_BENCH_DIR and taken from there by the next run (so that its peak memory
// is the journal's, not the making's).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "common/calendar_date.h"
#include "journal/journal.h"

namespace {

using namespace kavrel::journal;

constexpr int kDaysOf50Years = 18000;
constexpr int kGroupsOf50Years = 200000;

struct Scratch {
  Scratch() {
    if (const char* kept = std::getenv("KAVREL_JOURNAL_BENCH_DIR")) {
      folder = kept;
      std::filesystem::create_directories(folder);
      return;
    }
    char name[] = "/tmp/kavrel-journal-bench-XXXXXX";
    folder = ::mkdtemp(name);
    temporary = true;
  }
  ~Scratch() {
    if (temporary) std::filesystem::remove_all(folder);
  }
  std::string folder;
  bool temporary = false;
};
Scratch scratch;

// `days` split observations, one a day from 1 January 1975.
ParsedLog rowsOf(int days) {
  ParsedLog log;
  Day day{1975, 1, 1};
  for (int i = 0; i < days; ++i) {
    Observation o;
    o.date = day;
    o.time = {8 + i % 6, i % 60};
    o.seeing = 1 + i % 5;
    o.counts = Tally::of({2 + i % 5, 10 + i % 40}, {3 + i % 4, 20 + i % 30});
    log.rows.push_back({i + 2, o, "HUZR"});
    if (++day.day > kavrel::daysInMonth(day.year, day.month)) {
      day.day = 1;
      if (++day.month > 12) {
        day.month = 1;
        ++day.year;
      }
    }
  }
  return log;
}

// A journal of `days` days with `groups` groups, made at the first call. The groups go in
// through SQLite in one transaction: the engine stores a group as the user types it, one
// transaction each, which would take hours for 200,000.
const std::string& journalOf(int days, int groups) {
  static std::map<int, std::string> made;
  auto [at, isNew] = made.try_emplace(days, scratch.folder + "/journal-" + std::to_string(days) + ".sqlite");
  if (!isNew || std::filesystem::exists(at->second)) return at->second;
  auto journal = Journal::open(at->second).journal;
  if (!journal || journal->importLog(rowsOf(days), false, Day{9999, 12, 31}).stored != days) std::abort();
  journal.reset();
  sqlite3* db = nullptr;
  sqlite3_open(at->second.c_str(), &db);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO sunspot_groups (observation_id, number, noaa_region, hemisphere, latitude, "
                     "longitude, central_meridian_distance, zurich_class, mcintosh_class, spots, area_msh, origin) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, 'D', 'Dkc', ?, ?, 'typed')",
                     -1, &insert, nullptr);
  for (int i = 0; i < groups; ++i) {
    const int observation = 1 + static_cast<int>(static_cast<long>(i) * days / groups);
    sqlite3_bind_int(insert, 1, observation);
    sqlite3_bind_int(insert, 2, 1 + i % 11);
    sqlite3_bind_int(insert, 3, 10000 + i / 5);
    sqlite3_bind_text(insert, 4, i % 2 ? "N" : "S", -1, SQLITE_STATIC);
    // Measured values have decimals: SQLite stores a whole REAL in fewer bytes.
    sqlite3_bind_double(insert, 5, -30.0 + (i % 600) * 0.1);
    sqlite3_bind_double(insert, 6, (i * 7) % 3600 * 0.1);
    sqlite3_bind_double(insert, 7, -60.0 + (i % 1200) * 0.1);
    sqlite3_bind_int(insert, 8, 1 + i % 30);
    sqlite3_bind_double(insert, 9, 10.0 * (i % 50) + 0.5);
    if (sqlite3_step(insert) != SQLITE_DONE) std::abort();
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
  sqlite3_close(db);
  return at->second;
}

// The journal of the benchmark's years: 50 (the life of observing) or 5.
const std::string& journalOfYears(int years) {
  return years == 50 ? journalOf(kDaysOf50Years, kGroupsOf50Years)
                     : journalOf(kDaysOf50Years / 10, kGroupsOf50Years / 10);
}

void BM_OpenJournal(benchmark::State& state) {
  const std::string& path = journalOfYears(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto opened = Journal::open(path);
    if (!opened.journal) state.SkipWithError(opened.error.c_str());
    benchmark::DoNotOptimize(opened);
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(BM_OpenJournal)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_MonthOfJournal(benchmark::State& state) {
  auto journal = Journal::open(journalOfYears(static_cast<int>(state.range(0)))).journal;
  for (auto _ : state) {
    const auto month = journal->monthObservations(1979, 6).value;
    if (month.size() != 30) state.SkipWithError("not a month of days");
    benchmark::DoNotOptimize(month);
  }
}
BENCHMARK(BM_MonthOfJournal)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_YearOfJournal(benchmark::State& state) {
  auto journal = Journal::open(journalOfYears(static_cast<int>(state.range(0)))).journal;
  for (auto _ : state) {
    const auto year = journal->observationsBetween({1978, 1, 1}, {1978, 12, 31}).value;
    if (year.size() != 365) state.SkipWithError("not a year of days");
    benchmark::DoNotOptimize(year);
  }
}
BENCHMARK(BM_YearOfJournal)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

// A month's observations with the groups of each, as the window's day list and groups
// show them one after the other.
void BM_MonthWithGroups(benchmark::State& state) {
  auto journal = Journal::open(journalOfYears(static_cast<int>(state.range(0)))).journal;
  for (auto _ : state) {
    std::size_t groups = 0;
    for (const Observation& o : journal->monthObservations(1979, 6).value) groups += journal->groups(o.id).value.size();
    benchmark::DoNotOptimize(groups);
  }
}
BENCHMARK(BM_MonthWithGroups)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

// A day typed in the window, stored at once (one transaction, synced), then taken back by
// Ctrl+Z (another).
void BM_AddAndUndoObservation(benchmark::State& state) {
  auto journal = Journal::open(journalOfYears(static_cast<int>(state.range(0)))).journal;
  Observation o;
  o.date = {2024, 6, 1};
  o.time = {10, 30};
  o.counts = Tally::of({3, 20}, {2, 9});
  for (auto _ : state) {
    if (!journal->addObservation(o, "HUZR", {2026, 1, 1}).done() || !journal->undo().done())
      state.SkipWithError("change refused");
  }
}
BENCHMARK(BM_AddAndUndoObservation)->Arg(50)->Unit(benchmark::kMillisecond);

// 18,000 rows of a spreadsheet's log into a new journal, in one transaction.
void BM_Import18000Rows(benchmark::State& state) {
  const ParsedLog log = rowsOf(kDaysOf50Years);
  const std::string path = scratch.folder + "/import.sqlite";
  for (auto _ : state) {
    state.PauseTiming();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
    auto journal = Journal::open(path).journal;
    state.ResumeTiming();
    const Imported imported = journal->importLog(log, false, Day{9999, 12, 31});
    if (imported.stored != kDaysOf50Years) state.SkipWithError("rows refused");
  }
}
BENCHMARK(BM_Import18000Rows)->Unit(benchmark::kMillisecond);

}  // namespace
