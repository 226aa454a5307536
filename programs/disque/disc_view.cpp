// The disc on screen (disc_view.h).
#include "programs/disque/disc_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "disque/disc_texts.h"

namespace kavrel::disque {

DiscView::DiscView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setCursor(Qt::CrossCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void DiscView::setDisc(std::optional<DiscOrientation> disc) {
  m_disc = disc;
  update();
}

void DiscView::setGridStep(GridStep step) {
  m_gridStep = step;
  update();
}

void DiscView::setOrientation(DrawingOrientation orientation) {
  m_orientation = orientation;
  update();
}

void DiscView::setSpots(std::vector<DrawnSpot> spots) {
  m_spots = std::move(spots);
  update();
}

void DiscView::setDecimalSeparator(std::string separator) {
  m_separator = std::move(separator);
  update();
}

DiscLook DiscView::look() const {
  DiscLook look;
  look.gridStep = m_gridStep;
  look.textHeight = std::max(9, fontMetrics().height() - 3);
  look.thinLine = 1;
  look.strongLine = 2;
  look.decimalSeparator = m_separator;
  return look;
}

DiscFrame DiscView::frame() const {
  const double side = std::min(width(), height());
  DiscFrame frame;
  frame.centre = QPointF(width() / 2.0, height() / 2.0);
  frame.radius = std::max(1.0, side / 2 - kLabelMargin * look().textHeight - 2);
  frame.orientation = m_orientation;
  return frame;
}

void DiscView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!m_disc) {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                     QString::fromUtf8(kIncompleteDate));
    return;
  }
  paintDisc(painter, *m_disc, frame(), look(), m_spots);
}

void DiscView::mouseMoveEvent(QMouseEvent* event) {
  if (m_onPointer) m_onPointer(discPointAt(frame(), event->position()));
  QWidget::mouseMoveEvent(event);
}

void DiscView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_onPress) {
    m_onPress(discPointAt(frame(), event->position()));
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

void DiscView::leaveEvent(QEvent* event) {
  if (m_onPointer) m_onPointer(std::nullopt);
  QWidget::leaveEvent(event);
}

}  // namespace kavrel::disque
