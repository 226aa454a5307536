// The rows of kavrel's calculators: jj, date, sideral, precession, soleil (and its --csv
// batches), rotations, tache (and its --csv batches). Qt-free.
#pragma once

#include <vector>

#include "cli/action.h"

namespace kavrel::cli {

[[nodiscard]] const std::vector<Action>& calculatorActions();

}  // namespace kavrel::cli
