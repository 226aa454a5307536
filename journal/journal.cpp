// The observer's log in one SQLite file (journal.h).
//
// The file's layout is the list of migrations below, applied in order up to the version
// in PRAGMA user_version; a new table is a new step, never an edit of an old one. The
// counts are stored as typed: north and south, or the disc alone, never R nor a sum.
// Dates are text (2014-02-03) and times UT text (09:05), so that the file reads well in
// any SQLite tool and sorts by date as it is.
#include "journal/journal.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>
#include <utility>

#include "common/calendar_date.h"
#include "journal/checks.h"
#include "journal/sqlite_support.h"

namespace kavrel::journal {
namespace {

using sql::execute;
using sql::dateText;
using sql::dayOfText;
using sql::timeOfText;
using sql::timeText;
using sql::failedChange;
using sql::inTransaction;
using sql::kBusyTimeoutMs;
using sql::notChanged;
using sql::Problem;
using sql::queryInteger;
using sql::readFailure;
using sql::sqliteReason;
using sql::Statement;

// "KvJr": a file with another application id belongs to another program.
constexpr int kApplicationId = 0x4B764A72;


struct Migration {
  int version;  // user_version once the step is applied
  const char* sql;
};

// Each step takes the file from the previous version to its own. The imported series of
// the networks will come as new tables in a new step.
constexpr Migration kMigrations[] = {
    {1, R"sql(
CREATE TABLE observers (
  id INTEGER PRIMARY KEY,
  code TEXT NOT NULL UNIQUE CHECK (length(code) > 0),
  name TEXT NOT NULL,
  aperture_mm INTEGER,
  focal_length_mm INTEGER,
  method TEXT CHECK (method IN ('projection', 'filter', 'photograph'))
);
CREATE TABLE observations (
  id INTEGER PRIMARY KEY,
  date TEXT NOT NULL CHECK (date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  time_ut TEXT NOT NULL CHECK (time_ut GLOB '[0-9][0-9]:[0-9][0-9]'),
  observer_id INTEGER NOT NULL REFERENCES observers(id),
  seeing INTEGER CHECK (seeing BETWEEN 1 AND 5),
  transparency INTEGER CHECK (transparency BETWEEN 1 AND 5),
  remarks TEXT NOT NULL DEFAULT '',
  g_north INTEGER, f_north INTEGER, g_south INTEGER, f_south INTEGER,
  g_disc INTEGER, f_disc INTEGER,
  chosen INTEGER NOT NULL DEFAULT 0 CHECK (chosen IN (0, 1)),
  CHECK ((g_north IS NOT NULL AND f_north IS NOT NULL AND g_south IS NOT NULL AND f_south IS NOT NULL
          AND g_disc IS NULL AND f_disc IS NULL)
      OR (g_north IS NULL AND f_north IS NULL AND g_south IS NULL AND f_south IS NULL
          AND g_disc IS NOT NULL AND f_disc IS NOT NULL))
);
-- An observer makes one observation a minute; the index also serves an observer's month.
CREATE UNIQUE INDEX observations_by_observer ON observations (observer_id, date, time_ut);
CREATE INDEX observations_by_date ON observations (date, time_ut);
-- Neither CHECK nor NOT NULL here: PRAGMA quick_check evaluates them row by row, which at
-- 200,000 groups was most of the time to open a journal; the engine checks a group and
-- writes every column before storing it, and reads an empty column as its default.
CREATE TABLE sunspot_groups (
  id INTEGER PRIMARY KEY,
  observation_id INTEGER REFERENCES observations(id) ON DELETE CASCADE,
  number INTEGER,
  noaa_region INTEGER,
  hemisphere TEXT,  -- N, S
  latitude REAL,
  longitude REAL,
  central_meridian_distance REAL,
  zurich_class TEXT,
  mcintosh_class TEXT,
  spots INTEGER,
  area_msh REAL,
  origin TEXT  -- typed, drawing, photograph
);
CREATE INDEX sunspot_groups_by_observation ON sunspot_groups (observation_id, number);
)sql"},
    // SILSO's daily international number, each file kept whole under its kind; the
    // hemispheric file's total stays apart from the total file's, whose values SILSO
    // revises on another schedule.
    {2, R"sql(
CREATE TABLE silso_days (
  kind TEXT NOT NULL,  -- total, hemispheric
  date TEXT NOT NULL,
  total INTEGER,       -- NULL: missing in the file
  north INTEGER,
  south INTEGER,
  definitive INTEGER NOT NULL,  -- 0: provisional
  PRIMARY KEY (kind, date)
) WITHOUT ROWID;
)sql"},
    // Groups listed by others (journal_groups.cpp), one row per group and day; no
    // constraints, for the reason above.
    {3, R"sql(
CREATE TABLE group_records (
  id INTEGER PRIMARY KEY,
  source TEXT,  -- greenwich, srs
  date TEXT,    -- the day described, 2014-02-03
  day_fraction REAL,
  number INTEGER,
  latitude REAL,
  longitude REAL,
  central_meridian_distance REAL,
  area_msh REAL,
  spots INTEGER,
  classification TEXT
);
CREATE INDEX group_records_by_date ON group_records (date, source);
-- The days each source's imported files covered, so that a day without groups (an SRS
-- saying "None") reads as a day of none, not as a day never imported.
CREATE TABLE group_days (
  source TEXT,
  first_day TEXT,
  last_day TEXT
);
)sql"},
    // The k each observer chose, kept with the observer so that it follows the journal,
    // not the program that showed it; NULL: none chosen.
    {4, R"sql(
ALTER TABLE observers ADD COLUMN chosen_k REAL CHECK (chosen_k IS NULL OR chosen_k > 0);
)sql"},
    // The days an observer did not observe, each with its remark (the weather): one per
    // observer and day, and never a day of the same observer's observation (the engine
    // takes the mark away when an observation comes).
    {5, R"sql(
CREATE TABLE unobserved_days (
  id INTEGER PRIMARY KEY,
  date TEXT NOT NULL CHECK (date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  time_ut TEXT CHECK (time_ut GLOB '[0-9][0-9]:[0-9][0-9]'),
  observer_id INTEGER NOT NULL REFERENCES observers(id),
  remarks TEXT NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX unobserved_days_by_observer ON unobserved_days (observer_id, date);
CREATE INDEX unobserved_days_by_date ON unobserved_days (date);
)sql"},
    // The observer's own lists of groups (journal_lists.cpp), one row per group and
    // observation, apart from the groups typed in observations and from the records of
    // others; a group of a list needs no observation of its day. The days each observer's
    // lists covered, with groups or without, so that a re-import replaces them. No
    // constraints but the observer's, for the reason above.
    {6, R"sql(
CREATE TABLE listed_groups (
  id INTEGER PRIMARY KEY,
  observer_id INTEGER REFERENCES observers(id),
  date TEXT,
  day_fraction REAL,   -- UT; the observer's usual hour where the list gave no time
  time_given INTEGER,  -- 1: the list gave the time
  number INTEGER,      -- the observer's own, as the list wrote it
  noaa_region INTEGER,
  latitude REAL,
  longitude REAL,
  central_meridian_distance REAL,
  area_msh REAL,
  spots INTEGER,
  zurich_class TEXT,
  mcintosh_class TEXT
);
CREATE INDEX listed_groups_by_observer ON listed_groups (observer_id, date);
CREATE TABLE listed_group_days (
  observer_id INTEGER REFERENCES observers(id),
  date TEXT,
  PRIMARY KEY (observer_id, date)
) WITHOUT ROWID;
)sql"},
};
constexpr int kSchemaVersion = kMigrations[std::size(kMigrations) - 1].version;

constexpr char kNotAJournal[] = "Ce fichier n'est pas un journal de Kavrel";
constexpr char kGone[] = "Cette observation n'est plus dans le journal.";

std::string joined(const std::vector<std::string>& lines, const char* separator) {
  std::string text;
  for (const auto& line : lines) text += (text.empty() ? "" : separator) + line;
  return text;
}


// ---------------------------------------------------------------------------------------
// Rows and values.

constexpr char kObservationColumns[] =
    "id, date, time_ut, observer_id, seeing, transparency, remarks, g_north, f_north, g_south, f_south, g_disc, "
    "f_disc, chosen";

Observation observationOfRow(const Statement& row) {
  Observation observation;
  observation.id = row.integer(0);
  observation.date = dayOfText(row.view(1));
  observation.time = timeOfText(row.view(2)).value_or(TimeOfDay{});
  observation.observerId = row.integer(3);
  observation.seeing = row.optionalInteger(4);
  observation.transparency = row.optionalInteger(5);
  observation.remarks = row.text(6);
  const auto gNorth = row.optionalInteger(7);
  if (gNorth)
    observation.counts = Tally::of({*gNorth, row.optionalInteger(8).value_or(0)},
                                   {row.optionalInteger(9).value_or(0), row.optionalInteger(10).value_or(0)});
  else
    observation.counts = Tally::wholeDisc({row.optionalInteger(11).value_or(0), row.optionalInteger(12).value_or(0)});
  observation.chosenForDay = row.integer(13) != 0;
  return observation;
}

// The columns of an observation but its id, in the order of kInsertObservation and
// kUpdateObservation, whose last parameter is the id.
auto observationValues(const Observation& o) {
  const bool split = o.counts.split();
  const auto part = [&](const std::optional<Counts>& counts, bool groups) -> std::optional<int> {
    if (!split || !counts) return std::nullopt;
    return groups ? counts->groups : counts->spots;
  };
  return std::tuple{dateText(o.date),
                    timeText(o.time),
                    o.observerId,
                    o.seeing,
                    o.transparency,
                    o.remarks,
                    part(o.counts.north, true),
                    part(o.counts.north, false),
                    part(o.counts.south, true),
                    part(o.counts.south, false),
                    split ? std::nullopt : std::optional<int>(o.counts.disc.groups),
                    split ? std::nullopt : std::optional<int>(o.counts.disc.spots),
                    o.chosenForDay ? 1 : 0};
}
constexpr char kInsertObservation[] =
    "INSERT INTO observations (date, time_ut, observer_id, seeing, transparency, remarks, g_north, f_north, g_south, "
    "f_south, g_disc, f_disc, chosen, id) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
constexpr char kUpdateObservation[] =
    "UPDATE observations SET date = ?, time_ut = ?, observer_id = ?, seeing = ?, transparency = ?, remarks = ?, "
    "g_north = ?, f_north = ?, g_south = ?, f_south = ?, g_disc = ?, f_disc = ?, chosen = ? WHERE id = ?";

// Binds the observation's columns, then its id (none: SQLite chooses one).
void bindObservation(Statement& statement, const Observation& o) {
  std::apply([&](const auto&... values) { statement.bind(values..., o.id ? std::optional<Id>(o.id) : std::nullopt); },
             observationValues(o));
}

// Inserts the observation, under its own id when it has one; `id` is the one stored.
int insertObservation(sqlite3* db, const Observation& o, Id& id) {
  Statement insert(db, kInsertObservation);
  bindObservation(insert, o);
  const int rc = insert.run();
  if (rc == SQLITE_OK) id = sqlite3_last_insert_rowid(db);
  return rc;
}

// Every column but the id set anew: the row stays, and with it its groups.
int updateObservationRow(sqlite3* db, const Observation& o) {
  Statement update(db, kUpdateObservation);
  bindObservation(update, o);
  return update.run();
}

// The readings below leave in `status` SQLITE_OK when they read to the end (found or
// not), else the failure, so that a file that cannot be read is not taken for an empty one.
int readStatus(int rc) { return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc; }

std::optional<Observation> readObservation(sqlite3* db, Id id, int& status) {
  Statement select(db, (std::string("SELECT ") + kObservationColumns + " FROM observations WHERE id = ?").c_str());
  select.bind(id);
  const int rc = select.step();
  status = readStatus(rc);
  if (rc != SQLITE_ROW) return std::nullopt;
  return observationOfRow(select);
}

constexpr char kUnobservedColumns[] = "id, date, time_ut, observer_id, remarks";

UnobservedDay unobservedOfRow(const Statement& row) {
  UnobservedDay day;
  day.id = row.integer(0);
  day.date = dayOfText(row.view(1));
  day.time = timeOfText(row.view(2));
  day.observerId = row.integer(3);
  day.remarks = row.text(4);
  return day;
}

// Inserts the day, under its own id when it has one; `id` is the one stored.
int insertUnobserved(sqlite3* db, const UnobservedDay& d, Id& id) {
  Statement insert(db, "INSERT INTO unobserved_days (date, time_ut, observer_id, remarks, id) VALUES (?,?,?,?,?)");
  insert.bind(dateText(d.date), d.time ? std::optional<std::string>(timeText(*d.time)) : std::nullopt, d.observerId,
              d.remarks, d.id ? std::optional<Id>(d.id) : std::nullopt);
  const int rc = insert.run();
  if (rc == SQLITE_OK) id = sqlite3_last_insert_rowid(db);
  return rc;
}

int updateUnobservedRow(sqlite3* db, const UnobservedDay& d) {
  Statement update(db, "UPDATE unobserved_days SET date = ?, time_ut = ?, observer_id = ?, remarks = ? WHERE id = ?");
  update.bind(dateText(d.date), d.time ? std::optional<std::string>(timeText(*d.time)) : std::nullopt, d.observerId,
              d.remarks, d.id);
  return update.run();
}

std::optional<UnobservedDay> readUnobserved(sqlite3* db, Id id, int& status) {
  Statement select(db, (std::string("SELECT ") + kUnobservedColumns + " FROM unobserved_days WHERE id = ?").c_str());
  select.bind(id);
  const int rc = select.step();
  status = readStatus(rc);
  if (rc != SQLITE_ROW) return std::nullopt;
  return unobservedOfRow(select);
}

// The days not observed that observations stored take away, its statements prepared once
// for an import's thousands of rows.
class MarkTaker {
 public:
  explicit MarkTaker(sqlite3* db)
      : select_(db, (std::string("SELECT ") + kUnobservedColumns +
                     " FROM unobserved_days WHERE observer_id = ? AND date = ?").c_str()),
        remove_(db, "DELETE FROM unobserved_days WHERE id = ?") {}

  // The observer's day not observed on `date` taken away; `removed` keeps it for undo
  // (none when the day had no mark).
  int take(Id observerId, Day date, std::optional<UnobservedDay>& removed) {
    const int rc = select_.bind(observerId, dateText(date)).step();
    if (rc == SQLITE_DONE) return SQLITE_OK;
    if (rc != SQLITE_ROW) return rc;
    removed = unobservedOfRow(select_);
    return remove_.bind(removed->id).run();
  }

 private:
  Statement select_;
  Statement remove_;
};

// A mark taken away given back when its observation is undone, unless the day has been
// observed or marked again since (by another program on the same journal).
int restoreMark(sqlite3* db, const std::optional<UnobservedDay>& mark) {
  if (!mark) return SQLITE_OK;
  Statement insert(db,
                   "INSERT OR IGNORE INTO unobserved_days (id, date, time_ut, observer_id, remarks) "
                   "SELECT ?1, ?2, ?3, ?4, ?5 WHERE NOT EXISTS "
                   "(SELECT 1 FROM observations WHERE observer_id = ?4 AND date = ?2)");
  insert.bind(mark->id, dateText(mark->date),
              mark->time ? std::optional<std::string>(timeText(*mark->time)) : std::nullopt, mark->observerId,
              mark->remarks);
  return insert.run();
}

const char* methodText(Method method) {
  switch (method) {
    case Method::Projection: return "projection";
    case Method::FilterView: return "filter";
    case Method::Photograph: return "photograph";
    case Method::Unknown: break;
  }
  return nullptr;
}

Method methodOf(const std::string& text) {
  if (text == "projection") return Method::Projection;
  if (text == "filter") return Method::FilterView;
  if (text == "photograph") return Method::Photograph;
  return Method::Unknown;
}

constexpr char kObserverColumns[] = "id, code, name, aperture_mm, focal_length_mm, method, chosen_k";

Observer observerOfRow(const Statement& row) {
  return {row.integer(0),          row.text(1),           row.text(2),        row.optionalInteger(3),
          row.optionalInteger(4), methodOf(row.text(5)), row.optionalReal(6)};
}

std::optional<Observer> readObserver(sqlite3* db, const char* where, const auto& key, int& status) {
  Statement select(db, (std::string("SELECT ") + kObserverColumns + " FROM observers WHERE " + where).c_str());
  select.bind(key);
  const int rc = select.step();
  status = readStatus(rc);
  if (rc != SQLITE_ROW) return std::nullopt;
  return observerOfRow(select);
}
std::optional<Observer> readObserver(sqlite3* db, const char* where, const auto& key) {
  int status = SQLITE_OK;
  return readObserver(db, where, key, status);
}

// The chosen k is left out: it changes by setChosenK alone, so that an observer's name
// changed meanwhile, or its change undone, never takes a k back.
int writeObserver(sqlite3* db, const Observer& o, bool insert, Id& id) {
  Statement statement(db, insert ? "INSERT INTO observers (code, name, aperture_mm, focal_length_mm, method, id) "
                                   "VALUES (?,?,?,?,?,?)"
                                 : "UPDATE observers SET code = ?, name = ?, aperture_mm = ?, focal_length_mm = ?, "
                                   "method = ? WHERE id = ?");
  const char* method = methodText(o.method);
  statement.bind(o.code, o.name.empty() ? o.code : o.name, o.apertureMm, o.focalLengthMm,
                 method ? std::optional<std::string>(method) : std::nullopt,
                 o.id ? std::optional<Id>(o.id) : std::nullopt);
  const int rc = statement.run();
  if (rc == SQLITE_OK) id = insert ? sqlite3_last_insert_rowid(db) : o.id;
  return rc;
}

std::vector<std::string> checkObserver(const Observer& observer) {
  std::vector<std::string> problems;
  if (observer.code.find_first_not_of(" \t") == std::string::npos)
    problems.push_back("Code : donnez le code de l'observateur.");
  if (observer.apertureMm && *observer.apertureMm <= 0)
    problems.push_back("Ouverture : un nombre entier positif de millimètres.");
  if (observer.focalLengthMm && *observer.focalLengthMm <= 0)
    problems.push_back("Focale : un nombre entier positif de millimètres.");
  return problems;
}

constexpr char kGroupColumns[] =
    "id, observation_id, number, noaa_region, hemisphere, latitude, longitude, central_meridian_distance, "
    "zurich_class, mcintosh_class, spots, area_msh, origin";

const char* originText(GroupOrigin origin) {
  switch (origin) {
    case GroupOrigin::Drawing: return "drawing";
    case GroupOrigin::Photograph: return "photograph";
    case GroupOrigin::Typed: break;
  }
  return "typed";
}

Group groupOfRow(const Statement& row) {
  Group group;
  group.id = row.integer(0);
  group.observationId = row.integer(1);
  group.number = static_cast<int>(row.integer(2));
  group.noaaRegion = row.optionalInteger(3);
  group.hemisphere = row.text(4) == "S" ? Hemisphere::South : Hemisphere::North;
  group.latitude = row.optionalReal(5);
  group.longitude = row.optionalReal(6);
  group.centralMeridianDistance = row.optionalReal(7);
  const std::string zurich = row.text(8);
  if (!zurich.empty()) group.zurichClass = zurich[0];
  group.mcintoshClass = row.text(9);
  group.spots = static_cast<int>(row.integer(10));
  group.areaMsh = row.optionalReal(11);
  const std::string origin = row.text(12);
  group.origin = origin == "drawing"      ? GroupOrigin::Drawing
                 : origin == "photograph" ? GroupOrigin::Photograph
                                          : GroupOrigin::Typed;
  return group;
}

int writeGroup(sqlite3* db, const Group& g, bool insert, Id& id) {
  Statement statement(db, insert ? "INSERT INTO sunspot_groups (observation_id, number, noaa_region, hemisphere, "
                                   "latitude, longitude, central_meridian_distance, zurich_class, mcintosh_class, "
                                   "spots, area_msh, origin, id) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"
                                 : "UPDATE sunspot_groups SET observation_id = ?, number = ?, noaa_region = ?, "
                                   "hemisphere = ?, latitude = ?, longitude = ?, central_meridian_distance = ?, "
                                   "zurich_class = ?, mcintosh_class = ?, spots = ?, area_msh = ?, origin = ? "
                                   "WHERE id = ?");
  statement.bind(g.observationId, g.number, g.noaaRegion, g.hemisphere == Hemisphere::South ? "S" : "N", g.latitude,
                 g.longitude, g.centralMeridianDistance,
                 g.zurichClass ? std::optional<std::string>(std::string(1, *g.zurichClass)) : std::nullopt,
                 g.mcintoshClass, g.spots, g.areaMsh, originText(g.origin),
                 g.id ? std::optional<Id>(g.id) : std::nullopt);
  const int rc = statement.run();
  if (rc == SQLITE_OK) id = insert ? sqlite3_last_insert_rowid(db) : g.id;
  return rc;
}

std::vector<Group> readGroups(sqlite3* db, Id observationId, int& status) {
  Statement select(db, (std::string("SELECT ") + kGroupColumns +
                        " FROM sunspot_groups WHERE observation_id = ? ORDER BY number, id")
                           .c_str());
  select.bind(observationId);
  std::vector<Group> groups;
  int rc;
  while ((rc = select.step()) == SQLITE_ROW) groups.push_back(groupOfRow(select));
  status = readStatus(rc);
  return groups;
}

std::optional<Group> readGroup(sqlite3* db, Id id, int& status) {
  Statement select(db, (std::string("SELECT ") + kGroupColumns + " FROM sunspot_groups WHERE id = ?").c_str());
  select.bind(id);
  const int rc = select.step();
  status = readStatus(rc);
  if (rc != SQLITE_ROW) return std::nullopt;
  return groupOfRow(select);
}

// What a change says when what it changes cannot be found: gone, or unreadable.
Problem missing(sqlite3* db, int status, const char* gone) {
  return status == SQLITE_OK ? std::string(gone) : notChanged(db, status);
}

// The observer of a new observation: the one of that code, created when new (its id is
// then added to `created`); without a code, `given` when set, else the journal's only
// observer, else a new "OBS". Empty when found, else the message.
Problem observerFor(sqlite3* db, std::string_view code, Id given, Id& id, std::vector<Id>& created) {
  if (code.empty() && given) {
    if (!readObserver(db, "id = ?", given)) return "Observateur : il n'est plus dans le journal.";
    id = given;
    return {};
  }
  std::string wanted(code);
  if (wanted.empty()) {
    Id count = 0;
    if (const int rc = queryInteger(db, "SELECT count(*) FROM observers", count); rc != SQLITE_OK)
      return notChanged(db, rc);
    if (count > 1) return "Observateur : le journal en tient plusieurs ; donnez le code de celui qui a observé.";
    if (count == 1) {
      Id only = 0;
      const int rc = queryInteger(db, "SELECT id FROM observers", only);
      if (rc != SQLITE_OK) return notChanged(db, rc);
      id = only;
      return {};
    }
    wanted = "OBS";
  }
  if (auto known = readObserver(db, "code = ?", wanted)) {
    id = known->id;
    return {};
  }
  Observer observer;
  observer.code = wanted;
  observer.name = wanted;
  if (const int rc = writeObserver(db, observer, true, id); rc != SQLITE_OK) return notChanged(db, rc);
  created.push_back(id);
  return {};
}

std::string observerName(sqlite3* db, Id id) {
  auto observer = readObserver(db, "id = ?", id);
  return observer ? observer->code : "?";
}

std::string duplicateMessage(sqlite3* db, const Observation& o) {
  return "Heure TU : " + observerName(db, o.observerId) + " a déjà une observation le " + dayText(o.date) + " à " +
         timeText(o.time) + ".";
}

// Why a day cannot be marked not observed: its observer has an observation that day, or
// has marked it already. Empty when it may be, else the message (or the failure to read).
Problem unobservedRefusal(sqlite3* db, const UnobservedDay& d) {
  Statement observed(db, "SELECT count(*) FROM observations WHERE observer_id = ? AND date = ?");
  int rc = observed.bind(d.observerId, dateText(d.date)).step();
  if (rc != SQLITE_ROW) return notChanged(db, rc == SQLITE_DONE ? SQLITE_ERROR : rc);
  if (observed.integer(0) > 0)
    return "Date : " + observerName(db, d.observerId) + " a une observation le " + dayText(d.date) +
           " ; ce jour ne peut être sans observation.";
  Statement marked(db, "SELECT count(*) FROM unobserved_days WHERE observer_id = ? AND date = ? AND id IS NOT ?");
  rc = marked.bind(d.observerId, dateText(d.date), d.id).step();
  if (rc != SQLITE_ROW) return notChanged(db, rc == SQLITE_DONE ? SQLITE_ERROR : rc);
  if (marked.integer(0) > 0)
    return "Date : le " + dayText(d.date) + " est déjà un jour sans observation de " + observerName(db, d.observerId) +
           ".";
  return {};
}

// A row taken back by undo, inserted under its own id, or under a new one where another
// program's row took that id meanwhile (SQLite gives a freed id again); `id` is the one
// stored.
template <class Row, class Insert>
int insertBack(sqlite3* db, Row row, Id& id, Insert insert) {
  int rc = insert(db, row, id);
  if (rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
    row.id = 0;
    rc = insert(db, row, id);
  }
  return rc;
}

// Observers created for an undone change, unless another observation or day not observed
// took them since.
int removeCreatedObservers(sqlite3* db, const std::vector<Id>& created) {
  Statement remove(db,
                   "DELETE FROM observers WHERE id = ? AND NOT EXISTS "
                   "(SELECT 1 FROM observations WHERE observer_id = observers.id) AND NOT EXISTS "
                   "(SELECT 1 FROM unobserved_days WHERE observer_id = observers.id) AND NOT EXISTS "
                   "(SELECT 1 FROM listed_group_days WHERE observer_id = observers.id)");
  for (Id id : created)
    if (const int rc = remove.bind(id).run(); rc != SQLITE_OK) return rc;
  return SQLITE_OK;
}

// The path as an SQLite URI, for the options only a URI can give.
std::string uriOf(const std::string& path, const char* query) {
  std::string uri = "file:";
  std::error_code ignored;  // a relative path stays relative, which SQLite resolves alike
  const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
  for (unsigned char c : (absolute.empty() ? std::filesystem::path(path) : absolute).string()) {
    if (c == '%' || c == '?' || c == '#' || c < 0x20) {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      uri += escaped;
    } else {
      uri += static_cast<char>(c);
    }
  }
  return uri + "?" + query;
}

struct Inspection {
  int rc = SQLITE_OK;
  Id applicationId = 0;
  Id version = 0;
  Id objects = 0;
  // No table nor stamp yet: a file SQLite has just created, or an empty one.
  [[nodiscard]] bool fresh() const noexcept { return applicationId == 0 && objects == 0 && version == 0; }
};

// Read in one transaction, so that a journal another program is creating is seen either
// empty or whole.
Inspection inspect(sqlite3* db) {
  Inspection seen;
  const bool own = sqlite3_get_autocommit(db) != 0;
  if (own) seen.rc = execute(db, "BEGIN");
  if (seen.rc == SQLITE_OK) seen.rc = queryInteger(db, "PRAGMA application_id", seen.applicationId);
  if (seen.rc == SQLITE_OK) seen.rc = queryInteger(db, "PRAGMA user_version", seen.version);
  if (seen.rc == SQLITE_OK) seen.rc = queryInteger(db, "SELECT count(*) FROM sqlite_schema", seen.objects);
  if (own && !sqlite3_get_autocommit(db)) execute(db, "COMMIT");
  return seen;
}

// The migrations from the file's version to ours, in one transaction; the version is
// read again under the lock, in case another program migrated it meanwhile.
Problem migrate(sqlite3* db) {
  return inTransaction(db, [&]() -> Problem {
    const Inspection seen = inspect(db);
    if (seen.rc != SQLITE_OK) return notChanged(db, seen.rc);
    if (seen.applicationId != kApplicationId && (seen.applicationId != 0 || seen.objects != 0))
      return std::string(kNotAJournal) + " : c'est une base SQLite d'un autre programme.";
    for (const Migration& step : kMigrations) {
      if (step.version <= seen.version) continue;
      if (const int rc = execute(db, step.sql); rc != SQLITE_OK) return notChanged(db, rc);
    }
    const std::string stamp = "PRAGMA application_id = " + std::to_string(kApplicationId) +
                              "; PRAGMA user_version = " + std::to_string(kSchemaVersion);
    if (const int rc = execute(db, stamp.c_str()); rc != SQLITE_OK) return notChanged(db, rc);
    return {};
  });
}

// The folder of the journal at `path`, as the user would look for it.
std::string folderOf(const std::string& path) {
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
  return (absolute.empty() ? std::filesystem::path(path) : absolute).parent_path().string();
}

// 0 when this process may write `name`, else why not (EROFS, EACCES…); asks the system,
// opens nothing.
int writeRefusal(const std::string& name) {
  return ::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

// Why a journal that could not be created was not: its folder, rather than what SQLite's
// last attempt (a read-only one) left in errno, which says the file does not exist.
std::string creationRefusal(const std::string& path, sqlite3* db, int rc) {
  const std::string folder = folderOf(path);
  if (const int error = writeRefusal(folder); error != 0 && error != ENOENT)
    return "Impossible de créer le journal " + path + " : son dossier " + folder + " ne peut être écrit (" +
           sql::fileErrorReason(error) + ").";
  return "Impossible de créer le journal " + path + " : " + sqliteReason(db, rc) + ".";
}

// SQLite's answer when a WAL journal's -wal and -shm files cannot be made or written.
bool cannotShare(int rc) { return (rc & 0xff) == SQLITE_CANTOPEN || (rc & 0xff) == SQLITE_READONLY; }

}  // namespace

namespace sql {

// A journal opened read only: why, told from its file, its folder and their medium.
std::string readOnlyReason(const std::string& path) {
  const std::string folder = folderOf(path);
  const int file = writeRefusal(path);
  const int place = writeRefusal(folder);
  if (file == EROFS || place == EROFS) return "Ce journal est en lecture seule : il est sur un support en lecture seule.";
  if (place != 0) return "Ce journal est en lecture seule : son dossier " + folder + " ne peut être écrit.";
  if (file != 0) return "Ce journal est en lecture seule : son fichier ne peut être écrit.";
  return "Ce journal est en lecture seule.";
}

Problem changesRefused(sqlite3* db) {
  if (sqlite3_db_readonly(db, "main") != 1) return {};
  const char* file = sqlite3_db_filename(db, "main");
  return {file && *file ? readOnlyReason(file) : std::string(kReleased), Failure::NotWritten};
}

}  // namespace sql

namespace {

// Which file `path` is now, to tell it from one put in its place.
bool identify(const std::string& path, unsigned long long& device, unsigned long long& inode) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return false;
  device = status.st_dev;
  inode = status.st_ino;
  return true;
}

// What `path` names before SQLite opens it: whether a file is there, or why no journal can
// be there (a folder, a pipe, a folder that cannot be made); a missing folder is made.
struct Place {
  bool exists = false;
  std::string refusal;  // empty when SQLite may open the path
};

Place placeOf(const std::string& path) {
  namespace fs = std::filesystem;
  if (path.empty()) return {false, "Aucun fichier de journal n'est donné."};
  std::error_code failure;
  const fs::file_status status = fs::status(path, failure);
  if (failure && failure != std::errc::no_such_file_or_directory)
    return {false, "Impossible de lire le journal " + path + " : " + sql::fileErrorReason(failure.value()) + "."};
  const bool exists = fs::exists(status);
  if (fs::is_directory(status)) return {exists, "Impossible d'ouvrir le journal " + path + " : c'est un dossier."};
  // A pipe or a device would hang the first read, or never end.
  if (exists && !fs::is_regular_file(status))
    return {exists, "Impossible d'ouvrir le journal " + path + " : ce n'est pas un fichier ordinaire."};
  if (!exists) {
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty() && (fs::create_directories(folder, failure), failure))
      return {exists, "Impossible de créer le journal " + path + " : son dossier " + folder.string() +
                          " ne peut être créé (" + sql::fileErrorReason(failure.value()) + ")."};
  }
  return {exists, {}};
}

// A connection to a journal's file: the name and flags it was opened with (to open it
// alike again), SQLite's code for the opening and what inspect() read through it.
struct Opening {
  std::unique_ptr<sqlite3, decltype(&sqlite3_close_v2)> db{nullptr, &sqlite3_close_v2};
  std::string name;
  int flags = 0;
  int rc = SQLITE_OK;
  Inspection seen;
};

// The connection of `opening` closed and made again from its name and flags, then read.
void reconnect(Opening& opening) {
  opening.db.reset();
  sqlite3* db = nullptr;
  opening.rc = sqlite3_open_v2(opening.name.c_str(), &db, opening.flags, nullptr);
  opening.db.reset(db);
  if (db) {
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
  }
  opening.seen = opening.rc == SQLITE_OK ? inspect(db) : Inspection{opening.rc};
}

// The journal at `path` opened for writing (created when it does not `exist`), else read
// only where its folder cannot take the -wal and -shm files.
Opening openFile(const std::string& path, bool exists) {
  Opening opening;
  opening.name = path;
  opening.flags = SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
  reconnect(opening);
  if (opening.rc != SQLITE_OK) return opening;
  // A WAL journal is read through its -wal and -shm files, which a folder that cannot be
  // written cannot take. Read only, SQLite reads them where another program made them,
  // with the shared memory in this process's own when the -shm file cannot be written, and
  // so sees that program's changes as they come.
  if (exists && cannotShare(opening.seen.rc)) {
    opening.flags = SQLITE_OPEN_READONLY;
    reconnect(opening);
    // Without a -wal file there is none to read, and none can be made: the file alone is
    // the journal. It is then read as unchanging (immutable), the one way SQLite reads a
    // WAL file there; a change made meanwhile by someone who may write the folder shows
    // at the next opening.
    std::error_code failure;
    if (cannotShare(opening.seen.rc) && !std::filesystem::exists(path + "-wal", failure)) {
      opening.name = uriOf(path, "immutable=1");
      opening.flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
      reconnect(opening);
    }
  }
  return opening;
}

// Why the file read as `seen` cannot be opened as a journal of this version, else empty.
std::string inspectionRefusal(const std::string& path, bool exists, sqlite3* db, const Inspection& seen) {
  if (!exists && seen.rc != SQLITE_OK) return creationRefusal(path, db, seen.rc);
  if ((seen.rc & 0xff) == SQLITE_NOTADB) return std::string(kNotAJournal) + " : ce n'est pas une base SQLite.";
  if ((seen.rc & 0xff) == SQLITE_CORRUPT)
    return "Ce journal est endommagé ; il n'a pas été modifié. Reprenez une copie de sauvegarde.";
  if (seen.rc != SQLITE_OK) return "Impossible de lire le journal " + path + " : " + sqliteReason(db, seen.rc) + ".";
  if (!seen.fresh() && seen.applicationId != kApplicationId)
    return std::string(kNotAJournal) + " : c'est une base SQLite d'un autre programme.";
  if (seen.version > kSchemaVersion)
    return "Ce journal vient d'une version plus récente de Kavrel (format " + std::to_string(seen.version) +
           ", celle-ci lit jusqu'au " + std::to_string(kSchemaVersion) + ") : mettez Kavrel à jour pour l'ouvrir.";
  return {};
}

// PRAGMA quick_check's answer. It reads every page once: a small cache keeps the memory it
// takes flat in the journal's size.
bool passesQuickCheck(sqlite3* db) {
  execute(db, "PRAGMA cache_size = -256");
  bool sound = false;
  {
    Statement check(db, "PRAGMA quick_check(1)");
    sound = check.step() == SQLITE_ROW && check.text(0) == "ok";
  }
  execute(db, "PRAGMA cache_size = -2000");
  return sound;
}

// WAL lets the window read while the command writes; a copy made by saveCopy comes in the
// rollback mode and is switched here, on its first opening.
void useWal(sqlite3* db, bool fresh) {
  // Pages of 16 KiB: PRAGMA quick_check reads a 50-year journal in a quarter less time
  // than in 4 KiB pages, and a change writes a few pages either way.
  if (fresh) execute(db, "PRAGMA page_size = 16384");
  bool wal = false;
  {
    Statement mode(db, "PRAGMA journal_mode");
    wal = mode.step() == SQLITE_ROW && mode.text(0) == "wal";
  }
  if (!wal) execute(db, "PRAGMA journal_mode = WAL");
}

}  // namespace

// ---------------------------------------------------------------------------------------

std::string defaultJournalPath() { return userDataFile("journal.sqlite"); }

// What undo() does: `revert` runs inside a transaction and returns an empty text when
// done, else the message.
struct Journal::UndoStep {
  std::string caption;
  Id id = 0;
  std::function<Problem(sqlite3*)> revert;
};

Journal::Journal(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

Journal::~Journal() { sqlite3_close_v2(db_); }

Journal::Opened Journal::open(const std::string& path) {
  const auto refused = [](std::string error) { return Opened{nullptr, std::move(error)}; };
  const Place place = placeOf(path);
  if (!place.refusal.empty()) return refused(place.refusal);

  // Whether the file is a journal at all is SQLite's own answer (SQLITE_NOTADB): reading
  // its first bytes here through a descriptor of our own, then closing it, would drop the
  // locks SQLite holds on the same file when this process has it open already.
  Opening opening = openFile(path, place.exists);
  sqlite3* db = opening.db.get();
  if (opening.rc != SQLITE_OK)
    return refused(place.exists ? "Impossible de lire le journal " + path + " : " + sqliteReason(db, opening.rc) + "."
                                : creationRefusal(path, db, opening.rc));
  const Inspection& seen = opening.seen;
  if (std::string refusal = inspectionRefusal(path, place.exists, db, seen); !refusal.empty()) return refused(refusal);
  if (!seen.fresh() && !passesQuickCheck(db))
    return refused("Ce journal est endommagé ; il n'a pas été modifié. Reprenez une copie de sauvegarde.");

  execute(db, "PRAGMA foreign_keys = ON");
  const bool writable = sqlite3_db_readonly(db, "main") == 0;
  if (writable) useWal(db, seen.fresh());
  if (seen.version < kSchemaVersion) {
    if (!writable)
      return refused("Impossible de préparer le journal " + path + " : " + sql::readOnlyReason(path));
    if (Problem error = migrate(db); !error.empty()) return refused(error.message);
  }
  std::unique_ptr<Journal> journal(new Journal(opening.db.release(), path));
  if (!writable) journal->readOnlyReason_ = sql::readOnlyReason(path);
  journal->openedName_ = opening.name;
  journal->openedFlags_ = opening.flags & ~SQLITE_OPEN_CREATE;
  identify(path, journal->device_, journal->inode_);
  return {std::move(journal), {}};
}

void Journal::release() {
  if (released_) return;
  // In its place, a connection to no file, so that a call meanwhile finds a database and
  // is refused (sql::changesRefused, readFailure) rather than given a null one.
  sqlite3* none = nullptr;
  sqlite3_open_v2(":memory:", &none, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_extended_result_codes(none, 1);
  sqlite3_close_v2(db_);
  db_ = none;
  released_ = true;
}

std::string Journal::reacquire() {
  if (!released_) return {};
  const std::string replaced = "Le journal " + path_ +
                               " a été remplacé par un autre fichier pendant que la fenêtre de fichiers était ouverte : "
                               "rien n'y a été écrit.";
  unsigned long long device = 0;
  unsigned long long inode = 0;
  if (!identify(path_, device, inode)) {
    if (errno == ENOENT)
      return "Le journal " + path_ +
             " a disparu pendant que la fenêtre de fichiers était ouverte (déplacé ou effacé) : rien n'y a été écrit.";
    return "Impossible de lire le journal " + path_ + " : " + sql::fileErrorReason(errno) + ".";
  }
  if (device != device_ || inode != inode_) return replaced;
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(openedName_.c_str(), &db, openedFlags_, nullptr);
  std::unique_ptr<sqlite3, decltype(&sqlite3_close_v2)> guard(db, &sqlite3_close_v2);
  if (db) {
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
  }
  const Inspection seen = rc == SQLITE_OK ? inspect(db) : Inspection{rc};
  if ((seen.rc & 0xff) == SQLITE_NOTADB) return replaced;
  if (seen.rc != SQLITE_OK) return "Impossible de lire le journal " + path_ + " : " + sqliteReason(db, seen.rc) + ".";
  if (seen.applicationId != kApplicationId || seen.version != kSchemaVersion) return replaced;
  execute(db, "PRAGMA foreign_keys = ON");
  sqlite3_close_v2(db_);
  db_ = guard.release();
  released_ = false;
  return {};
}

// ---------------------------------------------------------------------------------------
// Observers.

Read<std::vector<Observer>> Journal::observers() const {
  Statement select(db_, (std::string("SELECT ") + kObserverColumns + " FROM observers ORDER BY code").c_str());
  Read<std::vector<Observer>> read;
  int rc;
  while ((rc = select.step()) == SQLITE_ROW) read.value.push_back(observerOfRow(select));
  read.error = readFailure(db_, readStatus(rc));
  return read;
}

Read<std::optional<Observer>> Journal::observer(std::string_view code) const {
  int status = SQLITE_OK;
  auto found = readObserver(db_, "code = ?", std::string(code), status);
  return {std::move(found), readFailure(db_, status)};
}

Read<std::optional<Observer>> Journal::observer(Id id) const {
  int status = SQLITE_OK;
  auto found = readObserver(db_, "id = ?", id, status);
  return {std::move(found), readFailure(db_, status)};
}

Read<std::vector<Id>> Journal::observersObserving() const {
  Statement select(db_,
                   "SELECT observer_id FROM observations GROUP BY observer_id ORDER BY max(date || ' ' || time_ut) DESC, "
                   "observer_id");
  Read<std::vector<Id>> read;
  int rc;
  while ((rc = select.step()) == SQLITE_ROW) read.value.push_back(select.integer(0));
  read.error = readFailure(db_, readStatus(rc));
  return read;
}

Change Journal::addObserver(const Observer& observer) {
  if (auto problems = checkObserver(observer); !problems.empty()) return {joined(problems, "\n")};
  Id id = 0;
  Problem error = inTransaction(db_, [&]() -> Problem {
    if (readObserver(db_, "code = ?", observer.code))
      return "Code : un observateur a déjà le code " + observer.code + ".";
    Observer added = observer;
    added.id = 0;
    const int rc = writeObserver(db_, added, true, id);
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(UndoStep{
      "Annuler l'ajout de l'observateur " + observer.code, id, [id](sqlite3* db) -> Problem {
        Statement remove(db, "DELETE FROM observers WHERE id = ?");
        const int rc = remove.bind(id).run();
        if ((rc & 0xff) == SQLITE_CONSTRAINT) return "Cet observateur a maintenant des observations : il reste.";
        return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
      }}));
  return {{}, id};
}

Change Journal::updateObserver(const Observer& observer) {
  if (auto problems = checkObserver(observer); !problems.empty()) return {joined(problems, "\n")};
  std::optional<Observer> before;
  Problem error = inTransaction(db_, [&]() -> Problem {
    int status = SQLITE_OK;
    before = readObserver(db_, "id = ?", observer.id, status);
    if (!before) return missing(db_, status, "Cet observateur n'est plus dans le journal.");
    if (auto other = readObserver(db_, "code = ?", observer.code); other && other->id != observer.id)
      return "Code : un observateur a déjà le code " + observer.code + ".";
    Id id = 0;
    const int rc = writeObserver(db_, observer, false, id);
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(UndoStep{
      "Annuler la modification de l'observateur " + before->code, observer.id,
      [previous = *before](sqlite3* db) -> Problem {
        Id id = 0;
        const int rc = writeObserver(db, previous, false, id);
        return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
      }}));
  return {{}, observer.id};
}

namespace {

int writeChosenK(sqlite3* db, Id observerId, std::optional<double> k) {
  Statement update(db, "UPDATE observers SET chosen_k = ? WHERE id = ?");
  return update.bind(k, observerId).run();
}

}  // namespace

Change Journal::setChosenK(Id observerId, std::optional<double> k) {
  if (k && !(*k > 0 && *k <= kLargestChosenK)) return {"k : un nombre positif, 1,22 par exemple."};
  std::optional<Observer> before;
  Problem error = inTransaction(db_, [&]() -> Problem {
    int status = SQLITE_OK;
    before = readObserver(db_, "id = ?", observerId, status);
    if (!before) return missing(db_, status, "Cet observateur n'est plus dans le journal.");
    if (before->chosenK == k) return {};
    const int rc = writeChosenK(db_, observerId, k);
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  if (before->chosenK == k) return {{}, observerId};
  undo_.push_back(std::make_unique<UndoStep>(UndoStep{
      "Annuler le k choisi pour " + before->code, observerId,
      [observerId, previous = before->chosenK](sqlite3* db) -> Problem {
        const int rc = writeChosenK(db, observerId, previous);
        return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
      }}));
  return {{}, observerId};
}

// ---------------------------------------------------------------------------------------
// Observations.

namespace {

// The day's choice given to `id` alone among its observer's observations of that day.
int chooseAlone(sqlite3* db, const Observation& chosen) {
  Statement update(db, "UPDATE observations SET chosen = (id = ?) WHERE observer_id = ? AND date = ?");
  return update.bind(chosen.id, chosen.observerId, dateText(chosen.date)).run();
}

}  // namespace

Change Journal::addObservation(const Observation& observation, std::string_view observerCode, Day today) {
  if (auto problems = checkObservation(observation, today); !problems.empty()) return {joined(problems, "\n")};
  Observation added = observation;
  added.id = 0;
  std::vector<Id> created;
  std::optional<UnobservedDay> mark;
  Problem error = inTransaction(db_, [&]() -> Problem {
    if (Problem refusal = observerFor(db_, observerCode, observation.observerId, added.observerId, created);
        !refusal.empty())
      return refusal;
    int rc = insertObservation(db_, added, added.id);
    if (rc == SQLITE_CONSTRAINT_UNIQUE) return duplicateMessage(db_, added);
    if (rc == SQLITE_OK) rc = MarkTaker(db_).take(added.observerId, added.date, mark);
    if (rc != SQLITE_OK) return notChanged(db_, rc);
    if (added.chosenForDay)
      if (const int chosen = chooseAlone(db_, added); chosen != SQLITE_OK) return notChanged(db_, chosen);
    return {};
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(
      UndoStep{"Annuler l'ajout de l'observation du " + dayText(added.date), added.id,
               [id = added.id, created, mark](sqlite3* db) -> Problem {
                 Statement remove(db, "DELETE FROM observations WHERE id = ?");
                 int rc = remove.bind(id).run();
                 if (rc == SQLITE_OK) rc = restoreMark(db, mark);
                 if (rc == SQLITE_OK) rc = removeCreatedObservers(db, created);
                 return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
               }}));
  return {{}, added.id};
}

Change Journal::updateObservation(const Observation& observation, Day today) {
  if (auto problems = checkObservation(observation, today); !problems.empty()) return {joined(problems, "\n")};
  std::optional<Observation> before;
  std::optional<UnobservedDay> mark;
  Problem error = inTransaction(db_, [&]() -> Problem {
    int status = SQLITE_OK;
    before = readObservation(db_, observation.id, status);
    if (!before) return missing(db_, status, kGone);
    Observation changed = observation;
    if (!changed.observerId) changed.observerId = before->observerId;
    int rc = updateObservationRow(db_, changed);
    if (rc == SQLITE_CONSTRAINT_UNIQUE) return duplicateMessage(db_, changed);
    if (rc == SQLITE_OK) rc = MarkTaker(db_).take(changed.observerId, changed.date, mark);
    if (rc != SQLITE_OK) return notChanged(db_, rc);
    if (changed.chosenForDay)
      if (const int chosen = chooseAlone(db_, changed); chosen != SQLITE_OK) return notChanged(db_, chosen);
    return {};
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(UndoStep{
      "Annuler la modification de l'observation du " + dayText(before->date), observation.id,
      [previous = *before, mark](sqlite3* db) -> Problem {
        int rc = updateObservationRow(db, previous);
        if (rc == SQLITE_OK && previous.chosenForDay) rc = chooseAlone(db, previous);
        if (rc == SQLITE_OK) rc = restoreMark(db, mark);
        return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
      }}));
  return {{}, observation.id};
}

Change Journal::removeObservation(Id id) {
  std::optional<Observation> before;
  std::vector<Group> groups;
  Problem error = inTransaction(db_, [&]() -> Problem {
    int status = SQLITE_OK;
    before = readObservation(db_, id, status);
    if (!before) return missing(db_, status, kGone);
    groups = readGroups(db_, id, status);  // kept for undo: all of them, or no removal
    if (status != SQLITE_OK) return notChanged(db_, status);
    Statement remove(db_, "DELETE FROM observations WHERE id = ?");
    const int rc = remove.bind(id).run();
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(UndoStep{
      "Annuler la suppression de l'observation du " + dayText(before->date), id,
      [previous = *before, groups](sqlite3* db) -> Problem {
        Id id = 0;
        int rc = insertBack(db, previous, id, insertObservation);
        if (rc == SQLITE_CONSTRAINT_UNIQUE) return duplicateMessage(db, previous);
        for (Group group : groups) {
          if (rc != SQLITE_OK) break;
          group.observationId = id;
          Id stored = 0;
          rc = insertBack(db, group, stored, [](sqlite3* d, const Group& g, Id& i) { return writeGroup(d, g, true, i); });
        }
        return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
      }}));
  return {{}, id};
}

Change Journal::chooseForDay(Id id) {
  std::optional<Observation> chosen;
  std::vector<std::pair<Id, bool>> choices;
  Problem error = inTransaction(db_, [&]() -> Problem {
    int status = SQLITE_OK;
    chosen = readObservation(db_, id, status);
    if (!chosen) return missing(db_, status, kGone);
    Statement day(db_, "SELECT id, chosen FROM observations WHERE observer_id = ? AND date = ?");
    day.bind(chosen->observerId, dateText(chosen->date));
    while (day.step() == SQLITE_ROW) choices.emplace_back(day.integer(0), day.integer(1) != 0);
    const int rc = chooseAlone(db_, *chosen);
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(
      UndoStep{"Annuler le choix de l'observation du " + dayText(chosen->date), id, [choices](sqlite3* db) {
                 Statement update(db, "UPDATE observations SET chosen = ? WHERE id = ?");
                 int rc = SQLITE_OK;
                 for (const auto& [other, was] : choices)
                   if (rc == SQLITE_OK) rc = update.bind(was ? 1 : 0, other).run();
                 return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
               }}));
  return {{}, id};
}

Read<std::optional<Observation>> Journal::observation(Id id) const {
  int status = SQLITE_OK;
  auto found = readObservation(db_, id, status);
  return {std::move(found), readFailure(db_, status)};
}

Read<std::vector<Observation>> Journal::monthObservations(int year, int month, Id observerId) const {
  return observationsBetween({year, month, 1}, {year, month, 31}, observerId);
}

Read<std::vector<Observation>> Journal::observationsBetween(Day first, Day last, Id observerId) const {
  std::string sql = std::string("SELECT ") + kObservationColumns + " FROM observations WHERE ";
  sql += observerId ? "observer_id = ?3 AND date BETWEEN ?1 AND ?2" : "date BETWEEN ?1 AND ?2";
  sql += " ORDER BY date, time_ut, id";
  Statement select(db_, sql.c_str());
  if (observerId)
    select.bind(dateText(first), dateText(last), observerId);
  else
    select.bind(dateText(first), dateText(last));
  Read<std::vector<Observation>> read;
  int rc;
  while ((rc = select.step()) == SQLITE_ROW) read.value.push_back(observationOfRow(select));
  read.error = readFailure(db_, readStatus(rc));
  return read;
}

// ---------------------------------------------------------------------------------------
// Days not observed.

namespace {

constexpr char kUnobservedGone[] = "Ce jour sans observation n'est plus dans le journal.";

}  // namespace

Change Journal::addUnobservedDay(const UnobservedDay& day, std::string_view observerCode, Day today) {
  if (auto problems = checkUnobservedDay(day, today); !problems.empty()) return {joined(problems, "\n")};
  UnobservedDay added = day;
  added.id = 0;
  std::vector<Id> created;
  Problem error = inTransaction(db_, [&]() -> Problem {
    if (Problem refusal = observerFor(db_, observerCode, day.observerId, added.observerId, created);
        !refusal.empty())
      return refusal;
    if (Problem refusal = unobservedRefusal(db_, added); !refusal.empty()) return refusal;
    const int rc = insertUnobserved(db_, added, added.id);
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(
      UndoStep{"Annuler l'ajout du jour sans observation du " + dayText(added.date), added.id,
               [id = added.id, created](sqlite3* db) -> Problem {
                 Statement remove(db, "DELETE FROM unobserved_days WHERE id = ?");
                 int rc = remove.bind(id).run();
                 if (rc == SQLITE_OK) rc = removeCreatedObservers(db, created);
                 return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
               }}));
  return {{}, added.id};
}

Change Journal::updateUnobservedDay(const UnobservedDay& day, Day today) {
  if (auto problems = checkUnobservedDay(day, today); !problems.empty()) return {joined(problems, "\n")};
  std::optional<UnobservedDay> before;
  Problem error = inTransaction(db_, [&]() -> Problem {
    int status = SQLITE_OK;
    before = readUnobserved(db_, day.id, status);
    if (!before) return missing(db_, status, kUnobservedGone);
    UnobservedDay changed = day;
    if (!changed.observerId) changed.observerId = before->observerId;
    if (Problem refusal = unobservedRefusal(db_, changed); !refusal.empty()) return refusal;
    const int rc = updateUnobservedRow(db_, changed);
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(
      UndoStep{"Annuler la modification du jour sans observation du " + dayText(before->date), day.id,
               [previous = *before](sqlite3* db) -> Problem {
                 if (Problem refusal = unobservedRefusal(db, previous); !refusal.empty()) return refusal;
                 const int rc = updateUnobservedRow(db, previous);
                 return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
               }}));
  return {{}, day.id};
}

Change Journal::removeUnobservedDay(Id id) {
  std::optional<UnobservedDay> before;
  Problem error = inTransaction(db_, [&]() -> Problem {
    int status = SQLITE_OK;
    before = readUnobserved(db_, id, status);
    if (!before) return missing(db_, status, kUnobservedGone);
    Statement remove(db_, "DELETE FROM unobserved_days WHERE id = ?");
    const int rc = remove.bind(id).run();
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(
      UndoStep{"Annuler la suppression du jour sans observation du " + dayText(before->date), id,
               [previous = *before](sqlite3* db) -> Problem {
                 if (Problem refusal = unobservedRefusal(db, previous); !refusal.empty()) return refusal;
                 Id restored = 0;
                 const int rc = insertBack(db, previous, restored, insertUnobserved);
                 return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
               }}));
  return {{}, id};
}

Read<std::optional<UnobservedDay>> Journal::unobservedDay(Id id) const {
  int status = SQLITE_OK;
  auto found = readUnobserved(db_, id, status);
  return {std::move(found), readFailure(db_, status)};
}

Read<std::vector<UnobservedDay>> Journal::monthUnobservedDays(int year, int month, Id observerId) const {
  return unobservedDaysBetween({year, month, 1}, {year, month, 31}, observerId);
}

Read<std::vector<UnobservedDay>> Journal::unobservedDaysBetween(Day first, Day last, Id observerId) const {
  std::string sql = std::string("SELECT ") + kUnobservedColumns + " FROM unobserved_days WHERE ";
  sql += observerId ? "observer_id = ?3 AND date BETWEEN ?1 AND ?2" : "date BETWEEN ?1 AND ?2";
  sql += " ORDER BY date, observer_id";
  Statement select(db_, sql.c_str());
  if (observerId)
    select.bind(dateText(first), dateText(last), observerId);
  else
    select.bind(dateText(first), dateText(last));
  Read<std::vector<UnobservedDay>> read;
  int rc;
  while ((rc = select.step()) == SQLITE_ROW) read.value.push_back(unobservedOfRow(select));
  read.error = readFailure(db_, readStatus(rc));
  return read;
}

// ---------------------------------------------------------------------------------------
// Groups.

Read<std::vector<Group>> Journal::groups(Id observationId) const {
  int status = SQLITE_OK;
  auto found = readGroups(db_, observationId, status);
  return {std::move(found), readFailure(db_, status)};
}

Change Journal::addGroup(const Group& group) {
  if (auto problems = checkGroup(group); !problems.empty()) return {joined(problems, "\n")};
  Id id = 0;
  Problem error = inTransaction(db_, [&]() -> Problem {
    int status = SQLITE_OK;
    if (!readObservation(db_, group.observationId, status)) return missing(db_, status, kGone);
    Group added = group;
    added.id = 0;
    const int rc = writeGroup(db_, added, true, id);
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(UndoStep{
      "Annuler l'ajout du groupe " + std::to_string(group.number), id, [id](sqlite3* db) -> Problem {
        Statement remove(db, "DELETE FROM sunspot_groups WHERE id = ?");
        const int rc = remove.bind(id).run();
        return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
      }}));
  return {{}, id};
}

Change Journal::updateGroup(const Group& group) {
  if (auto problems = checkGroup(group); !problems.empty()) return {joined(problems, "\n")};
  std::optional<Group> before;
  Problem error = inTransaction(db_, [&]() -> Problem {
    int status = SQLITE_OK;
    before = readGroup(db_, group.id, status);
    if (!before) return missing(db_, status, "Ce groupe n'est plus dans le journal.");
    if (!readObservation(db_, group.observationId, status)) return missing(db_, status, kGone);
    Id id = 0;
    const int rc = writeGroup(db_, group, false, id);
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(
      UndoStep{"Annuler la modification du groupe " + std::to_string(before->number), group.id,
               [previous = *before](sqlite3* db) -> Problem {
                 Id id = 0;
                 const int rc = writeGroup(db, previous, false, id);
                 return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
               }}));
  return {{}, group.id};
}

Change Journal::removeGroup(Id id) {
  std::optional<Group> before;
  Problem error = inTransaction(db_, [&]() -> Problem {
    int status = SQLITE_OK;
    before = readGroup(db_, id, status);
    if (!before) return missing(db_, status, "Ce groupe n'est plus dans le journal.");
    Statement remove(db_, "DELETE FROM sunspot_groups WHERE id = ?");
    const int rc = remove.bind(id).run();
    return rc == SQLITE_OK ? std::string() : notChanged(db_, rc);
  });
  if (!error.empty()) return failedChange(std::move(error));
  undo_.push_back(std::make_unique<UndoStep>(
      UndoStep{"Annuler la suppression du groupe " + std::to_string(before->number), id,
               [previous = *before](sqlite3* db) -> Problem {
                 Id id = 0;
                 const int rc =
                     insertBack(db, previous, id, [](sqlite3* d, const Group& g, Id& i) { return writeGroup(d, g, true, i); });
                 if ((rc & 0xff) == SQLITE_CONSTRAINT) return std::string(kGone);
                 return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
               }}));
  return {{}, id};
}

// ---------------------------------------------------------------------------------------
// Import.

namespace {

// The rows of a parsed log that pass the checks against a day, and the refusals of the
// others after the file's own.
struct CheckedLog {
  std::vector<const ImportRow*> rows;
  std::vector<const UnobservedRow*> days;
  std::vector<Refusal> refusals;
};

CheckedLog checkLog(const ParsedLog& log, Day today) {
  CheckedLog checked;
  checked.refusals = log.refusals;
  checked.rows.reserve(log.rows.size());
  for (const ImportRow& row : log.rows) {
    if (auto problems = checkObservation(row.observation, today); !problems.empty())
      checked.refusals.push_back({row.line, joined(problems, " ")});
    else
      checked.rows.push_back(&row);
  }
  for (const UnobservedRow& row : log.unobserved) {
    if (auto problems = checkUnobservedDay(row.day, today); !problems.empty())
      checked.refusals.push_back({row.line, joined(problems, " ")});
    else
      checked.days.push_back(&row);
  }
  return checked;
}

// What an import wrote, for its undo.
struct ImportWritten {
  std::vector<Id> observations;
  std::vector<Id> days;                    // not observed
  std::vector<UnobservedDay> marksTaken;  // the journal's days not observed that the file observed
  std::vector<Id> created;                // observers made for the file's codes
};

// An import undone: its rows removed, the marks it took given back, the observers it made
// removed unless taken since; empty when done, else the message.
Problem removeImported(sqlite3* db, const ImportWritten& written) {
  Statement removeDay(db, "DELETE FROM unobserved_days WHERE id = ?");
  Statement remove(db, "DELETE FROM observations WHERE id = ?");
  int rc = SQLITE_OK;
  for (Id id : written.days)
    if (rc == SQLITE_OK) rc = removeDay.bind(id).run();
  for (Id id : written.observations)
    if (rc == SQLITE_OK) rc = remove.bind(id).run();
  for (const UnobservedDay& mark : written.marksTaken)
    if (rc == SQLITE_OK) rc = restoreMark(db, mark);
  if (rc == SQLITE_OK) rc = removeCreatedObservers(db, written.created);
  return rc == SQLITE_OK ? std::string() : notChanged(db, rc);
}

// "Annuler l'import de 3 observations et 1 jour sans observation".
std::string importCaption(std::size_t observations, std::size_t days) {
  std::string what;
  if (observations != 0) what = std::to_string(observations) + (observations == 1 ? " observation" : " observations");
  if (days != 0)
    what += (what.empty() ? "" : " et ") + std::to_string(days) +
            (days == 1 ? " jour sans observation" : " jours sans observation");
  return "Annuler l'import de " + what;
}

// The checked rows of a log written inside the caller's transaction. A row the journal
// refuses (a duplicate, a day already observed, an observer's code) joins `refusals`; a
// failure to write ends the import with its message.
class LogWriter {
 public:
  LogWriter(sqlite3* db, std::vector<Refusal> refused) : refusals(std::move(refused)), db_(db) {}

  std::vector<Refusal> refusals;
  ImportWritten written;

  Problem storeObservations(const std::vector<const ImportRow*>& rows) {
    Statement insert(db_, kInsertObservation);
    MarkTaker marks(db_);
    for (const ImportRow* row : rows) {
      Observation o = row->observation;
      if (!observerOf(row->observerCode, row->line, o.observerId)) {
        if (!failure_.empty()) return failure_;
        continue;
      }
      o.id = 0;
      bindObservation(insert, o);
      int rc = insert.run();
      if (rc == SQLITE_CONSTRAINT_UNIQUE) {
        refusals.push_back({row->line, duplicateMessage(db_, o)});
        continue;
      }
      if (rc != SQLITE_OK) return notChanged(db_, rc);
      written.observations.push_back(sqlite3_last_insert_rowid(db_));
      std::optional<UnobservedDay> mark;
      if (rc = marks.take(o.observerId, o.date, mark); rc != SQLITE_OK) return notChanged(db_, rc);
      if (mark) written.marksTaken.push_back(std::move(*mark));
    }
    return {};
  }

  Problem storeDays(const std::vector<const UnobservedRow*>& rows) {
    for (const UnobservedRow* row : rows) {
      UnobservedDay day = row->day;
      day.id = 0;
      if (!observerOf(row->observerCode, row->line, day.observerId)) {
        if (!failure_.empty()) return failure_;
        continue;
      }
      if (Problem refusal = unobservedRefusal(db_, day); !refusal.empty()) {
        if (refusal.failure == Failure::NotWritten) return refusal;
        refusals.push_back({row->line, std::move(refusal.message)});
        continue;
      }
      Id id = 0;
      if (const int rc = insertUnobserved(db_, day, id); rc != SQLITE_OK) return notChanged(db_, rc);
      written.days.push_back(id);
    }
    return {};
  }

  // The rows rolled back: none stored.
  void forgetStored() {
    written.observations.clear();
    written.days.clear();
  }

 private:
  // The observer of a row's code: true when found or made; a refusal of the row is
  // listed, a failure to write left in `failure_`.
  bool observerOf(const std::string& code, int line, Id& id) {
    if (auto known = observerOfCode_.find(code); known != observerOfCode_.end()) {
      id = known->second;
      return true;
    }
    if (Problem refusal = observerFor(db_, code, 0, id, written.created); !refusal.empty()) {
      if (refusal.failure == Failure::NotWritten) failure_ = std::move(refusal);
      else refusals.push_back({line, std::move(refusal.message)});
      return false;
    }
    observerOfCode_.emplace(code, id);
    return true;
  }

  sqlite3* db_;
  std::map<std::string, Id, std::less<>> observerOfCode_;
  Problem failure_;
};

}  // namespace


Imported Journal::importLog(const ParsedLog& log, bool partial, Day today) {
  CheckedLog checked = checkLog(log, today);
  LogWriter writer(db_, std::move(checked.refusals));
  Imported result;
  result.error = inTransaction(db_, [&]() -> Problem {
    if (Problem error = writer.storeObservations(checked.rows); !error.empty()) return error;
    // After the observations, so that a day the file both observes and not is refused
    // whatever the order of its lines.
    if (Problem error = writer.storeDays(checked.days); !error.empty()) return error;
    // Every row is tried, so that the rows the journal refuses (already there, twice in
    // the file) are listed with the others; then all or none.
    if (!partial && !writer.refusals.empty()) {
      execute(db_, "ROLLBACK");
      writer.forgetStored();
    }
    return {};
  }).message;
  const auto byLine = [](const Refusal& a, const Refusal& b) { return a.line < b.line; };
  result.refusals = std::move(writer.refusals);
  std::stable_sort(result.refusals.begin(), result.refusals.end(), byLine);
  if (!result.error.empty()) writer.forgetStored();
  const ImportWritten& written = writer.written;
  result.stored = static_cast<int>(written.observations.size());
  result.unobservedStored = static_cast<int>(written.days.size());
  if (written.observations.empty() && written.days.empty()) return result;
  undo_.push_back(std::make_unique<UndoStep>(
      UndoStep{importCaption(written.observations.size(), written.days.size()), 0,
               [written = std::move(writer.written)](sqlite3* db) { return removeImported(db, written); }}));
  return result;
}

// ---------------------------------------------------------------------------------------
// Copy.

namespace {

// The journal `db` written whole into the SQLite file `name` (an empty file), in the
// rollback mode so that the copy is one file; empty when done, else SQLite's reason.
std::string backupInto(sqlite3* db, const std::string& name) {
  sqlite3* copy = nullptr;
  int rc = sqlite3_open_v2(name.c_str(), &copy, SQLITE_OPEN_READWRITE, nullptr);
  std::unique_ptr<sqlite3, decltype(&sqlite3_close_v2)> guard(copy, &sqlite3_close_v2);
  if (rc != SQLITE_OK) return sqliteReason(copy, rc);
  sqlite3_extended_result_codes(copy, 1);
  sqlite3_busy_timeout(copy, kBusyTimeoutMs);
  sqlite3_backup* backup = sqlite3_backup_init(copy, "main", db, "main");
  if (!backup) {
    rc = sqlite3_extended_errcode(copy);
  } else {
    // Copied in one step, under one read of the journal: a writer elsewhere waits for
    // nothing (WAL) and the copy is one state of the journal.
    rc = sqlite3_backup_step(backup, -1);
    const int finish = sqlite3_backup_finish(backup);
    rc = rc == SQLITE_DONE ? finish : rc;
  }
  if (rc == SQLITE_OK) rc = execute(copy, "PRAGMA journal_mode = DELETE");
  return rc == SQLITE_OK ? std::string() : sqliteReason(copy, rc);
}

// 0 once the file `name` is on the disk, else why not (errno).
int syncFile(const std::string& name) {
  const int file = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0 || ::fsync(file) != 0) {
    const int error = errno;
    if (file >= 0) ::close(file);
    return error;
  }
  ::close(file);
  return 0;
}

}  // namespace


Change Journal::saveCopy(const std::string& target) const {
  namespace fs = std::filesystem;
  const auto failed = [](const std::string& reason) { return Change{"La copie n'a pas été écrite : " + reason + "."}; };
  if (target.empty()) return failed("aucun fichier n'est donné");
  std::error_code ignored;
  // Renamed over the journal's WAL or shared memory, the copy would take the place of
  // changes not yet in the file.
  for (const char* beside : {"", "-wal", "-shm", "-journal"})
    if (fs::equivalent(target, path_ + beside, ignored)) return failed("c'est le journal lui-même");
  if (fs::is_directory(target, ignored)) return failed(sql::fileErrorReason(EISDIR));

  const fs::path folder = fs::absolute(target, ignored).parent_path();
  std::string temporary = (folder / ("." + fs::path(target).filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return failed(sql::fileErrorReason(errno));
  ::close(fd);
  const auto removeTemporary = [&] {
    fs::remove(temporary, ignored);
    fs::remove(temporary + "-journal", ignored);
  };

  if (const std::string reason = backupInto(db_, temporary); !reason.empty()) {
    removeTemporary();
    return failed(reason);
  }
  if (const int error = syncFile(temporary); error != 0) {
    removeTemporary();
    return failed(sql::fileErrorReason(error));
  }
  // mkstemp made it private; a copy is as readable as any new file of the user's.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(temporary.c_str(), 0644 & ~mask);
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    removeTemporary();
    return failed(sql::fileErrorReason(error));
  }
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return {};
}

// ---------------------------------------------------------------------------------------
// Undo.

Change Journal::undo() {
  if (undo_.empty()) return {"Il n'y a rien à annuler."};
  UndoStep& step = *undo_.back();
  Problem error = inTransaction(db_, [&] { return step.revert(db_); });
  if (!error.empty()) {
    // Another program's change stands in the way (the day observed meanwhile, a code
    // taken): this step can no longer be taken back, and kept on top it would keep the
    // earlier ones from being taken back. A journal that could not be written keeps it.
    if (error.failure == Failure::Refused && !readOnly() && !released_) {
      undo_.pop_back();
      error.message += " Cette annulation est abandonnée.";
    }
    return failedChange(std::move(error));
  }
  const Id id = step.id;
  undo_.pop_back();
  return {{}, id};
}

std::string Journal::undoCaption() const { return undo_.empty() ? std::string() : undo_.back()->caption; }

namespace sql {

Problem observerOfCode(sqlite3* db, std::string_view code, Id& id, std::vector<Id>& created) {
  return observerFor(db, code, 0, id, created);
}

}  // namespace sql

}  // namespace kavrel::journal
