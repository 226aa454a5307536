#include "common/csv.h"

namespace kavrel::csv {

Format formatFor(std::string_view decimalSeparator) noexcept {
  return decimalSeparator == "," ? Format{';', ','} : Format{',', '.'};
}

void appendField(std::string& row, std::string_view text, Format format) {
  if (text.find_first_of(std::string{format.separator, '"', '\n', '\r'}) == std::string_view::npos) {
    row += text;
    return;
  }
  row += '"';
  for (const char c : text) {
    if (c == '"') row += '"';
    row += c;
  }
  row += '"';
}

std::string header(std::initializer_list<std::string_view> names, Format format) {
  std::string text;
  for (const auto name : names) {
    if (!text.empty()) text += format.separator;
    text += name;
  }
  return text + '\n';
}

}  // namespace kavrel::csv
