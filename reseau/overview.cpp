// What the window Réseau shows, from a network's base (overview.h): counts of days,
// least-squares slopes of yearly k (k per year), texts with the user's decimal separator.
#include "reseau/overview.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "common/file_bytes.h"
#include "common/fixed_decimals.h"
#include "common/sha256.h"
#include "journal/journal.h"
#include "reseau/from_journal.h"

namespace kavrel::reseau {
namespace {

constexpr char kNone[] = "–";
constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};

std::string decimal(double value, int decimals, std::string_view separator) {
  std::string text;
  appendFixed(text, value, decimals, separator.empty() ? ',' : separator.front());
  return text;
}

std::string signedDecimal(double value, int decimals, std::string_view separator) {
  const std::string text = decimal(value, decimals, separator);
  return text.starts_with('-') ? text : "+" + text;
}

std::string decimalOr(const std::optional<double>& value, int decimals, std::string_view separator) {
  return value ? decimal(*value, decimals, separator) : kNone;
}

// Days observed per observer, the period, and the observers of each month, in one pass.
struct Counted {
  std::map<Id, int> days;
  std::optional<int> first, last;
  ObserversByMonth perMonth;
};

std::optional<std::string> countDays(const Store& store, Counted& counted) {
  const Read<bool> scanned = store.scan(dayNumber({1, 1, 1}), dayNumber({9999, 12, 31}), Store::Order::ByObserver,
                                        [&](const ObservationRow& row) {
                                          ++counted.days[row.observer];
                                          counted.first = std::min(counted.first.value_or(row.day), row.day);
                                          counted.last = std::max(counted.last.value_or(row.day), row.day);
                                          counted.perMonth.add(row);
                                        });
  if (!scanned.ok()) return scanned.error;
  return std::nullopt;
}

const ObserverK* wholeK(const std::vector<ObserverK>& ks, const std::string& code) {
  for (const ObserverK& row : ks)
    if (row.year == 0 && row.code == code) return &row;
  return nullptr;
}

ObserverLine lineOf(const NetworkObserver& observer, const Overview& overview, int days,
                    std::string_view separator) {
  ObserverLine line;
  line.code = observer.code;
  line.days = days;
  if (const ObserverK* whole = wholeK(overview.ks, observer.code)) {
    line.pairedDays = whole->estimate.days;
    if (whole->given) line.k = whole->estimate.ratioOfSums;
  }
  const Drift drift = driftOf(overview.ks, observer.code);
  line.slope = drift.slope;
  line.firstYear = drift.firstYear;
  line.lastYear = drift.lastYear;
  line.firstK = drift.firstK;
  line.lastK = drift.lastK;
  std::string ends = kNone;
  if (drift.firstK && drift.lastK)
    ends = decimal(*drift.firstK, 4, separator) + " (" + std::to_string(*drift.firstYear) + ") → " +
           decimal(*drift.lastK, 4, separator) + " (" + std::to_string(*drift.lastYear) + ")";
  line.cells = {observer.code,
                observer.name,
                std::to_string(days),
                std::to_string(line.pairedDays),
                decimalOr(line.k, 4, separator),
                drift.slope ? signedDecimal(*drift.slope, 4, separator) : kNone,
                ends};
  return line;
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Every observer's days of a Kavrel journal as the network's rows.
void readJournalFile(const std::string& path, ImportFile& file) {
  auto opened = journal::Journal::open(path);
  if (!opened.journal) {
    file.error = opened.error;
    return;
  }
  const auto observers = opened.journal->observers();
  if (!observers.ok()) {
    file.error = observers.error;
    return;
  }
  for (const journal::Observer& observer : observers.value) {
    const auto observations = opened.journal->observationsBetween({1, 1, 1}, {9999, 12, 31}, observer.id);
    if (!observations.ok()) {
      file.error = observations.error;
      file.rows.clear();
      return;
    }
    auto mine = rowsOfJournal(observations.value, observer);
    file.rows.insert(file.rows.end(), std::make_move_iterator(mine.begin()), std::make_move_iterator(mine.end()));
  }
  file.kind = "journal de Kavrel";
  file.checksum = rowsChecksum(file.rows);
}

bool unreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

std::string percentEncoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    if (unreserved(c)) {
      out += c;
      continue;
    }
    const auto byte = static_cast<unsigned char>(c);
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
  }
  return out;
}

}  // namespace

