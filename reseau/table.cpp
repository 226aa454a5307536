// The files observers send read into the network's observations (table.h): the kind told
// by the first line, the text decoded to UTF-8, each row read, then checked as the Journal
// checks a day; counts are whole numbers of groups and spots, times UT to the minute.
#include "reseau/table.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <span>
#include <unordered_map>

#include "common/csv.h"
#include "common/text.h"
#include "common/windows1250.h"
#include "journal/checks.h"
#include "journal/import.h"
#include "journal/month.h"

namespace kavrel::reseau {
namespace {

// A file that refuses this many lines is not a table: reading stops there.
constexpr int kMostRefusedLines = 1000;
constexpr std::size_t kLongestCode = 64;         // characters of an observer's code
constexpr std::size_t kLongestInstrument = 200;  // characters of an instrument's text

// ---------------------------------------------------------------- shared pieces

std::string lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

bool isUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = utf8Length(text.substr(i));
    if (length == 0) return false;
    i += length;
  }
  return true;
}

// Characters of UTF-8 text, or none when it holds a control character.
std::optional<std::size_t> printableLength(std::string_view text) {
  std::size_t characters = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return std::nullopt;
    if ((byte & 0xC0) != 0x80) ++characters;
  }
  return characters;
}

// Digits only, at most `most` of them; none otherwise.
std::optional<int> digitsValue(std::string_view text, std::size_t most) {
  if (!allDigits(text) || text.size() > most) return std::nullopt;
  int value = 0;
  for (const char c : text) value = value * 10 + (c - '0');
  return value;
}

// The lines a text counts: "\r\n", "\n" and a lone "\r" each end one.
int lineEnds(std::string_view text) {
  int ends = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++ends;
  return ends;
}

// The text to its last line end, and the line that follows it when that one holds
// something: a file cut in the middle of its last line. A text of one line is whole.
struct Body {
  std::string_view text;
  int cutLine = 0;  // 0: none
};

Body withoutCutLine(std::string_view text) {
  const auto end = text.find_last_of("\r\n");
  if (end == std::string_view::npos || trimmed(text.substr(end + 1), kWhiteSpace).empty()) return {text, 0};
  const std::string_view body = text.substr(0, end + 1);
  return {body, lineEnds(body) + 1};
}

// A line's problems added to the table; false when it has refused too many lines to be
// a table, and reading stops.
bool refuse(Table& table, int line, std::vector<std::string>& problems, int& refusedLines) {
  if (++refusedLines > kMostRefusedLines) {
    table.refusals.push_back({line, "la lecture s'arrête ici : plus de " + std::to_string(kMostRefusedLines) +
                                        " lignes refusées, ce fichier n'est sans doute pas une table d'observations."});
    return false;
  }
  for (std::string& problem : problems) table.refusals.push_back({line, std::move(problem)});
  return true;
}

// The Journal's checks of a day, and the network's quality scale 0..5.
void checkRow(const NetworkObservation& o, Day today, std::vector<std::string>& problems) {
  journal::checkDate(o.date, today, problems);
  if (o.time) journal::checkTime(*o.time, problems);
  if (o.quality && (*o.quality < 0 || *o.quality > 5))
    problems.push_back("Qualité : de 0 à 5, 5 la meilleure (lu " + std::to_string(*o.quality) + ").");
  if (o.north || o.south)
    journal::checkTally({o.north, o.south, o.disc}, problems);
  else
    journal::checkCounts(o.disc, "", problems);
}

// A count as written: digits, perhaps after "-" (which the checks refuse, saying why).
std::optional<int> countOf(std::string_view text, std::string_view caption, std::vector<std::string>& problems) {
  if (text.empty()) {
    problems.push_back(std::string(caption) + " : vide ; 0 s'il n'y a rien.");
    return std::nullopt;
  }
  const bool negative = text.front() == '-';
  const auto value = digitsValue(negative ? text.substr(1) : text, 6);
  if (!value) {
    problems.push_back(std::string(caption) + " : " + quoted(text) +
                       (allDigits(text) ? " est trop grand." : " n'est pas un nombre entier."));
    return std::nullopt;
  }
  return negative ? -*value : *value;
}

