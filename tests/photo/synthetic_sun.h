// Photographs of the Sun made up for the tests: a limb-darkened disc on a dark sky, the
// pixels across the limb averaged over 8 x 8 samples, with noise.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "image/grey_image.h"

namespace kavrel::photo::test {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<float> pixels;

  image::GreyView view() const { return {width, height, width, pixels.data()}; }
  float& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x]; }
};

struct SunShape {
  double cx = 0, cy = 0, radius = 0;  // pixels
  double darkening = 0.6;             // u of I = 1 - u (1 - mu)
  double sky = 0.02;
};

inline double limbDarkening(const SunShape& sun, double r) {
  const double mu = std::sqrt(std::max(0.0, 1 - std::min(1.0, r) * std::min(1.0, r)));
  return 1 - sun.darkening * (1 - mu);
}

// The disc; `surface(x, y)` multiplies the photosphere (a spot), 1 when absent.
inline Picture drawSun(int width, int height, const SunShape& sun,
                       const std::function<double(int, int)>& surface = {}) {
  Picture picture{width, height, std::vector<float>(static_cast<std::size_t>(width) * height)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double d = std::hypot(x - sun.cx, y - sun.cy);
      double cover = d < sun.radius ? 1 : 0;
      double disc = limbDarkening(sun, d / sun.radius);
      if (std::fabs(d - sun.radius) < 1) {
        cover = disc = 0;
        for (int i = 0; i < 8; ++i)
          for (int j = 0; j < 8; ++j) {
            const double r = std::hypot(x - 0.5 + (i + 0.5) / 8 - sun.cx, y - 0.5 + (j + 0.5) / 8 - sun.cy);
            if (r >= sun.radius) continue;
            cover += 1.0 / 64;
            disc += limbDarkening(sun, r / sun.radius) / 64;
          }
        if (cover > 0) disc /= cover;
      }
      if (surface && cover > 0) disc *= surface(x, y);
      picture.at(x, y) = static_cast<float>(cover * disc + (1 - cover) * sun.sky);
    }
  return picture;
}

// A Gaussian blur of `sigma` pixels (seeing, the optics), the frame's edge repeated.
inline void blur(Picture& picture, double sigma) {
  const int reach = static_cast<int>(std::ceil(4 * sigma));
  std::vector<double> weights;
  double total = 0;
  for (int i = -reach; i <= reach; ++i) total += weights.emplace_back(std::exp(-0.5 * i * i / (sigma * sigma)));
  const auto pass = [&](bool across) {
    const std::vector<float> source = picture.pixels;
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) {
        double sum = 0;
        for (int i = -reach; i <= reach; ++i) {
          const int sx = across ? std::clamp(x + i, 0, picture.width - 1) : x;
          const int sy = across ? y : std::clamp(y + i, 0, picture.height - 1);
          sum += weights[static_cast<std::size_t>(i + reach)] *
                 source[static_cast<std::size_t>(sy) * static_cast<std::size_t>(picture.width) + sx];
        }
        picture.at(x, y) = static_cast<float>(sum / total);
      }
  };
  pass(true);
  pass(false);
}

inline void addNoise(Picture& picture, double sigma, unsigned seed) {
  std::mt19937 generator(seed);
  std::normal_distribution<double> noise(0, sigma);
  for (float& v : picture.pixels) v = static_cast<float>(v + noise(generator));
}

}  // namespace kavrel::photo::test
