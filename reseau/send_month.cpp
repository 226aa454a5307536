// An observer's month sent to the network's base (send_month.h).
#include "reseau/send_month.h"

#include <ctime>

#include "journal/day_form.h"
#include "reseau/from_journal.h"
#include "reseau/store.h"

namespace kavrel::reseau {

MonthSent sendJournalMonth(const std::string& base, const std::string& password,
                           const std::vector<journal::Observation>& observations, const journal::Observer& observer,
                           int year, int month, const std::string& now) {
  const std::string title = journal::monthTitle(year, month);
  const std::vector<TableRow> rows = rowsOfJournal(observations, observer);
  if (rows.empty())
    return {false, "Aucune observation de " + observer.code + " en " + title + " : rien n'a été envoyé."};
  Store::Opened opened = Store::open(base, password);
  if (!opened.store) return {false, opened.error, true};
  const std::string by = opened.store->role().empty() ? observer.code : opened.store->role();
  const Imported sent = opened.store->importRows(
      {0, "journal " + observer.code + " " + title, rowsChecksum(rows), now, by, static_cast<int>(rows.size())}, rows,
      false, false);
  if (!sent.error.empty()) return {false, sent.error, sent.failure == Change::Failure::NotWritten};
  if (sent.alreadyImported) return {true, "Le réseau a déjà ce mois tel quel : rien n'a changé."};
  return {true, "Mois envoyé au réseau : " + observer.code + ", " + title + ", " + std::to_string(sent.stored) +
                    (sent.stored == 1 ? " jour" : " jours")};
}


}  // namespace kavrel::reseau
