// The Sun's disc for one instant, painted as the observer sees it.
//
// The heliographic grid of disc_grid.h (the equator and the central meridian stronger,
// the central meridian labelled with L0, the Carrington longitude written along the
// equator every 30 degrees); the Sun's north pole and the ends of the axis; the celestial
// N, S, E and W outside the rim and the celestial east-west line through the centre (the
// line a spot drifts along with the drive off). Numbered spots are drawn as small circles.
//
// A DiscFrame says where the disc lies on the device (centre and radius in device units)
// and which way it is turned: east left as in the sky and on a photograph, or east right as
// on a projection screen. The same frame turns a device point back into a disc point, for
// reading the disc with the pointer.
#pragma once

#include <QColor>
#include <QPointF>
#include <string>
#include <vector>

#include "disque/disc_grid.h"
#include "disque/disc_spots.h"
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

struct DiscLook {
  GridStep gridStep{};
  double textHeight = 12;     // device units, of every label
  double thinLine = 1;        // device units: the grid
  double strongLine = 2;      // the rim, the equator, the central meridian
  std::string decimalSeparator = ",";
  QColor discFill = QColor(255, 252, 240);  // Qt::transparent leaves the paper white
};

// How far outside the rim the labels reach, in text heights: a frame's radius should
// leave this much room around the disc.
inline constexpr double kLabelMargin = 1.8;

void paintDisc(QPainter& painter, const DiscOrientation& disc, const DiscFrame& frame, const DiscLook& look,
               const std::vector<DrawnSpot>& spots);

}  // namespace kavrel::disque
