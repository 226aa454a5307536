// The photograph view of Disque: where the image lies at each zoom and pan, the pixel a
// click reports, the display of a 16-bit image, and the overlay drawn where it belongs;
// in the window, the zoom keys, the contrast, the grid and the window enlarged.
#include <QtTest>

#include <QImage>
#include <QBuffer>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "programs/disque/disque_window.h"
#include "programs/disque/photo_page.h"
#include "disque/photo_spots.h"
#include "programs/disque/photo_view.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::disque;
using namespace kavrel::testing;

namespace {

constexpr double kPixelTolerance = 1e-9;

QImage blackDisplay() {
  QImage display(400, 400, QImage::Format_Grayscale8);
  display.fill(0);
  return display;
}

bool inked(QRgb rgb) { return qRed(rgb) + qGreen(rgb) + qBlue(rgb) > 150; }

void sendMouse(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

// A 16-bit Sun in a 200 x 180 image: 50000 on a disc of radius 70 about (100, 90), 1500
// in the sky; opened in a shown window, the focus left in "Jour".
constexpr int kSkyLevel = 1500;
void openSun(OpenWindow<Disque>& f, const QTemporaryDir& dir) {
  QImage sun(200, 180, QImage::Format_Grayscale16);
  for (int y = 0; y < sun.height(); ++y) {
    auto* row = reinterpret_cast<quint16*>(sun.scanLine(y));
    for (int x = 0; x < sun.width(); ++x) row[x] = std::hypot(x - 100, y - 90) < 70 ? 50000 : kSkyLevel;
  }
  const QString path = dir.filePath("soleil.png");
  QVERIFY(sun.save(path, "PNG"));
  f.w().show();
  QVERIFY(QTest::qWaitForWindowActive(&f.w()));
  f.w().setImageDialog([path](const QString&) { return path; });
  f.w().openImage(path);
  QVERIFY(f.w().photograph().image());
  f.w().textBox("txtJour")->setFocus();
}

}  // namespace

class PhotoViewTest : public QObject {
  Q_OBJECT

