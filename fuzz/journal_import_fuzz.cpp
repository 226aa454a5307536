// A spreadsheet's log made of arbitrary bytes, read for import.
//
// Whatever the bytes, the reading ends; every row it accepts passes the checks of a typed
// observation (or of a day not observed, which has its remark), comes from a line of the
// file after the header, in the file's order, and holds text that can be stored; every refusal names a line of the file and says why in
// UTF-8. The month's CSV of the accepted rows is read back whole.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "journal/checks.h"
#include "journal/import.h"
#include "journal/reports.h"

using kavrel::fuzz::isUtf8;
using kavrel::fuzz::require;
namespace journal = kavrel::journal;

namespace {

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = kavrel::fuzz::bytesAsText(data, size);
  constexpr journal::Day kToday{2014, 12, 31};
  const journal::ParsedLog log = journal::parseLog(text, kToday);

  const long long lines = 1 + std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r');
  int previous = 1;
  for (const journal::ImportRow& row : log.rows) {
    require(row.line > previous && row.line <= lines);
    previous = row.line;
    require(journal::checkObservation(row.observation, kToday).empty());
    require(isUtf8(row.observation.remarks) && isUtf8(row.observerCode));
  }
  previous = 1;
  for (const journal::UnobservedRow& row : log.unobserved) {
    require(row.line > previous && row.line <= lines);
    previous = row.line;
    require(journal::checkUnobservedDay(row.day, kToday).empty());
    require(!row.day.remarks.empty() && isUtf8(row.day.remarks) && isUtf8(row.observerCode));
  }
  for (const journal::Refusal& refusal : log.refusals) {
    require(refusal.line >= 1 && refusal.line <= lines);
    require(!refusal.message.empty() && isUtf8(refusal.message));
  }

  if (log.rows.empty()) return 0;
  const journal::Day month = log.rows.front().observation.date;
  std::vector<journal::Observation> observations;
  for (const journal::ImportRow& row : log.rows)
    if (row.observation.date.year == month.year && row.observation.date.month == month.month)
      observations.push_back(row.observation);
  journal::Observer observer;
  observer.code = "OBS";
  for (const std::string_view separator : {",", "."}) {
    const journal::Report report =
        journal::monthReport(journal::ReportFormat::Csv, observer, month.year, month.month, observations, separator);
    const journal::ParsedLog back = journal::parseLog(report.bytes, kToday);
    require(back.refusals.empty() && back.rows.size() == observations.size());
  }
  return 0;
}
