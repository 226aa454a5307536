// The decimal separator of a locale's name (see locale_separator.h).
#include "cli/locale_separator.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace kavrel::cli {
namespace {

struct Row {
  std::string_view name;       // "fr_FR", "fr", "sr_Latn_RS"
  std::string_view separator;  // UTF-8
};

constexpr Row kRows[] = {
#include "separator_table.inc"
};

const Row* rowNamed(std::string_view name) {
  const auto found = std::lower_bound(std::begin(kRows), std::end(kRows), name,
                                      [](const Row& row, std::string_view key) { return row.name < key; });
  return found != std::end(kRows) && found->name == name ? found : nullptr;
}

// "fr_FR.UTF-8@euro" → "fr_FR"; "sr-Latn-RS" → "sr_Latn_RS".
std::string bareName(std::string_view localeName) {
  std::string name(localeName.substr(0, localeName.find_first_of(".@")));
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

}  // namespace

std::string decimalSeparatorOf(std::string_view localeName) {
  const std::string name = bareName(localeName);
  if (const Row* row = rowNamed(name)) return std::string(row->separator);
  const auto first = name.find('_');
  const auto last = name.rfind('_');
  // A script not in the table: the language in that territory, then the language alone.
  if (first != last) {
    if (const Row* row = rowNamed(name.substr(0, first) + name.substr(last))) return std::string(row->separator);
  }
  if (const Row* row = rowNamed(name.substr(0, first))) return std::string(row->separator);
  return ".";
}

std::string localeDecimalSeparator() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return decimalSeparatorOf(value);
  }
  return ".";
}

}  // namespace kavrel::cli