 private slots:
  void theMappingPlacesThePixels_data();
  void theMappingPlacesThePixels();
  void aClickReportsThePixelUnderIt_data();
  void aClickReportsThePixelUnderIt();
  void aDragPansWithoutClicking();
  void theKeysZoomWithinTheLimitsAndFit();
  void aReducedImageKeepsItsLastColumn();
  void aSixteenBitImageKeepsItsContrast();
  void theLimbAndGridLieOnTheImage();
  void theGridFollowsItsCurvesWhenZoomedIn_data();
  void theGridFollowsItsCurvesWhenZoomedIn();
  void eastIsMarkedWhereTheImageHasIt_data();
  void eastIsMarkedWhereTheImageHasIt();
  void anOverlayOfImpossibleValuesDrawsNothing();
  void theViewIsNamedAndTakesFocus();
  void theZoomKeysActOverTheImage_data();
  void theZoomKeysActOverTheImage();
  void theDisplayFollowsItsControls_data();
  void theDisplayFollowsItsControls();
  void thePrintedPageContinuesALongTable_data();
  void thePrintedPageContinuesALongTable();
};

// Fitted, then zoomed about `fixed`, then panned; the widget point `probe` must then lie
// over the image point `pixel`.
void PhotoViewTest::theMappingPlacesThePixels_data() {
  QTest::addColumn<QSize>("image");
  QTest::addColumn<double>("factor");
  QTest::addColumn<QPointF>("fixed");
  QTest::addColumn<QPointF>("pan");
  QTest::addColumn<double>("scale");
  QTest::addColumn<QPointF>("probe");
  QTest::addColumn<QPointF>("pixel");
  // All in a 600 x 600 view.
  QTest::newRow("square image fills the view") << QSize(100, 100) << 1.0 << QPointF() << QPointF() << 6.0
                                                << QPointF(3, 3) << QPointF(0, 0);
  QTest::newRow("wide image centred, first pixel") << QSize(400, 200) << 1.0 << QPointF() << QPointF() << 1.5
                                                   << QPointF(0.75, 150.75) << QPointF(0, 0);
  QTest::newRow("wide image centred, last pixel") << QSize(400, 200) << 1.0 << QPointF() << QPointF() << 1.5
                                                  << QPointF(599.25, 449.25) << QPointF(399, 199);
  QTest::newRow("zoom x4 keeps the point under it") << QSize(100, 100) << 4.0 << QPointF(450, 150) << QPointF()
                                                    << 24.0 << QPointF(450, 150) << QPointF(74.5, 24.5);
  QTest::newRow("zoom out about the corner") << QSize(100, 100) << 0.5 << QPointF(0, 0) << QPointF() << 3.0
                                             << QPointF(0, 0) << QPointF(-0.5, -0.5);
  QTest::newRow("pan carries the image") << QSize(100, 100) << 1.0 << QPointF() << QPointF(60, -30) << 6.0
                                         << QPointF(63, -27) << QPointF(0, 0);
  QTest::newRow("zoom x2 at the centre, then pan") << QSize(100, 100) << 2.0 << QPointF(300, 300)
                                                   << QPointF(-120, 0) << 12.0 << QPointF(180, 300)
                                                   << QPointF(49.5, 49.5);
}

void PhotoViewTest::theMappingPlacesThePixels() {
  QFETCH(QSize, image);
  QFETCH(double, factor);
  QFETCH(QPointF, fixed);
  QFETCH(QPointF, pan);
  QFETCH(double, scale);
  QFETCH(QPointF, probe);
  QFETCH(QPointF, pixel);
  const PhotoMapping fitted = PhotoMapping::fit(image, QSizeF(600, 600));
  const PhotoMapping mapping = fitted.zoomedAbout(fitted.scale * factor, fixed).pannedBy(pan);
  QCOMPARE(mapping.scale, scale);
  const photo::PixelPoint at = mapping.toImage(probe);
  QVERIFY2(std::abs(at.x - pixel.x()) < kPixelTolerance && std::abs(at.y - pixel.y()) < kPixelTolerance,
           qPrintable(QStringLiteral("(%1, %2)").arg(at.x).arg(at.y)));
  const QPointF back = mapping.toDevice(at);
  QVERIFY(std::abs(back.x() - probe.x()) < kPixelTolerance && std::abs(back.y() - probe.y()) < kPixelTolerance);
}

// A 200 x 100 image in a 400 x 400 view: fitted at 2 screen pixels a pixel, 100 pixels
// below the top.
void PhotoViewTest::aClickReportsThePixelUnderIt_data() {
  QTest::addColumn<double>("factor");
  QTest::addColumn<QPoint>("click");
  QTest::addColumn<QPointF>("pixel");
  QTest::newRow("fitted") << 1.0 << QPoint(101, 151) << QPointF(50, 25);
  QTest::newRow("zoomed x4 about the centre") << 4.0 << QPoint(101, 151) << QPointF(87.125, 43.375);
}

void PhotoViewTest::aClickReportsThePixelUnderIt() {
  QFETCH(double, factor);
  QFETCH(QPoint, click);
  QFETCH(QPointF, pixel);
  const image::GreyImage image(200, 100);
  PhotoView view;
  view.resize(400, 400);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  view.setImage(&image);
  view.zoomAbout(factor, QPointF(200, 200));
  std::vector<photo::PixelPoint> clicks;
  view.onClick([&](photo::PixelPoint p) { clicks.push_back(p); });
  QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, click);
  QCOMPARE(clicks.size(), std::size_t{1});
  QCOMPARE(clicks[0].x, pixel.x());
  QCOMPARE(clicks[0].y, pixel.y());
  // Off the image (the band above it when fitted, the view's edge when zoomed in) no click.
  if (factor == 1.0) {
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(200, 50));
    QCOMPARE(clicks.size(), std::size_t{1});
  }
}

