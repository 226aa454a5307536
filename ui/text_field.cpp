// A single-line text box whose handlers follow every change of its text (text_field.h).
#include "ui/text_field.h"

#include <QMouseEvent>

namespace kavrel::ui {

TextField::TextField(QWidget* parent) : QLineEdit(parent) {}

void TextField::onChange(Handler handler) {
  // The signal's text is dropped on purpose: after a nested assignment it is no longer
  // the field's text.
  connect(this, &QLineEdit::textChanged, this, [handler = std::move(handler)] { handler(); });
}

void TextField::onClick(Handler handler) {
  connect(this, &TextField::clickedInto, this, [handler = std::move(handler)] { handler(); });
}

void TextField::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);  // place the cursor first, as a click does
  if (event->button() == Qt::LeftButton) emit clickedInto();
}

}  // namespace kavrel::ui
