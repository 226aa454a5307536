// kavrel journal graphique: a picture of the journal (the monthly numbers, the k, the
// butterfly diagram) painted by pictures/journal_charts.h and written whole as PNG, SVG
// or PDF. Runs in kavrel-dessin: Qt Gui (see cli/painting.h).
#include "cli/journal_runs.h"

#include <QString>

#include <utility>

#include "cli/qt_host.h"
#include "journal/chart_series.h"
#include "pictures/journal_charts.h"

namespace kavrel::cli::logbook {
namespace {

constexpr std::string_view kChartKindMessage = "Graphique : mensuel, k ou papillon.";
constexpr std::string_view kNoChartFile = "kavrel : choisissez le fichier du graphique, --png F, --svg F ou --pdf F";
constexpr std::string_view kTwoChartFiles = "kavrel : un seul fichier par graphique, --png, --svg ou --pdf";
constexpr std::string_view kYearsOrder = "Années : --du vient avant --au.";

// --du or --au as a year; false when refused (said).
bool yearOption(const Request& s, std::string_view option, std::optional<int>& year) {
  const std::string* text = s.value(option);
  if (!text) return true;
  year = wholeNumber(*text);
  if (year && *year >= 1 && *year <= 9999) return true;
  s.refuse(kYearMessage);
  return false;
}

using ChartFile = std::pair<std::string_view, journal::ChartFormat>;

// The chart of `kind` read from the journal and written to the file of `format`.
Status drawChartOf(journal::ChartKind kind, const ChartFile& format, Request& s) {
  journal::ChartRequest request;
  request.kind = kind;
  request.decimalSeparator = std::string(s.decimalSeparator);
  if (!yearOption(s, "--du", request.firstYear) || !yearOption(s, "--au", request.lastYear)) return Status::Refused;
  if (request.firstYear && request.lastYear && *request.firstYear > *request.lastYear) return s.refuse(kYearsOrder);
  if (const std::string* text = s.value("--k")) {
    request.k = journal::chosenK(*text);
    if (!request.k) return s.refuse(kKMessage);
  }
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  const ObserverChoice choice = chooseObserver(*session, s);
  if (choice.refused) return choice.status;
  if (choice.observer) {
    request.observerId = choice.observer->id;
    request.observerCode = choice.observer->code;
    if (!s.has("--k")) request.k = choice.observer->chosenK;
  }
  const journal::Read<journal::ChartData> data = journal::chartData(opened, request);
  if (readFailed(data, s)) return Status::Failed;
  const journal::Chart chart = journal::makeChart(data.value, request);
  if (!chart.note.empty()) return s.refuse(chart.note);

  const QtHost qt;
  const std::string& path = *s.value(format.first);
  QString error;
  if (!journal::writeChart(QString::fromStdString(path), format.second, chart, &error)) {
    s.err << error.toStdString() << '\n';
    return Status::Failed;
  }
  s.out << "Graphique enregistré : " << path << '\n';
  return Status::Done;
}

}  // namespace

Status drawChart(const Fields& f, Request& s) {
  if (f.size() != 1) return Status::Usage;
  const auto kind = journal::chartKindNamed(f[0]);
  if (!kind) return s.refuse(kChartKindMessage);
  static constexpr ChartFile kFormats[] = {
      {"--png", journal::ChartFormat::Png}, {"--svg", journal::ChartFormat::Svg}, {"--pdf", journal::ChartFormat::Pdf}};
  const ChartFile* format = nullptr;
  for (const auto& candidate : kFormats) {
    if (!s.has(candidate.first)) continue;
    if (format) return s.refuse(kTwoChartFiles);
    format = &candidate;
  }
  if (!format) return s.refuse(kNoChartFile);
  return drawChartOf(*kind, *format, s);
}

}  // namespace kavrel::cli::logbook
