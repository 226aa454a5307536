// The disc window reducing a photograph: a synthetic Sun opened through the file hook, its
// limb found, a spot clicked and measured, the image and the spots saved, a bad file
// refused; spots not saved asked about before they are lost; an angle typed with a
// decimal point or comma; the three-point limb confirmed, picked again or given up (Esc);
// a FITS header's geometry taken, and left for the limb found.
#include <QtTest>

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cmath>
#include <string>
#include <vector>

#include "image/image_reader.h"
#include "photo/spot_area.h"
#include "programs/disque/disc_view.h"
#include "programs/disque/disque_window.h"
#include "programs/disque/photo_view.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::disque;
using namespace kavrel::testing;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 180;
constexpr double kCentreX = 100;
constexpr double kCentreY = 90;
constexpr double kRadius = 70;
constexpr double kSpotX = 125;
constexpr double kSpotY = 75;
constexpr double kSpotRadius = 7;
constexpr double kUmbraRadius = 3;

// A limb-darkened disc (u = 0.6) on a dark sky with one spot; returns the spot's true area
// in MSH, each pixel counted at 1/mu as the measure counts it.
double writeSun(const QString& path) {
  QImage sun(kWidth, kHeight, QImage::Format_Grayscale16);
  double area = 0;
  for (int y = 0; y < kHeight; ++y) {
    auto* row = reinterpret_cast<quint16*>(sun.scanLine(y));
    for (int x = 0; x < kWidth; ++x) {
      const double r = std::hypot(x - kCentreX, y - kCentreY) / kRadius;
      double value = 1500;
      if (r < 1) {
        const double mu = std::sqrt(1 - r * r);
        value = 50000 * (1 - 0.6 * (1 - mu));
        const double fromSpot = std::hypot(x - kSpotX, y - kSpotY);
        if (fromSpot < kSpotRadius) {
          value *= fromSpot < kUmbraRadius ? 0.35 : 0.75;
          area += 1 / mu;
        }
      }
      row[x] = static_cast<quint16>(value + 300 * std::sin(x * 12.9898 + y * 78.233));  // a little noise
    }
  }
  sun.save(path, "PNG");
  return area / (2 * M_PI * kRadius * kRadius) * 1e6;
}

// Opens the Sun in a shown window through the file hook.
void openSun(OpenWindow<Disque>& f, const QString& path) {
  f.w().show();  // the pointer moves only over a window on screen
  QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
  f.w().setImageDialog([path](const QString&) { return path; });
  // A PNG gives no date: the fields' date, carried, is confirmed when asked.
  f.w().setCarriedQuestion([](const QString&) { return true; });
  f.w().button("cmdOuvrir")->click();
}

void clickPixel(PhotoView* view, double x, double y) {
  const QPoint device = view->mapping().toDevice({x, y}).toPoint();
  QTest::mouseMove(view, device);
  QTest::mouseClick(view, Qt::LeftButton, {}, device);
}

// A disc of radius 60 px centred in a 160 px square, in an 8-bit FITS file dated
// 2001-12-06 09:05:50, with `cards` added to its header.
void writeFits(const QString& path, const std::vector<std::string>& cards) {
  std::string bytes;
  std::vector<std::string> header{"SIMPLE  =                    T", "BITPIX  =                    8",
                                  "NAXIS   =                    2", "NAXIS1  =                  160",
                                  "NAXIS2  =                  160", "DATE-OBS= '2001-12-06T09:05:50'"};
  header.insert(header.end(), cards.begin(), cards.end());
  header.push_back("END");
  for (const std::string& card : header) bytes += card + std::string(80 - card.size(), ' ');
  bytes.resize(2880, ' ');
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 160; ++x) bytes += static_cast<char>(std::hypot(x - 79.5, y - 79.5) < 60 ? 200 : 10);
  bytes.resize((bytes.size() + 2879) / 2880 * 2880, '\0');
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  file.close();
}

double cellNumber(QTableWidget* table, int row, int column) {
  return table->item(row, column)->text().replace(',', '.').toDouble();
}

}  // namespace

class DisquePhotoTest : public QObject {
  Q_OBJECT

