// The disc window's page on the document printer (page_printer.h).
#include "programs/disque/page_printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPagedPaintDevice>
#include <utility>

namespace kavrel::disque {

namespace {
constexpr double kMmPerInch = 25.4;
}

QtPagePrinter::QtPagePrinter(ui::MessageBox& messages, ui::DocumentPrinter::Hooks hooks)
    : m_documents(messages, std::move(hooks)) {}

std::optional<ui::DocumentPrinter::Sent> QtPagePrinter::print(const QString& name, const PageContent& content,
                                                               const PageOptions& options) {
  // No margins: the painter's origin is the corner of the sheet, from whose edges the page
  // is laid out (A3 for the largest discs).
  const QPageLayout sheet(pageSizeFor(options.diameterMm), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                          QPageLayout::Millimeter);
  return m_documents.print(name, sheet, [&](QPainter& painter, QPagedPaintDevice& device) {
    paintDiscPage(painter, device.logicalDpiX() / kMmPerInch, content, options);
    return true;
  });
}

}  // namespace kavrel::disque
