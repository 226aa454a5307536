// What one position of the pointer over the disc costs: the drawing's millimetres turned
// into a disc point, its B, L and DMC, and their texts, for positions sweeping the disc.
#include <benchmark/benchmark.h>

#include <cmath>

#include "sun/heliographic.h"

namespace {

void BM_PointerReadOut(benchmark::State& state) {
  const kavrel::DiscOrientation disc = kavrel::discOrientation(2451545.0);
  const double diameter = 150;
  int step = 0;
  for (auto _ : state) {
    // A spiral over the drawing, so that every quadrant and the limb are read.
    const double angle = 0.1 * step;
    const double radius = 75 * std::fmod(0.013 * step, 1.0);
    ++step;
    const auto point = kavrel::discPointOfDrawing(radius * std::cos(angle), radius * std::sin(angle), diameter,
                                                  kavrel::DrawingOrientation::EastRight);
    const auto result = kavrel::heliographicOf(disc, point);
    benchmark::DoNotOptimize(kavrel::heliographicTexts(result.at, ","));
  }
}
BENCHMARK(BM_PointerReadOut);

}  // namespace
