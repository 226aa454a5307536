#include "journal/records.h"

#include "common/date_text.h"

namespace kavrel::journal {

std::string dayText(Day day) {
  return frenchLongDate(day.year, day.month, day.day);
}

std::optional<int> seeingOfLetter(char letter) noexcept {
  switch (letter) {
    case 'E': case 'e': return 5;
    case 'G': case 'g': return 4;
    case 'F': case 'f': return 3;
    case 'P': case 'p': return 2;
    default: return std::nullopt;
  }
}

char letterOfSeeing(int seeing) noexcept {
  if (seeing >= 5) return 'E';
  if (seeing == 4) return 'G';
  if (seeing == 3) return 'F';
  return 'P';
}

}  // namespace kavrel::journal
