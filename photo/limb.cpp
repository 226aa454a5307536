// The Sun's limb found on a photograph, automatically or through three points (limb.h):
// pixel coordinates, the circle's centre and radius in pixels.
#include "photo/limb.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "photo/linear_solve.h"

namespace kavrel::photo {
namespace {

using image::GreyView;

constexpr int kRays = 720;
constexpr int kFirstRays = 180;  // enough for the first circle, which only places the second pass
constexpr int kSubsampleSide = 256;
constexpr int kSmallestSide = 8;
constexpr double kSmallestRadius = 8;
constexpr double kLevelShare = 0.2;   // the ray's crossing level, from sky to disc
constexpr double kClipSigmas = 3;
constexpr double kKeptShare = 1.0 / 3;
constexpr double kAgreement = 0.9;
constexpr double kProfileStep = 0.5;  // pixels along the ray near the limb
// A limb falls from the disc to the sky within a few pixels: across the window about the
// crossing, at least this share of the way from the crossing level to the sky. A smooth
// slope (a radial gradient, a vignetted flat) falls a small part of it there.
constexpr double kSharpFall = 0.6;
// A pixel beyond the fall is sky below this share of the way from the sky to the disc
// just inside the limb (a pixel the limb crosses at its centre holds about half).
constexpr double kSkyShare = 0.35;
constexpr double kEdgeStep = 0.02;  // pixels, along a ray to the data's edge

float pixel(const GreyView& view, int x, int y) { return view.at(x, y); }

// The pixel nearest the point t pixels along the ray from `from` in the direction (ux, uy).
float nearestOnRay(const GreyView& view, PixelPoint from, double ux, double uy, double t) {
  return pixel(view, static_cast<int>(std::lround(from.x + t * ux)), static_cast<int>(std::lround(from.y + t * uy)));
}

// Bilinear, a blank pixel taken as the sky (`blank`, and `blanked` set); beyond the frame,
// the nearest sample of its edge, so that a fall just inside the frame keeps its window.
double sample(const GreyView& view, double x, double y, double blank, bool& blanked) {
  x = std::clamp(x, 0.0, view.width - 1.0);
  y = std::clamp(y, 0.0, view.height - 1.0);
  const int x0 = std::min(static_cast<int>(x), view.width - 2);
  const int y0 = std::min(static_cast<int>(y), view.height - 2);
  const double fx = x - x0;
  const double fy = y - y0;
  const auto at = [&](int px, int py) {
    const double v = pixel(view, px, py);
    blanked = blanked || !std::isfinite(v);
    return std::isfinite(v) ? v : blank;
  };
  const double top = at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx;
  const double bottom = at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx;
  return top * (1 - fy) + bottom * fy;
}

// Disc and sky told apart on a subsample of the image.
struct Classes {
  int step = 1;
  int columns = 0, rows = 0;
  std::vector<float> grid;  // the subsample, row by row, NaN kept
  double threshold = 0;  // Otsu's
  double level = 0;      // the rays' crossing level
  double sky = 0;        // the mean of the sky's class
  // The sky's level where it is mostly blank: the data's darkest, or zero, whichever is
  // lower (a calibrated product's dark sky); the sky's mean otherwise.
  double dark = 0;
  PixelPoint centroid{};
};

// The finite samples of the subsample, and how many are blank.
struct Samples {
  std::vector<float> values;
  long blanks = 0;
};

// The subsample of the image into classes.grid (every step-th pixel of every step-th row,
// at most kSubsampleSide a side), and its samples.
Samples subsample(const GreyView& view, Classes& classes) {
  const int side = std::max(view.width, view.height);
  classes.step = std::max(1, (side + kSubsampleSide - 1) / kSubsampleSide);
  classes.columns = (view.width + classes.step - 1) / classes.step;
  classes.rows = (view.height + classes.step - 1) / classes.step;
  classes.grid.reserve(static_cast<std::size_t>(classes.columns) * static_cast<std::size_t>(classes.rows));
  Samples samples;
  samples.values.reserve(classes.grid.capacity());
  for (int y = 0; y < view.height; y += classes.step)
    for (int x = 0; x < view.width; x += classes.step) {
      const float v = pixel(view, x, y);
      classes.grid.push_back(v);
      if (std::isfinite(v))
        samples.values.push_back(v);
      else
        ++samples.blanks;
    }
  return samples;
}

constexpr int kBins = 256;
using Histogram = std::array<double, kBins>;

// The samples' range with the extreme 0.1 % of each side left out, cut in kBins bins.
struct Range {
  double lo = 0, hi = 0;
  [[nodiscard]] double binWidth() const { return (hi - lo) / kBins; }
};

// None when the range is empty: an image of one level has no disc to tell.
std::optional<Range> rangeOf(const std::vector<float>& values) {
  std::vector<float> sorted = values;
  const auto quantile = [&sorted](double q) {
    const auto at = sorted.begin() + static_cast<std::ptrdiff_t>(q * static_cast<double>(sorted.size() - 1));
    std::nth_element(sorted.begin(), at, sorted.end());
    return static_cast<double>(*at);
  };
  const double lo = quantile(0.001);
  const double hi = quantile(0.999);
  if (!(hi - lo > 1e-6 * std::max(std::fabs(hi), std::fabs(lo))) || !std::isfinite(hi - lo)) return std::nullopt;
  return Range{lo, hi};
}

Histogram histogramOf(const Samples& samples, Range range) {
  Histogram histogram{};
  const double width = range.binWidth();
  for (float v : samples.values) {
    const double clipped = std::clamp(static_cast<double>(v), range.lo, range.hi);
    ++histogram[static_cast<std::size_t>(std::min(kBins - 1, static_cast<int>((clipped - range.lo) / width)))];
  }
  // Blank pixels are sky, darker than anything the data hold: where the sky is all blank,
  // the disc's dark limb would otherwise be taken for it.
  histogram[0] += static_cast<double>(samples.blanks);
  return histogram;
}

// Otsu: the last bin below the split of largest between-class variance; none when no
// split parts the histogram.
std::optional<int> otsuSplit(const Histogram& histogram) {
  double total = 0;
  double weighted = 0;
  for (int i = 0; i < kBins; ++i) {
    total += histogram[static_cast<std::size_t>(i)];
    weighted += i * histogram[static_cast<std::size_t>(i)];
  }
  double below = 0;
  double belowWeighted = 0;
  double best = -1;
  int split = 0;
  for (int i = 0; i < kBins - 1; ++i) {
    below += histogram[static_cast<std::size_t>(i)];
    belowWeighted += i * histogram[static_cast<std::size_t>(i)];
    const double above = total - below;
    if (below == 0 || above == 0) continue;
    const double difference = belowWeighted / below - (weighted - belowWeighted) / above;
    const double between = below * above * difference * difference;
    if (between > best) {
      best = between;
      split = i;
    }
  }
  if (best <= 0) return std::nullopt;
  return split;
}

// The means of the two classes of the grid about classes.threshold, and from them the
// rays' level, the sky's, the dark sky's and the disc's centroid; false when a class is
// empty.
bool measureClasses(Classes& classes, Range range) {
  double sky = 0, disc = 0, cx = 0, cy = 0, seenSky = 0;
  long skyCount = 0, discCount = 0, seenSkyCount = 0;
  for (int row = 0; row < classes.rows; ++row)
    for (int column = 0; column < classes.columns; ++column) {
      const int x = column * classes.step, y = row * classes.step;
      const double v = classes.grid[static_cast<std::size_t>(row) * static_cast<std::size_t>(classes.columns) +
                                    static_cast<std::size_t>(column)];
      const double clipped = std::isfinite(v) ? std::clamp(v, range.lo, range.hi) : range.lo;
      if (clipped >= classes.threshold) {
        disc += clipped;
        cx += x;
        cy += y;
        ++discCount;
      } else {
        sky += clipped;
        ++skyCount;
        if (std::isfinite(v)) {
          seenSky += clipped;
          ++seenSkyCount;
        }
      }
    }
  if (skyCount == 0 || discCount == 0) return false;
  sky /= static_cast<double>(skyCount);
  disc /= static_cast<double>(discCount);
  classes.level = sky + kLevelShare * (disc - sky);
  classes.sky = sky;
  classes.dark =
      seenSkyCount > skyCount - seenSkyCount ? seenSky / static_cast<double>(seenSkyCount) : std::min(range.lo, 0.0);
  classes.centroid = {cx / static_cast<double>(discCount), cy / static_cast<double>(discCount)};
  return true;
}

std::optional<Classes> classify(const GreyView& view) {
  Classes classes;
  const Samples samples = subsample(view, classes);
  if (samples.values.size() < 64) return std::nullopt;
  const std::optional<Range> range = rangeOf(samples.values);
  if (!range) return std::nullopt;
  const std::optional<int> split = otsuSplit(histogramOf(samples, *range));
  if (!split) return std::nullopt;
  classes.threshold = range->lo + (*split + 1) * range->binWidth();
  if (!measureClasses(classes, *range)) return std::nullopt;
  return classes;
}

// The stretch [in, out] of the ray from `from` along (ux, uy) inside the frame, t >= 0.
bool insideFrame(const GreyView& view, PixelPoint from, double ux, double uy, double& in, double& out) {
  in = 0;
  out = 1e300;
  const auto slab = [&](double origin, double direction, double size) {
    if (std::fabs(direction) < 1e-12) return origin >= 0 && origin <= size;
    double t0 = (0 - origin) / direction;
    double t1 = (size - origin) / direction;
    if (t0 > t1) std::swap(t0, t1);
    in = std::max(in, t0);
    out = std::min(out, t1);
    return true;
  };
  if (!slab(from.x, ux, view.width - 1) || !slab(from.y, uy, view.height - 1)) return false;
  // A hair inside, so that rounding never puts the end sample outside.
  in += 1e-9;
  out -= 1e-9;
  return out > in;
}

// The profile along a ray, smoothed and differentiated, kept from ray to ray.
struct Profile {
  std::vector<double> values, smooth, slope;
};

// A ray from `from` along the unit vector (ux, uy); t in pixels along it.
struct Ray {
  PixelPoint from;
  double ux = 0, uy = 0;
  [[nodiscard]] PixelPoint at(double t) const { return {from.x + t * ux, from.y + t * uy}; }
};

// The last point, from `first` to `last` on steps of `coarse`, at or above the crossing
// level with a point below it after; none when the ray never falls below the level.
std::optional<double> lastAboveLevel(const GreyView& view, const Classes& classes, const Ray& ray, double first,
                                     double last, double coarse) {
  double lastAbove = -1;
  bool belowAfter = false;
  for (double t = first; t <= last; t += coarse) {
    // The nearest pixel is enough to find the crossing; the fall is sought finely below.
    // A blank pixel (NaN) is below the level: sky.
    const double v = nearestOnRay(view, ray.from, ray.ux, ray.uy, t);
    if (v >= classes.level) {
      lastAbove = t;
      belowAfter = false;
    } else if (lastAbove >= 0) {
      belowAfter = true;
    }
  }
  if (lastAbove < 0 || !belowAfter) return std::nullopt;
  return lastAbove;
}

// The n samples every kProfileStep from `start` along the ray into scratch.values, then
// smoothed and differentiated; the steepest fall's index, and the first blank sample's
// (n when none is).
struct Fall {
  int steepest = -1;
  int firstBlank = 0;
};

Fall steepestFall(const GreyView& view, const Classes& classes, const Ray& ray, double start, int n,
                  Profile& scratch) {
  Fall fall;
  std::vector<double>& profile = scratch.values;
  profile.resize(static_cast<std::size_t>(n));
  fall.firstBlank = n;
  for (int i = 0; i < n; ++i) {
    const double t = start + i * kProfileStep;
    bool blanked = false;
    profile[static_cast<std::size_t>(i)] =
        sample(view, ray.from.x + t * ray.ux, ray.from.y + t * ray.uy, classes.sky, blanked);
    if (blanked) fall.firstBlank = std::min(fall.firstBlank, i);
  }
  std::vector<double>& smooth = scratch.smooth;
  smooth = profile;
  for (int i = 1; i + 1 < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    smooth[k] = 0.25 * profile[k - 1] + 0.5 * profile[k] + 0.25 * profile[k + 1];
  }
  std::vector<double>& slope = scratch.slope;
  slope.assign(static_cast<std::size_t>(n), 0.0);
  for (int i = 2; i + 2 < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    slope[k] = 0.5 * (smooth[k + 1] - smooth[k - 1]);
    if (fall.steepest < 0 || slope[k] < slope[static_cast<std::size_t>(fall.steepest)]) fall.steepest = i;
  }
  return fall;
}

// Where a fall meets blank pixels within its window: whether a pixel from the fall to the
// data's edge is sky, and else that edge (where the ray leaves the last pixel with data),
// none when the window ends first.
struct BlankEdge {
  bool skySeen = false;
  std::optional<double> t;
};

BlankEdge blankEdge(const GreyView& view, const Classes& classes, const Ray& ray, double from, double stop,
                    double disc) {
  const double skyBelow = classes.dark + kSkyShare * (disc - classes.dark);
  double t = from;
  bool skySeen = false;
  for (; t < stop; t += kEdgeStep) {
    const float v = nearestOnRay(view, ray.from, ray.ux, ray.uy, t);
    if (!std::isfinite(v)) break;
    skySeen = skySeen || v < skyBelow;
  }
  if (skySeen) return {true, std::nullopt};
  if (!(t < stop)) return {};
  return {false, t - kEdgeStep / 2};
}

// The limb point along one ray, or none, searched between `nearest` and `farthest` from
// `from` (pixels): the whole ray on the first pass, a band about the first circle on the
// second.
std::optional<PixelPoint> limbOnRay(const GreyView& view, const Classes& classes, PixelPoint from, double angle,
                                    double nearest, double farthest, Profile& scratch) {
  const Ray ray{from, std::cos(angle), std::sin(angle)};
  double in = 0, out = 0;
  if (!insideFrame(view, from, ray.ux, ray.uy, in, out)) return std::nullopt;
  const double coarse = std::max(1.0, classes.step / 2.0);
  const auto lastAbove = lastAboveLevel(view, classes, ray, std::max(in, nearest), std::min(out, farthest), coarse);
  if (!lastAbove) return std::nullopt;

  const double margin = std::max(4.0, 2 * coarse);
  const double start = std::max(in, *lastAbove - margin);
  const double end = *lastAbove + coarse + margin;
  const int n = static_cast<int>((end - start) / kProfileStep) + 1;
  if (n < 7) return std::nullopt;
  const Fall fall = steepestFall(view, classes, ray, start, n, scratch);
  const int steepest = fall.steepest;
  const std::vector<double>& smooth = scratch.smooth;
  const std::vector<double>& slope = scratch.slope;
  // The fall must be inside the window, not on its edge, and sharp.
  if (steepest < 3 || steepest + 4 > n || !(slope[static_cast<std::size_t>(steepest)] < 0)) return std::nullopt;
  const auto highest = std::max_element(smooth.begin(), smooth.begin() + steepest);
  const auto lowest = std::min_element(smooth.begin() + steepest, smooth.end());
  if (!(*highest - *lowest >= kSharpFall * (classes.level - classes.sky))) return std::nullopt;
  if (fall.firstBlank < n) {
    // Blank pixels within the window: where none from the fall to the data's edge is sky,
    // the fall runs into the blank and the data's edge is the limb.
    const BlankEdge edge = blankEdge(view, classes, ray, start + steepest * kProfileStep,
                                     std::min(out, start + (n - 1) * kProfileStep),
                                     smooth[static_cast<std::size_t>(steepest - 3)]);
    if (!edge.skySeen) return edge.t ? std::optional(ray.at(*edge.t)) : std::nullopt;
  }
  // To a fraction of a pixel: the vertex of the parabola through the slope's peak.
  const auto k = static_cast<std::size_t>(steepest);
  const double left = slope[k - 1], middle = slope[k], right = slope[k + 1];
  const double curvature = left - 2 * middle + right;
  const double offset = curvature > 0 ? std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5) : 0.0;
  const double t = start + (steepest + offset) * kProfileStep;
  if (t > out) return std::nullopt;
  return ray.at(t);
}

// Algebraic fit (Kasa) of the points marked kept, about their mean for conditioning.
std::optional<Circle> algebraicFit(const std::vector<PixelPoint>& points, const std::vector<char>& kept) {
  double mx = 0, my = 0;
  int n = 0;
  for (std::size_t i = 0; i < points.size(); ++i)
    if (kept[i]) {
      mx += points[i].x;
      my += points[i].y;
      ++n;
    }
  if (n < 3) return std::nullopt;
  mx /= n;
  my /= n;
  // Least squares of x D + y E + F = -(x^2 + y^2).
  Augmented3 normal{};
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!kept[i]) continue;
    const double x = points[i].x - mx, y = points[i].y - my;
    addNormalRow(normal, {x, y, 1, -(x * x + y * y)});
  }
  const auto solution = solve3(normal);
  if (!solution) return std::nullopt;
  const auto [d, e, f] = *solution;
  const double squared = (d * d + e * e) / 4 - f;
  if (!(squared > 0) || !std::isfinite(squared)) return std::nullopt;
  return Circle{{mx - d / 2, my - e / 2}, std::sqrt(squared)};
}

