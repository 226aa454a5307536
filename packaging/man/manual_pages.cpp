// Writes the manual pages of the package, in section 1:
//   <dir>/man1/kavrel.1      English, from the texts of `kavrel --help`
//   <dir>/fr/man1/kavrel.1   French, from the same texts
//   <dir>/man1/<Program>.1   French (the windows speak only French), one per program
// The pages are made here from tables, never written by hand, so that they say what the
// help and the windows say.
//
//   kavrel_manual_pages DIR VERSION DATE PROGRAM...
//
// DATE is the release's date (YYYY-MM-DD). Every PROGRAM needs a row in kPrograms.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/help.h"

namespace {

using kavrel::cli::Help;

// What the page of one window program says. Adding a program is adding its row.
struct ProgramPage {
  std::string_view program;
  std::string_view summary;      // after "Program - " in the page's name line
  std::string_view description;  // what the window asks for and what it shows
  std::string_view subcommand;   // the kavrel subcommand that prints the same results
};

constexpr ProgramPage kPrograms[] = {
    {"Farrowel", "le jour julien d'une date et d'une heure TU",
     "Farrowel ouvre la fenêtre « Calcul du jour julien » : on y tape le jour, le mois, l'année, l'heure et la minute en temps universel, et le numéro de jour julien s'affiche.",
     "jj"},
    {"Gastrel", "la date du calendrier d'un jour julien",
     "Gastrel ouvre la fenêtre « Calcul de la date d'après le jour julien » : on y tape un jour julien, et sa date du calendrier s'affiche.",
     "date"},
    {"Kestrum", "le temps sidéral moyen de Greenwich à 0 h TU d'une date",
     "Kestrum ouvre la fenêtre « Temps sidéral de Greenwich à 0 h TU » : on y tape le jour, le mois et l'année, et le jour julien de la date et le temps sidéral moyen de Greenwich à 0 h TU (hh.mmss) s'affichent.",
     "sideral"},
    {"precession", "l'ascension droite et la déclinaison d'une étoile d'une année à une autre",
     "precession ouvre la fenêtre « Précession des équinoxes (calcul approché) » : on y tape l'année de référence, l'ascension droite (hh.mmss) et la déclinaison (dd.mmss) d'une étoile à cette année, et l'année cible ; « Calcul » donne l'ascension droite et la déclinaison portées à l'année cible.",
     "precession"},
    {"Dalvoren", "l'aspect du Soleil à une date et une heure TU",
     "Dalvoren ouvre la fenêtre « Aspect du Soleil » : pour le jour, le mois, l'année, l'heure et la minute en temps universel, elle affiche le jour julien, l'ascension droite et la déclinaison du Soleil, le numéro de rotation synodique, le demi-diamètre apparent et les angles P, B0 et L0 ; « Imprimer » en imprime le rapport.",
     "soleil"},
    {"Brennic", "les débuts des rotations synodiques du Soleil entre deux dates",
     "Brennic ouvre la fenêtre « Rotations synodiques solaires entre deux dates » : pour une date de début et une date de fin, à 0 h TU, « Calcul » liste les débuts des rotations synodiques (numéro de jour julien, rotation synodique, longitude du centre) ; « Imprimer » imprime la liste.",
     "rotations"},
    {"Disque", "le disque du Soleil à une date et une heure TU et les coordonnées héliographiques des taches",
     "Disque ouvre la fenêtre « Disque solaire » : pour le jour, le mois, l'année, l'heure et la minute en temps universel, elle dessine le disque du Soleil avec sa grille héliographique et affiche P, B0, L0 (d'une éphéméride précise, ERFA et la rotation de l'UAI), le numéro de rotation et le demi-diamètre ; le pointeur donne l'angle de position, la distance au centre, la latitude B, la longitude de Carrington L et la distance au méridien central DMC de chaque point du disque ; un clic ou une saisie ajoute une tache au tableau ; « Imprimer » imprime la page, le disque à l'échelle exacte, et « Enregistrer » l'écrit en PDF ou en SVG. « Ouvrir une image » (PNG, JPEG, TIFF, FITS, ou une image déposée sur la fenêtre) montre une photographie à la place du disque dessiné : le bord du Soleil y est trouvé, ou donné par trois clics (le cercle est montré pour être confirmé ; Échap abandonne), et la grille posée selon l'orientation de l'image (nord céleste, pôle nord du Soleil ou dérive ; est à droite pour une image retournée) ; un fichier FITS d'observatoire donne lui-même son bord, son nord, son instant à la seconde et son observateur (« Géométrie lue dans l'en-tête »), une image d'appareil photo sa date EXIF, sinon la fenêtre dit que la date et l'orientation sont à vérifier ; la molette ou les touches + et - (le pointeur sur l'image) agrandissent, 0 montre l'image entière, « Noir » et « Blanc » règlent le contraste ; un clic ajoute une tache, « Mesurer l'aire » donne son aire et celle de son ombre en millionièmes de l'hémisphère, mesurées à nouveau si un seuil change ; « Enregistrer » écrit alors l'image annotée et légendée en PNG et les taches en CSV, chaque ligne avec son instant, son image, son bord, son orientation et ses seuils ; des taches non enregistrées sont signalées avant de changer d'image, de la fermer ou de quitter. En pixels, x se compte depuis le bord gauche et y depuis le bord haut de l'image affichée, (0, 0) étant le centre du pixel en haut à gauche ; une image FITS s'affiche sa première ligne en bas.",
     "tache"},
    {"Journal", "le journal des comptages de taches solaires de l'observateur",
     "Journal ouvre la fenêtre « Journal d'observation des taches solaires » sur le journal de l'utilisateur, un fichier SQLite ($XDG_DATA_HOME/kavrel/journal.sqlite, ~/.local/share/kavrel/journal.sqlite par défaut ; « Ouvrir un journal » en ouvre ou en crée un autre). À gauche, le mois : un jour observé par ligne (heure TU, seeing, g, f et R au nord, au sud et sur le disque entier) et les moyennes du mois dessous ; « Mois précédent », « Mois suivant », « Année précédente » et « Année suivante » changent de mois, un clic sur un jour ouvre son observation. À droite, l'observation : date, heure TU, seeing (1 à 5, ou E, G, F, P), transparence, remarques, les nombres de groupes g et de taches f au nord et au sud, ou du disque entier seulement, R = 10 g + f s'affichant à mesure de la frappe et les vérifications (f au moins égal à g, pas de taches sans groupe, pas de date après aujourd'hui…) dessous ; chaque changement est enregistré dès que le champ est quitté (Entrée, Tab), sans bouton « Enregistrer », et Ctrl+Z annule le dernier changement. Sous l'observation, ses groupes : numéro, région NOAA, hémisphère, B, L, DMC, classes de Zurich et de McIntosh, taches et aire ; « Depuis un fichier CSV » lit les taches qu'a enregistrées Disque et forme un groupe de celles que l'on coche (position moyenne pondérée par les aires, aires additionnées). « Rapport du mois » écrit le rapport du mois au format choisi, entier ou pas du tout ; « Imprimer » imprime la feuille du mois, ou l'offre en PDF sans imprimante. L'onglet « Comparaisons » (Alt+2) montre l'observateur à côté du nombre international de SILSO et des groupes importés : un graphique (nombre mensuel, k de l'observateur ou diagramme papillon) des années choisies, que « Enregistrer l'image » écrit en PNG, SVG ou PDF ; le k de l'observateur selon ses trois définitions (rapport des sommes, moyenne et médiane des rapports), au nord et au sud, puis mois par mois ; et le k choisi, qui multiplie le R moyen du mois affiché et celui du rapport. L'onglet « Régions » (Alt+4) suit de jour en jour les groupes du mois affiché, pour la source choisie (l'observateur, Greenwich ou les SRS de NOAA) : une ligne par région (premier et dernier jour, jours, latitude, longitude de Carrington, dérive, aire et taches maximales, classes, numéro NOAA ou de Greenwich, région dont elle est le retour), les jours de la région choisie et son aire au fil des jours, ou la carte de la rotation du mois ; « Enregistrer l'image » écrit l'image montrée en PNG, SVG ou PDF.",
     "journal"},
    {"Reseau", "les observateurs d'un réseau, leur coefficient k et le nombre du réseau",
     "Reseau ouvre la fenêtre « Réseau » sur la base du réseau, un fichier SQLite ($XDG_DATA_HOME/kavrel/reseau.sqlite, ~/.local/share/kavrel/reseau.sqlite par défaut, créé au premier usage) ; « Ouvrir une base » en ouvre une autre, « Se connecter à un serveur » ouvre une base partagée sur un serveur PostgreSQL (hôte, port, base, utilisateur ; le mot de passe, demandé, n'est gardé qu'en mémoire, jamais écrit). Une base refusée (un autre programme, une version plus récente) est dite, et celle qui était ouverte le reste. L'onglet « Observateurs » (Alt+1) donne chaque observateur, ses jours, ses jours communs avec SILSO, son k par le rapport des sommes et la dérive de son k : la pente de ses k annuels, en k par an, puis le premier et le dernier. L'onglet « Mois » (Alt+2) donne, pour le mois et l'année choisis, chaque observateur du mois avec ses jours, son R moyen et son k, les jours du réseau et son nombre mensuel, et la moyenne mensuelle de SILSO. L'onglet « Graphiques » (Alt+3) dessine le nombre mensuel du réseau avec celui de SILSO, le k annuel de chaque observateur, ou les observateurs par mois. « Importer » lit une table de coordinateur, un rapport du Journal ou un journal de Kavrel ; les lignes refusées sont listées avec leur numéro, et rien n'est importé à moins de répondre oui à « Importer les N lignes valables ? ». « Imprimer » imprime le bulletin du mois, ou l'offre en PDF sans imprimante.",
     "reseau"},
};

constexpr std::string_view kProgramNotes =
    "Le programme ne prend ni option ni argument. Les nombres s'affichent avec le séparateur "
    "décimal de la langue de l'utilisateur (LC_ALL, LC_NUMERIC, LANG). « Quitter » (Alt+Q) "
    "ferme la fenêtre.";

struct Headings {
  std::string_view name, synopsis, description, subcommands, exitStatus, seeAlso;
  std::string_view sameResults;  // before the subcommand, of a program's page
};
constexpr Headings kFrench{"NOM", "SYNOPSIS", "DESCRIPTION", "SOUS-COMMANDES", "CODE DE RETOUR",
                           "VOIR AUSSI", "La commande suivante affiche les mêmes résultats dans un terminal :"};
constexpr Headings kEnglish{"NAME", "SYNOPSIS", "DESCRIPTION", "SUBCOMMANDS", "EXIT STATUS",
                            "SEE ALSO", ""};

// Text as roff reads it: backslashes and minus signs escaped, no line taken for a request,
// and the space before ";", ":", "»" and after "«" unbreakable, as French typesetting wants.
std::string roff(std::string_view text) {
  constexpr std::string_view kOpeningQuote = "«", kClosingQuote = "»";
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool lineStart = i == 0 || text[i - 1] == '\n';
    if (lineStart && (c == '.' || c == '\'')) out += "\\&";
    const std::string_view rest = text.substr(i + 1);
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else if (c == ' ' && (rest.starts_with(';') || rest.starts_with(':') || rest.starts_with(kClosingQuote) ||
                            out.ends_with(kOpeningQuote))) {
      out += "\\~";
    } else {
      out += c;
    }
  }
  return out;
}

