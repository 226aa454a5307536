// The printed page of a photograph and the saved picture's caption.
//
// The page: the heading lines (the instant, the file, the orientation, the limb), the
// image as large as the width and two thirds of the height allow, with its overlay (the
// limb, the grid, the spots) painted over it as lines at the printer's resolution, and the
// spots' table under it, continued with its column headings on further pages when it is
// long. Everything lies at least 10 mm from the sheet's edges, whatever the printer's
// margins; a line too long for the width is wrapped, the file's line shortened in its
// middle, a cell too wide for its column likewise.
//
// The caption: a band under the saved image with its lines of text, at a height readable
// when the image is shown whole, wrapped to the image's width.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "programs/disque/photo_overlay.h"

class QPagedPaintDevice;
class QPainter;

namespace kavrel::disque {

struct PhotoPage {
  QString heading;       // the instant, as the drawn disc's page gives it
  QString fileLine;      // the image's file, format and size
  QStringList frameLines;  // the orientation, the limb
  QImage picture;        // the display, without the overlay
  PhotoOverlay overlay;  // drawn over it in the page's lines
  QStringList columns;
  std::vector<std::vector<std::string>> rows;  // a cell a column
};

// The least distance from the sheet's edges to anything painted, millimetres.
inline constexpr double kPageMarginMm = 10;

// Paints on an active painter over `device`, origin at the printable area's top-left.
// False when there is no picture, the sheet leaves no room inside its margins, or a new
// page cannot be begun.
bool paintPhotoPage(QPainter& painter, QPagedPaintDevice& device, const PhotoPage& page);

// The picture with a band of `lines` under it (RGB32); null for a null picture or when
// there is no memory for it. No lines, no band.
[[nodiscard]] QImage captionedPicture(const QImage& picture, const QStringList& lines);
// The display (8-bit grey, or any format QPainter draws) with its overlay at full
// resolution and the band of `lines` under it, made in one image (RGB32); null for a null
// display or when there is no memory for it.
[[nodiscard]] QImage captionedPhoto(const QImage& display, const PhotoOverlay& overlay, const QStringList& lines);
// That picture as a PNG file's bytes (image/png_writer.h); empty, with the reason in
// French, when it could not be made.
[[nodiscard]] QByteArray captionedPng(const QImage& display, const PhotoOverlay& overlay, const QStringList& lines,
                                      QString* reason = nullptr);

}  // namespace kavrel::disque
