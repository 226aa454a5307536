// Dates and times of day written and read back.
#include "common/date_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kavrel {
namespace {

TEST(DateAndTimeText, WrittenAndReadBack) {
  const struct {
    const char* name;
    YearMonthDay date;
    const char* iso;
    const char* french;
  } cases[] = {
      {"a day of the journal", {2014, 2, 3}, "2014-02-03", "3 février 2014"},
      {"the first of a month", {2014, 3, 1}, "2014-03-01", "1er mars 2014"},
      {"a leap day", {2000, 2, 29}, "2000-02-29", "29 février 2000"},
      {"before year 1000", {999, 12, 31}, "0999-12-31", "31 décembre 999"},
      {"year 0", {0, 1, 1}, "0000-01-01", "1er janvier 0"},
      {"the last day written on four digits", {9999, 12, 31}, "9999-12-31", "31 décembre 9999"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(isoDate(c.date.year, c.date.month, c.date.day), c.iso);
    EXPECT_EQ(frenchLongDate(c.date.year, c.date.month, c.date.day), c.french);
    const std::optional<YearMonthDay> read = readIsoDate(c.iso);
    ASSERT_TRUE(read);
    EXPECT_EQ(isoDate(read->year, read->month, read->day), c.iso);
  }
  // Before year 0 the sign stands before four digits; such a date is not read back.
  EXPECT_EQ(isoDate(-44, 3, 15), "-0044-03-15");
  EXPECT_EQ(isoDate(-9223372036854775807LL - 1, 1, 1), "-9223372036854775808-01-01");
  EXPECT_FALSE(readIsoDate("-0044-03-15"));
}

TEST(DateAndTimeText, StoredTextOfAnotherLayoutIsNotADate) {
  for (const char* text : {"2014-2-03", "2014/02/03", "2014-02-3 ", "20140-2-03", "2O14-02-03", "", "2014-02-03T"})
    EXPECT_FALSE(readIsoDate(text)) << "[" << text << "]";
}

TEST(DateAndTimeText, TimesWrittenAndReadBack) {
  const struct {
    int hour, minute;
    const char* text;
  } cases[] = {{0, 0, "00:00"}, {9, 5, "09:05"}, {23, 59, "23:59"}, {12, 30, "12:30"}};
  for (const auto& c : cases) {
    EXPECT_EQ(hourMinute(c.hour, c.minute), c.text);
    const std::optional<HourMinute> read = readHourMinute(c.text);
    ASSERT_TRUE(read) << c.text;
    EXPECT_EQ(read->hour, c.hour);
    EXPECT_EQ(read->minute, c.minute);
  }
  EXPECT_EQ(hourMinuteSecond(23, 59, 59), "23:59:59");
  for (const char* text : {"9:05", "09:5", "09h05", "09:05:00", "", "ab:cd"})
    EXPECT_FALSE(readHourMinute(text)) << "[" << text << "]";
}

}  // namespace
}  // namespace kavrel
