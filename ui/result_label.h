// What a screen reader reads of a result: the caption that names it, and the value it
// shows, as the text of a label.
//
// Qt describes a QLabel to readers by its accessible name alone once it has one, with no
// text interface, so a reader that hears the caption ("Numéro de jour julien") never hears
// the number. A label that the form table names for readers is created as a ResultLabel;
// installResultAccessibility() has Qt describe it with an interface of ours: role static
// text, the caption as its name, the value through the Text interface (no selection,
// caret at 0), and setLabelText() announces each new value. A label whose text holds
// several lines (wrapped) is measured line by line as it is drawn; the rectangles of its
// characters ignore the label's indent, a few pixels.
#pragma once

#include <QLabel>

#include "ui/form_table.h"

namespace kavrel::ui {

class ResultLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;
};

// Has Qt describe every ResultLabel with our interface. Call once the application exists
// and before any window is built: Qt keeps the interface it made first for a widget.
void installResultAccessibility();

// The label of a table row, showing its caption: a ResultLabel where the table names it
// for screen readers (a caption names nothing, a result always has a name).
QLabel* newLabel(const ControlRow& row, QWidget* parent);

// Shows `text` in a label; a result's change reaches screen readers as text removed and
// text inserted (the events Qt's bridge passes on as object:text-changed).
void setLabelText(QLabel* label, const QString& text);

}  // namespace kavrel::ui
