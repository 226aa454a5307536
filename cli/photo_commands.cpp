#include "cli/photo_commands.h"

#include <QCoreApplication>
#include <QString>

#include <cmath>
#include <memory>

#include "common/display_mask.h"
#include "common/julian_day.h"
#include "image/image_reader.h"
#include "photo/image_orientation.h"
#include "photo/limb.h"
#include "photo/spot_area.h"
#include "sun/heliographic.h"
#include "sun/precise_aspect.h"

namespace kavrel::cli {
namespace {

constexpr int kDone = 0;
constexpr int kUnreadable = 1;
constexpr int kRefused = 2;

constexpr std::string_view kPixelMessage = "Les positions en pixels doivent être des nombres";
constexpr std::string_view kNorthMessage = "L'orientation (--nord) doit être un nombre de degrés";
constexpr std::string_view kLimbMessage =
    "Le bord se donne par son centre et son rayon en pixels (--limbe CX CY R), trois nombres, "
    "le rayon positif";
constexpr std::string_view kNorthTwiceMessage = "kavrel : --nord et --derive ne se donnent pas ensemble";
constexpr std::string_view kDriftFromPoleMessage =
    "kavrel : la dérive donne le nord céleste ; --depuis-axe ne s'y ajoute pas";
constexpr std::string_view kNoInstantMessage =
    "La date et l'heure doivent être complètes pour orienter l'image sur le pôle du Soleil";

struct Measured {
  image::ImageReadOutcome read;
  std::optional<photo::Circle> limb;
  std::optional<photo::Limb> fitted;  // the automatic fit, when it was made
  int status = kDone;
};

// The values of an option as numbers; nothing when one of them is not a number.
std::optional<std::vector<double>> numbers(const std::vector<std::string>& texts, std::string_view separator) {
  std::vector<double> values;
  for (const std::string& text : texts) {
    const auto value = readTerminalNumber(text, separator);
    if (!value) return std::nullopt;
    values.push_back(*value);
  }
  return values;
}

// Qt's image plugins (JPEG, TIFF) are found through the application object; one lives
// while a command reads its image, and is gone before the program's statics are.
class QtForImages {
 public:
  QtForImages() : m_previous(qInstallMessageHandler(dropNotices)) {
    if (QCoreApplication::instance() == nullptr) m_application = std::make_unique<QCoreApplication>(m_argc, m_argv);
  }
  ~QtForImages() { qInstallMessageHandler(m_previous); }
  QtForImages(const QtForImages&) = delete;
  QtForImages& operator=(const QtForImages&) = delete;

 private:
  int m_argc = 1;
  char m_name[7] = "kavrel";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<QCoreApplication> m_application;
  QtMessageHandler m_previous;

  // The decoders' own complaints ("libpng error: Read Error") are not the command's
  // output: the refusal says what went wrong.
  static void dropNotices(QtMsgType, const QMessageLogContext&, const QString&) {}
};

// Reads the image and finds its limb, or takes the one given with --limbe.
Measured readAndFindLimb(const std::string& path, const Context& c) {
  Measured m;
  const QtForImages qt;
  m.read = image::readImageFile(QString::fromStdString(path));
  if (!m.read.ok()) {
    c.err << m.read.refusal << '\n';
    m.status = kUnreadable;
    return m;
  }
  if (const auto given = c.options.find("--limbe"); given != c.options.end()) {
    const auto values = numbers(given->second, c.decimalSeparator);
    if (!values || !((*values)[2] > 0) || !std::isfinite((*values)[2])) {
      c.err << kLimbMessage << '\n';
      m.status = kRefused;
      return m;
    }
    m.limb = photo::Circle{{(*values)[0], (*values)[1]}, (*values)[2]};
    return m;
  }
  const photo::LimbOutcome found = photo::findLimb(m.read.image.view());
  if (!found.limb) {
    c.err << found.reason << '\n';
    m.status = kRefused;
    return m;
  }
  m.fitted = found.limb;
  m.limb = found.limb->circle;
  return m;
}

std::optional<photo::PixelPoint> pixelOf(const std::string& x, const std::string& y, const Context& c) {
  const auto px = readTerminalNumber(x, c.decimalSeparator);
  const auto py = readTerminalNumber(y, c.decimalSeparator);
  if (!px || !py) {
    c.err << kPixelMessage << '\n';
    return std::nullopt;
  }
  return photo::PixelPoint{*px, *py};
}

std::string hundredths(double value, std::string_view separator) { return formatMask(value, "0.00", separator); }

// A position angle to hundredths in 0..360: 359.999 shows "0,00", not "360,00".
std::string positionAngleText(double degrees, std::string_view separator) {
  const std::string zero = "0" + std::string(separator) + "00";
  const std::string shown = hundredths(degrees, separator);
  return shown == "360" + std::string(separator) + "00" ? zero : shown;
}

std::string areaLine(std::string_view what, const photo::Area& area, std::string_view separator) {
  return std::string(what) + " : " + formatMask(area.hemisphere, "0", separator) + " MSH (" +
         formatMask(area.projected, "0", separator) + " millionièmes du disque, " + std::to_string(area.pixels) +
         " pixels)";
}

}  // namespace

int printLimb(const Fields& f, const Context& c) {
  const std::string_view sep = c.decimalSeparator;
  std::optional<photo::Limb> fitted;
  photo::Circle circle;
  if (const auto given = c.options.find("--bord"); given != c.options.end()) {
    const QtForImages qt;
    // The image must still be readable: the points are meant on it.
    const image::ImageReadOutcome read = image::readImageFile(QString::fromStdString(f[0]));
    if (!read.ok()) {
      c.err << read.refusal << '\n';
      return kUnreadable;
    }
    const auto values = numbers(given->second, sep);
    if (!values) {
      c.err << kPixelMessage << '\n';
      return kRefused;
    }
    const auto& v = *values;
    const photo::CircleOutcome through = photo::circleThroughPoints({v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]});
    if (!through.circle) {
      c.err << through.reason << '\n';
      return kRefused;
    }
    circle = *through.circle;
  } else {
    const Measured m = readAndFindLimb(f[0], c);
    if (m.status != kDone) return m.status;
    fitted = m.fitted;
    circle = *m.limb;
  }
  c.out << "Centre : " << hundredths(circle.centre.x, sep) << ' ' << hundredths(circle.centre.y, sep) << " px\n"
        << "Rayon : " << hundredths(circle.radius, sep) << " px\n";
  if (fitted)
    c.out << "Écart quadratique : " << hundredths(fitted->rms, sep) << " px (" << fitted->points << " points)\n";
  return kDone;
}

