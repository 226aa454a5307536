// A window built from its table of controls (form.h).
//
// Building goes in three steps: create every widget with its name and caption, work out
// the window's scale from what each widget must show in its own font, then place the
// widgets and size the window from the twips of the table at that scale.
#include "ui/form.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTableWidget>
#include <algorithm>
#include <climits>

#include "ui/line_control.h"
#include "ui/list_box.h"
#include "ui/result_label.h"

namespace kavrel::ui {

namespace {

// A caption as the button shows it: "&Quitter" shows "Quitter", "&&" shows "&".
QString shownCaption(const QString& caption) {
  QString shown;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

// The size of a text laid out on its own lines (a caption may hold line breaks).
QSize textSize(const QFontMetrics& metrics, const QString& text) {
  if (text.isEmpty()) return {};
  return metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignLeft | Qt::AlignTop, text)
      .size();
}

// The height a word-wrapped label takes at a width, or INT_MAX when its longest word
// is wider than that.
std::function<int(int)> wrappedHeight(QLabel* label, const QString& text) {
  const QFontMetrics metrics = label->fontMetrics();
  int longestWord = 0;
  for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
    longestWord = std::max(longestWord, metrics.horizontalAdvance(word));
  const int chrome = 2 * label->frameWidth() + (label->frameWidth() ? metrics.horizontalAdvance(u'x') : 0);
  return [label, longestWord, chrome](int width) {
    return width < longestWord + chrome ? INT_MAX : label->heightForWidth(width);
  };
}

Qt::Alignment labelAlignment(const ControlRow& row) {
  const Qt::Alignment across = row.align == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
  // A result box (bordered or on its own background) centres its one line; captions sit
  // at the top unless they stand on the row of a value.
  const bool box = row.border || row.background != Background::Default;
  return across | ((box && !row.wrap) || row.middle ? Qt::AlignVCenter : Qt::AlignTop);
}

void paintBackground(QWidget* widget, Background background) {
  if (background == Background::Default) return;
  QPalette palette = widget->palette();
  const QPalette::ColorRole role =
      background == Background::Window ? QPalette::Base : QPalette::Button;
  palette.setColor(QPalette::Window, palette.color(role));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace

Form::Form(const FormTable& table, QWidget* owner)
    : QWidget(owner, table.dialogFrame ? Qt::Dialog : Qt::Window), m_table(table) {
  setObjectName(table.name);
  setWindowTitle(table.title);
  setAttribute(Qt::WA_DeleteOnClose);

  Qt::WindowFlags flags = windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  flags &= ~(Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
  if (table.minimiseButton) flags |= Qt::WindowMinimizeButtonHint;
  if (!table.grows.isEmpty()) flags |= Qt::WindowMaximizeButtonHint;
  setWindowFlags(flags);

  m_controls.reserve(table.controls.size());
  for (const ControlRow& control : table.controls) m_controls.push_back({control, create(control)});

  nameForScreenReaders();

  m_dpiX = logicalDpiX();
  m_dpiY = logicalDpiY();
  m_scale = fitScale();
  const QSize size = toPixels({0, 0, m_table.clientWidth, m_table.clientHeight}).size();
  if (table.grows.isEmpty()) {
    setFixedSize(size);
  } else {
    setMinimumSize(size);
    resize(size);
  }
  place();
  applyTabOrder();
}

QWidget* Form::create(const ControlRow& row) {
  QWidget* parent = this;
  if (!row.frame.isEmpty()) {
    parent = find(row.frame, -1);
    if (!parent || !qobject_cast<QGroupBox*>(parent))
      qFatal("%s: %s sits in %s, which is not a frame declared before it",
             qPrintable(m_table.name), qPrintable(row.name), qPrintable(row.frame));
  }

  QWidget* widget = nullptr;
  switch (row.kind) {
    case Kind::Label: {
      QLabel* label = newLabel(row, parent);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(row.wrap);
      label->setAlignment(labelAlignment(row));
      if (row.border) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      widget = label;
      break;
    }
    case Kind::TextBox: {
      auto* field = new TextField(parent);
      field->setText(row.caption);
      field->setAlignment(row.align == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
      widget = field;
      break;
    }
    case Kind::CommandButton:
      widget = new QPushButton(row.caption, parent);
      break;
    case Kind::CheckBox:
      widget = new QCheckBox(row.caption, parent);
      break;
    case Kind::ListBox:
      widget = new ListBox(parent);
      break;
    case Kind::Frame:
      widget = new QGroupBox(row.caption, parent);
      break;
    case Kind::PictureBox: {
      auto* picture = new QLabel(parent);
      picture->setAlignment(Qt::AlignCenter);
      if (row.border) picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      widget = picture;
      break;
    }
    case Kind::Line:
      widget = new LineControl(row.colour.isValid() ? row.colour : QColor(Qt::black),
                               row.lineWidth, parent);
      break;
    case Kind::OptionButton: {
      // Qt's auto-exclusive buttons: one group per parent, the frame or the window.
      auto* option = new QRadioButton(row.caption, parent);
      option->setChecked(row.checked);
      widget = option;
      break;
    }
    case Kind::ComboBox: {
      auto* combo = new QComboBox(parent);
      combo->addItems(row.items);
      widget = combo;
      break;
    }
    case Kind::Table: {
      auto* table = new QTableWidget(0, static_cast<int>(row.columns.size()), parent);
      table->setHorizontalHeaderLabels(row.columns);
      table->verticalHeader()->hide();
      table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
      table->setEditTriggers(QAbstractItemView::NoEditTriggers);
      table->setSelectionBehavior(QAbstractItemView::SelectRows);
      table->setSelectionMode(QAbstractItemView::ExtendedSelection);
      table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
      widget = table;
      break;
    }
  }
  widget->setObjectName(row.name);
  if (row.index >= 0) widget->setProperty("index", row.index);
  paintBackground(widget, row.background);
  return widget;
}

void Form::nameForScreenReaders() {
  for (const Entry& entry : m_controls) {
    const ControlRow& row = entry.row;
    QStringList captions;
    for (const QString& name : row.namedBy) captions << shownCaption(captionOf(name));
    QString name = captions.join(QStringLiteral(", "));
    if (!row.unit.isEmpty()) name += QStringLiteral(" (%1)").arg(shownCaption(captionOf(row.unit)));
    if (!row.accessibleName.isEmpty()) name = row.accessibleName;
    if (name.isEmpty()) continue;
    entry.widget->setAccessibleName(name);

    if (row.kind != Kind::TextBox && row.kind != Kind::ComboBox) continue;
    QStringList naming = row.namedBy;
    if (!row.unit.isEmpty()) naming << row.unit;
    for (const QString& labelName : naming)
      if (auto* label = qobject_cast<QLabel*>(control(labelName)); label && !label->buddy())
        label->setBuddy(entry.widget);
  }
}

QString Form::captionOf(const QString& name) const {
  for (const Entry& entry : m_controls)
    if (entry.row.name == name && (entry.row.kind == Kind::Label || entry.row.kind == Kind::Frame))
      return entry.row.caption;
  qFatal("%s: %s is no label or frame to name a control", qPrintable(m_table.name), qPrintable(name));
}

double Form::fitScale() {
  const QStyle* style = this->style();
  const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
  double scale = 1.0;
  for (const Entry& entry : m_controls) {
    const ControlRow& row = entry.row;
    const QFontMetrics metrics = entry.widget->fontMetrics();
    Need need{row.at.width, row.at.height, 0, 0};
    switch (row.kind) {
      case Kind::Label: {
        // The label measures itself (frame, indent and all) for each text it must show.
        auto* label = static_cast<QLabel*>(entry.widget);
        for (const QString& text : {row.caption, row.widest}) {
          if (text.isEmpty()) continue;
          label->setText(text);
          if (row.wrap)
            scale = std::max(scale, scaleForWrapped(wrappedHeight(label, text), row.at.width,
                                                    row.at.height, m_dpiX, m_dpiY));
          else
            scale = std::max(scale, scaleFor({row.at.width, row.at.height, label->sizeHint().width(),
                                              label->sizeHint().height()},
                                             m_dpiX, m_dpiY));
        }
        label->setText(row.caption);
        continue;
      }
      case Kind::TextBox: {
        // QLineEdit keeps 2 pixels each side and 1 above and below its text, plus the
        // cursor's pixel.
        const int shown = std::max(metrics.horizontalAdvance(row.caption),
                                   metrics.horizontalAdvance(row.widest));
        need.width = shown > 0 ? shown + 2 * frame + 5 : 0;
        need.height = metrics.height() + 2 * frame + 2;
        break;
      }
      case Kind::CommandButton: {
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin);
        need.width = textSize(metrics, shownCaption(row.caption)).width() + 2 * margin + 2 * frame;
        need.height = metrics.height() + 2 * frame + 2;
        break;
      }
      case Kind::CheckBox:
      case Kind::OptionButton: {
        const QSize hint = entry.widget->sizeHint();  // indicator, spacing and caption
        need.width = hint.width();
        need.height = metrics.height();
        break;
      }
      case Kind::Frame:
        need.width = metrics.horizontalAdvance(row.caption) + 16;
        break;
      case Kind::ListBox:
        if (!row.widest.isEmpty())
          need.width = metrics.horizontalAdvance(row.widest) + 2 * frame + 4 +
                       style->pixelMetric(QStyle::PM_ScrollBarExtent);
        break;
      case Kind::ComboBox: {
        // The widest choice with the box's frame and arrow, as the style draws them.
        auto* combo = static_cast<QComboBox*>(entry.widget);
        int widest = metrics.horizontalAdvance(row.widest);
        for (const QString& item : row.items) widest = std::max(widest, metrics.horizontalAdvance(item));
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QSize box = style->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                  QSize(widest, metrics.height()), combo);
        need.width = box.width();
        need.height = box.height();
        break;
      }
      case Kind::PictureBox:
      case Kind::Line:
      case Kind::Table:  // its rows scroll
        continue;
    }
    scale = std::max(scale, scaleFor(need, m_dpiX, m_dpiY));
  }
  return scale;
}

QRect Form::toPixels(const Twips& at) const { return twipsToRect(at, m_dpiX, m_dpiY, m_scale); }

QSize Form::growth() const {
  if (m_table.grows.isEmpty()) return {};
  const QSize table = toPixels({0, 0, m_table.clientWidth, m_table.clientHeight}).size();
  return {std::max(0, width() - table.width()), std::max(0, height() - table.height())};
}

void Form::place() {
  const Twips& grows = m_table.grows;
  const QSize extra = growth();
  for (const Entry& entry : m_controls) {
    const Twips& at = entry.row.at;
    QRect box = toPixels(at);
    // Controls in a frame move with it; a column right of the area keeps its rows.
    if (entry.row.frame.isEmpty() && !grows.isEmpty()) {
      if (at.left >= grows.left + grows.width)
        box.translate(extra.width(), 0);
      else if (at.top >= grows.top + grows.height)
        box.translate(0, extra.height());
    }
    if (auto* line = qobject_cast<LineControl*>(entry.widget)) {
      line->place(box.topLeft(), QPoint(box.left() + box.width(), box.top() + box.height()));
    } else {
      entry.widget->setGeometry(box);
    }
  }
}

void Form::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (m_table.grows.isEmpty()) return;
  place();
  if (m_resize) m_resize();
}

void Form::applyTabOrder() {
  QWidget* previous = nullptr;
  for (const QString& name : m_table.tabOrder) {
    QWidget* widget = control(name);
    if (!(widget->focusPolicy() & Qt::TabFocus)) continue;
    if (previous) setTabOrder(previous, widget);
    previous = widget;
  }
}

QWidget* Form::find(const QString& name, int index) const {
  for (const Entry& entry : m_controls)
    if (entry.row.name == name && (index < 0 || entry.row.index == index)) return entry.widget;
  return nullptr;
}

bool Form::has(const QString& name) const { return find(name, -1) != nullptr; }

QWidget* Form::control(const QString& name, int index) const {
  QWidget* widget = find(name, index);
  if (!widget) qFatal("%s has no control %s", qPrintable(m_table.name), qPrintable(name));
  return widget;
}

namespace {
template <typename T>
T* as(QWidget* widget, const char* kind) {
  auto* typed = qobject_cast<T*>(widget);
  if (!typed) qFatal("%s is not a %s", qPrintable(widget->objectName()), kind);
  return typed;
}
}  // namespace

TextField* Form::textBox(const QString& name) const { return as<TextField>(control(name), "text box"); }
QLabel* Form::label(const QString& name) const { return as<QLabel>(control(name), "label"); }
QPushButton* Form::button(const QString& name) const { return as<QPushButton>(control(name), "button"); }
QCheckBox* Form::checkBox(const QString& name) const { return as<QCheckBox>(control(name), "check box"); }
ListBox* Form::listBox(const QString& name) const { return as<ListBox>(control(name), "list box"); }
QGroupBox* Form::frame(const QString& name) const { return as<QGroupBox>(control(name), "frame"); }
QTableWidget* Form::table(const QString& name) const { return as<QTableWidget>(control(name), "table"); }
QComboBox* Form::comboBox(const QString& name) const { return as<QComboBox>(control(name), "combo box"); }

QString Form::text(const QString& name) const {
  QWidget* widget = control(name);
  if (auto* field = qobject_cast<QLineEdit*>(widget)) return field->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
  qFatal("%s has no text", qPrintable(name));
}

void Form::setText(const QString& name, const QString& text) {
  QWidget* widget = control(name);
  if (auto* field = qobject_cast<QLineEdit*>(widget)) return field->setText(text);
  if (auto* label = qobject_cast<QLabel*>(widget)) return setLabelText(label, text);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->setText(text);
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->setTitle(text);
  qFatal("%s has no text", qPrintable(name));
}

int Form::value(const QString& checkBoxOrOptionName) const {
  QWidget* widget = control(checkBoxOrOptionName);
  if (auto* option = qobject_cast<QRadioButton*>(widget)) return option->isChecked() ? 1 : 0;
  return checkBox(checkBoxOrOptionName)->isChecked() ? 1 : 0;
}

void Form::setValue(const QString& checkBoxName, int value) {
  checkBox(checkBoxName)->setChecked(value != 0);
}

void Form::setPicture(const QString& pictureBoxName, const QIcon& picture) {
  auto* box = as<QLabel>(control(pictureBoxName), "picture box");
  box->setPixmap(picture.pixmap(box->contentsRect().size(), devicePixelRatioF()));
}

void Form::onLoad(Handler handler) { m_load = std::move(handler); }

void Form::onChange(const QString& textBoxName, Handler handler) {
  textBox(textBoxName)->onChange(std::move(handler));
}

void Form::onClick(const QString& name, Handler handler) {
  QWidget* widget = control(name);
  if (auto* field = qobject_cast<TextField*>(widget)) return field->onClick(std::move(handler));
  if (auto* box = qobject_cast<QCheckBox*>(widget)) {
    connect(box, &QCheckBox::toggled, this, [handler = std::move(handler)] { handler(); });
    return;
  }
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this, [handler = std::move(handler)] { handler(); });
    return;
  }
  qFatal("%s has no click notification", qPrintable(name));
}

