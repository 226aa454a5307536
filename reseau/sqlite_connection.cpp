// The network's base in one SQLite file (connection.h): the statements' "$N" parameters
// read as SQLite's "?N", each statement prepared once and kept, rows stepped one at a time.
// WAL so that a window reads while an import writes; a busy timeout so that two importers
// wait for each other rather than fail; foreign keys enforced. Only SQLite opens the file:
// a descriptor of our own on it, once closed, would drop the locks SQLite holds.
#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <span>
#include <type_traits>

#include "journal/sqlite_support.h"
#include "reseau/connection.h"

namespace kavrel::reseau::db {
namespace {

// "$12" → "?12"; the base's statements hold no "$" in their literals.
std::string sqliteText(const std::string& sql) {
  std::string text = sql;
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '$' && text[i + 1] >= '0' && text[i + 1] <= '9') text[i] = '?';
  return text;
}

Outcome failure(sqlite3* db, int rc) {
  const int primary = rc & 0xff;
  Outcome outcome;
  outcome.kind = primary == SQLITE_CONSTRAINT ? Outcome::Kind::Refused : Outcome::Kind::NotWritten;
  outcome.reason = journal::sql::sqliteReason(db, rc);
  if (primary == SQLITE_CONSTRAINT) outcome.reason = sqlite3_errmsg(db);
  if (primary == SQLITE_NOTADB) outcome = {Outcome::Kind::NotABase, "ce n'est pas une base SQLite"};
  return outcome;
}

class SqliteRow final : public Row {
 public:
  explicit SqliteRow(sqlite3_stmt* statement) : statement_(statement) {}
  bool isNull(int column) const override { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
  long long integer(int column) const override { return sqlite3_column_int64(statement_, column); }
  double real(int column) const override { return sqlite3_column_double(statement_, column); }
  std::string text(int column) const override {
    const auto* bytes = sqlite3_column_text(statement_, column);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes), sqlite3_column_bytes(statement_, column)) : "";
  }

 private:
  sqlite3_stmt* statement_;
};

class SqliteConnection final : public Connection {
 public:
  explicit SqliteConnection(sqlite3* db) : db_(db) {}
  ~SqliteConnection() override {
    for (auto& [text, statement] : statements_) sqlite3_finalize(statement);
    sqlite3_close_v2(db_);
  }
  std::string engine() const override { return "SQLite"; }

  Outcome execute(const std::string& sql, const std::vector<Value>& parameters, long long* changed) override {
    Outcome outcome = query(sql, parameters, [](const Row&) {});
    if (changed) *changed = outcome.ok() ? sqlite3_changes64(db_) : 0;
    return outcome;
  }

  Outcome query(const std::string& sql, const std::vector<Value>& parameters,
                const std::function<void(const Row&)>& each) override {
    sqlite3_stmt* statement = nullptr;
    if (const int rc = prepared(sql, statement); rc != SQLITE_OK) return failure(db_, rc);
    if (const int rc = bind(statement, parameters); rc != SQLITE_OK) return failure(db_, rc);
    const SqliteRow row(statement);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) each(row);
    Outcome outcome = rc == SQLITE_DONE ? Outcome{} : failure(db_, rc);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return outcome;
  }

  Outcome copy(const std::string& table, const std::vector<std::string>& columns,
              const std::vector<Value>& values) override {
    std::string sql = "INSERT INTO " + table + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + columns[i];
    sql += ") VALUES (";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? ", ?" : "?") + std::to_string(i + 1);
    sql += ')';
    sqlite3_stmt* statement = nullptr;
    if (const int rc = prepared(sql, statement); rc != SQLITE_OK) return failure(db_, rc);
    for (std::size_t from = 0; from + columns.size() <= values.size(); from += columns.size()) {
      int rc = bind(statement, values.begin() + static_cast<std::ptrdiff_t>(from), columns.size());
      if (rc == SQLITE_OK) rc = sqlite3_step(statement);
      sqlite3_reset(statement);
      if (rc != SQLITE_DONE && rc != SQLITE_OK) {
        Outcome outcome = failure(db_, rc);
        sqlite3_clear_bindings(statement);
        return outcome;
      }
    }
    sqlite3_clear_bindings(statement);
    return {};
  }

  Outcome script(const std::string& sql) override {
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? Outcome{} : failure(db_, rc);
  }
  Outcome begin() override { return script("BEGIN IMMEDIATE"); }
  Outcome commit() override { return script("COMMIT"); }
  void rollback() override {
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }

 private:
  int prepared(const std::string& sql, sqlite3_stmt*& statement) {
    if (auto found = statements_.find(sql); found != statements_.end()) {
      statement = found->second;
      return SQLITE_OK;
    }
    const int rc = sqlite3_prepare_v3(db_, sqliteText(sql).c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (rc == SQLITE_OK) statements_.emplace(sql, statement);
    return rc;
  }

  static int bind(sqlite3_stmt* statement, const std::vector<Value>& parameters) {
    return bind(statement, parameters.begin(), parameters.size());
  }
  static int bind(sqlite3_stmt* statement, std::vector<Value>::const_iterator first, std::size_t count) {
    int index = 1;
    for (const Value& value : std::span<const Value>(first, count)) {
      const int rc = std::visit(
          [&](const auto& v) -> int {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::nullptr_t>)
              return sqlite3_bind_null(statement, index);
            else if constexpr (std::is_same_v<T, long long>)
              return sqlite3_bind_int64(statement, index, v);
            else if constexpr (std::is_same_v<T, double>)
              return sqlite3_bind_double(statement, index, v);
            else
              return sqlite3_bind_text(statement, index, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
          },
          value);
      if (rc != SQLITE_OK) return rc;
      ++index;
    }
    return SQLITE_OK;
  }

  sqlite3* db_;
  std::map<std::string, sqlite3_stmt*> statements_;
};

}  // namespace

std::unique_ptr<Connection> openSqlite(const std::string& path, std::string& error) {
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    error = "Impossible d'ouvrir la base " + path + " : " + journal::sql::sqliteReason(db, rc) + ".";
    sqlite3_close_v2(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, journal::sql::kBusyTimeoutMs);
  sqlite3_extended_result_codes(db, 1);
  return std::make_unique<SqliteConnection>(db);
}

}  // namespace kavrel::reseau::db
