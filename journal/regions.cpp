// Sunspot groups linked from day to day into regions (regions.h): the sightings taken in
// time order, each instant's groups joined to the regions still on the disc whose place,
// carried forward by their drift in Carrington longitude, is nearest. Degrees, UT days
// (Julian days), MSH.
//
// A region's place at a later instant: its last latitude, and its last Carrington longitude
// moved by its drift times the days between. The drift is the region's own (the slope of
// its longitudes against time) once it has been seen over two days or more, else Newton
// and Nunn's law at its latitude less Carrington's 14.1844° a day. A group joins a region
// when its distance to that place, in units of a window, is under 1; the window widens
// with the days between and with the square root of the region's largest area (a group of
// 1000 MSH spans some 15° of longitude). Within an instant the nearest pairs are taken
// first, one sighting per region.
//
// A region stays on the disc while its central-meridian distance, carried forward at about
// 13.2° a day (the synodic rate plus its drift), has not passed the west limb, and for a
// few days without sightings at most. Its central-meridian distance is the sighting's own
// where the record gives it, else its longitude less the disc's L0 at that instant (the
// precise ephemeris). A new region at a place where a region that went behind the west
// limb has come back round to the visible disc is its return.
//
// Where it stops: numbered sightings follow their numbers only (a number seen again more
// than kNumberGapDays later starts a new region); nothing splits or merges regions after
// the fact.
#include "journal/regions.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "journal/regions_math.h"
#include "sun/precise_aspect.h"

namespace kavrel::journal {
namespace {

using regions_math::instantOf;
using regions_math::wrap180;

// The linking window, degrees: a base, a widening a day between, and a share of the square
// root of the largest area (MSH).
constexpr double kLonBase = 3.0;
constexpr double kLonPerDay = 1.2;
constexpr double kLonPerSqrtArea = 0.20;
constexpr double kLatBase = 2.0;
constexpr double kLatPerDay = 0.5;
constexpr double kLatPerSqrtArea = 0.08;
// A region's own drift replaces the law once its sightings span this many days.
constexpr double kOwnDriftSpanDays = 2.0;
constexpr double kMostDrift = 3.0;  // degrees a day, either way: a longer line is a mislink
// The days without a sighting a region may go through (cloudy days).
constexpr double kMostGapDays = 6.0;
// Central-meridian distance of the west limb, and its growth a day (synodic).
constexpr double kWestLimb = 90.0;
constexpr double kSynodicRate = 13.2;
// A numbered sighting joins the region of its number seen within this many days.
constexpr double kNumberGapDays = 40.0;
// A return: the window around the place carried forward, degrees, and how long regions
// that left are remembered, days.
constexpr double kReturnLon = 12.0;
constexpr double kReturnLat = 6.0;
constexpr double kReturnMemoryDays = 45.0;

// A region as it is being followed.
struct Track {
  std::vector<std::size_t> sightings;
  double firstT = 0;
  double lastT = 0;
  double lastLon = 0;  // unwrapped: continues the previous ones across 0/360
  double lastLat = 0;
  double lastCmd = 0;
  double sqrtArea = 0;
  std::optional<int> number;
  std::optional<int> returnOf;
  bool returned = false;  // already claimed by a return
  regions_math::LineSums line;

