#include "journal/reports.h"

#include <gtest/gtest.h>

#include "journal/import.h"

namespace kavrel::journal {
namespace {

Observation observed(int day, TimeOfDay time, std::optional<int> seeing, Tally counts, std::string remarks = {}) {
  Observation o;
  o.date = {2003, 5, day};
  o.time = time;
  o.seeing = seeing;
  o.counts = counts;
  o.remarks = std::move(remarks);
  return o;
}

// The section's published line is the 12th: 2 groups and 8 spots north, 3 and 15 south,
// seeing E at 23:12 UT. A worse observation of the same day, a day counted on the disc
// alone without seeing, and an observation of another month come with it.
const std::vector<Observation> kMay2003 = {
    observed(12, {23, 12}, 5, Tally::of({2, 8}, {3, 15}), "voilé, puis clair"),
    observed(3, {9, 5}, std::nullopt, Tally::wholeDisc({4, 20})),
    observed(12, {8, 0}, 3, Tally::of({1, 1}, {0, 0})),
    [] {
      Observation june = observed(1, {9, 0}, 4, Tally::wholeDisc({1, 1}));
      june.date.month = 6;
      return june;
    }(),
};

TEST(MonthReport, InEachNetworksForm) {
  const std::string aavso =
      "Solar data from: HUZR\nJiří Novák\nFor the month of: MAY 2003\nDay see UT g s W ng sg ns ss Obs.\n"
      " 3 - 0905 4 20 60 - - - - HUZR\n"
      "12 E 2312 5 23 73 2 3 8 15 HUZR\n";
  const std::string baa =
      "Observer,Jiří Novák\nMonth,May 2003\nDay,gn,gs,g,fn,fs,f,R\n3,,,4,,,20,60\n12,2,3,5,8,15,23,73\n"
      "MDF,2.00,3.00,4.50,,,,66.50\n";
  const struct {
    const char* name;
    ReportFormat format;
    const char* separator;
    std::optional<double> k;
    const char* fileName;
    std::string bytes;
  } cases[] = {
      {"AAVSO: a whole-disc day writes - for the hemispheres", ReportFormat::Aavso, ",", std::nullopt, "HUZR0305.RAW",
       aavso},
      {"AAVSO: raw counts under a k, W = 10 g + s", ReportFormat::Aavso, ",", 1.2, "HUZR0305.RAW", aavso},
      {"BAA: the same bytes in a French locale", ReportFormat::Baa, ",", std::nullopt, "baa-HUZR-2003-05.csv", baa},
      {"BAA: the same bytes with the point", ReportFormat::Baa, ".", std::nullopt, "baa-HUZR-2003-05.csv", baa},
      {"BAA: raw counts and mean under a k", ReportFormat::Baa, ",", 1.2, "baa-HUZR-2003-05.csv", baa},
      {"CESLOPOL: Q the seeing, Obr. not kept, raw under a k", ReportFormat::Ceslopol, ",", 1.2,
       "ceslopol-HUZR-2003-05.csv",
       "Rok;M\xECs\xED" "c;Den;U;T;\xC8.Poz.;Pozorovatel;Q;Obr.;g;f;r\r\n"
       "2003;5;3;9;5;7;Ji\xF8\xED Nov\xE1k;;;4;20;60\r\n"
       "2003;5;12;23;12;7;Ji\xF8\xED Nov\xE1k;5;;5;23;73\r\n"},
      {"the suite's CSV, R as counted", ReportFormat::Csv, ".", std::nullopt, "journal-HUZR-2003-05.csv",
       "date,heure_tu,observateur,seeing,transparence,g_nord,f_nord,g_sud,f_sud,g_disque,f_disque,R,R_nord,R_sud,"
       "remarque\n"
       "2003-05-03,09:05,HUZR,,,,,,,4,20,60,,,\n"
       "2003-05-12,08:00,HUZR,3,,1,1,0,0,1,1,11,11,0,\n"
       "2003-05-12,23:12,HUZR,5,,2,8,3,15,5,23,73,28,45,\"voilé, puis clair\"\n"},
      // R stays raw; R_k is R × k rounded (87.6 is 88, 13.2 is 13).
      {"the suite's CSV says its k and R × k", ReportFormat::Csv, ",", 1.2, "journal-HUZR-2003-05.csv",
       "date;heure_tu;observateur;seeing;transparence;g_nord;f_nord;g_sud;f_sud;g_disque;f_disque;R;R_nord;R_sud;k;"
       "R_k;remarque\n"
       "2003-05-03;09:05;HUZR;;;;;;;4;20;60;;;1,2;72;\n"
       "2003-05-12;08:00;HUZR;3;;1;1;0;0;1;1;11;11;0;1,2;13;\n"
       "2003-05-12;23:12;HUZR;5;;2;8;3;15;5;23;73;28;45;1,2;88;voilé, puis clair\n"},
  };
  Observer observer;
  observer.id = 7;
  observer.code = "HUZR";
  observer.name = "Jiří Novák";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Report report = monthReport(c.format, observer, 2003, 5, kMay2003, c.separator, c.k);
    EXPECT_EQ(report.fileName, c.fileName);
    EXPECT_EQ(report.bytes, c.bytes);
  }
}

// The suite's own CSV of a month is a log the import takes back as it was, with a k or
// without.
TEST(MonthReport, CsvImportsBack) {
  Observer observer;
  observer.code = "HUZR";
  for (const char* separator : {",", "."})
    for (const std::optional<double> k : {std::optional<double>(), std::optional<double>(1.22)}) {
      SCOPED_TRACE(std::string(separator) + (k ? " with a k" : ""));
      const Report report = monthReport(ReportFormat::Csv, observer, 2003, 5, kMay2003, separator, k);
      const ParsedLog log = parseLog(report.bytes, {2003, 6, 1});
      ASSERT_TRUE(log.refusals.empty()) << log.refusals[0].message;
      ASSERT_EQ(log.rows.size(), 3u);
      const Observation& back = log.rows[2].observation;
      EXPECT_EQ(back.counts.north, kMay2003[0].counts.north);
      EXPECT_EQ(back.counts.south, kMay2003[0].counts.south);
      EXPECT_EQ(back.remarks, kMay2003[0].remarks);
      EXPECT_FALSE(log.rows[0].observation.counts.split());
      EXPECT_EQ(log.rows[0].observerCode, "HUZR");
    }
}

TEST(MonthReport, FormatsByName) {
  EXPECT_EQ(reportFormatNamed("ceslopol"), ReportFormat::Ceslopol);
  EXPECT_EQ(reportFormatNamed("AAVSO"), ReportFormat::Aavso);
  EXPECT_EQ(reportFormatNamed("aavs"), std::nullopt);
}

}  // namespace
}  // namespace kavrel::journal
