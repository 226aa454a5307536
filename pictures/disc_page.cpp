// The printed page of the disc (disc_page.h).
//
// Everything is laid out in millimetres from the sheet's top-left corner and scaled by
// the device's dots per millimetre once, so the disc's diameter on the paper is the one
// asked for whatever the device's resolution.
#include "pictures/disc_page.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "host/qt_text.h"
#include "ui/whole_file.h"
#include "sun/precise_aspect.h"

namespace kavrel::disque {

namespace {

constexpr double kMarginMm = 15;
constexpr double kHeadingTextMm = 3.6;
constexpr double kSmallTextMm = 3.0;
constexpr double kDiscTextMm = 3.0;
constexpr double kRowMm = 4.6;
constexpr int kPdfDotsPerInch = 600;
constexpr int kSvgDotsPerInch = 254;  // ten units per millimetre
constexpr double kMmPerInch = 25.4;

// The table's columns: caption and width in millimetres.
struct Column {
  const char* caption;
  double width;
};
constexpr Column kColumns[] = {{"N°", 10}, {"θ (°)", 16}, {"r", 14}, {"B (°)", 16}, {"L (°)", 16}, {"DMC (°)", 18}};
constexpr double kBlockGapMm = 6;

constexpr char kConventions[] =
    "θ compté du nord céleste vers l'est ; r en rayons du disque ; DMC négative à l'est";

void setTextHeight(QPainter& painter, double dots) {
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(dots))));
  painter.setFont(font);
}

// A line of text whose top is at `top` (millimetres), from `left`, `width` wide.
void textAt(QPainter& painter, double dotsPerMm, double left, double top, double width, double height,
            const QString& text, Qt::Alignment align = Qt::AlignLeft) {
  painter.drawText(QRectF(left * dotsPerMm, top * dotsPerMm, width * dotsPerMm, height * dotsPerMm),
                   align | Qt::AlignVCenter, text);
}

void paintTable(QPainter& painter, double dotsPerMm, const PageContent& content, const DiscOrientation& disc,
                QSizeF sheet, double top) {
  if (content.spots.empty()) return;
  double blockWidth = 0;
  for (const Column& column : kColumns) blockWidth += column.width;
  const double usableWidth = sheet.width() - 2 * kMarginMm;
  const int blocks = std::max(1, static_cast<int>((usableWidth + kBlockGapMm) / (blockWidth + kBlockGapMm)));
  const double tableWidth = blocks * blockWidth + (blocks - 1) * kBlockGapMm;
  const double left = (sheet.width() - tableWidth) / 2;
  // Rows are kept for the header, for what does not fit and for the conventions' line.
  const int rowsPerBlock = std::max(1, static_cast<int>((sheet.height() - kMarginMm - top) / kRowMm) - 3);
  const std::size_t fits = static_cast<std::size_t>(blocks) * static_cast<std::size_t>(rowsPerBlock);

  setTextHeight(painter, kSmallTextMm * dotsPerMm);
  painter.setPen(QPen(Qt::black, 0.2 * dotsPerMm));
  const int usedBlocks = std::min<int>(blocks, static_cast<int>((content.spots.size() + rowsPerBlock - 1) / rowsPerBlock));
  for (int block = 0; block < usedBlocks; ++block) {
    double x = left + block * (blockWidth + kBlockGapMm);
    for (const Column& column : kColumns) {
      textAt(painter, dotsPerMm, x, top, column.width - 1, kRowMm, QString::fromUtf8(column.caption), Qt::AlignRight);
      x += column.width;
    }
    const double lineY = (top + kRowMm) * dotsPerMm;
    const double blockLeft = left + block * (blockWidth + kBlockGapMm);
    painter.drawLine(QPointF(blockLeft * dotsPerMm, lineY), QPointF((blockLeft + blockWidth) * dotsPerMm, lineY));
  }
  for (std::size_t i = 0; i < content.spots.size() && i < fits; ++i) {
    const int block = static_cast<int>(i) / rowsPerBlock;
    const int row = static_cast<int>(i) % rowsPerBlock;
    const std::array<std::string, 6> cells = spotRow(disc, content.spots[i], content.decimalSeparator).cells();
    double x = left + block * (blockWidth + kBlockGapMm);
    const double y = top + (row + 1) * kRowMm + 0.5;
    for (std::size_t c = 0; c < std::size(kColumns); ++c) {
      textAt(painter, dotsPerMm, x, y, kColumns[c].width - 1, kRowMm, toQString(cells[c]), Qt::AlignRight);
      x += kColumns[c].width;
    }
  }
  if (content.spots.size() > fits) {
    const std::size_t left_out = content.spots.size() - fits;
    textAt(painter, dotsPerMm, left, top + (rowsPerBlock + 1) * kRowMm + 1, tableWidth, kRowMm,
           QStringLiteral("%1 tache(s) de plus, que la page ne peut contenir.").arg(left_out));
  }
}