// ---------------------------------------------------------------- columns of a table

enum Column { Observer, Instrument, Date, Time, Quality, G, F, GNorth, FNorth, GSouth, FSouth, R, Year, Month,
              DayOfMonth, Hour, Minute, ColumnCount };

constexpr std::array<std::string_view, ColumnCount> kCaptions = {
    "Observateur", "Instrument", "Date", "Heure TU", "Qualité", "g", "f", "g nord", "f nord", "g sud", "f sud",
    "R", "Année", "Mois", "Jour", "Heure TU", "Minute TU"};

struct ColumnName {
  std::string_view name;  // in lower case; the first of a column is the one messages give
  Column column;
};

constexpr ColumnName kTableNames[] = {
    {"observer", Observer}, {"observateur", Observer}, {"instrument", Instrument}, {"date", Date},
    {"time_ut", Time},      {"heure_tu", Time},        {"quality", Quality},       {"qualite", Quality},
    {"qualité", Quality},   {"g", G},                  {"f", F},                   {"g_north", GNorth},
    {"g_nord", GNorth},     {"f_north", FNorth},       {"f_nord", FNorth},         {"g_south", GSouth},
    {"g_sud", GSouth},      {"f_south", FSouth},       {"f_sud", FSouth},          {"r", R}};

// The CESLOPOL report's columns; its "Č.Poz." (the observer's number) and "Obr." (the
// second seeing index) are set aside.
constexpr ColumnName kCeslopolNames[] = {
    {"rok", Year},         {"měsíc", Month},       {"mesic", Month}, {"den", DayOfMonth}, {"u", Hour},
    {"t", Minute},         {"pozorovatel", Observer}, {"q", Quality}, {"g", G},           {"f", F},
    {"r", R}};

struct Header {
  std::array<int, ColumnCount> index{};  // -1: absent
  std::size_t columns = 0;
  [[nodiscard]] bool has(Column column) const { return index[column] >= 0; }
};

std::string_view nameOf(std::span<const ColumnName> names, Column column) {
  const auto found = std::find_if(names.begin(), names.end(), [&](const ColumnName& n) { return n.column == column; });
  return found == names.end() ? kCaptions[column] : found->name;
}

// The columns the header must name and does not, in the columns' order.
std::vector<Column> missingColumns(const Header& header, Table::Kind kind) {
  std::vector<Column> needed = {Observer, G, F};
  if (kind == Table::Kind::Ceslopol)
    needed.insert(needed.end(), {Year, Month, DayOfMonth});
  else
    needed.push_back(Date);
  if (header.has(GNorth) || header.has(FNorth) || header.has(GSouth) || header.has(FSouth))
    needed.insert(needed.end(), {GNorth, FNorth, GSouth, FSouth});
  if (header.has(Hour) || header.has(Minute)) needed.insert(needed.end(), {Hour, Minute});
  std::vector<Column> missing;
  for (const Column column : needed)
    if (!header.has(column)) missing.push_back(column);
  std::sort(missing.begin(), missing.end());
  return missing;
}

std::optional<std::string> readHeader(const std::vector<std::string>& fields, Table::Kind kind, Header& header,
                                      std::vector<std::string>& setAside) {
  const std::span<const ColumnName> names =
      kind == Table::Kind::Ceslopol ? std::span<const ColumnName>(kCeslopolNames) : std::span<const ColumnName>(kTableNames);
  header.index.fill(-1);
  header.columns = fields.size();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string_view written = trimmed(fields[i]);
    const std::string name = lowered(written);
    const auto known = std::find_if(names.begin(), names.end(), [&](const ColumnName& n) { return n.name == name; });
    if (known == names.end()) {
      setAside.push_back(written.empty() ? "colonne " + std::to_string(i + 1) : std::string(written));
      continue;
    }
    int& index = header.index[known->column];
    if (index >= 0) return "En-tête : la colonne " + quoted(written) + " est nommée deux fois.";
    index = static_cast<int>(i);
  }
  const std::vector<Column> missing = missingColumns(header, kind);
  if (missing.empty()) return std::nullopt;
  std::string listed;
  for (const Column column : missing) listed += (listed.empty() ? "" : ", ") + std::string(nameOf(names, column));
  return "Ce fichier n'est pas une table d'observations : colonnes manquantes : " + listed + ".";
}

