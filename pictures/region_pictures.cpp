// The regions' pictures painted (region_pictures.h).
//
// Each picture: its title and subtitle, the legend's row, the plot framed with its ticks,
// the source or a note at the foot. Rates are sidereal, degrees a day; the laws are drawn
// every half degree of latitude; the map's marks have a radius growing as the square root
// of the area (the spot's size on the disc), 3 units for a region without area.
#include "pictures/region_pictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/calendar_date.h"
#include "common/date_text.h"
#include "common/fixed_decimals.h"
#include "common/julian_day.h"
#include "host/qt_text.h"
#include "sun/carrington_rotation.h"

namespace kavrel::journal {
namespace {

constexpr double kDegree = std::numbers::pi / 180;
// A region is on the disc about 6.8 days either side of its central-meridian passage.
constexpr double kHalfPassageDays = 7;
const QColor kFitInk(25, 75, 160);
const QColor kPublishedInk(110, 110, 110);
const QColor kObserverInk(35, 35, 35);

// Lengths in units of a picture kChartWidth wide.
struct Scale {
  double unit = 1;
  [[nodiscard]] double operator()(double length) const { return length * unit; }
};
Scale scaleOf(const QRectF& area) {
  return {std::min(area.width() / kChartWidth, area.height() / (0.75 * kChartHeight))};
}

void setTextSize(QPainter& painter, const Scale& s, double size, bool bold = false, bool italic = false) {
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(s(size)))));
  font.setBold(bold);
  font.setItalic(italic);
  painter.setFont(font);
}

QPen penOf(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine) {
  QPen pen(colour);
  pen.setWidthF(width);
  pen.setStyle(style);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

std::string fixed(double value, int decimals, std::string_view separator) {
  std::string text;
  appendFixed(text, value, decimals, separator.empty() ? '.' : separator.front());
  return text;
}

// "14,41 − 2,90 sin²φ"
std::string lawText(double a, double b, std::string_view separator) {
  return fixed(a, 2, separator) + (b < 0 ? " − " : " + ") + fixed(std::fabs(b), 2, separator) + " sin²φ";
}

double julianDayOf(Day day, double fraction) {
  return julianDay(DateTime{double(day.day), double(day.month), double(day.year), 0, 0}, CenturyCut::Floor) +
         fraction;
}

// The title (and subtitle) at the top of `area`; the height they take.
double paintHeading(QPainter& painter, const QRectF& area, const Scale& s, const QString& title,
                    const QString& subtitle) {
  double top = area.top() + s(12);
  painter.setPen(Qt::black);
  setTextSize(painter, s, 18, true);
  painter.drawText(QRectF(area.left(), top, area.width(), s(26)), Qt::AlignCenter, title);
  top += s(28);
  if (!subtitle.isEmpty()) {
    setTextSize(painter, s, 13);
    painter.drawText(QRectF(area.left(), top, area.width(), s(20)), Qt::AlignCenter, subtitle);
    top += s(22);
  }
  return top - area.top();
}

// A legend's entry: its sample drawn into the box, then its text.
struct LegendEntry {
  std::function<void(QPainter&, const QRectF&)> sample;
  QString text;
};
// The entries one under another from (left, top); the height they take.
double paintLegend(QPainter& painter, const std::vector<LegendEntry>& entries, double left, double top,
                   const Scale& s) {
  setTextSize(painter, s, 13);
  const double row = s(20), sample = s(34);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const double y = top + row * static_cast<double>(i);
    painter.save();
    entries[i].sample(painter, QRectF(left, y + s(3), sample, row - s(6)));
    painter.restore();
    painter.setPen(Qt::black);
    painter.drawText(QRectF(left + sample + s(8), y, s(900), row), Qt::AlignLeft | Qt::AlignVCenter,
                     entries[i].text);
  }
  return row * static_cast<double>(entries.size());
}

void paintFrame(QPainter& painter, const QRectF& plot, const Scale& s) {
  painter.setPen(penOf(Qt::black, s(1)));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);
}

void paintGridLine(QPainter& painter, const QLineF& line, const Scale& s) {
  painter.setPen(penOf(QColor(205, 205, 205), s(0.8), Qt::DotLine));
  painter.drawLine(line);
}

