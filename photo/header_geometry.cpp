#include "photo/header_geometry.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

#include "common/display_mask.h"
#include "common/julian_day.h"
#include "sun/precise_aspect.h"
#include "sun/solar_constants.h"

namespace kavrel::photo {
namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kArcsecondsPerRadian = 180 * 3600 / std::numbers::pi;
constexpr double kQuarterTurnArcseconds = 90 * 3600;

constexpr std::string_view kCentreFromCrpix = "CRPIX1, CRPIX2, CRVAL1, CRVAL2";
constexpr std::string_view kRadiusFromRsunObs = "RSUN_OBS, CDELT1, CDELT2";
constexpr std::string_view kRadiusFromDistance = "RSUN_REF, DSUN_OBS, CDELT1, CDELT2";

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  result.erase(result.find_last_not_of(' ') + 1);
  return result;
}

// Arcseconds per unit of CUNIT; none for a unit that is not an angle.
std::optional<double> arcsecondsPer(std::string_view unit) {
  const std::string name = upper(unit);
  if (name.empty() || name == "ARCSEC") return 1.0;
  if (name == "DEG") return 3600.0;
  if (name == "ARCMIN") return 60.0;
  if (name == "MAS") return 1e-3;
  if (name == "RAD") return kArcsecondsPerRadian;
  return std::nullopt;
}

enum class Axes { Helioprojective, Equatorial, Unknown };

Axes axesOf(const image::FileGeometry& k) {
  const std::string x = upper(k.ctype1);
  const std::string y = upper(k.ctype2);
  if ((x.empty() && y.empty()) || (x.starts_with("HPLN") && y.starts_with("HPLT")) ||
      (x == "SOLAR_X" && y == "SOLAR_Y"))
    return Axes::Helioprojective;
  if (x.starts_with("RA--") && y.starts_with("DEC-")) return Axes::Equatorial;
  return Axes::Unknown;
}

// From a pixel step (FITS axes) to a world step, arcseconds: w = m p.
struct Matrix {
  double a11 = 1, a12 = 0, a21 = 0, a22 = 1;
  [[nodiscard]] double determinant() const { return a11 * a22 - a12 * a21; }
};

// The matrix, with its scale when CDELT or CD give one.
struct WorldMatrix {
  Matrix m;
  bool scaled = false;
};

std::optional<WorldMatrix> worldMatrix(const image::FileGeometry& k, double unit1, double unit2) {
  WorldMatrix world;
  if (k.cd) {
    const auto& cd = *k.cd;
    world.m = {cd[0] * unit1, cd[1] * unit1, cd[2] * unit2, cd[3] * unit2};
    world.scaled = true;
  } else {
    world.scaled = k.cdelt1 && k.cdelt2;
    const double cdelt1 = k.cdelt1.value_or(1) * unit1;
    const double cdelt2 = k.cdelt2.value_or(1) * unit2;
    if (k.pc) {
      const auto& pc = *k.pc;
      world.m = {cdelt1 * pc[0], cdelt1 * pc[1], cdelt2 * pc[2], cdelt2 * pc[3]};
    } else {
      const double rho = k.crota2.value_or(0) * kDegree;
      world.m = {cdelt1 * std::cos(rho), -cdelt2 * std::sin(rho), cdelt1 * std::sin(rho), cdelt2 * std::cos(rho)};
    }
  }
  const double det = world.m.determinant();
  if (!std::isfinite(det) || det == 0) return std::nullopt;
  return world;
}

// The Sun's angular radius, arcseconds, and the keywords it came from.
std::optional<double> sunRadius(const image::FileGeometry& k, std::string_view& keywords) {
  // A Sun wider than a hemisphere of sky is not a Sun: the keyword is taken as absent.
  if (k.rsunObs && *k.rsunObs > 0 && *k.rsunObs < kQuarterTurnArcseconds) {
    keywords = kRadiusFromRsunObs;
    return *k.rsunObs;
  }
  const double radius = k.rsunRef.value_or(sun::kRadiusMetres);
  if (k.dsunObs && *k.dsunObs > radius && radius > 0) {
    keywords = kRadiusFromDistance;
    return std::asin(radius / *k.dsunObs) * kArcsecondsPerRadian;
  }
  return std::nullopt;
}