 private slots:
  void aPhotographReduced();
  void aFitsDateFillsTheDateFields();
  void aHeaderGeometrySwitched();
  void theStatusReadWhole_data();
  void theStatusReadWhole();
  void anAngleTypedWithEitherSeparator_data();
  void anAngleTypedWithEitherSeparator();
  void unsavedSpotsAskedAbout_data();
  void unsavedSpotsAskedAbout();
  void threePointsConfirmedOrGivenUp_data();
  void threePointsConfirmedOrGivenUp();
  void theImageTakesTheKeys();
  void dialogsInTheLastFolder();
  void theTableGrowsWithTheWindow();
  void spotsTakenBack_data();
  void spotsTakenBack();
};

void DisquePhotoTest::aPhotographReduced() {
  QTemporaryDir dir;
  const QString path = dir.filePath("soleil.png");
  const double trueArea = writeSun(path);
  OpenWindow<Disque> f;
  openSun(f, path);
  QVERIFY(f.desktop.messages.shown.empty());
  QVERIFY(f.w().photograph().image());
  QVERIFY(f.w().photoView()->isVisible());
  QVERIFY(!f.w().discView()->isVisible());
  // A PNG has no date: the status says so rather than taking the fields' silently.
  QVERIFY2(f.w().text("lblPhotoEtat").contains(QString::fromUtf8(kNotReadFromFile)), qPrintable(f.w().text("lblPhotoEtat")));

  // The fields' date, not the image's, is asked about once, at the first spot: refused,
  // no spot; confirmed, the spot is placed and no more is asked.
  std::vector<bool> answers{false, true};
  std::size_t asked = 0;
  QString question;
  f.w().setCarriedQuestion([&](const QString& text) {
    question = text;
    return answers[asked++];
  });
  clickPixel(f.w().photoView(), kSpotX, kSpotY);
  QTableWidget* table = f.w().spotTable();
  QCOMPARE(table->rowCount(), 0);
  clickPixel(f.w().photoView(), kSpotX, kSpotY);
  QCOMPARE(table->rowCount(), 1);
  QCOMPARE(asked, 2u);
  QVERIFY2(question.startsWith(QStringLiteral("Cette image ne donne pas sa date")), qPrintable(question));
  QCOMPARE(table->columnCount(), 9);
  f.w().button("cmdMesurer")->click();
  QVERIFY(f.desktop.messages.shown.empty());
  const double measured = cellNumber(table, 0, 6);
  QVERIFY2(std::abs(measured - trueArea) <= 0.15 * trueArea,
           qPrintable(QString("measured %1 MSH, truth %2").arg(measured).arg(trueArea)));

  // A point of the quiet Sun is no spot.
  clickPixel(f.w().photoView(), kCentreX - 30, kCentreY + 20);
  QCOMPARE(table->rowCount(), 2);
  QCOMPARE(asked, 2u);
  f.w().button("cmdMesurer")->click();
  QCOMPARE(f.desktop.messages.shown.size(), 1u);
  QCOMPARE(f.desktop.messages.shown[0].text, QString::fromUtf8(photo::kNotInSpotMessage.data(),
                                                               static_cast<qsizetype>(photo::kNotInSpotMessage.size())));
  f.desktop.messages.shown.clear();

  const QString png = dir.filePath("mesure.png");
  f.w().setPictureSaveDialog([png](const QString&) { return png; });
  f.w().button("cmdEnregistrer")->click();
  QVERIFY(f.desktop.messages.shown.empty());
  // The image, and its caption in a band under it.
  QCOMPARE(QImage(png).width(), kWidth);
  QVERIFY(QImage(png).height() > kHeight);
  QFile csv(dir.filePath("mesure.csv"));
  QVERIFY(csv.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 3);
  QCOMPARE(lines[1], QString::fromStdString(f.w().photograph().csv()).split('\n')[1]);
  QVERIFY(!f.w().photograph().unsaved());

  // A file that is no image: the reader's words, and the photograph stays.
  const QString bad = dir.filePath("faux.png");
  QFile file(bad);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("pas une image");
  file.close();
  const image::GreyImage* before = f.w().photograph().image();
  f.w().openImage(bad);
  QCOMPARE(f.desktop.messages.shown.size(), 1u);
  QCOMPARE(f.desktop.messages.shown[0].text, QString::fromStdString(image::readImageFile(bad).refusal));
  QCOMPARE(f.desktop.messages.shown[0].style, ui::kStyleExclamation);
  QCOMPARE(f.w().photograph().image(), before);
  QCOMPARE(table->rowCount(), 2);

  // Closed: the drawn disc again, the photograph's spots gone with it.
  f.w().button("cmdFermer")->click();
  QVERIFY(!f.w().photograph().image());
  QVERIFY(f.w().discView()->isVisible());
  QCOMPARE(table->rowCount(), 0);
  QCOMPARE(table->columnCount(), 6);
}