void paintYTitle(QPainter& painter, const QRectF& plot, const Scale& s, const QString& title) {
  setTextSize(painter, s, 13);
  painter.setPen(Qt::black);
  painter.save();
  painter.translate(plot.left() - s(66), plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-plot.height() / 2, -s(10), plot.height(), s(20)), Qt::AlignCenter, title);
  painter.restore();
}

// ---------------------------------------------------------------------------------------
// The rotation picture.

double lawAt(double a, double b, double latitude) {
  const double sine = std::sin(latitude * kDegree);
  return a + b * sine * sine;
}

// The rates' range, with both laws and the rates set aside, rounded to half degrees a day,
// within 10 to 18: wilder rates are left outside rather than squeeze the others.
std::pair<double, double> rateRange(const RotationPicture& p, double latitudeEdge) {
  double low = lawAt(kNewtonNunnA, kNewtonNunnB, latitudeEdge), high = kNewtonNunnA;
  if (p.law.fitted) {
    low = std::min(low, lawAt(p.law.a, p.law.b, latitudeEdge));
    high = std::max(high, p.law.a);
  }
  for (const RegionRate& r : p.law.rates) {
    low = std::min(low, r.rate - r.rateError);
    high = std::max(high, r.rate + r.rateError);
  }
  for (const RegionRate& r : p.law.rejected) {
    low = std::min(low, r.rate);
    high = std::max(high, r.rate);
  }
  low = std::floor(std::max(low, 10.0) * 2) / 2;
  high = std::ceil(std::min(high, 18.0) * 2) / 2;
  return {low, high};
}

double latitudeEdge(const RotationPicture& p) {
  double most = 40;
  for (const RegionRate& r : p.law.rates) most = std::max(most, std::fabs(r.latitude) + 2);
  return std::min(90.0, std::ceil(most / 10) * 10);
}

void paintLaw(QPainter& painter, const PlotFrame& f, double a, double b, const QPen& pen) {
  QPainterPath path;
  for (double latitude = f.xLow; latitude <= f.xHigh + 1e-9; latitude += 0.5) {
    const QPointF point = f.at(latitude, lawAt(a, b, latitude));
    if (latitude == f.xLow) path.moveTo(point);
    else path.lineTo(point);
  }
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
}

void paintRates(QPainter& painter, const PlotFrame& f, const std::vector<RegionRate>& rates, const Scale& s) {
  painter.setPen(penOf(Qt::black, s(1)));
  painter.setBrush(Qt::white);
  const double cap = s(3), radius = s(3.2);
  for (const RegionRate& r : rates) {
    const QPointF low = f.at(r.latitude, r.rate - r.rateError), high = f.at(r.latitude, r.rate + r.rateError);
    painter.drawLine(low, high);
    painter.drawLine(QPointF(low.x() - cap, low.y()), QPointF(low.x() + cap, low.y()));
    painter.drawLine(QPointF(high.x() - cap, high.y()), QPointF(high.x() + cap, high.y()));
  }
  for (const RegionRate& r : rates) painter.drawEllipse(f.at(r.latitude, r.rate), radius, radius);
}

// The rates set aside as outliers: grey crosses, without their errors.
void paintRejected(QPainter& painter, const PlotFrame& f, const std::vector<RegionRate>& rejected, const Scale& s) {
  painter.setPen(penOf(kPublishedInk, s(1.2)));
  const double arm = s(3.2);
  for (const RegionRate& r : rejected) {
    const QPointF c = f.at(r.latitude, r.rate);
    painter.drawLine(QPointF(c.x() - arm, c.y() - arm), QPointF(c.x() + arm, c.y() + arm));
    painter.drawLine(QPointF(c.x() - arm, c.y() + arm), QPointF(c.x() + arm, c.y() - arm));
  }
}

QString latitudeLabel(double latitude) {
  if (std::fabs(latitude) < 1e-9) return QStringLiteral("0°");
  return QString::number(std::lround(std::fabs(latitude))) + (latitude > 0 ? "° N" : "° S");
}

