// The regions' pictures (journal/regions.h), painted with QPainter alone as the journal's
// charts are (journal_charts.h): on screen in the Journal window's tab, and written by
// `kavrel journal rotation` and `carte` as PNG, SVG or PDF.
//   - the rotation picture: each region's sidereal rate (degrees a day) against its
//     latitude with its standard error, the law fitted over them, A + B sin²φ, and the law
//     Newton and Nunn (1951) published for sunspot groups, its source written under it;
//   - the map of one Carrington rotation as observers draw it: Carrington longitude from
//     360° on the left to 0° on the right, latitude from 60° S to 60° N, the days of the
//     central meridian's passage along the top, every region a mark whose area is its
//     largest area's, labelled with its number (NOAA's or Greenwich's), or with its rank
//     in brackets when it has none; the observer's regions as filled discs, the imported
//     ones as open squares;
//   - one region's area (millionths of the hemisphere) against time.
// Lengths are in units of a picture kChartWidth wide scaled to the device; marks differ
// by their shape and dashes as well as their ink, and read printed in black and white.
// Where it stops: it paints what it is given; the regions, their numbers and the law are
// computed by journal/regions.h.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/regions.h"
#include "pictures/journal_charts.h"

class QPainter;

namespace kavrel::journal {

// One source's regions with the sightings they are made of (Region::sightings indexes
// `sightings`).
struct RegionSet {
  std::vector<Region> regions;
  std::vector<Sighting> sightings;
};

// ---------------------------------------------------------------------------------------
// The rotation picture.

struct RotationPicture {
  RotationLaw law;
  std::string subtitle;  // "Régions de l'observateur, du 2014-01-01 au 2014-12-31"
  std::string decimalSeparator = ",";
};

// Where the rotation picture places a latitude (degrees) and a rate (degrees a day) when
// painted into `area`: the same reckoning as the painting's, for a window's pointer.
struct PlotFrame {
  QRectF plot;
  double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1;
  [[nodiscard]] QPointF at(double x, double y) const {
    return {plot.left() + (x - xLow) / (xHigh - xLow) * plot.width(),
            plot.bottom() - (y - yLow) / (yHigh - yLow) * plot.height()};
  }
};
[[nodiscard]] PlotFrame rotationPictureFrame(const QRectF& area, const RotationPicture& picture);
void paintRotationPicture(QPainter& painter, const QRectF& area, const RotationPicture& picture);

// ---------------------------------------------------------------------------------------
// The map of one rotation.

struct MapMark {
  double longitude = 0;  // Carrington, degrees
  double latitude = 0;   // degrees, south negative
  std::optional<double> areaMsh;
  std::string label;      // "12345", or "(7)" for a region without number
  bool imported = false;  // one of the imported source's, else the observer's
};
struct RotationMap {
  int rotation = 0;
  double start = 0;  // Julian days (UTC) of the rotation's start and end
  double end = 0;
  std::vector<MapMark> marks;
  std::string importedName;  // "Greenwich", "SRS"
};

// The regions of both sets whose longitude passed the central meridian during `rotation`
// while they were seen (a sighting within seven days of that passage: the half of a
// rotation a region stays on the disc); none for a rotation the ephemeris cannot place.
[[nodiscard]] std::optional<RotationMap> rotationMap(int rotation, const RegionSet& observer,
                                                     const RegionSet& imported, std::string_view importedName);

// The map's frame within `area`: x the longitude from 360 to 0, y the latitude from
// +60 to -60.
[[nodiscard]] PlotFrame rotationMapFrame(const QRectF& area);
void paintRotationMap(QPainter& painter, const QRectF& area, const RotationMap& map);

// ---------------------------------------------------------------------------------------
// One region's area against time.

struct RegionAreaPicture {
  Region region;
  std::vector<Sighting> sightings;  // the region's, any order
};
void paintRegionArea(QPainter& painter, const QRectF& area, const RegionAreaPicture& picture);

}  // namespace kavrel::journal
