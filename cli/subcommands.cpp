#include "cli/subcommands.h"

#include <algorithm>
#include <optional>

#include "common/field_check.h"
#include "common/julian_day.h"
#include "programs/brennic/rotation_list.h"
#include "programs/dalvoren/aspect_texts.h"
#include "programs/farrowel/julian_day_text.h"
#include "programs/gastrel/date_of_julian_day.h"
#include "programs/kestrum/sidereal_time.h"
#include "programs/precession/precession.h"

namespace kavrel::cli {
namespace {

using Fields = std::vector<std::string>;

struct Context {
  std::string_view decimalSeparator;
  std::ostream& out;
  std::ostream& err;
};

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
        "argument, à la date et à l'heure locales de l'ordinateur",
        "the aspect of the Sun, lines 2 to 10 of the printed report (Dalvoren); without\n"
        "arguments, at the local date and time of the computer"},
       {Day, Month, Year, Hour, Minute}, CheckForm::ExactText, true, printSolarAspect},
      {"rotations", {"J1", "M1", "A1", "J2", "M2", "A2"},
       {"les débuts des rotations synodiques entre deux dates à 0 h TU (Brennic)",
        "the starts of the synodic rotations between two dates at 0 h UT (Brennic)"},
       {Day, Month, Year, Day, Month, Year}, CheckForm::ExactText, false, printRotationStarts},
  };
  return table;
}

// "soleil [JOUR MOIS ANNEE HEURE MINUTE]"
std::string synopsis(const Subcommand& subcommand) {
  std::string text(subcommand.name);
  text += subcommand.clockWithoutArgument ? " [" : " ";
  for (std::size_t i = 0; i < subcommand.arguments.size(); ++i) {
    if (i > 0) text += ' ';
    text += subcommand.arguments[i];
  }
  if (subcommand.clockWithoutArgument) text += ']';
  return text;
}

void printUsage(std::ostream& err) {
  err << "Usage : kavrel SOUS-COMMANDE ARGUMENTS...\n";
  for (const auto& subcommand : subcommands()) err << "        kavrel " << synopsis(subcommand) << '\n';
  err << "Aide : kavrel --help\n";
}

// Writes `text` with `indent` before each of its lines but the first.
void writeIndented(std::ostream& out, std::string_view text, std::string_view indent) {
  for (std::size_t start = 0;;) {
    const auto end = text.find('\n', start);
    out << text.substr(start, end - start);
    if (end == std::string_view::npos) return;
    out << '\n' << indent;
    start = end + 1;
  }
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
             "sous-commande est ignoré. Un champ vide n'est pas une erreur : le résultat\n"
             "affiche alors « ############# » comme dans la fenêtre.\n"
             "Le séparateur décimal des résultats suit la langue de l'utilisateur (LC_ALL,\n"
             "LC_NUMERIC, LANG) : une virgule en français.",
             "Each argument is the text of one field, as it would be typed into the window,\n"
             "and it is checked as the window checks it, field after field: \"-4712\", \"-\"\n"
             "and the empty text \"\" are values. A first \"--\" after the subcommand is\n"
             "ignored. An empty field is not an error: the result then shows\n"
             "\"#############\" as in the window.\n"
             "The decimal separator of the results follows the user's language (LC_ALL,\n"
             "LC_NUMERIC, LANG): a comma in French."},
        .exitStatuses =
            {{kDone,
              {"résultats affichés (rotations : éventuellement rien à lister)",
               "results printed (rotations: possibly nothing to list)"}},
             {kImpossible,
              {"calcul impossible (precession : valeurs hors des nombres représentables) ;\n"
               "écriture des résultats impossible",
               "calculation impossible (precession: values beyond the representable numbers);\n"
               "the results could not be written"}},
             {kRefused,
              {"usage incorrect, champ refusé ou données refusées ; le message de la\n"
               "fenêtre est écrit sur la sortie d'erreur",
               "wrong usage, a refused field or refused data; the window's message is\n"
               "written to the standard error"}}},
    };
    for (const auto& subcommand : subcommands()) h.subcommands.push_back({synopsis(subcommand), subcommand.summary});
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

  const auto& table = subcommands();
  const auto found = std::find_if(table.begin(), table.end(),
                                  [&](const Subcommand& s) { return s.name == arguments[0]; });
  if (found == table.end()) {
    err << "kavrel : sous-commande inconnue « " << arguments[0] << " »\n";
    printUsage(err);
    return kRefused;
  }
  const Subcommand& subcommand = *found;

  Fields fields(arguments.begin() + 1, arguments.end());
  if (const auto marker = std::find(fields.begin(), fields.end(), "--"); marker != fields.end()) {
    fields.erase(marker);
  }
  if (fields.empty() && subcommand.clockWithoutArgument) {
    const auto now = clock();
    fields.assign(now.begin(), now.end());
  }
  if (fields.size() != subcommand.arguments.size()) {
    err << "Usage : kavrel " << synopsis(subcommand) << '\n';
    return kRefused;
  }

  for (std::size_t i = 0; i < subcommand.checks.size(); ++i) {
    const auto refusal = checkField(subcommand.checks[i], subcommand.form, fields[i]);
    if (refusal != Refusal::None) {
      err << refusalMessage(refusal) << '\n';
      return kRefused;
    }
  }
  return subcommand.print(fields, Context{decimalSeparator, out, err});
}

}  // namespace kavrel::cli
