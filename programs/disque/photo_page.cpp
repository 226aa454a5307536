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
#include <numeric>
#include <cmath>
#include <cstdint>
#include <functional>

#include "image/png_writer.h"

namespace kavrel::disque {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPagePoints = 10;
constexpr double kLeastTablePoints = 6;
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
constexpr char kNoMemoryForPicture[] = "pas assez de mémoire pour l'image";

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

QStringList cellsOf(const std::vector<std::string>& cells) {
  QStringList texts;
  for (const std::string& cell : cells) texts << QString::fromStdString(cell);
  return texts;
}

// Each column as wide as its heading's or its widest cell's whole text, and a gap.
std::vector<double> columnWidths(const QFontMetricsF& metrics, const PhotoPage& page) {
  std::size_t count = static_cast<std::size_t>(std::max<qsizetype>(page.columns.size(), 1));
  for (const std::vector<std::string>& cells : page.rows) count = std::max(count, cells.size());
  std::vector<double> widths(count, 0.0);
  const auto widen = [&](std::size_t i, const QString& text) {
    widths[i] = std::max(widths[i], metrics.horizontalAdvance(text));
  };
  for (qsizetype i = 0; i < page.columns.size(); ++i) widen(static_cast<std::size_t>(i), page.columns[i]);
  for (const std::vector<std::string>& cells : page.rows)
    for (std::size_t i = 0; i < cells.size(); ++i) widen(i, QString::fromStdString(cells[i]));
  for (double& width : widths) width += metrics.height() * kColumnGap;
  return widths;
}

// Columns no wider than an equal share keep their width; the wider ones share what is
// left in proportion, so that the numbers stay whole and the long cells are elided.
void fitWidths(std::vector<double>& widths, double room) {
  const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
  if (total <= room) return;
  const double share = room / static_cast<double>(widths.size());
  double narrow = 0;
  for (const double width : widths)
    if (width <= share) narrow += width;
  const double scale = (room - narrow) / (total - narrow);
  for (double& width : widths)
    if (width > share) width *= scale;
}

// Where the table is painted: the area inside the margins, the page's font and line
// height, and the top of its headings on the first page.
struct TableAt {
  QRectF area;
  QFont font;
  double line = 0;
  double top = 0;
};

// The spots' table: each column as wide as its whole texts, in the page's font or a
// smaller one down to kLeastTablePoints where they would not fit (cells elided below
// that), the room left shared alike; continued on new pages under `pageHead`, which
// paints a page's head and answers where the table goes on.
bool paintTable(QPainter& painter, QPagedPaintDevice& device, const PhotoPage& page, const TableAt& at,
                const std::function<double()>& pageHead) {
  QFont font = at.font;
  std::vector<double> widths = columnWidths(QFontMetricsF(font, &device), page);
  const double needed = std::accumulate(widths.begin(), widths.end(), 0.0);
  if (needed > at.area.width()) {
    font.setPointSizeF(std::max(kLeastTablePoints, kPagePoints * at.area.width() / needed));
    widths = columnWidths(QFontMetricsF(font, &device), page);
    fitWidths(widths, at.area.width());
  }
  const double spare = std::max(0.0, at.area.width() - std::accumulate(widths.begin(), widths.end(), 0.0));
  for (double& width : widths) width += spare / static_cast<double>(widths.size());
  const QFontMetricsF metrics(font, &device);
  double y = at.top;
  const auto row = [&](const QStringList& cells) {
    const QFont before = painter.font();
    painter.setFont(font);
    double left = at.area.left();
    for (std::size_t i = 0; i < static_cast<std::size_t>(cells.size()) && i < widths.size(); ++i) {
      const QRectF box(left, y, widths[i], at.line);
      const QString& text = cells[static_cast<qsizetype>(i)];
      painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, metrics.elidedText(text, Qt::ElideMiddle, box.width()));
      left += box.width();
    }
    painter.setFont(before);
  };
  row(page.columns);
  for (const std::vector<std::string>& cells : page.rows) {
    y += at.line;
    if (y + at.line > at.area.bottom()) {
      if (!device.newPage()) return false;
      y = pageHead();
      row(page.columns);
      y += at.line;
    }
    row(cellsOf(cells));
  }
  return true;
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
  // A file's name has no spaces to break at: its middle goes, where a folder's or a
  // date's repeats matter least.
  const auto fileLine = [&] {
    painter.drawText(QRectF(area.left(), y, area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(page.fileLine, Qt::ElideMiddle, area.width()));
    y += line;
  };
  heading(page.heading);
  fileLine();
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

  y = target.bottom() + line;
  return paintTable(painter, device, page, {area, font, line, y}, [&] {
    // Each page says which image and which instant its rows are of.
    y = area.top();
    heading(page.heading);
    fileLine();
    return y + line / 2;
  });
}

namespace {

// The caption's band under a picture of `size`: its font, margin, text width and height.
struct CaptionBand {
  QFont font;
  double margin = 0;
  double width = 0;
  int height = 0;
};

CaptionBand captionBand(QSize size, const QStringList& lines) {
  CaptionBand band;
  if (lines.isEmpty()) return band;
  // As high as the overlay's labels, which are made to be read with the image whole.
  const double textHeight = fullResolutionLook(size).textHeight;
  band.font.setPixelSize(static_cast<int>(std::lround(textHeight)));
  band.margin = textHeight / 2;
  band.width = std::max(1.0, size.width() - 2 * band.margin);
  double height = 2 * band.margin;
  for (const QString& text : lines) height += paintWrapped(nullptr, band.font, nullptr, {}, band.width, text);
  band.height = static_cast<int>(std::ceil(height));
  return band;
}

void paintCaption(QPainter& painter, const CaptionBand& band, int top, const QStringList& lines) {
  painter.setPen(kCaptionInk);
  painter.setFont(band.font);
  double y = top + band.margin;
  for (const QString& text : lines)
    y += paintWrapped(&painter, band.font, nullptr, QPointF(band.margin, y), band.width, text);
}

// An 8-bit grey display's rows written as opaque RGB32 into the top of `out`, without
// the raster engine's conversion: one pass, no image of its own.
void copyGreyRows(const QImage& grey, QImage& out) {
  const int width = grey.width();
  const int height = grey.height();
  for (int y = 0; y < height; ++y) {
    const uchar* in = grey.constScanLine(y);
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < width; ++x) row[x] = 0xff000000u | (in[x] * 0x010101u);
  }
}

}  // namespace

