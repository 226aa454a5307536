// A grey image as the measuring code sees it: one float32 sample per pixel, row after row.
//
// Coordinates: x from the left edge, y from the top edge of the image as displayed, in
// pixels, (0, 0) the centre of the top-left pixel. Samples keep the values of the file
// (8-bit and 16-bit integers as their raw values, FITS data after BZERO/BSCALE), so that
// nothing is reduced to 8 bits; a blank pixel is NaN.
//
// GreyView is a non-owning view taken by value; GreyImage owns the pixels, once. A view
// is valid as long as the image it came from lives and is not resized.
#pragma once

#include <cstddef>
#include <vector>

namespace kavrel::image {

struct GreyView {
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;  // in samples, from one row to the next
  const float* pixels = nullptr;

  // No bounds check: 0 <= x < width, 0 <= y < height.
  [[nodiscard]] float at(int x, int y) const noexcept { return pixels[y * stride + x]; }
  [[nodiscard]] bool empty() const noexcept {
    return width <= 0 || height <= 0 || pixels == nullptr;
  }
};

class GreyImage {
 public:
  GreyImage() = default;
  // All samples 0. A negative size is taken as 0.
  GreyImage(int width, int height)
      : width_(width > 0 && height > 0 ? width : 0),
        height_(width > 0 && height > 0 ? height : 0),
        pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0.0f) {}

  [[nodiscard]] int width() const noexcept { return width_; }
  [[nodiscard]] int height() const noexcept { return height_; }
  [[nodiscard]] bool empty() const noexcept { return pixels_.empty(); }

  [[nodiscard]] GreyView view() const noexcept {
    return GreyView{width_, height_, width_, pixels_.data()};
  }

  // Row y (from the top), width() samples.
  [[nodiscard]] float* row(int y) noexcept {
    return pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_;
  }
  [[nodiscard]] const float* row(int y) const noexcept {
    return pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_;
  }
  [[nodiscard]] float& at(int x, int y) noexcept { return row(y)[x]; }
  [[nodiscard]] float at(int x, int y) const noexcept { return row(y)[x]; }

  [[nodiscard]] std::vector<float>& samples() noexcept { return pixels_; }
  [[nodiscard]] const std::vector<float>& samples() const noexcept { return pixels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<float> pixels_;
};

}  // namespace kavrel::image
