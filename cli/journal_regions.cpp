// The regions in `kavrel journal`: regions (the groups of one source followed from day to
// day, as a table or as CSV) and rotation (the law of the Sun's differential rotation
// fitted on them, in degrees a day, sidereal), and what they share with carte
// (journal_regions.h). Latitudes and longitudes in degrees, areas in millionths of the
// hemisphere. Qt-free; rotation's picture and carte are painted by kavrel-dessin
// (cli/painting.h).
#include "cli/journal_regions.h"

#include <algorithm>
#include <cmath>

#include "cli/journal_runs.h"
#include "common/calendar_date.h"
#include "common/date_text.h"
#include "common/file_bytes.h"
#include "common/fixed_decimals.h"

namespace kavrel::cli::logbook {
namespace {

constexpr std::string_view kDatesOrder = "Dates : --du vient avant --au.";
constexpr std::string_view kPictureOptions[] = {"--png", "--svg", "--pdf"};

std::optional<Day> isoDay(const std::string& text) {
  const auto ymd = numbersSplit(text, '-', 3);
  if (!ymd) return std::nullopt;
  const Day day{(*ymd)[0], (*ymd)[1], (*ymd)[2]};
  if (day.year < 1 || day.year > 9999 || day.month < 1 || day.month > 12 || day.day < 1 ||
      day.day > daysInMonth(day.year, day.month))
    return std::nullopt;
  return day;
}

std::string fixed(double value, int decimals, std::string_view separator) {
  std::string text;
  appendFixed(text, value, decimals, separator.empty() ? '.' : separator.front());
  return text;
}

std::string dayIso(Day day) { return isoDate(day.year, day.month, day.day); }

// The characters of UTF-8 text: its bytes but the continuation bytes.
std::size_t characters(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The cells laid out in columns, each as wide as its widest cell, numbers and texts alike
// on the right but for the last column's.
std::string tableText(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows)
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], characters(row[i]));
    }
  std::string text;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
      const std::string pad(widths[i] - characters(row[i]), ' ');
      if (i > 0) line += "  ";
      line += i + 1 == row.size() ? row[i] + pad : pad + row[i];
    }
    line.erase(line.find_last_not_of(' ') + 1);
    text += line + '\n';
  }
  return text;
}

std::string latitudeText(double latitude, std::string_view separator) {
  return fixed(std::fabs(latitude), 1, separator) + (latitude < 0 ? " S" : " N");
}

template <class T>
std::string orDash(const std::optional<T>& value, const auto& write) {
  return value ? write(*value) : std::string("–");
}

std::string classesText(const std::vector<std::string>& classes) {
  std::string text;
  for (const auto& c : classes) text += (text.empty() ? "" : "/") + c;
  return text.empty() ? "–" : text;
}

std::vector<std::string> regionRow(const journal::Region& r, std::string_view sep) {
  return {std::to_string(r.id),
          dayIso(r.first),
          dayIso(r.last),
          std::to_string(r.days),
          latitudeText(r.latitude, sep),
          fixed(r.longitude, 1, sep),
          orDash(r.drift, [&](double d) { return (d >= 0 ? "+" : "") + fixed(d, 2, sep); }),
          orDash(r.maxAreaMsh, [&](double a) { return fixed(a, 0, sep); }),
          orDash(r.maxSpots, [](int n) { return std::to_string(n); }),
          classesText(r.classes),
          orDash(r.number, [](int n) { return std::to_string(n); }),
          orDash(r.returnOf, [](int n) { return std::to_string(n); })};
}

std::string regionsTable(const Followed& followed, std::string_view sep) {
  std::vector<std::vector<std::string>> rows{{"Région", "Premier jour", "Dernier jour", "Jours", "Latitude",
                                              "Longitude", "Dérive °/j", "Aire max", "Taches", "Classes", "Numéro",
                                              "Retour de"}};
  for (const auto& region : followed.regions) rows.push_back(regionRow(region, sep));
  return tableText(rows);
}

// One line per group and day, region by region.
std::string regionDaysTable(const Followed& followed, std::string_view sep) {
  std::vector<std::vector<std::string>> rows{
      {"Région", "Date", "Heure TU", "Latitude", "Longitude", "Aire", "Numéro"}};
  for (const auto& region : followed.regions)
    for (const std::size_t index : region.sightings) {
      const journal::Sighting& g = followed.sightings.at(index);
      const int minutes = static_cast<int>(std::lround(g.dayFraction * 1440));
      rows.push_back({std::to_string(region.id), dayIso(g.date),
                      minutes >= 1440 ? "24:00" : hourMinute(minutes / 60, minutes % 60),
                      latitudeText(g.latitude, sep), fixed(g.longitude, 2, sep),
                      orDash(g.areaMsh, [&](double a) { return fixed(a, 0, sep); }),
                      orDash(region.number, [](int n) { return std::to_string(n); })});
    }
  return tableText(rows);
}

