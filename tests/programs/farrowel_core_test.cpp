#include "calculators/julian_day_text.h"

#include <gtest/gtest.h>

#include <string>

#include "reference_table.h"

namespace kavrel::farrowel {
namespace {

// The French label; the English one is the same with "." for ",".
std::string withPoint(std::string text) {
  for (char& c : text)
    if (c == ',') c = '.';
  return text;
}

TEST(JulianDayText, WorkedDatesInBothSeparators) {
  const struct {
    DateTexts fields;
    const char* shown;
  } cases[] = {
      {{"1", "1", "2000", "12", "0"}, "2451545,000"},
      {{"15", "10", "1582", "0", "0"}, "2299160,500"},
      {{"15", "10", "1582", "11", "59"}, "2299160,999"},
      {{"4", "10", "1582", "0", "0"}, "2299159,500"},
      {{"10", "10", "1582", "0", "0"}, "2299165,500"},
      {{"27", "1", "333", "12", "0"}, "1842713,000"},
      {{"4", "10", "1957", "19", "26"}, "2436116,310"},
      {{"1", "1", "-4712", "12", "0"}, "0,000"},
      {{"1", "1", "0", "0", "0"}, "1721057,500"},
      {{"1", "1", "-", "0", "0"}, "1721057,500"},
      {{"1", "1", "-0", "0", "0"}, "1721057,500"},
      {{"31", "2", "2001", "0", "0"}, "2451971,500"},
      {{"3", "3", "2001", "0", "0"}, "2451971,500"},
      {{"6", "12", "2001", "9", "5"}, "2452249,878"},
      {{"05", "01", "2000", "5h", "0"}, "2451548,708"},  // texts the number-read checks accept
      {{"", "1", "2000", "12", "0"}, "#############"},
      {{"1", "1", "2000", "12", ""}, "#############"},
      {{"1", "", "", "", ""}, "#############"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.fields.day << "/" << c.fields.month << "/" << c.fields.year << " "
                                    << c.fields.hour << ":" << c.fields.minute);
    EXPECT_EQ(julianDayText(c.fields, ","), c.shown);
    EXPECT_EQ(julianDayText(c.fields, "."), withPoint(c.shown));
  }
}

TEST(JulianDayText, AgreesWithTheReferenceTable) {
  for (const reference::Row& row : reference::table("julian_day.csv")) {
    SCOPED_TRACE(row.where());
    const DateTexts fields{row.text("day"), row.text("month"), row.text("year"), row.text("hour"),
                           row.text("minute")};
    EXPECT_EQ(julianDayText(fields, ","), row.text("shown"));
  }
}

}  // namespace
}  // namespace kavrel::farrowel
