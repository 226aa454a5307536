// The limb finder and the spot area on arbitrary pixels.
//
// Input: width and height (8 to 71 pixels) from the first two bytes, the point chosen in
// the spot from the next two, a mode byte, then the pixels: with an even mode one byte a
// pixel (255 a blank pixel, 254 a huge value, otherwise the byte), with an odd mode four
// bytes a pixel taken as a float as they are (NaN, infinities and subnormals included).
// Missing pixels are 0. Without a limb found, the spot is measured in a circle drawn from
// the mode byte.
//
// Either the limb is refused with its one message, or it is a finite circle of at least
// 8 px radius, no larger than the image's larger side, from a third of the rays at least.
// Either the spot is refused with one of its messages, or its umbra lies within it, its
// areas are finite and not negative, and its mask holds exactly its pixels.
#include <cstring>
#include <string_view>

#include "fuzz_support.h"
#include "photo/limb.h"
#include "photo/spot_area.h"

using namespace kavrel::photo;
using kavrel::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const int width = 8 + data[0] % 64;
  const int height = 8 + data[1] % 64;
  const PixelPoint chosen{data[2] % 80 - 4.0, data[3] % 80 - 4.0};
  const std::uint8_t mode = data[4];
  data += 5;
  size -= 5;

  std::vector<float> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0.0f);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (mode % 2 == 0) {
      if (i >= size) break;
      pixels[i] = data[i] == 255 ? std::nanf("") : data[i] == 254 ? 3e38f : static_cast<float>(data[i]);
    } else {
      if (4 * i + 4 > size) break;
      std::memcpy(&pixels[i], data + 4 * i, 4);
    }
  }
  const kavrel::image::GreyView view{width, height, width, pixels.data()};

  const LimbOutcome limb = findLimb(view);
  require(limb.limb.has_value() == limb.reason.empty());
  if (!limb.limb) require(limb.reason == kNoLimbMessage);
  Circle circle{{width / 2.0, height / 2.0}, 8.0 + mode % 40};
  if (limb.limb) {
    const Limb& found = *limb.limb;
    require(std::isfinite(found.circle.centre.x) && std::isfinite(found.circle.centre.y));
    require(found.circle.radius >= 8 && found.circle.radius <= std::max(width, height));
    require(found.points * 3 >= found.rays && found.points <= found.rays);
    require(found.rms >= 0 && std::isfinite(found.rms));
    circle = found.circle;
  }

  const SpotOutcome spot = measureSpot(view, circle, chosen);
  require(spot.measure.has_value() == spot.reason.empty());
  if (!spot.measure) {
    const std::string_view reasons[] = {kOffDiscMessage, kNotInSpotMessage, kSpotLeaksMessage, kNoQuietSunMessage};
    bool known = false;
    for (std::string_view reason : reasons) known = known || spot.reason == reason;
    require(known);
    return 0;
  }
  const SpotMeasure& s = *spot.measure;
  require(s.whole.pixels >= 1 && s.umbra.pixels <= s.whole.pixels);
  for (const Area* area : {&s.whole, &s.umbra}) {
    require(std::isfinite(area->projected) && area->projected >= 0);
    require(std::isfinite(area->hemisphere) && area->hemisphere >= area->projected / 2 * 0.999999);
  }
  long marked = 0;
  for (SpotCell cell : s.mask.cells) marked += cell != SpotCell::Outside;
  require(marked == s.whole.pixels);
  require(s.mask.cells.size() == static_cast<std::size_t>(s.mask.width) * static_cast<std::size_t>(s.mask.height));
  require(s.mask.left >= 0 && s.mask.top >= 0 && s.mask.left + s.mask.width <= width &&
          s.mask.top + s.mask.height <= height);
  return 0;
}
