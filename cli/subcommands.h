// The kavrel command: the suite's calculations from a terminal.
//
// Each subcommand takes the texts of one window's input fields, checks them as the
// window checks a text pasted whole into each field, in the window's order, calls the
// computing core and prints what the window would show. The command computes nothing
// itself.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::cli {

// Exit statuses.
inline constexpr int kDone = 0;        // results printed (or, for rotations, nothing to list)
inline constexpr int kImpossible = 1;  // no result: a computation left the double range
inline constexpr int kRefused = 2;     // wrong usage, a refused field or refused data

// The local date and time as the windows put them into their fields at start:
// day, month, year, hour, minute, as integers without leading zero.
using ClockFields = std::array<std::string, 5>;

// Runs the command line `arguments` (without the program's name) with the user's
// decimal separator; `clock` is read only by "soleil" without arguments.
int run(const std::vector<std::string>& arguments, std::string_view decimalSeparator,
        ClockFields (*clock)(), std::ostream& out, std::ostream& err);

}  // namespace kavrel::cli