void Form::load() {
  if (m_loaded) return;
  m_loaded = true;
  if (m_load) m_load();
}

void Form::unload() { close(); }

void Form::setVisible(bool visible) {
  if (visible && !m_shownOnce) {
    m_shownOnce = true;
    load();
    if (m_table.centred) {
      // The client area, centred; the frame is the window manager's.
      setGeometry(QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size(),
                                      this->screen()->availableGeometry()));
    }
    for (const QString& name : m_table.tabOrder) {
      QWidget* first = control(name);
      if (first->focusPolicy() & Qt::TabFocus) {
        first->setFocus();
        break;
      }
    }
  }
  QWidget::setVisible(visible);
}

void Form::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit unloaded();
}

void addResultRow(std::vector<ControlRow>& controls, const ResultColumns& columns, const ResultRow& row) {
  controls.push_back({.name = row.captionName,
                      .caption = row.caption,
                      .at = {columns.captionLeft, row.top, columns.captionWidth, columns.height},
                      .middle = columns.middle});
  controls.push_back({.name = row.resultName,
                      .at = {columns.resultLeft, row.top, columns.resultWidth, columns.height},
                      .align = Align::Centre,
                      .background = Background::Window,
                      .widest = columns.widest,
                      .namedBy = {row.captionName},
                      .unit = row.unitName,
                      .accessibleName = row.accessibleName});
  if (!row.unitName.isEmpty())
    controls.push_back({.name = row.unitName,
                        .caption = row.unit,
                        .at = {columns.unitLeft, row.top, columns.unitWidth, columns.height},
                        .middle = columns.middle});
}

}  // namespace kavrel::ui
