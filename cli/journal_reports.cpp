// The month's reports in `kavrel journal`: rapport (for a network, or the suite's CSV,
// written whole) and sauvegarder (a copy of the journal). Qt-free.
#include "cli/journal_runs.h"

#include <sys/stat.h>

#include "common/file_bytes.h"
#include "journal/reports.h"

namespace kavrel::cli::logbook {
namespace {

constexpr std::string_view kNoFormat = "kavrel : choisissez le format du rapport, --format aavso|baa|ceslopol|csv";
constexpr std::string_view kUnknownFormat = "Format : aavso, baa, ceslopol ou csv.";
constexpr std::string_view kNetworkK =
    "--k : le rapport d'un réseau garde les comptes bruts, dont le réseau tire lui-même le k de l'observateur ; --k "
    "ne vaut que pour --format csv.";

bool isFolder(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

Status writeReport(const Fields& f, Request& s) {
  if (f.size() != 2) return Status::Usage;
  const auto month = monthOf(f, s);
  if (!month) return Status::Refused;
  const std::string* formatName = s.value("--format");
  if (!formatName) return s.refuse(kNoFormat);
  const auto format = journal::reportFormatNamed(*formatName);
  if (!format) return s.refuse(kUnknownFormat);
  // The networks derive the observer's k from the raw counts: their reports take none.
  const std::string* kText = s.value("--k");
  std::optional<double> k;
  if (kText) {
    if (!journal::carriesK(*format)) return s.refuse(kNetworkK);
    if (!(k = journal::chosenK(*kText))) return s.refuse(kKMessage);
  }
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  const ObserverChoice choice = chooseObserver(*session, s);
  if (choice.refused) return choice.status;
  if (!choice.observer) return s.refuse(kNoObserver);
  if (!kText && journal::carriesK(*format)) k = choice.observer->chosenK;
  const auto observations = opened.monthObservations(month->second, month->first, choice.observer->id);
  if (readFailed(observations, s)) return Status::Failed;
  const journal::Report report = journal::monthReport(*format, *choice.observer, month->second, month->first,
                                                      observations.value, s.decimalSeparator, k);
  const std::string* target = s.value("--sortie");
  if (!target) {
    s.out.write(report.bytes.data(), static_cast<std::streamsize>(report.bytes.size()));
    return Status::Done;
  }
  // Into a folder, under the name the network expects.
  std::string path = *target;
  if (isFolder(path)) path += (path.ends_with('/') ? "" : "/") + report.fileName;
  if (const std::string reason = writeFileWhole(path, report.bytes); !reason.empty()) {
    s.err << "Le fichier « " << path << " » n'a pas pu être écrit : " << reason << ".\n";
    return Status::Failed;
  }
  s.out << "Rapport enregistré : " << path << '\n';
  return Status::Done;
}

Status saveCopy(const Fields& f, Request& s) {
  if (f.size() != 1) return Status::Usage;
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  if (const journal::Change saved = opened.saveCopy(f[0]); !saved.done()) {
    s.err << saved.error << '\n';
    return Status::Failed;
  }
  s.out << "Copie du journal enregistrée : " << f[0] << '\n';
  return Status::Done;
}

}  // namespace kavrel::cli::logbook