void paintRotationAxes(QPainter& painter, const PlotFrame& f, const Scale& s, std::string_view separator) {
  setTextSize(painter, s, 12);
  const double tick = s(5);
  for (double latitude = f.xLow; latitude <= f.xHigh + 1e-9; latitude += 10) {
    const QPointF bottom = f.at(latitude, f.yLow);
    paintGridLine(painter, QLineF(bottom, f.at(latitude, f.yHigh)), s);
    painter.setPen(Qt::black);
    painter.drawLine(bottom, bottom + QPointF(0, tick));
    painter.drawText(QRectF(bottom.x() - s(40), bottom.y() + s(7), s(80), s(18)), Qt::AlignHCenter | Qt::AlignTop,
                     latitudeLabel(latitude));
  }
  const double step = f.yHigh - f.yLow > 4 ? 1 : 0.5;
  for (double rate = std::ceil(f.yLow / step) * step; rate <= f.yHigh + 1e-9; rate += step) {
    const QPointF left = f.at(f.xLow, rate);
    paintGridLine(painter, QLineF(left, f.at(f.xHigh, rate)), s);
    painter.setPen(Qt::black);
    painter.drawLine(left - QPointF(tick, 0), left);
    painter.drawText(QRectF(left.x() - s(60), left.y() - s(9), s(52), s(18)), Qt::AlignRight | Qt::AlignVCenter,
                     toQString(fixed(rate, 1, separator)));
  }
  paintFrame(painter, f.plot, s);
  setTextSize(painter, s, 13);
  painter.drawText(QRectF(f.plot.left(), f.plot.bottom() + s(27), f.plot.width(), s(20)), Qt::AlignCenter,
                   QStringLiteral("Latitude héliographique φ"));
  paintYTitle(painter, f.plot, s, QStringLiteral("Vitesse de rotation sidérale ω (°/jour)"));
}

std::vector<LegendEntry> rotationLegend(const RotationPicture& p, const Scale& s) {
  const std::string_view sep = p.decimalSeparator;
  std::vector<LegendEntry> entries;
  entries.push_back({[s](QPainter& painter, const QRectF& box) {
                       painter.setPen(penOf(Qt::black, s(1)));
                       painter.setBrush(Qt::white);
                       painter.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
                       painter.drawEllipse(box.center(), s(3.2), s(3.2));
                     },
                     QString("Régions suivies (%1), leur vitesse et son erreur type").arg(p.law.rates.size())});
  if (!p.law.rejected.empty())
    entries.push_back({[s](QPainter& painter, const QRectF& box) {
                         paintRejected(painter, PlotFrame{box, 0, 1, 0, 1}, {RegionRate{0, 0.5, 0.5, 0}}, s);
                       },
                       QString("Vitesses écartées de l'ajustement, régions sans doute mal suivies (%1)")
                           .arg(p.law.rejected.size())});
  if (p.law.fitted)
    entries.push_back({[s](QPainter& painter, const QRectF& box) {
                         painter.setPen(penOf(kFitInk, s(2.8)));
                         painter.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
                       },
                       toQString("Loi ajustée : ω = " + lawText(p.law.a, p.law.b, sep) + " °/jour (A ± " +
                                 fixed(p.law.aError, 2, sep) + ", B ± " + fixed(p.law.bError, 2, sep) + ")")});
  entries.push_back({[s](QPainter& painter, const QRectF& box) {
                       painter.setPen(penOf(kPublishedInk, s(1.8), Qt::DashLine));
                       painter.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
                     },
                     toQString("Newton et Nunn (1951) : ω = " + lawText(kNewtonNunnA, kNewtonNunnB, sep) +
                               " °/jour, groupes de taches")});
  return entries;
}

struct RotationLayout {
  PlotFrame frame;
  double legendTop = 0;
};
RotationLayout rotationLayout(const QRectF& area, const RotationPicture& p) {
  const Scale s = scaleOf(area);
  const double entries = (p.law.fitted ? 3 : 2) + (p.law.rejected.empty() ? 0 : 1);
  const double top = area.top() + s(12 + 28 + (p.subtitle.empty() ? 0 : 22));
  const double plotTop = top + s(20) * entries + s(14);
  RotationLayout layout;
  layout.legendTop = top + s(4);
  layout.frame.plot = QRectF(QPointF(area.left() + s(96), plotTop), QPointF(area.right() - s(24), area.bottom() - s(80)));
  layout.frame.xHigh = latitudeEdge(p);
  layout.frame.xLow = -layout.frame.xHigh;
  std::tie(layout.frame.yLow, layout.frame.yHigh) = rateRange(p, layout.frame.xHigh);
  return layout;
}

