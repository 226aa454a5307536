// `kavrel journal`: the journal's family of actions (cli/family.h), its file given by
// --fichier F, its rows in journal_actions.cpp. Qt-free.
#include "cli/journal_commands.h"

#include "cli/family.h"
#include "cli/journal_actions.h"
#include "journal/journal.h"

namespace kavrel::cli {
namespace {

const Family kJournal{
    "journal",
    "--fichier",
    "F",
    "kavrel : --fichier demande le nom du journal",
    "action du journal inconnue",
    "journal [--fichier F] ajouter|retenir|importer|mois|rapport|envoyer|sauvegarder|graphique|observateurs|groupes|"
    "jour|regions|rotation|carte|silso|silso-mois|k ...",
    {"le journal de l'observateur (Journal) : ses comptes de groupes g et de taches f,\n"
     "nord et sud, R = 10g + f. Le journal est le fichier F, sinon\n"
     "$XDG_DATA_HOME/kavrel/journal.sqlite (~/.local/share/kavrel/journal.sqlite) ;\n"
     "un fichier qui n'existe pas est créé, vide. ACTION est l'une des suivantes",
     "the observer's log (Journal): the counts of groups g and spots f, north and\n"
     "south, R = 10g + f. The journal is the file F, else\n"
     "$XDG_DATA_HOME/kavrel/journal.sqlite (~/.local/share/kavrel/journal.sqlite);\n"
     "a file that does not exist is created, empty. ACTION is one of the following"},
    "un fichier illisible ou impossible à écrire (le journal,\n"
    "un journal importé, un rapport, une copie), avec la raison",
    "une demande refusée\n(usage, champ, ligne d'un journal importé)",
    journal::defaultJournalPath,
};

}  // namespace

std::string_view journalSynopsis() { return kJournal.synopsis; }

std::vector<HelpEntry> journalHelp() { return familyHelp(kJournal, logbook::journalActions()); }

Status runJournal(const std::vector<std::string>& arguments, std::string_view decimalSeparator, std::ostream& out,
                  std::ostream& err) {
  return runFamily(kJournal, logbook::journalActions(), arguments, decimalSeparator, out, err);
}

}  // namespace kavrel::cli
