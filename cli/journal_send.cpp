// kavrel journal envoyer: the observer's month sent to their network's base, a file or a
// shared server where the observer's login role may write only their own days; the same
// send as the Journal window's (reseau/send_month.h). Qt-free.
#include "cli/journal_runs.h"

#include "reseau/send_month.h"
#include "reseau/store.h"

namespace kavrel::cli::logbook {
namespace {

constexpr std::string_view kNoNetwork =
    "kavrel : choisissez la base du réseau, --reseau B (un fichier ou postgresql://…)";

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
  const reseau::MonthSent sent = reseau::sendJournalMonth(*network, {}, observations.value, *choice.observer,
                                                          month->second, month->first, reseau::utcNow());
  (sent.done ? s.out : s.err) << sent.message << '\n';
  if (sent.done) return Status::Done;
  return sent.notWritten ? Status::Failed : Status::Refused;
}

}  // namespace kavrel::cli::logbook
