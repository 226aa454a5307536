// The network's numbers in `kavrel reseau`: each observer's k (k), the network's day
// (jour) and month (mois), and its monthly series (serie). The base computes nothing:
// reseau/coefficients.h does, and this prints it. Qt-free.
#include <algorithm>

#include "cli/reseau_request.h"
#include "common/csv.h"
#include "common/date_text.h"
#include "common/file_bytes.h"
#include "journal/silso.h"
#include "reseau/overview.h"

namespace kavrel::cli::network {
namespace {

constexpr std::string_view kNoCsv = "kavrel : choisissez le fichier de la série, --csv F";


std::string kValue(const std::optional<double>& value, std::string_view separator) {
  return value ? decimal(*value, 4, separator) : std::string("–");
}

// "IVAN : k = 1,2210 (212 jours) ; moyenne des rapports 1,2417 ± 0,1980 ; médiane 1,2300"
std::string kLine(const reseau::ObserverK& row, std::string_view separator) {
  std::string line = row.code + (row.year ? " " + std::to_string(row.year) : std::string()) + " : ";
  const journal::KEstimate& k = row.estimate;
  if (!row.given) return line + "pas assez de jours communs (" + std::to_string(k.days) + ")";
  return line + "k = " + kValue(k.ratioOfSums, separator) + " (" + std::to_string(k.days) +
         " jours) ; moyenne des rapports " + kValue(k.meanOfRatios, separator) + " ± " +
         kValue(k.standardDeviation, separator) + " ; médiane " + kValue(k.median, separator);
}

std::string kCsv(const reseau::KTable& table, bool perYear, std::string_view separator) {
  const csv::Format format = csv::formatFor(separator);
  std::string text = perYear ? csv::header({"observer", "year", "days", "k_sums", "k_mean", "k_sigma", "k_median"}, format)
                             : csv::header({"observer", "days", "k_sums", "k_mean", "k_sigma", "k_median"}, format);
  const std::string point(1, format.decimal);
  const auto field = [&](std::string& row, const std::optional<double>& value, bool given) {
    row += format.separator;
    if (given && value) row += decimal(*value, 4, point);
  };
  for (const reseau::ObserverK& k : table.rows) {
    std::string row;
    csv::appendField(row, k.code, format);
    if (perYear) row += format.separator + std::to_string(k.year);
    row += format.separator + std::to_string(k.estimate.days);
    field(row, k.estimate.ratioOfSums, k.given);
    field(row, k.estimate.meanOfRatios, k.given);
    field(row, k.estimate.standardDeviation, k.given);
    field(row, k.estimate.median, k.given);
    text += row + '\n';
  }
  return text;
}

Status written(const std::string& path, const std::string& bytes, const Request& s) {
  if (const std::string reason = writeFileWhole(path, bytes); !reason.empty()) {
    s.err << "Le fichier « " << path << " » n'a pas pu être écrit : " << reason << ".\n";
    return Status::Failed;
  }
  return Status::Done;
}

// The network's series of the period, its error said.
std::optional<reseau::NetworkSeries> series(const Request& s, const reseau::KOptions& options,
                                            reseau::NetworkRule rule) {
  const auto store = s.open();
  if (!store) return std::nullopt;
  reseau::KOptions covered = options;
  if (!s.coverBase(covered, *store)) return std::nullopt;
  reseau::NetworkSeries computed = reseau::computeNetwork(*store, covered, rule);
  if (!computed.error.empty()) {
    s.err << computed.error << '\n';
    return std::nullopt;
  }
  return computed;
}

}  // namespace

Status printK(const Fields& f, Request& s) {
  if (!f.empty()) return Status::Usage;
  const auto options = s.kOptions();
  if (!options) return Status::Refused;
  const auto store = s.open();
  if (!store) return Status::Failed;
  const bool perYear = s.has("--par-annee");
  reseau::KOptions covered = *options;
  if (!s.coverBase(covered, *store)) return Status::Failed;
  const reseau::KTable table = reseau::computeK(*store, covered, perYear);
  if (!table.error.empty()) {
    s.err << table.error << '\n';
    return table.refused ? Status::Refused : Status::Failed;
  }
  if (const std::string* path = s.value("--csv")) {
    if (written(*path, kCsv(table, perYear, s.decimalSeparator), s) != Status::Done) return Status::Failed;
    s.out << "Table des k écrite : " << *path << " (" << table.rows.size() << " lignes)\n";
    return Status::Done;
  }
  for (const reseau::ObserverK& row : table.rows) s.out << kLine(row, s.decimalSeparator) << '\n';
  if (table.rows.empty()) s.out << "Aucun observateur n'a de jour commun avec la référence.\n";
  return Status::Done;
}

Status printDay(const Fields& f, Request& s) {
  if (f.size() != 1) return Status::Usage;
  const auto day = dayOf(f[0]);
  if (!day) return s.refuse(kDateMessage);
  const auto rule = s.rule();
  const auto options = s.kOptions();
  if (!rule || !options) return Status::Refused;
  const auto computed = series(s, *options, *rule);
  if (!computed) return Status::Failed;
  const int number = reseau::dayNumber(*day);
  const std::string title = frenchLongDate(day->year, day->month, day->day);
  const auto found = std::find_if(computed->days.begin(), computed->days.end(),
                                  [&](const reseau::NetworkDay& d) { return d.day == number; });
  if (found == computed->days.end()) {
    s.out << title << " : aucun observateur du réseau avec un k ce jour-là.\n";
    return Status::Done;
  }
  s.out << title << " : R du réseau " << decimal(journal::roundedToTenth(found->mean), 1, s.decimalSeparator)
        << " ± " << decimal(journal::roundedToTenth(found->sigma), 1, s.decimalSeparator) << " ("
        << found->observers << (found->observers == 1 ? " observateur)" : " observateurs)") << '\n';
  return Status::Done;
}

Status printMonth(const Fields& f, Request& s) {
  if (f.size() != 2) return Status::Usage;
  const auto month = monthOf(f, s);
  const auto rule = month ? s.rule() : std::nullopt;
  const auto options = rule ? s.kOptions() : std::nullopt;
  if (!options) return Status::Refused;
  const auto store = s.open();
  if (!store) return Status::Failed;
  reseau::KOptions covered = *options;
  if (!s.coverBase(covered, *store)) return Status::Failed;
  const reseau::MonthTable table =
      reseau::monthBulletin(*store, covered, *rule, month->second, month->first, s.decimalSeparator);
  if (!table.error.empty()) {
    s.err << table.error << '\n';
    return Status::Failed;
  }
  const reseau::Bulletin& b = table.bulletin;
  s.out << b.title << '\n';
  for (const std::string& line : b.summary) s.out << line << '\n';
  const auto row = [&s](const auto& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) s.out << (i ? "\t" : "") << cells[i];
    s.out << '\n';
  };
  if (!b.observers.empty()) row(reseau::kObserverCaptions);
  for (const reseau::BulletinObserver& observer : b.observers) row(observer.cells);
  if (!b.days.empty()) row(reseau::kDayCaptions);
  for (const reseau::BulletinDay& day : b.days) row(day.cells);
  return Status::Done;
}

