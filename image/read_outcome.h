// What reading an image file gives: the grey image with what the file says of itself, or
// a refusal in French naming the file and the reason. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "image/file_geometry.h"
#include "image/grey_image.h"
#include "image/observation_date.h"

namespace kavrel::image {

// Above this many pixels a file is refused from its declared size, before anything is
// allocated (a float32 image of this size takes 800 MB).
inline constexpr std::int64_t kMaxPixels = 200'000'000;

struct ImageReadOutcome {
  GreyImage image;                         // empty when refused
  std::optional<ObservationDate> observed;  // FITS header, or a camera's EXIF date
  FileGeometry geometry;                   // FITS only: what its header says of the Sun
  std::string format;                      // "FITS", "PNG", "JPEG", "TIFF", ...
  int bitsPerSample = 0;                   // as stored: 8, 16, 32, 64
  bool floatSamples = false;               // stored as floating point
  bool colour = false;                     // turned into luminance
  std::string refusal;                     // empty when read

  [[nodiscard]] bool ok() const noexcept { return refusal.empty() && !image.empty(); }
  // For display: "FITS, 16 bits entiers", "PNG, 8 bits, couleur".
  [[nodiscard]] std::string description() const;
};

// "Le fichier « name » n'a pas pu être lu : reason."
[[nodiscard]] ImageReadOutcome refused(std::string_view fileName, std::string_view reason);

// The reasons shared by the readers.
inline constexpr std::string_view kReasonMissing = "il n'existe pas";
inline constexpr std::string_view kReasonFolder = "c'est un dossier";
inline constexpr std::string_view kReasonUnreadable = "il ne peut pas être ouvert en lecture";
inline constexpr std::string_view kReasonEmpty = "il est vide";
inline constexpr std::string_view kReasonTruncated = "il est tronqué";
inline constexpr std::string_view kReasonCorrupt = "il est endommagé";
inline constexpr std::string_view kReasonTruncatedOrCorrupt = "il est tronqué ou endommagé";
// "l'image est trop grande (W × H pixels, au plus 200 millions)".
[[nodiscard]] std::string tooLargeReason(std::int64_t width, std::int64_t height);

}  // namespace kavrel::image
