// `kavrel journal`: the observer's log from a terminal, another front end of the journal's
// engine (journal/), which stores, checks, averages and writes the reports; the command
// reads the words, asks the engine and prints its answers.
//
//   kavrel journal [--fichier F] ACTION ARGUMENTS...
//
// The journal is F, or the user's default one; a file that does not exist is created
// empty. Exit statuses as everywhere in kavrel: 0 done, 1 a file that cannot be read or
// written (the journal, an imported log, a report, a copy), with its reason, 2 refused
// input (usage, a field, a line of a log).
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_context.h"
#include "cli/subcommands.h"

namespace kavrel::cli {

// `arguments`: the words after "journal".
int runJournal(const std::vector<std::string>& arguments, std::string_view decimalSeparator, std::ostream& out,
               std::ostream& err);

// The entries of `kavrel --help` and of the manual pages: the journal, then each action.
[[nodiscard]] std::vector<Help::Subcommand> journalHelp();

// The line of the usage that kavrel prints for a wrong command line.
[[nodiscard]] std::string_view journalSynopsis();

}  // namespace kavrel::cli
