// The readers of the yearly gYYYY.txt files and of NOAA's Solar Region Summaries, and the
// year's and the day's counts made of their records (group_records.h).
//
// Both readers refuse rather than guess: a line they cannot read whole stops the file,
// with its number, so that a truncated download or a shifted column never brings in half
// a year or a latitude read from the wrong columns.
#include "journal/group_records.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <utility>

#include "common/calendar_date.h"
#include "common/date_text.h"
#include "common/fixed_decimals.h"
#include "common/text.h"
#include "journal/month_sheet.h"

namespace kavrel::journal {
namespace {

constexpr std::string_view kNone = "–";
constexpr std::size_t kGreenwichWidth = 74;
const std::string kAnotherKind =
    "ce n'est ni un fichier de groupes gAAAA.txt de Greenwich ou de la NOAA, ni un résumé des régions (SRS) de la "
    "NOAA";

// A refusal on its way out of a reader: the line and the French reason.
struct Refused {
  int line = 0;
  std::string reason;
};

GroupFile refusedFile(Refused refused) {
  GroupFile file;
  file.line = refused.line;
  file.error = std::move(refused.reason);
  return file;
}

// The file's lines without their ends: LF, CR LF, or the CR CR LF of the old files.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {
    if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);
  }
  bool next(std::string_view& line) {
    if (at_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', at_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(at_, end - at_);
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at_ = end + 1;
    ++number_;
    return true;
  }
  [[nodiscard]] int number() const noexcept { return number_; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  int number_ = 0;
};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (upper(text[i]) != upper(prefix[i])) return false;
  return true;
}

std::size_t findNoCase(std::string_view text, std::string_view part) {
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i)
    if (startsWithNoCase(text.substr(i), part)) return i;
  return std::string_view::npos;
}

