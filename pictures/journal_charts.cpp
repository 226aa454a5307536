// The journal's pictures painted (journal_charts.h).
//
// The layout: the title, the legend's row under it, the panels stacked (their x axis shared,
// its labels under the last one), the credit at the foot. Marks are drawn in batches
// (drawRects, drawLines), so that a butterfly of some tens of thousands of groups paints
// in a few tens of milliseconds.
#include "pictures/journal_charts.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <vector>

#include "host/qt_text.h"
#include "ui/whole_file.h"

namespace kavrel::journal {
namespace {

constexpr int kPdfDotsPerInch = 600;
constexpr double kPdfMarginMm = 10;

QColor inkColour(Ink ink) {
  switch (ink) {
    case Ink::Grey: return {128, 128, 128};
    case Ink::Blue: return {25, 75, 160};
    case Ink::Red: return {190, 40, 30};
    case Ink::Black: break;
  }
  return Qt::black;
}

// Lengths in units of a picture kChartWidth wide.
struct Scale {
  double unit = 1;
  [[nodiscard]] double operator()(double length) const { return length * unit; }
};

void setTextSize(QPainter& painter, const Scale& s, double size, bool bold = false, bool italic = false) {
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(s(size)))));
  font.setBold(bold);
  font.setItalic(italic);
  painter.setFont(font);
}

struct Mapping {
  QRectF plot;
  const Panel* panel;
  [[nodiscard]] double x(double value) const {
    return plot.left() + (value - panel->x.low) / (panel->x.high - panel->x.low) * plot.width();
  }
  [[nodiscard]] double y(double value) const {
    return plot.bottom() - (value - panel->y.low) / (panel->y.high - panel->y.low) * plot.height();
  }
};

QPen seriesPen(const ChartSeries& series, const Scale& s) {
  QPen pen(inkColour(series.ink));
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  switch (series.look) {
    case Look::ThinLine: pen.setWidthF(s(1.2)); break;
    case Look::ThickLine: pen.setWidthF(s(2.8)); break;
    case Look::DashedMarks:
      pen.setWidthF(s(1.6));
      pen.setStyle(Qt::DashLine);
      break;
    default: pen.setWidthF(s(1.3)); break;
  }
  return pen;
}

void drawCircles(QPainter& painter, const std::vector<QPointF>& centres, double radius, const QPen& pen) {
  painter.setPen(pen);
  painter.setBrush(Qt::white);
  for (const auto& c : centres) painter.drawEllipse(c, radius, radius);
}

void drawCrosses(QPainter& painter, const std::vector<QPointF>& centres, double radius, const QPen& pen) {
  std::vector<QLineF> lines;
  lines.reserve(centres.size() * 2);
  for (const auto& c : centres) {
    lines.emplace_back(c.x() - radius, c.y() - radius, c.x() + radius, c.y() + radius);
    lines.emplace_back(c.x() - radius, c.y() + radius, c.x() + radius, c.y() - radius);
  }
  painter.setPen(pen);
  painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

void drawSquares(QPainter& painter, const std::vector<QPointF>& centres, double side, const QColor& colour) {
  std::vector<QRectF> squares;
  squares.reserve(centres.size());
  for (const auto& c : centres) squares.emplace_back(c.x() - side / 2, c.y() - side / 2, side, side);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawRects(squares.data(), static_cast<int>(squares.size()));
}

// The line's pieces between NaNs.
void drawPieces(QPainter& painter, const Mapping& m, const std::vector<ChartPoint>& points, const QPen& pen) {
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  std::vector<QPointF> piece;
  const auto flush = [&] {
    if (piece.size() == 1) painter.drawPoint(piece.front());
    if (piece.size() > 1) painter.drawPolyline(piece.data(), static_cast<int>(piece.size()));
    piece.clear();
  };
  for (const auto& p : points) {
    if (std::isnan(p.y)) flush();
    else piece.emplace_back(m.x(p.x), m.y(p.y));
  }
  flush();
}

void drawBars(QPainter& painter, const Mapping& m, const std::vector<ChartPoint>& points, const QColor& colour) {
  double step = 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const double gap = points[i].x - points[i - 1].x;
    if (gap > 0 && (step == 0 || gap < step)) step = gap;
  }
  if (step == 0) step = (m.panel->x.high - m.panel->x.low) / 100;
  std::vector<QRectF> bars;
  const double zero = m.y(std::max(0.0, m.panel->y.low));
  for (const auto& p : points) {
    if (std::isnan(p.y)) continue;
    const double left = m.x(p.x - step / 2), right = m.x(p.x + step / 2);
    bars.emplace_back(QPointF(left, m.y(p.y)), QPointF(right, zero));
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour.lighter(150));
  painter.drawRects(bars.data(), static_cast<int>(bars.size()));
}

