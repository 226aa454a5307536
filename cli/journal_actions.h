// The rows of `kavrel journal`'s actions, in the order its help lists them. Qt-free.
#pragma once

#include <vector>

#include "cli/journal_request.h"

namespace kavrel::cli::logbook {

[[nodiscard]] const std::vector<JournalAction>& journalActions();

}  // namespace kavrel::cli::logbook
