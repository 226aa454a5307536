// A straight line drawn on a window, decoration only (two of them make an etched
// separator). It covers exactly the pixels of a horizontal or vertical line; a slanted
// one is drawn across its bounding box. It takes no focus and lets clicks through.
#pragma once

#include <QColor>
#include <QWidget>

namespace kavrel::ui {

class LineControl : public QWidget {
  Q_OBJECT

 public:
  LineControl(QColor colour, int width, QWidget* parent = nullptr);

  [[nodiscard]] QColor colour() const { return m_colour; }
  [[nodiscard]] int lineWidth() const { return m_width; }

  // Places the line from `from` to `to` (pixels in the parent).
  void place(QPoint from, QPoint to);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor m_colour;
  int m_width;
  bool m_straight = true;  // horizontal or vertical: the widget is the line
  bool m_falling = true;   // a slanted line runs top-left to bottom-right
};

}  // namespace kavrel::ui
