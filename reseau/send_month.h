// An observer's month of a Kavrel journal sent to the network's base, as the Journal
// window's "Envoyer au réseau…" sends it: the month's days as the network's rows
// (from_journal.h), imported in one transaction with the login role of the connection;
// the same month sent twice changes nothing. Qt-free.
#pragma once

#include <string>
#include <vector>

#include "journal/records.h"

namespace kavrel::reseau {

struct MonthSent {
  bool done = false;
  std::string message;
  bool notWritten = false;  // not done for the base's or the machine's sake, not for what was sent  // French: "Mois envoyé au réseau : IVAN, février 2014, 12 jours", or why not
};

// `base` a file or a server's URI; `password` for a server that asks one (may be empty);
// `now` the UTC time of the send ("2026-12-09T07:15:00Z").
[[nodiscard]] MonthSent sendJournalMonth(const std::string& base, const std::string& password,
                                         const std::vector<journal::Observation>& observations,
                                         const journal::Observer& observer, int year, int month,
                                         const std::string& now);

}  // namespace kavrel::reseau
