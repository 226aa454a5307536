// The spots read on a photograph (photo_spots.h).
#include "programs/disque/photo_spots.h"

#include <cmath>
#include <limits>

#include "common/csv.h"
#include "common/display_mask.h"
#include "common/strict_number.h"
#include "programs/disque/disc_spots.h"

namespace kavrel::disque {

std::string pixelText(double pixels, std::string_view separator) { return formatMask(pixels, "0.0", separator); }
std::string angleText(double degrees, std::string_view separator) { return formatMask(degrees, "0.00", separator); }
std::string thresholdText(double share, std::string_view separator) { return formatMask(share, "0.00", separator); }
std::string areaText(double millionths, std::string_view separator) { return formatMask(millionths, "0", separator); }

double orientationAngle(std::string_view typed, std::string_view separator) {
  return parseStrictNumber(typed, separator).value_or(std::numeric_limits<double>::quiet_NaN());
}

FrameOutcome imageFrame(const std::optional<photo::Circle>& limb, photo::ImageOrientation orientation,
                        const std::optional<DiscOrientation>& disc) {
  if (!limb) return {std::nullopt, kNoLimbYet};
  // Only a solar north needs P; the others ignore the instant.
  if (orientation.given == photo::NorthGiven::Solar && !disc) return {std::nullopt, kIncompleteDate};
  const photo::NorthOutcome north = photo::celestialNorth(orientation, disc.value_or(DiscOrientation{}));
  if (!north.angle) return {std::nullopt, std::string(north.reason)};
  return {photo::ImageFrame{*limb, *north.angle, orientation.mirrored}, {}};
}

ThresholdsEntry thresholdsOf(std::string_view spot, std::string_view umbra, std::string_view separator) {
  const std::optional<double> whole = parseStrictNumber(spot, separator);
  const std::optional<double> dark = parseStrictNumber(umbra, separator);
  if (!whole || !dark) return {std::nullopt, kThresholdsNotNumbers};
  photo::SpotThresholds thresholds;
  thresholds.spot = *whole;
  thresholds.umbra = *dark;
  return {thresholds, {}};
}

std::optional<DiscPoint> discPointOf(const std::optional<photo::ImageFrame>& frame, const PictureSpot& spot) {
  if (!frame) return std::nullopt;
  return photo::discPointOfPixel(*frame, spot.at);
}

std::array<std::string, 8> pictureSpotCells(const std::optional<photo::ImageFrame>& frame,
                                            const std::optional<DiscOrientation>& disc, const PictureSpot& spot,
                                            std::string_view separator) {
  std::array<std::string, 8> cells;
  cells[0] = std::to_string(spot.number);
  if (const std::optional<DiscPoint> point = discPointOf(frame, spot)) {
    const std::array<std::string, 6> row = spotRow(disc, Spot{spot.number, *point}, separator).cells();
    for (std::size_t i = 1; i < row.size(); ++i) cells[i] = row[i];
  }
  if (spot.measured) {
    cells[6] = areaText(spot.measured->whole.hemisphere, separator);
    cells[7] = areaText(spot.measured->umbra.hemisphere, separator);
  }
  return cells;
}

std::string pictureSpotsCsv(const std::vector<PictureSpot>& spots, const std::optional<photo::ImageFrame>& frame,
                            const std::optional<DiscOrientation>& disc, std::string_view decimalSeparator) {
  const csv::Format format = csv::formatFor(decimalSeparator);
  const std::string decimal(1, format.decimal);
  const char sep = format.separator;
  std::string text = csv::header({"numero", "x_px", "y_px", "angle", "distance", "B_deg", "L_deg", "DMC_deg",
                                       "aire_msh", "aire_millioniemes_disque", "ombre_msh",
                                       "ombre_millioniemes_disque"},
                                      format);
  const auto number = [&](double value, std::string_view mask) {
    text += sep;
    if (std::isfinite(value)) text += formatMask(value, mask, decimal);
  };
  for (const PictureSpot& spot : spots) {
    csv::appendField(text, std::to_string(spot.number), format);
    number(spot.at.x, "0.00");
    number(spot.at.y, "0.00");
    const std::optional<DiscPoint> point = discPointOf(frame, spot);
    const double none = std::numeric_limits<double>::quiet_NaN();
    number(point ? point->theta : none, "0.00");
    number(point ? point->r : none, "0.0000");
    HeliographicResult where{DiscRefusal::NotANumber, {}};
    if (point && disc) where = heliographicOf(*disc, *point);
    const bool placed = where.refusal == DiscRefusal::None;
    number(placed ? where.at.latitude : none, "0.00");
    number(placed ? where.at.longitude : none, "0.00");
    number(placed ? where.at.fromCentralMeridian : none, "0.00");
    const photo::Spot* measured = spot.measured ? &*spot.measured : nullptr;
    number(measured ? measured->whole.hemisphere : none, "0.0");
    number(measured ? measured->whole.projected : none, "0.0");
    number(measured ? measured->umbra.hemisphere : none, "0.0");
    number(measured ? measured->umbra.projected : none, "0.0");
    text += '\n';
  }
  return text;
}

}  // namespace kavrel::disque
