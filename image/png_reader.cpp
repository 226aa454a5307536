#include "image/png_reader.h"

#include <spng.h>

#include <cstring>
#include <memory>
#include <vector>

namespace kavrel::image {
namespace {

constexpr std::string_view kFormat = "PNG";
// Text, profiles and other ancillary chunks of a photograph are small: a hostile file's
// giant chunk is refused rather than allocated.
constexpr std::size_t kChunkLimit = 16 * 1024 * 1024;

constexpr double kRed = 0.2126;
constexpr double kGreen = 0.7152;
constexpr double kBlue = 0.0722;

struct ContextFree {
  void operator()(spng_ctx* context) const noexcept { spng_ctx_free(context); }
};

// One decoded row (host-endian samples, `channels` a pixel) into a grey row; true when a
// pixel's red, green and blue differ.
template <typename Sample>
bool toGreyRow(const Sample* in, int width, int channels, float* out) {
  bool colour = false;
  if (channels <= 2) {
    for (int x = 0; x < width; ++x) out[x] = in[x * channels];
    return false;
  }
  for (int x = 0; x < width; ++x) {
    const Sample* p = in + x * channels;
    colour = colour || p[0] != p[1] || p[1] != p[2];
    out[x] = static_cast<float>(kRed * p[0] + kGreen * p[1] + kBlue * p[2]);
  }
  return colour;
}

int channelsOf(std::uint8_t colourType) {
  switch (colourType) {
    case SPNG_COLOR_TYPE_GRAYSCALE:
      return 1;
    case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
      return 2;
    case SPNG_COLOR_TYPE_TRUECOLOR:
      return 3;
    case SPNG_COLOR_TYPE_TRUECOLOR_ALPHA:
      return 4;
    default:
      return 0;  // palette
  }
}

}  // namespace

bool looksLikePng(const void* data, std::size_t size) noexcept {
  static constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  return size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

std::optional<ImageReadOutcome> readPngBytes(const void* data, std::size_t size, std::string_view fileName,
                                             std::int64_t maxPixels) {
  const std::unique_ptr<spng_ctx, ContextFree> context(spng_ctx_new(0));
  if (!context) return std::nullopt;
  spng_ctx* png = context.get();
  spng_set_chunk_limits(png, kChunkLimit, kChunkLimit);
  if (spng_set_png_buffer(png, data, size) != 0) return std::nullopt;
  spng_ihdr header{};
  if (spng_get_ihdr(png, &header) != 0) return refused(fileName, kReasonTruncatedOrCorrupt);
  const int channels = channelsOf(header.color_type);
  if (channels == 0 || (header.bit_depth != 8 && header.bit_depth != 16) ||
      header.interlace_method != SPNG_INTERLACE_NONE)
    return std::nullopt;
  spng_exif exif{};
  if (spng_get_exif(png, &exif) == 0) return std::nullopt;
  const std::int64_t width = header.width;
  const std::int64_t height = header.height;
  if (width > maxPixels || height > maxPixels || width * height > maxPixels)
    return refused(fileName, tooLargeReason(width, height));

  if (spng_decode_image(png, nullptr, 0, SPNG_FMT_PNG, SPNG_DECODE_PROGRESSIVE) != 0)
    return refused(fileName, kReasonTruncatedOrCorrupt);
  ImageReadOutcome outcome;
  outcome.image = GreyImage::uninitialised(static_cast<int>(width), static_cast<int>(height));
  const std::size_t bytesPerSample = header.bit_depth / 8;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels) * bytesPerSample;
  std::vector<std::uint16_t> row((rowBytes + 1) / 2);  // aligned for 16-bit samples
  bool colour = false;
  for (int y = 0; y < height; ++y) {
    spng_row_info info{};
    if (spng_get_row_info(png, &info) != 0 || info.row_num != static_cast<std::uint32_t>(y))
      return refused(fileName, kReasonTruncatedOrCorrupt);
    const int status = spng_decode_row(png, row.data(), rowBytes);
    // The last row is decoded with "end of image".
    if (status != 0 && !(status == SPNG_EOI && y == height - 1)) return refused(fileName, kReasonTruncatedOrCorrupt);
    float* out = outcome.image.row(y);
    if (header.bit_depth == 16)
      colour = toGreyRow(row.data(), static_cast<int>(width), channels, out) || colour;
    else
      colour = toGreyRow(reinterpret_cast<const unsigned char*>(row.data()), static_cast<int>(width), channels, out) ||
               colour;
  }
  outcome.format = kFormat;
  outcome.bitsPerSample = header.bit_depth;
  outcome.colour = colour;
  return outcome;
}

}  // namespace kavrel::image
