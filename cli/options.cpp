// Reads an action's words into fields and options (see options.h).
#include "cli/options.h"

#include <algorithm>

namespace kavrel::cli {

bool isHelpWord(std::string_view word) noexcept { return word == "--help" || word == "-h"; }

bool asksHelp(std::span<const std::string> words) {
  const auto end = std::find(words.begin(), words.end(), "--");
  return end == words.end() && std::any_of(words.begin(), end, [](const std::string& w) { return isHelpWord(w); });
}

WordsRead readWords(std::span<const std::string> words, std::span<const OptionSpec> options, WordRules rules) {
  WordsRead read;
  const auto refuse = [&](WordsRead::Refusal why, const std::string& word, int values = 0) {
    read.refusal = why;
    read.word = word;
    read.values = values;
    return read;
  };
  bool optionsEnded = false;
  for (auto word = words.begin(); word != words.end(); ++word) {
    if (!optionsEnded && *word == "--") {
      optionsEnded = true;
      continue;
    }
    const bool takesOptions = !options.empty() || !rules.fieldsWhenNoOptions;
    if (optionsEnded || !takesOptions || !word->starts_with("--")) {
      read.fields.push_back(*word);
      continue;
    }
    if (!rules.misplaced.empty() && *word == rules.misplaced) return refuse(WordsRead::Refusal::Misplaced, *word);
    const auto option =
        std::find_if(options.begin(), options.end(), [&](const OptionSpec& o) { return o.name == *word; });
    if (option == options.end()) return refuse(WordsRead::Refusal::Unknown, *word);
    if (read.options.contains(*word)) return refuse(WordsRead::Refusal::Twice, *word);
    if (words.end() - word <= option->values) return refuse(WordsRead::Refusal::MissingValues, *word, option->values);
    std::vector<std::string>& values = read.options[*word];
    for (int i = 0; i < option->values; ++i) values.push_back(*++word);
  }
  return read;
}

std::string refusalLine(const WordsRead& read) {
  switch (read.refusal) {
    case WordsRead::Refusal::Unknown: return "kavrel : option inconnue « " + read.word + " »";
    case WordsRead::Refusal::Twice: return "kavrel : l'option « " + read.word + " » est donnée deux fois";
    case WordsRead::Refusal::MissingValues:
      return "kavrel : l'option « " + read.word + " » demande " +
             (read.values == 1 ? std::string("une valeur") : std::to_string(read.values) + " valeurs");
    case WordsRead::Refusal::None:
    case WordsRead::Refusal::Misplaced: break;
  }
  return {};
}

bool refusalShowsUsage(WordsRead::Refusal refusal) noexcept {
  return refusal == WordsRead::Refusal::Unknown || refusal == WordsRead::Refusal::MissingValues;
}

}  // namespace kavrel::cli
