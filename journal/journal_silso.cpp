// SILSO's daily files kept in the journal, and the observer's days paired with them
// (journal.h). Each kind (total, hemispheric) is one series replaced whole by its
// re-import; a day missing in the total file takes the hemispheric file's total.
#include <sqlite3.h>

#include <cstdio>

#include "journal/journal.h"
#include "journal/month.h"
#include "journal/sqlite_support.h"

namespace kavrel::journal {
namespace {

using sql::dateText;
using sql::dayOfText;
using sql::failedChange;
using sql::inTransaction;
using sql::notChanged;
using sql::Problem;
using sql::Statement;

const char* kindName(SilsoFile::Kind kind) { return kind == SilsoFile::Kind::Total ? "total" : "hemispheric"; }

}  // namespace

Change Journal::importSilso(const SilsoFile& file) {
  if (!file.error.empty()) return {file.error};
  if (file.days.empty()) return {"Le fichier ne contient aucun jour."};
  const Problem error = inTransaction(db_, [&]() -> Problem {
    Statement remove(db_, "DELETE FROM silso_days WHERE kind = ?");
    if (const int rc = remove.bind(kindName(file.kind)).run(); rc != SQLITE_OK) return notChanged(db_, rc);
    Statement insert(db_,
                     "INSERT INTO silso_days (kind, date, total, north, south, definitive) VALUES (?, ?, ?, ?, ?, ?)");
    for (const SilsoDay& day : file.days) {
      const int rc = insert.bind(kindName(file.kind), dateText(day.date), day.total, day.north, day.south,
                                 day.definitive ? 1 : 0)
                         .run();
      if (rc != SQLITE_OK) return notChanged(db_, rc);
    }
    return {};
  });
  if (!error.empty()) return failedChange(error);
  return {{}, static_cast<Id>(file.days.size())};
}

Read<std::vector<SilsoDay>> Journal::silsoDays(Day first, Day last) const {
  // Both kinds in date order, the total file's row first: one pass joins them.
  Statement select(db_,
                   "SELECT date, kind, total, north, south, definitive FROM silso_days "
                   "WHERE kind IN ('total', 'hemispheric') AND date BETWEEN ?1 AND ?2 ORDER BY date, kind DESC");
  select.bind(dateText(first), dateText(last));
  Read<std::vector<SilsoDay>> read;
  std::vector<SilsoDay>& days = read.value;
  std::string previous;
  int rc;
  while ((rc = select.step()) == SQLITE_ROW) {
    std::string date = select.text(0);
    const bool total = select.text(1) == "total";
    if (date != previous) {
      SilsoDay day;
      day.date = dayOfText(select.view(0));
      day.total = select.optionalInteger(2);
      day.definitive = select.integer(5) != 0;
      days.push_back(day);
      previous = std::move(date);
    } else if (!days.back().total) {
      days.back().total = select.optionalInteger(2);
    }
    if (!total) {
      days.back().north = select.optionalInteger(3);
      days.back().south = select.optionalInteger(4);
    }
  }
  read.error = sql::readFailure(db_, rc == SQLITE_DONE ? SQLITE_OK : rc);
  return read;
}

Read<std::vector<PairedDay>> Journal::pairedDays(Day first, Day last, Id observerId, Part part) const {
  // A pairing of what could be read would be a k of other days: none, and why.
  const Read<std::vector<Observation>> between = observationsBetween(first, last, observerId);
  if (!between.ok()) return {{}, between.error};
  const Read<std::vector<SilsoDay>> kept = silsoDays(first, last);
  if (!kept.ok()) return {{}, kept.error};
  const std::vector<Observation> observed = observationsOfDays(between.value);
  const std::vector<SilsoDay>& international = kept.value;
  Read<std::vector<PairedDay>> read;
  std::vector<PairedDay>& paired = read.value;
  auto silso = international.begin();
  for (const Observation& day : observed) {
    while (silso != international.end() && silso->date < day.date) ++silso;
    if (silso == international.end()) break;
    if (silso->date != day.date) continue;
    const Tally& counts = day.counts;
    std::optional<int> observer, world;
    switch (part) {
      case Part::Disc:
        observer = relativeNumber(counts.disc);
        world = silso->total;
        break;
      case Part::North:
        if (counts.split()) observer = relativeNumber(*counts.north);
        world = silso->north;
        break;
      case Part::South:
        if (counts.split()) observer = relativeNumber(*counts.south);
        world = silso->south;
        break;
    }
    if (observer && world) paired.push_back({day.date, *observer, *world});
  }
  return read;
}

}  // namespace kavrel::journal
