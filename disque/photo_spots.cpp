// The spots read on a photograph and their texts (photo_spots.h).
#include "disque/photo_spots.h"

#include "common/display_mask.h"
#include "common/text.h"
#include "disque/disc_spots.h"

namespace kavrel::disque {

std::optional<double> typedNumber(std::string_view text, std::string_view separator) {
  return decimalNumber(text, separator);
}

std::string pixelText(double pixels, std::string_view separator) { return formatMask(pixels, "0.00", separator); }
std::string distanceText(double r, std::string_view separator) { return formatMask(r, "0.0000", separator); }
std::string angleText(double degrees, std::string_view separator) { return formatMask(degrees, "0.00", separator); }
std::string thresholdText(double share, std::string_view separator) { return formatMask(share, "0.00", separator); }
std::string areaText(double millionths, std::string_view separator) { return formatMask(millionths, "0", separator); }

std::string positionAngleText(double degrees, std::string_view separator) {
  const std::string shown = angleText(degrees, separator);
  return shown == angleText(360, separator) ? angleText(0, separator) : shown;
}

std::string thresholdsText(const photo::SpotThresholds& thresholds, std::string_view separator) {
  const std::string fixed = thresholdText(thresholds.umbra, separator);
  return thresholdText(thresholds.spot, separator) + " / " +
         (thresholds.boundary == photo::UmbraBoundary::FixedShare ? fixed : "creux (sinon " + fixed + ")");
}

std::string thresholdsText(const photo::SpotMeasure& measure, std::string_view separator) {
  const bool dipAsked = measure.thresholds.boundary == photo::UmbraBoundary::SpotHistogram;
  return thresholdText(measure.thresholds.spot, separator) + " / " + thresholdText(measure.umbraLevel, separator) +
         (measure.umbraFromDip ? " (creux)" : dipAsked ? " (sans creux)" : "");
}

PointReadout pointReadout(DiscPoint point, const std::optional<DiscOrientation>& disc, std::string_view separator) {
  PointReadout readout;
  if (const DiscRefusal refusal = pointRefusal(point); refusal != DiscRefusal::None) {
    readout.refusal = refusalMessage(refusal);
    return readout;
  }
  readout.cells[0] = positionAngleText(point.theta, separator);
  readout.cells[1] = distanceText(point.r, separator);
  if (!disc) {
    for (std::size_t i = 2; i < readout.cells.size(); ++i) readout.cells[i] = kEmptyResult;
    return readout;
  }
  readout.refusal = writeHeliographicCells(*disc, point, readout.cells, separator);
  return readout;
}

}  // namespace kavrel::disque
