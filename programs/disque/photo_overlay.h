// A solar photograph for display, and what is drawn over it: the limb, the heliographic
// grid at the image's orientation, the spots and their measured outlines, the points being
// picked.
//
// Pixel coordinates are those of image/grey_image.h: x from the left edge, y from the top
// edge of the image as displayed, (0, 0) the centre of the top-left pixel. A PhotoMapping
// places the image on a device (a widget, the full-resolution PNG, a printed page) by a
// scale and the position of the image's top-left corner; it has no rotation, so the
// overlay is drawn in image pixels and every device gets the same drawing.
//
// The display is 8-bit and made once per image and stretch: linear between a black and a
// white point, by default robust percentiles (0.5 % and 99.8 %) of a subsample of the
// samples at their own values, so that a 16-bit image keeps its contrast; blank (NaN)
// pixels show in a neutral grey. The measures never read the display, only the samples.
//
// The grid comes from the drawn disc's grid (visible pieces sampled every 3 degrees); on a
// large disc, zoomed in, points are added along the true curves so that the lines stay
// within 0.1 screen pixel of them at the largest zoom.
#pragma once

#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QTransform>
#include <optional>
#include <vector>

#include "image/grey_image.h"
#include "photo/image_orientation.h"
#include "disque/disc_grid.h"
#include "photo/spot_area.h"
#include "sun/heliographic.h"

class QPainter;

namespace kavrel::disque {

// Where an image lies on a device.
struct PhotoMapping {
  double scale = 1;   // device units per image pixel
  QPointF corner{};   // the device point of the image's top-left corner (the pixel's edge)

  [[nodiscard]] QPointF toDevice(photo::PixelPoint pixel) const noexcept {
    return {corner.x() + (pixel.x + 0.5) * scale, corner.y() + (pixel.y + 0.5) * scale};
  }
  [[nodiscard]] photo::PixelPoint toImage(QPointF device) const noexcept {
    return {(device.x() - corner.x()) / scale - 0.5, (device.y() - corner.y()) / scale - 0.5};
  }
  [[nodiscard]] QTransform transform() const noexcept {
    return QTransform(scale, 0, 0, scale, corner.x() + 0.5 * scale, corner.y() + 0.5 * scale);
  }

  // The whole image as large as fits, centred. An empty image or view gives scale 1.
  [[nodiscard]] static PhotoMapping fit(QSize image, QSizeF view) noexcept;
  // At another scale, the image point under `fixed` staying under it.
  [[nodiscard]] PhotoMapping zoomedAbout(double newScale, QPointF fixed) const noexcept;
  [[nodiscard]] PhotoMapping pannedBy(QPointF delta) const noexcept { return {scale, corner + delta}; }
};

// The grey of a blank pixel on the display.
inline constexpr int kBlankGrey = 128;

struct DisplayStretch {
  double black = 0;  // sample value shown black
  double white = 1;  // sample value shown white; below black, a negative
};

// The stretch of an image's samples: the 0.5 % and 99.8 % percentiles of at most about
// 260,000 finite samples taken on a regular grid. A flat image is shown mid-grey; one
// without a finite sample gets {0, 1}.
[[nodiscard]] DisplayStretch displayStretch(image::GreyView image);
// The image in 8-bit grey (Format_Grayscale8) under that stretch (black and white
// distinct and finite).
[[nodiscard]] QImage displayImage(image::GreyView image, DisplayStretch stretch);
[[nodiscard]] inline QImage displayImage(image::GreyView image) { return displayImage(image, displayStretch(image)); }
// The same written into `display`, made anew unless it has the image's size and format
// already: a change of stretch then writes over the pages it has, which a large image
// would otherwise pay as fresh memory each time; false without memory for it.
bool writeDisplay(image::GreyView image, DisplayStretch stretch, QImage& display);

// A spot's mark: its number beside its pixel.
struct SpotMarker {
  int number = 0;
  photo::PixelPoint at{};
};

// Everything drawn over a photograph. Without a frame (the limb not yet known) only the
// spots and the picked points are drawn; without a disc orientation (the instant not
// known) no grid and no pole.
struct PhotoOverlay {
  std::optional<photo::ImageFrame> frame;
  std::optional<DiscOrientation> disc;
  GridStep gridStep{};
  bool grid = true;  // the parallels and meridians drawn
  std::vector<SpotMarker> spots;
  std::vector<photo::SpotMask> outlines;         // the measured spots, each with its umbra
  std::vector<photo::PixelPoint> limbPoints;     // the limb's points being picked (up to three)
  std::vector<photo::PixelPoint> driftPoints;    // the drift's feature, then the same later
};

// Line widths and text height in device units.
struct OverlayLook {
  double thinLine = 1;
  double strongLine = 2;
  double textHeight = 12;
};

// The overlay's lines in image pixels, computed once per change of the overlay so that
// repainting (a pointer move, a pan) only maps them.
struct OverlayGeometry {
  struct GridPiece {
    bool strong = false;    // the equator or the central meridian
    bool parallel = false;  // else a meridian
    double value = 0;       // latitude of a parallel, Carrington longitude of a meridian
    QPolygonF pixels;
    QRectF bounds;          // of the pixels, to skip a piece out of view
  };
  PhotoOverlay overlay;
  QPolygonF limb;                   // closed
  // The grid as sampled for the drawn disc, and the same pieces with points added along
  // the true curves between, drawn once the first's chords would stray visibly (zoomed in).
  std::vector<GridPiece> grid;
  std::vector<GridPiece> fineGrid;
  double gridStray = 0;             // how far the first's chords stray from the curves, pixels
  std::optional<QPointF> pole;      // the Sun's north pole, where it is on the visible side
  QList<QLineF> spotEdges;          // along pixel edges, around each spot
  QList<QLineF> umbraEdges;
};

[[nodiscard]] OverlayGeometry overlayGeometry(PhotoOverlay overlay);

void paintOverlay(QPainter& painter, const OverlayGeometry& geometry, const PhotoMapping& mapping,
                  const OverlayLook& look);

// The look of the overlay on the image at full resolution: lines and labels that stay
// readable when the image is shown whole.
[[nodiscard]] OverlayLook fullResolutionLook(QSize image) noexcept;

// The display image at its full resolution with the overlay drawn (RGB32), for saving.
[[nodiscard]] QImage photoWithOverlay(const QImage& display, const PhotoOverlay& overlay);

}  // namespace kavrel::disque
