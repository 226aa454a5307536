// What one keystroke and one "&Calcul" cost: an evaluation of the Sun's ephemeris, a
// full rotation search of the longest list the window accepts, and a Julian day turned
// back into a calendar date.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "common/calendar_date.h"
#include "calculators/rotation_list.h"
#include "sun/ephemeris.h"

namespace {

void BM_SolarAspect(benchmark::State& state) {
  double julianDay = 2451545.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(julianDay);
    benchmark::DoNotOptimize(kavrel::solarAspect(julianDay));
  }
}
BENCHMARK(BM_SolarAspect);

// 1/1/2000 to 15/4/2007 holds 98 rotation starts: line 0, 98 starts and the closing
// line, the most the list takes before the 100-line limit.
void BM_RotationListOf100Lines(benchmark::State& state) {
  const kavrel::DateTexts first{"1", "1", "2000"};
  const kavrel::DateTexts second{"15", "4", "2007"};
  const auto check = kavrel::brennic::rotationList(first, second, ",");
  if (check.outcome != kavrel::brennic::ListOutcome::Listed || check.lastLine != 99) {
    std::fprintf(stderr, "the benchmark's dates no longer give a list of 100 lines\n");
    std::abort();
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(kavrel::brennic::rotationList(first, second, ","));
  }
}
BENCHMARK(BM_RotationListOf100Lines);

void BM_CalendarDate(benchmark::State& state) {
  double julianDay = 2451544.4999;
  for (auto _ : state) {
    benchmark::DoNotOptimize(julianDay);
    benchmark::DoNotOptimize(kavrel::calendarDate(julianDay));
  }
}
BENCHMARK(BM_CalendarDate);

}  // namespace

BENCHMARK_MAIN();
