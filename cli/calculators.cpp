// The calculators' actions of kavrel: the Julian day, the date of a Julian day, sidereal
// time, precession, the Sun's aspect, the rotations' starts and a point of the disc, each
// printing what its window shows for the same fields (the computing cores of calculators/,
// sun/ and disque/ compute; nothing is computed here). Degrees, hours and Julian days as
// the windows write them. Qt-free.
#include "cli/calculators.h"

#include <algorithm>
#include <optional>

#include "calculators/aspect_texts.h"
#include "calculators/date_of_julian_day.h"
#include "calculators/julian_day_text.h"
#include "calculators/precession.h"
#include "calculators/rotation_list.h"
#include "calculators/sidereal_time.h"
#include "cli/batch_command.h"
#include "common/julian_day.h"
#include "disque/disc_spots.h"
#include "disque/disc_texts.h"
#include "sun/heliographic.h"
#include "sun/precise_aspect.h"

namespace kavrel::cli {
namespace {

constexpr std::string_view kImpossibleMessage = "Calcul impossible";

Status printJulianDay(const Fields& f, const Context& c) {
  c.out << farrowel::julianDayText({f[0], f[1], f[2], f[3], f[4]}, c.decimalSeparator) << '\n';
  return Status::Done;
}

Status printDate(const Fields& f, const Context& c) {
  switch (gastrel::checkJulianDayText(f[0])) {
    case gastrel::Refusal::Negative:
      c.err << gastrel::kNegativeMessageLine1 << '\n' << gastrel::kNegativeMessageLine2 << '\n';
      return Status::Refused;
    case gastrel::Refusal::Number:
      c.err << gastrel::kNumberMessage << '\n';
      return Status::Refused;
    case gastrel::Refusal::None:
      break;
  }
  c.out << gastrel::dateText(f[0], c.decimalSeparator) << '\n';
  return Status::Done;
}

Status printSiderealTime(const Fields& f, const Context& c) {
  const auto texts = kestrum::siderealTexts({f[0], f[1], f[2]}, c.decimalSeparator);
  c.out << texts.julianDay << '\n' << texts.siderealTime << '\n';
  return Status::Done;
}

Status printPrecession(const Fields& f, const Context& c) {
  const auto outcome = precession::compute({f[0], f[1], f[2], f[3]}, c.decimalSeparator);
  bool badData = false;
  for (const auto message : outcome.messages) {
    c.err << precession::messageText(message) << '\n';
    badData = badData || message == precession::Message::BadData;
  }
  if (badData) return Status::Refused;
  if (!outcome.rightAscension || !outcome.declination) {
    // The window writes nothing then and says nothing; a terminal must say something.
    c.err << kImpossibleMessage << '\n';
    return Status::Failed;
  }
  c.out << *outcome.rightAscension << '\n' << *outcome.declination << '\n';
  return Status::Done;
}

Status printSolarAspect(const Fields& f, const Context& c) {
  const DateTexts fields{f[0], f[1], f[2], f[3], f[4]};
  for (const auto& line : dalvoren::reportLines(fields, dalvoren::aspectTexts(fields, c.decimalSeparator))) {
    c.out << line << '\n';
  }
  return Status::Done;
}

Status printRotationStarts(const Fields& f, const Context& c) {
  const auto list = brennic::rotationList({f[0], f[1], f[2]}, {f[3], f[4], f[5]}, c.decimalSeparator);
  switch (list.outcome) {
    case brennic::ListOutcome::Listed: {
      const auto count = std::min(list.lines.size(), static_cast<std::size_t>(list.lastLine) + 1);
      for (std::size_t i = 0; i < count; ++i) c.out << list.lines[i] << '\n';
      return Status::Done;
    }
    case brennic::ListOutcome::DatesIncorrect:
      c.err << brennic::kDatesMessage << '\n';
      return Status::Refused;
    case brennic::ListOutcome::Limit:
      c.err << brennic::kLimitMessage << '\n';
      return Status::Refused;
    case brennic::ListOutcome::Silent:
      return Status::Done;
  }
  return Status::Done;
}

constexpr std::string_view kAngleMessage = "L'angle de position doit être un nombre de degrés";
constexpr std::string_view kDistanceMessage = "La distance au centre doit être un nombre de rayons du disque, de 0 à 1";

// JOUR MOIS ANNEE HEURE MINUTE ANGLE DISTANCE: B, L and DMC of the point.
Status printSpot(const Fields& f, const Context& c) {
  const DateTexts date{f[0], f[1], f[2], f[3], f[4]};
  const bool empty = anyEmpty(date) || f[5].empty() || f[6].empty();
  std::optional<double> angle;
  std::optional<double> distance;
  if (!f[5].empty() && !(angle = readTerminalNumber(f[5], c.decimalSeparator))) {
    c.err << kAngleMessage << '\n';
    return Status::Refused;
  }
  if (!f[6].empty() && !(distance = readTerminalNumber(f[6], c.decimalSeparator))) {
    c.err << kDistanceMessage << '\n';
    return Status::Refused;
  }

  // A date beyond the theory's years gives no orientation: shown empty, as the solar-aspect
  // window shows it.
  const std::optional<DiscInstant> instant = empty ? std::nullopt : preciseDiscInstant(date);
  std::optional<DiscOrientation> disc;
  DiscPoint point;
  if (instant) {
    point = {c.options.contains("--depuis-axe") ? celestialPositionAngle(instant->disc, *angle) : *angle, *distance};
    const DiscRefusal refusal = pointRefusal(point);
    if (refusal == DiscRefusal::OutsideDisc) {
      c.err << refusalMessage(refusal) << '\n';
      return Status::Refused;
    }
    if (refusal == DiscRefusal::None) disc = instant->disc;
  }
  const disque::SpotRow row = disque::spotRow(disc, {0, point}, c.decimalSeparator);
  c.out << "B : " << row.latitude << "°\n"
        << "L : " << row.longitude << "°\n"
        << "DMC : " << row.fromCentralMeridian << "°\n";
  return Status::Done;
}

// --csv [FICHIER]: the lines of a log, one CSV row each (cli/batch_command.h).
Status solarAspectBatch(const Fields& files, const Context& c) {
  return runCsvBatch(batch::Kind::SolarAspect, files, false, c.decimalSeparator, c.out, c.err);
}

Status spotBatch(const Fields& files, const Context& c) {
  return runCsvBatch(batch::Kind::Spot, files, c.options.contains("--depuis-axe"), c.decimalSeparator, c.out, c.err);
}

using enum DateField;

const std::vector<Action> kActions{
    {"jj", {"JOUR", "MOIS", "ANNEE", "HEURE", "MINUTE"},
     {"le jour julien d'une date et d'une heure TU (Farrowel)",
      "the Julian day of a date and a time of UT (Farrowel)"},
     {Day, Month, Year, Hour, Minute}, CheckForm::NumberRead, false, printJulianDay},
    {"date", {"JOUR_JULIEN"},
     {"la date du calendrier d'un jour julien (Gastrel)", "the calendar date of a Julian day (Gastrel)"},
     {}, CheckForm::ExactText, false, printDate},
    {"sideral", {"JOUR", "MOIS", "ANNEE"},
     {"le jour julien et le temps sidéral de Greenwich à 0 h TU d'une date (Kestrum)",
      "the Julian day and Greenwich sidereal time at 0 h UT of a date (Kestrum)"},
     {Day, Month, Year}, CheckForm::ExactText, false, printSiderealTime},
    {"precession", {"ANNEE_REF", "AD", "DECL", "ANNEE_CIBLE"},
     {"l'ascension droite (hh.mmss) et la déclinaison (dd.mmss) d'un astre portées à\n"
      "l'année cible (précession)",
      "the right ascension (hh.mmss) and the declination (dd.mmss) of a star carried to\n"
      "the target year (precession)"},
     {}, CheckForm::ExactText, false, printPrecession},
    {"soleil", {"JOUR", "MOIS", "ANNEE", "HEURE", "MINUTE"},
     {"l'aspect du Soleil, lignes 2 à 10 du rapport imprimé (Dalvoren) ; sans\n"
      "argument, à la date et à l'heure locales de l'ordinateur. Avec --csv, un\n"
      "instant par ligne de FICHIER (ou de l'entrée standard) : « J M A H MIN » ou\n"
      "« AAAA-MM-JJTHH:MM[:SS] » (lignes vides et « # » ignorées) ; une ligne CSV par\n"
      "instant, colonnes date, heure_tu, jour_julien, ascension_droite_h,\n"
      "declinaison_deg, rotation, demi_diametre_arcmin, P_deg, B0_deg, L0_deg et\n"
      "erreur (séparateur « ; » avec la virgule décimale, « , » avec le point) ; une\n"
      "ligne refusée garde sa ligne CSV, valeurs vides et message dans erreur",
      "the aspect of the Sun, lines 2 to 10 of the printed report (Dalvoren); without\n"
      "arguments, at the local date and time of the computer. With --csv, one instant\n"
      "per line of FICHIER (or of the standard input): \"D M Y H MIN\" or\n"
      "\"YYYY-MM-DDTHH:MM[:SS]\" (empty lines and \"#\" skipped); one CSV row per\n"
      "instant, columns date, heure_tu, jour_julien, ascension_droite_h,\n"
      "declinaison_deg, rotation, demi_diametre_arcmin, P_deg, B0_deg, L0_deg and\n"
      "erreur (separator \";\" with the decimal comma, \",\" with the point); a\n"
      "refused line keeps its row, with empty values and the message in erreur"},
     {Day, Month, Year, Hour, Minute}, CheckForm::ExactText, true, printSolarAspect,
     {{"--csv", 0}}, "| --csv [FICHIER]", 0, 0, solarAspectBatch},
    {"rotations", {"J1", "M1", "A1", "J2", "M2", "A2"},
     {"les débuts des rotations synodiques entre deux dates à 0 h TU (Brennic)",
      "the starts of the synodic rotations between two dates at 0 h UT (Brennic)"},
     {Day, Month, Year, Day, Month, Year}, CheckForm::ExactText, false, printRotationStarts},
    {"tache", {"JOUR", "MOIS", "ANNEE", "HEURE", "MINUTE", "ANGLE", "DISTANCE"},
     {"les coordonnées héliographiques B, L et DMC d'un point du disque à une date et\n"
      "une heure TU (Disque) : ANGLE de position en degrés compté depuis le nord\n"
      "céleste par l'est (depuis le pôle nord du Soleil avec --depuis-axe),\n"
      "DISTANCE au centre en rayons du disque (0 à 1). Avec --csv, un point par\n"
      "ligne de FICHIER (ou de l'entrée standard) : « J M A H MIN ANGLE DISTANCE »\n"
      "ou « ISO ANGLE DISTANCE » ; une ligne CSV par point, colonnes date, heure_tu,\n"
      "angle, distance, B_deg, L_deg, DMC_deg et erreur",
      "the heliographic coordinates B, L and DMC of a point of the disc at a date and\n"
      "a time of UT (Disque): position ANGLE in degrees from celestial north through\n"
      "east (from the Sun's north pole with --depuis-axe), DISTANCE from the centre\n"
      "in disc radii (0 to 1). With --csv, one point per line of FICHIER (or of the\n"
      "standard input): \"D M Y H MIN ANGLE DISTANCE\" or \"ISO ANGLE DISTANCE\"; one\n"
      "CSV row per point, columns date, heure_tu, angle, distance, B_deg, L_deg,\n"
      "DMC_deg and erreur"},
     {Day, Month, Year, Hour, Minute}, CheckForm::ExactText, false, printSpot,
     {{"--depuis-axe", 0}, {"--csv", 0}}, "[--depuis-axe] | --csv [FICHIER] [--depuis-axe]", 0, 0, spotBatch},
};

}  // namespace

const std::vector<Action>& calculatorActions() { return kActions; }

}  // namespace kavrel::cli
