#include "journal/reports.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <tuple>

#include "common/csv.h"
#include "common/fixed_decimals.h"
#include "journal/month.h"

namespace kavrel::journal {
namespace {

std::vector<Observation> ofMonth(const std::vector<Observation>& observations, int year, int month) {
  std::vector<Observation> kept;
  std::copy_if(observations.begin(), observations.end(), std::back_inserter(kept),
               [&](const Observation& o) { return o.date.year == year && o.date.month == month; });
  return kept;
}

// The observer's code as a file name may hold it: letters, digits, "-" and "_".
std::string fileCode(const Observer& observer) {
  std::string code;
  for (const char c : observer.code)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_') code += c;
  return code.empty() ? "OBS" : code;
}

std::string twoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// R as the report writes it: multiplied by the observer's k when one is given, rounded to
// the whole number that the networks' columns hold; g and f stay as counted.
std::string scaledR(int r, double k) { return std::to_string(k == 1.0 ? r : std::lround(r * k)); }

std::string csvName(std::string_view prefix, const Observer& observer, int year, int month) {
  return std::string(prefix) + '-' + fileCode(observer) + '-' + std::to_string(year) + '-' + twoDigits(month) + ".csv";
}

// The solar section's monthly text. Its published example "12 E 2312 5 23 73 2 3 8 15
// HUZR" gives the columns: the day right-aligned in two, the seeing letter, UT as hhmm,
// then the numbers each after one space, as wide as they are. An observation without
// seeing writes "-" rather than a letter the observer did not give. A count of the
// whole disc alone writes 0 for ng, sg, ns and ss: the section's line has no empty
// field, and zeros that do not add up to g say that the disc was not split.
Report aavso(const Observer& observer, int year, int month, const std::vector<Observation>& observations,
             double k) {
  static constexpr std::array<std::string_view, 12> kMonths = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",
                                                               "MAY",     "JUNE",     "JULY",      "AUGUST",
                                                               "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
  const std::string code = observer.code.empty() ? "OBS" : observer.code;
  std::string text = "Solar data from: " + code + "\n";
  text += "For the month of: " + std::string(month >= 1 && month <= 12 ? kMonths[month - 1] : "") + ' ' +
          std::to_string(year) + "\n";
  for (const Observation& day : observationsOfDays(ofMonth(observations, year, month))) {
    const Tally& counts = day.counts;
    const Counts north = counts.split() ? *counts.north : Counts{};
    const Counts south = counts.split() ? *counts.south : Counts{};
    char line[160];
    std::snprintf(line, sizeof line, "%2d %c %02d%02d %d %d %s %d %d %d %d ", day.date.day,
                  day.seeing ? letterOfSeeing(*day.seeing) : '-', day.time.hour, day.time.minute, counts.disc.groups,
                  counts.disc.spots, scaledR(relativeNumber(counts.disc), k).c_str(), north.groups, south.groups,
                  north.spots, south.spots);
    text += line + code + "\n";
  }
  return {fileCode(observer) + twoDigits(((year % 100) + 100) % 100) + twoDigits(month) + ".RAW", text};
}

// The white-light form: a day per row, the hemispheres empty for a day counted on the
// whole disc alone; then the means, over the days split for gn and gs.
Report baa(const Observer& observer, int year, int month, const std::vector<Observation>& observations,
           std::string_view decimalSeparator, double k) {
  const csv::Format format = csv::formatFor(decimalSeparator);
  std::string text = csv::header({"Day", "gn", "gs", "g", "fn", "fs", "f", "R"}, format);
  const std::vector<Observation> days = observationsOfDays(ofMonth(observations, year, month));
  const auto row = [&](const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) text += format.separator;
      csv::appendField(text, fields[i], format);
    }
    text += '\n';
  };
  const auto count = [](const std::optional<Counts>& counts, bool groups) {
    return counts ? std::to_string(groups ? counts->groups : counts->spots) : std::string();
  };
  for (const Observation& day : days) {
    const Tally& c = day.counts;
    row({std::to_string(day.date.day), count(c.north, true), count(c.south, true), std::to_string(c.disc.groups),
         count(c.north, false), count(c.south, false), std::to_string(c.disc.spots),
         scaledR(relativeNumber(c.disc), k)});
  }
  const MonthMeans means = monthMeans(days);
  const auto mean = [&](const std::optional<double>& value) {
    std::string written;
    if (value) appendFixed(written, *value, 2, format.decimal);
    return written;
  };
  row({"MDF", mean(means.groupsNorthPerDay), mean(means.groupsSouthPerDay), mean(means.groupsPerDay), "", "", "",
       mean(means.relativeNumber ? std::optional<double>(*means.relativeNumber * k) : std::nullopt)});
  return {csvName("baa", observer, year, month), text};
}

