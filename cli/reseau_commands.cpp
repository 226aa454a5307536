// Chooses and runs an action of `kavrel reseau` (see reseau_commands.h): the base, the
// action's row, its words read as every action's are (cli/options.h). Qt-free.
#include "cli/reseau_commands.h"

#include <algorithm>
#include <optional>
#include <span>

#include "cli/options.h"
#include "cli/reseau_request.h"

namespace kavrel::cli {
namespace {

using network::ReseauAction;
using network::reseauActions;

constexpr std::string_view kSynopsis =
    "reseau [--base B] observateurs|importer|silso|k|jour|mois|serie|graphique|bulletin ...";
constexpr std::string_view kBaseOption = "--base";
constexpr std::string_view kBasePlace = "kavrel : --base B se donne juste après « reseau »";
constexpr std::string_view kActionPrefix = "reseau [--base B] ";

constexpr std::string_view kReseauEntry = "reseau [--base B] ACTION";
constexpr HelpText kReseauSummary{
    "la base d'un réseau d'observateurs (Réseau) : leurs comptes quotidiens, le k de\n"
    "chacun, le nombre du réseau. La base est B : un fichier, ou un serveur\n"
    "PostgreSQL partagé (postgresql://hôte/base?user=rôle ; le mot de passe vient de\n"
    "~/.pgpass ou de PGPASSWORD, jamais de la ligne de commande) ; sinon\n"
    "$XDG_DATA_HOME/kavrel/reseau.sqlite, créé au premier usage. ACTION est l'une\n"
    "des suivantes",
    "the base of a network of observers (Réseau): their daily counts, each one's k,\n"
    "the network's number. The base is B: a file, or a shared PostgreSQL server\n"
    "(postgresql://host/base?user=role; the password comes from ~/.pgpass or\n"
    "PGPASSWORD, never from the command line); else\n"
    "$XDG_DATA_HOME/kavrel/reseau.sqlite, created on first use. ACTION is one of\n"
    "the following"};

void printActionUsage(const ReseauAction& action, std::ostream& err) {
  err << "Usage : kavrel " << kActionPrefix << action.synopsis << '\n';
}

void printUsage(std::ostream& err) {
  err << "Usage : kavrel reseau [--base B] ACTION ARGUMENTS...\n";
  for (const auto& action : reseauActions()) err << "        kavrel reseau " << action.synopsis << '\n';
}

void printReseauHelp(std::ostream& out) {
  const std::vector<HelpEntry> entries = reseauHelp();
  out << "kavrel " << entries.front().synopsis << " ARGUMENTS...\n\n";
  writeIndented(out, entries.front().summary.french, "");
  out << " :\n";
  for (auto entry = entries.begin() + 1; entry != entries.end(); ++entry) {
    out << "  kavrel " << entry->synopsis << "\n      ";
    writeIndented(out, entry->summary.french, "      ");
    out << '\n';
  }
  out << "\nCodes de sortie : " << kExitDone << " fait ; " << kExitFailed
      << " une base ou un fichier illisible ou impossible à écrire,\n"
         "un serveur qui ne répond pas, avec la raison ; "
      << kExitRefused
      << " une demande refusée (usage, champ,\n"
         "ligne d'un fichier importé, droit que le rôle n'a pas).\n";
}

// The base, given by --base B right after "reseau" (`word` then moved past it), or the
// user's default one; none when refused (said).
std::optional<std::string> basePath(std::span<const std::string> words, std::size_t& word, std::ostream& err) {
  if (word >= words.size() || words[word] != kBaseOption) return reseau::defaultBasePath();
  if (words.size() - word < 2 || words[word + 1].empty()) {
    err << "kavrel : l'option « --base » demande une valeur\n";
    printUsage(err);
    return std::nullopt;
  }
  word += 2;
  return words[word - 1];
}

Status runAction(const ReseauAction& action, network::Request& request, std::span<const std::string> words) {
  const WordsRead read = readWords(words, action.options, {.misplaced = kBaseOption});
  if (read.refusal == WordsRead::Refusal::Misplaced) return request.refuse(kBasePlace);
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

std::string_view reseauSynopsis() { return kSynopsis; }

std::vector<HelpEntry> reseauHelp() {
  std::vector<HelpEntry> entries{{std::string(kReseauEntry), kReseauSummary}};
  for (const auto& action : reseauActions())
    entries.push_back({"reseau " + std::string(action.synopsis), action.summary});
  return entries;
}

Status runReseau(const std::vector<std::string>& arguments, std::string_view decimalSeparator, std::ostream& out,
                 std::ostream& err) {
  const std::span<const std::string> words(arguments);
  std::size_t word = 1;  // after "reseau"
  if (word < words.size() && isHelpWord(words[word])) {
    printReseauHelp(out);
    return Status::Done;
  }
  const std::optional<std::string> base = basePath(words, word, err);
  if (!base) return Status::Refused;
  if (word >= words.size()) {
    printUsage(err);
    return Status::Refused;
  }
  const auto& table = reseauActions();
  const auto action =
      std::find_if(table.begin(), table.end(), [&](const ReseauAction& a) { return a.name == words[word]; });
  if (action == table.end()) {
    err << "kavrel : action du réseau inconnue « " << words[word] << " »\n";
    printUsage(err);
    return Status::Refused;
  }
  const std::span<const std::string> actionWords = words.subspan(word + 1);
  if (asksHelp(actionWords)) {
    writeActionHelp(out, kActionPrefix, {std::string(action->synopsis), action->summary});
    return Status::Done;
  }
  network::Request request{*base, decimalSeparator, out, err, {}, words};
  return runAction(*action, request, actionWords);
}

}  // namespace kavrel::cli
