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
#include <cstdint>

#include "image/png_writer.h"

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
