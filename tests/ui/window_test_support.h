// What the tests of the program windows share: typing into a field as a person does,
// emptying it, reading what a window shows and what a screen reader is told of it.
#pragma once

#include <QAccessible>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QStyle>
#include <QTest>
#include <cstdlib>

#include "ui/doubles.h"
#include "ui/form.h"
#include "ui/result_label.h"

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

// What a screen reader says for a control, and the controls it hears as its labels.
inline QString accessibleName(QWidget* control) {
  return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}
inline QStringList labelledBy(QWidget* control) {
  QStringList labels;
  for (const auto& [label, relation] : QAccessible::queryAccessibleInterface(control)->relations(QAccessible::Label))
    labels << label->object()->objectName();
  return labels;
}

// A table of the controls a screen reader names: control, name, labelledBy (the labels
// that take a field as buddy; none for a result).
inline void accessibilityColumns() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QStringList>("labels");
}
inline void checkAccessibility(const ui::Form& form) {
  QFETCH(QString, control);
  QFETCH(QString, name);
  QFETCH(QStringList, labels);
  QCOMPARE(accessibleName(form.control(control)), name);
  QCOMPARE(labelledBy(form.control(control)), labels);
}

// Where a label draws its line of text, in its window's coordinates.
inline QRect drawnText(QLabel* label) {
  const QRect drawn = label->style()->itemTextRect(label->fontMetrics(), label->contentsRect(), label->alignment(),
                                                   true, label->text());
  return {label->mapTo(label->window(), drawn.topLeft()), drawn.size()};
}

// A table of captions (or units) and the result label of their row: caption, value.
inline void levelColumns() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("value");
}
// The caption's line stands level with its value's, to the pixel.
inline void checkLevel(const ui::Form& form) {
  QFETCH(QString, caption);
  QFETCH(QString, value);
  const int captionMiddle = drawnText(form.label(caption)).center().y();
  const int valueMiddle = drawnText(form.label(value)).center().y();
  QVERIFY2(std::abs(captionMiddle - valueMiddle) <= 1,
           qPrintable(QStringLiteral("%1 at %2 px, %3 at %4 px").arg(caption).arg(captionMiddle).arg(value).arg(valueMiddle)));
}

// A program's main window opened on the desktop's test doubles (the clock reads 6 December
// 2001, 09:05), its load handler run, and deleted with the fixture (its About window too).
template <typename Window>
struct OpenWindow {
  ui::TestDesktop desktop;
  QPointer<Window> window;

  explicit OpenWindow(const QString& separator = ",") {
    ui::installResultAccessibility();
    window = new Window(desktop.desktop(), separator.toStdString());
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
