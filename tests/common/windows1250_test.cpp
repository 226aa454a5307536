// Windows-1250 to and from UTF-8: the letters of the networks' names, both ways.
#include "common/windows1250.h"

#include <gtest/gtest.h>

#include <string>

namespace kavrel {
namespace {

TEST(Windows1250, NamesBothWays) {
  const struct {
    const char* bytes;
    const char* text;
  } cases[] = {
      {"JURA\x8A" "EK", "JURAŠEK"},
      {"\xA3\xF3" "d\x9F", "Łódź"},
      {"\xA5\xB9\xCA\xEA\x8C\x9C\xAF\xBF\xC6\xE6\xD1\xF1", "ĄąĘęŚśŻżĆćŃń"},
      {"\xC8\xE8\xD8\xF8\xD9\xF9\xBC\xBE\xC5\xE5\xD5\xFB", "ČčŘřŮůĽľĹĺŐű"},
      {"\x80 \x96 \x84\x93 \xB0", "€ – „“ °"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(utf8FromWindows1250(c.bytes), c.text) << c.text;
    EXPECT_EQ(windows1250FromUtf8(c.text), c.bytes) << c.text;
  }
}

TEST(Windows1250, EveryDefinedByteComesBack) {
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    const std::string text = utf8FromWindows1250(one);
    const bool undefined = byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
    EXPECT_EQ(text == "\xEF\xBF\xBD", undefined) << byte;
    if (!undefined) {
      EXPECT_EQ(windows1250FromUtf8(text), one) << byte;
    }
  }
}

TEST(Windows1250, WhatItCannotWriteIsAQuestionMark) {
  EXPECT_EQ(windows1250FromUtf8("日 \xFF é"), "? ? \xE9");
}

}  // namespace
}  // namespace kavrel
