// The photograph on screen (photo_view.h).
#include "programs/disque/photo_view.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kavrel::disque {

namespace {

const QColor kBackground(48, 48, 48);
const QColor kMessageInk(230, 230, 230);

constexpr double kZoomStep = 1.25;            // one notch of the wheel, one key press
constexpr double kSmallestShareOfFit = 0.25;  // zoomed out to a quarter of the fitted size
constexpr double kLargestZoom = 16;           // screen pixels per image pixel
// At least this much of the image (screen pixels) stays in view when panning.
constexpr double kKeptInView = 48;

// The range of the image's corner along one axis that keeps some of it in view.
double clampCorner(double corner, double imageExtent, double viewExtent) {
  const double kept = std::min({kKeptInView, imageExtent, viewExtent});
  return std::clamp(corner, kept - imageExtent, viewExtent - kept);
}

// The display's `part` in blocks of `block` x `block` pixels, each shown as the mean of its
// pixels (a block cut by the part's edge, of those it has). Qt's smooth scaling first makes
// a grey image 32-bit, four bytes a sample, in helper threads that a loaded machine keeps
// waiting: reducing the bulk in 8 bits here keeps a zoom step or a contrast change on a
// large image in tens of milliseconds.
QImage reducedByBlocks(const QImage& display, QRect part, int block) {
  const int width = (part.width() + block - 1) / block;
  const int height = (part.height() + block - 1) / block;
  QImage reduced(width, height, QImage::Format_Grayscale8);
  if (reduced.isNull()) return {};
  std::vector<std::uint32_t> sums(static_cast<std::size_t>(width));
  for (int by = 0; by < height; ++by) {
    std::fill(sums.begin(), sums.end(), 0);
    const int top = part.top() + by * block;
    const int rows = std::min(block, part.top() + part.height() - top);
    for (int y = top; y < top + rows; ++y) {
      const uchar* in = display.constScanLine(y) + part.left();
      for (int bx = 0, x = 0; bx < width; ++bx) {
        const int end = std::min(x + block, part.width());
        std::uint32_t sum = 0;
        for (; x < end; ++x) sum += in[x];
        sums[static_cast<std::size_t>(bx)] += sum;
      }
    }
    uchar* out = reduced.scanLine(by);
    for (int bx = 0; bx < width; ++bx) {
      const auto count = static_cast<std::uint32_t>(rows * std::min(block, part.width() - bx * block));
      out[bx] = static_cast<uchar>((sums[static_cast<std::size_t>(bx)] + count / 2) / count);
    }
  }
  return reduced;
}

}  // namespace

PhotoView::PhotoView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setCursor(Qt::CrossCursor);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAccessibleName(kAccessibleName);
  setAccessibleDescription(kAccessibleDescription);
  // Every key of the application passes here first; only the zoom keys of this window
  // are kept (eventFilter).
  qApp->installEventFilter(this);
}

void PhotoView::setImage(const image::GreyImage* image) {
  m_image = image;
  m_automaticStretch = image != nullptr ? displayStretch(image->view()) : DisplayStretch{};
  m_stretch = m_automaticStretch;
  m_display = image != nullptr ? displayImage(image->view(), m_stretch) : QImage();
  m_scaled = QPixmap();
  m_scaledZoom = 0;
  m_pressAt.reset();
  m_dragging = false;
  fitToView();
  update();
  if (m_onImage) m_onImage();
}

bool PhotoView::setStretch(DisplayStretch stretch) {
  if (!std::isfinite(stretch.black) || !std::isfinite(stretch.white) || !std::isfinite(stretch.white - stretch.black) ||
      stretch.white == stretch.black)
    return false;
  if (m_image != nullptr && !writeDisplay(m_image->view(), stretch, m_display)) return false;
  m_stretch = stretch;
  m_scaled = QPixmap();
  m_scaledZoom = 0;
  update();
  return true;
}

void PhotoView::setOverlay(PhotoOverlay overlay) {
  overlay.grid = m_gridShown;
  m_geometry = overlayGeometry(std::move(overlay));
  update();
}

void PhotoView::setGridShown(bool shown) {
  m_gridShown = shown;
  m_geometry.overlay.grid = shown;
  update();
}

double PhotoView::minimumZoom() const {
  return PhotoMapping::fit(m_display.size(), QSizeF(size())).scale * kSmallestShareOfFit;
}

double PhotoView::maximumZoom() const {
  return std::max(kLargestZoom, PhotoMapping::fit(m_display.size(), QSizeF(size())).scale);
}

bool PhotoView::setMapping(const PhotoMapping& wanted) {
  PhotoMapping mapping = wanted;
  if (!m_display.isNull()) {
    mapping.corner.setX(clampCorner(mapping.corner.x(), m_display.width() * mapping.scale, width()));
    mapping.corner.setY(clampCorner(mapping.corner.y(), m_display.height() * mapping.scale, height()));
  }
  const bool zoomChanged = mapping.scale != m_mapping.scale;
  if (!zoomChanged && mapping.corner == m_mapping.corner) return false;
  m_mapping = mapping;
  update();
  if (zoomChanged && m_onZoom) m_onZoom(m_mapping.scale);
  reportPointer();
  return true;
}