// The instant of a FITS file's header goes into the date fields as if typed, and the
// results follow it; the minute is the one begun (the fields hold whole minutes).
void DisquePhotoTest::aFitsDateFillsTheDateFields() {
  QTemporaryDir dir;
  const QString path = dir.filePath("soleil.fits");
  writeFits(path, {});
  OpenWindow<Disque> f;
  openSun(f, path);
  QVERIFY2(f.desktop.messages.shown.empty(), "no refusal");
  const QStringList fields = {f.w().text("txtJour"), f.w().text("txtMois"), f.w().text("txtAnnée"),
                              f.w().text("txtHeure"), f.w().text("txtMinute")};
  QCOMPARE(fields, (QStringList{"6", "12", "2001", "9", "5"}));
  QCOMPARE(f.w().text("lblP"), QStringLiteral("13,93"));
}

// A header whose limb agrees with the image's is taken, its observer's B and L read; the
// check box goes to the limb found and back.
void DisquePhotoTest::aHeaderGeometrySwitched() {
  QTemporaryDir dir;
  const QString path = dir.filePath("en-tete.fits");
  writeFits(path, {"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'", "CRPIX1  =                 80.5",
                   "CRPIX2  =                 80.5", "CDELT1  =                  2.0", "CDELT2  =                  2.0",
                   "RSUN_OBS=                120.0", "CRLT_OBS=                  7.5", "CRLN_OBS=                100.0"});
  OpenWindow<Disque> f;
  openSun(f, path);
  QVERIFY2(f.desktop.messages.shown.empty(), "no refusal");
  QVERIFY(f.w().checkBox("chkEnTete")->isEnabled());
  const struct {
    LimbSource source;
    const char* status;
  } steps[] = {{LimbSource::Header, kHeaderGeometryTaken}, {LimbSource::Found, "Bord trouvé"},
               {LimbSource::Header, kHeaderGeometryTaken}};
  for (const auto& step : steps) {
    if (&step != steps) f.w().checkBox("chkEnTete")->click();
    QCOMPARE(f.w().photograph().limb()->source, step.source);
    QCOMPARE(f.w().value("chkEnTete"), step.source == LimbSource::Header ? 1 : 0);
    QVERIFY2(f.w().text("lblPhotoEtat").startsWith(QString::fromUtf8(step.status)),
             qPrintable(f.w().text("lblPhotoEtat")));
    // The centre, under the pointer, is at the observer's B0 and L0 (the pointer moved off
    // it first: a move to where it already is reads nothing).
    QTest::mouseMove(f.w().photoView(), f.w().photoView()->mapping().toDevice({0, 0}).toPoint());
    QTest::mouseMove(f.w().photoView(), f.w().photoView()->mapping().toDevice({79.5, 79.5}).toPoint());
    // The pointer lands on the device pixel nearest the centre: B is B0 within what that
    // distance r (disc radii) turns it by.
    const double r = f.w().text("lblPtDistance").replace(',', '.').toDouble();
    const double b = f.w().text("lblPtB").replace(',', '.').toDouble();
    QVERIFY2(r < 0.01 && std::abs(b - 7.5) <= 0.005 + 60 * r, qPrintable(f.w().text("lblPtB")));
  }
}

// A header set aside says why in a status of eight lines, which four once cut: the status
// is shown whole, the help under it keeps its place in the window, cut to whole lines with
// its whole text in its tooltip.
void DisquePhotoTest::theStatusReadWhole_data() {
  QTest::addColumn<QString>("crpix1");
  QTest::newRow("header taken") << "80.5";
  QTest::newRow("header 20 px off, set aside") << "100.5";
}

