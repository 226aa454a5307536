// What a saved or printed photograph says of itself, in words: where celestial north
// points on the image and whether it is mirrored; the caption of the saved picture. Angles
// in degrees to hundredths, with the decimal separator given. The limb's line is the
// engine's (photo_reduction.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "photo/image_orientation.h"
#include "disque/photo_spots.h"

namespace kavrel::disque {

inline constexpr char kCaptionNorth[] = "Nord céleste à %1° du haut de l'image, vers la gauche";
inline constexpr char kCaptionUpright[] = "est à gauche du nord (image non inversée)";
inline constexpr char kCaptionMirrored[] = "est à droite du nord (image inversée)";
inline constexpr char kCaptionNoOrientation[] = "Orientation inconnue";

// "Nord céleste à 12,50° du haut de l'image, vers la gauche ; est à gauche du nord (image
// non inversée)", or, without a frame, "Orientation inconnue : " and why (`refusal`).
[[nodiscard]] std::string orientationLine(const std::optional<photo::ImageFrame>& frame, std::string_view refusal,
                                          std::string_view decimalSeparator);
// The saved picture's caption: the file and the instant on one line, the orientation and
// the limb on the other.
[[nodiscard]] std::vector<std::string> pictureCaption(std::string_view fileName, std::string_view instant,
                                                      std::string_view orientation, std::string_view limb);

}  // namespace kavrel::disque
