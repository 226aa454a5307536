// A month's bulletin of the network (reseau/bulletin.h) on A4 portrait sheets: the title
// and the summary, the monthly picture, the observers' table, the network's days in two
// blocks side by side; a table too long for the sheet goes on to the next, under the
// title followed by "(suite)", every sheet numbered at its foot.
//
// Laid out in millimetres from the sheet's corner, within margins of kBulletinMarginMm,
// and scaled by the device's dots per millimetre once, so that the same pages are painted
// into a PDF file and on a printer (ui/document_printer.h, with bulletinPageLayout()).
// A cell's text too wide for its column (a long observer's code) is shortened with "…",
// never drawn beyond it.
#pragma once

#include <QPageLayout>
#include <QString>

#include "reseau/bulletin.h"

class QPainter;
class QPagedPaintDevice;

namespace kavrel::reseau {

inline constexpr double kBulletinMarginMm = 12;

// "%1" the path, "%2" the reason. A file it would replace is left as it was.
inline constexpr char kBulletinNotWritten[] = "Le fichier « %1 » n'a pas pu être écrit : %2.";

// The sheets the bulletin takes: 1 or more.
[[nodiscard]] int bulletinPageCount(const Bulletin& bulletin);

// The sheet `page` (0 the first) painted onto an active painter whose origin is the sheet's
// top-left corner, at `dotsPerMm` device units per millimetre.
void paintBulletinPage(QPainter& painter, double dotsPerMm, const Bulletin& bulletin, int page);

// Every sheet onto a paged device the painter is begun on (a PDF writer, the document
// printer's device), a new page between two; false when a page could not be begun.
bool paintBulletin(QPainter& painter, QPagedPaintDevice& device, const Bulletin& bulletin);

// A4 portrait without margins: the layout to give the document printer, whose painter's
// origin is then the sheet's corner.
[[nodiscard]] QPageLayout bulletinPageLayout();

// The bulletin written whole as a PDF file at `path`; false, with the French reason in
// `error` (when given), when it could not be.
bool writeBulletin(const QString& path, const Bulletin& bulletin, QString* error);

}  // namespace kavrel::reseau
