// What SILSO's numbers cost in the journal: the 200-year daily file (75,000 lines) read
// and imported over the series it replaces, and the observer's k over 10 years of daily
// observations (the day's observations read, paired with SILSO's days, the three
// definitions computed). The journal lives in a folder under /tmp removed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "common/calendar_date.h"
#include "journal/journal.h"

namespace {

using namespace kavrel::journal;

constexpr int kLines = 75000;
constexpr int kDaysOf10Years = 3652;

struct Scratch {
  Scratch() {
    char name[] = "/tmp/kavrel-silso-bench-XXXXXX";
    folder = ::mkdtemp(name);
  }
  ~Scratch() { std::filesystem::remove_all(folder); }
  std::string folder;
};

Day next(Day day) {
  if (++day.day > kavrel::daysInMonth(day.year, day.month)) {
    day.day = 1;
    if (++day.month > 12) {
      day.month = 1;
      ++day.year;
    }
  }
  return day;
}

// SILSO's daily file from 1 January 1818, as the file writes its lines.
std::string silsoText(int lines) {
  std::string text;
  Day day{1818, 1, 1};
  for (int i = 0; i < lines; ++i, day = next(day)) {
    char line[64];
    std::snprintf(line, sizeof line, "%04d;%02d;%02d;%04d.%03d;%4d;%5.1f;%4d;%d\n", day.year, day.month, day.day,
                  day.year, (day.month - 1) * 83 + day.day, i % 7 == 0 ? -1 : i % 300, 0.1 * (i % 200), i % 40,
                  i > lines - 100 ? 0 : 1);
    text += line;
  }
  return text;
}

void BM_SilsoImport75000Lines(benchmark::State& state) {
  Scratch scratch;
  auto journal = Journal::open(scratch.folder + "/journal.sqlite").journal;
  const std::string text = silsoText(kLines);
  for (auto _ : state) {
    const SilsoFile file = parseSilso(text, SilsoFile::Kind::Total);
    const Change stored = journal->importSilso(file);
    if (!stored.done()) state.SkipWithError(stored.error.c_str());
  }
}
BENCHMARK(BM_SilsoImport75000Lines)->Unit(benchmark::kMillisecond);

void BM_KOver10Years(benchmark::State& state) {
  Scratch scratch;
  auto journal = Journal::open(scratch.folder + "/journal.sqlite").journal;
  (void)journal->importSilso(parseSilso(silsoText(kLines), SilsoFile::Kind::Total));
  ParsedLog log;
  Day day{2000, 1, 1};
  for (int i = 0; i < kDaysOf10Years; ++i, day = next(day)) {
    Observation o;
    o.date = day;
    o.time = {9, 0};
    o.seeing = 1 + i % 5;
    o.counts = Tally::of({1 + i % 5, 5 + i % 40}, {i % 4, i % 4 * 3});
    log.rows.push_back({i + 2, o, "HUZR"});
  }
  if (journal->importLog(log, false, Day{9999, 12, 31}).stored != kDaysOf10Years) state.SkipWithError("log refused");
  const Id observer = journal->observer("HUZR").value->id;
  for (auto _ : state) {
    const auto paired = journal->pairedDays({2000, 1, 1}, {2009, 12, 31}, observer).value;
    const KEstimate k = estimateK(paired);
    benchmark::DoNotOptimize(k);
    if (paired.size() < 3000) state.SkipWithError("too few paired days");
  }
}
BENCHMARK(BM_KOver10Years)->Unit(benchmark::kMillisecond);

}  // namespace
