// The words of a kavrel action read into fields and options: one reader for every action,
// the calculators', the photographs' and the journal's. Qt-free; it reads words and
// refuses, it prints nothing.
//
// Fields and options mix freely; a first "--" ends the options, every word after it being
// a field ("kavrel date -- -5"). An option takes the number of words its row says.
#pragma once

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::cli {

using Fields = std::vector<std::string>;
// The options given, by name, with their values (none for a flag).
using Given = std::map<std::string, std::vector<std::string>, std::less<>>;

struct OptionSpec {
  std::string_view name;
  int values = 0;  // the words that follow it
};

struct WordRules {
  // An action without options takes a word starting with "--" as a field (the
  // calculators); otherwise such a word is an option, refused when unknown.
  bool fieldsWhenNoOptions = false;
  // An option of the command's own that is misplaced among the action's ("--fichier").
  std::string_view misplaced{};
};

struct WordsRead {
  enum class Refusal { None, Unknown, Twice, MissingValues, Misplaced };
  Fields fields;
  Given options;
  Refusal refusal = Refusal::None;
  std::string word;  // the option refused
  int values = 0;    // the values it wants (MissingValues)
};

[[nodiscard]] WordsRead readWords(std::span<const std::string> words, std::span<const OptionSpec> options,
                                  WordRules rules = {});

// The line that says a refusal ("kavrel : option inconnue « --x »"); empty for Misplaced,
// whose message is the caller's.
[[nodiscard]] std::string refusalLine(const WordsRead& read);
// Whether the usage follows that line (an unknown option, values missing).
[[nodiscard]] bool refusalShowsUsage(WordsRead::Refusal refusal) noexcept;

// "--help" or "-h" among the words before any "--".
[[nodiscard]] bool asksHelp(std::span<const std::string> words);
[[nodiscard]] bool isHelpWord(std::string_view word) noexcept;

}  // namespace kavrel::cli
