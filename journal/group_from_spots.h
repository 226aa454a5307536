// A group of the journal made from spots measured in Disque: the spots' CSV that Disque
// saves beside a photograph (and `kavrel tache --csv` writes for a drawing) is read, the
// observer chooses which of its spots make the group, and the group takes:
// - B and DMC: the mean of the spots', weighted by their areas (MSH) when every spot
//   chosen has one, else plain;
// - L: the same mean taken across 0°/360° (a group astride the prime meridian stays
//   whole), brought back to 0..360;
// - its hemisphere from the sign of B, its spot count from the spots chosen, and its area
//   the sum of the areas given (none when no spot has one).
// A spot without B and L (off the disc, or saved before its frame was set) has no place
// and cannot be chosen. The CSV is the suite's: ";" with the decimal comma, "," with the
// point, the separator being the header's; quoted fields as RFC 4180 writes them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

struct MeasuredSpot {
  int number = 0;  // Disque's number, or the row's rank when the file has none
  double latitude = 0;
  double longitude = 0;
  std::optional<double> centralMeridianDistance;
  std::optional<double> areaMsh;
};

struct SpotFile {
  std::vector<MeasuredSpot> spots;  // those with a place, in the file's order
  int spotsWithoutPlace = 0;
  GroupOrigin origin = GroupOrigin::Drawing;  // a photograph's file has pixel columns
  std::string refusal;                        // why nothing was read ("" when read)
};

// `text`: the whole file.
[[nodiscard]] SpotFile readSpotFile(std::string_view text);

// One line for the list the observer chooses from: "Tache 3 : B 12,34°, L 250,10°, DMC
// -20,40°, aire 35 MSH".
[[nodiscard]] std::string spotLine(const MeasuredSpot& spot, std::string_view decimalSeparator);

// Whether the spots chosen lie on both sides of the equator (one spot north of it, another
// south; a spot on it is on neither side). Sunspot groups keep to one hemisphere: spots
// astride the equator are nearly always two groups, which the observer is asked about.
[[nodiscard]] bool astrideEquator(const std::vector<MeasuredSpot>& chosen) noexcept;

// The group of the spots chosen (at least one), numbered `number`.
[[nodiscard]] Group groupFromSpots(const std::vector<MeasuredSpot>& chosen, int number, GroupOrigin origin);

}  // namespace kavrel::journal
