// The spots read on a photograph and how every one of their numbers is written: the
// window's table and pointer, the saved CSV, the printed page and `kavrel tache-image` /
// `aire` all take their texts from here, so that one value is rounded one way.
//
// Pixels as in image/grey_image.h: x from the left edge, y from the top edge of the image
// as displayed, (0, 0) the centre of the top-left pixel. Angles in degrees, r in disc
// radii, areas in millionths of the solar hemisphere (MSH) and of the disc, as
// photo/spot_area.h measures them. Roundings: pixels and the limb to hundredths (the limb
// is found to a few hundredths), theta to hundredths and r to ten-thousandths (a pixel
// on a disc of 1000 px is 0.001 in r), B, L and DMC to hundredths, thresholds to
// hundredths, areas to whole millionths on screen and tenths in the CSV.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "photo/image_orientation.h"
#include "photo/spot_area.h"
#include "sun/heliographic.h"

namespace kavrel::disque {

// A spot clicked on a photograph: kept as its pixel, so that correcting the limb or the
// orientation afterwards moves it on the Sun; its measure once asked, with the thresholds
// it was made with.
struct PhotoSpot {
  int number = 0;
  photo::PixelPoint at{};
  std::optional<photo::SpotMeasure> measure;
};

// A number typed in a photograph's field: with the locale's separator, or with a point as
// `kavrel` takes it.
[[nodiscard]] std::optional<double> typedNumber(std::string_view text, std::string_view decimalSeparator);

[[nodiscard]] std::string pixelText(double pixels, std::string_view decimalSeparator);
// In [0, 360) once rounded: 359.999 shows 0.
[[nodiscard]] std::string positionAngleText(double degrees, std::string_view decimalSeparator);
[[nodiscard]] std::string distanceText(double r, std::string_view decimalSeparator);
[[nodiscard]] std::string angleText(double degrees, std::string_view decimalSeparator);
[[nodiscard]] std::string thresholdText(double share, std::string_view decimalSeparator);
[[nodiscard]] std::string areaText(double millionths, std::string_view decimalSeparator);
// The thresholds asked: "0,90 / 0,60" for the umbra at a fixed share, "0,90 / creux
// (sinon 0,60)" for the umbra at the dip of the spot's histogram, the share where it has none.
[[nodiscard]] std::string thresholdsText(const photo::SpotThresholds& thresholds, std::string_view decimalSeparator);
// Those a measure was made with, the umbra's boundary as used: "0,90 / 0,60", "0,90 / 0,38
// (creux)", "0,90 / 0,60 (sans creux)" where the histogram showed no dip.
[[nodiscard]] std::string thresholdsText(const photo::SpotMeasure& measure, std::string_view decimalSeparator);

// What is read at a disc point: theta, r, B, L, DMC, and the reason when there is nothing
// to read (B, L and DMC empty with it). B, L and DMC show kEmptyResult while the instant is
// unknown, as on the drawn disc.
struct PointReadout {
  std::array<std::string, 5> cells;
  std::string refusal;
};
[[nodiscard]] PointReadout pointReadout(DiscPoint point, const std::optional<DiscOrientation>& disc,
                                        std::string_view decimalSeparator);

}  // namespace kavrel::disque