void DisquePhotoTest::theStatusReadWhole() {
  QFETCH(QString, crpix1);
  QTemporaryDir dir;
  const QString path = dir.filePath("en-tete.fits");
  writeFits(path, {"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'",
                   "CRPIX1  = " + crpix1.rightJustified(20).toStdString(), "CRPIX2  =                 80.5",
                   "CDELT1  =                  2.0", "CDELT2  =                  2.0", "RSUN_OBS=                120.0",
                   "CROTA2  =                 10.0"});
  OpenWindow<Disque> f;
  openSun(f, path);
  auto* status = qobject_cast<QLabel*>(f.w().control("lblPhotoEtat"));
  auto* help = qobject_cast<QLabel*>(f.w().control("lblAidePhoto"));
  QVERIFY(status && help);
  QVERIFY2(status->height() >= status->heightForWidth(status->width()), qPrintable(status->text()));
  QVERIFY(status->toolTip().isEmpty());
  QVERIFY(help->y() > status->geometry().bottom());
  QVERIFY(help->geometry().bottom() < f.w().height());
  const QString wholeHelp = help->toolTip().isEmpty() ? help->text() : help->toolTip();
  QVERIFY(wholeHelp.startsWith(QStringLiteral("Photographie : x depuis")) && wholeHelp.endsWith(QStringLiteral("déplacer.")));
  if (help->toolTip().isEmpty())
    QVERIFY(help->height() >= help->heightForWidth(help->width()));
  else
    QVERIFY2(help->text().endsWith(QStringLiteral("…")) && help->height() >= help->heightForWidth(help->width()),
             qPrintable(help->text()));
}

// "12.5" in a French window once blanked the grid and every value without a word.
void DisquePhotoTest::anAngleTypedWithEitherSeparator_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("status");
  QTest::newRow("decimal point") << "90.0" << "Orientation : nord céleste à 90,00° du haut de l'image.";
  QTest::newRow("decimal comma") << "90,0" << "Orientation : nord céleste à 90,00° du haut de l'image.";
  QTest::newRow("not a number, said") << "9O" << QString::fromUtf8(photo::kOrientationNotANumberMessage.data());
}

// North typed to the left: a point left of the centre is north.
void DisquePhotoTest::anAngleTypedWithEitherSeparator() {
  QFETCH(QString, typed);
  QFETCH(QString, status);
  QTemporaryDir dir;
  const QString path = dir.filePath("soleil.png");
  writeSun(path);
  OpenWindow<Disque> f;
  openSun(f, path);
  f.w().textBox("txtOrientation")->setFocus();  // chosen to be typed in: the image has the keys once opened
  retype(f.w(), "txtOrientation", typed);
  // Its first line; the limb's source follows.
  QCOMPARE(f.w().text("lblPhotoEtat").section(u'\n', 0, 0), status);
  QVERIFY(f.desktop.messages.shown.empty());
  if (!status.startsWith("Orientation")) return;  // nothing to place
  clickPixel(f.w().photoView(), kCentreX - 40, kCentreY);
  QTableWidget* table = f.w().spotTable();
  QCOMPARE(table->rowCount(), 1);
  QVERIFY2(std::abs(std::remainder(cellNumber(table, 0, 1), 360)) < 1.5, qPrintable(table->item(0, 1)->text()));
  QVERIFY(f.desktop.messages.shown.empty());
}

void DisquePhotoTest::unsavedSpotsAskedAbout_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("closed");
  QTest::addColumn<bool>("saved");
  QTest::newRow("cancel keeps the photograph") << int(Disque::UnsavedAnswer::Cancel) << false << false;
  QTest::newRow("discard closes it") << int(Disque::UnsavedAnswer::Discard) << true << false;
  QTest::newRow("save writes, then closes") << int(Disque::UnsavedAnswer::Save) << true << true;
}

void DisquePhotoTest::unsavedSpotsAskedAbout() {
  QFETCH(int, answer);
  QFETCH(bool, closed);
  QFETCH(bool, saved);
  QTemporaryDir dir;
  const QString path = dir.filePath("soleil.png");
  writeSun(path);
  OpenWindow<Disque> f;
  openSun(f, path);
  int asked = 0;
  f.w().setUnsavedQuestion([&](const QString&) {
    ++asked;
    return static_cast<Disque::UnsavedAnswer>(answer);
  });
  const QString png = dir.filePath("mesure.png");
  f.w().setPictureSaveDialog([png](const QString&) { return png; });
  // Nothing clicked yet: nothing to ask.
  f.w().button("cmdFermer")->click();
  QCOMPARE(asked, 0);
  openSun(f, path);
  clickPixel(f.w().photoView(), kSpotX, kSpotY);
  f.w().button("cmdFermer")->click();
  QCOMPARE(asked, 1);
  QCOMPARE(f.w().photograph().image() == nullptr, closed);
  QCOMPARE(QFile::exists(dir.filePath("mesure.csv")), saved);
}

