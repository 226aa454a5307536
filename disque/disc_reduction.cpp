// The Sun's disc drawn for a typed instant (disc_reduction.h).
#include "disque/disc_reduction.h"

#include <utility>

#include "calculators/aspect_texts.h"
#include "sun/precise_aspect.h"

namespace kavrel::disque {

DiscReduction::DiscReduction(std::string decimalSeparator) : m_separator(std::move(decimalSeparator)) {}

void DiscReduction::typeInstant(const DateTexts& fields) {
  m_instant = preciseDiscInstant(fields);
  // The rotation is counted as the suite counts it, from the same fields.
  m_rotation = dalvoren::aspectTexts(fields, m_separator).rotation;
}

std::optional<DiscOrientation> DiscReduction::disc() const {
  return m_instant ? std::optional(m_instant->disc) : std::nullopt;
}

std::string_view DiscReduction::instantRefusal() const { return m_instant ? std::string_view() : kIncompleteDate; }

Outcome DiscReduction::add(const SpotEntry& entry) {
  if (!entry.point) return {false, entry.refusal};
  m_spots.add(*entry.point);
  return {true, {}};
}

Outcome DiscReduction::click(DiscPoint point) {
  const std::optional<DiscPoint> spot = spotOfClick(disc(), point);
  return add({spot, {}});
}

Outcome DiscReduction::addSpotTyped(std::string_view angle, std::string_view distance, bool fromSolarNorth) {
  return add(spotOfAngle(angle, distance, fromSolarNorth, disc(), m_separator));
}

Outcome DiscReduction::addSpotOnDrawing(std::string_view x, std::string_view y, const DrawingFields& drawing) {
  return add(spotOfDrawing(x, y, pageOptionsOf(drawing.diameter, drawing.orientation, drawing.step, m_separator),
                           m_separator));
}

bool DiscReduction::removeSpots(std::vector<int> rows) { return m_spots.remove(std::move(rows)); }

std::vector<std::string> DiscReduction::columns() { return {"N°", "θ (°)", "r", "B (°)", "L (°)", "DMC (°)"}; }

SpotTable DiscReduction::spotTable() const {
  SpotTable table{columns(), {}};
  const std::optional<DiscOrientation> orientation = disc();
  for (const DrawnSpot& spot : m_spots.spots()) {
    const std::array<std::string, 6> cells = spotRow(orientation, spot, m_separator).cells();
    table.rows.emplace_back(cells.begin(), cells.end());
  }
  return table;
}

InstantTexts DiscReduction::aspect() const { return {kEphemerisText, discAspectTexts(disc(), m_separator)}; }

PointerTexts DiscReduction::pointerTexts() const {
  PointerReadout read = pointerReadout(disc(), m_pointer, m_separator);
  PointerTexts texts;
  texts.cells = std::move(read.cells);
  texts.state = std::move(read.state);
  return texts;
}

Checked<PageOptions> DiscReduction::options(const DrawingFields& drawing) const {
  const PageOptions options = pageOptionsOf(drawing.diameter, drawing.orientation, drawing.step, m_separator);
  if (std::string refusal = refusalOf(options); !refusal.empty()) return {std::nullopt, std::move(refusal)};
  return {options, {}};
}

Checked<PageContent> DiscReduction::page() const {
  if (!m_instant) return {std::nullopt, kIncompleteDate};
  return {PageContent{m_instant->julianDay, m_separator, m_spots.spots()}, {}};
}

}  // namespace kavrel::disque
