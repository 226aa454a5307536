// The actions of kavrel that measure a photograph of the Sun: its limb, the heliographic
// coordinates of a pixel, the area of a spot. Each reads the image file, finds the limb
// (or takes the one given), calls the measuring core (disque/photo_reduction.h) and
// prints its lines: pixels, degrees, millionths of the hemisphere. Failed when the file
// cannot be read, refused for what the user gave (a field, an option, a point off the
// disc, an image without a limb). Runs in kavrel-dessin: Qt Gui reads the images.
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/painting.h"
#include "cli/qt_host.h"
#include "common/julian_day.h"
#include "image/image_reader.h"
#include "disque/photo_reduction.h"
#include "sun/heliographic.h"
#include "sun/precise_aspect.h"

namespace kavrel::cli {
namespace {

constexpr std::string_view kPixelMessage = "Les positions en pixels doivent être des nombres";
constexpr std::string_view kLimbMessage =
    "Le bord se donne par son centre et son rayon en pixels (--limbe CX CY R), trois nombres, "
    "le rayon positif";
constexpr std::string_view kNorthTwiceMessage = "kavrel : --nord et --derive ne se donnent pas ensemble";
constexpr std::string_view kDriftFromPoleMessage =
    "kavrel : la dérive donne le nord céleste ; --depuis-axe ne s'y ajoute pas";
constexpr std::string_view kNoFileInstant =
    "L'instant de la prise de vue n'a pas été lu dans le fichier : donnez JOUR MOIS ANNEE HEURE MINUTE avant X Y";

// The values of an option as numbers; nothing when one of them is not a number.
std::optional<std::vector<double>> numbers(const std::vector<std::string>& texts, std::string_view separator) {
  std::vector<double> values;
  for (const std::string& text : texts) {
    const auto value = disque::typedNumber(text, separator);
    if (!value) return std::nullopt;
    values.push_back(*value);
  }
  return values;
}

// The image read into the engine, its limb found or given with --limbe (unless
// `limbGiven` later); the exit status when it is not.
Status openPhoto(disque::PhotoReduction& engine, const std::string& path, const Context& c, bool limbGiven = false) {
  image::ImageReadOutcome read;
  {
    const QtHost qt;
    read = image::readImageFile(QString::fromStdString(path));
  }
  if (!read.ok()) {
    c.err << read.refusal << '\n';
    return Status::Failed;
  }
  const disque::OpenOutcome opened =
      engine.open(disque::photoFileOf(std::move(read), std::filesystem::path(path).filename().string()));
  if (const auto given = c.options.find("--limbe"); given != c.options.end()) {
    const auto v = numbers(given->second, c.decimalSeparator);
    if (!v || !engine.giveLimb({{(*v)[0], (*v)[1]}, (*v)[2]}, disque::LimbSource::Given).done) {
      c.err << kLimbMessage << '\n';
      return Status::Refused;
    }
    return Status::Done;
  }
  if (!opened.limbMissing.empty() && !limbGiven) {
    c.err << opened.limbMissing << '\n';
    return Status::Refused;
  }
  return Status::Done;
}

// An outcome refused, said; its exit status.
Status refused(const disque::Outcome& outcome, const Context& c) {
  c.err << outcome.text << '\n';
  return Status::Refused;
}

std::optional<photo::PixelPoint> pixelOf(const std::string& x, const std::string& y, const Context& c) {
  const auto px = disque::typedNumber(x, c.decimalSeparator);
  const auto py = disque::typedNumber(y, c.decimalSeparator);
  if (!px || !py) {
    c.err << kPixelMessage << '\n';
    return std::nullopt;
  }
  return photo::PixelPoint{*px, *py};
}

std::string areaLine(std::string_view what, const photo::Area& area, std::string_view separator) {
  return std::string(what) + " : " + disque::areaText(area.hemisphere, separator) + " MSH (" +
         disque::areaText(area.projected, separator) + " millionièmes du disque, " + std::to_string(area.pixels) +
         " pixels)";
}

// --nord or --derive, with --depuis-axe and --est-a-droite, given to the engine; the exit
// status when refused.
Status orientPhoto(disque::PhotoReduction& engine, const Context& c) {
  // A header's orientation stands unless the command line gives one.
  const bool given = c.options.contains("--nord") || c.options.contains("--derive") ||
                     c.options.contains("--depuis-axe") || c.options.contains("--est-a-droite");
  if (!given && engine.orientation() && engine.orientation()->reference == disque::NorthReference::Header)
    return Status::Done;
  const bool mirrored = c.options.contains("--est-a-droite");
  const auto north = c.options.find("--nord");
  const auto reference =
      c.options.contains("--depuis-axe") ? disque::NorthReference::SolarAxis : disque::NorthReference::Celestial;
  const disque::Outcome oriented = engine.orient(north == c.options.end() ? "0" : north->second.front(), reference,
                                                 mirrored);
  if (!oriented.done) return refused(oriented, c);
  const auto drift = c.options.find("--derive");
  if (drift == c.options.end()) return Status::Done;
  const auto v = numbers(drift->second, c.decimalSeparator);
  if (!v) {
    c.err << kPixelMessage << '\n';
    return Status::Refused;
  }
  engine.startPicking(disque::Picking::Drift);
  engine.click({(*v)[0], (*v)[1]});
  if (const disque::Outcome north2 = engine.click({(*v)[2], (*v)[3]}); !north2.done) return refused(north2, c);
  return Status::Done;
}

}  // namespace

Status printLimb(const Fields& f, const Context& c) {
  const std::string_view sep = c.decimalSeparator;
  disque::PhotoReduction engine{std::string(sep)};
  const auto given = c.options.find("--bord");
  std::optional<std::vector<double>> points;
  if (given != c.options.end() && !(points = numbers(given->second, sep))) {
    c.err << kPixelMessage << '\n';
    return Status::Refused;
  }
  if (const Status status = openPhoto(engine, f[0], c, points.has_value()); status != Status::Done) return status;
  if (points) {
    const auto& v = *points;
    engine.startPicking(disque::Picking::Limb);
    for (std::size_t i = 0; i < 6; i += 2)
      if (const disque::Outcome picked = engine.click({v[i], v[i + 1]}); !picked.done) return refused(picked, c);
    engine.confirmLimb();
  }
  const disque::PhotoLimb& limb = *engine.limb();
  c.out << "Centre : " << disque::pixelText(limb.circle.centre.x, sep) << ' '
        << disque::pixelText(limb.circle.centre.y, sep) << " px\n"
        << "Rayon : " << disque::pixelText(limb.circle.radius, sep) << " px\n";
  if (limb.source == disque::LimbSource::Found)
    c.out << "Écart quadratique : " << disque::pixelText(limb.rms, sep) << " px (" << limb.points << " points)\n";
  if (const std::string why = engine.limbSourceReason(); !why.empty()) c.out << why << '\n';
  c.out << "Source : "
        << (limb.source == disque::LimbSource::Header ? "en-tête"
            : points                                  ? "trois points"
                                                      : "image")
        << '\n';
  return Status::Done;
}

Status printPixelSpot(const Fields& f, const Context& c) {
  const bool byDrift = c.options.contains("--derive");
  if (byDrift && c.options.contains("--nord")) {
    c.err << kNorthTwiceMessage << '\n';
    return Status::Refused;
  }
  if (byDrift && c.options.contains("--depuis-axe")) {
    c.err << kDriftFromPoleMessage << '\n';
    return Status::Refused;
  }
  // IMAGE X Y, the instant the file's, or IMAGE J M A H MIN X Y.
  const bool instantGiven = f.size() == 8;
  const std::optional<photo::PixelPoint> pixel = pixelOf(f[f.size() - 2], f[f.size() - 1], c);
  if (!pixel) return Status::Refused;

  disque::PhotoReduction engine{std::string(c.decimalSeparator)};
  if (const Status status = openPhoto(engine, f[0], c); status != Status::Done) return status;
  if (const auto offset = c.options.find("--decalage-horloge"); offset != c.options.end()) {
    if (const disque::Outcome set = engine.setClockOffset(offset->second.front()); !set.done) return refused(set, c);
  }
  if (instantGiven) {
    const DateTexts date{f[1], f[2], f[3], f[4], f[5]};
    // A date left empty gives no instant: B, L and DMC then show empty, as in the window.
    engine.takeTypedInstant(anyEmpty(date) ? std::nullopt : preciseDiscInstant(date));
  } else if (!engine.instant()) {
    c.err << kNoFileInstant << '\n';
    return Status::Refused;
  }
  if (const Status status = orientPhoto(engine, c); status != Status::Done) return status;
  const disque::PixelReadout read = engine.pointer(*pixel);
  if (!read.state.empty()) {
    c.err << read.state << '\n';
    return Status::Refused;
  }
  c.out << "Angle de position : " << read.cells[0] << "°\n"
        << "Distance au centre : " << read.cells[1] << '\n'
        << "B : " << read.cells[2] << "°\n"
        << "L : " << read.cells[3] << "°\n"
        << "DMC : " << read.cells[4] << "°\n";
  return Status::Done;
}

Status printSpotArea(const Fields& f, const Context& c) {
  const std::string_view sep = c.decimalSeparator;
  const std::optional<photo::PixelPoint> pixel = pixelOf(f[1], f[2], c);
  if (!pixel) return Status::Refused;
  disque::PhotoReduction engine{std::string(sep)};
  const auto given = c.options.find("--seuils");
  const auto boundary =
      c.options.contains("--ombre-fixe") ? photo::UmbraBoundary::FixedShare : photo::UmbraBoundary::SpotHistogram;
  const std::string spot = given != c.options.end() ? given->second[0] : disque::thresholdText(engine.thresholds().spot, sep);
  const std::string umbra = given != c.options.end() ? given->second[1] : disque::thresholdText(engine.thresholds().umbra, sep);
  if (const disque::Outcome set = engine.setThresholds(spot, umbra, boundary); !set.done) return refused(set, c);
  if (const Status status = openPhoto(engine, f[0], c); status != Status::Done) return status;
  if (const disque::Outcome added = engine.addSpot(*pixel); !added.done) return refused(added, c);
  if (const disque::Outcome measured = engine.measure(std::nullopt); !measured.done) return refused(measured, c);
  const photo::SpotMeasure& measure = *engine.spots().back().measure;
  c.out << areaLine("Tache", measure.whole, sep) << '\n'
        << areaLine("Ombre", measure.umbra, sep) << '\n'
        << "Seuils : " << disque::thresholdsText(measure, sep) << '\n';
  return Status::Done;
}

}  // namespace kavrel::cli
