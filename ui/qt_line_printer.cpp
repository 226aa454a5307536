// The line printer on QPrinter (qt_line_printer.h).
//
// Where the lines of a page go is fixed once per document, in points, from the page
// layout of the printer and the line spacing of the font on that printer: page() and the
// layout at the end of the document thus always agree on where a page breaks, and a PDF
// written in place of the printer holds the very same pages.
#include "ui/qt_line_printer.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPainter>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <utility>

namespace kavrel::ui {

namespace {

constexpr double kPointsPerInch = 72.0;

void makePdf(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);  // before the name, whatever its suffix
  printer.setOutputFileName(path);
  printer.setDocName(QStringLiteral("Kavrel"));
}

}  // namespace

QtLinePrinter::QtLinePrinter(MessageBox& messages) : QtLinePrinter(messages, Hooks{}) {}

QtLinePrinter::QtLinePrinter(MessageBox& messages, Hooks hooks)
    : m_messages(messages), m_hooks(std::move(hooks)) {}

QtLinePrinter::~QtLinePrinter() {
  if (m_lineOpen || !m_lines.isEmpty()) endDocument();
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

void QtLinePrinter::setOutputPdf(const QString& path) { m_outputPdf = path; }

QFont QtLinePrinter::printFont() {
  QFont font;  // a painter on a printer starts with the application's font
  font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
  return font;
}

const QtLinePrinter::Geometry& QtLinePrinter::geometry() const {
  if (m_geometry) return *m_geometry;
  // The printer the document will go to; without one, the PDF offered in its place.
  QPrinterInfo target;
  if (m_outputPdf.isEmpty()) target = m_hooks.defaultPrinter();
  QPrinter printer(target, QPrinter::HighResolution);
  if (target.isNull()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
  }
  const QFontMetricsF metrics(printFont(), &printer);
  const double toPoints = kPointsPerInch / printer.logicalDpiY();
  Geometry geometry;
  geometry.layout = printer.pageLayout();
  geometry.lineSpacing = metrics.lineSpacing() * toPoints;
  geometry.ascent = metrics.ascent() * toPoints;
  const double height = geometry.layout.paintRect(QPageLayout::Point).height();
  geometry.linesPerPage = std::max(1, static_cast<int>(std::floor(height / geometry.lineSpacing)));
  m_geometry = geometry;
  return *m_geometry;
}

void QtLinePrinter::endDocument() {
  if (m_lineOpen) endLine();
  const QStringList lines = std::exchange(m_lines, {});
  if (lines.isEmpty()) {  // nothing to send, nothing to ask
    m_geometry.reset();
    return;
  }
  const Geometry pageGeometry = geometry();
  m_geometry.reset();  // the next document starts afresh, on page 1
  send(lines, pageGeometry);
}

void QtLinePrinter::send(const QStringList& lines, const Geometry& geometry) {
  if (!m_outputPdf.isEmpty()) {
    writePdf(m_outputPdf, lines, geometry);
    return;
  }
  const QPrinterInfo target = m_hooks.defaultPrinter();
  if (target.isNull()) {
    offerPdf(lines, geometry);
    return;
  }
  QPrinter printer(target, QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Kavrel"));
  switch (layOut(printer, lines, geometry)) {
    case Outcome::Done: return;
    case Outcome::CannotBegin: offerPdf(lines, geometry); return;
    case Outcome::Failed:
      m_messages.show(QString::fromUtf8(kPrintFailedText), kStyleExclamation, QString());
      return;
  }
}

void QtLinePrinter::offerPdf(const QStringList& lines, const Geometry& geometry) {
  if (m_hooks.askNoPrinter() != NoPrinterChoice::SavePdf) return;
  const QString path = m_hooks.askPdfPath(QDir::home().filePath(QString::fromUtf8(kSuggestedPdfName)));
  if (path.isEmpty()) return;
  writePdf(path, lines, geometry);
}

void QtLinePrinter::writePdf(const QString& path, const QStringList& lines, const Geometry& geometry) {
  QPrinter printer(QPrinter::HighResolution);
  makePdf(printer, path);
  printer.setPageLayout(geometry.layout);
  if (layOut(printer, lines, geometry) != Outcome::Done) {
    m_messages.show(QString::fromUtf8(kPdfFailedText), kStyleExclamation, QString());
  }
}

QtLinePrinter::Outcome QtLinePrinter::layOut(QPrinter& printer, const QStringList& lines,
                                             const Geometry& geometry) {
  QPainter painter;
  if (!painter.begin(&printer)) return Outcome::CannotBegin;
  painter.setFont(printFont());
  // The painter's origin is the top-left of the printable area, in device pixels.
  const double toPixels = printer.logicalDpiY() / kPointsPerInch;
  bool ok = true;
  for (qsizetype i = 0; i < lines.size() && ok; ++i) {
    const int row = static_cast<int>(i % geometry.linesPerPage);
    if (i > 0 && row == 0) ok = printer.newPage();
    if (ok) painter.drawText(QPointF(0, (geometry.ascent + row * geometry.lineSpacing) * toPixels), lines[i]);
  }
  if (!ok) printer.abort();
  ok = painter.end() && ok && printer.printerState() != QPrinter::Error;
  return ok ? Outcome::Done : Outcome::Failed;
}

QtLinePrinter::NoPrinterChoice QtLinePrinter::askNoPrinterWithMessageBox() {
  QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                  QString::fromUtf8(kNoPrinterText), QMessageBox::NoButton, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  QPushButton* save = box.addButton(QString::fromUtf8(kSavePdfButton), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QString::fromUtf8(kCancelButton), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == save ? NoPrinterChoice::SavePdf : NoPrinterChoice::Cancel;
}

QString QtLinePrinter::askPdfPathWithDialog(const QString& suggested) {
  QFileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(kPdfDialogTitle), suggested,
                     QStringLiteral("PDF (*.pdf)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

}  // namespace kavrel::ui
