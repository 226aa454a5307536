// A solar photograph for display and its overlay (photo_overlay.h).
#include "programs/disque/photo_overlay.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "disque/disc_grid.h"

namespace kavrel::disque {

namespace {

// About 512 x 512 samples are enough for percentiles at the 0.1 % level.
constexpr double kStretchSamples = 262144;
constexpr double kBlackShare = 0.005;
constexpr double kWhiteShare = 0.998;
constexpr int kLimbVertices = 720;

const QColor kLimbInk(255, 190, 0);
const QColor kGridInk(0, 130, 200);
const QColor kStrongGridInk(0, 200, 255);
const QColor kCompassInk(0, 200, 255);
const QColor kSpotInk(255, 40, 40);
const QColor kSpotEdgeInk(60, 220, 60);
const QColor kUmbraEdgeInk(255, 0, 220);
const QColor kPickInk(255, 255, 0);
const QColor kDriftInk(255, 128, 0);

// Celestial north and east, as marked on the rim.
const QString kNorthLabel = QStringLiteral("N");
const QString kEastLabel = QStringLiteral("E");

QPen cosmeticPen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine) {
  QPen pen(colour, width, style);
  pen.setCosmetic(true);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

QPointF pointOf(photo::PixelPoint pixel) { return {pixel.x, pixel.y}; }

// Pixels, far beyond the largest image read.
constexpr double kFarthest = 1e7;
bool drawable(photo::PixelPoint pixel) { return std::abs(pixel.x) <= kFarthest && std::abs(pixel.y) <= kFarthest; }

// How far a chord of the finer grid may stray from its curve, image pixels.
constexpr double kFineStray = 0.005;
// The sampled grid is drawn while its chords stray less than this from the curves, in
// device units.
constexpr double kVisibleStray = 0.25;
constexpr qsizetype kFineRun = 64;  // points

double reduce180(double degrees) { return degrees - 360 * std::floor((degrees + 180) / 360); }

// A sample of the grid on the sphere; the ends of a piece, found on the rim, may lie a
// rounding beyond it and are taken on it.
std::optional<Heliographic> onSphere(const DiscOrientation& disc, SkyPoint sky) {
  DiscPoint point = discPointOf(sky);
  if (point.r > 1 && point.r < 1 + 1e-6) point.r = 1;
  const HeliographicResult at = heliographicOf(disc, point);
  if (at.refusal != DiscRefusal::None) return std::nullopt;
  return at.at;
}

// The piece with points added between its samples along its own parallel or meridian. On
// the sphere an arc of angle a on a circle of radius rho strays rho a^2 / 8 from its chord,
// and the projection shortens every distance, so the arcs are cut until that is below
// kFineStray.
QPolygonF finer(const photo::ImageFrame& frame, const DiscOrientation& disc, const GridLine& line,
                const std::vector<SkyPoint>& piece, const QPolygonF& pixels) {
  const bool parallel = line.kind == GridLineKind::Parallel || line.kind == GridLineKind::Equator;
  const double rho = frame.limb.radius * (parallel ? std::cos(line.value * std::numbers::pi / 180) : 1.0);
  const double longestArc = std::sqrt(8 * kFineStray / std::max(rho, kFineStray)) * 180 / std::numbers::pi;
  QPolygonF fine;
  std::optional<Heliographic> from = onSphere(disc, piece.front());
  for (std::size_t i = 0; i + 1 < piece.size(); ++i) {
    fine.append(pixels[static_cast<qsizetype>(i)]);
    const std::optional<Heliographic> to = onSphere(disc, piece[i + 1]);
    if (from && to) {
      const double start = parallel ? from->longitude : from->latitude;
      const double span = parallel ? reduce180(to->longitude - from->longitude) : to->latitude - from->latitude;
      const int parts = std::min(1000, static_cast<int>(std::ceil(std::abs(span) / longestArc)));
      for (int k = 1; k < parts; ++k) {
        const double along = start + span * k / parts;
        const Projection at = parallel ? skyPointOf(disc, line.value, along) : skyPointOf(disc, along, line.value);
        fine.append(pointOf(photo::pixelOfDiscPoint(frame, discPointOf(at.at))));
      }
    }
    from = to;
  }
  if (!pixels.isEmpty()) fine.append(pixels.back());
  return fine;
}

// The one place where the drawn disc's grid is borrowed: its visible pieces turned into
// image pixels, as sampled and made finer.
void gridInImage(const photo::ImageFrame& frame, const DiscOrientation& disc, GridStep step,
                 OverlayGeometry& geometry) {
  double longestChord = 0;
  for (const GridLine& line : gridLines(disc, step)) {
    const bool strong = line.kind == GridLineKind::Equator || line.kind == GridLineKind::CentralMeridian;
    const bool parallel = line.kind == GridLineKind::Parallel || line.kind == GridLineKind::Equator;
    for (const std::vector<SkyPoint>& piece : line.pieces) {
      QPolygonF pixels;
      pixels.reserve(static_cast<qsizetype>(piece.size()));
      for (const SkyPoint& sky : piece) pixels.append(pointOf(photo::pixelOfDiscPoint(frame, discPointOf(sky))));
      for (qsizetype i = 1; i < pixels.size(); ++i)
        longestChord = std::max(longestChord, std::hypot(pixels[i].x() - pixels[i - 1].x(), pixels[i].y() - pixels[i - 1].y()));
      // In short runs, so that zoomed in most of them are skipped rather than clipped.
      const QPolygonF fine = finer(frame, disc, line, piece, pixels);
      for (qsizetype first = 0; first + 1 < fine.size(); first += kFineRun - 1) {
        QPolygonF run = fine.mid(first, kFineRun);
        const QRectF bounds = run.boundingRect();
        geometry.fineGrid.push_back({strong, parallel, line.value, std::move(run), bounds});
      }
      const QRectF bounds = pixels.boundingRect();
      geometry.grid.push_back({strong, parallel, line.value, std::move(pixels), bounds});
    }
  }
  // On the sphere a chord c of a circle of radius at most R strays at most c^2 / 8R from
  // it, and the projection shortens every distance; the longest chord, near the centre, is
  // hardly foreshortened.
  geometry.gridStray = longestChord * longestChord / (8 * frame.limb.radius);
}

// The boundary of the cells of `mask` for which `inside` holds, along pixel edges,
// consecutive edges of a row or column joined into one line.
template <typename Inside>
void addBoundary(const photo::SpotMask& mask, Inside inside, QList<QLineF>& edges) {
  const auto in = [&](int cx, int cy) {
    return cx >= 0 && cy >= 0 && cx < mask.width && cy < mask.height &&
           inside(mask.cells[static_cast<std::size_t>(cy) * static_cast<std::size_t>(mask.width) +
                             static_cast<std::size_t>(cx)]);
  };
  const double left = mask.left - 0.5, top = mask.top - 0.5;
  for (int cy = 0; cy <= mask.height; ++cy) {  // the edge above row cy
    int start = -1;
    for (int cx = 0; cx <= mask.width; ++cx) {
      const bool edge = cx < mask.width && in(cx, cy) != in(cx, cy - 1);
      if (edge && start < 0) start = cx;
      if (!edge && start >= 0) {
        edges.append(QLineF(left + start, top + cy, left + cx, top + cy));
        start = -1;
      }
    }
  }
  for (int cx = 0; cx <= mask.width; ++cx) {  // the edge left of column cx
    int start = -1;
    for (int cy = 0; cy <= mask.height; ++cy) {
      const bool edge = cy < mask.height && in(cx, cy) != in(cx - 1, cy);
      if (edge && start < 0) start = cy;
      if (!edge && start >= 0) {
        edges.append(QLineF(left + cx, top + start, left + cx, top + cy));
        start = -1;
      }
    }
  }
}

void drawLabel(QPainter& painter, QPointF centre, const QString& text, double height) {
  painter.drawText(QRectF(centre.x() - 4 * height, centre.y() - height, 8 * height, 2 * height), Qt::AlignCenter,
                   text);
}

// A mark on the rim at position angle theta, pointing outward, with its label beyond.
void paintRimMark(QPainter& painter, const photo::ImageFrame& frame, const PhotoMapping& mapping, double theta,
                  const QString& label, const OverlayLook& look) {
  const QPointF centre = mapping.toDevice(frame.limb.centre);
  const QPointF rim = mapping.toDevice(photo::pixelOfDiscPoint(frame, {theta, 1}));
  const QPointF out = rim - centre;
  const double length = std::hypot(out.x(), out.y());
  if (!(length > 0)) return;
  const QPointF unit = out / length;
  painter.drawLine(rim, rim + unit * (0.8 * look.textHeight));
  if (!label.isEmpty()) drawLabel(painter, rim + unit * (1.6 * look.textHeight), label, look.textHeight);
}

}  // namespace

PhotoMapping PhotoMapping::fit(QSize image, QSizeF view) noexcept {
  if (image.isEmpty() || view.isEmpty()) return {};
  const double scale = std::min(view.width() / image.width(), view.height() / image.height());
  return {scale, QPointF((view.width() - image.width() * scale) / 2, (view.height() - image.height() * scale) / 2)};
}

PhotoMapping PhotoMapping::zoomedAbout(double newScale, QPointF fixed) const noexcept {
  const QPointF edge = (fixed - corner) / scale;  // image units from the top-left corner
  return {newScale, fixed - edge * newScale};
}

DisplayStretch displayStretch(image::GreyView image) {
  if (image.empty()) return {};
  const double count = static_cast<double>(image.width) * image.height;
  const int step = std::max(1, static_cast<int>(std::ceil(std::sqrt(count / kStretchSamples))));
  std::vector<float> values;
  values.reserve(static_cast<std::size_t>((image.width / step + 1) * (image.height / step + 1)));
  for (int y = step / 2; y < image.height; y += step)
    for (int x = step / 2; x < image.width; x += step)
      if (const float v = image.at(x, y); std::isfinite(v)) values.push_back(v);
  if (values.empty()) return {};
  const auto at = [&](double share) {
    const auto k = static_cast<std::ptrdiff_t>(share * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + k, values.end());
    return static_cast<double>(values[static_cast<std::size_t>(k)]);
  };
  const double black = at(kBlackShare);
  const double white = at(kWhiteShare);
  if (!(white > black)) return {black - 0.5, black + 0.5};
  return {black, white};
}

QImage displayImage(image::GreyView image, DisplayStretch stretch) {
  QImage display;
  if (!writeDisplay(image, stretch, display)) return {};
  return display;
}

bool writeDisplay(image::GreyView image, DisplayStretch stretch, QImage& display) {
  if (image.empty()) return false;
  if (display.size() != QSize(image.width, image.height) || display.format() != QImage::Format_Grayscale8) {
    display = QImage(image.width, image.height, QImage::Format_Grayscale8);
    if (display.isNull()) return false;  // no memory for it
  }
  // In float, from locals: a byte written might otherwise be the stretch, read again.
  const auto black = static_cast<float>(stretch.black);
  const auto gain = static_cast<float>(255 / (stretch.white - stretch.black));
  for (int y = 0; y < image.height; ++y) {
    uchar* out = display.scanLine(y);
    const float* in = image.pixels + y * image.stride;
    for (int x = 0; x < image.width; ++x) {
      const float v = in[x];
      if (std::isnan(v)) {
        out[x] = kBlankGrey;
        continue;
      }
      const float level = std::min(std::max((v - black) * gain, 0.0F), 255.0F);
      out[x] = static_cast<uchar>(level + 0.5F);
    }
  }
  return true;
}

OverlayGeometry overlayGeometry(PhotoOverlay overlay) {
  OverlayGeometry geometry;
  // What cannot be drawn is left out: Qt's rasterizer is not meant for NaN or for
  // coordinates far beyond any image.
  if (overlay.frame && !(drawable(overlay.frame->limb.centre) && overlay.frame->limb.radius > 0 &&
                         overlay.frame->limb.radius <= kFarthest && std::isfinite(overlay.frame->north)))
    overlay.frame.reset();
  if (overlay.disc && !(std::isfinite(overlay.disc->p) && std::isfinite(overlay.disc->b0) &&
                        std::isfinite(overlay.disc->l0) && std::isfinite(overlay.disc->semiDiameter)))
    overlay.disc.reset();
  std::erase_if(overlay.spots, [](const SpotMarker& spot) { return !drawable(spot.at); });
  std::erase_if(overlay.limbPoints, [](photo::PixelPoint point) { return !drawable(point); });
  std::erase_if(overlay.driftPoints, [](photo::PixelPoint point) { return !drawable(point); });
  if (overlay.frame) {
    const photo::Circle& limb = overlay.frame->limb;
    geometry.limb.reserve(kLimbVertices + 1);
    for (int i = 0; i <= kLimbVertices; ++i) {
      const double a = 2 * std::numbers::pi * i / kLimbVertices;
      geometry.limb.append(QPointF(limb.centre.x + limb.radius * std::cos(a), limb.centre.y + limb.radius * std::sin(a)));
    }
    if (overlay.disc) {
      gridInImage(*overlay.frame, *overlay.disc, overlay.gridStep, geometry);
      const Projection pole = skyPointOf(*overlay.disc, 90, 0);
      if (pole.visible) geometry.pole = pointOf(photo::pixelOfDiscPoint(*overlay.frame, discPointOf(pole.at)));
    }
  }
  for (const photo::SpotMask& mask : overlay.outlines) {
    if (mask.width <= 0 || mask.height <= 0 ||
        mask.cells.size() != static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height))
      continue;
    addBoundary(mask, [](photo::SpotCell c) { return c != photo::SpotCell::Outside; }, geometry.spotEdges);
    addBoundary(mask, [](photo::SpotCell c) { return c == photo::SpotCell::Umbra; }, geometry.umbraEdges);
  }
  geometry.overlay = std::move(overlay);
  return geometry;
}

