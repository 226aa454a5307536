// A list box: items shown in the order they were added, never sorted.
#pragma once

#include <QListWidget>

namespace kavrel::ui {

class ListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit ListBox(QWidget* parent = nullptr);

  void append(const QString& text);
  [[nodiscard]] QString itemText(int index) const;  // empty outside 0 .. count() - 1
  // Selects the first item whose text is `text`; returns false, selecting nothing new,
  // when there is none.
  bool selectFirst(const QString& text);
};

}  // namespace kavrel::ui
