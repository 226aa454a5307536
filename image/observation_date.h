// The date and time of an observation as a FITS header writes it.
//
// Given the text of DATE-OBS (or DATE_OBS) and, when the date carries no time, the text of
// the first of TIME-OBS, TIME_OBS, UT, UTC present. Forms read:
//   "2001-12-06T09:05:30.5"  full ISO date-time (a trailing "Z" allowed)
//   "2001-12-06"             ISO date alone, the time then from the time keyword
//   "06/12/01"               the old dd/mm/yy form, years 1900 to 1999 only
//   "09:05:30.5", "09:05"    the time keyword (hours, minutes, seconds of UT)
// Every field is checked against the calendar (Gregorian days per month, hour 0..23,
// minute 0..59, second 0 to below 61 for a leap second). A date that cannot be read gives
// nothing; a time that cannot be read leaves the date without its time.
//
// T_OBS, the mid-exposure instant of an observatory's file, in its two forms
// "2010.10.15_23:01:00.000_TAI" and "2010-10-15T23:01:00.000", the scale after "_" (TAI,
// TT or UTC; none is UTC), is turned into UTC through ERFA's leap seconds (37 s since 2017).
#pragma once

#include <optional>
#include <string_view>

namespace kavrel::image {

struct ObservationDate {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
  bool hasTime = false;
  int hour = 0;
  int minute = 0;
  double second = 0;  // with its fraction
  // Read from a camera's own clock (EXIF), not from an observatory's: often minutes off.
  bool cameraClock = false;
};

// Said beside a date read from a camera's clock.
inline constexpr std::string_view kCameraClockNote = "horloge de l'appareil";

[[nodiscard]] std::optional<ObservationDate> observationDate(std::string_view dateText,
                                                             std::string_view timeText);

// T_OBS as UTC, always with its time; none when it cannot be read.
[[nodiscard]] std::optional<ObservationDate> observationDateOfTobs(std::string_view text);

}  // namespace kavrel::image
