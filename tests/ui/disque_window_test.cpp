// The disc window and its printed page: the disc's true size on the paper, the page's
// refusals, and a spot read by typing a date and clicking the disc.
#include <QtTest>

#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cerrno>
#include <unistd.h>

#include "common/display_mask.h"
#include "common/julian_day.h"
#include "pictures/disc_page.h"
#include "programs/disque/disc_view.h"
#include "programs/disque/disque_window.h"
#include "tests/scratch_file_system.h"
#include "ui/whole_file.h"
#include "date_refusals.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::disque;
using namespace kavrel::testing;

Q_DECLARE_METATYPE(kavrel::testing::Place)

namespace {

constexpr double kDotsPerInch = 200;
constexpr double kPixelsPerMm = kDotsPerInch / 25.4;
// 6 July 2001 at 12 h UT: the axis stands nearly upright (P about 0), so its ticks stay
// clear of the columns the rim is measured in.
constexpr double kUprightAxis = 2452097.0;

// The page rendered by poppler, in grey.
QImage rendered(const QString& pdf, const QString& prefix) {
  QProcess pdftoppm;
  pdftoppm.start("pdftoppm", {"-r", QString::number(kDotsPerInch), "-gray", "-singlefile", pdf, prefix});
  if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0) return {};
  return QImage(prefix + ".pgm");
}

// Where the rim crosses column x: the centres of the first and last dark runs between
// the rows `from` and `to`.
std::pair<double, double> rimCrossings(const QImage& page, int x, int from, int to) {
  const auto dark = [&](int y) { return qGray(page.pixel(x, y)) < 96; };
  int top = from;
  while (top < to && !dark(top)) ++top;
  int topEnd = top;
  while (topEnd < to && dark(topEnd)) ++topEnd;
  int bottom = to;
  while (bottom > top && !dark(bottom)) --bottom;
  int bottomStart = bottom;
  while (bottomStart > top && dark(bottomStart)) --bottomStart;
  return {(top + topEnd) / 2.0, (bottomStart + 1 + bottom + 1) / 2.0};
}

}  // namespace

class DisqueWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void theDiscIsPrintedAtItsTrueDiameter_data();
  void theDiscIsPrintedAtItsTrueDiameter();
  void aPageNotWrittenIsSaid_data();
  void aPageNotWrittenIsSaid();
  void withoutAPrinterThePageIsOfferedAsPdf_data();
  void withoutAPrinterThePageIsOfferedAsPdf();
  void aPageNotWrittenLeavesNoPartOfItself_data();
  void aPageNotWrittenLeavesNoPartOfItself();
  void aTypedDateAndAClickedSpot_data();
  void aTypedDateAndAClickedSpot();
  void screenReaderNames_data();
  void screenReaderNames();
  void refusedDates_data();
  void refusedDates();
  void deleteRemovesTheChosenSpots();
  void gridAndOrientationAsOpened();
  void accessKeysAreUnique();
};

void DisqueWindowTest::theDiscIsPrintedAtItsTrueDiameter_data() {
  QTest::addColumn<double>("diameter");
  QTest::addColumn<bool>("eastRight");
  QTest::addColumn<double>("sheetHeight");
  QTest::newRow("150 mm, east left") << 150.0 << false << 297.0;
  QTest::newRow("150 mm, east right") << 150.0 << true << 297.0;
  QTest::newRow("smallest, 50 mm") << 50.0 << false << 297.0;
  QTest::newRow("largest, 250 mm on A3") << 250.0 << false << 420.0;
}

