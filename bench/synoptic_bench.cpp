// What the synoptic map costs: 4096 x 4096 photographs of a limb-darkened disc of 1900 px
// radius with noise, each found (its limb), evened out (its radial profile) and mapped on
// the rotation's 0.1° grid (3600 x 1800); one photograph alone (the most a single one
// maps: its whole visible hemisphere), then a series of seven four days apart. The image
// is made once; each photograph handed to the engine is a copy of it (64 MB, as a file
// read would give), counted in the time.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "disque/synoptic_map.h"
#include "sun/carrington_rotation.h"
#include "tests/photo/synthetic_sun.h"

namespace {

using kavrel::photo::test::Picture;

constexpr kavrel::photo::test::SunShape kSun{2048.4, 2047.7, 1900};
constexpr int kRotation = 2290;

const Picture& photograph() {
  static const Picture picture = [] {
    Picture p = kavrel::photo::test::drawSun(4096, 4096, kSun);
    kavrel::photo::test::addNoise(p, 0.01, 1);
    return p;
  }();
  return picture;
}

kavrel::disque::SynopticPhoto photoAt(double julianDay) {
  const Picture& p = photograph();
  auto grey = kavrel::image::GreyImage::uninitialised(p.width, p.height);
  std::copy(p.pixels.begin(), p.pixels.end(), grey.samples().begin());
  kavrel::disque::SynopticPhoto photo;
  photo.name = "soleil.fits";
  photo.file = kavrel::disque::PhotoFile{std::move(grey), photo.name, "FITS", std::nullopt, std::nullopt};
  photo.instant = kavrel::disque::PhotoInstant{julianDay, true, kavrel::disque::InstantSource::Typed};
  return photo;
}

void BM_SynopticMap4096(benchmark::State& state) {
  photograph();
  const auto count = static_cast<std::size_t>(state.range(0));
  const double start = *kavrel::carringtonRotationStart(kRotation);
  for (auto _ : state) {
    const kavrel::disque::SynopticOutcome made = kavrel::disque::makeSynopticMap(
        {kRotation, kavrel::disque::kDefaultMapStep, count},
        [&](std::size_t k) { return photoAt(start + 1.5 + 4.0 * double(k)); });
    if (!made.map) state.SkipWithError(made.refusal.c_str());
    benchmark::DoNotOptimize(made.map);
  }
  state.counters["photographs"] = double(count);
}
BENCHMARK(BM_SynopticMap4096)->Arg(1)->Arg(7)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
