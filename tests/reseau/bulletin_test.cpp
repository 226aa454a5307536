#include "reseau/bulletin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace kavrel::reseau {
namespace {

NetworkObservation seen(const std::string& code, Day date, int groups, int spots) {
  NetworkObservation o;
  o.observer = code;
  o.date = date;
  o.disc = {groups, spots};
  return o;
}

ObserverK k(const std::string& code, int year, double value, bool given = true) {
  ObserverK row;
  row.code = code;
  row.year = year;
  row.given = given;
  row.estimate.ratioOfSums = value;
  return row;
}

TEST(Bulletin, TextsOfAMonth) {
  const std::vector<NetworkObservation> observations = {
      seen("IVAN", {2014, 2, 1}, 2, 5),    seen("IVAN", {2014, 2, 3}, 3, 10), seen("IVAN", {2014, 2, 4}, 0, 0),
      seen("PETR", {2014, 2, 3}, 5, 7),    seen("ZDENĚK", {2014, 2, 3}, 1, 1), seen("ZDENĚK", {2014, 2, 8}, 1, 3),
      seen("IVAN", {2014, 3, 1}, 9, 90),
  };
  const std::vector<ObserverK> ks = {k("IVAN", 0, 1.1), k("IVAN", 2014, 1.25), k("IVAN", 2013, 3),
                                     k("PETR", 2014, 2, false), k("PETR", 0, 0.9)};
  NetworkSeries series;
  series.days = {{dayNumber({2014, 2, 3}), 2, 30.55, 3.04}, {dayNumber({2014, 3, 1}), 1, 9, 0},
                 {dayNumber({2014, 2, 1}), 1, 27.5, 0}};
  NetworkMonth february;
  february.year = 2014;
  february.month = 2;
  february.days = 2;
  february.network = 84.26;
  february.silso = 90.04;
  february.observersMean = 1.5;
  series.months = {february};
  const struct {
    const char* name;
    int month;
    const char* title;
    std::vector<std::string> summary;
    std::vector<std::array<std::string, 5>> observers;
    std::vector<std::array<std::string, 4>> days;
  } cases[] = {
      {"the year's k before the period's, none where none is given", 2, "Bulletin du réseau — février 2014",
       {"Réseau : 2 jours, nombre mensuel 84,3", "Moyenne mensuelle SILSO : 90,0",
        "Observateurs : 3, 6 jours observés, 1,5 par jour du réseau en moyenne"},
       {{"IVAN", "3", "21,7", "1,2500", "27,1"}, {"PETR", "1", "57,0", "0,9000", "51,3"},
        {"ZDENĚK", "2", "12,0", "–", "–"}},
       {{"1", "1", "27,5", "0,0"}, {"3", "2", "30,6", "3,0"}}},
      {"a month the network has no number of", 3, "Bulletin du réseau — mars 2014",
       {"Réseau : aucun jour ne donne de nombre ce mois-ci.", "Observateurs : 1, 1 jour observé"},
       {{"IVAN", "1", "180,0", "1,2500", "225,0"}},
       {{"1", "1", "9,0", "0,0"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bulletin b = makeBulletin(2014, c.month, observations, ks, series);
    EXPECT_EQ(b.title, c.title);
    EXPECT_EQ(b.summary, c.summary);
    std::vector<std::array<std::string, 5>> observers;
    for (const auto& o : b.observers) observers.push_back(o.cells);
    EXPECT_EQ(observers, c.observers);
    std::vector<std::array<std::string, 4>> days;
    for (const auto& d : b.days) days.push_back(d.cells);
    EXPECT_EQ(days, c.days);
  }
}

// The picture spans the bulletin's year and the four before, none of the months after it.
TEST(Bulletin, PictureEndsWithTheMonth) {
  NetworkSeries series;
  for (const auto& [year, month] : {std::pair{2008, 12}, std::pair{2009, 1}, std::pair{2014, 2}, std::pair{2014, 3}}) {
    NetworkMonth m;
    m.year = year;
    m.month = month;
    m.network = 10.0 * month;
    series.months.push_back(m);
  }
  const Bulletin b = makeBulletin(2014, 2, {}, {}, series);
  ASSERT_EQ(b.chart.panels.size(), 1u);
  EXPECT_EQ(b.chart.firstYear, 2010);
  EXPECT_EQ(b.chart.lastYear, 2014);
  int drawn = 0;
  for (const auto& p : b.chart.panels[0].series.at(0).points) drawn += !std::isnan(p.y);
  EXPECT_EQ(drawn, 1);
  EXPECT_EQ(bulletinFileName(2014, 2), "reseau-bulletin-2014-02.pdf");
}

}  // namespace
}  // namespace kavrel::reseau
