// The printed page of the disc: one line of heading (date, time UT, P, B0, L0, rotation),
// the disc drawn at its true diameter on the paper, and the table of the spots under it.
//
// The page is A4 portrait with margins of 15 mm; the disc is centred across the page.
// Its diameter is in millimetres on the paper (kMinDiameterMm..kMaxDiameterMm), so that
// a drawing made on a projection screen of that size lies on it exactly.
#pragma once

#include <QString>
#include <vector>

#include "sun/heliographic.h"

class QPainter;

namespace kavrel::disque {

enum class PageFormat { Pdf, Svg };

inline constexpr double kDefaultDiameterMm = 150;
inline constexpr double kMinDiameterMm = 50;
inline constexpr double kMaxDiameterMm = 250;

struct PageOptions {
  double diameterMm = 150;   // kMinDiameterMm..kMaxDiameterMm
  bool eastRight = false;    // as on a projection screen
  int gridStep = 10;         // degrees between parallels and between meridians: 5, 10 or 15
};

// A spot of the table, as measured: its disc point; the page computes B, L and DMC.
struct PageSpot {
  int number = 0;
  DiscPoint at{};
};

// What the page shows besides the disc.
struct PageContent {
  double julianDay = 0;
  QString decimalSeparator = QStringLiteral(",");
  std::vector<PageSpot> spots{};
};

// Shown when the file cannot be written ("%1" the path).
inline constexpr char kPageNotWritten[] = "Le fichier « %1 » n'a pas pu être écrit.";
// Shown when the options are outside what the page can draw.
inline constexpr char kDiameterRefused[] = "Le diamètre doit être compris entre 50 et 250 mm.";
inline constexpr char kStepRefused[] = "Le pas de la grille doit être de 5, 10 ou 15 degrés.";

// The page without spots, written as a PDF or SVG file at `path`. False, with a French
// reason in `error` (when given), when the options are refused or the file cannot be
// written.
bool writeDiscPage(const QString& path, PageFormat format, double julianDay, const PageOptions& options,
                   QString* error);

// The same with the heading's numbers in the given separator and the spots' table.
bool writeDiscPage(const QString& path, PageFormat format, const PageContent& content,
                   const PageOptions& options, QString* error);

// Empty when the options can be drawn, else the French reason.
[[nodiscard]] QString refusalOf(const PageOptions& options);

// Paints the page onto an active painter whose origin is the top-left corner of an A4
// portrait sheet, at `dotsPerMm` device units per millimetre (a printer in full-page mode,
// a PDF or SVG writer, an image).
void paintDiscPage(QPainter& painter, double dotsPerMm, const PageContent& content, const PageOptions& options);

}  // namespace kavrel::disque
