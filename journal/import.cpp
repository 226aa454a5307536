#include "journal/import.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/csv.h"
#include "common/text.h"
#include "journal/checks.h"

namespace kavrel::journal {
namespace {

// A file that refuses this many lines is not a log: reading stops there, so that a
// large file of something else neither fills the memory with messages nor takes long.
constexpr int kMostRefusedLines = 1000;

constexpr std::string_view kColumns =
    "date, heure_tu, g_nord, f_nord, g_sud, f_sud (ou g_disque, f_disque), seeing, observateur, remarque";

enum Column { Date, Time, GNorth, FNorth, GSouth, FSouth, GDisc, FDisc, Seeing, Transparency, ObserverCode,
              Remarks, R, RNorth, RSouth, K, RK, ColumnCount };

// R, R north and R south are what the suite's own CSV adds, and k and R_k where a k was
// chosen; they are derived, so read and left aside.
constexpr std::array<std::string_view, ColumnCount> kNames = {
    "date", "heure_tu", "g_nord", "f_nord", "g_sud", "f_sud", "g_disque", "f_disque", "seeing", "transparence",
    "observateur", "remarque", "r", "r_nord", "r_sud", "k", "r_k"};

constexpr std::array<std::string_view, ColumnCount> kCaptions = {
    "Date", "Heure TU", "g nord", "f nord", "g sud", "f sud", "g disque", "f disque", "Seeing", "Transparence",
    "Observateur", "Remarque", "R", "R nord", "R sud", "k", "R × k"};

// Text that can be stored and shown: valid UTF-8 without control characters other
// than the tab and the line breaks a quoted remark may hold.
bool isCleanText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    if (c == 0x7F) return false;
    const std::size_t length = utf8Length(text.substr(i));
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// Digits only, at most `most` of them; none otherwise.
std::optional<int> digitsValue(std::string_view text, std::size_t most) {
  if (!allDigits(text) || text.size() > most) return std::nullopt;
  int value = 0;
  for (const char c : text) value = value * 10 + (c - '0');
  return value;
}

struct Header {
  std::array<int, ColumnCount> index{};  // -1: absent
  std::size_t columns = 0;
  [[nodiscard]] bool has(Column column) const { return index[column] >= 0; }
};

std::optional<std::string> readHeader(const std::vector<std::string>& names, Header& header) {
  header.index.fill(-1);
  header.columns = names.size();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string name = lowered(trimmed(names[i]));
    const auto known = std::find(kNames.begin(), kNames.end(), name);
    if (known == kNames.end())
      return "En-tête : colonne " + quoted(trimmed(names[i])) + " inconnue ; les colonnes sont " +
             std::string(kColumns) + ".";
    int& index = header.index[static_cast<std::size_t>(known - kNames.begin())];
    if (index >= 0) return "En-tête : la colonne " + quoted(name) + " est nommée deux fois.";
    index = static_cast<int>(i);
  }
  for (const Column column : {Date, Time})
    if (!header.has(column)) return "En-tête : il manque la colonne « " + std::string(kNames[column]) + " ».";
  const int hemispheres = header.has(GNorth) + header.has(FNorth) + header.has(GSouth) + header.has(FSouth);
  const int disc = header.has(GDisc) + header.has(FDisc);
  if (hemispheres == 0 && disc == 0)
    return "En-tête : il manque les comptes, colonnes g_nord, f_nord, g_sud, f_sud ou g_disque, f_disque.";
  for (const Column column : {GNorth, FNorth, GSouth, FSouth})
    if (hemispheres > 0 && !header.has(column))
      return "En-tête : il manque la colonne « " + std::string(kNames[column]) + " ».";
  for (const Column column : {GDisc, FDisc})
    if (disc > 0 && !header.has(column))
      return "En-tête : il manque la colonne « " + std::string(kNames[column]) + " ».";
  return std::nullopt;
}

// One row read into an observation; the problems of reading, in the columns' order.
class Row {
 public:
  Row(const Header& header, const std::vector<std::string>& fields) : header_(header), fields_(fields) {}

  std::vector<std::string> problems;

  [[nodiscard]] std::string_view field(Column column) const {
    return header_.has(column) ? trimmed(fields_[static_cast<std::size_t>(header_.index[column])]) : "";
  }

  void problem(Column column, const std::string& text) { problems.push_back(std::string(kCaptions[column]) + " : " + text); }

