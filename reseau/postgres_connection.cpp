// The network's base on a PostgreSQL server, through libpq (connection.h): parameters sent
// as text, their types inferred by the server from the statement; an answer's rows handed
// one at a time (single-row mode), so that a reading of millions of observations keeps
// one row in memory. Numbers are read and written with the C++ library's own conversions,
// which do not follow the locale a window sets. The server's failures are told apart by
// their SQLSTATE: a right refused (42501), a constraint (class 23), the server gone.
#include <libpq-fe.h>

#include <cctype>
#include <charconv>
#include <map>
#include <cstring>
#include <type_traits>

#include "reseau/connection.h"

namespace kavrel::reseau::db {
namespace {

constexpr char kServerGone[] = "le serveur ne répond plus";

std::string trimmed(const char* message) {
  std::string text = message ? message : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// The kind and French reason of a failure: `result` may be null (the connection lost).
Outcome failure(PGconn* connection, const PGresult* result) {
  Outcome outcome;
  outcome.kind = Outcome::Kind::NotWritten;
  const char* field = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const std::string state = field ? field : "";
  const std::string message = trimmed(result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr);
  if (PQstatus(connection) == CONNECTION_BAD || state.starts_with("08") || state.starts_with("57P")) {
    outcome.reason = kServerGone;
  } else if (state == "42501") {
    outcome.kind = Outcome::Kind::Denied;
    outcome.reason = "droit refusé par le serveur (" + message + ")";
  } else if (state.starts_with("23")) {
    outcome.kind = Outcome::Kind::Refused;
    outcome.reason = message;
  } else if (state == "53100") {
    outcome.reason = "plus de place sur le disque du serveur";
  } else if (state == "25006") {
    outcome.reason = "le serveur n'accepte que des lectures";
  } else {
    outcome.reason = "erreur du serveur (" + (message.empty() ? trimmed(PQerrorMessage(connection)) : message) + ")";
  }
  return outcome;
}

std::string textOf(double value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

// A value as COPY's text format writes it: \N for NULL; a text's backslashes, tabs and
// line ends escaped.
void appendCopyText(std::string& line, const Value& value) {
  std::visit(
      [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::nullptr_t>) {
          line += "\\N";
        } else if constexpr (std::is_same_v<T, long long>) {
          char buffer[24];
          line.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
        } else if constexpr (std::is_same_v<T, double>) {
          line += textOf(v);
        } else {
          for (const char c : v) {
            switch (c) {
              case '\\': line += "\\\\"; break;
              case '\t': line += "\\t"; break;
              case '\n': line += "\\n"; break;
              case '\r': line += "\\r"; break;
              default: line += c;
            }
          }
        }
      },
      value);
}

class PostgresRow final : public Row {
 public:
  PostgresRow(const PGresult* result, int row) : result_(result), row_(row) {}
  bool isNull(int column) const override { return PQgetisnull(result_, row_, column) != 0; }
  long long integer(int column) const override {
    long long value = 0;
    const char* text = PQgetvalue(result_, row_, column);
    std::from_chars(text, text + std::strlen(text), value);
    return value;
  }
  double real(int column) const override {
    double value = 0;
    const char* text = PQgetvalue(result_, row_, column);
    std::from_chars(text, text + std::strlen(text), value);
    return value;
  }
  std::string text(int column) const override {
    return std::string(PQgetvalue(result_, row_, column), PQgetlength(result_, row_, column));
  }

 private:
  const PGresult* result_;
  int row_;
};

// The parameters as libpq takes them: texts, a null pointer for NULL.
struct Parameters {
  std::vector<std::string> texts;
  std::vector<const char*> pointers;
  explicit Parameters(const std::vector<Value>& values) {
    texts.reserve(values.size());
    for (const Value& value : values)
      texts.push_back(std::visit(
          [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::nullptr_t>)
              return {};
            else if constexpr (std::is_same_v<T, long long>)
              return std::to_string(v);
            else if constexpr (std::is_same_v<T, double>)
              return textOf(v);
            else
              return v;
          },
          value));
    for (std::size_t i = 0; i < values.size(); ++i)
      pointers.push_back(std::holds_alternative<std::nullptr_t>(values[i]) ? nullptr : texts[i].c_str());
  }
};

class PostgresConnection final : public Connection {
 public:
  explicit PostgresConnection(PGconn* connection) : connection_(connection) {}
  ~PostgresConnection() override { PQfinish(connection_); }
  std::string engine() const override { return "PostgreSQL"; }

