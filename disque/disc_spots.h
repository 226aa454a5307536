// The spots read on the disc and what the pointer reads: a spot typed as its position
// angle theta and distance r (theta from celestial north, or from the Sun's north pole),
// or as x and y in millimetres on a drawing of a given diameter in either orientation; a
// clicked spot; the table's rows; the removal of spots; the read-out under the pointer.
//
// theta in degrees, r in disc radii (sun/heliographic.h), x right and y up from the
// centre of the drawing. A spot is kept only where the disc has a heliographic position
// (0 <= r <= 1, up to the limb's rounding); B, L and DMC follow the instant, which may be
// unknown (a date field empty), and then show kEmptyResult.
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "disque/disc_texts.h"
#include "sun/heliographic.h"

namespace kavrel::disque {

inline constexpr char kAngleRefused[] = "L'angle de position doit être un nombre.";
inline constexpr char kDistanceRefused[] = "La distance au centre doit être un nombre.";
inline constexpr char kMillimetresRefused[] = "Les positions x et y doivent être des nombres (en millimètres).";

// A spot measured on the disc, drawn with its number.
struct DrawnSpot {
  int number = 0;
  DiscPoint at{};
};

// A typed spot: its point, or why it is refused (in French).
struct SpotEntry {
  std::optional<DiscPoint> point;
  std::string refusal;
};

// theta and r as typed; `fromSolarNorth` when theta is counted from the Sun's north pole,
// which needs the instant.
[[nodiscard]] SpotEntry spotOfAngle(std::string_view angle, std::string_view distance, bool fromSolarNorth,
                                    const std::optional<DiscOrientation>& disc, std::string_view decimalSeparator);
// x and y as typed, on a drawing made with `options` (its diameter and orientation).
[[nodiscard]] SpotEntry spotOfDrawing(std::string_view x, std::string_view y, const PageOptions& options,
                                      std::string_view decimalSeparator);
// The point clicked, where the instant is known and the point lies on the disc.
[[nodiscard]] std::optional<DiscPoint> spotOfClick(const std::optional<DiscOrientation>& disc, DiscPoint point);

// Removes the table's rows given (in any order; a row given twice or beyond the table is
// passed over). False, and nothing removed, when no row is given.
template <typename Item>
bool removeRows(std::vector<Item>& items, std::vector<int> rows) {
  if (rows.empty()) return false;
  std::sort(rows.begin(), rows.end(), std::greater<>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (const int row : rows)
    if (row >= 0 && static_cast<std::size_t>(row) < items.size()) items.erase(items.begin() + row);
  return true;
}

// The spots in the order they were added, numbered from 1; a number is never given twice,
// even after a removal.
class DrawnSpotList {
 public:
  const DrawnSpot& add(DiscPoint point);
  // Removes the spots at these rows (any order, repeats and rows beyond the list ignored).
  // False, and nothing removed, when no row is given.
  bool remove(std::vector<int> rows);
  [[nodiscard]] const std::vector<DrawnSpot>& spots() const noexcept { return m_spots; }

 private:
  std::vector<DrawnSpot> m_spots;
  int m_nextNumber = 1;
};

// What the printed page shows besides the disc (pictures/disc_page.h): the instant of its
// heading, the separator of its numbers, the spots of its table.
struct PageContent {
  double julianDay = 0;
  std::string decimalSeparator = ",";
  std::vector<DrawnSpot> spots{};
};

inline constexpr char kNothingToRemove[] = "Choisissez d'abord dans le tableau la tache à supprimer.";

// A spot's row of the table, as the window and the page show it: the number, theta to
// tenths of a degree, r to thousandths, B, L and DMC to hundredths; B, L and DMC are
// kEmptyResult while the instant is unknown and empty for a point the disc refuses.
struct SpotRow {
  std::string number, theta, r, latitude, longitude, fromCentralMeridian;

  [[nodiscard]] std::array<std::string, 6> cells() const {
    return {number, theta, r, latitude, longitude, fromCentralMeridian};
  }
};
[[nodiscard]] SpotRow spotRow(const std::optional<DiscOrientation>& disc, const DrawnSpot& spot,
                              std::string_view decimalSeparator);

// B, L and DMC of a disc point written into cells[2..4] of a row of five (theta, r, B, L,
// DMC), drawn disc and photograph alike; the reason when the point has none, else empty.
[[nodiscard]] std::string_view writeHeliographicCells(const DiscOrientation& disc, DiscPoint point,
                                                      std::array<std::string, 5>& cells,
                                                      std::string_view decimalSeparator);

// What the pointer reads: theta, r, B, L and DMC as in a row, and the line under them
// (the hint while the pointer is away, the reason when there is nothing to read, empty
// when all five are shown).
struct PointerReadout {
  std::array<std::string, 5> cells;
  std::string state;
};
[[nodiscard]] PointerReadout pointerReadout(const std::optional<DiscOrientation>& disc,
                                            const std::optional<DiscPoint>& pointer,
                                            std::string_view decimalSeparator);

}  // namespace kavrel::disque