void PhotoView::reportPointer() {
  if (m_pointerAt && m_onPointer) m_onPointer(pixelUnder(*m_pointerAt));
}

void PhotoView::fitToView() {
  m_fitted = true;
  setMapping(PhotoMapping::fit(m_display.size(), QSizeF(size())));
}

void PhotoView::zoomAbout(double factor, QPointF fixed) {
  if (m_display.isNull() || !std::isfinite(factor) || !(factor > 0)) return;
  m_fitted = false;
  const double scale = std::clamp(m_mapping.scale * factor, minimumZoom(), maximumZoom());
  setMapping(m_mapping.zoomedAbout(scale, fixed));
}

void PhotoView::panBy(QPointF delta) {
  if (m_display.isNull()) return;
  m_fitted = false;
  setMapping(m_mapping.pannedBy(delta));
}

QImage PhotoView::photoWithOverlay() const { return disque::photoWithOverlay(m_display, m_geometry.overlay); }

std::optional<photo::PixelPoint> PhotoView::pixelUnder(QPointF position) const {
  if (m_display.isNull()) return std::nullopt;
  const photo::PixelPoint pixel = m_mapping.toImage(position);
  if (pixel.x < -0.5 || pixel.y < -0.5 || pixel.x >= m_display.width() - 0.5 || pixel.y >= m_display.height() - 0.5)
    return std::nullopt;
  return pixel;
}

void PhotoView::refreshScaled() {
  const double zoom = m_mapping.scale;
  const double dpr = devicePixelRatioF();
  const QSizeF view = QSizeF(size()) / zoom;  // the view's size in image pixels
  const QRectF inView(-m_mapping.corner / zoom, view);
  const QRect whole = m_display.rect();
  const QRect visible = inView.toAlignedRect() & whole;
  if (visible.isEmpty()) return;
  if (!m_scaled.isNull() && zoom == m_scaledZoom && m_scaled.devicePixelRatio() == dpr &&
      m_scaledPart.contains(visible))
    return;
  // A view's width and height of margin around it, so that a pan rarely scales again.
  const QRect part =
      inView.adjusted(-view.width(), -view.height(), view.width(), view.height()).toAlignedRect() & whole;
  const QSize target(std::max(1, static_cast<int>(std::lround(part.width() * zoom * dpr))),
                     std::max(1, static_cast<int>(std::lround(part.height() * zoom * dpr))));
  // Averaged when reduced; enlarged pixels stay square, as a measure needs to see them.
  const double reduction = zoom * dpr;
  QImage scaled;
  if (reduction < 0.5) {
    // Whole blocks first, then Qt's smooth scaling by less than two, the blocks' last
    // column and row cut back to what the part has.
    const int block = static_cast<int>(1 / reduction);
    const QImage reduced = reducedByBlocks(m_display, part, block);
    const QSize blocks(static_cast<int>(std::lround(reduced.width() * block * reduction)),
                       static_cast<int>(std::lround(reduced.height() * block * reduction)));
    scaled = reduced.scaled(blocks.expandedTo(target), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .copy(QRect(QPoint(0, 0), target));
  } else {
    const QImage source = part == whole ? m_display : m_display.copy(part);
    scaled = source.scaled(target, Qt::IgnoreAspectRatio,
                           reduction < 1 ? Qt::SmoothTransformation : Qt::FastTransformation);
  }
  scaled.setDevicePixelRatio(dpr);
  m_scaled = QPixmap::fromImage(std::move(scaled));
  m_scaledPart = part;
  m_scaledZoom = zoom;
}

void PhotoView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_display.isNull()) {
    painter.fillRect(rect(), kBackground);
    painter.setPen(kMessageInk);
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, kNoImage);
  } else {
    refreshScaled();
    if (!m_scaled.isNull()) {
      // On a whole device pixel, so that the pixmap is copied, not resampled.
      const double dpr = m_scaled.devicePixelRatio();
      const QPointF at = m_mapping.corner + QPointF(m_scaledPart.topLeft()) * m_mapping.scale;
      const QRectF drawn(QPointF(std::round(at.x() * dpr) / dpr, std::round(at.y() * dpr) / dpr),
                         m_scaled.deviceIndependentSize());
      // The background only around the image: filling under it too costs a pass over the view.
      const QRect covered(QPoint(static_cast<int>(std::ceil(drawn.left())), static_cast<int>(std::ceil(drawn.top()))),
                          QPoint(static_cast<int>(std::floor(drawn.right())) - 1,
                                 static_cast<int>(std::floor(drawn.bottom())) - 1));
      for (const QRect& around : QRegion(rect()).subtracted(QRegion(covered))) painter.fillRect(around, kBackground);
      painter.drawPixmap(drawn.topLeft(), m_scaled);
    } else {
      painter.fillRect(rect(), kBackground);
    }
    OverlayLook look;
    look.textHeight = std::max(9, fontMetrics().height() - 3);
    paintOverlay(painter, m_geometry, m_mapping, look);
  }
  if (hasFocus()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

void PhotoView::resizeEvent(QResizeEvent* event) {
  if (m_fitted) {
    fitToView();
  } else {
    setMapping(m_mapping);
  }
  QWidget::resizeEvent(event);
}

void PhotoView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  m_pressAt = event->position();
  m_lastDrag = event->position();
  m_dragging = false;
  event->accept();
}

