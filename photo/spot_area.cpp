#include "photo/spot_area.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "photo/linear_solve.h"

namespace kavrel::photo {
namespace {

using image::GreyView;

constexpr int kRings = 20;
constexpr double kRingSamplesPerRadius = 110;  // about 40,000 samples over the disc
constexpr double kProfileLimit = 0.98;         // the rim, where the limb blurs, left out of the fit
constexpr double kQuietHalfSide = 0.15;        // disc radii
constexpr int kSeedSearch = 3;                 // pixels
constexpr double kSmallestMu = 0.1;
constexpr double kSmallestRadius = 8;
constexpr double kLargestRadius = 1e6;  // pixels; keeps every pixel index in an int

double median(std::vector<double>& values) {
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// The image as seen through the disc: distance from the centre and intensity relative to
// the measured limb darkening.
class Disc {
 public:
  Disc(GreyView view, Circle limb) : view_(view), limb_(limb) {}

  double r(int x, int y) const {
    const double dx = x - limb_.centre.x, dy = y - limb_.centre.y;
    return std::sqrt(dx * dx + dy * dy) / limb_.radius;
  }
  static double mu(double r) { return std::sqrt(std::max(0.0, 1 - r * r)); }

  // Intensity over the darkening fit; NaN off the disc, on a blank pixel or where the fit
  // is not positive.
  double ratio(int x, int y) const {
    const double distance = r(x, y);
    if (!(distance < 1)) return std::nan("");
    const double m = mu(distance);
    const double model = a_ + b_ * m + c_ * m * m;
    const double v = view_.at(x, y);
    return model > 0 ? v / model : std::nan("");
  }

  bool measureDarkening() {
    const int step = std::max(1, static_cast<int>(limb_.radius / kRingSamplesPerRadius));
    std::vector<std::vector<double>> rings(kRings);
    std::vector<double> ringMu(kRings, 0.0);
    const int x0 = std::max(0, static_cast<int>(std::ceil(limb_.centre.x - limb_.radius)));
    const int x1 = std::min(view_.width - 1, static_cast<int>(std::floor(limb_.centre.x + limb_.radius)));
    const int y0 = std::max(0, static_cast<int>(std::ceil(limb_.centre.y - limb_.radius)));
    const int y1 = std::min(view_.height - 1, static_cast<int>(std::floor(limb_.centre.y + limb_.radius)));
    for (int y = y0; y <= y1; y += step)
      for (int x = x0; x <= x1; x += step) {
        const double distance = r(x, y);
        const double v = view_.at(x, y);
        if (!(distance < kProfileLimit) || !std::isfinite(v)) continue;
        const double m = mu(distance);
        const auto ring = static_cast<std::size_t>(std::min(kRings - 1, static_cast<int>(m * kRings)));
        rings[ring].push_back(v);
        ringMu[ring] += m;
      }
    Augmented3 normal{};
    int used = 0;
    for (std::size_t i = 0; i < rings.size(); ++i) {
      if (rings[i].size() < 8) continue;
      const double m = ringMu[i] / static_cast<double>(rings[i].size());
      addNormalRow(normal, {1, m, m * m, median(rings[i])});
      ++used;
    }
    if (used < 3) return false;
    const auto coefficients = solve3(normal);
    if (!coefficients) return false;
    a_ = (*coefficients)[0];
    b_ = (*coefficients)[1];
    c_ = (*coefficients)[2];
    return a_ + b_ + c_ > 0;
  }

  // The median ratio in a square around the point; NaN with too few pixels.
  double quietAround(int cx, int cy) const {
    const double half = std::max(5.0, kQuietHalfSide * limb_.radius);
    const int step = std::max(1, static_cast<int>(half / 50));
    std::vector<double> ratios;
    const int x0 = std::max(0, static_cast<int>(cx - half)), x1 = std::min(view_.width - 1, static_cast<int>(cx + half));
    const int y0 = std::max(0, static_cast<int>(cy - half)), y1 = std::min(view_.height - 1, static_cast<int>(cy + half));
    for (int y = y0; y <= y1; y += step)
      for (int x = x0; x <= x1; x += step)
        if (const double q = ratio(x, y); std::isfinite(q) && r(x, y) < kProfileLimit) ratios.push_back(q);
    if (ratios.size() < 16) return std::nan("");
    return median(ratios);
  }

 private:
  GreyView view_;
  Circle limb_;
  double a_ = 0, b_ = 0, c_ = 0;
};

Area areaOf(long pixels, double weights, double radius) {
  const double disc = std::numbers::pi * radius * radius;
  return {pixels, pixels / disc * 1e6, weights / (2 * disc) * 1e6};
}

SpotOutcome refused(std::string_view reason) { return {std::nullopt, reason}; }

}  // namespace

SpotOutcome measureSpot(GreyView image, const Circle& limb, PixelPoint inside, const SpotThresholds& thresholds) {
  if (!(thresholds.umbra > 0 && thresholds.umbra <= thresholds.spot && thresholds.spot <= 1) ||
      !(thresholds.largestShareOfDisc > 0 && thresholds.largestShareOfDisc <= 1))
    return refused(kBadThresholdsMessage);
  if (image.empty() || image.stride < image.width || !std::isfinite(limb.centre.x) ||
      !std::isfinite(limb.centre.y) || !(limb.radius >= kSmallestRadius) || !(limb.radius <= kLargestRadius) ||
      !(std::fabs(limb.centre.x) <= kLargestRadius) || !(std::fabs(limb.centre.y) <= kLargestRadius))
    return refused(kNoQuietSunMessage);
  if (!std::isfinite(inside.x) || !std::isfinite(inside.y)) return refused(kOffDiscMessage);
  if (!(std::hypot(inside.x - limb.centre.x, inside.y - limb.centre.y) < limb.radius)) return refused(kOffDiscMessage);
  if (!(inside.x > -0.5 && inside.y > -0.5 && inside.x < image.width - 0.5 && inside.y < image.height - 0.5))
    return refused(kOffDiscMessage);
  const int seedX = static_cast<int>(std::lround(inside.x));
  const int seedY = static_cast<int>(std::lround(inside.y));
  if (!(std::hypot(seedX - limb.centre.x, seedY - limb.centre.y) < limb.radius)) return refused(kOffDiscMessage);

  Disc disc(image, limb);
  if (!disc.measureDarkening()) return refused(kNoQuietSunMessage);
  const double quiet = disc.quietAround(seedX, seedY);
  if (!(quiet > 0)) return refused(kNoQuietSunMessage);
  const double spotLevel = thresholds.spot * quiet;
  const double umbraLevel = thresholds.umbra * quiet;
  const auto dark = [&](int x, int y) { return disc.ratio(x, y) < spotLevel; };

  // The darkest dark pixel near the point chosen, the point itself when it is dark.
  int startX = -1, startY = -1;
  if (dark(seedX, seedY)) {
    startX = seedX;
    startY = seedY;
  } else {
    double darkest = spotLevel;
    for (int y = std::max(0, seedY - kSeedSearch); y <= std::min(image.height - 1, seedY + kSeedSearch); ++y)
      for (int x = std::max(0, seedX - kSeedSearch); x <= std::min(image.width - 1, seedX + kSeedSearch); ++x)
        if (const double q = disc.ratio(x, y); q < darkest) {
          darkest = q;
          startX = x;
          startY = y;
        }
  }
  if (startX < 0) return refused(kNotInSpotMessage);

  const double largest = thresholds.largestShareOfDisc * std::numbers::pi * limb.radius * limb.radius;
  const auto width = static_cast<std::size_t>(image.width);
  std::vector<bool> visited(width * static_cast<std::size_t>(image.height), false);
  std::vector<std::pair<int, int>> region;
  std::vector<std::pair<int, int>> stack{{startX, startY}};
  visited[static_cast<std::size_t>(startY) * width + static_cast<std::size_t>(startX)] = true;
  int left = startX, right = startX, top = startY, bottom = startY;
  while (!stack.empty()) {
    const auto [x, y] = stack.back();
    stack.pop_back();
    region.emplace_back(x, y);
    if (static_cast<double>(region.size()) > largest) return refused(kSpotLeaksMessage);
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
    const std::pair<int, int> neighbours[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
    for (const auto& [nx, ny] : neighbours) {
      if (nx < 0 || ny < 0 || nx >= image.width || ny >= image.height) continue;
      const std::size_t at = static_cast<std::size_t>(ny) * width + static_cast<std::size_t>(nx);
      if (visited[at]) continue;
      visited[at] = true;
      if (dark(nx, ny)) stack.emplace_back(nx, ny);
    }
  }

  SpotMeasure spot;
  spot.quietSun = quiet;
  spot.thresholds = thresholds;
  spot.mask.left = left;
  spot.mask.top = top;
  spot.mask.width = right - left + 1;
  spot.mask.height = bottom - top + 1;
  spot.mask.cells.assign(static_cast<std::size_t>(spot.mask.width) * static_cast<std::size_t>(spot.mask.height),
                         SpotCell::Outside);
  double spotWeights = 0, umbraWeights = 0;
  long umbraPixels = 0;
  for (const auto& [x, y] : region) {
    const double weight = 1 / std::max(kSmallestMu, Disc::mu(disc.r(x, y)));
    spotWeights += weight;
    const bool umbra = disc.ratio(x, y) < umbraLevel;
    if (umbra) {
      umbraWeights += weight;
      ++umbraPixels;
    }
    spot.mask.cells[static_cast<std::size_t>(y - top) * static_cast<std::size_t>(spot.mask.width) +
                    static_cast<std::size_t>(x - left)] = umbra ? SpotCell::Umbra : SpotCell::Penumbra;
  }
  spot.whole = areaOf(static_cast<long>(region.size()), spotWeights, limb.radius);
  spot.umbra = areaOf(umbraPixels, umbraWeights, limb.radius);
  return {std::move(spot), {}};
}

}  // namespace kavrel::photo
