// A straight decoration line (line_control.h).
#include "ui/line_control.h"

#include <QPainter>
#include <algorithm>

namespace kavrel::ui {

LineControl::LineControl(QColor colour, int width, QWidget* parent)
    : QWidget(parent), m_colour(colour), m_width(std::max(1, width)) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::place(QPoint from, QPoint to) {
  const QRect box = QRect(from, to).normalized();
  m_falling = (to.x() - from.x()) * (to.y() - from.y()) >= 0;
  m_straight = from.x() == to.x() || from.y() == to.y();
  if (from.y() == to.y())
    setGeometry(box.left(), from.y(), std::max(1, box.width() - 1), m_width);
  else if (from.x() == to.x())
    setGeometry(from.x(), box.top(), m_width, std::max(1, box.height() - 1));
  else
    setGeometry(box);
}

void LineControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_straight) {
    painter.fillRect(rect(), m_colour);
    return;
  }
  painter.setPen(QPen(m_colour, m_width));
  if (m_falling)
    painter.drawLine(rect().topLeft(), rect().bottomRight());
  else
    painter.drawLine(rect().bottomLeft(), rect().topRight());
}

}  // namespace kavrel::ui