// UTF-8 to Windows-1250, the code page of the network's programs: the letters of Czech
// and Slovak and a few signs; anything else becomes "?".
std::string windows1250(std::string_view text) {
  static constexpr std::array<std::pair<char32_t, unsigned char>, 52> kTable = {{
      {U'Č', 0xC8}, {U'č', 0xE8}, {U'Ď', 0xCF}, {U'ď', 0xEF}, {U'Ě', 0xCC}, {U'ě', 0xEC}, {U'Ň', 0xD2},
      {U'ň', 0xF2}, {U'Ř', 0xD8}, {U'ř', 0xF8}, {U'Š', 0x8A}, {U'š', 0x9A}, {U'Ť', 0x8D}, {U'ť', 0x9D},
      {U'Ů', 0xD9}, {U'ů', 0xF9}, {U'Ž', 0x8E}, {U'ž', 0x9E}, {U'Á', 0xC1}, {U'á', 0xE1}, {U'É', 0xC9},
      {U'é', 0xE9}, {U'Í', 0xCD}, {U'í', 0xED}, {U'Ó', 0xD3}, {U'ó', 0xF3}, {U'Ú', 0xDA}, {U'ú', 0xFA},
      {U'Ý', 0xDD}, {U'ý', 0xFD}, {U'Ľ', 0xBC}, {U'ľ', 0xBE}, {U'Ĺ', 0xC5}, {U'ĺ', 0xE5}, {U'Ŕ', 0xC0},
      {U'ŕ', 0xE0}, {U'Ô', 0xD4}, {U'ô', 0xF4}, {U'Ä', 0xC4}, {U'ä', 0xE4}, {U'Ö', 0xD6}, {U'ö', 0xF6},
      {U'Ü', 0xDC}, {U'ü', 0xFC}, {U'ß', 0xDF}, {U'–', 0x96}, {U'—', 0x97}, {U'°', 0xB0}, {U'§', 0xA7},
      {U'×', 0xD7}, {U'«', 0xAB}, {U'»', 0xBB},
  }};
  std::string encoded;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      encoded += static_cast<char>(lead);
      ++i;
      continue;
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t point = length == 1 ? 0 : lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
      point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    const auto found = std::find_if(kTable.begin(), kTable.end(), [&](const auto& p) { return p.first == point; });
    encoded += found == kTable.end() ? '?' : static_cast<char>(found->second);
    i += length;
  }
  return encoded;
}