// A date as a spreadsheet writes it: 1984-02-15, 15/2/1984 or 15.2.1984.
std::optional<Day> dateOf(std::string_view text) {
  const bool iso = text.find('-') != std::string_view::npos;
  const char mark = iso ? '-' : text.find('/') != std::string_view::npos ? '/' : '.';
  const auto first = text.find(mark);
  const auto second = first == std::string_view::npos ? first : text.find(mark, first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const std::string_view a = text.substr(0, first);
  const std::string_view b = text.substr(first + 1, second - first - 1);
  const std::string_view c = text.substr(second + 1);
  const std::string_view yearText = iso ? a : c;
  const auto year = digitsValue(yearText, 4);
  const auto month = digitsValue(b, 2);
  const auto day = digitsValue(iso ? c : a, 2);
  if (!year || !month || !day || yearText.size() != 4) return std::nullopt;
  return Day{*year, *month, *day};
}

// One record of a table read into an observation; the problems of reading, in the
// columns' order.
class Row {
 public:
  Row(const Header& header, const std::vector<std::string>& fields) : header_(header), fields_(fields) {}

  std::vector<std::string> problems;

  NetworkObservation read() {
    NetworkObservation o;
    o.observer = text(Observer, kLongestCode, true);
    if (header_.has(Observer) && o.observer.empty() && problems.empty()) problem(Observer, "vide.");
    o.instrument = text(Instrument, kLongestInstrument, false);
    o.date = header_.has(Date) ? date() : Day{datePart(Year, 4), datePart(Month, 2), datePart(DayOfMonth, 2)};
    o.time = time();
    o.quality = integer(Quality, 2);
    counts(o);
    return o;
  }

 private:
  [[nodiscard]] std::string_view raw(Column column) const {
    return header_.has(column) ? std::string_view(fields_[static_cast<std::size_t>(header_.index[column])]) : "";
  }
  [[nodiscard]] std::string_view field(Column column) const { return trimmed(raw(column)); }

  void problem(Column column, const std::string& text) { problems.push_back(std::string(kCaptions[column]) + " : " + text); }

  std::string text(Column column, std::size_t most, bool cut) {
    const std::string_view value = cut ? field(column) : raw(column);
    const auto length = printableLength(value);
    if (!length) {
      problem(column, quoted(value) + " tient un caractère de contrôle.");
      return {};
    }
    if (*length > most) {
      problem(column, quoted(value) + " : au plus " + std::to_string(most) + " caractères.");
      return {};
    }
    return std::string(value);
  }

  // A whole number of at most `digits` digits; none when the field is empty (or absent).
  std::optional<int> integer(Column column, std::size_t digits) {
    const std::string_view text = field(column);
    if (text.empty()) return std::nullopt;
    const auto value = digitsValue(text, digits);
    if (!value) problem(column, quoted(text) + " n'est pas un nombre entier de " + std::to_string(digits) +
                                    (digits > 1 ? " chiffres" : " chiffre") + " au plus.");
    return value;
  }

  int datePart(Column column, std::size_t digits) {
    if (field(column).empty()) problem(column, "vide.");
    return integer(column, digits).value_or(0);
  }

  Day date() {
    const std::string_view text = field(Date);
    if (const auto day = dateOf(text)) return *day;
    problem(Date, text.empty() ? "vide." : quoted(text) + " n'est pas une date (1984-02-15 ou 15/2/1984).");
    return {};
  }

  std::optional<TimeOfDay> time() {
    if (header_.has(Hour)) {
      if (field(Hour).empty() != field(Minute).empty()) problem(Hour, "l'heure et la minute, ou aucune.");
      const auto hour = integer(Hour, 4);
      const auto minute = integer(Minute, 2);
      return hour && minute ? std::optional<TimeOfDay>({*hour, *minute}) : std::nullopt;
    }
    const std::string_view text = field(Time);
    if (text.empty()) return std::nullopt;
    // Hours past 23 are read, for the checks to refuse them quoting what was written.
    const auto colon = text.find(':');
    const std::string_view minutes = colon == std::string_view::npos ? "" : text.substr(colon + 1);
    const auto hour = colon == std::string_view::npos ? std::nullopt : digitsValue(text.substr(0, colon), 4);
    const auto minute = digitsValue(minutes, 2);
    if (hour && minute && minutes.size() == 2) return TimeOfDay{*hour, *minute};
    problem(Time, quoted(text) + " n'est pas une heure (10:20).");
    return std::nullopt;
  }

  void counts(NetworkObservation& o) {
    const auto g = countOf(field(G), kCaptions[G], problems);
    const auto f = countOf(field(F), kCaptions[F], problems);
    if (g && f) o.disc = {*g, *f};
    if (header_.has(GNorth)) hemispheres(o);
    if (const std::string_view r = field(R); !r.empty() && g && f) {
      const auto value = digitsValue(r, 7);
      if (!value || *value != journal::relativeNumber(o.disc))
        problem(R, quoted(r) + " n'est pas 10 g + f = " + std::to_string(journal::relativeNumber(o.disc)) + ".");
    }
  }

  void hemispheres(NetworkObservation& o) {
    const std::array<Column, 4> columns = {GNorth, FNorth, GSouth, FSouth};
    const auto filled = std::count_if(columns.begin(), columns.end(), [&](Column c) { return !field(c).empty(); });
    if (filled == 0) return;
    if (filled < 4) {
      problems.emplace_back("g nord, f nord, g sud, f sud : les quatre, ou aucun pour le disque entier seul.");
      return;
    }
    std::array<std::optional<int>, 4> values;
    for (std::size_t i = 0; i < 4; ++i) values[i] = countOf(field(columns[i]), kCaptions[columns[i]], problems);
    if (std::any_of(values.begin(), values.end(), [](const auto& v) { return !v; })) return;
    o.north = Counts{*values[0], *values[1]};
    o.south = Counts{*values[2], *values[3]};
  }

  const Header& header_;
  const std::vector<std::string>& fields_;
};

std::vector<std::string> recordProblems(const csv::Reader::Record& record, const Header& header, char separator) {
  if (record.unclosedQuote) return {"un guillemet ouvert n'est jamais fermé."};
  if (record.fieldCount != header.columns)
    return {std::to_string(record.fieldCount) + (record.fieldCount > 1 ? " champs" : " champ") + " au lieu des " +
            std::to_string(header.columns) + " de l'en-tête (séparateur « " + separator + " »)."};
  if (record.tooLong) return {"un champ de plus de 100 000 caractères : ce n'est pas une ligne d'observation."};
  return {};
}

// A coordinator's table or the CESLOPOL report; false when reading stopped early.
bool readColumns(std::string_view text, Day today, Table& table) {
  const char separator = csv::formatOfHeader(text).separator;
  csv::Reader records(text, separator);
  csv::Reader::Record record;
  Header header;
  if (!records.next(record) || record.blank) {
    table.refusals.push_back({1, "Ce fichier n'est pas une table d'observations : sa première ligne est vide."});
    return false;
  }
  const std::optional<std::string> refusal =
      record.fieldCount > record.fields.size() || record.unclosedQuote
          ? std::optional<std::string>("En-tête : plus de " + std::to_string(record.fields.size()) + " colonnes.")
          : readHeader(record.fields, table.kind, header, table.setAside);
  if (refusal) {
    table.refusals.push_back({1, *refusal});
    table.setAside.clear();
    return false;
  }
  records.setMostFields(header.columns);
  int refusedLines = 0;
  while (records.next(record)) {
    if (record.blank) continue;
    std::vector<std::string> problems = recordProblems(record, header, separator);
    if (problems.empty()) {
      Row row(header, record.fields);
      NetworkObservation observation = row.read();
      problems = std::move(row.problems);
      if (problems.empty()) checkRow(observation, today, problems);
      if (problems.empty()) table.rows.push_back({record.line, std::move(observation)});
    }
    if (!problems.empty() && !refuse(table, record.line, problems, refusedLines)) return false;
    if (record.unclosedQuote) return false;
  }
  return true;
}

// ---------------------------------------------------------------- the Journal's CSV

NetworkObservation ofJournal(std::string code, const journal::Observation& observation) {
  NetworkObservation o;
  o.observer = std::move(code);
  o.date = observation.date;
  o.time = observation.time;
  o.quality = observation.seeing;
  o.disc = observation.counts.disc;
  o.north = observation.counts.north;
  o.south = observation.counts.south;
  return o;
}

// Of each observer's day, the observation the Journal's reports choose; the others'
// lines listed apart. False when reading stopped early.
bool readJournalCsv(std::string_view text, Day today, std::string_view observer, Table& table) {
  journal::ParsedLog log = journal::parseLog(text, today);
  for (journal::Refusal& refusal : log.refusals) table.refusals.push_back({refusal.line, std::move(refusal.message)});
  std::map<std::string, std::vector<journal::Observation>> byObserver;
  for (journal::ImportRow& row : log.rows) {
    std::string code = row.observerCode.empty() ? std::string(trimmed(observer)) : row.observerCode;
    if (code.empty()) {
      table.refusals.push_back({row.line, "Observateur : vide, et aucun n'est donné pour ce fichier du Journal."});
      continue;
    }
    if (const auto length = printableLength(code); !length || *length > kLongestCode) {
      table.refusals.push_back({row.line, "Observateur : " + quoted(code) + " : au plus " +
                                              std::to_string(kLongestCode) + " caractères, sans caractère de contrôle."});
      continue;
    }
    row.observation.id = row.line;  // the line rides along the choice of the day's observation
    byObserver[code].push_back(row.observation);
  }
  for (auto& [code, observations] : byObserver) {
    for (const journal::Observation& chosen : journal::observationsOfDays(observations))
      table.rows.push_back({static_cast<int>(chosen.id), ofJournal(code, chosen)});
    for (const journal::Observation& o : observations) table.otherOfDay.push_back(static_cast<int>(o.id));
  }
  std::sort(table.rows.begin(), table.rows.end(), [](const TableRow& a, const TableRow& b) { return a.line < b.line; });
  std::sort(table.otherOfDay.begin(), table.otherOfDay.end());
  std::vector<int> chosen;
  for (const TableRow& row : table.rows) chosen.push_back(row.line);
  std::vector<int> others;
  std::set_difference(table.otherOfDay.begin(), table.otherOfDay.end(), chosen.begin(), chosen.end(),
                      std::back_inserter(others));
  table.otherOfDay = std::move(others);
  // A refusal of line 1 is the header's: the file is not the Journal's CSV.
  const bool headerRefused = !log.refusals.empty() && log.refusals.front().line == 1;
  return !headerRefused && (log.refusals.empty() || !log.refusals.back().message.starts_with("la lecture s'arrête"));
}

// ---------------------------------------------------------------- the AAVSO report

// The lines of a text, numbered from 1; "\r\n", "\n" and a lone "\r" end a line.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool next(std::string_view& line) {
    if (at_ >= text_.size()) return false;
    const auto end = std::min(text_.find_first_of("\r\n", at_), text_.size());
    line = text_.substr(at_, end - at_);
    at_ = end + (end < text_.size() && text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? 2 : 1);
    ++number_;
    return true;
  }
  [[nodiscard]] int number() const { return number_; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  int number_ = 0;
};

