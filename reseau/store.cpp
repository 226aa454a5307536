// A network's base (store.h) on either engine through connection.h: the schema's numbered
// migrations, the mark that tells the base as ours, the rights of the observers' roles on a
// server, and every change in one transaction. Texts are ordered here in C++ by their bytes,
// never by the engine's collation, so that both engines answer the same order.
#include "reseau/store.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <set>
#include <utility>

#include "common/file_bytes.h"
#include "reseau/connection.h"

namespace kavrel::reseau {

using db::Connection;
using db::Outcome;
using db::Row;
using db::Value;

namespace {

constexpr char kMark[] = "Kavrel, base de réseau";
constexpr char kNotOurs[] = "Cette base n'est pas une base de réseau de Kavrel";
constexpr char kNotChanged[] = "La base n'a pas été modifiée : ";

struct Migration {
  int version;
  const char* both;      // for both engines; "{id}" the engine's own key column, "{clustered}"
                         // a table kept in its primary key's order where the engine can
  const char* postgres;  // then on a server only: its rights
};

constexpr Migration kMigrations[] = {
    {1, R"sql(
CREATE TABLE kavrel_reseau (mark TEXT NOT NULL, version INTEGER NOT NULL);
CREATE TABLE observers (
  id {id},
  code TEXT NOT NULL UNIQUE CHECK (length(code) > 0),
  name TEXT NOT NULL,
  role TEXT NOT NULL DEFAULT ''  -- the server's login role that sends for the observer
);
CREATE TABLE instruments (
  id {id},
  observer_id BIGINT NOT NULL REFERENCES observers(id),
  name TEXT NOT NULL,
  UNIQUE (observer_id, name)
);
-- One row per observer and day, kept in that order; the day as days since 1970-01-01, the
-- time as minutes UT.
CREATE TABLE observations (
  observer_id BIGINT NOT NULL REFERENCES observers(id),
  instrument_id BIGINT REFERENCES instruments(id),
  day INTEGER NOT NULL,
  minutes INTEGER CHECK (minutes BETWEEN 0 AND 1439),
  quality INTEGER CHECK (quality BETWEEN 0 AND 5),
  g INTEGER NOT NULL CHECK (g >= 0),
  f INTEGER NOT NULL CHECK (f >= g),
  g_north INTEGER, f_north INTEGER, g_south INTEGER, f_south INTEGER,
  PRIMARY KEY (observer_id, day)
){clustered};
-- The network's days read in date order from this index alone.
CREATE INDEX observations_by_day ON observations (day, observer_id, g, f, quality);
CREATE TABLE imports (
  id {id},
  file_name TEXT NOT NULL,
  checksum TEXT NOT NULL UNIQUE,
  imported_at TEXT NOT NULL,
  imported_by TEXT NOT NULL,
  row_count INTEGER NOT NULL
);
CREATE TABLE silso (day INTEGER PRIMARY KEY, total INTEGER NOT NULL);
CREATE TABLE coefficients (
  observer_id BIGINT NOT NULL REFERENCES observers(id),
  year INTEGER NOT NULL,  -- 0: the whole period
  days INTEGER NOT NULL,
  k_sums DOUBLE PRECISION, k_mean DOUBLE PRECISION, k_sigma DOUBLE PRECISION, k_median DOUBLE PRECISION,
  PRIMARY KEY (observer_id, year)
);
)sql",
     // The owner of the tables (the coordinator) is not bound by these policies; any other
     // role writes only the rows of the observers tied to it.
     R"sql(
ALTER TABLE observations ENABLE ROW LEVEL SECURITY;
CREATE POLICY reading ON observations FOR SELECT USING (true);
CREATE POLICY adding ON observations FOR INSERT
  WITH CHECK (observer_id IN (SELECT id FROM observers WHERE role = current_user));
CREATE POLICY changing ON observations FOR UPDATE
  USING (observer_id IN (SELECT id FROM observers WHERE role = current_user))
  WITH CHECK (observer_id IN (SELECT id FROM observers WHERE role = current_user));
CREATE POLICY removing ON observations FOR DELETE
  USING (observer_id IN (SELECT id FROM observers WHERE role = current_user));
ALTER TABLE instruments ENABLE ROW LEVEL SECURITY;
CREATE POLICY reading ON instruments FOR SELECT USING (true);
CREATE POLICY adding ON instruments FOR INSERT
  WITH CHECK (observer_id IN (SELECT id FROM observers WHERE role = current_user));
)sql"},
};
constexpr int kSchemaVersion = kMigrations[std::size(kMigrations) - 1].version;

std::string quotedIdentifier(const std::string& name) {
  std::string text = "\"";
  for (const char c : name) text += c == '"' ? std::string("\"\"") : std::string(1, c);
  return text + '"';
}


std::string loginName() {
  if (const char* user = std::getenv("USER"); user && *user) return user;
  if (const passwd* entry = getpwuid(geteuid())) return entry->pw_name;
  return "?";
}

// What the base holds before we touch it.
struct Inspection {
  Outcome outcome;
  long long tables = 0;
  bool marked = false;
  std::string mark;
  long long version = 0;
};

// A change's failure as store.h says it.
Change changeOf(const Outcome& outcome, const std::string& role) {
  if (outcome.ok()) return {};
  switch (outcome.kind) {
    case Outcome::Kind::Denied:
      return {"Le rôle « " + role + " » n'a pas le droit de faire ce changement : seul le coordinateur le peut.",
              Change::Failure::Refused};
    case Outcome::Kind::Refused: return {"Changement refusé par la base : " + outcome.reason + ".", Change::Failure::Refused};
    default: return {kNotChanged + outcome.reason + ".", Change::Failure::NotWritten};
  }
}

// `body` (returning a Change) between begin and commit, rolled back when it fails.
template <class Body>
Change inTransaction(Connection& connection, const std::string& role, Body&& body) {
  if (Outcome begun = connection.begin(); !begun.ok()) return changeOf(begun, role);
  Change change = body();
  if (change.done()) {
    if (Outcome committed = connection.commit(); !committed.ok()) change = changeOf(committed, role);
  }
  if (!change.done()) connection.rollback();
  return change;
}

}  // namespace