std::vector<QPointF> marksOf(const Mapping& m, const std::vector<ChartPoint>& points) {
  std::vector<QPointF> centres;
  centres.reserve(points.size());
  for (const auto& p : points)
    if (!std::isnan(p.y)) centres.emplace_back(m.x(p.x), m.y(p.y));
  return centres;
}

void drawSeries(QPainter& painter, const Mapping& m, const ChartSeries& series, const Scale& s) {
  const QPen pen = seriesPen(series, s);
  switch (series.look) {
    case Look::ThinLine:
    case Look::ThickLine: drawPieces(painter, m, series.points, pen); break;
    case Look::DashedMarks: {
      drawPieces(painter, m, series.points, pen);
      QPen solid = pen;
      solid.setStyle(Qt::SolidLine);
      drawCircles(painter, marksOf(m, series.points), s(3.2), solid);
      break;
    }
    case Look::Dots: drawSquares(painter, marksOf(m, series.points), s(2.6), inkColour(series.ink)); break;
    case Look::Crosses: drawCrosses(painter, marksOf(m, series.points), s(3.0), pen); break;
    case Look::Bars: drawBars(painter, m, series.points, inkColour(series.ink)); break;
    case Look::LineDots:
      drawPieces(painter, m, series.points, pen);
      drawSquares(painter, marksOf(m, series.points), s(5), inkColour(series.ink));
      break;
    case Look::LineCrosses:
      drawPieces(painter, m, series.points, pen);
      drawCrosses(painter, marksOf(m, series.points), s(3.5), pen);
      break;
  }
}

// The series' sample in the legend, in a box of `box`.
void drawSample(QPainter& painter, const QRectF& box, const ChartSeries& series, const Scale& s) {
  const QPen pen = seriesPen(series, s);
  const QPointF middle = box.center();
  switch (series.look) {
    case Look::ThinLine:
    case Look::ThickLine:
    case Look::DashedMarks:
      painter.setPen(pen);
      painter.drawLine(QPointF(box.left(), middle.y()), QPointF(box.right(), middle.y()));
      if (series.look == Look::DashedMarks) {
        QPen solid = pen;
        solid.setStyle(Qt::SolidLine);
        drawCircles(painter, {middle}, s(3.2), solid);
      }
      break;
    case Look::Dots: drawSquares(painter, {middle}, s(4), inkColour(series.ink)); break;
    case Look::Crosses: drawCrosses(painter, {middle}, s(3.5), pen); break;
    case Look::Bars:
      painter.setPen(Qt::NoPen);
      painter.setBrush(inkColour(series.ink).lighter(150));
      painter.drawRect(QRectF(box.left() + box.width() / 4, box.top(), box.width() / 2, box.height()));
      break;
    case Look::LineDots:
    case Look::LineCrosses:
      painter.setPen(pen);
      painter.drawLine(QPointF(box.left(), middle.y()), QPointF(box.right(), middle.y()));
      if (series.look == Look::LineDots) drawSquares(painter, {middle}, s(5), inkColour(series.ink));
      else drawCrosses(painter, {middle}, s(3.5), pen);
      break;
  }
}