// The disc is centred across the sheet; two columns 0.6 radius each side of the centre
// cross the rim, and each chord gives the radius.
void DisqueWindowTest::theDiscIsPrintedAtItsTrueDiameter() {
  QFETCH(double, diameter);
  QFETCH(bool, eastRight);
  QFETCH(double, sheetHeight);
  QVERIFY(std::abs(discOrientation(kUprightAxis).p) < 3);
  QTemporaryDir dir;
  const QString pdf = dir.filePath("page.pdf");
  QString error;
  const PageOptions options{diameter, eastRight ? DrawingOrientation::EastRight : DrawingOrientation::EastLeft, {10}};
  QVERIFY2(writeDiscPage(pdf, PageFormat::Pdf, kUprightAxis, options, &error), qPrintable(error));
  const QImage page = rendered(pdf, dir.filePath("page"));
  QVERIFY(!page.isNull());
  QCOMPARE(std::lround(page.height() / kPixelsPerMm), std::lround(sheetHeight));

  const double centreX = page.width() / 2.0;
  const int from = static_cast<int>(28 * kPixelsPerMm);  // below the heading
  const int to = page.height() - static_cast<int>(22 * kPixelsPerMm);  // above the conventions' line
  for (double side : {-1.0, 1.0}) {
    const int x = static_cast<int>(centreX + side * 0.6 * diameter / 2 * kPixelsPerMm);
    const auto [top, bottom] = rimCrossings(page, x, from, to);
    const double halfChord = (bottom - top) / 2;
    const double offset = x + 0.5 - centreX;
    const double measured = 2 * std::hypot(halfChord, offset) / kPixelsPerMm;
    QVERIFY2(std::abs(measured - diameter) <= 0.5, qPrintable(QString("measured %1 mm").arg(measured)));
  }
}

void DisqueWindowTest::aPageNotWrittenIsSaid_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<int>("format");
  QTest::addColumn<double>("diameter");
  QTest::addColumn<int>("step");
  QTest::addColumn<QString>("reason");
  const QString missing = "/nonexistent-folder/page";
  const QString noFolder = ui::fileErrorReason(ENOENT);
  QTest::newRow("PDF into a missing folder") << missing + ".pdf" << int(PageFormat::Pdf) << 150.0 << 10
                                             << QString(kPageNotWritten).arg(missing + ".pdf", noFolder);
  QTest::newRow("SVG into a missing folder") << missing + ".svg" << int(PageFormat::Svg) << 150.0 << 10
                                             << QString(kPageNotWritten).arg(missing + ".svg", noFolder);
  QTest::newRow("diameter below 50 mm") << "" << int(PageFormat::Pdf) << 49.9 << 10 << QString(kDiameterRefused);
  QTest::newRow("diameter above 250 mm") << "" << int(PageFormat::Svg) << 250.1 << 10 << QString(kDiameterRefused);
  QTest::newRow("step of 7 degrees") << "" << int(PageFormat::Pdf) << 150.0 << 7 << QString(kStepRefused);
}

void DisqueWindowTest::aPageNotWrittenIsSaid() {
  QFETCH(QString, path);
  QFETCH(int, format);
  QFETCH(double, diameter);
  QFETCH(int, step);
  QFETCH(QString, reason);
  QTemporaryDir dir;
  const QString target = path.isEmpty() ? dir.filePath("page") : path;
  QString error;
  QVERIFY(!writeDiscPage(target, PageFormat(format), kUprightAxis, {diameter, DrawingOrientation::EastLeft, {step}}, &error));
  QCOMPARE(error, reason);
  QVERIFY(!QFile::exists(target));
}

void DisqueWindowTest::withoutAPrinterThePageIsOfferedAsPdf_data() {
  QTest::addColumn<bool>("save");
  QTest::addColumn<QString>("file");  // relative to a fresh folder; empty: the dialog given up
  QTest::addColumn<bool>("written");
  QTest::addColumn<int>("messages");
  QTest::newRow("saved") << true << "page.pdf" << true << 0;
  QTest::newRow("cancelled at the question") << false << "page.pdf" << false << 0;
  QTest::newRow("dialog given up") << true << "" << false << 0;
  QTest::newRow("into a missing folder") << true << "missing/page.pdf" << false << 1;
}

void DisqueWindowTest::withoutAPrinterThePageIsOfferedAsPdf() {
  QFETCH(bool, save);
  QFETCH(QString, file);
  QFETCH(bool, written);
  QFETCH(int, messages);
  QTemporaryDir dir;
  const QString path = file.isEmpty() ? QString() : dir.filePath(file);
  ui::RecordingMessageBox shown;
  ui::DocumentPrinter::Hooks hooks;
  hooks.askSavePdf = [save](const QString&) {
    return save ? ui::DocumentPrinter::Choice::SavePdf : ui::DocumentPrinter::Choice::Cancel;
  };
  hooks.askPdfPath = [path](const QString&) { return path; };
  QtPagePrinter printer(shown, hooks);
  printer.print("Disque solaire", PageContent{kUprightAxis, ",", {{1, {45, 0.5}}}}, PageOptions{});
  QCOMPARE(!path.isEmpty() && QFileInfo(path).size() > 0, written);
  QCOMPARE(static_cast<int>(shown.shown.size()), messages);
}