// Gauss-Newton on the distances to the circle, from a close start.
Circle geometricFit(const std::vector<PixelPoint>& points, const std::vector<char>& kept, Circle circle) {
  for (int iteration = 0; iteration < 20; ++iteration) {
    Augmented3 normal{};
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (!kept[i]) continue;
      const double dx = points[i].x - circle.centre.x, dy = points[i].y - circle.centre.y;
      const double distance = std::hypot(dx, dy);
      if (distance == 0) continue;
      addNormalRow(normal, {dx / distance, dy / distance, 1, distance - circle.radius});
    }
    const auto step = solve3(normal);
    if (!step) return circle;
    const auto [sx, sy, sr] = *step;
    circle.centre.x += sx;
    circle.centre.y += sy;
    circle.radius += sr;
    if (std::fabs(sx) + std::fabs(sy) + std::fabs(sr) < 1e-9) break;
  }
  return circle;
}

double residual(const Circle& circle, PixelPoint p) {
  return std::hypot(p.x - circle.centre.x, p.y - circle.centre.y) - circle.radius;
}

// Clips the points beyond kClipSigmas robust sigmas of the circle; true when the kept set changed.
bool clip(const std::vector<PixelPoint>& points, std::vector<char>& kept, const Circle& circle) {
  std::vector<double> absolute;
  absolute.reserve(points.size());
  for (const PixelPoint& p : points) absolute.push_back(std::fabs(residual(circle, p)));
  std::vector<double> sorted = absolute;
  const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
  std::nth_element(sorted.begin(), middle, sorted.end());
  const double sigma = 1.4826 * *middle;
  const double limit = std::max(kClipSigmas * sigma, 0.3);
  bool changed = false;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const char keep = absolute[i] <= limit ? 1 : 0;
    changed = changed || keep != kept[i];
    kept[i] = keep;
  }
  return changed;
}

