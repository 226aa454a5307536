// The interface through which screen readers read a result label (result_label.h).
#include "ui/result_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTextLayout>
#include <algorithm>
#include <cstdlib>

namespace kavrel::ui {

namespace {

// Lays the label's text out in `layout` as the label draws it, and returns where the
// first line starts, in the label's coordinates.
QPoint layOut(const QLabel& label, QTextLayout& layout) {
  const QRect box = label.contentsRect();
  layout.setText(label.text());
  layout.setFont(label.font());
  QTextOption option(label.alignment() & Qt::AlignHorizontal_Mask);
  option.setWrapMode(label.wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
  layout.setTextOption(option);
  qreal height = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(box.width());
    line.setPosition({0, height});
    height += line.height();
  }
  layout.endLayout();
  int top = box.top();
  if (label.alignment() & Qt::AlignVCenter) top += (box.height() - qRound(height)) / 2;
  if (label.alignment() & Qt::AlignBottom) top += box.height() - qRound(height);
  return {box.left(), top};
}

class ResultAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ResultAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
  // Its name and description stay the widget's; text(int, int) below is the value shown.
  using QAccessibleWidget::text;

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    return state;
  }

  // Nothing can be selected in a result, and its caret stays before the first character.
  void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}

  QString text(int startOffset, int endOffset) const override {
    const QString shown = label().text();
    const int count = static_cast<int>(shown.size());
    if (endOffset < 0 || endOffset > count) endOffset = count;
    startOffset = std::clamp(startOffset, 0, endOffset);
    return shown.mid(startOffset, endOffset - startOffset);
  }
  int characterCount() const override { return static_cast<int>(label().text().size()); }

  QRect characterRect(int offset) const override {
    if (offset < 0 || offset >= characterCount()) return {};
    QTextLayout layout;
    const QPoint origin = layOut(label(), layout);
    const QTextLine line = layout.lineForTextPosition(offset);
    if (!line.isValid()) return {};
    const int left = qRound(line.cursorToX(offset));
    const int right = qRound(line.cursorToX(offset + 1));
    const QRect inLabel(origin + QPoint(std::min(left, right), qRound(line.y())),
                        QSize(std::abs(right - left), qRound(line.height())));
    return {label().mapToGlobal(inLabel.topLeft()), inLabel.size()};
  }

  int offsetAtPoint(const QPoint& point) const override {
    const QPoint inLabel = label().mapFromGlobal(point);
    if (!label().rect().contains(inLabel)) return -1;
    QTextLayout layout;
    const QPoint local = inLabel - layOut(label(), layout);
    for (int i = 0; i < layout.lineCount(); ++i) {
      const QTextLine line = layout.lineAt(i);
      if (local.y() >= line.y() && local.y() < line.y() + line.height()) return line.xToCursor(local.x());
    }
    return -1;
  }

  // The label shows its whole text: there is nothing to scroll.
  void scrollToSubstring(int, int) override {}

  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = offset;
    return {};
  }

 private:
  const QLabel& label() const { return *static_cast<const QLabel*>(widget()); }
};

QAccessibleInterface* resultInterface(const QString& className, QObject* object) {
  if (className != QLatin1String(ResultLabel::staticMetaObject.className())) return nullptr;
  auto* label = qobject_cast<ResultLabel*>(object);
  return label ? new ResultAccessible(label) : nullptr;
}

}  // namespace

void installResultAccessibility() { QAccessible::installFactory(resultInterface); }

QLabel* newLabel(const ControlRow& row, QWidget* parent) {
  const bool named = !row.namedBy.isEmpty() || !row.accessibleName.isEmpty();
  // Made without text, so that no accessibility event during construction makes Qt
  // describe the label as the plain QLabel it still is then.
  QLabel* label = named ? new ResultLabel(parent) : new QLabel(parent);
  label->setText(row.caption);
  return label;
}

void setLabelText(QLabel* label, const QString& text) {
  const QString before = label->text();
  label->setText(text);
  if (!qobject_cast<ResultLabel*>(label) || label->text() == before) return;
  // A remove and an insert rather than one update event: the bridge of some Qt releases
  // sends nothing for the update.
  if (!before.isEmpty()) {
    QAccessibleTextRemoveEvent removed(label, 0, before);
    QAccessible::updateAccessibility(&removed);
  }
  if (!label->text().isEmpty()) {
    QAccessibleTextInsertEvent inserted(label, 0, label->text());
    QAccessible::updateAccessibility(&inserted);
  }
}

}  // namespace kavrel::ui
