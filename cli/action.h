// A row of kavrel's table of actions (all but the journal's, which has its own words): its
// name, its fields, how they are checked, its options, its help and what runs it. The rows
// are data; cli/dispatch.cpp reads the words, checks the fields and calls `run`. Qt-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_context.h"
#include "cli/help_text.h"
#include "cli/options.h"
#include "common/field_check.h"

namespace kavrel::cli {

using Run = Status (*)(const Fields&, const Context&);

struct Action {
  std::string_view name;
  std::vector<std::string_view> arguments;  // names shown in the usage, one per field
  HelpText summary;                         // for --help and the manual pages
  // The date-field check of each argument, in the window's order; empty when the
  // action's core checks its own texts.
  std::vector<DateField> checks;
  CheckForm form = CheckForm::ExactText;
  bool clockWithoutArgument = false;  // no argument: the fields the window fills at start
  Run run = nullptr;
  // The options the action accepts anywhere before a "--", and how the usage shows them.
  std::vector<OptionSpec> options{};
  std::string_view optionsSynopsis{};
  std::size_t firstChecked = 0;  // the field the checks start at (after an image's name)
  // The checked fields that may be left out together (an instant the file gives).
  std::size_t omittable = 0;
  // With --csv, the words are the files of a batch, which this runs instead (soleil, tache).
  Run batch = nullptr;
  // The last argument may be given once or more ("IMAGE..."): the images of a series.
  bool lastRepeats = false;
};

// "soleil [JOUR MOIS ANNEE HEURE MINUTE] | --csv [FICHIER]"
[[nodiscard]] std::string synopsis(const Action& action);

}  // namespace kavrel::cli
