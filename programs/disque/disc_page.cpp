// The printed page of the disc (disc_page.h).
//
// Everything is laid out in millimetres from the sheet's top-left corner and scaled by
// the device's dots per millimetre once, so the disc's diameter on the paper is the one
// asked for whatever the device's resolution.
#include "programs/disque/disc_page.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "common/calendar_date.h"
#include "common/display_mask.h"
#include "common/sexagesimal.h"
#include "sun/ephemeris.h"
#include "ui/whole_file.h"

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

QString masked(double value, std::string_view mask, const QString& separator) {
  return QString::fromStdString(formatMask(value, mask, separator.toStdString()));
}

QString shownAngle(double degrees, const QString& separator) { return masked(arr2(degrees), mask::kAngle, separator); }

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
    const SpotRow texts = spotRow(disc, content.spots[i], content.decimalSeparator);
    const QString cells[] = {texts.number, texts.theta, texts.r, texts.latitude, texts.longitude,
                             texts.fromCentralMeridian};
    double x = left + block * (blockWidth + kBlockGapMm);
    const double y = top + (row + 1) * kRowMm + 0.5;
    for (std::size_t c = 0; c < std::size(kColumns); ++c) {
      textAt(painter, dotsPerMm, x, y, kColumns[c].width - 1, kRowMm, cells[c], Qt::AlignRight);
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

QString refusalOf(const PageOptions& options) {
  if (!(options.diameterMm >= kMinDiameterMm && options.diameterMm <= kMaxDiameterMm))
    return QString::fromUtf8(kDiameterRefused);
  if (options.gridStep != 5 && options.gridStep != 10 && options.gridStep != 15)
    return QString::fromUtf8(kStepRefused);
  return {};
}

QPageSize pageSizeFor(double diameterMm) {
  return QPageSize(diameterMm <= kLargestOnA4Mm ? QPageSize::A4 : QPageSize::A3);
}

SpotRow spotRow(const DiscOrientation& disc, const Spot& spot, const QString& separator) {
  SpotRow row;
  row.number = QString::number(spot.number);
  row.theta = masked(spot.at.theta, "##0.0", separator);
  row.r = masked(spot.at.r, "0.000", separator);
  const HeliographicResult result = heliographicOf(disc, spot.at);
  if (result.refusal == DiscRefusal::None) {
    const HeliographicTexts texts = heliographicTexts(result.at, separator.toStdString());
    row.latitude = QString::fromStdString(texts.latitude);
    row.longitude = QString::fromStdString(texts.longitude);
    row.fromCentralMeridian = QString::fromStdString(texts.fromCentralMeridian);
  }
  return row;
}

QString headingLine(double julianDay, const QString& separator) {
  // The instant to the nearest minute, the date taken at that minute.
  const double minutes = std::round((julianDay + 0.5) * 1440);
  double dayMinutes = minutes - 1440 * std::floor(minutes / 1440);
  if (!(dayMinutes >= 0 && dayMinutes < 1440)) dayMinutes = 0;  // a day number beyond double's minutes
  const CalendarDate date = calendarDate(std::floor(minutes / 1440) - 0.5);
  const int hour = static_cast<int>(dayMinutes / 60);
  const int minute = static_cast<int>(dayMinutes) % 60;
  const SolarAspect sun = solarAspect(julianDay);
  const QString rotation =
      sun.rotation < 1 ? QStringLiteral("< 1") : QString::fromStdString(formatInteger(sun.rotation));
  return QStringLiteral("Le %1 %2 %3 à %4 h %5 TU     P %6°     B0 %7°     L0 %8°     Rotation %9")
      .arg(QString::fromStdString(formatInteger(date.day)), QString::fromStdString(monthName(date.month)),
           QString::fromStdString(formatInteger(date.year)), QString::number(hour),
           QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0')), shownAngle(sun.p, separator),
           shownAngle(sun.b0, separator), shownAngle(sun.l0, separator), rotation);
}

QString drawingLine(const PageOptions& options, const QString& separator) {
  const QString orientation = options.eastRight ? QStringLiteral("est à droite (écran de projection)")
                                                : QStringLiteral("est à gauche (vue directe, photographie)");
  const double diameter = options.diameterMm;
  const QString shown = diameter == std::trunc(diameter) ? QString::fromStdString(formatInteger(diameter))
                                                          : masked(diameter, "##0.0", separator);
  return QStringLiteral("Disque de %1 mm, %2, grille de %3°").arg(shown, orientation).arg(options.gridStep);
}

void paintDiscPage(QPainter& painter, double dotsPerMm, const PageContent& content, const PageOptions& options) {
  const QSizeF sheet = pageSizeFor(options.diameterMm).size(QPageSize::Millimeter);
  painter.save();
  painter.setPen(Qt::black);
  setTextHeight(painter, kHeadingTextMm * dotsPerMm);
  const double textWidth = sheet.width() - 2 * kMarginMm;
  textAt(painter, dotsPerMm, kMarginMm, kMarginMm, textWidth, 1.6 * kHeadingTextMm,
         headingLine(content.julianDay, content.decimalSeparator), Qt::AlignHCenter);
  setTextHeight(painter, kSmallTextMm * dotsPerMm);
  textAt(painter, dotsPerMm, kMarginMm, kMarginMm + 1.6 * kHeadingTextMm, textWidth, 1.6 * kSmallTextMm,
         drawingLine(options, content.decimalSeparator), Qt::AlignHCenter);

  const double radiusMm = options.diameterMm / 2;
  const double labelsMm = kLabelMargin * kDiscTextMm;
  const double discTop = kMarginMm + 1.6 * (kHeadingTextMm + kSmallTextMm) + 2 + labelsMm;
  DiscFrame frame;
  frame.centre = QPointF(sheet.width() / 2 * dotsPerMm, (discTop + radiusMm) * dotsPerMm);
  frame.radius = radiusMm * dotsPerMm;
  frame.orientation = options.eastRight ? DrawingOrientation::EastRight : DrawingOrientation::EastLeft;
  DiscLook look;
  look.gridStep = options.gridStep;
  look.textHeight = kDiscTextMm * dotsPerMm;
  look.thinLine = 0.12 * dotsPerMm;
  look.strongLine = 0.35 * dotsPerMm;
  look.decimalSeparator = content.decimalSeparator;
  look.discFill = Qt::transparent;
  const DiscOrientation disc = discOrientation(content.julianDay);
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
  if (const QString refusal = refusalOf(options); !refusal.isEmpty()) return fail(refusal);
  if (!std::isfinite(content.julianDay)) return notWritten(QString::fromUtf8(kInstantNotDrawn));

  // Drawn in memory, then written whole: the writers do not report their device's errors.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  const QSizeF sheet = pageSizeFor(options.diameterMm).size(QPageSize::Millimeter);
  bool drawn = false;
  if (format == PageFormat::Pdf) {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDotsPerInch);
    writer.setTitle(QStringLiteral("Disque solaire"));
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
    generator.setTitle(QStringLiteral("Disque solaire"));
    drawn = writeWith(generator, dotsPerMm, content, options);
  }
  if (!drawn || buffer.data().isEmpty()) return notWritten(QString::fromUtf8(kInstantNotDrawn));
  if (const QString reason = ui::writeWholeFile(path, buffer.data()); !reason.isEmpty()) return notWritten(reason);
  return true;
}

}  // namespace kavrel::disque
