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
// with the square root of the region's largest area (a group of 1000 MSH spans some 15° of
// longitude). Within an instant the nearest pairs are taken
// first, one sighting per region; then the sightings left over that are small, on the
// day after their region's last, within a window twice as wide in latitude, each the only
// candidate of a region with three sightings or more that is its only candidate. After
// the last instant, a region lying within another's gap of days at the place interpolated
// between the sightings either side is joined into it, when unambiguous both ways.
//
// A region stays on the disc while its central-meridian distance, carried forward at about
// 13.2° a day (the synodic rate plus its drift), has not passed the west limb, and for a
// few days without sightings at most. Its central-meridian distance is the sighting's own
// where the record gives it, else its longitude less the disc's L0 at that instant (the
// precise ephemeris). A new region at a place where a region that went behind the west
// limb has come back round to the visible disc is its return.
//
// Where it stops: numbered sightings follow their numbers only (a number seen again more
// than kNumberGapDays later starts a new region); nothing splits regions after the fact,
// and the only join after the fact is of a region into another's gap.
#include "journal/regions.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

#include "journal/regions_math.h"
#include "sun/precise_aspect.h"

namespace kavrel::journal {
namespace {

using regions_math::instantOf;
using regions_math::wrap180;

// The linking window, degrees: a base, a widening a day between, and a share of the square
// root of the largest area (MSH). Measured on real years of records: the day-to-day
// scatter of a group's place (its centroid moving as spots come and go, places written to
// the degree) is most of the window; widening it with the days between joined decaying
// groups to new ones born at their place days later more than it joined groups seen
// across cloudy days, so the days between only move the place, by the drift.
constexpr double kLonBase = 5.0;
constexpr double kLonPerDay = 0.0;
constexpr double kLonPerSqrtArea = 0.20;
constexpr double kLatBase = 4.0;
constexpr double kLatPerDay = 0.0;
constexpr double kLatPerSqrtArea = 0.08;
// The windows' scales: the nearest-pairs match, and the wider one taken only where it is
// unambiguous.
struct Window {
  double lonScale = 1;
  double latScale = 1;
};
constexpr Window kNear{1.0, 1.0};
constexpr Window kWide{1.0, 2.0};
// The wider match links only small groups (under 100 MSH, whose centroid jumps most as
// their few spots come and go) on the next day, to a region seen three times or more
// (its place settled).
constexpr double kWideMostSqrtArea = 10.0;
constexpr double kWideMostDays = 1.5;
constexpr std::size_t kWideLeastSightings = 3;
// A region inside another's gap joins it within this window; the regions looked back at
// began within kFillScanDays.
constexpr Window kFillWide{1.5, 2.0};
constexpr double kFillScanDays = 20.0;
// A region's own drift replaces the law once its sightings span this many days.
constexpr double kOwnDriftSpanDays = 2.0;
constexpr double kMostDrift = 3.0;  // degrees a day, either way: a longer line is a mislink
// The days without a sighting a region may go through (cloudy days).
constexpr double kMostGapDays = 6.0;
// Central-meridian distance of the west limb, and its growth a day (synodic).
constexpr double kWestLimb = 90.0;
// Records near the limb write places short of where the region's drift carries it (places
// foreshortened at the limb, a position carried to 24:00 UT): a region stays on the disc
// while carried up to this far past the limb.
constexpr double kLimbAllowance = 20.0;
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
    return days > 0 && days <= kMostGapDays && cmdAfter(days) <= kWestLimb + kLimbAllowance;
  }
};

struct Prepared {
  double t = 0;
  double cmd = 0;
};

// The disc's L0 at an instant: the precise ephemeris at nodes kL0StepDays apart,
// interpolated (L0 falls about 13.2° a day, its rate varies by ±0.03° a day over a year:
// the interpolation errs by under 0.1°, ample for telling the limb, and calls the
// ephemeris, some 0.1 ms a call, once a month).
constexpr double kL0StepDays = 30.0;
class DiscL0 {
 public:
  [[nodiscard]] std::optional<double> at(double t) {
    const double node = std::floor(t / kL0StepDays);
    const auto a = atNode(node);
    const auto b = atNode(node + 1);
    if (!a || !b) return std::nullopt;
    // The whole turns between the nodes from L0's mean rate, the rest from the ephemeris.
    const double mean = -kSynodicRate * kL0StepDays;
    return *a + (mean + wrap180(*b - *a - mean)) * (t / kL0StepDays - node);
  }

