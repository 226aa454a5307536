// Disque's "Carte synoptique…" on real widgets: two synthetic photographs of one rotation
// (FITS dated, the limb found on the image) and a file that is not one, chosen through the
// dialogs' hooks; the map made behind the progress dialog, shown, and saved as PNG or FITS
// or not written where no folder is; a cancel leaves nothing written; a rotation or step
// typed wrong, or a rotation the ephemeris does not reach, said and nothing made.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <string>
#include <vector>

#include "image/image_reader.h"
#include "programs/disque/disque_window.h"
#include "programs/disque/synoptic_window.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::disque;
using namespace kavrel::testing;

namespace {

constexpr int kSize = 200;

// A limb-darkened disc of radius 80 px centred in a 200 px square, 8-bit FITS dated `date`.
void writePhotograph(const QString& path, const char* date) {
  std::string bytes;
  const std::vector<std::string> header{"SIMPLE  =                    T", "BITPIX  =                    8",
                                        "NAXIS   =                    2", "NAXIS1  =                  200",
                                        "NAXIS2  =                  200", std::string("DATE-OBS= '") + date + "'",
                                        "END"};
  for (const std::string& card : header) bytes += card + std::string(80 - card.size(), ' ');
  bytes.resize(2880, ' ');
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const double r = std::hypot(x - 99.5, y - 99.5) / 80;
      bytes += static_cast<char>(static_cast<unsigned char>(r < 1 ? 60 + 180 * std::sqrt(1 - r * r) : 8));
    }
  bytes.resize((bytes.size() + 2879) / 2880 * 2880, '\0');
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Two photographs of rotation 2102 and a text file, in `dir`; their paths, in that order.
QStringList writeSeries(const QTemporaryDir& dir) {
  const QStringList paths{dir.filePath("a.fits"), dir.filePath("b.fits"), dir.filePath("notes.txt")};
  writePhotograph(paths[0], "2010-10-15T23:00:11");
  writePhotograph(paths[1], "2010-10-20T12:00:00");
  QFile notes(paths[2]);
  if (notes.open(QIODevice::WriteOnly)) notes.write("pas une image\n");
  return paths;
}

struct Asked {
  SynopticChoice proposed;
  QString photographs;
  int saves = 0;
};

// The window's dialogs answered: the series, `rotation` and `step` typed, `saveAs` chosen.
void answer(OpenWindow<Disque>& f, const QStringList& paths, const SynopticChoice& typed, const QString& saveAs,
            Asked& asked) {
  SynopticCommand& command = f.w().synoptic();
  command.setImagesDialog([paths](const QString&) { return paths; });
  command.setChoiceDialog([typed, &asked](const QString& photographs, const SynopticChoice& proposed) {
    asked.proposed = proposed;
    asked.photographs = photographs;
    return std::optional<SynopticChoice>(typed);
  });
  command.setSaveDialog([saveAs, &asked](const QString&) {
    ++asked.saves;
    return saveAs;
  });
}

}  // namespace

class DisqueSynopticTest : public QObject {
  Q_OBJECT

 private slots:
  void aMapMadeAndSaved_data();
  void aMapMadeAndSaved();
  void cancelLeavesNothingWritten();
  void aChoiceRefused_data();
  void aChoiceRefused();
};

void DisqueSynopticTest::aMapMadeAndSaved_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<bool>("written");
  QTest::newRow("PNG") << "carte.png" << true;
  QTest::newRow("FITS") << "carte.fits" << true;
  QTest::newRow("FITS, short suffix, capitals") << "carte.FTS" << true;
  QTest::newRow("a folder that is not there") << "absent/carte.fits" << false;
}

