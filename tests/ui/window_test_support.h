// What the tests of the program windows share: typing into a field as a person does,
// emptying it, and reading what a window shows.
#pragma once

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTest>

#include "ui/doubles.h"
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

// Runs the deletions Qt deferred, so that an unloaded window is really gone.
inline void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// A program's main window opened on the desktop's test doubles (the clock reads 6 December
// 2001, 09:05), its load handler run, and deleted with the fixture (its About window too).
template <typename Window>
struct OpenWindow {
  ui::TestDesktop desktop;
  QPointer<Window> window;

  explicit OpenWindow(const QString& separator = ",") : window(new Window(desktop.desktop(), separator.toStdString())) {
    window->load();
  }
  ~OpenWindow() {
    delete window;
    settle();
  }
  OpenWindow(const OpenWindow&) = delete;
  OpenWindow& operator=(const OpenWindow&) = delete;

  Window& w() { return *window; }
  // What the named fields and labels show, in the order named.
  QStringList texts(const QStringList& names) const {
    QStringList shown;
    for (const QString& name : names) shown << window->text(name);
    return shown;
  }
};

}  // namespace kavrel::testing
