#include "cli/subcommands.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

#include "cli/batch_command.h"
#include "cli/command_context.h"
#include "cli/journal_commands.h"
#include "cli/photo_commands.h"
#include "common/display_mask.h"
#include "common/field_check.h"
#include "common/julian_day.h"
#include "common/strict_number.h"
#include "calculators/rotation_list.h"
#include "calculators/aspect_texts.h"
#include "pictures/disc_page.h"
#include "disque/disc_spots.h"
#include "disque/disc_texts.h"
#include "calculators/julian_day_text.h"
#include "calculators/date_of_julian_day.h"
#include "calculators/sidereal_time.h"
#include "calculators/precession.h"
#include "sun/heliographic.h"
#include "sun/precise_aspect.h"

namespace kavrel::cli {

std::optional<double> readTerminalNumber(std::string_view text, std::string_view sep) {
  if (auto value = parseStrictNumber(text, sep)) return value;
  if (sep != ".") return parseStrictNumber(text, ".");
  return std::nullopt;
}

namespace {

constexpr std::string_view kImpossibleMessage = "Calcul impossible";

int printJulianDay(const Fields& f, const Context& c) {
  c.out << farrowel::julianDayText({f[0], f[1], f[2], f[3], f[4]}, c.decimalSeparator) << '\n';
  return kDone;
}

int printDate(const Fields& f, const Context& c) {
  switch (gastrel::checkJulianDayText(f[0])) {
    case gastrel::Refusal::Negative:
      c.err << gastrel::kNegativeMessageLine1 << '\n' << gastrel::kNegativeMessageLine2 << '\n';
      return kRefused;
    case gastrel::Refusal::Number:
      c.err << gastrel::kNumberMessage << '\n';
      return kRefused;
    case gastrel::Refusal::None:
      break;
  }
  c.out << gastrel::dateText(f[0], c.decimalSeparator) << '\n';
  return kDone;
}

int printSiderealTime(const Fields& f, const Context& c) {
  const auto texts = kestrum::siderealTexts({f[0], f[1], f[2]}, c.decimalSeparator);
  c.out << texts.julianDay << '\n' << texts.siderealTime << '\n';
  return kDone;
}

int printPrecession(const Fields& f, const Context& c) {
  const auto outcome = precession::compute({f[0], f[1], f[2], f[3]}, c.decimalSeparator);
  bool badData = false;
  for (const auto message : outcome.messages) {
    c.err << precession::messageText(message) << '\n';
    badData = badData || message == precession::Message::BadData;
  }
  if (badData) return kRefused;
  if (!outcome.rightAscension || !outcome.declination) {
    // The window writes nothing then and says nothing; a terminal must say something.
    c.err << kImpossibleMessage << '\n';
    return kImpossible;
  }
  c.out << *outcome.rightAscension << '\n' << *outcome.declination << '\n';
  return kDone;
}

int printSolarAspect(const Fields& f, const Context& c) {
  const DateTexts fields{f[0], f[1], f[2], f[3], f[4]};
  for (const auto& line : dalvoren::reportLines(fields, dalvoren::aspectTexts(fields, c.decimalSeparator))) {
    c.out << line << '\n';
  }
  return kDone;
}

int printRotationStarts(const Fields& f, const Context& c) {
  const auto list = brennic::rotationList({f[0], f[1], f[2]}, {f[3], f[4], f[5]}, c.decimalSeparator);
  switch (list.outcome) {
    case brennic::ListOutcome::Listed: {
      const auto count = std::min(list.lines.size(), static_cast<std::size_t>(list.lastLine) + 1);
      for (std::size_t i = 0; i < count; ++i) c.out << list.lines[i] << '\n';
      return kDone;
    }
    case brennic::ListOutcome::DatesIncorrect:
      c.err << brennic::kDatesMessage << '\n';
      return kRefused;
    case brennic::ListOutcome::Limit:
      c.err << brennic::kLimitMessage << '\n';
      return kRefused;
    case brennic::ListOutcome::Silent:
      return kDone;
  }
  return kDone;
}

constexpr std::string_view kAngleMessage = "L'angle de position doit être un nombre de degrés";
constexpr std::string_view kDistanceMessage = "La distance au centre doit être un nombre de rayons du disque, de 0 à 1";

// JOUR MOIS ANNEE HEURE MINUTE ANGLE DISTANCE: B, L and DMC of the point.
int printSpot(const Fields& f, const Context& c) {
  const DateTexts date{f[0], f[1], f[2], f[3], f[4]};
  const bool empty = anyEmpty(date) || f[5].empty() || f[6].empty();
  std::optional<double> angle;
  std::optional<double> distance;
  if (!f[5].empty() && !(angle = readTerminalNumber(f[5], c.decimalSeparator))) {
    c.err << kAngleMessage << '\n';
    return kRefused;
  }
  if (!f[6].empty() && !(distance = readTerminalNumber(f[6], c.decimalSeparator))) {
    c.err << kDistanceMessage << '\n';
    return kRefused;
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
      return kRefused;
    }
    if (refusal == DiscRefusal::None) disc = instant->disc;
  }
  const disque::SpotRow row = disque::spotRow(disc, {0, point}, c.decimalSeparator);
  c.out << "B : " << row.latitude << "°\n"
        << "L : " << row.longitude << "°\n"
        << "DMC : " << row.fromCentralMeridian << "°\n";
  return kDone;
}

constexpr std::string_view kNoPageFile = "kavrel : indiquer le fichier à écrire, --pdf FICHIER ou --svg FICHIER";
constexpr std::string_view kTwoPageFiles = "kavrel : un seul fichier à la fois, --pdf FICHIER ou --svg FICHIER";

// Qt's own notices (the platform, the runtime directory) are not the command's output.
void dropQtNotices(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

// JOUR MOIS ANNEE HEURE MINUTE and the options: the printed page of the disc, without spots.
int writeDiscPageFile(const Fields& f, const Context& c) {
  const bool pdf = c.options.contains("--pdf");
  const bool svg = c.options.contains("--svg");
  if (pdf == svg) {
    c.err << (pdf ? kTwoPageFiles : kNoPageFile) << '\n';
    return kRefused;
  }
  const DateTexts date{f[0], f[1], f[2], f[3], f[4]};
  if (anyEmpty(date)) {
    c.err << disque::kIncompleteDate << '\n';
    return kRefused;
  }

  disque::PageOptions options;
  if (c.options.contains("--est-a-droite")) options.orientation = DrawingOrientation::EastRight;
  if (const auto given = c.options.find("--diametre"); given != c.options.end()) {
    const auto diameter = readTerminalNumber(given->second.front(), c.decimalSeparator);
    options.diameterMm = diameter ? *diameter : std::nan("");
  }
  if (const auto given = c.options.find("--pas"); given != c.options.end()) {
    const auto step = parseStrictNumber(given->second.front(), ".");
    // Not a whole number of degrees: a step the page refuses.
    options.step.degrees = step && *step == std::trunc(*step) && std::fabs(*step) < 1000 ? static_cast<int>(*step) : 0;
  }
  if (const std::string refusal = disque::refusalOf(options); !refusal.empty()) {
    c.err << refusal << '\n';
    return kRefused;
  }

  const std::optional<DiscInstant> instant = preciseDiscInstant(date);
  if (!instant) {
    c.err << kImpossibleMessage << '\n';
    return kImpossible;
  }

  // The page is drawn with Qt's fonts, which need a graphical application; no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QtMessageHandler previous = qInstallMessageHandler(dropQtNotices);
  static int argc = 1;
  static char name[] = "kavrel";
  static char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);
  const QString path = QString::fromStdString(pdf ? c.options.at("--pdf").front() : c.options.at("--svg").front());
  QString error;
  const bool written = disque::writeDiscPage(path, pdf ? disque::PageFormat::Pdf : disque::PageFormat::Svg,
                                             instant->julianDay, options, &error);
  qInstallMessageHandler(previous);
  if (!written) {
    c.err << error.toStdString() << '\n';
    return kImpossible;
  }
  return kDone;
}

struct Option {
  std::string_view name;
  int values = 0;  // the words that follow it
};

struct Subcommand {
  std::string_view name;
  std::vector<std::string_view> arguments;  // names shown in the usage, one per field
  HelpText summary;                         // for --help and the manual pages
  // The date-field check of each argument, in the window's order; empty when the
  // subcommand's core checks its own texts.
  std::vector<DateField> checks;
  CheckForm form = CheckForm::ExactText;
  bool clockWithoutArgument = false;  // no argument: the fields the window fills at start
  int (*print)(const Fields&, const Context&) = nullptr;
  // The options the subcommand accepts anywhere before a "--", and how the usage shows them.
  std::vector<Option> options{};
  std::string_view optionsSynopsis{};
  std::size_t firstChecked = 0;  // the field the checks start at (after an image's name)
  // The checked fields that may be left out together (an instant the file gives).
  std::size_t omittable = 0;
};

using enum DateField;

const std::vector<Subcommand>& subcommands() {
  static const std::vector<Subcommand> table{
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
       {{"--csv", 0}}, "| --csv [FICHIER]"},
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
       {{"--depuis-axe", 0}, {"--csv", 0}}, "[--depuis-axe] | --csv [FICHIER] [--depuis-axe]"},
      {"disque", {"JOUR", "MOIS", "ANNEE", "HEURE", "MINUTE"},
       {"la page imprimée du disque solaire à une date et une heure TU, sans taches\n"
        "(Disque), en PDF ou en SVG : diamètre du disque en mm (50 à 250, 150 par\n"
        "défaut), est à droite comme sur un écran de projection, pas de la grille\n"
        "en degrés (5, 10 ou 15, 10 par défaut)",
        "the printed page of the Sun's disc at a date and a time of UT, without spots\n"
        "(Disque), as PDF or SVG: diameter of the disc in mm (50 to 250, 150 by\n"
        "default), east on the right as on a projection screen, grid step in degrees\n"
        "(5, 10 or 15, 10 by default)"},
       {Day, Month, Year, Hour, Minute}, CheckForm::ExactText, false, writeDiscPageFile,
       {{"--pdf", 1}, {"--svg", 1}, {"--diametre", 1}, {"--est-a-droite", 0}, {"--pas", 1}},
       "--pdf FICHIER | --svg FICHIER [--diametre MM] [--est-a-droite] [--pas DEG]"},
      {"limbe", {"IMAGE"},
       {"le bord du Soleil sur une photographie (PNG, JPEG, TIFF, FITS) : centre et\n"
        "rayon en pixels, trouvés automatiquement avec leur écart quadratique et le\n"
        "nombre de points du bord, lus dans l'en-tête FITS (WCS) quand le bord trouvé\n"
        "s'accorde avec lui, ou passant par trois points du bord (--bord) ; une\n"
        "dernière ligne dit d'où il vient : « Source : image », « Source : en-tête »\n"
        "ou « Source : trois points »",
        "the Sun's limb on a photograph (PNG, JPEG, TIFF, FITS): centre and radius in\n"
        "pixels, found automatically with their rms residual and the number of limb\n"
        "points, read from the FITS header (WCS) when the limb found agrees with it,\n"
        "or through three points of the limb (--bord); a last line says where it came\n"
        "from: \"Source : image\", \"Source : en-tête\" or \"Source : trois points\""},
       {}, CheckForm::ExactText, false, printLimb, {{"--bord", 6}}, "[--bord X1 Y1 X2 Y2 X3 Y3]"},
      {"tache-image", {"IMAGE", "JOUR", "MOIS", "ANNEE", "HEURE", "MINUTE", "X", "Y"},
       {"l'angle de position, la distance au centre et B, L, DMC du pixel X Y d'une\n"
        "photographie prise à une date et une heure TU ; le nord céleste à ANGLE degrés\n"
        "du haut de l'image vers la gauche (0 par défaut ; celui du pôle nord du Soleil\n"
        "avec --depuis-axe), ou donné par la dérive d'un détail, télescope arrêté ;\n"
        "--est-a-droite pour une image retournée ; --limbe donne le bord sans le chercher.\n"
        "Sans la date et l'heure, celles de l'en-tête FITS (DATE-OBS, à la seconde),\n"
        "avec B0 et L0 de son observateur s'il le donne ; une date et une heure données\n"
        "dans la minute de l'en-tête gardent ses secondes et son observateur, une autre\n"
        "prend l'éphéméride précise. Le bord de l'en-tête (WCS) est pris sauf --limbe,\n"
        "son orientation sauf --nord, --derive, --depuis-axe ou --est-a-droite ;\n"
        "--decalage-horloge H : l'horloge de l'appareil (EXIF) avance de H heures sur le TU",
        "the position angle, the distance from the centre and B, L, DMC of the pixel X Y\n"
        "of a photograph taken at a date and a time of UT; celestial north at ANGLE\n"
        "degrees from the top of the image toward the left (0 by default; that of the\n"
        "Sun's north pole with --depuis-axe), or given by the drift of a feature with the\n"
        "drive stopped; --est-a-droite for a mirrored image; --limbe gives the limb\n"
        "instead of finding it. Without the date and time, those of the FITS header\n"
        "(DATE-OBS, to the second), with B0 and L0 of its observer where it gives one;\n"
        "a date and time given within the header's minute keep its seconds and its\n"
        "observer, another takes the precise ephemeris. The header's limb (WCS) is\n"
        "taken unless --limbe is given, its orientation unless --nord, --derive,\n"
        "--depuis-axe or --est-a-droite is; --decalage-horloge H: the camera's clock\n"
        "(EXIF) is H hours ahead of UT"},
       {Day, Month, Year, Hour, Minute}, CheckForm::ExactText, false, printPixelSpot,
       {{"--nord", 1}, {"--derive", 4}, {"--depuis-axe", 0}, {"--est-a-droite", 0}, {"--limbe", 3},
        {"--decalage-horloge", 1}},
       "[--nord ANGLE | --derive X1 Y1 X2 Y2] [--depuis-axe] [--est-a-droite] [--limbe CX CY R] "
       "[--decalage-horloge H]",
       1, 5},
      {"aire", {"IMAGE", "X", "Y"},
       {"l'aire de la tache sous le pixel X Y d'une photographie et celle de son ombre,\n"
        "en millionièmes de l'hémisphère (MSH, corrigée de la perspective) et du disque :\n"
        "la région plus sombre que TACHE (0,90) fois le Soleil calme autour d'elle,\n"
        "l'assombrissement du bord retiré ; l'ombre s'arrête au creux de l'histogramme\n"
        "de la tache entre ombre et pénombre (à OMBRE, 0,60, sans creux), ou à OMBRE\n"
        "avec --ombre-fixe",
        "the area of the spot under the pixel X Y of a photograph and that of its umbra,\n"
        "in millionths of the hemisphere (MSH, corrected for foreshortening) and of the\n"
        "disc: the region darker than TACHE (0.90) times the quiet Sun around it, limb\n"
        "darkening removed; the umbra ends at the dip of the spot's histogram between\n"
        "umbra and penumbra (at OMBRE, 0.60, where there is none), or at OMBRE with\n"
        "--ombre-fixe"},
       {}, CheckForm::ExactText, false, printSpotArea, {{"--seuils", 2}, {"--ombre-fixe", 0}, {"--limbe", 3}},
       "[--seuils TACHE OMBRE] [--ombre-fixe] [--limbe CX CY R]"},
  };
  return table;
}

