#include "journal/reports.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <tuple>

#include "common/csv.h"
#include "common/date_text.h"
#include "common/fixed_decimals.h"
#include "common/windows1250.h"
#include "journal/month.h"
#include "journal/month_sheet.h"

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

std::string csvName(std::string_view prefix, const Observer& observer, int year, int month) {
  return std::string(prefix) + '-' + fileCode(observer) + '-' + std::to_string(year) + '-' + twoDigits(month) + ".csv";
}

// A name or a code on one line of the file: a line break or another control character
// typed in it becomes a space, so that it cannot cut the report's lines.
std::string oneLine(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return text;
}

std::string nameLine(const Observer& observer) { return oneLine(observer.name.empty() ? observer.code : observer.name); }

constexpr std::array<std::string_view, 12> kEnglishMonths = {"January", "February", "March",     "April",
                                                             "May",     "June",     "July",      "August",
                                                             "September", "October", "November", "December"};

std::string englishMonth(int month) {
  return std::string(month >= 1 && month <= 12 ? kEnglishMonths[static_cast<std::size_t>(month - 1)] : "");
}

// The solar section's monthly text. Its published example gives the header, "Solar data
// from: CODE", the observer's name, "For the month of: MAY 2003" and the columns' names,
// and the columns: the day right-aligned in two, the seeing letter, UT as hhmm, then the
// numbers each after one space, as wide as they are. The example's stamp of the program
// and the date it wrote the file is left out (the same month would differ from one writing
// to the next), and so are its address lines (the journal keeps no address). An
// observation without seeing writes "-" rather than a letter the observer did not give;
// a count of the whole disc alone writes "-" for ng, sg, ns and ss, which were not
// counted (0 would say no group there).
Report aavso(const Observer& observer, int year, int month, const std::vector<Observation>& observations) {
  const std::string code = observer.code.empty() ? "OBS" : oneLine(observer.code);
  std::string monthName = englishMonth(month);
  for (char& c : monthName) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  std::string text = "Solar data from: " + code + "\n" + nameLine(observer) + "\n";
  text += "For the month of: " + monthName + ' ' + std::to_string(year) + "\n";
  text += "Day see UT g s W ng sg ns ss Obs.\n";
  for (const Observation& day : observationsOfDays(ofMonth(observations, year, month))) {
    const Tally& counts = day.counts;
    char line[160];
    std::snprintf(line, sizeof line, "%2d %c %02d%02d %d %d %d ", day.date.day,
                  day.seeing ? letterOfSeeing(*day.seeing) : '-', day.time.hour, day.time.minute, counts.disc.groups,
                  counts.disc.spots, relativeNumber(counts.disc));
    text += line;
    if (counts.split())
      text += std::to_string(counts.north->groups) + ' ' + std::to_string(counts.south->groups) + ' ' +
              std::to_string(counts.north->spots) + ' ' + std::to_string(counts.south->spots) + ' ';
    else
      text += "- - - - ";
    text += code + "\n";
  }
  return {fileCode(observer) + twoDigits(((year % 100) + 100) % 100) + twoDigits(month) + ".RAW", text};
}

// The white-light form: the observer and the month, the form's cells at its top, as rows
// of two cells; a day per row, the hemispheres empty for a day counted on the whole disc
// alone; then the means, over the days split for gn and gs. The network is British: ","
// and the decimal point whatever the user's locale.
Report baa(const Observer& observer, int year, int month, const std::vector<Observation>& observations) {
  const csv::Format format{',', '.'};
  std::string text;
  const auto row = [&](const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) text += format.separator;
      csv::appendField(text, fields[i], format);
    }
    text += '\n';
  };
  row({"Observer", nameLine(observer)});
  row({"Month", englishMonth(month) + ' ' + std::to_string(year)});
  text += csv::header({"Day", "gn", "gs", "g", "fn", "fs", "f", "R"}, format);
  const std::vector<Observation> days = observationsOfDays(ofMonth(observations, year, month));
  const auto count = [](const std::optional<Counts>& counts, bool groups) {
    return counts ? std::to_string(groups ? counts->groups : counts->spots) : std::string();
  };
  for (const Observation& day : days) {
    const Tally& c = day.counts;
    row({std::to_string(day.date.day), count(c.north, true), count(c.south, true), std::to_string(c.disc.groups),
         count(c.north, false), count(c.south, false), std::to_string(c.disc.spots),
         std::to_string(relativeNumber(c.disc))});
  }
  const MonthMeans means = monthMeans(days);
  const auto mean = [&](const std::optional<double>& value) {
    std::string written;
    if (value) appendFixed(written, *value, 2, format.decimal);
    return written;
  };
  row({"MDF", mean(means.groupsNorthPerDay), mean(means.groupsSouthPerDay), mean(means.groupsPerDay), "", "", "",
       mean(means.relativeNumber)});
  return {csvName("baa", observer, year, month), text};
}

