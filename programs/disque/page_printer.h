// How the disc window prints its page: one painted page to a printer of the print server.
//
// The window asks a PagePrinter; the Qt one paints the page through the suite's document
// printer (ui/document_printer.h) on a sheet without margins, so that the disc keeps its
// true size on the paper, with the same printer asked for, the same failures said and the
// same PDF file offered in place of a page that cannot be printed.
#pragma once

#include <QString>
#include <optional>

#include "pictures/disc_page.h"
#include "ui/desktop.h"
#include "ui/document_printer.h"

namespace kavrel::disque {

class PagePrinter {
 public:
  virtual ~PagePrinter() = default;
  // `name` says what the page is and when: the print job's name and the PDF file's. The
  // job the server took; nothing when none was (the reason said, or the user gave up).
  virtual std::optional<ui::DocumentPrinter::Sent> print(const QString& name, const PageContent& content,
                                                         const PageOptions& options) = 0;
};

class QtPagePrinter : public PagePrinter {
 public:
  explicit QtPagePrinter(ui::MessageBox& messages, ui::DocumentPrinter::Hooks hooks = {});

  std::optional<ui::DocumentPrinter::Sent> print(const QString& name, const PageContent& content,
                                                 const PageOptions& options) override;

 private:
  ui::DocumentPrinter m_documents;
};

}  // namespace kavrel::disque
