// The style of every window: the platform's, except that Qt's Fusion style (the one a
// desktop without a Qt theme gets) has a group box's frame drawn from the same picture
// read without the image plugins. Fusion loads that picture through Qt's image reader,
// which loads every installed image plugin (TIFF, WebP, ...) to ask whether it reads PNG:
// ten libraries loaded at start for a frame. The frame drawn here is Fusion's of Qt 6.4,
// pixel for pixel (tested against Fusion itself).
#pragma once

#include <QProxyStyle>

namespace kavrel::ui {

class ApplicationStyle : public QProxyStyle {
 public:
  // On `base`, the application's default style when none is given.
  explicit ApplicationStyle(QStyle* base = nullptr);

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

// Sets the style of the application when Qt chose Fusion (after the application's
// construction, before its first window).
void installApplicationStyle();

}  // namespace kavrel::ui