void DisquePhotoTest::threePointsConfirmedOrGivenUp_data() {
  QTest::addColumn<int>("answer");  // -1: Esc after two points
  QTest::addColumn<bool>("taken");
  QTest::addColumn<QString>("status");
  QTest::newRow("kept") << int(Disque::LimbAnswer::Keep) << true << "Bord donné par trois points";
  QTest::newRow("picked again") << int(Disque::LimbAnswer::PickAgain) << false << "point 1 sur 3";
  QTest::newRow("cancelled") << int(Disque::LimbAnswer::Cancel) << false << "Choix des points annulé.";
  QTest::newRow("Esc") << -1 << false << "Choix des points annulé.";
}

// Three points of a circle much smaller than the disc: shown, and asked about.
void DisquePhotoTest::threePointsConfirmedOrGivenUp() {
  QFETCH(int, answer);
  QFETCH(bool, taken);
  QFETCH(QString, status);
  QTemporaryDir dir;
  const QString path = dir.filePath("soleil.png");
  writeSun(path);
  OpenWindow<Disque> f;
  openSun(f, path);
  QString asked;
  f.w().setLimbQuestion([&](const QString& text) {
    asked = text;
    return static_cast<Disque::LimbAnswer>(answer);
  });
  // A square view, 2.4 screen pixels a pixel: the three clicks fall alike between screen pixels.
  f.w().resize(f.w().size() + QSize(0, f.w().photoView()->width() - f.w().photoView()->height()));
  f.w().button("cmdBord")->click();
  clickPixel(f.w().photoView(), kCentreX - 20, kCentreY);
  clickPixel(f.w().photoView(), kCentreX + 20, kCentreY);
  if (answer < 0)
    QTest::keyClick(f.w().photoView(), Qt::Key_Escape);
  else
    clickPixel(f.w().photoView(), kCentreX, kCentreY - 20);
  // Shown with how far it is from the limb found; a click lands on a screen pixel, 0.4 of
  // the image's at this scale, so the radius is 20 px to within that.
  const QRegularExpressionMatch shown =
      QRegularExpression("rayon (\\d+,\\d+) px\\. Son rayon diffère de (\\d+) % de celui du bord actuel").match(asked);
  QCOMPARE(shown.hasMatch(), answer >= 0);
  if (shown.hasMatch()) {
    QVERIFY2(std::abs(QLocale(QLocale::French).toDouble(shown.captured(1)) - 20.0) < 0.5, qPrintable(asked));
    QVERIFY2(std::abs(shown.captured(2).toInt() - 71) <= 1, qPrintable(asked));
  }
  QCOMPARE(f.w().photograph().limb()->source == LimbSource::ThreePoints, taken);
  QVERIFY2(f.w().text("lblPhotoEtat").contains(status), qPrintable(f.w().text("lblPhotoEtat")));
  QCOMPARE(f.w().spotTable()->rowCount(), 0);
}

// A "+" after opening once went into the date field that had the focus: a refusal, and
// every value "#####".
void DisquePhotoTest::theImageTakesTheKeys() {
  QTemporaryDir dir;
  const QString path = dir.filePath("soleil.png");
  writeSun(path);
  OpenWindow<Disque> f;
  f.w().textBox("txtJour")->setFocus();
  openSun(f, path);
  QCOMPARE(f.w().focusWidget(), f.w().photoView());
  const double fitted = f.w().photoView()->zoom();
  QTest::keyClick(f.w().focusWidget(), Qt::Key_Plus);
  QVERIFY(f.w().photoView()->zoom() > fitted);
  QCOMPARE(f.w().text("txtJour"), QStringLiteral("6"));
  QVERIFY(f.desktop.messages.shown.empty());
}