void PhotoViewTest::aDragPansWithoutClicking() {
  const image::GreyImage image(200, 100);
  PhotoView view;
  view.resize(400, 400);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  view.setImage(&image);
  int clicks = 0;
  std::optional<photo::PixelPoint> pointer;
  view.onClick([&](photo::PixelPoint) { ++clicks; });
  view.onPointer([&](std::optional<photo::PixelPoint> p) { pointer = p; });
  const QPointF corner = view.mapping().corner;
  sendMouse(view, QEvent::MouseButtonPress, QPointF(100, 200), Qt::LeftButton);
  sendMouse(view, QEvent::MouseMove, QPointF(110, 200), Qt::LeftButton);
  sendMouse(view, QEvent::MouseMove, QPointF(140, 230), Qt::LeftButton);
  sendMouse(view, QEvent::MouseButtonRelease, QPointF(140, 230), Qt::NoButton);
  QCOMPARE(clicks, 0);
  QCOMPARE(view.mapping().corner, corner + QPointF(40, 30));
  // The pixel grabbed stays under the pointer: (100, 200) was over pixel (49.5, 49.5).
  QVERIFY(pointer.has_value());
  QCOMPARE(pointer->x, 49.5);
  QCOMPARE(pointer->y, 49.5);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&view, &leave);
  QVERIFY(!pointer.has_value());
}

void PhotoViewTest::theKeysZoomWithinTheLimitsAndFit() {
  const image::GreyImage image(4000, 2000);
  PhotoView view;
  view.resize(400, 400);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  view.setImage(&image);
  std::vector<double> zooms;
  view.onZoom([&](double zoom) { zooms.push_back(zoom); });
  const double fitted = view.zoom();
  QCOMPARE(fitted, 0.1);
  QTest::keyClick(&view, Qt::Key_Plus);
  QCOMPARE(view.zoom(), 0.125);
  for (int i = 0; i < 40; ++i) QTest::keyClick(&view, Qt::Key_Plus);
  QCOMPARE(view.zoom(), 16.0);
  QTest::keyClick(&view, Qt::Key_0);
  QCOMPARE(view.zoom(), fitted);
  for (int i = 0; i < 40; ++i) QTest::keyClick(&view, Qt::Key_Minus);
  QCOMPARE(view.zoom(), fitted / 4);
  QCOMPARE(zooms.back(), fitted / 4);
  // The wheel zooms too, one notch a step.
  QWheelEvent wheel(QPointF(200, 200), view.mapToGlobal(QPointF(200, 200)), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&view, &wheel);
  QCOMPARE(view.zoom(), fitted / 4 * 1.25);
}

// 1003 pixels in 200: blocks of 5, the last one of 3 pixels, white, which must still show
// at the image's right edge rather than be dropped or stretched over its neighbours.
void PhotoViewTest::aReducedImageKeepsItsLastColumn() {
  image::GreyImage image(1003, 1003);
  for (int y = 0; y < 1003; ++y)
    for (int x = 0; x < 1003; ++x) image.at(x, y) = x >= 1000 ? 1000.0F : (x + y) % 2;
  PhotoView view;
  view.resize(200, 200);
  view.setImage(&image);
  view.setStretch({0, 1000});
  const QImage shown = view.grab().toImage();
  QVERIFY2(qGray(shown.pixel(199, 100)) > 60, qPrintable(QString::number(qGray(shown.pixel(199, 100)))));
  QVERIFY2(qGray(shown.pixel(196, 100)) < 10, qPrintable(QString::number(qGray(shown.pixel(196, 100)))));
}

// A ramp over 256 levels of a 16-bit camera, with a few saturated hot pixels and a blank
// one: shown black to white, not squeezed into the two or three levels its top byte has.
void PhotoViewTest::aSixteenBitImageKeepsItsContrast() {
  image::GreyImage image(256, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 256; ++x) image.at(x, y) = static_cast<float>(41000 + x);
  for (int i = 0; i < 12; ++i) image.at(17 * i + 3, 40) = 65535;
  image.at(5, 5) = std::nanf("");
  const QImage display = displayImage(image.view());
  QCOMPARE(display.format(), QImage::Format_Grayscale8);
  QCOMPARE(display.size(), QSize(256, 64));
  QSet<int> levels;
  for (int x = 0; x < 256; ++x) levels.insert(qGray(display.pixel(x, 20)));
  QVERIFY2(levels.size() > 240, qPrintable(QString::number(levels.size())));
  QCOMPARE(qGray(display.pixel(0, 20)), 0);
  QCOMPARE(qGray(display.pixel(255, 20)), 255);
  QVERIFY(std::abs(qGray(display.pixel(128, 20)) - 128) <= 3);
  QCOMPARE(qGray(display.pixel(5, 5)), kBlankGrey);
}

