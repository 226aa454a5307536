// The columns of the spots' CSV: Disque writes them for the spots measured on a photograph
// (disque/photo_reduction.h) and the Journal reads them to make a day's groups
// (journal/group_from_spots.h). Angles in degrees, pixels as photo/limb.h counts them,
// areas in millionths of the solar hemisphere (MSH). A file with x_px is a photograph's.
#pragma once

#include <string_view>

namespace kavrel::spot_columns {

inline constexpr std::string_view kDate = "date";       // 2001-12-06, UT
inline constexpr std::string_view kTime = "heure_tu";   // 09:05, or 09:05:30 with the seconds
inline constexpr std::string_view kNumber = "numero";   // the spot's number in Disque
inline constexpr std::string_view kPixelX = "x_px";
inline constexpr std::string_view kPixelY = "y_px";
inline constexpr std::string_view kAngle = "angle";        // position angle from the north
inline constexpr std::string_view kDistance = "distance";  // from the centre, in the disc's radius
inline constexpr std::string_view kLatitude = "B_deg";
inline constexpr std::string_view kLongitude = "L_deg";    // Carrington
inline constexpr std::string_view kCentralMeridianDistance = "DMC_deg";
inline constexpr std::string_view kAreaMsh = "aire_msh";

}  // namespace kavrel::spot_columns