int printPixelSpot(const Fields& f, const Context& c) {
  const bool byDrift = c.options.contains("--derive");
  if (byDrift && c.options.contains("--nord")) {
    c.err << kNorthTwiceMessage << '\n';
    return kRefused;
  }
  if (byDrift && c.options.contains("--depuis-axe")) {
    c.err << kDriftFromPoleMessage << '\n';
    return kRefused;
  }
  photo::ImageOrientation orientation;
  orientation.mirrored = c.options.contains("--est-a-droite");
  if (byDrift) {
    const auto v = numbers(c.options.at("--derive"), c.decimalSeparator);
    if (!v) {
      c.err << kPixelMessage << '\n';
      return kRefused;
    }
    orientation.given = photo::NorthGiven::Drift;
    orientation.driftFrom = {(*v)[0], (*v)[1]};
    orientation.driftTo = {(*v)[2], (*v)[3]};
  } else {
    orientation.given = c.options.contains("--depuis-axe") ? photo::NorthGiven::Solar : photo::NorthGiven::Celestial;
    if (const auto given = c.options.find("--nord"); given != c.options.end()) {
      const auto angle = readTerminalNumber(given->second.front(), c.decimalSeparator);
      if (!angle) {
        c.err << kNorthMessage << '\n';
        return kRefused;
      }
      orientation.angle = *angle;
    }
  }
  const std::optional<photo::PixelPoint> pixel = pixelOf(f[6], f[7], c);
  if (!pixel) return kRefused;

  const DateTexts date{f[1], f[2], f[3], f[4], f[5]};
  // A date left empty or beyond the theory's years gives no orientation: B, L and DMC then
  // show empty, as `kavrel tache` shows them.
  const std::optional<DiscInstant> instant = anyEmpty(date) ? std::nullopt : preciseDiscInstant(date);
  if (!instant && orientation.given == photo::NorthGiven::Solar) {
    c.err << kNoInstantMessage << '\n';
    return kRefused;
  }

  Measured m = readAndFindLimb(f[0], c);
  if (m.status != kDone) return m.status;

  const DiscOrientation disc = instant ? instant->disc : DiscOrientation{};
  const photo::NorthOutcome north = photo::celestialNorth(orientation, disc);
  if (!north.angle) {
    c.err << north.reason << '\n';
    return kRefused;
  }
  const photo::ImageFrame frame{*m.limb, *north.angle, orientation.mirrored};
  const DiscPoint point = photo::discPointOfPixel(frame, *pixel);

  HeliographicTexts texts{std::string(kEmptyResult), std::string(kEmptyResult), std::string(kEmptyResult)};
  const HeliographicResult result = heliographicOf(disc, point);
  if (result.refusal != DiscRefusal::None) {
    c.err << refusalMessage(result.refusal) << '\n';
    return kRefused;
  }
  if (instant) texts = heliographicTexts(result.at, c.decimalSeparator);
  c.out << "Angle de position : " << positionAngleText(point.theta, c.decimalSeparator) << "°\n"
        << "Distance au centre : " << formatMask(point.r, "0.0000", c.decimalSeparator) << '\n'
        << "B : " << texts.latitude << "°\n"
        << "L : " << texts.longitude << "°\n"
        << "DMC : " << texts.fromCentralMeridian << "°\n";
  return kDone;
}

int printSpotArea(const Fields& f, const Context& c) {
  photo::SpotThresholds thresholds;
  if (const auto given = c.options.find("--seuils"); given != c.options.end()) {
    const auto v = numbers(given->second, c.decimalSeparator);
    if (!v) {
      c.err << photo::kBadThresholdsMessage << '\n';
      return kRefused;
    }
    thresholds.spot = (*v)[0];
    thresholds.umbra = (*v)[1];
  }
  const std::optional<photo::PixelPoint> pixel = pixelOf(f[1], f[2], c);
  if (!pixel) return kRefused;

  Measured m = readAndFindLimb(f[0], c);
  if (m.status != kDone) return m.status;
  const photo::SpotOutcome measured = photo::measureSpot(m.read.image.view(), *m.limb, *pixel, thresholds);
  if (!measured.spot) {
    c.err << measured.reason << '\n';
    return kRefused;
  }
  c.out << areaLine("Tache", measured.spot->whole, c.decimalSeparator) << '\n'
        << areaLine("Ombre", measured.spot->umbra, c.decimalSeparator) << '\n';
  return kDone;
}

}  // namespace kavrel::cli
