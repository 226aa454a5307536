// The texts of the disc's page (disc_texts.h).
#include "disque/disc_texts.h"

#include <cmath>
#include <limits>

#include "common/display_mask.h"
#include "common/sexagesimal.h"
#include "common/strict_number.h"
#include "sun/ephemeris.h"
#include "sun/precise_aspect.h"

namespace kavrel::disque {

namespace {

constexpr double kMinutesPerDay = 1440;
constexpr char kEastLeft[] = "est à gauche (vue directe, photographie)";
constexpr char kEastRight[] = "est à droite (écran de projection)";

std::string shownAngle(double degrees, std::string_view separator) {
  return formatMask(arr2(degrees), mask::kAngle, separator);
}

}  // namespace

PageOptions pageOptionsOf(std::string_view diameter, DrawingOrientation orientation, GridStep step,
                          std::string_view separator) {
  return {parseStrictNumber(diameter, separator).value_or(std::numeric_limits<double>::quiet_NaN()), orientation,
          step};
}

std::string refusalOf(const PageOptions& options) {
  if (!(options.diameterMm >= kMinDiameterMm && options.diameterMm <= kMaxDiameterMm)) return kDiameterRefused;
  if (!options.step.allowed()) return kStepRefused;
  return {};
}

HeadingTime headingTime(double julianDay) noexcept {
  const double minutes = std::round((julianDay + 0.5) * kMinutesPerDay);
  double dayMinutes = minutes - kMinutesPerDay * std::floor(minutes / kMinutesPerDay);
  if (!(dayMinutes >= 0 && dayMinutes < kMinutesPerDay)) dayMinutes = 0;  // beyond double's minutes
  HeadingTime time;
  time.date = calendarDate(std::floor(minutes / kMinutesPerDay) - 0.5);
  time.hour = static_cast<int>(dayMinutes / 60);
  time.minute = static_cast<int>(dayMinutes) % 60;
  return time;
}

std::string headingLine(double julianDay, std::string_view separator) {
  // The disc's angles are the precise ones.
  return headingLine(julianDay,
                     preciseDiscOrientation(julianDay).value_or(
                         DiscOrientation{std::nan(""), std::nan(""), std::nan(""), std::nan("")}),
                     separator);
}

std::string headingLine(double julianDay, const DiscOrientation& disc, std::string_view separator) {
  const HeadingTime time = headingTime(julianDay);
  // The rotation is counted as the suite counts it.
  const SolarAspect sun = solarAspect(julianDay);
  const std::string rotation = sun.rotation < 1 ? "< 1" : formatInteger(sun.rotation);
  const std::string minute = (time.minute < 10 ? "0" : "") + std::to_string(time.minute);
  return "Le " + formatInteger(time.date.day) + ' ' + monthName(time.date.month) + ' ' +
         formatInteger(time.date.year) + " à " + std::to_string(time.hour) + " h " + minute + " TU     P " +
         shownAngle(disc.p, separator) + "°     B0 " + shownAngle(disc.b0, separator) + "°     L0 " +
         shownAngle(disc.l0, separator) + "°     Rotation " + rotation;
}

std::string drawingLine(const PageOptions& options, std::string_view separator) {
  const double diameter = options.diameterMm;
  const std::string shown =
      diameter == std::trunc(diameter) ? formatInteger(diameter) : formatMask(diameter, "##0.0", separator);
  return "Disque de " + shown + " mm, " +
         (options.orientation == DrawingOrientation::EastRight ? kEastRight : kEastLeft) + ", grille de " +
         std::to_string(options.step.degrees) + "°";
}

DiscAspectTexts discAspectTexts(const std::optional<DiscOrientation>& disc, std::string_view separator) {
  const std::string empty(kEmptyResult);
  if (!disc || !std::isfinite(disc->semiDiameter)) return {empty, empty, empty, empty};
  const double minutesOfArc = 60 * disc->semiDiameter;
  const double minutes = std::trunc(minutesOfArc);
  return {formatInteger(minutes) + "  " + formatMask(arr1(60 * (minutesOfArc - minutes)), mask::kArcSeconds, separator),
          shownAngle(disc->p, separator), shownAngle(disc->b0, separator), shownAngle(disc->l0, separator)};
}

std::string centralMeridianLabel(const DiscOrientation& disc, std::string_view separator) {
  return "L0 " + shownAngle(disc.l0, separator) + "°";
}

}  // namespace kavrel::disque