// The legend's entries in rows across `width` from (left, top); its height.
double paintLegend(QPainter& painter, const Chart& chart, double left, double top, double width, const Scale& s,
                   bool paint) {
  setTextSize(painter, s, 13);
  const QFontMetricsF metrics(painter.font());
  const double sample = s(34), gap = s(8), spacing = s(26), row = s(20);
  double x = left, y = top;
  bool any = false;
  for (const auto& panel : chart.panels)
    for (const auto& series : panel.series) {
      const QString name = toQString(series.name);
      const double entry = sample + gap + metrics.horizontalAdvance(name);
      if (any && x + entry > left + width) {
        x = left;
        y += row;
      }
      if (paint) {
        drawSample(painter, QRectF(x, y + s(4), sample, row - s(8)), series, s);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x + sample + gap, y, entry, row), Qt::AlignLeft | Qt::AlignVCenter, name);
      }
      x += entry + spacing;
      any = true;
    }
  return any ? y + row - top : 0;
}

// The frame, grid, ticks and labels of a panel; x labels and title when `xLabels`.
void paintAxes(QPainter& painter, const Mapping& m, const Scale& s, bool xLabels) {
  const QRectF& plot = m.plot;
  QPen grid(QColor(205, 205, 205));
  grid.setWidthF(s(0.8));
  grid.setStyle(Qt::DotLine);
  painter.setPen(grid);
  for (const auto& t : m.panel->x.ticks) painter.drawLine(QPointF(m.x(t.value), plot.top()), QPointF(m.x(t.value), plot.bottom()));
  for (const auto& t : m.panel->y.ticks) painter.drawLine(QPointF(plot.left(), m.y(t.value)), QPointF(plot.right(), m.y(t.value)));

  QPen ink(Qt::black);
  ink.setWidthF(s(1));
  painter.setPen(ink);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);
  setTextSize(painter, s, 12);
  const double tick = s(5);
  for (const auto& t : m.panel->y.ticks) {
    const double y = m.y(t.value);
    painter.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
    painter.drawText(QRectF(plot.left() - s(64), y - s(9), s(56), s(18)), Qt::AlignRight | Qt::AlignVCenter,
                     toQString(t.label));
  }
  for (const auto& t : m.panel->x.ticks) {
    const double x = m.x(t.value);
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
    if (xLabels)
      painter.drawText(QRectF(x - s(40), plot.bottom() + s(7), s(80), s(18)), Qt::AlignHCenter | Qt::AlignTop,
                       toQString(t.label));
  }
  // The y axis's title turned up its side, the x axis's under the labels.
  setTextSize(painter, s, 13);
  painter.save();
  painter.translate(plot.left() - s(74), plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-plot.height() / 2 - s(40), -s(10), plot.height() + s(80), s(20)), Qt::AlignCenter,
                   toQString(m.panel->y.title));
  painter.restore();
  if (xLabels)
    painter.drawText(QRectF(plot.left(), plot.bottom() + s(27), plot.width(), s(20)), Qt::AlignHCenter | Qt::AlignTop,
                     toQString(m.panel->x.title));
}

}  // namespace

