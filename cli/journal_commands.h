// `kavrel journal`: the observer's log from a terminal, another front end of the journal's
// engine (journal/), which stores, checks, averages and writes the reports; the command
// reads the words, asks the engine and prints its answers.
//
//   kavrel journal [--fichier F] ACTION ARGUMENTS...
//
// The journal is F, or the user's default one; a file that does not exist is created
// empty. Done; failed for a file that cannot be read or written (the journal, an imported
// log, a report, a copy), with its reason; refused for the user's input (usage, a field, a
// line of a log). Qt-free.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/help_text.h"
#include "cli/status.h"

namespace kavrel::cli {

// `arguments`: the command line from "journal" on.
[[nodiscard]] Status runJournal(const std::vector<std::string>& arguments, std::string_view decimalSeparator,
                                std::ostream& out, std::ostream& err);

// The entries of `kavrel --help` and of the manual pages: the journal, then each action.
[[nodiscard]] std::vector<HelpEntry> journalHelp();

// The line of the usage that kavrel prints for a wrong command line.
[[nodiscard]] std::string_view journalSynopsis();

}  // namespace kavrel::cli