// ---------------------------------------------------------------------------------------
// The rotation's map.

constexpr double kMapLatitude = 60;

double markRadius(const MapMark& mark, const Scale& s) {
  if (!mark.areaMsh || *mark.areaMsh <= 0) return s(3);
  return s(3 + 0.35 * std::sqrt(*mark.areaMsh));
}

void paintObserverMark(QPainter& painter, QPointF centre, double radius, const Scale& s) {
  painter.setPen(penOf(Qt::white, s(1)));
  painter.setBrush(kObserverInk);
  painter.drawEllipse(centre, radius, radius);
}

// Open, with a white halo so that it reads over a filled disc.
void paintImportedMark(QPainter& painter, QPointF centre, double radius, const Scale& s) {
  const QRectF square(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(penOf(Qt::white, s(3.6)));
  painter.drawRect(square);
  painter.setPen(penOf(Qt::black, s(1.6)));
  painter.drawRect(square);
}

void paintMarks(QPainter& painter, const PlotFrame& f, const RotationMap& map, const Scale& s) {
  for (const bool imported : {false, true})
    for (const MapMark& mark : map.marks) {
      if (mark.imported != imported) continue;
      const QPointF centre = f.at(mark.longitude, mark.latitude);
      const double radius = markRadius(mark, s);
      if (imported) paintImportedMark(painter, centre, radius, s);
      else paintObserverMark(painter, centre, radius, s);
    }
  // Labels last, the observer's above-right of their mark, the imported below-right.
  for (const MapMark& mark : map.marks) {
    const QPointF centre = f.at(mark.longitude, mark.latitude);
    const double radius = markRadius(mark, s);
    const bool numbered = !mark.label.empty() && mark.label.front() != '(';
    setTextSize(painter, s, 11, numbered && !mark.imported, !numbered);
    // Right of the mark, or left of it near the right edge.
    const bool leftward = centre.x() + radius + s(48) > f.plot.right();
    const double x = leftward ? centre.x() - radius * 0.7 - s(60) : centre.x() + radius * 0.7;
    const double y = mark.imported ? centre.y() + radius * 0.7 : centre.y() - radius * 0.7 - s(16);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(x, y, s(60), s(16)),
                     (leftward ? Qt::AlignRight : Qt::AlignLeft) | (mark.imported ? Qt::AlignTop : Qt::AlignBottom),
                     toQString(mark.label));
  }
}

void paintMapAxes(QPainter& painter, const PlotFrame& f, const Scale& s) {
  setTextSize(painter, s, 12);
  const double tick = s(5);
  for (int longitude = 360; longitude >= 0; longitude -= 30) {
    const QPointF bottom = f.at(longitude, -kMapLatitude);
    paintGridLine(painter, QLineF(bottom, f.at(longitude, kMapLatitude)), s);
    painter.setPen(Qt::black);
    painter.drawLine(bottom, bottom + QPointF(0, tick));
    painter.drawText(QRectF(bottom.x() - s(40), bottom.y() + s(7), s(80), s(18)), Qt::AlignHCenter | Qt::AlignTop,
                     QString::number(longitude) + "°");
  }
  for (int latitude = -60; latitude <= 60; latitude += 15) {
    const QPointF left = f.at(360, latitude);
    if (latitude == 0) {
      painter.setPen(penOf(QColor(120, 120, 120), s(1)));
      painter.drawLine(QLineF(left, f.at(0, 0)));
    } else {
      paintGridLine(painter, QLineF(left, f.at(0, latitude)), s);
    }
    painter.setPen(Qt::black);
    painter.drawLine(left - QPointF(tick, 0), left);
    painter.drawText(QRectF(left.x() - s(60), left.y() - s(9), s(52), s(18)), Qt::AlignRight | Qt::AlignVCenter,
                     latitudeLabel(latitude));
  }
  paintFrame(painter, f.plot, s);
  setTextSize(painter, s, 13);
  painter.drawText(QRectF(f.plot.left(), f.plot.bottom() + s(27), f.plot.width(), s(20)), Qt::AlignCenter,
                   QStringLiteral("Longitude de Carrington"));
  paintYTitle(painter, f.plot, s, QStringLiteral("Latitude héliographique"));
}

