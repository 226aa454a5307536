// Linear least squares in three unknowns: the normal equations summed row by row, and the
// 3 x 3 system they make solved by Gauss-Jordan elimination with partial pivoting.
//
// Used by the limb's circle fits and the disc's limb-darkening fit, whose unknowns are of
// the order of pixels and intensities. A pivot under 1e-12 in size is taken as a singular
// system (points in a line, too few distinct rings): no solution rather than a huge one.
#pragma once

#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace kavrel::photo {

// [A^T A | A^T y], from the rows (a1, a2, a3, y) of A x = y.
using Augmented3 = std::array<std::array<double, 4>, 3>;

inline void addNormalRow(Augmented3& normal, const std::array<double, 4>& row) noexcept {
  for (std::size_t r = 0; r < 3; ++r)
    for (std::size_t c = 0; c < 4; ++c) normal[r][c] += row[r] * row[c];
}

// The x of [M | b]: M x = b; none when singular or not finite.
[[nodiscard]] inline std::optional<std::array<double, 3>> solve3(Augmented3 m) noexcept {
  for (std::size_t col = 0; col < 3; ++col) {
    std::size_t pivot = col;
    for (std::size_t r = col + 1; r < 3; ++r)
      if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
    if (!(std::fabs(m[pivot][col]) > 1e-12)) return std::nullopt;
    std::swap(m[col], m[pivot]);
    for (std::size_t r = 0; r < 3; ++r) {
      if (r == col) continue;
      const double f = m[r][col] / m[col][col];
      for (std::size_t c = col; c < 4; ++c) m[r][c] -= f * m[col][c];
    }
  }
  const std::array<double, 3> x{m[0][3] / m[0][0], m[1][3] / m[1][1], m[2][3] / m[2][2]};
  if (!std::isfinite(x[0] + x[1] + x[2])) return std::nullopt;
  return x;
}

}  // namespace kavrel::photo
