// The Sun's disc drawn for a typed instant, without Qt: the instant of the date fields
// (day, month, year, hour, minute of UT) with the disc's orientation then from the precise
// ephemeris (sun/precise_aspect.h) and the rotation as the suite counts it
// (calculators/aspect_texts.h), the read-out under the pointer, the spots clicked or typed
// on the disc (disc_spots.h) and the page printed or saved of them (disc_texts.h). It
// answers everything the Disque window shows of the drawn disc, beside the photograph's
// engine (photo_reduction.h), through the same questions (reduction.h).
//
// theta in degrees from celestial north through east, r in disc radii, x and y in
// millimetres on the drawing; texts UTF-8 French with the separator given. While the
// instant is unknown (a field empty, or beyond the ephemeris) B, L and DMC show
// kEmptyResult and what needs the instant is refused with kIncompleteDate. A typed
// instant's refusals of single fields (a day 32) are the date fields' own
// (common/field_check.h); this engine takes the texts they accepted.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/julian_day.h"
#include "disque/disc_spots.h"
#include "disque/disc_texts.h"
#include "disque/reduction.h"
#include "sun/heliographic.h"

namespace kavrel::disque {

// How the drawing is asked for: its diameter as typed (millimetres), its orientation and
// the grid's step as chosen.
struct DrawingFields {
  std::string diameter;
  DrawingOrientation orientation = DrawingOrientation::EastLeft;
  GridStep step{};
};

class DiscReduction final : public Reduction {
 public:
  explicit DiscReduction(std::string decimalSeparator);

  // The instant of the date fields' texts, computed once for the window: the drawn disc's,
  // and the one a photograph takes when typed (PhotoReduction::takeTypedInstant).
  void typeInstant(const DateTexts& fields);
  [[nodiscard]] const std::optional<DiscInstant>& instant() const { return m_instant; }
  [[nodiscard]] std::optional<DiscOrientation> disc() const;
  // kIncompleteDate while there is no instant, else empty.
  [[nodiscard]] std::string_view instantRefusal() const;
  // The synodic rotation of the fields, as the solar-aspect window writes it.
  [[nodiscard]] const std::string& rotationText() const { return m_rotation; }

  // The pointer over the disc; none when it left.
  void movePointer(std::optional<DiscPoint> point) { m_pointer = point; }

  // A click adds a spot where the instant is known and the point lies on the disc; else
  // nothing, and nothing said.
  Outcome click(DiscPoint point);
  Outcome addSpotTyped(std::string_view angle, std::string_view distance, bool fromSolarNorth) override;
  // x and y as typed on the drawing asked for.
  Outcome addSpotOnDrawing(std::string_view x, std::string_view y, const DrawingFields& drawing);
  [[nodiscard]] bool removeSpots(std::vector<int> rows) override;
  [[nodiscard]] const std::vector<DrawnSpot>& spots() const { return m_spots.spots(); }
  [[nodiscard]] bool hasSpots() const override { return !m_spots.spots().empty(); }

  [[nodiscard]] static std::vector<std::string> columns();
  [[nodiscard]] SpotTable spotTable() const override;
  [[nodiscard]] InstantTexts aspect() const override;
  [[nodiscard]] PointerTexts pointerTexts() const override;

  // The drawing's options, refused where the page cannot draw them.
  [[nodiscard]] Checked<PageOptions> options(const DrawingFields& drawing) const;
  // What the page shows besides the disc; refused while the instant is unknown.
  [[nodiscard]] Checked<PageContent> page() const;

 private:
  Outcome add(const SpotEntry& entry);

  std::string m_separator;
  std::optional<DiscInstant> m_instant;
  std::string m_rotation;
  std::optional<DiscPoint> m_pointer;
  DrawnSpotList m_spots;
};

}  // namespace kavrel::disque
