// The Sun's disc painted for one instant (disc_drawing.h): one painter per element, in
// the order they are laid on each other.
#include "pictures/disc_drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <cmath>

#include "common/angles.h"
#include "host/qt_text.h"

namespace kavrel::disque {

namespace {

const QColor kInk(0, 0, 0);
const QColor kGridInk(120, 120, 120);
const QColor kDriftInk(40, 70, 160);
const QColor kSpotInk(200, 0, 0);

QPen pen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine) {
  QPen p(colour, width, style);
  p.setCapStyle(Qt::FlatCap);
  p.setJoinStyle(Qt::RoundJoin);
  return p;
}

// Text centred on a point.
void centredText(QPainter& painter, QPointF at, const QString& text, double height) {
  painter.drawText(QRectF(at.x() - 40 * height, at.y() - height, 80 * height, 2 * height), Qt::AlignCenter, text);
}

// A point at position angle `theta` and `r` radii, on the device.
QPointF at(const DiscFrame& frame, double theta, double r) { return deviceOf(frame, skyPointOf(DiscPoint{theta, r})); }

void paintFill(QPainter& painter, const DiscFrame& frame, const DiscLook& look) {
  if (look.discFill.alpha() > 0) {  // an SVG reader may not honour a transparent fill
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.discFill);
    painter.drawEllipse(frame.centre, frame.radius, frame.radius);
  }
  painter.setBrush(Qt::NoBrush);
}

void paintGrid(QPainter& painter, const DiscOrientation& disc, const DiscFrame& frame, const DiscLook& look) {
  for (const GridLine& line : gridLines(disc, look.gridStep)) {
    const bool strong = line.kind == GridLineKind::Equator || line.kind == GridLineKind::CentralMeridian;
    painter.setPen(strong ? pen(kInk, look.strongLine) : pen(kGridInk, look.thinLine));
    for (const std::vector<SkyPoint>& piece : line.pieces) {
      QPolygonF polyline;
      polyline.reserve(static_cast<qsizetype>(piece.size()));
      for (SkyPoint sky : piece) polyline << deviceOf(frame, sky);
      painter.drawPolyline(polyline);
    }
  }
}

// The celestial east-west line, a little beyond the rim each side, short of E and W.
void paintDriftLine(QPainter& painter, const DiscFrame& frame, const DiscLook& look) {
  painter.setPen(pen(kDriftInk, look.thinLine, Qt::DashLine));
  const double beyond = 1 + 0.35 * look.textHeight / frame.radius;
  painter.drawLine(at(frame, 90, beyond), at(frame, 270, beyond));
}

void paintRim(QPainter& painter, const DiscFrame& frame, const DiscLook& look) {
  painter.setPen(pen(kInk, look.strongLine));
  painter.drawEllipse(frame.centre, frame.radius, frame.radius);
}

// The axis beyond the rim at P, its north end pointed.
void paintAxis(QPainter& painter, const DiscOrientation& disc, const DiscFrame& frame, const DiscLook& look) {
  const double tick = 0.9 * look.textHeight / frame.radius;
  painter.setPen(pen(kInk, look.strongLine));
  painter.drawLine(at(frame, disc.p, 1), at(frame, disc.p, 1 + tick));
  painter.setPen(pen(kInk, look.thinLine));
  painter.drawLine(at(frame, disc.p + 180, 1), at(frame, disc.p + 180, 1 + tick * 0.6));
  const double halfBase = toDegrees(0.3 * look.textHeight / frame.radius);  // of position angle
  const QPointF tip = at(frame, disc.p, 1 + tick * 1.6);
  const QPointF left = at(frame, disc.p - halfBase, 1 + tick);
  const QPointF right = at(frame, disc.p + halfBase, 1 + tick);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kInk);
  painter.drawPolygon(QPolygonF{tip, left, right});
  painter.setBrush(Qt::NoBrush);
}

// The pole itself: filled when it is on the visible hemisphere.
void paintPole(QPainter& painter, const DiscOrientation& disc, const DiscFrame& frame, const DiscLook& look) {
  const Projection pole = skyPointOf(disc, 90, 0);
  painter.setPen(pen(kInk, look.thinLine));
  painter.setBrush(pole.visible ? QBrush(kInk) : QBrush(Qt::NoBrush));
  painter.drawEllipse(deviceOf(frame, pole.at), 0.22 * look.textHeight, 0.22 * look.textHeight);
  painter.setBrush(Qt::NoBrush);
}