struct Page {
  std::ostream& out;
  const Headings& headings;

  void header(std::string_view title, std::string_view version, std::string_view date) {
    out << "'\\\" -*- coding: UTF-8 -*-\n"
        << ".TH " << roff(title) << " 1 " << date << " \"Kavrel " << version << "\" Kavrel\n"
        << ".nh\n";  // no hyphenation: names, and English patterns on French words
  }
  void section(std::string_view heading) { out << ".SH \"" << roff(heading) << "\"\n"; }
  void name(std::string_view command, std::string_view summary) {
    section(headings.name);
    out << roff(command) << " \\- " << roff(summary) << '\n';
  }
  void paragraph(std::string_view text) { out << ".PP\n" << roff(text) << '\n'; }
  // A tagged paragraph: `tag` in bold, then `text`.
  void item(std::string_view tag, std::string_view text) {
    out << ".TP\n.B " << roff(tag) << '\n' << roff(text) << '\n';
  }
  void seeAlso(const std::vector<std::string>& pages, std::string_view self) {
    section(headings.seeAlso);
    bool first = true;
    for (const auto& page : pages) {
      if (page == self) continue;
      out << (first ? "" : ",\n") << ".BR " << roff(page) << " (1)";
      first = false;
    }
    out << '\n';
  }
};

