// `kavrel soleil --csv [FICHIER]` and `kavrel tache --csv [FICHIER] [--depuis-axe]`: the
// lines of FICHIER, or of the standard input, as CSV rows on the standard output
// (cli/batch.h reads and writes them).
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::cli {

// `subcommand` is "soleil" or "tache"; `files` the words given after the options (none
// for the standard input, or one file). Returns the command's exit status: done, refused
// when a row carries a message or the file cannot be opened, impossible when reading or
// writing fails (the caller reports a failed standard output).
int runCsvBatch(std::string_view subcommand, const std::vector<std::string>& files, bool fromSolarNorth,
                std::string_view decimalSeparator, std::ostream& out, std::ostream& err);

}  // namespace kavrel::cli
