// What measuring a full-size photograph costs: the limb found on a 4096 x 4096 image of
// a limb-darkened disc of 1900 px radius with noise, and the area of a spot of 10,000
// pixels on it; the limb again with every pixel beyond it blank, as an observatory's
// product has it. The images are made once, when the first of these runs.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "photo/limb.h"
#include "photo/spot_area.h"
#include "tests/photo/synthetic_sun.h"

namespace {

using kavrel::photo::test::Picture;

constexpr kavrel::photo::test::SunShape kSun{2048.4, 2047.7, 1900};
const double kSpotRadius = std::sqrt(10000 / std::numbers::pi);  // pixels

const Picture& photograph() {
  static const Picture picture = [] {
    Picture p = kavrel::photo::test::drawSun(4096, 4096, kSun, [](int x, int y) {
      return std::hypot(x - kSun.cx, y - kSun.cy) < kSpotRadius ? 0.5 : 1.0;
    });
    kavrel::photo::test::addNoise(p, 0.01, 1);
    return p;
  }();
  return picture;
}

const Picture& blankBeyondTheLimb() {
  static const Picture picture = [] {
    Picture p = photograph();
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x)
        if (std::hypot(x - kSun.cx, y - kSun.cy) > kSun.radius) p.at(x, y) = std::nanf("");
    return p;
  }();
  return picture;
}

void findLimbOn(benchmark::State& state, const Picture& picture) {
  const auto view = picture.view();
  for (auto _ : state) {
    const auto outcome = kavrel::photo::findLimb(view);
    if (!outcome.limb) state.SkipWithError("no limb found");
    benchmark::DoNotOptimize(outcome);
  }
}

void BM_LimbOf4096Square(benchmark::State& state) { findLimbOn(state, photograph()); }
void BM_LimbOf4096SquareBlankBeyondIt(benchmark::State& state) { findLimbOn(state, blankBeyondTheLimb()); }
BENCHMARK(BM_LimbOf4096Square)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LimbOf4096SquareBlankBeyondIt)->Unit(benchmark::kMillisecond);

void BM_SpotOf10000Pixels(benchmark::State& state) {
  const auto view = photograph().view();
  const kavrel::photo::Circle limb{{kSun.cx, kSun.cy}, kSun.radius};
  for (auto _ : state) {
    const auto outcome = kavrel::photo::measureSpot(view, limb, {kSun.cx, kSun.cy});
    if (!outcome.measure) state.SkipWithError("no spot measured");
    benchmark::DoNotOptimize(outcome);
  }
}
BENCHMARK(BM_SpotOf10000Pixels)->Unit(benchmark::kMillisecond);

}  // namespace
