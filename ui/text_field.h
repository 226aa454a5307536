// A single-line text box whose handlers follow every change of its text.
//
// The windows recompute after every change of a field, including the changes they make
// themselves (a refused entry is emptied, the check box pins the time to 0): such an
// assignment must run the field's change handlers at once, nested inside the routine
// that assigned, and assigning the text the field already holds must run nothing.
// QLineEdit::textChanged behaves exactly so. Its argument, however, is stale for any
// slot that runs after a nested assignment made by an earlier slot, so handlers here
// take no argument and read text() when they run.
#pragma once

#include <QLineEdit>
#include <functional>

namespace kavrel::ui {

using Handler = std::function<void()>;

class TextField : public QLineEdit {
  Q_OBJECT

 public:
  explicit TextField(QWidget* parent = nullptr);

  // Runs `handler` after every change of the text: typed, pasted, deleted or assigned.
  // Handlers run in the order they were added.
  void onChange(Handler handler);

  // Runs `handler` when the user clicks into the field (left button pressed in it).
  void onClick(Handler handler);

 signals:
  void clickedInto();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace kavrel::ui
