// A month's bulletin of the network on A4 sheets (network_bulletin.h).
//
// The layout is made first, in millimetres, as a list of sheets saying what each holds
// and where; painting a sheet then only draws what its entry says, so that the count of
// sheets and the sheets painted always agree.
#include "pictures/network_bulletin.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "host/qt_text.h"
#include "pictures/journal_charts.h"
#include "ui/whole_file.h"

namespace kavrel::reseau {
namespace {

constexpr double kSheetWidthMm = 210;
constexpr double kSheetHeightMm = 297;
constexpr double kUsableWidthMm = kSheetWidthMm - 2 * kBulletinMarginMm;
constexpr double kTitleTextMm = 5;
constexpr double kTitleMm = 9;
constexpr double kSummaryTextMm = 3.4;
constexpr double kSummaryLineMm = 5;
constexpr double kChartMm = 85;
constexpr double kCaptionTextMm = 3.6;
constexpr double kCaptionMm = 6;
constexpr double kCellTextMm = 3.0;
constexpr double kRowMm = 4.4;
constexpr double kGapMm = 5;
constexpr double kFootTextMm = 2.8;
constexpr double kFootMm = 6;
constexpr double kBottomMm = kSheetHeightMm - kBulletinMarginMm - kFootMm;
constexpr int kPdfDotsPerInch = 600;
constexpr double kMmPerInch = 25.4;

// The tables' columns in millimetres: the observers' (the code on the left, the numbers
// on the right), and the days', in kDayBlocks blocks side by side.
constexpr double kObserverColumns[] = {72, 20, 28, 30, 32};
constexpr double kDayColumns[] = {12, 26, 26, 18};
constexpr int kDayBlocks = 2;
constexpr double kDayBlockGapMm = 12;

constexpr char kObserversCaption[] = "Observateurs";
constexpr char kDaysCaption[] = "Jours du réseau (moyenne de k·R des observateurs du jour)";
constexpr char kNoObserver[] = "Aucun observateur n'a envoyé de jour de ce mois.";

template <std::size_t N>
constexpr double widthOf(const double (&columns)[N]) {
  double sum = 0;
  for (const double c : columns) sum += c;
  return sum;
}
constexpr double kDayBlockMm = widthOf(kDayColumns);
constexpr double kDaysWidthMm = kDayBlocks * kDayBlockMm + (kDayBlocks - 1) * kDayBlockGapMm;
static_assert(widthOf(kObserverColumns) <= kUsableWidthMm && kDaysWidthMm <= kUsableWidthMm);

// What a sheet holds and where (tops in millimetres; a negative top: not on this sheet).
struct Sheet {
  double chartTop = -1;
  double observersTop = -1;
  std::size_t firstObserver = 0, endObserver = 0;
  double daysTop = -1;
};

int dayRowsPerBlock(const Bulletin& b) {
  return static_cast<int>((b.days.size() + kDayBlocks - 1) / kDayBlocks);
}

// The sheets, each a continuation of the one before below its own title.
std::vector<Sheet> layout(const Bulletin& b) {
  std::vector<Sheet> sheets(1);
  double y = kBulletinMarginMm + kTitleMm + kSummaryLineMm * static_cast<double>(b.summary.size()) + kGapMm;
  const auto turn = [&] {
    sheets.emplace_back();
    y = kBulletinMarginMm + kTitleMm + kGapMm;
  };
  if (b.chart.note.empty()) {
    sheets.back().chartTop = y;
    y += kChartMm + kGapMm;
  }
  // The observers: at least the caption, the header and one row together on a sheet.
  std::size_t next = 0;
  do {
    if (y + kCaptionMm + 2 * kRowMm > kBottomMm) turn();
    const auto fits = static_cast<std::size_t>(std::floor((kBottomMm - y - kCaptionMm - kRowMm) / kRowMm));
    Sheet& sheet = sheets.back();
    sheet.observersTop = y;
    sheet.firstObserver = next;
    sheet.endObserver = std::min(b.observers.size(), next + fits);
    next = sheet.endObserver;
    y += kCaptionMm + kRowMm * static_cast<double>(sheet.endObserver - sheet.firstObserver + 1) + kGapMm;
    if (next < b.observers.size()) turn();
  } while (next < b.observers.size());
  if (!b.days.empty()) {
    if (y + kCaptionMm + kRowMm * (dayRowsPerBlock(b) + 1) > kBottomMm) turn();
    sheets.back().daysTop = y;
  }
  return sheets;
}

void setTextHeight(QPainter& painter, double dots, bool bold = false) {
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(dots))));
  font.setBold(bold);
  painter.setFont(font);
}