// A black 400 x 400 image with a limb of radius 120 at (200, 180), the Sun upright
// (P = B0 = L0 = 0): the limb's pixels are drawn all round, the equator across the centre,
// and the disc between the grid lines untouched.
void PhotoViewTest::theLimbAndGridLieOnTheImage() {
  PhotoOverlay overlay;
  overlay.frame = photo::ImageFrame{{{200, 180}, 120}, 0, false};
  overlay.disc = DiscOrientation{0, 0, 0, 16.0 / 60};
  const QImage shown = photoWithOverlay(blackDisplay(), overlay);
  QCOMPARE(shown.size(), QSize(400, 400));
  // Between the marks on the rim (north, east, the axis, the pole at B0 = 0).
  for (int degrees = 15; degrees < 360; degrees += 30) {
    const double a = degrees * std::numbers::pi / 180;
    const QRgb rgb = shown.pixel(static_cast<int>(std::lround(200 + 120 * std::cos(a))),
                                 static_cast<int>(std::lround(180 + 120 * std::sin(a))));
    QVERIFY2(qRed(rgb) > 100 && qBlue(rgb) < 60, qPrintable(QStringLiteral("limb at %1 deg").arg(degrees)));
  }
  QVERIFY2(qBlue(shown.pixel(245, 180)) > 150, "equator");
  QVERIFY2(qBlue(shown.pixel(200, 230)) > 150, "central meridian");
  QVERIFY2(!inked(shown.pixel(245, 170)), "between the equator and the 10 deg parallel");
  QVERIFY2(!inked(shown.pixel(200, 360)), "outside the disc");
}

// On a disc of 1800 px radius seen from B0 = 7 deg (no finite distance, so that a parallel
// is exactly an ellipse), how far the middle of each drawn chord of a parallel lies from
// it, in image pixels: the sampled grid strays by half a pixel, the finer one must not.
void PhotoViewTest::theGridFollowsItsCurvesWhenZoomedIn_data() {
  QTest::addColumn<double>("latitude");
  QTest::newRow("equator") << 0.0;
  QTest::newRow("30 deg south") << -30.0;
  QTest::newRow("60 deg north") << 60.0;
}

void PhotoViewTest::theGridFollowsItsCurvesWhenZoomedIn() {
  QFETCH(double, latitude);
  constexpr double radius = 1800, b0 = 7 * std::numbers::pi / 180;
  PhotoOverlay overlay;
  overlay.frame = photo::ImageFrame{{{2048, 2048}, radius}, 0, false};
  overlay.disc = DiscOrientation{0, 7, 0, 0};
  const OverlayGeometry geometry = overlayGeometry(overlay);
  const double phi = latitude * std::numbers::pi / 180;
  // The parallel x = cos(phi) sin(DMC), y = sin(phi) cos(B0) - cos(phi) sin(B0) cos(DMC),
  // in disc radii, west and north; the distance of a point from it to first order.
  const auto stray = [&](QPointF pixel) {
    const double x = (pixel.x() - 2048) / radius, y = (2048 - pixel.y()) / radius;
    const double u = x / std::cos(phi), v = (y - std::sin(phi) * std::cos(b0)) / (-std::cos(phi) * std::sin(b0));
    const double gradient = std::hypot(2 * u / std::cos(phi), 2 * v / (std::cos(phi) * std::sin(b0)));
    return std::abs(u * u + v * v - 1) / gradient * radius;
  };
  const auto worst = [&](const std::vector<OverlayGeometry::GridPiece>& grid) {
    double most = 0;
    int chords = 0;
    for (const auto& piece : grid) {
      if (!piece.parallel || piece.value != latitude) continue;
      for (qsizetype i = 1; i < piece.pixels.size(); ++i, ++chords)
        most = std::max(most, stray((piece.pixels[i - 1] + piece.pixels[i]) / 2));
    }
    return chords > 0 ? most : -1.0;
  };
  const double sampled = worst(geometry.grid);
  const double fine = worst(geometry.fineGrid);
  QVERIFY2(sampled > 0.2, qPrintable(QString::number(sampled)));
  QVERIFY2(fine >= 0 && fine < 0.02, qPrintable(QString::number(fine)));
  QVERIFY(geometry.gridStray >= 0.8 * sampled);
}