bool writeWith(QPaintDevice& device, double dotsPerMm, const PageContent& content, const PageOptions& options) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  paintDiscPage(painter, dotsPerMm, content, options);
  return painter.end();
}

}  // namespace

QPageSize pageSizeFor(double diameterMm) {
  return QPageSize(diameterMm <= kLargestOnA4Mm ? QPageSize::A4 : QPageSize::A3);
}

void paintDiscPage(QPainter& painter, double dotsPerMm, const PageContent& content, const PageOptions& options) {
  const QSizeF sheet = pageSizeFor(options.diameterMm).size(QPageSize::Millimeter);
  painter.save();
  painter.setPen(Qt::black);
  setTextHeight(painter, kHeadingTextMm * dotsPerMm);
  const double textWidth = sheet.width() - 2 * kMarginMm;
  textAt(painter, dotsPerMm, kMarginMm, kMarginMm, textWidth, 1.6 * kHeadingTextMm,
         toQString(headingLine(content.julianDay, content.decimalSeparator)), Qt::AlignHCenter);
  setTextHeight(painter, kSmallTextMm * dotsPerMm);
  textAt(painter, dotsPerMm, kMarginMm, kMarginMm + 1.6 * kHeadingTextMm, textWidth, 1.6 * kSmallTextMm,
         toQString(drawingLine(options, content.decimalSeparator)), Qt::AlignHCenter);

  const double radiusMm = options.diameterMm / 2;
  const double labelsMm = kLabelMargin * kDiscTextMm;
  const double discTop = kMarginMm + 1.6 * (kHeadingTextMm + kSmallTextMm) + 2 + labelsMm;
  DiscFrame frame;
  frame.centre = QPointF(sheet.width() / 2 * dotsPerMm, (discTop + radiusMm) * dotsPerMm);
  frame.radius = radiusMm * dotsPerMm;
  frame.orientation = options.orientation;
  DiscLook look;
  look.gridStep = options.step;
  look.textHeight = kDiscTextMm * dotsPerMm;
  look.thinLine = 0.12 * dotsPerMm;
  look.strongLine = 0.35 * dotsPerMm;
  look.decimalSeparator = content.decimalSeparator;
  look.discFill = Qt::transparent;
  const DiscOrientation disc = preciseDiscOrientation(content.julianDay).value_or(DiscOrientation{});
  paintDisc(painter, disc, frame, look, content.spots);

  paintTable(painter, dotsPerMm, content, disc, sheet, discTop + options.diameterMm + labelsMm + 4);
  setTextHeight(painter, kSmallTextMm * dotsPerMm);
  painter.setPen(Qt::black);
  textAt(painter, dotsPerMm, kMarginMm, sheet.height() - kMarginMm - 1.6 * kSmallTextMm, textWidth,
         1.6 * kSmallTextMm, QString::fromUtf8(kConventions), Qt::AlignHCenter);
  painter.restore();
}

bool writeDiscPage(const QString& path, PageFormat format, double julianDay, const PageOptions& options,
                   QString* error) {
  PageContent content;
  content.julianDay = julianDay;
  return writeDiscPage(path, format, content, options, error);
}

bool writeDiscPage(const QString& path, PageFormat format, const PageContent& content, const PageOptions& options,
                   QString* error) {
  const auto fail = [error](const QString& reason) {
    if (error) *error = reason;
    return false;
  };
  const auto notWritten = [&path, &fail](const QString& reason) {
    return fail(QString::fromUtf8(kPageNotWritten).arg(path, reason));
  };
  if (const QString refusal = toQString(refusalOf(options)); !refusal.isEmpty()) return fail(refusal);
  if (!std::isfinite(content.julianDay)) return notWritten(QString::fromUtf8(kInstantNotDrawn));

  // Drawn in memory, then written whole: the writers do not report their device's errors.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  const QSizeF sheet = pageSizeFor(options.diameterMm).size(QPageSize::Millimeter);
  bool drawn = false;
  if (format == PageFormat::Pdf) {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDotsPerInch);
    writer.setTitle(QString::fromUtf8(kDocumentTitle));
    writer.setCreator(QStringLiteral("Kavrel Disque"));
    writer.setPageLayout(QPageLayout(pageSizeFor(options.diameterMm), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                     QPageLayout::Millimeter));
    drawn = writeWith(writer, kPdfDotsPerInch / kMmPerInch, content, options);
  } else {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(kSvgDotsPerInch);
    const double dotsPerMm = kSvgDotsPerInch / kMmPerInch;
    const QSize size(static_cast<int>(std::lround(sheet.width() * dotsPerMm)),
                     static_cast<int>(std::lround(sheet.height() * dotsPerMm)));
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QString::fromUtf8(kDocumentTitle));
    drawn = writeWith(generator, dotsPerMm, content, options);
  }
  if (!drawn || buffer.data().isEmpty()) return notWritten(QString::fromUtf8(kInstantNotDrawn));
  if (const QString reason = ui::writeWholeFile(path, buffer.data()); !reason.isEmpty()) return notWritten(reason);
  return true;
}

}  // namespace kavrel::disque
