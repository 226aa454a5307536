// The regions' numbers from another source's records, the differential rotation fitted on
// them, and their CSV (regions.h). Degrees, days, MSH.
//
// Numbering: each sighting of a region is matched to the nearest numbered group of the
// reference on the same day, its longitude carried to the sighting's instant by Newton and
// Nunn's drift, within a window that widens with the groups' areas; the region takes the
// number most of its sightings matched (a tie to the one nearer in sum), none when none
// matched.
//
// Rotation: a region seen on four days or more, over three days or more, gives the slope of
// its unwrapped Carrington longitudes against time, plus 14.1844, as its sidereal rate. The
// law A + B sin²φ is an unweighted least-squares line through the rates against sin²φ (the
// regions' own motions, some 0.1° a day, outweigh their errors of fit), with the standard
// errors from the residuals. Mislinked regions give rates far off: a rate whose residual
// passes kClip times the residuals' standard deviation is set aside and the line fitted
// again, until the rates kept no longer change.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "common/fixed_decimals.h"
#include "journal/regions.h"
#include "journal/regions_math.h"

namespace kavrel::journal {
namespace {

using regions_math::instantOf;
using regions_math::wrap180;

constexpr double kMatchLon = 4.0;  // degrees, plus a share of the square root of the area
constexpr double kMatchLat = 3.0;
constexpr double kMatchPerSqrtArea = 0.12;
constexpr int kLeastRateDays = 4;
constexpr double kLeastRateSpan = 3.0;  // days
constexpr double kClip = 3.0;
constexpr int kMostClipRounds = 20;

double sqrtArea(const Sighting& s) { return s.areaMsh ? std::sqrt(std::max(0.0, *s.areaMsh)) : 0.0; }

// The reference's numbered sightings by day.
std::map<Day, std::vector<std::size_t>> numberedByDay(const std::vector<Sighting>& reference) {
  std::map<Day, std::vector<std::size_t>> days;
  for (std::size_t i = 0; i < reference.size(); ++i)
    if (reference[i].number) days[reference[i].date].push_back(i);
  return days;
}

struct Match {
  int number = 0;
  double cost = 0;
};
std::optional<Match> nearestOnDay(const Sighting& s, const std::vector<Sighting>& reference,
                                  const std::vector<std::size_t>& sameDay) {
  std::optional<Match> best;
  const double t = instantOf(s);
  for (std::size_t r : sameDay) {
    const Sighting& ref = reference[r];
    const double carried = ref.longitude + regions_math::lawDrift(ref.latitude) * (t - instantOf(ref));
    const double size = std::max(sqrtArea(s), sqrtArea(ref)) * kMatchPerSqrtArea;
    const double dLon = wrap180(s.longitude - carried) / (kMatchLon + size);
    const double dLat = (s.latitude - ref.latitude) / (kMatchLat + size);
    const double cost = dLon * dLon + dLat * dLat;
    if (cost <= 1.0 && (!best || cost < best->cost)) best = Match{*ref.number, cost};
  }
  return best;
}

std::optional<int> matchedNumber(const Region& region, const std::vector<Sighting>& sightings,
                                 const std::vector<Sighting>& reference,
                                 const std::map<Day, std::vector<std::size_t>>& days) {
  std::map<int, std::pair<int, double>> votes;  // number: matches, summed distance
  for (std::size_t i : region.sightings) {
    const auto day = days.find(sightings[i].date);
    if (day == days.end()) continue;
    if (const auto match = nearestOnDay(sightings[i], reference, day->second)) {
      auto& vote = votes[match->number];
      ++vote.first;
      vote.second += match->cost;
    }
  }
  std::optional<int> best;
  std::pair<int, double> bestVote{0, 0};
  for (const auto& [number, vote] : votes)
    if (vote.first > bestVote.first || (vote.first == bestVote.first && vote.second < bestVote.second)) {
      best = number;
      bestVote = vote;
    }
  return best;
}

std::optional<RegionRate> rateOf(const Region& region, const std::vector<Sighting>& sightings) {
  if (region.days < kLeastRateDays) return std::nullopt;
  const auto track = regions_math::unwrappedTrack(region, sightings);
  if (track.instants.back() - track.instants.front() < kLeastRateSpan) return std::nullopt;
  std::vector<double> days(track.instants.size());
  for (std::size_t k = 0; k < days.size(); ++k) days[k] = track.instants[k] - track.instants.front();
  const auto line = regions_math::fitLine(days, track.longitudes);
  if (!line) return std::nullopt;
  return RegionRate{region.id, region.latitude, regions_math::kCarringtonRate + line->slope, line->slopeError};
}

double sin2(double latitude) {
  const double s = std::sin(latitude * 3.14159265358979323846 / 180.0);
  return s * s;
}

std::optional<regions_math::Line> lawThrough(const std::vector<RegionRate>& rates) {
  std::vector<double> x, y;
  for (const RegionRate& rate : rates) {
    x.push_back(sin2(rate.latitude));
    y.push_back(rate.rate);
  }
  return regions_math::fitLine(x, y);
}

double residual(const RegionRate& rate, const regions_math::Line& law) {
  return rate.rate - law.intercept - law.slope * sin2(rate.latitude);
}

// The rates of `all` whose residual from `law` is within kClip standard deviations of the
// residuals of the rates `fitted` it was fitted on.
std::vector<RegionRate> within(const std::vector<RegionRate>& all, const std::vector<RegionRate>& fitted,
                               const regions_math::Line& law) {
  double squares = 0;
  for (const RegionRate& rate : fitted) squares += residual(rate, law) * residual(rate, law);
  const double limit = kClip * std::sqrt(squares / static_cast<double>(fitted.size() - 2));
  std::vector<RegionRate> inside;
  for (const RegionRate& rate : all)
    if (std::abs(residual(rate, law)) <= limit) inside.push_back(rate);
  return inside;
}

bool sameRegions(const std::vector<RegionRate>& a, const std::vector<RegionRate>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const RegionRate& x, const RegionRate& y) { return x.region == y.region; });
}