// ---------------------------------------------------------------------------------------

struct Store::Engine {
  std::unique_ptr<Connection> connection;
  bool server = false;
  bool coordinator = true;
  std::string role;    // the login role on a server
  std::string schema;  // the server's schema the tables are in

  Connection& sql() { return *connection; }

  Inspection inspect() {
    Inspection seen;
    std::optional<long long> value;
    const std::string tables = server ? "SELECT count(*) FROM pg_tables WHERE schemaname = current_schema()"
                                      : "SELECT count(*) FROM sqlite_schema WHERE type = 'table'";
    seen.outcome = db::queryInteger(sql(), tables, {}, value);
    if (!seen.outcome.ok()) return seen;
    seen.tables = value.value_or(0);
    seen.outcome = db::queryInteger(sql(), tables + " AND " + (server ? "tablename" : "name") + " = 'kavrel_reseau'",
                                    {}, value);
    seen.marked = seen.outcome.ok() && value.value_or(0) > 0;
    if (!seen.marked) return seen;
    seen.outcome = sql().query("SELECT mark, version FROM kavrel_reseau", {}, [&](const Row& row) {
      seen.mark = row.text(0);
      seen.version = row.integer(1);
    });
    return seen;
  }

  // Why the base as `seen` is not one we may use, else empty.
  [[nodiscard]] std::string refusal(const Inspection& seen) const {
    if (!seen.outcome.ok()) {
      if (seen.outcome.kind == Outcome::Kind::NotABase) return std::string(kNotOurs) + " : " + seen.outcome.reason + ".";
      if (seen.outcome.kind == Outcome::Kind::Denied)
        return "Le rôle « " + role + " » ne peut pas lire cette base de réseau : le coordinateur doit l'y ajouter.";
      return "Impossible de lire la base : " + seen.outcome.reason + ".";
    }
    if (seen.marked && seen.mark != kMark) return std::string(kNotOurs) + " : sa marque est celle d'un autre programme.";
    if (!seen.marked && seen.tables > 0)
      return std::string(kNotOurs) + (server ? " : son schéma « " + schema + " » tient les tables d'un autre programme."
                                             : " : c'est une base SQLite d'un autre programme.");
    if (seen.version > kSchemaVersion)
      return "Cette base vient d'une version plus récente de Kavrel (format " + std::to_string(seen.version) +
             ", celle-ci lit jusqu'au " + std::to_string(kSchemaVersion) + ") : mettez Kavrel à jour pour l'ouvrir.";
    return {};
  }