  // Each statement with parameters is prepared once and kept by its text, so that the
  // server parses an import's statement once rather than at each batch.
  Outcome execute(const std::string& sql, const std::vector<Value>& parameters, long long* changed) override {
    if (parameters.empty()) return executeText(sql, changed);
    std::string name;
    if (Outcome prepared = prepare(sql, parameters.size(), name); !prepared.ok()) return prepared;
    const Parameters sent(parameters);
    PGresult* result = PQexecPrepared(connection_, name.c_str(), static_cast<int>(sent.pointers.size()),
                                      sent.pointers.data(), nullptr, nullptr, 0);
    return finished(result, changed);
  }
  Outcome executeText(const std::string& sql, long long* changed) {
    return finished(PQexec(connection_, sql.c_str()), changed);
  }

  Outcome finished(PGresult* result, long long* changed) {
    const ExecStatusType status = PQresultStatus(result);
    Outcome outcome = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK ? Outcome{} : failure(connection_, result);
    if (changed) *changed = outcome.ok() ? std::atoll(PQcmdTuples(result)) : 0;
    PQclear(result);
    return outcome;
  }

  // The name of `sql` prepared on this connection; a statement the server refuses to
  // prepare is not kept.
  Outcome prepare(const std::string& sql, std::size_t parameters, std::string& name) {
    if (auto found = prepared_.find(sql); found != prepared_.end()) {
      name = found->second;
      return {};
    }
    name = "kavrel_" + std::to_string(prepared_.size() + 1);
    Outcome outcome =
        finished(PQprepare(connection_, name.c_str(), sql.c_str(), static_cast<int>(parameters), nullptr), nullptr);
    if (outcome.ok()) prepared_.emplace(sql, name);
    return outcome;
  }

  Outcome query(const std::string& sql, const std::vector<Value>& parameters,
                const std::function<void(const Row&)>& each) override {
    const Parameters sent(parameters);
    if (!PQsendQueryParams(connection_, sql.c_str(), static_cast<int>(sent.pointers.size()), nullptr,
                           sent.pointers.data(), nullptr, nullptr, 0))
      return failure(connection_, nullptr);
    PQsetSingleRowMode(connection_);
    Outcome outcome;
    bool answered = false;
    // Every result is read, to the last, so that the connection is ready for the next.
    while (PGresult* result = PQgetResult(connection_)) {
      const ExecStatusType status = PQresultStatus(result);
      if (status == PGRES_SINGLE_TUPLE && outcome.ok()) each(PostgresRow(result, 0));
      if (status == PGRES_SINGLE_TUPLE || status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK)
        answered = true;
      else if (outcome.ok())
        outcome = failure(connection_, result);
      PQclear(result);
    }
    if (outcome.ok() && !answered) outcome = failure(connection_, nullptr);
    return outcome;
  }

  Outcome copy(const std::string& table, const std::vector<std::string>& columns,
              const std::vector<Value>& values) override {
    std::string sql = "COPY " + table + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + columns[i];
    sql += ") FROM STDIN";
    PGresult* started = PQexec(connection_, sql.c_str());
    if (PQresultStatus(started) != PGRES_COPY_IN) return finished(started, nullptr);
    PQclear(started);
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
      appendCopyText(text, values[i]);
      text += (i + 1) % columns.size() == 0 ? '\n' : '\t';
    }
    const bool sent = PQputCopyData(connection_, text.data(), static_cast<int>(text.size())) == 1;
    const bool ended = PQputCopyEnd(connection_, sent ? nullptr : "envoi interrompu") == 1;
    // Every result read, so that the connection is ready for the next statement.
    Outcome outcome;
    // A connection lost while copying stays in the copy: it would answer it again forever.
    while (PGresult* result = PQgetResult(connection_)) {
      const ExecStatusType status = PQresultStatus(result);
      if (status != PGRES_COMMAND_OK && outcome.ok()) outcome = failure(connection_, result);
      PQclear(result);
      if (status == PGRES_COPY_IN || PQstatus(connection_) == CONNECTION_BAD) break;
    }
    if (outcome.ok() && (!sent || !ended)) outcome = failure(connection_, nullptr);
    return outcome;
  }

