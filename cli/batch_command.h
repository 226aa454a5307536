// `kavrel soleil --csv [FICHIER]` and `kavrel tache --csv [FICHIER] [--depuis-axe]`: the
// lines of FICHIER, or of the standard input, as CSV rows on the standard output
// (cli/batch.h reads and writes them).
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/status.h"

namespace kavrel::cli {

// `files`: the words given after the options (none for the standard input, or one file).
// Done; refused when a row carries a message or the file cannot be opened; failed when
// reading or writing fails (the caller reports a failed standard output).
[[nodiscard]] Status runCsvBatch(batch::Kind kind, const std::vector<std::string>& files, bool fromSolarNorth,
                                 std::string_view decimalSeparator, std::ostream& out, std::ostream& err);

}  // namespace kavrel::cli