// The east mark's tick, just outside the limb, on the side the image has east.
void PhotoViewTest::eastIsMarkedWhereTheImageHasIt_data() {
  QTest::addColumn<double>("north");
  QTest::addColumn<bool>("mirrored");
  QTest::addColumn<QPoint>("east");
  QTest::addColumn<QPoint>("west");
  QTest::newRow("north up: east left") << 0.0 << false << QPoint(75, 180) << QPoint(325, 180);
  QTest::newRow("north up, mirrored: east right") << 0.0 << true << QPoint(325, 180) << QPoint(75, 180);
  QTest::newRow("north left: east down") << 90.0 << false << QPoint(200, 305) << QPoint(200, 55);
}

void PhotoViewTest::eastIsMarkedWhereTheImageHasIt() {
  QFETCH(double, north);
  QFETCH(bool, mirrored);
  QFETCH(QPoint, east);
  QFETCH(QPoint, west);
  PhotoOverlay overlay;
  overlay.frame = photo::ImageFrame{{{200, 180}, 120}, north, mirrored};
  const QImage shown = photoWithOverlay(blackDisplay(), overlay);
  QVERIFY(inked(shown.pixel(east)));
  QVERIFY(!inked(shown.pixel(west)));
}

// A frame and points from a failed measure (NaN, a radius of 1e300) leave the image as it
// was, rather than hanging the rasterizer.
void PhotoViewTest::anOverlayOfImpossibleValuesDrawsNothing() {
  const double nan = std::nan("");
  for (const photo::ImageFrame& frame : {photo::ImageFrame{{{nan, 180}, 120}, 0, false},
                                         photo::ImageFrame{{{200, 180}, 1e300}, 0, false},
                                         photo::ImageFrame{{{200, 180}, 120}, nan, false}}) {
    PhotoOverlay overlay;
    overlay.frame = frame;
    overlay.disc = DiscOrientation{0, 0, 0, 16.0 / 60};
    overlay.spots = {{1, {nan, 10}}, {2, {1e300, 10}}};
    overlay.limbPoints = {{10, -1e300}};
    overlay.driftPoints = {{10, 10}, {nan, nan}};
    const QImage shown = photoWithOverlay(blackDisplay(), overlay);
    int inkedPixels = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) inkedPixels += inked(shown.pixel(x, y)) ? 1 : 0;
    // Only the one drift point that is a point.
    QVERIFY2(inkedPixels > 0 && inkedPixels < 200, qPrintable(QString::number(inkedPixels)));
  }
}

void PhotoViewTest::theViewIsNamedAndTakesFocus() {
  PhotoView view;
  QCOMPARE(view.accessibleName(), QStringLiteral("Photographie du Soleil"));
  QVERIFY(!view.accessibleDescription().isEmpty());
  QCOMPARE(view.focusPolicy(), Qt::StrongFocus);
  // Without an image the keys, the wheel and a click do nothing and nothing breaks.
  int clicks = 0;
  view.onClick([&](photo::PixelPoint) { ++clicks; });
  view.resize(200, 200);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  QTest::keyClick(&view, Qt::Key_Plus);
  QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
  QCOMPARE(clicks, 0);
  QVERIFY(view.photoWithOverlay().isNull());
}

enum class KeyAt { OverTheImage, FocusOnTheImage, Elsewhere };