void paintOverlay(QPainter& painter, const OverlayGeometry& geometry, const PhotoMapping& mapping,
                  const OverlayLook& look) {
  const PhotoOverlay& overlay = geometry.overlay;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(look.textHeight))));
  painter.setFont(font);

  // Lines in image pixels, under the mapping; cosmetic pens keep their device width.
  const QTransform deviceTransform = painter.transform();
  painter.setTransform(mapping.transform(), true);
  const bool fine = geometry.gridStray * mapping.scale > kVisibleStray;
  // The window in image pixels, a line's width around it; a horizontal or vertical piece
  // has an empty bounding rectangle, hence the adjusted one.
  const QRectF inView = painter.combinedTransform().inverted().mapRect(QRectF(painter.viewport()));
  const auto near = [&](QRectF bounds) { return bounds.adjusted(-1, -1, 1, 1); };
  for (const bool strong : {false, true}) {
    if (!overlay.grid) break;
    painter.setPen(strong ? cosmeticPen(kStrongGridInk, look.strongLine) : cosmeticPen(kGridInk, look.thinLine));
    for (const auto& piece : fine ? geometry.fineGrid : geometry.grid)
      if (piece.strong == strong && near(piece.bounds).intersects(inView)) painter.drawPolyline(piece.pixels);
  }
  if (!geometry.limb.isEmpty()) {
    painter.setPen(cosmeticPen(kLimbInk, look.strongLine));
    painter.drawPolyline(geometry.limb);
  }
  painter.setPen(cosmeticPen(kSpotEdgeInk, look.thinLine));
  painter.drawLines(geometry.spotEdges);
  painter.setPen(cosmeticPen(kUmbraEdgeInk, look.thinLine));
  painter.drawLines(geometry.umbraEdges);
  painter.setTransform(deviceTransform);

  // Marks and labels at their device size.
  const double mark = 0.45 * look.textHeight;
  if (overlay.frame && !geometry.limb.isEmpty()) {
    painter.setPen(cosmeticPen(kCompassInk, look.strongLine));
    paintRimMark(painter, *overlay.frame, mapping, 0, kNorthLabel, look);
    paintRimMark(painter, *overlay.frame, mapping, 90, kEastLabel, look);
    if (overlay.disc) {
      painter.setPen(cosmeticPen(kStrongGridInk, look.strongLine));
      paintRimMark(painter, *overlay.frame, mapping, overlay.disc->p, {}, look);
    }
    if (geometry.pole) {
      painter.setPen(Qt::NoPen);
      painter.setBrush(kStrongGridInk);
      painter.drawEllipse(mapping.toDevice({geometry.pole->x(), geometry.pole->y()}), mark / 2, mark / 2);
      painter.setBrush(Qt::NoBrush);
    }
  }
  painter.setPen(cosmeticPen(kSpotInk, look.strongLine));
  for (const SpotMarker& spot : overlay.spots) {
    const QPointF at = mapping.toDevice(spot.at);
    painter.drawEllipse(at, mark, mark);
    drawLabel(painter, at + QPointF(mark + look.textHeight * 0.6, -mark - look.textHeight * 0.3),
              QString::number(spot.number), look.textHeight);
  }
  painter.setPen(cosmeticPen(kPickInk, look.strongLine));
  for (const photo::PixelPoint& point : overlay.limbPoints) {
    const QPointF at = mapping.toDevice(point);
    painter.drawLine(at + QPointF(-mark, -mark), at + QPointF(mark, mark));
    painter.drawLine(at + QPointF(-mark, mark), at + QPointF(mark, -mark));
  }
  painter.setPen(cosmeticPen(kDriftInk, look.strongLine));
  for (std::size_t i = 0; i < overlay.driftPoints.size(); ++i) {
    const QPointF at = mapping.toDevice(overlay.driftPoints[i]);
    painter.drawEllipse(at, mark, mark);
    if (i > 0) painter.drawLine(mapping.toDevice(overlay.driftPoints[i - 1]), at);
  }
  painter.restore();
}

OverlayLook fullResolutionLook(QSize image) noexcept {
  const double side = std::min(image.width(), image.height());
  OverlayLook look;
  look.thinLine = std::max(1.0, side / 800);
  look.strongLine = 2 * look.thinLine;
  look.textHeight = std::max(12.0, side / 60);
  return look;
}

QImage photoWithOverlay(const QImage& display, const PhotoOverlay& overlay) {
  if (display.isNull()) return {};
  QImage out = display.convertToFormat(QImage::Format_RGB32);
  if (out.isNull()) return {};
  QPainter painter(&out);
  paintOverlay(painter, overlayGeometry(overlay), PhotoMapping{}, fullResolutionLook(out.size()));
  painter.end();
  return out;
}

}  // namespace kavrel::disque
