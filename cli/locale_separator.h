// The decimal separator of the user's locale ("," in French, "." in English), read as Qt
// reads it for the windows, without Qt: the locale named by LC_ALL, else LC_NUMERIC, else
// LANG, else C; its separator from the table of Qt's own locales made at build time
// (separator_table_maker.cpp), so that the command writes the numbers as the windows show
// them, whether or not the C library has that locale installed. Qt-free.
#pragma once

#include <string>
#include <string_view>

namespace kavrel::cli {

// "fr_FR.UTF-8" → ","; a name Qt does not know, "C" or "POSIX" → ".".
[[nodiscard]] std::string decimalSeparatorOf(std::string_view localeName);

// The separator of the locale the environment names.
[[nodiscard]] std::string localeDecimalSeparator();

}  // namespace kavrel::cli
