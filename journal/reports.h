// The monthly reports that observers send to their networks, made from one observer's
// observations of a month (the day's observation chosen as month.h says). The networks
// derive each observer's k themselves from raw counts: their reports hold g, f and R as
// counted, never multiplied; only the suite's own CSV carries a chosen k, beside R.
// - Aavso: the solar section's monthly text, named <CODE><YY><MM>.RAW: "Solar data from:
//   CODE", the observer's name, "For the month of: MAY 2003", the columns' names "Day see
//   UT g s W ng sg ns ss Obs.", then one line per day in the columns of the section's
//   published example "12 E 2312 5 23 73 2 3 8 15 HUZR" (day, seeing letter, UT hhmm, g,
//   s, W, ng, sg, ns, ss, observer's code);
// - Baa: the white-light form as CSV, "Observer,NAME" and "Month,May 2003" above the
//   table, per day gn gs g fn fs f R, then the month's means; always "," and the decimal
//   point, the same bytes in any locale, since the form goes to a British network;
// - Ceslopol: the CSV the Czech and Slovak network's programs read, in Windows-1250,
//   "Rok;Měsíc;Den;U;T;Č.Poz.;Pozorovatel;Q;Obr.;g;f;r", every row naming its year, month
//   and observer;
// - Csv: every observation of the month (not only the day's) in the suite's dialect, R
//   north and south included; with a k, the columns k and R_k (R × k).
// Each report is bytes ready to be written whole, with the file name it suggests
// ("HUZR0305.RAW", "baa-HUZR-2003-05.csv", "ceslopol-…", "journal-…").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

enum class ReportFormat { Aavso, Baa, Ceslopol, Csv };

struct Report {
  std::string fileName;  // suggested, see above
  std::string bytes;
};

// `observations`: the observer's observations of the month (year, month), in any order;
// `decimalSeparator` "," or "." chooses the dialect of the suite's CSV; `k`, the
// observer's chosen k, adds to the suite's CSV the columns k and R_k (R × k rounded to the
// whole number), R staying as counted. The networks' reports never take it (carriesK).
[[nodiscard]] Report monthReport(ReportFormat format, const Observer& observer, int year, int month,
                                 const std::vector<Observation>& observations, std::string_view decimalSeparator,
                                 std::optional<double> k = std::nullopt);

// Whether the report can carry a chosen k: the suite's CSV alone.
[[nodiscard]] constexpr bool carriesK(ReportFormat format) noexcept { return format == ReportFormat::Csv; }

// What a report says of k, for the one who writes it: a network's report holds the raw
// counts ("Comptes bruts : le réseau calcule lui-même le k de l'observateur."); the
// suite's CSV says by what R is multiplied ("R multiplié par k = 1,22 dans la colonne
// R_k ; R reste tel que compté."), or that it is not ("Aucun k choisi : R tel que
// compté.").
[[nodiscard]] std::string reportKNote(ReportFormat format, std::optional<double> k, std::string_view decimalSeparator);

// "aavso", "baa", "ceslopol", "csv", in either case; none for another name.
[[nodiscard]] std::optional<ReportFormat> reportFormatNamed(std::string_view name) noexcept;

}  // namespace kavrel::journal