Drift driftOf(const std::vector<ObserverK>& yearly, const std::string& code) {
  std::vector<std::pair<int, double>> points;
  for (const ObserverK& row : yearly)
    if (row.code == code && row.year != 0 && row.given && row.estimate.ratioOfSums)
      points.emplace_back(row.year, *row.estimate.ratioOfSums);
  Drift drift;
  if (points.size() < 2) return drift;
  std::sort(points.begin(), points.end());
  drift.firstYear = points.front().first;
  drift.firstK = points.front().second;
  drift.lastYear = points.back().first;
  drift.lastK = points.back().second;
  // Least squares about the means, so that years near 2000 lose no digits.
  double meanYear = 0, meanK = 0;
  for (const auto& [year, k] : points) {
    meanYear += year;
    meanK += k;
  }
  meanYear /= static_cast<double>(points.size());
  meanK /= static_cast<double>(points.size());
  double sxy = 0, sxx = 0;
  for (const auto& [year, k] : points) {
    sxy += (year - meanYear) * (k - meanK);
    sxx += (year - meanYear) * (year - meanYear);
  }
  drift.slope = sxy / sxx;
  return drift;
}

Overview readOverview(const Store& store, std::string_view decimalSeparator) {
  Overview overview;
  const auto observers = store.observers();
  if (!observers.ok()) {
    overview.error = observers.error;
    return overview;
  }
  Counted counted;
  if (auto failed = countDays(store, counted)) {
    overview.error = *failed;
    return overview;
  }
  overview.firstDay = counted.first;
  overview.lastDay = counted.last;
  overview.perMonth = counted.perMonth.months();
  if (counted.first) {
    KOptions options;
    options.first = *counted.first;
    options.last = *counted.last;
    KTable whole = computeK(store, options, false);
    KTable yearly = computeK(store, options, true);
    if (overview.error = !whole.error.empty() ? whole.error : yearly.error; overview.error.empty()) {
      for (ObserverK& row : whole.rows) overview.ks.push_back(std::move(row));
      for (ObserverK& row : yearly.rows)
        if (row.year != 0) overview.ks.push_back(std::move(row));
      overview.series = computeNetwork(store, options, NetworkRule::Default);
      if (!overview.series.error.empty()) overview.error = overview.series.error;
    }
  }
  for (const NetworkObserver& observer : observers.value) {
    const auto found = counted.days.find(observer.id);
    overview.observers.push_back(
        lineOf(observer, overview, found == counted.days.end() ? 0 : found->second, decimalSeparator));
  }
  return overview;
}

MonthTable monthTable(const Store& store, const Overview& overview, int year, int month,
                      std::string_view decimalSeparator) {
  MonthTable table;
  const auto observations = store.month(year, month);
  if (!observations.ok()) table.error = observations.error;
  table.bulletin = makeBulletin(year, month, observations.value, overview.ks, overview.series, decimalSeparator);
  return table;
}

MonthTable monthBulletin(const Store& store, const KOptions& options, NetworkRule rule, int year, int month,
                         std::string_view decimalSeparator) {
  MonthTable table;
  const NetworkSeries series = computeNetwork(store, options, rule);
  const KTable ks = computeK(store, options, true);
  const auto observations = store.month(year, month);
  table.error = !series.error.empty() ? series.error : !ks.error.empty() ? ks.error : observations.error;
  if (table.error.empty())
    table.bulletin = makeBulletin(year, month, observations.value, ks.rows, series, decimalSeparator);
  return table;
}

ChartMade networkChart(const Store& store, const KOptions& options, NetworkRule rule, NetworkChartKind kind,
                       std::string_view decimalSeparator) {
  NetworkChartData data;
  data.series = computeNetwork(store, options, rule);
  KTable yearly = computeK(store, options, true);
  ObserversByMonth perMonth;
  const Read<bool> scanned =
      store.scan(options.first, options.last, Store::Order::ByDate, [&](const ObservationRow& row) { perMonth.add(row); });
  const std::string error = !data.series.error.empty() ? data.series.error
                            : !yearly.error.empty()    ? yearly.error
                                                       : scanned.error;
  if (!error.empty()) return {{}, error};
  for (ObserverK& row : yearly.rows)
    if (row.year != 0) data.yearlyK.push_back(std::move(row));
  data.observers = perMonth.months();
  data.pilot = options.pilot;
  data.decimalSeparator = std::string(decimalSeparator);
  return {makeNetworkChart(kind, data), {}};
}