void DisqueWindowTest::aPageNotWrittenLeavesNoPartOfItself_data() {
  QTest::addColumn<bool>("window");  // "Enregistrer…"; false: the PDF offered by the printer
  QTest::addColumn<Place>("place");
  QTest::addColumn<int>("format");
  QTest::addColumn<QByteArray>("old");  // the file's content before; empty: no file
  QTest::addColumn<int>("error");
  const QByteArray old = "%PDF-1.4 the page written yesterday\n";
  const int pdf = int(PageFormat::Pdf);
  const int svg = int(PageFormat::Svg);
  QTest::newRow("saved as PDF onto a full disk") << true << Place::FullDisk << pdf << QByteArray() << ENOSPC;
  QTest::newRow("saved as SVG over a file, full disk") << true << Place::FullDisk << svg << old << ENOSPC;
  QTest::newRow("saved as SVG onto a read-only disk") << true << Place::ReadOnly << svg << QByteArray() << EROFS;
  QTest::newRow("saved as PDF over a file, read-only disk") << true << Place::ReadOnly << pdf << old << EROFS;
  QTest::newRow("saved where a folder is") << true << Place::FolderInPlace << pdf << QByteArray() << EISDIR;
  QTest::newRow("printer's PDF onto a full disk") << false << Place::FullDisk << pdf << QByteArray() << ENOSPC;
  QTest::newRow("printer's PDF over a file, full disk") << false << Place::FullDisk << pdf << old << ENOSPC;
  QTest::newRow("printer's PDF onto a read-only disk") << false << Place::ReadOnly << pdf << QByteArray() << EROFS;
  QTest::newRow("printer's PDF where a folder is") << false << Place::FolderInPlace << pdf << QByteArray() << EISDIR;
}

// The message names the file and the system's reason; the window keeps its spots for
// another try elsewhere; neither a part of the page nor a temporary is left, and a file
// the page would replace is intact.
void DisqueWindowTest::aPageNotWrittenLeavesNoPartOfItself() {
  QFETCH(bool, window);
  QFETCH(Place, place);
  QFETCH(int, format);
  QFETCH(QByteArray, old);
  QFETCH(int, error);
  if (::geteuid() != 0) QSKIP("the full and read-only disks are tmpfs mounted by the test, as root");
  const ScratchFileSystem scratch(place, "page", old.toStdString());
  if (!scratch.reason().empty()) QSKIP(scratch.reason().c_str());
  const QString path = QString::fromStdString(scratch.path());
  const std::vector<std::string> before = scratch.names();
  const QString reason = ui::fileErrorReason(error);

  if (window) {
    OpenWindow<Disque> f;
    f.w().setSaveDialog([&](const QString&, PageFormat& chosen) {
      chosen = PageFormat(format);
      return path;
    });
    retype(f.w(), "txtAngle", "45");
    retype(f.w(), "txtDistance", "0,5");
    qobject_cast<QPushButton*>(f.w().control("cmdAjouter"))->click();
    qobject_cast<QPushButton*>(f.w().control("cmdEnregistrer"))->click();
    QCOMPARE(f.desktop.messages.shown.size(), 1u);
    QCOMPARE(f.desktop.messages.shown[0].text, QString(kPageNotWritten).arg(path, reason));
    QCOMPARE(f.w().spotTable()->rowCount(), 1);
  } else {
    ui::RecordingMessageBox shown;
    ui::DocumentPrinter::Hooks hooks;
    hooks.askSavePdf = [](const QString&) { return ui::DocumentPrinter::Choice::SavePdf; };
    hooks.askPdfPath = [&path](const QString&) { return path; };
    QtPagePrinter printer(shown, hooks);
    printer.print("Disque solaire", PageContent{kUprightAxis, ",", {{1, {45, 0.5}}}}, PageOptions{});
    QCOMPARE(shown.shown.size(), 1u);
    QCOMPARE(shown.shown[0].text, QString(ui::DocumentPrinter::kPdfFailedText).arg(path, reason));
  }
  QCOMPARE(scratch.names(), before);
  QCOMPARE(QByteArray::fromStdString(scratch.contents()), old);
}