void PhotoView::mouseMoveEvent(QMouseEvent* event) {
  const QPointF position = event->position();
  m_pointerAt = position;
  m_pointerLast = true;
  bool reported = false;
  if (m_pressAt && (event->buttons() & Qt::LeftButton)) {
    if (!m_dragging && (position - *m_pressAt).manhattanLength() >= QApplication::startDragDistance()) {
      m_dragging = true;
      setCursor(Qt::ClosedHandCursor);
    }
    if (m_dragging && !m_display.isNull()) {
      m_fitted = false;
      reported = setMapping(m_mapping.pannedBy(position - m_lastDrag));
      m_lastDrag = position;
    }
  }
  if (!reported && m_onPointer) m_onPointer(pixelUnder(position));
  event->accept();
}

void PhotoView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_pressAt) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const QPointF pressedAt = *m_pressAt;
  const bool click = !m_dragging;
  m_pressAt.reset();
  m_dragging = false;
  setCursor(Qt::CrossCursor);
  if (click && m_onClick)
    if (const auto pixel = pixelUnder(pressedAt)) m_onClick(*pixel);
  event->accept();
}

void PhotoView::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0 || m_display.isNull()) {
    event->ignore();
    return;
  }
  zoomAbout(std::pow(kZoomStep, notches), event->position());
  event->accept();
}

// About the view's centre, as a key has no point of its own; the pixel under a still
// pointer is reported again.
bool PhotoView::zoomByKey(const QKeyEvent& key) {
  // Shift makes "+" (and "0" on a French keyboard); Ctrl or Alt make other commands.
  if (key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) return false;
  const QPointF centre(width() / 2.0, height() / 2.0);
  switch (key.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      refreshPointer();
      zoomAbout(kZoomStep, centre);
      return true;
    case Qt::Key_Minus:
      refreshPointer();
      zoomAbout(1 / kZoomStep, centre);
      return true;
    case Qt::Key_0:
      refreshPointer();
      fitToView();
      return true;
    default:
      return false;
  }
}

// Where the pointer is now: an enter or a leave is missed when the view appears under a
// still pointer, or when the pointer leaves while the view is being shown.
void PhotoView::refreshPointer() {
  if (const QPoint cursor = mapFromGlobal(QCursor::pos()); !rect().contains(cursor))
    m_pointerAt.reset();
  else if (!m_pointerAt || m_pointerAt->toPoint() != cursor)
    m_pointerAt = QPointF(cursor);
}

void PhotoView::keyPressEvent(QKeyEvent* event) {
  if (!zoomByKey(*event)) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

bool PhotoView::eventFilter(QObject* watched, QEvent* event) {
  const bool key = event->type() == QEvent::KeyPress;
  const bool press = event->type() == QEvent::MouseButtonPress;
  if (!(key || press) || !watched->isWidgetType() || watched == this)
    return QWidget::eventFilter(watched, event);
  // Keys typed in another window (a dialog, the About window) are not the image's.
  QWidget* receiver = static_cast<QWidget*>(watched);
  if (receiver->window() != window()) return QWidget::eventFilter(watched, event);
  if (press) {
    m_pointerLast = false;  // a click elsewhere: a field chosen to be typed in
    return QWidget::eventFilter(watched, event);
  }
  if (m_display.isNull() || !isVisible() || !isEnabled() || QApplication::activePopupWidget() != nullptr)
    return QWidget::eventFilter(watched, event);
  refreshPointer();
  const bool typing = qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr && !m_pointerLast;
  if ((hasFocus() || (m_pointerAt && !typing)) && zoomByKey(*static_cast<QKeyEvent*>(event))) return true;
  // A key for another control; Shift alone is no key typed, it comes before the "+".
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
      break;
    default:
      if (!hasFocus()) m_pointerLast = false;
  }
  return QWidget::eventFilter(watched, event);
}

void PhotoView::enterEvent(QEnterEvent* event) {
  m_pointerAt = event->position();
  m_pointerLast = true;
  QWidget::enterEvent(event);
}

void PhotoView::leaveEvent(QEvent* event) {
  m_pointerAt.reset();
  if (m_onPointer) m_onPointer(std::nullopt);
  QWidget::leaveEvent(event);
}

void PhotoView::hideEvent(QHideEvent* event) {
  m_pointerAt.reset();
  QWidget::hideEvent(event);
}

}  // namespace kavrel::disque