  // The migrations from the base's version to ours, in one transaction; the base is read
  // again under the lock, in case another program created or migrated it meanwhile.
  [[nodiscard]] std::string migrate() {
    if (Outcome begun = sql().begin(); !begun.ok()) return kNotChanged + begun.reason + ".";
    std::string error = migrateBody();
    if (error.empty()) {
      if (Outcome committed = sql().commit(); !committed.ok()) error = kNotChanged + committed.reason + ".";
    }
    if (!error.empty()) sql().rollback();
    return error;
  }

  std::string migrateBody() {
    if (server) {
      if (Outcome locked = sql().execute("SELECT pg_advisory_xact_lock(4801)"); !locked.ok())
        return kNotChanged + locked.reason + ".";
    }
    const Inspection seen = inspect();
    if (std::string refused = refusal(seen); !refused.empty()) return refused;
    for (const Migration& step : kMigrations) {
      if (step.version <= seen.version) continue;
      std::string text = step.both;
      const std::string key = server ? "BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY" : "INTEGER PRIMARY KEY";
      for (std::size_t at = text.find("{id}"); at != std::string::npos; at = text.find("{id}"))
        text.replace(at, 4, key);
      // SQLite keeps the rows in the key's order itself; a server's table is a heap.
      for (std::size_t at = text.find("{clustered}"); at != std::string::npos; at = text.find("{clustered}"))
        text.replace(at, 11, server ? "" : " WITHOUT ROWID");
      if (server) text += step.postgres;
      if (Outcome done = sql().script(text); !done.ok())
        return "Impossible de préparer la base : " + done.reason + ".";
    }
    // A step's new tables are read by the observers' roles too.
    if (server && seen.version > 0) {
      std::vector<std::string> roles;
      Outcome read = sql().query("SELECT DISTINCT role FROM observers WHERE role <> ''", {},
                                 [&](const Row& row) { roles.push_back(row.text(0)); });
      for (std::size_t i = 0; i < roles.size() && read.ok(); ++i) read = grant(roles[i]);
      if (!read.ok()) return "Impossible de préparer la base : " + read.reason + ".";
    }
    const Outcome stamped =
        seen.marked ? sql().execute("UPDATE kavrel_reseau SET version = $1", {Value(kSchemaVersion * 1LL)})
                    : sql().execute("INSERT INTO kavrel_reseau (mark, version) VALUES ($1, $2)",
                                    {Value(std::string(kMark)), Value(kSchemaVersion * 1LL)});
    return stamped.ok() ? std::string() : kNotChanged + stamped.reason + ".";
  }

  // On a server: the login role, its schema, and whether it is the coordinator (the
  // tables' owner, or a superuser), whom the policies do not bind.
  Outcome readRole() {
    if (!server) return {};
    Outcome outcome = sql().query("SELECT current_user, current_schema()", {}, [&](const Row& row) {
      role = row.text(0);
      schema = row.text(1);
    });
    if (!outcome.ok()) return outcome;
    std::optional<long long> owner;
    outcome = db::queryInteger(
        sql(),
        "SELECT count(*) FROM pg_roles WHERE rolname = current_user AND (rolsuper OR EXISTS (SELECT 1 FROM pg_tables"
        " WHERE schemaname = current_schema() AND tablename = 'observations' AND tableowner = current_user))",
        {}, owner);
    coordinator = owner.value_or(0) > 0;
    return outcome;
  }

  // What an observer's role may do: read everything, write observations, instruments and
  // imports (the policies then keep it to its own observer's rows).
  Outcome grant(const std::string& to) {
    const std::string who = quotedIdentifier(to);
    const std::string where = quotedIdentifier(schema);
    const std::string statements[] = {
        "GRANT USAGE ON SCHEMA " + where + " TO " + who,
        "GRANT SELECT ON ALL TABLES IN SCHEMA " + where + " TO " + who,
        "GRANT INSERT, UPDATE, DELETE ON observations TO " + who,
        "GRANT INSERT ON imports, instruments TO " + who,
        "GRANT USAGE ON ALL SEQUENCES IN SCHEMA " + where + " TO " + who,
    };
    for (const std::string& statement : statements)
      if (Outcome outcome = sql().execute(statement); !outcome.ok()) return outcome;
    return {};
  }

