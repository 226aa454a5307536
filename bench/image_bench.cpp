// Reading a 4096 x 4096 photograph of 16 bits a sample, as a FITS file and as a PNG file,
// written once into a temporary folder: a disc on a dark sky with some noise, so that the
// PNG compresses as a real one would rather than to nothing. The PNG also through Qt's
// own reader alone, which the reader used before libspng: the faster of the two is kept.
#include <benchmark/benchmark.h>
#include <fitsio.h>

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <cstdint>
#include <random>
#include <vector>

#include "image/image_reader.h"

namespace {

constexpr int kSide = 4096;

std::vector<std::uint16_t> photograph() {
  std::vector<std::uint16_t> pixels(static_cast<std::size_t>(kSide) * kSide);
  std::mt19937 noise(1);
  std::uniform_int_distribution<int> grain(0, 63);
  const double radius = kSide * 0.45;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const double dx = x - kSide / 2.0;
      const double dy = y - kSide / 2.0;
      const int level = dx * dx + dy * dy < radius * radius ? 40000 : 800;
      pixels[static_cast<std::size_t>(y) * kSide + x] = static_cast<std::uint16_t>(level + grain(noise));
    }
  return pixels;
}

struct Files {
  QTemporaryDir dir;
  QString fits = dir.filePath("soleil.fits");
  QString png = dir.filePath("soleil.png");

  Files() {
    const std::vector<std::uint16_t> pixels = photograph();
    fitsfile* file = nullptr;
    int status = 0;
    long axes[2] = {kSide, kSide};
    fits_create_diskfile(&file, fits.toLocal8Bit().constData(), &status);
    fits_create_img(file, USHORT_IMG, 2, axes, &status);
    fits_write_img(file, TUSHORT, 1, static_cast<LONGLONG>(pixels.size()),
                   const_cast<std::uint16_t*>(pixels.data()), &status);
    fits_close_file(file, &status);
    QImage image(reinterpret_cast<const uchar*>(pixels.data()), kSide, kSide, kSide * 2,
                 QImage::Format_Grayscale16);
    image.save(png, "PNG");
  }
};

Files& files() {
  static Files written;
  return written;
}

void readOne(benchmark::State& state, const QString& path) {
  for (auto _ : state) {
    const auto outcome = kavrel::image::readImageFile(path);
    if (!outcome.ok()) state.SkipWithError(outcome.refusal.c_str());
    benchmark::DoNotOptimize(outcome.image.view().pixels);
  }
}

void BM_ReadFits16Bits4096(benchmark::State& state) { readOne(state, files().fits); }
void BM_ReadPng16Bits4096(benchmark::State& state) { readOne(state, files().png); }

// Decoding only, into Qt's own image, without the copy into floats.
void BM_DecodePng16Bits4096WithQt(benchmark::State& state) {
  for (auto _ : state) {
    QImageReader reader(files().png);
    reader.setAllocationLimit(1024);
    const QImage image = reader.read();
    if (image.isNull()) state.SkipWithError("Qt's reader failed");
    benchmark::DoNotOptimize(image.constBits());
  }
}

BENCHMARK(BM_ReadFits16Bits4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPng16Bits4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePng16Bits4096WithQt)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
