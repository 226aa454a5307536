// The printed page of a photograph, printed into PDF and read back with poppler's tools
// as a reader would see it (rasterized, its vector drawing as SVG, its text), and the
// saved picture's caption band.
#include <QtTest>

#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <string>

#include "disque/photo_caption.h"
#include "programs/disque/photo_page.h"

using namespace kavrel;
using namespace kavrel::disque;

namespace {

constexpr const char* kNoPoppler = "pdftoppm and pdftocairo (poppler-utils) are not installed";
constexpr int kRasterDpi = 50;
constexpr double kPointsPerMm = 72 / 25.4;

// A grey disc on black, with the limb, the grid and a spot over it.
PhotoPage pageOf(QSize size, int nameLength, int rows, int cellLength) {
  PhotoPage page;
  page.heading = QStringLiteral("Le 6 décembre 2001 à 9 h 05 TU     P 15,2°     B0 0,8°     L0 123,4°");
  page.fileLine = QString(nameLength, u'x') + QStringLiteral(".fits (FITS 16 bits)");
  // A long name comes with a long refusal, wrapped.
  page.frameLines = {QStringLiteral("Orientation inconnue :") + QStringLiteral(" refusée").repeated(nameLength / 8),
                     QStringLiteral("Bord trouvé : centre (256,0 ; 256,0), rayon 230,0 px")};
  page.picture = QImage(size, QImage::Format_Grayscale8);
  page.picture.fill(0);
  const double radius = 0.45 * std::min(size.width(), size.height());
  const photo::PixelPoint centre{size.width() / 2.0, size.height() / 2.0};
  {
    QPainter painter(&page.picture);
    painter.setBrush(QColor(90, 90, 90));
    painter.drawEllipse(QPointF(centre.x, centre.y), radius, radius);
  }
  page.overlay.frame = photo::ImageFrame{{centre, radius}, 12.5, false};
  page.overlay.disc = DiscOrientation{15.2, 0.8, 123.4, 16.0 / 60};
  page.overlay.spots = {{1, {centre.x + radius / 3, centre.y}}};
  page.columns = {"N°", "θ (°)", "r", "B (°)", "L (°)", "DMC (°)", "Aire (MSH)", "Ombre (MSH)", "Seuils"};
  for (int i = 0; i < rows; ++i) {
    std::vector<std::string> cells{std::to_string(i + 1)};
    for (int c = 1; c < 8; ++c) cells.push_back(std::string(static_cast<std::size_t>(cellLength), '7'));
    cells.push_back("0,900 / 0,600");
    page.rows.push_back(cells);
  }
  return page;
}

bool run(const QString& program, const QStringList& arguments, QByteArray* out = nullptr) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return false;
  if (out) *out = process.readAllStandardOutput();
  return true;
}

}  // namespace

class PhotoPageTest : public QObject {
  Q_OBJECT

 private slots:
  void thePageKeepsItsMarginsAndDrawsTheOverlayAsLines_data();
  void thePageKeepsItsMarginsAndDrawsTheOverlayAsLines();
  void theSavedPictureCarriesItsCaption_data();
  void theSavedPictureCarriesItsCaption();
  void theOrientationIsSaidInWords_data();
  void theOrientationIsSaidInWords();
};

void PhotoPageTest::thePageKeepsItsMarginsAndDrawsTheOverlayAsLines_data() {
  QTest::addColumn<QSize>("size");
  QTest::addColumn<int>("nameLength");
  QTest::addColumn<int>("rows");
  QTest::addColumn<int>("cellLength");
  QTest::addColumn<double>("printerMarginMm");
  QTest::newRow("a 512 px image, a long name, a table over pages") << QSize(512, 512) << 400 << 150 << 6 << 0.0;
  QTest::newRow("a 4096 px image") << QSize(4096, 4096) << 20 << 3 << 6 << 0.0;
  QTest::newRow("a wide image, cells wider than their columns") << QSize(2000, 300) << 20 << 12 << 60 << 0.0;
  QTest::newRow("a printer whose margins are wider") << QSize(512, 512) << 20 << 60 << 6 << 16.0;
}