std::string pixels(double value, std::string_view separator) { return formatMask(value, "0.0", separator); }

}  // namespace

std::optional<double> julianDayOfObservation(const image::ObservationDate& observed) noexcept {
  if (!observed.hasTime) return std::nullopt;
  const DateTime when{static_cast<double>(observed.day), static_cast<double>(observed.month),
                      static_cast<double>(observed.year), static_cast<double>(observed.hour),
                      observed.minute + observed.second / 60};
  const double jd = julianDay(when, CenturyCut::Floor);
  return std::isfinite(jd) ? std::optional(jd) : std::nullopt;
}

namespace {

// The matrix from pixels to world, or the keywords lacking for it added to `missing`.
std::optional<WorldMatrix> readWorld(const image::FileGeometry& k, Axes axes, std::vector<std::string_view>& missing) {
  const std::optional<double> unit1 = arcsecondsPer(k.cunit1);
  const std::optional<double> unit2 = arcsecondsPer(k.cunit2);
  const bool anyWcs = !k.ctype1.empty() || !k.ctype2.empty() || k.cdelt1 || k.cdelt2 || k.cd || k.pc || k.crota2 ||
                      k.crpix1 || k.crpix2;
  if (!anyWcs) {
    for (const std::string_view name : {"CRPIX1", "CRPIX2", "CDELT1", "CDELT2"}) missing.push_back(name);
    std::string_view ignored;
    if (!sunRadius(k, ignored)) missing.push_back("RSUN_OBS");
    return std::nullopt;
  }
  if (axes == Axes::Unknown) {
    missing.push_back("CTYPE1");
    missing.push_back("CTYPE2");
    return std::nullopt;
  }
  if (!unit1 || !unit2) {
    missing.push_back(unit1 ? "CUNIT2" : "CUNIT1");
    return std::nullopt;
  }
  std::optional<WorldMatrix> world = worldMatrix(k, *unit1, *unit2);
  if (!world) missing.push_back(k.cd ? "CD1_1" : "CDELT1");
  return world;
}

ImageOrientation orientationOf(const Matrix& m, Axes axes) {
  const double det = m.determinant();
  // North on the image: the pixel step along which only the second world axis grows,
  // (-a12, a11) / det, with x right and y up as FITS's axes are displayed.
  ImageOrientation orientation;
  orientation.given = axes == Axes::Helioprojective ? NorthGiven::Solar : NorthGiven::Celestial;
  orientation.angle = reduce360(std::atan2(m.a12 / det, m.a11 / det) / kDegree) + 0.0;  // no -0
  // Helioprojective x grows toward the west, right of north up; right ascension toward
  // the east, left of it.
  orientation.mirrored = axes == Axes::Helioprojective ? det < 0 : det > 0;
  return orientation;
}

// The limb of helioprojective axes into `header`, or the keywords lacking for it.
void placeLimb(const image::FileGeometry& k, const WorldMatrix& world, int width, int height, HeaderGeometry& header) {
  std::string_view radiusKeywords;
  const std::optional<double> radius = sunRadius(k, radiusKeywords);
  if (!k.crpix1) header.missing.push_back("CRPIX1");
  if (!k.crpix2) header.missing.push_back("CRPIX2");
  if (!world.scaled) {
    if (!k.cdelt1) header.missing.push_back("CDELT1");
    if (!k.cdelt2) header.missing.push_back("CDELT2");
  }
  if (!radius) header.missing.push_back("RSUN_OBS");
  if (!k.crpix1 || !k.crpix2 || !world.scaled || !radius) return;
  // The pixel of the Sun's centre, world (0, 0): CRPIX + m^-1 (0 - CRVAL).
  const Matrix& m = world.m;
  const double det = m.determinant();
  const double w1 = -k.crval1.value_or(0);
  const double w2 = -k.crval2.value_or(0);
  const double i = *k.crpix1 + (m.a22 * w1 - m.a12 * w2) / det;
  const double j = *k.crpix2 + (-m.a21 * w1 + m.a11 * w2) / det;
  const Circle limb{{i - 1, height - j}, *radius / std::sqrt(std::fabs(det))};
  if (std::isfinite(limb.centre.x) && std::isfinite(limb.centre.y) && std::isfinite(limb.radius) && limb.radius > 0 &&
      width > 0) {
    header.limb = limb;
    header.centreKeywords = kCentreFromCrpix;
    header.radiusKeywords = radiusKeywords;
  }
}

// The disc seen at the header's instant: the Earth's from the ephemeris, its semi-diameter
// the header's radius, B0 and L0 the observer's where the header gives them.
struct ObservedDisc {
  DiscOrientation disc;
  bool observerGiven = false;
};

std::optional<ObservedDisc> observedDisc(const image::FileGeometry& k, double julianDay) {
  const std::optional<PreciseAspect> earth = preciseAspect(julianDay);
  if (!earth) return std::nullopt;
  DiscOrientation disc = earth->disc;
  std::string_view ignored;
  if (const std::optional<double> radius = sunRadius(k, ignored)) disc.semiDiameter = *radius / 3600;
  const std::optional<double> latitude = k.crltObs ? k.crltObs : k.hgltObs;
  std::optional<double> longitude = k.crlnObs;
  if (!longitude && k.hglnObs) {
    // Stonyhurst 0 is the Earth's meridian; an observer nearer the Sun sees it as it was less
    // long ago, turned further.
    longitude = *k.hglnObs + earth->disc.l0;
    if (k.dsunObs)
      *longitude -= sun::kRotationDegreesPerDay * (earth->distanceAu - *k.dsunObs / sun::kMetresPerAu) *
                    sun::kLightDaysPerAu;
  }
  if (latitude && longitude && std::fabs(*latitude) <= 90) {
    disc.b0 = *latitude;
    disc.l0 = reduce360(*longitude);
    return ObservedDisc{disc, true};
  }
  return ObservedDisc{disc, false};
}

}  // namespace

