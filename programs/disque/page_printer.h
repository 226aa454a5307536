// How the disc window prints its page: one painted page to the default printer.
//
// The window asks a PagePrinter; the Qt one paints the page on QPrinter in full-page mode
// (the disc keeps its true size on the paper) and, when there is no printer, it cannot be
// opened or it has no sheet of the page's size, offers to save the page as a PDF file
// instead, as the suite's line printer does; a failed print or PDF is said in a message.
#pragma once

#include "programs/disque/disc_page.h"
#include "ui/desktop.h"
#include "ui/qt_line_printer.h"

class QPrinter;

namespace kavrel::disque {

class PagePrinter {
 public:
  virtual ~PagePrinter() = default;
  virtual void print(const PageContent& content, const PageOptions& options) = 0;
};

class QtPagePrinter : public PagePrinter {
 public:
  // The questions asked of the system and the user, as the line printer asks them.
  using Hooks = ui::QtLinePrinter::Hooks;

  explicit QtPagePrinter(ui::MessageBox& messages, Hooks hooks = {});

  void print(const PageContent& content, const PageOptions& options) override;

 private:
  enum class Outcome { Done, CannotBegin, Failed };
  static Outcome paintOn(QPrinter& printer, const PageContent& content, const PageOptions& options);
  void offerPdf(const PageContent& content, const PageOptions& options);

  ui::MessageBox& m_messages;
  Hooks m_hooks;
};

}  // namespace kavrel::disque
