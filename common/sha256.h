// SHA-256 (FIPS 180-4) of bytes, as 64 lower-case hexadecimal digits: the fingerprint by
// which a network's base knows a file it imported before. Linear in the bytes' length.
#pragma once

#include <string>
#include <string_view>

namespace kavrel {

[[nodiscard]] std::string sha256Hex(std::string_view bytes);

}  // namespace kavrel