journal::Chart overviewChart(NetworkChartKind kind, const Overview& overview, std::string_view decimalSeparator) {
  NetworkChartData data;
  data.series = overview.series;
  for (const ObserverK& row : overview.ks)
    if (row.year != 0) data.yearlyK.push_back(row);
  data.observers = overview.perMonth;
  data.decimalSeparator = std::string(decimalSeparator);
  return makeNetworkChart(kind, data);
}

std::optional<std::string> serverUri(std::string_view host, std::string_view port, std::string_view base,
                                     std::string_view user) {
  if (host.empty() || base.empty() || host.find_first_of("/@?#[] ") != std::string_view::npos) return std::nullopt;
  std::string uri = "postgresql://";
  if (!user.empty()) uri += percentEncoded(user) + '@';
  uri += host.find(':') == std::string_view::npos ? std::string(host) : "[" + std::string(host) + "]";
  if (!port.empty()) {
    int number = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (error != std::errc{} || end != port.data() + port.size() || number < 1 || number > 65535) return std::nullopt;
    uri += ':' + std::to_string(number);
  }
  return uri + '/' + percentEncoded(base);
}

ImportFile readImportFile(const std::string& path, Day today) {
  ImportFile file;
  file.fileName = fileNameOf(path);
  std::string bytes;
  if (const std::string reason = readFileWhole(path, bytes); !reason.empty()) {
    file.error = "Le fichier « " + file.fileName + " » n'a pas pu être lu : " + reason + ".";
    file.unreadable = true;
    return file;
  }
  if (bytes.starts_with(kSqliteMagic)) {
    bytes.clear();
    readJournalFile(path, file);
    if (!file.error.empty()) file.error = "Le fichier « " + file.fileName + " » est refusé : " + file.error;
    return file;
  }
  file.checksum = sha256Hex(bytes);
  Table table = readTable(bytes, today);
  file.kind = kindName(table.kind);
  file.rows = std::move(table.rows);
  file.refusals = std::move(table.refusals);
  file.setAside = std::move(table.setAside);
  file.otherOfDay = std::move(table.otherOfDay);
  return file;
}

std::string readSummary(const ImportFile& file) {
  // French counts: 0 and 1 in the singular.
  const auto counted = [](std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + (n < 2 ? one : many);
  };
  std::string text = "Lu : " + file.kind + ", " + counted(file.rows.size(), " ligne valable, ", " lignes valables, ") +
                     counted(file.refusals.size(), " refusée", " refusées");
  if (!file.setAside.empty()) {
    text += " ; colonnes mises de côté :";
    for (const std::string& name : file.setAside) text += ' ' + name;
  }
  if (!file.otherOfDay.empty()) {
    text += " ; autres observations d'un même jour laissées de côté, lignes";
    for (std::size_t i = 0; i < file.otherOfDay.size(); ++i)
      text += (i ? ", " : " ") + std::to_string(file.otherOfDay[i]);
  }
  return text;
}

std::vector<std::string> refusalLines(const ImportFile& file) {
  std::vector<std::string> lines;
  lines.reserve(file.refusals.size());
  for (const TableRefusal& refusal : file.refusals)
    lines.push_back("ligne " + std::to_string(refusal.line) + " : " + refusal.message);
  return lines;
}

std::string partialQuestion(const ImportFile& file) {
  return file.rows.size() == 1 ? std::string("Importer la ligne valable ?")
                               : "Importer les " + std::to_string(file.rows.size()) + " lignes valables ?";
}

ImportOutcome importFile(Store& store, const ImportFile& file, bool partial, const std::string& by,
                         const std::string& now) {
  const bool refused = !file.refusals.empty();
  ImportOutcome outcome;
  outcome.imported = store.importRows({0, file.fileName, file.checksum, now, by, static_cast<int>(file.rows.size())},
                                      file.rows, partial, refused);
  const Imported& imported = outcome.imported;
  if (!imported.error.empty())
    outcome.message = imported.error;
  else if (imported.alreadyImported)
    outcome.message = "Ce fichier a déjà été importé tel quel : rien n'a changé.";
  else
    outcome.message = "Observations importées : " + std::to_string(imported.stored) +
                      " ; remplacées : " + std::to_string(imported.replaced);
  return outcome;
}

}  // namespace kavrel::reseau
