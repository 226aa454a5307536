// The network's monthly number of a coordinator's table against SILSO's daily file, made
// by the network's own arithmetic (reseau/network_number.h), for reseau_accuracy.py:
//   kavrel_reseau_accuracy TABLE.csv SN_d_tot_V2.0.csv default|global FIRST_YEAR LAST_YEAR
// prints "year;month;days;network;silso" for every month of the years, a value not made
// left empty. The table is read by its header (observer, date, time_ut, quality, g, f,
// ";"-separated, UTF-8); a row the base would refuse (an hour past 23, a quality past 5,
// f < g, g = 0 without f = 0, a date that does not exist) is left out, as the import
// leaves it out.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/calendar_date.h"
#include "reseau/network_number.h"

namespace {

using namespace kavrel::reseau;

std::vector<std::string> fieldsOf(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  for (std::string field; std::getline(stream, field, ';');) fields.push_back(field);
  if (!line.empty() && line.back() == ';') fields.emplace_back();
  return fields;
}

std::optional<ObservationRow> rowOf(const std::vector<std::string>& f, const std::map<std::string, std::size_t>& at,
                                    std::map<std::string, Id>& ids) {
  try {
    const auto field = [&](const char* name) { return f.at(at.at(name)); };
    const std::string date = field("date"), time = field("time_ut"), quality = field("quality");
    const Day day{std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)), std::stoi(date.substr(8, 2))};
    const int hour = std::stoi(time.substr(0, time.find(':'))), minute = std::stoi(time.substr(time.find(':') + 1));
    const int g = std::stoi(field("g")), s = std::stoi(field("f"));
    const std::optional<int> q = quality.empty() ? std::nullopt : std::optional<int>(std::stoi(quality));
    if (day.month < 1 || day.month > 12 || day.day < 1 || day.day > kavrel::daysInMonth(day.year, day.month)) return {};
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || (q && (*q < 0 || *q > 5))) return {};
    if (g < 0 || s < g || (g == 0) != (s == 0)) return {};
    const auto [id, added] = ids.emplace(field("observer"), static_cast<Id>(ids.size() + 1));
    return ObservationRow{id->second, dayNumber(day), 10 * g + s, q};
  } catch (const std::exception&) {
    return {};
  }
}

std::vector<ObservationRow> readTable(const char* path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  std::map<std::string, std::size_t> at;
  const std::vector<std::string> header = fieldsOf(line);
  for (std::size_t i = 0; i < header.size(); ++i) at[header[i]] = i;
  std::map<std::string, Id> ids;
  std::vector<ObservationRow> rows;
  while (std::getline(file, line))
    if (const auto row = rowOf(fieldsOf(line), at, ids)) rows.push_back(*row);
  return rows;
}

std::vector<std::pair<int, int>> readSilso(const char* path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  const auto silso = kavrel::journal::parseSilso(text.str(), kavrel::journal::SilsoFile::Kind::Total);
  std::vector<std::pair<int, int>> days;
  for (const auto& day : silso.days)
    if (day.total) days.emplace_back(dayNumber(day.date), *day.total);
  return days;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s TABLE SILSO default|global FIRST_YEAR LAST_YEAR\n", argv[0]);
    return 2;
  }
  std::vector<ObservationRow> rows = readTable(argv[1]);
  const std::vector<std::pair<int, int>> silso = readSilso(argv[2]);
  const Reference reference(silso);
  const RowFilter filter{dayNumber({std::stoi(argv[4]), 1, 1}), dayNumber({std::stoi(argv[5]), 12, 31}), {}};
  const NetworkRule rule = std::string(argv[3]) == "global" ? NetworkRule::Global : NetworkRule::Default;

  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
    return std::pair{a.observer, a.day} < std::pair{b.observer, b.day};
  });
  NetworkScale scale(reference, filter, rule);
  for (const ObservationRow& row : rows) scale.add(row);
  scale.finish();
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
    return std::pair{a.day, a.observer} < std::pair{b.day, b.observer};
  });
  NetworkDays days(scale, filter);
  for (const ObservationRow& row : rows) days.add(row);
  for (const NetworkMonth& month : networkMonths(days.finish(), silso, filter.first, filter.last)) {
    std::printf("%d;%d;%d;", month.year, month.month, month.days);
    if (month.network) std::printf("%.6f", *month.network);
    std::printf(";");
    if (month.silso) std::printf("%.6f", *month.silso);
    std::printf("\n");
  }
  return 0;
}