struct Fit {
  Limb limb;
  bool found = false;
};

Fit fitFrom(const GreyView& view, const Classes& classes, PixelPoint from, int rays, double nearest,
            double farthest) {
  std::vector<PixelPoint> points;
  points.reserve(static_cast<std::size_t>(rays));
  Profile scratch;
  for (int k = 0; k < rays; ++k)
    if (const auto p = limbOnRay(view, classes, from, 2 * std::numbers::pi * k / rays, nearest, farthest, scratch))
      points.push_back(*p);
  Fit fit;
  fit.limb.rays = rays;
  if (points.size() < 3) return fit;
  std::vector<char> kept(points.size(), 1);
  auto circle = algebraicFit(points, kept);
  if (!circle) return fit;
  for (int round = 0; round < 10; ++round) {
    if (!clip(points, kept, *circle)) break;
    const auto refit = algebraicFit(points, kept);
    if (!refit) return fit;
    circle = refit;
  }
  for (int round = 0; round < 5; ++round) {
    circle = geometricFit(points, kept, *circle);
    if (!clip(points, kept, *circle)) break;
  }
  double sum = 0;
  int n = 0;
  for (std::size_t i = 0; i < points.size(); ++i)
    if (kept[i]) {
      const double d = residual(*circle, points[i]);
      sum += d * d;
      ++n;
    }
  if (n < 3 || !std::isfinite(circle->centre.x + circle->centre.y + circle->radius)) return fit;
  fit.limb.circle = *circle;
  fit.limb.points = n;
  fit.limb.rms = std::sqrt(sum / n);
  fit.found = true;
  return fit;
}

