// The observer's own lists of sunspot groups, read from the files observers keep, told
// apart by their header line:
// - Disque's saved spots (common/spot_columns.h): each spot row with a place is taken as
//   one group of one spot, on the day and at the time the row gives, numbered as the spot;
// - a list whose header names its columns, one row per group and observation: date,
//   time_ut (optional), latitude, then longitude (Carrington) or cmd (central-meridian
//   distance) or both, and optionally spots, area_msh, zurich, mcintosh, number, noaa; the
//   French names (heure_tu, dmc, taches, aire_msh, numero, region…) too, in any case,
//   accents optional. "," separated with the decimal point, or ";" with the decimal comma
//   (a point is read too). A row of a date and nothing else is a day observed without
//   groups;
// - the lists of an observing group headed date,no,lat,lon,num: the date written on a
//   day's first row only, the rows after it taking it; no the group's number that day, 0
//   for a day observed without spots; lat and lon (a central-meridian distance) in letters
//   (N12, S8~12, E55~63, W2) or signed. Their signed distances count east positive (the
//   groups of their consecutive days run from + to −), the opposite of the letters.
//
// Values as observers write them: signed numbers, or N/S and E/W (O for ouest) letters
// before or after the number, south and east negative; a range a~b stands for its middle
// (a Carrington longitude range taken the short way round: 348~4 is 356); a letter on one
// end of a range serves both. A row that writes its latitude or its distance with a
// letter needs one on the other too (0 needs none). Angles in degrees, areas in
// millionths of the hemisphere (MSH), times UT.
//
// Where it stops: a row refused (a latitude past 90° or "ND", a longitude out of 0..360,
// a distance past 90°, a date that is not one, a value without its letter) is listed
// with its line and its reason in French, quoting what was written, and the others are
// read; a file that is none of these lists is refused at line 1. The central-meridian
// distances are turned into Carrington longitudes by placeGroups(), with the precise
// ephemeris.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/import.h"
#include "journal/records.h"

namespace kavrel::journal {

enum class GroupListKind { DisqueSpots, NamedColumns, DayFirstRows };

// What the command says it read: "relevé de taches de Disque"…
[[nodiscard]] std::string_view groupListKindText(GroupListKind kind) noexcept;

struct ListedGroup {
  int line = 0;  // of the file, the header being line 1
  Day date;
  double dayFraction = 0.5;  // UT; the usual hour once placed when the file gives no time
  bool timeGiven = false;
  double latitude = 0;                            // degrees, south negative
  std::optional<double> longitude;                // Carrington, degrees, 0 <= L < 360
  std::optional<double> centralMeridianDistance;  // degrees, east negative
  std::optional<double> areaMsh;
  std::optional<int> spots;
  std::optional<char> zurichClass;  // 'A'..'J'
  std::string mcintoshClass;        // "Dkc", or empty
  std::optional<int> number;        // the observer's own number of the group, as written
  std::optional<int> noaaRegion;    // the region's number, where the list gives one
};

struct GroupList {
  GroupListKind kind = GroupListKind::NamedColumns;
  bool recognised = false;          // false: none of the lists (refusals holds line 1)
  std::vector<ListedGroup> groups;  // in the file's order
  // The days the file speaks of, with groups or observed without, sorted, each once: the
  // days a re-import replaces.
  std::vector<Day> days;
  std::vector<Refusal> refusals;  // in the file's order
  int spotsWithoutPlace = 0;      // Disque's spots off the disc or not placed, left out
};

// Whether `text`'s first line is the header of one of the lists (not Greenwich's nor an
// SRS, which have none).
[[nodiscard]] bool isGroupList(std::string_view text);

// `text`: the whole file.
[[nodiscard]] GroupList readGroupList(std::string_view text);

// The Carrington longitude (0 <= L < 360) of a central-meridian distance (east negative)
// at a UT instant, L = L0 + CMD with L0 of the precise ephemeris; none where it gives none.
[[nodiscard]] std::optional<double> carringtonOfDistance(Day date, double dayFraction,
                                                         double centralMeridianDistance) noexcept;

// Each group of a time not given is set at `usualDayFraction` (the observer's usual hour,
// UT), and each one without a longitude given the one of its distance at its time; a group
// the ephemeris cannot place is moved to the refusals.
void placeGroups(GroupList& list, double usualDayFraction);

}  // namespace kavrel::journal
