// SILSO's daily files read line by line, and its monthly and 13-month smoothed means
// (silso.h). The reader is strict: a file of another kind, a line cut short or a value
// out of its range refuses the whole file, since a silently skipped day would move every
// mean that contains it.
#include "journal/silso.h"

#include <charconv>
#include <cmath>
#include <string>

#include "common/calendar_date.h"
#include "common/text.h"

namespace kavrel::journal {
namespace {

constexpr std::size_t kTotalFields = 8;
constexpr std::size_t kHemisphericFields = 14;
constexpr std::size_t kMostFields = 16;

// A field or a line without its blanks, and the CR of a line ended by CR LF.
std::string_view trimmed(std::string_view text) { return kavrel::trimmed(text, " \t\r"); }

std::optional<int> integerOf(std::string_view text) {
  text = trimmed(text);
  int value = 0;
  if (text.empty() || text.front() == '+') return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> realOf(std::string_view text) {
  text = trimmed(text);
  double value = 0;
  if (text.empty() || text.front() == '+') return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

struct LineReading {
  SilsoDay day;
  std::string error;
};

// A sunspot number: none for SILSO's -1, else 0 and above.
bool numberOf(std::string_view text, std::optional<int>& into) {
  const auto value = integerOf(text);
  if (!value || *value < -1) return false;
  if (*value >= 0) into = value;
  return true;
}

// A line's fields between its semicolons; kMostFields + 1 for a line of more.
struct Fields {
  std::string_view values[kMostFields];
  std::size_t count = 0;
};

Fields splitFields(std::string_view line) {
  Fields fields;
  for (std::size_t start = 0;;) {
    const std::size_t end = line.find(';', start);
    if (fields.count == kMostFields) {
      fields.count = kMostFields + 1;
      break;
    }
    fields.values[fields.count++] =
        line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return fields;
}

// A line of `count` fields in a file of the kind `hemispheric` says, which wants
// `expected`: the count, and the file it belongs to when it is SILSO's other daily one.
std::string fieldCountError(std::size_t count, std::size_t expected, bool hemispheric) {
  std::string error = (count > kMostFields ? std::string("plus de ") + std::to_string(kMostFields)
                                           : std::to_string(count)) +
                      " champ" + (count > 1 ? "s" : "") + " au lieu de " + std::to_string(expected);
  if (!hemispheric && count == kHemisphericFields)
    error += " : c'est le fichier des hémisphères (--hemispheres)";
  else if (hemispheric && count == kTotalFields)
    error += " : c'est le fichier du nombre total, sans --hemispheres";
  else
    error += " : ce n'est pas une ligne d'un fichier quotidien de SILSO";
  return error;
}

// The standard deviations (real) and the numbers of observations (whole) that follow the
// sunspot numbers, each -1 or more; the problem of the first that is not, else none.
const char* spreadError(const Fields& fields, bool hemispheric) {
  const std::size_t firstDeviation = hemispheric ? 7 : 5;
  const std::size_t deviations = hemispheric ? 3 : 1;
  for (std::size_t i = firstDeviation; i < firstDeviation + 2 * deviations; ++i) {
    const bool isDeviation = i < firstDeviation + deviations;
    const auto real = isDeviation ? realOf(fields.values[i]) : std::optional<double>();
    const auto whole = isDeviation ? std::optional<int>() : integerOf(fields.values[i]);
    if ((isDeviation && (!real || *real < -1)) || (!isDeviation && (!whole || *whole < -1)))
      return isDeviation ? "l'écart type n'est pas un nombre" : "le nombre d'observations n'est pas un entier";
  }
  return nullptr;
}

LineReading readLine(std::string_view line, SilsoFile::Kind kind) {
  LineReading reading;
  const Fields fields = splitFields(line);
  const bool hemispheric = kind == SilsoFile::Kind::Hemispheric;
  const std::size_t expected = hemispheric ? kHemisphericFields : kTotalFields;
  if (fields.count != expected) {
    reading.error = fieldCountError(fields.count, expected, hemispheric);
    return reading;
  }
  const auto year = integerOf(fields.values[0]);
  const auto month = integerOf(fields.values[1]);
  const auto day = integerOf(fields.values[2]);
  if (!year || !month || !day || *year < 1 || *year > 9999 || *month < 1 || *month > 12 || *day < 1 ||
      *day > daysInMonth(*year, *month)) {
    reading.error = "la date n'est pas une date (année;mois;jour attendus)";
    return reading;
  }
  reading.day.date = {*year, *month, *day};
  const auto decimalYear = realOf(fields.values[3]);
  if (!decimalYear || std::floor(*decimalYear) != *year) {
    reading.error = "l'année décimale ne correspond pas à la date";
    return reading;
  }
  bool numbers = numberOf(fields.values[4], reading.day.total);
  if (hemispheric)
    numbers = numbers && numberOf(fields.values[5], reading.day.north) && numberOf(fields.values[6], reading.day.south);
  if (!numbers) {
    reading.error = "le nombre de taches n'est ni un entier positif ni -1";
    return reading;
  }
  if (const char* error = spreadError(fields, hemispheric)) {
    reading.error = error;
    return reading;
  }
  const auto flag = integerOf(fields.values[expected - 1]);
  if (!flag || (*flag != 0 && *flag != 1)) {
    reading.error = "le dernier champ doit valoir 1 (définitif) ou 0 (provisoire)";
    return reading;
  }
  reading.day.definitive = *flag == 1;
  return reading;
}

}  // namespace

SilsoFile parseSilso(std::string_view text, SilsoFile::Kind kind) {
  SilsoFile file;
  file.kind = kind;
  const auto refuse = [&](int line, std::string message) {
    file.days.clear();
    file.line = line;
    file.error = "ligne " + std::to_string(line) + " : " + std::move(message) + '.';
    return file;
  };
  int number = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (trimmed(line).empty()) continue;
    if (line.find('\0') != std::string_view::npos) return refuse(number, "ce n'est pas du texte");
    LineReading reading = readLine(line, kind);
    if (!reading.error.empty()) return refuse(number, std::move(reading.error));
    if (!file.days.empty() && reading.day.date <= file.days.back().date)
      return refuse(number, "la date ne suit pas celle de la ligne précédente");
    file.days.push_back(reading.day);
  }
  if (file.days.empty()) return refuse(number + 1, "le fichier ne contient aucun jour");
  return file;
}

std::vector<MonthValue> monthlyMeans(const std::vector<SilsoDay>& days) {
  std::vector<MonthValue> months;
  if (days.empty()) return months;
  const int first = days.front().date.year * 12 + days.front().date.month - 1;
  const int last = days.back().date.year * 12 + days.back().date.month - 1;
  if (last < first) return months;
  std::vector<double> sums(static_cast<std::size_t>(last - first + 1), 0.0);
  months.resize(sums.size());
  for (std::size_t i = 0; i < months.size(); ++i) {
    const int index = first + static_cast<int>(i);
    months[i].year = index / 12;
    months[i].month = index % 12 + 1;
  }
  for (const SilsoDay& day : days) {
    const int index = day.date.year * 12 + day.date.month - 1 - first;
    if (index < 0 || index >= static_cast<int>(months.size()) || !day.total) continue;
    sums[static_cast<std::size_t>(index)] += *day.total;
    ++months[static_cast<std::size_t>(index)].days;
  }
  for (std::size_t i = 0; i < months.size(); ++i)
    if (months[i].days > 0) months[i].value = sums[i] / months[i].days;
  return months;
}

double roundedToTenth(double value) { return std::round(value * 10) / 10; }

std::vector<MonthValue> smoothed13(const std::vector<MonthValue>& means) {
  std::vector<MonthValue> smoothed(means.size());
  for (std::size_t i = 0; i < means.size(); ++i) {
    smoothed[i].year = means[i].year;
    smoothed[i].month = means[i].month;
    smoothed[i].days = means[i].days;
    if (i < 6 || i + 6 >= means.size()) continue;
    double sum = 0;
    bool whole = true;
    for (std::size_t j = i - 6; j <= i + 6 && whole; ++j) {
      whole = means[j].value.has_value();
      if (whole) sum += (j == i - 6 || j == i + 6 ? 0.5 : 1.0) * roundedToTenth(*means[j].value);
    }
    if (whole) smoothed[i].value = sum / 12;
  }
  return smoothed;
}

}  // namespace kavrel::journal
