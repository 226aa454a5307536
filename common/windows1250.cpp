// Windows-1250 to and from UTF-8 through one table of the code page's upper half.
#include "common/windows1250.h"

#include <array>

#include "common/text.h"

namespace kavrel {
namespace {

// The code point of each byte 0x80..0xFF; 0 where the code page defines none.
constexpr std::array<char32_t, 128> kUpperHalf = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};

constexpr char32_t kReplacement = 0xFFFD;

// A code point below U+10000 (all the table holds) as UTF-8.
void appendUtf8(std::string& text, char32_t point) {
  if (point < 0x80) {
    text += static_cast<char>(point);
  } else if (point < 0x800) {
    text += static_cast<char>(0xC0 | (point >> 6));
    text += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (point >> 12));
    text += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (point & 0x3F));
  }
}

// The code point of one valid UTF-8 sequence.
char32_t codePoint(std::string_view sequence) {
  const auto lead = static_cast<unsigned char>(sequence.front());
  char32_t point = sequence.size() == 1 ? lead : lead & (0x7F >> sequence.size());
  for (std::size_t k = 1; k < sequence.size(); ++k) point = (point << 6) | (static_cast<unsigned char>(sequence[k]) & 0x3F);
  return point;
}

char byteOf(char32_t point) {
  for (std::size_t i = 0; i < kUpperHalf.size(); ++i)
    if (kUpperHalf[i] == point) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

std::string utf8FromWindows1250(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 4);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      const char32_t point = kUpperHalf[byte - 0x80];
      appendUtf8(text, point == 0 ? kReplacement : point);
    }
  }
  return text;
}

std::string windows1250FromUtf8(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = utf8Length(text.substr(i));
    if (length == 0) {
      bytes += '?';
      ++i;
      continue;
    }
    const char32_t point = codePoint(text.substr(i, length));
    bytes += point < 0x80 ? static_cast<char>(point) : byteOf(point);
    i += length;
  }
  return bytes;
}

}  // namespace kavrel