QImage captionedPicture(const QImage& picture, const QStringList& lines) {
  if (picture.isNull()) return {};
  if (lines.isEmpty()) return picture.convertToFormat(QImage::Format_RGB32);
  const CaptionBand band = captionBand(picture.size(), lines);
  QImage out(picture.width(), picture.height() + band.height, QImage::Format_RGB32);
  if (out.isNull()) return {};
  out.fill(kCaptionBand);
  QPainter painter(&out);
  painter.drawImage(QPointF(0, 0), picture);
  paintCaption(painter, band, picture.height(), lines);
  painter.end();
  return out;
}

QImage captionedPhoto(const QImage& display, const PhotoOverlay& overlay, const QStringList& lines) {
  if (display.isNull()) return {};
  const CaptionBand band = captionBand(display.size(), lines);
  QImage out(display.width(), display.height() + band.height, QImage::Format_RGB32);
  if (out.isNull()) return {};
  if (display.format() == QImage::Format_Grayscale8) copyGreyRows(display, out);
  QPainter painter(&out);
  painter.fillRect(QRect(0, display.height(), out.width(), band.height), kCaptionBand);
  if (display.format() != QImage::Format_Grayscale8) painter.drawImage(QPointF(0, 0), display);
  painter.save();
  painter.setClipRect(display.rect());
  paintOverlay(painter, overlayGeometry(overlay), PhotoMapping{}, fullResolutionLook(display.size()));
  painter.restore();
  paintCaption(painter, band, display.height(), lines);
  painter.end();
  return out;
}

QByteArray captionedPng(const QImage& display, const PhotoOverlay& overlay, const QStringList& lines,
                        QString* reason) {
  const QImage picture = captionedPhoto(display, overlay, lines);
  if (picture.isNull()) {
    if (reason) *reason = QString::fromUtf8(kNoMemoryForPicture);
    return {};
  }
  const image::PngOutcome png = image::pngOfRgb32(reinterpret_cast<const std::uint32_t*>(picture.constBits()),
                                                  picture.width(), picture.height(),
                                                  static_cast<std::size_t>(picture.bytesPerLine()));
  if (png.bytes.empty()) {
    if (reason) *reason = QString::fromStdString(png.refusal);
    return {};
  }
  return QByteArray(reinterpret_cast<const char*>(png.bytes.data()), static_cast<qsizetype>(png.bytes.size()));
}

}  // namespace kavrel::disque
