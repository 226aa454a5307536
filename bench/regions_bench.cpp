// What following groups into regions costs at 150 years of Greenwich-like records: 250,000
// sightings (about 4.6 groups a day, 1874-2023), made here: groups living 10 days, drifting
// by Newton and Nunn's law at latitudes moving toward the equator through each 11-year
// cycle, a degree of scatter, with their central-meridian distances as the yearly files
// give them. Then the rotation law fitted on the regions found.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "common/calendar_date.h"
#include "journal/regions.h"

namespace {

using namespace kavrel::journal;

constexpr int kSightings = 250000;
constexpr double kFirstDay = 2405889.5;  // 1874 January 1, 0 h UT

Day dayOf(double julianDay) {
  const kavrel::CalendarDate date = kavrel::calendarDate(julianDay);
  return {static_cast<int>(date.year), static_cast<int>(date.month), static_cast<int>(date.day)};
}

// Groups born at an even pace, each seen on up to 10 days while on the disc.
const std::vector<Sighting>& sightings() {
  static const std::vector<Sighting> made = [] {
    std::vector<Sighting> list;
    list.reserve(kSightings);
    std::mt19937 random(150);
    std::normal_distribution<double> scatter(0.0, 0.7);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (int group = 0; static_cast<int>(list.size()) < kSightings; ++group) {
      const double born = kFirstDay + group * 2.2;
      const double phase = std::fmod((born - kFirstDay) / 365.25 + 4.0, 11.0) / 11.0;
      const double latitude = (group % 2 ? -1 : 1) * (30.0 - 22.0 * phase + 4.0 * uniform(random));
      const double s = std::sin(latitude * M_PI / 180);
      const double drift = kNewtonNunnA + kNewtonNunnB * s * s - 14.1844;
      const double firstCmd = -80.0 + 120.0 * uniform(random);
      const double longitude = 360.0 * uniform(random);
      for (int d = 0; d < 10 && static_cast<int>(list.size()) < kSightings; ++d) {
        const double cmd = firstCmd + 13.2 * d;
        if (cmd > 88) break;
        Sighting sighting;
        sighting.date = dayOf(born + d);
        sighting.dayFraction = 0.4;
        sighting.latitude = latitude + scatter(random);
        sighting.longitude = std::fmod(longitude + drift * d + scatter(random) + 360.0, 360.0);
        sighting.centralMeridianDistance = cmd;
        sighting.areaMsh = 20.0 + 300.0 * uniform(random);
        list.push_back(sighting);
      }
    }
    return list;
  }();
  return made;
}

void BM_Follow150Years(benchmark::State& state) {
  const auto& list = sightings();
  std::size_t regions = 0;
  for (auto _ : state) {
    const auto found = followRegions(list);
    regions = found.size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["sightings"] = static_cast<double>(list.size());
  state.counters["regions"] = static_cast<double>(regions);
}
BENCHMARK(BM_Follow150Years)->Unit(benchmark::kMillisecond);

// The same without central-meridian distances: the disc's L0 computed at each instant.
void BM_Follow150YearsWithoutCmd(benchmark::State& state) {
  std::vector<Sighting> list = sightings();
  for (Sighting& s : list) s.centralMeridianDistance.reset();
  for (auto _ : state) benchmark::DoNotOptimize(followRegions(list));
}
BENCHMARK(BM_Follow150YearsWithoutCmd)->Unit(benchmark::kMillisecond);

void BM_RotationLaw150Years(benchmark::State& state) {
  const auto& list = sightings();
  const auto regions = followRegions(list);
  for (auto _ : state) {
    const RotationLaw law = fitRotation(regions, list);
    if (!law.fitted) state.SkipWithError("no law");
    benchmark::DoNotOptimize(law);
  }
}
BENCHMARK(BM_RotationLaw150Years)->Unit(benchmark::kMillisecond);

}  // namespace
