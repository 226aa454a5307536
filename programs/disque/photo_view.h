// The photograph on screen: the image fitted to the view, zoomed with the wheel or + / -
// (0 fits it again), panned by dragging, with its overlay (photo_overlay.h) on top.
// The keys act whenever the view has the focus or the pointer is over it, whatever field
// of its window has the focus then: a "+" meant for the image never lands in a date. Only
// a field being typed in (a key went to it, or it was clicked, since the pointer last
// moved over the image) keeps its keys, so that the "0" of "90" is not lost.
//
// The view reads the one GreyImage the window owns (it keeps a pointer, never a copy of
// the samples) and makes its 8-bit display once per image and per black and white point
// (the image's own percentiles, or the user's). The part of the display in and
// around the view is scaled once per zoom and kept, so that a pointer move or a short pan
// only repaints it and the overlay. The pointer and the clicks are reported in image
// pixels (x from the left edge, y from the top, (0, 0) the centre of the top-left pixel),
// and only over the image; a press and release without a drag beyond the desktop's drag
// distance is a click, what it means is the window's business. Whenever the image moves
// under a still pointer (a zoom, a fit, a resize) the pixel now under it is reported
// again, so that a read-out follows.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <functional>
#include <optional>

#include "image/grey_image.h"
#include "programs/disque/photo_overlay.h"

namespace kavrel::disque {

class PhotoView : public QWidget {
  Q_OBJECT

 public:
  explicit PhotoView(QWidget* parent = nullptr);

  // The image shown, or none. The view keeps the pointer: the image must outlive it or be
  // replaced by another call (also after its samples change). Fits the image to the view.
  void setImage(const image::GreyImage* image);
  [[nodiscard]] const image::GreyImage* image() const { return m_image; }
  // The overlay drawn; its grid is drawn only while the grid is shown (setGridShown).
  void setOverlay(PhotoOverlay overlay);
  [[nodiscard]] const PhotoOverlay& overlay() const { return m_geometry.overlay; }
  void setGridShown(bool shown);
  [[nodiscard]] bool gridShown() const { return m_gridShown; }

  // The sample values shown black and white; white below black shows a negative. A
  // stretch that is not finite, or black equal to white, is not taken (false).
  bool setStretch(DisplayStretch stretch);
  [[nodiscard]] DisplayStretch stretch() const { return m_stretch; }
  // The image's own (displayStretch), which setImage takes.
  [[nodiscard]] DisplayStretch automaticStretch() const { return m_automaticStretch; }

  // Where the image lies in the widget now.
  [[nodiscard]] const PhotoMapping& mapping() const { return m_mapping; }
  // Widget pixels per image pixel, and its limits for the image shown.
  [[nodiscard]] double zoom() const { return m_mapping.scale; }
  [[nodiscard]] double minimumZoom() const;
  [[nodiscard]] double maximumZoom() const;

  void fitToView();
  // Zoom by `factor` (clamped to the limits) keeping the image point under `fixed` there.
  void zoomAbout(double factor, QPointF fixed);
  void panBy(QPointF delta);

  // The display with the overlay at the image's full resolution, for saving as PNG; null
  // without an image.
  [[nodiscard]] QImage photoWithOverlay() const;
  // The display alone, in 8-bit grey, for a page that paints the overlay itself.
  [[nodiscard]] const QImage& display() const { return m_display; }

  void onPointer(std::function<void(std::optional<photo::PixelPoint>)> handler) { m_onPointer = std::move(handler); }
  void onClick(std::function<void(photo::PixelPoint)> handler) { m_onClick = std::move(handler); }
  void onZoom(std::function<void(double)> handler) { m_onZoom = std::move(handler); }
  // After setImage, with an image or without.
  void onImage(std::function<void()> handler) { m_onImage = std::move(handler); }

  inline static const QString kNoImage = QStringLiteral("Aucune photographie ouverte.");
  inline static const QString kAccessibleName = QStringLiteral("Photographie du Soleil");
  inline static const QString kAccessibleDescription = QStringLiteral(
      "La photographie ouverte, avec le bord du disque, la grille héliographique et les taches. "
      "Molette, ou touches + et - le pointeur sur l'image : agrandir ou réduire ; 0 : image entière ; "
      "glisser : déplacer l'image ; clic : choisir un point.");

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  // The zoom keys, taken before the focused control of the window sees them.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  [[nodiscard]] std::optional<photo::PixelPoint> pixelUnder(QPointF position) const;
  // Whether the mapping changed; the pointer's pixel is then reported again.
  bool setMapping(const PhotoMapping& mapping);
  void reportPointer();
  void refreshPointer();
  // Whether `key` was a zoom key, then acted on.
  bool zoomByKey(const QKeyEvent& key);
  void refreshScaled();

  const image::GreyImage* m_image = nullptr;
  QImage m_display;  // 8-bit, full size, once per image and stretch
  DisplayStretch m_stretch;
  DisplayStretch m_automaticStretch;
  OverlayGeometry m_geometry;
  bool m_gridShown = true;
  PhotoMapping m_mapping;
  bool m_fitted = true;  // follows the view's size until the user zooms or pans

  // The display's part `m_scaledPart` (image pixels) scaled at `m_scaledZoom`.
  QPixmap m_scaled;
  QRect m_scaledPart;
  double m_scaledZoom = 0;

  std::optional<QPointF> m_pointerAt;  // while over the view
  bool m_pointerLast = false;          // moved over the view since the last key or click elsewhere
  std::optional<QPointF> m_pressAt;
  QPointF m_lastDrag;
  bool m_dragging = false;

  std::function<void(std::optional<photo::PixelPoint>)> m_onPointer;
  std::function<void(photo::PixelPoint)> m_onClick;
  std::function<void(double)> m_onZoom;
  std::function<void()> m_onImage;
};

}  // namespace kavrel::disque
