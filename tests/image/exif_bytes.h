// Camera files' EXIF blocks made by the tests: a TIFF structure whose first IFD points to
// an Exif IFD of ASCII entries, alone (a TIFF file's start) or in a JPEG's APP1 segment.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kavrel::image::test {

struct ExifText {
  std::uint16_t tag = 0;
  std::string value;  // written with its closing NUL
};

inline std::string exifTiff(bool bigEndian, const std::vector<ExifText>& texts) {
  std::string bytes;
  const auto put = [&](std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) {
      const int shift = 8 * (bigEndian ? width - 1 - i : i);
      bytes += static_cast<char>((value >> shift) & 0xFF);
    }
  };
  bytes += bigEndian ? "MM" : "II";
  put(42, 2);
  put(8, 4);
  // IFD0: the Exif pointer alone; then the Exif IFD, then the texts too long to sit inline.
  const std::uint32_t exifIfd = 8 + 2 + 12 + 4;
  put(1, 2);
  put(0x8769, 2), put(4, 2), put(1, 4), put(exifIfd, 4);
  put(0, 4);
  std::uint32_t data = exifIfd + 2 + 12 * static_cast<std::uint32_t>(texts.size()) + 4;
  std::string tail;
  put(static_cast<std::uint32_t>(texts.size()), 2);
  for (const ExifText& text : texts) {
    const auto count = static_cast<std::uint32_t>(text.value.size() + 1);
    put(text.tag, 2), put(2, 2), put(count, 4);
    std::string value = text.value + '\0';
    if (count <= 4) {
      value.resize(4, '\0');
      bytes += value;
    } else {
      put(data, 4);
      tail += value;
      data += count;
    }
  }
  put(0, 4);
  return bytes + tail;
}

// A JPEG's first bytes with the block in APP1; `jpeg` (a whole file) follows the segment.
inline std::string exifJpeg(const std::string& tiff, const std::string& jpeg = "\xFF\xD8\xFF\xD9") {
  const std::size_t length = 2 + 6 + tiff.size();
  std::string bytes = "\xFF\xD8\xFF\xE1";
  bytes += static_cast<char>(length >> 8);
  bytes += static_cast<char>(length & 0xFF);
  bytes += std::string("Exif\0\0", 6) + tiff;
  return bytes + jpeg.substr(2);
}

}  // namespace kavrel::image::test
