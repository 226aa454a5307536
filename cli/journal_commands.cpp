// Chooses and runs an action of `kavrel journal` (see journal_commands.h): the journal's
// file, the action's row, its words read as every action's are (cli/options.h).
// Qt-free.
#include "cli/journal_commands.h"

#include <algorithm>
#include <optional>
#include <span>

#include "cli/journal_actions.h"
#include "cli/options.h"
#include "journal/journal.h"

namespace kavrel::cli {
namespace {

using logbook::JournalAction;
using logbook::journalActions;

constexpr std::string_view kSynopsis =
    "journal [--fichier F] ajouter|retenir|importer|mois|rapport|envoyer|sauvegarder|graphique|observateurs|groupes|jour|"
    "silso|silso-mois|k ...";
constexpr std::string_view kFileOption = "--fichier";
constexpr std::string_view kNoFileName = "kavrel : --fichier demande le nom du journal";
constexpr std::string_view kFileOptionPlace = "kavrel : --fichier F se donne juste après « journal »";
constexpr std::string_view kActionPrefix = "journal [--fichier F] ";

constexpr std::string_view kJournalEntry = "journal [--fichier F] ACTION";
constexpr HelpText kJournalSummary{
    "le journal de l'observateur (Journal) : ses comptes de groupes g et de taches f,\n"
     "nord et sud, R = 10g + f. Le journal est le fichier F, sinon\n"
     "$XDG_DATA_HOME/kavrel/journal.sqlite (~/.local/share/kavrel/journal.sqlite) ;\n"
     "un fichier qui n'existe pas est créé, vide. ACTION est l'une des suivantes",
     "the observer's log (Journal): the counts of groups g and spots f, north and\n"
     "south, R = 10g + f. The journal is the file F, else\n"
     "$XDG_DATA_HOME/kavrel/journal.sqlite (~/.local/share/kavrel/journal.sqlite);\n"
     "a file that does not exist is created, empty. ACTION is one of the following"};

void printActionUsage(const JournalAction& action, std::ostream& err) {
  err << "Usage : kavrel " << kActionPrefix << action.synopsis << '\n';
}

void printUsage(std::ostream& err) {
  err << "Usage : kavrel journal [--fichier F] ACTION ARGUMENTS...\n";
  for (const auto& action : journalActions()) err << "        kavrel journal " << action.synopsis << '\n';
}

// `kavrel journal --help`: what the journal is, then each action, as `kavrel --help` lists
// the subcommands.
void printJournalHelp(std::ostream& out) {
  const std::vector<HelpEntry> entries = journalHelp();
  out << "kavrel " << entries.front().synopsis << " ARGUMENTS...\n\n";
  writeIndented(out, entries.front().summary.french, "");
  out << " :\n";
  for (auto entry = entries.begin() + 1; entry != entries.end(); ++entry) {
    out << "  kavrel " << entry->synopsis << "\n      ";
    writeIndented(out, entry->summary.french, "      ");
    out << '\n';
  }
  out << "\nCodes de sortie : " << kExitDone << " fait ; " << kExitFailed
      << " un fichier illisible ou impossible à écrire (le journal,\n"
         "un journal importé, un rapport, une copie), avec la raison ; "
      << kExitRefused
      << " une demande refusée\n"
         "(usage, champ, ligne d'un journal importé).\n";
}

// The journal's file, given by --fichier F right after "journal" (`word` then moved past
// it), or the user's default one; none when refused (said).
std::optional<std::string> journalPath(std::span<const std::string> words, std::size_t& word, std::ostream& err) {
  if (word >= words.size() || words[word] != kFileOption) return journal::defaultJournalPath();
  if (words.size() - word < 2) {
    err << "kavrel : l'option « --fichier » demande une valeur\n";
    printUsage(err);
    return std::nullopt;
  }
  std::string path = words[word + 1];
  word += 2;
  // SQLite would take the empty name for a temporary journal, gone at the end.
  if (path.empty()) {
    err << kNoFileName << '\n';
    return std::nullopt;
  }
  return path;
}

// The action's words read and the action run.
Status runAction(const JournalAction& action, logbook::Request& request, std::span<const std::string> words) {
  const WordsRead read = readWords(words, action.options, {.misplaced = kFileOption});
  if (read.refusal == WordsRead::Refusal::Misplaced) return request.refuse(kFileOptionPlace);
  if (read.refusal != WordsRead::Refusal::None) {
    request.err << refusalLine(read) << '\n';
    if (refusalShowsUsage(read.refusal)) printActionUsage(action, request.err);
    return Status::Refused;
  }
  request.options = read.options;
  const Status status = action.run(read.fields, request);
  if (status == Status::Usage) printActionUsage(action, request.err);
  return status;
}

}  // namespace

std::string_view journalSynopsis() { return kSynopsis; }

std::vector<HelpEntry> journalHelp() {
  std::vector<HelpEntry> entries{{std::string(kJournalEntry), kJournalSummary}};
  for (const auto& action : journalActions())
    entries.push_back({"journal " + std::string(action.synopsis), action.summary});
  return entries;
}

Status runJournal(const std::vector<std::string>& arguments, std::string_view decimalSeparator, std::ostream& out,
                  std::ostream& err) {
  const std::span<const std::string> words(arguments);
  std::size_t word = 1;  // after "journal"
  if (word < words.size() && isHelpWord(words[word])) {
    printJournalHelp(out);
    return Status::Done;
  }
  const std::optional<std::string> path = journalPath(words, word, err);
  if (!path) return Status::Refused;
  if (word >= words.size()) {
    printUsage(err);
    return Status::Refused;
  }
  const auto& table = journalActions();
  const auto action =
      std::find_if(table.begin(), table.end(), [&](const JournalAction& a) { return a.name == words[word]; });
  if (action == table.end()) {
    err << "kavrel : action du journal inconnue « " << words[word] << " »\n";
    printUsage(err);
    return Status::Refused;
  }
  const std::span<const std::string> actionWords = words.subspan(word + 1);
  if (asksHelp(actionWords)) {
    writeActionHelp(out, kActionPrefix, {std::string(action->synopsis), action->summary});
    return Status::Done;
  }
  logbook::Request request{*path, decimalSeparator, out, err, {}, words};
  return runAction(*action, request, actionWords);
}

}  // namespace kavrel::cli
