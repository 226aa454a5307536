// The instants at which each synodic rotation of the Sun begins: when L0 passes 0 deg
// (jumping from just above 0 to just below 360, as L0 decreases by about 13.2 deg a day).
//
// From a Julian day, the search steps by the mean synodic period 27.2753 days and places
// each start by linear corrections on L0 (27.2753 / 360 days per degree): a back step
// of 0.2 day when a pass starts just after a start (L0 > 180), up to 5 corrections, and
// one back correction when a step overshoots. The number of the rotation that begins at
// a start is the rotation number one day later.
#pragma once

#include <functional>

namespace kavrel {

inline constexpr double kSearchSynodicPeriod = 27.2753;

struct RotationStart {
  double julianDay = 0;  // the instant of the start
  double rotation = 0;   // the number of the rotation it begins
};

// Walks the starts after `from` (a Julian day whose L0 is `l0AtFrom`), calling `visit`
// with each start in time order until it returns false. The walk ends after at most
// `maxStarts` starts whatever `visit` says, so it always terminates, even where the
// Julian day is too large for a step of 27 days to change it.
void forEachRotationStart(double from, double l0AtFrom, int maxStarts,
                          const std::function<bool(const RotationStart&)>& visit);

}  // namespace kavrel
