#include "cli/batch_command.h"

#include <fstream>
#include <iostream>

#include "cli/batch.h"
#include "cli/subcommands.h"

namespace kavrel::cli {
namespace {

constexpr std::string_view kOneFile = "kavrel : un seul fichier à lire, ou aucun pour l'entrée standard";
constexpr std::string_view kCannotOpen = "kavrel : impossible d'ouvrir le fichier « ";
constexpr std::string_view kCannotRead = "kavrel : lecture impossible du fichier « ";
constexpr std::string_view kCannotReadInput = "kavrel : lecture impossible de l'entrée standard";

}  // namespace

int runCsvBatch(std::string_view subcommand, const std::vector<std::string>& files, bool fromSolarNorth,
                std::string_view decimalSeparator, std::ostream& out, std::ostream& err) {
  if (files.size() > 1) {
    err << kOneFile << '\n';
    return kRefused;
  }
  std::ifstream file;
  if (!files.empty()) {
    file.open(files.front(), std::ios::binary);
    if (!file.is_open()) {
      err << kCannotOpen << files.front() << " »\n";
      return kRefused;
    }
  }
  std::istream& in = files.empty() ? std::cin : file;
  const auto kind = subcommand == "tache" ? batch::Kind::Spot : batch::Kind::SolarAspect;
  const batch::Summary summary = batch::runBatch(kind, in, out, decimalSeparator, fromSolarNorth);
  if (summary.writeFailed) return kImpossible;
  if (summary.readFailed) {
    if (files.empty()) {
      err << kCannotReadInput << '\n';
    } else {
      err << kCannotRead << files.front() << " »\n";
    }
    return kImpossible;
  }
  return summary.refused > 0 ? kRefused : kDone;
}

}  // namespace kavrel::cli
