// What an observer's log holds: observers, observations with their counts, and the groups
// of an observation. Plain values, without Qt or SQLite; journal.h keeps them in a file.
//
// The counts are those of the relative number: g groups and f spots, R = 10 g + f, either
// north and south (whose sums are the whole disc) or for the whole disc alone when the
// observer did not split them. Seeing is on the ISES scale, 1 to 5, 5 the best; the
// letters E G F P of other networks map onto 5 4 3 2. Dates are Gregorian, times UT to
// the minute. Nothing here checks values: checks.h does.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavrel::journal {

// Why a change of the journal was not made: what was given is refused (a check, a code
// already taken, an observation another program removed), or the file was not written (a
// full disk, a journal read only or let go, another program holding it).
enum class Failure { Refused, NotWritten };

using Id = std::int64_t;

struct Day {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  auto operator<=>(const Day&) const = default;
};

struct TimeOfDay {
  int hour = 0;    // 0..23, UT
  int minute = 0;  // 0..59
  auto operator<=>(const TimeOfDay&) const = default;
};

struct Counts {
  int groups = 0;  // g
  int spots = 0;   // f
  bool operator==(const Counts&) const = default;
};

// The largest count of groups or spots kept: the checks refuse more, so that R = 10 g + f
// and the sums of the hemispheres stay within an int.
inline constexpr int kMostCount = 999'999;

[[nodiscard]] constexpr int relativeNumber(Counts counts) noexcept { return 10 * counts.groups + counts.spots; }

enum class Method { Unknown, Projection, FilterView, Photograph };

struct Observer {
  Id id = 0;
  std::string code;  // short, unique in the journal: a network's observer code
  std::string name;  // the code itself until the user gives one
  std::optional<int> apertureMm;
  std::optional<int> focalLengthMm;
  Method method = Method::Unknown;
  // The k the user chose for this observer (R_international ≈ k · R), which the month's
  // sheet, the pictures and the suite's CSV apply; none: R as counted.
  std::optional<double> chosenK;
};

// The counts of one observation: north and south, the disc being their sum, or the
// disc alone.
struct Tally {
  std::optional<Counts> north;  // both or neither
  std::optional<Counts> south;
  Counts disc;

  [[nodiscard]] bool split() const noexcept { return north.has_value() && south.has_value(); }
  // North and south, with the disc their sum.
  [[nodiscard]] static Tally of(Counts northCounts, Counts southCounts) noexcept {
    return {northCounts, southCounts, {northCounts.groups + southCounts.groups, northCounts.spots + southCounts.spots}};
  }
  [[nodiscard]] static Tally wholeDisc(Counts discCounts) noexcept { return {std::nullopt, std::nullopt, discCounts}; }
};

struct Observation {
  Id id = 0;  // 0 until stored
  Day date;
  TimeOfDay time;
  Id observerId = 0;
  std::optional<int> seeing;        // 1..5, 5 the best
  std::optional<int> transparency;  // 1..5, 5 the best
  std::string remarks;
  Tally counts;
  bool chosenForDay = false;  // the user's choice among the day's observations
};

// A day of the log without an observation: an observer's day of clouds, rain or wind,
// kept with its remark (the weather, "C", "R", "C-R"…) and the time the observer looked
// when one is given. A day is either observed or not, for each observer.
struct UnobservedDay {
  Id id = 0;  // 0 until stored
  Day date;
  Id observerId = 0;
  std::optional<TimeOfDay> time;
  std::string remarks;
};

enum class Hemisphere { North, South };
enum class GroupOrigin { Typed, Drawing, Photograph };

struct Group {
  Id id = 0;
  Id observationId = 0;
  int number = 0;  // the observer's own numbering
  std::optional<int> noaaRegion;
  Hemisphere hemisphere = Hemisphere::North;
  std::optional<double> latitude;                 // B, degrees
  std::optional<double> longitude;                // Carrington L, degrees 0..360
  std::optional<double> centralMeridianDistance;  // degrees, east negative
  std::optional<char> zurichClass;                // 'A'..'J'
  std::string mcintoshClass;                      // "Dkc", or empty
  int spots = 0;
  std::optional<double> areaMsh;  // millionths of the solar hemisphere
  GroupOrigin origin = GroupOrigin::Typed;
};

// "3 février 2014", "1er mars 2014": a day as the messages and captions name it.
[[nodiscard]] std::string dayText(Day day);

// E 5, G 4, F 3, P 2 (either case); none for another letter.
[[nodiscard]] std::optional<int> seeingOfLetter(char letter) noexcept;
// 5 'E', 4 'G', 3 'F', 2 and 1 'P'.
[[nodiscard]] char letterOfSeeing(int seeing) noexcept;

}  // namespace kavrel::journal