// Digits only, no sign: an SRS's fields and a date's.
std::optional<int> digitsValue(std::string_view text) {
  if (!allDigits(text) || text.size() > 9) return std::nullopt;
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// A decimal number as a fixed column writes it: an optional minus, digits, one point.
std::optional<double> decimalValue(std::string_view text) {
  std::string_view body = text;
  if (body.starts_with('-')) body.remove_prefix(1);
  const std::size_t point = body.find('.');
  const std::string_view whole = body.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : body.substr(point + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if ((!whole.empty() && !allDigits(whole)) || (!fraction.empty() && !allDigits(fraction))) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool validDay(Day day) {
  return day.year >= 1600 && day.year <= 9999 && day.month >= 1 && day.month <= 12 && day.day >= 1 &&
         day.day <= daysInMonth(day.year, day.month);
}

Day previousDay(Day day) {
  if (--day.day >= 1) return day;
  if (--day.month < 1) {
    day.month = 12;
    --day.year;
  }
  day.day = daysInMonth(day.year, day.month);
  return day;
}

// A field of the file in a message, without its blanks; a line's start (60 characters)
// is quoted whole.
std::string quoted(std::string_view text) { return kavrel::quoted(trimmed(text), 80); }

// ---------------------------------------------------------------------------------------
// gYYYY.txt: fixed columns, 1-based and inclusive as the file's description counts them.

struct Columns {
  const char* name;
  std::size_t first;
  std::size_t last;
};
constexpr Columns kYear{"Année", 1, 4}, kMonth{"Mois", 5, 6}, kDayOfMonth{"Jour", 7, 8},
    kFraction{"Fraction du jour", 9, 12}, kNumber{"Numéro du groupe", 13, 20},
    kUmbralArea{"Aire des ombres observée", 26, 29}, kSpotArea{"Aire observée", 31, 34},
    kCorrectedUmbralArea{"Aire des ombres corrigée", 36, 39}, kCorrectedArea{"Aire corrigée", 41, 44},
    kDistance{"Distance au centre", 46, 50}, kPositionAngle{"Angle de position", 52, 56},
    kLongitude{"Longitude", 58, 62}, kLatitude{"Latitude", 64, 68}, kMeridianDistance{"Distance au méridien", 70, 74};

std::string_view field(std::string_view line, Columns columns) {
  return line.substr(columns.first - 1, columns.last - columns.first + 1);
}

std::string columnsText(Columns columns) {
  return std::string(columns.name) + " (colonnes " + std::to_string(columns.first) + "-" +
         std::to_string(columns.last) + ")";
}

// A column's number within [low, high]; none with the reason set when wrong, and none
// without a reason when blank and `optional`.
std::optional<double> number(std::string_view line, Columns columns, double low, double high, bool optional,
                             std::string& reason) {
  const std::string_view text = trimmed(field(line, columns));
  if (text.empty()) {
    if (!optional) reason = columnsText(columns) + " : vide.";
    return std::nullopt;
  }
  const auto value = decimalValue(text);
  if (!value) {
    reason = columnsText(columns) + " : " + quoted(text) + " n'est pas un nombre.";
    return std::nullopt;
  }
  if (*value < low || *value > high) {
    reason = columnsText(columns) + " : " + quoted(text) + " est hors des valeurs possibles.";
    return std::nullopt;
  }
  return value;
}

bool printable(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

std::optional<GroupRecord> greenwichRecord(std::string_view line, std::string& reason) {
  if (line.size() < kGreenwichWidth) {
    reason = "tronquée : " + std::to_string(line.size()) + " caractères au lieu de " +
             std::to_string(kGreenwichWidth) + ".";
    return std::nullopt;
  }
  if (!trimmed(line.substr(kGreenwichWidth)).empty() || !printable(line)) {
    reason = "ce n'est pas une ligne d'un fichier de groupes gAAAA.txt (" + std::to_string(kGreenwichWidth) +
             " colonnes).";
    return std::nullopt;
  }
  GroupRecord record;
  record.source = GroupSource::Greenwich;
  const auto year = number(line, kYear, 1600, 9999, false, reason);
  const auto month = year ? number(line, kMonth, 1, 12, false, reason) : std::nullopt;
  const auto day = month ? number(line, kDayOfMonth, 1, 31, false, reason) : std::nullopt;
  if (!day) return std::nullopt;
  record.date = {static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day)};
  if (*year != std::floor(*year) || *month != std::floor(*month) || *day != std::floor(*day) ||
      !validDay(record.date)) {
    reason = "Date (colonnes 1-8) : " + quoted(line.substr(0, 8)) + " n'est pas une date.";
    return std::nullopt;
  }
  const auto fraction = number(line, kFraction, 0, 1, false, reason);
  if (!fraction) return std::nullopt;
  record.dayFraction = *fraction;
  const std::string_view numberText = trimmed(field(line, kNumber));
  const auto group = digitsValue(numberText);
  if (!group || *group == 0) {
    reason = columnsText(kNumber) + " : " + quoted(numberText) + " n'est pas un numéro de groupe.";
    return std::nullopt;
  }
  record.group = *group;
  // Through 1981 columns 21-22 hold digits and 23-24 the Greenwich type; from 1982
  // column 21 a suffix letter and 22-24 the magnetic type.
  const bool oldLayout = allDigits(line.substr(20, 2));
  record.classification = std::string(trimmed(line.substr(oldLayout ? 22 : 21, oldLayout ? 2 : 3)));

  for (const Columns columns : {kUmbralArea, kSpotArea, kCorrectedUmbralArea})
    if (!number(line, columns, 0, 99999, true, reason) && !reason.empty()) return std::nullopt;
  record.areaMsh = number(line, kCorrectedArea, 0, 99999, true, reason);
  if (!reason.empty()) return std::nullopt;
  if (!number(line, kDistance, 0, 2, true, reason) && !reason.empty()) return std::nullopt;
  if (!number(line, kPositionAngle, 0, 360, true, reason) && !reason.empty()) return std::nullopt;
  record.longitude = number(line, kLongitude, 0, 360, true, reason);
  if (!reason.empty()) return std::nullopt;
  const auto latitude = number(line, kLatitude, -90, 90, false, reason);
  if (!latitude) return std::nullopt;
  record.latitude = *latitude;
  record.centralMeridianDistance = number(line, kMeridianDistance, -180, 180, true, reason);
  if (!reason.empty()) return std::nullopt;
  return record;
}

GroupFile readGreenwich(std::string_view text) {
  GroupFile file;
  Lines lines(text);
  std::string_view line;
  while (lines.next(line)) {
    if (trimmed(line).empty()) continue;
    std::string reason;
    auto record = greenwichRecord(line, reason);
    // A first line that is not one: the file is of another kind, the reason in brackets.
    if (!record && file.records.empty())
      return refusedFile({lines.number(), kAnotherKind + " (" + reason.substr(0, reason.size() - 1) + ")."});
    if (!record) return refusedFile({lines.number(), std::move(reason)});
    if (file.records.empty() || record->date < file.firstDay) file.firstDay = record->date;
    if (file.records.empty() || record->date > file.lastDay) file.lastDay = record->date;
    file.records.push_back(std::move(*record));
  }
  if (file.records.empty()) return refusedFile({std::max(lines.number(), 1), "le fichier ne contient aucun groupe."});
  return file;
}

// ---------------------------------------------------------------------------------------
// SRS: words separated by spaces, in capitals before October 2000.

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> found;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    const std::size_t start = at;
    while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
    if (at > start) found.push_back(line.substr(start, at - start));
  }
  return found;
}

std::optional<int> monthOfAbbreviation(std::string_view text) {
  static constexpr std::string_view kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                 "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  if (text.size() != 3) return std::nullopt;
  for (int i = 0; i < 12; ++i)
    if (startsWithNoCase(text, kMonths[i])) return i + 1;
  return std::nullopt;
}

// ":Issued: 2015 Jan 01 0030 UTC": the day of issue.
std::optional<Day> issuedDay(std::string_view line) {
  const auto w = words(line.substr(std::string_view(":Issued:").size()));
  if (w.size() < 3) return std::nullopt;
  const auto year = digitsValue(w[0]);
  const auto month = monthOfAbbreviation(w[1]);
  const auto day = digitsValue(w[2]);
  if (!year || !month || !day) return std::nullopt;
  const Day issued{*year, *month, *day};
  if (!validDay(issued)) return std::nullopt;
  return issued;
}

// The region numbers passed 9999 in June 2002; a region lives a few months, so a number
// below 9000 written after that was given past 10000.
int regionNumber(int written, Day day) {
  return written < 9000 && day >= Day{2002, 6, 1} ? written + 10000 : written;
}

bool magneticTypeText(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-'; });
}

// An SRS line's position and Carrington longitude, "N06W02   019" (words 1 and 2), into
// `record`; empty when read, else why not.
std::string srsPlace(const std::vector<std::string_view>& w, GroupRecord& record) {
  const std::string_view location = w[1];
  const std::size_t east = location.find_first_of("EWew");
  const auto latitude = east == 3 && location.size() >= 6 && location.size() <= 7 ? digitsValue(location.substr(1, 2))
                                                                                   : std::nullopt;
  const auto distance = latitude ? digitsValue(location.substr(4)) : std::nullopt;
  const char ns = upper(location[0]);
  if (!distance || (ns != 'N' && ns != 'S') || *latitude > 90 || *distance > 180)
    return "Position : " + quoted(location) + " n'est pas une position comme N06W02.";
  record.latitude = ns == 'S' ? -*latitude : *latitude;
  record.centralMeridianDistance = upper(location[east]) == 'E' ? -*distance : *distance;

  const auto longitude = w[2].size() <= 3 ? digitsValue(w[2]) : std::nullopt;
  if (!longitude || *longitude > 360) return "Longitude : " + quoted(w[2]) + " n'est pas une longitude de Carrington.";
  record.longitude = *longitude;
  return {};
}

// An SRS line's area, McIntosh class, extent, spots and magnetic type, "0010 Bxo  02   03
// Beta" (words 3 to 7, the last one optional), into `record`; empty when read, else why not.
std::string srsAppearance(const std::vector<std::string_view>& w, GroupRecord& record) {
  const auto area = w[3].size() <= 5 ? digitsValue(w[3]) : std::nullopt;
  if (!area) return "Aire : " + quoted(w[3]) + " n'est pas une aire en millionièmes.";
  record.areaMsh = *area;
  const std::string_view mcIntosh = w[4];
  if (mcIntosh.size() != 3 || !magneticTypeText(mcIntosh) || mcIntosh.find('-') != std::string_view::npos)
    return "Classe de McIntosh : " + quoted(mcIntosh) + " n'est pas une classe.";
  // "EKO" of the capital years written as the later "Eko".
  record.classification = {upper(mcIntosh[0]), lower(mcIntosh[1]), lower(mcIntosh[2])};
  const auto extent = w[5].size() <= 3 ? digitsValue(w[5]) : std::nullopt;
  if (!extent) return "Étendue en longitude : " + quoted(w[5]) + " n'est pas un nombre de degrés.";
  const auto spots = w[6].size() <= 4 ? digitsValue(w[6]) : std::nullopt;
  if (!spots) return "Nombre de taches : " + quoted(w[6]) + " n'est pas un nombre.";
  record.spots = *spots;
  if (w.size() == 8 && !magneticTypeText(w[7]))
    return "Type magnétique : " + quoted(w[7]) + " n'est pas un type comme Beta-Gamma.";
  return {};
}

// "2409 N06W02   019  0010 Bxo  02   03 Beta" of the day `day`.
std::optional<GroupRecord> srsRecord(std::string_view line, Day day, std::string& reason) {
  const auto w = words(line);
  if (w.size() < 7 || w.size() > 8) {
    reason = "ce n'est pas une ligne de région (numéro, position, longitude, aire, classe, étendue, taches, "
             "type magnétique) : " + quoted(line.substr(0, std::min<std::size_t>(line.size(), 60))) + ".";
    return std::nullopt;
  }
  GroupRecord record;
  record.source = GroupSource::Srs;
  record.date = day;
  record.dayFraction = 1.0;
  const auto region = w[0].size() <= 5 ? digitsValue(w[0]) : std::nullopt;
  if (!region) {
    reason = "Numéro de région : " + quoted(w[0]) + " n'est pas un numéro.";
    return std::nullopt;
  }
  record.group = w[0].size() == 5 ? *region : regionNumber(*region, day);
  reason = srsPlace(w, record);
  if (reason.empty()) reason = srsAppearance(w, record);
  if (!reason.empty()) return std::nullopt;
  return record;
}

GroupFile readSrs(std::string_view text) {
  GroupFile file;
  Lines lines(text);
  std::string_view line;
  std::optional<Day> day;
  enum class Place { Heading, Columns, Regions, After } place = Place::Heading;
  std::map<int, int> lineOfRegion;
  bool productSeen = false;
  while (lines.next(line) && place != Place::After) {
    const std::string_view content = trimmed(line);
    if (!productSeen) {
      if (content.empty()) continue;
      if (findNoCase(content, "SRS") == std::string_view::npos)
        return refusedFile({lines.number(), "ce produit de la NOAA n'est pas un résumé des régions (SRS)."});
      productSeen = true;
      continue;
    }
    if (place == Place::Heading) {
      if (startsWithNoCase(content, ":Issued:")) {
        if (!(day = issuedDay(content)))
          return refusedFile({lines.number(), "Date d'émission : " + quoted(content) + " n'est pas une date."});
        day = previousDay(*day);
      } else if (startsWithNoCase(content, "I.")) {
        if (!day)
          return refusedFile({lines.number(), "le résumé ne donne pas sa date d'émission (« :Issued: ») avant "
                                              "la section I."});
        // "Locations Valid at 05/2400Z": the day before the report's.
        if (const std::size_t at = findNoCase(content, "/2400Z"); at != std::string_view::npos && at >= 2) {
          const auto valid = digitsValue(content.substr(at - 2, 2));
          if (!valid || *valid != day->day)
            return refusedFile({lines.number(), "les positions valent pour le " + quoted(content.substr(at - 2, 2)) +
                                                    ", qui n'est pas la veille du jour d'émission."});
        }
        place = Place::Columns;
      }
      continue;
    }
    if (content.empty()) continue;
    if (place == Place::Columns) {
      place = Place::Regions;
      if (startsWithNoCase(content, "Nmbr")) continue;
    }
    if (startsWithNoCase(content, "IA.") || startsWithNoCase(content, "II.")) {
      place = Place::After;
      continue;
    }
    if (startsWithNoCase(content, "None") && content.size() == 4) continue;
    std::string reason;
    auto record = srsRecord(content, *day, reason);
    if (!record) return refusedFile({lines.number(), std::move(reason)});
    if (const auto [seen, added] = lineOfRegion.emplace(record->group, lines.number()); !added)
      return refusedFile({lines.number(), "la région " + std::string(words(content)[0]) +
                                              " est déjà donnée ligne " + std::to_string(seen->second) + "."});
    file.records.push_back(std::move(*record));
  }
  if (place == Place::Heading || place == Place::Columns)
    return refusedFile({lines.number(), "le résumé s'arrête avant sa section I (régions avec taches)."});
  file.firstDay = file.lastDay = *day;
  return file;
}

}  // namespace

