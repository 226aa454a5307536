// What the groups of other observatories cost at the scale of the butterfly diagram: 150
// yearly Greenwich files (1874-2023, 250,000 lines, about 4.6 groups a day) read, imported
// into a new journal one file a transaction as `kavrel journal groupes importer` does, then
// every record of the 150 years read back (the diagram's data) and a year summarised. The
// lines are made here, in the files' own columns; the journal lives in a folder under /tmp
// removed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/calendar_date.h"
#include "journal/group_records.h"
#include "journal/journal.h"

namespace {

using namespace kavrel::journal;

constexpr int kFirstYear = 1874;
constexpr int kYears = 150;
constexpr int kLines = 250000;

struct Scratch {
  Scratch() {
    char name[] = "/tmp/kavrel-groups-bench-XXXXXX";
    folder = ::mkdtemp(name);
  }
  ~Scratch() { std::filesystem::remove_all(folder); }
  std::string folder;
};
Scratch scratch;

// The yearly files' texts: groups living 10 days, their latitude drifting toward the
// equator through each 11-year cycle, north and south in turn.
const std::vector<std::string>& yearTexts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> made(kYears);
    const int perYear = kLines / kYears;
    for (int y = 0; y < kYears; ++y) {
      const int year = kFirstYear + y;
      const int days = kavrel::isLeapYear(year) ? 366 : 365;
      std::string& text = made[static_cast<std::size_t>(y)];
      text.reserve(static_cast<std::size_t>(perYear + 1) * 77);
      for (int i = 0; i < perYear + (y < kLines % kYears ? 1 : 0); ++i) {
        const int dayOfYear = i * days / (perYear + 1);
        int month = 1;
        int day = dayOfYear + 1;
        while (day > kavrel::daysInMonth(year, month)) day -= kavrel::daysInMonth(year, month++);
        const int group = 10000 + y * 400 + (i / 46) * 5 + i % 5;
        const double phase = (year - 1878) % 11 / 11.0;
        const double latitude = (i % 2 ? -1 : 1) * (30.0 - 22.0 * phase + (i % 7) * 0.3);
        char line[96];
        std::snprintf(line, sizeof line, "%4d%2d%2d.%03d%8d00%2d %4d %4d %4d %4d %5.3f %5.1f %5.1f %5.1f %5.1f\r\r\n",
                      year, month, day, 300 + i % 400, group, i % 10, i % 300, 5 * (i % 300), i % 200,
                      4 * (i % 250), 0.01 * (i % 99), 0.1 * (i % 3600), 0.1 * ((i * 7) % 3600), latitude,
                      -70.0 + 0.1 * (i % 1400));
        text += line;
      }
    }
    return made;
  }();
  return texts;
}

const std::vector<GroupFile>& parsedFiles() {
  static const std::vector<GroupFile> files = [] {
    std::vector<GroupFile> parsed;
    for (const std::string& text : yearTexts()) {
      parsed.push_back(parseGroupFile(text));
      if (!parsed.back().error.empty()) {
        std::fprintf(stderr, "line %d: %s\n", parsed.back().line, parsed.back().error.c_str());
        std::abort();
      }
    }
    return parsed;
  }();
  return files;
}

// The journal of the 150 years, imported at the first call.
const std::string& importedJournal() {
  static const std::string path = [] {
    const std::string made = scratch.folder + "/groups.sqlite";
    auto journal = Journal::open(made).journal;
    for (const GroupFile& file : parsedFiles())
      if (!journal || !journal->importGroupRecords(file).done()) std::abort();
    return made;
  }();
  return path;
}

void BM_Read150GreenwichFiles(benchmark::State& state) {
  const auto& texts = yearTexts();
  for (auto _ : state) {
    std::size_t records = 0;
    for (const std::string& text : texts) records += parseGroupFile(text).records.size();
    if (records != static_cast<std::size_t>(kLines)) state.SkipWithError("lines refused");
  }
}
BENCHMARK(BM_Read150GreenwichFiles)->Unit(benchmark::kMillisecond);

// 150 files into a new journal, one transaction each.
void BM_Import150GreenwichFiles(benchmark::State& state) {
  const auto& files = parsedFiles();
  const std::string path = scratch.folder + "/import.sqlite";
  for (auto _ : state) {
    state.PauseTiming();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
    auto journal = Journal::open(path).journal;
    state.ResumeTiming();
    for (const GroupFile& file : files)
      if (!journal->importGroupRecords(file).done()) state.SkipWithError("file refused");
  }
}
BENCHMARK(BM_Import150GreenwichFiles)->Unit(benchmark::kMillisecond);

// The same files imported again: each replaces its year.
void BM_ReimportOneYear(benchmark::State& state) {
  auto journal = Journal::open(importedJournal()).journal;
  const GroupFile& file = parsedFiles()[100];
  for (auto _ : state)
    if (!journal->importGroupRecords(file).done()) state.SkipWithError("file refused");
}
BENCHMARK(BM_ReimportOneYear)->Unit(benchmark::kMillisecond);

// Opening checks the whole file (PRAGMA quick_check): the 150 years' rows make it larger.
void BM_OpenJournalOf150Years(benchmark::State& state) {
  const std::string& path = importedJournal();
  for (auto _ : state) {
    auto opened = Journal::open(path);
    if (!opened.journal) state.SkipWithError(opened.error.c_str());
    benchmark::DoNotOptimize(opened);
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(BM_OpenJournalOf150Years)->Unit(benchmark::kMillisecond);

// Every record of the 150 years: the butterfly diagram's points.
void BM_ButterflyData150Years(benchmark::State& state) {
  auto journal = Journal::open(importedJournal()).journal;
  for (auto _ : state) {
    const auto records = journal->groupRecords({kFirstYear, 1, 1}, {kFirstYear + kYears - 1, 12, 31}).value;
    if (records.size() != static_cast<std::size_t>(kLines)) state.SkipWithError("records missing");
    benchmark::DoNotOptimize(records);
  }
}
BENCHMARK(BM_ButterflyData150Years)->Unit(benchmark::kMillisecond);

// `kavrel journal groupes resume 1957`: a year read and summarised.
void BM_YearSummary(benchmark::State& state) {
  auto journal = Journal::open(importedJournal()).journal;
  for (auto _ : state) {
    const GroupYear year = groupYear(journal->groupRecords({1957, 1, 1}, {1957, 12, 31}).value);
    if (year.groups == 0) state.SkipWithError("no groups");
    benchmark::DoNotOptimize(year);
  }
}
BENCHMARK(BM_YearSummary)->Unit(benchmark::kMillisecond);

// Every year summarised from the 150 years read once.
void BM_EveryYearSummary(benchmark::State& state) {
  auto journal = Journal::open(importedJournal()).journal;
  for (auto _ : state) {
    const auto records = journal->groupRecords({kFirstYear, 1, 1}, {kFirstYear + kYears - 1, 12, 31}).value;
    std::vector<GroupRecord> year;
    int groups = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
      year.push_back(records[i]);
      if (i + 1 == records.size() || records[i + 1].date.year != records[i].date.year) {
        groups += groupYear(year).groups;
        year.clear();
      }
    }
    benchmark::DoNotOptimize(groups);
  }
}
BENCHMARK(BM_EveryYearSummary)->Unit(benchmark::kMillisecond);

}  // namespace
