// The disc window's page on QPrinter (page_printer.h).
#include "programs/disque/page_printer.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>

namespace kavrel::disque {

namespace {
constexpr double kMmPerInch = 25.4;
}

QtPagePrinter::QtPagePrinter(ui::MessageBox& messages, Hooks hooks)
    : m_messages(messages), m_hooks(std::move(hooks)) {}

void QtPagePrinter::print(const PageContent& content, const PageOptions& options) {
  const QPrinterInfo target = m_hooks.defaultPrinter();
  if (target.isNull()) {
    offerPdf(content, options);
    return;
  }
  QPrinter printer(target, QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Disque solaire"));
  switch (paintOn(printer, content, options)) {
    case Outcome::Done: return;
    case Outcome::CannotBegin: offerPdf(content, options); return;
    case Outcome::Failed:
      m_messages.show(QString::fromUtf8(ui::QtLinePrinter::kPrintFailedText), ui::kStyleExclamation, QString());
      return;
  }
}

QtPagePrinter::Outcome QtPagePrinter::paintOn(QPrinter& printer, const PageContent& content,
                                              const PageOptions& options) {
  // The painter's origin at the corner of the sheet, not of the printable area: the page
  // is laid out from the sheet's edges.
  // A printer without the sheet (A3 for the largest discs) would cut the disc: a PDF then.
  printer.setFullPage(true);
  if (!printer.setPageLayout(QPageLayout(pageSizeFor(options.diameterMm), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter)))
    return Outcome::CannotBegin;
  QPainter painter;
  if (!painter.begin(&printer)) return Outcome::CannotBegin;
  paintDiscPage(painter, printer.resolution() / kMmPerInch, content, options);
  const bool ended = painter.end();
  return ended && printer.printerState() != QPrinter::Error ? Outcome::Done : Outcome::Failed;
}

void QtPagePrinter::offerPdf(const PageContent& content, const PageOptions& options) {
  if (m_hooks.askNoPrinter() != ui::QtLinePrinter::NoPrinterChoice::SavePdf) return;
  const QString path = m_hooks.askPdfPath(QDir::home().filePath(QStringLiteral("Disque.pdf")));
  if (path.isEmpty()) return;
  QString error;
  if (!writeDiscPage(path, PageFormat::Pdf, content, options, &error))
    m_messages.show(error, ui::kStyleExclamation, QString());
}

}  // namespace kavrel::disque
