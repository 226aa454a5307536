// The Journal window's core: a day's fields read (R as typed, the problems said), and a
// group made from the spots of a file Disque saved.
#include <gtest/gtest.h>

#include <cmath>

#include "journal/day_form.h"
#include "journal/group_from_spots.h"

namespace kavrel::journal {
namespace {

const Day kToday{2014, 3, 1};

DayTexts day(std::string gn, std::string fn, std::string gs, std::string fs) {
  DayTexts texts = newDayTexts({2014, 2, 3}, {9, 5});
  texts.groupsNorth = std::move(gn);
  texts.spotsNorth = std::move(fn);
  texts.groupsSouth = std::move(gs);
  texts.spotsSouth = std::move(fs);
  return texts;
}

struct DayCase {
  const char* name;
  DayTexts texts;
  const char* relativeNorth;
  const char* relativeDisc;
  bool stored;
  const char* problem;  // the start of the first problem, "" when none
};

TEST(JournalEntry, DayFieldsRead) {
  DayTexts wholeDisc = day("", "", "", "");
  wholeDisc.wholeDisc = true;
  wholeDisc.groupsDisc = "3";
  wholeDisc.spotsDisc = "12";
  DayTexts letter = day("1", "1", "0", "0");
  letter.seeing = "g";
  DayTexts badSeeing = day("1", "1", "0", "0");
  badSeeing.seeing = "6";
  const DayCase cases[] = {
      {"split", day("2", "5", "8", "44"), "25", "149", true, ""},
      {"R shown though f < g is refused", day("3", "2", "0", "0"), "32", "32", false, "f nord :"},
      {"south missing: north's R still shown", day("2", "5", "", ""), "25", "", false, "g sud :"},
      {"nothing counted: asked once", day("", "", "", ""), "", "", false, "Comptes :"},
      {"whole disc alone", wholeDisc, "", "42", true, ""},
      {"seeing as a letter", letter, "11", "11", true, ""},
      {"seeing beyond 5", badSeeing, "11", "11", false, "Seeing :"},
      {"a count past a million refused, not overflowed", day("552451545", "552451545", "0", "0"), "", "", false,
       "g nord : au plus"},
  };
  for (const DayCase& c : cases) {
    const DayReading reading = readDay(c.texts, Observation{}, kToday);
    EXPECT_EQ(reading.relativeNorth, c.relativeNorth) << c.name;
    EXPECT_EQ(reading.relativeDisc, c.relativeDisc) << c.name;
    EXPECT_EQ(reading.observation.has_value(), c.stored) << c.name;
    if (*c.problem) {
      ASSERT_FALSE(reading.problems.empty()) << c.name;
      EXPECT_EQ(reading.problems.front().rfind(c.problem, 0), 0u) << c.name << ": " << reading.problems.front();
    }
  }
  // The letter G of other networks is 4 on the 1..5 scale.
  EXPECT_EQ(readDay(letter, Observation{}, kToday).observation->seeing, 4);
}

struct GroupCase {
  const char* name;
  std::vector<MeasuredSpot> spots;
  double latitude, longitude;
  std::optional<double> area;
  Hemisphere hemisphere;
};

TEST(JournalEntry, GroupFromSpots) {
  const GroupCase cases[] = {
      {"weighted by area", {{1, 10, 100, -5.0, 10.0}, {2, 20, 110, 5.0, 30.0}}, 17.5, 107.5, 40.0, Hemisphere::North},
      {"one area missing: a plain mean, the given area summed",
       {{1, 10, 100, {}, 10.0}, {2, 20, 110, {}, {}}}, 15, 105, 10.0, Hemisphere::North},
      {"no area at all", {{1, -10, 200, {}, {}}, {2, -14, 204, {}, {}}}, -12, 202, {}, Hemisphere::South},
      {"astride 0° of longitude", {{1, 5, 358, {}, {}}, {2, 5, 4, {}, {}}}, 5, 1, {}, Hemisphere::North},
      {"areas all zero weigh alike", {{1, 10, 100, {}, 0.0}, {2, 20, 120, {}, 0.0}}, 15, 110, 0.0, Hemisphere::North},
  };
  for (const GroupCase& c : cases) {
    const Group group = groupFromSpots(c.spots, 3, GroupOrigin::Photograph);
    EXPECT_NEAR(*group.latitude, c.latitude, 1e-9) << c.name;
    EXPECT_NEAR(*group.longitude, c.longitude, 1e-9) << c.name;
    EXPECT_EQ(group.areaMsh, c.area) << c.name;
    EXPECT_EQ(group.hemisphere, c.hemisphere) << c.name;
    EXPECT_EQ(group.spots, static_cast<int>(c.spots.size())) << c.name;
    EXPECT_EQ(group.number, 3) << c.name;
  }
}

// Spots on both sides of the equator are asked about before they make one group.
TEST(JournalEntry, SpotsAstrideTheEquator) {
  const struct {
    const char* name;
    std::vector<MeasuredSpot> spots;
    bool astride;
  } cases[] = {
      {"north and south", {{1, 3, 100, {}, {}}, {2, -2, 101, {}, {}}}, true},
      {"all south", {{1, -3, 100, {}, {}}, {2, -12, 101, {}, {}}}, false},
      {"one spot on the equator itself, the other north", {{1, 0, 100, {}, {}}, {2, 4, 101, {}, {}}}, false},
      {"one spot", {{1, -3, 100, {}, {}}}, false},
      {"north, on the equator, then south", {{1, 2, 100, {}, {}}, {2, 0, 100, {}, {}}, {3, -0.5, 101, {}, {}}}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(astrideEquator(c.spots), c.astride) << c.name;
}

TEST(JournalEntry, SpotFilesRead) {
  // The point's dialect, a quoted field holding the separator, a spot off the disc.
  const SpotFile drawn = readSpotFile(
      "date,heure_tu,angle,distance,B_deg,L_deg,DMC_deg,erreur\n"
      "2014-02-03,09:05,10.5,0.4,12.25,250.5,-20.4,\n"
      "2014-02-03,09:05,10.5,1.2,,,,\"Hors du disque, r > 1\"\n");
  ASSERT_TRUE(drawn.refusal.empty()) << drawn.refusal;
  ASSERT_EQ(drawn.spots.size(), 1u);
  EXPECT_EQ(drawn.spotsWithoutPlace, 1);
  EXPECT_EQ(drawn.origin, GroupOrigin::Drawing);
  EXPECT_DOUBLE_EQ(drawn.spots[0].longitude, 250.5);
  EXPECT_EQ(spotLine(drawn.spots[0], ","), "Tache 1 : B 12,25°, L 250,50°, DMC -20,40°");

  EXPECT_FALSE(readSpotFile("date;heure_tu;angle\n2014-02-03;09:05;1\n").refusal.empty());
  EXPECT_FALSE(readSpotFile("date;B_deg;L_deg\n2014-02-03;;\n").refusal.empty());
  EXPECT_FALSE(readSpotFile("").refusal.empty());
}

}  // namespace
}  // namespace kavrel::journal
