// Sunspot groups listed by others, read from their files and kept apart from the
// observer's own:
// - "greenwich": the yearly files gYYYY.txt of the Royal Greenwich Observatory and of
//   USAF/NOAA, one fixed-column line per group and day (date and time as a fraction of the
//   day, group number, areas, distance and position angle, Carrington longitude, latitude,
//   central-meridian distance); old files end their lines with CR CR LF;
// - "srs": NOAA's daily Solar Region Summaries, section I (region, location N06W02,
//   Carrington longitude, area in MSH, McIntosh class, extent, spots, magnetic type); the
//   report of a UT day describes the day before at 24:00 UT; files before October 2000 are
//   in capitals.
// A malformed line refuses the file with its line number; a file of another kind is
// refused at line 1.
//
// NOAA's regions are numbered past 9999 since June 2002, but an SRS writes four digits:
// from then on a number below 9000 is read 10000 further (SRS 2246 is region 12246, as the
// gYYYY.txt files write it). In a Greenwich line the group number is columns 13-20 alone.
//
// A year's summary counts a group once however many days it was seen (a group being its
// source and number within the year), in the hemisphere of the sign of its mean latitude
// (0 counted north, as on the day's counts); its latitude is the mean over the groups of
// the absolute value of each group's mean latitude. The day's counts give g from the
// records, f and R only where the source counts spots (an SRS does, Greenwich does not);
// a day without groups has f = 0 whatever the source.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

enum class GroupSource { Greenwich, Srs };

struct GroupRecord {
  GroupSource source = GroupSource::Greenwich;
  Day date;                 // the day it describes (an SRS report's previous day)
  double dayFraction = 0;   // UT fraction of the day (1.0 for an SRS's 24:00)
  int group = 0;            // Greenwich group number or NOAA region
  double latitude = 0;      // degrees, south negative
  std::optional<double> longitude;                // Carrington, degrees
  std::optional<double> centralMeridianDistance;  // degrees, east negative
  std::optional<double> areaMsh;                  // corrected whole-spot area
  std::optional<int> spots;
  std::string classification;  // McIntosh (SRS) or the group type
};

struct GroupFile {
  std::vector<GroupRecord> records;
  // The days the file covers: its first and last (an SRS's one day, even without
  // regions), which a re-import replaces.
  Day firstDay;
  Day lastDay;
  int line = 0;       // of the refusal
  std::string error;  // "Latitude (colonnes 64-68) : « 1x.5 » n'est pas un nombre."
};

// The kind is told from the text (an SRS has its ":Product:" heading and section I).
[[nodiscard]] GroupFile parseGroupFile(std::string_view text);

// "greenwich", "srs"; none for another name.
[[nodiscard]] std::optional<GroupSource> groupSourceNamed(std::string_view name) noexcept;
[[nodiscard]] std::string_view groupSourceName(GroupSource source) noexcept;

struct HemisphereGroups {
  int groups = 0;
  std::optional<double> meanLatitude;  // degrees, unsigned; none without groups
};
struct GroupYear {
  int groups = 0;
  HemisphereGroups north;
  HemisphereGroups south;
};
// The records of one year (of any sources, any order): a group counted once however many
// days it was seen, by its NOAA region number from 1977 (whichever source lists it), by
// Greenwich's own number before; its hemisphere the sign of its mean latitude.
[[nodiscard]] GroupYear groupYear(const std::vector<GroupRecord>& records);
// "Groupes : 512", "Nord : 240 groupes, latitude moyenne 17,42°", "Sud : …".
[[nodiscard]] std::vector<std::string> groupYearLines(const GroupYear& year, std::string_view decimalSeparator);

// The day's counts of one source's records: g north, south and disc, and the spots where
// the source gives them.
struct GroupDay {
  Counts north;  // spots 0 when not counted
  Counts south;
  bool spotsCounted = false;
  [[nodiscard]] Counts disc() const noexcept {
    return {north.groups + south.groups, north.spots + south.spots};
  }
};
// `records`: one source's, of one day.
[[nodiscard]] GroupDay groupDay(const std::vector<GroupRecord>& records);
// The day as `kavrel journal mois` lays out the observer's: headings, then one line with
// g, f and R north, south and of the disc ("–" for f and R when the source counts no spots).
[[nodiscard]] std::vector<std::string> groupDayLines(Day day, GroupSource source, const GroupDay& counts);

}  // namespace kavrel::journal
