// A log of 100,000 instants through `kavrel soleil --csv`, as the command reads and writes
// it (without the terminal): lines of both forms, every minute of a few months.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "cli/batch.h"

namespace {

std::string logOf(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    const int day = 1 + i / 1440 % 28;
    const int month = 1 + i / (1440 * 28) % 12;
    const int hour = i / 60 % 24;
    const int minute = i % 60;
    if (i % 2 == 0) {
      text += std::to_string(day) + ' ' + std::to_string(month) + " 2001 " + std::to_string(hour) + ' ' +
              std::to_string(minute) + '\n';
    } else {
      char iso[32];
      std::snprintf(iso, sizeof iso, "2001-%02d-%02dT%02d:%02d:30\n", month, day, hour, minute);
      text += iso;
    }
  }
  return text;
}

void BM_SolarAspectCsvOf100000Lines(benchmark::State& state) {
  const std::string log = logOf(100'000);
  for (auto _ : state) {
    std::istringstream in(log);
    std::ostringstream out;
    const auto summary = kavrel::batch::runBatch(kavrel::batch::Kind::SolarAspect, in, out, ",");
    benchmark::DoNotOptimize(summary);
  }
  state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(BM_SolarAspectCsvOf100000Lines)->Unit(benchmark::kMillisecond);

}  // namespace