// Along the top, each UT day's 0 h at the longitude then on the central meridian: the
// day of the month, its month's name over its first day shown and over each 1st.
void paintPassageDays(QPainter& painter, const PlotFrame& f, const RotationMap& map, const Scale& s) {
  const double tick = s(5);
  bool first = true;
  for (double day = std::ceil(map.start - 0.5) + 0.5; day < map.end; day += 1) {
    const auto at = carringtonRotationAt(day);
    if (!at || static_cast<int>(std::floor(*at)) != map.rotation) continue;
    const double longitude = 360 * (1 - (*at - std::floor(*at)));
    const QPointF top = f.at(longitude, kMapLatitude);
    const CalendarDate date = calendarDate(day);
    painter.setPen(penOf(Qt::black, s(1)));
    painter.drawLine(top, top - QPointF(0, tick));
    setTextSize(painter, s, 11);
    painter.drawText(QRectF(top.x() - s(14), top.y() - s(22), s(28), s(16)), Qt::AlignCenter,
                     QString::number(static_cast<int>(date.day)));
    if (first || date.day == 1) {
      setTextSize(painter, s, 11, false, true);
      painter.drawText(QRectF(top.x() - s(6), top.y() - s(40), s(160), s(16)), Qt::AlignLeft | Qt::AlignVCenter,
                       toQString(monthName(date.month) + " " + std::to_string(static_cast<int>(date.year))));
    }
    first = false;
  }
}

QString dateOf(double julianDayUtc) {
  const CalendarDate d = calendarDate(julianDayUtc);
  return toQString(frenchLongDate(static_cast<int>(d.year), static_cast<int>(d.month), static_cast<int>(d.day)));
}

std::vector<LegendEntry> mapLegend(const RotationMap& map, const Scale& s) {
  std::vector<LegendEntry> entries;
  entries.push_back({[s](QPainter& painter, const QRectF& box) { paintObserverMark(painter, box.center(), s(6), s); },
                     QStringLiteral("Régions de l'observateur (disque plein)")});
  entries.push_back(
      {[s](QPainter& painter, const QRectF& box) { paintImportedMark(painter, box.center(), s(6), s); },
       toQString("Régions " + (map.importedName.empty() ? std::string("importées") : "de " + map.importedName) +
                 " (carré vide)")});
  entries.push_back({[s](QPainter& painter, const QRectF& box) {
                       setTextSize(painter, s, 11, false, true);
                       painter.drawText(box, Qt::AlignCenter, QStringLiteral("(7)"));
                     },
                     QStringLiteral("Taille : la plus grande aire de la région ; à côté, son numéro, ou son rang "
                                    "entre parenthèses quand elle n'en a pas")});
  return entries;
}

// A region's mark when its longitude passed the central meridian during the rotation
// while it was seen.
std::optional<MapMark> markOf(int rotation, const Region& region, const std::vector<Sighting>& sightings,
                              bool imported) {
  const auto passage = centralMeridianPassage(rotation, region.longitude);
  if (!passage) return std::nullopt;
  const bool seen = std::any_of(region.sightings.begin(), region.sightings.end(), [&](std::size_t i) {
    return i < sightings.size() &&
           std::fabs(julianDayOf(sightings[i].date, sightings[i].dayFraction) - *passage) <= kHalfPassageDays;
  });
  if (!seen) return std::nullopt;
  MapMark mark;
  mark.longitude = region.longitude;
  mark.latitude = region.latitude;
  mark.areaMsh = region.maxAreaMsh;
  mark.label = region.number ? std::to_string(*region.number) : "(" + std::to_string(region.id) + ")";
  mark.imported = imported;
  return mark;
}

// ---------------------------------------------------------------------------------------
// A region's area.

QString regionName(const Region& region) {
  if (region.number) return QString("Région %1 (n° %2)").arg(region.id).arg(*region.number);
  return QString("Région %1 (sans numéro)").arg(region.id);
}

