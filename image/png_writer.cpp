// A picture as a PNG file's bytes, through libspng's encoder (png_writer.h).
#include "image/png_writer.h"

#include <spng.h>

#include <cstdlib>
#include <memory>

namespace kavrel::image {
namespace {

constexpr char kNotEncoded[] = "le codage PNG a échoué : ";
constexpr char kEmpty[] = "l'image est vide";
constexpr int kFastestLevel = 1;

struct ContextFree {
  void operator()(spng_ctx* context) const noexcept { spng_ctx_free(context); }
};

PngOutcome refused(int error) { return {{}, std::string(kNotEncoded) + spng_strerror(error)}; }

// One row of 0xffRRGGBB words as red, green, blue bytes.
void toRgbRow(const std::uint32_t* in, int width, unsigned char* out) {
  for (int x = 0; x < width; ++x) {
    const std::uint32_t pixel = in[x];
    out[3 * x] = static_cast<unsigned char>(pixel >> 16);
    out[3 * x + 1] = static_cast<unsigned char>(pixel >> 8);
    out[3 * x + 2] = static_cast<unsigned char>(pixel);
  }
}

}  // namespace

PngOutcome pngOfRgb32(const std::uint32_t* rows, int width, int height, std::size_t stride) {
  if (rows == nullptr || width <= 0 || height <= 0) return {{}, std::string(kNotEncoded) + kEmpty};
  const std::unique_ptr<spng_ctx, ContextFree> context(spng_ctx_new(SPNG_CTX_ENCODER));
  if (!context) return refused(SPNG_EMEM);
  spng_ctx* png = context.get();
  spng_ihdr header{};
  header.width = static_cast<std::uint32_t>(width);
  header.height = static_cast<std::uint32_t>(height);
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
  int error = spng_set_option(png, SPNG_ENCODE_TO_BUFFER, 1);
  if (error == 0) error = spng_set_option(png, SPNG_IMG_COMPRESSION_LEVEL, kFastestLevel);
  if (error == 0) error = spng_set_option(png, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP);
  if (error == 0) error = spng_set_ihdr(png, &header);
  if (error == 0) error = spng_encode_image(png, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  const auto* bytes = reinterpret_cast<const unsigned char*>(rows);
  for (int y = 0; y < height && error == 0; ++y) {
    toRgbRow(reinterpret_cast<const std::uint32_t*>(bytes + static_cast<std::size_t>(y) * stride), width, row.data());
    error = spng_encode_row(png, row.data(), row.size());
    if (error == SPNG_EOI && y + 1 == height) error = 0;
  }
  if (error != 0) return refused(error);
  std::size_t length = 0;
  const std::unique_ptr<void, decltype(&std::free)> file(spng_get_png_buffer(png, &length, &error), &std::free);
  if (!file || error != 0) return refused(error != 0 ? error : SPNG_EMEM);
  const auto* begin = static_cast<const unsigned char*>(file.get());
  return {{begin, begin + length}, {}};
}

}  // namespace kavrel::image
