// The Sun's disc painted for one instant (disc_drawing.h).
//
// Each grid line is sampled every 3 degrees along itself (a chord then strays from the
// curve by 0.0003 of a radius, under a tenth of a millimetre on the largest page) and cut
// where it passes behind the limb; the crossing is found by bisection, so that the
// visible pieces end on the rim.
#include "programs/disque/disc_drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <cmath>

#include "common/display_mask.h"
#include "common/sexagesimal.h"

namespace kavrel::disque {

namespace {

constexpr double kSampleDegrees = 3;
constexpr int kBisections = 10;
constexpr double kLongitudeLabelStep = 30;
// Longitudes are written along the equator only this far from the central meridian:
// nearer the limb the labels pile up.
constexpr double kLongitudeLabelReach = 75;

const QColor kInk(0, 0, 0);
const QColor kGridInk(120, 120, 120);
const QColor kDriftInk(40, 70, 160);
const QColor kSpotInk(200, 0, 0);

// The visible pieces of the curve `at(t)`, t from `from` to `to` in `steps` samples.
template <typename Curve>
std::vector<std::vector<SkyPoint>> visiblePieces(const Curve& at, double from, double to, int steps) {
  std::vector<std::vector<SkyPoint>> pieces;
  std::vector<SkyPoint> piece;
  double previousT = from;
  Projection previous = at(from);
  if (previous.visible) piece.push_back(previous.at);
  for (int i = 1; i <= steps; ++i) {
    const double t = from + (to - from) * i / steps;
    const Projection here = at(t);
    if (here.visible != previous.visible) {
      double same = previousT, other = t;  // `same` keeps the previous sample's side
      for (int k = 0; k < kBisections; ++k) {
        const double middle = (same + other) / 2;
        (at(middle).visible == previous.visible ? same : other) = middle;
      }
      piece.push_back(at(previous.visible ? same : other).at);
      if (previous.visible) {
        if (piece.size() >= 2) pieces.push_back(std::move(piece));
        piece.clear();
      }
    }
    if (here.visible) piece.push_back(here.at);
    previous = here;
    previousT = t;
  }
  if (piece.size() >= 2) pieces.push_back(std::move(piece));
  return pieces;
}

GridLine parallel(const DiscOrientation& disc, double latitude, GridLineKind kind) {
  const auto at = [&](double dmc) { return skyPointOf(disc, latitude, disc.l0 + dmc); };
  return {kind, latitude, visiblePieces(at, -180, 180, static_cast<int>(360 / kSampleDegrees))};
}

GridLine meridian(const DiscOrientation& disc, double longitude, GridLineKind kind) {
  const auto at = [&](double latitude) { return skyPointOf(disc, latitude, longitude); };
  return {kind, longitude, visiblePieces(at, -90, 90, static_cast<int>(180 / kSampleDegrees))};
}

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

QString angleText(double degrees, const QString& separator) {
  return QString::fromStdString(formatMask(arr2(degrees), mask::kAngle, separator.toStdString()));
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

std::vector<GridLine> gridLines(const DiscOrientation& disc, int gridStep) {
  std::vector<GridLine> lines;
  const int step = gridStep > 0 ? gridStep : 10;
  for (int latitude = step; latitude < 90; latitude += step) {
    lines.push_back(parallel(disc, latitude, GridLineKind::Parallel));
    lines.push_back(parallel(disc, -latitude, GridLineKind::Parallel));
  }
  for (int longitude = 0; longitude < 360; longitude += step)
    lines.push_back(meridian(disc, longitude, GridLineKind::Meridian));
  lines.push_back(parallel(disc, 0, GridLineKind::Equator));
  lines.push_back(meridian(disc, disc.l0, GridLineKind::CentralMeridian));
  return lines;
}

void paintDisc(QPainter& painter, const DiscOrientation& disc, const DiscFrame& frame, const DiscLook& look,
               const std::vector<Spot>& spots) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const double radius = frame.radius;
  const double text = look.textHeight;
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(text))));
  painter.setFont(font);

  if (look.discFill.alpha() > 0) {  // an SVG reader may not honour a transparent fill
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.discFill);
    painter.drawEllipse(frame.centre, radius, radius);
  }
  painter.setBrush(Qt::NoBrush);

  // The grid under the strong lines.
  const std::vector<GridLine> lines = gridLines(disc, look.gridStep);
  for (const GridLine& line : lines) {
    const bool strong = line.kind == GridLineKind::Equator || line.kind == GridLineKind::CentralMeridian;
    painter.setPen(strong ? pen(kInk, look.strongLine) : pen(kGridInk, look.thinLine));
    for (const std::vector<SkyPoint>& piece : line.pieces) {
      QPolygonF polyline;
      polyline.reserve(static_cast<qsizetype>(piece.size()));
      for (SkyPoint sky : piece) polyline << deviceOf(frame, sky);
      painter.drawPolyline(polyline);
    }
  }

  // The celestial east-west line, a little beyond the rim each side, short of E and W.
  painter.setPen(pen(kDriftInk, look.thinLine, Qt::DashLine));
  const double beyond = 1 + 0.35 * text / radius;
  painter.drawLine(at(frame, 90, beyond), at(frame, 270, beyond));

  painter.setPen(pen(kInk, look.strongLine));
  painter.drawEllipse(frame.centre, radius, radius);

  // The axis beyond the rim at P, its north end pointed; the pole itself on the disc.
  const double tick = 0.9 * text / radius;
  painter.drawLine(at(frame, disc.p, 1), at(frame, disc.p, 1 + tick));
  painter.setPen(pen(kInk, look.thinLine));
  painter.drawLine(at(frame, disc.p + 180, 1), at(frame, disc.p + 180, 1 + tick * 0.6));
  {
    const double halfBase = 0.3 * text / radius * 180 / M_PI;  // degrees of position angle
    const QPointF tip = at(frame, disc.p, 1 + tick * 1.6);
    const QPointF left = at(frame, disc.p - halfBase, 1 + tick);
    const QPointF right = at(frame, disc.p + halfBase, 1 + tick);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawPolygon(QPolygonF{tip, left, right});
  }
  const Projection pole = skyPointOf(disc, 90, 0);
  painter.setPen(pen(kInk, look.thinLine));
  painter.setBrush(pole.visible ? QBrush(kInk) : QBrush(Qt::NoBrush));
  painter.drawEllipse(deviceOf(frame, pole.at), 0.22 * text, 0.22 * text);
  painter.setBrush(Qt::NoBrush);

  // The celestial cardinal points outside the rim.
  painter.setPen(kInk);
  const double cardinal = 1 + (kLabelMargin - 0.8) * text / radius;
  centredText(painter, at(frame, 0, cardinal), QStringLiteral("N"), text);
  centredText(painter, at(frame, 90, cardinal), QStringLiteral("E"), text);
  centredText(painter, at(frame, 180, cardinal), QStringLiteral("S"), text);
  centredText(painter, at(frame, 270, cardinal), QStringLiteral("O"), text);

  // Carrington longitudes along the equator, just under it.
  for (double longitude = 0; longitude < 360; longitude += kLongitudeLabelStep) {
    const double fromCentre = std::remainder(longitude - disc.l0, 360.0);
    if (std::abs(fromCentre) > kLongitudeLabelReach) continue;
    const Projection point = skyPointOf(disc, 0, longitude);
    if (!point.visible) continue;
    centredText(painter, deviceOf(frame, point.at) + QPointF(0, 0.75 * text),
                QString::number(static_cast<int>(longitude)), 0.85 * text);
  }

  // The central meridian's longitude, beside it in the southern hemisphere, on a patch of
  // the disc's colour so that the grid does not cross it.
  {
    const Projection point = skyPointOf(disc, -35, disc.l0);
    const QString label = QStringLiteral("L0 ") + angleText(disc.l0, look.decimalSeparator) + QStringLiteral("°");
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QPointF place = deviceOf(frame, point.at) + QPointF(0.4 * text, 0);
    const QRectF box(place.x(), place.y() - 0.6 * text, metrics.horizontalAdvance(label) + 0.4 * text, 1.2 * text);
    painter.fillRect(box, look.discFill.alpha() == 0 ? QColor(Qt::white) : look.discFill);
    painter.drawText(box, Qt::AlignCenter, label);
  }

  // The spots, each a small circle and its number.
  painter.setPen(pen(kSpotInk, look.strongLine));
  for (const Spot& spot : spots) {
    const QPointF place = deviceOf(frame, skyPointOf(spot.at));
    painter.drawEllipse(place, 0.3 * text, 0.3 * text);
    painter.drawText(QRectF(place.x() + 0.4 * text, place.y() - 1.6 * text, 40 * text, 1.6 * text),
                     Qt::AlignLeft | Qt::AlignBottom, QString::number(spot.number));
  }
  painter.restore();
}

}  // namespace kavrel::disque
