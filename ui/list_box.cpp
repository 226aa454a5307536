// A list box in the order items were added (list_box.h).
#include "ui/list_box.h"

namespace kavrel::ui {

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
  setSortingEnabled(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void ListBox::append(const QString& text) { addItem(text); }

QString ListBox::itemText(int index) const {
  const QListWidgetItem* found = item(index);
  return found ? found->text() : QString();
}

bool ListBox::selectFirst(const QString& text) {
  for (int i = 0; i < count(); ++i) {
    if (item(i)->text() == text) {
      setCurrentRow(i);
      return true;
    }
  }
  return false;
}

}  // namespace kavrel::ui