  // ---- An import's steps, each inside the import's transaction.

  // The rows' observers' ids; an unknown code is added by the coordinator, refused to
  // another role.
  Change observerIds(const std::vector<TableRow>& rows, std::map<std::string, Id>& ids) {
    for (const TableRow& row : rows) {
      const std::string& code = row.observation.observer;
      if (ids.contains(code)) continue;
      std::optional<long long> id;
      Outcome outcome = db::queryInteger(sql(), "SELECT id FROM observers WHERE code = $1", {code}, id);
      if (outcome.ok() && !id && !coordinator)
        return {"Ligne " + std::to_string(row.line) + " : l'observateur « " + code +
                    " » n'est pas dans le réseau, et seul le coordinateur peut l'y ajouter ; rien n'a été écrit.",
                Change::Failure::Refused};
      if (outcome.ok() && !id)
        outcome = db::queryInteger(sql(), "INSERT INTO observers (code, name) VALUES ($1, $1) RETURNING id", {code}, id);
      if (!outcome.ok()) return changeOf(outcome, role);
      ids[code] = *id;
    }
    return {};
  }

  // The rows' instruments' ids by observer and name, added when new; none for no name.
  Change instrumentIds(const std::vector<TableRow>& rows, const std::map<std::string, Id>& observers,
                       std::map<std::pair<Id, std::string>, Id>& ids) {
    for (const TableRow& row : rows) {
      const std::pair<Id, std::string> key{observers.at(row.observation.observer), row.observation.instrument};
      if (key.second.empty() || ids.contains(key)) continue;
      std::optional<long long> id;
      Outcome outcome = db::queryInteger(sql(), "SELECT id FROM instruments WHERE observer_id = $1 AND name = $2",
                                         {1LL * key.first, key.second}, id);
      if (outcome.ok() && !id)
        outcome = db::queryInteger(sql(), "INSERT INTO instruments (observer_id, name) VALUES ($1, $2) RETURNING id",
                                   {1LL * key.first, key.second}, id);
      if (outcome.kind == Outcome::Kind::Denied) return deniedRow(row);
      if (!outcome.ok()) return changeOf(outcome, role);
      ids[key] = *id;
    }
    return {};
  }

  // Each (observer, month) the rows hold taken away whole, so that the file's month
  // replaces it; an observer's months that follow each other go in one statement.
  Change replaceMonths(const std::vector<TableRow>& rows, const std::map<std::string, Id>& observers, int& replaced) {
    std::set<std::pair<Id, int>> months;  // observer, year * 12 + month - 1
    for (const TableRow& row : rows) {
      const Day& date = row.observation.date;
      months.emplace(observers.at(row.observation.observer), date.year * 12 + date.month - 1);
    }
    for (auto run = months.begin(); run != months.end();) {
      auto end = std::next(run);
      while (end != months.end() && end->first == run->first && end->second == std::prev(end)->second + 1) ++end;
      const int first = dayNumber({run->second / 12, run->second % 12 + 1, 1});
      const int after = std::prev(end)->second + 1;
      const int last = dayNumber({after / 12, after % 12 + 1, 1}) - 1;
      long long changed = 0;
      const Outcome outcome = sql().execute("DELETE FROM observations WHERE observer_id = $1 AND day BETWEEN $2 AND $3",
                                            {1LL * run->first, 1LL * first, 1LL * last}, &changed);
      if (!outcome.ok()) return changeOf(outcome, role);
      replaced += static_cast<int>(changed);
      run = end;
    }
    return {};
  }

