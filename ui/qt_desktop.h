// The desktop of a running program (desktop.h), on Qt: QMessageBox, the system clock,
// xdg-open and the line printer on the print server (qt_line_printer.h).
#pragma once

#include <chrono>

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

// Opens an address with xdg-open, the desktop's own opener, and reads its exit status:
// xdg-open can be started and still find no program for the address (it then exits
// non-zero). The window waits at most `wait` for the answer, repainting but taking no
// input meanwhile; an xdg-open still running by then is taken as opening the address
// (a browser it started in the foreground) and is left to run.
class QtLinkOpener : public LinkOpener {
 public:
  explicit QtLinkOpener(std::chrono::milliseconds wait = std::chrono::seconds(5)) : m_wait(wait) {}
  bool open(const QString& target) override;

 private:
  std::chrono::milliseconds m_wait;
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