void PhotoViewTest::theZoomKeysActOverTheImage_data() {
  QTest::addColumn<int>("zoomedBefore");  // "+" pressed over the image first
  QTest::addColumn<QString>("typedFirst");  // into "Jour", the pointer over the image
  QTest::addColumn<int>("key");
  QTest::addColumn<KeyAt>("at");
  QTest::addColumn<double>("zoom");  // times the fitted one
  QTest::addColumn<QString>("day");  // "Jour" afterwards, where it is known
  QTest::newRow("+ over the image, the focus in Jour")
      << 0 << "" << int(Qt::Key_Plus) << KeyAt::OverTheImage << 1.25 << "6";
  QTest::newRow("- over the image, the focus in Jour")
      << 0 << "" << int(Qt::Key_Minus) << KeyAt::OverTheImage << 0.8 << "6";
  QTest::newRow("0 over the image fits it again") << 2 << "" << int(Qt::Key_0) << KeyAt::OverTheImage << 1.0 << "6";
  QTest::newRow("+ with the focus on the image") << 0 << "" << int(Qt::Key_Plus) << KeyAt::FocusOnTheImage << 1.25
                                                 << "6";
  QTest::newRow("+ elsewhere is the field's") << 0 << "" << int(Qt::Key_Plus) << KeyAt::Elsewhere << 1.0 << QString();
  QTest::newRow("+ typed with Shift, as on a French keyboard")
      << 0 << "" << (Qt::Key_Plus | Qt::ShiftModifier).toCombined() << KeyAt::OverTheImage << 1.25 << "6";
  QTest::newRow("the 0 of 10 typed in Jour, the pointer resting over the image")
      << 0 << "1" << int(Qt::Key_0) << KeyAt::OverTheImage << 1.0 << "10";
}

// The keys zoom about the view's centre: the read-out follows the pixel now under the
// pointer, which stays a quarter of the way in.
void PhotoViewTest::theZoomKeysActOverTheImage() {
  QFETCH(int, zoomedBefore);
  QFETCH(QString, typedFirst);
  QFETCH(int, key);
  QFETCH(KeyAt, at);
  QFETCH(double, zoom);
  QFETCH(QString, day);
  QTemporaryDir dir;
  OpenWindow<Disque> f;
  openSun(f, dir);
  PhotoView* view = f.w().photoView();
  const double fitted = view->zoom();
  const QPoint pointer(view->width() / 4, view->height() / 4);
  // From elsewhere, so that the pointer moves whatever the row before left it.
  QTest::mouseMove(f.w().control("cmdMenu"));
  if (at == KeyAt::OverTheImage) QTest::mouseMove(view, pointer);
  for (int i = 0; i < zoomedBefore; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus);
  if (!typedFirst.isEmpty()) retype(f.w(), "txtJour", typedFirst);
  if (at == KeyAt::FocusOnTheImage) view->setFocus();
  const auto modifiers = Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask);
  if (modifiers & Qt::ShiftModifier) QTest::keyPress(QApplication::focusWidget(), Qt::Key_Shift);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key & ~Qt::KeyboardModifierMask), modifiers);
  if (modifiers & Qt::ShiftModifier) QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Shift);
  QVERIFY(std::abs(view->zoom() / fitted - zoom) < 1e-9);
  if (!day.isNull()) QCOMPARE(f.w().text("txtJour"), day);
  const std::string under = at == KeyAt::OverTheImage ? pixelText(view->mapping().toImage(pointer).x, ",") : "";
  QCOMPARE(f.w().text("lblPxX"), QString::fromStdString(under));
}

enum class DisplayAction { TypedLevels, LevelsFromTheImage, GridOffByItsKey, WindowEnlarged };

void PhotoViewTest::theDisplayFollowsItsControls_data() {
  QTest::addColumn<DisplayAction>("action");
  QTest::newRow("black and white typed: the sky mid-grey") << DisplayAction::TypedLevels;
  QTest::newRow("the image's own levels again: the sky black") << DisplayAction::LevelsFromTheImage;
  QTest::newRow("Alt+é takes the grid off") << DisplayAction::GridOffByItsKey;
  QTest::newRow("the window enlarged: the photograph takes the room") << DisplayAction::WindowEnlarged;
}