// "soleil [JOUR MOIS ANNEE HEURE MINUTE]"
std::string synopsis(const Subcommand& subcommand) {
  std::string text(subcommand.name);
  text += subcommand.clockWithoutArgument ? " [" : " ";
  const std::size_t firstOmittable = subcommand.firstChecked;
  const std::size_t lastOmittable = firstOmittable + subcommand.omittable;
  for (std::size_t i = 0; i < subcommand.arguments.size(); ++i) {
    if (i > 0) text += ' ';
    if (subcommand.omittable > 0 && i == firstOmittable) text += '[';
    text += subcommand.arguments[i];
    if (subcommand.omittable > 0 && i + 1 == lastOmittable) text += ']';
  }
  if (subcommand.clockWithoutArgument) text += ']';
  if (!subcommand.optionsSynopsis.empty()) (text += ' ') += subcommand.optionsSynopsis;
  return text;
}

void printUsage(std::ostream& err) {
  err << "Usage : kavrel SOUS-COMMANDE ARGUMENTS...\n";
  for (const auto& subcommand : subcommands()) err << "        kavrel " << synopsis(subcommand) << '\n';
  err << "        kavrel " << journalSynopsis() << '\n';
  err << "Aide : kavrel --help\n";
}


void printHelp(std::ostream& out) {
  const Help& h = help();
  out << "kavrel : " << h.purpose.french << ".\n\nUsage : kavrel " << h.usage << "\n\nSous-commandes :\n";
  for (const auto& subcommand : h.subcommands) {
    out << "  " << subcommand.synopsis << "\n      ";
    writeIndented(out, subcommand.summary.french, "      ");
    out << '\n';
  }
  out << '\n' << h.arguments.french << "\n\nCodes de sortie :\n";
  for (const auto& exit : h.exitStatuses) {
    out << "  " << exit.status << "  ";
    writeIndented(out, exit.meaning.french, "     ");
    out << '\n';
  }
}

}  // namespace

