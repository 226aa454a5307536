#include "image/exif_date.h"

#include <erfa.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace kavrel::image {
namespace {

constexpr std::uint16_t kExifPointer = 0x8769;
constexpr std::uint16_t kDateTimeOriginal = 0x9003;
constexpr std::uint16_t kOffsetTimeOriginal = 0x9011;
constexpr std::uint16_t kSubSecTimeOriginal = 0x9291;
constexpr std::uint16_t kAscii = 2;
constexpr std::uint16_t kLong = 4;
constexpr std::size_t kEntryBytes = 12;

// The bytes of a TIFF structure (from its "II" or "MM"), every read bounds-checked.
class TiffBytes {
 public:
  TiffBytes(const unsigned char* bytes, std::size_t size, bool bigEndian)
      : bytes_(bytes), size_(size), bigEndian_(bigEndian) {}

  [[nodiscard]] std::optional<std::uint32_t> read(std::uint64_t at, int width) const {
    if (at > size_ || static_cast<std::uint64_t>(width) > size_ - at) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
      const std::uint32_t byte = bytes_[at + static_cast<std::uint64_t>(bigEndian_ ? i : width - 1 - i)];
      value = value << 8 | byte;
    }
    return value;
  }

  // The entry of `tag` in the IFD at `ifd`: its type, count and where its value lies.
  struct Entry {
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::uint64_t valueAt = 0;  // the value itself when it fits in four bytes, else its offset's target
  };
  [[nodiscard]] std::optional<Entry> find(std::uint64_t ifd, std::uint16_t tag) const {
    const auto entries = read(ifd, 2);
    if (!entries) return std::nullopt;
    for (std::uint32_t i = 0; i < *entries; ++i) {
      const std::uint64_t at = ifd + 2 + std::uint64_t{i} * kEntryBytes;
      const auto entryTag = read(at, 2);
      const auto type = read(at + 2, 2);
      const auto count = read(at + 4, 4);
      if (!entryTag || !type || !count) return std::nullopt;
      if (*entryTag != tag) continue;
      Entry entry{static_cast<std::uint16_t>(*type), *count, at + 8};
      const std::uint64_t bytes = *type == kAscii ? std::uint64_t{*count} : std::uint64_t{*count} * 4;
      if (bytes > 4) {
        const auto offset = read(at + 8, 4);
        if (!offset) return std::nullopt;
        entry.valueAt = *offset;
      }
      return entry;
    }
    return std::nullopt;
  }

  // An ASCII value, without its closing NUL; none when it does not lie in the bytes.
  [[nodiscard]] std::optional<std::string> text(std::uint64_t ifd, std::uint16_t tag) const {
    const auto entry = find(ifd, tag);
    if (!entry || entry->type != kAscii || entry->valueAt > size_ || entry->count > size_ - entry->valueAt)
      return std::nullopt;
    std::string value(reinterpret_cast<const char*>(bytes_ + entry->valueAt), entry->count);
    value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
    return value;
  }

 private:
  const unsigned char* bytes_;
  std::size_t size_;
  bool bigEndian_;
};

bool digits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// "+02:00" as minutes east of Greenwich.
std::optional<int> offsetMinutes(std::string_view text) {
  if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':' || !digits(text.substr(1, 2)) ||
      !digits(text.substr(4, 2)))
    return std::nullopt;
  const int minutes = ((text[1] - '0') * 10 + (text[2] - '0')) * 60 + (text[4] - '0') * 10 + (text[5] - '0');
  if (minutes > 14 * 60) return std::nullopt;
  return text[0] == '-' ? -minutes : minutes;
}

