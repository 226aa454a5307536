// `kavrel reseau`: a network's base from a terminal, another front end of the network's
// core (reseau/), which reads the files observers send, keeps them in a base (SQLite, or
// a shared PostgreSQL server), computes each observer's k and the network's number.
//
//   kavrel reseau [--base B] ACTION ARGUMENTS...
//
// B is a file, or a server's libpq URI (postgresql://…); without it the user's default
// file, created on first use. Done; failed for a base or a file that cannot be read or
// written, with its reason; refused for the user's input (usage, a field, a row of a
// file, a right the role has not). Qt-free.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/help_text.h"
#include "cli/status.h"

namespace kavrel::cli {

// `arguments`: the command line from "reseau" on.
[[nodiscard]] Status runReseau(const std::vector<std::string>& arguments, std::string_view decimalSeparator,
                               std::ostream& out, std::ostream& err);

// The entries of `kavrel --help` and of the manual pages: the network, then each action.
[[nodiscard]] std::vector<HelpEntry> reseauHelp();

// The line of the usage that kavrel prints for a wrong command line.
[[nodiscard]] std::string_view reseauSynopsis();

}  // namespace kavrel::cli