void paintCardinalPoints(QPainter& painter, const DiscFrame& frame, const DiscLook& look) {
  painter.setPen(kInk);
  const double text = look.textHeight;
  const double cardinal = 1 + (kLabelMargin - 0.8) * text / frame.radius;
  centredText(painter, at(frame, 0, cardinal), QStringLiteral("N"), text);
  centredText(painter, at(frame, 90, cardinal), QStringLiteral("E"), text);
  centredText(painter, at(frame, 180, cardinal), QStringLiteral("S"), text);
  centredText(painter, at(frame, 270, cardinal), QStringLiteral("O"), text);
}

// Carrington longitudes along the equator, just under it.
void paintLongitudes(QPainter& painter, const DiscOrientation& disc, const DiscFrame& frame, const DiscLook& look) {
  painter.setPen(kInk);
  for (const LongitudeLabel& label : longitudeLabels(disc))
    centredText(painter, deviceOf(frame, label.at) + QPointF(0, 0.75 * look.textHeight),
                QString::number(label.longitude), 0.85 * look.textHeight);
}

// The central meridian's longitude, beside it in the southern hemisphere, on a patch of
// the disc's colour so that the grid does not cross it.
void paintCentralMeridianLabel(QPainter& painter, const DiscOrientation& disc, const DiscFrame& frame,
                               const DiscLook& look) {
  const double text = look.textHeight;
  const Projection point = skyPointOf(disc, -35, disc.l0);
  const QString label = toQString(centralMeridianLabel(disc, look.decimalSeparator));
  const QFontMetricsF metrics(painter.font(), painter.device());
  const QPointF place = deviceOf(frame, point.at) + QPointF(0.4 * text, 0);
  const QRectF box(place.x(), place.y() - 0.6 * text, metrics.horizontalAdvance(label) + 0.4 * text, 1.2 * text);
  painter.fillRect(box, look.discFill.alpha() == 0 ? QColor(Qt::white) : look.discFill);
  painter.setPen(kInk);
  painter.drawText(box, Qt::AlignCenter, label);
}

// The spots, each a small circle and its number.
void paintSpots(QPainter& painter, const DiscFrame& frame, const DiscLook& look, const std::vector<DrawnSpot>& spots) {
  const double text = look.textHeight;
  painter.setPen(pen(kSpotInk, look.strongLine));
  for (const DrawnSpot& spot : spots) {
    const QPointF place = deviceOf(frame, skyPointOf(spot.at));
    painter.drawEllipse(place, 0.3 * text, 0.3 * text);
    painter.drawText(QRectF(place.x() + 0.4 * text, place.y() - 1.6 * text, 40 * text, 1.6 * text),
                     Qt::AlignLeft | Qt::AlignBottom, QString::number(spot.number));
  }
}

}  // namespace

QPointF deviceOf(const DiscFrame& frame, SkyPoint sky) noexcept {
  const double across = frame.orientation == DrawingOrientation::EastLeft ? sky.x : -sky.x;
  return {frame.centre.x() + across * frame.radius, frame.centre.y() - sky.y * frame.radius};
}

DiscPoint discPointAt(const DiscFrame& frame, QPointF device) noexcept {
  // The device's x runs right and y down; a drawing's, right and up. The units cancel.
  return discPointOfDrawing(device.x() - frame.centre.x(), frame.centre.y() - device.y(), 2 * frame.radius,
                            frame.orientation);
}

void paintDisc(QPainter& painter, const DiscOrientation& disc, const DiscFrame& frame, const DiscLook& look,
               const std::vector<DrawnSpot>& spots) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(look.textHeight))));
  painter.setFont(font);

  paintFill(painter, frame, look);
  paintGrid(painter, disc, frame, look);  // under the strong lines
  paintDriftLine(painter, frame, look);
  paintRim(painter, frame, look);
  paintAxis(painter, disc, frame, look);
  paintPole(painter, disc, frame, look);
  paintCardinalPoints(painter, frame, look);
  paintLongitudes(painter, disc, frame, look);
  paintCentralMeridianLabel(painter, disc, frame, look);
  paintSpots(painter, frame, look, spots);
  painter.restore();
}

}  // namespace kavrel::disque
