// kavrel journal envoyer: the observer's month sent to their network's base, a file or a
// shared server where the observer's login role may write only their own days. The
// month's days replace what the base held of that observer's month; sent twice, the
// same month changes nothing. Qt-free.
#include "cli/journal_runs.h"

#include "journal/day_form.h"
#include "reseau/from_journal.h"
#include "reseau/store.h"

#include <ctime>

namespace kavrel::cli::logbook {
namespace {

constexpr std::string_view kNoNetwork =
    "kavrel : choisissez la base du réseau, --reseau B (un fichier ou postgresql://…)";

std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

}  // namespace

Status sendMonth(const Fields& f, Request& s) {
  if (f.size() != 2) return Status::Usage;
  const std::string* network = s.value("--reseau");
  if (!network || network->empty()) return s.refuse(kNoNetwork);
  const auto month = monthOf(f, s);
  if (!month) return Status::Refused;
  const auto session = s.open();
  if (!session) return Status::Failed;
  const ObserverChoice choice = chooseObserver(*session, s);
  if (choice.refused) return choice.status;
  if (!choice.observer) return s.refuse(kNoObserver);
  const auto observations =
      session->journal().monthObservations(month->second, month->first, choice.observer->id);
  if (readFailed(observations, s)) return Status::Failed;
  const std::string title = journal::monthTitle(month->second, month->first);
  const auto rows = reseau::rowsOfJournal(observations.value, *choice.observer);
  if (rows.empty()) {
    s.err << "Aucune observation de " << choice.observer->code << " en " << title << " : rien n'a été envoyé.\n";
    return Status::Refused;
  }
  reseau::Store::Opened opened = reseau::Store::open(*network);
  if (!opened.store) {
    s.err << opened.error << '\n';
    return Status::Failed;
  }
  const std::string by = opened.store->role().empty() ? choice.observer->code : opened.store->role();
  const std::string name = "journal " + choice.observer->code + " " + title;
  const reseau::Imported sent = opened.store->importRows(
      {0, name, reseau::rowsChecksum(rows), utcNow(), by, static_cast<int>(rows.size())}, rows, false, false);
  if (!sent.error.empty()) {
    s.err << sent.error << '\n';
    return sent.failure == reseau::Change::Failure::NotWritten ? Status::Failed : Status::Refused;
  }
  if (sent.alreadyImported)
    s.out << "Le réseau a déjà ce mois tel quel : rien n'a changé.\n";
  else
    s.out << "Mois envoyé au réseau : " << choice.observer->code << ", " << title << ", " << sent.stored
          << (sent.stored == 1 ? " jour\n" : " jours\n");
  return Status::Done;
}

}  // namespace kavrel::cli::logbook
