// The log's days in `kavrel journal`: ajouter (an observation, or a day not observed),
// corriger, supprimer, retenir, importer (a spreadsheet's log) and mois (the month's
// table). Counts g and f, R = 10 g + f, times of UT. Qt-free.
#include "cli/journal_runs.h"

#include <algorithm>
#include <iostream>
#include <iterator>

#include "common/date_text.h"
#include "common/file_bytes.h"
#include "common/text.h"
#include "journal/checks.h"
#include "journal/import.h"
#include "journal/month_sheet.h"

namespace kavrel::cli::logbook {
namespace {

constexpr std::string_view kSeeingMessage = "Seeing : de 1 à 5, 5 le meilleur, ou une lettre E G F P.";
constexpr std::string_view kTransparencyMessage = "Transparence : de 1 à 5, 5 la meilleure.";
constexpr std::string_view kNoCounts =
    "kavrel : donnez les comptes, --nord G F --sud G F, ou --disque G F pour le disque entier";
constexpr std::string_view kUnobservedAlone =
    "kavrel : un jour --sans-observation n'a ni comptes, ni seeing, ni transparence ; sa remarque dit le temps";

// The problems of what was given, said one a line; whether there were some.
bool saidProblems(const std::vector<std::string>& problems, const Request& s) {
  for (const auto& problem : problems) s.err << problem << '\n';
  return !problems.empty();
}

// The journal opened for a new day, and the code it is stored under; none when refused
// (said, `status` set).
struct NewDay {
  std::unique_ptr<journal::Session> session;
  std::string code;
};

std::optional<NewDay> openForNewDay(const Request& s, Status& status) {
  NewDay opened{s.open(), {}};
  if (!opened.session) {
    status = Status::Failed;
    return std::nullopt;
  }
  std::optional<std::string> code = observerCodeToStore(*opened.session, s, status);
  if (!code) return std::nullopt;
  opened.code = std::move(*code);
  return opened;
}

struct InstantRead {
  journal::Observation observation;
  std::string_view refusal;
  bool timed = true;
};

std::optional<InstantRead> readInstant(const Fields& f, bool timeOptional = false) {
  InstantRead read;
  std::size_t next = 0;
  if (f.empty()) return std::nullopt;
  if (f[0].find('-', 1) != std::string::npos) {
    const auto ymd = numbersSplit(f[0], '-', 3);
    if (ymd) read.observation.date = {(*ymd)[0], (*ymd)[1], (*ymd)[2]};
    else read.refusal = kDateMessage;
    next = 1;
  } else {
    if (f.size() < 3) return std::nullopt;
    const auto d = wholeNumber(f[0]), m = wholeNumber(f[1]), y = wholeNumber(f[2]);
    if (d && m && y) read.observation.date = {*y, *m, *d};
    else read.refusal = kDateMessage;
    next = 3;
  }
  if (next == f.size() && timeOptional) {
    read.timed = false;
    return read;
  }
  if (next >= f.size()) return std::nullopt;
  if (f[next].find(':') != std::string::npos) {
    const auto hm = numbersSplit(f[next], ':', 2);
    if (hm) read.observation.time = {(*hm)[0], (*hm)[1]};
    else if (read.refusal.empty()) read.refusal = kTimeMessage;
    next += 1;
  } else {
    if (next + 2 > f.size()) return std::nullopt;
    const auto h = wholeNumber(f[next]), m = wholeNumber(f[next + 1]);
    if (h && m) read.observation.time = {*h, *m};
    else if (read.refusal.empty()) read.refusal = kTimeMessage;
    next += 2;
  }
  if (next != f.size()) return std::nullopt;
  return read;
}

// The counts of --nord, --sud or --disque; the message naming the field when not whole
// numbers, or beyond the six digits a log's column holds (R = 10 g + f stays an int).
std::optional<Counts> countsOf(const Request& s, std::string_view option, std::string_view where) {
  constexpr int kMostCounted = 999999;
  std::optional<int> values[2];
  for (int i = 0; i < 2; ++i) {
    const std::string& text = *s.value(option, static_cast<std::size_t>(i));
    values[i] = wholeNumber(text);
    if (values[i] && *values[i] <= kMostCounted) continue;
    const bool digits = allDigits(text);
    s.err << (i == 0 ? "g " : "f ") << where << " : « " << text << " » "
          << (digits ? "est trop grand." : "n'est pas un nombre entier.") << '\n';
    return std::nullopt;
  }
  return Counts{*values[0], *values[1]};
}

// 1..5 as typed, or a network's letter for the seeing; out of range is left to the checks.
std::optional<int> scaleOf(const std::string& text, bool letters) {
  if (const auto number = wholeNumber(text)) return number;
  if (letters && text.size() == 1) return journal::seeingOfLetter(text[0]);
  return std::nullopt;
}

// The counts given by --nord G F --sud G F or --disque G F into `counts`; false when
// refused (said).
bool countsGiven(Request& s, journal::Tally& counts) {
  const bool split = s.has("--nord") || s.has("--sud");
  std::optional<Counts> north, south, disc;
  if (s.has("--nord") && !(north = countsOf(s, "--nord", "nord"))) return false;
  if (s.has("--sud") && !(south = countsOf(s, "--sud", "sud"))) return false;
  if (s.has("--disque") && !(disc = countsOf(s, "--disque", "disque"))) return false;
  if (north && south) {
    counts = journal::Tally::of(*north, *south);
    if (disc) counts.disc = *disc;  // both given: the checks compare them
  } else if (split) {
    // One hemisphere alone: the checks say which one is missing.
    counts = {north, south, north ? *north : *south};
  } else if (disc) {
    counts = journal::Tally::wholeDisc(*disc);
  }
  return true;
}

// DATE [HEURE] --sans-observation [--remarque TEXTE]: the day kept as not observed.
Status addUnobservedDay(const InstantRead& instant, Request& s) {
  for (const char* option : {"--nord", "--sud", "--disque", "--seeing", "--transparence"})
    if (s.has(option)) return s.refuse(kUnobservedAlone);
  journal::UnobservedDay day;
  day.date = instant.observation.date;
  if (instant.timed) day.time = instant.observation.time;
  if (const std::string* remarks = s.value("--remarque")) day.remarks = *remarks;
  const Day now = today();
  if (saidProblems(journal::checkUnobservedDay(day, now), s)) return Status::Refused;
  Status status = Status::Done;
  const std::optional<NewDay> opened = openForNewDay(s, status);
  if (!opened) return status;
  const journal::Change added = opened->session->journal().addUnobservedDay(day, opened->code, now);
  if (!added.done()) return s.failed(added);
  s.out << "Jour sans observation enregistré : " << journal::dayText(day.date);
  if (!day.remarks.empty()) s.out << " (" << day.remarks << ')';
  s.out << '\n';
  return Status::Done;
}

// The lines refused, each counted once.
std::size_t linesOf(const std::vector<journal::Refusal>& refusals) {
  std::vector<int> lines;
  for (const auto& refusal : refusals) lines.push_back(refusal.line);
  std::sort(lines.begin(), lines.end());
  return static_cast<std::size_t>(std::unique(lines.begin(), lines.end()) - lines.begin());
}

// "ligne 4 : …", in the order of the file, each message once; how many lines.
std::size_t listRefusals(std::vector<journal::Refusal> refusals, std::ostream& err) {
  std::stable_sort(refusals.begin(), refusals.end(),
                   [](const journal::Refusal& a, const journal::Refusal& b) { return a.line < b.line; });
  const auto same = [](const journal::Refusal& a, const journal::Refusal& b) {
    return a.line == b.line && a.message == b.message;
  };
  refusals.erase(std::unique(refusals.begin(), refusals.end(), same), refusals.end());
  for (const auto& refusal : refusals) err << "ligne " << refusal.line << " : " << refusal.message << '\n';
  return linesOf(refusals);
}

// Nothing imported because of refused lines, and whether --partiel would import others.
Status nothingImported(std::size_t lines, bool othersAccepted, std::ostream& err) {
  err << "Aucune observation importée (" << lines << (lines > 1 ? " lignes refusées)" : " ligne refusée)")
      << (othersAccepted ? " ; --partiel importe les autres lignes.\n" : ".\n");
  return Status::Refused;
}

// The observation of the observer chosen (--observateur, or the session's rule) at DATE
// HEURE; none when there is none or the choice is refused (said, `status` set).
std::optional<journal::Observation> observationAt(const journal::Session& session, const InstantRead& instant,
                                                  Request& s, Status& status) {
  const Day day = instant.observation.date;
  const journal::TimeOfDay time = instant.observation.time;
  const ObserverChoice choice = chooseObserver(session, s);
  if (choice.refused) {
    status = choice.status;
    return std::nullopt;
  }
  std::optional<journal::Observation> found;
  if (choice.observer && day.month >= 1 && day.month <= 12) {
    const auto month = session.journal().monthObservations(day.year, day.month, choice.observer->id);
    if (readFailed(month, s)) {
      status = Status::Failed;
      return std::nullopt;
    }
    for (const auto& observation : month.value)
      if (observation.date == day && observation.time == time) found = observation;
  }
  if (!found) {
    const std::string when = isoDate(day.year, day.month, day.day) + " à " + hourMinute(time.hour, time.minute);
    s.err << "Le journal n'a pas d'observation le " << when
          << (choice.observer ? " de l'observateur " + choice.observer->code : std::string()) << ".\n";
    status = Status::Refused;
  }
  return found;
}

// "le 3 février 2014 à 09:05, R = 109".
std::string observationText(const journal::Observation& observation) {
  return "le " + journal::dayText(observation.date) + " à " +
         hourMinute(observation.time.hour, observation.time.minute) +
         ", R = " + std::to_string(journal::relativeNumber(observation.counts.disc));
}

}  // namespace

Status addObservation(const Fields& f, Request& s) {
  const bool unobserved = s.has("--sans-observation");
  const auto instant = readInstant(f, unobserved);
  if (!instant) return Status::Usage;
  if (!instant->refusal.empty()) return s.refuse(instant->refusal);
  if (unobserved) return addUnobservedDay(*instant, s);
  journal::Observation observation = instant->observation;

  if (!s.has("--nord") && !s.has("--sud") && !s.has("--disque")) return s.refuse(kNoCounts);
  if (!countsGiven(s, observation.counts)) return Status::Refused;

  if (const std::string* seeing = s.value("--seeing")) {
    if (!(observation.seeing = scaleOf(*seeing, true))) return s.refuse(kSeeingMessage);
  }
  if (const std::string* transparency = s.value("--transparence")) {
    if (!(observation.transparency = scaleOf(*transparency, false))) return s.refuse(kTransparencyMessage);
  }
  if (const std::string* remarks = s.value("--remarque")) observation.remarks = *remarks;

  const Day now = today();
  if (saidProblems(journal::checkObservation(observation, now), s)) return Status::Refused;
  Status status = Status::Done;
  const std::optional<NewDay> opened = openForNewDay(s, status);
  if (!opened) return status;
  const journal::Change added = opened->session->journal().addObservation(observation, opened->code, now);
  if (!added.done()) return s.failed(added);
  const journal::Tally& counts = observation.counts;
  s.out << "Observation enregistrée : R = " << journal::relativeNumber(counts.disc);
  if (counts.split())
    s.out << " (nord " << journal::relativeNumber(*counts.north) << ", sud " << journal::relativeNumber(*counts.south)
          << ')';
  s.out << '\n';
  return Status::Done;
}

Status importLog(const Fields& f, Request& s) {
  if (f.size() != 1) return Status::Usage;
  std::string text;
  if (f[0] == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    if (std::cin.bad()) {
      s.err << "L'entrée standard n'a pas pu être lue.\n";
      return Status::Failed;
    }
  } else if (const std::string reason = readFileWhole(f[0], text); !reason.empty()) {
    s.err << "Le fichier « " << f[0] << " » n'a pas pu être lu : " << reason << ".\n";
    return Status::Failed;
  }
  const journal::ParsedLog log = journal::parseLog(text, today());
  const bool partial = s.has("--partiel");
  const std::size_t readRows = log.rows.size() + log.unobserved.size();
  // A wrong header, or every line refused: there is nothing to store, nor a journal to open.
  if (!log.refusals.empty() && (!partial || readRows == 0))
    return nothingImported(listRefusals(log.refusals, s.err), readRows > 0, s.err);
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  const journal::Imported imported = opened.importLog(log, partial, session->today());
  if (!imported.error.empty()) {
    s.err << imported.error << '\n';
    return Status::Failed;
  }
  // The parsed log's refusals and the journal's own (an observation it already holds).
  const std::size_t refused = listRefusals(imported.refusals, s.err);
  if (refused > 0 && !partial)
    return nothingImported(refused, refused < readRows + linesOf(log.refusals), s.err);
  s.out << "Observations importées : " << imported.stored;
  if (imported.unobservedStored > 0) s.out << " ; jours sans observation : " << imported.unobservedStored;
  s.out << '\n';
  return refused == 0 ? Status::Done : Status::Refused;
}

Status printMonth(const Fields& f, Request& s) {
  if (f.size() != 2) return Status::Usage;
  const auto month = monthOf(f, s);
  if (!month) return Status::Refused;
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  const ObserverChoice choice = chooseObserver(*session, s);
  if (choice.refused) return choice.status;
  const journal::Id observerId = choice.observer ? choice.observer->id : 0;
  const auto observations = opened.monthObservations(month->second, month->first, observerId);
  if (readFailed(observations, s)) return Status::Failed;
  const auto unobserved = opened.monthUnobservedDays(month->second, month->first, observerId);
  if (readFailed(unobserved, s)) return Status::Failed;
  const journal::MonthSheet sheet =
      journal::monthSheet(observations.value, s.decimalSeparator,
                          choice.observer ? choice.observer->chosenK : std::nullopt, unobserved.value);
  if (!sheet.rows.empty()) s.out << journal::sheetHeadingLine(sheet) << '\n';
  for (std::size_t row = 0; row < sheet.rows.size(); ++row) s.out << journal::sheetLine(sheet, row) << '\n';
  for (const auto& line : sheet.meansLines) s.out << line << '\n';
  return Status::Done;
}

// DATE HEURE and what changes: the counts, the seeing, the transparency, the remark, the
// date and time themselves (--date, --heure).
Status correctObservation(const Fields& f, Request& s) {
  const auto instant = readInstant(f);
  if (!instant) return Status::Usage;
  if (!instant->refusal.empty()) return s.refuse(instant->refusal);
  const auto session = s.open();
  if (!session) return Status::Failed;
  Status status = Status::Done;
  std::optional<journal::Observation> observation = observationAt(*session, *instant, s, status);
  if (!observation) return status;
  if (!countsGiven(s, observation->counts)) return Status::Refused;
  if (const std::string* seeing = s.value("--seeing")) {
    if (seeing->empty() || *seeing == "-")
      observation->seeing.reset();
    else if (!(observation->seeing = scaleOf(*seeing, true)))
      return s.refuse(kSeeingMessage);
  }
  if (const std::string* transparency = s.value("--transparence")) {
    if (transparency->empty() || *transparency == "-")
      observation->transparency.reset();
    else if (!(observation->transparency = scaleOf(*transparency, false)))
      return s.refuse(kTransparencyMessage);
  }
  if (const std::string* remarks = s.value("--remarque")) observation->remarks = *remarks;
  if (const std::string* date = s.value("--date")) {
    const auto moved = readInstant({*date, "0:00"});
    if (!moved || !moved->refusal.empty()) return s.refuse(kDateMessage);
    observation->date = moved->observation.date;
  }
  if (const std::string* time = s.value("--heure")) {
    const auto moved = readInstant({"2000-01-01", *time});
    if (!moved || !moved->refusal.empty()) return s.refuse(kTimeMessage);
    observation->time = moved->observation.time;
  }
  if (saidProblems(journal::checkObservation(*observation, session->today()), s)) return Status::Refused;
  const journal::Change changed = session->journal().updateObservation(*observation, session->today());
  if (!changed.done()) return s.failed(changed);
  s.out << "Observation corrigée : " << observationText(*observation) << '\n';
  return Status::Done;
}

// DATE HEURE [--observateur CODE], or DATE --sans-observation: struck out of the journal,
// an observation with its groups.
Status removeObservation(const Fields& f, Request& s) {
  const bool unobserved = s.has("--sans-observation");
  const auto instant = readInstant(f, unobserved);
  if (!instant) return Status::Usage;
  if (!instant->refusal.empty()) return s.refuse(instant->refusal);
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  if (unobserved) {
    const ObserverChoice choice = chooseObserver(*session, s);
    if (choice.refused) return choice.status;
    const Day day = instant->observation.date;
    std::optional<journal::UnobservedDay> found;
    if (choice.observer && day.month >= 1 && day.month <= 12) {
      const auto month = opened.monthUnobservedDays(day.year, day.month, choice.observer->id);
      if (readFailed(month, s)) return Status::Failed;
      for (const auto& marked : month.value)
        if (marked.date == day) found = marked;
    }
    if (!found) return s.refuse("Le journal n'a pas de jour sans observation le " + journal::dayText(day) + '.');
    if (const journal::Change removed = opened.removeUnobservedDay(found->id); !removed.done())
      return s.failed(removed);
    s.out << "Jour sans observation supprimé : " << journal::dayText(day) << '\n';
    return Status::Done;
  }
  Status status = Status::Done;
  const std::optional<journal::Observation> observation = observationAt(*session, *instant, s, status);
  if (!observation) return status;
  const auto read = opened.groups(observation->id);
  if (readFailed(read, s)) return Status::Failed;
  const std::size_t groups = read.value.size();
  if (const journal::Change removed = opened.removeObservation(observation->id); !removed.done())
    return s.failed(removed);
  s.out << "Observation supprimée : " << observationText(*observation);
  if (groups > 0) s.out << (groups == 1 ? ", avec son groupe" : ", avec ses " + std::to_string(groups) + " groupes");
  s.out << '\n';
  return Status::Done;
}

// DATE HEURE [--observateur CODE]: that observation becomes its day's, for the month's
// table and the reports.
Status retainObservation(const Fields& f, Request& s) {
  const auto instant = readInstant(f);
  if (!instant) return Status::Usage;
  if (!instant->refusal.empty()) return s.refuse(instant->refusal);
  const auto session = s.open();
  if (!session) return Status::Failed;
  Status status = Status::Done;
  const std::optional<journal::Observation> found = observationAt(*session, *instant, s, status);
  if (!found) return status;
  const journal::Change chosen = session->journal().chooseForDay(found->id);
  if (!chosen.done()) return s.failed(chosen);
  s.out << journal::retainedText(*found) << '\n';
  return Status::Done;
}

}  // namespace kavrel::cli::logbook
