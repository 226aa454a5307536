// The regions of a month for the Journal window's tab (region_view.h): the days read, the
// regions seen in the month, their numbers and the table's texts.
#include "journal/region_view.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "common/fixed_decimals.h"
#include "sun/carrington_rotation.h"

namespace kavrel::journal {
namespace {

constexpr std::string_view kNone = "–";
// Julian day of the Unix epoch, 1970 January 1 at 0 h UT.
constexpr double kUnixEpochJulianDay = 2440587.5;

std::chrono::sys_days daysOf(Day day) {
  return std::chrono::sys_days(std::chrono::year(day.year) / std::chrono::month(static_cast<unsigned>(day.month)) /
                               std::chrono::day(static_cast<unsigned>(day.day)));
}

Day dayOf(std::chrono::sys_days days) {
  const std::chrono::year_month_day date(days);
  return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day()))};
}

char pointOf(std::string_view separator) { return separator == "," ? ',' : '.'; }

std::string fixed(double value, int decimals, char point) {
  std::string text;
  appendFixed(text, value, decimals, point);
  return text;
}

std::string fixedOrNone(const std::optional<double>& value, int decimals, char point) {
  return value ? fixed(*value, decimals, point) : std::string(kNone);
}

// "03/02/2014".
std::string dateCell(Day day) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", day.day, day.month, day.year);
  return text;
}

// "09:05" from a fraction of the UT day, to the nearest minute (24:00 kept as written).
std::string timeCell(double dayFraction) {
  const int minutes = std::clamp(static_cast<int>(std::lround(dayFraction * 1440)), 0, 1440);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60, minutes % 60);
  return text;
}

std::string numberCell(const std::optional<int>& number) { return number ? std::to_string(*number) : std::string(kNone); }

std::string classesCell(const std::vector<std::string>& classes) {
  std::string text;
  for (const std::string& c : classes) text += (text.empty() ? "" : ", ") + c;
  return text.empty() ? std::string(kNone) : text;
}

bool seenIn(const Region& region, const RegionSpan& span) { return region.first <= span.last && region.last >= span.first; }

std::string numberingLine(const RegionMonth& month, const char* reference) {
  std::size_t numbered = 0;
  for (const Region& region : month.regions) numbered += region.number ? 1 : 0;
  const std::size_t count = month.regions.size();
  return "Numéros : ceux " + std::string(reference) + " des mêmes jours, trouvés pour " + std::to_string(numbered) +
         (numbered > 1 ? " régions" : " région") + " sur " + std::to_string(count) + ".";
}

}  // namespace

std::optional<RegionSpan> monthRegionSpan(int year, int month) {
  if (month < 1 || month > 12 || year < 1 || year > 9999) return std::nullopt;
  const std::chrono::year_month_day_last end(std::chrono::year(year),
                                             std::chrono::month_day_last(std::chrono::month(static_cast<unsigned>(month))));
  const Day first{year, month, 1};
  const Day last{year, month, static_cast<int>(static_cast<unsigned>(end.day()))};
  return RegionSpan{first, last, dayOf(daysOf(first) - std::chrono::days(kRegionMarginDays)),
                    dayOf(daysOf(last) + std::chrono::days(kRegionMarginDays))};
}

std::optional<int> monthRotation(int year, int month) {
  if (month < 1 || month > 12) return std::nullopt;
  const double noon = kUnixEpochJulianDay + 0.5 + daysOf({year, month, 15}).time_since_epoch().count();
  const std::optional<double> rotation = carringtonRotationAt(noon);
  if (!rotation) return std::nullopt;
  return static_cast<int>(std::floor(*rotation));
}

RegionMonth regionMonth(const RegionSpan& span, RegionSource source, std::vector<Sighting> sightings,
                        const std::vector<Sighting>& noaa, const std::vector<Sighting>& greenwich) {
  RegionMonth month;
  month.span = span;
  month.source = source;
  month.sightings = std::move(sightings);
  std::vector<Region> regions = followRegions(month.sightings);
  const char* reference = nullptr;
  if (source == RegionSource::Observer && !noaa.empty()) {
    numberRegions(regions, month.sightings, noaa);
    reference = "des régions NOAA (SRS)";
  } else if (source == RegionSource::Observer && !greenwich.empty()) {
    numberRegions(regions, month.sightings, greenwich);
    reference = "des groupes de Greenwich";
  }
  for (Region& region : regions)
    if (seenIn(region, span)) month.regions.push_back(std::move(region));
  if (reference) {
    month.numbering = numberingLine(month, reference);
  } else if (source == RegionSource::Observer) {
    month.numbering = "Numéros : aucun relevé NOAA ni de Greenwich de ces jours dans le journal, les régions n'en ont pas.";
  } else {
    month.numbering = source == RegionSource::Greenwich ? "Numéros : ceux de Greenwich." : "Numéros : ceux de NOAA.";
  }
  return month;
}