void DisqueSynopticTest::aMapMadeAndSaved() {
  QFETCH(QString, file);
  QFETCH(bool, written);
  QTemporaryDir dir;
  const QStringList paths = writeSeries(dir);
  OpenWindow<Disque> f;
  Asked asked;
  answer(f, paths, {"2102", "1"}, dir.filePath(file), asked);
  f.w().show();
  QVERIFY(QTest::qWaitForWindowActive(&f.w()));
  QTest::keyClick(&f.w(), Qt::Key_Y, Qt::AltModifier);  // the button's click follows, animated
  QTRY_VERIFY(f.w().synoptic().view() != nullptr);

  QCOMPARE(asked.proposed.rotation, QStringLiteral("2102"));  // under way on 2010-10-15
  QCOMPARE(asked.proposed.step, QStringLiteral("0,1"));
  QVERIFY(asked.photographs.contains(QStringLiteral("3 photographies")));
  // The text file is said with its reason; the two photographs make the map.
  QCOMPARE(f.desktop.messages.shown.size(), std::size_t{1});
  QVERIFY(f.desktop.messages.shown[0].text.contains(QStringLiteral("« notes.txt » : ")));
  SynopticView* view = f.w().synoptic().view();
  QVERIFY(view != nullptr && view->isVisible());
  QCOMPARE(view->map().width, 360);
  QVERIFY(view->map().covered() > 0);
  QVERIFY(view->summary().startsWith(QStringLiteral("Rotation 2102 : 2 photographies placées sur 3, ")));
  QVERIFY(view->summary().endsWith(QStringLiteral(", 1° par pixel.")));

  view->saveButton()->click();
  QCOMPARE(asked.saves, 1);
  QCOMPARE(QFile::exists(dir.filePath(file)), written);
  QCOMPARE(view->status().contains(QStringLiteral("enregistré")), written);
  QCOMPARE(f.desktop.messages.shown.size(), written ? std::size_t{1} : std::size_t{2});
  if (!written) {
    QVERIFY(f.desktop.messages.shown[1].text.contains(QStringLiteral("n'a pas pu être écrit")));
    return;
  }
  const image::ImageReadOutcome read = image::readImageFile(dir.filePath(file));
  QVERIFY(read.ok());
  QCOMPARE(read.image.width(), 360);
  QCOMPARE(read.image.height(), 180);
}

void DisqueSynopticTest::cancelLeavesNothingWritten() {
  QTemporaryDir dir;
  const QStringList paths = writeSeries(dir);
  OpenWindow<Disque> f;
  Asked asked;
  answer(f, paths, {"2102", "1"}, dir.filePath("carte.fits"), asked);
  bool cancelled = false;
  f.w().synoptic().setProgressShown([&cancelled](QProgressDialog& progress) {
    QPushButton* cancel = progress.findChild<QPushButton*>();
    if (cancel == nullptr || cancel->text() != QStringLiteral("Annuler")) return;
    cancel->click();
    cancelled = true;
  });
  f.w().button("cmdCarte")->click();
  QVERIFY(cancelled);
  QVERIFY(f.w().synoptic().view() == nullptr);
  QCOMPARE(asked.saves, 0);
  QVERIFY(f.desktop.messages.shown.empty());
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

void DisqueSynopticTest::aChoiceRefused_data() {
  QTest::addColumn<QString>("rotation");
  QTest::addColumn<QString>("step");
  QTest::addColumn<QString>("said");
  QTest::newRow("rotation not a number") << "21O2" << "1" << "La rotation de Carrington est un nombre entier";
  QTest::newRow("rotation with a fraction") << "2102,5" << "1" << "La rotation de Carrington est un nombre entier";
  QTest::newRow("step not dividing 180") << "2102" << "0,7" << "Le pas de la carte";
  // Each photograph said with the reason the map is refused, in one message.
  QTest::newRow("photographs of another rotation") << "2200" << "1"
                                                   << "Aucune photographie n'a pu être placée sur la carte.\n"
                                                      "« a.fits » : prise le 2010-10-15 à 23:00 TU, plus de 7 jours hors";
}

void DisqueSynopticTest::aChoiceRefused() {
  QFETCH(QString, rotation);
  QFETCH(QString, step);
  QFETCH(QString, said);
  QTemporaryDir dir;
  const QStringList paths = writeSeries(dir).mid(0, 2);
  OpenWindow<Disque> f;
  Asked asked;
  answer(f, paths, {rotation, step}, dir.filePath("carte.fits"), asked);
  f.w().button("cmdCarte")->click();
  QCOMPARE(f.desktop.messages.shown.size(), std::size_t{1});
  QVERIFY2(f.desktop.messages.shown[0].text.contains(said), qPrintable(f.desktop.messages.shown[0].text));
  QVERIFY(f.w().synoptic().view() == nullptr);
  QCOMPARE(asked.saves, 0);
}

QTEST_MAIN(DisqueSynopticTest)
#include "disque_synoptic_test.moc"
