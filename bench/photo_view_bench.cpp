// What the photograph view costs on a 4096 x 4096 image in a 600 x 600 view: a repaint
// after a pointer move (the scaled image kept, the overlay drawn again), a zoom step (the
// visible part scaled again), the display made once per image, a change of black or white
// point (the display made again and shown), and the image with its overlay at full
// resolution for saving.
//
// With KAVREL_PHOTO_VIEW_PNG=<prefix> set, also writes <prefix>-fit.png,
// <prefix>-out.png and <prefix>-zoom.png, the view as it looks, to check the grid on the disc by eye.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "photo/spot_area.h"
#include "programs/disque/photo_page.h"
#include "programs/disque/photo_view.h"

namespace {

using namespace kavrel;
using namespace kavrel::disque;

constexpr int kSide = 4096;
constexpr double kJulianDay = 2452249.878;  // 6 December 2001, 9 h 05 UT
const photo::Circle kLimb{{2050.3, 2040.7}, 1800};

// A 16-bit-like Sun: limb darkening, two spots, a dark sky, a blank corner.
const image::GreyImage& sun() {
  static const image::GreyImage image = [] {
    image::GreyImage made(kSide, kSide);
    const struct {
      double x, y, radius;
    } spots[] = {{1500, 1700, 40}, {2600, 2500, 25}};
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) {
        const double r = std::hypot(x - kLimb.centre.x, y - kLimb.centre.y) / kLimb.radius;
        float v = 800;
        if (r < 1) {
          const double mu = std::sqrt(1 - r * r);
          double disc = 30000 * (1 - 0.6 * (1 - mu));
          for (const auto& s : spots) {
            const double d = std::hypot(x - s.x, y - s.y);
            if (d < s.radius) disc *= d < s.radius / 2 ? 0.3 : 0.7;
          }
          v = static_cast<float>(disc);
        }
        if (x < 200 && y < 200) v = std::nanf("");
        made.at(x, y) = v;
      }
    return made;
  }();
  return image;
}

PhotoOverlay overlay(int gridStep) {
  PhotoOverlay overlay;
  overlay.frame = photo::ImageFrame{kLimb, 0, false};
  overlay.disc = discOrientation(kJulianDay);
  overlay.gridStep = GridStep{gridStep};
  overlay.spots = {{1, {1500, 1700}}, {2, {2600, 2500}}};
  for (const auto& spot : overlay.spots)
    if (const photo::SpotOutcome measured = photo::measureSpot(sun().view(), kLimb, spot.at); measured.measure)
      overlay.outlines.push_back(measured.measure->mask);
  overlay.limbPoints = {{3323.1, 767.9}, {777.5, 3313.5}};  // on the limb at 45 and 225 deg
  return overlay;
}

struct ShownView {
  PhotoView view;
  QImage target{600, 600, QImage::Format_ARGB32_Premultiplied};
  ShownView(int gridStep, double zoom) {
    view.resize(600, 600);
    view.setImage(&sun());
    view.setOverlay(overlay(gridStep));
    view.zoomAbout(zoom, QPointF(300, 300));
    view.render(&target);  // the scaled image made once
  }
};

void BM_RepaintAfterPointerMove(benchmark::State& state) {
  ShownView shown(static_cast<int>(state.range(0)), static_cast<double>(state.range(1)));
  int step = 0;
  for (auto _ : state) {
    const QPointF at(100 + step % 400, 300);
    QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&shown.view, &move);
    shown.view.render(&shown.target);
    benchmark::DoNotOptimize(shown.target.constBits());
    ++step;
  }
}
// Grid step, zoom (times the fitted one).
BENCHMARK(BM_RepaintAfterPointerMove)->Args({10, 1})->Args({5, 1})->Args({10, 8})->Unit(benchmark::kMillisecond);

void BM_ZoomStep(benchmark::State& state) {
  ShownView shown(10, 1);
  bool in = true;
  for (auto _ : state) {
    shown.view.zoomAbout(in ? 1.25 : 0.8, QPointF(300, 300));
    shown.view.render(&shown.target);
    benchmark::DoNotOptimize(shown.target.constBits());
    in = !in;
  }
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMillisecond);

void BM_DisplayImage(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(displayImage(sun().view()).constBits());
}
BENCHMARK(BM_DisplayImage)->Unit(benchmark::kMillisecond);

void BM_ContrastChange(benchmark::State& state) {
  ShownView shown(10, 1);
  const DisplayStretch automatic = shown.view.automaticStretch();
  bool darker = true;
  for (auto _ : state) {
    shown.view.setStretch({automatic.black, darker ? automatic.white * 1.25 : automatic.white});
    shown.view.render(&shown.target);
    benchmark::DoNotOptimize(shown.target.constBits());
    darker = !darker;
  }
}
BENCHMARK(BM_ContrastChange)->Unit(benchmark::kMillisecond);

void BM_PhotoWithOverlayAtFullResolution(benchmark::State& state) {
  const QImage display = displayImage(sun().view());
  const PhotoOverlay drawn = overlay(10);
  for (auto _ : state) benchmark::DoNotOptimize(photoWithOverlay(display, drawn).constBits());
}
BENCHMARK(BM_PhotoWithOverlayAtFullResolution)->Unit(benchmark::kMillisecond);

// "Enregistrer…" on a photograph: the image with its overlay and caption, as PNG bytes.
void BM_SavePng(benchmark::State& state) {
  const QImage display = displayImage(sun().view());
  const PhotoOverlay drawn = overlay(10);
  const QStringList caption = {"soleil.png", "6.12.2001 à 9h 5min TU", "Nord céleste en haut", "Bord trouvé"};
  qsizetype bytes = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bytes = captionedPng(display, drawn, caption).size());
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond);

void savePictures(const QString& prefix) {
  ShownView fit(10, 1);
  fit.view.grab().save(prefix + "-fit.png");
  ShownView out(10, 1);
  out.view.zoomAbout(0.5, QPointF(100, 500));
  out.view.grab().save(prefix + "-out.png");
  ShownView zoomed(10, 1);
  zoomed.view.zoomAbout(6, zoomed.view.mapping().toDevice({1500, 1700}));
  zoomed.view.grab().save(prefix + "-zoom.png");
  photoWithOverlay(displayImage(sun().view()), overlay(10)).scaled(1024, 1024, Qt::IgnoreAspectRatio,
                                                                   Qt::SmoothTransformation)
      .save(prefix + "-full.png");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (const QString prefix = qEnvironmentVariable("KAVREL_PHOTO_VIEW_PNG"); !prefix.isEmpty()) savePictures(prefix);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