  // The rows, many to a round trip: a server answers each statement after one, which one
  // row to a statement would pay a million times. The coordinator's rows go by COPY (on a
  // file, one prepared INSERT each: SQLite, in the process, takes them so fastest), 20,000
  // to a COPY so that a refusal still names its lines (1,000 at a time on a file, whose
  // values need not be held longer); an observer's role, which the
  // server's row-level security binds and COPY does not take, sends INSERTs of 400 rows.
  Change insertRows(const std::vector<TableRow>& rows, const std::map<std::string, Id>& observers,
                    const std::map<std::pair<Id, std::string>, Id>& instruments, int& stored) {
    const bool copied = coordinator;
    const std::size_t kBatch = !copied ? 400 : server ? 20000 : 1000;
    // Read before: a server's transaction refused once answers nothing more.
    std::set<std::string> own;
    if (!coordinator) {
      if (Outcome read = sql().query("SELECT code FROM observers WHERE role = $1", {role},
                                     [&](const Row& row) { own.insert(row.text(0)); });
          !read.ok())
        return changeOf(read, role);
    }
    for (std::size_t from = 0; from < rows.size(); from += kBatch) {
      const std::size_t to = std::min(rows.size(), from + kBatch);
      std::vector<Value> values;
      values.reserve((to - from) * 11);
      for (std::size_t i = from; i < to; ++i) addValues(rows[i].observation, observers, instruments, values);
      const Outcome outcome =
          copied ? sql().copy("observations", kObservationColumns, values) : sql().execute(insertText(to - from), values);
      if (outcome.kind == Outcome::Kind::Denied) return deniedRow(firstNotOwn(rows, from, to, own));
      if (outcome.kind == Outcome::Kind::Refused)
        return {"Lignes " + std::to_string(rows[from].line) + " à " + std::to_string(rows[to - 1].line) +
                    " refusées par la base (" + outcome.reason + ") ; rien n'a été écrit.",
                Change::Failure::Refused};
      if (!outcome.ok()) return changeOf(outcome, role);
      stored += static_cast<int>(to - from);
    }
    return {};
  }

  inline static const std::vector<std::string> kObservationColumns = {
      "observer_id", "instrument_id", "day", "minutes", "quality", "g", "f", "g_north", "f_north", "g_south", "f_south"};

  static std::string insertText(std::size_t count) {
    std::string text = "INSERT INTO observations (";
    for (std::size_t i = 0; i < kObservationColumns.size(); ++i) text += (i ? ", " : "") + kObservationColumns[i];
    text += ") VALUES ";
    for (std::size_t row = 0, parameter = 1; row < count; ++row) {
      text += row ? ", (" : "(";
      for (int column = 0; column < 11; ++column, ++parameter)
        text += (column ? ", $" : "$") + std::to_string(parameter);
      text += ')';
    }
    return text;
  }

  static void addValues(const NetworkObservation& seen, const std::map<std::string, Id>& observers,
                        const std::map<std::pair<Id, std::string>, Id>& instruments, std::vector<Value>& values) {
    const Id observer = observers.at(seen.observer);
    const auto instrument = instruments.find({observer, seen.instrument});
    const auto count = [](const std::optional<Counts>& counts, bool spots) -> Value {
      if (!counts) return nullptr;
      return 1LL * (spots ? counts->spots : counts->groups);
    };
    values.insert(values.end(),
                  {1LL * observer, instrument == instruments.end() ? Value(nullptr) : Value(1LL * instrument->second),
                   1LL * dayNumber(seen.date),
                   seen.time ? Value(seen.time->hour * 60LL + seen.time->minute) : Value(nullptr),
                   db::valueOf(seen.quality), 1LL * seen.disc.groups, 1LL * seen.disc.spots, count(seen.north, false),
                   count(seen.north, true), count(seen.south, false), count(seen.south, true)});
  }

  // The first row among rows[from, to) of an observer not tied to the login role: the
  // one the server's policy refused.
  static const TableRow& firstNotOwn(const std::vector<TableRow>& rows, std::size_t from, std::size_t to,
                                     const std::set<std::string>& own) {
    for (std::size_t i = from; i < to; ++i)
      if (!own.contains(rows[i].observation.observer)) return rows[i];
    return rows[from];
  }

  [[nodiscard]] Change deniedRow(const TableRow& row) const {
    return {"Ligne " + std::to_string(row.line) + " : le rôle « " + role +
                " » n'a pas le droit d'écrire les observations de l'observateur « " + row.observation.observer +
                " » ; rien n'a été écrit.",
            Change::Failure::Refused};
  }
};

Store::Store(std::unique_ptr<Engine> engine) : engine_(std::move(engine)) {}
Store::~Store() = default;

std::string defaultBasePath() { return userDataFile("reseau.sqlite"); }

std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

bool isServer(std::string_view base) noexcept {
  return base.starts_with("postgresql://") || base.starts_with("postgres://");
}

