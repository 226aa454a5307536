// The printed page of a photograph and the saved picture's caption (photo_page.h).
#include "programs/disque/photo_page.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace kavrel::disque {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPagePoints = 10;
constexpr double kLineSpacing = 1.3;  // line heights per font height
constexpr double kImageShare = 2.0 / 3;  // of the page's height, at most
// A heading line wrapped to more lines than this is shortened in its middle.
constexpr int kMostWrappedLines = 3;
// The overlay on paper, millimetres: fine enough not to hide the spots, thick enough to
// print.
constexpr double kThinLineMm = 0.12;
constexpr double kStrongLineMm = 0.25;
constexpr double kLabelMm = 3;
// The gap between a table's columns, in font heights.
constexpr double kColumnGap = 0.5;

const QColor kCaptionBand(0, 0, 0);
const QColor kCaptionInk(255, 255, 255);

// `text` laid out within `width`, broken between words or, for a word longer than the
// width, anywhere; lines at `spacing` times the font's height. Its height.
double layOut(QTextLayout& layout, double width, double spacing) {
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  double height = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    line.setPosition(QPointF(0, height));
    height += line.height() * spacing;
  }
  layout.endLayout();
  return height;
}

// The line wrapped within `width`; shortened in its middle first when it would take more
// than kMostWrappedLines lines. Painted at `at` when a painter is given. Its height.
double paintWrapped(QPainter* painter, const QFont& font, QPaintDevice* device, QPointF at, double width,
                    const QString& text) {
  QTextLayout layout(text, font, device);
  double height = layOut(layout, width, kLineSpacing);
  if (layout.lineCount() > kMostWrappedLines) {
    const QFontMetricsF metrics(font, device);
    layout.setText(metrics.elidedText(text, Qt::ElideMiddle, width * (kMostWrappedLines - 0.5)));
    height = layOut(layout, width, kLineSpacing);
  }
  if (painter) layout.draw(painter, at);
  return height;
}

// The sheet inside its margins of kPageMarginMm, in the painter's coordinates (origin at
// the printable area's top-left); where the printer's own margins are wider, those.
QRectF insideMargins(const QPagedPaintDevice& device) {
  const QPageLayout layout = device.pageLayout();
  const int dpi = device.logicalDpiX();
  const QRectF sheet = layout.fullRectPixels(dpi);
  const QRectF printable = layout.paintRectPixels(dpi);
  const double margin = kPageMarginMm * dpi / kMmPerInch;
  return sheet.adjusted(margin, margin, -margin, -margin).intersected(printable).translated(-printable.topLeft());
}

}  // namespace

bool paintPhotoPage(QPainter& painter, QPagedPaintDevice& device, const PhotoPage& page) {
  if (page.picture.isNull()) return false;
  const QRectF area = insideMargins(device);
  if (area.isEmpty()) return false;
  const double dotsPerMm = device.logicalDpiX() / kMmPerInch;
  QFont font = painter.font();
  font.setPointSizeF(kPagePoints);
  painter.setFont(font);
  const QFontMetricsF metrics(font, &device);
  const double line = metrics.height() * kLineSpacing;

  double y = area.top();
  const auto heading = [&](const QString& text) {
    y += paintWrapped(&painter, font, &device, QPointF(area.left(), y), area.width(), text);
  };
  heading(page.heading);
  // A file's name has no spaces to break at: its middle goes, where a folder's or a
  // date's repeats matter least.
  painter.drawText(QRectF(area.left(), y, area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(page.fileLine, Qt::ElideMiddle, area.width()));
  y += line;
  for (const QString& text : page.frameLines) heading(text);
  y += line / 2;

  // Room kept under the image for the table's headings and a first row.
  const double imageHeight = std::min(area.height() * kImageShare, area.bottom() - y - 3 * line);
  if (imageHeight < line) return false;
  const QSizeF size = QSizeF(page.picture.size()).scaled(QSizeF(area.width(), imageHeight), Qt::KeepAspectRatio);
  const QRectF target(area.left() + (area.width() - size.width()) / 2, y, size.width(), size.height());
  painter.drawImage(target, page.picture);
  // The overlay as lines on the page rather than burnt into the image's pixels, so that
  // a small image does not print a blocky grid.
  painter.save();
  painter.setClipRect(target, Qt::IntersectClip);
  const PhotoMapping mapping{target.width() / page.picture.width(), target.topLeft()};
  const OverlayLook look{kThinLineMm * dotsPerMm, kStrongLineMm * dotsPerMm, kLabelMm * dotsPerMm};
  paintOverlay(painter, overlayGeometry(page.overlay), mapping, look);
  painter.restore();

  qsizetype columnCount = std::max<qsizetype>(page.columns.size(), 1);
  for (const std::vector<std::string>& cells : page.rows)
    columnCount = std::max(columnCount, static_cast<qsizetype>(cells.size()));
  const double column = area.width() / static_cast<double>(columnCount);
  const double gap = metrics.height() * kColumnGap;
  const auto cell = [&](qsizetype i, const QString& text) {
    const QRectF box(area.left() + static_cast<double>(i) * column + gap, y, column - gap, line);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, metrics.elidedText(text, Qt::ElideMiddle, box.width()));
  };
  const auto columnHeadings = [&] {
    for (qsizetype i = 0; i < page.columns.size(); ++i) cell(i, page.columns[i]);
  };
  y = target.bottom() + line;
  columnHeadings();
  for (const std::vector<std::string>& cells : page.rows) {
    y += line;
    if (y + line > area.bottom()) {
      if (!device.newPage()) return false;
      y = area.top();
      columnHeadings();
      y += line;
    }
    for (std::size_t i = 0; i < cells.size(); ++i) cell(static_cast<qsizetype>(i), QString::fromStdString(cells[i]));
  }
  return true;
}

QImage captionedPicture(const QImage& picture, const QStringList& lines) {
  if (picture.isNull()) return {};
  if (lines.isEmpty()) return picture.convertToFormat(QImage::Format_RGB32);
  // As high as the overlay's labels, which are made to be read with the image whole.
  const double textHeight = fullResolutionLook(picture.size()).textHeight;
  QFont font;
  font.setPixelSize(static_cast<int>(std::lround(textHeight)));
  const double margin = textHeight / 2;
  const double width = std::max(1.0, picture.width() - 2 * margin);
  double band = 2 * margin;
  for (const QString& text : lines) band += paintWrapped(nullptr, font, nullptr, {}, width, text);

  QImage out(picture.width(), picture.height() + static_cast<int>(std::ceil(band)), QImage::Format_RGB32);
  if (out.isNull()) return {};
  out.fill(kCaptionBand);
  QPainter painter(&out);
  painter.drawImage(QPointF(0, 0), picture);
  painter.setPen(kCaptionInk);
  painter.setFont(font);
  double y = picture.height() + margin;
  for (const QString& text : lines) y += paintWrapped(&painter, font, nullptr, QPointF(margin, y), width, text);
  painter.end();
  return out;
}

}  // namespace kavrel::disque
