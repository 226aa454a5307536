// Reading a PNG file with libspng into a grey image: on a 4096 x 4096 photograph of 16
// bits a sample, about twice as fast as Qt's reader (bench/image_bench.cpp).
//
// Non-interlaced PNG of 8 or 16 bits a sample, grey or colour, with or without alpha:
// samples as stored (0..255, 0..65535), colour turned into luminance with the Rec. 709
// weights on the stored values, alpha ignored, as image_reader.h says of every format.
// The rest (palette, fewer than 8 bits a sample, interlaced, an EXIF chunk that may turn
// the image) is rare in photographs of the Sun and left to Qt's reader: none is returned.
// The size is checked against maxPixels from the header, before anything is allocated; a
// damaged or truncated file is refused with the reader's French reasons.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "image/read_outcome.h"

namespace kavrel::image {

// The 8 bytes every PNG file begins with.
[[nodiscard]] bool looksLikePng(const void* data, std::size_t size) noexcept;

[[nodiscard]] std::optional<ImageReadOutcome> readPngBytes(const void* data, std::size_t size,
                                                           std::string_view fileName,
                                                           std::int64_t maxPixels = kMaxPixels);

}  // namespace kavrel::image