Status writeSeries(const Fields& f, Request& s) {
  if (!f.empty()) return Status::Usage;
  const std::string* path = s.value("--csv");
  if (!path) return s.refuse(kNoCsv);
  const auto rule = s.rule();
  const auto options = s.kOptions();
  if (!rule || !options) return Status::Refused;
  const auto computed = series(s, *options, *rule);
  if (!computed) return Status::Failed;
  const csv::Format format = csv::formatFor(s.decimalSeparator);
  const std::string point(1, format.decimal);
  std::string text = csv::header({"year", "month", "days", "r_network", "observers_mean", "r_silso"}, format);
  const auto field = [&](std::string& row, const std::optional<double>& value, int decimals) {
    row += format.separator;
    if (value) row += decimal(decimals == 1 ? journal::roundedToTenth(*value) : *value, decimals, point);
  };
  for (const reseau::NetworkMonth& month : computed->months) {
    std::string row = std::to_string(month.year) + format.separator + std::to_string(month.month) +
                      format.separator + std::to_string(month.days);
    field(row, month.network, 1);
    field(row, month.observersMean, 2);
    field(row, month.silso, 1);
    text += row + '\n';
  }
  if (written(*path, text, s) != Status::Done) return Status::Failed;
  s.out << "Série écrite : " << *path << " (" << computed->months.size() << " mois)\n";
  return Status::Done;
}

}  // namespace kavrel::cli::network
