// Window geometry: twips (1/1440 inch) to pixels, and the uniform scale that makes a
// window's texts fit.
//
// Every window is laid out in twips. They become pixels through the screen's logical
// DPI (1440 twips to the inch) and are then multiplied by one scale per window, the
// same for all its controls, so the proportions of the layout are kept. The scale is
// the smallest value not below 1 at which every control has room for what it shows
// in the UI font (its caption, or the widest result it must display): the fonts of
// today's desktops are wider than the ones the layouts were drawn for.
#pragma once

#include <QRect>
#include <functional>

namespace kavrel::ui {

inline constexpr double kTwipsPerInch = 1440.0;

// A control's place in twips, relative to its window's client area or to its frame.
struct Twips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  [[nodiscard]] bool isEmpty() const noexcept { return width <= 0 || height <= 0; }
};

// Pixels per twip at a given logical DPI and window scale.
[[nodiscard]] constexpr double pixelsPerTwip(double dpi, double scale = 1.0) noexcept {
  return dpi / kTwipsPerInch * scale;
}

// A length in twips as whole pixels, rounded to the nearest.
[[nodiscard]] int twipsToPixels(int twips, double dpi, double scale = 1.0) noexcept;

// A rectangle in twips as pixels. The edges are rounded, not the width and height, so
// that controls which touch in twips still touch in pixels.
[[nodiscard]] QRect twipsToRect(const Twips& at, double dpiX, double dpiY,
                                double scale = 1.0) noexcept;

// What one control must hold, in pixels, and the room it has, in twips.
struct Need {
  int widthTwips = 0;
  int heightTwips = 0;
  int width = 0;   // pixels needed across: text plus frame, margins, indicator
  int height = 0;  // pixels needed down
};

// The smallest scale, not below 1, at which the control gets at least the pixels it
// needs. One pixel is kept in reserve for the rounding of the edges.
[[nodiscard]] double scaleFor(const Need& need, double dpiX, double dpiY) noexcept;

// The same for a control whose text wraps at its width, given the pixels of height its
// text takes at a width in pixels (INT_MAX where it cannot be laid out at that width).
[[nodiscard]] double scaleForWrapped(const std::function<int(int width)>& heightForWidth,
                                     int widthTwips, int heightTwips, double dpiX, double dpiY);

}  // namespace kavrel::ui