struct AreaPoint {
  double day = 0;  // Julian day
  double area = 0;
};
std::vector<AreaPoint> areaPoints(const RegionAreaPicture& p) {
  std::vector<AreaPoint> points;
  for (const Sighting& sighting : p.sightings)
    if (sighting.areaMsh) points.push_back({julianDayOf(sighting.date, sighting.dayFraction), *sighting.areaMsh});
  std::sort(points.begin(), points.end(), [](const AreaPoint& a, const AreaPoint& b) { return a.day < b.day; });
  return points;
}

PlotFrame areaFrame(const QRectF& area, const std::vector<AreaPoint>& points) {
  const Scale s = scaleOf(area);
  PlotFrame f;
  f.plot = QRectF(QPointF(area.left() + s(96), area.top() + s(70)), QPointF(area.right() - s(24), area.bottom() - s(80)));
  f.xLow = std::floor(points.front().day - 0.5) + 0.5 - 1;
  f.xHigh = std::max(f.xLow + 4, std::ceil(points.back().day - 0.5) + 0.5 + 1);
  double most = 0;
  for (const AreaPoint& p : points) most = std::max(most, p.area);
  const double step = most > 500 ? 200 : most > 100 ? 50 : 10;
  f.yLow = 0;
  f.yHigh = std::max(step, std::ceil(most * 1.1 / step) * step);
  return f;
}

void paintAreaAxes(QPainter& painter, const PlotFrame& f, const Scale& s) {
  setTextSize(painter, s, 12);
  const double tick = s(5), span = f.xHigh - f.xLow;
  const int every = span > 30 ? 5 : span > 15 ? 2 : 1;
  int count = 0;
  for (double day = f.xLow; day <= f.xHigh + 1e-9; day += 1, ++count) {
    if (count % every != 0) continue;
    const QPointF bottom = f.at(day, 0);
    paintGridLine(painter, QLineF(bottom, f.at(day, f.yHigh)), s);
    painter.setPen(Qt::black);
    painter.drawLine(bottom, bottom + QPointF(0, tick));
    const CalendarDate d = calendarDate(day);
    painter.drawText(QRectF(bottom.x() - s(30), bottom.y() + s(7), s(60), s(18)), Qt::AlignHCenter | Qt::AlignTop,
                     QString("%1/%2").arg(static_cast<int>(d.day)).arg(static_cast<int>(d.month), 2, 10, QChar('0')));
  }
  const double step = f.yHigh > 1000 ? 200 : f.yHigh > 200 ? 100 : f.yHigh > 50 ? 20 : 5;
  for (double value = 0; value <= f.yHigh + 1e-9; value += step) {
    const QPointF left = f.at(f.xLow, value);
    paintGridLine(painter, QLineF(left, f.at(f.xHigh, value)), s);
    painter.setPen(Qt::black);
    painter.drawLine(left - QPointF(tick, 0), left);
    painter.drawText(QRectF(left.x() - s(60), left.y() - s(9), s(52), s(18)), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(value, 'f', 0));
  }
  paintFrame(painter, f.plot, s);
  setTextSize(painter, s, 13);
  painter.drawText(QRectF(f.plot.left(), f.plot.bottom() + s(27), f.plot.width(), s(20)), Qt::AlignCenter,
                   QStringLiteral("Date (TU)"));
  paintYTitle(painter, f.plot, s, QStringLiteral("Aire (millionièmes de l'hémisphère)"));
}

}  // namespace

// ---------------------------------------------------------------------------------------

PlotFrame rotationPictureFrame(const QRectF& area, const RotationPicture& picture) {
  return rotationLayout(area, picture).frame;
}

void paintRotationPicture(QPainter& painter, const QRectF& area, const RotationPicture& p) {
  const Scale s = scaleOf(area);
  const RotationLayout layout = rotationLayout(area, p);
  const PlotFrame& f = layout.frame;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  static_cast<void>(paintHeading(painter, area, s, QStringLiteral("Rotation différentielle du Soleil"),
                                 toQString(p.subtitle)));
  static_cast<void>(paintLegend(painter, rotationLegend(p, s), f.plot.left() + s(10), layout.legendTop, s));
  paintRotationAxes(painter, f, s, p.decimalSeparator);
  painter.save();
  painter.setClipRect(f.plot);
  paintLaw(painter, f, kNewtonNunnA, kNewtonNunnB, penOf(kPublishedInk, s(1.8), Qt::DashLine));
  paintRejected(painter, f, p.law.rejected, s);
  paintRates(painter, f, p.law.rates, s);
  if (p.law.fitted) paintLaw(painter, f, p.law.a, p.law.b, penOf(kFitInk, s(2.8)));
  painter.restore();
  setTextSize(painter, s, 11, false, true);
  painter.setPen(Qt::black);
  const QString foot =
      p.law.fitted ? QStringLiteral("Loi publiée : H. W. Newton et M. L. Nunn, Monthly Notices of the Royal "
                                    "Astronomical Society 111 (1951), groupes de taches récurrents.")
                   : QStringLiteral("Trop peu de régions suivies (quatre jours au moins, sur trois jours ou plus) "
                                    "pour ajuster la loi.");
  painter.drawText(QRectF(area.left() + s(24), area.bottom() - s(26), area.width() - s(48), s(18)),
                   Qt::AlignRight | Qt::AlignVCenter, foot);
  painter.restore();
}

