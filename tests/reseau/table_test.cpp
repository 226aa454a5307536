// The files observers send: what is refused and why, the forms a coordinator's table
// takes, and the Journal's own reports read back.
#include "reseau/table.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "journal/reports.h"

namespace kavrel::reseau {
namespace {

constexpr Day kToday{2020, 12, 31};
constexpr const char* kHeader = "observer;instrument;date;time_ut;quality;image;g;f\n";
constexpr const char* kGood = "IVAN;R 150 2250 18 Projekce ;1984-02-15;10:20;2;2;7;35\n";

std::string allRefusals(const Table& table) {
  std::string text;
  for (const TableRefusal& r : table.refusals) text += std::to_string(r.line) + ": " + r.message + "\n";
  return text;
}

// Each case a file the network received; one line refused, with its reason, and the
// rest read.
TEST(ReadTable, RefusesABadRowWithItsLineAndReason) {
  const std::string h = kHeader;
  const struct {
    const char* name;
    std::string file;
    int line;
    const char* reason;
    std::size_t rowsRead;
  } cases[] = {
      {"no counts in the header", "observer;date;quality\nIVAN;1984-02-15;2\n", 1,
       "Ce fichier n'est pas une table d'observations : colonnes manquantes : g, f.", 0},
      {"a file cut in its last number", h + kGood + "IVAN;R;1984-02-17;11:20;3;3;5;2", 3,
       "la dernière ligne n'a pas de fin de ligne : le fichier semble coupé au milieu, elle n'est pas lue.", 1},
      {"hours as the source wrote them", h + "IVAN;R;1984-02-15;203:33;2;2;7;35\n" + kGood, 2,
       "Heure TU : 203:33 n'existe pas ; de 0:00 à 23:59.", 1},
      {"minute 60", h + "IVAN;R;1984-02-16;10:60;2;2;7;35\n", 2, "Heure TU : 10:60 n'existe pas ; de 0:00 à 23:59.",
       0},
      {"quality 6", h + kGood + "IVAN;R;1984-02-16;10:20;6;2;7;35\n", 3, "Qualité : de 0 à 5, 5 la meilleure (lu 6).",
       1},
      {"quality 26", h + "IVAN;R;1984-02-16;10:20;26;2;7;35\n", 2, "Qualité : de 0 à 5, 5 la meilleure (lu 26).", 0},
      {"quality not whole", h + "IVAN;R;1984-02-16;10:20;2,5;2;7;35\n", 2,
       "Qualité : « 2,5 » n'est pas un nombre entier de 2 chiffres au plus.", 0},
      {"f < g", h + "IVAN;R;1984-02-16;10:20;2;2;5;3\n", 2,
       "f : chaque groupe a au moins une tache (f = 3 est inférieur à g = 5).", 0},
      {"spots without a group", h + "IVAN;R;1984-02-16;10:20;2;2;0;4\n", 2,
       "g : des taches sans groupe (g = 0 et f = 4) ; une tache isolée est un groupe.", 0},
      {"30 February", h + "IVAN;R;1984-02-30;10:20;2;2;7;35\n", 2, "Date : le 30/2/1984 n'existe pas.", 0},
      {"after today", h + "IVAN;R;2021-01-01;10:20;2;2;7;35\n", 2, "Date : le 1er janvier 2021 est après aujourd'hui.",
       0},
      {"the same observer's day twice", h + kGood + "IVAN;R;1984-02-15;12:00;3;2;8;40\n", 3,
       "Observateur « IVAN » : le 15 février 1984 est déjà à la ligne 2 ; une observation par observateur et par jour.",
       1},
      {"a field missing", h + "IVAN;R;1984-02-15;10:20;2;7;35\n", 2,
       "7 champs au lieu des 8 de l'en-tête (séparateur « ; »).", 0},
      {"no observer", h + " ;R;1984-02-15;10:20;2;2;7;35\n", 2, "Observateur : vide.", 0},
      {"hemispheres that are not the disc", "observer;date;g;f;g_north;f_north;g_south;f_south\nIVAN;1984-02-15;3;9;1;4;1;5\n",
       2, "g disque : nord et sud font 2 groupes, le disque 3.", 0},
      {"R that is not 10 g + f", "observer;date;g;f;r\nIVAN;1984-02-15;3;9;38\n", 2, "R : « 38 » n'est pas 10 g + f = 39.",
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Table table = readTable(c.file, kToday);
    ASSERT_EQ(table.refusals.size(), 1u) << allRefusals(table);
    EXPECT_EQ(table.refusals[0].line, c.line);
    EXPECT_EQ(table.refusals[0].message, c.reason);
    EXPECT_EQ(table.rows.size(), c.rowsRead);
  }
}

struct Expected {
  std::string observer, instrument;
  Day date;
  std::optional<TimeOfDay> time;
  std::optional<int> quality;
  Counts disc;
  std::optional<Counts> north, south;
  std::vector<std::string> setAside;
};

// The forms a coordinator's table comes in, each read to the same kind of row.
TEST(ReadTable, ReadsTheFormsOfACoordinatorsTable) {
  const struct {
    const char* name;
    std::string file;
    Expected row;
  } cases[] = {
      {"the network's own export, its second seeing index set aside", std::string(kHeader) + kGood,
       {"IVAN", "R 150 2250 18 Projekce ", {1984, 2, 15}, TimeOfDay{10, 20}, 2, {7, 35}, {}, {}, {"image"}}},
      {"French names, ',' and quality 0, the network's lowest",
       "observateur,instrument,date,heure_tu,qualite,g,f\nZLOCH,\"R 80; 1000\",1990-07-01,9:05,0,1,1\n",
       {"ZLOCH", "R 80; 1000", {1990, 7, 1}, TimeOfDay{9, 5}, 0, {1, 1}, {}, {}, {}}},
      {"a byte order mark, CRLF, columns in another order, time and quality empty",
       "\xEF\xBB\xBFg;f;date;observer;time_ut;quality\r\n0;0;15/2/1984;IVAN;;\r\n",
       {"IVAN", "", {1984, 2, 15}, {}, {}, {0, 0}, {}, {}, {}}},
      {"Windows-1250", "observer;date;g;f\nJURA\x8A" "EK;15.2.1984;2;28\n",
       {"JURAŠEK", "", {1984, 2, 15}, {}, {}, {2, 28}, {}, {}, {}}},
      {"north and south", "observer;date;g;f;g_nord;f_nord;g_sud;f_sud;r\nIVAN;1984-02-15;3;9;1;4;2;5;39\n",
       {"IVAN", "", {1984, 2, 15}, {}, {}, {3, 9}, Counts{1, 4}, Counts{2, 5}, {}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Table table = readTable(c.file, kToday);
    EXPECT_EQ(table.kind, Table::Kind::Coordinator);
    ASSERT_TRUE(table.refusals.empty()) << allRefusals(table);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].line, 2);
    const NetworkObservation& o = table.rows[0].observation;
    EXPECT_EQ(o.observer, c.row.observer);
    EXPECT_EQ(o.instrument, c.row.instrument);
    EXPECT_EQ(o.date, c.row.date);
    EXPECT_EQ(o.time, c.row.time);
    EXPECT_EQ(o.quality, c.row.quality);
    EXPECT_EQ(o.disc, c.row.disc);
    EXPECT_EQ(o.north, c.row.north);
    EXPECT_EQ(o.south, c.row.south);
    EXPECT_EQ(table.setAside, c.row.setAside);
  }
}

// A month written by the Journal's reports reads back here: one row a day (the day's
// observation the reports choose), the counts as counted.
TEST(ReadTable, ReadsTheJournalsReportsBack) {
  const auto observed = [](int day, TimeOfDay time, std::optional<int> seeing, journal::Tally counts) {
    journal::Observation o;
    o.date = {2003, 5, day};
    o.time = time;
    o.seeing = seeing;
    o.counts = counts;
    return o;
  };
  const std::vector<journal::Observation> month = {
      observed(12, {23, 12}, 5, journal::Tally::of({2, 8}, {3, 15})),
      observed(3, {9, 5}, std::nullopt, journal::Tally::wholeDisc({4, 20})),
      observed(12, {8, 0}, 3, journal::Tally::of({1, 1}, {0, 0})),
  };
  journal::Observer observer;
  observer.id = 7;
  observer.code = "HUZR";
  observer.name = "Łukasz Dvořák";
  const struct {
    journal::ReportFormat format;
    const char* separator;
    Table::Kind kind;
    const char* observer;
    bool hemispheres;
    std::vector<int> otherOfDay;
  } cases[] = {
      {journal::ReportFormat::Csv, ",", Table::Kind::JournalCsv, "HUZR", true, {3}},
      {journal::ReportFormat::Csv, ".", Table::Kind::JournalCsv, "HUZR", true, {3}},
      {journal::ReportFormat::Ceslopol, ",", Table::Kind::Ceslopol, "Łukasz Dvořák", false, {}},
      {journal::ReportFormat::Aavso, ",", Table::Kind::Aavso, "HUZR", true, {}},
  };
  for (const auto& c : cases) {
    const journal::Report report = journal::monthReport(c.format, observer, 2003, 5, month, c.separator);
    SCOPED_TRACE(report.fileName);
    const Table table = readTable(report.bytes, kToday);
    EXPECT_EQ(table.kind, c.kind);
    ASSERT_TRUE(table.refusals.empty()) << allRefusals(table);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.otherOfDay, c.otherOfDay);
    const NetworkObservation& whole = table.rows[0].observation;
    const NetworkObservation& best = table.rows[1].observation;
    EXPECT_EQ(whole.observer, c.observer);
    EXPECT_EQ(whole.date, (Day{2003, 5, 3}));
    EXPECT_EQ(whole.disc, (Counts{4, 20}));
    EXPECT_EQ(whole.quality, std::nullopt);
    EXPECT_FALSE(whole.north.has_value());
    EXPECT_EQ(best.date, (Day{2003, 5, 12}));
    EXPECT_EQ(best.time, (TimeOfDay{23, 12}));
    EXPECT_EQ(best.quality, 5);
    EXPECT_EQ(best.disc, (Counts{5, 23}));
    EXPECT_EQ(best.north, c.hemispheres ? std::optional<Counts>({2, 8}) : std::nullopt);
    EXPECT_EQ(best.south, c.hemispheres ? std::optional<Counts>({3, 15}) : std::nullopt);
  }
}

}  // namespace
}  // namespace kavrel::reseau
