// What the windows need of the desktop beyond their own controls: message boxes, the
// local clock, opening an address with the user's default application, and a line
// printer. Each is a small interface with a Qt implementation (qt_desktop.h) and a
// test double (doubles.h); a window receives them together as a Desktop.
#pragma once

#include <QString>

namespace kavrel::ui {

// Message box styles, as the windows give them.
inline constexpr int kStyleOkOnly = 0;        // one OK button, no icon
inline constexpr int kStyleExclamation = 48;  // exclamation-mark icon, one OK button

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  // Shows `text` modally and returns once the user has closed the box. A carriage
  // return in the text starts a new line. An empty title shows the program's name.
  virtual void show(const QString& text, int style, const QString& title) = 0;
};

struct LocalTime {
  int day = 1;  // of the month
  int month = 1;
  int year = 2000;
  int hour = 0;
  int minute = 0;

  friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual LocalTime now() const = 0;
};

class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  // Opens `target` ("mailto:...", "https://...") with the user's default application;
  // false when nothing could open it.
  virtual bool open(const QString& target) = 0;
};

// A number as the line printer prints it: a space in place of the plus sign (a "-" for
// a negative number), the digits, one trailing space. 1 prints " 1 ".
[[nodiscard]] QString printedNumber(long long number);

class LinePrinter {
 public:
  virtual ~LinePrinter() = default;
  // Prints `text` and stays on the line.
  virtual void print(const QString& text) = 0;
  virtual void endLine() = 0;
  // The number of the page being printed, 1 for the first page of each document.
  [[nodiscard]] virtual int page() const = 0;
  // Ends the document and sends it to the printer; the next print starts a new one.
  // `name` says what the document is and when ("Rotations 2000-01-01 2000-06-01"): the
  // name of the print job, and of the PDF file offered when it cannot be printed.
  virtual void endDocument(const QString& name) = 0;

  void printNumber(long long number) { print(printedNumber(number)); }
};

// The desktop as one window sees it.
struct Desktop {
  MessageBox& messages;
  Clock& clock;
  LinkOpener& links;
  LinePrinter& printer;
};

}  // namespace kavrel::ui
