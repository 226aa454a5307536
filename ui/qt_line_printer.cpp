// The line printer on the document printer (qt_line_printer.h).
//
// Where the lines of a page go is fixed once per document, in points, from the page
// layout of the printer and the line spacing of the font on a printer of that layout:
// page() and the layout at the end of the document thus always agree on where a page
// breaks, and a PDF written in place of the printer holds the very same pages.
#include "ui/qt_line_printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPagedPaintDevice>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace kavrel::ui {

namespace {

constexpr double kPointsPerInch = 72.0;

}  // namespace

QtLinePrinter::QtLinePrinter(DocumentPrinter& documents) : m_documents(documents) {}

QtLinePrinter::~QtLinePrinter() {
  if (m_lineOpen || !m_lines.isEmpty()) endDocument(QString());
}

void QtLinePrinter::print(const QString& text) {
  m_line += text;
  m_lineOpen = true;
}

void QtLinePrinter::endLine() {
  m_lines << m_line;
  m_line.clear();
  m_lineOpen = false;
}

int QtLinePrinter::page() const {
  return static_cast<int>(m_lines.size()) / geometry().linesPerPage + 1;
}

int QtLinePrinter::linesPerPage() const { return geometry().linesPerPage; }

QFont QtLinePrinter::printFont() {
  QFont font;  // a painter on a printer starts with the application's font
  font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
  return font;
}

const QtLinePrinter::Geometry& QtLinePrinter::geometry() const {
  if (m_geometry) return *m_geometry;
  QPrinter printer(QPrinter::HighResolution);  // the PDF engine at the document printer's resolution
  printer.setOutputFormat(QPrinter::PdfFormat);
  Geometry geometry;
  geometry.layout = m_documents.pageLayout();
  printer.setPageLayout(geometry.layout);
  const QFontMetricsF metrics(printFont(), &printer);
  const double toPoints = kPointsPerInch / printer.logicalDpiY();
  geometry.lineSpacing = metrics.lineSpacing() * toPoints;
  geometry.ascent = metrics.ascent() * toPoints;
  const double height = geometry.layout.paintRect(QPageLayout::Point).height();
  geometry.linesPerPage = std::max(1, static_cast<int>(std::floor(height / geometry.lineSpacing)));
  m_geometry = geometry;
  return *m_geometry;
}

void QtLinePrinter::endDocument(const QString& name) {
  if (m_lineOpen) endLine();
  const QStringList lines = std::exchange(m_lines, {});
  if (lines.isEmpty()) {  // nothing to send, nothing to ask
    m_geometry.reset();
    return;
  }
  const Geometry pageGeometry = geometry();
  m_geometry.reset();  // the next document starts afresh, on page 1
  m_documents.print(name, pageGeometry.layout, [&](QPainter& painter, QPagedPaintDevice& printer) {
    painter.setFont(printFont());
    // The painter's origin is the top-left of the printable area, in device pixels.
    const double toPixels = printer.logicalDpiY() / kPointsPerInch;
    for (qsizetype i = 0; i < lines.size(); ++i) {
      const int row = static_cast<int>(i % pageGeometry.linesPerPage);
      if (i > 0 && row == 0 && !printer.newPage()) return false;
      painter.drawText(QPointF(0, (pageGeometry.ascent + row * pageGeometry.lineSpacing) * toPixels), lines[i]);
    }
    return true;
  });
}

}  // namespace kavrel::ui
