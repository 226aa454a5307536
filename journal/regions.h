// Sunspot groups followed from day to day into regions, the numbers NOAA or Greenwich gave
// them, and the Sun's differential rotation measured on them. Angles in degrees (latitude
// south negative, Carrington longitude 0..360), times as UT days and fractions, areas in
// millionths of the solar hemisphere (MSH). Pure functions, no file, no Qt.
//
// A region is a group seen on one or more days. The sightings of one source (the
// observer's own, Greenwich's, an SRS's) are linked in time order: a sighting joins the
// region seen on a previous day whose place, carried forward by the differential rotation
// at its latitude, is nearest, within a window that widens with the group's area (a group
// grows, drifts by up to a degree a day in Carrington longitude, and a few cloudy days
// may leave gaps, over which its place is carried by its drift). The centroid of a small
// group jumps as its few spots come and go, mostly in latitude: a small group (under
// 100 MSH) left over joins, on the next day, a region seen three times or more within a
// window twice as wide in latitude, when that region is its only candidate and it is the
// region's only one. Once all are linked, a region that begins and ends within another's
// gap of days, at the place the other's sightings either side of the gap give (a window
// half again as wide in longitude, twice in latitude), is joined into it, when it is the
// only such region in that gap and that gap the only one it fits. A region is never
// carried across its passage behind the west limb: a group seen again half a rotation
// later starts a new region, marked as the return of the old one.
// Sightings that carry their own number (NOAA's, Greenwich's) are linked by that number.
//
// Where it stops: it links what it is given; it does not split a region that two groups
// merged into, nor tell a group that decays and another born in its place.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

// The regions' sources: the observer's own groups (typed or imported lists), and the
// records of others kept beside them.
enum class RegionSource { Observer, Greenwich, Srs };
// "observateur", "greenwich", "srs"; none for another name.
[[nodiscard]] std::optional<RegionSource> regionSourceNamed(std::string_view name) noexcept;
[[nodiscard]] std::string_view regionSourceName(RegionSource source) noexcept;

// One group seen once.
struct Sighting {
  Day date;
  double dayFraction = 0.5;  // UT, 0..1
  double latitude = 0;       // degrees, south negative
  double longitude = 0;      // Carrington, degrees 0..360
  std::optional<double> centralMeridianDistance;  // degrees, east negative, when known
  std::optional<double> areaMsh;
  std::optional<int> spots;
  std::string classification;  // McIntosh or Zurich class, as recorded
  std::optional<int> number;   // the record's own region number (NOAA's or Greenwich's)
};

struct Region {
  int id = 0;                          // 1, 2, … in the order of their first sighting
  std::vector<std::size_t> sightings;  // indices into the sightings given, in time order
  Day first;
  Day last;
  int days = 0;                      // distinct days seen
  double latitude = 0;               // mean of its sightings'
  double longitude = 0;              // mean of its sightings' (taken across 0/360)
  std::optional<double> drift;       // degrees of Carrington longitude a day; seen on two days or more
  std::optional<double> maxAreaMsh;  // none when no sighting has an area
  std::optional<int> maxSpots;
  std::vector<std::string> classes;  // distinct, in the order first seen
  std::optional<int> number;         // its records' own, or the one it matched (numberRegions)
  std::optional<int> returnOf;       // id of the region it is the return of
};

// `sightings`: one source's, any order.
[[nodiscard]] std::vector<Region> followRegions(const std::vector<Sighting>& sightings);

// Gives each of `regions` (made of `sightings`) the number of the region of `reference`
// (records carrying their numbers, of the same days) that it matches day by day, or none.
void numberRegions(std::vector<Region>& regions, const std::vector<Sighting>& sightings,
                   const std::vector<Sighting>& reference);

// ω(φ) = A + B sin²φ, degrees a day, sidereal.
struct RegionRate {
  int region = 0;         // Region::id
  double latitude = 0;    // degrees
  double rate = 0;        // sidereal, degrees a day: 14.1844 + the slope of L against time
  double rateError = 0;   // standard error of the slope
};
struct RotationLaw {
  // The rates fitted: the regions followed over four days or more, three days apart or
  // more, less those rejected.
  std::vector<RegionRate> rates;
  bool fitted = false;            // false with fewer than three rates or all at one latitude
  double a = 0;
  double aError = 0;
  double b = 0;
  double bError = 0;
  // Rates set aside as outliers (mislinked regions): kept out of `rates` and the fit.
  std::vector<RegionRate> rejected;
};
[[nodiscard]] RotationLaw fitRotation(const std::vector<Region>& regions, const std::vector<Sighting>& sightings);

// Newton and Nunn (1951), from recurrent sunspot groups: 14.38 − 2.77 sin²φ degrees a day.
inline constexpr double kNewtonNunnA = 14.38;
inline constexpr double kNewtonNunnB = -2.77;

// The CSV, ";" and the decimal point:
// region;first;last;days;latitude;longitude;drift_deg_per_day;max_area_msh;number
[[nodiscard]] std::string regionsCsv(const std::vector<Region>& regions);
// One row per group and day: region;date;time_ut;latitude;longitude;area_msh;number
// (date YYYY-MM-DD, latitude and longitude to 0.01°, number digits only, empty when none).
[[nodiscard]] std::string regionDaysCsv(const std::vector<Region>& regions, const std::vector<Sighting>& sightings);

}  // namespace kavrel::journal