// The network's CSV: ";", CRLF, Windows-1250. Q and "Obr." (the image's quality) both
// take the seeing, 1 to 5 with 5 the best as typed; both empty without it. The
// observer's number is the code when it is digits, else the journal's id of the
// observer.
Report ceslopol(const Observer& observer, int year, int month, const std::vector<Observation>& observations,
                double k) {
  const bool numericCode = !observer.code.empty() && std::all_of(observer.code.begin(), observer.code.end(),
                                                                 [](char c) { return c >= '0' && c <= '9'; });
  const std::string number = numericCode ? observer.code : std::to_string(observer.id);
  std::string text = windows1250("Den;U;T;Č.Poz.;Q;Obr.;g;f;r") + "\r\n";
  for (const Observation& day : observationsOfDays(ofMonth(observations, year, month))) {
    const std::string seeing = day.seeing ? std::to_string(*day.seeing) : std::string();
    const Counts disc = day.counts.disc;
    text += std::to_string(day.date.day) + ';' + std::to_string(day.time.hour) + ';' +
            std::to_string(day.time.minute) + ';' + number + ';' + seeing + ';' + seeing + ';' +
            std::to_string(disc.groups) + ';' + std::to_string(disc.spots) + ';' +
            scaledR(relativeNumber(disc), k) + "\r\n";
  }
  return {csvName("ceslopol", observer, year, month), text};
}

// Every observation of the month, in the columns the import reads back.
Report everyObservation(const Observer& observer, int year, int month, const std::vector<Observation>& observations,
                        std::string_view decimalSeparator, double k) {
  const csv::Format format = csv::formatFor(decimalSeparator);
  std::string text = csv::header({"date", "heure_tu", "observateur", "seeing", "transparence", "g_nord", "f_nord",
                                  "g_sud", "f_sud", "g_disque", "f_disque", "R", "R_nord", "R_sud", "remarque"},
                                 format);
  std::vector<Observation> ofTheMonth = ofMonth(observations, year, month);
  std::stable_sort(ofTheMonth.begin(), ofTheMonth.end(), [](const Observation& a, const Observation& b) {
    return std::tie(a.date, a.time) < std::tie(b.date, b.time);
  });
  const auto number = [](const std::optional<int>& value) { return value ? std::to_string(*value) : std::string(); };
  for (const Observation& o : ofTheMonth) {
    const Tally& c = o.counts;
    const auto part = [](const std::optional<Counts>& counts, bool groups) {
      return counts ? std::to_string(groups ? counts->groups : counts->spots) : std::string();
    };
    const auto r = [k](const std::optional<Counts>& counts) {
      return counts ? scaledR(relativeNumber(*counts), k) : std::string();
    };
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", o.date.year, o.date.month, o.date.day);
    const std::string fields[] = {date, twoDigits(o.time.hour) + ':' + twoDigits(o.time.minute), observer.code,
                                  number(o.seeing), number(o.transparency), part(c.north, true),
                                  part(c.north, false), part(c.south, true), part(c.south, false),
                                  std::to_string(c.disc.groups), std::to_string(c.disc.spots),
                                  scaledR(relativeNumber(c.disc), k), r(c.north), r(c.south), o.remarks};
    bool first = true;
    for (const std::string& field : fields) {
      if (!first) text += format.separator;
      first = false;
      csv::appendField(text, field, format);
    }
    text += '\n';
  }
  return {csvName("journal", observer, year, month), text};
}

}  // namespace

Report monthReport(ReportFormat format, const Observer& observer, int year, int month,
                   const std::vector<Observation>& observations, std::string_view decimalSeparator, double k) {
  switch (format) {
    case ReportFormat::Aavso: return aavso(observer, year, month, observations, k);
    case ReportFormat::Baa: return baa(observer, year, month, observations, decimalSeparator, k);
    case ReportFormat::Ceslopol: return ceslopol(observer, year, month, observations, k);
    case ReportFormat::Csv: break;
  }
  return everyObservation(observer, year, month, observations, decimalSeparator, k);
}

std::optional<ReportFormat> reportFormatNamed(std::string_view name) noexcept {
  static constexpr std::pair<std::string_view, ReportFormat> kNames[] = {
      {"aavso", ReportFormat::Aavso}, {"baa", ReportFormat::Baa}, {"ceslopol", ReportFormat::Ceslopol},
      {"csv", ReportFormat::Csv}};
  for (const auto& [known, format] : kNames)
    if (std::equal(name.begin(), name.end(), known.begin(), known.end(),
                   [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; }))
      return format;
  return std::nullopt;
}

}  // namespace kavrel::journal