  Outcome script(const std::string& sql) override {
    PGresult* result = PQexec(connection_, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    Outcome outcome = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK ? Outcome{} : failure(connection_, result);
    PQclear(result);
    return outcome;
  }
  Outcome begin() override { return script("BEGIN"); }
  Outcome commit() override {
    PGresult* result = PQexec(connection_, "COMMIT");
    Outcome outcome;
    if (PQresultStatus(result) != PGRES_COMMAND_OK)
      outcome = failure(connection_, result);
    else if (std::strcmp(PQcmdStatus(result), "COMMIT") != 0)  // a failed transaction ends as ROLLBACK
      outcome = {Outcome::Kind::NotWritten, "la transaction a été annulée par le serveur"};
    PQclear(result);
    return outcome;
  }
  void rollback() override {
    if (PQstatus(connection_) != CONNECTION_OK || PQtransactionStatus(connection_) == PQTRANS_IDLE) return;
    PQclear(PQexec(connection_, "ROLLBACK"));
  }

 private:
  PGconn* connection_;
  std::map<std::string, std::string> prepared_;  // text → name
};

void ignoreNotice(void*, const char*) {}

// Why a connection failed, in French: libpq's own (English) words kept only for a failure
// not told apart here. A password taken from PGPASSWORD or ~/.pgpass counts as given.
std::string connectionFailure(PGconn* connection) {
  if (PQconnectionNeedsPassword(connection)) return "Le serveur demande un mot de passe.";
  const std::string message = trimmed(PQerrorMessage(connection));
  const auto says = [&](const char* words) { return message.find(words) != std::string::npos; };
  const auto text = [](const char* value) { return std::string(value ? value : ""); };
  const auto quoted = [&](const char* name) { return "« " + text(name) + " »"; };
  if (says("password authentication failed"))
    return "Le serveur refuse le mot de passe du rôle " + quoted(PQuser(connection)) + ".";
  if (says("database \"") && says("does not exist"))
    return "La base " + quoted(PQdb(connection)) + " n'existe pas sur ce serveur.";
  if (says("role \"") && says("does not exist"))
    return "Le rôle " + quoted(PQuser(connection)) + " n'existe pas sur ce serveur.";
  if (says("Connection refused") || says("No such file or directory"))
    return "Le serveur " + quoted(PQhost(connection)) + " ne répond pas sur le port " + text(PQport(connection)) +
           " : est-il démarré ?";
  if (says("could not translate host name"))
    return "L'hôte " + quoted(PQhost(connection)) + " est inconnu.";
  if (says("timeout expired")) return "Le serveur n'a pas répondu en 10 secondes.";
  // libpq's words on one line (it breaks them with a newline and a tab), ended once.
  std::string oneLine;
  for (const char c : message)
    if (!std::isspace(static_cast<unsigned char>(c)))
      oneLine += c;
    else if (!oneLine.empty() && oneLine.back() != ' ')
      oneLine += ' ';
  const bool ended = !oneLine.empty() && std::strchr(".?!", oneLine.back());
  return "Impossible de se connecter au serveur : " + oneLine + (ended ? "" : ".");
}

}  // namespace

std::unique_ptr<Connection> openPostgres(const std::string& uri, const std::string& password, std::string& error,
                                         bool& passwordWanted) {
  const char* keys[] = {"dbname", "password", "client_encoding", "application_name", "connect_timeout", nullptr};
  const char* values[] = {uri.c_str(), password.empty() ? nullptr : password.c_str(), "UTF8", "kavrel", "10",
                          nullptr};
  // A null value is taken as not given: libpq then looks in PGPASSWORD and ~/.pgpass.
  PGconn* connection = PQconnectdbParams(keys, values, 1);
  if (PQstatus(connection) != CONNECTION_OK) {
    passwordWanted = PQconnectionNeedsPassword(connection) || PQconnectionUsedPassword(connection);
    error = connectionFailure(connection);
    PQfinish(connection);
    return nullptr;
  }
  PQsetNoticeProcessor(connection, ignoreNotice, nullptr);
  return std::make_unique<PostgresConnection>(connection);
}

}  // namespace kavrel::reseau::db
