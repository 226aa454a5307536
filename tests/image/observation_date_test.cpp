// The observation date of a FITS header in the forms observers' software writes it.
#include "image/observation_date.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

// T_OBS in the forms observatories write it, TAI and TT brought to UTC.
TEST(ObservationDate, ReadsTObsInUtc) {
  struct Row {
    const char* text;
    const char* expected;  // "" for none
  };
  const Row rows[] = {
      {"2010.10.15_23:01:00.000_TAI", "2010-10-15 23:00:26.000"},  // TAI - UTC = 34 s
      {"2014.03.01_00:01:25_TAI", "2014-03-01 00:00:50.000"},
      {"2017-01-01T00:00:36.5_TAI", "2016-12-31 23:59:60.500"},  // in the leap second
      {"2020-06-01T12:00:00_TT", "2020-06-01 11:58:50.816"},
      {"2020-06-01T12:00:00Z", "2020-06-01 12:00:00.000"},
      {"2020.06.01_12:00:00_UTC", "2020-06-01 12:00:00.000"},
      {"2020.06.01_12:00:00_GPS", ""},
      {"2020.06.01", ""},
      {"2020.13.01_12:00:00_TAI", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const auto date = observationDateOfTobs(row.text);
    std::string shown;
    if (date) {
      char text[64];
      std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%06.3f", date->year, date->month, date->day,
                    date->hour, date->minute, date->second);
      shown = text;
    }
    EXPECT_EQ(shown, row.expected);
  }
}

}  // namespace
}  // namespace kavrel::image
