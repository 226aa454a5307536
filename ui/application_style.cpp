// The windows' style (application_style.h).
#include "ui/application_style.h"

#include <QApplication>
#include <QGroupBox>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QStyleFactory>
#include <QStyleOption>
#include <qdrawutil.h>

namespace kavrel::ui {

namespace {

// The picture of Qt's resources that Fusion draws a group box's frame from, and the
// geometry Fusion draws it with.
constexpr char kFramePicture[] = ":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png";
constexpr int kFrameTopMargin = 3;
constexpr int kFrameBorder = 6;

const QPixmap& framePicture() {
  static const QPixmap picture = [] {
    // A format given and no detection: Qt's built-in PNG reader, no plugin asked.
    QImageReader reader(QString::fromLatin1(kFramePicture), "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
  }();
  return picture;
}

}  // namespace

ApplicationStyle::ApplicationStyle(QStyle* base) : QProxyStyle(base) {}

void ApplicationStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                     const QWidget* widget) const {
  if (element != PE_FrameGroupBox || baseStyle()->name() != QLatin1String("fusion") || framePicture().isNull()) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // Below the title, unless the box has neither title nor check box.
  int top = kFrameTopMargin;
  const auto* box = qobject_cast<const QGroupBox*>(widget);
  if (box == nullptr || box->isCheckable() || !box->title().isEmpty())
    top += qMax(baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height());
  qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0),
                    QMargins(kFrameBorder, kFrameBorder, kFrameBorder, kFrameBorder), framePicture());
}

void installApplicationStyle() {
  // Only over Fusion, whichever way it was chosen (the desktop, -style, QT_STYLE_OVERRIDE).
  if (QApplication::style()->name() == QLatin1String("fusion"))
    QApplication::setStyle(new ApplicationStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
}

}  // namespace kavrel::ui