std::optional<RotationMap> rotationMap(int rotation, const RegionSet& observer, const RegionSet& imported,
                                       std::string_view importedName) {
  const auto start = carringtonRotationStart(rotation), end = carringtonRotationStart(rotation + 1);
  if (!start || !end) return std::nullopt;
  RotationMap map;
  map.rotation = rotation;
  map.start = *start;
  map.end = *end;
  map.importedName = std::string(importedName);
  for (const bool isImported : {false, true}) {
    const RegionSet& set = isImported ? imported : observer;
    for (const Region& region : set.regions)
      if (auto mark = markOf(rotation, region, set.sightings, isImported)) map.marks.push_back(std::move(*mark));
  }
  return map;
}

PlotFrame rotationMapFrame(const QRectF& area) {
  const Scale s = scaleOf(area);
  PlotFrame f;
  f.plot = QRectF(QPointF(area.left() + s(96), area.top() + s(166)), QPointF(area.right() - s(24), area.bottom() - s(64)));
  f.xLow = 360;
  f.xHigh = 0;
  f.yLow = -kMapLatitude;
  f.yHigh = kMapLatitude;
  return f;
}

void paintRotationMap(QPainter& painter, const QRectF& area, const RotationMap& map) {
  const Scale s = scaleOf(area);
  const PlotFrame f = rotationMapFrame(area);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  static_cast<void>(paintHeading(
      painter, area, s, QString("Carte de la rotation de Carrington %1").arg(map.rotation),
      QString("du %1 au %2 ; en haut, les jours du passage au méridien central (0 h TU)")
          .arg(dateOf(map.start), dateOf(map.end))));
  const std::vector<LegendEntry> legend = mapLegend(map, s);
  static_cast<void>(paintLegend(painter, legend, f.plot.left() + s(10), area.top() + s(64), s));
  paintMapAxes(painter, f, s);
  paintPassageDays(painter, f, map, s);
  painter.save();
  painter.setClipRect(f.plot);
  paintMarks(painter, f, map, s);
  painter.restore();
  if (map.marks.empty()) {
    setTextSize(painter, s, 16);
    painter.setPen(Qt::black);
    painter.drawText(f.plot, Qt::AlignCenter, QStringLiteral("Aucune région au méridien central pendant cette rotation."));
  }
  painter.restore();
}

void paintRegionArea(QPainter& painter, const QRectF& area, const RegionAreaPicture& p) {
  const Scale s = scaleOf(area);
  const std::vector<AreaPoint> points = areaPoints(p);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  static_cast<void>(paintHeading(painter, area, s, regionName(p.region) + QStringLiteral(" : aire au fil des jours"),
                                 {}));
  if (points.empty()) {
    setTextSize(painter, s, 16);
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("Aucune aire mesurée pour cette région."));
    painter.restore();
    return;
  }
  const PlotFrame f = areaFrame(area, points);
  paintAreaAxes(painter, f, s);
  std::vector<QPointF> line;
  for (const AreaPoint& point : points) line.push_back(f.at(point.day, point.area));
  painter.setPen(penOf(Qt::black, s(1.6)));
  painter.drawPolyline(line.data(), static_cast<int>(line.size()));
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  for (const QPointF& centre : line) painter.drawRect(QRectF(centre.x() - s(3), centre.y() - s(3), s(6), s(6)));
  painter.restore();
}

}  // namespace kavrel::journal
