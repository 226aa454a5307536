// A group file made of arbitrary bytes, read as Greenwich's yearly file or as NOAA's
// region summary (the reader tells which from the first line).
//
// Whatever the bytes, the reading ends, and either refuses at a line of the file with a
// reason in UTF-8 and keeps nothing, or keeps records of one source, on real days within
// the days the file says it covers, at latitudes on the Sun; the year's summary of them
// puts every group in one hemisphere, and the day's lines are UTF-8.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/calendar_date.h"
#include "fuzz_support.h"
#include "journal/group_records.h"

using kavrel::fuzz::isUtf8;
using kavrel::fuzz::require;
namespace journal = kavrel::journal;

namespace {

bool realDay(journal::Day day) {
  return day.month >= 1 && day.month <= 12 && day.day >= 1 && day.day <= kavrel::daysInMonth(day.year, day.month);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = kavrel::fuzz::bytesAsText(data, size);
  const journal::GroupFile file = journal::parseGroupFile(text);
  const long long lines = 1 + std::count(text.begin(), text.end(), '\n');
  if (!file.error.empty()) {
    require(file.records.empty());
    require(file.line >= 1 && file.line <= lines);
    require(isUtf8(file.error));
    return 0;
  }
  require(realDay(file.firstDay) && realDay(file.lastDay) && !(file.lastDay < file.firstDay));
  for (const journal::GroupRecord& record : file.records) {
    require(record.source == file.records.front().source);
    require(realDay(record.date) && !(record.date < file.firstDay) && !(file.lastDay < record.date));
    require(record.latitude >= -90 && record.latitude <= 90);
    require(record.dayFraction >= 0 && record.dayFraction <= 1);
    require(isUtf8(record.classification));
  }
  const journal::GroupYear year = journal::groupYear(file.records);
  require(year.north.groups + year.south.groups == year.groups);
  require(static_cast<std::size_t>(year.groups) <= file.records.size());
  for (const auto& line : journal::groupYearLines(year, ",")) require(isUtf8(line));
  if (file.records.empty()) return 0;
  const journal::Day day = file.records.front().date;
  std::vector<journal::GroupRecord> ofDay;
  for (const journal::GroupRecord& record : file.records)
    if (record.date == day) ofDay.push_back(record);
  const journal::GroupDay counts = journal::groupDay(ofDay);
  require(counts.disc().groups >= 1 && static_cast<std::size_t>(counts.disc().groups) <= ofDay.size());
  for (const auto& line : journal::groupDayLines(day, file.records.front().source, counts)) require(isUtf8(line));
  return 0;
}
