// What the two-date window shows for each date, and its list of rotation starts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/display_mask.h"
#include "common/julian_day.h"

namespace kavrel::brennic {

inline constexpr std::string_view kDatesMessage = "Dates incorrectes";
inline constexpr std::string_view kLimitMessage = "Le logiciel limite le calcul pour 100 dates seulement.";
inline constexpr std::string_view kLimitTitle = "Message";
using ::kavrel::kBeforeRotationOne;
inline constexpr int kMaxLines = 100;

// One date's row at 0 h UT. While a field is empty the Julian day is "#############"
// and `complete` is false: the window then keeps its rotation and L0 captions.
struct DateRow {
  bool complete = false;
  std::string julianDay;  // "#######0.000"
  std::string rotation;   // the integer, or " < 1"
  std::string l0;         // arr2 under "###0.00"
};

[[nodiscard]] DateRow dateRow(const DateTexts& date, std::string_view decimalSeparator);

// The line of a rotation start at Julian day `start` of rotation `rotation`:
// "Le 01/01/2000 à 14 h 39 min TU, début de la rotation n° 1958".
[[nodiscard]] std::string invJul(double start, double rotation);

enum class ListOutcome {
  Listed,          // lines 0 .. lastLine hold the list
  DatesIncorrect,  // the second date's text sorts before the first's: "Dates incorrectes"
  Silent,          // a date before rotation 1, or the first date incomplete: nothing listed
  Limit,           // 99 starts or more: the 100-line limit message
};

struct RotationList {
  ListOutcome outcome = ListOutcome::Silent;
  // The lines this calculation filled, from index 0 (Listed: 0 .. lastLine; Limit: the
  // first line and 99 starts, lastLine being 100). Empty for DatesIncorrect and Silent,
  // which leave the window's previous lines as they were.
  std::vector<std::string> lines;
  int lastLine = 0;  // dernLigne
};

// The "&Calcul" command for the two dates' field texts.
[[nodiscard]] RotationList rotationList(const DateTexts& first, const DateTexts& second,
                                        std::string_view decimalSeparator);

}  // namespace kavrel::brennic
