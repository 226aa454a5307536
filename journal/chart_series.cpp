// The journal's pictures as numbers and texts, read from the journal and made into charts
// (chart_series.h).
#include "journal/chart_series.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <tuple>
#include <utility>

#include "common/calendar_date.h"
#include "journal/journal.h"
#include "journal/month_sheet.h"
#include "journal/month.h"

namespace kavrel::journal {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
constexpr char kYearTitle[] = "Année";
constexpr char kMonthlyTitle[] = "Nombre de taches mensuel";
constexpr char kLatitudeTitle[] = "Latitude (°)";
constexpr char kGroupsCredit[] = "groupes : Royal Greenwich Observatory, USAF/NOAA";

// "2014" or "2010–2014".
std::string yearsText(int first, int last) {
  return first == last ? std::to_string(first) : std::to_string(first) + "–" + std::to_string(last);
}

std::string decimalText(double value, int decimals, std::string_view separator) {
  // No "-0" for a value that rounds to zero.
  if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0;
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string out = text;
  if (const auto point = out.find('.'); point != std::string::npos) out.replace(point, 1, separator);
  return out;
}

// Days since 1 March of year 0, for the gaps between two records.
long dayNumber(Day day) noexcept {
  const int y = day.month <= 2 ? day.year - 1 : day.year;
  const int m = day.month <= 2 ? day.month + 9 : day.month - 3;
  return 365L * y + y / 4 - y / 100 + y / 400 + (153 * m + 2) / 5 + day.day - 1;
}

bool within(Day day, int firstYear, int lastYear) noexcept { return day.year >= firstYear && day.year <= lastYear; }

bool hasPoints(const ChartSeries& series) {
  return std::any_of(series.points.begin(), series.points.end(),
                     [](const ChartPoint& p) { return !std::isnan(p.y); });
}

void addIfDrawn(Panel& panel, ChartSeries series) {
  if (hasPoints(series)) panel.series.push_back(std::move(series));
}

double largestY(const std::vector<Panel>& panels, std::size_t panel) {
  double most = 0;
  for (const auto& series : panels[panel].series)
    for (const auto& p : series.points)
      if (!std::isnan(p.y)) most = std::max(most, p.y);
  return most;
}

// SILSO's monthly means and smoothed means over the years, NaN where there is none.
struct SilsoMonths {
  std::vector<ChartPoint> means;
  std::vector<ChartPoint> smoothed;
};
SilsoMonths silsoMonths(const ChartData& data) {
  std::vector<SilsoDay> days;
  for (const auto& day : data.silso)
    if (day.total) days.push_back(day);
  const auto means = monthlyMeans(days);
  const auto smoothed = smoothed13(means);
  SilsoMonths months;
  for (std::size_t i = 0; i < means.size(); ++i) {
    const MonthValue& m = means[i];
    if (m.year < data.firstYear || m.year > data.lastYear) continue;
    const double x = decimalYear(m.year, m.month);
    months.means.push_back({x, m.value.value_or(kNoValue)});
    const auto& s = i < smoothed.size() ? smoothed[i].value : std::nullopt;
    months.smoothed.push_back({x, s.value_or(kNoValue)});
  }
  return months;
}

// The observer's monthly mean R (times k) for each month of the years, NaN where the
// observer has no day.
std::vector<ChartPoint> observerMonths(const ChartData& data, double k) {
  std::map<std::pair<int, int>, std::vector<Observation>> months;
  for (const auto& day : data.days)
    if (within(day.date, data.firstYear, data.lastYear)) months[{day.date.year, day.date.month}].push_back(day);
  std::vector<ChartPoint> points;
  if (months.empty()) return points;
  for (int year = data.firstYear; year <= data.lastYear; ++year)
    for (int month = 1; month <= 12; ++month) {
      const auto found = months.find({year, month});
      const auto mean = found == months.end() ? std::nullopt : monthMeans(found->second).relativeNumber;
      points.push_back({decimalYear(year, month), mean ? *mean * k : kNoValue});
    }
  return points;
}

std::string observerMonthsName(const ChartData& data, const ChartRequest& request) {
  std::string name = "R mensuel de " + data.observer;
  if (request.k) name += " × " + chosenKText(*request.k, request.decimalSeparator);
  return name;
}

std::string silsoCredit(const Chart& chart) {
  for (const auto& panel : chart.panels)
    for (const auto& series : panel.series)
      if (series.name.find("SILSO") != std::string::npos) return kSilsoCredit;
  return {};
}

Chart monthlyChart(const ChartData& data, const ChartRequest& request) {
  Chart chart;
  chart.title = "Nombre de taches mensuel, " + yearsText(data.firstYear, data.lastYear);
  Panel panel;
  const SilsoMonths silso = silsoMonths(data);
  addIfDrawn(panel, {"Moyenne mensuelle SILSO", Look::ThinLine, Ink::Grey, silso.means});
  addIfDrawn(panel, {"Moyenne lissée sur 13 mois SILSO", Look::ThickLine, Ink::Black, silso.smoothed});
  addIfDrawn(panel, {observerMonthsName(data, request), Look::DashedMarks, Ink::Blue,
                     observerMonths(data, request.k.value_or(1))});
  chart.panels.push_back(std::move(panel));
  Panel& p = chart.panels.back();
  p.x = yearAxis(data.firstYear, data.lastYear);
  p.y = valueAxis(kMonthlyTitle, 0, largestY(chart.panels, 0), 6, request.decimalSeparator);
  chart.credit = silsoCredit(chart);
  return chart;
}

Chart kChart(const ChartData& data, const ChartRequest& request) {
  Chart chart;
  chart.title = "k de " + data.observer + " : R quotidien et nombre international, " +
                yearsText(data.firstYear, data.lastYear);
  Panel panel;
  ChartSeries days{{}, Look::Crosses, Ink::Blue, {}};
  double mostR = 0, mostSn = 0;
  for (const auto& day : data.paired) {
    days.points.push_back({static_cast<double>(day.observer), static_cast<double>(day.international)});
    mostR = std::max(mostR, static_cast<double>(day.observer));
    mostSn = std::max(mostSn, static_cast<double>(day.international));
  }
  days.name = "Jours communs (" + std::to_string(days.points.size()) + ")";
  panel.x = valueAxis("R de " + data.observer, 0, mostR, 6, request.decimalSeparator);
  panel.y = valueAxis("Nombre international SN (SILSO)", 0, mostSn, 6, request.decimalSeparator);
  const std::optional<double> k = request.k ? request.k : estimateK(data.paired).ratioOfSums;
  addIfDrawn(panel, std::move(days));
  if (k && !panel.series.empty()) {
    const std::string which = request.k ? " (k choisi)" : " (k, rapport des sommes)";
    const std::string kShown =
        request.k ? chosenKText(*k, request.decimalSeparator) : decimalText(*k, 4, request.decimalSeparator);
    // Ended within the axes: an SVG reader may not clip it.
    const double end = std::min(panel.x.high, panel.y.high / *k);
    panel.series.push_back({"SN = " + kShown + " × R" + which, Look::ThickLine, Ink::Black, {{0, 0}, {end, *k * end}}});
  }
  if (!panel.series.empty()) chart.credit = kSilsoCredit;
  chart.panels.push_back(std::move(panel));
  return chart;
}

std::string latitudeLabel(double value) {
  const long degrees = std::lround(value);
  if (degrees == 0) return "0";
  return std::to_string(std::labs(degrees)) + (degrees > 0 ? " N" : " S");
}

// One point per imported group: the records of one source and number, each within
// kGroupGapDays of the one before, at their mean date and latitude.
std::vector<ChartPoint> importedGroups(const ChartData& data, std::string& sources) {
  std::vector<const GroupRecord*> records;
  records.reserve(data.imported.size());
  for (const auto& r : data.imported)
    if (within(r.date, data.firstYear, data.lastYear)) records.push_back(&r);
  std::sort(records.begin(), records.end(), [](const GroupRecord* a, const GroupRecord* b) {
    return std::tie(a->source, a->group, a->date) < std::tie(b->source, b->group, b->date);
  });
  std::vector<ChartPoint> points;
  bool greenwich = false, srs = false;
  double sumX = 0, sumLatitude = 0;
  int count = 0;
  const auto close = [&] {
    if (count > 0) points.push_back({sumX / count, sumLatitude / count});
    sumX = sumLatitude = 0;
    count = 0;
  };
  for (std::size_t i = 0; i < records.size(); ++i) {
    const GroupRecord& r = *records[i];
    if (i > 0) {
      const GroupRecord& before = *records[i - 1];
      if (before.source != r.source || before.group != r.group ||
          dayNumber(r.date) - dayNumber(before.date) > kGroupGapDays)
        close();
    }
    (r.source == GroupSource::Greenwich ? greenwich : srs) = true;
    sumX += decimalYear(r.date);
    sumLatitude += r.latitude;
    ++count;
  }
  close();
  sources = greenwich && srs ? "Greenwich, NOAA" : greenwich ? "Greenwich" : "NOAA";
  return points;
}

Chart butterflyChart(const ChartData& data, const ChartRequest& request) {
  Chart chart;
  chart.title = "Diagramme papillon, " + yearsText(data.firstYear, data.lastYear);
  Panel groups;
  groups.heightShare = 0.68;
  // The observer's marks first, the imported ones over them: a year of one's own days
  // would hide a century of others' groups.
  ChartSeries own{{}, Look::Crosses, Ink::Red, {}};
  for (const auto& g : data.ownGroups)
    if (within(g.date, data.firstYear, data.lastYear)) own.points.push_back({decimalYear(g.date), g.latitude});
  own.name = "Groupes de " + data.observer + ", par jour : " + std::to_string(own.points.size());
  addIfDrawn(groups, std::move(own));
  std::string sources;
  std::vector<ChartPoint> imported = importedGroups(data, sources);
  const std::size_t importedCount = imported.size();
  addIfDrawn(groups, {"Groupes importés (" + sources + ") : " + std::to_string(importedCount), Look::Dots, Ink::Black,
                      std::move(imported)});
  double widest = 0;
  for (const auto& series : groups.series)
    for (const auto& p : series.points) widest = std::max(widest, std::fabs(p.y));
  const double limit = std::min(90.0, std::max(40.0, std::ceil(widest / 10) * 10));
  const double step = limit > 60 ? 30 : 10;
  groups.y.title = kLatitudeTitle;
  groups.y.low = -limit;
  groups.y.high = limit;
  for (double v = -limit; v <= limit + 1e-9; v += step) groups.y.ticks.push_back({v, latitudeLabel(v)});
  groups.x = yearAxis(data.firstYear, data.lastYear);

  Panel number;
  number.heightShare = 1 - groups.heightShare;
  const SilsoMonths silso = silsoMonths(data);
  addIfDrawn(number, {"Moyenne mensuelle SILSO", Look::Bars, Ink::Grey, silso.means});
  addIfDrawn(number, {observerMonthsName(data, request), Look::DashedMarks, Ink::Blue,
                      observerMonths(data, request.k.value_or(1))});
  number.x = groups.x;
  chart.panels.push_back(std::move(groups));
  chart.panels.push_back(std::move(number));
  chart.panels.back().y = valueAxis("Nombre mensuel", 0, largestY(chart.panels, 1), 3, request.decimalSeparator);
  chart.credit = silsoCredit(chart);
  if (importedCount > 0) chart.credit += (chart.credit.empty() ? "Source : " : " ; ") + std::string(kGroupsCredit);
  return chart;
}

// The span of years of some dated things, none when there are none.
template <typename Things, typename DateOf>
std::optional<std::pair<int, int>> yearsOf(const Things& things, DateOf dateOf) {
  if (things.empty()) return std::nullopt;
  int first = dateOf(things.front()).year, last = first;
  for (const auto& thing : things) {
    first = std::min(first, dateOf(thing).year);
    last = std::max(last, dateOf(thing).year);
  }
  return std::pair{first, last};
}

// A reading of the journal taken whole into `into`; else its error replaces all that
// `read` holds, and false: there is nothing to draw.
template <typename Reading, typename Into>
bool take(Read<ChartData>& read, Reading reading, Into& into) {
  if (!reading.ok()) {
    read = {{}, std::move(reading.error)};
    return false;
  }
  into = std::move(reading.value);
  return true;
}

// The first and last years drawn: those asked, the one not asked from `years` (those of the
// data), the last year alone when only it is asked and no data is found.
std::pair<int, int> chartYears(const ChartRequest& request, const std::optional<std::pair<int, int>>& years) {
  int firstYear = request.firstYear.value_or(years ? std::min(years->first, request.lastYear.value_or(9999)) : 0);
  const int lastYear = request.lastYear.value_or(years ? std::max(years->second, firstYear) : firstYear);
  if (!request.firstYear && !years) firstYear = lastYear;
  return {firstYear, lastYear};
}

// The latitudes of the observer's groups in the observations of the chart's years, one
// record each at its day's date; a reading that failed leaves its error in `read`.
void readOwnGroups(const Journal& journal, Read<ChartData>& read) {
  ChartData& data = read.value;
  for (const auto& day : data.days) {
    if (!within(day.date, data.firstYear, data.lastYear)) continue;
    std::vector<Group> groups;
    if (!take(read, journal.groups(day.id), groups)) return;
    for (const auto& group : groups) {
      if (!group.latitude) continue;
      GroupRecord own;
      own.date = day.date;
      own.latitude = *group.latitude;
      data.ownGroups.push_back(own);
    }
  }
}

}  // namespace