void appendDate(std::string& text, Day day) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", day.year, day.month, day.day);
  text += buffer;
}

void appendOptional(std::string& text, std::optional<double> value, int decimals) {
  if (value) appendFixed(text, *value, decimals);
}

// A longitude that rounds to 360 is written 0.
void appendLongitude(std::string& text, double longitude) {
  appendFixed(text, longitude >= 359.995 ? longitude - 360.0 : longitude, 2);
}

void appendNumber(std::string& text, std::optional<int> number) {
  if (number && *number >= 0) text += std::to_string(*number);
}

void appendTime(std::string& text, double dayFraction) {
  const double fraction = std::isfinite(dayFraction) ? std::clamp(dayFraction, 0.0, 1.0) : 0.0;
  const int minutes = static_cast<int>(std::lround(fraction * 1440.0));
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d", minutes / 60, minutes % 60);
  text += buffer;
}

}  // namespace

void numberRegions(std::vector<Region>& regions, const std::vector<Sighting>& sightings,
                   const std::vector<Sighting>& reference) {
  const auto days = numberedByDay(reference);
  for (Region& region : regions) {
    const bool ownNumbers = std::any_of(region.sightings.begin(), region.sightings.end(),
                                        [&](std::size_t i) { return sightings[i].number.has_value(); });
    if (!ownNumbers) region.number = matchedNumber(region, sightings, reference, days);
  }
}

RotationLaw fitRotation(const std::vector<Region>& regions, const std::vector<Sighting>& sightings) {
  RotationLaw law;
  std::vector<RegionRate> all;
  for (const Region& region : regions)
    if (const auto rate = rateOf(region, sightings)) all.push_back(*rate);
  law.rates = all;
  std::optional<regions_math::Line> line = lawThrough(all);
  for (int round = 0; line && round < kMostClipRounds; ++round) {
    std::vector<RegionRate> kept = within(all, law.rates, *line);
    if (sameRegions(kept, law.rates)) break;
    law.rates = std::move(kept);
    line = lawThrough(law.rates);
  }
  if (!line) return law;
  for (const RegionRate& rate : all)
    if (std::none_of(law.rates.begin(), law.rates.end(), [&](const RegionRate& k) { return k.region == rate.region; }))
      law.rejected.push_back(rate);
  law.fitted = true;
  law.a = line->intercept;
  law.aError = line->interceptError;
  law.b = line->slope;
  law.bError = line->slopeError;
  return law;
}

std::string regionsCsv(const std::vector<Region>& regions) {
  std::string text = "region;first;last;days;latitude;longitude;drift_deg_per_day;max_area_msh;number\n";
  for (const Region& region : regions) {
    text += std::to_string(region.id) + ';';
    appendDate(text, region.first);
    text += ';';
    appendDate(text, region.last);
    text += ';' + std::to_string(region.days) + ';';
    appendFixed(text, region.latitude, 2);
    text += ';';
    appendLongitude(text, region.longitude);
    text += ';';
    appendOptional(text, region.drift, 3);
    text += ';';
    appendOptional(text, region.maxAreaMsh, 0);
    text += ';';
    appendNumber(text, region.number);
    text += '\n';
  }
  return text;
}

std::string regionDaysCsv(const std::vector<Region>& regions, const std::vector<Sighting>& sightings) {
  std::string text = "region;date;time_ut;latitude;longitude;area_msh;number\n";
  for (const Region& region : regions) {
    for (std::size_t i : region.sightings) {
      const Sighting& s = sightings[i];
      text += std::to_string(region.id) + ';';
      appendDate(text, s.date);
      text += ';';
      appendTime(text, s.dayFraction);
      text += ';';
      appendFixed(text, s.latitude, 2);
      text += ';';
      appendLongitude(text, s.longitude);
      text += ';';
      appendOptional(text, s.areaMsh, 0);
      text += ';';
      appendNumber(text, s.number ? s.number : region.number);
      text += '\n';
    }
  }
  return text;
}

}  // namespace kavrel::journal
