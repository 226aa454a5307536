// kavrel carte-synoptique: the synoptic map of a Carrington rotation made from photographs
// (disque/synoptic_map.h), written as FITS (float32, NaN where blank, Carrington WCS)
// and/or PNG (8-bit grey, black where blank). Reads the images one at a time with Qt's
// readers and CFITSIO; prints the rotation's span, each photograph's instant, L0 and share
// of the map, and the map's size and coverage; each photograph set aside is said on the
// error stream with its reason. Refused for what the user gave (the rotation, the step, an
// option), failed when no photograph could be read or a file not written. Runs in
// kavrel-dessin.
#include <QString>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/painting.h"
#include "cli/qt_host.h"
#include "common/display_mask.h"
#include "common/file_bytes.h"
#include "disque/synoptic_map.h"
#include "image/image_reader.h"
#include "image/png_writer.h"

namespace kavrel::cli {
namespace {

constexpr std::string_view kRotationRefused = "La rotation est un numéro de rotation de Carrington, un entier positif.";
constexpr std::string_view kNoOutput = "Donnez le fichier de la carte : --png FICHIER ou --fits FICHIER.";
constexpr std::string_view kLimbRefused =
    "Le bord se donne par son centre et son rayon en pixels (--limbe CX CY R), trois nombres, le rayon positif";
constexpr std::string_view kNorthRefused = "L'orientation (--nord) est un angle en degrés.";
constexpr std::string_view kOffsetRefused =
    "Le décalage de l'horloge (--decalage-horloge) est un nombre d'heures, de -24 à 24.";

// What the command line gives for every photograph.
struct CommonGeometry {
  std::optional<photo::Circle> limb;
  std::optional<disque::PhotoOrientation> orientation;
  double clockOffsetHours = 0;
};

std::optional<double> optionNumber(const Context& c, const char* name, std::size_t index = 0) {
  const auto found = c.options.find(name);
  if (found == c.options.end()) return std::nullopt;
  return disque::typedNumber(found->second[index], c.decimalSeparator);
}

// --limbe, --nord, --depuis-axe, --est-a-droite, --decalage-horloge; the refusal said when one is wrong.
std::optional<CommonGeometry> givenOptions(const Context& c) {
  CommonGeometry given;
  if (c.options.contains("--limbe")) {
    const auto x = optionNumber(c, "--limbe", 0), y = optionNumber(c, "--limbe", 1), r = optionNumber(c, "--limbe", 2);
    if (!x || !y || !r || !(*r > 0) || !std::isfinite(*x + *y + *r)) return c.err << kLimbRefused << '\n', std::nullopt;
    given.limb = photo::Circle{{*x, *y}, *r};
  }
  const bool oriented = c.options.contains("--nord") || c.options.contains("--depuis-axe") ||
                        c.options.contains("--est-a-droite");
  const std::optional<double> north = c.options.contains("--nord") ? optionNumber(c, "--nord") : 0.0;
  if (!north || !std::isfinite(*north)) return c.err << kNorthRefused << '\n', std::nullopt;
  if (oriented)
    given.orientation = disque::PhotoOrientation{
        c.options.contains("--depuis-axe") ? disque::NorthReference::SolarAxis : disque::NorthReference::Celestial,
        *north, c.options.contains("--est-a-droite")};
  if (c.options.contains("--decalage-horloge")) {
    const auto hours = optionNumber(c, "--decalage-horloge");
    if (!hours || !(std::abs(*hours) <= 24)) return c.err << kOffsetRefused << '\n', std::nullopt;
    given.clockOffsetHours = *hours;
  }
  return given;
}

// Photograph k read, with what the command line gives for it.
disque::SynopticPhoto readPhoto(const std::string& path, const CommonGeometry& given) {
  disque::SynopticPhoto photo;
  photo.name = std::filesystem::path(path).filename().string();
  image::ImageReadOutcome read;
  {
    const QtHost qt;
    read = image::readImageFile(QString::fromStdString(path));
  }
  if (!read.ok())
    photo.notRead = read.refusal;
  else
    photo.file = disque::photoFileOf(std::move(read), photo.name);
  photo.limb = given.limb;
  photo.orientation = given.orientation;
  photo.clockOffsetHours = given.clockOffsetHours;
  return photo;
}

std::string percent(std::size_t part, std::size_t whole, std::string_view separator) {
  return formatMask(100.0 * double(part) / double(whole), "0.0", separator) + " %";
}

// "0,1", "0,25", "1": the step without trailing zeros.
std::string stepText(double step, std::string_view separator) {
  std::string text = formatMask(step, "0.00", separator);
  while (text.ends_with('0')) text.pop_back();
  if (text.ends_with(separator)) text.resize(text.size() - separator.size());
  return text;
}

// The photographs' lines: used ones on the output, set aside on the error stream.
void printPhotos(const disque::SynopticOutcome& made, std::size_t pixels, const Context& c) {
  for (const disque::SynopticPhotoUse& use : made.photos) {
    if (!use.refusal.empty()) {
      c.err << use.name << " : écartée : " << use.refusal << '\n';
      continue;
    }
    c.out << use.name << " : " << disque::synopticInstantText(*use.julianDay) << ", L0 " << disque::angleText(use.l0, c.decimalSeparator) << "°, "
          << percent(use.pixels, pixels, c.decimalSeparator) << " de la carte\n";
  }
}

// The map written to each file asked; failed when one is not.
Status writeMapFiles(const disque::SynopticMap& map, const Context& c) {
  if (const auto png = c.options.find("--png"); png != c.options.end()) {
    const std::vector<std::uint32_t> rows = disque::synopticGreyRows(map);
    const image::PngOutcome bytes =
        image::pngOfRgb32(rows.data(), map.width, map.height, static_cast<std::size_t>(map.width) * 4);
    const std::string why = bytes.bytes.empty()
                                ? bytes.refusal
                                : writeFileWhole(png->second.front(), std::string_view(reinterpret_cast<const char*>(
                                                                                        bytes.bytes.data()),
                                                                                    bytes.bytes.size()));
    if (!why.empty()) return c.err << "Le fichier « " << png->second.front() << " » n'a pas pu être écrit : " << why << '\n', Status::Failed;
    c.out << "Carte écrite : " << png->second.front() << '\n';
  }
  if (const auto fits = c.options.find("--fits"); fits != c.options.end()) {
    const std::string why = image::writeFitsImage(fits->second.front(), map.width, map.height, map.values,
                                                  disque::synopticFitsKeywords(map));
    if (!why.empty()) return c.err << why << '\n', Status::Failed;
    c.out << "Carte écrite : " << fits->second.front() << '\n';
  }
  return Status::Done;
}

}  // namespace

Status writeSynopticMap(const Fields& f, const Context& c) {
  const std::optional<double> rotation = disque::typedNumber(f[0], c.decimalSeparator);
  if (!rotation || !(*rotation >= 1 && *rotation <= 1e5) || *rotation != std::floor(*rotation))
    return c.err << kRotationRefused << '\n', Status::Refused;
  if (!c.options.contains("--png") && !c.options.contains("--fits")) return c.err << kNoOutput << '\n', Status::Refused;
  double step = disque::kDefaultMapStep;
  if (const auto typed = c.options.find("--pas"); typed != c.options.end()) {
    const disque::StepOutcome read = disque::mapStepOf(typed->second.front(), c.decimalSeparator);
    if (!read.step) return c.err << read.refusal << '\n', Status::Refused;
    step = *read.step;
  }
  const std::optional<CommonGeometry> given = givenOptions(c);
  if (!given) return Status::Refused;
  const std::vector<std::string> paths(f.begin() + 1, f.end());
  const disque::SynopticOutcome made = disque::makeSynopticMap(
      {static_cast<int>(*rotation), step, paths.size()}, [&](std::size_t k) { return readPhoto(paths[k], *given); });
  if (!made.map) {
    printPhotos(made, 1, c);
    c.err << made.refusal << '\n';
    const bool noneRead =
        std::none_of(made.photos.begin(), made.photos.end(), [](const auto& p) { return p.fileRead; });
    return !made.photos.empty() && noneRead ? Status::Failed : Status::Refused;
  }
  const disque::SynopticMap& map = *made.map;
  const std::size_t pixels = map.values.size();
  c.out << "Rotation " << map.rotation << " : du " << disque::synopticInstantText(map.start) << " au "
        << disque::synopticInstantText(map.end) << '\n';
  printPhotos(made, pixels, c);
  c.out << "Carte : " << map.width << " × " << map.height << " pixels de "
        << stepText(map.step, c.decimalSeparator) << "°, " << percent(map.covered(), pixels, c.decimalSeparator)
        << " couverts\n";
  return writeMapFiles(map, c);
}

}  // namespace kavrel::cli
