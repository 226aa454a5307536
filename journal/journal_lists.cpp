// The observer's own lists of groups in the journal (journal.h): table listed_groups, one
// row per group and observation as the list gave it, under its observer, and
// listed_group_days, the days each observer's lists covered. A re-import replaces the
// observer's groups of the days the list covers, so that a corrected list never doubles a
// group, and leaves the other days and the other observers' as they are.
//
// And the sightings the regions follow (regions.h): one source's groups between two days,
// in time order, each with a Carrington longitude (degrees 0..360), a distance without
// its longitude placed with the precise ephemeris at the group's time (L = L0 + CMD).
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

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
using sql::readFailure;
using sql::Statement;

constexpr char kListedColumns[] =
    "date, day_fraction, time_given, number, noaa_region, latitude, longitude, central_meridian_distance, area_msh, "
    "spots, zurich_class, mcintosh_class";

std::optional<std::string> classText(const std::optional<char>& zurich) {
  if (!zurich) return std::nullopt;
  return std::string(1, *zurich);
}

ListedGroup listedOfRow(const Statement& row) {
  ListedGroup group;
  group.date = dayOfText(row.view(0));
  group.dayFraction = row.optionalReal(1).value_or(0.5);
  group.timeGiven = row.optionalInteger(2).value_or(0) != 0;
  group.number = row.optionalInteger(3);
  group.noaaRegion = row.optionalInteger(4);
  group.latitude = row.optionalReal(5).value_or(0);
  group.longitude = row.optionalReal(6);
  group.centralMeridianDistance = row.optionalReal(7);
  group.areaMsh = row.optionalReal(8);
  group.spots = row.optionalInteger(9);
  if (const std::string_view zurich = row.view(10); zurich.size() == 1) group.zurichClass = zurich[0];
  group.mcintoshClass = row.text(11);
  return group;
}

