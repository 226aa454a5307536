// Dates and times of day as the suite writes them and reads them back: the ISO date
// "2014-02-03" (the journal's tables, its CSV, the spots' CSV), the time "09:05" of UT,
// the French long date "3 février 2014" ("1er" for the first of a month) of messages.
// Proleptic calendar fields as given: nothing here checks that a day exists.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavrel {

struct YearMonthDay {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

struct HourMinute {
  int hour = 0;
  int minute = 0;
};

// "2014-02-03": the year on four digits at least ("0999", "-0044" before year 0), month
// and day on two. Text that sorts as the dates do, for years 0 to 9999.
[[nodiscard]] std::string isoDate(long long year, int month, int day);

// "09:05": hour and minute on two digits each; "09:05:30" with whole seconds.
[[nodiscard]] std::string hourMinute(int hour, int minute);
[[nodiscard]] std::string hourMinuteSecond(int hour, int minute, int second);

// "3 février 2014", "1er février 2014".
[[nodiscard]] std::string frenchLongDate(int year, int month, int day);

// A date stored as isoDate writes it for years 0 to 9999: exactly "YYYY-MM-DD", digits
// where digits stand; none otherwise (nothing checks the calendar).
[[nodiscard]] std::optional<YearMonthDay> readIsoDate(std::string_view text) noexcept;

// A time stored as hourMinute writes it: exactly "hh:mm"; none otherwise.
[[nodiscard]] std::optional<HourMinute> readHourMinute(std::string_view text) noexcept;

}  // namespace kavrel