// 15 July 2005 at 10 h 30 UT: P 3.84°, B0 4.38°, L0 314.03°. The references are those of
// the exact point asked for (θ and r from dx and dy); the click lands on the nearest
// pixel, which moves θ and r by a fraction of a pixel, and B, L and DMC by up to
// `within` degrees (most near the limb, where B changes fastest with r).
void DisqueWindowTest::aTypedDateAndAClickedSpot_data() {
  QTest::addColumn<bool>("eastRight");
  QTest::addColumn<double>("dx");  // fractions of the radius, right
  QTest::addColumn<double>("dy");  // up
  QTest::addColumn<QList<double>>("reference");  // θ, r, B, L, DMC
  QTest::addColumn<double>("within");
  // East of the centre at half a radius: 30° east of the central meridian (DMC -30,
  // L = L0 - 30), a little north of the equator as the axis leans 4° toward us and 4° east.
  QTest::newRow("east left, a spot to the east") << false << -0.5 << 0.0 << QList<double>{90.0, 0.5, 5.71, 284.07, -29.96} << 0.6;
  QTest::newRow("east right, a spot to the east") << true << 0.5 << 0.0 << QList<double>{90.0, 0.5, 5.71, 284.07, -29.96} << 0.6;
  QTest::newRow("east left, a spot to the north-west") << false << 0.4 << 0.4 << QList<double>{315.0, 0.566, 25.65, 342.11, 28.08} << 0.6;
  QTest::newRow("east right, near the southern limb") << true << -0.2 << -0.95 << QList<double>{191.9, 0.971, -69.85, 337.23, 23.20} << 2.5;
}

void DisqueWindowTest::aTypedDateAndAClickedSpot() {
  QFETCH(bool, eastRight);
  QFETCH(double, dx);
  QFETCH(double, dy);
  QFETCH(QList<double>, reference);
  QFETCH(double, within);
  OpenWindow<Disque> f;
  f.w().show();  // the pointer moves only over a window on screen
  QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
  retype(f.w(), "txtJour", "15");
  retype(f.w(), "txtMois", "7");
  retype(f.w(), "txtAnnée", "2005");
  retype(f.w(), "txtHeure", "10");
  retype(f.w(), "txtMinute", "30");
  if (eastRight) f.w().findChild<QRadioButton*>("optEstDroite")->click();

  DiscView* view = f.w().discView();
  const DiscFrame frame = view->frame();
  QVERIFY(frame.radius > 100);  // else a pixel would move the point too far for `within`
  const QPoint pixel = (frame.centre + QPointF(dx, -dy) * frame.radius).toPoint();
  QTest::mouseMove(view, pixel);
  QTest::mouseClick(view, Qt::LeftButton, {}, pixel);

  QTableWidget* table = f.w().spotTable();
  QCOMPARE(table->rowCount(), 1);
  QStringList shown;
  for (int column = 0; column < table->columnCount(); ++column) shown << table->item(0, column)->text();
  QCOMPARE(shown[0], QString("1"));
  const double tolerances[] = {0.5, 0.005, within, within, within};
  for (int i = 0; i < 5; ++i) {
    bool number = false;
    const double value = QString(shown[i + 1]).replace(',', '.').toDouble(&number);
    QVERIFY2(number && std::abs(value - reference[i]) <= tolerances[i],
             qPrintable(QString("column %1 shows %2, expected %3").arg(i + 1).arg(shown[i + 1]).arg(reference[i])));
  }
  // The pointer, still on the spot, reads what the table holds.
  QCOMPARE(f.texts({"lblPtAngle", "lblPtDistance", "lblPtB", "lblPtL", "lblPtDMC"}), shown.mid(1));

  // Beside the disc: no coordinates, the reason instead, and a click adds nothing.
  const QPoint beside = (frame.centre + QPointF(1.05 * frame.radius, 0)).toPoint();
  QTest::mouseMove(view, beside);
  QCOMPARE(f.texts({"lblPtB", "lblPtL", "lblPtDMC"}), (QStringList{"", "", ""}));
  QCOMPARE(f.w().text("lblPtEtat"), QString::fromUtf8(kOutsideDiscMessage.data(), kOutsideDiscMessage.size()));
  QTest::mouseClick(view, Qt::LeftButton, {}, beside);
  QCOMPARE(table->rowCount(), 1);
}

