// How well groups are followed into regions, numbered and turned into the rotation law,
// measured on real yearly Greenwich files (gYYYY.txt) read as an observer's own:
//   kavrel_regions_accuracy FILE... [--seed N]
// For each file it prints:
// - following, the records' numbers removed: the share of the true regions seen on two days
//   or more found whole in one region, and the share of the regions found that mix two
//   true numbers;
// - numbering: an observer made from the records (numbers removed, latitude and longitude
//   moved by a normal error of 1°, the hour moved by up to ±4 h, one day in five dropped as
//   cloudy, seeded), numbered against the records themselves: the share of its sightings
//   whose region got the record's true number;
// - rotation: A and B fitted on the regions the numbers make and on those the positions
//   make, and their differences.
// Not a test: the figures go in the README.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "journal/group_records.h"
#include "journal/regions.h"

namespace {

using namespace kavrel::journal;

std::vector<Sighting> sightingsOf(const GroupFile& file) {
  std::vector<Sighting> made;
  for (const GroupRecord& r : file.records) {
    if (!r.longitude) continue;
    Sighting s;
    s.date = r.date;
    s.dayFraction = r.dayFraction;
    s.latitude = r.latitude;
    s.longitude = *r.longitude;
    s.centralMeridianDistance = r.centralMeridianDistance;
    s.areaMsh = r.areaMsh;
    s.spots = r.spots;
    s.classification = r.classification;
    s.number = r.group;
    made.push_back(s);
  }
  return made;
}

std::vector<Sighting> withoutNumbers(std::vector<Sighting> sightings) {
  for (Sighting& s : sightings) s.number.reset();
  return sightings;
}

void following(const std::vector<Sighting>& truth) {
  const std::vector<Region> found = followRegions(withoutNumbers(truth));
  std::map<int, std::set<int>> foundOf;  // true number: the regions found holding it
  std::map<int, std::set<Day>> daysOf;
  int mixing = 0;
  for (const Region& region : found) {
    std::set<int> numbers;
    for (std::size_t i : region.sightings) {
      numbers.insert(*truth[i].number);
      foundOf[*truth[i].number].insert(region.id);
    }
    if (numbers.size() > 1) ++mixing;
  }
  for (const Sighting& s : truth) daysOf[*s.number].insert(s.date);
  int multiDay = 0, whole = 0;
  for (const auto& [number, days] : daysOf) {
    if (days.size() < 2) continue;
    ++multiDay;
    if (foundOf[number].size() == 1) ++whole;
  }
  std::printf("following: %d of %d true regions of 2+ days found whole (%.1f %%); %d of %zu found mixing (%.1f %%)\n",
              whole, multiDay, 100.0 * whole / multiDay, mixing, found.size(), 100.0 * mixing / found.size());
}

// The observer's sightings and, beside each, the record's true number.
struct Observer {
  std::vector<Sighting> sightings;
  std::vector<int> trueNumbers;
};
Observer observerOf(const std::vector<Sighting>& truth, unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> error(0.0, 1.0);
  std::uniform_real_distribution<double> hours(-4.0, 4.0);
  std::bernoulli_distribution cloudy(0.2);
  std::map<Day, bool> dropped;
  std::map<Day, double> shift;
  Observer made;
  for (const Sighting& s : truth) {
    if (!dropped.contains(s.date)) {
      dropped[s.date] = cloudy(random);
      shift[s.date] = hours(random) / 24.0;
    }
    if (dropped[s.date]) continue;
    Sighting o = s;
    const double moved = std::clamp(s.dayFraction + shift[s.date], 0.0, 0.999) - s.dayFraction;
    o.dayFraction += moved;
    o.latitude += error(random);
    const double rate = 14.38 - 2.77 * std::pow(std::sin(s.latitude * M_PI / 180), 2) - 14.1844;
    o.longitude = std::fmod(s.longitude + rate * moved + error(random) + 360.0, 360.0);
    if (o.centralMeridianDistance) *o.centralMeridianDistance += 13.2 * moved;
    o.number.reset();
    made.sightings.push_back(o);
    made.trueNumbers.push_back(*s.number);
  }
  return made;
}

void numbering(const std::vector<Sighting>& truth, unsigned seed) {
  const Observer observer = observerOf(truth, seed);
  std::vector<Region> regions = followRegions(observer.sightings);
  numberRegions(regions, observer.sightings, truth);
  int right = 0, total = 0;
  for (const Region& region : regions)
    for (std::size_t i : region.sightings) {
      ++total;
      if (region.number && *region.number == observer.trueNumbers[i]) ++right;
    }
  std::printf("numbering: %d of %d observer's sightings numbered as the records (%.1f %%), %zu regions\n", right,
              total, 100.0 * right / total, regions.size());
}

void rotation(const std::vector<Sighting>& truth) {
  const RotationLaw byNumber = fitRotation(followRegions(truth), truth);
  const std::vector<Sighting> bare = withoutNumbers(truth);
  const RotationLaw byPlace = fitRotation(followRegions(bare), bare);
  std::printf("rotation, numbers: A %.3f ± %.3f, B %.3f ± %.3f, %zu regions (%zu set aside)\n", byNumber.a,
              byNumber.aError, byNumber.b, byNumber.bError, byNumber.rates.size(), byNumber.rejected.size());
  std::printf("rotation, places:  A %.3f ± %.3f, B %.3f ± %.3f, %zu regions (%zu set aside)\n", byPlace.a,
              byPlace.aError, byPlace.b, byPlace.bError, byPlace.rates.size(), byPlace.rejected.size());
  std::printf("rotation: |dA| %.3f, |dB| %.3f\n", std::abs(byPlace.a - byNumber.a), std::abs(byPlace.b - byNumber.b));
}

}  // namespace

int main(int argc, char** argv) {
  unsigned seed = 1957;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--seed" && i + 1 < argc) seed = static_cast<unsigned>(std::stoul(argv[++i]));
    else paths.push_back(arg);
  }
  if (paths.empty()) {
    std::fprintf(stderr, "usage: kavrel_regions_accuracy FILE... [--seed N]\n");
    return 2;
  }
  for (const std::string& path : paths) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const GroupFile file = parseGroupFile(text.str());
    if (!file.error.empty()) {
      std::fprintf(stderr, "%s: line %d: %s\n", path.c_str(), file.line, file.error.c_str());
      return 1;
    }
    const std::vector<Sighting> truth = sightingsOf(file);
    std::printf("== %s: %zu sightings\n", path.c_str(), truth.size());
    following(truth);
    numbering(truth, seed);
    rotation(truth);
  }
  return 0;
}
