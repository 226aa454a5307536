// A file sent to the network made of arbitrary bytes, read as a table of observations.
//
// Whatever the bytes, the reading ends; every row it accepts passes the Journal's checks
// of a day with the network's quality 0..5, comes from a line of the file after the
// header, in the file's order, holds UTF-8 text and is the only one of its observer's
// day; every refusal names a line of the file and says why in UTF-8. The accepted rows,
// written back as a coordinator's table, read back the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "common/csv.h"
#include "common/date_text.h"
#include "fuzz_support.h"
#include "journal/checks.h"
#include "reseau/table.h"

using kavrel::fuzz::isUtf8;
using kavrel::fuzz::require;
namespace reseau = kavrel::reseau;
namespace journal = kavrel::journal;

namespace {

constexpr journal::Day kToday{2020, 12, 31};

void requireChecked(const reseau::NetworkObservation& o) {
  std::vector<std::string> problems;
  journal::checkDate(o.date, kToday, problems);
  if (o.time) journal::checkTime(*o.time, problems);
  journal::checkTally({o.north, o.south, o.disc}, problems);
  require(problems.empty());
  require(!o.quality || (*o.quality >= 0 && *o.quality <= 5));
  require(o.north.has_value() == o.south.has_value());
  require(!o.observer.empty() && isUtf8(o.observer) && isUtf8(o.instrument));
}

std::string number(const std::optional<int>& value) { return value ? std::to_string(*value) : std::string(); }

// The rows as a coordinator's table with every column.
std::string written(const reseau::Table& table) {
  const kavrel::csv::Format format{';', ','};
  std::string text = "observer;instrument;date;time_ut;quality;g;f;g_north;f_north;g_south;f_south\n";
  for (const reseau::TableRow& row : table.rows) {
    const reseau::NetworkObservation& o = row.observation;
    const auto part = [](const std::optional<reseau::Counts>& c, bool groups) {
      return c ? std::to_string(groups ? c->groups : c->spots) : std::string();
    };
    const std::string fields[] = {
        o.observer, o.instrument, kavrel::isoDate(o.date.year, o.date.month, o.date.day),
        o.time ? kavrel::hourMinute(o.time->hour, o.time->minute) : std::string(), number(o.quality),
        std::to_string(o.disc.groups), std::to_string(o.disc.spots), part(o.north, true), part(o.north, false),
        part(o.south, true), part(o.south, false)};
    for (const std::string& field : fields) {
      if (&field != &fields[0]) text += format.separator;
      kavrel::csv::appendField(text, field, format);
    }
    text += '\n';
  }
  return text;
}

bool sameObservation(const reseau::NetworkObservation& a, const reseau::NetworkObservation& b) {
  return a.observer == b.observer && a.instrument == b.instrument && a.date == b.date && a.time == b.time &&
         a.quality == b.quality && a.disc == b.disc && a.north == b.north && a.south == b.south;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = kavrel::fuzz::bytesAsText(data, size);
  const reseau::Table table = reseau::readTable(text, kToday, "OBS");

  const long long lines = 1 + std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r');
  int previous = 1;
  std::set<std::pair<std::string, int>> days;
  for (const reseau::TableRow& row : table.rows) {
    require(row.line > previous && row.line <= lines);
    previous = row.line;
    requireChecked(row.observation);
    require(days.emplace(row.observation.observer, reseau::dayNumber(row.observation.date)).second);
  }
  for (const reseau::TableRefusal& refusal : table.refusals) {
    require(refusal.line >= 1 && refusal.line <= lines);
    require(!refusal.message.empty() && isUtf8(refusal.message));
  }
  for (const std::string& name : table.setAside) require(isUtf8(name));

  const reseau::Table back = reseau::readTable(written(table), kToday);
  require(back.refusals.empty() && back.rows.size() == table.rows.size());
  for (std::size_t i = 0; i < back.rows.size(); ++i)
    require(sameObservation(back.rows[i].observation, table.rows[i].observation));
  return 0;
}