std::optional<ChartKind> chartKindNamed(std::string_view name) noexcept {
  if (name == "mensuel") return ChartKind::Monthly;
  if (name == "k") return ChartKind::K;
  if (name == "papillon") return ChartKind::Butterfly;
  return std::nullopt;
}

double decimalYear(Day day) noexcept {
  int dayOfYear = day.day;
  for (int m = 1; m < day.month; ++m) dayOfYear += daysInMonth(day.year, m);
  const int daysInYear = daysInMonth(day.year, 2) == 29 ? 366 : 365;
  return day.year + (dayOfYear - 0.5) / daysInYear;
}

double decimalYear(int year, int month) noexcept { return year + (month - 0.5) / 12; }

Axis valueAxis(std::string title, double low, double high, int wanted, std::string_view decimalSeparator) {
  Axis axis;
  axis.title = std::move(title);
  if (!(high > low)) high = low + 1;
  const double raw = (high - low) / std::max(wanted, 1);
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double step = 10 * magnitude;
  for (const double factor : {1.0, 2.0, 5.0})
    if (factor * magnitude >= raw * (1 - 1e-9)) {
      step = factor * magnitude;
      break;
    }
  const long first = std::lround(std::floor(low / step + 1e-9));
  const long last = std::lround(std::ceil(high / step - 1e-9));
  axis.low = first * step;
  axis.high = last * step;
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
  for (long i = first; i <= last; ++i) axis.ticks.push_back({i * step, decimalText(i * step, decimals, decimalSeparator)});
  return axis;
}

