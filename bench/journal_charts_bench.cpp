// What the butterfly diagram costs on 150 years of Greenwich-like records: 250,000 lines
// (a group seen on about ten days, some 25,000 groups) drawn at the picture's size, from
// the records in memory and from a journal that holds them, and written as SVG and PDF.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "journal/chart_series.h"
#include "journal/journal.h"
#include "pictures/journal_charts.h"

namespace {

using namespace kavrel::journal;

constexpr int kFirstYear = 1874;
constexpr int kYears = 150;
constexpr int kLines = 250000;

// Groups born along an 11-year cycle, their latitude falling from about 30° to 8° as
// it goes, each seen on ten consecutive days.
std::vector<GroupRecord> greenwichLike() {
  std::mt19937 random(18);
  std::normal_distribution<double> scatter(0, 4);
  std::vector<GroupRecord> records;
  records.reserve(kLines);
  const int groups = kLines / 10;
  for (int g = 0; g < groups; ++g) {
    const double t = kYears * (g + 0.5) / groups;
    const double phase = std::fmod(t, 11.0) / 11.0;
    const double latitude = (30 - 22 * phase + scatter(random)) * (g % 2 == 0 ? 1 : -1);
    const int year = kFirstYear + static_cast<int>(t);
    const int dayOfYear = static_cast<int>((t - std::floor(t)) * 350);
    for (int d = 0; d < 10; ++d) {
      GroupRecord r;
      r.date = {year, 1 + (dayOfYear + d) / 30, 1 + (dayOfYear + d) % 28};
      r.group = g % 20000;
      r.latitude = latitude + 0.1 * d;
      r.dayFraction = 0.5;
      records.push_back(r);
    }
  }
  return records;
}

ChartData butterflyData() {
  ChartData data;
  data.firstYear = kFirstYear;
  data.lastYear = kFirstYear + kYears - 1;
  data.imported = greenwichLike();
  return data;
}

void BM_ButterflySeries(benchmark::State& state) {
  const ChartData data = butterflyData();
  ChartRequest request;
  request.kind = ChartKind::Butterfly;
  for (auto _ : state) benchmark::DoNotOptimize(makeChart(data, request).panels.size());
}
BENCHMARK(BM_ButterflySeries)->Unit(benchmark::kMillisecond);

void BM_ButterflyPainted(benchmark::State& state) {
  ChartRequest request;
  request.kind = ChartKind::Butterfly;
  const Chart chart = makeChart(butterflyData(), request);
  for (auto _ : state) benchmark::DoNotOptimize(chartImage(chart).constBits());
}
BENCHMARK(BM_ButterflyPainted)->Unit(benchmark::kMillisecond);

// The whole of `kavrel journal graphique papillon`'s work but the file: the records read
// from the journal, grouped and painted.
void BM_ButterflyFromJournal(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() / "kavrel_charts_bench.sqlite").string();
  std::filesystem::remove(path);
  auto opened = Journal::open(path);
  GroupFile file;
  file.records = greenwichLike();
  if (!opened.journal || !opened.journal->importGroupRecords(file).done()) {
    state.SkipWithError("the journal could not be made");
    return;
  }
  ChartRequest request;
  request.kind = ChartKind::Butterfly;
  for (auto _ : state) {
    const Chart chart = makeChart(chartData(*opened.journal, request).value, request);
    benchmark::DoNotOptimize(chartImage(chart).constBits());
  }
  opened.journal.reset();
  std::filesystem::remove(path);
}
BENCHMARK(BM_ButterflyFromJournal)->Unit(benchmark::kMillisecond);

void BM_ButterflyAsSvg(benchmark::State& state) {
  ChartRequest request;
  request.kind = ChartKind::Butterfly;
  const Chart chart = makeChart(butterflyData(), request);
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(kChartWidth, kChartHeight));
    QPainter painter(&generator);
    paintChart(painter, QRectF(0, 0, kChartWidth, kChartHeight), chart);
    painter.end();
    benchmark::DoNotOptimize(buffer.data().size());
  }
}
BENCHMARK(BM_ButterflyAsSvg)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The labels need Qt's fonts, hence an application; no screen is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