 private:
  std::optional<double> atNode(double node) {
    const auto found = nodes_.find(node);
    if (found != nodes_.end()) return found->second;
    const auto aspect = preciseAspect(node * kL0StepDays);
    const std::optional<double> l0 = aspect ? std::optional<double>(aspect->disc.l0) : std::nullopt;
    nodes_.emplace(node, l0);
    return l0;
  }
  std::unordered_map<double, std::optional<double>> nodes_;
};

// Each sighting's instant and central-meridian distance: the record's own, else its
// longitude less the disc's L0 (0 where the ephemeris gives none).
std::vector<Prepared> prepare(const std::vector<Sighting>& sightings) {
  std::vector<Prepared> made(sightings.size());
  DiscL0 l0;
  for (std::size_t i = 0; i < sightings.size(); ++i) {
    const Sighting& s = sightings[i];
    made[i].t = instantOf(s);
    if (s.centralMeridianDistance) made[i].cmd = *s.centralMeridianDistance;
    else if (const auto disc = l0.at(made[i].t)) made[i].cmd = wrap180(s.longitude - *disc);
  }
  return made;
}

// Distance of a sighting to a track's place at its instant, in units of the window; the
// unwrapped longitude it would take.
struct Fit {
  double cost = 0;
  double lon = 0;
};
Fit fitTo(const Track& track, const Sighting& s, double t, const Window& window = kNear) {
  const double days = t - track.lastT;
  const double predicted = track.lastLon + track.drift() * days;
  const double dLon = wrap180(s.longitude - predicted);
  const double dLat = s.latitude - track.lastLat;
  const double size = std::max(track.sqrtArea, s.areaMsh ? std::sqrt(std::max(0.0, *s.areaMsh)) : 0.0);
  const double lonWindow = window.lonScale * (kLonBase + kLonPerDay * days + kLonPerSqrtArea * size);
  const double latWindow = window.latScale * (kLatBase + kLatPerDay * days + kLatPerSqrtArea * size);
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
    fillGaps();
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
    linkUnambiguous(indices, taken, t);
    for (std::size_t k = 0; k < indices.size(); ++k)
      if (!taken[k]) startTrack(indices[k]);
  }

  // The second, wider match: a sighting left over joins a region left over when, within
  // the wide window, that region is its only candidate and it is the region's only one
  // (regions and sightings already linked at this instant counted).
  void linkUnambiguous(const std::vector<std::size_t>& indices, std::vector<bool>& taken, double t) {
    if (std::find(taken.begin(), taken.end(), false) == taken.end()) return;
    std::vector<int> perSighting(indices.size(), 0);
    std::unordered_map<std::size_t, int> perTrack;
    struct Candidate {
      std::size_t sighting;
      std::size_t track;
      double lon;
    };
    std::vector<Candidate> candidates;
    for (std::size_t r : recent_) {
      const Track& track = tracks_[r];
      if (!track.onDiscAt(t) && track.lastT != t) continue;
      for (std::size_t k = 0; k < indices.size(); ++k) {
        const Fit fit = fitTo(track, sightings_[indices[k]], t, kWide);
        if (fit.cost > 1.0) continue;
        ++perSighting[k];
        ++perTrack[r];
        if (!taken[k] && track.lastT < t && wideEligible(track, sightings_[indices[k]], t))
          candidates.push_back({k, r, fit.lon});
      }
    }
    for (const Candidate& c : candidates) {
      if (perSighting[c.sighting] != 1 || perTrack[c.track] != 1) continue;
      taken[c.sighting] = true;
      const std::size_t index = indices[c.sighting];
      tracks_[c.track].add(index, t, c.lon, sightings_[index].latitude, prepared_[index].cmd, sightings_[index]);
    }
  }

  [[nodiscard]] static bool wideEligible(const Track& track, const Sighting& s, double t) {
    const double size = std::max(track.sqrtArea, s.areaMsh ? std::sqrt(std::max(0.0, *s.areaMsh)) : 0.0);
    return size <= kWideMostSqrtArea && t - track.lastT <= kWideMostDays && track.sightings.size() >= kWideLeastSightings;
  }

  // A region that begins and ends within another's gap of days, each of its sightings at
  // the place the other's sightings on either side of the gap put it at its instant (the
  // wide window), is the other's: its group's centroid jumped on those days. Taken only
  // where unambiguous: one such region in the gap, one such gap for the region.
  void fillGaps() {
    struct Join {
      std::size_t inner, outer, before;
    };
    std::vector<Join> joins;
    std::map<std::pair<std::size_t, std::size_t>, int> perGap;  // (outer, position before the gap)
    for (std::size_t b = 0; b < tracks_.size(); ++b) {
      const Track& inner = tracks_[b];
      if (inner.number || inner.returnOf) continue;
      std::optional<Join> found;
      int hosts = 0;
      for (std::size_t a = b; a-- > 0;) {
        const Track& outer = tracks_[a];
        if (outer.firstT < inner.firstT - kFillScanDays) break;
        if (outer.number || outer.lastT <= inner.lastT || outer.firstT >= inner.firstT) continue;
        const auto before = gapAround(outer, inner);
        if (!before || !fillsGap(outer, *before, inner)) continue;
        ++hosts;
        found = Join{b, a, *before};
      }
      if (hosts != 1) continue;
      joins.push_back(*found);
      ++perGap[{found->outer, found->before}];
    }
    // In order of the inner regions: one joined into another is empty by the time it
    // would receive one; the sightings go in by time (another gap may have been filled).
    for (const Join& j : joins) {
      std::vector<std::size_t>& into = tracks_[j.outer].sightings;
      if (perGap[{j.outer, j.before}] != 1 || tracks_[j.inner].returned || into.empty()) continue;
      std::vector<std::size_t>& moved = tracks_[j.inner].sightings;
      const auto at = std::upper_bound(into.begin(), into.end(), prepared_[moved.front()].t,
                                       [&](double t, std::size_t i) { return t < prepared_[i].t; });
      into.insert(at, moved.begin(), moved.end());
      moved.clear();
    }
  }

  // The position in `outer` of its last sighting before `inner` begins, when its next one
  // comes after `inner` ends; none when `outer` is seen meanwhile.
  std::optional<std::size_t> gapAround(const Track& outer, const Track& inner) const {
    const auto& list = outer.sightings;
    for (std::size_t k = 0; k + 1 < list.size(); ++k) {
      if (prepared_[list[k + 1]].t <= inner.lastT) continue;
      if (prepared_[list[k]].t < inner.firstT) return k;
      return std::nullopt;
    }
    return std::nullopt;
  }

  [[nodiscard]] bool fillsGap(const Track& outer, std::size_t before, const Track& inner) const {
    const Sighting& p = sightings_[outer.sightings[before]];
    const Sighting& q = sightings_[outer.sightings[before + 1]];
    const double tp = prepared_[outer.sightings[before]].t;
    const double tq = prepared_[outer.sightings[before + 1]].t;
    const double size = std::max(outer.sqrtArea, inner.sqrtArea);
    const double lonWindow = kFillWide.lonScale * (kLonBase + kLonPerSqrtArea * size);
    const double latWindow = kFillWide.latScale * (kLatBase + kLatPerSqrtArea * size);
    for (std::size_t i : inner.sightings) {
      const double f = (prepared_[i].t - tp) / (tq - tp);
      const double dLon = wrap180(sightings_[i].longitude - (p.longitude + f * wrap180(q.longitude - p.longitude)));
      const double dLat = sightings_[i].latitude - (p.latitude + f * (q.latitude - p.latitude));
      if ((dLon / lonWindow) * (dLon / lonWindow) + (dLat / latWindow) * (dLat / latWindow) > 1.0) return false;
    }
    return true;
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
  // Regions joined into others are left empty: the rest numbered anew, returns following.
  std::vector<int> idOf(tracks.size(), 0);
  int next = 0;
  for (std::size_t i = 0; i < tracks.size(); ++i)
    if (!tracks[i].sightings.empty()) idOf[i] = ++next;
  std::vector<Region> regions;
  regions.reserve(static_cast<std::size_t>(next));
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    if (tracks[i].sightings.empty()) continue;
    regions.push_back(regionOf(tracks[i], idOf[i], sightings));
    if (tracks[i].returnOf) regions.back().returnOf = idOf[static_cast<std::size_t>(*tracks[i].returnOf - 1)];
  }
  return regions;
}

}  // namespace kavrel::journal
