// What the journal's modules share to speak to SQLite: a prepared statement that keeps its
// first failure, one transaction taken at once (BEGIN IMMEDIATE) and rolled back whole on
// failure, and the French reasons of SQLite's and the system's failures. Internal to
// journal/: the front ends see only journal.h.
#pragma once

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/date_text.h"
#include "common/file_bytes.h"
#include "journal/journal.h"
#include "journal/records.h"

namespace kavrel::journal::sql {

inline constexpr int kBusyTimeoutMs = 5000;
constexpr char kNotChanged[] = "Le journal n'a pas été modifié : ";
// ---------------------------------------------------------------------------------------
// Reasons, in French.

// The system's reasons are the ones every file the suite writes gives (common/file_bytes.h).
using kavrel::fileErrorReason;

// Why SQLite failed, from its extended code and the system's errno behind it.
inline std::string sqliteReason(sqlite3* db, int rc) {
  const int primary = rc & 0xff;
  const int error = db ? sqlite3_system_errno(db) : 0;
  switch (primary) {
    case SQLITE_FULL: return "plus de place sur le disque";
    case SQLITE_READONLY: return "le fichier ou son dossier est en lecture seule";
    case SQLITE_BUSY: case SQLITE_LOCKED:
      return "un autre programme l'a tenu occupé plus de " + std::to_string(kBusyTimeoutMs / 1000) + " secondes";
    case SQLITE_CORRUPT: case SQLITE_NOTADB: return "il est endommagé";
    case SQLITE_NOMEM: return "plus de mémoire";
    case SQLITE_IOERR: case SQLITE_CANTOPEN: case SQLITE_PERM:
      if (error == ENOSPC || error == EDQUOT) return "plus de place sur le disque";
      if (error == EROFS) return "le fichier ou son dossier est en lecture seule";
      return error ? fileErrorReason(error) : "erreur d'écriture sur le disque";
    default: return std::string("erreur de SQLite (") + sqlite3_errstr(rc) + ")";
  }
}

// The reason a change was not made, and which kind of reason (journal.h: Failure): a plain
// text is a refusal of what was given; the file's failures are made by notChanged and
// changesRefused.
struct Problem {
  std::string message;  // empty: none
  Failure failure = Failure::Refused;

  Problem() = default;
  Problem(std::string text, Failure kind = Failure::Refused) : message(std::move(text)), failure(kind) {}
  Problem(const char* text) : message(text) {}
  [[nodiscard]] bool empty() const noexcept { return message.empty(); }
};

// A change the file did not take, with SQLite's reason.
inline Problem notChanged(sqlite3* db, int rc) {
  return {kNotChanged + sqliteReason(db, rc) + '.', Failure::NotWritten};
}

// A change not made, for the problem met.
inline Change failedChange(Problem problem) { return {std::move(problem.message), 0, problem.failure}; }

// What a journal let go (Journal::release) answers while a file dialog is shown.
constexpr char kReleased[] = "Le journal est laissé le temps d'une fenêtre de fichiers : il n'est ni lu ni modifié.";
// Why a reading of the journal on `db` stopped at `status` (SQLITE_OK: read to the end,
// found or not; empty then): the journal let go, or SQLite's reason.
inline std::string readFailure(sqlite3* db, int status) {
  if (status == SQLITE_OK) return {};
  if (const char* file = sqlite3_db_filename(db, "main"); !(file && *file)) return kReleased;
  return "Le journal n'a pas pu être lu : " + sqliteReason(db, status) + ".";
}
// Why a journal opened read only cannot be written ("Ce journal est en lecture seule : son
// dossier /media/cd ne peut être écrit."), from its file, its folder and their medium.
[[nodiscard]] std::string readOnlyReason(const std::string& path);
// Why every change to the journal open on `db` is refused before one is tried (read only,
// or let go); empty when it may be changed.
[[nodiscard]] Problem changesRefused(sqlite3* db);

// ---------------------------------------------------------------------------------------
// A prepared statement. A failure to prepare or to bind is kept and answered by every
// step, so that a chain of calls is checked once; a step that fails (a row refused by a
// constraint) leaves the statement ready for the next binding.

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  template <class... Values>
  Statement& bind(const Values&... values) {
    if (rc_ != SQLITE_OK) return *this;
    sqlite3_reset(stmt_);
    int index = 1;
    (bindOne(index++, values), ...);
    return *this;
  }

  // SQLITE_ROW or SQLITE_DONE, else the failure.
  int step() {
    if (rc_ != SQLITE_OK) return rc_;
    const int rc = sqlite3_step(stmt_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) sqlite3_reset(stmt_);
    return rc;
  }
  // SQLITE_OK when the statement ran to its end.
  int run() {
    const int rc = step();
    return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
  }

