// The month's sheet as every front end shows it: the Journal window's table, `kavrel
// journal mois` and the printed page. One row per day observed (the day's observation),
// then the month's lines with their exact captions:
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

struct MonthSheet {
  std::vector<std::string> headings;           // the table's column headings
  std::vector<std::vector<std::string>> rows;  // one per day, cells under the headings
  std::vector<std::string> meansLines;         // the month's lines, captions included
  // The remarks of the days' observations, each day with its own: "3 : voile léger".
  std::vector<std::string> remarks;
};

// `observations`: one observer's of the month, any order. With a `chosenK`, the mean R's
// line is followed by that mean times k: "Moyenne de R : 87,30 (× 1,22 : 106,5)".
[[nodiscard]] MonthSheet monthSheet(const std::vector<Observation>& observations, std::string_view decimalSeparator,
                                    std::optional<double> chosenK = std::nullopt);

// A k the user chose, as given: "1,22" rather than "1,2200" (four decimals at most).
[[nodiscard]] std::string chosenKText(double k, std::string_view decimalSeparator);

// The day's line of `kavrel journal mois`: the row's cells laid out in columns.
[[nodiscard]] std::string sheetLine(const MonthSheet& sheet, std::size_t row);
// The headings laid out in the same columns, to print above the days' lines.
[[nodiscard]] std::string sheetHeadingLine(const MonthSheet& sheet);

}  // namespace kavrel::journal
