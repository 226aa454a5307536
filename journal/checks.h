// The checks of what an observer types or imports, each answered by a French message that
// names the field, ready to be shown as it stands:
// - f ≥ g, and g = 0 exactly when f = 0, for each of north, south and the disc;
// - north + south = the disc when the counts are split;
// - seeing and transparency 1..5; a real date and time; a date after today refused (a
//   day not observed too);
// - a group's class consistent with its spots where the class says how many (A, H, J need
//   at least 1, B at least 2), classes A..J, spots and area not negative.
#pragma once

#include <string>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

// Every problem of the observation, in the order of the form's fields; empty when it may
// be stored. `today` is the observer's date (UT) at the time of the check.
[[nodiscard]] std::vector<std::string> checkObservation(const Observation& observation, Day today);

// A day not observed: a real date, not after `today`, and a real time when one is given.
[[nodiscard]] std::vector<std::string> checkUnobservedDay(const UnobservedDay& day, Day today);

[[nodiscard]] std::vector<std::string> checkGroup(const Group& group);

}  // namespace kavrel::journal