void writeCommandPage(std::ostream& out, const Headings& headings, std::string_view (*pick)(const kavrel::cli::HelpText&),
                      std::string_view version, std::string_view date, const std::vector<std::string>& pages) {
  const Help& help = kavrel::cli::help();
  Page page{out, headings};
  page.header("KAVREL", version, date);
  page.name("kavrel", pick(help.purpose));
  page.section(headings.synopsis);
  out << ".B kavrel\n" << roff(help.usage) << "\n.br\n.B kavrel \\-\\-help\n";
  page.section(headings.description);
  out << roff(pick(help.arguments)) << '\n';
  page.section(headings.subcommands);
  for (const auto& subcommand : help.subcommands) page.item(subcommand.synopsis, pick(subcommand.summary));
  page.section(headings.exitStatus);
  for (const auto& exit : help.exitStatuses) page.item(std::to_string(exit.status), pick(exit.meaning));
  page.seeAlso(pages, "kavrel");
}

void writeProgramPage(std::ostream& out, const ProgramPage& program, std::string_view version,
                      std::string_view date, const std::vector<std::string>& pages) {
  Page page{out, kFrench};
  std::string title(program.program);
  for (auto& c : title) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  page.header(title, version, date);
  page.name(program.program, program.summary);
  page.section(kFrench.synopsis);
  out << ".B " << roff(program.program) << '\n';
  page.section(kFrench.description);
  out << roff(program.description) << '\n';
  page.paragraph(kProgramNotes);
  if (!program.subcommand.empty()) {
    page.paragraph(kFrench.sameResults);
    out << ".RS\n.B kavrel " << roff(program.subcommand) << "\n.RE\n";
  }
  page.seeAlso(pages, program.program);
}

