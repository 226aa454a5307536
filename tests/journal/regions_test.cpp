#include "journal/regions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace kavrel::journal {
namespace {

// A sighting on day `day` of March 2014 (day 32 is 1 April) at noon.
Sighting at(int day, double latitude, double longitude, std::optional<double> cmd = std::nullopt,
            std::optional<int> number = std::nullopt) {
  Sighting s;
  s.date = day <= 31 ? Day{2014, 3, day} : Day{2014, 4, day - 31};
  s.latitude = latitude;
  s.longitude = longitude;
  s.centralMeridianDistance = cmd;
  s.areaMsh = 50;
  s.number = number;
  return s;
}

// The region id of each sighting.
std::vector<int> regionOfEach(const std::vector<Region>& regions, std::size_t count) {
  std::vector<int> of(count, 0);
  for (const Region& region : regions)
    for (std::size_t i : region.sightings) of[i] = region.id;
  return of;
}

// Each row: sightings in time order, the region each must fall in, and each region's return.
TEST(FollowRegions, LinksGroupsAcrossDays) {
  const struct {
    const char* name;
    std::vector<Sighting> sightings;
    std::vector<int> regions;
    std::vector<std::optional<int>> returnOf;
  } cases[] = {
      {"a group drifting +1°/day at 30° after 3 cloudy days; a new group where the law would put it",
       {at(1, 30, 100), at(2, 30, 101), at(3, 30, 102), at(7, 30, 106), at(7, 30, 100.3)},
       {1, 1, 1, 1, 2},
       {std::nullopt, std::nullopt}},
      {"a cloudy gap of three days", {at(1, -12, 40), at(2, -12, 40), at(6, -12.5, 39.5), at(7, -12, 39)},
       {1, 1, 1, 1},
       {std::nullopt}},
      {"back after half a rotation: a new region, the return of the first",
       {at(1, 15, 200, -20), at(3, 15, 200, 6.4), at(5, 15, 200, 32.8), at(24, 15, 199, -76.4),
        at(25, 15, 199, -63.2)},
       {1, 1, 1, 2, 2},
       {std::nullopt, 1}},
      {"back after half a rotation, no central-meridian distance in the records (L0 from the ephemeris)",
       {at(1, 15, 106), at(3, 15, 106), at(5, 15, 106), at(24, 15, 105), at(25, 15, 105)},
       {1, 1, 1, 2, 2},
       {std::nullopt, 1}},
      {"two groups 4° apart, the eastern one's centroid moved toward the other and listed first",
       {at(1, 10, 100), at(1, 10, 104), at(2, 10, 101.8), at(2, 10, 100.2), at(3, 10, 104), at(3, 10, 100)},
       {1, 2, 2, 1, 2, 1},
       {std::nullopt, std::nullopt}},
      {"astride 0/360", {at(1, 8, 359.5), at(2, 8, 0.3), at(3, 8, 359.9), at(4, 8, 0.8)},
       {1, 1, 1, 1},
       {std::nullopt}},
      {"numbers kept: two numbered groups crossing each other's places",
       {at(1, 5, 50, std::nullopt, 11), at(1, 5, 52, std::nullopt, 12), at(2, 5, 52, std::nullopt, 11),
        at(2, 5, 50, std::nullopt, 12)},
       {1, 2, 1, 2},
       {std::nullopt, std::nullopt}},
      {"two groups the same day never one region", {at(1, 10, 100), at(1, 10, 100.5)},
       {1, 2},
       {std::nullopt, std::nullopt}},
      {"a small group, alone, whose latitude jumps 6° on its fourth day",
       {at(1, -15, 100), at(2, -15, 100), at(3, -15, 100), at(4, -9, 100)},
       {1, 1, 1, 1},
       {std::nullopt}},
      {"the same jump with a second group as near: neither taken",
       {at(1, -15, 100), at(2, -15, 100), at(3, -15, 100), at(4, -9, 100), at(4, -21, 100)},
       {1, 1, 1, 2, 3},
       {std::nullopt, std::nullopt, std::nullopt}},
      {"a group's place 7° off for one day between two at its place",
       {at(1, 10, 50), at(2, 10, 50), at(3, 17, 50), at(4, 10, 50), at(5, 10, 50)},
       {1, 1, 1, 1, 1},
       {std::nullopt}},
      {"two groups in that day's gap: neither joined",
       {at(1, 10, 50), at(2, 10, 50), at(3, 16, 50), at(3, 4, 50), at(4, 10, 50)},
       {1, 1, 2, 3, 1},
       {std::nullopt, std::nullopt, std::nullopt}},
  };
  for (const auto& c : cases) {
    const std::vector<Region> regions = followRegions(c.sightings);
    EXPECT_EQ(regionOfEach(regions, c.sightings.size()), c.regions) << c.name;
    EXPECT_EQ(regions.size(), c.returnOf.size()) << c.name;
    for (std::size_t r = 0; r < std::min(regions.size(), c.returnOf.size()); ++r)
      EXPECT_EQ(regions[r].returnOf, c.returnOf[r]) << c.name;
  }
}

TEST(FollowRegions, FillsTheRegion) {
  std::vector<Sighting> sightings = {at(30, -8, 359), at(31, -8.5, 0.5), at(31, -8.6, 0.6), at(33, -9.5, 1)};
  sightings[0].dayFraction = 0.25;
  sightings[1].dayFraction = 0.25;
  sightings[2].dayFraction = 0.75;  // a second observation that day
  sightings[3].areaMsh = 320;
  sightings[3].spots = 14;
  sightings[1].spots = 3;
  sightings[0].classification = "Bxo";
  sightings[1].classification = "Dao";
  sightings[3].classification = "Bxo";
  const std::vector<Region> regions = followRegions(sightings);
  ASSERT_EQ(regions.size(), 1u);
  const Region& r = regions[0];
  EXPECT_EQ(r.sightings, (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(r.first, (Day{2014, 3, 30}));
  EXPECT_EQ(r.last, (Day{2014, 4, 2}));
  EXPECT_EQ(r.days, 3);
  EXPECT_NEAR(r.latitude, -8.65, 1e-9);
  EXPECT_NEAR(r.longitude, 0.275, 1e-9);
  ASSERT_TRUE(r.drift);
  EXPECT_GT(*r.drift, 0.3);
  EXPECT_LT(*r.drift, 1.0);
  EXPECT_EQ(r.maxAreaMsh, 320);
  EXPECT_EQ(r.maxSpots, 14);
  EXPECT_EQ(r.classes, (std::vector<std::string>{"Bxo", "Dao"}));
  EXPECT_EQ(r.number, std::nullopt);
}

// Each row: the observer's region (one group a day) against the reference's numbered groups.
TEST(NumberRegions, TakesTheNumberMatchedDayByDay) {
  const auto numbered = [](int day, double lat, double lon, int number) {
    return at(day, lat, lon, std::nullopt, number);
  };
  const struct {
    const char* name;
    std::vector<Sighting> reference;
    std::optional<int> number;
  } cases[] = {
      {"the nearer of two", {numbered(1, 10, 96, 12001), numbered(1, 10, 101, 12002)}, 12002},
      {"most days win", {numbered(1, 10, 100, 12003), numbered(2, 10, 100, 12004), numbered(3, 10, 100, 12004)}, 12004},
      {"none near", {numbered(1, -10, 100, 12005), numbered(2, 10, 130, 12005)}, std::nullopt},
      {"none on the same days", {numbered(5, 10, 100, 12006)}, std::nullopt},
  };
  const std::vector<Sighting> observer = {at(1, 10, 100), at(2, 10, 100), at(3, 10, 100)};
  for (const auto& c : cases) {
    std::vector<Region> regions = followRegions(observer);
    ASSERT_EQ(regions.size(), 1u) << c.name;
    regions[0].number = 999;  // replaced by the match, or by none
    numberRegions(regions, observer, c.reference);
    EXPECT_EQ(regions[0].number, c.number) << c.name;
  }
}

// Regions at latitudes 0° to 38° turning by a known law, each seen on `days` days (one
// numbered group a day, ±0.1° of scatter), and a mislinked one turning 5°/day too fast.
std::vector<Sighting> turning(double a, double b, int days, bool mislinked) {
  std::vector<Sighting> made;
  for (int k = 0; k < 20; ++k) {
    const double latitude = (k % 2 ? -1 : 1) * 2.0 * k;
    const double s = std::sin(latitude * M_PI / 180);
    double rate = a + b * s * s - 14.1844;
    if (mislinked && k == 7) rate += 5;
    for (int d = 0; d < days; ++d)
      made.push_back(at(1 + d, latitude, std::fmod(200 + 7 * k + rate * d + 0.1 * ((d * 7 + k) % 3 - 1) + 360, 360),
                        std::nullopt, 100 + k));
  }
  return made;
}

// Each row: a law, the days each region is seen, and how many rates it must fit.
TEST(FitRotation, RecoversAKnownLaw) {
  const struct {
    const char* name;
    double a, b;
    int days;
    bool mislinked;
    std::size_t rates;
    bool fitted;
  } cases[] = {
      {"Newton and Nunn's, 8 days", 14.38, -2.77, 8, false, 20, true},
      {"a steeper law, 5 days", 14.55, -3.40, 5, false, 20, true},
      {"a mislinked region set aside", 14.38, -2.77, 8, true, 19, true},
      {"three days are too few", 14.38, -2.77, 3, false, 0, false},
  };
  for (const auto& c : cases) {
    const std::vector<Sighting> sightings = turning(c.a, c.b, c.days, c.mislinked);
    const RotationLaw law = fitRotation(followRegions(sightings), sightings);
    EXPECT_EQ(law.rates.size(), c.rates) << c.name;
    ASSERT_EQ(law.fitted, c.fitted) << c.name;
    if (!c.fitted) continue;
    EXPECT_NEAR(law.a, c.a, 0.03) << c.name;
    EXPECT_NEAR(law.b, c.b, 0.3) << c.name;
    EXPECT_GT(law.aError, 0) << c.name;
    EXPECT_LT(law.aError, 0.05) << c.name;
    EXPECT_GT(law.bError, 0) << c.name;
  }
}

TEST(RegionsCsv, WritesTheHeaderAndRoundsTheRow) {
  std::vector<Sighting> sightings = {at(1, -12.3456, 359.996), at(3, -0.004, 7.125)};
  sightings[0].dayFraction = 0.382;
  sightings[1].areaMsh.reset();
  Region region;
  region.id = 4;
  region.sightings = {0, 1};
  region.first = sightings[0].date;
  region.last = sightings[1].date;
  region.days = 2;
  region.latitude = -6.1748;
  region.longitude = 3.5605;
  region.drift = 0.12345;
  region.maxAreaMsh = 49.6;
  region.number = 12010;
  EXPECT_EQ(regionsCsv({region}),
            "region;first;last;days;latitude;longitude;drift_deg_per_day;max_area_msh;number\n"
            "4;2014-03-01;2014-03-03;2;-6.17;3.56;0.123;50;12010\n");
  region.drift.reset();
  region.maxAreaMsh.reset();
  region.number.reset();
  EXPECT_EQ(regionsCsv({region}), std::string("region;first;last;days;latitude;longitude;drift_deg_per_day;") +
                                      "max_area_msh;number\n4;2014-03-01;2014-03-03;2;-6.17;3.56;;;\n");
  EXPECT_EQ(regionDaysCsv({region}, sightings),
            "region;date;time_ut;latitude;longitude;area_msh;number\n"
            "4;2014-03-01;09:10;-12.35;0.00;50;\n"
            "4;2014-03-03;12:00;0.00;7.12;;\n");
}

}  // namespace
}  // namespace kavrel::journal