void writeIndented(std::ostream& out, std::string_view text, std::string_view indent) {
  for (std::size_t start = 0;;) {
    const auto end = text.find('\n', start);
    out << text.substr(start, end - start);
    if (end == std::string_view::npos) return;
    out << '\n' << indent;
    start = end + 1;
  }
}

const Help& help() {
  static const Help texts = [] {
    Help h{
        .purpose = {"les calculs de Kavrel, pour l'observation du Soleil, en ligne de commande",
                    "the calculations of Kavrel, for observing the Sun, from the command line"},
        .usage = "SOUS-COMMANDE [--] ARGUMENTS...",
        .subcommands = {},
        .arguments =
            {"Chaque argument est le texte d'un champ, tel qu'il serait tapé dans la fenêtre,\n"
             "et il est vérifié comme la fenêtre le vérifie, champ après champ : « -4712 »,\n"
             "« - » et le texte vide « \"\" » sont des valeurs. Un premier « -- » après la\n"
             "sous-commande est ignoré ; les options se placent avant\n"
             "lui. Un champ vide n'est pas une erreur : le résultat affiche alors\n"
             "« ############# » comme dans la fenêtre (disque demande une date complète).\n"
             "L'angle et la distance de tache, le diamètre de disque s'écrivent avec le\n"
             "séparateur décimal de la langue ou avec un point.\n"
             "Le séparateur décimal des résultats suit la langue de l'utilisateur (LC_ALL,\n"
             "LC_NUMERIC, LANG) : une virgule en français.\n"
             "Sur une photographie, x se compte depuis le bord gauche et y depuis le bord\n"
             "haut de l'image telle qu'elle s'affiche, en pixels, (0, 0) étant le centre du\n"
             "pixel en haut à gauche ; une image FITS s'affiche sa première ligne en bas.\n"
             "Le journal a ses propres actions, chacune avec ses arguments et ses options ;\n"
             "--fichier F s'y donne juste après « journal ».",
             "Each argument is the text of one field, as it would be typed into the window,\n"
             "and it is checked as the window checks it, field after field: \"-4712\", \"-\"\n"
             "and the empty text \"\" are values. A first \"--\" after the subcommand is\n"
             "ignored; the options come before it. An empty field is\n"
             "not an error: the result then shows \"#############\" as in the window\n"
             "(disque needs a complete date). The angle and distance of tache and the\n"
             "diameter of disque take the language's decimal separator or a point.\n"
             "The decimal separator of the results follows the user's language (LC_ALL,\n"
             "LC_NUMERIC, LANG): a comma in French.\n"
             "On a photograph, x counts from the left edge and y from the top edge of the\n"
             "image as displayed, in pixels, (0, 0) being the centre of the top-left pixel;\n"
             "a FITS image is displayed with its first row at the bottom.\n"
             "The journal has actions of its own, each with its arguments and options;\n"
             "--fichier F comes right after \"journal\"."},
        .exitStatuses =
            {{kDone,
              {"résultats affichés (rotations : éventuellement rien à lister)",
               "results printed (rotations: possibly nothing to list)"}},
             {kImpossible,
              {"calcul impossible (precession : valeurs hors des nombres représentables) ;\n"
               "écriture des résultats ou du fichier de disque impossible ; lecture de --csv\n"
               "impossible ; journal : un fichier (le journal, un journal importé, un rapport,\n"
               "une copie) illisible ou impossible à écrire, avec la raison",
               "calculation impossible (precession: values beyond the representable numbers);\n"
               "the results or the disc's file could not be written; the input of --csv could\n"
               "not be read; journal: a file (the journal, an imported log, a report, a copy)\n"
               "that cannot be read or written, with the reason"}},
             {kRefused,
              {"usage incorrect, champ refusé ou données refusées ; le message de la\n"
               "fenêtre est écrit sur la sortie d'erreur (avec --csv : fichier introuvable,\n"
               "ou au moins une ligne refusée, son message dans la colonne erreur ; journal :\n"
               "chaque ligne refusée, « ligne N : message »)",
               "wrong usage, a refused field or refused data; the window's message is\n"
               "written to the standard error (with --csv: a missing file, or at least one\n"
               "refused line, its message in the erreur column; journal: each refused line,\n"
               "\"ligne N : message\")"}}},
    };
    for (const auto& subcommand : subcommands()) h.subcommands.push_back({synopsis(subcommand), subcommand.summary});
    for (auto& entry : journalHelp()) h.subcommands.push_back(std::move(entry));
    return h;
  }();
  return texts;
}