// The observer's groups and days of the list's days replaced by the list's.
int replaceListed(sqlite3* db, Id observerId, const GroupList& list) {
  Statement dropGroups(db, "DELETE FROM listed_groups WHERE observer_id = ? AND date = ?");
  Statement cover(db, "INSERT OR IGNORE INTO listed_group_days (observer_id, date) VALUES (?, ?)");
  for (const Day& day : list.days) {
    const std::string date = dateText(day);
    if (const int rc = dropGroups.bind(observerId, date).run(); rc != SQLITE_OK) return rc;
    if (const int rc = cover.bind(observerId, date).run(); rc != SQLITE_OK) return rc;
  }
  const std::string sql = std::string("INSERT INTO listed_groups (observer_id, ") + kListedColumns +
                          ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
  Statement insert(db, sql.c_str());
  for (const ListedGroup& g : list.groups) {
    insert.bind(observerId, dateText(g.date), g.dayFraction, g.timeGiven ? 1 : 0, g.number, g.noaaRegion, g.latitude,
                g.longitude, g.centralMeridianDistance, g.areaMsh, g.spots, classText(g.zurichClass), g.mcintoshClass);
    if (const int rc = insert.run(); rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

// The reason a list cannot be stored as it is; empty when it can.
std::string listProblem(const GroupList& list) {
  if (list.days.empty()) return "Le fichier ne contient aucun jour de groupes à importer.";
  for (const ListedGroup& group : list.groups) {
    if (!std::binary_search(list.days.begin(), list.days.end(), group.date))
      return "Un groupe de la liste est daté hors des jours qu'elle couvre.";
    if (!std::isfinite(group.latitude) || std::abs(group.latitude) > 90)
      return "Un groupe de la liste a une latitude hors de -90° à 90°.";
  }
  return {};
}

// The longitudes of distances, the orientation of the disc computed once an instant.
class Placer {
 public:
  std::optional<double> longitude(Day date, double dayFraction, double distance) {
    const std::pair<Day, double> instant{date, dayFraction};
    auto found = centres_.find(instant);
    if (found == centres_.end()) found = centres_.emplace(instant, carringtonOfDistance(date, dayFraction, 0)).first;
    if (!found->second) return std::nullopt;
    double l = std::fmod(*found->second + distance, 360.0);
    if (l < 0) l += 360.0;
    return l >= 360.0 ? 0.0 : l;
  }

 private:
  std::map<std::pair<Day, double>, std::optional<double>> centres_;
};

// A sighting's longitude: its own, else its distance's; false when it has neither.
bool placed(Sighting& sighting, const std::optional<double>& longitude, Placer& placer) {
  if (longitude) {
    sighting.longitude = *longitude;
    return true;
  }
  if (!sighting.centralMeridianDistance) return false;
  const std::optional<double> l =
      placer.longitude(sighting.date, sighting.dayFraction, *sighting.centralMeridianDistance);
  if (l) sighting.longitude = *l;
  return l.has_value();
}

std::string classOf(const std::string& mcintosh, const std::optional<char>& zurich) {
  if (!mcintosh.empty()) return mcintosh;
  return zurich ? std::string(1, *zurich) : std::string();
}

// The groups typed in observations with a place, as sightings.
int readTyped(sqlite3* db, Day first, Day last, std::optional<Id> observer, Placer& placer,
              std::vector<Sighting>& sightings) {
  const std::string query =
      std::string("SELECT o.date, o.time_ut, g.noaa_region, g.hemisphere, g.latitude, g.longitude, "
                  "g.central_meridian_distance, g.zurich_class, g.mcintosh_class, g.spots, g.area_msh "
                  "FROM sunspot_groups g JOIN observations o ON o.id = g.observation_id "
                  "WHERE o.date BETWEEN ? AND ? AND g.latitude IS NOT NULL AND "
                  "(g.longitude IS NOT NULL OR g.central_meridian_distance IS NOT NULL)") +
      (observer ? " AND o.observer_id = ?" : "") + " ORDER BY o.date, o.time_ut, g.number, g.id";
  Statement select(db, query.c_str());
  if (observer)
    select.bind(dateText(first), dateText(last), *observer);
  else
    select.bind(dateText(first), dateText(last));
  int rc;
  while ((rc = select.step()) == SQLITE_ROW) {
    Sighting s;
    s.date = dayOfText(select.view(0));
    const std::optional<TimeOfDay> time = sql::timeOfText(select.view(1));
    s.dayFraction = time ? (time->hour * 60 + time->minute) / 1440.0 : 0.5;
    s.number = select.optionalInteger(2);
    s.latitude = select.optionalReal(4).value_or(0);
    // A southern group typed with an unsigned latitude.
    if (select.view(3) == "S" && s.latitude > 0) s.latitude = -s.latitude;
    s.centralMeridianDistance = select.optionalReal(6);
    const std::string_view zurich = select.view(7);
    s.classification = classOf(select.text(8), zurich.size() == 1 ? std::optional(zurich[0]) : std::nullopt);
    if (const std::optional<int> spots = select.optionalInteger(9); spots && *spots > 0) s.spots = spots;
    s.areaMsh = select.optionalReal(10);
    if (placed(s, select.optionalReal(5), placer)) sightings.push_back(std::move(s));
  }
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// The imported lists' groups, as sightings.
int readListed(sqlite3* db, Day first, Day last, std::optional<Id> observer, Placer& placer,
               std::vector<Sighting>& sightings) {
  const std::string query = std::string("SELECT ") + kListedColumns +
                            " FROM listed_groups WHERE date BETWEEN ? AND ?" +
                            (observer ? " AND observer_id = ?" : "") + " ORDER BY date, day_fraction, number, id";
  Statement select(db, query.c_str());
  if (observer)
    select.bind(dateText(first), dateText(last), *observer);
  else
    select.bind(dateText(first), dateText(last));
  int rc;
  while ((rc = select.step()) == SQLITE_ROW) {
    const ListedGroup g = listedOfRow(select);
    Sighting s;
    s.date = g.date;
    s.dayFraction = g.dayFraction;
    s.latitude = g.latitude;
    s.centralMeridianDistance = g.centralMeridianDistance;
    s.areaMsh = g.areaMsh;
    s.spots = g.spots;
    s.classification = classOf(g.mcintoshClass, g.zurichClass);
    // The list's own number is the observer's of the day, not a region's.
    s.number = g.noaaRegion;
    if (placed(s, g.longitude, placer)) sightings.push_back(std::move(s));
  }
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

Sighting sightingOfRecord(const GroupRecord& record) {
  Sighting s;
  s.date = record.date;
  s.dayFraction = record.dayFraction;
  s.latitude = record.latitude;
  s.centralMeridianDistance = record.centralMeridianDistance;
  s.areaMsh = record.areaMsh;
  s.spots = record.spots;
  s.classification = record.classification;
  if (record.group > 0) s.number = record.group;
  return s;
}

}  // namespace

Change Journal::importGroupList(const GroupList& list, std::string_view observerCode) {
  if (const std::string problem = listProblem(list); !problem.empty()) return {problem};
  Id observerId = 0;
  std::vector<Id> created;
  Problem error = inTransaction(db_, [&]() -> Problem {
    if (Problem refusal = sql::observerOfCode(db_, observerCode, observerId, created); !refusal.empty())
      return refusal;
    const int rc = replaceListed(db_, observerId, list);
    return rc == SQLITE_OK ? Problem() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  return {{}, observerId};
}

Read<std::vector<ListedGroup>> Journal::listedGroups(Day first, Day last, Id observerId) const {
  const std::string query = std::string("SELECT ") + kListedColumns +
                            " FROM listed_groups WHERE observer_id = ? AND date BETWEEN ? AND ? "
                            "ORDER BY date, day_fraction, number, id";
  Statement select(db_, query.c_str());
  select.bind(observerId, dateText(first), dateText(last));
  Read<std::vector<ListedGroup>> read;
  int rc;
  while ((rc = select.step()) == SQLITE_ROW) read.value.push_back(listedOfRow(select));
  read.error = readFailure(db_, rc == SQLITE_DONE ? SQLITE_OK : rc);
  if (!read.ok()) read.value.clear();
  return read;
}

Read<std::vector<Day>> Journal::listedGroupDays(Day first, Day last, Id observerId) const {
  Statement select(db_, "SELECT date FROM listed_group_days WHERE observer_id = ? AND date BETWEEN ? AND ? "
                        "ORDER BY date");
  select.bind(observerId, dateText(first), dateText(last));
  Read<std::vector<Day>> read;
  int rc;
  while ((rc = select.step()) == SQLITE_ROW) read.value.push_back(dayOfText(select.view(0)));
  read.error = readFailure(db_, rc == SQLITE_DONE ? SQLITE_OK : rc);
  if (!read.ok()) read.value.clear();
  return read;
}

Read<std::vector<Sighting>> Journal::sightings(Day first, Day last, RegionSource source,
                                               std::optional<Id> observer) const {
  Read<std::vector<Sighting>> read;
  Placer placer;
  if (source == RegionSource::Observer) {
    int rc = readListed(db_, first, last, observer, placer, read.value);
    if (rc == SQLITE_OK) rc = readTyped(db_, first, last, observer, placer, read.value);
    read.error = readFailure(db_, rc);
  } else {
    const Read<std::vector<GroupRecord>> records =
        groupRecords(first, last, source == RegionSource::Srs ? GroupSource::Srs : GroupSource::Greenwich);
    read.error = records.error;
    read.value.reserve(records.value.size());
    for (const GroupRecord& record : records.value) {
      Sighting s = sightingOfRecord(record);
      if (placed(s, record.longitude, placer)) read.value.push_back(std::move(s));
    }
  }
  if (!read.ok()) {
    read.value.clear();
    return read;
  }
  std::stable_sort(read.value.begin(), read.value.end(), [](const Sighting& a, const Sighting& b) {
    return a.date != b.date ? a.date < b.date : a.dayFraction < b.dayFraction;
  });
  return read;
}

}  // namespace kavrel::journal
