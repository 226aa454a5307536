// The kavrel command's dispatch: the first word chooses the action (a calculator, a disc
// or photograph action, or the journal), its words are read (cli/options.h), its fields
// checked as the window checks them, and the action runs. Qt-free.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/status.h"

namespace kavrel::cli {

// The local date and time as the windows put them into their fields at start:
// day, month, year, hour, minute, as integers without leading zero.
using ClockFields = std::array<std::string, 5>;

// Runs the command line `arguments` (without the program's name) with the user's
// decimal separator; `clock` is read only by "soleil" without arguments.
[[nodiscard]] Status run(const std::vector<std::string>& arguments, std::string_view decimalSeparator,
                         ClockFields (*clock)(), std::ostream& out, std::ostream& err);

}  // namespace kavrel::cli
