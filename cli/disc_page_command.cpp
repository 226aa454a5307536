// kavrel disque: the printed page of the disc at an instant, without spots, written whole
// as PDF or SVG by pictures/disc_page.h (the disc's diameter in millimetres, the grid's
// step in degrees). Runs in kavrel-dessin: Qt Gui (see cli/painting.h).
#include <QString>

#include <cmath>
#include <optional>

#include "cli/painting.h"
#include "cli/qt_host.h"
#include "common/display_mask.h"
#include "common/field_check.h"
#include "common/julian_day.h"
#include "common/strict_number.h"
#include "disque/disc_texts.h"
#include "pictures/disc_page.h"
#include "sun/precise_aspect.h"

namespace kavrel::cli {
namespace {

constexpr std::string_view kImpossibleMessage = "Calcul impossible";
constexpr std::string_view kNoPageFile = "kavrel : indiquer le fichier à écrire, --pdf FICHIER ou --svg FICHIER";
constexpr std::string_view kTwoPageFiles = "kavrel : un seul fichier à la fois, --pdf FICHIER ou --svg FICHIER";

// The options of the page; refused (said) when one is out of its range.
std::optional<disque::PageOptions> pageOptions(const Context& c) {
  disque::PageOptions options;
  if (c.options.contains("--est-a-droite")) options.orientation = DrawingOrientation::EastRight;
  if (const auto given = c.options.find("--diametre"); given != c.options.end()) {
    const auto diameter = readTerminalNumber(given->second.front(), c.decimalSeparator);
    options.diameterMm = diameter ? *diameter : std::nan("");
  }
  if (const auto given = c.options.find("--pas"); given != c.options.end()) {
    const auto step = parseStrictNumber(given->second.front(), ".");
    // Not a whole number of degrees: a step the page refuses.
    options.step.degrees = step && *step == std::trunc(*step) && std::fabs(*step) < 1000 ? static_cast<int>(*step) : 0;
  }
  if (const std::string refusal = disque::refusalOf(options); !refusal.empty()) {
    c.err << refusal << '\n';
    return std::nullopt;
  }
  return options;
}

}  // namespace

Status writeDiscPageFile(const Fields& f, const Context& c) {
  const bool pdf = c.options.contains("--pdf");
  const bool svg = c.options.contains("--svg");
  if (pdf == svg) {
    c.err << (pdf ? kTwoPageFiles : kNoPageFile) << '\n';
    return Status::Refused;
  }
  const DateTexts date{f[0], f[1], f[2], f[3], f[4]};
  if (anyEmpty(date)) {
    c.err << disque::kIncompleteDate << '\n';
    return Status::Refused;
  }

  const std::optional<disque::PageOptions> options = pageOptions(c);
  if (!options) return Status::Refused;
  const std::optional<DiscInstant> instant = preciseDiscInstant(date);
  if (!instant) return c.say(kImpossibleMessage, Status::Failed);

  const QtHost qt;
  const QString path = QString::fromStdString(pdf ? c.options.at("--pdf").front() : c.options.at("--svg").front());
  QString error;
  const bool written = disque::writeDiscPage(path, pdf ? disque::PageFormat::Pdf : disque::PageFormat::Svg,
                                             instant->julianDay, *options, &error);
  if (!written) return c.say(error.toStdString(), Status::Failed);
  return Status::Done;
}

}  // namespace kavrel::cli
