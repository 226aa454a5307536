// The disc window reducing a photograph: a synthetic Sun opened through the file hook, its
// limb found, a spot clicked and measured, the image and the spots saved, a bad file
// refused, and the orientation's choices read back through a clicked point's theta.
#include <QtTest>

#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cmath>

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
  f.w().setImageDialog([path] { return path; });
  f.w().button("cmdOuvrir")->click();
}

void clickPixel(PhotoView* view, double x, double y) {
  const QPoint device = view->mapping().toDevice({x, y}).toPoint();
  QTest::mouseMove(view, device);
  QTest::mouseClick(view, Qt::LeftButton, {}, device);
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
  void theOrientationReadsBackInTheta_data();
  void theOrientationReadsBackInTheta();
};

void DisquePhotoTest::aPhotographReduced() {
  QTemporaryDir dir;
  const QString path = dir.filePath("soleil.png");
  const double trueArea = writeSun(path);
  OpenWindow<Disque> f;
  openSun(f, path);
  QVERIFY(f.desktop.messages.shown.empty());
  QVERIFY(f.w().image());
  QVERIFY(f.w().photoView()->isVisible());
  QVERIFY(!f.w().discView()->isVisible());
  QVERIFY(f.w().limb());
  QVERIFY(std::hypot(f.w().limb()->centre.x - kCentreX, f.w().limb()->centre.y - kCentreY) < 1);
  QVERIFY(std::abs(f.w().limb()->radius - kRadius) < 1);

  clickPixel(f.w().photoView(), kSpotX, kSpotY);
  QTableWidget* table = f.w().spotTable();
  QCOMPARE(table->rowCount(), 1);
  QCOMPARE(table->columnCount(), 8);
  f.w().button("cmdMesurer")->click();
  QVERIFY(f.desktop.messages.shown.empty());
  const double measured = cellNumber(table, 0, 6);
  QVERIFY2(std::abs(measured - trueArea) <= 0.15 * trueArea,
           qPrintable(QString("measured %1 MSH, truth %2").arg(measured).arg(trueArea)));

  // A point of the quiet Sun is no spot.
  clickPixel(f.w().photoView(), kCentreX - 30, kCentreY + 20);
  QCOMPARE(table->rowCount(), 2);
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
  QCOMPARE(lines[0], QString("numero;x_px;y_px;angle;distance;B_deg;L_deg;DMC_deg;aire_msh;"
                             "aire_millioniemes_disque;ombre_msh;ombre_millioniemes_disque"));
  QStringList first = lines[1].split(';');
  QCOMPARE(first.size(), 12);
  QCOMPARE(first[0], QString("1"));
  QVERIFY(std::abs(first[1].replace(',', '.').toDouble() - kSpotX) < 1);
  QVERIFY(std::abs(first[8].replace(',', '.').toDouble() - measured) < 1);

  // A file that is no image: the reader's words, and the photograph stays.
  const QString bad = dir.filePath("faux.png");
  QFile file(bad);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("pas une image");
  file.close();
  const image::GreyImage* before = f.w().image();
  f.w().openImage(bad);
  QCOMPARE(f.desktop.messages.shown.size(), 1u);
  QCOMPARE(f.desktop.messages.shown[0].text, QString::fromStdString(image::readImageFile(bad).refusal));
  QCOMPARE(f.desktop.messages.shown[0].style, ui::kStyleExclamation);
  QCOMPARE(f.w().image(), before);
  QCOMPARE(table->rowCount(), 2);

  // Closed: the drawn disc again, the photograph's spots gone with it.
  f.w().button("cmdFermer")->click();
  QVERIFY(!f.w().image());
  QVERIFY(f.w().discView()->isVisible());
  QCOMPARE(table->rowCount(), 0);
  QCOMPARE(table->columnCount(), 6);
}

// A point 40 px left of the centre, as displayed: east on an upright image with north up.
// The instant of a FITS file's header goes into the date fields as if typed, and the
// results follow it; the minute is the one begun (the fields hold whole minutes).
void DisquePhotoTest::aFitsDateFillsTheDateFields() {
  QTemporaryDir dir;
  const QString path = dir.filePath("soleil.fits");
  std::string bytes;
  for (const std::string card : {"SIMPLE  =                    T", "BITPIX  =                    8",
                                 "NAXIS   =                    2", "NAXIS1  =                  160",
                                 "NAXIS2  =                  160", "DATE-OBS= '2001-12-06T09:05:50'", "END"})
    bytes += card + std::string(80 - card.size(), ' ');
  bytes.resize(2880, ' ');
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 160; ++x) bytes += static_cast<char>(std::hypot(x - 79.5, y - 79.5) < 60 ? 200 : 10);
  bytes.resize((bytes.size() + 2879) / 2880 * 2880, '\0');
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  file.close();

  OpenWindow<Disque> f;
  openSun(f, path);
  QVERIFY2(f.desktop.messages.shown.empty(), "no refusal");
  const QStringList fields = {f.w().text("txtJour"), f.w().text("txtMois"), f.w().text("txtAnnée"),
                              f.w().text("txtHeure"), f.w().text("txtMinute")};
  QCOMPARE(fields, (QStringList{"6", "12", "2001", "9", "5"}));
  QCOMPARE(f.w().text("lblP"), QStringLiteral("13,93"));
}

void DisquePhotoTest::theOrientationReadsBackInTheta_data() {
  QTest::addColumn<QString>("angle");
  QTest::addColumn<bool>("eastRight");
  QTest::addColumn<double>("dx");
  QTest::addColumn<double>("dy");
  QTest::addColumn<double>("theta");
  QTest::newRow("north up, a point to the left is east") << "0" << false << -40.0 << 0.0 << 90.0;
  QTest::newRow("north up, a point above is north") << "0" << false << 0.0 << -40.0 << 0.0;
  QTest::newRow("north to the left, a point to the left is north") << "90" << false << -40.0 << 0.0 << 0.0;
  QTest::newRow("north up, east right: a point to the left is west") << "0" << true << -40.0 << 0.0 << 270.0;
}

void DisquePhotoTest::theOrientationReadsBackInTheta() {
  QFETCH(QString, angle);
  QFETCH(bool, eastRight);
  QFETCH(double, dx);
  QFETCH(double, dy);
  QFETCH(double, theta);
  QTemporaryDir dir;
  const QString path = dir.filePath("soleil.png");
  writeSun(path);
  OpenWindow<Disque> f;
  openSun(f, path);
  retype(f.w(), "txtOrientation", angle);
  f.w().setValue("chkEstDroite", eastRight ? 1 : 0);
  clickPixel(f.w().photoView(), kCentreX + dx, kCentreY + dy);
  QTableWidget* table = f.w().spotTable();
  QCOMPARE(table->rowCount(), 1);
  const double shown = cellNumber(table, 0, 1);
  QVERIFY2(std::abs(std::remainder(shown - theta, 360)) < 1.5,
           qPrintable(QString("θ %1, expected %2").arg(shown).arg(theta)));
  QVERIFY(f.desktop.messages.shown.empty());
}

QTEST_MAIN(DisquePhotoTest)
#include "disque_photo_test.moc"
