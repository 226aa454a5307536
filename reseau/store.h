// A network's base, on one of two engines with the same schema and the same answers:
// - SQLite (the default): one file the coordinator owns, "$XDG_DATA_HOME/kavrel/
//   reseau.sqlite", created with its folder on first use; WAL and a busy timeout;
// - PostgreSQL (shared): a libpq connection URI "postgresql://hôte/base?user=…". The
//   password comes from ~/.pgpass or PGPASSWORD, or from the caller (a window asks it);
//   it is never written anywhere. The role that creates the schema is the coordinator's:
//   it reads and writes everything. An observer's login role, tied to its observer by
//   setRole, reads everything and writes only its observer's observations and imports
//   (row-level security); a row of another observer is refused with its reason, nothing
//   written.
//
// The schema is versioned (numbered migrations, the same on both engines) and carries a
// mark of its own: a base of another program, or of a newer version, is refused, never
// written. Every change is one transaction: a process killed, a full disk, a server gone
// in the middle leaves the base as it was. Dates are kept as day numbers (records.h),
// times as minutes, so that both engines sort and compare alike; the computations are
// made here in C++, never in SQL, so that both give the same digits.
//
// Readings stream: memory stays flat whatever the network's size.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/read.h"
#include "journal/silso.h"
#include "reseau/records.h"
#include "reseau/table.h"

namespace kavrel::reseau {

using journal::Read;

// $XDG_DATA_HOME/kavrel/reseau.sqlite, ~/.local/share/kavrel/reseau.sqlite without it.
[[nodiscard]] std::string defaultBasePath();
// "2026-12-09T07:15:00Z": now, UTC, to the second, as the imports record it.
[[nodiscard]] std::string utcNow();
// Whether `base` names a server (postgresql:// or postgres://) rather than a file.
[[nodiscard]] bool isServer(std::string_view base) noexcept;

// What a change did: empty error when done; else why, and whether what was given was
// refused (a check, rights) or the base not written (disk, server gone).
struct Change {
  std::string error;
  enum class Failure { Refused, NotWritten } failure = Failure::Refused;
  [[nodiscard]] bool done() const noexcept { return error.empty(); }
};

// What an import did.
struct Imported {
  int stored = 0;            // rows written (0 when refused whole)
  int replaced = 0;          // rows of the same observers' months taken away first
  bool alreadyImported = false;  // the same bytes were imported before: nothing changed
  std::string error;         // empty when done
  Change::Failure failure = Change::Failure::Refused;
};

class Store {
 public:
  struct Opened;
  // Opens (creating on first use when it is a file) the base `base`: a path or a URI.
  // `password`: for a server whose password is neither in ~/.pgpass nor PGPASSWORD.
  [[nodiscard]] static Opened open(const std::string& base, const std::string& password = {});

  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // "SQLite" or "PostgreSQL"; the login role on a server, empty on a file.
  [[nodiscard]] std::string engine() const;
  [[nodiscard]] std::string role() const;

  // Observers, by code.
  [[nodiscard]] Read<std::vector<NetworkObserver>> observers() const;
  // Adds the observer (code unique) or, for a code known, renames it; `role` (a server's
  // login role that exists) ties it so that the role may send its days. Coordinator only.
  Change addObserver(const std::string& code, const std::string& name, const std::string& role);

  // A file's checked rows in one transaction: each (observer, month) the rows hold
  // replaces that observer's month whole; the same bytes imported again change nothing.
  // Refused whole when `refused` (the file's own refusals) is not empty, unless
  // `partial`; refused whole when the role may not write one of the observers.
  Imported importRows(const ImportRecord& file, const std::vector<TableRow>& rows, bool partial,
                              bool refused);
  [[nodiscard]] Read<std::vector<ImportRecord>> imports() const;

  // SILSO's daily total, a re-import replacing the series whole.
  Change importSilso(const journal::SilsoFile& file);
  // SILSO's days with a value between two day numbers inclusive, in date order.
  [[nodiscard]] Read<std::vector<std::pair<int, int>>> silso(int first, int last) const;

  // Every observation between two day numbers inclusive, in date order (then observer)
  // or in observer order (then date), handed one at a time.
  enum class Order { ByDate, ByObserver };
  [[nodiscard]] Read<bool> scan(int first, int last, Order order,
                                        const std::function<void(const ObservationRow&)>& each) const;
  // The first and last day numbers the observations cover; none when there is none.
  [[nodiscard]] Read<std::optional<std::pair<int, int>>> span() const;
  // The observations of a month, every observer's, as stored, in date then observer order.
  [[nodiscard]] Read<std::vector<NetworkObservation>> month(int year, int month) const;

  // The coefficients last computed, kept for the window and for the record: observer,
  // year (0: the whole period), the three rules. values.
  struct StoredK {
    Id observer = 0;
    int year = 0;
    int days = 0;
    std::optional<double> sums, mean, sigma, median;
  };
  Change storeCoefficients(const std::vector<StoredK>& ks);

 private:
  // The engine under the store (connection.h): one SQL text for both, "$1" parameters.
  struct Engine;
  explicit Store(std::unique_ptr<Engine> engine);
  std::unique_ptr<Engine> engine_;
};

struct Store::Opened {
  std::unique_ptr<Store> store;  // none when refused
  std::string error;             // why, in French: "Cette base n'est pas une base de réseau de Kavrel."
  bool passwordWanted = false;   // the server asks a password not given (or refused the one given)
};

}  // namespace kavrel::reseau
