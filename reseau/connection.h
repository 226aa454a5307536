// The engine under a network's base, seen alike for SQLite and PostgreSQL: one SQL text
// with "$1" parameters for both, rows handed one at a time, transactions begun, committed
// or rolled back. Each failure comes with its French reason and its kind: what was given
// refused (a constraint, a right), or the base not written (disk, server gone). Internal
// to reseau/: the callers see only store.h.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kavrel::reseau::db {

// A parameter: NULL, an integer, a real or a text.
using Value = std::variant<std::nullptr_t, long long, double, std::string>;

// Turns an optional into a Value, NULL when empty.
template <class T>
[[nodiscard]] Value valueOf(const std::optional<T>& value) {
  if (!value) return nullptr;
  if constexpr (std::is_floating_point_v<T>)
    return static_cast<double>(*value);
  else
    return static_cast<long long>(*value);
}

struct Outcome {
  enum class Kind {
    Done,
    Refused,     // a constraint or a check of the base
    Denied,      // the login role has not the right (SQLSTATE 42501)
    NotABase,    // a file that is not an SQLite database
    NotWritten,  // disk full, read only, server gone, busy too long
  } kind = Kind::Done;
  std::string reason;  // French, without a final full stop; empty when done
  [[nodiscard]] bool ok() const noexcept { return kind == Kind::Done; }
};

// One row of an answer, valid during the call that hands it.
class Row {
 public:
  virtual ~Row() = default;
  [[nodiscard]] virtual bool isNull(int column) const = 0;
  [[nodiscard]] virtual long long integer(int column) const = 0;  // 0 for NULL
  [[nodiscard]] virtual double real(int column) const = 0;        // 0 for NULL
  [[nodiscard]] virtual std::string text(int column) const = 0;   // empty for NULL
  [[nodiscard]] std::optional<int> optionalInteger(int column) const {
    return isNull(column) ? std::nullopt : std::optional(static_cast<int>(integer(column)));
  }
  [[nodiscard]] std::optional<double> optionalReal(int column) const {
    return isNull(column) ? std::nullopt : std::optional(real(column));
  }
};

class Connection {
 public:
  virtual ~Connection() = default;
  // "SQLite" or "PostgreSQL".
  [[nodiscard]] virtual std::string engine() const = 0;
  // One statement, its rows (if any) discarded; `changed` receives the rows it changed.
  virtual Outcome execute(const std::string& sql, const std::vector<Value>& parameters = {},
                          long long* changed = nullptr) = 0;
  // One query, each row handed to `each` in the order the server sends them, none kept.
  virtual Outcome query(const std::string& sql, const std::vector<Value>& parameters,
                        const std::function<void(const Row&)>& each) = 0;
  // Many rows into `table`'s `columns`, `values` one row after another: on a server one
  // COPY, a single round trip for them all; on a file one prepared INSERT per row. Not for
  // a role the server's row-level security binds (a server refuses COPY under it).
  virtual Outcome copy(const std::string& table, const std::vector<std::string>& columns,
                       const std::vector<Value>& values) = 0;
  // Several statements without parameters (a migration).
  virtual Outcome script(const std::string& sql) = 0;
  // A transaction that writes: SQLite takes the file's lock at once (BEGIN IMMEDIATE).
  virtual Outcome begin() = 0;
  virtual Outcome commit() = 0;
  virtual void rollback() = 0;
};

// The file at `path` (created when absent); `error` says why none.
[[nodiscard]] std::unique_ptr<Connection> openSqlite(const std::string& path, std::string& error);
// The server named by a libpq URI; `password` when not empty. `error` says why none, and
// `passwordWanted` whether a password (another one) would have let it in.
[[nodiscard]] std::unique_ptr<Connection> openPostgres(const std::string& uri, const std::string& password,
                                                       std::string& error, bool& passwordWanted);

// The first row's first column as an integer, if the query answered one.
[[nodiscard]] inline Outcome queryInteger(Connection& connection, const std::string& sql,
                                          const std::vector<Value>& parameters, std::optional<long long>& value) {
  value.reset();
  return connection.query(sql, parameters, [&](const Row& row) {
    if (!value && !row.isNull(0)) value = row.integer(0);
  });
}

}  // namespace kavrel::reseau::db
