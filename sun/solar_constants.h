// The constants of the Sun and of the Earth's distance that the ephemerides and the
// reading of a photograph's header share: the Sun's radius, its rotation (the IAU's pole
// and prime meridian, which Carrington's longitudes follow, and the sidereal period of the
// suite's own ephemeris), the astronomical unit and the light time across it.
#pragma once

namespace kavrel::sun {

// The nominal radius of the Sun (IAU 2015 Resolution B3), km and metres.
inline constexpr double kRadiusKm = 695700;
inline constexpr double kRadiusMetres = kRadiusKm * 1e3;

// The Sun's rotation (Archinal et al., IAU WGCCRE 2009): pole at kPoleRightAscension,
// kPoleDeclination (ICRS, degrees), prime meridian W = kPrimeMeridianAtJ2000 +
// kRotationDegreesPerDay d, d days of TDB from J2000.0.
inline constexpr double kPoleRightAscension = 286.13;
inline constexpr double kPoleDeclination = 63.87;
inline constexpr double kPrimeMeridianAtJ2000 = 84.176;
inline constexpr double kRotationDegreesPerDay = 14.1844000;

// Carrington's sidereal period, days, and its epoch (JD 2398220, 1854 January 1.5) as the
// suite's own ephemeris counts the rotation from it.
inline constexpr double kCarringtonSiderealDays = 25.38;
inline constexpr double kCarringtonEpoch = 2398220;

// The astronomical unit (IAU 2012 Resolution B2), metres; the speed of light, m/s; the
// light time across one unit, days (499.004 783 836 s).
inline constexpr double kMetresPerAu = 149597870700;
inline constexpr double kSpeedOfLight = 299792458;
inline constexpr double kLightDaysPerAu = kMetresPerAu / kSpeedOfLight / 86400;

}  // namespace kavrel::sun
