// The month's sheet as every front end shows it: the Journal window's table, `kavrel
// journal mois` and the printed page. One row per day of the log in date order: the day's
// observation of a day observed, or a day not observed ("–" for its time and counts), each
// with its remarks in the last column; then the month's lines, over the days observed
// only, with their exact captions:
//   "Jours d'observation : 19", "Moyenne de R : 84,37", "Moyenne de R nord : 31,05",
//   "Moyenne de R sud : 53,32", "Groupes par jour : 5,42"
// (two decimals, with the user's decimal separator; "–" where there is no mean, as for R
// north in a month without split counts).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

// The heading of the remarks' column, the last, present only in a month that has some.
inline constexpr std::string_view kRemarksHeading = "Remarques";

struct MonthSheet {
  std::vector<std::string> headings;           // the table's column headings
  std::vector<std::vector<std::string>> rows;  // one per day, cells under the headings
  std::vector<Id> rowObservations;             // each row's observation; 0 for a day not observed
  std::vector<Id> rowUnobservedDays;           // each row's day not observed; 0 for an observation
  std::vector<std::string> meansLines;         // the month's lines, captions included
  // The rows' remarks as a list, each after its day: "3 : voile léger", "4 : C".
  std::vector<std::string> remarks;
};

// `observations` and `unobserved`: one observer's of the month, any order (a day not
// observed that has an observation all the same shows as observed). With a `chosenK`, the
// mean R's line is followed by that mean times k: "Moyenne de R : 87,30 (× 1,22 : 106,5)".
[[nodiscard]] MonthSheet monthSheet(const std::vector<Observation>& observations, std::string_view decimalSeparator,
                                    std::optional<double> chosenK = std::nullopt,
                                    const std::vector<UnobservedDay>& unobserved = {});

// A k the user chose, as given: "1,22" rather than "1,2200" (four decimals at most).
[[nodiscard]] std::string chosenKText(double k, std::string_view decimalSeparator);

// The day's line of `kavrel journal mois`: the row's cells laid out in columns, the
// numbers right-aligned, the remarks left as they are (a row without one ends at R).
[[nodiscard]] std::string sheetLine(const MonthSheet& sheet, std::size_t row);
// The headings laid out in the same columns, to print above the days' lines; "Remarques"
// only in a month that has some.
[[nodiscard]] std::string sheetHeadingLine(const MonthSheet& sheet);

}  // namespace kavrel::journal
