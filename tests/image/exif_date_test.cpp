// The date a camera wrote in its JPEG or TIFF file, and the files that give none.
#include "image/exif_date.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "exif_bytes.h"

namespace kavrel::image {
namespace {

using test::exifJpeg;
using test::exifTiff;

constexpr std::uint16_t kTaken = 0x9003;
constexpr std::uint16_t kSubSeconds = 0x9291;
constexpr std::uint16_t kZone = 0x9011;

std::string shown(const std::optional<ObservationDate>& d) {
  if (!d) return "";
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%06.3f%s", d->year, d->month, d->day, d->hour, d->minute,
                d->second, d->cameraClock ? " appareil" : "");
  return text;
}

TEST(ExifDate, ReadsTheCamerasDateOrNothing) {
  const std::string taken = exifTiff(false, {{kTaken, "2024:04:08 18:17:42"}});
  const std::string bigEndian =
      exifTiff(true, {{kTaken, "2024:04:08 23:59:59"}, {kSubSeconds, "25"}, {kZone, "-05:00"}});
  // The Exif IFD is at 26: its entry count, then its first entry, whose offset is at 36.
  std::string pointingAway = taken;
  pointingAway[39] = '\x7F';
  std::string manyEntries = exifTiff(false, {{kSubSeconds, "25"}});
  manyEntries[26] = '\xFF', manyEntries[27] = '\xFF';
  struct Row {
    const char* what;
    std::string bytes;
    const char* expected;  // "" for none
  };
  const Row rows[] = {
      {"JPEG, II", exifJpeg(taken), "2024-04-08 18:17:42.000 appareil"},
      {"TIFF, MM, fraction and zone: UTC the next day", bigEndian, "2024-04-09 04:59:59.250 appareil"},
      {"zone east of Greenwich", exifTiff(false, {{kTaken, "2024:01:01 01:00:00"}, {kZone, "+02:00"}}),
       "2023-12-31 23:00:00.000 appareil"},
      {"unreadable zone: local time kept", exifTiff(false, {{kTaken, "2024:04:08 18:17:42"}, {kZone, "CET"}}),
       "2024-04-08 18:17:42.000 appareil"},
      {"camera without a clock set", exifTiff(false, {{kTaken, "    :  :     :  :  "}}), ""},
      {"date without its time", exifTiff(false, {{kTaken, "2024:04:08"}}), ""},
      {"no date in the Exif IFD", exifTiff(false, {{kSubSeconds, "25"}}), ""},
      {"offset beyond the file", pointingAway, ""},
      {"entry count beyond the file", manyEntries, ""},
      {"TIFF cut in its IFD", taken.substr(0, 30), ""},
      {"APP1 longer than the file", exifJpeg(taken).substr(0, 40), ""},
      {"JPEG without EXIF", std::string("\xFF\xD8\xFF\xDA\x00\x02", 6), ""},
      {"neither JPEG nor TIFF", "GIF89a", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(shown(exifDateTaken(row.bytes.data(), row.bytes.size())), row.expected);
  }
}

}  // namespace
}  // namespace kavrel::image
