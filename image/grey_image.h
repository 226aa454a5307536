// A grey image as the measuring code sees it: one float32 sample per pixel, row after row.
//
// Coordinates: x from the left edge, y from the top edge of the image as displayed, in
// pixels, (0, 0) the centre of the top-left pixel. Samples keep the values of the file
// (8-bit and 16-bit integers as their raw values, FITS data after BZERO/BSCALE), so that
// nothing is reduced to 8 bits; a blank pixel is NaN.
//
// GreyView is a non-owning view taken by value; GreyImage owns the pixels, once. A view
// is valid as long as the image it came from lives and is not resized. A reader that
// writes every sample takes an uninitialised image: zeroing 64 MB before overwriting it
// took a third of the time of reading a 4096 x 4096 file.
#pragma once

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace kavrel::image {

// The samples' allocator. Its value-initialisation of a float is none: resize(n) and
// vector(n) leave the samples as they are, vector(n, v) still fills. A large image lies in
// huge pages where the system gives them (Linux, transparent huge pages on request): a
// 4096 x 4096 image's first writes then fault 32 pages in rather than 16,384, which took
// the reading of a FITS file as long as reading and converting its data.
template <typename T>
struct SampleAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = SampleAllocator<U>;
  };
  using std::allocator<T>::allocator;
  static constexpr std::size_t kHugePage = std::size_t{2} << 20;
  static constexpr std::size_t kHugeFrom = 4 * kHugePage;  // bytes

  [[nodiscard]] T* allocate(std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (n > std::size_t(-1) / sizeof(T) || bytes < kHugeFrom) return std::allocator<T>::allocate(n);
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = std::aligned_alloc(kHugePage, rounded);
    if (memory == nullptr) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(memory, rounded, MADV_HUGEPAGE);  // a hint: without it, ordinary pages
#endif
    return static_cast<T*>(memory);
  }
  void deallocate(T* memory, std::size_t n) noexcept {
    if (n > std::size_t(-1) / sizeof(T) || n * sizeof(T) < kHugeFrom)
      std::allocator<T>::deallocate(memory, n);
    else
      std::free(memory);
  }
  template <typename U>
  void construct(U* where) noexcept {
    ::new (static_cast<void*>(where)) U;
  }
  template <typename U, typename... Args>
  void construct(U* where, Args&&... args) {
    ::new (static_cast<void*>(where)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const SampleAllocator&, const SampleAllocator&) noexcept { return true; }
};

using Samples = std::vector<float, SampleAllocator<float>>;

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

  // Samples not initialised, for a reader that writes every one.
  [[nodiscard]] static GreyImage uninitialised(int width, int height) {
    GreyImage image;
    if (width <= 0 || height <= 0) return image;
    image.width_ = width;
    image.height_ = height;
    image.pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    return image;
  }

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

  [[nodiscard]] Samples& samples() noexcept { return pixels_; }
  [[nodiscard]] const Samples& samples() const noexcept { return pixels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  Samples pixels_;
};

}  // namespace kavrel::image
