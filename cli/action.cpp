// The synopsis of an action's row (see action.h).
#include "cli/action.h"

namespace kavrel::cli {

std::string synopsis(const Action& action) {
  std::string text(action.name);
  text += action.clockWithoutArgument ? " [" : " ";
  const std::size_t firstOmittable = action.firstChecked;
  const std::size_t lastOmittable = firstOmittable + action.omittable;
  for (std::size_t i = 0; i < action.arguments.size(); ++i) {
    if (i > 0) text += ' ';
    if (action.omittable > 0 && i == firstOmittable) text += '[';
    text += action.arguments[i];
    if (action.omittable > 0 && i + 1 == lastOmittable) text += ']';
  }
  if (action.clockWithoutArgument) text += ']';
  if (!action.optionsSynopsis.empty()) (text += ' ') += action.optionsSynopsis;
  return text;
}

}  // namespace kavrel::cli