// Which of the observer's regions took a number, and from which records.
void printNumbering(const Followed& followed, const std::vector<journal::RegionSource>& references, Request& s) {
  if (references.empty()) {
    s.out << "Aucune région de Greenwich ni des résumés SRS importée pour ces jours : les régions n'ont pas de "
             "numéro.\n";
    return;
  }
  std::string from;
  for (const auto source : references)
    from += (from.empty() ? "" : " et ") + std::string(source == journal::RegionSource::Srs ? "des résumés SRS"
                                                                                             : "de Greenwich");
  std::string without;
  int numbered = 0;
  for (const auto& region : followed.regions) {
    if (region.number) ++numbered;
    else without += (without.empty() ? "" : ", ") + std::to_string(region.id);
  }
  s.out << "Numéros d'après les régions " << from << " des mêmes jours : " << numbered
        << (numbered > 1 ? " régions numérotées" : " région numérotée");
  if (without.empty()) s.out << ", toutes.\n";
  else s.out << " ; sans numéro : " << without << ".\n";
}

Status writeRegionsCsv(const Followed& followed, const std::string& path, Request& s) {
  const std::string text = s.has("--par-jour") ? journal::regionDaysCsv(followed.regions, followed.sightings)
                                               : journal::regionsCsv(followed.regions);
  if (const std::string reason = writeFileWhole(path, text); !reason.empty()) {
    s.err << "Le fichier « " << path << " » n'a pas pu être écrit : " << reason << ".\n";
    return Status::Failed;
  }
  s.out << "Régions enregistrées : " << path << " (" << followed.regions.size()
        << (followed.regions.size() > 1 ? " régions)\n" : " région)\n");
  return Status::Done;
}

}  // namespace

std::string regionSourceLabel(journal::RegionSource source) {
  switch (source) {
    case journal::RegionSource::Greenwich: return "de Greenwich";
    case journal::RegionSource::Srs: return "des résumés SRS";
    case journal::RegionSource::Observer: break;
  }
  return "de l'observateur";
}

std::optional<RegionQuery> regionQuery(const Request& s) {
  RegionQuery query;
  for (const auto& [option, into] : {std::pair{"--du", &query.first}, std::pair{"--au", &query.last}}) {
    const std::string* text = s.value(option);
    if (!text) continue;
    const auto day = isoDay(*text);
    if (!day) {
      s.err << (option == std::string_view("--du") ? "Du" : "Au") << " : « " << *text
            << " » n'est pas une date (2014-02-03 attendu).\n";
      return std::nullopt;
    }
    *into = *day;
  }
  if (query.last < query.first) {
    s.refuse(kDatesOrder);
    return std::nullopt;
  }
  if (const std::string* name = s.value("--source")) {
    const auto source = journal::regionSourceNamed(*name);
    if (!source) {
      s.refuse(kRegionSourceMessage);
      return std::nullopt;
    }
    query.source = *source;
  }
  return query;
}

std::optional<Followed> followedRegions(const journal::Session& session, const RegionQuery& query, const Request& s,
                                        Status& status) {
  std::optional<journal::Id> observer;
  if (query.source == journal::RegionSource::Observer) {
    const ObserverChoice choice = chooseObserver(session, s);
    if (choice.refused) {
      status = choice.status;
      return std::nullopt;
    }
    if (choice.observer) observer = choice.observer->id;
  }
  auto read = session.journal().sightings(query.first, query.last, query.source, observer);
  if (readFailed(read, s)) {
    status = Status::Failed;
    return std::nullopt;
  }
  Followed followed;
  followed.sightings = std::move(read.value);
  followed.regions = journal::followRegions(followed.sightings);
  return followed;
}

