// kavrel: the suite's calculations from a terminal (see `kavrel --help`). The same main
// makes two programs: kavrel, which hands the actions that paint over to kavrel-dessin,
// and kavrel-dessin, which runs them (cli/painting.h).
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "cli/dispatch.h"
#include "cli/locale_separator.h"

namespace {

// The local date and time, as the windows fill their fields at start.
kavrel::cli::ClockFields localClock() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {std::to_string(local.tm_mday), std::to_string(local.tm_mon + 1),
          std::to_string(local.tm_year + 1900), std::to_string(local.tm_hour),
          std::to_string(local.tm_min)};
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  // The windows show the decimal separator of the user's locale; so does the command.
  const std::string decimalSeparator = kavrel::cli::localeDecimalSeparator();

  const kavrel::cli::Status status =
      kavrel::cli::run(arguments, decimalSeparator, localClock, std::cout, std::cerr);
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "kavrel : écriture des résultats impossible\n";
    return kavrel::cli::kExitFailed;
  }
  return kavrel::cli::exitCode(status);
}
