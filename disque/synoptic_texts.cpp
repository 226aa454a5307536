// The synoptic map's texts for the window (synoptic_texts.h).
#include "disque/synoptic_texts.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "common/display_mask.h"
#include "sun/carrington_rotation.h"

namespace kavrel::disque {

namespace {
constexpr char kRotationRefused[] = "La rotation de Carrington est un nombre entier (2102 par exemple).";
// A rotation number of six digits is some 27 000 years away: beyond it, a slip of the keys.
constexpr int kMostRotationDigits = 6;

std::string quoted(const std::string& name) { return "« " + name + " »"; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::string photographs(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " photographie" : " photographies");
}
}  // namespace

std::string rotationUnderWayText(const PhotoFile& file) {
  if (!file.observed) return {};
  const std::optional<PhotoInstant> instant = photoInstantOf(*file.observed);
  if (!instant) return {};
  const std::optional<double> rotation = carringtonRotationAt(instant->julianDay);
  return rotation ? std::to_string(static_cast<long long>(std::floor(*rotation))) : std::string();
}

RotationOutcome rotationOf(std::string_view typed) {
  const std::string_view text = trimmed(typed);
  const std::string_view digits = !text.empty() && (text.front() == '-' || text.front() == '+') ? text.substr(1) : text;
  int rotation = 0;
  const auto [end, error] = std::from_chars(text.data() + (text.size() - digits.size()), text.data() + text.size(),
                                            rotation);
  const bool whole = !digits.empty() && digits.size() <= kMostRotationDigits && error == std::errc() &&
                     end == text.data() + text.size() && std::isdigit(static_cast<unsigned char>(digits.front()));
  if (!whole) return {std::nullopt, kRotationRefused};
  return {text.front() == '-' ? -rotation : rotation, {}};
}

std::string photographsChosenText(const std::vector<std::string>& names) {
  if (names.empty()) return "Aucune photographie.";
  if (names.size() == 1) return "1 photographie : " + quoted(names.front()) + ".";
  return photographs(names.size()) + ", de " + quoted(names.front()) + " à " + quoted(names.back()) + ".";
}

std::string synopticSummary(const SynopticOutcome& outcome, std::string_view decimalSeparator) {
  if (!outcome.map) return outcome.refusal;
  std::size_t placed = 0;
  for (const SynopticPhotoUse& use : outcome.photos) placed += use.refusal.empty() ? 1 : 0;
  const SynopticMap& map = *outcome.map;
  const double pixels = static_cast<double>(map.width) * map.height;
  const double seen = pixels > 0 ? 100.0 * static_cast<double>(map.covered()) / pixels : 0;
  return "Rotation " + std::to_string(map.rotation) + " : " + photographs(placed) + (placed == 1 ? " placée" : " placées") +
         " sur " + std::to_string(outcome.photos.size()) + ", " + formatMask(seen, "0.0", decimalSeparator) +
         " % de la carte vue.";
}

std::string synopticGridText(const SynopticMap& map, std::string_view decimalSeparator) {
  return "Longitude de Carrington de 360° à gauche à 0° à droite, latitude de +90° en haut à -90° en bas, " +
         (map.step == std::trunc(map.step) ? formatInteger(map.step) : formatMask(map.step, "0.0#", decimalSeparator)) +
         "° par pixel.";
}

std::vector<std::string> synopticRefusals(const SynopticOutcome& outcome) {
  std::vector<std::string> lines;
  for (const SynopticPhotoUse& use : outcome.photos)
    if (!use.refusal.empty()) lines.push_back(quoted(use.name) + " : " + use.refusal);
  return lines;
}

std::string synopticFileName(const SynopticMap& map) { return "Carte synoptique " + std::to_string(map.rotation); }

}  // namespace kavrel::disque