// The disc's inside brighter than the level, its outside darker, as the histogram said.
bool agreesWithClasses(const Classes& classes, const Circle& circle) {
  long inside = 0, insideBright = 0, outside = 0, outsideDark = 0;
  for (int row = 0; row < classes.rows; ++row)
    for (int column = 0; column < classes.columns; ++column) {
      const int x = column * classes.step, y = row * classes.step;
      const double v = classes.grid[static_cast<std::size_t>(row) * static_cast<std::size_t>(classes.columns) +
                                    static_cast<std::size_t>(column)];
      if (!std::isfinite(v)) continue;
      const double r = std::hypot(x - circle.centre.x, y - circle.centre.y) / circle.radius;
      if (r < 0.9) {
        ++inside;
        if (v >= classes.level) ++insideBright;
      } else if (r > 1.1) {
        ++outside;
        if (v < classes.level) ++outsideDark;
      }
    }
  if (inside < 16) return false;
  if (static_cast<double>(insideBright) < kAgreement * static_cast<double>(inside)) return false;
  return outside < 16 || static_cast<double>(outsideDark) >= kAgreement * static_cast<double>(outside);
}

// The edge of a limb-darkened disc seen through a blur. Along a ray, with d the distance
// outward from an edge at e, the disc is A + B sqrt(e - d) inside (the darkening's fall as
// mu = sqrt(1 - (r/R)^2) goes to zero) and the sky S outside; blurred by a Gaussian of
// width sigma, the profile is S Phi((d-e)/s) + A Phi((e-d)/s) + B sqrt(s) H((d-e)/s), with
// H(z) the integral over u >= 0 of 2 u^2 phi(z + u^2) du.
constexpr double kEdgeWindow = 8;        // pixels either side of the circle
constexpr double kEdgeSampleStep = 0.25;  // pixels along the ray
constexpr double kEdgeMaxShift = 1;      // pixels: beyond, the model does not describe the limb
constexpr double kEdgeSmallestBlur = 0.25, kEdgeLargestBlur = 3;  // pixels, sigma's search
constexpr int kEdgeLeastRays = kRays / 8;
// With I = 1 - u (1 - mu), B / (A - S) is u / (1 - u) sqrt(2 / R): u 0.9 is the darkest
// limb of the visible continuum.
constexpr double kStrongestDarkening = 0.9;