int run(const std::vector<std::string>& arguments, std::string_view decimalSeparator,
        ClockFields (*clock)(), std::ostream& out, std::ostream& err) {
  if (arguments.empty()) {
    printUsage(err);
    return kRefused;
  }
  if (arguments[0] == "--help" || arguments[0] == "-h") {
    printHelp(out);
    return kDone;
  }

  // The journal's actions have words and options of their own.
  if (arguments[0] == "journal")
    return runJournal({arguments.begin() + 1, arguments.end()}, decimalSeparator, out, err);

  const auto& table = subcommands();
  const auto found = std::find_if(table.begin(), table.end(),
                                  [&](const Subcommand& s) { return s.name == arguments[0]; });
  if (found == table.end()) {
    err << "kavrel : sous-commande inconnue « " << arguments[0] << " »\n";
    printUsage(err);
    return kRefused;
  }
  const Subcommand& subcommand = *found;

  // Fields and options; everything after the first "--" is a field.
  Fields fields;
  Given options;
  bool optionsEnded = false;
  for (auto word = arguments.begin() + 1; word != arguments.end(); ++word) {
    if (!optionsEnded && *word == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || subcommand.options.empty() || !word->starts_with("--")) {
      fields.push_back(*word);
      continue;
    }
    const auto option = std::find_if(subcommand.options.begin(), subcommand.options.end(),
                                     [&](const Option& o) { return o.name == *word; });
    if (option == subcommand.options.end()) {
      err << "kavrel : option inconnue « " << *word << " »\n"
          << "Usage : kavrel " << synopsis(subcommand) << '\n';
      return kRefused;
    }
    if (options.contains(*word)) {
      err << "kavrel : l'option « " << *word << " » est donnée deux fois\n";
      return kRefused;
    }
    if (arguments.end() - word <= option->values) {
      err << "kavrel : l'option « " << *word << " » demande "
          << (option->values == 1 ? std::string("une valeur") : std::to_string(option->values) + " valeurs") << '\n'
          << "Usage : kavrel " << synopsis(subcommand) << '\n';
      return kRefused;
    }
    std::vector<std::string>& values = options[*word];
    for (int i = 0; i < option->values; ++i) values.push_back(*++word);
  }
  if (options.contains("--csv")) {
    return runCsvBatch(subcommand.name, fields, options.contains("--depuis-axe"), decimalSeparator, out, err);
  }
  if (fields.empty() && subcommand.clockWithoutArgument) {
    const auto now = clock();
    fields.assign(now.begin(), now.end());
  }
  const bool omitted = subcommand.omittable > 0 && fields.size() == subcommand.arguments.size() - subcommand.omittable;
  if (fields.size() != subcommand.arguments.size() && !omitted) {
    err << "Usage : kavrel " << synopsis(subcommand) << '\n';
    return kRefused;
  }

  for (std::size_t i = 0; i < subcommand.checks.size() && !omitted; ++i) {
    const auto refusal = checkField(subcommand.checks[i], subcommand.form, fields[subcommand.firstChecked + i]);
    if (refusal != Refusal::None) {
      err << refusalMessage(refusal) << '\n';
      return kRefused;
    }
  }
  return subcommand.print(fields, Context{decimalSeparator, out, err, options});
}

}  // namespace kavrel::cli
