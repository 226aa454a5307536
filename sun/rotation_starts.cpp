// The search for the instants at which synodic rotations begin (see rotation_starts.h).
//
// L0 decreases by about 13.2 deg a day and jumps from near 0 to near 360 at a start, so
// a time step of L0 * 27.2753 / 360 days from a point before a start lands near it.
// Each pass refines the estimate by at most five such steps, backing off by the same
// slope when a step has crossed the start (L0 then reads above 180). The next pass
// begins one mean synodic period after the start found.
//
// Julian days in days; L0 in degrees. Every evaluation is a full solarAspect.
#include "sun/rotation_starts.h"

#include "sun/ephemeris.h"

namespace kavrel {

namespace {

constexpr double kBackStep = 0.2;    // days, when a pass begins just after a start
constexpr int kMaxCorrections = 5;   // forward steps in one pass
constexpr double kNumberOffset = 1;  // days after a start at which its number is read

// L0 above this means the estimate stands just after a start.
constexpr double kPastStart = 180;

// L0 of the Julian day j ("trait" of the rotation window, its longitude half).
double l0At(double j) { return solarAspect(j).l0; }

}  // namespace

void forEachRotationStart(double from, double l0AtFrom, int maxStarts,
                          const std::function<bool(const RotationStart&)>& visit) {
  double j = from + l0AtFrom * kSearchSynodicPeriod / 360;
  double l0 = l0At(j);

  for (int found = 0; found < maxStarts; ++found) {
    if (l0 > kPastStart) {
      j = j - kBackStep;
      l0 = l0At(j);
    }
    for (int step = 0; step < kMaxCorrections; ++step) {
      j = j + l0 * kSearchSynodicPeriod / 360;
      l0 = l0At(j);
      if (l0 > kPastStart) {
        // This step crossed the start: come back by the longitude it went past.
        j = j - (360 - l0) * kSearchSynodicPeriod / 360;
        l0 = l0At(j);
        break;
      }
    }

    const double start = j;
    const RotationStart thisStart{start, solarAspect(start + kNumberOffset).rotation};
    if (!visit(thisStart)) return;

    j = start + kSearchSynodicPeriod;
    l0 = l0At(j);
  }
}

}  // namespace kavrel
