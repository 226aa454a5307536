// The rows of kavrel's actions that paint the disc or read a photograph: disque, limbe,
// tache-image, aire (run through cli/painting.h). Qt-free.
#pragma once

#include <vector>

#include "cli/action.h"

namespace kavrel::cli {

[[nodiscard]] const std::vector<Action>& discActions();

}  // namespace kavrel::cli
