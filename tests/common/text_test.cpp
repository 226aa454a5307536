// The small texts of every reader: blanks cut, digits, a field quoted in a message, a
// decimal number with either mark.
#include "common/text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kavrel {
namespace {

TEST(Text, TrimmedCutsOnlyTheBlanksGiven) {
  const struct {
    const char* text;
    std::string_view blanks;
    const char* expected;
  } cases[] = {
      {" \t12 \t", kSpaceAndTab, "12"},     {"1 2", kSpaceAndTab, "1 2"},       {" \t ", kSpaceAndTab, ""},
      {"", kSpaceAndTab, ""},               {"12\r", kSpaceAndTab, "12\r"},     {"\n12\r\n", kWhiteSpace, "12"},
      {"\v\f a b \r", kWhiteSpace, "a b"},  {" 12\r \t", " \t\r", "12"},         {"é ", kSpaceAndTab, "é"},
  };
  for (const auto& c : cases) EXPECT_EQ(trimmed(c.text, c.blanks), c.expected) << "[" << c.text << "]";
}

TEST(Text, AllDigitsOnlyForAsciiDigits) {
  const struct {
    const char* text;
    bool digits;
  } cases[] = {{"0", true}, {"2014", true}, {"", false}, {"-1", false}, {"1 2", false}, {"1.5", false},
               {"١٢", false}, {"12a", false}};
  for (const auto& c : cases) EXPECT_EQ(allDigits(c.text), c.digits) << "[" << c.text << "]";
}

TEST(Text, QuotedStaysPrintableUtf8AndShort) {
  const struct {
    std::string text;
    int most;
    const char* expected;
  } cases[] = {
      {"09h05", 24, "« 09h05 »"},
      {"", 24, "«  »"},
      {"Eté", 24, "« Eté »"},
      {"a\tb\x7F", 24, "« a?b? »"},
      {"\xFF\xC3", 24, "« ?? »"},                      // not UTF-8, and a sequence cut short
      {"\xED\xA0\x80", 24, "« ??? »"},                 // a surrogate
      {"abcdefghijklmnopqrstuvwxyz", 24, "« abcdefghijklmnopqrstuvwx… »"},
      {"ééé", 2, "« éé… »"},                           // characters counted, not bytes
  };
  for (const auto& c : cases) EXPECT_EQ(quoted(c.text, c.most), c.expected) << "[" << c.text << "]";
}

TEST(Text, DecimalNumberTakesTheLocalesMarkOrAPoint) {
  const struct {
    const char* text;
    const char* separator;
    std::optional<double> expected;
  } cases[] = {
      {"12,5", ",", 12.5}, {"12.5", ",", 12.5}, {" -0,25 ", ",", -0.25}, {"12.5", ".", 12.5},
      {"12,5", ".", {}},   {"1,2.5", ",", {}},  {"1e3", ",", {}},        {"inf", ".", {}},
      {"", ",", {}},       {"1 000", ",", {}},  {"12٫5", "٫", 12.5},     {"12.5", "٫", 12.5},
  };
  for (const auto& c : cases) EXPECT_EQ(decimalNumber(c.text, c.separator), c.expected) << "[" << c.text << "]";
}

}  // namespace
}  // namespace kavrel
