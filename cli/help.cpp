// The help of the whole command: what kavrel is, each action's entry (from the actions'
// tables), how the arguments are read and what each exit status means; `kavrel --help`
// prints it in French, packaging/man makes the manual pages of it in both languages.
// Qt-free.
#include "cli/help.h"

#include "cli/calculators.h"
#include "cli/disc_actions.h"
#include "cli/journal_commands.h"
#include "cli/reseau_commands.h"

namespace kavrel::cli {

namespace {

constexpr HelpText kPurpose{"les calculs de Kavrel, pour l'observation du Soleil, en ligne de commande",
    "the calculations of Kavrel, for observing the Sun, from the command line"};

constexpr std::string_view kUsage = "SOUS-COMMANDE [--] ARGUMENTS...";

constexpr HelpText kArguments{"Chaque argument est le texte d'un champ, tel qu'il serait tapé dans la fenêtre,\n"
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
    "--fichier F s'y donne juste après « journal » ; le réseau de même, --base B\n"
    "juste après « reseau ».",
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
    "--fichier F comes right after \"journal\"; the network's alike, --base B right\n"
    "after \"reseau\"."};

const std::vector<Help::ExitStatus> kExitStatuses{
    {kExitDone,
     {"résultats affichés (rotations : éventuellement rien à lister)",
      "results printed (rotations: possibly nothing to list)"}},
    {kExitFailed,
     {"calcul impossible (precession : valeurs hors des nombres représentables) ;\n"
      "écriture des résultats ou du fichier de disque impossible ; lecture de --csv\n"
      "impossible ; journal : un fichier (le journal, un journal importé, un rapport,\n"
      "une copie) illisible ou impossible à écrire, avec la raison",
      "calculation impossible (precession: values beyond the representable numbers);\n"
      "the results or the disc's file could not be written; the input of --csv could\n"
      "not be read; journal: a file (the journal, an imported log, a report, a copy)\n"
      "that cannot be read or written, with the reason"}},
    {kExitRefused,
     {"usage incorrect, champ refusé ou données refusées ; le message de la\n"
      "fenêtre est écrit sur la sortie d'erreur (avec --csv : fichier introuvable,\n"
      "ou au moins une ligne refusée, son message dans la colonne erreur ; journal :\n"
      "chaque ligne refusée, « ligne N : message »)",
      "wrong usage, a refused field or refused data; the window's message is\n"
      "written to the standard error (with --csv: a missing file, or at least one\n"
      "refused line, its message in the erreur column; journal: each refused line,\n"
      "\"ligne N : message\")"}}};

}  // namespace

const Help& help() {
  static const Help texts = [] {
    Help h{kPurpose, kUsage, {}, kArguments, kExitStatuses};
    for (const auto* table : {&calculatorActions(), &discActions()})
      for (const Action& action : *table) h.subcommands.push_back({synopsis(action), action.summary});
    for (auto& entry : journalHelp()) h.subcommands.push_back(std::move(entry));
    for (auto& entry : reseauHelp()) h.subcommands.push_back(std::move(entry));
    return h;
  }();
  return texts;
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

}  // namespace kavrel::cli
