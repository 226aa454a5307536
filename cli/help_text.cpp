// Writes the help's texts (see help_text.h).
#include "cli/help_text.h"

namespace kavrel::cli {

void writeIndented(std::ostream& out, std::string_view text, std::string_view indent) {
  for (std::size_t start = 0;;) {
    const auto end = text.find('\n', start);
    out << text.substr(start, end - start);
    if (end == std::string_view::npos) return;
    out << '\n' << indent;
    start = end + 1;
  }
}

void writeActionHelp(std::ostream& out, std::string_view prefix, const HelpEntry& entry) {
  out << "Usage : kavrel " << prefix << entry.synopsis << "\n\n";
  writeIndented(out, entry.summary.french, "");
  out << ".\n";
}

}  // namespace kavrel::cli
