#include "journal/month_sheet.h"

#include <algorithm>

#include "common/date_text.h"
#include "common/fixed_decimals.h"
#include "journal/month.h"

namespace kavrel::journal {
namespace {

constexpr std::string_view kNone = "–";

std::string meanText(const std::optional<double>& mean, char point) {
  if (!mean) return std::string(kNone);
  std::string text;
  appendFixed(text, *mean, 2, point);
  return text;
}

// " (× 1,22 : 106,5)": the mean R times the chosen k; empty without either.
std::string timesK(const std::optional<double>& mean, const std::optional<double>& k, std::string_view separator) {
  if (!mean || !k) return {};
  std::string text = " (× " + chosenKText(*k, separator) + " : ";
  appendFixed(text, *mean * *k, 1, separator == "," ? ',' : '.');
  return text + ")";
}

void appendCounts(std::vector<std::string>& cells, const std::optional<Counts>& counts) {
  if (!counts) {
    cells.insert(cells.end(), 3, std::string(kNone));
    return;
  }
  cells.push_back(std::to_string(counts->groups));
  cells.push_back(std::to_string(counts->spots));
  cells.push_back(std::to_string(relativeNumber(*counts)));
}

// A remark on one line of the sheet: its line breaks and tabs as one space each run, no
// space at either end.
std::string oneLine(std::string_view text) {
  std::string line;
  bool blank = false;
  for (const char c : text) {
    if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
      blank = true;
      continue;
    }
    if (blank && !line.empty()) line += ' ';
    blank = false;
    line += c;
  }
  return line;
}

// Characters, not bytes: "–" is one column wide on a terminal.
std::size_t columnsOf(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::string chosenKText(double k, std::string_view decimalSeparator) {
  std::string text;
  appendFixed(text, k, 4, decimalSeparator == "," ? ',' : '.');
  while (text.ends_with('0')) text.pop_back();
  if (text.ends_with(',') || text.ends_with('.')) text.pop_back();
  return text;
}

MonthSheet monthSheet(const std::vector<Observation>& observations, std::string_view decimalSeparator,
                      std::optional<double> chosenK, const std::vector<UnobservedDay>& unobserved) {
  const char point = decimalSeparator == "," ? ',' : '.';
  MonthSheet sheet;
  sheet.headings = {"Jour", "Heure TU", "Seeing", "g nord", "f nord", "R nord",
                    "g sud", "f sud", "R sud", "g", "f", "R", std::string(kRemarksHeading)};
  const std::vector<Observation> days = observationsOfDays(observations);
  // The days not observed that no observation contradicts, one per day, in date order.
  std::vector<const UnobservedDay*> notObserved;
  for (const UnobservedDay& day : unobserved)
    if (std::none_of(days.begin(), days.end(), [&](const Observation& o) { return o.date == day.date; }))
      notObserved.push_back(&day);
  std::stable_sort(notObserved.begin(), notObserved.end(),
                   [](const UnobservedDay* a, const UnobservedDay* b) { return a->date < b->date; });
  notObserved.erase(std::unique(notObserved.begin(), notObserved.end(),
                                [](const UnobservedDay* a, const UnobservedDay* b) { return a->date == b->date; }),
                    notObserved.end());

  auto next = notObserved.begin();
  const auto addNotObserved = [&](const UnobservedDay& day) {
    std::vector<std::string> cells{std::to_string(day.date.day)};
    cells.insert(cells.end(), 11, std::string(kNone));
    cells.push_back(oneLine(day.remarks));
    sheet.rows.push_back(std::move(cells));
    sheet.rowObservations.push_back(0);
    sheet.rowUnobservedDays.push_back(day.id);
  };
  for (const Observation& day : days) {
    for (; next != notObserved.end() && (*next)->date < day.date; ++next) addNotObserved(**next);
    std::vector<std::string> cells;
    cells.push_back(std::to_string(day.date.day));
    cells.push_back(hourMinute(day.time.hour, day.time.minute));
    cells.push_back(day.seeing ? std::to_string(*day.seeing) : std::string(kNone));
    appendCounts(cells, day.counts.north);
    appendCounts(cells, day.counts.south);
    appendCounts(cells, day.counts.disc);
    cells.push_back(oneLine(day.remarks));
    sheet.rows.push_back(std::move(cells));
    sheet.rowObservations.push_back(day.id);
    sheet.rowUnobservedDays.push_back(0);
  }
  for (; next != notObserved.end(); ++next) addNotObserved(**next);
  // The remarks again as a list, for a page too narrow to hold them in a column.
  for (const std::vector<std::string>& cells : sheet.rows)
    if (!cells.back().empty()) sheet.remarks.push_back(cells.front() + " : " + cells.back());
  const MonthMeans means = monthMeans(days);
  sheet.meansLines = {
      "Jours d'observation : " + std::to_string(means.days),
      "Moyenne de R : " + meanText(means.relativeNumber, point) +
          timesK(means.relativeNumber, chosenK, decimalSeparator),
      "Moyenne de R nord : " + meanText(means.relativeNumberNorth, point),
      "Moyenne de R sud : " + meanText(means.relativeNumberSouth, point),
      "Groupes par jour : " + meanText(means.groupsPerDay, point),
  };
  return sheet;
}

namespace {

// The cells right-aligned, each column as wide as its widest cell or heading; then the
// remarks, last, as they are and only when there is one, so that no line ends in blanks.
std::string layOut(const MonthSheet& sheet, const std::vector<std::string>& cells) {
  const std::size_t numbers = std::min(cells.size(), sheet.headings.size() - 1);
  std::string line;
  for (std::size_t column = 0; column < numbers; ++column) {
    std::size_t width = columnsOf(sheet.headings[column]);
    for (const auto& row : sheet.rows)
      if (column < row.size()) width = std::max(width, columnsOf(row[column]));
    if (column > 0) line += "  ";
    line.append(width - std::min(width, columnsOf(cells[column])), ' ');
    line += cells[column];
  }
  if (numbers < cells.size() && !cells[numbers].empty()) (line += "  ") += cells[numbers];
  return line;
}

}  // namespace

std::string sheetLine(const MonthSheet& sheet, std::size_t row) {
  return row < sheet.rows.size() ? layOut(sheet, sheet.rows[row]) : std::string();
}

std::string sheetHeadingLine(const MonthSheet& sheet) {
  const bool remarks = std::any_of(sheet.rows.begin(), sheet.rows.end(),
                                   [](const auto& row) { return !row.empty() && !row.back().empty(); });
  std::vector<std::string> headings = sheet.headings;
  if (!remarks) headings.pop_back();
  return layOut(sheet, headings);
}

}  // namespace kavrel::journal