  void add(std::size_t index, double t, double lon, double lat, double cmd, const Sighting& s) {
    if (sightings.empty()) firstT = t;
    sightings.push_back(index);
    lastT = t;
    lastLon = lon;
    lastLat = lat;
    lastCmd = cmd;
    if (s.areaMsh) sqrtArea = std::max(sqrtArea, std::sqrt(std::max(0.0, *s.areaMsh)));
    line.add(t - firstT, lon);
  }
  [[nodiscard]] double drift() const {
    if (lastT - firstT >= kOwnDriftSpanDays) {
      if (const auto slope = line.slope()) return std::clamp(*slope, -kMostDrift, kMostDrift);
    }
    return regions_math::lawDrift(lastLat);
  }
  [[nodiscard]] double cmdAfter(double days) const { return lastCmd + (kSynodicRate + drift()) * days; }
  [[nodiscard]] bool onDiscAt(double t) const {
    const double days = t - lastT;
    return days > 0 && days <= kMostGapDays && cmdAfter(days) <= kWestLimb;
  }
};

struct Prepared {
  double t = 0;
  double cmd = 0;
};

// Each sighting's instant and central-meridian distance (L0 computed once an instant).
std::vector<Prepared> prepare(const std::vector<Sighting>& sightings) {
  std::vector<Prepared> made(sightings.size());
  std::unordered_map<double, double> l0At;
  for (std::size_t i = 0; i < sightings.size(); ++i) {
    const Sighting& s = sightings[i];
    made[i].t = instantOf(s);
    if (s.centralMeridianDistance) {
      made[i].cmd = *s.centralMeridianDistance;
      continue;
    }
    auto found = l0At.find(made[i].t);
    if (found == l0At.end()) {
      const auto aspect = preciseAspect(made[i].t);
      found = l0At.emplace(made[i].t, aspect ? aspect->disc.l0 : s.longitude).first;
    }
    made[i].cmd = wrap180(s.longitude - found->second);
  }
  return made;
}

// Distance of a sighting to a track's place at its instant, in units of the window; the
// unwrapped longitude it would take.
struct Fit {
  double cost = 0;
  double lon = 0;
};
Fit fitTo(const Track& track, const Sighting& s, double t) {
  const double days = t - track.lastT;
  const double predicted = track.lastLon + track.drift() * days;
  const double dLon = wrap180(s.longitude - predicted);
  const double dLat = s.latitude - track.lastLat;
  const double size = std::max(track.sqrtArea, s.areaMsh ? std::sqrt(std::max(0.0, *s.areaMsh)) : 0.0);
  const double lonWindow = kLonBase + kLonPerDay * days + kLonPerSqrtArea * size;
  const double latWindow = kLatBase + kLatPerDay * days + kLatPerSqrtArea * size;
  return {(dLon / lonWindow) * (dLon / lonWindow) + (dLat / latWindow) * (dLat / latWindow), predicted + dLon};
}

class Follower {
 public:
  Follower(const std::vector<Sighting>& sightings) : sightings_(sightings), prepared_(prepare(sightings)) {}

  std::vector<Track> run() {
    std::vector<std::size_t> order(sightings_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return prepared_[a].t < prepared_[b].t; });
    for (std::size_t begin = 0; begin < order.size();) {
      std::size_t end = begin;
      while (end < order.size() && prepared_[order[end]].t == prepared_[order[begin]].t) ++end;
      linkInstant({order.begin() + static_cast<std::ptrdiff_t>(begin), order.begin() + static_cast<std::ptrdiff_t>(end)});
      begin = end;
    }
    return std::move(tracks_);
  }

 private:
  void linkInstant(std::vector<std::size_t> instant) {
    const double t = prepared_[instant.front()].t;
    std::erase_if(recent_, [&](std::size_t r) { return t - tracks_[r].lastT > kReturnMemoryDays; });
    std::vector<std::size_t> unnumbered;
    for (std::size_t index : instant) {
      if (sightings_[index].number) linkNumbered(index);
      else unnumbered.push_back(index);
    }
    linkByPlace(unnumbered, t);
  }

  void linkNumbered(std::size_t index) {
    const Sighting& s = sightings_[index];
    const double t = prepared_[index].t;
    const auto found = byNumber_.find(*s.number);
    if (found != byNumber_.end()) {
      Track& track = tracks_[found->second];
      if (track.lastT < t && t - track.lastT <= kNumberGapDays) {
        track.add(index, t, track.lastLon + wrap180(s.longitude - track.lastLon), s.latitude, prepared_[index].cmd, s);
        return;
      }
    }
    byNumber_[*s.number] = startTrack(index);
  }

