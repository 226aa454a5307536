// What `kavrel reseau` keeps in the base: the observers (observateurs), the files
// observers send (importer) and SILSO's daily number (silso). Qt-free.
#include <algorithm>
#include <ctime>

#include "cli/reseau_request.h"
#include "common/file_bytes.h"
#include "common/sha256.h"
#include "journal/day_form.h"
#include "journal/journal.h"
#include "reseau/from_journal.h"

namespace kavrel::cli::network {
namespace {

constexpr std::string_view kRoleWithoutAdd = "kavrel : --role se donne avec --ajouter CODE NOM";
constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};

// "2026-12-09T07:15:00Z": now, UTC, to the second.
std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A Kavrel journal's days, every observer's, as the network's rows; the refusal of a
// file that is not a journal in `error`.
std::vector<reseau::TableRow> journalRows(const std::string& path, std::string& error) {
  auto opened = journal::Journal::open(path);
  if (!opened.journal) {
    error = opened.error;
    return {};
  }
  std::vector<reseau::TableRow> rows;
  const auto observers = opened.journal->observers();
  if (!observers.ok()) error = observers.error;
  for (const journal::Observer& observer : observers.value) {
    const auto observations = opened.journal->observationsBetween({1, 1, 1}, {9999, 12, 31}, observer.id);
    if (!observations.ok()) {
      error = observations.error;
      return {};
    }
    auto mine = reseau::rowsOfJournal(observations.value, observer);
    rows.insert(rows.end(), std::make_move_iterator(mine.begin()), std::make_move_iterator(mine.end()));
  }
  return rows;
}

void sayRefusals(const std::vector<reseau::TableRefusal>& refusals, const Request& s) {
  for (const auto& refusal : refusals) s.err << "ligne " << refusal.line << " : " << refusal.message << '\n';
}

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
  std::string bytes;
  if (const std::string reason = readFileWhole(f[0], bytes); !reason.empty()) {
    s.err << "Le fichier « " << f[0] << " » n'a pas pu être lu : " << reason << ".\n";
    return Status::Failed;
  }
  std::vector<reseau::TableRow> rows;
  std::string checksum;
  bool refused = false;
  if (bytes.starts_with(kSqliteMagic)) {
    // Read again through SQLite alone; this process holds no lock on it before.
    bytes.clear();
    std::string error;
    rows = journalRows(f[0], error);
    if (!error.empty()) {
      s.err << "Le fichier « " << f[0] << " » est refusé : " << error << '\n';
      return Status::Refused;
    }
    s.out << "Lu : journal de Kavrel, " << rows.size() << " jours\n";
    checksum = reseau::rowsChecksum(rows);
  } else {
    checksum = sha256Hex(bytes);
    reseau::Table table = reseau::readTable(bytes, journal::clockNow().day);
    bytes.clear();
    s.out << "Lu : " << reseau::kindName(table.kind) << ", " << table.rows.size() << " lignes valables, "
          << table.refusals.size() << " refusées\n";
    if (!table.setAside.empty()) {
      s.out << "Colonnes mises de côté :";
      for (const std::string& name : table.setAside) s.out << ' ' << name;
      s.out << '\n';
    }
    sayRefusals(table.refusals, s);
    refused = !table.refusals.empty();
    rows = std::move(table.rows);
  }
  const auto store = s.open();
  if (!store) return Status::Failed;
  const bool partial = s.has("--partiel");
  if (refused && !partial) {
    s.err << "Rien n'a été importé : des lignes sont refusées (--partiel importe les autres).\n";
    return Status::Refused;
  }
  const char* user = std::getenv("USER");
  const std::string by = !store->role().empty() ? store->role() : user ? user : "";
  const reseau::Imported imported =
      store->importRows({0, fileNameOf(f[0]), checksum, utcNow(), by, static_cast<int>(rows.size())}, rows,
                        partial, refused);
  if (!imported.error.empty()) {
    s.err << imported.error << '\n';
    return imported.failure == reseau::Change::Failure::NotWritten ? Status::Failed : Status::Refused;
  }
  if (imported.alreadyImported) {
    s.out << "Ce fichier a déjà été importé tel quel : rien n'a changé.\n";
    return Status::Done;
  }
  s.out << "Observations importées : " << imported.stored << " ; remplacées : " << imported.replaced << '\n';
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
