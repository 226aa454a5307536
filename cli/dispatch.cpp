// Chooses and runs an action of kavrel (see dispatch.h).
#include "cli/dispatch.h"

#include <algorithm>
#include <span>

#include "cli/action.h"
#include "cli/calculators.h"
#include "cli/disc_actions.h"
#include "cli/help.h"
#include "cli/journal_commands.h"
#include "cli/reseau_commands.h"

namespace kavrel::cli {
namespace {

void printUsage(std::ostream& err) {
  err << "Usage : kavrel SOUS-COMMANDE ARGUMENTS...\n";
  for (const auto* table : {&calculatorActions(), &discActions()})
    for (const Action& action : *table) err << "        kavrel " << synopsis(action) << '\n';
  err << "        kavrel " << journalSynopsis() << '\n';
  err << "        kavrel " << reseauSynopsis() << '\n';
  err << "Aide : kavrel --help\n";
}

const Action* actionNamed(std::string_view name) {
  for (const auto* table : {&calculatorActions(), &discActions()}) {
    const auto found =
        std::find_if(table->begin(), table->end(), [&](const Action& action) { return action.name == name; });
    if (found != table->end()) return &*found;
  }
  return nullptr;
}

Status refuseWords(const Action& action, const WordsRead& read, std::ostream& err) {
  err << refusalLine(read) << '\n';
  if (refusalShowsUsage(read.refusal)) err << "Usage : kavrel " << synopsis(action) << '\n';
  return Status::Refused;
}

// The fields checked as the window checks them, in its order; the first refusal said.
Status checkFields(const Action& action, const Fields& fields, bool omitted, std::ostream& err) {
  for (std::size_t i = 0; i < action.checks.size() && !omitted; ++i) {
    const auto refusal = checkField(action.checks[i], action.form, fields[action.firstChecked + i]);
    if (refusal != Refusal::None) {
      err << refusalMessage(refusal) << '\n';
      return Status::Refused;
    }
  }
  return Status::Done;
}

struct Settings {
  std::string_view decimalSeparator;
  ClockFields (*clock)();
  std::ostream& out;
  std::ostream& err;
};

Status runAction(const Action& action, std::span<const std::string> commandLine, const Settings& s) {
  const std::span<const std::string> words = commandLine.subspan(1);
  if (asksHelp(words)) {
    writeActionHelp(s.out, "", {synopsis(action), action.summary});
    return Status::Done;
  }
  WordsRead read = readWords(words, action.options, {.fieldsWhenNoOptions = true});
  if (read.refusal != WordsRead::Refusal::None) return refuseWords(action, read, s.err);
  const Context context{s.decimalSeparator, s.out, s.err, read.options, commandLine};
  if (action.batch && read.options.contains("--csv")) return action.batch(read.fields, context);
  Fields& fields = read.fields;
  if (fields.empty() && action.clockWithoutArgument) {
    const auto now = s.clock();
    fields.assign(now.begin(), now.end());
  }
  const bool omitted = action.omittable > 0 && fields.size() == action.arguments.size() - action.omittable;
  const bool repeated = action.lastRepeats && fields.size() > action.arguments.size();
  if (fields.size() != action.arguments.size() && !omitted && !repeated) {
    s.err << "Usage : kavrel " << synopsis(action) << '\n';
    return Status::Refused;
  }
  if (const Status checked = checkFields(action, fields, omitted, s.err); checked != Status::Done) return checked;
  return action.run(fields, context);
}

}  // namespace

Status run(const std::vector<std::string>& arguments, std::string_view decimalSeparator, ClockFields (*clock)(),
           std::ostream& out, std::ostream& err) {
  if (arguments.empty()) {
    printUsage(err);
    return Status::Refused;
  }
  if (isHelpWord(arguments[0])) {
    printHelp(out);
    return Status::Done;
  }
  // The journal's and the network's actions have words and options of their own.
  if (arguments[0] == "journal") return runJournal(arguments, decimalSeparator, out, err);
  if (arguments[0] == "reseau") return runReseau(arguments, decimalSeparator, out, err);

  const Action* action = actionNamed(arguments[0]);
  if (action == nullptr) {
    err << "kavrel : sous-commande inconnue « " << arguments[0] << " »\n";
    printUsage(err);
    return Status::Refused;
  }
  return runAction(*action, arguments, {decimalSeparator, clock, out, err});
}

}  // namespace kavrel::cli