constexpr double kTableReach = 12, kTableStep = 0.02;  // H(z) tabulated for |z| <= kTableReach

double normalDensity(double z) { return std::exp(-0.5 * z * z) / std::sqrt(2 * std::numbers::pi); }
double normalBelow(double z) { return 0.5 * std::erfc(-z / std::numbers::sqrt2); }

const std::vector<double>& darkeningTable() {
  static const std::vector<double> table = [] {
    std::vector<double> h;
    const int n = static_cast<int>(2 * kTableReach / kTableStep) + 1;
    h.reserve(static_cast<std::size_t>(n));
    constexpr double du = 0.01;
    for (int i = 0; i < n; ++i) {
      const double z = -kTableReach + i * kTableStep;
      double sum = 0;
      // u^2 up to 25: beyond, z + u^2 > 13 for every tabulated z and phi is under 1e-36.
      for (double u = du; u <= 5; u += du) sum += 2 * u * u * normalDensity(z + u * u);
      h.push_back(sum * du);
    }
    return h;
  }();
  return table;
}

double darkeningTerm(double z) {
  const std::vector<double>& table = darkeningTable();
  if (z <= -kTableReach) return std::sqrt(-z);  // the Gaussian is narrow there: sqrt(e - d) / sqrt(sigma)
  if (z >= kTableReach) return 0;
  const double at = (z + kTableReach) / kTableStep;
  const auto i = static_cast<std::size_t>(at);
  const double f = at - static_cast<double>(i);
  return table[i] * (1 - f) + table[std::min(i + 1, table.size() - 1)] * f;
}

