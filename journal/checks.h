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
#include <string_view>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

// Every problem of the observation, in the order of the form's fields; empty when it may
// be stored. `today` is the observer's date (UT) at the time of the check.
[[nodiscard]] std::vector<std::string> checkObservation(const Observation& observation, Day today);

// The parts of checkObservation, for a form of which only some fields could be read: each
// appends the problems of its part, quoting the values it was given.
void checkDate(Day date, Day today, std::vector<std::string>& problems);
void checkTime(TimeOfDay time, std::vector<std::string>& problems);
void checkScales(const Observation& observation, std::vector<std::string>& problems);
void checkTally(const Tally& counts, std::vector<std::string>& problems);
// One pair g, f, named as the form names its row ("nord", "sud", "disque"; empty: "g" and
// "f" alone, as a table of the whole disc names its columns).
void checkCounts(Counts counts, std::string_view where, std::vector<std::string>& problems);
// A day not observed: a real date, not after `today`, and a real time when one is given.
[[nodiscard]] std::vector<std::string> checkUnobservedDay(const UnobservedDay& day, Day today);

[[nodiscard]] std::vector<std::string> checkGroup(const Group& group);

}  // namespace kavrel::journal
