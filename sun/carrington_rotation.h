// Carrington's rotations with the precise ephemeris (sun/precise_aspect.h): the instant a
// rotation begins (the disc's central longitude L0 passes 360° = 0°, falling about 13.2°
// a day), the instant a Carrington longitude passes the central meridian within a
// rotation, and the rotation under way at an instant. Instants are Julian days of UTC.
//
// Numbering: rotation 1 began on 1853 November 9; rotation N's start is found from its
// mean date (2398140.2270 + 27.2752316 N) by Newton's steps on L0, to 1e-7 degree (a
// hundredth of a second). Where it stops: meaningful where the precise ephemeris is (a few
// centuries around 2000); none where that gives none.
#pragma once

#include <optional>

namespace kavrel {

// When rotation `rotation` begins.
[[nodiscard]] std::optional<double> carringtonRotationStart(int rotation) noexcept;

// When Carrington longitude `longitude` (degrees, 0..360) passes the central meridian
// during rotation `rotation`: 360 at its start, 0 at its end.
[[nodiscard]] std::optional<double> centralMeridianPassage(int rotation, double longitude) noexcept;

// The rotation under way at `julianDayUtc`, with its fraction: 2000.25 a quarter through
// rotation 2000 (its fraction is (360 − L0) / 360).
[[nodiscard]] std::optional<double> carringtonRotationAt(double julianDayUtc) noexcept;

}  // namespace kavrel
