// The groups listed by others in the journal (journal.h): table group_records, apart from
// the observer's sunspot_groups, one row per group and day as the file gave it, marked
// with its source ("greenwich", "srs"). A re-import replaces the source's rows of the days
// the file covers, so that a corrected file or an SRS read twice never doubles a group.
// The rows of a day keep the order of their insertion (sorted by time and number), which
// the index on (date, source) gives back without sorting: the butterfly diagram reads
// every row of 150 years.
#include <algorithm>
#include <cstdio>

#include "journal/journal.h"
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

// Not groupSourceName(): the journal's file links no reader.
const char* sourceText(GroupSource source) { return source == GroupSource::Srs ? "srs" : "greenwich"; }

constexpr char kColumns[] =
    "source, date, day_fraction, number, latitude, longitude, central_meridian_distance, area_msh, spots, "
    "classification";

GroupRecord recordOfRow(const Statement& row) {
  GroupRecord record;
  const auto* source = row.rawText(0);
  record.source = source && source[0] == 's' ? GroupSource::Srs : GroupSource::Greenwich;
  record.date = dayOfText(row.view(1));
  record.dayFraction = row.optionalReal(2).value_or(0);
  record.group = row.optionalInteger(3).value_or(0);
  record.latitude = row.optionalReal(4).value_or(0);
  record.longitude = row.optionalReal(5);
  record.centralMeridianDistance = row.optionalReal(6);
  record.areaMsh = row.optionalReal(7);
  record.spots = row.optionalInteger(8);
  record.classification = row.text(9);
  return record;
}

// The rows of a source between two days, in the order they were stored.
int readRecords(sqlite3* db, const char* where, Day first, Day last, const std::optional<GroupSource>& source,
                std::vector<GroupRecord>& records) {
  const std::string query = std::string("SELECT ") + kColumns + " FROM group_records WHERE date BETWEEN ? AND ?" +
                            where + " ORDER BY date, source, id";
  Statement select(db, query.c_str());
  if (source)
    select.bind(dateText(first), dateText(last), std::string(sourceText(*source)));
  else
    select.bind(dateText(first), dateText(last));
  // Counted first, so that 150 years of rows are not moved again at each doubling.
  const std::string counting = std::string("SELECT count(*) FROM group_records WHERE date BETWEEN ? AND ?") + where;
  Statement count(db, counting.c_str());
  if (source)
    count.bind(dateText(first), dateText(last), std::string(sourceText(*source)));
  else
    count.bind(dateText(first), dateText(last));
  int rc = count.step();
  if (rc == SQLITE_ROW) records.reserve(records.size() + static_cast<std::size_t>(count.integer(0)));
  while ((rc = select.step()) == SQLITE_ROW) records.push_back(recordOfRow(select));
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// The source's rows of the days [first, last] replaced by `records`.
int replaceRecords(sqlite3* db, GroupSource source, Day first, Day last, const std::vector<GroupRecord>& records) {
  const std::string name(sourceText(source));
  Statement remove(db, "DELETE FROM group_records WHERE date BETWEEN ? AND ? AND source = ?");
  if (const int rc = remove.bind(dateText(first), dateText(last), name).run(); rc != SQLITE_OK) return rc;
  const std::string sql =
      std::string("INSERT INTO group_records (") + kColumns + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
  Statement insert(db, sql.c_str());
  for (const GroupRecord& r : records) {
    insert.bind(name, dateText(r.date), r.dayFraction, r.group, r.latitude, r.longitude, r.centralMeridianDistance,
                r.areaMsh, r.spots, r.classification);
    if (const int rc = insert.run(); rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

}  // namespace

Change Journal::importGroupRecords(const GroupFile& file) {
  if (!file.error.empty())
    return {"Le fichier de groupes est refusé, ligne " + std::to_string(file.line) + " : " + file.error};
  Day first = file.firstDay;
  Day last = file.lastDay;
  if (first.year == 0 && !file.records.empty()) {
    const auto [earliest, latest] =
        std::minmax_element(file.records.begin(), file.records.end(),
                            [](const GroupRecord& a, const GroupRecord& b) { return a.date < b.date; });
    first = earliest->date;
    last = latest->date;
  }
  if (first.year == 0 || last < first) return {"Le fichier ne contient aucun groupe à importer."};
  const GroupSource source = file.records.empty() ? GroupSource::Srs : file.records.front().source;
  for (const GroupRecord& record : file.records) {
    if (record.source != source) return {"Un fichier de groupes vient d'une seule source."};
    if (record.date < first || record.date > last)
      return {"Un groupe du fichier est daté hors des jours que le fichier couvre."};
  }

  std::vector<GroupRecord> sorted = file.records;
  std::stable_sort(sorted.begin(), sorted.end(), [](const GroupRecord& a, const GroupRecord& b) {
    if (a.date != b.date) return a.date < b.date;
    if (a.dayFraction != b.dayFraction) return a.dayFraction < b.dayFraction;
    return a.group < b.group;
  });
  Problem error = inTransaction(db_, [&]() -> Problem {
    const std::string name(sourceText(source));
    // The ranges the new one holds are dropped, so that importing again keeps one row.
    Statement drop(db_, "DELETE FROM group_days WHERE source = ? AND first_day >= ? AND last_day <= ?");
    Statement cover(db_, "INSERT INTO group_days (source, first_day, last_day) VALUES (?, ?, ?)");
    int rc = replaceRecords(db_, source, first, last, sorted);
    if (rc == SQLITE_OK) rc = drop.bind(name, dateText(first), dateText(last)).run();
    if (rc == SQLITE_OK) rc = cover.bind(name, dateText(first), dateText(last)).run();
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  return {};
}

Read<std::vector<GroupRecord>> Journal::groupRecords(Day first, Day last, std::optional<GroupSource> source) const {
  Read<std::vector<GroupRecord>> read;
  const int rc = readRecords(db_, source ? " AND source = ?" : "", first, last, source, read.value);
  // A file that cannot be read is not an empty one: the records so far are dropped, and
  // the error says why.
  read.error = sql::readFailure(db_, rc);
  if (!read.ok()) read.value.clear();
  return read;
}

Read<bool> Journal::groupDayCovered(Day day, GroupSource source) const {
  Statement select(db_, "SELECT 1 FROM group_days WHERE source = ? AND first_day <= ?2 AND last_day >= ?2 LIMIT 1");
  select.bind(std::string(sourceText(source)), dateText(day));
  const int rc = select.step();
  return {rc == SQLITE_ROW, sql::readFailure(db_, rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc)};
}

}  // namespace kavrel::journal