struct EdgeFit {
  double misfit = INFINITY;  // the sum of squared residuals
  double sky = 0, disc = 0, darkening = 0;  // S, A, B
};

// The best S, A and B >= 0 for an edge at e blurred by sigma; an infinite misfit where the
// disc is not brighter than the sky.
EdgeFit edgeFit(const std::vector<double>& profile, double e, double sigma) {
  const auto fitWith = [&](bool darkened) {
    Augmented3 normal{};
    for (std::size_t j = 0; j < profile.size(); ++j) {
      const double d = -kEdgeWindow + static_cast<double>(j) * kEdgeSampleStep;
      const double z = (d - e) / sigma;
      addNormalRow(normal, {normalBelow(z), normalBelow(-z), darkened ? std::sqrt(sigma) * darkeningTerm(z) : 0,
                            profile[j]});
    }
    // Without the darkening's term its unknown is held at zero.
    if (!darkened) normal[2] = {0, 0, 1, 0};
    return solve3(normal);
  };
  auto solution = fitWith(true);
  if (solution && (*solution)[2] < 0) solution = fitWith(false);
  EdgeFit fit;
  if (!solution) return fit;
  const auto [sky, disc, darkening] = *solution;
  if (!(disc > sky)) return fit;
  double misfit = 0;
  for (std::size_t j = 0; j < profile.size(); ++j) {
    const double d = -kEdgeWindow + static_cast<double>(j) * kEdgeSampleStep;
    const double z = (d - e) / sigma;
    const double model = sky * normalBelow(z) + disc * normalBelow(-z) + darkening * std::sqrt(sigma) * darkeningTerm(z);
    misfit += (profile[j] - model) * (profile[j] - model);
  }
  return {misfit, sky, disc, darkening};
}