  Day date() {
    const std::string_view text = field(Date);
    if (text.empty()) {
      problem(Date, "vide.");
      return {};
    }
    // 2014-02-03, or 3/2/2014 as a French spreadsheet writes it.
    const bool iso = text.find('-') != std::string_view::npos;
    const char mark = iso ? '-' : '/';
    const auto first = text.find(mark);
    const auto second = first == std::string_view::npos ? first : text.find(mark, first + 1);
    if (second != std::string_view::npos) {
      const std::string_view a = text.substr(0, first);
      const std::string_view b = text.substr(first + 1, second - first - 1);
      const std::string_view c = text.substr(second + 1);
      const auto year = digitsValue(iso ? a : c, 4);
      const auto month = digitsValue(b, 2);
      const auto day = digitsValue(iso ? c : a, 2);
      if (year && month && day && (iso ? a : c).size() == 4) return {*year, *month, *day};
    }
    problem(Date, quoted(text) + " n'est pas une date (2014-02-03 ou 3/2/2014).");
    return {};
  }

  TimeOfDay time() {
    const std::string_view text = field(Time);
    if (text.empty()) {
      problem(Time, "vide.");
      return {};
    }
    const auto colon = text.find(':');
    if (colon != std::string_view::npos) {
      const std::string_view minutes = text.substr(colon + 1);
      const auto hour = digitsValue(text.substr(0, colon), 2);
      const auto minute = digitsValue(minutes, 2);
      if (hour && minute && minutes.size() == 2) return {*hour, *minute};
    }
    problem(Time, quoted(text) + " n'est pas une heure (09:05 ou 9:05).");
    return {};
  }

  std::optional<int> count(Column column) {
    const std::string_view text = field(column);
    if (text.empty()) {
      problem(column, "vide ; 0 s'il n'y a rien.");
      return std::nullopt;
    }
    const bool negative = text.front() == '-';
    const auto value = digitsValue(negative ? text.substr(1) : text, 6);
    if (!value) {
      problem(column, quoted(text) + (allDigits(text) ? " est trop grand." : " n'est pas un nombre entier."));
      return std::nullopt;
    }
    return negative ? -*value : *value;
  }

  std::optional<Counts> counts(Column groups, Column spots) {
    const auto g = count(groups);
    const auto f = count(spots);
    if (!g || !f) return std::nullopt;
    return Counts{*g, *f};
  }

  [[nodiscard]] bool filled(std::initializer_list<Column> columns) const {
    return std::all_of(columns.begin(), columns.end(), [&](Column c) { return !field(c).empty(); });
  }
  [[nodiscard]] bool blank(std::initializer_list<Column> columns) const {
    return std::all_of(columns.begin(), columns.end(), [&](Column c) { return field(c).empty(); });
  }

  // A day of clouds in a spreadsheet's log: its date, its remark (the weather), perhaps the
  // time the observer looked, and nothing counted nor rated.
  [[nodiscard]] bool notObserved() const {
    return blank({GNorth, FNorth, GSouth, FSouth, GDisc, FDisc, Seeing, Transparency}) && !field(Remarks).empty();
  }
  // A date and nothing else to say of the day.
  [[nodiscard]] bool nothingObserved() const {
    return blank({Time, GNorth, FNorth, GSouth, FSouth, GDisc, FDisc});
  }

  Tally tally() {
    const bool hemispheres = header_.has(GNorth) && !blank({GNorth, FNorth, GSouth, FSouth});
    const bool disc = header_.has(GDisc) && !blank({GDisc, FDisc});
    if (hemispheres) {
      if (!filled({GNorth, FNorth, GSouth, FSouth})) {
        problems.emplace_back("g nord, f nord, g sud, f sud : les quatre, ou aucun pour le disque entier seul.");
        return {};
      }
      const auto north = counts(GNorth, FNorth);
      const auto south = counts(GSouth, FSouth);
      const auto whole = disc ? counts(GDisc, FDisc) : std::nullopt;
      if (!north || !south) return {};
      Tally tally = Tally::of(*north, *south);
      if (whole) tally.disc = *whole;  // the checks compare it with north + south
      return tally;
    }
    if (!header_.has(GDisc)) {
      problems.emplace_back("g nord, f nord, g sud, f sud : vides ; 0 s'il n'y a rien.");
      return {};
    }
    const auto whole = counts(GDisc, FDisc);
    return whole ? Tally::wholeDisc(*whole) : Tally{};
  }

  std::optional<int> scale(Column column, bool letters) {
    const std::string_view text = field(column);
    if (text.empty()) return std::nullopt;
    if (letters && text.size() == 1) {
      if (const auto seeing = seeingOfLetter(text.front())) return seeing;
    }
    if (const auto value = digitsValue(text, 2)) return value;  // the checks say 1 to 5
    problem(column, quoted(text) + (letters ? " : de 1 à 5, 5 le meilleur, ou une lettre E, G, F, P."
                                            : " : de 1 à 5, 5 le meilleur."));
    return std::nullopt;
  }

