// The synoptic map of a rotation from photographs (synoptic_map.h).
#include "disque/synoptic_map.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "common/calendar_date.h"
#include "common/date_text.h"
#include "photo/image_orientation.h"
#include "sun/carrington_rotation.h"
#include "sun/precise_aspect.h"

namespace kavrel::disque {
namespace {

constexpr int kProfileRings = 200;
// About this many disc samples make the radial profile (every pixel of a small disc).
constexpr double kProfileSamples = 1.5e6;
constexpr double kAstronomicalUnit = 149597870700.0;  // metres
constexpr double kSolarRadius = 695700000.0;          // metres, the nominal radius
constexpr float kUnseen = std::numeric_limits<float>::infinity();
constexpr int kPassageKnot = 5;  // degrees of longitude

constexpr char kNoInstant[] = "l'instant de la prise de vue n'est pas lu dans le fichier et n'a pas été donné.";
constexpr char kMapStepRefused[] =
    "Le pas de la carte est un nombre de degrés de 0,05 à 10 qui divise 180 (0,1 ; 0,2 ; 0,25 ; 0,5 ; 1…).";
constexpr char kNoPhotoPlaced[] = "Aucune photographie n'a pu être placée sur la carte.";
constexpr char kCancelled[] = "Carte synoptique annulée.";

}  // namespace

std::string synopticInstantText(double julianDay) {
  const double minutes = std::round((julianDay + 0.5) * 1440);
  const CalendarDate date = calendarDate(std::floor(minutes / 1440) - 0.5);
  const double inDay = minutes - 1440 * std::floor(minutes / 1440);
  return isoDate(static_cast<long long>(date.year), static_cast<int>(date.month), static_cast<int>(date.day)) + " à " +
         hourMinute(static_cast<int>(inDay / 60), static_cast<int>(std::fmod(inDay, 60))) + " TU";
}

namespace {

// "2024-05-01T12:34:56.789", FITS's form of an instant of UTC.
std::string fitsInstant(double julianDay) {
  const double millis = std::round((julianDay + 0.5) * 86400000.0);
  const double day = std::floor(millis / 86400000.0);
  const CalendarDate date = calendarDate(day - 0.5);
  const auto inDay = static_cast<long long>(millis - day * 86400000.0);
  char time[32];
  std::snprintf(time, sizeof time, "T%02lld:%02lld:%02lld.%03lld", inDay / 3600000, inDay / 60000 % 60,
                inDay / 1000 % 60, inDay % 1000);
  return isoDate(static_cast<long long>(date.year), static_cast<int>(date.month), static_cast<int>(date.day)) + time;
}

// The disc's light against the squared distance from its centre (disc radii): medians of
// rings of equal area.
class RadialProfile {
 public:
  RadialProfile(image::GreyView image, const photo::Circle& limb);
  // The light at r² (0..1), interpolated between the rings' centres; NaN where unknown.
  [[nodiscard]] float at(double r2) const noexcept {
    const double place = std::clamp(r2 * kProfileRings - 0.5, 0.0, kProfileRings - 1.0);
    const auto ring = std::min(static_cast<int>(place), kProfileRings - 2);
    const double share = place - ring;
    return static_cast<float>(m_levels[ring] * (1 - share) + m_levels[ring + 1] * share);
  }

