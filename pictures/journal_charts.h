// The journal's pictures painted (chart_series.h says what they show): on screen in the
// window's tab, and written by `kavrel journal graphique` as PNG, SVG or PDF.
//
// Painted with QPainter alone, so that one code path serves the screen, an image, an SVG
// and a PDF, the last two in vectors, without another library to install. Every length is
// in units of a picture kChartWidth wide scaled to the device, so that the picture looks
// the same at any size. Series are told apart by their marks and dashes as well as by
// their ink, and read once printed in black and white.
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <functional>

#include "journal/chart_series.h"

class QPainter;

namespace kavrel::journal {

enum class ChartFormat { Png, Svg, Pdf };

// The picture's own size: PNG pixels, SVG units; a PDF is an A4 landscape page.
inline constexpr int kChartWidth = 1100;
inline constexpr int kChartHeight = 740;

// "%1" the path, "%2" the reason ("plus de place sur le disque"). A file it would replace
// is left as it was.
inline constexpr char kChartNotWritten[] = "Le fichier « %1 » n'a pas pu être écrit : %2.";

// Paints the chart into `area` of an active painter, white background included.
void paintChart(QPainter& painter, const QRectF& area, const Chart& chart);

// Any picture painted in a rectangle, drawn at the charts' size.
using Painting = std::function<void(QPainter&, const QRectF&)>;

[[nodiscard]] QImage paintingImage(const Painting& paint, int width = kChartWidth, int height = kChartHeight);

// The painting written whole at `path` (a PDF on an A4 landscape page, its proportions
// kept); false with the French reason in `error` (kChartNotWritten) when it could not be,
// a file it would replace left as it was. `description`: the SVG's.
bool writePainting(const QString& path, ChartFormat format, const Painting& paint, const QString& title,
                   QString* error, const QString& creator = QStringLiteral("Kavrel Journal"),
                   const QString& description = {});

[[nodiscard]] QImage chartImage(const Chart& chart, int width = kChartWidth, int height = kChartHeight);

// The chart written whole at `path`; false with the French reason in `error` (when given)
// when it could not be. `creator`: the program a PDF names as its maker.
bool writeChart(const QString& path, ChartFormat format, const Chart& chart, QString* error,
                const QString& creator = QStringLiteral("Kavrel Journal"));

}  // namespace kavrel::journal
