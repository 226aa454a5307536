// What a saved or printed photograph says of itself (photo_caption.h).
#include "disque/photo_caption.h"

#include <cmath>

namespace kavrel::disque {

namespace {

// Replaces %1, %2, %3 in order; the patterns hold each once.
std::string filled(std::string pattern, const std::vector<std::string>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string mark = '%' + std::to_string(i + 1);
    if (const std::size_t at = pattern.find(mark); at != std::string::npos) pattern.replace(at, mark.size(), values[i]);
  }
  return pattern;
}

}  // namespace

std::string orientationLine(const std::optional<photo::ImageFrame>& frame, std::string_view refusal,
                            std::string_view separator) {
  if (!frame || !std::isfinite(frame->north)) {
    std::string line = kCaptionNoOrientation;
    if (!refusal.empty()) line += " : " + std::string(refusal);
    return line;
  }
  // 359.996 would read 360,00.
  double north = angleText(frame->north, ".") == "360.00" ? 0 : frame->north;
  return filled(kCaptionNorth, {angleText(north, separator)}) + " ; " +
         (frame->mirrored ? kCaptionMirrored : kCaptionUpright);
}

std::vector<std::string> pictureCaption(std::string_view fileName, std::string_view instant,
                                        std::string_view orientation, std::string_view limb) {
  std::string first(fileName);
  if (!first.empty() && !instant.empty()) first += "     ";
  first += instant;
  std::string second(orientation);
  if (!second.empty() && !limb.empty()) second += "     ";
  second += limb;
  return {first, second};
}

}  // namespace kavrel::disque