// The words of a line separated by spaces or tabs, and where each begins.
std::vector<std::pair<std::size_t, std::string_view>> words(std::string_view line) {
  std::vector<std::pair<std::size_t, std::string_view>> found;
  std::size_t at = line.find_first_not_of(kSpaceAndTab);
  while (at != std::string_view::npos) {
    const auto end = std::min(line.find_first_of(kSpaceAndTab, at), line.size());
    found.emplace_back(at, line.substr(at, end - at));
    at = line.find_first_not_of(kSpaceAndTab, end);
  }
  return found;
}

// "For the month of: MAY 2003" as year and month.
std::optional<std::pair<int, int>> aavsoMonth(std::string_view line) {
  static constexpr std::array<std::string_view, 12> kMonths = {"january", "february", "march",     "april",
                                                               "may",     "june",     "july",      "august",
                                                               "september", "october", "november", "december"};
  constexpr std::string_view kLead = "for the month of:";
  const std::string lower = lowered(trimmed(line, kWhiteSpace));
  if (!lower.starts_with(kLead)) return std::nullopt;
  const auto parts = words(std::string_view(lower).substr(kLead.size()));
  if (parts.size() != 2 || parts[1].second.size() != 4) return std::nullopt;
  const auto month = std::find(kMonths.begin(), kMonths.end(), parts[0].second);
  const auto year = digitsValue(parts[1].second, 4);
  if (month == kMonths.end() || !year) return std::nullopt;
  return std::pair{*year, static_cast<int>(month - kMonths.begin()) + 1};
}

