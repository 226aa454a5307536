// What the network's arithmetic costs at the size of SILSO's own network: 280 observers
// over 40 years, each seeing about three days in four (some 3 million observations),
// streamed as a base hands them, never held: every observer's yearly k by the three
// rules, and the network's daily series with its months. The rows are made on the fly
// from a hash of (observer, day), so that both orders stream the same rows; peak memory
// (the process's largest resident size, KiB) is reported beside the time.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdint>

#include "reseau/network_number.h"

namespace {

using namespace kavrel::reseau;

constexpr int kObservers = 280;
constexpr int kFirstYear = 1981;
constexpr int kYears = 40;

int firstDay() { return dayNumber({kFirstYear, 1, 1}); }
int lastDay() { return dayNumber({kFirstYear + kYears - 1, 12, 31}); }

std::uint64_t mixed(std::uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ULL;
  return x ^ (x >> 33);
}

// A cycle of 11 years peaking at 200; an observer sees a quarter less to a third more.
int international(int day) {
  const double phase = 2 * 3.14159265358979 * (day - firstDay()) / (11 * 365.25);
  return static_cast<int>(100 - 100 * std::cos(phase) + static_cast<double>(mixed(day) % 21));
}

std::optional<ObservationRow> observation(Id observer, int day) {
  const std::uint64_t h = mixed(static_cast<std::uint64_t>(observer) << 32 | static_cast<std::uint32_t>(day));
  if (h % 4 == 0) return std::nullopt;
  const double scale = 0.75 + static_cast<double>(observer % 60) / 100.0;
  const int relative = static_cast<int>(international(day) / scale * (0.9 + static_cast<double>(h % 21) / 100.0));
  return ObservationRow{observer, day, relative, static_cast<int>(h / 4 % 6)};
}

template <class Each>
void byObserver(const Each& each) {
  for (Id observer = 1; observer <= kObservers; ++observer)
    for (int day = firstDay(); day <= lastDay(); ++day)
      if (const auto row = observation(observer, day)) each(*row);
}

template <class Each>
void byDate(const Each& each) {
  for (int day = firstDay(); day <= lastDay(); ++day)
    for (Id observer = 1; observer <= kObservers; ++observer)
      if (const auto row = observation(observer, day)) each(*row);
}

Reference silso() {
  std::vector<std::pair<int, int>> days;
  for (int day = firstDay(); day <= lastDay(); ++day) days.emplace_back(day, international(day));
  return Reference(std::move(days));
}

void reportMemory(benchmark::State& state, long rows) {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_KiB"] = static_cast<double>(usage.ru_maxrss);
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_YearlyK(benchmark::State& state) {
  const Reference reference = silso();
  long rows = 0;
  for (auto _ : state) {
    rows = 0;
    ObserverKs ks(reference, {firstDay(), lastDay(), {}}, {}, true);
    byObserver([&](const ObservationRow& row) {
      ks.add(row);
      ++rows;
    });
    benchmark::DoNotOptimize(ks.finish());
  }
  reportMemory(state, rows);
}
BENCHMARK(BM_YearlyK)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_NetworkDailySeries(benchmark::State& state) {
  const Reference reference = silso();
  const RowFilter filter{dayNumber({kFirstYear + 1, 1, 1}), lastDay(), {}};
  for (auto _ : state) {
    NetworkScale scale(reference, filter, NetworkRule::Default);
    byObserver([&](const ObservationRow& row) { scale.add(row); });
    scale.finish();
    NetworkDays days(scale, filter);
    byDate([&](const ObservationRow& row) { days.add(row); });
    const std::vector<NetworkDay> series = days.finish();
    benchmark::DoNotOptimize(networkMonths(series, reference.days(), filter.first, filter.last));
  }
  reportMemory(state, 0);
}
BENCHMARK(BM_NetworkDailySeries)->Unit(benchmark::kMillisecond)->Iterations(1);

// The rows alone, made and streamed in both orders: the share of the figures above that
// a base's reading replaces.
void BM_RowsAlone(benchmark::State& state) {
  for (auto _ : state) {
    long sum = 0;
    byObserver([&](const ObservationRow& row) { sum += row.relative; });
    byDate([&](const ObservationRow& row) { sum += row.relative; });
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_RowsAlone)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