void PhotoViewTest::theDisplayFollowsItsControls() {
  QFETCH(DisplayAction, action);
  QTemporaryDir dir;
  OpenWindow<Disque> f;
  openSun(f, dir);
  PhotoView* view = f.w().photoView();
  const auto shown = [view](int x, int y) { return view->photoWithOverlay().pixel(x, y); };
  switch (action) {
    case DisplayAction::TypedLevels:
      retype(f.w(), "txtNoir", QString::number(kSkyLevel - 1000));
      retype(f.w(), "txtBlanc", QString::number(kSkyLevel + 1000));
      QVERIFY(std::abs(qGray(shown(5, 5)) - 128) <= 1);
      break;
    case DisplayAction::LevelsFromTheImage:
      retype(f.w(), "txtNoir", "0");
      f.w().button("cmdContraste")->click();
      QCOMPARE(qGray(shown(5, 5)), 0);
      QCOMPARE(f.w().text("txtNoir"), QString::number(kSkyLevel));
      break;
    case DisplayAction::GridOffByItsKey:
      // The central meridian crosses the centre, white on the disc without it.
      QVERIFY(qRed(shown(100, 90)) < 100);
      QTest::keyClick(&f.w(), Qt::Key_Eacute, Qt::AltModifier);
      QTRY_VERIFY(!f.w().value("chkGrille"));  // an animated click
      QCOMPARE(qRed(shown(100, 90)), 255);
      break;
    case DisplayAction::WindowEnlarged: {
      const QSize photo = view->size();
      const QPoint open = f.w().control("cmdOuvrir")->pos(), spots = f.w().spotTable()->pos();
      const QPoint day = f.w().control("txtJour")->pos();
      f.w().resize(f.w().size() + QSize(300, 200));
      QCOMPARE(view->size(), photo + QSize(300, 200));
      QCOMPARE(f.w().control("cmdOuvrir")->pos(), open + QPoint(300, 0));
      QCOMPARE(f.w().spotTable()->pos(), spots + QPoint(0, 200));
      QCOMPARE(f.w().control("txtJour")->pos(), day);
      break;
    }
  }
}

void PhotoViewTest::thePrintedPageContinuesALongTable_data() {
  QTest::addColumn<int>("spots");
  QTest::addColumn<bool>("picture");
  QTest::addColumn<bool>("painted");
  QTest::addColumn<int>("pages");
  QTest::newRow("no spot") << 0 << true << true << 1;
  QTest::newRow("a few spots") << 5 << true << true << 1;
  QTest::newRow("more spots than the page holds") << 120 << true << true << 4;
  QTest::newRow("no picture") << 5 << false << false << 1;
}

// The image takes two thirds of the page inside its margins; the table goes on over the
// next pages, under its column headings again.
void PhotoViewTest::thePrintedPageContinuesALongTable() {
  QFETCH(int, spots);
  QFETCH(bool, picture);
  QFETCH(bool, painted);
  QFETCH(int, pages);
  PhotoPage page;
  page.heading = QStringLiteral("Le 6 décembre 2001 à 9 h 05 TU");
  page.fileLine = QStringLiteral("soleil.png");
  if (picture) page.picture = blackDisplay();
  page.columns = {"N°", "θ (°)", "r"};
  for (int i = 0; i < spots; ++i) page.rows.push_back({std::to_string(i + 1), "12,0", "0,500"});
  QByteArray pdf;
  QBuffer buffer(&pdf);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    QCOMPARE(paintPhotoPage(painter, writer, page), painted);
  }
  QCOMPARE(static_cast<int>(pdf.count("/Type /Page\n")) + static_cast<int>(pdf.count("/Type /Page\r")) +
               static_cast<int>(pdf.count("/Type /Page ")),
           pages);
}

QTEST_MAIN(PhotoViewTest)
#include "photo_view_test.moc"
