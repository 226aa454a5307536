// The help of kavrel as data: each action's synopsis and summary, French and English,
// from which `kavrel --help`, `kavrel ACTION --help` and the manual pages (packaging/man)
// are made. Qt-free.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace kavrel::cli {

// A text of several lines has its lines separated by '\n', without indentation.
struct HelpText {
  std::string_view french;
  std::string_view english;
};

// One entry of the help: "soleil [JOUR MOIS ANNEE HEURE MINUTE] | --csv [FICHIER]" and
// what it prints.
struct HelpEntry {
  std::string synopsis;
  HelpText summary;
};

// Writes `text` with `indent` before each of its lines but the first (a help's summary
// under its synopsis).
void writeIndented(std::ostream& out, std::string_view text, std::string_view indent);

// `kavrel ACTION --help`: "Usage : kavrel PREFIX SYNOPSIS", then the summary in French.
void writeActionHelp(std::ostream& out, std::string_view prefix, const HelpEntry& entry);

}  // namespace kavrel::cli