// "12 E 2312 5 23 73 2 3 8 15 HUZR": day, seeing letter, UT hhmm, g, s, W, ng, sg, ns,
// ss (four "-" for the disc alone) and the observer's code.
NetworkObservation aavsoRow(std::string_view line, int year, int month, std::vector<std::string>& problems) {
  NetworkObservation o;
  const auto parts = words(line);
  if (parts.size() < 11) {
    problems.push_back(std::to_string(parts.size()) + " champs au lieu des 11 de « Day see UT g s W ng sg ns ss Obs. ».");
    return o;
  }
  const auto text = [&](std::size_t i) { return parts[i].second; };
  const auto day = digitsValue(text(0), 2);
  if (!day) problems.push_back("Jour : " + quoted(text(0)) + " n'est pas un jour du mois.");
  o.date = {year, month, day.value_or(0)};
  if (text(1) != "-") {
    o.quality = text(1).size() == 1 ? journal::seeingOfLetter(text(1).front()) : std::nullopt;
    if (!o.quality) problems.push_back("Seeing : " + quoted(text(1)) + " n'est pas une lettre E, G, F, P ni « - ».");
  }
  const auto hhmm = text(2).size() == 4 ? digitsValue(text(2), 4) : std::nullopt;
  if (hhmm) o.time = TimeOfDay{*hhmm / 100, *hhmm % 100};
  else problems.push_back("UT : " + quoted(text(2)) + " n'est pas une heure hhmm (2312).");
  const auto g = countOf(text(3), "g", problems);
  const auto f = countOf(text(4), "s", problems);
  if (g && f) o.disc = {*g, *f};
  if (g && f && text(5) != std::to_string(journal::relativeNumber(o.disc)))
    problems.push_back("W : " + quoted(text(5)) + " n'est pas 10 g + s = " +
                       std::to_string(journal::relativeNumber(o.disc)) + ".");
  const int dashes = static_cast<int>(std::count_if(parts.begin() + 6, parts.begin() + 10, [](const auto& p) { return p.second == "-"; }));
  if (dashes == 0) {
    const auto ng = countOf(text(6), "ng", problems), sg = countOf(text(7), "sg", problems);
    const auto ns = countOf(text(8), "ns", problems), ss = countOf(text(9), "ss", problems);
    if (ng && sg && ns && ss) {
      o.north = Counts{*ng, *ns};
      o.south = Counts{*sg, *ss};
    }
  } else if (dashes < 4) {
    problems.emplace_back("ng sg ns ss : les quatre nombres, ou quatre « - » pour le disque entier seul.");
  }
  o.observer = std::string(trimmed(line.substr(parts[10].first), kWhiteSpace));
  if (!printableLength(o.observer) || *printableLength(o.observer) > kLongestCode)
    problems.push_back("Obs. : " + quoted(o.observer) + " n'est pas un code d'observateur.");
  return o;
}

