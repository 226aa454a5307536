// What the tests of the program windows share: typing into a field as a person does,
// emptying it, and reading what a window shows.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ui/form.h"

namespace kavrel::testing {

// Empties a text box as the user does: select all, then Backspace.
inline void clearField(ui::Form& form, const QString& name) {
  QLineEdit* field = form.textBox(name);
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Backspace);
}

// Types `keys` at the end of a text box, key by key.
inline void typeInto(ui::Form& form, const QString& name, const QString& keys) {
  QLineEdit* field = form.textBox(name);
  field->end(false);
  QTest::keyClicks(field, keys);
}

// Replaces a text box's whole text, typed key by key.
inline void retype(ui::Form& form, const QString& name, const QString& keys) {
  clearField(form, name);
  typeInto(form, name, keys);
}

// Pastes `text` over the whole field, as one change.
inline void paste(ui::Form& form, const QString& name, const QString& text) {
  QLineEdit* field = form.textBox(name);
  field->selectAll();
  field->insert(text);
}

}  // namespace kavrel::testing