 private:
  std::vector<double> m_levels = std::vector<double>(kProfileRings, NAN);
};

RadialProfile::RadialProfile(image::GreyView image, const photo::Circle& limb) {
  const double radius = limb.radius;
  const int stride = std::max(1, static_cast<int>(std::sqrt(M_PI * radius * radius / kProfileSamples)));
  std::vector<std::vector<float>> rings(kProfileRings);
  const int top = std::max(0, static_cast<int>(std::ceil(limb.centre.y - radius)));
  const int bottom = std::min(image.height - 1, static_cast<int>(limb.centre.y + radius));
  const int left = std::max(0, static_cast<int>(std::ceil(limb.centre.x - radius)));
  const int right = std::min(image.width - 1, static_cast<int>(limb.centre.x + radius));
  for (int y = top; y <= bottom; y += stride) {
    const double dy = (y - limb.centre.y) / radius;
    for (int x = left; x <= right; x += stride) {
      const double dx = (x - limb.centre.x) / radius;
      const double r2 = dx * dx + dy * dy;
      const float value = image.at(x, y);
      if (r2 < 1 && std::isfinite(value)) rings[static_cast<std::size_t>(r2 * kProfileRings)].push_back(value);
    }
  }
  for (int i = 0; i < kProfileRings; ++i) {
    std::vector<float>& ring = rings[static_cast<std::size_t>(i)];
    if (ring.empty()) continue;
    const auto middle = ring.begin() + static_cast<std::ptrdiff_t>(ring.size() / 2);
    std::nth_element(ring.begin(), middle, ring.end());
    m_levels[static_cast<std::size_t>(i)] = *middle;
  }
}

// The photograph's sample at a pixel, bilinear; NaN outside the image or beside a blank.
float bilinear(image::GreyView image, photo::PixelPoint at) noexcept {
  const double fx = std::floor(at.x), fy = std::floor(at.y);
  if (!(fx >= 0 && fy >= 0 && fx + 1 < image.width && fy + 1 < image.height)) return NAN;
  const auto x = static_cast<int>(fx), y = static_cast<int>(fy);
  const float sx = static_cast<float>(at.x - fx), sy = static_cast<float>(at.y - fy);
  const float top = image.at(x, y) * (1 - sx) + image.at(x + 1, y) * sx;
  const float bottom = image.at(x, y + 1) * (1 - sx) + image.at(x + 1, y + 1) * sx;
  return top * (1 - sy) + bottom * sy;
}

// A photograph placed: where its disc lies and when it was taken.
struct Placed {
  photo::ImageFrame frame;
  DiscOrientation disc;
  double julianDay = 0;
};

struct Grid {
  SynopticMap& map;
  std::vector<float> best;       // days between the pixel's photograph and its longitude's passage
  std::vector<float> columnWorst;  // the largest of `best` down each column
  std::vector<double> passage;   // each column's central-meridian passage, Julian day
  std::vector<double> sinLatitude;  // each row's
  std::vector<double> cosLatitude;
};

// Under this cosine of the angle from the disc's centre (about 84°) a point lies beyond
// kMaxDiscRadius whatever the semi-diameter: not projected.
constexpr double kFarSideCosine = 0.1;

// The latitude of row j and longitude of column i, degrees.
double latitudeOf(const SynopticMap& map, int j) { return 90 - (j + 0.5) * map.step; }
double longitudeOf(const SynopticMap& map, int i) { return 360 - (i + 0.5) * map.step; }

// Where one photograph puts the map's pixels. The precise geometry
// (photo::pixelOfHeliographic) is evaluated on a lattice of nodes every kLatticeDegrees
// (or every pixel of a coarser map), and the photograph's pixel is interpolated bilinearly
// between them: the orthographic projection is smooth in latitude and longitude, and over
// 0.4° the interpolation is within 1e-5 of the disc's radius (0.02 px on a 1900 px
// radius), while a 4096² photograph maps in a sixteenth of the time.
constexpr double kLatticeDegrees = 0.4;

class PhotoMapper {
 public:
  PhotoMapper(Grid& grid, const Placed& placed, image::GreyView image, std::uint16_t index)
      : m_grid(grid), m_placed(placed), m_image(image), m_profile(image, placed.frame.limb), m_index(index),
        m_spacing(std::max(1, static_cast<int>(kLatticeDegrees / grid.map.step + 1e-9))) {}
  void mapColumn(int i);

 private:
  // The photograph's pixels of node column `node` (a multiple of the spacing), at every node row.
  const std::vector<photo::PixelPoint>& nodeColumn(int node);
  [[nodiscard]] photo::PixelPoint pixelOf(int i, int j);

