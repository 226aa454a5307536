// What the Disque window says of a synoptic map (disque/synoptic_map.h), without Qt: the
// rotation it proposes (the one under way when the first photograph was taken), the
// rotation as typed, the photographs chosen, what became of them, and the name a saved map
// is offered under. Texts are UTF-8 French; numbers with the user's decimal separator.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "disque/photo_reduction.h"
#include "disque/synoptic_map.h"

namespace kavrel::disque {

// The rotation under way at the photograph's instant ("2102"); empty when the file gives
// no instant (its date without a time of day, or none) or the ephemeris none.
[[nodiscard]] std::string rotationUnderWayText(const PhotoFile& file);

// The rotation typed: a whole number, surrounding spaces allowed; else why not.
struct RotationOutcome {
  std::optional<int> rotation;
  std::string refusal;
};
[[nodiscard]] RotationOutcome rotationOf(std::string_view typed);

// "1 photographie : « a.fits »." or "3 photographies, de « a.fits » à « c.fits »."
[[nodiscard]] std::string photographsChosenText(const std::vector<std::string>& names);

// "Rotation 2102 : 2 photographies placées sur 3, 48,3 % de la carte vue."
[[nodiscard]] std::string synopticSummary(const SynopticOutcome& outcome, std::string_view decimalSeparator);

// "Longitude de Carrington de 360° à gauche à 0° à droite, latitude de +90° en haut à -90° en
// bas, 0,1° par pixel."
[[nodiscard]] std::string synopticGridText(const SynopticMap& map, std::string_view decimalSeparator);

// Each photograph left out, with its reason: "« b.png » : l'instant de la prise de vue …".
[[nodiscard]] std::vector<std::string> synopticRefusals(const SynopticOutcome& outcome);

// "Carte synoptique 2102", the saved file's name without its suffix.
[[nodiscard]] std::string synopticFileName(const SynopticMap& map);

}  // namespace kavrel::disque
