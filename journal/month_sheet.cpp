#include "journal/month_sheet.h"

#include <algorithm>
#include <cstdio>

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
                      std::optional<double> chosenK) {
  const char point = decimalSeparator == "," ? ',' : '.';
  MonthSheet sheet;
  sheet.headings = {"Jour", "Heure TU", "Seeing", "g nord", "f nord", "R nord",
                    "g sud", "f sud", "R sud", "g", "f", "R"};
  const std::vector<Observation> days = observationsOfDays(observations);
  for (const Observation& day : days) {
    std::vector<std::string> cells;
    cells.push_back(std::to_string(day.date.day));
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", day.time.hour, day.time.minute);
    cells.emplace_back(time);
    cells.push_back(day.seeing ? std::to_string(*day.seeing) : std::string(kNone));
    appendCounts(cells, day.counts.north);
    appendCounts(cells, day.counts.south);
    appendCounts(cells, day.counts.disc);
    sheet.rows.push_back(std::move(cells));
    // One line each: a remark imported with its line breaks keeps its words.
    std::string remark = day.remarks;
    std::replace_if(remark.begin(), remark.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    if (remark.find_first_not_of(' ') != std::string::npos)
      sheet.remarks.push_back(std::to_string(day.date.day) + " : " + remark);
  }
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

// The cells right-aligned, each column as wide as its widest cell or heading.
std::string layOut(const MonthSheet& sheet, const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t column = 0; column < cells.size(); ++column) {
    std::size_t width = column < sheet.headings.size() ? columnsOf(sheet.headings[column]) : 0;
    for (const auto& row : sheet.rows)
      if (column < row.size()) width = std::max(width, columnsOf(row[column]));
    if (column > 0) line += "  ";
    line.append(width - std::min(width, columnsOf(cells[column])), ' ');
    line += cells[column];
  }
  return line;
}

}  // namespace

std::string sheetLine(const MonthSheet& sheet, std::size_t row) {
  return row < sheet.rows.size() ? layOut(sheet, sheet.rows[row]) : std::string();
}

std::string sheetHeadingLine(const MonthSheet& sheet) { return layOut(sheet, sheet.headings); }

}  // namespace kavrel::journal