Axis yearAxis(int firstYear, int lastYear) {
  static constexpr const char* kQuarters[] = {"avr.", "juil.", "oct."};
  Axis axis;
  axis.title = kYearTitle;
  axis.low = firstYear;
  axis.high = lastYear + 1.0;
  const int span = lastYear - firstYear + 1;
  if (span <= 3) {
    for (int year = firstYear; year <= lastYear; ++year) {
      axis.ticks.push_back({static_cast<double>(year), std::to_string(year)});
      for (int q = 1; q < 4; ++q) axis.ticks.push_back({year + q / 4.0, kQuarters[q - 1]});
    }
    axis.ticks.push_back({axis.high, std::to_string(lastYear + 1)});
    return axis;
  }
  int step = 5000;
  for (const int s : {1, 2, 5, 10, 20, 25, 50, 100, 200, 500, 1000, 2000})
    if (span / s <= 10) {
      step = s;
      break;
    }
  for (int year = (firstYear + step - 1) / step * step; year <= lastYear + 1; year += step)
    axis.ticks.push_back({static_cast<double>(year), std::to_string(year)});
  return axis;
}

Read<ChartData> chartData(const Journal& journal, const ChartRequest& request) {
  Read<ChartData> read;
  ChartData& data = read.value;
  data.observer = request.observerCode;
  const Day start{request.firstYear.value_or(1), 1, 1};
  const Day end{request.lastYear.value_or(9999), 12, 31};
  if (request.observerId != 0) {
    std::vector<Observation> observations;
    if (!take(read, journal.observationsBetween(start, end, request.observerId), observations)) return read;
    data.days = observationsOfDays(observations);
  }

  // The years: as asked, else the observer's, else those of what the picture shows.
  std::optional<std::pair<int, int>> years = yearsOf(data.days, [](const Observation& o) { return o.date; });
  if (!years && request.kind == ChartKind::Butterfly) {
    if (!take(read, journal.groupRecords(start, end), data.imported)) return read;
    years = yearsOf(data.imported, [](const GroupRecord& r) { return r.date; });
  }
  if (!years) {
    if (!take(read, journal.silsoDays(start, end), data.silso)) return read;
    years = yearsOf(data.silso, [](const SilsoDay& d) { return d.date; });
  }
  if (!years && !request.firstYear && !request.lastYear) return read;
  std::tie(data.firstYear, data.lastYear) = chartYears(request, years);

  // SILSO's year on each side, for the smoothed mean at the edges.
  // Dates are compared as text: a year of five digits would come before 1818.
  const Day before{std::max(1, data.firstYear - 1), 1, 1}, after{std::min(9999, data.lastYear + 1), 12, 31};
  if (!take(read, journal.silsoDays(before, after), data.silso)) return read;
  const Day first{data.firstYear, 1, 1}, last{data.lastYear, 12, 31};
  if (request.kind == ChartKind::K && request.observerId != 0 &&
      !take(read, journal.pairedDays(first, last, request.observerId), data.paired))
    return read;
  if (request.kind == ChartKind::Butterfly) {
    if ((data.imported.empty() || request.firstYear || request.lastYear) &&
        !take(read, journal.groupRecords(first, last), data.imported))
      return read;
    readOwnGroups(journal, read);
  }
  return read;
}