GroupFile parseGroupFile(std::string_view text) {
  // The kind is told by the first line that is not blank.
  Lines lines(text);
  std::string_view first;
  while (lines.next(first) && trimmed(first).empty()) {
  }
  if (trimmed(first).empty()) return refusedFile({std::max(lines.number(), 1), "le fichier est vide."});
  if (startsWithNoCase(trimmed(first), ":Product:")) return readSrs(text);
  if (first.size() >= 4 && allDigits(first.substr(0, 4))) return readGreenwich(text);
  return refusedFile({lines.number(), kAnotherKind + "."});
}

std::optional<GroupSource> groupSourceNamed(std::string_view name) noexcept {
  if (name == "greenwich") return GroupSource::Greenwich;
  if (name == "srs") return GroupSource::Srs;
  return std::nullopt;
}

std::string_view groupSourceName(GroupSource source) noexcept {
  return source == GroupSource::Srs ? "srs" : "greenwich";
}

GroupYear groupYear(const std::vector<GroupRecord>& records) {
  struct Sum {
    double latitudes = 0;
    int days = 0;
  };
  // From 1977 Greenwich's successors number groups as NOAA's regions (read from an SRS
  // with the same 10000 added), so that a region listed by both sources is one group;
  // Greenwich's own numbers before are its alone.
  const auto numbering = [](const GroupRecord& record) {
    return record.source == GroupSource::Srs || record.date.year >= 1977 ? GroupSource::Srs : GroupSource::Greenwich;
  };
  std::map<std::pair<GroupSource, int>, Sum> groups;
  for (const GroupRecord& record : records) {
    Sum& sum = groups[{numbering(record), record.group}];
    sum.latitudes += record.latitude;
    ++sum.days;
  }
  GroupYear year;
  double north = 0;
  double south = 0;
  for (const auto& [identity, sum] : groups) {
    const double mean = sum.latitudes / sum.days;
    if (mean < 0) {
      ++year.south.groups;
      south -= mean;
    } else {
      ++year.north.groups;
      north += mean;
    }
  }
  year.groups = static_cast<int>(groups.size());
  if (year.north.groups > 0) year.north.meanLatitude = north / year.north.groups;
  if (year.south.groups > 0) year.south.meanLatitude = south / year.south.groups;
  return year;
}

