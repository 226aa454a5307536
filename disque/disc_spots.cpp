// The spots read on the disc (disc_spots.h).
#include "disque/disc_spots.h"

#include <algorithm>
#include <functional>

#include "common/display_mask.h"
#include "common/strict_number.h"

namespace kavrel::disque {

namespace {

SpotEntry refused(std::string_view reason) { return {std::nullopt, std::string(reason)}; }

SpotEntry entryOf(DiscPoint point) {
  if (const DiscRefusal refusal = pointRefusal(point); refusal != DiscRefusal::None)
    return refused(refusalMessage(refusal));
  return {point, {}};
}

}  // namespace

SpotEntry spotOfAngle(std::string_view angle, std::string_view distance, bool fromSolarNorth,
                      const std::optional<DiscOrientation>& disc, std::string_view separator) {
  const std::optional<double> theta = parseStrictNumber(angle, separator);
  if (!theta) return refused(kAngleRefused);
  const std::optional<double> r = parseStrictNumber(distance, separator);
  if (!r) return refused(kDistanceRefused);
  if (!fromSolarNorth) return entryOf({reduce360(*theta), *r});
  if (!disc) return refused(kIncompleteDate);
  return entryOf({celestialPositionAngle(*disc, *theta), *r});
}

SpotEntry spotOfDrawing(std::string_view x, std::string_view y, const PageOptions& options,
                        std::string_view separator) {
  if (std::string refusal = refusalOf(options); !refusal.empty()) return {std::nullopt, std::move(refusal)};
  const std::optional<double> across = parseStrictNumber(x, separator);
  const std::optional<double> up = parseStrictNumber(y, separator);
  if (!across || !up) return refused(kMillimetresRefused);
  return entryOf(discPointOfDrawing(*across, *up, options.diameterMm, options.orientation));
}

std::optional<DiscPoint> spotOfClick(const std::optional<DiscOrientation>& disc, DiscPoint point) {
  if (!disc || heliographicOf(*disc, point).refusal != DiscRefusal::None) return std::nullopt;
  return point;
}

const DrawnSpot& DrawnSpotList::add(DiscPoint point) { return m_spots.emplace_back(DrawnSpot{m_nextNumber++, point}); }

bool DrawnSpotList::remove(std::vector<int> rows) { return removeRows(m_spots, std::move(rows)); }

SpotRow spotRow(const std::optional<DiscOrientation>& disc, const DrawnSpot& spot, std::string_view separator) {
  SpotRow row;
  row.number = std::to_string(spot.number);
  row.theta = formatMask(spot.at.theta, "##0.0", separator);
  row.r = formatMask(spot.at.r, "0.000", separator);
  if (!disc) {
    row.latitude = row.longitude = row.fromCentralMeridian = std::string(kEmptyResult);
    return row;
  }
  if (const HeliographicResult result = heliographicOf(*disc, spot.at); result.refusal == DiscRefusal::None) {
    HeliographicTexts texts = heliographicTexts(result.at, separator);
    row.latitude = std::move(texts.latitude);
    row.longitude = std::move(texts.longitude);
    row.fromCentralMeridian = std::move(texts.fromCentralMeridian);
  }
  return row;
}

PointerReadout pointerReadout(const std::optional<DiscOrientation>& disc, const std::optional<DiscPoint>& pointer,
                              std::string_view separator) {
  PointerReadout readout;
  if (!pointer) {
    readout.state = kPointerHint;
    return readout;
  }
  if (!disc) {
    readout.state = kIncompleteDate;
    return readout;
  }
  readout.cells[0] = formatMask(pointer->theta, "##0.0", separator);
  readout.cells[1] = formatMask(pointer->r, "0.000", separator);
  readout.state = writeHeliographicCells(*disc, *pointer, readout.cells, separator);
  return readout;
}

std::string_view writeHeliographicCells(const DiscOrientation& disc, DiscPoint point,
                                        std::array<std::string, 5>& cells, std::string_view separator) {
  const HeliographicResult result = heliographicOf(disc, point);
  if (result.refusal != DiscRefusal::None) return refusalMessage(result.refusal);
  HeliographicTexts texts = heliographicTexts(result.at, separator);
  cells[2] = std::move(texts.latitude);
  cells[3] = std::move(texts.longitude);
  cells[4] = std::move(texts.fromCentralMeridian);
  return {};
}

}  // namespace kavrel::disque
