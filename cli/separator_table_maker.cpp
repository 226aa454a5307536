// Build tool: writes the decimal separator of every locale Qt knows, as C++ rows
// {"fr_FR", ","} sorted by name, for kavrel's Qt-free reading of the user's locale
// (locale_separator.h). Names are those QLocale reads: language_TERRITORY, the language
// alone under each of its ISO 639 codes (and the legacy ones QLocale reads), and
// language_Script_TERRITORY. Qt Core.
//
//   kavrel_separator_table OUTPUT
#include <QLocale>

#include <fstream>
#include <iostream>
#include <map>
#include <string>

namespace {

std::string utf8(const QString& text) { return text.toStdString(); }

void addLanguages(std::map<std::string, std::string>& table) {
  for (int value = QLocale::C + 1; value <= QLocale::LastLanguage; ++value) {
    const auto language = static_cast<QLocale::Language>(value);
    const QLocale locale(language);
    if (locale.language() != language) continue;
    for (const auto type : {QLocale::ISO639Part1, QLocale::ISO639Part2B, QLocale::ISO639Part2T, QLocale::ISO639Part3}) {
      const QString code = QLocale::languageToCode(language, type);
      if (!code.isEmpty()) table.emplace(utf8(code), utf8(locale.decimalPoint()));
    }
  }
  // The legacy codes QLocale still reads: "no" for Bokmål, "tl" for Filipino...
  for (const char* code : {"no", "tl", "sh", "mo", "iw", "in", "ji"})
    table.emplace(code, utf8(QLocale(QString::fromLatin1(code)).decimalPoint()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: kavrel_separator_table OUTPUT\n";
    return 2;
  }
  std::map<std::string, std::string> table;
  for (const QLocale& locale :
       QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
    if (locale.language() == QLocale::C) continue;
    const std::string separator = utf8(locale.decimalPoint());
    table.emplace(utf8(locale.name()), separator);
    const QString tag = locale.bcp47Name();
    if (tag.count(u'-') == 2) table.emplace(utf8(QString(tag).replace(u'-', u'_')), separator);
  }
  addLanguages(table);
  std::ofstream out(argv[1]);
  out << "// Made by kavrel_separator_table from Qt's locales: do not edit.\n";
  for (const auto& [name, separator] : table) out << "{\"" << name << "\", \"" << separator << "\"},\n";
  return out ? 0 : 1;
}