// The radius moved from the steepest fall, which a darkened limb puts inside its edge, to
// the edge of the model fitted to the mean profile across the circle; the circle as it was
// where the profile cannot be had whole on enough rays (the frame, blank pixels) or the
// model does not fit it.
Circle edgeOfDarkenedLimb(const GreyView& view, Circle circle) {
  const int samples = static_cast<int>(2 * kEdgeWindow / kEdgeSampleStep) + 1;
  std::vector<double> sum(static_cast<std::size_t>(samples), 0.0), ray(static_cast<std::size_t>(samples));
  int rays = 0;
  for (int k = 0; k < kRays; ++k) {
    const double angle = 2 * std::numbers::pi * k / kRays;
    const double ux = std::cos(angle), uy = std::sin(angle);
    bool whole = true;
    for (int j = 0; j < samples && whole; ++j) {
      const double r = circle.radius - kEdgeWindow + j * kEdgeSampleStep;
      const double x = circle.centre.x + r * ux, y = circle.centre.y + r * uy;
      if (!(x >= 0 && y >= 0 && x <= view.width - 1 && y <= view.height - 1)) whole = false;
      bool blanked = false;
      if (whole) ray[static_cast<std::size_t>(j)] = sample(view, x, y, 0, blanked);
      whole = whole && !blanked;
    }
    if (!whole) continue;
    for (std::size_t j = 0; j < sum.size(); ++j) sum[j] += ray[j];
    ++rays;
  }
  if (rays < kEdgeLeastRays || !(circle.radius > 4 * kEdgeWindow)) return circle;
  for (double& v : sum) v /= rays;

  // A coarse grid, then a pattern search from its best, the steps halved where no
  // neighbour is better, to a thousandth of a pixel.
  double bestE = 0, bestSigma = 1;
  EdgeFit best;
  const auto tryAt = [&](double e, double sigma) {
    const EdgeFit fit = edgeFit(sum, e, sigma);
    if (!(fit.misfit < best.misfit)) return false;
    best = fit;
    bestE = e;
    bestSigma = sigma;
    return true;
  };
  constexpr double kRatio = 1.25;
  for (double sigma = kEdgeSmallestBlur; sigma <= kEdgeLargestBlur; sigma *= kRatio)
    for (double e = -2 * kEdgeMaxShift; e <= 2 * kEdgeMaxShift + 1e-9; e += 0.1) tryAt(e, sigma);
  if (!std::isfinite(best.misfit)) return circle;
  // A blur at the search's end is one the window does not hold, or no edge at all.
  if (bestSigma * kRatio > kEdgeLargestBlur || bestSigma < kEdgeSmallestBlur * kRatio) return circle;
  // Bounded: each move lowers the misfit, but a profile the model does not fit may let it
  // wander; the check below then refuses the edge.
  for (double eStep = 0.05, sigmaStep = 0.1, moves = 0; eStep >= 0.001 && moves < 400; ++moves) {
    const double e = bestE, sigma = bestSigma;
    if (!tryAt(e + eStep, sigma) && !tryAt(e - eStep, sigma) && !tryAt(e, sigma * (1 + sigmaStep)) &&
        !tryAt(e, sigma / (1 + sigmaStep))) {
      eStep /= 2;
      sigmaStep /= 2;
    }
  }
  // Darkening that strong (u above kStrongestDarkening) is an image whose levels are not
  // the light's (a stretched quick-look), whose edge the model does not know.
  if (!(std::fabs(bestE) <= kEdgeMaxShift) ||
      best.darkening > kStrongestDarkening / (1 - kStrongestDarkening) * std::sqrt(2 / circle.radius) *
                           (best.disc - best.sky))
    return circle;
  circle.radius += bestE;
  return circle;
}

