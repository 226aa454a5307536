// An observer's days of a Kavrel journal as a network's rows: what `kavrel journal
// envoyer`, the Journal window's "Envoyer au réseau…" and the import of a journal file
// send. One row per day (the day's observation as the Journal's reports choose it), the
// seeing (1..5) as the quality, the instrument as the observer's aperture and focal
// length; and a fingerprint of the rows, by which the base knows a month sent twice.
#pragma once

#include <string>
#include <vector>

#include "journal/records.h"
#include "reseau/table.h"

namespace kavrel::reseau {

// `observations` of `observer`, any order, several a day allowed.
[[nodiscard]] std::vector<TableRow> rowsOfJournal(const std::vector<journal::Observation>& observations,
                                                  const journal::Observer& observer);

// "R 150/2250 projection": aperture/focal length in mm and method, as far as known; empty
// when nothing is.
[[nodiscard]] std::string instrumentOf(const journal::Observer& observer);

// SHA-256 of the rows written as text, one per line, in their order.
[[nodiscard]] std::string rowsChecksum(const std::vector<TableRow>& rows);

}  // namespace kavrel::reseau