Chart makeChart(const ChartData& data, const ChartRequest& request) {
  Chart chart;
  if (data.firstYear == 0) {
    chart.title = "";
    chart.note = kNothingToDraw;
    return chart;
  }
  switch (request.kind) {
    case ChartKind::Monthly: chart = monthlyChart(data, request); break;
    case ChartKind::K: chart = kChart(data, request); break;
    case ChartKind::Butterfly: chart = butterflyChart(data, request); break;
  }
  const bool drawn = std::any_of(chart.panels.begin(), chart.panels.end(),
                                 [](const Panel& p) { return !p.series.empty(); });
  if (!drawn) {
    chart.note = kNothingToDraw;
  } else {
    chart.firstYear = data.firstYear;
    chart.lastYear = data.lastYear;
  }
  return chart;
}

std::string chartFileName(ChartKind kind, const Chart& chart, std::string_view extension) {
  std::string name = "journal-";
  switch (kind) {
    case ChartKind::Monthly: name += "mensuel"; break;
    case ChartKind::K: name += "k"; break;
    case ChartKind::Butterfly: name += "papillon"; break;
  }
  if (chart.firstYear > 0) {
    name += '-' + std::to_string(chart.firstYear);
    if (chart.lastYear != chart.firstYear) name += '-' + std::to_string(chart.lastYear);
  }
  return name + '.' + std::string(extension);
}

}  // namespace kavrel::journal
