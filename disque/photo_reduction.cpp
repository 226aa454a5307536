// The reduction of one photograph (photo_reduction.h).
#include "disque/photo_reduction.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/calendar_date.h"
#include "common/csv.h"
#include "common/date_text.h"
#include "common/display_mask.h"
#include "common/julian_day.h"
#include "common/spot_columns.h"
#include "disque/disc_spots.h"
#include "disque/disc_texts.h"
#include "disque/photo_caption.h"
#include "sun/precise_aspect.h"

namespace kavrel::disque {
namespace {

constexpr char kLimbFound[] = "Bord trouvé";
constexpr char kLimbThreePoints[] = "Bord donné par trois points";
constexpr char kLimbGiven[] = "Bord donné";
constexpr char kLimbHeader[] = "Bord lu dans l'en-tête du fichier";
constexpr char kLimbMissing[] = "Aucun bord trouvé : donnez-le par « Bord par trois points ».";
constexpr char kPickLimb[] = "Cliquez sur le bord du Soleil : point %1 sur 3 (Échap annule).";
constexpr char kConfirmLimb[] = "Cercle par les trois points : centre (%1 ; %2), rayon %3 px.";
constexpr char kLimbDiffers[] = " Son rayon diffère de %1 % de celui du bord actuel (%2 px).";
constexpr char kLimbSmall[] = " Ce cercle est petit pour l'image : les points sont-ils bien sur le bord ?";
constexpr char kPickCancelled[] = "Choix des points annulé.";
constexpr char kPickDriftFirst[] = "Dérive : cliquez sur un détail de l'image, à sa première position.";
constexpr char kPickDriftSecond[] = "Dérive : cliquez sur le même détail, à sa seconde position (moteur arrêté).";
constexpr char kDriftNorth[] = "Orientation par la dérive : nord céleste à %1° du haut de l'image.";
constexpr char kOrientation[] = "Orientation : nord céleste à %1° du haut de l'image.";
constexpr char kSpotMeasured[] = "Tache %1 : %2 MSH, ombre %3 MSH (seuils %4).";
constexpr char kRemeasured[] = "Seuils %1 : taches mesurées à nouveau (%2).";
constexpr char kRemeasureFailed[] = " Tache %1 : %2";
constexpr char kThresholds[] = "Seuils %1.";
constexpr char kAddUndone[] = "Ajout de la tache %1 annulé.";
constexpr char kRemovalUndone[] = "Suppression de la tache %1 annulée.";
constexpr char kRemovalsUndone[] = "Suppression des taches %1 annulée.";
constexpr char kInstantRead[] = " Instant lu dans le fichier : %1 à %2 TU.";
constexpr char kCameraInstantRead[] =
    " Instant lu dans le fichier : %1 à %2 TU, de l'horloge de l'appareil décalée de %3 h : vérifiez le décalage.";
constexpr char kInstantCarried[] = " La date de l'image précédente reste dans les champs.";
constexpr char kClockOffset[] = "Horloge de l'appareil décalée de %1 h sur le TU : instant %2 à %3 TU.";
constexpr double kSecond = 1.0 / 86400;
constexpr char kPhotoPointerHint[] = "Placez le pointeur sur l'image ; un clic ajoute une tache.";
constexpr char kHeaderLimb[] = " : centre (%1 ; %2), rayon %3 px";
constexpr char kObserverDisc[] = ", B0 et L0 de son observateur.";
constexpr char kHeaderUnchecked[] = " Le bord n'a pas été trouvé sur l'image pour la vérifier.";
constexpr char kHeaderSetAside[] = "Bord de l'en-tête écarté : ";
constexpr char kNoHeaderLimb[] = "L'en-tête du fichier ne donne pas le bord du Soleil.";
constexpr char kHeaderOrientation[] = "Orientation lue dans l'en-tête.";
constexpr char kHeaderOrientationUnchecked[] =
    "Orientation lue dans l'en-tête, qui ne décrit peut-être pas cette image : vérifiez-la.";

// "%1".."%4" replaced in order.
std::string filled(std::string pattern, std::initializer_list<std::string_view> values) {
  int index = 1;
  for (const std::string_view value : values) {
    const std::string mark = "%" + std::to_string(index++);
    if (const auto at = pattern.find(mark); at != std::string::npos) pattern.replace(at, mark.size(), value);
  }
  return pattern;
}

std::string_view limbSourceText(LimbSource source) {
  switch (source) {
    case LimbSource::Found:
      return kLimbFound;
    case LimbSource::ThreePoints:
      return kLimbThreePoints;
    case LimbSource::Given:
      return kLimbGiven;
    case LimbSource::Header:
      return kLimbHeader;
  }
  return kLimbGiven;
}

// Their names in the CSV.
std::string_view limbSourceWord(LimbSource source) {
  switch (source) {
    case LimbSource::Found:
      return "trouvé";
    case LimbSource::ThreePoints:
      return "trois points";
    case LimbSource::Given:
      return "donné";
    case LimbSource::Header:
      return "en-tête du fichier";
  }
  return "donné";
}

std::string_view referenceText(NorthReference reference) {
  switch (reference) {
    case NorthReference::Celestial:
      return "nord céleste";
    case NorthReference::SolarAxis:
      return "pôle nord du Soleil";
    case NorthReference::Drift:
      return "dérive";
    case NorthReference::Header:
      return "en-tête du fichier";
  }
  return "nord céleste";
}

// A clock's offset from UT in hours, signed: "+2,00", "-0,50", "0,00".
std::string offsetText(double hours, std::string_view separator) {
  return (hours > 0 ? "+" : "") + formatMask(hours, "0.00", separator);
}

// Where the instant of the CSV's rows comes from.
std::string_view instantSourceWord(const std::optional<PhotoInstant>& instant) {
  if (!instant) return "non donnée";
  switch (instant->source) {
    case InstantSource::File:
      return "fichier (TU)";
    case InstantSource::Camera:
      return "horloge de l'appareil";
    case InstantSource::Typed:
      return "saisie";
    case InstantSource::Carried:
      return "image précédente";
  }
  return "saisie";
}

bool isSolar(NorthReference reference) { return reference == NorthReference::SolarAxis; }

bool validCircle(const photo::Circle& c) {
  return std::isfinite(c.centre.x) && std::isfinite(c.centre.y) && std::isfinite(c.radius) && c.radius > 0;
}

// "2001-12-06" and "09:05", or "09:05:30" when the seconds are known, as `kavrel tache
// --csv` writes an instant.
std::pair<std::string, std::string> instantTexts(const PhotoInstant& instant) {
  const double unit = instant.withSeconds ? 86400 : 1440;
  const double steps = std::round((instant.julianDay + 0.5) * unit);
  const double inDay = steps - unit * std::floor(steps / unit);
  const CalendarDate date = calendarDate(std::floor(steps / unit) - 0.5);
  const auto whole = [](double value) { return static_cast<int>(value); };
  const std::string day = isoDate(whole(date.year), whole(date.month), whole(date.day));
  const double minutes = instant.withSeconds ? std::floor(inDay / 60) : inDay;
  const int hour = whole(std::floor(minutes / 60)), minute = whole(std::fmod(minutes, 60));
  return {day, instant.withSeconds ? hourMinuteSecond(hour, minute, whole(std::fmod(inDay, 60)))
                                   : hourMinute(hour, minute)};
}

// The header's orientation as the engine keeps it: celestial north where the header's
// instant gives P (solar north turns with it, so it is kept as the sky's), else the Sun's
// pole, to be placed once an instant is typed.
std::optional<PhotoOrientation> headerOrientation(const photo::HeaderGeometry& header) {
  if (!header.orientation) return std::nullopt;
  const photo::ImageOrientation& given = *header.orientation;
  if (given.given == photo::NorthGiven::Celestial)
    return PhotoOrientation{NorthReference::Header, given.angle, given.mirrored};
  if (header.disc) {
    if (const photo::NorthOutcome north = photo::celestialNorth(given, *header.disc); north.angle)
      return PhotoOrientation{NorthReference::Header, *north.angle, given.mirrored};
  }
  return PhotoOrientation{NorthReference::SolarAxis, given.angle, given.mirrored};
}

}  // namespace

std::optional<PhotoInstant> photoInstantOf(const image::ObservationDate& observed) {
  const std::optional<double> jd = photo::julianDayOfObservation(observed);
  if (!jd) return std::nullopt;
  return PhotoInstant{*jd, true, observed.cameraClock ? InstantSource::Camera : InstantSource::File};
}

PhotoReduction::PhotoReduction(std::string decimalSeparator) : m_separator(std::move(decimalSeparator)) {}

Outcome PhotoReduction::say(std::string text, bool done) {
  if (done) m_status = text;
  return {done, std::move(text)};
}

// A field being typed is refused in the status line, not in a box at every key.
Outcome PhotoReduction::refuseInStatus(std::string text) {
  m_status = text;
  return {false, std::move(text)};
}

OpenOutcome PhotoReduction::open(PhotoFile file) {
  const std::optional<PhotoInstant> previous = m_instant;
  close();
  m_image = std::move(file.image);
  m_fileName = std::move(file.name);
  m_fileLine = m_fileName + " (" + file.description + ", " + std::to_string(m_image.width()) + " × " +
               std::to_string(m_image.height()) + " px)";
  // A file without its instant leaves the previous one in the fields: kept, but said to
  // be carried, and measured at only once confirmed. Its orientation is not carried.
  m_fileInstant = file.observed ? photoInstantOf(*file.observed) : std::nullopt;
  m_instant = m_fileInstant;
  if (!m_instant && previous) m_instant = PhotoInstant{previous->julianDay, previous->withSeconds, InstantSource::Carried};
  m_header = std::move(file.header);
  std::optional<PhotoOrientation> oriented;
  if (m_header) {
    oriented = headerOrientation(*m_header);
    if (m_header->observerGiven) m_observerDisc = m_header->disc;
  }
  if (oriented) m_orientation = oriented;
  m_orientationGiven = oriented.has_value();
  // The limb is looked for even where the header gives one: a header describing another
  // image (cropped, binned, turned) is found out by the comparison.
  const Outcome found = findLimb();
  if (found.done) m_foundLimb = m_limb;
  bool headerTaken = false;
  if (m_header && m_header->limb) {
    const std::optional<photo::LimbAgreement> agreement =
        m_foundLimb ? photo::compareLimbs(*m_header, m_foundLimb->circle, m_separator) : std::nullopt;
    headerTaken = !agreement || agreement->consistent;
    if (!headerTaken) m_headerNote = kHeaderSetAside + agreement->reason;
  } else if (m_header) {
    m_headerNote = photo::missingKeywordsText(*m_header);
  }
  if (headerTaken) {
    m_limb = PhotoLimb{*m_header->limb, LimbSource::Header, 0, 0};
    m_status = headerLimbLine();
    if (!m_foundLimb) m_status += kHeaderUnchecked;
  } else {
    m_status = found.done ? found.text : std::string(kLimbMissing);
    if (!m_headerNote.empty()) m_status += ' ' + m_headerNote;
    // A header that misplaces the disc (cropped, binned) most often still turns the right
    // way, but one that describes another image may not: its angle is kept, and said.
    if (oriented)
      m_status += ' ' + std::string(m_headerNote.starts_with(kHeaderSetAside) ? kHeaderOrientationUnchecked
                                                                              : kHeaderOrientation);
  }
  const bool dated = m_fileInstant.has_value();
  const bool orientedByFile = oriented.has_value();
  if (!dated || !orientedByFile) m_status += ' ';
  m_status += !dated && !orientedByFile ? kNotReadFromFile
              : !dated                  ? kDateNotRead
              : !orientedByFile         ? kOrientationNotRead
                                        : "";
  m_status += instantStatus();
  return {m_limb ? std::string() : found.text};
}

// " Instant lu dans le fichier : …", or that the previous image's date stays.
std::string PhotoReduction::instantStatus() const {
  if (!m_instant) return {};
  if (m_instant->source == InstantSource::Carried) return kInstantCarried;
  const auto [date, time] = instantTexts(*m_instant);
  if (m_instant->source != InstantSource::Camera) return filled(kInstantRead, {date, time});
  return filled(kCameraInstantRead, {date, time, offsetText(m_clockOffsetHours, m_separator)});
}

// "Géométrie lue dans l'en-tête : centre (…), rayon … px, B0 et L0 de son observateur."
std::string PhotoReduction::headerLimbLine() const {
  const photo::Circle& c = *m_header->limb;
  return kHeaderGeometryTaken +
         filled(kHeaderLimb, {pixelText(c.centre.x, m_separator), pixelText(c.centre.y, m_separator),
                              pixelText(c.radius, m_separator)}) +
         (m_observerDisc ? kObserverDisc : ".");
}

Outcome PhotoReduction::useHeaderLimb(bool use) {
  if (m_image.empty()) return {false, {}};
  if (use) {
    if (!headerGivesLimb()) return say(m_headerNote.empty() ? kNoHeaderLimb : m_headerNote, false);
    m_limb = PhotoLimb{*m_header->limb, LimbSource::Header, 0, 0};
    // Taken against the image's word: the disagreement stays said.
    const bool setAside = m_headerNote.starts_with(kHeaderSetAside);
    return say(headerLimbLine() + (setAside ? ' ' + m_headerNote : std::string()));
  }
  if (!m_foundLimb) return say(kLimbMissing, false);
  m_limb = m_foundLimb;
  return say(limbLine() + (m_headerNote.empty() ? std::string() : ' ' + m_headerNote));
}

void PhotoReduction::close() {
  m_image = {};
  m_fileName.clear();
  m_fileLine.clear();
  m_limb.reset();
  m_candidate.reset();
  m_orientation = PhotoOrientation{};
  m_orientationRefusal.clear();
  m_instant.reset();
  m_fileInstant.reset();
  m_clockOffsetHours = 0;
  m_carriedConfirmed = false;
  m_orientationGiven = false;
  m_header.reset();
  m_observerDisc.reset();
  m_foundLimb.reset();
  m_headerNote.clear();
  m_picking = Picking::None;
  m_picked.clear();
  m_spots.clear();
  m_undo.clear();
  m_nextNumber = 1;
  m_status.clear();
  m_unsaved = false;
  m_pointer.reset();
}

Outcome PhotoReduction::findLimb() {
  const photo::LimbOutcome found = photo::findLimb(m_image.view());
  if (!found.limb) return say(std::string(found.reason), false);
  m_limb = PhotoLimb{found.limb->circle, LimbSource::Found, found.limb->rms, found.limb->points};
  return say(limbLine());
}

Outcome PhotoReduction::giveLimb(photo::Circle circle, LimbSource source) {
  if (!validCircle(circle)) return say(kLimbRadiusRefused, false);
  m_limb = PhotoLimb{circle, source, 0, 0};
  return say(limbLine());
}

std::string PhotoReduction::limbSourceReason() const {
  return m_limb && m_limb->source == LimbSource::Found ? m_headerNote : std::string();
}

std::string PhotoReduction::limbLine() const {
  if (!m_limb) return kNoLimbYet;
  const photo::Circle& c = m_limb->circle;
  return std::string(limbSourceText(m_limb->source)) + " : centre (" + pixelText(c.centre.x, m_separator) + " ; " +
         pixelText(c.centre.y, m_separator) + "), rayon " + pixelText(c.radius, m_separator) + " px.";
}

Outcome PhotoReduction::orient(std::string_view angle, NorthReference reference, bool mirrored) {
  const std::optional<double> typed = typedNumber(angle, m_separator);
  if (!typed || !std::isfinite(*typed)) {
    m_orientation.reset();
    m_orientationRefusal = photo::kOrientationNotANumberMessage;
    return refuseInStatus(m_orientationRefusal);
  }
  // The field shows the angle rounded: left as shown, it is the angle kept, to the last
  // decimal, and keeps where it came from (a drift, a header).
  const bool unchanged = m_orientation && angle == orientationFieldText();
  if (unchanged && mirrored == m_orientation->mirrored) {
    if (isSolar(reference) == isSolar(m_orientation->reference)) return {true, {}};
    return switchReference(reference);
  }
  if (m_orientation && *typed == m_orientation->angle && reference == m_orientation->reference &&
      mirrored == m_orientation->mirrored)
    return {true, {}};
  return orient(PhotoOrientation{reference, unchanged ? m_orientation->angle : *typed, mirrored});
}

// The same north read from the other reference: the pole lies P from celestial north
// through east, which turns counter-clockwise on an upright image, clockwise on a
// mirrored one. Without an instant there is no P to turn by, and the angle is kept.
Outcome PhotoReduction::switchReference(NorthReference reference) {
  const FrameOutcome placed = frame();
  const std::optional<DiscOrientation> at = disc();
  if (!placed.frame || !at) return orient(PhotoOrientation{reference, m_orientation->angle, m_orientation->mirrored});
  const double turn = m_orientation->mirrored ? -at->p : at->p;
  const double angle = isSolar(reference) ? reduce360(placed.frame->north + turn) : placed.frame->north;
  return orient(PhotoOrientation{reference, angle, m_orientation->mirrored});
}

Outcome PhotoReduction::orient(PhotoOrientation orientation) {
  m_orientation = orientation;
  m_orientationGiven = true;
  m_orientationRefusal.clear();
  const FrameOutcome placed = frame();
  if (!placed.frame) return say(placed.refusal);
  return say(filled(kOrientation, {angleText(placed.frame->north, m_separator)}));
}

std::string PhotoReduction::orientationFieldText() const {
  if (!m_orientation) return {};
  return angleText(m_orientation->angle, m_separator);
}

void PhotoReduction::setInstant(std::optional<PhotoInstant> instant) { m_instant = instant; }

std::optional<PhotoInstant> PhotoReduction::fileInstantInUt() const {
  if (!m_fileInstant || m_fileInstant->source != InstantSource::Camera) return m_fileInstant;
  PhotoInstant ut = *m_fileInstant;
  ut.julianDay -= m_clockOffsetHours / 24;
  return ut;
}

Outcome PhotoReduction::takeTypedInstant(const std::optional<DiscInstant>& typed, std::string_view seconds) {
  std::optional<double> second;
  if (!seconds.empty()) {
    second = typedNumber(seconds, m_separator);
    if (!second || !(*second >= 0 && *second < 60)) {
      m_instant.reset();
      return refuseInStatus(kSecondsRefused);
    }
  }
  if (!typed) {
    m_instant.reset();
    return {true, {}};
  }
  const double julianDay = typed->julianDay + second.value_or(0) * kSecond;
  // The fields hold the file's instant: to the second, or the minute begun without
  // seconds; the file's instant stays, to the fraction of its second.
  if (const std::optional<PhotoInstant> file = fileInstantInUt()) {
    const double ahead = file->julianDay - typed->julianDay;
    const bool sameMinute = !second && ahead >= -1e-9 && ahead < 1.0 / 1440 - 1e-9;
    if (sameMinute || (second && std::abs(file->julianDay - julianDay) < 0.5 * kSecond)) {
      m_instant = file;
      return {true, {}};
    }
  }
  // The carried instant given back unchanged (to the tenth of a second the fields show)
  // stays carried.
  if (m_instant && m_instant->source == InstantSource::Carried &&
      std::abs(m_instant->julianDay - julianDay) < 0.05 * kSecond)
    return {true, {}};
  m_instant = PhotoInstant{julianDay, second.has_value(), InstantSource::Typed};
  return {true, {}};
}

std::optional<image::ObservationDate> PhotoReduction::instantDate() const {
  if (!m_instant) return std::nullopt;
  const double seconds = std::round((m_instant->julianDay + 0.5) * 86400 * 10) / 10;  // tenths of a second
  const double day = std::floor(seconds / 86400);
  const double inDay = seconds - 86400 * day;
  const CalendarDate date = calendarDate(day - 0.5);
  image::ObservationDate shown{static_cast<int>(date.year), static_cast<int>(date.month), static_cast<int>(date.day), true,
                               static_cast<int>(inDay / 3600), static_cast<int>(std::fmod(inDay, 3600) / 60),
                               std::fmod(inDay, 60)};
  shown.cameraClock = m_instant->source == InstantSource::Camera;
  return shown;
}

Outcome PhotoReduction::setClockOffset(std::string_view hours) {
  const std::optional<double> offset = typedNumber(hours.empty() ? "0" : hours, m_separator);
  if (!offset || !(std::abs(*offset) <= 24)) return refuseInStatus(kClockOffsetRefused);
  if (*offset == m_clockOffsetHours) return {true, {}};
  m_clockOffsetHours = *offset;
  if (!m_instant || m_instant->source != InstantSource::Camera) return {true, {}};
  m_instant = fileInstantInUt();
  const auto [date, time] = instantTexts(*m_instant);
  return say(filled(kClockOffset, {offsetText(*offset, m_separator), date, time}));
}

bool PhotoReduction::instantNeedsConfirming() const {
  return m_instant && m_instant->source == InstantSource::Carried && !m_carriedConfirmed;
}

bool PhotoReduction::observerDiscInUse() const {
  return m_observerDisc && m_instant && m_instant->source == InstantSource::File;
}

std::optional<DiscOrientation> PhotoReduction::disc() const {
  if (!m_instant) return std::nullopt;
  // The header's observer saw the disc at the file's instant; at another instant typed
  // instead nothing says where that observer was, and the disc is the Earth's.
  if (observerDiscInUse()) return m_observerDisc;
  return preciseDiscOrientation(m_instant->julianDay);
}

PhotoReduction::FrameOutcome PhotoReduction::frame() const {
  if (!m_limb) return {std::nullopt, kNoLimbYet};
  if (!m_orientation) return {std::nullopt, m_orientationRefusal};
  const std::optional<DiscOrientation> instant = disc();
  // Only the Sun's pole needs P; the others ignore the instant.
  if (m_orientation->reference == NorthReference::SolarAxis && !instant) return {std::nullopt, kIncompleteDate};
  photo::ImageOrientation given;
  given.given = m_orientation->reference == NorthReference::SolarAxis ? photo::NorthGiven::Solar
                                                                      : photo::NorthGiven::Celestial;
  given.angle = m_orientation->angle;
  given.mirrored = m_orientation->mirrored;
  const photo::NorthOutcome north = photo::celestialNorth(given, instant.value_or(DiscOrientation{}));
  if (!north.angle) return {std::nullopt, std::string(north.reason)};
  return {photo::ImageFrame{m_limb->circle, *north.angle, m_orientation->mirrored}, {}};
}

void PhotoReduction::startPicking(Picking what) {
  m_picking = what;
  m_picked.clear();
  m_candidate.reset();
  if (what == Picking::Limb) m_status = filled(kPickLimb, {"1"});
  if (what == Picking::Drift) m_status = kPickDriftFirst;
}

Outcome PhotoReduction::cancelPicking() {
  if (m_picking == Picking::None) return {false, {}};
  startPicking(Picking::None);
  return say(kPickCancelled);
}

Outcome PhotoReduction::click(photo::PixelPoint pixel) {
  switch (m_picking) {
    case Picking::Limb:
      return pickLimbPoint(pixel);
    case Picking::Drift:
      return pickDriftPoint(pixel);
    case Picking::ConfirmLimb:
      // A click while the circle waits is a first point of another.
      startPicking(Picking::Limb);
      return pickLimbPoint(pixel);
    case Picking::None:
      return addSpot(pixel);
  }
  return {false, {}};
}

Outcome PhotoReduction::pickLimbPoint(photo::PixelPoint pixel) {
  m_picked.push_back(pixel);
  if (m_picked.size() < 3) return say(filled(kPickLimb, {std::to_string(m_picked.size() + 1)}));
  const photo::CircleOutcome circle = photo::circleThroughPoints(m_picked[0], m_picked[1], m_picked[2]);
  if (!circle.circle) {
    startPicking(Picking::Limb);
    return say(std::string(circle.reason), false);
  }
  m_candidate = circle.circle;
  m_picking = Picking::ConfirmLimb;
  const photo::Circle& c = *m_candidate;
  std::string text = filled(kConfirmLimb, {pixelText(c.centre.x, m_separator), pixelText(c.centre.y, m_separator),
                                           pixelText(c.radius, m_separator)});
  // A circle far from the limb known is most often a point off the limb.
  if (m_limb && std::abs(c.radius / m_limb->circle.radius - 1) > 0.05)
    text += filled(kLimbDiffers, {formatMask(100 * std::abs(c.radius / m_limb->circle.radius - 1), "0", m_separator),
                                  pixelText(m_limb->circle.radius, m_separator)});
  else if (!m_limb && c.radius < 0.2 * std::min(m_image.width(), m_image.height()))
    text += kLimbSmall;
  return say(text);
}

Outcome PhotoReduction::confirmLimb() {
  if (m_picking != Picking::ConfirmLimb || !m_candidate) return {false, {}};
  const photo::Circle circle = *m_candidate;
  startPicking(Picking::None);
  return giveLimb(circle, LimbSource::ThreePoints);
}

Outcome PhotoReduction::pickLimbAgain() {
  startPicking(Picking::Limb);
  return {true, m_status};
}

Outcome PhotoReduction::pickDriftPoint(photo::PixelPoint pixel) {
  m_picked.push_back(pixel);
  if (m_picked.size() < 2) return say(kPickDriftSecond);
  photo::ImageOrientation drift;
  drift.given = photo::NorthGiven::Drift;
  drift.mirrored = m_orientation ? m_orientation->mirrored : false;
  drift.driftFrom = m_picked[0];
  drift.driftTo = m_picked[1];
  const photo::NorthOutcome north = photo::celestialNorth(drift, DiscOrientation{});
  startPicking(Picking::None);
  if (!north.angle) return say(std::string(north.reason), false);
  orient(PhotoOrientation{NorthReference::Drift, *north.angle, drift.mirrored});
  return say(filled(kDriftNorth, {angleText(*north.angle, m_separator)}));
}

Outcome PhotoReduction::addSpot(photo::PixelPoint pixel) {
  if (!std::isfinite(pixel.x) || !std::isfinite(pixel.y)) return {false, std::string(kNotANumberMessage)};
  if (instantNeedsConfirming()) return {false, kCarriedDate};
  // Off the disc, as on the drawn disc, a click adds nothing.
  if (const FrameOutcome placed = frame(); placed.frame) {
    if (const DiscRefusal refusal = pointRefusal(photo::discPointOfPixel(*placed.frame, pixel));
        refusal != DiscRefusal::None)
      return {false, std::string(refusalMessage(refusal))};
  }
  m_spots.push_back({m_nextNumber++, pixel, std::nullopt});
  m_undo.added(m_spots.back().number);
  m_unsaved = true;
  return {true, {}};
}

Outcome PhotoReduction::addSpotAt(DiscPoint point) {
  const FrameOutcome placed = frame();
  if (!placed.frame) return {false, placed.refusal};
  if (const DiscRefusal refusal = pointRefusal(point); refusal != DiscRefusal::None)
    return {false, std::string(refusalMessage(refusal))};
  return addSpot(photo::pixelOfDiscPoint(*placed.frame, point));
}

Outcome PhotoReduction::addSpotTyped(std::string_view angle, std::string_view distance, bool fromSolarNorth) {
  const std::optional<double> theta = typedNumber(angle, m_separator);
  if (!theta) return {false, kAngleRefused};
  const std::optional<double> r = typedNumber(distance, m_separator);
  if (!r) return {false, kDistanceRefused};
  if (!fromSolarNorth) return addSpotAt({reduce360(*theta), *r});
  const std::optional<DiscOrientation> instant = disc();
  if (!instant) return {false, kIncompleteDate};
  return addSpotAt({celestialPositionAngle(*instant, *theta), *r});
}

bool PhotoReduction::removeSpots(std::vector<int> rows) {
  const std::vector<PhotoSpot> before = m_spots;
  if (!removeRows(m_spots, std::move(rows))) return false;
  if (m_spots.size() != before.size()) m_unsaved = true;
  m_undo.removed(before, m_spots);
  return true;
}

Outcome PhotoReduction::undoSpots() {
  const std::optional<SpotsTakenBack> taken = m_undo.undo(m_spots);
  if (!taken) return {false, {}};
  m_unsaved = true;
  std::string numbers;
  for (const int number : taken->numbers) numbers += (numbers.empty() ? "" : ", ") + std::to_string(number);
  if (taken->wereAdded) {
    // The number goes back too: the next spot clicked takes it again.
    if (taken->numbers.front() == m_nextNumber - 1) --m_nextNumber;
    return say(filled(kAddUndone, {numbers}));
  }
  return say(filled(taken->numbers.size() == 1 ? kRemovalUndone : kRemovalsUndone, {numbers}));
}

std::string PhotoReduction::areaStatus(const PhotoSpot& spot) const {
  const photo::SpotMeasure& m = *spot.measure;
  return filled(kSpotMeasured, {std::to_string(spot.number), areaText(m.whole.hemisphere, m_separator),
                                areaText(m.umbra.hemisphere, m_separator), thresholdsText(m, m_separator)});
}

Outcome PhotoReduction::measure(std::optional<int> row) {
  if (m_image.empty()) return {false, {}};
  if (!m_limb) return {false, kNoLimbYet};
  if (m_spots.empty()) return {false, kNoSpotToMeasure};
  if (instantNeedsConfirming()) return {false, kCarriedDate};
  std::size_t chosen = m_spots.size() - 1;
  if (row && *row >= 0 && static_cast<std::size_t>(*row) < m_spots.size()) chosen = static_cast<std::size_t>(*row);
  PhotoSpot& spot = m_spots[chosen];
  const photo::SpotOutcome measured = photo::measureSpot(m_image.view(), m_limb->circle, spot.at, m_thresholds);
  if (!measured.measure) return {false, std::string(measured.reason)};
  spot.measure = measured.measure;
  m_unsaved = true;
  return say(areaStatus(spot));
}

Outcome PhotoReduction::setThresholds(std::string_view spot, std::string_view umbra, photo::UmbraBoundary boundary) {
  const std::optional<double> whole = typedNumber(spot, m_separator);
  const std::optional<double> dark = typedNumber(umbra, m_separator);
  if (!whole || !dark) return refuseInStatus(kThresholdsNotNumbers);
  photo::SpotThresholds thresholds = m_thresholds;
  thresholds.spot = *whole;
  thresholds.umbra = *dark;
  thresholds.boundary = boundary;
  if (!(thresholds.umbra > 0 && thresholds.umbra <= thresholds.spot && thresholds.spot <= 1))
    return refuseInStatus(std::string(photo::kBadThresholdsMessage));
  if (thresholds.spot == m_thresholds.spot && thresholds.umbra == m_thresholds.umbra &&
      thresholds.boundary == m_thresholds.boundary)
    return {true, {}};
  m_thresholds = thresholds;
  const std::string shown = thresholdsText(thresholds, m_separator);
  if (m_image.empty() || !m_limb) return say(filled(kThresholds, {shown}));
  int remeasured = 0;
  std::string failures;
  for (PhotoSpot& each : m_spots) {
    if (!each.measure) continue;
    const photo::SpotOutcome again = photo::measureSpot(m_image.view(), m_limb->circle, each.at, thresholds);
    each.measure = again.measure;
    if (again.measure) ++remeasured;
    else failures += filled(kRemeasureFailed, {std::to_string(each.number), again.reason});
    m_unsaved = true;
  }
  if (remeasured == 0 && failures.empty()) return say(filled(kThresholds, {shown}));
  return say(filled(kRemeasured, {shown, std::to_string(remeasured)}) + failures);
}

OverlayContent PhotoReduction::overlay() const {
  OverlayContent content;
  content.frame = frame().frame;
  if (m_picking == Picking::ConfirmLimb && m_candidate) {
    const double north = content.frame ? content.frame->north : 0;
    const bool mirrored = m_orientation && m_orientation->mirrored;
    content.frame = photo::ImageFrame{*m_candidate, north, mirrored};
  }
  content.disc = disc();
  content.spots = m_spots;
  if (m_picking == Picking::Limb) content.limbPoints = m_picked;
  if (m_picking == Picking::ConfirmLimb) content.limbPoints = m_picked;
  if (m_picking == Picking::Drift) content.driftPoints = m_picked;
  return content;
}

PixelReadout PhotoReduction::pointer(const std::optional<photo::PixelPoint>& pixel) const {
  PixelReadout readout;
  if (!pixel) {
    readout.state = kPhotoPointerHint;
    return readout;
  }
  readout.x = pixelText(pixel->x, m_separator);
  readout.y = pixelText(pixel->y, m_separator);
  const FrameOutcome placed = frame();
  if (!placed.frame) {
    readout.state = placed.refusal;
    return readout;
  }
  PointReadout read = pointReadout(photo::discPointOfPixel(*placed.frame, *pixel), disc(), m_separator);
  readout.cells = std::move(read.cells);
  readout.state = std::move(read.refusal);
  return readout;
}

std::string PhotoReduction::heading() const {
  if (!m_instant) return kIncompleteDate;
  if (observerDiscInUse()) return headingLine(m_instant->julianDay, *m_observerDisc, m_separator);
  return headingLine(m_instant->julianDay, m_separator);
}

std::string PhotoReduction::orientationLine() const {
  const FrameOutcome placed = frame();
  return disque::orientationLine(placed.frame, placed.refusal, m_separator);
}

// Which clock the instant is: "TU du fichier", "horloge de l'appareil, décalée de +2,00 h
// sur le TU", "saisi", "date de l'image précédente"; empty without an instant.
std::string PhotoReduction::instantSourceText() const {
  if (!m_instant) return {};
  switch (m_instant->source) {
    case InstantSource::File:
      return "TU du fichier";
    case InstantSource::Camera:
      return "horloge de l'appareil, décalée de " + offsetText(m_clockOffsetHours, m_separator) + " h sur le TU";
    case InstantSource::Typed:
      return "saisi";
    case InstantSource::Carried:
      return "date de l'image précédente";
  }
  return {};
}

std::vector<std::string> PhotoReduction::caption() const {
  const std::string source = instantSourceText();
  const std::string instant = source.empty() ? heading() : heading() + " (instant : " + source + ")";
  std::string orientation = orientationLine();
  if (!m_orientationGiven) orientation += " (orientation non donnée)";
  return pictureCaption(m_fileName, instant, orientation, limbLine());
}

std::vector<std::string> PhotoReduction::columns() {
  return {"N°", "θ (°)", "r", "B (°)", "L (°)", "DMC (°)", "Aire (MSH)", "Ombre (MSH)", "Seuils"};
}

SpotCells PhotoReduction::row(const PhotoSpot& spot) const {
  SpotCells cells;
  cells[0] = std::to_string(spot.number);
  if (const std::optional<photo::ImageFrame> placed = frame().frame) {
    const PointReadout read = pointReadout(photo::discPointOfPixel(*placed, spot.at), disc(), m_separator);
    for (std::size_t i = 0; i < read.cells.size(); ++i) cells[i + 1] = read.cells[i];
  }
  if (spot.measure) {
    cells[6] = areaText(spot.measure->whole.hemisphere, m_separator);
    cells[7] = areaText(spot.measure->umbra.hemisphere, m_separator);
    cells[8] = thresholdsText(*spot.measure, m_separator);
  }
  return cells;
}

std::vector<SpotCells> PhotoReduction::rows() const {
  std::vector<SpotCells> all;
  all.reserve(m_spots.size());
  for (const PhotoSpot& spot : m_spots) all.push_back(row(spot));
  return all;
}

InstantTexts PhotoReduction::aspect() const {
  return {observerDiscInUse() ? kHeaderObserverText : kEphemerisText, discAspectTexts(disc(), m_separator)};
}

SpotTable PhotoReduction::spotTable() const {
  SpotTable table{columns(), {}};
  for (const SpotCells& cells : rows()) table.rows.emplace_back(cells.begin(), cells.end());
  return table;
}

std::string PhotoReduction::csv() const {
  const csv::Format format = csv::formatFor(m_separator);
  const std::string decimal(1, format.decimal);
  namespace columns = spot_columns;
  std::string text = csv::header({columns::kDate, columns::kTime, columns::kNumber, columns::kPixelX, columns::kPixelY,
                                  columns::kAngle, columns::kDistance, columns::kLatitude, columns::kLongitude,
                                  columns::kCentralMeridianDistance, columns::kAreaMsh, "aire_millioniemes_disque", "ombre_msh",
                                  "ombre_millioniemes_disque", "seuil_tache", "seuil_ombre", "ombre_limite", "image", "bord_x_px",
                                  "bord_y_px", "bord_rayon_px", "bord_source", "nord_deg", "nord_reference",
                                  "est_a_droite", "heure_source", "decalage_horloge_h", "orientation_source"},
                                 format);
  // What every row repeats: the image, its limb and its orientation.
  std::vector<std::string> common{m_fileName};
  const FrameOutcome placed = frame();
  if (m_limb) {
    for (const double v : {m_limb->circle.centre.x, m_limb->circle.centre.y, m_limb->circle.radius})
      common.push_back(pixelText(v, decimal));
    common.emplace_back(limbSourceWord(m_limb->source));
  } else {
    common.insert(common.end(), 4, std::string());
  }
  common.push_back(placed.frame ? angleText(placed.frame->north, decimal) : std::string());
  common.emplace_back(m_orientation ? referenceText(m_orientation->reference) : std::string_view());
  common.emplace_back(m_orientation ? (m_orientation->mirrored ? "oui" : "non") : "");
  common.emplace_back(instantSourceWord(m_instant));
  const bool camera = m_instant && m_instant->source == InstantSource::Camera;
  common.push_back(camera ? formatMask(m_clockOffsetHours, "0.00", decimal) : std::string());
  common.emplace_back(!m_orientationGiven ? "non donnée" : m_header && m_orientation &&
                      m_orientation->reference == NorthReference::Header ? "en-tête du fichier" : "donnée");
  const auto [date, time] = m_instant ? instantTexts(*m_instant) : std::pair<std::string, std::string>();
  for (const PhotoSpot& spot : m_spots) {
    std::vector<std::string> fields{date, time, std::to_string(spot.number), pixelText(spot.at.x, decimal),
                                    pixelText(spot.at.y, decimal)};
    PointReadout read;
    if (placed.frame) read = pointReadout(photo::discPointOfPixel(*placed.frame, spot.at), disc(), decimal);
    for (std::string& cell : read.cells) fields.push_back(cell == kEmptyResult ? std::string() : std::move(cell));
    const photo::SpotMeasure* m = spot.measure ? &*spot.measure : nullptr;
    for (const double v : {m ? m->whole.hemisphere : NAN, m ? m->whole.projected : NAN, m ? m->umbra.hemisphere : NAN,
                           m ? m->umbra.projected : NAN})
      fields.push_back(std::isfinite(v) ? formatMask(v, "0.0", decimal) : std::string());
    fields.push_back(m ? thresholdText(m->thresholds.spot, decimal) : std::string());
    fields.push_back(m ? thresholdText(m->umbraLevel, decimal) : std::string());
    fields.emplace_back(!m ? "" : m->umbraFromDip ? "creux" : "fixe");
    fields.insert(fields.end(), common.begin(), common.end());
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) text += format.separator;
      csv::appendField(text, fields[i], format);
    }
    text += '\n';
  }
  return text;
}

}  // namespace kavrel::disque
