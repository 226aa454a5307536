// The observer's lists of groups read as observers write them, and their distances placed
// in Carrington longitude at the observation's time or at the observer's usual hour.
#include "journal/group_list.h"

#include <gtest/gtest.h>

namespace kavrel::journal {
namespace {

constexpr auto kNamed = GroupListKind::NamedColumns;
constexpr auto kDayFirst = GroupListKind::DayFirstRows;
constexpr auto kDisque = GroupListKind::DisqueSpots;
const std::string kDayFirstHeader = "date,no,lat,lon,num\r\n";

// The last group a list gives.
struct Expected {
  Day date;
  std::optional<double> time;  // the day's fraction, when the list gives it
  double latitude = 0;
  std::optional<double> longitude;
  std::optional<double> distance;
  std::optional<int> spots;
  std::optional<double> area;
};

TEST(GroupList, ReadsTheListsObserversKeep) {
  const struct {
    const char* name;
    std::string text;
    GroupListKind kind;
    std::size_t groups, days;
    std::vector<Refusal> refused;
    std::optional<Expected> last;
  } cases[] = {
      {"a Carrington range through 0 is its middle, 356", "date,latitude,longitude\n2014-02-03,-12,348~4\n", kNamed,
       1, 1, {}, Expected{{2014, 2, 3}, {}, -12, 356, {}, {}, {}}},
      {"the date of a day's first row is the next rows', a range across the meridian its middle",
       kDayFirstHeader + "2023/6/5,1,N10,W37,1\r\n,2,S8~12,E18~W11,11\r\n", kDayFirst, 2, 1, {},
       Expected{{2023, 6, 5}, {}, -10, {}, -3.5, 11, {}}},
      {"a letter on one end of a range serves both", kDayFirstHeader + "2023.5.30,4,S18,W0~8,5\n", kDayFirst, 1, 1, {},
       Expected{{2023, 5, 30}, {}, -18, {}, 4, 5, {}}},
      {"the signed lists count their distances east positive", kDayFirstHeader + "2023/5/27,4,16~20,-16~-28,4\n",
       kDayFirst, 1, 1, {}, Expected{{2023, 5, 27}, {}, 18, {}, 22, 4, {}}},
      {"a latitude ND refused with its line", kDayFirstHeader + "2023/11/11,1,ND,W3,1\n", kDayFirst, 0, 1,
       {{2, "Latitude : « ND » n'est pas déterminée."}}, {}},
      {"a distance without its letter in a row of letters refused",
       kDayFirstHeader + "2023/5/30,3,S18,31~40,2\n,4,N22,0,1\n", kDayFirst, 1, 1,
       {{2, "Longitude : « 31~40 » sans sa lettre E ou W, que demande une ligne écrite en lettres."}},
       Expected{{2023, 5, 30}, {}, 22, {}, 0, 1, {}}},
      {"no 0 is a day observed without groups", kDayFirstHeader + "2023/7/1,0,,,\n", kDayFirst, 0, 1, {}, {}},
      {"rows after a refused date refused with it",
       kDayFirstHeader + "2023/2/30,1,N1,E1,1\n,2,N2,E2,1\n2023/3/1,1,N3,E3,1\n", kDayFirst, 1, 1,
       {{2, "Date : « 2023/2/30 » n'est pas une date."},
        {3, "Date : celle de la ligne 2, que cette ligne reprend, est refusée."}},
       Expected{{2023, 3, 1}, {}, 3, {}, -3, 1, {}}},
      {"a French header with the decimal comma",
       "Date;Heure TU;Latitude;DMC;Aire_MSH;Tâches;Remarque\n3/2/2014;9h05;N12,5;E20,5;35,5;4;nuages\n", kNamed, 1, 1,
       {}, Expected{{2014, 2, 3}, 545 / 1440.0, 12.5, {}, -20.5, 4, 35.5}},
      {"a latitude past 90 refused", "date,latitude,cmd\n2014-02-03,S95,E10\n2014-02-04,,\n", kNamed, 0, 2,
       {{2, "Latitude : « S95 » dépasse 90°."}}, {}},
      {"a record's place carried a little past the limb kept, a distance past 180 refused",
       "date,latitude,cmd\n2014-02-03,12,93\n2014-02-04,12,E181\n", kNamed, 1, 2,
       {{3, "DMC : « E181 » dépasse 180°."}}, Expected{{2014, 2, 3}, {}, 12, {}, 93, {}, {}}},
      {"an hour and a longitude that are not ones refused",
       "date,time_ut,latitude,longitude\n2014-02-03,25:00,10,20\n2014-02-04,09:05,10,361\n", kNamed, 0, 2,
       {{2, "Heure TU : « 25:00 » n'est pas une heure, 09:05 par exemple."},
        {3, "Longitude : « 361 » hors de 0 à 360°."}},
       {}},
      {"Disque's spots: each one with a place a group of one spot",
       "date;heure_tu;numero;x_px;B_deg;L_deg;DMC_deg;aire_msh\n2014-02-03;09:05:30;7;10;-12,5;250,1;-20,4;35\n"
       "2014-02-03;09:05:30;8;12;;;;\n",
       kDisque, 1, 1, {}, Expected{{2014, 2, 3}, 32730 / 86400.0, -12.5, 250.1, -20.4, 1, 35}},
      {"another file refused at line 1", "jour,g,f\n2014-02-03,1,2\n", kNamed, 0, 0,
       {{1, "Ce fichier n'est ni un relevé de taches de Disque ni une liste de groupes : son en-tête ne nomme pas "
            "les colonnes date, latitude et longitude (ou cmd)."}},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const GroupList list = readGroupList(c.text);
    EXPECT_EQ(list.kind, c.kind);
    EXPECT_EQ(list.groups.size(), c.groups);
    EXPECT_EQ(list.days.size(), c.days);
    ASSERT_EQ(list.refusals.size(), c.refused.size());
    for (std::size_t i = 0; i < c.refused.size(); ++i) {
      EXPECT_EQ(list.refusals[i].line, c.refused[i].line);
      EXPECT_EQ(list.refusals[i].message, c.refused[i].message);
    }
    if (!c.last || list.groups.empty()) continue;
    const ListedGroup& g = list.groups.back();
    const Expected& e = *c.last;
    EXPECT_EQ(g.date, e.date);
    EXPECT_EQ(g.timeGiven, e.time.has_value());
    if (e.time) {
      EXPECT_NEAR(g.dayFraction, *e.time, 1e-9);
    }
    EXPECT_DOUBLE_EQ(g.latitude, e.latitude);
    EXPECT_EQ(g.longitude.has_value(), e.longitude.has_value());
    if (e.longitude && g.longitude) {
      EXPECT_NEAR(*g.longitude, *e.longitude, 1e-9);
    }
    EXPECT_EQ(g.centralMeridianDistance, e.distance);
    EXPECT_EQ(g.spots, e.spots);
    EXPECT_EQ(g.areaMsh, e.area);
  }
}

// NOAA's region 11936 at 2014-01-02 00:00 UT: CMD 49° west, L 225° (whole degrees).
TEST(GroupList, PlacesDistancesAtTheObservationsTime) {
  const struct {
    const char* name;
    std::string row;
    double usualHour;
    double longitude;
  } cases[] = {
      {"no time: the usual hour, midnight", "2014-01-02,,S16,W49", 0.0, 225.0},
      {"no time: the usual hour, noon, half a day's turn later", "2014-01-02,,S16,W49", 0.5, 218.4},
      {"the list's own time before the usual hour", "2014-01-02,00:00,S16,W49", 0.5, 225.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GroupList list = readGroupList("date,heure,lat,dmc\n" + c.row + "\n");
    placeGroups(list, c.usualHour);
    ASSERT_EQ(list.groups.size(), 1u);
    ASSERT_TRUE(list.groups[0].longitude);
    EXPECT_NEAR(*list.groups[0].longitude, c.longitude, 0.8);
  }
}

}  // namespace
}  // namespace kavrel::journal