  // Nearest pairs first: every (sighting, region on the disc) pair within its window, by
  // distance; a pair is taken while both are free.
  void linkByPlace(const std::vector<std::size_t>& indices, double t) {
    struct Pair {
      double cost;
      std::size_t sighting;  // in indices
      std::size_t track;
      double lon;
    };
    std::vector<Pair> pairs;
    for (std::size_t r : recent_) {
      if (!tracks_[r].onDiscAt(t)) continue;
      for (std::size_t k = 0; k < indices.size(); ++k) {
        const Fit fit = fitTo(tracks_[r], sightings_[indices[k]], t);
        if (fit.cost <= 1.0) pairs.push_back({fit.cost, k, r, fit.lon});
      }
    }
    std::sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) {
      return a.cost != b.cost ? a.cost < b.cost : (a.sighting != b.sighting ? a.sighting < b.sighting : a.track < b.track);
    });
    std::vector<bool> taken(indices.size(), false);
    for (const Pair& pair : pairs) {
      Track& track = tracks_[pair.track];
      if (taken[pair.sighting] || track.lastT >= t) continue;
      taken[pair.sighting] = true;
      const std::size_t index = indices[pair.sighting];
      track.add(index, t, pair.lon, sightings_[index].latitude, prepared_[index].cmd, sightings_[index]);
    }
    for (std::size_t k = 0; k < indices.size(); ++k)
      if (!taken[k]) startTrack(indices[k]);
  }

  std::size_t startTrack(std::size_t index) {
    const Sighting& s = sightings_[index];
    Track track;
    track.number = s.number;
    track.add(index, prepared_[index].t, s.longitude, s.latitude, prepared_[index].cmd, s);
    if (const auto old = returnedRegion(track)) {
      track.returnOf = static_cast<int>(*old) + 1;
      tracks_[*old].returned = true;
    }
    tracks_.push_back(std::move(track));
    recent_.push_back(tracks_.size() - 1);
    return tracks_.size() - 1;
  }

  // The region that went behind the west limb and whose place has come round to the
  // visible disc where `track` begins, nearest; none.
  std::optional<std::size_t> returnedRegion(const Track& track) const {
    std::optional<std::size_t> best;
    double bestCost = 1.0;
    for (std::size_t r : recent_) {
      const Track& old = tracks_[r];
      if (old.returned) continue;
      const double days = track.firstT - old.lastT;
      const double cmd = old.lastCmd + (kSynodicRate + regions_math::lawDrift(old.lastLat)) * days;
      if (cmd < 270.0 - 15.0 || cmd > 360.0 + kWestLimb) continue;
      const double dLon = wrap180(track.lastLon - (old.lastLon + regions_math::lawDrift(old.lastLat) * days));
      const double dLat = track.lastLat - old.lastLat;
      const double cost = (dLon / kReturnLon) * (dLon / kReturnLon) + (dLat / kReturnLat) * (dLat / kReturnLat);
      if (cost <= bestCost) {
        bestCost = cost;
        best = r;
      }
    }
    return best;
  }

  const std::vector<Sighting>& sightings_;
  std::vector<Prepared> prepared_;
  std::vector<Track> tracks_;
  std::vector<std::size_t> recent_;  // tracks seen within kReturnMemoryDays
  std::unordered_map<int, std::size_t> byNumber_;
};

// The most frequent of the region's own numbers; none when its sightings carry none.
std::optional<int> ownNumber(const Region& region, const std::vector<Sighting>& sightings) {
  std::unordered_map<int, int> votes;
  std::optional<int> best;
  for (std::size_t i : region.sightings) {
    const auto number = sightings[i].number;
    if (!number) continue;
    const int count = ++votes[*number];
    if (!best || count > votes[*best]) best = number;
  }
  return best;
}

Region regionOf(const Track& track, int id, const std::vector<Sighting>& sightings) {
  Region region;
  region.id = id;
  region.sightings = track.sightings;
  region.first = sightings[track.sightings.front()].date;
  region.last = sightings[track.sightings.back()].date;
  const auto summary = regions_math::summarise(region, sightings);
  region.days = summary.days;
  region.latitude = summary.latitude;
  region.longitude = summary.longitude;
  if (region.days >= 2) region.drift = summary.drift;
  for (std::size_t i : track.sightings) {
    const Sighting& s = sightings[i];
    if (s.areaMsh) region.maxAreaMsh = std::max(region.maxAreaMsh.value_or(*s.areaMsh), *s.areaMsh);
    if (s.spots) region.maxSpots = std::max(region.maxSpots.value_or(*s.spots), *s.spots);
    if (!s.classification.empty() &&
        std::find(region.classes.begin(), region.classes.end(), s.classification) == region.classes.end())
      region.classes.push_back(s.classification);
  }
  region.number = ownNumber(region, sightings);
  region.returnOf = track.returnOf;
  return region;
}

}  // namespace

std::optional<RegionSource> regionSourceNamed(std::string_view name) noexcept {
  if (name == "observateur") return RegionSource::Observer;
  if (name == "greenwich") return RegionSource::Greenwich;
  if (name == "srs") return RegionSource::Srs;
  return std::nullopt;
}

std::string_view regionSourceName(RegionSource source) noexcept {
  switch (source) {
    case RegionSource::Observer: return "observateur";
    case RegionSource::Greenwich: return "greenwich";
    case RegionSource::Srs: return "srs";
  }
  return "";
}

std::vector<Region> followRegions(const std::vector<Sighting>& sightings) {
  const std::vector<Track> tracks = Follower(sightings).run();
  std::vector<Region> regions;
  regions.reserve(tracks.size());
  for (std::size_t i = 0; i < tracks.size(); ++i)
    regions.push_back(regionOf(tracks[i], static_cast<int>(i) + 1, sightings));
  return regions;
}

}  // namespace kavrel::journal
