// A window built from its table of controls (form_table.h), with handlers attached by
// control name.
//
// A window of the suite derives from Form, passes its FormTable to the constructor and
// attaches its handlers, named after the control and the event:
//
//   onLoad([this] { Form_Load(); });
//   onChange("txtJour", [this] { txtJour_Change(); });
//   onClick("cmdMenu", [this] { cmdMenu_Click(); });
//
// Handlers take no argument: they read the fields through text() and write the labels
// through setText(). An assignment to a text box runs its change handlers at once,
// nested, unless the box already holds that text.
//
// Lifetime: a Form is a top-level window, created with new; unloading it (unload(), the
// title bar's close) closes and deletes it. With an owner it is deleted with its owner.
// The program ends when its last window is closed (Qt's quitOnLastWindowClosed).
// The load handler runs once, before the window first shows (or at load()).
#pragma once

#include <QIcon>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/form_table.h"
#include "ui/text_field.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kavrel::ui {

class ListBox;

class Form : public QWidget {
  Q_OBJECT

 public:
  explicit Form(const FormTable& table, QWidget* owner = nullptr);

  // Controls by name (and index within a control array). Asking for a name the table
  // does not hold, or for the wrong kind, is a programming error and aborts.
  [[nodiscard]] QWidget* control(const QString& name, int index = -1) const;
  // Whether the table holds a control of that name.
  [[nodiscard]] bool has(const QString& name) const;
  [[nodiscard]] TextField* textBox(const QString& name) const;
  [[nodiscard]] QLabel* label(const QString& name) const;
  [[nodiscard]] QPushButton* button(const QString& name) const;
  [[nodiscard]] QCheckBox* checkBox(const QString& name) const;
  [[nodiscard]] ListBox* listBox(const QString& name) const;
  [[nodiscard]] QGroupBox* frame(const QString& name) const;
  [[nodiscard]] QTableWidget* table(const QString& name) const;
  [[nodiscard]] QComboBox* comboBox(const QString& name) const;

  // The text of a text box, the choice of a combo box, or the caption of a label, button,
  // check box or frame.
  [[nodiscard]] QString text(const QString& name) const;
  void setText(const QString& name, const QString& text);

  // A check box's or an option button's value: 0 unchecked, 1 checked. Setting a check
  // box's value runs its click handlers when the value changes.
  [[nodiscard]] int value(const QString& checkBoxOrOptionName) const;
  void setValue(const QString& checkBoxName, int value);

  // Shows `picture` in a picture box, sized to it.
  void setPicture(const QString& pictureBoxName, const QIcon& picture);

  void onLoad(Handler handler);
  // A text box's change handler (after every change of its text).
  void onChange(const QString& textBoxName, Handler handler);
  // A button's press, a check box's change of value, a click into a text box.
  void onClick(const QString& name, Handler handler);

  // Runs the load handler unless it has run already.
  void load();
  // Closes and deletes the window.
  void unload();

  // The uniform scale applied to the twips of this window (1 or more).
  [[nodiscard]] double scale() const { return m_scale; }
  // A rectangle in twips, in this window's pixels.
  [[nodiscard]] QRect toPixels(const Twips& at) const;
  // How much a window that grows is larger than its table's size, in pixels (none for a
  // window of fixed size).
  [[nodiscard]] QSize growth() const;
  // Runs after the window has placed its controls at a new size (a window that grows).
  void onResize(Handler handler) { m_resize = std::move(handler); }

  void setVisible(bool visible) override;

 signals:
  // The window is closing and will be deleted.
  void unloaded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Entry {
    ControlRow row;
    QWidget* widget = nullptr;
  };

  QWidget* create(const ControlRow& row);
  QWidget* find(const QString& name, int index) const;
  void nameForScreenReaders();  // accessible names and buddies from the table
  [[nodiscard]] QString captionOf(const QString& labelOrFrame) const;
  [[nodiscard]] double fitScale();  // measures labels by setting their texts in turn
  void place();
  void applyTabOrder();

  FormTable m_table;
  std::vector<Entry> m_controls;
  double m_dpiX = 96;
  double m_dpiY = 96;
  double m_scale = 1;
  Handler m_load;
  Handler m_resize;
  bool m_loaded = false;
  bool m_shownOnce = false;
};

}  // namespace kavrel::ui