HeaderGeometry headerGeometry(const image::FileGeometry& k, const std::optional<image::ObservationDate>& observed,
                              int width, int height) {
  HeaderGeometry header;
  const Axes axes = axesOf(k);
  const std::optional<WorldMatrix> world = readWorld(k, axes, header.missing);
  if (world) header.orientation = orientationOf(world->m, axes);
  if (world && axes == Axes::Helioprojective) placeLimb(k, *world, width, height, header);

  header.julianDay = observed ? julianDayOfObservation(*observed) : std::nullopt;
  if (!header.julianDay) {
    header.missing.push_back("DATE-OBS");
    return header;
  }
  if (const std::optional<ObservedDisc> seen = observedDisc(k, *header.julianDay)) {
    header.disc = seen->disc;
    header.observerGiven = seen->observerGiven;
  }
  return header;
}

std::string missingKeywordsText(const HeaderGeometry& header) {
  if (header.missing.empty()) return {};
  std::string text = "L'en-tête du fichier ne donne pas : ";
  for (std::size_t i = 0; i < header.missing.size(); ++i) {
    if (i > 0) text += ", ";
    text += header.missing[i];
  }
  return text + '.';
}

std::optional<LimbAgreement> compareLimbs(const HeaderGeometry& header, const Circle& found,
                                          std::string_view separator) {
  if (!header.limb) return std::nullopt;
  const Circle& given = *header.limb;
  LimbAgreement agreement;
  agreement.centreOffset = std::hypot(given.centre.x - found.centre.x, given.centre.y - found.centre.y);
  agreement.radiusOffset = given.radius - found.radius;
  const double tolerance = std::max(kLimbTolerancePixels, kLimbToleranceFraction * found.radius);
  const bool centreOff = !(agreement.centreOffset <= tolerance);
  const bool radiusOff = !(std::fabs(agreement.radiusOffset) <= tolerance);
  agreement.consistent = !centreOff && !radiusOff;
  if (centreOff)
    agreement.reason = "Le centre du disque donné par l'en-tête (" + std::string(header.centreKeywords) + ") est à " +
                       pixels(agreement.centreOffset, separator) + " px de celui du bord trouvé sur l'image.";
  if (radiusOff) {
    if (!agreement.reason.empty()) agreement.reason += ' ';
    agreement.reason += "Le rayon donné par l'en-tête (" + std::string(header.radiusKeywords) + ") diffère de " +
                        pixels(std::fabs(agreement.radiusOffset), separator) + " px de celui du bord trouvé sur l'image.";
  }
  return agreement;
}

}  // namespace kavrel::photo
