// The printed page of the disc: one line of heading (date, time UT, P, B0, L0, rotation)
// and a line saying how the disc is drawn, the disc at its true diameter on the paper,
// and the table of the spots under it.
//
// The diameter is in millimetres on the paper (kMinDiameterMm..kMaxDiameterMm of
// disc_texts.h, with the page's other texts and its options' refusals), so that a
// drawing made on a projection screen of that size lies on it exactly. The sheet is A4
// portrait up to kLargestOnA4Mm, A3 portrait beyond (a 250 mm disc does not fit across
// A4). The disc is centred across the sheet; what the table cannot hold on the page is
// said in its last line.
#pragma once

#include <QPageSize>
#include <QString>
#include <string>
#include <vector>

#include "pictures/disc_drawing.h"
#include "disque/disc_spots.h"
#include "disque/disc_texts.h"
#include "sun/heliographic.h"

class QPainter;

namespace kavrel::disque {

enum class PageFormat { Pdf, Svg };

inline constexpr double kLargestOnA4Mm = 160;

// Shown when the file cannot be written ("%1" the path, "%2" the reason: "plus de place
// sur le disque"). The page is written whole or not at all: a file it would replace is
// left as it was.
inline constexpr char kPageNotWritten[] = "Le fichier « %1 » n'a pas pu être écrit : %2.";
inline constexpr char kInstantNotDrawn[] = "l'instant ne peut pas être dessiné";

// The page without spots, written as a PDF or SVG file at `path`. False, with a French
// reason in `error` (when given), when the options are refused or the file cannot be
// written.
bool writeDiscPage(const QString& path, PageFormat format, double julianDay, const PageOptions& options,
                   QString* error);

// The same with the heading's numbers in the given separator and the spots' table.
bool writeDiscPage(const QString& path, PageFormat format, const PageContent& content,
                   const PageOptions& options, QString* error);

// The sheet a disc of that diameter is printed on.
[[nodiscard]] QPageSize pageSizeFor(double diameterMm);

// Paints the page onto an active painter whose origin is the top-left corner of the sheet
// pageSizeFor(options.diameterMm), portrait, at `dotsPerMm` device units per millimetre (a
// printer in full-page mode, a PDF or SVG writer, an image).
void paintDiscPage(QPainter& painter, double dotsPerMm, const PageContent& content, const PageOptions& options);

}  // namespace kavrel::disque
