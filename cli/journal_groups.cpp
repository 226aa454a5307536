// The groups listed by others in `kavrel journal`: groupes (a yearly or daily file
// imported, a year summed up by hemisphere) and jour (a day's counts made of them); and
// the observer's own lists of groups imported by the same action (journal/group_list.h),
// their distances placed at the observer's usual hour where the list gives no time.
// Qt-free.
#include "cli/journal_runs.h"

#include <algorithm>

#include "common/calendar_date.h"
#include "common/date_text.h"
#include "common/file_bytes.h"
#include "journal/group_list.h"
#include "journal/group_records.h"

namespace kavrel::cli::logbook {
namespace {

constexpr std::string_view kSourceMessage = "Source : greenwich ou srs.";

// --source greenwich|srs; none when left out (`refused` when named wrongly, said).
std::optional<journal::GroupSource> sourceOption(const Request& s, bool& refused) {
  refused = false;
  const std::string* name = s.value("--source");
  if (!name) return std::nullopt;
  const auto source = journal::groupSourceNamed(*name);
  if (!source) {
    s.refuse(kSourceMessage);
    refused = true;
  }
  return source;
}

// ---------------------------------------------------------------------------------------
// The observer's own lists.

constexpr std::string_view kUsualHourMessage = "Heure : l'heure TU habituelle, sous la forme 09:05.";

// --heure HH:MM in minutes of the day, 12:00 without it; none when wrong (said).
std::optional<int> usualMinutes(const Request& s) {
  const std::string* given = s.value("--heure");
  if (!given) return 12 * 60;
  const auto hm = numbersSplit(*given, ':', 2);
  if (!hm || (*hm)[0] < 0 || (*hm)[0] > 23 || (*hm)[1] < 0 || (*hm)[1] > 59) {
    s.refuse(kUsualHourMessage);
    return std::nullopt;
  }
  return (*hm)[0] * 60 + (*hm)[1];
}

// "34 groupes, 7 jours, du 2023-05-27 au 2023-06-18".
std::string listSpan(const journal::GroupList& list) {
  const auto day = [](journal::Day d) { return isoDate(d.year, d.month, d.day); };
  const auto counted = [](std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + ' ' + (n > 1 ? many : one);
  };
  std::string span = counted(list.groups.size(), "groupe", "groupes") + ", " + counted(list.days.size(), "jour", "jours");
  if (list.days.size() == 1) return span + ", le " + day(list.days.front());
  return span + ", du " + day(list.days.front()) + " au " + day(list.days.back());
}

Status importObserverList(const std::string& text, Request& s) {
  const std::optional<int> minutes = usualMinutes(s);
  if (!minutes) return Status::Refused;
  journal::GroupList list = journal::readGroupList(text);
  if (!list.recognised) {
    for (const journal::Refusal& r : list.refusals) s.err << "ligne " << r.line << " : " << r.message << '\n';
    s.err << "Aucun groupe importé.\n";
    return Status::Refused;
  }
  journal::placeGroups(list, *minutes / 1440.0);
  s.out << "Lu : " << journal::groupListKindText(list.kind) << '\n';
  if (std::any_of(list.groups.begin(), list.groups.end(), [](const journal::ListedGroup& g) { return !g.timeGiven; }))
    s.out << "Heure TU des groupes sans heure : " << hourMinute(*minutes / 60, *minutes % 60)
          << (s.has("--heure") ? "\n" : " (--heure HH:MM pour une autre)\n");
  for (const journal::Refusal& r : list.refusals) s.err << "ligne " << r.line << " : " << r.message << '\n';
  std::vector<int> lines;
  for (const journal::Refusal& r : list.refusals) lines.push_back(r.line);
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  if (!lines.empty() && !s.has("--partiel")) {
    s.err << "Aucun groupe importé (" << lines.size() << (lines.size() > 1 ? " lignes refusées)" : " ligne refusée)")
          << (list.days.empty() ? ".\n" : " ; --partiel importe les autres lignes.\n");
    return Status::Refused;
  }
  const auto session = s.open();
  if (!session) return Status::Failed;
  Status status = Status::Done;
  const std::optional<std::string> code = observerCodeToStore(*session, s, status);
  if (!code) return status;
  const journal::Change imported = session->journal().importGroupList(list, *code);
  if (!imported.done()) return s.failed(imported);
  const auto observer = session->journal().observer(imported.id);
  s.out << "Groupes importés (observateur " << (observer.value ? observer.value->code : *code) << ") : "
        << listSpan(list) << '\n';
  if (list.spotsWithoutPlace > 0)
    s.out << "Taches sans latitude ni longitude laissées de côté : " << list.spotsWithoutPlace << '\n';
  return lines.empty() ? Status::Done : Status::Refused;
}

// ---------------------------------------------------------------------------------------
// Groups listed by others.

Status importGroupFile(const std::string& name, Request& s) {
  std::string text;
  if (const std::string reason = readFileWhole(name, text); !reason.empty()) {
    s.err << "Le fichier « " << name << " » n'a pas pu être lu : " << reason << ".\n";
    return Status::Failed;
  }
  if (journal::isGroupList(text)) return importObserverList(text, s);
  if (s.has("--heure") || s.has("--partiel") || s.has("--observateur"))
    return s.refuse("--heure, --partiel et --observateur valent pour les listes de l'observateur, non pour les "
                    "fichiers de Greenwich ou de la NOAA.");
  const journal::GroupFile file = journal::parseGroupFile(text);
  if (!file.error.empty()) {
    s.err << "ligne " << file.line << " : " << file.error << '\n' << "Aucun groupe importé.\n";
    return Status::Refused;
  }
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  if (const journal::Change imported = opened.importGroupRecords(file); !imported.done()) return s.failed(imported);
  const auto day = [](journal::Day d) { return isoDate(d.year, d.month, d.day); };
  s.out << "Groupes importés (" << journal::groupSourceName(file.records.empty() ? journal::GroupSource::Srs
                                                                                 : file.records.front().source)
        << ") : " << file.records.size() << (file.records.size() > 1 ? " lignes" : " ligne");
  if (file.firstDay == file.lastDay)
    s.out << ", le " << day(file.firstDay) << '\n';
  else
    s.out << ", du " << day(file.firstDay) << " au " << day(file.lastDay) << '\n';
  return Status::Done;
}

Status groupYearSummary(const std::string& yearText, Request& s) {
  const auto year = wholeNumber(yearText);
  if (!year || *year < 1 || *year > 9999) return s.refuse(kYearMessage);
  bool refused = false;
  const auto source = sourceOption(s, refused);
  if (refused) return Status::Refused;
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  const auto records = opened.groupRecords({*year, 1, 1}, {*year, 12, 31}, source);
  if (readFailed(records, s)) return Status::Failed;
  for (const auto& line : journal::groupYearLines(journal::groupYear(records.value), s.decimalSeparator))
    s.out << line << '\n';
  return Status::Done;
}

// DATE as 2014-02-03 or 3 2 2014.
std::optional<Day> dayOf(const Fields& f) {
  if (f.size() == 1) {
    const auto ymd = numbersSplit(f[0], '-', 3);
    if (ymd) return Day{(*ymd)[0], (*ymd)[1], (*ymd)[2]};
  } else if (f.size() == 3) {
    const auto d = wholeNumber(f[0]), m = wholeNumber(f[1]), y = wholeNumber(f[2]);
    if (d && m && y) return Day{*y, *m, *d};
  }
  return std::nullopt;
}

}  // namespace

Status groups(const Fields& f, Request& s) {
  if (f.size() != 2) return Status::Usage;
  if (f[0] == "importer") {
    if (s.has("--source")) return Status::Usage;
    return importGroupFile(f[1], s);
  }
  if (f[0] == "resume" || f[0] == "résumé") {
    if (s.has("--heure") || s.has("--partiel") || s.has("--observateur")) return Status::Usage;
    return groupYearSummary(f[1], s);
  }
  return Status::Usage;
}

Status groupDayCounts(const Fields& f, Request& s) {
  if (f.size() != 1 && f.size() != 3) return Status::Usage;
  const auto day = dayOf(f);
  if (!day || day->year < 1 || day->year > 9999 || day->month < 1 || day->month > 12 || day->day < 1 ||
      day->day > daysInMonth(day->year, day->month))
    return s.refuse(kDateMessage);
  bool refused = false;
  auto source = sourceOption(s, refused);
  if (refused) return Status::Refused;
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  const auto read = opened.groupRecords(*day, *day, source);
  if (readFailed(read, s)) return Status::Failed;
  const std::vector<journal::GroupRecord>& records = read.value;
  // The sources whose files covered the day: a day without groups is a day of none.
  std::vector<journal::GroupSource> covering;
  for (const auto candidate : {journal::GroupSource::Greenwich, journal::GroupSource::Srs}) {
    if (source && candidate != *source) continue;
    const bool seen = std::any_of(records.begin(), records.end(),
                                  [&](const journal::GroupRecord& r) { return r.source == candidate; });
    if (seen) {
      covering.push_back(candidate);
      continue;
    }
    const journal::Read<bool> covered = opened.groupDayCovered(*day, candidate);
    if (readFailed(covered, s)) return Status::Failed;
    if (covered.value) covering.push_back(candidate);
  }
  if (covering.empty()) {
    s.out << "Aucun fichier de groupes importé ne couvre ce jour.\n";
    return Status::Done;
  }
  // Two sources of one day would count its groups twice.
  if (covering.size() > 1)
    return s.refuse("Le journal tient les groupes de ce jour de deux sources : choisissez-en une avec "
                    "--source greenwich ou --source srs.");
  source = covering.front();
  for (const auto& line : journal::groupDayLines(*day, *source, journal::groupDay(records))) s.out << line << '\n';
  return Status::Done;
}

}  // namespace kavrel::cli::logbook