std::optional<std::vector<journal::RegionSource>> numberFromImported(const journal::Session& session,
                                                                     const RegionQuery& query, Followed& followed,
                                                                     const Request& s) {
  std::vector<journal::RegionSource> used;
  for (const auto source : {journal::RegionSource::Srs, journal::RegionSource::Greenwich}) {
    const bool someWithout = std::any_of(followed.regions.begin(), followed.regions.end(),
                                         [](const journal::Region& r) { return !r.number; });
    if (!someWithout) break;
    const auto reference = session.journal().sightings(query.first, query.last, source, std::nullopt);
    if (readFailed(reference, s)) return std::nullopt;
    if (reference.value.empty()) continue;
    std::vector<journal::Region> numbered = followed.regions;
    journal::numberRegions(numbered, followed.sightings, reference.value);
    bool any = false;
    for (std::size_t i = 0; i < numbered.size(); ++i)
      if (!followed.regions[i].number && numbered[i].number) {
        followed.regions[i].number = numbered[i].number;
        any = true;
      }
    if (any) used.push_back(source);
  }
  return used;
}

std::vector<std::string> rotationLines(const journal::RotationLaw& law, std::string_view separator) {
  return {"A : " + fixed(law.a, 2, separator) + " ± " + fixed(law.aError, 2, separator) + " °/jour",
          "B : " + fixed(law.b, 1, separator) + " ± " + fixed(law.bError, 1, separator) + " °/jour",
          "Régions : " + std::to_string(law.rates.size())};
}

std::string tooFewRegionsLine(const journal::RotationLaw& law) {
  return "Trop peu de régions pour ajuster la loi de rotation : " + std::to_string(law.rates.size()) +
         (law.rates.size() > 1 ? " régions suivies" : " région suivie") +
         " sur quatre jours au moins et trois jours d'écart, à des latitudes différentes ; il en faut trois.";
}

std::optional<journal::RotationLaw> printedRotation(const Request& s, Status& status, std::string& subtitle) {
  const auto query = regionQuery(s);
  status = Status::Refused;
  if (!query) return std::nullopt;
  const auto session = s.open();
  status = Status::Failed;
  if (!session) return std::nullopt;
  const auto followed = followedRegions(*session, *query, s, status);
  if (!followed) return std::nullopt;
  journal::RotationLaw law = journal::fitRotation(followed->regions, followed->sightings);
  status = Status::Refused;
  if (!law.fitted) {
    s.refuse(tooFewRegionsLine(law));
    return std::nullopt;
  }
  for (const auto& line : rotationLines(law, s.decimalSeparator)) s.out << line << '\n';
  subtitle = "Régions " + regionSourceLabel(query->source);
  if (!followed->regions.empty())
    subtitle += ", du " + dayIso(followed->regions.front().first) + " au " +
                dayIso(std::max_element(followed->regions.begin(), followed->regions.end(),
                                        [](const auto& a, const auto& b) { return a.last < b.last; })
                           ->last);
  status = Status::Done;
  return law;
}

Status printRegions(const Fields& f, Request& s) {
  if (!f.empty()) return Status::Usage;
  const auto query = regionQuery(s);
  if (!query) return Status::Refused;
  const auto session = s.open();
  if (!session) return Status::Failed;
  Status status = Status::Done;
  auto followed = followedRegions(*session, *query, s, status);
  if (!followed) return status;
  std::optional<std::vector<journal::RegionSource>> references;
  if (query->source == journal::RegionSource::Observer) {
    references = numberFromImported(*session, *query, *followed, s);
    if (!references) return Status::Failed;
  }
  if (const std::string* path = s.value("--csv")) {
    const Status written = writeRegionsCsv(*followed, *path, s);
    if (written == Status::Done && references && !followed->regions.empty()) printNumbering(*followed, *references, s);
    return written;
  }
  if (followed->regions.empty()) {
    s.out << "Aucune région " << regionSourceLabel(query->source) << " pour ces jours.\n";
    return Status::Done;
  }
  s.out << "Régions " << regionSourceLabel(query->source) << " : " << followed->regions.size() << '\n';
  s.out << (s.has("--par-jour") ? regionDaysTable(*followed, s.decimalSeparator)
                                : regionsTable(*followed, s.decimalSeparator));
  if (references) printNumbering(*followed, *references, s);
  return Status::Done;
}

Status printRotation(const Fields& f, Request& s) {
  if (!f.empty()) return Status::Usage;
  if (std::any_of(std::begin(kPictureOptions), std::end(kPictureOptions),
                  [&](std::string_view option) { return s.has(option); }))
    return drawRotation(f, s);
  Status status = Status::Done;
  std::string subtitle;
  static_cast<void>(printedRotation(s, status, subtitle));
  return status;
}

}  // namespace kavrel::cli::logbook
