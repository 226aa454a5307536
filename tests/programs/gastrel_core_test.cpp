#include "calculators/date_of_julian_day.h"

#include <gtest/gtest.h>

#include <string>

#include "reference_table.h"

namespace kavrel::gastrel {
namespace {

TEST(DateText, WorkedJulianDaysInBothSeparators) {
  const struct {
    const char* typed;
    const char* french;
    const char* english;
  } cases[] = {
      {"2451545", "Le 01,500  janvier  2000", "Le 01.500  janvier  2000"},
      {"2451545.5", "Le 02,000  janvier  2000", "Le 02.000  janvier  2000"},
      {"2299160.5", "Le 15,000  octobre  1582", "Le 15.000  octobre  1582"},
      {"2299160", "Le 04,500  octobre  1582", "Le 04.500  octobre  1582"},
      {"2436116.31", "Le 04,810  octobre  1957", "Le 04.810  octobre  1957"},
      {"1842713", "Le 27,500  janvier  333", "Le 27.500  janvier  333"},
      {"0", "Le 01,500  janvier  -4712", "Le 01.500  janvier  -4712"},
      {"2451544.4999", "Le 32,000  décembre  1999", "Le 32.000  décembre  1999"},  // the month is not carried
      {"", "Le 01,500  janvier  -4712", "Le 01.500  janvier  -4712"},
      {" -5", "Le 27,500  décembre  -4713", "Le 27.500  décembre  -4713"},
      {"2451545,5", "Le 01,500  janvier  2000", "Le 01.500  janvier  2000"},        // pasted: the comma ends it
      {"2451545.", "Le 01,500  janvier  2000", "Le 01.500  janvier  2000"},
      {"0.5", "Le 02,000  janvier  -4712", "Le 02.000  janvier  -4712"},
      {"2451575", "Le 31,500  janvier  2000", "Le 31.500  janvier  2000"},
      {"2451604.5", "Le 01,000  mars  2000", "Le 01.000  mars  2000"},
      {"2451769.5", "Le 13,000  août  2000", "Le 13.000  août  2000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(dateText(c.typed, ","), c.french);
    EXPECT_EQ(dateText(c.typed, "."), c.english);
  }
}

TEST(DateText, AgreesWithTheReferenceTable) {
  for (const reference::Row& row : reference::table("calendar_date.csv")) {
    SCOPED_TRACE(row.where());
    EXPECT_EQ(dateText(row.text("typed"), ","), row.text("shown"));
  }
}

TEST(CheckJulianDayText, OnlyTheEndsAndThePointsAreChecked) {
  const struct {
    const char* text;
    Refusal expected;
  } cases[] = {
      {"", Refusal::None},          {"2451545", Refusal::None},   {"2451545.", Refusal::None},
      {"0.5", Refusal::None},       {" -5", Refusal::None},       {"24a5", Refusal::None},
      {"2451545,5", Refusal::None}, {"1e5", Refusal::None},       {"-", Refusal::Negative},
      {"-5", Refusal::Negative},    {".5", Refusal::Number},      {".", Refusal::Number},
      {"2451545,", Refusal::Number}, {"2451545a", Refusal::Number}, {"12/", Refusal::Number},
      {"1.2.3", Refusal::Number},   {"1..", Refusal::Number},     {"2451545 ", Refusal::Number},
      {"1e400", Refusal::Number},   {"9e307", Refusal::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(checkJulianDayText(c.text), c.expected);
  }
  EXPECT_EQ(checkJulianDayText(std::string(40000, '.') + "5"), Refusal::Number);
}

TEST(DateText, HugeJulianDaysAreShownWithoutFault) {
  const std::string text = dateText("9e307", ",");
  EXPECT_EQ(text.rfind("Le ", 0), 0u);
  EXPECT_EQ(text.find("#"), std::string::npos);
}

}  // namespace
}  // namespace kavrel::gastrel
