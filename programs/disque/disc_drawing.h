// The Sun's disc for one instant, painted as the observer sees it.
//
// The heliographic grid in orthographic projection seen from B0, the axis at the position
// angle P: parallels and meridians every `gridStep` degrees (meridians at Carrington
// longitudes that are multiples of the step), the equator and the central meridian
// stronger, the central meridian labelled with L0 and the Carrington longitude written
// along the equator every 30 degrees; the Sun's north pole and the ends of the axis; the
// celestial N, S, E and W outside the rim and the celestial east-west line through the
// centre (the line a spot drifts along with the drive off). Only the visible hemisphere is
// drawn. Numbered spots are drawn as small circles.
//
// A DiscFrame says where the disc lies on the device (centre and radius in device units)
// and which way it is turned: east left as in the sky and on a photograph, or east right as
// on a projection screen. The same frame turns a device point back into a disc point, for
// reading the disc with the pointer.
#pragma once

#include <QColor>
#include <QPointF>
#include <QString>
#include <vector>

#include "sun/heliographic.h"

class QPainter;

namespace kavrel::disque {

struct DiscFrame {
  QPointF centre{};
  double radius = 100;  // device units
  DrawingOrientation orientation = DrawingOrientation::EastLeft;
};

// A sky point (disc radii, north up, x toward the west) on the device.
[[nodiscard]] QPointF deviceOf(const DiscFrame& frame, SkyPoint sky) noexcept;
// The disc point under a device point; r > 1 outside the disc.
[[nodiscard]] DiscPoint discPointAt(const DiscFrame& frame, QPointF device) noexcept;

// A spot measured on the disc, drawn with its number.
struct Spot {
  int number = 0;
  DiscPoint at{};
};

struct DiscLook {
  int gridStep = 10;          // degrees: 5, 10 or 15
  double textHeight = 12;     // device units, of every label
  double thinLine = 1;        // device units: the grid
  double strongLine = 2;      // the rim, the equator, the central meridian
  QString decimalSeparator = QStringLiteral(",");
  QColor discFill = QColor(255, 252, 240);  // Qt::transparent leaves the paper white
};

// How far outside the rim the labels reach, in text heights: a frame's radius should
// leave this much room around the disc.
inline constexpr double kLabelMargin = 1.8;

// A grid line's visible pieces in sky coordinates, each an open or closed polyline.
enum class GridLineKind { Parallel, Meridian, Equator, CentralMeridian };
struct GridLine {
  GridLineKind kind = GridLineKind::Parallel;
  double value = 0;  // latitude of a parallel, Carrington longitude of a meridian
  std::vector<std::vector<SkyPoint>> pieces;
};

// Every line of the grid, the equator and the central meridian included.
[[nodiscard]] std::vector<GridLine> gridLines(const DiscOrientation& disc, int gridStep);

void paintDisc(QPainter& painter, const DiscOrientation& disc, const DiscFrame& frame, const DiscLook& look,
               const std::vector<Spot>& spots);

}  // namespace kavrel::disque