Store::Opened Store::open(const std::string& base, const std::string& password) {
  auto engine = std::make_unique<Engine>();
  engine->server = isServer(base);
  std::string error;
  bool passwordWanted = false;
  engine->connection =
      engine->server ? db::openPostgres(base, password, error, passwordWanted) : db::openSqlite(base, error);
  if (!engine->connection) return {nullptr, error, passwordWanted};
  if (Outcome known = engine->readRole(); !known.ok()) return {nullptr, "Impossible de lire la base : " + known.reason + "."};
  const Inspection seen = engine->inspect();
  if (std::string refused = engine->refusal(seen); !refused.empty()) return {nullptr, refused};
  if (!engine->server) {
    // Not before the inspection: a file of another kind is left as it was. A file that
    // cannot be written stays in its mode and is read; its changes then say why not.
    // A cache of 32 MiB holds an import's index pages of a large network.
    if (Outcome set = engine->sql().script("PRAGMA foreign_keys = ON; PRAGMA cache_size = -32768"); !set.ok())
      return {nullptr, "Impossible de lire la base " + base + " : " + set.reason + "."};
    (void)engine->sql().script("PRAGMA journal_mode = WAL");
  }
  if (seen.version < kSchemaVersion) {
    if (std::string failed = engine->migrate(); !failed.empty()) return {nullptr, failed};
    if (Outcome known = engine->readRole(); !known.ok())
      return {nullptr, "Impossible de lire la base : " + known.reason + "."};
  }
  return {std::unique_ptr<Store>(new Store(std::move(engine))), {}};
}

std::string Store::engine() const { return engine_->sql().engine(); }
std::string Store::role() const { return engine_->role; }

Read<std::vector<NetworkObserver>> Store::observers() const {
  Read<std::vector<NetworkObserver>> read;
  const Outcome outcome = engine_->sql().query("SELECT id, code, name, role FROM observers", {}, [&](const Row& row) {
    read.value.push_back({row.integer(0), row.text(1), row.text(2), row.text(3)});
  });
  if (!outcome.ok()) read.error = "La base n'a pas pu être lue : " + outcome.reason + ".";
  std::sort(read.value.begin(), read.value.end(), [](const auto& a, const auto& b) { return a.code < b.code; });
  return read;
}

Change Store::addObserver(const std::string& code, const std::string& name, const std::string& role) {
  Engine& engine = *engine_;
  if (code.empty()) return {"Le code de l'observateur est vide.", Change::Failure::Refused};
  if (!engine.coordinator)
    return {"Seul le coordinateur du réseau peut ajouter un observateur ; le rôle « " + engine.role + " » ne l'est pas.",
            Change::Failure::Refused};
  if (!role.empty() && !engine.server)
    return {"Une base SQLite n'a pas de rôles de connexion : le rôle « " + role + " » ne peut y être lié.",
            Change::Failure::Refused};
  if (!role.empty()) {
    std::optional<long long> known;
    if (Outcome read = db::queryInteger(engine.sql(), "SELECT count(*) FROM pg_roles WHERE rolname = $1", {role}, known);
        !read.ok())
      return changeOf(read, engine.role);
    if (known.value_or(0) == 0)
      return {"Le rôle « " + role + " » n'existe pas sur le serveur : créez-le d'abord avec les outils du serveur.",
              Change::Failure::Refused};
  }
  return inTransaction(engine.sql(), engine.role, [&]() -> Change {
    std::optional<long long> id;
    Outcome outcome = db::queryInteger(engine.sql(), "SELECT id FROM observers WHERE code = $1", {code}, id);
    const std::string shown = name.empty() ? code : name;
    if (outcome.ok())
      outcome = id ? engine.sql().execute("UPDATE observers SET name = $1, role = $2 WHERE id = $3", {shown, role, *id})
                   : engine.sql().execute("INSERT INTO observers (code, name, role) VALUES ($1, $2, $3)",
                                          {code, shown, role});
    if (!outcome.ok() || role.empty()) return changeOf(outcome, engine.role);
    return changeOf(engine.grant(role), engine.role);
  });
}

Read<std::vector<ImportRecord>> Store::imports() const {
  Read<std::vector<ImportRecord>> read;
  const Outcome outcome = engine_->sql().query(
      "SELECT id, file_name, checksum, imported_at, imported_by, row_count FROM imports ORDER BY id", {},
      [&](const Row& row) {
        read.value.push_back(
            {row.integer(0), row.text(1), row.text(2), row.text(3), row.text(4), static_cast<int>(row.integer(5))});
      });
  if (!outcome.ok()) read.error = "La base n'a pas pu être lue : " + outcome.reason + ".";
  return read;
}

