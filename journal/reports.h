// The monthly reports that observers send to their networks, made from one observer's
// observations of a month (the day's observation chosen as month.h says):
// - Aavso: the solar section's monthly text, named <CODE><YY><MM>.RAW: "Solar data from:
//   CODE", "For the month of: MAY 2003", then one line per day in the columns of the
//   section's published example "12 E 2312 5 23 73 2 3 8 15 HUZR" (day, seeing letter, UT
//   hhmm, g, s, W, ng, sg, ns, ss, observer's code);
// - Baa: the white-light form as CSV, per day gn gs g fn fs f R, then the month's means;
// - Ceslopol: the CSV the Czech and Slovak network's programs read, in Windows-1250,
//   "Den;U;T;Č.Poz.;Q;Obr.;g;f;r";
// - Csv: every observation of the month (not only the day's) in the suite's dialect, R
//   north and south included.
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
// `decimalSeparator` "," or "." chooses the CSV dialect (Csv and Baa); `k`, the observer's
// k, multiplies every R written (the day's, the hemispheres', the month's mean), rounded
// to the whole number for a day; g and f stay as counted.
[[nodiscard]] Report monthReport(ReportFormat format, const Observer& observer, int year, int month,
                                 const std::vector<Observation>& observations, std::string_view decimalSeparator,
                                 double k = 1.0);

// "aavso", "baa", "ceslopol", "csv", in either case; none for another name.
[[nodiscard]] std::optional<ReportFormat> reportFormatNamed(std::string_view name) noexcept;

}  // namespace kavrel::journal
