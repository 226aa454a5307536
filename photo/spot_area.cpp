#include "photo/spot_area.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <tuple>
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
// The umbra's boundary from the spot's histogram: 60 bins from 0 to the spot's threshold,
// smoothed over 2 bins (about 0.03 of the quiet Sun); a dip counts below 0.8 of the lower
// mode, its floor within 10 % of its lowest; a spot of fewer than 60 pixels is too few for a histogram.
constexpr int kDipBins = 60;
constexpr double kDipSmoothing = 2;
constexpr double kDipDepth = 0.8;
constexpr double kDipFloor = 1.1;
constexpr std::size_t kDipSmallestSpot = 60;

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

// Why the thresholds, the limb or the point cannot be measured; empty when they can.
std::string_view inputRefusal(GreyView image, const Circle& limb, PixelPoint inside, const SpotThresholds& thresholds) {
  if (!(thresholds.umbra > 0 && thresholds.umbra <= thresholds.spot && thresholds.spot <= 1) ||
      !(thresholds.largestShareOfDisc > 0 && thresholds.largestShareOfDisc <= 1))
    return kBadThresholdsMessage;
  if (image.empty() || image.stride < image.width || !std::isfinite(limb.centre.x) ||
      !std::isfinite(limb.centre.y) || !(limb.radius >= kSmallestRadius) || !(limb.radius <= kLargestRadius) ||
      !(std::fabs(limb.centre.x) <= kLargestRadius) || !(std::fabs(limb.centre.y) <= kLargestRadius))
    return kNoQuietSunMessage;
  if (!std::isfinite(inside.x) || !std::isfinite(inside.y)) return kOffDiscMessage;
  if (!(std::hypot(inside.x - limb.centre.x, inside.y - limb.centre.y) < limb.radius)) return kOffDiscMessage;
  if (!(inside.x > -0.5 && inside.y > -0.5 && inside.x < image.width - 0.5 && inside.y < image.height - 0.5))
    return kOffDiscMessage;
  const double seedX = std::round(inside.x), seedY = std::round(inside.y);
  if (!(std::hypot(seedX - limb.centre.x, seedY - limb.centre.y) < limb.radius)) return kOffDiscMessage;
  return {};
}

struct Pixel {
  int x = 0, y = 0;
};

// The point itself when it is below `level`, else the darkest pixel below it within
// kSeedSearch px; none when there is none.
std::optional<Pixel> spotStart(const Disc& disc, GreyView image, Pixel seed, double level) {
  if (disc.ratio(seed.x, seed.y) < level) return seed;
  std::optional<Pixel> start;
  double darkest = level;
  for (int y = std::max(0, seed.y - kSeedSearch); y <= std::min(image.height - 1, seed.y + kSeedSearch); ++y)
    for (int x = std::max(0, seed.x - kSeedSearch); x <= std::min(image.width - 1, seed.x + kSeedSearch); ++x)
      if (const double q = disc.ratio(x, y); q < darkest) {
        darkest = q;
        start = Pixel{x, y};
      }
  return start;
}

// The 4-connected pixels below `level` reached from `start`; none once more than
// `largest` pixels are reached (the fill has leaked out of the spot).
std::optional<std::vector<Pixel>> floodFill(const Disc& disc, GreyView image, Pixel start, double level,
                                            double largest) {
  const auto width = static_cast<std::size_t>(image.width);
  const auto index = [width](int x, int y) { return static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x); };
  std::vector<bool> visited(width * static_cast<std::size_t>(image.height), false);
  std::vector<Pixel> region;
  std::vector<Pixel> stack{start};
  visited[index(start.x, start.y)] = true;
  while (!stack.empty()) {
    const Pixel p = stack.back();
    stack.pop_back();
    region.push_back(p);
    if (static_cast<double>(region.size()) > largest) return std::nullopt;
    const Pixel neighbours[] = {{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}};
    for (const Pixel n : neighbours) {
      if (n.x < 0 || n.y < 0 || n.x >= image.width || n.y >= image.height || visited[index(n.x, n.y)]) continue;
      visited[index(n.x, n.y)] = true;
      if (disc.ratio(n.x, n.y) < level) stack.push_back(n);
    }
  }
  return region;
}

// The histogram of the spot's pixels (shares of the quiet Sun, from 0 to `top`) smoothed
// by a Gaussian of kDipSmoothing bins.
std::vector<double> smoothedHistogram(const std::vector<double>& shares, double top) {
  std::vector<double> counts(kDipBins, 0.0);
  for (const double share : shares)
    counts[static_cast<std::size_t>(std::clamp(static_cast<int>(share / top * kDipBins), 0, kDipBins - 1))] += 1;
  const int reach = static_cast<int>(std::ceil(3 * kDipSmoothing));
  std::vector<double> smoothed(kDipBins, 0.0);
  for (int i = 0; i < kDipBins; ++i)
    for (int k = -reach; k <= reach; ++k)
      if (i + k >= 0 && i + k < kDipBins)
        smoothed[static_cast<std::size_t>(i)] +=
            counts[static_cast<std::size_t>(i + k)] * std::exp(-0.5 * k * k / (kDipSmoothing * kDipSmoothing));
  return smoothed;
}