Change Store::importSilso(const journal::SilsoFile& file) {
  Engine& engine = *engine_;
  return inTransaction(engine.sql(), engine.role, [&]() -> Change {
    Outcome outcome = engine.sql().execute("DELETE FROM silso");
    for (const journal::SilsoDay& day : file.days) {
      if (!outcome.ok()) break;
      if (day.total)
        outcome = engine.sql().execute("INSERT INTO silso (day, total) VALUES ($1, $2)",
                                       {Value(1LL * dayNumber(day.date)), Value(1LL * *day.total)});
    }
    return changeOf(outcome, engine.role);
  });
}

Read<std::vector<std::pair<int, int>>> Store::silso(int first, int last) const {
  Read<std::vector<std::pair<int, int>>> read;
  const Outcome outcome = engine_->sql().query(
      "SELECT day, total FROM silso WHERE day BETWEEN $1 AND $2 ORDER BY day", {1LL * first, 1LL * last},
      [&](const Row& row) {
        read.value.emplace_back(static_cast<int>(row.integer(0)), static_cast<int>(row.integer(1)));
      });
  if (!outcome.ok()) read.error = "La base n'a pas pu être lue : " + outcome.reason + ".";
  return read;
}

// By date along the index on (day, observer), a year of days to a query within the
// observations' own span: a server that sorts rather than walks the index (its
// statistics not yet made, its visibility map not yet set) then sorts a year in its
// working memory, never millions of rows on its disc. By observer, observer after observer
// along the primary key: one short query each, for the same reason.
Read<bool> Store::scan(int first, int last, Order order,
                       const std::function<void(const ObservationRow&)>& each) const {
  Connection& sql = engine_->sql();
  const auto hand = [&](const Row& row) {
    each({row.integer(0), static_cast<int>(row.integer(1)), static_cast<int>(row.integer(2)),
          row.optionalInteger(3)});
  };
  Outcome outcome;
  if (order == Order::ByDate) {
    const Read<std::optional<std::pair<int, int>>> held = span();
    if (!held.ok()) return {false, held.error};
    const long long from = held.value ? std::max(first, held.value->first) : 1;
    const long long to = held.value ? std::min(last, held.value->second) : 0;
    constexpr long long kDaysAQuery = 366;
    for (long long start = from; start <= to && outcome.ok(); start += kDaysAQuery)
      outcome = sql.query(
          "SELECT observer_id, day, 10 * g + f, quality FROM observations WHERE day BETWEEN $1 AND $2"
          " ORDER BY day, observer_id",
          {start, std::min(to, start + kDaysAQuery - 1)}, hand);
  } else {
    std::vector<long long> observers;
    outcome = sql.query("SELECT id FROM observers ORDER BY id", {},
                        [&](const Row& row) { observers.push_back(row.integer(0)); });
    for (std::size_t i = 0; i < observers.size() && outcome.ok(); ++i)
      outcome = sql.query(
          "SELECT observer_id, day, 10 * g + f, quality FROM observations"
          " WHERE observer_id = $1 AND day BETWEEN $2 AND $3 ORDER BY day",
          {observers[i], 1LL * first, 1LL * last}, hand);
  }
  Read<bool> read;
  read.value = outcome.ok();
  if (!outcome.ok()) read.error = "La base n'a pas pu être lue : " + outcome.reason + ".";
  return read;
}

namespace {

std::optional<Counts> countsOf(const Row& row, int column) {
  if (row.isNull(column) || row.isNull(column + 1)) return std::nullopt;
  return Counts{static_cast<int>(row.integer(column)), static_cast<int>(row.integer(column + 1))};
}

}  // namespace

Read<std::optional<std::pair<int, int>>> Store::span() const {
  Read<std::optional<std::pair<int, int>>> read;
  const Outcome outcome =
      engine_->sql().query("SELECT min(day), max(day) FROM observations", {}, [&](const Row& row) {
        const auto first = row.optionalInteger(0);
        const auto last = row.optionalInteger(1);
        if (first && last) read.value = std::pair{static_cast<int>(*first), static_cast<int>(*last)};
      });
  if (!outcome.ok()) read.error = "La base n'a pas pu être lue : " + outcome.reason + ".";
  return read;
}