// The local date and time moved back to UTC by the zone's offset.
std::optional<ObservationDate> inUtc(ObservationDate local, int offset) {
  double day1 = 0;
  double day2 = 0;
  if (eraCal2jd(local.year, local.month, local.day, &day1, &day2) != 0) return std::nullopt;
  day2 += ((local.hour * 60 + local.minute - offset) * 60 + local.second) / 86400;
  int fraction[4] = {};
  if (eraD2dtf("", 3, day1, day2, &local.year, &local.month, &local.day, fraction) != 0) return std::nullopt;
  local.hour = fraction[0];
  local.minute = fraction[1];
  local.second = fraction[2] + fraction[3] / 1000.0;
  return local;
}

std::optional<ObservationDate> fromTiff(const unsigned char* bytes, std::size_t size) {
  if (size < 8) return std::nullopt;
  const bool bigEndian = bytes[0] == 'M' && bytes[1] == 'M';
  if (!bigEndian && !(bytes[0] == 'I' && bytes[1] == 'I')) return std::nullopt;
  const TiffBytes tiff(bytes, size, bigEndian);
  const auto magic = tiff.read(2, 2);
  const auto firstIfd = tiff.read(4, 4);
  if (!magic || *magic != 42 || !firstIfd) return std::nullopt;
  const auto pointer = tiff.find(*firstIfd, kExifPointer);
  if (!pointer || pointer->type != kLong) return std::nullopt;
  const auto exifIfd = tiff.read(pointer->valueAt, 4);
  if (!exifIfd) return std::nullopt;

  // "YYYY:MM:DD HH:MM:SS", read as the ISO form.
  std::string taken = tiff.text(*exifIfd, kDateTimeOriginal).value_or("");
  if (taken.size() != 19 || taken[4] != ':' || taken[7] != ':' || taken[10] != ' ') return std::nullopt;
  taken[4] = taken[7] = '-';
  taken[10] = 'T';
  if (const auto subSeconds = tiff.text(*exifIfd, kSubSecTimeOriginal)) {
    std::string_view fraction = *subSeconds;
    while (!fraction.empty() && fraction.back() == ' ') fraction.remove_suffix(1);
    if (digits(fraction)) taken += '.' + std::string(fraction);
  }
  std::optional<ObservationDate> date = observationDate(taken, {});
  if (!date || !date->hasTime) return std::nullopt;
  date->cameraClock = true;
  if (const auto zone = tiff.text(*exifIfd, kOffsetTimeOriginal))
    if (const auto offset = offsetMinutes(*zone)) return inUtc(*date, *offset);
  return date;
}

std::optional<ObservationDate> fromJpeg(const unsigned char* bytes, std::size_t size) {
  static constexpr unsigned char kExifName[] = {'E', 'x', 'i', 'f', 0, 0};
  std::size_t at = 2;
  while (at + 4 <= size) {
    if (bytes[at] != 0xFF) return std::nullopt;
    const unsigned char marker = bytes[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      at += 2;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return std::nullopt;  // the image's data: no EXIF before it
    const std::size_t length = std::size_t{bytes[at + 2]} << 8 | bytes[at + 3];
    if (length < 2 || length > size - at - 2) return std::nullopt;
    const unsigned char* segment = bytes + at + 4;
    const std::size_t segmentSize = length - 2;
    if (marker == 0xE1 && segmentSize > sizeof kExifName &&
        std::char_traits<char>::compare(reinterpret_cast<const char*>(segment),
                                        reinterpret_cast<const char*>(kExifName), sizeof kExifName) == 0)
      return fromTiff(segment + sizeof kExifName, segmentSize - sizeof kExifName);
    at += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ObservationDate> exifDateTaken(const void* data, std::size_t size) noexcept {
  if (data == nullptr || size < 4) return std::nullopt;
  const auto* bytes = static_cast<const unsigned char*>(data);
  try {
    if (bytes[0] == 0xFF && bytes[1] == 0xD8) return fromJpeg(bytes, size);
    return fromTiff(bytes, size);
  } catch (...) {  // a string's allocation: no date rather than a failure
    return std::nullopt;
  }
}

}  // namespace kavrel::image
