// The spots read on a photograph: each kept as the pixel clicked, with its measured area
// once asked; its theta, r, B, L and DMC follow the image's frame (the limb and the
// orientation) and the instant, so that correcting the orientation after the clicks moves
// every spot with it. Also the frame itself, from the limb and the orientation as typed,
// and the spots as CSV, in the dialect of `kavrel soleil --csv`.
//
// Pixels as in image/grey_image.h: x from the left edge, y from the top edge of the image
// as displayed, (0, 0) the centre of the top-left pixel. Areas in millionths of the solar
// hemisphere (MSH) and of the disc, as photo/spot_area.h measures them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "photo/image_orientation.h"
#include "photo/spot_area.h"
#include "sun/heliographic.h"

namespace kavrel::disque {

inline constexpr char kNoLimbYet[] =
    "Le bord du Soleil n'est pas connu : donnez-le par « Bord par trois points ».";
inline constexpr char kThresholdsNotNumbers[] = "Les seuils de la tache et de l'ombre doivent être des nombres.";

struct PictureSpot {
  int number = 0;
  photo::PixelPoint at{};
  std::optional<photo::Spot> measured;
};

// The image placed on the sky, or why not: no limb yet, an angle that is not a number, a
// solar north without the instant, a drift too short.
struct FrameOutcome {
  std::optional<photo::ImageFrame> frame;
  std::string refusal;
};
[[nodiscard]] FrameOutcome imageFrame(const std::optional<photo::Circle>& limb, photo::ImageOrientation orientation,
                                      const std::optional<DiscOrientation>& disc);
// The angle as typed: the decimal separator of the locale; a text that is not a number
// gives NaN, which imageFrame refuses.
[[nodiscard]] double orientationAngle(std::string_view typed, std::string_view decimalSeparator);

// The two thresholds as typed, or the reason they are refused.
struct ThresholdsEntry {
  std::optional<photo::SpotThresholds> thresholds;
  std::string refusal;
};
[[nodiscard]] ThresholdsEntry thresholdsOf(std::string_view spot, std::string_view umbra,
                                           std::string_view decimalSeparator);

// The photograph's numbers as the window shows them: a pixel position or radius to
// tenths, an angle and a threshold to hundredths, an area in whole millionths.
[[nodiscard]] std::string pixelText(double pixels, std::string_view decimalSeparator);
[[nodiscard]] std::string angleText(double degrees, std::string_view decimalSeparator);
[[nodiscard]] std::string thresholdText(double share, std::string_view decimalSeparator);
[[nodiscard]] std::string areaText(double millionths, std::string_view decimalSeparator);

// The disc point of a spot, while the frame is known.
[[nodiscard]] std::optional<DiscPoint> discPointOf(const std::optional<photo::ImageFrame>& frame,
                                                   const PictureSpot& spot);

// The table's row: number, theta, r, B, L, DMC as on the drawn disc (empty while the frame
// is unknown), the spot's and the umbra's areas in MSH (empty until measured).
[[nodiscard]] std::array<std::string, 8> pictureSpotCells(const std::optional<photo::ImageFrame>& frame,
                                                          const std::optional<DiscOrientation>& disc,
                                                          const PictureSpot& spot, std::string_view decimalSeparator);

// The spots as CSV, the header first, a line per spot: the number, x and y in pixels,
// theta, r, B, L, DMC, the areas. A value not known is an empty field.
[[nodiscard]] std::string pictureSpotsCsv(const std::vector<PictureSpot>& spots,
                                          const std::optional<photo::ImageFrame>& frame,
                                          const std::optional<DiscOrientation>& disc,
                                          std::string_view decimalSeparator);

}  // namespace kavrel::disque
