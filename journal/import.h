// A spreadsheet's log read for import: the suite's CSV dialect (";" with the decimal
// comma, "," with the point, RFC 4180 quoting), the separator being the header line's.
//
//   date;heure_tu;g_nord;f_nord;g_sud;f_sud;seeing;observateur;remarque
//   date;heure_tu;g_disque;f_disque;seeing;observateur;remarque
//
// The last three columns may be empty, and are optional; columns are found by name, in
// any order, and the suite's own CSV of a month (transparence, g_disque beside the
// hemispheres, R, R_nord, R_sud, and k and R_k where a k was chosen) reads back. A date is 2014-02-03 (or 3/2/2014), a time
// 09:05 or 9:05; the seeing 1..5 or a letter E G F P. A byte order mark is skipped, CRLF
// accepted, a blank row skipped. A row whose counts, seeing and transparency are empty
// and whose remark is not is a day not observed (a spreadsheet's day of clouds: "3;;;;;;C"),
// its time kept when given; a row with neither counts nor remark is refused. Each row is
// checked as a typed observation or day not observed is (checks.h); a refused row is listed with its line in the file (the header is line 1; a
// quoted line break counts) and its French messages, one refusal each. Reading stops
// after a thousand refused lines, saying so: such a file is not a log. Linear in the
// text's length. Nothing here touches a journal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

struct ImportRow {
  int line = 0;
  Observation observation;  // observerId 0: the front end gives the code to the journal
  std::string observerCode; // empty: the journal's default observer
};

struct UnobservedRow {
  int line = 0;
  UnobservedDay day;         // observerId 0, as above
  std::string observerCode;  // empty: the journal's default observer
};

struct Refusal {
  int line = 0;
  std::string message;  // "ligne 4 : …" is written by the front end
};

struct ParsedLog {
  std::vector<ImportRow> rows;
  std::vector<UnobservedRow> unobserved;  // the days not observed, in the file's order
  std::vector<Refusal> refusals;  // a wrong header is a refusal of line 1
};

[[nodiscard]] ParsedLog parseLog(std::string_view text, Day today);

}  // namespace kavrel::journal
