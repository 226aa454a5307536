// The desktop of a running program (desktop.h), on Qt: QMessageBox, the system clock,
// QDesktopServices. The line printer on QPrinter is not part of this library yet.
#pragma once

#include "ui/desktop.h"

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

// The three together, as a program's main() hands them to its window.
class QtDesktop {
 public:
  [[nodiscard]] Desktop desktop(LinePrinter* printer = nullptr) {
    return {m_messages, m_clock, m_links, printer};
  }

 private:
  QtMessageBox m_messages;
  SystemClock m_clock;
  QtLinkOpener m_links;
};

}  // namespace kavrel::ui
