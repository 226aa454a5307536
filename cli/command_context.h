// What a subcommand of kavrel is given: its fields, its options, the user's decimal
// separator and the two output streams.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::cli {

using Fields = std::vector<std::string>;
// The options given, by name, with their values (none for a flag).
using Given = std::map<std::string, std::vector<std::string>, std::less<>>;

struct Context {
  std::string_view decimalSeparator;
  std::ostream& out;
  std::ostream& err;
  const Given& options;
};

// A number typed in a terminal: with the locale's separator, or with a point.
[[nodiscard]] std::optional<double> readTerminalNumber(std::string_view text, std::string_view decimalSeparator);

}  // namespace kavrel::cli