void DisqueWindowTest::screenReaderNames_data() {
  accessibilityColumns();
  QTest::newRow("day") << "txtJour" << "Jour" << QStringList{"Label1"};
  QTest::newRow("minute, said in full") << "txtMinute" << "Minute" << QStringList{"Label5"};
  QTest::newRow("P") << "lblP" << "Angle aux pôles P, degrés" << QStringList{};
  QTest::newRow("pointer's DMC") << "lblPtDMC" << "Distance au méridien central du pointeur, degrés" << QStringList{};
  QTest::newRow("typed x") << "txtX" << "Position x de la tache sur le dessin, millimètres" << QStringList{"lblX"};
  QTest::newRow("drawing's diameter") << "txtDiametre" << "Diamètre du dessin en millimètres"
                                      << QStringList{"lblDiametre"};
}

void DisqueWindowTest::screenReaderNames() {
  OpenWindow<Disque> f;
  checkAccessibility(f.w());
}

void DisqueWindowTest::refusedDates_data() { dateRefusalRows(CheckForm::ExactText, true); }

void DisqueWindowTest::refusedDates() {
  OpenWindow<Disque> f;
  if (!enterRefused(f.w(), f.desktop.messages)) return;
  const QString empty = QString::fromUtf8(kEmptyResult.data(), static_cast<qsizetype>(kEmptyResult.size()));
  QCOMPARE(f.texts({"lblRotSyn", "lblDemidiam", "lblP", "lblBo", "lblLo"}), QStringList(5, empty));
  QVERIFY(!f.w().pageContent());
  typingGoesOn(f.w());
}

void DisqueWindowTest::deleteRemovesTheChosenSpots() {
  OpenWindow<Disque> f;
  for (const char* angle : {"10", "20", "30"}) {
    f.w().setText("txtAngle", angle);
    f.w().setText("txtDistance", "0,5");
    f.w().button("cmdAjouter")->click();
  }
  QTableWidget* table = f.w().spotTable();
  QCOMPARE(table->rowCount(), 3);
  table->selectRow(1);
  QTest::keyClick(table, Qt::Key_Delete);
  QCOMPARE(table->rowCount(), 2);
  QCOMPARE((QStringList{table->item(0, 0)->text(), table->item(1, 0)->text()}), (QStringList{"1", "3"}));
  QVERIFY(f.desktop.messages.shown.empty());
}

// 10° and east at left until the user chooses; a choice reaches the page.
void DisqueWindowTest::gridAndOrientationAsOpened() {
  OpenWindow<Disque> f;
  std::optional<PageOptions> options = f.w().pageOptions();
  QVERIFY(options);
  QCOMPARE(options->step.degrees, 10);
  QVERIFY(options->orientation == DrawingOrientation::EastLeft);
  f.w().findChild<QRadioButton*>("optPas15")->click();
  f.w().findChild<QRadioButton*>("optEstDroite")->click();
  options = f.w().pageOptions();
  QVERIFY(options);
  QCOMPARE(options->step.degrees, 15);
  QVERIFY(options->orientation == DrawingOrientation::EastRight);
  QCOMPARE(f.w().value("optEstGauche"), 0);  // one choice per frame
  QCOMPARE(f.w().value("optPas10"), 0);
}

// One key, one control: a key two controls share only moves the focus between them.
void DisqueWindowTest::accessKeysAreUnique() {
  OpenWindow<Disque> f;
  QStringList keys;
  for (QWidget* control : f.w().findChildren<QWidget*>()) {
    QString text;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) text = button->text();
    else if (auto* label = qobject_cast<QLabel*>(control); label && label->buddy()) text = label->text();
    const qsizetype at = text.indexOf('&');
    if (at >= 0 && at + 1 < text.size() && text[at + 1] != '&') keys << text.mid(at + 1, 1).toLower();
  }
  QVERIFY(keys.contains("q"));
  keys.sort();
  QStringList shared = keys;
  shared.removeDuplicates();
  for (const QString& key : shared) keys.removeOne(key);
  QVERIFY2(keys.isEmpty(), qPrintable(keys.join(", ")));
}

QTEST_MAIN(DisqueWindowTest)
#include "disque_window_test.moc"
