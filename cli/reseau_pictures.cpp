// kavrel reseau graphique and bulletin: the network's pictures (reseau/network_charts.h)
// and a month's bulletin (reseau/bulletin.h) painted by pictures/ and written whole as PNG,
// SVG or PDF. Runs in kavrel-dessin: Qt Gui (see cli/painting.h).
#include <QString>

#include "cli/qt_host.h"
#include "cli/reseau_request.h"
#include "pictures/journal_charts.h"
#include "pictures/network_bulletin.h"
#include "reseau/overview.h"

namespace kavrel::cli::network {
namespace {

constexpr std::string_view kKindMessage = "Graphique : mensuel, k ou observateurs.";
constexpr std::string_view kNoFile = "kavrel : choisissez le fichier du graphique, --png F, --svg F ou --pdf F";
constexpr std::string_view kTwoFiles = "kavrel : un seul fichier par graphique, --png, --svg ou --pdf";
constexpr std::string_view kNoPdf = "kavrel : choisissez le fichier du bulletin, --pdf F";
constexpr char kCreator[] = "Kavrel Réseau";

using ChartFile = std::pair<std::string_view, journal::ChartFormat>;

// The options and the base every picture reads; none when refused or unreadable (said,
// `status` then telling which).
struct Prepared {
  std::unique_ptr<Store> store;
  reseau::KOptions options;
  reseau::NetworkRule rule = reseau::NetworkRule::Default;
  Status status = Status::Done;
};
Prepared prepare(const Request& s) {
  Prepared p;
  const auto rule = s.rule();
  const auto options = rule ? s.kOptions() : std::nullopt;
  if (!options) return {nullptr, {}, {}, Status::Refused};
  p.rule = *rule;
  p.options = *options;
  p.store = s.open();
  if (!p.store || !s.coverBase(p.options, *p.store)) return {nullptr, {}, {}, Status::Failed};
  return p;
}

}  // namespace

Status drawPicture(const Fields& f, Request& s) {
  if (f.size() != 1) return Status::Usage;
  const auto kind = reseau::networkChartKindNamed(f[0]);
  if (!kind) return s.refuse(kKindMessage);
  static constexpr ChartFile kFormats[] = {
      {"--png", journal::ChartFormat::Png}, {"--svg", journal::ChartFormat::Svg}, {"--pdf", journal::ChartFormat::Pdf}};
  const ChartFile* format = nullptr;
  for (const auto& candidate : kFormats) {
    if (!s.has(candidate.first)) continue;
    if (format) return s.refuse(kTwoFiles);
    format = &candidate;
  }
  if (!format) return s.refuse(kNoFile);
  const Prepared p = prepare(s);
  if (!p.store) return p.status;
  const reseau::ChartMade made = reseau::networkChart(*p.store, p.options, p.rule, *kind, s.decimalSeparator);
  if (!made.error.empty()) {
    s.err << made.error << '\n';
    return Status::Failed;
  }
  if (!made.chart.note.empty()) return s.refuse(made.chart.note);
  const QtHost qt;
  const std::string& path = *s.value(format->first);
  QString error;
  if (!journal::writeChart(QString::fromStdString(path), format->second, made.chart, &error, kCreator)) {
    s.err << error.toStdString() << '\n';
    return Status::Failed;
  }
  s.out << "Graphique enregistré : " << path << '\n';
  return Status::Done;
}

Status writeBulletin(const Fields& f, Request& s) {
  if (f.size() != 2) return Status::Usage;
  const std::string* path = s.value("--pdf");
  if (!path) return s.refuse(kNoPdf);
  const auto month = monthOf(f, s);
  if (!month) return Status::Refused;
  const Prepared p = prepare(s);
  if (!p.store) return p.status;
  const reseau::MonthTable table =
      reseau::monthBulletin(*p.store, p.options, p.rule, month->second, month->first, s.decimalSeparator);
  if (!table.error.empty()) {
    s.err << table.error << '\n';
    return Status::Failed;
  }
  const QtHost qt;
  QString error;
  if (!reseau::writeBulletin(QString::fromStdString(*path), table.bulletin, &error)) {
    s.err << error.toStdString() << '\n';
    return Status::Failed;
  }
  s.out << "Bulletin enregistré : " << *path << '\n';
  return Status::Done;
}

}  // namespace kavrel::cli::network
