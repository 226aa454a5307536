// A network the size of SILSO's own, through the real base, on SQLite and on PostgreSQL:
// 280 observers' daily counts (about three days in four, each observer at its own scale)
// over 10 years (0.77 million observations) and over 40 years (3.07 million), generated
// deterministically from a hash of (observer, day), imported into a fresh base one year's
// file at a time through Store::importRows, then read as the window and `kavrel reseau`
// read it. Measured for each engine and size:
// - Import: the import's own time (the rows are made outside it), and its rate in rows/s;
// - KAndSeries: every observer's yearly k (computeK per year) and the network's daily
//   series with its months (computeNetwork, the default rule), over the whole period;
// - Month: one month's table, the base's month and its bulletin (monthTable);
// - beside each, the peak resident memory of that step alone (MiB): the high-water mark
//   is set back to the current size before it (/proc/self/clear_refs).
// SQLite's bases are files in $TMPDIR (or /tmp); PostgreSQL is measured when PGHOST is set,
// its databases made fresh on that server (`pg_virtualenv build/bench/kavrel_reseau_base_bench`).
// With the imports filtered out (--benchmark_filter=KAndSeries), the readings are measured
// on the bases a previous run left.
// Times are wall-clock: a server's share runs in another process.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <malloc.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "reseau/coefficients.h"
#include "reseau/overview.h"
#include "reseau/store.h"

namespace {

using namespace kavrel::reseau;

constexpr int kObservers = 280;
constexpr int kFirstYear = 1981;
constexpr int kMonthShown = 6;  // June of the last year: the month's table

std::uint64_t mixed(std::uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ULL;
  return x ^ (x >> 33);
}

// A cycle of 11 years peaking near 200, with a daily scatter of ±10.
int international(int day) {
  const double phase = 2 * 3.14159265358979 * (day - dayNumber({kFirstYear, 1, 1})) / (11 * 365.25);
  return static_cast<int>(100 - 100 * std::cos(phase) + static_cast<double>(mixed(day) % 21));
}

std::string codeOf(int observer) {
  char code[8];
  std::snprintf(code, sizeof code, "S%03d", observer);
  return code;
}

// One observer's day, or none (a quarter of the days are clouded): R seen at the
// observer's scale (0.75 to 1.34 of SILSO's) with its own scatter, split into g and f.
std::optional<NetworkObservation> observation(int observer, int day) {
  const std::uint64_t h = mixed(static_cast<std::uint64_t>(observer) << 32 | static_cast<std::uint32_t>(day));
  if (h % 4 == 0) return std::nullopt;
  const double scale = 0.75 + static_cast<double>(observer % 60) / 100.0;
  const int r = static_cast<int>(international(day) / scale * (0.9 + static_cast<double>(h % 21) / 100.0));
  NetworkObservation seen;
  seen.observer = codeOf(observer);
  seen.instrument = observer % 3 == 0 ? "R80/1000" : "R100/1200";
  seen.date = dayOfNumber(day);
  seen.time = TimeOfDay{7 + static_cast<int>(h / 4 % 9), static_cast<int>(h / 64 % 60)};
  seen.quality = static_cast<int>(h / 4096 % 6);
  const int groups = r / 14;
  seen.disc = groups == 0 ? Counts{0, 0} : Counts{groups, std::max(groups, r - 10 * groups)};
  return seen;
}

// One year's file of the whole network, observer after observer.
std::vector<TableRow> yearFile(int year) {
  std::vector<TableRow> rows;
  int line = 1;
  for (int observer = 1; observer <= kObservers; ++observer)
    for (int day = dayNumber({year, 1, 1}); day < dayNumber({year + 1, 1, 1}); ++day)
      if (auto seen = observation(observer, day)) rows.push_back({++line, std::move(*seen)});
  return rows;
}

kavrel::journal::SilsoFile silsoFile(int years) {
  kavrel::journal::SilsoFile file;
  for (int day = dayNumber({kFirstYear, 1, 1}); day < dayNumber({kFirstYear + years, 1, 1}); ++day)
    file.days.push_back({dayOfNumber(day), international(day), {}, {}, true});
  return file;
}

// The process's peak resident size since the last reset, in MiB.
double peakMiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmHWM:")) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  return 0;
}

void resetPeak() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

// A fresh database `name` on the server PGHOST names: dropped and made again.
void freshServerBase(const std::string& name) {
  PGconn* connection = PQconnectdb("");
  if (PQstatus(connection) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(connection));
  PQsetNoticeProcessor(connection, [](void*, const char*) {}, nullptr);
  for (const std::string& statement : {"DROP DATABASE IF EXISTS " + name, "CREATE DATABASE " + name}) {
    PGresult* result = PQexec(connection, statement.c_str());
    const bool done = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    if (!done) throw std::runtime_error(PQerrorMessage(connection));
  }
  PQfinish(connection);
}

