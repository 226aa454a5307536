// The EXIF date of a camera's file on arbitrary bytes, taken as a JPEG or a TIFF.
//
// Whatever the bytes, nothing is read outside them (AddressSanitizer), and a date found is
// one of the calendar's, with its time, marked as the camera's clock.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "image/exif_date.h"

using kavrel::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto date = kavrel::image::exifDateTaken(data, size);
  if (date) {
    require(date->hasTime && date->cameraClock);
    require(date->month >= 1 && date->month <= 12 && date->day >= 1 && date->day <= 31);
    require(date->hour >= 0 && date->hour <= 23 && date->minute >= 0 && date->minute <= 59);
    require(date->second >= 0 && date->second < 61);
  }
  return 0;
}
