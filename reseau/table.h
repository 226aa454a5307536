// The files observers and coordinators send, read into the network's observations and
// checked row by row as the Journal checks a typed day. Nothing here touches a base.
//
// - A coordinator's table: CSV with ";" or "," (the header line's), UTF-8 (a byte order
//   mark skipped) or Windows-1250 (a file that is not valid UTF-8), a header naming the
//   columns in any order: observer, instrument, date, time_ut, quality, g, f, and
//   optionally g_north, f_north, g_south, f_south and r (checked: 10 g + f); the French
//   names observateur, instrument, date, heure_tu, qualite (or qualité), g, f, g_nord,
//   f_nord, g_sud, f_sud too. observer, date, g and f must be named; the others may be
//   absent or empty. A column it does not know (the CESLOPOL network's second seeing
//   index "image") is set aside and named in `setAside`. The instrument is kept as
//   written, its spaces included; the observer's code is cut of its blanks.
//   A date is 1984-02-15, 15/2/1984 or 15.2.1984; a time UT 10:20 or 9:05.
// - The Journal's own reports (journal/reports.h), each recognised by its first line: its
//   CSV of a month (read by journal::parseLog; of a day's observations, the one its
//   reports choose is kept and the others' lines listed in `otherOfDay`), the CESLOPOL
//   report (Rok;Měsíc;Den;U;T;Č.Poz.;Pozorovatel;Q;Obr.;g;f;r, the observer being
//   Pozorovatel) and the AAVSO report (its seeing letter E G F P read as quality 5 4 3 2).
// Each row: a real date, not after `today`; hours 0..23 and minutes 0..59; a quality an
// integer 0..5; f ≥ g and g = 0 exactly when f = 0, north + south = the disc where split;
// the observer named; one row per observer and day (the second refused, naming the
// first's line). A last line without its line end is refused: the file was cut there,
// and a number cut short would read as a smaller one. A refused row is listed with its
// line (the header is 1) and its reasons, one refusal each, and reading goes on; after a
// thousand refused lines the file is not a table and reading stops, saying so. A header
// naming none of the columns needed is one refusal of line 1. Linear in the text's length.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reseau/records.h"

namespace kavrel::reseau {

struct TableRow {
  int line = 0;
  NetworkObservation observation;
};

struct TableRefusal {
  int line = 0;
  std::string message;  // French, without the line: "Qualité : de 0 à 5, 5 la meilleure (lu 26)."
};

struct Table {
  enum class Kind { Coordinator, JournalCsv, Ceslopol, Aavso } kind = Kind::Coordinator;
  std::vector<TableRow> rows;
  std::vector<TableRefusal> refusals;  // a file that is not a table: one refusal of line 1
  std::vector<std::string> setAside;   // the columns not read, by the header's names
  std::vector<int> otherOfDay;         // a Journal CSV's lines of a day's other observations
};

// `observer` names the observer of a report that does not (a Journal CSV without the
// observer column); empty: such a file's rows are refused.
[[nodiscard]] Table readTable(std::string_view bytes, Day today, std::string_view observer = {});

// "table d'un coordinateur", "CSV du Journal", "rapport CESLOPOL", "rapport AAVSO".
[[nodiscard]] std::string kindName(Table::Kind kind);

}  // namespace kavrel::reseau