void paintChart(QPainter& painter, const QRectF& area, const Chart& chart) {
  // Texts and marks follow the width, unless the area is much flatter than the picture:
  // the window's wide area keeps them readable, a flat strip keeps its plots.
  const Scale s{std::min(area.width() / kChartWidth, area.height() / (0.75 * kChartHeight))};
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.fillRect(area, Qt::white);
  painter.setPen(Qt::black);

  const double left = area.left() + s(96), right = area.right() - s(24);
  double top = area.top() + s(14);
  setTextSize(painter, s, 18, true);
  painter.drawText(QRectF(area.left(), top, area.width(), s(26)), Qt::AlignHCenter | Qt::AlignVCenter,
                   toQString(chart.title));
  top += s(34);
  if (!chart.note.empty()) {
    setTextSize(painter, s, 16);
    painter.drawText(area, Qt::AlignCenter, toQString(chart.note));
    painter.restore();
    return;
  }
  top += paintLegend(painter, chart, left, top, right - left, s, true) + s(12);

  const double foot = area.bottom() - s(chart.credit.empty() ? 56 : 76);
  const double gapBetween = s(12);
  const double height = foot - top - gapBetween * static_cast<double>(chart.panels.size() - 1);
  for (std::size_t i = 0; i < chart.panels.size(); ++i) {
    const Panel& panel = chart.panels[i];
    const QRectF plot(left, top, right - left, height * panel.heightShare);
    const Mapping m{plot, &panel};
    paintAxes(painter, m, s, i + 1 == chart.panels.size());
    painter.save();
    painter.setClipRect(plot.adjusted(-s(4), -s(4), s(4), s(4)));
    for (const auto& series : panel.series) drawSeries(painter, m, series, s);
    painter.restore();
    top = plot.bottom() + gapBetween;
  }
  if (!chart.credit.empty()) {
    setTextSize(painter, s, 11, false, true);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.bottom() - s(24), area.width() - s(24), s(18)),
                     Qt::AlignRight | Qt::AlignVCenter, toQString(chart.credit));
  }
  painter.restore();
}

QImage chartImage(const Chart& chart, int width, int height) {
  return paintingImage([&](QPainter& painter, const QRectF& area) { paintChart(painter, area, chart); }, width, height);
}

bool writeChart(const QString& path, ChartFormat format, const Chart& chart, QString* error, const QString& creator) {
  return writePainting(
      path, format, [&](QPainter& painter, const QRectF& area) { paintChart(painter, area, chart); },
      toQString(chart.title), error, creator, toQString(chart.credit));
}

QImage paintingImage(const Painting& paint, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  paint(painter, QRectF(0, 0, width, height));
  return image;
}

namespace {

bool paintPdf(QBuffer& buffer, const Painting& paint, const QString& title, const QString& creator) {
  QPdfWriter writer(&buffer);
  writer.setResolution(kPdfDotsPerInch);
  writer.setTitle(title);
  writer.setCreator(creator);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                   QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                                   QPageLayout::Millimeter));
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  // The picture's proportions kept, centred on the page.
  const QRectF page(0, 0, writer.width(), writer.height());
  const double fit = std::min(page.width() / kChartWidth, page.height() / kChartHeight);
  QRectF area(0, 0, kChartWidth * fit, kChartHeight * fit);
  area.moveCenter(page.center());
  paint(painter, area);
  return painter.end();
}

bool paintSvg(QBuffer& buffer, const Painting& paint, const QString& title, const QString& description) {
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(kChartWidth, kChartHeight));
  generator.setViewBox(QRect(0, 0, kChartWidth, kChartHeight));
  generator.setTitle(title);
  if (!description.isEmpty()) generator.setDescription(description);
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  paint(painter, QRectF(0, 0, kChartWidth, kChartHeight));
  return painter.end();
}

}  // namespace

bool writePainting(const QString& path, ChartFormat format, const Painting& paint, const QString& title,
                   QString* error, const QString& creator, const QString& description) {
  const auto notWritten = [&](const QString& reason) {
    if (error) *error = QString::fromUtf8(kChartNotWritten).arg(path, reason);
    return false;
  };
  // Drawn in memory, then written whole: the writers do not report their device's errors.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  if (format == ChartFormat::Png) drawn = paintingImage(paint).save(&buffer, "PNG");
  else if (format == ChartFormat::Svg) drawn = paintSvg(buffer, paint, title, description);
  else drawn = paintPdf(buffer, paint, title, creator);
  if (!drawn || buffer.data().isEmpty()) return notWritten(QStringLiteral("le dessin a échoué"));
  if (const QString reason = ui::writeWholeFile(path, buffer.data()); !reason.isEmpty()) return notWritten(reason);
  return true;
}

}  // namespace kavrel::journal