std::vector<std::string> groupYearLines(const GroupYear& year, std::string_view decimalSeparator) {
  const char point = decimalSeparator == "," ? ',' : '.';
  const auto hemisphere = [&](const char* name, const HemisphereGroups& part) {
    std::string line = std::string(name) + " : " + std::to_string(part.groups) +
                       (part.groups > 1 ? " groupes" : " groupe") + ", latitude moyenne ";
    if (part.meanLatitude) {
      appendFixed(line, *part.meanLatitude, 2, point);
      line += "°";
    } else {
      line += kNone;
    }
    return line;
  };
  return {"Groupes : " + std::to_string(year.groups), hemisphere("Nord", year.north), hemisphere("Sud", year.south)};
}

GroupDay groupDay(const std::vector<GroupRecord>& records) {
  // A group seen twice in the day counts once, with its last record's spots.
  std::map<int, const GroupRecord*> last;
  for (const GroupRecord& record : records) {
    const GroupRecord*& kept = last[record.group];
    if (!kept || record.dayFraction >= kept->dayFraction) kept = &record;
  }
  GroupDay day;
  // A day without groups has no spots, whatever the source counts.
  day.spotsCounted = std::all_of(last.begin(), last.end(), [](const auto& entry) {
    return entry.second->spots.has_value();
  });
  for (const auto& [number, record] : last) {
    Counts& part = record->latitude < 0 ? day.south : day.north;
    ++part.groups;
    part.spots += record->spots.value_or(0);
  }
  return day;
}

std::vector<std::string> groupDayLines(Day day, GroupSource source, const GroupDay& counts) {
  MonthSheet sheet;
  sheet.headings = {"Jour", "Source", "g nord", "f nord", "R nord", "g sud", "f sud", "R sud", "g", "f", "R"};
  std::vector<std::string> cells{isoDate(day.year, day.month, day.day), std::string(groupSourceName(source))};
  for (const Counts part : {counts.north, counts.south, counts.disc()}) {
    cells.push_back(std::to_string(part.groups));
    cells.push_back(counts.spotsCounted ? std::to_string(part.spots) : std::string(kNone));
    cells.push_back(counts.spotsCounted ? std::to_string(relativeNumber(part)) : std::string(kNone));
  }
  sheet.rows.push_back(std::move(cells));
  std::vector<std::string> lines{sheetHeadingLine(sheet), sheetLine(sheet, 0)};
  if (!counts.spotsCounted && counts.disc().groups > 0)
    lines.emplace_back(source == GroupSource::Greenwich
                           ? "Les fichiers de Greenwich ne comptent pas les taches : f et R ne sont pas donnés."
                           : "La source ne compte pas les taches de chaque groupe : f et R ne sont pas donnés.");
  return lines;
}

}  // namespace kavrel::journal
