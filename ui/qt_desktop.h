// The desktop of a running program (desktop.h), on Qt: QMessageBox, the system clock,
// QDesktopServices and the line printer on the print server (qt_line_printer.h).
#pragma once

#include "ui/desktop.h"
#include "ui/qt_line_printer.h"

namespace kavrel::ui {

class QtMessageBox : public MessageBox {
 public:
  void show(const QString& text, int style, const QString& title) override;
};

class SystemClock : public Clock {
 public:
  [[nodiscard]] LocalTime now() const override;
};

class QtLinkOpener : public LinkOpener {
 public:
  bool open(const QString& target) override;
};

// The four together, as a program's main() hands them to its window. The printer shows
// its failures through the message boxes, declared before it; documents() prints a
// painted document with the same failures and the same PDF offer.
class QtDesktop {
 public:
  [[nodiscard]] Desktop desktop() { return {m_messages, m_clock, m_links, m_printer}; }
  [[nodiscard]] DocumentPrinter& documents() { return m_documents; }

 private:
  QtMessageBox m_messages;
  SystemClock m_clock;
  QtLinkOpener m_links;
  DocumentPrinter m_documents{m_messages};
  QtLinePrinter m_printer{m_documents};
};

}  // namespace kavrel::ui