Read<std::vector<NetworkObservation>> Store::month(int year, int month) const {
  const int first = dayNumber({year, month, 1});
  const int last = dayNumber({month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1, 1}) - 1;
  Read<std::vector<NetworkObservation>> read;
  const Outcome outcome = engine_->sql().query(
      "SELECT b.code, i.name, o.day, o.minutes, o.quality, o.g, o.f, o.g_north, o.f_north, o.g_south, o.f_south"
      " FROM observations o JOIN observers b ON b.id = o.observer_id"
      " LEFT JOIN instruments i ON i.id = o.instrument_id WHERE o.day BETWEEN $1 AND $2",
      {1LL * first, 1LL * last}, [&](const Row& row) {
        NetworkObservation seen;
        seen.observer = row.text(0);
        seen.instrument = row.text(1);
        seen.date = dayOfNumber(static_cast<int>(row.integer(2)));
        if (const auto minutes = row.optionalInteger(3)) seen.time = TimeOfDay{*minutes / 60, *minutes % 60};
        seen.quality = row.optionalInteger(4);
        seen.disc = {static_cast<int>(row.integer(5)), static_cast<int>(row.integer(6))};
        seen.north = countsOf(row, 7);
        seen.south = countsOf(row, 9);
        read.value.push_back(std::move(seen));
      });
  if (!outcome.ok()) read.error = "La base n'a pas pu être lue : " + outcome.reason + ".";
  std::sort(read.value.begin(), read.value.end(), [](const auto& a, const auto& b) {
    return std::tie(a.date, a.observer) < std::tie(b.date, b.observer);
  });
  return read;
}

Change Store::storeCoefficients(const std::vector<StoredK>& ks) {
  Engine& engine = *engine_;
  return inTransaction(engine.sql(), engine.role, [&]() -> Change {
    Outcome outcome = engine.sql().execute("DELETE FROM coefficients");
    for (const StoredK& k : ks) {
      if (!outcome.ok()) break;
      outcome = engine.sql().execute(
          "INSERT INTO coefficients (observer_id, year, days, k_sums, k_mean, k_sigma, k_median)"
          " VALUES ($1, $2, $3, $4, $5, $6, $7)",
          {Value(1LL * k.observer), Value(1LL * k.year), Value(1LL * k.days), db::valueOf(k.sums),
           db::valueOf(k.mean), db::valueOf(k.sigma), db::valueOf(k.median)});
    }
    return changeOf(outcome, engine.role);
  });
}

Imported Store::importRows(const ImportRecord& file, const std::vector<TableRow>& rows, bool partial, bool refused) {
  Imported imported;
  if (refused && !partial) {
    imported.error = "Des lignes du fichier sont refusées : rien n'a été écrit (l'import partiel écrit les autres).";
    return imported;
  }
  Engine& engine = *engine_;
  const Change change = inTransaction(engine.sql(), engine.role, [&]() -> Change {
    std::optional<long long> seen;
    if (Outcome outcome =
            db::queryInteger(engine.sql(), "SELECT count(*) FROM imports WHERE checksum = $1", {file.checksum}, seen);
        !outcome.ok())
      return changeOf(outcome, engine.role);
    if (seen.value_or(0) > 0) {
      imported.alreadyImported = true;
      return {};
    }
    std::map<std::string, Id> observers;
    std::map<std::pair<Id, std::string>, Id> instruments;
    Change step = engine.observerIds(rows, observers);
    if (step.done()) step = engine.instrumentIds(rows, observers, instruments);
    if (step.done()) step = engine.replaceMonths(rows, observers, imported.replaced);
    if (step.done()) step = engine.insertRows(rows, observers, instruments, imported.stored);
    if (!step.done()) return step;
    const Outcome outcome = engine.sql().execute(
        "INSERT INTO imports (file_name, checksum, imported_at, imported_by, row_count) VALUES ($1, $2, $3, $4, $5)",
        {file.fileName, file.checksum, file.importedAt.empty() ? utcNow() : file.importedAt,
         file.importedBy.empty() ? (engine.server ? engine.role : loginName()) : file.importedBy,
         1LL * imported.stored});
    return changeOf(outcome, engine.role);
  });
  if (!change.done() || imported.alreadyImported) imported.stored = imported.replaced = 0;
  imported.error = change.error;
  imported.failure = change.failure;
  return imported;
}

}  // namespace kavrel::reseau