  // The row into `imported`; the problems stay in `problems`.
  void read(ImportRow& imported) {
    if (nothingObserved()) {
      problems.emplace_back(
          "Heure TU et comptes vides : aucune observation ce jour-là ; un jour sans observation porte sa remarque "
          "(la météo).");
      return;
    }
    Observation& observation = imported.observation;
    observation.date = date();
    observation.time = time();
    observation.counts = tally();
    observation.seeing = scale(Seeing, true);
    observation.transparency = scale(Transparency, false);
    imported.observerCode = text(ObserverCode);
    observation.remarks = text(Remarks);
  }

  // The row of a day not observed (notObserved()) into `unobserved`.
  void read(UnobservedRow& unobserved) {
    UnobservedDay& day = unobserved.day;
    day.date = date();
    if (!field(Time).empty()) day.time = time();
    unobserved.observerCode = text(ObserverCode);
    day.remarks = text(Remarks);
  }

  std::string text(Column column) {
    const std::string_view value = field(column);
    if (!isCleanText(value)) {
      problem(column, "ce texte n'est pas de l'UTF-8 lisible ; enregistrez le fichier en UTF-8.");
      return {};
    }
    return std::string(value);
  }

 private:
  const Header& header_;
  const std::vector<std::string>& fields_;
};

}  // namespace

namespace {

// The header line read into `header`; the refusal of line 1 when it is not a log's.
std::optional<std::string> headerRefusal(std::string_view text, csv::Reader& records, Header& header) {
  const std::string_view headerLine = text.substr(0, text.find_first_of("\r\n"));
  csv::Reader::Record record;
  if (trimmed(headerLine).empty() || !records.next(record))
    return "En-tête : la première ligne nomme les colonnes : " + std::string(kColumns) + ".";
  if (record.fieldCount > record.fields.size())
    return "En-tête : plus de " + std::to_string(record.fields.size()) + " colonnes.";
  return readHeader(record.fields, header);
}

// One record of the file: the observation or the day not observed it holds, or its problems.
struct RecordReading {
  std::vector<std::string> problems;
  std::optional<ImportRow> observation;
  std::optional<UnobservedRow> unobserved;
};

RecordReading readRecord(const csv::Reader::Record& record, const Header& header, char separator, Day today) {
  RecordReading reading;
  std::vector<std::string>& problems = reading.problems;
  if (record.unclosedQuote) {
    problems.emplace_back("un guillemet ouvert n'est jamais fermé.");
  } else if (record.fieldCount != header.columns) {
    problems.push_back(std::to_string(record.fieldCount) + (record.fieldCount > 1 ? " champs" : " champ") +
                       " au lieu des " + std::to_string(header.columns) + " de l'en-tête (séparateur « " + separator +
                       " »).");
  } else if (record.tooLong) {
    problems.emplace_back("un champ de plus de 100 000 caractères : ce n'est pas une ligne de journal.");
  } else if (Row row(header, record.fields); row.notObserved()) {
    UnobservedRow unobserved;
    unobserved.line = record.line;
    row.read(unobserved);
    problems = std::move(row.problems);
    if (problems.empty()) problems = checkUnobservedDay(unobserved.day, today);
    if (problems.empty()) reading.unobserved = std::move(unobserved);
  } else {
    ImportRow imported;
    imported.line = record.line;
    row.read(imported);
    problems = std::move(row.problems);
    if (problems.empty()) problems = checkObservation(imported.observation, today);
    if (problems.empty()) reading.observation = std::move(imported);
  }
  return reading;
}

}  // namespace

ParsedLog parseLog(std::string_view text, Day today) {
  ParsedLog log;
  text = csv::withoutByteOrderMark(text);
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
    log.refusals.push_back({1, "Ce fichier est en UTF-16 : enregistrez-le en CSV UTF-8."});
    return log;
  }
  // The header's dialect: ";" with the decimal comma, "," with the point.
  const char separator = csv::formatOfHeader(text).separator;
  csv::Reader records(text, separator);
  Header header;
  if (const std::optional<std::string> refusal = headerRefusal(text, records, header)) {
    log.refusals.push_back({1, *refusal});
    return log;
  }

  records.setMostFields(header.columns);
  csv::Reader::Record record;
  int refusedLines = 0;
  while (records.next(record)) {
    if (record.blank) continue;
    RecordReading reading = readRecord(record, header, separator, today);
    if (reading.observation) log.rows.push_back(std::move(*reading.observation));
    if (reading.unobserved) log.unobserved.push_back(std::move(*reading.unobserved));
    if (reading.problems.empty()) continue;
    if (++refusedLines > kMostRefusedLines) {
      log.refusals.push_back({record.line, "la lecture s'arrête ici : plus de " + std::to_string(kMostRefusedLines) +
                                               " lignes refusées, ce fichier n'est sans doute pas un journal."});
      break;
    }
    for (std::string& problem : reading.problems) log.refusals.push_back({record.line, std::move(problem)});
    if (record.unclosedQuote) break;
  }
  return log;
}

}  // namespace kavrel::journal
