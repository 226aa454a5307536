// The help of kavrel: `kavrel --help` and the manual pages (packaging/man), French and
// English, made from the same texts: the actions' own rows and the texts of the command as
// a whole. Qt-free.
#pragma once

#include <ostream>
#include <string_view>
#include <vector>

#include "cli/help_text.h"

namespace kavrel::cli {

struct Help {
  using Subcommand = HelpEntry;
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

[[nodiscard]] const Help& help();

// `kavrel --help`, in French.
void printHelp(std::ostream& out);

}  // namespace kavrel::cli
