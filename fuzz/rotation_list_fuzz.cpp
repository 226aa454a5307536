// The two-date window: each date's row, and the "&Calcul" list, for arbitrary texts in
// its six date fields.
//
// Input: "separator|day|month|year|second day|second month|second year".
//
// A row is complete exactly when its three fields are filled; its captions are the
// empty result or their mask's form, L0 in 0..360. The list never holds more than 101
// lines nor goes past line 100; it is refused exactly when the second Julian-day
// caption sorts before the first; a refused or silent command fills no line; a listed
// one fills lines 0 to its last line, the date lines framing the rotation starts, each
// start at a time of day; the limit leaves line 0 and 99 starts.
#include "fuzz_support.h"
#include "calculators/rotation_list.h"

using namespace kavrel;
using kavrel::fuzz::require;
using kavrel::fuzz::requireResult;

namespace {

void requireRow(const brennic::DateRow& row, const DateTexts& date, std::string_view sep) {
  require(row.complete == !anyEmpty(date));
  if (!row.complete) {
    require(row.julianDay == kEmptyResult);
    return;
  }
  requireResult(row.julianDay, 3, 1, sep);
  if (row.rotation != brennic::kBeforeRotationOne) {
    const auto rotation = requireResult(row.rotation, 0, 1, "");
    if (rotation) require(!rotation->negative && rotation->value >= 1);
  }
  const auto l0 = requireResult(row.l0, 2, 1, sep);
  if (l0) require(!l0->negative && l0->value <= 360);
}

// "Le dd/mm/yyyy à hh h mm min TU, début de la rotation n° n": hours and minutes of a day.
void requireStartLine(std::string_view line) {
  require(line.starts_with("Le "));
  const auto at = line.find(" à ");
  require(at != std::string_view::npos);
  const std::string_view time = line.substr(at + std::string_view(" à ").size());
  require(time.size() >= 12 && time.substr(2, 3) == " h " && time.substr(7, 5) == " min ");
  const auto hour = requireResult(time.substr(0, 2), 0, 2, "");
  const auto minute = requireResult(time.substr(5, 2), 0, 2, "");
  require(hour && minute && hour->value < 24 && minute->value < 60);
  require(line.find(", début de la rotation n° ") != std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = kavrel::fuzz::splitFields(data, size, 6);
  const auto& t = fields.texts;
  const std::string_view sep = fields.separator;
  const DateTexts first{t[0], t[1], t[2]};
  const DateTexts second{t[3], t[4], t[5]};

  const brennic::DateRow firstRow = brennic::dateRow(first, sep);
  const brennic::DateRow secondRow = brennic::dateRow(second, sep);
  requireRow(firstRow, first, sep);
  requireRow(secondRow, second, sep);

  const brennic::RotationList list = brennic::rotationList(first, second, sep);
  require(list.lines.size() <= 101);
  require(list.lastLine >= 0 && list.lastLine <= brennic::kMaxLines);
  require((list.outcome == brennic::ListOutcome::DatesIncorrect) == (secondRow.julianDay < firstRow.julianDay));

  switch (list.outcome) {
    case brennic::ListOutcome::DatesIncorrect:
    case brennic::ListOutcome::Silent:
      require(list.lines.empty());
      break;
    case brennic::ListOutcome::Limit:
      require(list.lastLine == brennic::kMaxLines && list.lines.size() == brennic::kMaxLines);
      break;
    case brennic::ListOutcome::Listed:
      require(firstRow.complete && secondRow.complete);
      require(list.lastLine >= 1 && list.lines.size() == static_cast<std::size_t>(list.lastLine) + 1);
      require(list.lines.front().starts_with("Le ") && list.lines.front().ends_with("°"));
      require(list.lines.back().starts_with("Le ") && list.lines.back().ends_with("°."));
      for (std::size_t i = 1; i + 1 < list.lines.size(); ++i) requireStartLine(list.lines[i]);
      break;
  }
  if (list.outcome == brennic::ListOutcome::Limit) {
    for (std::size_t i = 1; i < list.lines.size(); ++i) requireStartLine(list.lines[i]);
  }
  return 0;
}
