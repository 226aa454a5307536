// The programs' icons painted (icon_drawing.h).
#include "resources/icon_drawing.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace kavrel {

namespace {

const QColor kInk(0x6b, 0x2e, 0x00);
const QColor kPaper(0xff, 0xfb, 0xe8);

QPen ink(double width) {
  QPen pen(kInk, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void sunDisc(QPainter& p) {
  QRadialGradient glow(QPointF(26, 24), 34);
  glow.setColorAt(0.0, QColor(0xff, 0xf3, 0xa0));
  glow.setColorAt(0.55, QColor(0xff, 0xb8, 0x1c));
  glow.setColorAt(1.0, QColor(0xe0, 0x6a, 0x00));
  p.setPen(QPen(QColor(0xa8, 0x48, 0x00), 2));
  p.setBrush(glow);
  p.drawEllipse(QPointF(32, 32), 29, 29);
}

void arrowHead(QPainter& p, QPointF tip, double angleDegrees, double size) {
  const double a = angleDegrees * std::numbers::pi / 180;
  const QPointF back(-std::cos(a) * size, -std::sin(a) * size);
  const QPointF side(-std::sin(a) * size * 0.6, std::cos(a) * size * 0.6);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawPolygon(QPolygonF{tip, tip + back + side, tip + back - side});
}

void calendarSheet(QPainter& p, QRectF sheet) {
  p.setPen(ink(2.5));
  p.setBrush(kPaper);
  p.drawRoundedRect(sheet, 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawRect(QRectF(sheet.left(), sheet.top(), sheet.width(), sheet.height() * 0.28));
  p.setPen(ink(3));
  const double left = sheet.left() + 5, right = sheet.right() - 5;
  for (double y : {sheet.top() + sheet.height() * 0.5, sheet.top() + sheet.height() * 0.75})
    p.drawLine(QPointF(left, y), QPointF(right, y));
}

// The Julian day of a date: a calendar sheet.
void farrowel(QPainter& p) { calendarSheet(p, QRectF(17, 16, 30, 32)); }

// The date of a Julian day: a calendar sheet coming back from a count.
void gastrel(QPainter& p) {
  calendarSheet(p, QRectF(22, 14, 26, 28));
  p.setPen(ink(4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(12, 22, 28, 28), 180 * 16, 150 * 16);
  arrowHead(p, QPointF(12.5, 33), -90, 9);
}

// Sidereal time: a clock face under a star.
void kestrum(QPainter& p) {
  p.setPen(ink(3));
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(30, 34), 17, 17);
  p.setPen(ink(4));
  p.drawLine(QPointF(30, 34), QPointF(30, 22));
  p.drawLine(QPointF(30, 34), QPointF(39, 38));
  QPainterPath star;
  const QPointF c(48, 14);
  for (int i = 0; i < 8; ++i) {
    const double a = i * std::numbers::pi / 4 - std::numbers::pi / 2;
    const double r = i % 2 ? 3.0 : 9.0;
    const QPointF point(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
    i ? star.lineTo(point) : star.moveTo(point);
  }
  star.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawPath(star);
}

// Precession: a tilted axis whose end sweeps a circle around the upright.
void precession(QPainter& p) {
  p.setPen(ink(2));
  p.drawLine(QPointF(32, 52), QPointF(32, 16));
  p.setPen(ink(3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(32, 16), 14, 5);
  arrowHead(p, QPointF(19, 18), 120, 8);
  p.setPen(ink(4.5));
  p.drawLine(QPointF(32, 52), QPointF(44.5, 18.5));
  p.setBrush(kInk);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(32, 52), 3.5, 3.5);
}

// The aspect of the Sun: the solar globe with its tilted axis, equator and meridian.
void dalvoren(QPainter& p) {
  p.save();
  p.translate(32, 32);
  p.rotate(-20);  // the position angle of the axis
  p.setPen(ink(2.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(0, 0), 20, 20);
  p.drawEllipse(QPointF(0, 3), 20, 6);   // equator, seen from a little above
  p.drawEllipse(QPointF(0, 0), 8, 20);   // central meridian
  p.setPen(ink(4));
  p.drawLine(QPointF(0, -27), QPointF(0, -20));
  p.drawLine(QPointF(0, 20), QPointF(0, 27));
  p.restore();
}

// Synodic rotations: a turning arrow.
void brennic(QPainter& p) {
  p.setPen(ink(5));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(14, 14, 36, 36), 100 * 16, 290 * 16);
  arrowHead(p, QPointF(29, 14.5), 180 + 10, 11);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawEllipse(QPointF(32, 32), 4, 4);
}

// The disc and its spots: a drawing sheet's circle with the heliographic grid, two spots.
void disque(QPainter& p) {
  p.setPen(ink(2));
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(32, 32), 21, 21);
  p.save();
  p.translate(32, 32);
  p.rotate(15);  // the axis at its position angle
  p.setBrush(Qt::NoBrush);
  p.setPen(ink(1.5));
  p.drawArc(QRectF(-19, -14, 38, 12), 0, 180 * 16);   // a northern parallel
  p.drawArc(QRectF(-19, 2, 38, 12), 180 * 16, 180 * 16);  // a southern one
  p.drawEllipse(QRectF(-12, -21, 24, 42));             // two meridians
  p.setPen(ink(2.5));
  p.drawLine(QPointF(-21, 0), QPointF(21, 0));          // the equator
  p.drawLine(QPointF(0, -21), QPointF(0, 21));          // the central meridian
  p.restore();
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawEllipse(QPointF(41, 25), 3.5, 3.5);
  p.drawEllipse(QPointF(23, 40), 2.5, 2.5);
}

// The observer's log: a ruled page of counts, a pencil across it.
void journal(QPainter& p) {
  p.setPen(ink(2.5));
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(16, 13, 30, 38), 2, 2);
  p.setPen(ink(2));
  for (double y : {22.0, 29.0, 36.0, 43.0}) p.drawLine(QPointF(21, y), QPointF(41, y));
  p.setPen(ink(1.5));
  p.drawLine(QPointF(29, 17), QPointF(29, 47));
  p.setPen(ink(5));
  p.drawLine(QPointF(35, 46), QPointF(51, 30));
  arrowHead(p, QPointF(32.5, 48.5), 135, 5);
}

// A network: observers' points joined to the one that gathers their counts.
void reseau(QPainter& p) {
  const QPointF centre(32, 33);
  const QPointF observers[] = {{16, 20}, {48, 20}, {14, 44}, {50, 44}, {32, 12}};
  p.setPen(ink(2.5));
  for (const QPointF& at : observers) p.drawLine(centre, at);
  p.setBrush(kPaper);
  p.setPen(ink(2));
  for (const QPointF& at : observers) p.drawEllipse(at, 4.5, 4.5);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawEllipse(centre, 7, 7);
}

}  // namespace

const char* iconName(ProgramIcon program) {
  switch (program) {
    case ProgramIcon::Farrowel: return "farrowel";
    case ProgramIcon::Gastrel: return "gastrel";
    case ProgramIcon::Kestrum: return "kestrum";
    case ProgramIcon::Precession: return "precession";
    case ProgramIcon::Dalvoren: return "dalvoren";
    case ProgramIcon::Brennic: return "brennic";
    case ProgramIcon::Disque: return "disque";
    case ProgramIcon::Journal: return "journal";
    case ProgramIcon::Reseau: return "reseau";
  }
  return "dalvoren";
}

QImage drawnIcon(ProgramIcon program, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  sunDisc(p);
  switch (program) {
    case ProgramIcon::Farrowel: farrowel(p); break;
    case ProgramIcon::Gastrel: gastrel(p); break;
    case ProgramIcon::Kestrum: kestrum(p); break;
    case ProgramIcon::Precession: precession(p); break;
    case ProgramIcon::Dalvoren: dalvoren(p); break;
    case ProgramIcon::Brennic: brennic(p); break;
    case ProgramIcon::Disque: disque(p); break;
    case ProgramIcon::Journal: journal(p); break;
    case ProgramIcon::Reseau: reseau(p); break;
  }
  p.end();
  return image;
}

}  // namespace kavrel
