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
// A malformed line refuses the file with its line number.
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
  int line = 0;
  std::string error;
};

// The kind is told from the text (an SRS has its ":Product:" heading and section I).
[[nodiscard]] GroupFile parseGroupFile(std::string_view text);

// "greenwich", "srs"; none for another name.
[[nodiscard]] std::optional<GroupSource> groupSourceNamed(std::string_view name) noexcept;

}  // namespace kavrel::journal
