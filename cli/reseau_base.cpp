// What `kavrel reseau` keeps in the base: the observers (observateurs), the files
// observers send (importer) and SILSO's daily number (silso). Qt-free.
#include <algorithm>
#include <cstdlib>

#include "cli/reseau_request.h"
#include "common/file_bytes.h"
#include "journal/day_form.h"
#include "reseau/overview.h"

namespace kavrel::cli::network {
namespace {

constexpr std::string_view kRoleWithoutAdd = "kavrel : --role se donne avec --ajouter CODE NOM";

}  // namespace

Status listObservers(const Fields& f, Request& s) {
  if (!f.empty()) return Status::Usage;
  if (s.has("--role") && !s.has("--ajouter")) return s.refuse(kRoleWithoutAdd);
  const auto store = s.open();
  if (!store) return Status::Failed;
  if (s.has("--ajouter")) {
    const std::string role = s.has("--role") ? *s.value("--role") : std::string();
    const reseau::Change added = store->addObserver(*s.value("--ajouter", 0), *s.value("--ajouter", 1), role);
    if (!added.done()) return s.failed(added);
    s.out << "Observateur enregistré : " << *s.value("--ajouter", 0)
          << (role.empty() ? std::string() : ", lié au rôle « " + role + " »") << '\n';
    return Status::Done;
  }
  const auto observers = store->observers();
  if (readFailed(observers, s)) return Status::Failed;
  for (const auto& observer : observers.value) {
    s.out << observer.code;
    if (observer.name != observer.code) s.out << " : " << observer.name;
    if (!observer.role.empty()) s.out << " (rôle " << observer.role << ')';
    s.out << '\n';
  }
  s.out << "Observateurs : " << observers.value.size() << '\n';
  return Status::Done;
}

Status importFile(const Fields& f, Request& s) {
  if (f.size() != 1) return Status::Usage;
  const reseau::ImportFile file = reseau::readImportFile(f[0], journal::clockNow().day);
  if (!file.error.empty()) {
    s.err << file.error << '\n';
    return file.unreadable ? Status::Failed : Status::Refused;
  }
  s.out << reseau::readSummary(file) << '\n';
  for (const std::string& line : reseau::refusalLines(file)) s.err << line << '\n';
  const bool partial = s.has("--partiel");
  if (!file.refusals.empty() && !partial) {
    s.err << "Rien n'a été importé : des lignes sont refusées (--partiel importe les autres).\n";
    return Status::Refused;
  }
  const auto store = s.open();
  if (!store) return Status::Failed;
  const char* user = std::getenv("USER");
  const std::string by = !store->role().empty() ? store->role() : user ? user : "";
  const reseau::ImportOutcome outcome = reseau::importFile(*store, file, partial, by, reseau::utcNow());
  if (!outcome.done()) {
    s.err << outcome.message << '\n';
    return outcome.imported.failure == reseau::Change::Failure::NotWritten ? Status::Failed : Status::Refused;
  }
  s.out << outcome.message << '\n';
  return Status::Done;
}

Status importSilso(const Fields& f, Request& s) {
  if (f.size() != 1) return Status::Usage;
  std::string text;
  if (const std::string reason = readFileWhole(f[0], text); !reason.empty()) {
    s.err << "Le fichier « " << f[0] << " » n'a pas pu être lu : " << reason << ".\n";
    return Status::Failed;
  }
  const journal::SilsoFile file = journal::parseSilso(text, journal::SilsoFile::Kind::Total);
  if (!file.error.empty()) {
    s.err << "Le fichier « " << f[0] << " » est refusé, " << file.error << " La base n'a pas été modifiée.\n";
    return Status::Refused;
  }
  const auto store = s.open();
  if (!store) return Status::Failed;
  if (const reseau::Change stored = store->importSilso(file); !stored.done()) return s.failed(stored);
  const auto provisional = std::count_if(file.days.begin(), file.days.end(),
                                         [](const journal::SilsoDay& day) { return !day.definitive; });
  s.out << "Nombres de SILSO importés : " << file.days.size() << " jours, dont " << provisional << " provisoires\n";
  return Status::Done;
}

}  // namespace kavrel::cli::network
