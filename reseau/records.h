// What a network's base holds: its observers (each perhaps tied to a server's login role),
// their instruments, their daily counts, the files imported, SILSO's daily number and the
// coefficients computed. Plain values, without SQLite, PostgreSQL or Qt; store.h keeps
// them in a base, table.h reads them from the files observers send.
//
// One observation per observer and day: g groups and f spots of the whole disc, north
// and south too where the observer split them; R = 10 g + f. The quality is the network's
// seeing scale, an integer 0..5 (5 the best), absent where the file gives none. Dates are
// Gregorian, times UT to the minute.
#pragma once

#include <optional>
#include <string>

#include "journal/records.h"

namespace kavrel::reseau {

using journal::Counts;
using journal::Day;
using journal::TimeOfDay;
using Id = journal::Id;

// Days since 1970-01-01 (negative before), for Gregorian dates of years 1..9999; the
// base keeps dates so, and the computations pair days by it.
[[nodiscard]] int dayNumber(Day day) noexcept;
[[nodiscard]] Day dayOfNumber(int number) noexcept;

struct NetworkObserver {
  Id id = 0;
  std::string code;  // as the network's files name the observer: "IVAN", "JURAŠEK"
  std::string name;  // the code itself until the coordinator gives one
  std::string role;  // the server's login role that sends for this observer; empty: none
};

struct NetworkObservation {
  std::string observer;    // the observer's code
  std::string instrument;  // as the file writes it, trailing spaces kept; empty: none given
  Day date;
  std::optional<TimeOfDay> time;
  std::optional<int> quality;  // 0..5
  Counts disc;
  std::optional<Counts> north;  // both or neither
  std::optional<Counts> south;
};

// One observation as the computations read it (network_number.h), as a base streams it.
struct ObservationRow {
  Id observer = 0;
  int day = 0;  // dayNumber
  int relative = 0;  // R of the disc
  std::optional<int> quality;
};

// A file as imported: its name (without folder), its bytes' SHA-256 in hex, when (UTC,
// "2026-12-09T07:15:00Z") and by whom (the coordinator's or observer's role or login).
struct ImportRecord {
  Id id = 0;
  std::string fileName;
  std::string checksum;
  std::string importedAt;
  std::string importedBy;
  int rows = 0;
};

}  // namespace kavrel::reseau
