// What the disc window's drawing costs: the whole disc drawn and painted at 600 x 600
// pixels (the grid computed afresh, as after every change of a field), and the printed
// page composed at 600 dpi (as QPrinter sends it, here into a PDF in memory).
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>

#include "pictures/disc_drawing.h"
#include "pictures/disc_page.h"

namespace {

using namespace kavrel;
using namespace kavrel::disque;

constexpr double kJulianDay = 2452249.878;  // 6 December 2001, 9 h 05 UT

void BM_DiscPaintedAt600Pixels(benchmark::State& state) {
  const int step = static_cast<int>(state.range(0));
  QImage image(600, 600, QImage::Format_ARGB32_Premultiplied);
  const DiscOrientation disc = discOrientation(kJulianDay);
  DiscFrame frame;
  frame.centre = QPointF(300, 300);
  DiscLook look;
  look.gridStep = GridStep{step};
  look.textHeight = 13;
  frame.radius = 300 - kLabelMargin * look.textHeight - 2;
  const std::vector<DrawnSpot> spots = {{1, {40, 0.5}}, {2, {200, 0.8}}, {3, {300, 0.3}}};
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    paintDisc(painter, disc, frame, look, spots);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_DiscPaintedAt600Pixels)->Arg(5)->Arg(10)->Arg(15)->Unit(benchmark::kMillisecond);

// The grid's computation alone, the part of the drawing that is not Qt's.
void BM_GridLines(benchmark::State& state) {
  const DiscOrientation disc = discOrientation(kJulianDay);
  for (auto _ : state) benchmark::DoNotOptimize(gridLines(disc, GridStep{static_cast<int>(state.range(0))}));
}
BENCHMARK(BM_GridLines)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_PageAt600Dpi(benchmark::State& state) {
  PageContent content;
  content.julianDay = kJulianDay;
  for (int i = 0; i < 20; ++i) content.spots.push_back({i + 1, {i * 17.0, 0.04 * i}});
  const PageOptions options;
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(pageSizeFor(options.diameterMm), QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    paintDiscPage(painter, 600 / 25.4, content, options);
    painter.end();
    benchmark::DoNotOptimize(buffer.data().size());
  }
}
BENCHMARK(BM_PageAt600Dpi)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The labels need Qt's fonts, hence an application; no screen is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