// Each dialog opens in the folder of the file last chosen in any of them; the status says
// what was saved, and keeps the limb's source in view, until the next action.
void DisquePhotoTest::dialogsInTheLastFolder() {
  QTemporaryDir images;
  QTemporaryDir results;
  const QString path = images.filePath("soleil.png");
  writeSun(path);
  OpenWindow<Disque> f;
  f.w().show();
  QStringList lookedIn;
  f.w().setImageDialog([&](const QString& folder) {
    lookedIn << folder;
    return path;
  });
  // A PNG gives no date: the fields' date, carried, is confirmed when asked.
  f.w().setCarriedQuestion([](const QString&) { return true; });
  QString suggested;
  const QString png = results.filePath("mesure.png");
  f.w().setPictureSaveDialog([&](const QString& offered) {
    suggested = offered;
    return png;
  });
  f.w().button("cmdOuvrir")->click();
  clickPixel(f.w().photoView(), kSpotX, kSpotY);
  f.w().button("cmdEnregistrer")->click();
  QCOMPARE(QFileInfo(suggested).absolutePath(), images.path());
  const QString status = f.w().text("lblPhotoEtat");
  QVERIFY2(status.contains("« " + png + " » enregistré, ses taches dans « mesure.csv »") &&
               status.contains("Bord trouvé : centre"),
           qPrintable(status));
  clickPixel(f.w().photoView(), kCentreX - 30, kCentreY);
  QVERIFY2(!f.w().text("lblPhotoEtat").contains("enregistré"), qPrintable(f.w().text("lblPhotoEtat")));
  f.w().setUnsavedQuestion([](const QString&) { return Disque::UnsavedAnswer::Discard; });
  f.w().button("cmdOuvrir")->click();
  QCOMPARE(lookedIn, (QStringList{QDir::homePath(), results.path()}));
  QVERIFY(f.desktop.messages.shown.empty());
}

// The spots' table takes the width gained; the entry beside it keeps its distance.
void DisquePhotoTest::theTableGrowsWithTheWindow() {
  OpenWindow<Disque> f;
  f.w().show();
  QTableWidget* table = f.w().spotTable();
  QWidget* angle = f.w().control("txtAngle");
  const int width = table->width();
  const int gap = angle->x() - table->geometry().right();
  const QSize base = f.w().size();
  for (const int wider : {300, 120, 0}) {
    f.w().resize(base + QSize(wider, 0));
    QCOMPARE(table->width(), width + wider);
    QCOMPARE(angle->x() - table->geometry().right(), gap);
  }
}

// Steps: "click" a spot on the disc, "choose R" a row of the table, "remove" the rows
// chosen, "undo" (Ctrl+Z on the image). The table's numbers after them, and whether
// "Supprimer la tache" may be pressed.
void DisquePhotoTest::spotsTakenBack_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<QString>("numbers");
  QTest::addColumn<bool>("removable");
  QTest::newRow("nothing to take back, nothing said") << QStringList{"undo"} << "" << false;
  QTest::newRow("a spot added, taken back; its number given again")
      << QStringList{"click", "click", "undo", "click"} << "1 2" << false;
  QTest::newRow("a spot removed comes back in its row")
      << QStringList{"click", "click", "click", "choose 1", "remove", "undo"} << "1 2 3" << false;
  QTest::newRow("two removed at once come back together")
      << QStringList{"click", "click", "click", "choose 0", "choose 2", "remove", "undo"} << "1 2 3" << false;
  QTest::newRow("undone last first: the removal, then the addition")
      << QStringList{"click", "click", "choose 0", "remove", "undo", "undo"} << "1" << false;
  QTest::newRow("a row chosen may be removed") << QStringList{"click", "choose 0"} << "1" << true;
}

void DisquePhotoTest::spotsTakenBack() {
  QFETCH(QStringList, steps);
  QFETCH(QString, numbers);
  QFETCH(bool, removable);
  QTemporaryDir dir;
  const QString path = dir.filePath("soleil.png");
  writeSun(path);
  OpenWindow<Disque> f;
  openSun(f, path);
  QTableWidget* table = f.w().spotTable();
  int clicks = 0;
  for (const QString& step : steps) {
    if (step == "click") clickPixel(f.w().photoView(), kCentreX - 40 + 15 * clicks++, kCentreY);
    if (step.startsWith("choose"))
      table->selectionModel()->select(table->model()->index(step.mid(7).toInt(), 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (step == "remove") f.w().button("cmdSupprimer")->click();
    if (step == "undo") QTest::keyClick(f.w().photoView(), Qt::Key_Z, Qt::ControlModifier);
  }
  QStringList shown;
  for (int row = 0; row < table->rowCount(); ++row) shown << table->item(row, 0)->text();
  QCOMPARE(shown.join(' '), numbers);
  QCOMPARE(f.w().button("cmdSupprimer")->isEnabled(), removable);
  QVERIFY(f.desktop.messages.shown.empty());
}

QTEST_MAIN(DisquePhotoTest)
#include "disque_photo_test.moc"
