// Test doubles of the desktop (desktop.h), for the tests of the windows: they record
// what a window asked for and answer at once, without showing anything.
//
//   kavrel::ui::TestDesktop desktop;          // message boxes, clock, links, printer
//   desktop.clock.time = {6, 12, 2001, 9, 5};
//   auto* window = new SomeWindow(desktop.desktop());
//   ...
//   QCOMPARE(desktop.messages.shown.size(), 1u);
#pragma once

#include <QStringList>
#include <functional>
#include <vector>

#include "ui/desktop.h"

namespace kavrel::ui {

class RecordingMessageBox : public MessageBox {
 public:
  struct Shown {
    QString text;
    int style = 0;
    QString title;

    friend bool operator==(const Shown&, const Shown&) = default;
  };

  void show(const QString& text, int style, const QString& title) override;

  std::vector<Shown> shown;
  // Runs while the box is "open", before show() returns: a test sees the window as the
  // user sees it behind the box.
  std::function<void(const Shown&)> whileShown;
};

class FixedClock : public Clock {
 public:
  [[nodiscard]] LocalTime now() const override { return time; }

  LocalTime time{6, 12, 2001, 9, 5};
};

class RecordingLinkOpener : public LinkOpener {
 public:
  bool open(const QString& target) override;

  QStringList targets;  // every target asked for, in order
  bool result = true;   // what open() answers
};

// Records the lines of each document. print() adds to the current line, endLine()
// closes it; endDocument() closes any unfinished line, files the document and its name
// and starts the next one on page 1.
class RecordingLinePrinter : public LinePrinter {
 public:
  void print(const QString& text) override { line += text; }
  void endLine() override;
  [[nodiscard]] int page() const override;
  void endDocument(const QString& name) override;

  QString line;                          // the line being printed
  QStringList lines;                     // finished lines of the current document
  std::vector<QStringList> documents;    // ended documents, in order
  QStringList names;                     // the name of each ended document
  int pageNumber = 1;                    // what page() answers
  mutable int pageReads = 0;             // how many times page() was asked
};

// The four doubles together, handed to a window as its Desktop.
struct TestDesktop {
  RecordingMessageBox messages;
  FixedClock clock;
  RecordingLinkOpener links;
  RecordingLinePrinter printer;

  [[nodiscard]] Desktop desktop() { return {messages, clock, links, printer}; }
};

}  // namespace kavrel::ui