LimbOutcome refused() { return {std::nullopt, kNoLimbMessage}; }

}  // namespace

LimbOutcome findLimb(GreyView image) {
  if (image.empty() || image.width < kSmallestSide || image.height < kSmallestSide || image.stride < image.width)
    return refused();
  const auto classes = classify(image);
  if (!classes) return refused();
  const Fit first = fitFrom(image, *classes, classes->centroid, kFirstRays, 0, 1e300);
  if (!first.found) return refused();
  const double largest = std::max(image.width, image.height);
  const Circle& rough = first.limb.circle;
  // A wild first circle (points nearly in a line) would send the second pass's rays from
  // far away; no disc gives one.
  if (!(rough.radius <= 2 * largest) || !(std::fabs(rough.centre.x) <= 3 * largest) ||
      !(std::fabs(rough.centre.y) <= 3 * largest))
    return refused();
  const double radius = rough.radius;
  const double band = std::max(0.2 * radius, 4.0 * classes->step);
  Fit fit = fitFrom(image, *classes, first.limb.circle.centre, kRays, radius - band, radius + band);
  if (!fit.found) return refused();
  fit.limb.circle = edgeOfDarkenedLimb(image, fit.limb.circle);
  const Limb& limb = fit.limb;
  if (limb.points < kKeptShare * kRays) return refused();
  if (limb.rms > std::max(1.5, 0.01 * limb.circle.radius)) return refused();
  if (limb.circle.radius < kSmallestRadius || limb.circle.radius > largest) return refused();
  if (!agreesWithClasses(*classes, limb.circle)) return refused();
  return {limb, {}};
}

CircleOutcome circleThroughPoints(PixelPoint a, PixelPoint b, PixelPoint c) noexcept {
  for (double v : {a.x, a.y, b.x, b.y, c.x, c.y})
    if (!std::isfinite(v)) return {std::nullopt, kNotANumberPointMessage};
  const double ab = std::hypot(b.x - a.x, b.y - a.y);
  const double ac = std::hypot(c.x - a.x, c.y - a.y);
  const double bc = std::hypot(c.x - b.x, c.y - b.y);
  if (std::min({ab, ac, bc}) < 1e-6) return {std::nullopt, kSamePointsMessage};
  // About a, for precision far from the origin.
  const double bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
  const double d = 2 * (bx * cy - by * cx);
  const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
  const double ux = (cy * b2 - by * c2) / d;
  const double uy = (bx * c2 - cx * b2) / d;
  const double radius = std::hypot(ux, uy);
  if (d == 0 || !std::isfinite(radius) || radius > 1e6 * std::max({ab, ac, bc}))
    return {std::nullopt, kAlignedPointsMessage};
  return {Circle{{a.x + ux, a.y + uy}, radius}, {}};
}

}  // namespace kavrel::photo
