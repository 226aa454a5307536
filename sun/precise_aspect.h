// The orientation of the Sun's disc seen from the Earth's centre, to a few thousandths of
// a degree: position angle of the axis P, heliographic latitude B0 and Carrington
// longitude L0 of the disc's centre, apparent semi-diameter, all in degrees, and the
// distance. For the photograph and the drawn disc; the six calculators keep the suite's
// own ephemeris (sun/ephemeris.h).
//
// Given an instant of UTC as a Julian day (its fraction carries the seconds). UTC becomes
// TAI and TT through ERFA's table of leap seconds (eraUtctai, eraTaitt); before 1960 and
// after the table's last year ERFA's own extrapolation is taken, and TDB is taken as TT
// (they differ by under 2 ms). The Earth's heliocentric position is ERFA's eraEpv00 (VSOP2000
// fitted to DE405, within 4.6 km over 1900-2100), in the ICRS.
//
// The Sun's rotation is the IAU's: pole at alpha0 = 286.13 deg, delta0 = 63.87 deg (ICRS),
// prime meridian W = 84.176 + 14.1844000 d deg, d days of TDB from J2000.0 (Archinal et
// al., Report of the IAU Working Group on Cartographic Coordinates and Rotational
// Elements: 2009, Celest. Mech. Dyn. Astr. 109, 101, 2011, Table 1). Carrington's meridian
// is that W. The Sun is seen as it was when its light left it: W is taken at t - tau, tau
// the light time (8.3 min, 0.08 deg of rotation). B0 and L0 are the latitude and longitude
// of the direction from the Sun to the Earth in that rotating frame (no aberration, as the
// heliophysical convention has it). P is the position angle of the projected pole at the
// Sun's apparent place (aberration included, 20"), from the north of the true equator of
// date (eraPnm06a: IAU 2006/2000A precession-nutation). Semi-diameter: the IAU's nominal radius 695 700 km.
//
// Measured against an independent reference (scripts/check-photo-accuracy, see the README):
// see the README for the figures. Meaningful for a few centuries around
// 2000 (eraEpv00 degrades slowly outside 1900-2100; leap seconds are unknown in the
// future: about a second of time, 0.0002 deg of L0). A non-finite day or one ERFA cannot
// take (before -4799) gives nothing.
#pragma once

#include <optional>

#include "common/julian_day.h"
#include "sun/heliographic.h"

namespace kavrel {

struct PreciseAspect {
  DiscOrientation disc{};
  double distanceAu = 0;  // Sun to Earth, astronomical units
};

[[nodiscard]] std::optional<PreciseAspect> preciseAspect(double julianDayUtc) noexcept;

// discInstant with the precise orientation (the same fields, the same refusals).
[[nodiscard]] std::optional<DiscInstant> preciseDiscInstant(const DateTexts& fields) noexcept;
// The precise orientation at a Julian day of UTC; none where preciseAspect gives none.
[[nodiscard]] std::optional<DiscOrientation> preciseDiscOrientation(double julianDayUtc) noexcept;

}  // namespace kavrel
