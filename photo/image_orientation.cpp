#include "photo/image_orientation.h"

#include <cmath>

#include "common/angles.h"

namespace kavrel::photo {
namespace {

using precise::toDegrees;
using precise::toRadians;

// Unit vectors of north and east on the displayed image (x right, y down).
struct Axes {
  double northX, northY, eastX, eastY;
};

Axes axesOf(const ImageFrame& frame) {
  const double a = toRadians(frame.north);
  const double s = std::sin(a), c = std::cos(a);
  // North at angle a counter-clockwise from up; east a quarter turn further
  // counter-clockwise, or clockwise on a mirrored image.
  if (frame.mirrored) return {-s, -c, c, -s};
  return {-s, -c, -c, s};
}

}  // namespace

NorthOutcome celestialNorth(const ImageOrientation& orientation, const DiscOrientation& disc) noexcept {
  switch (orientation.given) {
    case NorthGiven::Celestial:
      if (!std::isfinite(orientation.angle)) return {std::nullopt, kOrientationNotANumberMessage};
      return {reduce360(orientation.angle), {}};
    case NorthGiven::Solar: {
      const double north = orientation.mirrored ? orientation.angle + disc.p : orientation.angle - disc.p;
      if (!std::isfinite(north)) return {std::nullopt, kOrientationNotANumberMessage};
      return {reduce360(north), {}};
    }
    case NorthGiven::Drift: {
      const double dx = orientation.driftTo.x - orientation.driftFrom.x;
      const double dy = orientation.driftTo.y - orientation.driftFrom.y;
      if (!std::isfinite(dx) || !std::isfinite(dy)) return {std::nullopt, kOrientationNotANumberMessage};
      if (std::hypot(dx, dy) < 1) return {std::nullopt, kDriftTooShortMessage};
      // The angle of west counter-clockwise from up, then north a quarter turn away.
      const double west = toDegrees(std::atan2(-dx, -dy));
      return {reduce360(orientation.mirrored ? west - 90 : west + 90), {}};
    }
  }
  return {std::nullopt, kOrientationNotANumberMessage};
}

DiscPoint discPointOfPixel(const ImageFrame& frame, PixelPoint pixel) noexcept {
  const Axes axes = axesOf(frame);
  const double dx = (pixel.x - frame.limb.centre.x) / frame.limb.radius;
  const double dy = (pixel.y - frame.limb.centre.y) / frame.limb.radius;
  const double north = dx * axes.northX + dy * axes.northY;
  const double east = dx * axes.eastX + dy * axes.eastY;
  return discPointOf(SkyPoint{-east, north});
}

PixelPoint pixelOfDiscPoint(const ImageFrame& frame, DiscPoint point) noexcept {
  const Axes axes = axesOf(frame);
  const SkyPoint sky = skyPointOf(point);
  const double east = -sky.x, north = sky.y;
  return {frame.limb.centre.x + frame.limb.radius * (north * axes.northX + east * axes.eastX),
          frame.limb.centre.y + frame.limb.radius * (north * axes.northY + east * axes.eastY)};
}

HeliographicResult heliographicOfPixel(const ImageFrame& frame, const DiscOrientation& disc,
                                       PixelPoint pixel) noexcept {
  if (!(frame.limb.radius > 0)) return {DiscRefusal::NotANumber, {}};
  return heliographicOf(disc, discPointOfPixel(frame, pixel));
}

PixelProjection pixelOfHeliographic(const ImageFrame& frame, const DiscOrientation& disc, double latitude,
                                    double longitude) noexcept {
  const Projection projection = skyPointOf(disc, latitude, longitude);
  return {pixelOfDiscPoint(frame, discPointOf(projection.at)), projection.visible};
}

}  // namespace kavrel::photo
