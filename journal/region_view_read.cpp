// The regions of a month and of a rotation read from the journal (region_view.h): the
// sightings of each source over the days read, handed to the pure functions beside.
#include "journal/region_view.h"

namespace kavrel::journal {

Read<RegionMonth> readRegionMonth(const Journal& journal, int year, int month, RegionSource source,
                                  std::optional<Id> observer) {
  const std::optional<RegionSpan> span = monthRegionSpan(year, month);
  if (!span) return {.error = "Ce mois n'est pas un mois du calendrier."};
  const auto read = [&](RegionSource which) { return journal.sightings(span->readFirst, span->readLast, which, observer); };
  Read<std::vector<Sighting>> own = read(source);
  if (!own.ok()) return {.error = own.error};
  Read<std::vector<Sighting>> noaa;
  Read<std::vector<Sighting>> greenwich;
  if (source == RegionSource::Observer) {
    noaa = read(RegionSource::Srs);
    if (!noaa.ok()) return {.error = noaa.error};
    greenwich = read(RegionSource::Greenwich);
    if (!greenwich.ok()) return {.error = greenwich.error};
  }
  return {regionMonth(*span, source, std::move(own.value), noaa.value, greenwich.value), {}};
}

Read<RotationRegions> readRotationRegions(const Journal& journal, int rotation, std::optional<Id> observer) {
  const std::optional<std::pair<Day, Day>> days = rotationReadDays(rotation);
  if (!days) return {{}, "La rotation " + std::to_string(rotation) + " ne peut être placée par les éphémérides."};
  std::vector<Sighting> read[3];
  const RegionSource sources[3] = {RegionSource::Observer, RegionSource::Srs, RegionSource::Greenwich};
  for (int i = 0; i < 3; ++i) {
    // Without an observer, the map has the imported regions alone.
    if (sources[i] == RegionSource::Observer && !observer) continue;
    Read<std::vector<Sighting>> sightings = journal.sightings(days->first, days->second, sources[i], observer);
    if (!sightings.ok()) return {{}, sightings.error};
    read[i] = std::move(sightings.value);
  }
  return {rotationRegions(rotation, std::move(read[0]), std::move(read[1]), std::move(read[2])), {}};
}

}  // namespace kavrel::journal
