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

// The texts of `kavrel --help`, which prints the French ones, and of the manual pages,
// French and English, made from the same table. A text of several lines has its lines
// separated by '\n', without indentation.
struct HelpText {
  std::string_view french;
  std::string_view english;
};

struct Help {
  struct Subcommand {
    std::string synopsis;  // "soleil [JOUR MOIS ANNEE HEURE MINUTE]"
    HelpText summary;
  };
  struct ExitStatus {
    int status;
    HelpText meaning;
  };
  HelpText purpose;        // one line, without the final full stop
  std::string_view usage;  // after "kavrel " in the usage line
  std::vector<Subcommand> subcommands;
  HelpText arguments;      // how the arguments are read
  std::vector<ExitStatus> exitStatuses;
};

const Help& help();

// Writes `text` with `indent` before each of its lines but the first (a help's summary
// under its synopsis).
void writeIndented(std::ostream& out, std::string_view text, std::string_view indent);

}  // namespace kavrel::cli
