#include "common/number_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavrel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumberReader, ReadsTheLongestLeadingNumber) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"", 0},          {"abc", 0},        {"-", 0},         {".", 0},
      {"5", 5},         {"05", 5},         {" 5", 5},        {"5h", 5},
      {"1 2", 12},      {"\t7\n", 7},      {"- 5", -5},      {"+3", 3},
      {"-4712", -4712}, {"1,5", 1},        {"1.5", 1.5},     {".5", 0.5},
      {"-.5", -0.5},    {"2451545.", 2451545}, {"1.2.3", 1.2}, {"24a5", 24},
      {"1e3", 1000},    {"1E3", 1000},     {"1D2", 100},     {"1d-2", 0.01},
      {"2e", 2},        {"2e+", 2},        {"2ex", 2},       {"0.1e1", 1},
      {"1e 3", 1000},   {"--5", 0},        {"+-5", 0},       {"0e99999", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(readNumber(c.text), c.expected);
  }
}

TEST(NumberReader, BeyondTheDoubleRangeGivesInfinityOrZero) {
  EXPECT_EQ(readNumber("1e400"), kInf);
  EXPECT_EQ(readNumber("-1e400"), -kInf);
  EXPECT_EQ(readNumber("1e99999999999999999999"), kInf);
  EXPECT_EQ(readNumber(std::string(400, '9')), kInf);
  EXPECT_EQ(readNumber("0.0001e-400"), 0);
  EXPECT_EQ(readNumber("1e-400"), 0);
  EXPECT_TRUE(std::signbit(readNumber("-1e-400")));
  EXPECT_EQ(readNumber("1e308"), 1e308);
}

}  // namespace
}  // namespace kavrel
