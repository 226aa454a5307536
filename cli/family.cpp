// The frame of kavrel's families of actions (see family.h): their usage, help, file and
// words.
#include "cli/family.h"

namespace kavrel::cli {
namespace {

// "journal [--fichier F] ".
std::string prefixOf(const Family& family) {
  return std::string(family.word) + " [" + std::string(family.fileOption) + ' ' + std::string(family.fileName) + "] ";
}

}  // namespace

std::vector<HelpEntry> familyHelp(const Family& family, const std::vector<HelpEntry>& actions) {
  std::vector<HelpEntry> entries{{prefixOf(family) + "ACTION", family.summary}};
  for (const HelpEntry& action : actions) entries.push_back({std::string(family.word) + ' ' + action.synopsis, action.summary});
  return entries;
}

namespace family_detail {

void printHelp(const Family& family, const std::vector<HelpEntry>& actions, std::ostream& out) {
  const std::vector<HelpEntry> entries = familyHelp(family, actions);
  out << "kavrel " << entries.front().synopsis << " ARGUMENTS...\n\n";
  writeIndented(out, entries.front().summary.french, "");
  out << " :\n";
  for (auto entry = entries.begin() + 1; entry != entries.end(); ++entry) {
    out << "  kavrel " << entry->synopsis << "\n      ";
    writeIndented(out, entry->summary.french, "      ");
    out << '\n';
  }
  out << "\nCodes de sortie : " << kExitDone << " fait ; " << kExitFailed << ' ' << family.failedMeans << " ; "
      << kExitRefused << ' ' << family.refusedMeans << ".\n";
}

void printUsage(const Family& family, const std::vector<HelpEntry>& actions, std::ostream& err) {
  err << "Usage : kavrel " << prefixOf(family) << "ACTION ARGUMENTS...\n";
  for (const HelpEntry& action : actions) err << "        kavrel " << family.word << ' ' << action.synopsis << '\n';
}

void printActionUsage(const Family& family, std::string_view synopsis, std::ostream& err) {
  err << "Usage : kavrel " << prefixOf(family) << synopsis << '\n';
}

void printActionHelp(const Family& family, const HelpEntry& action, std::ostream& out) {
  writeActionHelp(out, prefixOf(family), action);
}

std::optional<std::string> fileOf(const Family& family, const std::vector<HelpEntry>& actions,
                                  std::span<const std::string> words, std::size_t& word, std::ostream& err) {
  if (word >= words.size() || words[word] != family.fileOption) return family.defaultFile();
  if (words.size() - word < 2) {
    err << "kavrel : l'option « " << family.fileOption << " » demande une valeur\n";
    printUsage(family, actions, err);
    return std::nullopt;
  }
  std::string file = words[word + 1];
  word += 2;
  // SQLite would take the empty name for a temporary file, gone at the end.
  if (file.empty()) {
    err << family.noFileName << '\n';
    return std::nullopt;
  }
  return file;
}

Status readActionWords(const Family& family, std::string_view synopsis, std::span<const OptionSpec> specs,
                       std::span<const std::string> words, Given& options, Fields& fields, std::ostream& err) {
  const WordsRead read = readWords(words, specs, {.misplaced = family.fileOption});
  if (read.refusal == WordsRead::Refusal::Misplaced) {
    err << "kavrel : " << family.fileOption << ' ' << family.fileName << " se donne juste après « " << family.word
        << " »\n";
    return Status::Refused;
  }
  if (read.refusal != WordsRead::Refusal::None) {
    err << refusalLine(read) << '\n';
    if (refusalShowsUsage(read.refusal)) printActionUsage(family, synopsis, err);
    return Status::Refused;
  }
  options = read.options;
  fields = read.fields;
  return Status::Done;
}

}  // namespace family_detail
}  // namespace kavrel::cli
