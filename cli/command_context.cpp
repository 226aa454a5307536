// Numbers typed in a terminal (see command_context.h).
#include "cli/command_context.h"

#include "common/strict_number.h"

namespace kavrel::cli {

std::optional<double> readTerminalNumber(std::string_view text, std::string_view sep) {
  if (auto value = parseStrictNumber(text, sep)) return value;
  if (sep != ".") return parseStrictNumber(text, ".");
  return std::nullopt;
}

}  // namespace kavrel::cli
