// Twips to pixels and the scale that makes a control's text fit (see twips.h).
#include "ui/twips.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kavrel::ui {

namespace {

// The pixels a length of twips is sure to get once its edges are rounded.
double roomPixels(int twips, double dpi, double scale) {
  return twips * pixelsPerTwip(dpi, scale) - 1.0;
}

constexpr double kLargestScale = 16.0;

}  // namespace

int twipsToPixels(int twips, double dpi, double scale) noexcept {
  return static_cast<int>(std::lround(twips * pixelsPerTwip(dpi, scale)));
}

QRect twipsToRect(const Twips& at, double dpiX, double dpiY, double scale) noexcept {
  const int left = twipsToPixels(at.left, dpiX, scale);
  const int top = twipsToPixels(at.top, dpiY, scale);
  const int right = twipsToPixels(at.left + at.width, dpiX, scale);
  const int bottom = twipsToPixels(at.top + at.height, dpiY, scale);
  return QRect(left, top, right - left, bottom - top);
}

double scaleFor(const Need& need, double dpiX, double dpiY) noexcept {
  double scale = 1.0;
  if (need.width > 0 && need.widthTwips > 0)
    scale = std::max(scale, (need.width + 1.0) / (need.widthTwips * pixelsPerTwip(dpiX)));
  if (need.height > 0 && need.heightTwips > 0)
    scale = std::max(scale, (need.height + 1.0) / (need.heightTwips * pixelsPerTwip(dpiY)));
  return scale;
}

double scaleForWrapped(const std::function<int(int width)>& heightForWidth, int widthTwips,
                       int heightTwips, double dpiX, double dpiY) {
  if (widthTwips <= 0 || heightTwips <= 0) return 1.0;
  const auto fits = [&](double scale) {
    const int width = static_cast<int>(std::floor(roomPixels(widthTwips, dpiX, scale)));
    const int height = width > 0 ? heightForWidth(width) : INT_MAX;
    return height != INT_MAX && height <= roomPixels(heightTwips, dpiY, scale);
  };
  if (fits(1.0)) return 1.0;
  if (!fits(kLargestScale)) return kLargestScale;
  // More width means fewer lines, so the fit only improves as the scale grows.
  double low = 1.0;
  double high = kLargestScale;
  while (high - low > 1e-4) {
    const double middle = (low + high) / 2;
    (fits(middle) ? high : low) = middle;
  }
  return high;
}

}  // namespace kavrel::ui