// The report's four lines of heading, then a day per line. False when reading stopped early.
bool readAavso(std::string_view text, Day today, Table& table) {
  Lines lines(text);
  std::string_view line;
  for (int heading = 1; heading <= 3; ++heading) {
    if (!lines.next(line)) {
      table.refusals.push_back({1, "Ce rapport AAVSO s'arrête avant sa ligne « For the month of: »."});
      return false;
    }
  }
  const auto month = aavsoMonth(line);
  if (!month) {
    table.refusals.push_back({3, quoted(line, 40) + " : il faut « For the month of: MAY 2003 »."});
    return false;
  }
  (void)lines.next(line);  // the columns' names
  int refusedLines = 0;
  while (lines.next(line)) {
    if (trimmed(line, kWhiteSpace).empty()) continue;
    std::vector<std::string> problems;
    NetworkObservation observation = aavsoRow(line, month->first, month->second, problems);
    if (problems.empty()) checkRow(observation, today, problems);
    if (problems.empty()) table.rows.push_back({lines.number(), std::move(observation)});
    else if (!refuse(table, lines.number(), problems, refusedLines)) return false;
  }
  return true;
}

// ---------------------------------------------------------------- the file as a whole

Table::Kind kindOf(std::string_view text) {
  const std::string_view first = text.substr(0, text.find_first_of("\r\n"));
  if (lowered(first.substr(0, 16)) == "solar data from:") return Table::Kind::Aavso;
  csv::Reader reader(first, csv::formatOfHeader(first).separator);
  csv::Reader::Record record;
  if (!reader.next(record)) return Table::Kind::Coordinator;
  std::vector<std::string> names;
  for (const std::string& field : record.fields) names.push_back(lowered(trimmed(field)));
  const auto has = [&](std::string_view name) { return std::find(names.begin(), names.end(), name) != names.end(); };
  if (names.front() == "rok") return Table::Kind::Ceslopol;
  if (!has("g") && (has("g_disque") || has("g_nord"))) return Table::Kind::JournalCsv;
  return Table::Kind::Coordinator;
}