std::optional<std::pair<Day, Day>> rotationReadDays(int rotation) {
  const std::optional<double> start = carringtonRotationStart(rotation);
  const std::optional<double> end = carringtonRotationStart(rotation + 1);
  if (!start || !end) return std::nullopt;
  const auto dayAt = [](double julianDay, int margin) {
    const auto days = static_cast<int>(std::floor(julianDay - kUnixEpochJulianDay)) + margin;
    return dayOf(std::chrono::sys_days(std::chrono::days(days)));
  };
  return std::pair{dayAt(*start, -kRegionMarginDays), dayAt(*end, kRegionMarginDays)};
}

RotationRegions rotationRegions(int rotation, std::vector<Sighting> observer, std::vector<Sighting> noaa,
                                std::vector<Sighting> greenwich) {
  RotationRegions r;
  r.rotation = rotation;
  r.imported = noaa.empty() && !greenwich.empty() ? RegionSource::Greenwich : RegionSource::Srs;
  r.importedSightings = r.imported == RegionSource::Srs ? std::move(noaa) : std::move(greenwich);
  r.importedRegions = followRegions(r.importedSightings);
  r.observerSightings = std::move(observer);
  r.observerRegions = followRegions(r.observerSightings);
  if (!r.importedSightings.empty()) numberRegions(r.observerRegions, r.observerSightings, r.importedSightings);
  return r;
}

std::string regionSourceTitle(RegionSource source) {
  switch (source) {
    case RegionSource::Observer: return "l'observateur";
    case RegionSource::Greenwich: return "Greenwich";
    case RegionSource::Srs: return "SRS de NOAA";  // "des SRS de NOAA" in a sentence
  }
  return {};
}

std::vector<std::string> regionHeadings() {
  return {"Région", "Premier jour", "Dernier jour", "Jours", "Latitude (°)", "Longitude (°)", "Dérive (°/jour)",
          "Aire max. (MSH)", "Taches max.", "Classes", "Numéro", "Retour de"};
}

std::vector<std::vector<std::string>> regionRows(const RegionMonth& month, std::string_view decimalSeparator) {
  const char point = pointOf(decimalSeparator);
  std::vector<std::vector<std::string>> rows;
  for (const Region& r : month.regions) {
    rows.push_back({std::to_string(r.id), dateCell(r.first), dateCell(r.last), std::to_string(r.days),
                    fixed(r.latitude, 1, point), fixed(r.longitude, 1, point), fixedOrNone(r.drift, 2, point),
                    fixedOrNone(r.maxAreaMsh, 0, point), numberCell(r.maxSpots), classesCell(r.classes),
                    numberCell(r.number), r.returnOf ? std::to_string(*r.returnOf) : std::string(kNone)});
  }
  return rows;
}

std::vector<std::string> regionDayHeadings() {
  return {"Date", "Heure TU", "Latitude (°)", "Longitude (°)", "Aire (MSH)", "Numéro"};
}

std::vector<Sighting> regionSightings(const RegionMonth& month, std::size_t index) {
  std::vector<Sighting> sightings;
  if (index >= month.regions.size()) return sightings;
  for (const std::size_t i : month.regions[index].sightings)
    if (i < month.sightings.size()) sightings.push_back(month.sightings[i]);
  return sightings;
}

std::vector<std::vector<std::string>> regionDayRows(const RegionMonth& month, std::size_t index,
                                                    std::string_view decimalSeparator) {
  std::vector<std::vector<std::string>> rows;
  if (index >= month.regions.size()) return rows;
  const char point = pointOf(decimalSeparator);
  const Region& region = month.regions[index];
  for (const Sighting& s : regionSightings(month, index)) {
    rows.push_back({dateCell(s.date), timeCell(s.dayFraction), fixed(s.latitude, 2, point), fixed(s.longitude, 2, point),
                    fixedOrNone(s.areaMsh, 0, point), numberCell(s.number ? s.number : region.number)});
  }
  return rows;
}

std::string regionMonthLine(const RegionMonth& month) {
  const std::size_t count = month.regions.size();
  std::string line = count == 0 ? "Aucune région" : count == 1 ? "1 région" : std::to_string(count) + " régions";
  line += (month.source == RegionSource::Srs ? " des " : " de ") + regionSourceTitle(month.source) + " vue";
  if (count > 1) line += "s";
  return line + " du " + dayText(month.span.first) + " au " + dayText(month.span.last) + ".";
}

}  // namespace kavrel::journal
