// The PNG reader (libspng) on arbitrary bytes.
//
// Whatever the bytes, the reader returns: nothing (a PNG it leaves to Qt's reader), an
// image no larger than the limit it was given, of the size it says, or a refusal that
// names the file and no image. A declared size beyond the limit must be refused without
// being allocated (the limit here is small, so that an allocation of it stays far below
// the fuzzer's).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "image/png_reader.h"

using kavrel::fuzz::require;

namespace {

constexpr std::int64_t kFuzzMaxPixels = 1 << 22;
constexpr std::string_view kRefusalStart = "Le fichier « fuzz.png » n'a pas pu être lu : ";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto outcome = kavrel::image::readPngBytes(data, size, "fuzz.png", kFuzzMaxPixels);
  if (!outcome) return 0;
  if (outcome->ok()) {
    const kavrel::image::GreyView view = outcome->image.view();
    require(view.width > 0 && view.height > 0);
    require(static_cast<std::int64_t>(view.width) * view.height <= kFuzzMaxPixels);
    require(outcome->image.samples().size() == static_cast<std::size_t>(view.width) * view.height);
    require(outcome->format == "PNG" && (outcome->bitsPerSample == 8 || outcome->bitsPerSample == 16));
  } else {
    require(outcome->image.empty());
    require(outcome->refusal.starts_with(kRefusalStart));
    require(outcome->refusal.size() > kRefusalStart.size() + 1);
  }
  return 0;
}
