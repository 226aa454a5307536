// The observation date of a FITS header in the forms observers' software writes it.
#include "image/observation_date.h"

#include <gtest/gtest.h>

namespace kavrel::image {
namespace {

TEST(ObservationDate, ReadsTheFormsOfDateObs) {
  struct Row {
    const char* date;
    const char* time;
    bool read;
    ObservationDate expected;
  };
  const Row rows[] = {
      {"2001-12-06T09:05:30.5", "", true, {2001, 12, 6, true, 9, 5, 30.5}},
      {"2001-12-06T09:05:30Z", "", true, {2001, 12, 6, true, 9, 5, 30}},
      {" 2001-12-06 ", "09:05:30.25", true, {2001, 12, 6, true, 9, 5, 30.25}},
      {"2001-12-06", "09:05", true, {2001, 12, 6, true, 9, 5, 0}},
      {"2001-12-06", "", true, {2001, 12, 6, false, 0, 0, 0}},
      // The time written in the date wins over the time keyword.
      {"2001-12-06T09:05:30", "23:59:59", true, {2001, 12, 6, true, 9, 5, 30}},
      {"06/12/01", "09:05:30", true, {1901, 12, 6, true, 9, 5, 30}},
      {"31/12/99", "", true, {1999, 12, 31, false, 0, 0, 0}},
      {"2016-12-31T23:59:60.5", "", true, {2016, 12, 31, true, 23, 59, 60.5}},
      {"2000-02-29", "", true, {2000, 2, 29, false, 0, 0, 0}},
      // An unreadable time keeps the date.
      {"2001-12-06", "9.0925", true, {2001, 12, 6, false, 0, 0, 0}},
      {"2001-12-06", "24:00:00", true, {2001, 12, 6, false, 0, 0, 0}},
      {"1900-02-29", "", false, {}},
      {"2001-13-01", "", false, {}},
      {"2001-12-06T25:00:00", "", false, {}},
      {"2001-12-06T09:05:30.", "", false, {}},
      {"32/01/01", "", false, {}},
      {"2001/12/06", "", false, {}},
      {"", "09:05:30", false, {}},
      {"décembre", "", false, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.date) + " | " + row.time);
    const auto date = observationDate(row.date, row.time);
    ASSERT_EQ(date.has_value(), row.read);
    if (!date) continue;
    EXPECT_EQ(date->year, row.expected.year);
    EXPECT_EQ(date->month, row.expected.month);
    EXPECT_EQ(date->day, row.expected.day);
    EXPECT_EQ(date->hasTime, row.expected.hasTime);
    EXPECT_EQ(date->hour, row.expected.hour);
    EXPECT_EQ(date->minute, row.expected.minute);
    EXPECT_DOUBLE_EQ(date->second, row.expected.second);
  }
}

}  // namespace
}  // namespace kavrel::image
