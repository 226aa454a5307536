// The regions of a month as the Journal window's tab "Régions" shows them: the days read
// (the month, widened by half a rotation's worth of days each side so that a region
// crossing the month's edges is followed whole and a return is told), the regions of one
// source seen in the month, numbered, for the observer's own, from the NOAA or Greenwich
// records of the same days, the table's cells for them and, for one region, its days; and
// the Carrington rotation under way in the middle of the month, whose map the tab draws.
// Angles in degrees (latitude south negative, Carrington longitude 0..360), areas in
// millionths of the solar hemisphere. Texts in French with the user's decimal separator.
// No Qt. Where it stops: it follows and numbers through journal/regions.h, and reads the
// journal through Journal::sightings; it draws nothing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "journal/journal.h"
#include "journal/read.h"
#include "journal/regions.h"

namespace kavrel::journal {

// Days read before and after the month.
inline constexpr int kRegionMarginDays = 14;

struct RegionSpan {
  Day first;      // the month's first day
  Day last;       // and its last
  Day readFirst;  // first - kRegionMarginDays
  Day readLast;   // last + kRegionMarginDays
};
// None for a month outside 1..12.
[[nodiscard]] std::optional<RegionSpan> monthRegionSpan(int year, int month);

// The Carrington rotation under way at noon UT on the month's 15th; none where the
// ephemeris gives none.
[[nodiscard]] std::optional<int> monthRotation(int year, int month);

struct RegionMonth {
  RegionSpan span;
  RegionSource source = RegionSource::Observer;
  std::vector<Sighting> sightings;  // the source's, over the days read
  std::vector<Region> regions;      // those seen in the month, by first day
  // How the regions have their numbers: "Numéros : …", a French line.
  std::string numbering;
};

// The regions of `source` in `span` from its `sightings`; the observer's own are numbered
// from `noaa` (the SRS's records of the days read) or, without any, from `greenwich`.
[[nodiscard]] RegionMonth regionMonth(const RegionSpan& span, RegionSource source, std::vector<Sighting> sightings,
                                      const std::vector<Sighting>& noaa, const std::vector<Sighting>& greenwich);

// The same read from the journal (`observer`: whose groups, for the observer's source);
// the journal's reason when it could not be read.
[[nodiscard]] Read<RegionMonth> readRegionMonth(const Journal& journal, int year, int month, RegionSource source,
                                                std::optional<Id> observer);

// The table of the regions: a row per region, cells as the headings say ("–" where there
// is no value).
[[nodiscard]] std::vector<std::string> regionHeadings();
[[nodiscard]] std::vector<std::vector<std::string>> regionRows(const RegionMonth& month,
                                                               std::string_view decimalSeparator);

// The sightings of `regions[index]`, in time order (none past the end).
[[nodiscard]] std::vector<Sighting> regionSightings(const RegionMonth& month, std::size_t index);

// The days of `regions[index]` (none past the end): a row per sighting, in time order, its
// number the sighting's own, else the region's.
[[nodiscard]] std::vector<std::string> regionDayHeadings();
[[nodiscard]] std::vector<std::vector<std::string>> regionDayRows(const RegionMonth& month, std::size_t index,
                                                                  std::string_view decimalSeparator);

// The regions of one Carrington rotation for its map: the observer's, numbered as the
// month's are, and the imported ones (the SRS's where the journal has any, else
// Greenwich's), each followed over the rotation and kRegionMarginDays each side.
struct RotationRegions {
  int rotation = 0;
  std::vector<Region> observerRegions;
  std::vector<Sighting> observerSightings;
  std::vector<Region> importedRegions;
  std::vector<Sighting> importedSightings;
  RegionSource imported = RegionSource::Srs;
};
// The days read for `rotation`: from the day of its start to the day of its end, widened
// by kRegionMarginDays; none where the ephemeris gives none.
[[nodiscard]] std::optional<std::pair<Day, Day>> rotationReadDays(int rotation);
[[nodiscard]] RotationRegions rotationRegions(int rotation, std::vector<Sighting> observer, std::vector<Sighting> noaa,
                                              std::vector<Sighting> greenwich);
[[nodiscard]] Read<RotationRegions> readRotationRegions(const Journal& journal, int rotation,
                                                        std::optional<Id> observer);
// "SRS de NOAA", "Greenwich", "l'observateur": a source as the tab names it.
[[nodiscard]] std::string regionSourceTitle(RegionSource source);

// "Aucune région du 1er au 31 janvier 2014 (Greenwich)." or "12 régions …", the tab's line
// above its table.
[[nodiscard]] std::string regionMonthLine(const RegionMonth& month);

}  // namespace kavrel::journal
