// The bulletin written as PDF, read back with pdftotext -bbox: its sheets, their size, the
// words within the margins, the long list carried on to a second sheet.
#include "pictures/network_bulletin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace kavrel::reseau {
namespace {

constexpr char kLongCode[] = "OBSERVATRICE-DONT-LE-CODE-EST-BIEN-TROP-LONG-POUR-LA-COLONNE-DES-CODES";

Bulletin bulletinOf(int observers) {
  std::vector<NetworkObservation> observations;
  for (int i = 0; i < observers; ++i) {
    NetworkObservation o;
    o.observer = i == 1 ? kLongCode : "OBS" + std::to_string(100 + i);
    o.date = {2014, 2, 1 + i % 28};
    o.disc = {i % 9, 3 * i};
    observations.push_back(o);
  }
  NetworkSeries series;
  for (int day = 1; day <= 28; ++day) series.days.push_back({dayNumber({2014, 2, day}), 3, 80.0 + day, 4.5});
  for (int year = 2010; year <= 2014; ++year)
    for (int month = 1; month <= 12; ++month) {
      NetworkMonth m;
      m.year = year;
      m.month = month;
      m.days = 25;
      m.network = 60 + 5.0 * month;
      m.silso = 62 + 5.0 * month;
      series.months.push_back(m);
    }
  return makeBulletin(2014, 2, observations, {}, series);
}

struct Page {
  double width = 0, height = 0;
  QStringList lines;   // the words of each line, left to right, top line first
  bool inside = true;  // every word within the margins
};

// The PDF's pages as pdftotext -bbox gives them, its words gathered in lines.
std::vector<Page> pagesOf(const QString& pdf, double marginMm) {
  QProcess text;
  text.start("/usr/bin/pdftotext", {"-bbox", pdf, "-"});
  text.waitForFinished();
  const QString boxes = QString::fromUtf8(text.readAllStandardOutput());
  const double margin = marginMm / 25.4 * 72 - 0.05;  // points
  std::vector<Page> pages;
  const QRegularExpression page(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
  const QRegularExpression word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  for (const QString& part : boxes.split("</page>")) {
    const auto size = page.match(part);
    if (!size.hasMatch()) continue;
    Page p{size.captured(1).toDouble(), size.captured(2).toDouble(), {}, true};
    std::map<long, std::map<double, QString>> lines;  // by the words' foot, then their left
    for (auto it = word.globalMatch(part); it.hasNext();) {
      const auto m = it.next();
      const double left = m.captured(1).toDouble(), top = m.captured(2).toDouble();
      const double right = m.captured(3).toDouble(), foot = m.captured(4).toDouble();
      QString w = m.captured(5);
      w.replace("&apos;", "'").replace("&quot;", "\"").replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
      lines[std::lround(foot)][left] = w;
      p.inside = p.inside && left >= margin && top >= margin && right <= p.width - margin && foot <= p.height - margin;
    }
    for (const auto& [foot, words] : lines) {
      QStringList line;
      for (const auto& [left, w] : words) line << w;
      p.lines << line.join(' ');
    }
    pages.push_back(p);
  }
  return pages;
}

TEST(BulletinPdf, A4SheetsWithinTheMarginsNothingCut) {
  const struct {
    const char* name;
    int observers;
    int sheets;
    std::vector<const char*> lastSheet;  // texts on the last sheet
  } cases[] = {
      {"no observer said so", 0, 1, {"Aucun observateur n'a envoyé de jour de ce mois.", "Page 1 sur 1"}},
      {"a dozen observers on one sheet", 12, 1,
       {"Bulletin du réseau — février 2014", "OBS111 1 53,0 – –", "14 3 94,0 4,5 28 3 108,0 4,5", "Page 1 sur 1"}},
      {"forty go on to a second sheet", 40, 2,
       {"Bulletin du réseau — février 2014 (suite)", "OBS139 1 147,0 – –", "14 3 94,0 4,5 28 3 108,0 4,5",
        "Page 2 sur 2"}},
  };
  QTemporaryDir folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bulletin bulletin = bulletinOf(c.observers);
    EXPECT_EQ(bulletinPageCount(bulletin), c.sheets);
    const QString pdf = folder.filePath(QString::number(c.observers) + ".pdf");
    QString error;
    ASSERT_TRUE(writeBulletin(pdf, bulletin, &error)) << error.toStdString();
    const std::vector<Page> pages = pagesOf(pdf, 10);
    ASSERT_EQ(static_cast<int>(pages.size()), c.sheets);
    QStringList all;
    for (const Page& p : pages) {
      EXPECT_NEAR(p.width, 595.3, 0.5);
      EXPECT_NEAR(p.height, 841.9, 0.5);
      EXPECT_TRUE(p.inside);
      all += p.lines;
    }
    for (const char* text : c.lastSheet)
      EXPECT_TRUE(pages.back().lines.contains(QString::fromUtf8(text))) << text;
    // Every observer on a line of its own; the long code shortened before its days.
    for (const auto& o : bulletin.observers) {
      if (o.code == kLongCode) continue;
      EXPECT_EQ(all.filter(QRegularExpression('^' + QString::fromStdString(o.code) + ' ')).size(), 1) << o.code;
    }
    EXPECT_EQ(all.filter(QRegularExpression("^OBSERVATRICE-DONT-LE[-A-Z]*… 1 13,0 – –$")).size(),
              c.observers > 1 ? 1 : 0);
  }
  QString error;
  EXPECT_FALSE(writeBulletin(folder.filePath("absent/b.pdf"), bulletinOf(1), &error));
  EXPECT_TRUE(error.startsWith(QString::fromUtf8("Le fichier « "))) << error.toStdString();
}

}  // namespace
}  // namespace kavrel::reseau

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
