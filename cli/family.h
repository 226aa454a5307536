// A family of kavrel's actions under one word, with a file of its own given right after
// that word: `kavrel journal [--fichier F] ACTION`, `kavrel reseau [--base B] ACTION`.
// The frame every family shares: the request an action is given, the row of an action,
// the file's option, the usage and the help, the action found and its words read
// (cli/options.h). Qt-free.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/help_text.h"
#include "cli/options.h"
#include "cli/status.h"

namespace kavrel::cli {

// What an action of a family is given: the family's file, its options, and where to say
// things. Each family's request adds what opens its file.
struct ActionRequest {
  std::string file;  // the journal, the network's base
  std::string_view decimalSeparator;
  std::ostream& out;
  std::ostream& err;
  Given options;
  std::span<const std::string> commandLine;  // as typed, for an action handed over

  [[nodiscard]] bool has(std::string_view name) const { return options.contains(name); }
  [[nodiscard]] const std::string* value(std::string_view name, std::size_t index = 0) const {
    const auto found = options.find(name);
    return found == options.end() ? nullptr : &found->second.at(index);
  }
  // `message` said; refused.
  Status refuse(std::string_view message) const {
    err << message << '\n';
    return Status::Refused;
  }
};

// A row of a family's table: its name, its synopsis after the family's word, its help, its
// options and what runs it (Usage when its words do not fit the synopsis).
template <class Request>
struct FamilyAction {
  std::string_view name;
  std::string_view synopsis;
  HelpText summary;
  std::vector<OptionSpec> options;
  Status (*run)(const Fields&, Request&) = nullptr;
};

// The family's own words and texts.
struct Family {
  std::string_view word;           // "journal"
  std::string_view fileOption;     // "--fichier"
  std::string_view fileName;       // "F"
  std::string_view noFileName;     // "kavrel : --fichier demande le nom du journal"
  std::string_view unknownAction;  // "action du journal inconnue"
  std::string_view synopsis;       // the line of kavrel's usage
  HelpText summary;                // what the family is, for its help
  std::string_view failedMeans;    // the help's line of the status "failed"
  std::string_view refusedMeans;   // and of "refused"
  std::string (*defaultFile)() = nullptr;
};

// The entries of `kavrel --help` and of the manual pages: the family, then each action.
[[nodiscard]] std::vector<HelpEntry> familyHelp(const Family& family, const std::vector<HelpEntry>& actions);

namespace family_detail {

// `kavrel WORD --help`, the usage of a wrong command line, and of one action.
void printHelp(const Family& family, const std::vector<HelpEntry>& actions, std::ostream& out);
void printUsage(const Family& family, const std::vector<HelpEntry>& actions, std::ostream& err);
void printActionUsage(const Family& family, std::string_view synopsis, std::ostream& err);
void printActionHelp(const Family& family, const HelpEntry& action, std::ostream& out);
// The family's file given right after its word (`word` then moved past it), or its default
// one; none when refused (said).
[[nodiscard]] std::optional<std::string> fileOf(const Family& family, const std::vector<HelpEntry>& actions,
                                                std::span<const std::string> words, std::size_t& word,
                                                std::ostream& err);
// The action's words read into `options` and `fields`; Done when read, else said.
[[nodiscard]] Status readActionWords(const Family& family, std::string_view synopsis,
                                     std::span<const OptionSpec> specs, std::span<const std::string> words,
                                     Given& options, Fields& fields, std::ostream& err);

template <class Request>
std::vector<HelpEntry> entries(const std::vector<FamilyAction<Request>>& table) {
  std::vector<HelpEntry> list;
  for (const auto& action : table) list.push_back({std::string(action.synopsis), action.summary});
  return list;
}

}  // namespace family_detail

template <class Request>
[[nodiscard]] std::vector<HelpEntry> familyHelp(const Family& family, const std::vector<FamilyAction<Request>>& table) {
  return familyHelp(family, family_detail::entries(table));
}

// Runs `arguments` (from the family's word on): help, the file, the action and its words.
template <class Request>
[[nodiscard]] Status runFamily(const Family& family, const std::vector<FamilyAction<Request>>& table,
                               const std::vector<std::string>& arguments, std::string_view decimalSeparator,
                               std::ostream& out, std::ostream& err) {
  namespace detail = family_detail;
  const std::vector<HelpEntry> actions = detail::entries(table);
  const std::span<const std::string> words(arguments);
  std::size_t word = 1;  // after the family's word
  if (word < words.size() && isHelpWord(words[word])) {
    detail::printHelp(family, actions, out);
    return Status::Done;
  }
  std::optional<std::string> file = detail::fileOf(family, actions, words, word, err);
  if (!file) return Status::Refused;
  if (word >= words.size()) {
    detail::printUsage(family, actions, err);
    return Status::Refused;
  }
  const auto action = std::find_if(table.begin(), table.end(), [&](const auto& a) { return a.name == words[word]; });
  if (action == table.end()) {
    err << "kavrel : " << family.unknownAction << " « " << words[word] << " »\n";
    detail::printUsage(family, actions, err);
    return Status::Refused;
  }
  const std::span<const std::string> actionWords = words.subspan(word + 1);
  if (asksHelp(actionWords)) {
    detail::printActionHelp(family, {std::string(action->synopsis), action->summary}, out);
    return Status::Done;
  }
  Request request{{std::move(*file), decimalSeparator, out, err, {}, words}};
  Fields fields;
  if (const Status read = detail::readActionWords(family, action->synopsis, action->options, actionWords,
                                                  request.options, fields, err);
      read != Status::Done)
    return read;
  const Status status = action->run(fields, request);
  if (status == Status::Usage) detail::printActionUsage(family, action->synopsis, err);
  return status;
}

}  // namespace kavrel::cli