  [[nodiscard]] Id integer(int column) const { return sqlite3_column_int64(stmt_, column); }
  [[nodiscard]] std::optional<int> optionalInteger(int column) const {
    if (sqlite3_column_type(stmt_, column) == SQLITE_NULL) return std::nullopt;
    return sqlite3_column_int(stmt_, column);
  }
  [[nodiscard]] std::optional<double> optionalReal(int column) const {
    if (sqlite3_column_type(stmt_, column) == SQLITE_NULL) return std::nullopt;
    return sqlite3_column_double(stmt_, column);
  }
  [[nodiscard]] std::string text(int column) const {
    const auto* bytes = sqlite3_column_text(stmt_, column);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes), sqlite3_column_bytes(stmt_, column)) : "";
  }
  // The column's bytes, valid until the next step; empty for NULL.
  [[nodiscard]] std::string_view view(int column) const {
    const auto* bytes = sqlite3_column_text(stmt_, column);
    return bytes ? std::string_view(reinterpret_cast<const char*>(bytes), sqlite3_column_bytes(stmt_, column))
                 : std::string_view();
  }
  [[nodiscard]] const unsigned char* rawText(int column) const { return sqlite3_column_text(stmt_, column); }
  [[nodiscard]] int rawLength(int column) const { return sqlite3_column_bytes(stmt_, column); }

 private:
  void bindOne(int index, std::nullptr_t) { check(sqlite3_bind_null(stmt_, index)); }
  void bindOne(int index, int value) { check(sqlite3_bind_int(stmt_, index, value)); }
  void bindOne(int index, Id value) { check(sqlite3_bind_int64(stmt_, index, value)); }
  void bindOne(int index, double value) { check(sqlite3_bind_double(stmt_, index, value)); }
  void bindOne(int index, const std::string& value) {
    check(sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT));
  }
  void bindOne(int index, const char* value) { check(sqlite3_bind_text(stmt_, index, value, -1, SQLITE_STATIC)); }
  template <class T>
  void bindOne(int index, const std::optional<T>& value) {
    if (value)
      bindOne(index, *value);
    else
      bindOne(index, nullptr);
  }
  void check(int rc) {
    if (rc != SQLITE_OK && rc_ == SQLITE_OK) rc_ = rc;
  }

  sqlite3_stmt* stmt_ = nullptr;
  int rc_;
};

inline int execute(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

// One integer answered by a query (a pragma, a count); the failure otherwise.
inline int queryInteger(sqlite3* db, const char* sql, Id& value) {
  Statement statement(db, sql);
  const int rc = statement.step();
  if (rc == SQLITE_ROW) {
    value = statement.integer(0);
    return SQLITE_OK;
  }
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// `body` inside BEGIN IMMEDIATE … COMMIT, rolled back when it fails: the first writer
// takes the file's lock at once and the other waits for it (busy timeout), so that no
// transaction has to give up half way. `body` returns no problem when done, else the
// whole message of the failure and its kind.
template <class Body>
Problem inTransaction(sqlite3* db, Body&& body) {
  if (Problem refused = changesRefused(db); !refused.empty()) return refused;
  if (const int rc = execute(db, "BEGIN IMMEDIATE"); rc != SQLITE_OK) return notChanged(db, rc);
  Problem error = body();
  // A body that rolled back itself (an import refused as a whole) has nothing to commit.
  if (error.empty() && sqlite3_get_autocommit(db)) return {};
  if (error.empty()) {
    const int rc = execute(db, "COMMIT");
    if (rc == SQLITE_OK) return {};
    error = notChanged(db, rc);
  }
  if (!sqlite3_get_autocommit(db)) execute(db, "ROLLBACK");
  return error;
}

// The observer of what is stored under `code` (journal.cpp): the one of that code, created
// when new (its id then added to `created`); without a code, the journal's only observer,
// else a new "OBS". No problem when found.
[[nodiscard]] Problem observerOfCode(sqlite3* db, std::string_view code, Id& id, std::vector<Id>& created);

// A day as the journal's tables keep it, 2014-02-03: text that sorts as the dates do.
inline std::string dateText(Day day) { return isoDate(day.year, day.month, day.day); }

// A day read back from its column; the zero day for a text of another layout.
inline Day dayOfText(std::string_view text) {
  const std::optional<YearMonthDay> read = readIsoDate(text);
  return read ? Day{read->year, read->month, read->day} : Day{};
}

// A time of UT as the journal's tables keep it, 09:05, and read back.
inline std::string timeText(TimeOfDay time) { return hourMinute(time.hour, time.minute); }
inline std::optional<TimeOfDay> timeOfText(std::string_view text) {
  const std::optional<HourMinute> read = readHourMinute(text);
  return read ? std::optional(TimeOfDay{read->hour, read->minute}) : std::nullopt;
}

}  // namespace kavrel::journal::sql