// The dip between the histogram's highest mode and the highest other mode parted from it
// by a dip below kDipDepth of that mode's height: umbra and penumbra, whichever is the more
// common. A mode may be an end bin (an umbra clipped at 0 on an 8-bit image). The dip is
// the middle of its floor, the bins within kDipFloor of its lowest, a floor often wide and
// flat. None for a histogram of one mode (a pore, a spot all penumbra).
std::optional<double> dipBetweenModes(const std::vector<double>& h) {
  const int n = static_cast<int>(h.size());
  const auto at = [&h, n](int i) { return i < 0 || i >= n ? 0.0 : h[static_cast<std::size_t>(i)]; };
  const int highest = static_cast<int>(std::max_element(h.begin(), h.end()) - h.begin());
  std::optional<double> dip;
  double bestPeak = 0;
  for (int i = 0; i < n; ++i) {
    if (i == highest || !(at(i) > at(i - 1) && at(i) >= at(i + 1)) || !(at(i) > bestPeak)) continue;
    const int from = std::min(i, highest), to = std::max(i, highest);
    int lowest = from;
    for (int k = from; k <= to; ++k)
      if (at(k) < at(lowest)) lowest = k;
    if (at(lowest) > kDipDepth * at(i)) continue;
    int first = lowest, last = lowest;
    while (first > from && at(first - 1) <= kDipFloor * at(lowest)) --first;
    while (last < to && at(last + 1) <= kDipFloor * at(lowest)) ++last;
    bestPeak = at(i);
    dip = 0.5 * (first + last);
  }
  return dip;
}

// The umbra's boundary, a share of the quiet Sun, and whether the dip gave it.
std::pair<double, bool> umbraBoundary(const Disc& disc, const std::vector<Pixel>& region, double quiet,
                                      const SpotThresholds& thresholds) {
  if (thresholds.boundary == UmbraBoundary::FixedShare || region.size() < kDipSmallestSpot)
    return {thresholds.umbra, false};
  std::vector<double> shares;
  shares.reserve(region.size());
  for (const Pixel p : region) shares.push_back(disc.ratio(p.x, p.y) / quiet);
  const std::optional<double> dip = dipBetweenModes(smoothedHistogram(shares, thresholds.spot));
  if (!dip) return {thresholds.umbra, false};
  return {(*dip + 0.5) / kDipBins * thresholds.spot, true};
}

SpotMeasure measureOf(const Disc& disc, const std::vector<Pixel>& region, double quiet, const Circle& limb,
                      const SpotThresholds& thresholds) {
  SpotMeasure spot;
  spot.quietSun = quiet;
  spot.thresholds = thresholds;
  std::tie(spot.umbraLevel, spot.umbraFromDip) = umbraBoundary(disc, region, quiet, thresholds);
  int left = region.front().x, right = left, top = region.front().y, bottom = top;
  for (const Pixel p : region) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  spot.mask = {left, top, right - left + 1, bottom - top + 1, {}};
  spot.mask.cells.assign(static_cast<std::size_t>(spot.mask.width) * static_cast<std::size_t>(spot.mask.height),
                         SpotCell::Outside);
  double spotWeights = 0, umbraWeights = 0;
  long umbraPixels = 0;
  for (const Pixel p : region) {
    const double weight = 1 / std::max(kSmallestMu, Disc::mu(disc.r(p.x, p.y)));
    spotWeights += weight;
    const bool umbra = disc.ratio(p.x, p.y) < spot.umbraLevel * quiet;
    if (umbra) {
      umbraWeights += weight;
      ++umbraPixels;
    }
    spot.mask.cells[static_cast<std::size_t>(p.y - top) * static_cast<std::size_t>(spot.mask.width) +
                    static_cast<std::size_t>(p.x - left)] = umbra ? SpotCell::Umbra : SpotCell::Penumbra;
  }
  spot.whole = areaOf(static_cast<long>(region.size()), spotWeights, limb.radius);
  spot.umbra = areaOf(umbraPixels, umbraWeights, limb.radius);
  return spot;
}

}  // namespace

SpotOutcome measureSpot(GreyView image, const Circle& limb, PixelPoint inside, const SpotThresholds& thresholds) {
  if (const std::string_view refusal = inputRefusal(image, limb, inside, thresholds); !refusal.empty())
    return refused(refusal);
  const Pixel seed{static_cast<int>(std::lround(inside.x)), static_cast<int>(std::lround(inside.y))};
  Disc disc(image, limb);
  if (!disc.measureDarkening()) return refused(kNoQuietSunMessage);
  const double quiet = disc.quietAround(seed.x, seed.y);
  if (!(quiet > 0)) return refused(kNoQuietSunMessage);
  const double spotLevel = thresholds.spot * quiet;
  const std::optional<Pixel> start = spotStart(disc, image, seed, spotLevel);
  if (!start) return refused(kNotInSpotMessage);
  const double largest = thresholds.largestShareOfDisc * std::numbers::pi * limb.radius * limb.radius;
  const std::optional<std::vector<Pixel>> region = floodFill(disc, image, *start, spotLevel, largest);
  if (!region) return refused(kSpotLeaksMessage);
  return {measureOf(disc, *region, quiet, limb, thresholds), {}};
}

}  // namespace kavrel::photo
