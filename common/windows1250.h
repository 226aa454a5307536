// Windows-1250, the code page of the Czech, Slovak and Polish networks' programs, to and
// from UTF-8. Bytes 0x00..0x7F are ASCII in both; each byte 0x80..0xFF stands for one
// character of Central European scripts and signs (Š 0x8A, Ł 0xA3, ř 0xF8, – 0x96).
// The five bytes the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) read as
// U+FFFD; a character the code page lacks, or a byte that is not UTF-8, writes "?".
#pragma once

#include <string>
#include <string_view>

namespace kavrel {

[[nodiscard]] std::string utf8FromWindows1250(std::string_view bytes);
[[nodiscard]] std::string windows1250FromUtf8(std::string_view text);

}  // namespace kavrel