// Texts placed in millimetres; a text wider than its box shortened with "…".
struct Pen {
  QPainter& painter;
  double dotsPerMm;
  void text(double left, double top, double width, double height, const QString& text,
            Qt::Alignment align = Qt::AlignLeft) const {
    const QRectF box(left * dotsPerMm, top * dotsPerMm, width * dotsPerMm, height * dotsPerMm);
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(box, align | Qt::AlignVCenter, metrics.elidedText(text, Qt::ElideRight, box.width()));
  }
  void line(double left, double right, double y) const {
    painter.drawLine(QPointF(left * dotsPerMm, y * dotsPerMm), QPointF(right * dotsPerMm, y * dotsPerMm));
  }
};

// A table's header and rows from `top`: cells left-aligned in the first column, right in
// the others, one millimetre from the column's edge.
template <std::size_t N, typename Cells>
void paintRows(const Pen& pen, double left, double top, const double (&columns)[N], const Cells& rows) {
  double y = top;
  bool header = true;
  for (const auto& cells : rows) {
    double x = left;
    for (std::size_t c = 0; c < N; ++c) {
      const bool first = c == 0;
      pen.text(first ? x : x + 1, y, columns[c] - 1, kRowMm, toQString(cells[c]),
               first ? Qt::AlignLeft : Qt::AlignRight);
      x += columns[c];
    }
    y += kRowMm;
    if (header) pen.line(left, left + widthOf(columns), y);
    header = false;
  }
}

void paintHeading(const Pen& pen, const Bulletin& b, bool first) {
  setTextHeight(pen.painter, kTitleTextMm * pen.dotsPerMm, true);
  const QString title = toQString(b.title) + (first ? QString() : QStringLiteral(" (suite)"));
  pen.text(kBulletinMarginMm, kBulletinMarginMm, kUsableWidthMm, kTitleMm - 1, title, Qt::AlignHCenter);
  if (!first) return;
  setTextHeight(pen.painter, kSummaryTextMm * pen.dotsPerMm);
  double y = kBulletinMarginMm + kTitleMm;
  for (const auto& line : b.summary) {
    pen.text(kBulletinMarginMm, y, kUsableWidthMm, kSummaryLineMm, toQString(line));
    y += kSummaryLineMm;
  }
}

void paintObservers(const Pen& pen, const Bulletin& b, const Sheet& sheet) {
  const double left = (kSheetWidthMm - widthOf(kObserverColumns)) / 2;
  setTextHeight(pen.painter, kCaptionTextMm * pen.dotsPerMm, true);
  pen.text(left, sheet.observersTop, widthOf(kObserverColumns), kCaptionMm, QString::fromUtf8(kObserversCaption));
  setTextHeight(pen.painter, kCellTextMm * pen.dotsPerMm);
  const double top = sheet.observersTop + kCaptionMm;
  std::vector<std::array<std::string, 5>> rows{{}};
  std::copy(kObserverCaptions.begin(), kObserverCaptions.end(), rows.front().begin());
  for (std::size_t i = sheet.firstObserver; i < sheet.endObserver; ++i) rows.push_back(b.observers[i].cells);
  paintRows(pen, left, top, kObserverColumns, rows);
  if (b.observers.empty()) pen.text(left, top + kRowMm, widthOf(kObserverColumns), kRowMm, QString::fromUtf8(kNoObserver));
}