// The network's CSV: ";", CRLF, Windows-1250, one table whose every row names its year,
// month and observer (the number and the name), so that the table reads alone and rows
// of several files put together still say whose they are. Q, the network's scale of the
// structures seen, takes the seeing as typed (1 to 5, 5 the best), empty without it;
// "Obr.", the network's second index of the image, is not kept by the journal and stays
// empty rather than be made up. The observer's number is the code when it is digits,
// else the journal's id of the observer.
Report ceslopol(const Observer& observer, int year, int month, const std::vector<Observation>& observations) {
  const bool numericCode = !observer.code.empty() && std::all_of(observer.code.begin(), observer.code.end(),
                                                                 [](char c) { return c >= '0' && c <= '9'; });
  const std::string number = numericCode ? observer.code : std::to_string(observer.id);
  std::string name;
  csv::appendField(name, nameLine(observer), {';', ','});
  const std::string whose = std::to_string(year) + ';' + std::to_string(month) + ';';
  std::string text = "Rok;Měsíc;Den;U;T;Č.Poz.;Pozorovatel;Q;Obr.;g;f;r\r\n";
  for (const Observation& day : observationsOfDays(ofMonth(observations, year, month))) {
    const std::string seeing = day.seeing ? std::to_string(*day.seeing) : std::string();
    const Counts disc = day.counts.disc;
    text += whose + std::to_string(day.date.day) + ';' + std::to_string(day.time.hour) + ';' +
            std::to_string(day.time.minute) + ';' + number + ';' + name + ';' + seeing + ";;" +
            std::to_string(disc.groups) + ';' + std::to_string(disc.spots) + ';' +
            std::to_string(relativeNumber(disc)) + "\r\n";
  }
  return {csvName("ceslopol", observer, year, month), windows1250FromUtf8(text)};
}

// Every observation of the month, in the columns the import reads back; with a k, the
// columns k and R_k say by what R is multiplied and what it makes, R staying as counted
// so that the file reads back as it was typed. The hemispheres are not multiplied: their
// k, estimated apart, is not the disc's.
Report everyObservation(const Observer& observer, int year, int month, const std::vector<Observation>& observations,
                        std::string_view decimalSeparator, std::optional<double> k) {
  const csv::Format format = csv::formatFor(decimalSeparator);
  std::string text =
      k ? csv::header({"date", "heure_tu", "observateur", "seeing", "transparence", "g_nord", "f_nord", "g_sud",
                       "f_sud", "g_disque", "f_disque", "R", "R_nord", "R_sud", "k", "R_k", "remarque"},
                      format)
        : csv::header({"date", "heure_tu", "observateur", "seeing", "transparence", "g_nord", "f_nord", "g_sud",
                       "f_sud", "g_disque", "f_disque", "R", "R_nord", "R_sud", "remarque"},
                      format);
  const std::string kText = k ? chosenKText(*k, decimalSeparator) : std::string();
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
    const auto r = [](const std::optional<Counts>& counts) {
      return counts ? std::to_string(relativeNumber(*counts)) : std::string();
    };
    std::vector<std::string> fields = {isoDate(o.date.year, o.date.month, o.date.day),
                                       hourMinute(o.time.hour, o.time.minute), observer.code,
                                       number(o.seeing), number(o.transparency), part(c.north, true),
                                       part(c.north, false), part(c.south, true), part(c.south, false),
                                       std::to_string(c.disc.groups), std::to_string(c.disc.spots),
                                       r(c.disc), r(c.north), r(c.south)};
    if (k) {
      fields.push_back(kText);
      fields.push_back(std::to_string(std::lround(relativeNumber(c.disc) * *k)));
    }
    fields.push_back(o.remarks);
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
                   const std::vector<Observation>& observations, std::string_view decimalSeparator,
                   std::optional<double> k) {
  switch (format) {
    case ReportFormat::Aavso: return aavso(observer, year, month, observations);
    case ReportFormat::Baa: return baa(observer, year, month, observations);
    case ReportFormat::Ceslopol: return ceslopol(observer, year, month, observations);
    case ReportFormat::Csv: break;
  }
  return everyObservation(observer, year, month, observations, decimalSeparator, k);
}

std::string reportKNote(ReportFormat format, std::optional<double> k, std::string_view decimalSeparator) {
  if (!carriesK(format)) return "Comptes bruts : le réseau calcule lui-même le k de l'observateur.";
  if (!k) return "Aucun k choisi : R tel que compté.";
  return "R multiplié par k = " + chosenKText(*k, decimalSeparator) +
         " dans la colonne R_k ; R reste tel que compté.";
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