  Grid& m_grid;
  const Placed& m_placed;
  image::GreyView m_image;
  RadialProfile m_profile;
  std::uint16_t m_index;
  int m_spacing;
  std::array<std::pair<int, std::vector<photo::PixelPoint>>, 2> m_nodes{{{-1, {}}, {-1, {}}}};
};

const std::vector<photo::PixelPoint>& PhotoMapper::nodeColumn(int node) {
  for (auto& [index, rows] : m_nodes)
    if (index == node) return rows;
  // Columns go left to right: the older of the two is the one to replace.
  auto& slot = m_nodes[0].first < m_nodes[1].first ? m_nodes[0] : m_nodes[1];
  slot.first = node;
  slot.second.clear();
  const SynopticMap& map = m_grid.map;
  const double longitude = longitudeOf(map, node);
  for (int j = 0; j < map.height + m_spacing; j += m_spacing)
    slot.second.push_back(photo::pixelOfHeliographic(m_placed.frame, m_placed.disc, latitudeOf(map, j), longitude).at);
  return slot.second;
}

photo::PixelPoint PhotoMapper::pixelOf(int i, int j) {
  const int left = i / m_spacing * m_spacing, top = j / m_spacing;
  const std::vector<photo::PixelPoint>& a = nodeColumn(left);
  const std::vector<photo::PixelPoint>& b = nodeColumn(left + m_spacing);
  const double sx = double(i - left) / m_spacing, sy = double(j - top * m_spacing) / m_spacing;
  const auto t = static_cast<std::size_t>(top);
  const auto mix = [&](double p, double q, double r, double s) {
    return (p * (1 - sx) + q * sx) * (1 - sy) + (r * (1 - sx) + s * sx) * sy;
  };
  return {mix(a[t].x, b[t].x, a[t + 1].x, b[t + 1].x), mix(a[t].y, b[t].y, a[t + 1].y, b[t + 1].y)};
}

// Column i from the photograph where it sees it nearer in time than the map holds.
void PhotoMapper::mapColumn(int i) {
  SynopticMap& map = m_grid.map;
  const auto column = static_cast<std::size_t>(i);
  const auto days = static_cast<float>(std::abs(m_grid.passage[column] - m_placed.julianDay));
  const photo::Circle& limb = m_placed.frame.limb;
  const double b0 = m_placed.disc.b0 * M_PI / 180;
  const double cosMeridian = std::cos((longitudeOf(map, i) - m_placed.disc.l0) * M_PI / 180);
  const double sinB0 = std::sin(b0), cosB0Meridian = std::cos(b0) * cosMeridian;
  float worst = 0;
  for (int j = 0; j < map.height; ++j) {
    const auto row = static_cast<std::size_t>(j);
    const std::size_t at = row * static_cast<std::size_t>(map.width) + column;
    // The cosine of the point's angle from the disc's centre: the far side is never projected.
    const double fromCentre = m_grid.sinLatitude[row] * sinB0 + m_grid.cosLatitude[row] * cosB0Meridian;
    if (m_grid.best[at] > days && fromCentre > kFarSideCosine) {
      const photo::PixelPoint seen = pixelOf(i, j);
      const double dx = (seen.x - limb.centre.x) / limb.radius, dy = (seen.y - limb.centre.y) / limb.radius;
      const double r2 = dx * dx + dy * dy;
      const float value = r2 <= kMaxDiscRadius * kMaxDiscRadius ? bilinear(m_image, seen) / m_profile.at(r2) : NAN;
      if (std::isfinite(value)) {
        map.values[at] = value;
        map.source[at] = m_index;
        m_grid.best[at] = days;
      }
    }
    worst = std::max(worst, m_grid.best[at]);
  }
  m_grid.columnWorst[column] = worst;
}

void mapPhoto(Grid& grid, const Placed& placed, image::GreyView image, std::uint16_t index) {
  PhotoMapper mapper(grid, placed, image, index);
  // A longitude beyond the limb's reach from the central meridian (the pole's tilt allowed).
  const double reach = 90 + std::abs(placed.disc.b0) + 1;
  for (int i = 0; i < grid.map.width; ++i) {
    const double fromMeridian = std::remainder(longitudeOf(grid.map, i) - placed.disc.l0, 360.0);
    const double days = std::abs(grid.passage[static_cast<std::size_t>(i)] - placed.julianDay);
    if (std::abs(fromMeridian) > reach || !(days < grid.columnWorst[static_cast<std::size_t>(i)])) continue;
    mapper.mapColumn(i);
  }
}

struct PlaceOutcome {
  std::optional<Placed> placed;
  std::string refusal;
};

// The photograph's limb, orientation and instant as its engine takes them.
PlaceOutcome place(PhotoReduction& engine, SynopticPhoto& photo) {
  engine.open(std::move(*photo.file));
  if (photo.limb) {
    if (const Outcome given = engine.giveLimb(*photo.limb, LimbSource::Given); !given.done) return {{}, given.text};
  }
  if (photo.clockOffsetHours != 0) {
    if (const Outcome set = engine.setClockOffset(std::to_string(photo.clockOffsetHours)); !set.done)
      return {{}, set.text};
  }
  if (photo.instant) engine.setInstant(photo.instant);
  if (photo.orientation) engine.orient(*photo.orientation);
  if (!engine.limb()) return {{}, std::string(photo::kNoLimbMessage)};
  if (!engine.instant()) return {{}, kNoInstant};
  const PhotoReduction::FrameOutcome frame = engine.frame();
  const std::optional<DiscOrientation> disc = engine.disc();
  if (!frame.frame || !disc) return {{}, frame.refusal.empty() ? std::string(kNoInstant) : frame.refusal};
  return {Placed{*frame.frame, *disc, engine.instant()->julianDay}, {}};
}

// "prise le … : plus de 7 jours hors de la rotation 2283 (du … au …)."
std::string outsideRotation(const SynopticMap& map, double julianDay) {
  return "prise le " + synopticInstantText(julianDay) + ", plus de 7 jours hors de la rotation " +
         std::to_string(map.rotation) + " (du " + synopticInstantText(map.start) + " au " + synopticInstantText(map.end) +
         ") : aucune des longitudes de la carte n'y passe au méridien central.";
}

// Photograph `index` read, placed and mapped; what became of it.
SynopticPhotoUse takePhoto(Grid& grid, SynopticPhoto photo, std::size_t index) {
  SynopticPhotoUse use{photo.name, std::nullopt, 0, 0, {}, true};
  if (!photo.file) {
    use.refusal = photo.notRead;
    use.fileRead = false;
    return use;
  }
  PhotoReduction engine{"."};
  const PlaceOutcome placed = place(engine, photo);
  if (!placed.placed) {
    use.refusal = placed.refusal;
    if (engine.instant()) use.julianDay = engine.instant()->julianDay;
    return use;
  }
  use.julianDay = placed.placed->julianDay;
  use.l0 = placed.placed->disc.l0;
  const SynopticMap& map = grid.map;
  if (*use.julianDay < map.start - kRotationMarginDays || *use.julianDay > map.end + kRotationMarginDays) {
    use.refusal = outsideRotation(map, *use.julianDay);
    return use;
  }
  mapPhoto(grid, *placed.placed, engine.image()->view(), static_cast<std::uint16_t>(index));
  return use;
}

// The empty map of the rotation; none outside the ephemeris.
std::optional<Grid> emptyGrid(SynopticMap& map) {
  const std::optional<double> start = carringtonRotationStart(map.rotation);
  const std::optional<double> end = carringtonRotationStart(map.rotation + 1);
  const std::optional<double> middle = centralMeridianPassage(map.rotation, 180);
  if (!start || !end || !middle) return std::nullopt;
  map.start = *start;
  map.end = *end;
  map.middle = *middle;
  map.width = static_cast<int>(std::lround(360 / map.step));
  map.height = static_cast<int>(std::lround(180 / map.step));
  const auto pixels = static_cast<std::size_t>(map.width) * static_cast<std::size_t>(map.height);
  map.values.assign(pixels, NAN);
  map.source.assign(pixels, kNoPhoto);
  Grid grid{map, std::vector<float>(pixels, kUnseen), std::vector<float>(static_cast<std::size_t>(map.width), kUnseen),
            std::vector<double>(static_cast<std::size_t>(map.width)), {}, {}};
  for (int j = 0; j < map.height; ++j) {
    grid.sinLatitude.push_back(std::sin(latitudeOf(map, j) * M_PI / 180));
    grid.cosLatitude.push_back(std::cos(latitudeOf(map, j) * M_PI / 180));
  }
  // The passages every kPassageKnot degrees, linearly between: the disc's L0 falls at a
  // rate that varies by 3 % in a year, so that the error is a few seconds.
  constexpr int kKnots = 360 / kPassageKnot;
  std::array<double, kKnots + 1> knots{};
  for (int k = 0; k <= kKnots; ++k) {
    const std::optional<double> passage = centralMeridianPassage(map.rotation, 360.0 - k * kPassageKnot);
    if (!passage) return std::nullopt;
    knots[static_cast<std::size_t>(k)] = *passage;
  }
  for (int i = 0; i < map.width; ++i) {
    const double place = (360 - longitudeOf(map, i)) / kPassageKnot;
    const auto k = std::min(static_cast<std::size_t>(place), static_cast<std::size_t>(kKnots - 1));
    grid.passage[static_cast<std::size_t>(i)] = knots[k] + (knots[k + 1] - knots[k]) * (place - double(k));
  }
  return grid;
}

bool validStep(double step) {
  return std::isfinite(step) && step >= kMinMapStep - 1e-12 && step <= kMaxMapStep + 1e-12 &&
         std::abs(180 / step - std::round(180 / step)) < 1e-6;
}

}  // namespace

std::size_t SynopticMap::covered() const {
  return static_cast<std::size_t>(std::count_if(source.begin(), source.end(), [](auto s) { return s != kNoPhoto; }));
}

StepOutcome mapStepOf(std::string_view typed, std::string_view decimalSeparator) {
  const std::optional<double> step = typedNumber(typed, decimalSeparator);
  if (!step || !validStep(*step)) return {std::nullopt, kMapStepRefused};
  return {*step, {}};
}

SynopticOutcome makeSynopticMap(const SynopticRequest& request, const SynopticSource& source,
                                const SynopticProgress& progress) {
  SynopticOutcome outcome;
  if (!validStep(request.step)) {
    outcome.refusal = kMapStepRefused;
    return outcome;
  }
  SynopticMap map;
  map.rotation = request.rotation;
  map.step = request.step;
  std::optional<Grid> grid = emptyGrid(map);
  if (!grid) {
    outcome.refusal = "La rotation " + std::to_string(request.rotation) + " est hors de la portée de l'éphéméride.";
    return outcome;
  }
  const std::size_t count = std::min<std::size_t>(request.count, kNoPhoto);
  for (std::size_t k = 0; k < count; ++k) {
    if (progress && !progress(k, count)) return {std::nullopt, std::move(outcome.photos), kCancelled};
    outcome.photos.push_back(takePhoto(*grid, source(k), k));
  }
  if (progress) progress(count, count);
  for (const std::uint16_t s : map.source)
    if (s != kNoPhoto) ++outcome.photos[s].pixels;
  if (std::none_of(outcome.photos.begin(), outcome.photos.end(), [](const auto& p) { return p.pixels > 0; })) {
    outcome.refusal = kNoPhotoPlaced;
    return outcome;
  }
  outcome.map = std::move(map);
  return outcome;
}

std::vector<image::FitsKeyword> synopticFitsKeywords(const SynopticMap& map) {
  const std::optional<PreciseAspect> earth = preciseAspect(map.middle);
  std::vector<image::FitsKeyword> keywords{
      {"CTYPE1", std::string("CRLN-CAR"), "Carrington longitude, plate carree"},
      {"CTYPE2", std::string("CRLT-CAR"), "Carrington latitude"},
      {"CUNIT1", std::string("deg"), ""},
      {"CUNIT2", std::string("deg"), ""},
      {"CRPIX1", (map.width + 1) / 2.0, "the map's centre"},
      {"CRPIX2", (map.height + 1) / 2.0, ""},
      {"CRVAL1", 180.0, "degrees"},
      {"CRVAL2", 0.0, "degrees"},
      {"CDELT1", -map.step, "longitude falls to the right"},
      {"CDELT2", map.step, ""},
      {"DATE-OBS", fitsInstant(map.middle), "longitude 180 on the central meridian (UTC)"},
      {"CAR_ROT", static_cast<long>(map.rotation), "Carrington rotation"},
      {"HGLN_OBS", 0.0, "observer at the Earth's centre"},
      {"HGLT_OBS", earth ? earth->disc.b0 : 0.0, "degrees, B0 at DATE-OBS"},
      {"DSUN_OBS", earth ? earth->distanceAu * kAstronomicalUnit : kAstronomicalUnit, "metres"},
      {"RSUN_REF", kSolarRadius, "metres"},
  };
  return keywords;
}

std::vector<std::uint32_t> synopticGreyRows(const SynopticMap& map) {
  std::vector<std::uint32_t> rows(map.values.size());
  std::transform(map.values.begin(), map.values.end(), rows.begin(), [](float v) -> std::uint32_t {
    if (!std::isfinite(v)) return 0xff000000u;
    const auto grey = static_cast<std::uint32_t>(std::lround(16 + 239 * std::clamp(v / 1.25f, 0.0f, 1.0f)));
    return 0xff000000u | grey << 16 | grey << 8 | grey;
  });
  return rows;
}

}  // namespace kavrel::disque
