// What an action of kavrel is given: its fields, its options, the user's decimal
// separator, the two output streams and the whole command line. Qt-free.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "cli/status.h"

namespace kavrel::cli {

struct Context {
  std::string_view decimalSeparator;
  std::ostream& out;
  std::ostream& err;
  const Given& options;
  // The words after the program's name, as typed: what a painting action hands over to
  // the program that paints (cli/painting.h).
  std::span<const std::string> commandLine;

  // `message` said on the standard error; the kind given back.
  Status say(std::string_view message, Status status = Status::Refused) const {
    err << message << '\n';
    return status;
  }
};

// A number typed in a terminal: with the locale's separator, or with a point.
[[nodiscard]] std::optional<double> readTerminalNumber(std::string_view text, std::string_view decimalSeparator);

}  // namespace kavrel::cli
