// What a window asks of the disc it shows, whether drawn for a typed instant
// (disc_reduction.h) or photographed (photo_reduction.h): where the disc's semi-diameter,
// P, B0 and L0 come from and their texts, the read-out under the pointer, the spots'
// table, a spot typed as its theta and r, spots removed. Each engine answers for itself,
// so that the window's handlers ask the disc in view rather than which one it is.
//
// Texts UTF-8 French, numbers with the engine's decimal separator; angles in degrees, r in
// disc radii. A refusal is a value (an Outcome or a Checked with its French reason);
// nothing here throws.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "disque/disc_texts.h"

namespace kavrel::disque {

// What an action did: its status line when done, its reason when refused (empty when
// nothing was to be said, as for a click off the disc).
struct Outcome {
  bool done = false;
  std::string text;
};

// A value, or why there is none (French).
template <typename T>
struct Checked {
  std::optional<T> value;
  std::string refusal;
};

// The instant's column: where the disc's angles come from (kEphemerisText, or the
// header's observer) and the semi-diameter, P, B0 and L0 written as the window shows them.
struct InstantTexts {
  std::string source;
  DiscAspectTexts aspect;
};

// What the pointer reads: its pixel on a photograph (empty on the drawn disc), theta, r, B,
// L and DMC, and the line under them (a hint while away, the reason when there is nothing
// to read).
struct PointerTexts {
  std::string x, y;
  std::array<std::string, 5> cells;
  std::string state;
};

// The spots' table: its headings, and one row of texts per spot in the order added.
struct SpotTable {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

class Reduction {
 public:
  virtual ~Reduction() = default;

  [[nodiscard]] virtual InstantTexts aspect() const = 0;
  // Under the pointer as last moved.
  [[nodiscard]] virtual PointerTexts pointerTexts() const = 0;
  [[nodiscard]] virtual SpotTable spotTable() const = 0;
  [[nodiscard]] virtual bool hasSpots() const = 0;
  // theta and r as typed; theta from the Sun's north pole when `fromSolarNorth`.
  virtual Outcome addSpotTyped(std::string_view angle, std::string_view distance, bool fromSolarNorth) = 0;
  // The table's rows (any order, repeats and rows beyond the table passed over); false, and
  // nothing removed, when no row is given.
  [[nodiscard]] virtual bool removeSpots(std::vector<int> rows) = 0;

 protected:
  Reduction() = default;
  Reduction(const Reduction&) = default;
  Reduction& operator=(const Reduction&) = default;
  Reduction(Reduction&&) = default;
  Reduction& operator=(Reduction&&) = default;
};

}  // namespace kavrel::disque
