// A group from Disque's measured spots (group_from_spots.h).
#include "journal/group_from_spots.h"

#include <algorithm>
#include <cmath>

#include "common/csv.h"
#include "common/display_mask.h"
#include "common/spot_columns.h"
#include "common/text.h"

namespace kavrel::journal {

namespace {

// The records of the file, empty lines left out.
std::vector<std::vector<std::string>> records(std::string_view text, csv::Format format) {
  std::vector<std::vector<std::string>> rows;
  csv::Reader reader(text, format.separator);
  csv::Reader::Record record;
  while (reader.next(record))
    if (!record.empty()) rows.push_back(std::move(record.fields));
  return rows;
}

std::optional<double> number(const std::vector<std::string>& row, std::optional<std::size_t> column,
                             std::string_view decimal) {
  if (!column || *column >= row.size() || row[*column].empty()) return std::nullopt;
  return decimalNumber(row[*column], decimal);
}

double wrapped360(double degrees) {
  const double wrapped = std::fmod(degrees, 360.0);
  return wrapped < 0 ? wrapped + 360.0 : wrapped;
}

}  // namespace

SpotFile readSpotFile(std::string_view text) {
  namespace columns = spot_columns;
  SpotFile file;
  text = csv::withoutByteOrderMark(text);
  const csv::Format format = csv::formatOfHeader(text);
  const std::string decimal(1, format.decimal);
  const std::vector<std::vector<std::string>> rows = records(text, format);
  if (rows.empty()) {
    file.refusal = "Le fichier est vide.";
    return file;
  }
  const std::vector<std::string>& header = rows.front();
  const auto column = [&header](std::string_view name) -> std::optional<std::size_t> {
    const auto found = std::find(header.begin(), header.end(), name);
    if (found == header.end()) return std::nullopt;
    return static_cast<std::size_t>(found - header.begin());
  };
  const std::optional<std::size_t> b = column(columns::kLatitude), l = column(columns::kLongitude),
                                   dmc = column(columns::kCentralMeridianDistance), area = column(columns::kAreaMsh),
                                   numbered = column(columns::kNumber);
  if (!b || !l) {
    file.refusal = "Ce fichier n'est pas un relevé de taches de Disque : il n'a pas de colonnes " +
                   std::string(columns::kLatitude) + " et " + std::string(columns::kLongitude) + ".";
    return file;
  }
  if (column(columns::kPixelX)) file.origin = GroupOrigin::Photograph;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const std::vector<std::string>& row = rows[i];
    const std::optional<double> latitude = number(row, b, decimal), longitude = number(row, l, decimal);
    if (!latitude || !longitude) {
      ++file.spotsWithoutPlace;
      continue;
    }
    MeasuredSpot spot;
    const std::optional<double> rank = number(row, numbered, decimal);
    spot.number = rank && *rank >= 0 && *rank < 1e6 ? static_cast<int>(*rank) : static_cast<int>(i);
    spot.latitude = *latitude;
    spot.longitude = *longitude;
    spot.centralMeridianDistance = number(row, dmc, decimal);
    if (const std::optional<double> msh = number(row, area, decimal); msh && *msh >= 0) spot.areaMsh = msh;
    file.spots.push_back(spot);
  }
  if (file.spots.empty())
    file.refusal = file.spotsWithoutPlace > 0 ? "Aucune tache de ce fichier n'a de latitude ni de longitude."
                                              : "Ce fichier ne contient aucune tache.";
  return file;
}

std::string spotLine(const MeasuredSpot& spot, std::string_view decimalSeparator) {
  std::string line = "Tache " + std::to_string(spot.number) + " : B " +
                     formatMask(spot.latitude, "##0.00", decimalSeparator) + "°, L " +
                     formatMask(spot.longitude, "##0.00", decimalSeparator) + "°";
  if (spot.centralMeridianDistance)
    line += ", DMC " + formatMask(*spot.centralMeridianDistance, "##0.00", decimalSeparator) + "°";
  if (spot.areaMsh) line += ", aire " + formatMask(*spot.areaMsh, "0", decimalSeparator) + " MSH";
  return line;
}

bool astrideEquator(const std::vector<MeasuredSpot>& chosen) noexcept {
  const auto north = [](const MeasuredSpot& spot) { return spot.latitude > 0; };
  const auto south = [](const MeasuredSpot& spot) { return spot.latitude < 0; };
  return std::any_of(chosen.begin(), chosen.end(), north) && std::any_of(chosen.begin(), chosen.end(), south);
}

Group groupFromSpots(const std::vector<MeasuredSpot>& chosen, int number, GroupOrigin origin) {
  Group group;
  group.number = number;
  group.origin = origin;
  group.spots = static_cast<int>(chosen.size());
  if (chosen.empty()) return group;

  const bool byArea = std::all_of(chosen.begin(), chosen.end(), [](const MeasuredSpot& s) { return s.areaMsh; });
  double weights = 0, latitude = 0, longitudeOffset = 0, dmc = 0, dmcWeights = 0, area = 0;
  bool anyArea = false;
  const double reference = chosen.front().longitude;
  for (const MeasuredSpot& spot : chosen) {
    if (spot.areaMsh) {
      area += *spot.areaMsh;
      anyArea = true;
    }
  }
  // Spots of no area at all (too small to measure) weigh alike rather than not at all.
  const bool weighted = byArea && area > 0;
  for (const MeasuredSpot& spot : chosen) {
    const double w = weighted ? *spot.areaMsh : 1.0;
    weights += w;
    latitude += w * spot.latitude;
    // Each longitude taken within 180° of the first spot's, so that 359° and 1° meet at 0°.
    longitudeOffset += w * (std::remainder(spot.longitude - reference, 360.0));
    if (spot.centralMeridianDistance) {
      dmc += w * *spot.centralMeridianDistance;
      dmcWeights += w;
    }
  }
  if (weights > 0) {
    group.latitude = latitude / weights;
    group.longitude = wrapped360(reference + longitudeOffset / weights);
  }
  if (dmcWeights > 0) group.centralMeridianDistance = dmc / dmcWeights;
  if (anyArea) group.areaMsh = area;
  group.hemisphere = group.latitude && *group.latitude < 0 ? Hemisphere::South : Hemisphere::North;
  return group;
}

}  // namespace kavrel::journal
