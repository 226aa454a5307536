#include "common/strict_number.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kavrel {
namespace {

TEST(StrictNumber, ConvertsOnlyAWholeNumberOfTheLocale) {
  const struct {
    const char* text;
    const char* separator;
    std::optional<double> expected;
  } cases[] = {
      {"2000", ",", 2000},     {"  2000 ", ",", 2000},   {"-1950", ",", -1950},   {"+1950", ".", 1950},
      {"1950,5", ",", 1950.5}, {"1950.5", ".", 1950.5},  {"1950.", ".", 1950},    {",5", ",", 0.5},
      {"1950.5", ",", {}},     {"1950,5", ".", {}},      {"1 950", ",", {}},      {"1,950,5", ",", {}},
      {"", ",", {}},           {"   ", ",", {}},         {"-", ",", {}},          {",", ",", {}},
      {"inf", ".", {}},        {"nan", ".", {}},         {"1e3", ".", {}},        {"0x10", ".", {}},
      {"20a0", ".", {}},       {"--5", ".", {}},         {"5-", ".", {}},         {"\t2000", ".", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "[" << c.text << "] with [" << c.separator << "]");
    EXPECT_EQ(parseStrictNumber(c.text, c.separator), c.expected);
  }
}

TEST(StrictNumber, RefusesWhatOverflowsAndReadsTinyAsZero) {
  EXPECT_EQ(parseStrictNumber(std::string(400, '9'), ","), std::nullopt);
  EXPECT_EQ(parseStrictNumber("0," + std::string(400, '0') + "1", ","), 0.0);
}

}  // namespace
}  // namespace kavrel
