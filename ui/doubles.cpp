// Test doubles of the desktop (doubles.h).
#include "ui/doubles.h"

namespace kavrel::ui {

void RecordingMessageBox::show(const QString& text, int style, const QString& title) {
  const Shown current{text, style, title};
  shown.push_back(current);
  if (whileShown) whileShown(current);  // may show another box: keep our own copy
}

bool RecordingLinkOpener::open(const QString& target) {
  targets << target;
  return result;
}

void RecordingLinePrinter::endLine() {
  lines << line;
  line.clear();
}

int RecordingLinePrinter::page() const {
  ++pageReads;
  return pageNumber;
}

void RecordingLinePrinter::endDocument(const QString& name) {
  if (!line.isEmpty()) endLine();
  documents.push_back(lines);
  names << name;
  lines.clear();
  pageNumber = 1;
}

}  // namespace kavrel::ui
