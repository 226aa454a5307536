// The eight programs as soak-test subjects: how each opens, what the user may act on, and
// the invariants that must hold after every action. The expected results come from the
// same core functions the windows call, applied to the fields as they now stand.
#pragma once

#include <memory>

#include "soak.h"

namespace kavrel::soak {

[[nodiscard]] std::unique_ptr<Subject> makeSubject(const QString& program);

}  // namespace kavrel::soak