// Rasterized, no ink lies within the margins on any page; the grid and the limb are
// stroked paths no thicker than a strong line, not pixels of the image; the last row
// is printed.
void PhotoPageTest::thePageKeepsItsMarginsAndDrawsTheOverlayAsLines() {
  QFETCH(QSize, size);
  QFETCH(int, nameLength);
  QFETCH(int, rows);
  QFETCH(int, cellLength);
  QFETCH(double, printerMarginMm);
  if (!QFileInfo::exists("/usr/bin/pdftoppm") || !QFileInfo::exists("/usr/bin/pdftocairo")) QSKIP(kNoPoppler);
  const PhotoPage page = pageOf(size, nameLength, rows, cellLength);
  QTemporaryDir dir;
  const QString pdf = dir.filePath("page.pdf");
  {
    QPdfWriter writer(pdf);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(printerMarginMm, printerMarginMm, printerMarginMm, printerMarginMm),
                                     QPageLayout::Millimeter));
    QPainter painter(&writer);
    QVERIFY(paintPhotoPage(painter, writer, page));
  }

  QVERIFY(run("/usr/bin/pdftoppm", {"-r", QString::number(kRasterDpi), "-gray", "-png", pdf, dir.filePath("p")}));
  const QStringList sheets = QDir(dir.path()).entryList({"p*.png"}, QDir::Files, QDir::Name);
  QVERIFY(!sheets.isEmpty());
  const int margin = static_cast<int>(std::max(kPageMarginMm, printerMarginMm) * kRasterDpi / 25.4) - 1;
  for (const QString& sheet : sheets) {
    const QImage image(dir.filePath(sheet));
    const QRect inside = image.rect().adjusted(margin, margin, -margin, -margin);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) > 200) continue;
        QVERIFY2(inside.contains(x, y), qPrintable(QStringLiteral("%1: ink at (%2, %3)").arg(sheet).arg(x).arg(y)));
        ++ink;
      }
    QVERIFY2(ink > 0, qPrintable(sheet + QStringLiteral(" is blank")));
  }

  QByteArray text;
  QVERIFY(run("/usr/bin/pdftotext", {pdf, "-"}, &text));
  QVERIFY(QString::fromUtf8(text).contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(rows))));
  // Every page names its image and its instant; the headings and thresholds are whole
  // where the cells leave them room.
  for (const QString& sheet : QString::fromUtf8(text).split(u'\f', Qt::SkipEmptyParts)) {
    QVERIFY2(sheet.contains(QStringLiteral("6 décembre 2001")) && sheet.contains(QStringLiteral("(FITS 16 bits)")),
             qPrintable(sheet.left(300)));
    if (cellLength < 10)
      QVERIFY2(sheet.contains(QStringLiteral("Ombre (MSH)")) && sheet.contains(QStringLiteral("0,900 / 0,600")),
               qPrintable(sheet.left(300)));
  }

  const QString svg = dir.filePath("page.svg");
  QVERIFY(run("/usr/bin/pdftocairo", {"-svg", "-f", "1", "-l", "1", pdf, svg}));
  QFile file(svg);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QString drawing = QString::fromUtf8(file.readAll());
  // A stroked path's width in points is its own times its transform's scale.
  const QRegularExpression stroke(
      QStringLiteral("<path style=\"fill:none;stroke-width:([0-9.]+);[^>]*transform=\"matrix\\(([0-9.]+),"));
  int strokes = 0;
  for (const QRegularExpressionMatch& match : stroke.globalMatch(drawing)) {
    ++strokes;
    const double points = match.captured(1).toDouble() * match.captured(2).toDouble();
    QVERIFY2(points <= 0.3 * kPointsPerMm, qPrintable(QString::number(points)));
  }
  QVERIFY2(strokes > 20, qPrintable(QString::number(strokes)));
}

void PhotoPageTest::theSavedPictureCarriesItsCaption_data() {
  QTest::addColumn<QSize>("size");
  QTest::newRow("512 px") << QSize(512, 512);
  QTest::newRow("4096 px, the text grown with the image") << QSize(4096, 3000);
  QTest::newRow("narrower than a line, the text wrapped") << QSize(120, 200);
}

// The band under the image holds the lines at about a sixtieth of the image's side
// (readable when it is shown whole), the image itself untouched.
void PhotoPageTest::theSavedPictureCarriesItsCaption() {
  QFETCH(QSize, size);
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(QColor(40, 40, 40));
  const QStringList lines = {
      QStringLiteral("soleil.fits     Le 6 décembre 2001 à 9 h 05 TU     P 15,2°     B0 0,8°"),
      QStringLiteral("Nord céleste à 12,50° du haut de l'image, vers la gauche     Bord trouvé")};
  const QImage saved = captionedPicture(picture, lines);
  QCOMPARE(saved.width(), size.width());
  const double textHeight = std::max(12.0, std::min(size.width(), size.height()) / 60.0);
  QVERIFY2(saved.height() - size.height() >= 2 * textHeight, qPrintable(QString::number(saved.height())));
  QCOMPARE(saved.copy(QRect(QPoint(0, 0), size)), picture);
  int top = saved.height(), bottom = 0, ink = 0;
  for (int y = size.height(); y < saved.height(); ++y)
    for (int x = 0; x < saved.width(); ++x)
      if (qGray(saved.pixel(x, y)) > 128) {
        ++ink;
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  QVERIFY2(ink > 0 && bottom - top >= 1.5 * textHeight, qPrintable(QStringLiteral("%1 %2").arg(top).arg(bottom)));
}

void PhotoPageTest::theOrientationIsSaidInWords_data() {
  QTest::addColumn<double>("north");
  QTest::addColumn<bool>("mirrored");
  QTest::addColumn<QString>("said");
  QTest::newRow("mirrored") << 270.0 << true
                            << "Nord céleste à 270,00° du haut de l'image, vers la gauche ; est à droite du nord "
                               "(image inversée)";
  QTest::newRow("a hair under a turn reads 0, not 360") << 359.999 << false
                                                       << "Nord céleste à 0,00° du haut de l'image, vers la "
                                                          "gauche ; est à gauche du nord (image non inversée)";
}

void PhotoPageTest::theOrientationIsSaidInWords() {
  QFETCH(double, north);
  QFETCH(bool, mirrored);
  QFETCH(QString, said);
  const photo::ImageFrame frame{{{10, 10}, 5}, north, mirrored};
  QCOMPARE(QString::fromStdString(orientationLine(frame, {}, ",")), said);
}

QTEST_MAIN(PhotoPageTest)
#include "photo_page_test.moc"