void paintDays(const Pen& pen, const Bulletin& b, const Sheet& sheet) {
  const double left = (kSheetWidthMm - kDaysWidthMm) / 2;
  setTextHeight(pen.painter, kCaptionTextMm * pen.dotsPerMm, true);
  pen.text(left, sheet.daysTop, kDaysWidthMm, kCaptionMm, QString::fromUtf8(kDaysCaption));
  setTextHeight(pen.painter, kCellTextMm * pen.dotsPerMm);
  const auto perBlock = static_cast<std::size_t>(dayRowsPerBlock(b));
  for (std::size_t first = 0, block = 0; first < b.days.size(); first += perBlock, ++block) {
    std::vector<std::array<std::string, 4>> rows{{}};
    std::copy(kDayCaptions.begin(), kDayCaptions.end(), rows.front().begin());
    for (std::size_t i = first; i < std::min(b.days.size(), first + perBlock); ++i) rows.push_back(b.days[i].cells);
    paintRows(pen, left + static_cast<double>(block) * (kDayBlockMm + kDayBlockGapMm), sheet.daysTop + kCaptionMm,
              kDayColumns, rows);
  }
}

}  // namespace

int bulletinPageCount(const Bulletin& bulletin) { return static_cast<int>(layout(bulletin).size()); }

void paintBulletinPage(QPainter& painter, double dotsPerMm, const Bulletin& bulletin, int page) {
  const std::vector<Sheet> sheets = layout(bulletin);
  if (page < 0 || page >= static_cast<int>(sheets.size())) return;
  const Sheet& sheet = sheets[static_cast<std::size_t>(page)];
  painter.save();
  painter.setPen(QPen(Qt::black, 0.2 * dotsPerMm));
  const Pen pen{painter, dotsPerMm};
  paintHeading(pen, bulletin, page == 0);
  if (sheet.chartTop >= 0)
    journal::paintChart(painter,
                        QRectF(kBulletinMarginMm * dotsPerMm, sheet.chartTop * dotsPerMm, kUsableWidthMm * dotsPerMm,
                               kChartMm * dotsPerMm),
                        bulletin.chart);
  painter.setPen(QPen(Qt::black, 0.2 * dotsPerMm));
  if (sheet.observersTop >= 0) paintObservers(pen, bulletin, sheet);
  if (sheet.daysTop >= 0) paintDays(pen, bulletin, sheet);
  setTextHeight(painter, kFootTextMm * dotsPerMm);
  pen.text(kBulletinMarginMm, kSheetHeightMm - kBulletinMarginMm - kFootMm + 1, kUsableWidthMm, kFootMm - 1,
           QStringLiteral("Page %1 sur %2").arg(page + 1).arg(sheets.size()), Qt::AlignRight);
  painter.restore();
}

bool paintBulletin(QPainter& painter, QPagedPaintDevice& device, const Bulletin& bulletin) {
  const double dotsPerMm = device.logicalDpiX() / kMmPerInch;
  const int pages = bulletinPageCount(bulletin);
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) return false;
    paintBulletinPage(painter, dotsPerMm, bulletin, page);
  }
  return true;
}

QPageLayout bulletinPageLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool writeBulletin(const QString& path, const Bulletin& bulletin, QString* error) {
  const auto notWritten = [&](const QString& reason) {
    if (error) *error = QString::fromUtf8(kBulletinNotWritten).arg(path, reason);
    return false;
  };
  // Drawn in memory, then written whole: the writer does not report its device's errors.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDotsPerInch);
    writer.setTitle(toQString(bulletin.title));
    writer.setCreator(QStringLiteral("Kavrel Réseau"));
    writer.setPageLayout(bulletinPageLayout());
    QPainter painter;
    if (painter.begin(&writer)) {
      drawn = paintBulletin(painter, writer, bulletin);
      drawn = painter.end() && drawn;
    }
  }
  if (!drawn || buffer.data().isEmpty()) return notWritten(QStringLiteral("le dessin a échoué"));
  if (const QString reason = ui::writeWholeFile(path, buffer.data()); !reason.isEmpty()) return notWritten(reason);
  return true;
}

}  // namespace kavrel::reseau
