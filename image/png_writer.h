// Writing a picture of 8-bit red, green and blue as a PNG file's bytes, fast rather than
// small: a saved photograph of 4096 × 4096 pixels must not keep its window waiting. Each
// row is filtered by its difference from the row above (what suits a photograph's smooth
// light) and deflated at zlib's fastest level, some 30 % more bytes than the slowest for a
// tenth of the time. Without Qt: the pixels come as rows of 32-bit words 0xffRRGGBB in the
// machine's byte order (Qt's RGB32), the alpha byte left out of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kavrel::image {

struct PngOutcome {
  std::vector<unsigned char> bytes;  // the whole file; empty when refused
  std::string refusal;               // why, in French
};

// `rows` holds `height` rows of `width` pixels, each row `stride` bytes after the one above.
[[nodiscard]] PngOutcome pngOfRgb32(const std::uint32_t* rows, int width, int height, std::size_t stride);

}  // namespace kavrel::image