// Each observer's second row of a day refused, naming the first's line.
void refuseSecondsOfDay(Table& table) {
  std::unordered_map<std::string, int> firstLine;
  std::vector<TableRow> kept;
  kept.reserve(table.rows.size());
  for (TableRow& row : table.rows) {
    const NetworkObservation& o = row.observation;
    const auto [first, isFirst] = firstLine.emplace(o.observer + '\n' + std::to_string(dayNumber(o.date)), row.line);
    if (isFirst) {
      kept.push_back(std::move(row));
      continue;
    }
    table.refusals.push_back({row.line, "Observateur " + quoted(o.observer) + " : le " + journal::dayText(o.date) +
                                            " est déjà à la ligne " + std::to_string(first->second) +
                                            " ; une observation par observateur et par jour."});
  }
  table.rows = std::move(kept);
}

}  // namespace

Table readTable(std::string_view bytes, Day today, std::string_view observer) {
  Table table;
  bytes = csv::withoutByteOrderMark(bytes);
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    table.refusals.push_back({1, "Ce fichier est en UTF-16 : enregistrez-le en CSV UTF-8."});
    return table;
  }
  std::string decoded;
  if (!isUtf8(bytes)) decoded = utf8FromWindows1250(bytes);
  const Body body = withoutCutLine(decoded.empty() ? bytes : std::string_view(decoded));
  table.kind = kindOf(body.text);
  bool whole = false;
  switch (table.kind) {
    case Table::Kind::Coordinator:
    case Table::Kind::Ceslopol: whole = readColumns(body.text, today, table); break;
    case Table::Kind::JournalCsv: whole = readJournalCsv(body.text, today, observer, table); break;
    case Table::Kind::Aavso: whole = readAavso(body.text, today, table); break;
  }
  refuseSecondsOfDay(table);
  if (whole && body.cutLine > 0)
    table.refusals.push_back({body.cutLine, "la dernière ligne n'a pas de fin de ligne : le fichier semble coupé "
                                            "au milieu, elle n'est pas lue."});
  std::stable_sort(table.refusals.begin(), table.refusals.end(),
                   [](const TableRefusal& a, const TableRefusal& b) { return a.line < b.line; });
  return table;
}

std::string kindName(Table::Kind kind) {
  switch (kind) {
    case Table::Kind::Coordinator: return "table d'un coordinateur";
    case Table::Kind::JournalCsv: return "CSV du Journal";
    case Table::Kind::Ceslopol: return "rapport CESLOPOL";
    case Table::Kind::Aavso: return "rapport AAVSO";
  }
  return {};
}

}  // namespace kavrel::reseau
