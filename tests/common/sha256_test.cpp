// SHA-256 against the digests of FIPS 180-4's examples and of messages whose padding
// needs one block or spills into a second (55, 56 and 64 bytes).
#include "common/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Digest {
  std::string message;
  const char* hex;
};

TEST(Sha256, DigestsOfKnownMessages) {
  const Digest cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {std::string(55, 'x'), "d5e285683cd4efc02d021a5c62014694958901005d6f71e89e0989fac77e4072"},
      {std::string(56, 'x'), "04c26261370ee7541549d16dee320c723e3fd14671e66a099afe0a377c16888e"},
      {std::string(64, 'y'), "ffbf30ab94107b2c14d75cfb455ec94f200400ddc5ce304e0c21894090db055f"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const Digest& d : cases) EXPECT_EQ(kavrel::sha256Hex(d.message), d.hex) << d.message.size() << " bytes";
}

}  // namespace
