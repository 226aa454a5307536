// The FITS reader on arbitrary bytes, read from memory as from a file.
//
// Whatever the bytes, the reader returns: either an image no larger than the limit it was
// given, of the size it says, with a format and a depth, or a refusal that names the file
// and no image. A declared size beyond the limit must be refused without being allocated
// (the limit here is small, so that an allocation of it stays far below the fuzzer's).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "image/fits_reader.h"

using kavrel::fuzz::require;

namespace {

constexpr std::int64_t kFuzzMaxPixels = 1 << 22;
constexpr std::string_view kRefusalStart = "Le fichier « fuzz.fits » n'a pas pu être lu : ";

}  // namespace

// CFITSIO sizes its own tables from a compressed header as it opens it, before the reader
// can check anything; an impossible size there must fail as calloc fails outside the
// sanitizer (CFITSIO then reports it and the file is refused), not end the run.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kavrel::image::ImageReadOutcome outcome =
      kavrel::image::readFitsBytes(data, size, "fuzz.fits", kFuzzMaxPixels);
  if (outcome.ok()) {
    const kavrel::image::GreyView view = outcome.image.view();
    require(view.width > 1 && view.height > 1);
    require(static_cast<std::int64_t>(view.width) * view.height <= kFuzzMaxPixels);
    require(outcome.image.samples().size() == static_cast<std::size_t>(view.width) * view.height);
    require(outcome.format == "FITS" && outcome.bitsPerSample > 0);
  } else {
    require(outcome.image.empty());
    require(outcome.refusal.starts_with(kRefusalStart));
    require(outcome.refusal.size() > kRefusalStart.size() + 1);
  }
  return 0;
}