// One engine and size: its base, opened fresh, and what KAndSeries computed for Month.
struct Network {
  bool server = false;
  int years = 0;
  std::unique_ptr<Store> store;
  Overview overview;

  [[nodiscard]] int lastYear() const { return kFirstYear + years - 1; }
  [[nodiscard]] KOptions period() const {
    KOptions options;
    options.first = dayNumber({kFirstYear, 1, 1});
    options.last = dayNumber({lastYear(), 12, 31});
    return options;
  }

  // The base made fresh (for the import), or as a previous import left it.
  void open(bool fresh) {
    std::string base;
    const std::string name = "kavrel_reseau_bench_" + std::to_string(years);
    if (server) {
      if (fresh) freshServerBase(name);
      base = "postgresql:///" + name;
    } else {
      const char* folder = std::getenv("TMPDIR");
      base = std::string(folder && *folder ? folder : "/tmp") + "/" + name + ".sqlite";
      if (fresh)
        for (const char* end : {"", "-wal", "-shm"}) std::filesystem::remove(base + end);
    }
    Store::Opened opened = Store::open(base);
    if (!opened.store) throw std::runtime_error(opened.error);
    store = std::move(opened.store);
  }
};

void reportPeak(benchmark::State& state) { state.counters["peak_MiB"] = peakMiB(); }

void import(benchmark::State& state, Network& network) {
  network.open(true);
  if (const Change silso = network.store->importSilso(silsoFile(network.years)); !silso.done())
    return state.SkipWithError(silso.error.c_str());
  resetPeak();
  long rows = 0;
  for (auto _ : state) {
    double seconds = 0;
    for (int year = kFirstYear; year <= network.lastYear(); ++year) {
      const std::vector<TableRow> file = yearFile(year);
      const ImportRecord record{0, "reseau-" + std::to_string(year) + ".csv", "bench-" + std::to_string(year),
                                "2026-01-01T00:00:00Z", "bench", 0};
      const auto start = std::chrono::steady_clock::now();
      const Imported imported = network.store->importRows(record, file, false, false);
      seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      if (!imported.error.empty()) return state.SkipWithError(imported.error.c_str());
      rows += imported.stored;
    }
    state.SetIterationTime(seconds);
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["rows_per_s"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
  reportPeak(state);
}

void kAndSeries(benchmark::State& state, Network& network) {
  if (!network.store) network.open(false);
  resetPeak();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    KTable yearly = computeK(*network.store, network.period(), true);
    NetworkSeries series = computeNetwork(*network.store, network.period(), NetworkRule::Default);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!yearly.error.empty() || !series.error.empty())
      return state.SkipWithError((yearly.error + series.error).c_str());
    state.counters["ks"] = static_cast<double>(yearly.rows.size());
    state.counters["days"] = static_cast<double>(series.days.size());
    network.overview.ks = std::move(yearly.rows);
    network.overview.series = std::move(series);
  }
  reportPeak(state);
}

void month(benchmark::State& state, Network& network) {
  if (!network.store) return state.SkipWithError("la base n'a pas été importée");
  resetPeak();
  std::size_t observers = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const MonthTable table = monthTable(*network.store, network.overview, network.lastYear(), kMonthShown, ",");
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!table.error.empty()) return state.SkipWithError(table.error.c_str());
    observers = table.bulletin.observers.size();
  }
  state.counters["observers"] = static_cast<double>(observers);
  reportPeak(state);
  // Closed, so that its cache does not weigh on the next size's figures.
  network.store.reset();
  network.overview = {};
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::vector<std::unique_ptr<Network>> networks;
  const char* host = std::getenv("PGHOST");
  for (const bool server : {false, true}) {
    if (server && !(host && *host)) continue;
    for (const int years : {10, 40}) {
      Network& network = *networks.emplace_back(std::make_unique<Network>(Network{server, years, {}, {}}));
      const std::string name = std::string(server ? "PostgreSQL" : "SQLite") + "/" + std::to_string(years) + "y/";
      const auto add = [&](const char* step, void (*run)(benchmark::State&, Network&), int iterations) {
        benchmark::RegisterBenchmark((name + step).c_str(), [run, &network](benchmark::State& state) { run(state, network); })
            ->Iterations(iterations)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
      };
      add("Import", import, 1);
      add("KAndSeries", kAndSeries, 1);
      add("Month", month, 20);
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
