// What a saved or printed photograph says of itself, in words: where celestial north
// points on the image and whether it is mirrored, and the limb (centre and radius in
// pixels, found by the program or given by three points). Angles in degrees to
// hundredths, pixels to tenths, with the decimal separator given.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "photo/image_orientation.h"
#include "programs/disque/photo_spots.h"

namespace kavrel::disque {

inline constexpr char kCaptionNorth[] = "Nord céleste à %1° du haut de l'image, vers la gauche";
inline constexpr char kCaptionUpright[] = "est à gauche du nord (image non inversée)";
inline constexpr char kCaptionMirrored[] = "est à droite du nord (image inversée)";
inline constexpr char kCaptionNoOrientation[] = "Orientation inconnue";
inline constexpr char kCaptionLimbFound[] = "Bord trouvé : centre (%1 ; %2), rayon %3 px";
inline constexpr char kCaptionLimbGiven[] = "Bord donné par trois points : centre (%1 ; %2), rayon %3 px";
inline constexpr char kCaptionNoLimb[] = "Bord du Soleil inconnu";

// "Nord céleste à 12,50° du haut de l'image, vers la gauche ; est à gauche du nord (image
// non inversée)", or, without a frame, "Orientation inconnue : " and the frame's refusal.
[[nodiscard]] std::string orientationLine(const FrameOutcome& placed, std::string_view decimalSeparator);
// The limb's centre and radius and how it was had, or that it is not known.
[[nodiscard]] std::string limbLine(const std::optional<photo::Circle>& limb, bool found,
                                   std::string_view decimalSeparator);
// The saved picture's caption: the file and the instant on one line, the orientation and
// the limb on the other.
[[nodiscard]] std::vector<std::string> pictureCaption(std::string_view fileName, std::string_view instant,
                                                      std::string_view orientation, std::string_view limb);

}  // namespace kavrel::disque
