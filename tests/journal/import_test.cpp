#include "journal/import.h"

#include <gtest/gtest.h>

#include <optional>

namespace kavrel::journal {
namespace {

constexpr Day kToday{2014, 3, 1};
constexpr const char* kHeader = "date;heure_tu;g_nord;f_nord;g_sud;f_sud;seeing;observateur;remarque\n";

// What a good row becomes.
TEST(ImportLog, ReadsTheRowsValues) {
  const ParsedLog log = parseLog(std::string(kHeader) + "2014-02-03;9:05;2;8;3;15;G;HUZR;\"nuages; vent\"\n", kToday);
  ASSERT_TRUE(log.refusals.empty()) << log.refusals[0].message;
  ASSERT_EQ(log.rows.size(), 1u);
  const ImportRow& row = log.rows[0];
  EXPECT_EQ(row.line, 2);
  EXPECT_EQ(row.observation.date, (Day{2014, 2, 3}));
  EXPECT_EQ(row.observation.time, (TimeOfDay{9, 5}));
  EXPECT_EQ(row.observation.counts.north, (Counts{2, 8}));
  EXPECT_EQ(row.observation.counts.disc, (Counts{5, 23}));
  EXPECT_EQ(row.observation.seeing, 4);
  EXPECT_EQ(row.observerCode, "HUZR");
  EXPECT_EQ(row.observation.remarks, "nuages; vent");
}

// Each row: a file, the rows it imports, and its first refusal (line and the message's start).
TEST(ImportLog, RefusesWithTheFilesLine) {
  const std::string h = kHeader;
  const struct {
    const char* name;
    std::string text;
    std::size_t rows;
    int line;
    const char* message;
  } cases[] = {
      {"f below g", h + "2014-02-03;09:05;2;1;0;0;;;\n", 0, 2, "f nord : chaque groupe"},
      {"a missing column", "date;heure_tu;g_nord;f_nord;g_sud;seeing\n2014-02-03;09:05;1;1;1;4\n", 0, 1,
       "En-tête : il manque la colonne « f_sud »"},
      {"an unknown column", "date;heure;g_disque;f_disque\n", 0, 1, "En-tête : colonne « heure » inconnue"},
      {"a bad date", h + "2014-02-03;09:05;1;1;1;1;;;\n03.02.2014;09:05;1;1;1;1;;;\n", 1, 3,
       "Date : « 03.02.2014 » n'est pas une date"},
      {"a day that does not exist", h + "2014-02-30;09:05;1;1;1;1;;;\n", 0, 2, "Date : le 30/2/2014 n'existe pas."},
      {"a future date", h + "2014-03-02;09:05;1;1;1;1;;;\n", 0, 2, "Date : le 2 mars 2014 est après"},
      {"a quoted separator and line break keep the lines counted",
       h + "2014-02-03;09:05;1;1;1;1;;;\"a;\nb\"\n2014-02-04;9:5;1;1;1;1;;;\n", 1, 4, "Heure TU : « 9:5 »"},
      {"CRLF and a byte order mark", "\xEF\xBB\xBF" + h.substr(0, h.size() - 1) + "\r\n2014-02-03;09:05;1;1;1;1;;;\r\n"
       "2014-02-04;09:05;1;x;1;1;;;\r\n", 1, 3, "f nord : « x » n'est pas"},
      {"a comma file", "date,heure_tu,g_disque,f_disque,seeing\n3/2/2014,09:05,4,20,E\n2014-02-04,09:05,4,20,7\n", 1,
       3, "Seeing : de 1 à 5"},
      {"a field too many", h + "2014-02-03;09:05;1;1;1;1;;;;\n", 0, 2, "10 champs au lieu des 9"},
      {"half the hemispheres", h + "2014-02-03;09:05;1;1;;;;;\n", 0, 2, "g nord, f nord, g sud, f sud : les quatre"},
      {"a day without counts nor remark", h + "2014-02-03;;;;;;;;\n", 0, 2, "Heure TU et comptes vides"},
      {"a seeing without counts is no day of clouds", h + "2014-02-03;;;;;;4;;C\n", 0, 2,
       "Heure TU et comptes vides"},
      {"a day of clouds to come", h + "2014-02-03;;;;;;;;C\n2014-03-02;;;;;;;;C\n", 0, 3,
       "Date : le 2 mars 2014 est après"},
      {"a day of clouds at no real time", h + "2014-02-03;25:00;;;;;;;C\n", 0, 2, "Heure TU : 25:00 n'existe pas"},
      {"north and south against the disc", "date;heure_tu;g_nord;f_nord;g_sud;f_sud;g_disque;f_disque\n"
       "2014-02-03;09:05;1;1;1;1;3;2\n", 0, 2, "g disque : nord et sud font 2 groupes"},
      {"an unclosed quote ends the reading", h + "2014-02-03;09:05;1;1;1;1;;;\"oh\n2014-02-04;09:05;1;1;1;1;;;\n", 0,
       2, "un guillemet ouvert"},
      {"a remark not in UTF-8", h + "2014-02-03;09:05;1;1;1;1;;;\xE9t\xE9\n", 0, 2, "Remarque : ce texte"},
      {"a count past any sun", h + "2014-02-03;09:05;1;12345678901;1;1;;;\n", 0, 2, "f nord : « 12345678901 » est trop"},
      {"an empty file", "", 0, 1, "En-tête : la première ligne"},
      {"a spreadsheet's UTF-16 text", std::string("\xFF\xFE" "d\0a\0", 6), 0, 1, "Ce fichier est en UTF-16"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ParsedLog log = parseLog(c.text, kToday);
    EXPECT_EQ(log.rows.size(), c.rows);
    ASSERT_FALSE(log.refusals.empty());
    EXPECT_EQ(log.refusals[0].line, c.line);
    EXPECT_TRUE(log.refusals[0].message.starts_with(c.message)) << log.refusals[0].message;
  }
}

// A row without counts but with its remark is a day not observed, its weather kept.
TEST(ImportLog, ADayNotObservedKeepsItsWeather) {
  const struct {
    const char* name;
    const char* row;
    std::optional<TimeOfDay> time;
    const char* remarks;
    const char* code;
  } cases[] = {
      {"the weather alone", "2014-02-03;;;;;;;;C", std::nullopt, "C", ""},
      {"the time the observer looked", "2014-02-03;7:30;;;;;;FUJI;C-R", TimeOfDay{7, 30}, "C-R", "FUJI"},
      {"a remark in quotes, the French date", "3/2/2014;;;;;;;;\"pluie; vent\"", std::nullopt, "pluie; vent", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ParsedLog log = parseLog(std::string(kHeader) + "2014-02-01;09:05;1;1;0;0;;;\n" + c.row + "\n", kToday);
    ASSERT_TRUE(log.refusals.empty()) << log.refusals[0].message;
    EXPECT_EQ(log.rows.size(), 1u);
    ASSERT_EQ(log.unobserved.size(), 1u);
    const UnobservedRow& row = log.unobserved[0];
    EXPECT_EQ(row.line, 3);
    EXPECT_EQ(row.day.date, (Day{2014, 2, 3}));
    EXPECT_EQ(row.day.time, c.time);
    EXPECT_EQ(row.day.remarks, c.remarks);
    EXPECT_EQ(row.observerCode, c.code);
  }
}

TEST(ImportLog, AHeaderAloneImportsNothingAndRefusesNothing) {
  const ParsedLog log = parseLog(std::string(kHeader) + "\n;;;;;;;;\n", kToday);
  EXPECT_TRUE(log.rows.empty());
  EXPECT_TRUE(log.refusals.empty());
}

// A file of something else stops being read after a thousand refused lines.
TEST(ImportLog, GarbageEndsTheReading) {
  std::string text = kHeader;
  for (int i = 0; i < 100000; ++i) text += "x\n";
  const ParsedLog log = parseLog(text, kToday);
  EXPECT_EQ(log.refusals.size(), 1001u);
  EXPECT_EQ(log.refusals.back().line, 1002);
}

}  // namespace
}  // namespace kavrel::journal