bool writeFile(const std::filesystem::path& path, auto&& write) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary);
  write(file);
  file.close();
  if (!file) std::cerr << "kavrel_manual_pages: cannot write " << path << '\n';
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: kavrel_manual_pages DIR VERSION DATE PROGRAM...\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  const std::string_view version = argv[2];
  const std::string_view date = argv[3];
  const std::vector<std::string> programs(argv + 4, argv + argc);
  std::vector<std::string> pages{"kavrel"};
  pages.insert(pages.end(), programs.begin(), programs.end());

  bool written = writeFile(dir / "man1/kavrel.1", [&](std::ostream& out) {
    writeCommandPage(out, kEnglish, [](const kavrel::cli::HelpText& t) { return t.english; }, version, date, pages);
  });
  written = writeFile(dir / "fr/man1/kavrel.1", [&](std::ostream& out) {
    writeCommandPage(out, kFrench, [](const kavrel::cli::HelpText& t) { return t.french; }, version, date, pages);
  }) && written;
  for (const auto& name : programs) {
    const ProgramPage* program = nullptr;
    for (const auto& row : kPrograms)
      if (row.program == name) program = &row;
    if (!program) {
      std::cerr << "kavrel_manual_pages: no page text for the program " << name << " (add its row to kPrograms)\n";
      return 1;
    }
    written = writeFile(dir / "man1" / (name + ".1"), [&](std::ostream& out) {
      writeProgramPage(out, *program, version, date, pages);
    }) && written;
  }
  return written ? 0 : 1;
}
