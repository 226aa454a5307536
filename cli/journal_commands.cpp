#include "cli/journal_commands.h"

#include <sys/stat.h>

#include <QGuiApplication>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "common/calendar_date.h"
#include "common/file_bytes.h"
#include "common/fixed_decimals.h"
#include "common/calendar_date.h"
#include "journal/chart_series.h"
#include "journal/checks.h"
#include "journal/day_form.h"
#include "journal/group_records.h"
#include "journal/import.h"
#include "journal/journal.h"
#include "journal/month_sheet.h"
#include "journal/observer_k.h"
#include "journal/reports.h"
#include "journal/session.h"
#include "journal/silso.h"
#include "pictures/journal_charts.h"

namespace kavrel::cli {
namespace {

using journal::Counts;
using journal::Day;
using journal::Journal;
using journal::Observer;

// kDone and kRefused as everywhere; 1 is a file that cannot be read or written.
constexpr int kUnreadable = 1;

constexpr std::string_view kSynopsis =
    "journal [--fichier F] ajouter|retenir|importer|mois|rapport|sauvegarder|graphique|observateurs|groupes|jour|"
    "silso|silso-mois|k ...";
constexpr std::string_view kFileOption = "--fichier";
// How the journal starts a change it could not write, unlike one it refused: the file
// failed, or it can only be read.
constexpr std::string_view kNotWritten = "Le journal n'a pas été modifié";
constexpr std::string_view kReadOnly = "Ce journal est en lecture seule";
constexpr std::string_view kNoFileName = "kavrel : --fichier demande le nom du journal";
constexpr std::string_view kFileOptionPlace = "kavrel : --fichier F se donne juste après « journal »";
constexpr std::string_view kDateMessage = "Date : attendue sous la forme 2014-02-03 ou 3 2 2014.";
constexpr std::string_view kTimeMessage = "Heure TU : attendue sous la forme 09:05 ou 9 5.";
constexpr std::string_view kSeeingMessage = "Seeing : de 1 à 5, 5 le meilleur, ou une lettre E G F P.";
constexpr std::string_view kTransparencyMessage = "Transparence : de 1 à 5, 5 la meilleure.";
constexpr std::string_view kNoCounts =
    "kavrel : donnez les comptes, --nord G F --sud G F, ou --disque G F pour le disque entier";
constexpr std::string_view kUnobservedAlone =
    "kavrel : un jour --sans-observation n'a ni comptes, ni seeing, ni transparence ; sa remarque dit le temps";
constexpr std::string_view kMonthMessage = "Mois : un nombre de 1 à 12.";
constexpr std::string_view kYearMessage = "Année : un nombre entier, 2014 par exemple.";
constexpr std::string_view kNoFormat = "kavrel : choisissez le format du rapport, --format aavso|baa|ceslopol|csv";
constexpr std::string_view kUnknownFormat = "Format : aavso, baa, ceslopol ou csv.";
constexpr std::string_view kNoObserver = "Le journal n'a encore aucun observateur : il n'y a rien à rapporter.";
constexpr std::string_view kNoObservers = "Aucun observateur.";
constexpr std::string_view kRenameAlone = "kavrel : --renommer se donne seul, sans --ajouter";
constexpr std::string_view kObserverOptionsAlone =
    "kavrel : --ouverture, --focale et --methode se donnent avec --ajouter CODE NOM";
constexpr std::string_view kMethodMessage = "Méthode : projection, filtre ou photo.";
constexpr std::string_view kEmptyCode = "Code : l'observateur a besoin d'un code, HUZR par exemple.";
constexpr std::string_view kSourceMessage = "Source : greenwich ou srs.";
constexpr std::string_view kNoSilso =
    "Le journal n'a pas le nombre de SILSO de ce mois : importez SN_d_tot_V2.0.csv avec « kavrel journal silso "
    "FICHIER ».";
constexpr std::string_view kKMessage = "k : un nombre positif, 1,22 par exemple.";
constexpr std::string_view kNetworkK =
    "--k : le rapport d'un réseau garde les comptes bruts, dont le réseau tire lui-même le k de l'observateur ; --k "
    "ne vaut que pour --format csv.";
constexpr std::string_view kChooseKAlone = "kavrel : --choisir K se donne seul, avec --observateur CODE au besoin";
constexpr std::string_view kNoObserverForK = "Le journal n'a encore aucun observateur : il n'y a pas de k à choisir.";

struct Option {
  std::string_view name;
  int values = 0;  // the words that follow it
};

// What an action is given: its words, its options, and where to say things.
struct Request {
  std::string path;  // the journal's file
  std::string_view decimalSeparator;
  std::ostream& out;
  std::ostream& err;
  Given options;

  [[nodiscard]] bool has(std::string_view name) const { return options.contains(name); }
  [[nodiscard]] const std::string* value(std::string_view name, std::size_t index = 0) const {
    const auto found = options.find(name);
    return found == options.end() ? nullptr : &found->second.at(index);
  }
  int refuse(std::string_view message) const {
    err << message << '\n';
    return kRefused;
  }
  // The journal's editing session, the journal opened or created; none when refused, the
  // reason said with the file's name.
  [[nodiscard]] std::unique_ptr<journal::Session> open() const {
    journal::Session::Opened opened = journal::Session::open(path, std::string(decimalSeparator));
    if (opened.session) return std::move(opened.session);
    std::string reason = opened.error;
    if (reason.find(path) == std::string::npos) {
      if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z') reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
      reason = "Journal « " + path + " » : " + reason;
    }
    err << reason << '\n';
    return nullptr;
  }
  // A change refused for what was given (2), or not written (1), said.
  int failed(const journal::Change& change) const {
    err << change.error << '\n';
    return change.error.starts_with(kNotWritten) || change.error.starts_with(kReadOnly) ? kUnreadable : kRefused;
  }
};

// The observations are dated in UT, so today is the UT date: in the evening of the
// Americas it is already tomorrow's, in the morning of Asia still yesterday's. The
// session's clock, read before a journal is opened for what is given.
Day today() { return journal::clockNow().day; }

// The code a new day is stored under: --observateur's (a new code makes its observer),
// else the observer the session's rule chooses, else none (the journal's first observer is
// then made); nothing when the choice is refused (said, `status` set).
std::optional<std::string> codeForNewDay(const journal::Session& session, const Request& s, int& status) {
  if (const std::string* code = s.value("--observateur")) return *code;
  const journal::ObserverChoice choice = session.chooseObserver();
  if (!choice.refusal.empty()) {
    s.err << choice.refusal << '\n';
    status = choice.unreadable ? kUnreadable : kRefused;
    return std::nullopt;
  }
  return choice.observer ? choice.observer->code : std::string();
}

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
std::optional<NewDay> openForNewDay(const Request& s, int& status) {
  NewDay opened{s.open(), {}};
  if (!opened.session) {
    status = kUnreadable;
    return std::nullopt;
  }
  std::optional<std::string> code = codeForNewDay(*opened.session, s, status);
  if (!code) return std::nullopt;
  opened.code = std::move(*code);
  return opened;
}

// A whole word as a whole number, an optional minus sign before the digits.
std::optional<int> wholeNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  if (text.empty() || text.front() == '+') return std::nullopt;
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

// "2014-02-03" or "09:05": the numbers between the separators, `count` of them.
std::optional<std::vector<int>> numbersSplit(std::string_view text, char separator, std::size_t count) {
  std::vector<int> numbers;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    const auto number = wholeNumber(text.substr(start, end - start));
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (numbers.size() != count) return std::nullopt;
  return numbers;
}

// DATE HEURE as 2014-02-03 09:05, 3 2 2014 9 5, or a mix: the instant, or the message
// of the field that is wrong; none when the words do not make a date and a time (or, with
// `timeOptional`, a date alone).
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
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
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
int addUnobservedDay(const InstantRead& instant, Request& s) {
  for (const char* option : {"--nord", "--sud", "--disque", "--seeing", "--transparence"})
    if (s.has(option)) return s.refuse(kUnobservedAlone);
  journal::UnobservedDay day;
  day.date = instant.observation.date;
  if (instant.timed) day.time = instant.observation.time;
  if (const std::string* remarks = s.value("--remarque")) day.remarks = *remarks;
  const Day now = today();
  if (saidProblems(journal::checkUnobservedDay(day, now), s)) return kRefused;
  int status = kDone;
  const std::optional<NewDay> opened = openForNewDay(s, status);
  if (!opened) return status;
  const journal::Change added = opened->session->journal().addUnobservedDay(day, opened->code, now);
  if (!added.done()) return s.failed(added);
  s.out << "Jour sans observation enregistré : " << journal::dayText(day.date);
  if (!day.remarks.empty()) s.out << " (" << day.remarks << ')';
  s.out << '\n';
  return kDone;
}

int addObservation(const Fields& f, Request& s) {
  const bool unobserved = s.has("--sans-observation");
  const auto instant = readInstant(f, unobserved);
  if (!instant) return -1;
  if (!instant->refusal.empty()) return s.refuse(instant->refusal);
  if (unobserved) return addUnobservedDay(*instant, s);
  journal::Observation observation = instant->observation;

  if (!s.has("--nord") && !s.has("--sud") && !s.has("--disque")) return s.refuse(kNoCounts);
  if (!countsGiven(s, observation.counts)) return kRefused;

  if (const std::string* seeing = s.value("--seeing")) {
    if (!(observation.seeing = scaleOf(*seeing, true))) return s.refuse(kSeeingMessage);
  }
  if (const std::string* transparency = s.value("--transparence")) {
    if (!(observation.transparency = scaleOf(*transparency, false))) return s.refuse(kTransparencyMessage);
  }
  if (const std::string* remarks = s.value("--remarque")) observation.remarks = *remarks;

  const Day now = today();
  if (saidProblems(journal::checkObservation(observation, now), s)) return kRefused;
  int status = kDone;
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
  return kDone;
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
int nothingImported(std::size_t lines, bool othersAccepted, std::ostream& err) {
  err << "Aucune observation importée (" << lines << (lines > 1 ? " lignes refusées)" : " ligne refusée)")
      << (othersAccepted ? " ; --partiel importe les autres lignes.\n" : ".\n");
  return kRefused;
}

int importLog(const Fields& f, Request& s) {
  if (f.size() != 1) return -1;
  std::string text;
  if (f[0] == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    if (std::cin.bad()) {
      s.err << "L'entrée standard n'a pas pu être lue.\n";
      return kUnreadable;
    }
  } else if (const std::string reason = readFileWhole(f[0], text); !reason.empty()) {
    s.err << "Le fichier « " << f[0] << " » n'a pas pu être lu : " << reason << ".\n";
    return kUnreadable;
  }
  const journal::ParsedLog log = journal::parseLog(text, today());
  const bool partial = s.has("--partiel");
  const std::size_t readRows = log.rows.size() + log.unobserved.size();
  // A wrong header, or every line refused: there is nothing to store, nor a journal to open.
  if (!log.refusals.empty() && (!partial || readRows == 0))
    return nothingImported(listRefusals(log.refusals, s.err), readRows > 0, s.err);
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  const journal::Imported imported = opened.importLog(log, partial, session->today());
  if (!imported.error.empty()) {
    s.err << imported.error << '\n';
    return kUnreadable;
  }
  // The parsed log's refusals and the journal's own (an observation it already holds).
  const std::size_t refused = listRefusals(imported.refusals, s.err);
  if (refused > 0 && !partial)
    return nothingImported(refused, refused < readRows + linesOf(log.refusals), s.err);
  s.out << "Observations importées : " << imported.stored;
  if (imported.unobservedStored > 0) s.out << " ; jours sans observation : " << imported.unobservedStored;
  s.out << '\n';
  return refused == 0 ? kDone : kRefused;
}

// MOIS ANNEE as the month's numbers; the message of the wrong one.
std::optional<std::pair<int, int>> monthOf(const Fields& f, const Request& s) {
  const auto month = wholeNumber(f[0]);
  const auto year = wholeNumber(f[1]);
  if (!month || *month < 1 || *month > 12) {
    s.refuse(kMonthMessage);
    return std::nullopt;
  }
  if (!year || *year < 1 || *year > 9999) {
    s.refuse(kYearMessage);
    return std::nullopt;
  }
  return std::pair{*month, *year};
}

// A reading that failed says so (exit 1) rather than show an empty month.
template <class T>
bool readFailed(const journal::Read<T>& read, const Request& s) {
  if (read.ok()) return false;
  s.err << read.error << '\n';
  return true;
}

// The observer of --observateur, else the session's rule (journal/session.h); none when
// the journal has no observer yet, or when the choice is refused (said, with its status:
// 2 for a code unknown or several observers and none named, 1 for a journal unreadable).
struct ObserverChoice {
  std::optional<Observer> observer;
  bool refused = false;
  int status = kDone;
};
ObserverChoice chooseObserver(const journal::Session& session, const Request& s) {
  const std::string* code = s.value("--observateur");
  journal::ObserverChoice choice = session.chooseObserver(code ? std::string_view(*code) : std::string_view());
  if (choice.refusal.empty()) return {std::move(choice.observer)};
  s.err << choice.refusal << '\n';
  return {std::nullopt, true, choice.unreadable ? kUnreadable : kRefused};
}

int printMonth(const Fields& f, Request& s) {
  if (f.size() != 2) return -1;
  const auto month = monthOf(f, s);
  if (!month) return kRefused;
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  const ObserverChoice choice = chooseObserver(*session, s);
  if (choice.refused) return choice.status;
  const journal::Id observerId = choice.observer ? choice.observer->id : 0;
  const auto observations = opened.monthObservations(month->second, month->first, observerId);
  if (readFailed(observations, s)) return kUnreadable;
  const auto unobserved = opened.monthUnobservedDays(month->second, month->first, observerId);
  if (readFailed(unobserved, s)) return kUnreadable;
  const journal::MonthSheet sheet =
      journal::monthSheet(observations.value, s.decimalSeparator,
                          choice.observer ? choice.observer->chosenK : std::nullopt, unobserved.value);
  if (!sheet.rows.empty()) s.out << journal::sheetHeadingLine(sheet) << '\n';
  for (std::size_t row = 0; row < sheet.rows.size(); ++row) s.out << journal::sheetLine(sheet, row) << '\n';
  for (const auto& line : sheet.meansLines) s.out << line << '\n';
  return kDone;
}

// The observation of the observer chosen (--observateur, or the session's rule) at DATE
// HEURE; none when there is none or the choice is refused (said, `status` set).
std::optional<journal::Observation> observationAt(const journal::Session& session, const InstantRead& instant,
                                                  Request& s, int& status) {
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
      status = kUnreadable;
      return std::nullopt;
    }
    for (const auto& observation : month.value)
      if (observation.date == day && observation.time == time) found = observation;
  }
  if (!found) {
    char when[64];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d à %02d:%02d", day.year, day.month, day.day, time.hour,
                  time.minute);
    s.err << "Le journal n'a pas d'observation le " << when
          << (choice.observer ? " de l'observateur " + choice.observer->code : std::string()) << ".\n";
    status = kRefused;
  }
  return found;
}

// "le 3 février 2014 à 09:05, R = 109".
std::string observationText(const journal::Observation& observation) {
  char time[16];
  std::snprintf(time, sizeof time, "%02d:%02d", observation.time.hour, observation.time.minute);
  return "le " + journal::dayText(observation.date) + " à " + time +
         ", R = " + std::to_string(journal::relativeNumber(observation.counts.disc));
}

// DATE HEURE and what changes: the counts, the seeing, the transparency, the remark, the
// date and time themselves (--date, --heure).
int correctObservation(const Fields& f, Request& s) {
  const auto instant = readInstant(f);
  if (!instant) return -1;
  if (!instant->refusal.empty()) return s.refuse(instant->refusal);
  const auto session = s.open();
  if (!session) return kUnreadable;
  int status = kDone;
  std::optional<journal::Observation> observation = observationAt(*session, *instant, s, status);
  if (!observation) return status;
  if (!countsGiven(s, observation->counts)) return kRefused;
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
  if (saidProblems(journal::checkObservation(*observation, session->today()), s)) return kRefused;
  const journal::Change changed = session->journal().updateObservation(*observation, session->today());
  if (!changed.done()) return s.failed(changed);
  s.out << "Observation corrigée : " << observationText(*observation) << '\n';
  return kDone;
}

// DATE HEURE [--observateur CODE], or DATE --sans-observation: struck out of the journal,
// an observation with its groups.
int removeObservation(const Fields& f, Request& s) {
  const bool unobserved = s.has("--sans-observation");
  const auto instant = readInstant(f, unobserved);
  if (!instant) return -1;
  if (!instant->refusal.empty()) return s.refuse(instant->refusal);
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  if (unobserved) {
    const ObserverChoice choice = chooseObserver(*session, s);
    if (choice.refused) return choice.status;
    const Day day = instant->observation.date;
    std::optional<journal::UnobservedDay> found;
    if (choice.observer && day.month >= 1 && day.month <= 12) {
      const auto month = opened.monthUnobservedDays(day.year, day.month, choice.observer->id);
      if (readFailed(month, s)) return kUnreadable;
      for (const auto& marked : month.value)
        if (marked.date == day) found = marked;
    }
    if (!found) return s.refuse("Le journal n'a pas de jour sans observation le " + journal::dayText(day) + '.');
    if (const journal::Change removed = opened.removeUnobservedDay(found->id); !removed.done())
      return s.failed(removed);
    s.out << "Jour sans observation supprimé : " << journal::dayText(day) << '\n';
    return kDone;
  }
  int status = kDone;
  const std::optional<journal::Observation> observation = observationAt(*session, *instant, s, status);
  if (!observation) return status;
  const auto read = opened.groups(observation->id);
  if (readFailed(read, s)) return kUnreadable;
  const std::size_t groups = read.value.size();
  if (const journal::Change removed = opened.removeObservation(observation->id); !removed.done())
    return s.failed(removed);
  s.out << "Observation supprimée : " << observationText(*observation);
  if (groups > 0) s.out << (groups == 1 ? ", avec son groupe" : ", avec ses " + std::to_string(groups) + " groupes");
  s.out << '\n';
  return kDone;
}

// DATE HEURE [--observateur CODE]: that observation becomes its day's, for the month's
// table and the reports.
int retainObservation(const Fields& f, Request& s) {
  const auto instant = readInstant(f);
  if (!instant) return -1;
  if (!instant->refusal.empty()) return s.refuse(instant->refusal);
  const auto session = s.open();
  if (!session) return kUnreadable;
  int status = kDone;
  const std::optional<journal::Observation> found = observationAt(*session, *instant, s, status);
  if (!found) return status;
  const journal::Change chosen = session->journal().chooseForDay(found->id);
  if (!chosen.done()) return s.failed(chosen);
  s.out << journal::retainedText(*found) << '\n';
  return kDone;
}

// FICHIER, or --hemispheres FICHIER: SILSO's daily file kept whole in the journal.
int importSilso(const Fields& f, Request& s) {
  if (f.size() != 1) return -1;
  std::string text;
  if (const std::string reason = readFileWhole(f[0], text); !reason.empty()) {
    s.err << "Le fichier « " << f[0] << " » n'a pas pu être lu : " << reason << ".\n";
    return kUnreadable;
  }
  const bool hemispheric = s.has("--hemispheres");
  const journal::SilsoFile file =
      journal::parseSilso(text, hemispheric ? journal::SilsoFile::Kind::Hemispheric : journal::SilsoFile::Kind::Total);
  if (!file.error.empty()) {
    s.err << "Le fichier « " << f[0] << " » est refusé, " << file.error << " Le journal n'a pas été modifié.\n";
    return kRefused;
  }
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  if (const journal::Change stored = opened.importSilso(file); !stored.done()) return s.failed(stored);
  const auto provisional = std::count_if(file.days.begin(), file.days.end(),
                                         [](const journal::SilsoDay& day) { return !day.definitive; });
  s.out << (hemispheric ? "Nombres de SILSO par hémisphère importés : " : "Nombres de SILSO importés : ")
        << file.days.size() << " jours, dont " << provisional << " provisoires\n";
  return kDone;
}

std::string oneDecimal(double value, std::string_view decimalSeparator) {
  std::string text;
  appendFixed(text, journal::roundedToTenth(value), 1, decimalSeparator.empty() ? '.' : decimalSeparator.front());
  return text;
}

// SILSO's monthly mean of a month and its 13-month smoothed mean, from the days kept.
int printSilsoMonth(const Fields& f, Request& s) {
  if (f.size() != 2) return -1;
  const auto month = monthOf(f, s);
  if (!month) return kRefused;
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  const int m = month->first, year = month->second;
  const int index = year * 12 + m - 1;
  const auto day = [](int monthIndex, int dayOfMonth) {
    return Day{monthIndex / 12, monthIndex % 12 + 1, dayOfMonth};
  };
  const journal::Read<std::vector<journal::SilsoDay>> kept = opened.silsoDays(day(index - 6, 1), day(index + 6, 31));
  if (readFailed(kept, s)) return kUnreadable;
  const std::vector<journal::SilsoDay>& days = kept.value;
  const auto means = journal::monthlyMeans(days);
  const auto smoothed = journal::smoothed13(means);
  const auto found = std::find_if(means.begin(), means.end(),
                                  [&](const journal::MonthValue& v) { return v.year == year && v.month == m; });
  const auto ofTheMonth = [&](const journal::SilsoDay& d) { return d.date.year == year && d.date.month == m; };
  if (found == means.end() || std::none_of(days.begin(), days.end(), ofTheMonth)) return s.refuse(kNoSilso);
  const journal::MonthValue& smooth = smoothed[static_cast<std::size_t>(found - means.begin())];
  s.out << "Moyenne mensuelle : " << (found->value ? oneDecimal(*found->value, s.decimalSeparator) : "–") << " ("
        << found->days << (found->days == 1 ? " jour)" : " jours)") << '\n';
  s.out << "Moyenne lissée sur 13 mois : " << (smooth.value ? oneDecimal(*smooth.value, s.decimalSeparator) : "–")
        << '\n';
  return kDone;
}

std::optional<Day> dayOf(const std::string& text) {
  const auto ymd = numbersSplit(text, '-', 3);
  if (!ymd) return std::nullopt;
  const Day day{(*ymd)[0], (*ymd)[1], (*ymd)[2]};
  if (day.month < 1 || day.month > 12 || day.day < 1 || day.day > daysInMonth(day.year, day.month) ||
      day.year < 1 || day.year > 9999)
    return std::nullopt;
  return day;
}

// --choisir K: the k the user chose for the observer, stored in the journal; "" clears it.
int chooseK(const std::string& text, Request& s) {
  if (s.has("--du") || s.has("--au") || s.has("--par-mois")) return s.refuse(kChooseKAlone);
  const bool clear = text.find_first_not_of(" \t") == std::string::npos;
  const std::optional<double> k = clear ? std::nullopt : journal::chosenK(text);
  if (!clear && !k) return s.refuse(kKMessage);
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  const ObserverChoice choice = chooseObserver(*session, s);
  if (choice.refused) return choice.status;
  if (!choice.observer) return s.refuse(kNoObserverForK);
  if (const journal::Change stored = opened.setChosenK(choice.observer->id, k); !stored.done())
    return s.failed(stored);
  if (k)
    s.out << "k choisi pour " << choice.observer->code << " : " << journal::chosenKText(*k, s.decimalSeparator)
          << '\n';
  else
    s.out << "Aucun k choisi pour " << choice.observer->code << ".\n";
  return kDone;
}

// The observer's k over the days both the journal and SILSO have, after the k chosen when
// there is one.
int printK(const Fields& f, Request& s) {
  if (!f.empty()) return -1;
  if (const std::string* chosen = s.value("--choisir")) return chooseK(*chosen, s);
  Day first{1, 1, 1}, last{9999, 12, 31};
  for (const auto& [option, into] : {std::pair{"--du", &first}, std::pair{"--au", &last}}) {
    const std::string* text = s.value(option);
    if (!text) continue;
    const auto day = dayOf(*text);
    if (!day) {
      s.err << (option == std::string_view("--du") ? "Du" : "Au") << " : « " << *text
            << " » n'est pas une date (2014-02-03 attendu).\n";
      return kRefused;
    }
    *into = *day;
  }
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  const ObserverChoice choice = chooseObserver(*session, s);
  if (choice.refused) return choice.status;
  if (!choice.observer) return s.refuse(kNoObserver);
  if (choice.observer->chosenK)
    s.out << "k choisi : " << journal::chosenKText(*choice.observer->chosenK, s.decimalSeparator) << '\n';
  const auto read = opened.pairedDays(first, last, choice.observer->id);
  if (readFailed(read, s)) return kUnreadable;
  const std::vector<journal::PairedDay>& paired = read.value;
  if (static_cast<int>(paired.size()) < journal::kFewestPairedDays)
    return s.refuse(journal::tooFewDaysLine(static_cast<int>(paired.size())));
  // The hemispheres read before the k is printed, so that a failure does not follow half
  // an answer.
  std::vector<std::string> lines = journal::kLines(journal::estimateK(paired), s.decimalSeparator);
  for (const auto& [part, name] : {std::pair{Journal::Part::North, "nord"}, std::pair{Journal::Part::South, "sud"}}) {
    const auto hemisphere = opened.pairedDays(first, last, choice.observer->id, part);
    if (readFailed(hemisphere, s)) return kUnreadable;
    if (static_cast<int>(hemisphere.value.size()) >= journal::kFewestPairedDays)
      lines.push_back(journal::kHemisphereLine(name, journal::estimateK(hemisphere.value), s.decimalSeparator));
  }
  for (const auto& line : lines) s.out << line << '\n';
  if (s.has("--par-mois"))
    for (const auto& month : journal::estimateKByMonth(paired))
      s.out << journal::kMonthLine(month, s.decimalSeparator) << '\n';
  return kDone;
}

bool isFolder(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

int writeReport(const Fields& f, Request& s) {
  if (f.size() != 2) return -1;
  const auto month = monthOf(f, s);
  if (!month) return kRefused;
  const std::string* formatName = s.value("--format");
  if (!formatName) return s.refuse(kNoFormat);
  const auto format = journal::reportFormatNamed(*formatName);
  if (!format) return s.refuse(kUnknownFormat);
  // The networks derive the observer's k from the raw counts: their reports take none.
  const std::string* kText = s.value("--k");
  std::optional<double> k;
  if (kText) {
    if (!journal::carriesK(*format)) return s.refuse(kNetworkK);
    if (!(k = journal::chosenK(*kText))) return s.refuse(kKMessage);
  }
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  const ObserverChoice choice = chooseObserver(*session, s);
  if (choice.refused) return choice.status;
  if (!choice.observer) return s.refuse(kNoObserver);
  if (!kText && journal::carriesK(*format)) k = choice.observer->chosenK;
  const auto observations = opened.monthObservations(month->second, month->first, choice.observer->id);
  if (readFailed(observations, s)) return kUnreadable;
  const journal::Report report = journal::monthReport(*format, *choice.observer, month->second, month->first,
                                                      observations.value, s.decimalSeparator, k);
  const std::string* target = s.value("--sortie");
  if (!target) {
    s.out.write(report.bytes.data(), static_cast<std::streamsize>(report.bytes.size()));
    return kDone;
  }
  // Into a folder, under the name the network expects.
  std::string path = *target;
  if (isFolder(path)) path += (path.ends_with('/') ? "" : "/") + report.fileName;
  if (const std::string reason = writeFileWhole(path, report.bytes); !reason.empty()) {
    s.err << "Le fichier « " << path << " » n'a pas pu être écrit : " << reason << ".\n";
    return kUnreadable;
  }
  s.out << "Rapport enregistré : " << path << '\n';
  return kDone;
}

int saveCopy(const Fields& f, Request& s) {
  if (f.size() != 1) return -1;
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  if (const journal::Change saved = opened.saveCopy(f[0]); !saved.done()) {
    s.err << saved.error << '\n';
    return kUnreadable;
  }
  s.out << "Copie du journal enregistrée : " << f[0] << '\n';
  return kDone;
}

constexpr std::string_view kChartKindMessage = "Graphique : mensuel, k ou papillon.";
constexpr std::string_view kNoChartFile = "kavrel : choisissez le fichier du graphique, --png F, --svg F ou --pdf F";
constexpr std::string_view kTwoChartFiles = "kavrel : un seul fichier par graphique, --png, --svg ou --pdf";
constexpr std::string_view kYearsOrder = "Années : --du vient avant --au.";
// The notices of Qt's fonts off screen are not the user's business; its errors are.
void dropQtNotices(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

// --du or --au as a year; false when refused (said).
bool yearOption(const Request& s, std::string_view option, std::optional<int>& year) {
  const std::string* text = s.value(option);
  if (!text) return true;
  year = wholeNumber(*text);
  if (year && *year >= 1 && *year <= 9999) return true;
  s.refuse(kYearMessage);
  return false;
}

int drawChart(const Fields& f, Request& s) {
  if (f.size() != 1) return -1;
  const auto kind = journal::chartKindNamed(f[0]);
  if (!kind) return s.refuse(kChartKindMessage);
  static constexpr std::pair<std::string_view, journal::ChartFormat> kFormats[] = {
      {"--png", journal::ChartFormat::Png}, {"--svg", journal::ChartFormat::Svg}, {"--pdf", journal::ChartFormat::Pdf}};
  const std::pair<std::string_view, journal::ChartFormat>* format = nullptr;
  for (const auto& candidate : kFormats) {
    if (!s.has(candidate.first)) continue;
    if (format) return s.refuse(kTwoChartFiles);
    format = &candidate;
  }
  if (!format) return s.refuse(kNoChartFile);
  journal::ChartRequest request;
  request.kind = *kind;
  request.decimalSeparator = std::string(s.decimalSeparator);
  if (!yearOption(s, "--du", request.firstYear) || !yearOption(s, "--au", request.lastYear)) return kRefused;
  if (request.firstYear && request.lastYear && *request.firstYear > *request.lastYear) return s.refuse(kYearsOrder);
  if (const std::string* text = s.value("--k")) {
    request.k = journal::chosenK(*text);
    if (!request.k) return s.refuse(kKMessage);
  }
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  const ObserverChoice choice = chooseObserver(*session, s);
  if (choice.refused) return choice.status;
  if (choice.observer) {
    request.observerId = choice.observer->id;
    request.observerCode = choice.observer->code;
    if (!s.has("--k")) request.k = choice.observer->chosenK;
  }
  const journal::Read<journal::ChartData> data = journal::chartData(opened, request);
  if (readFailed(data, s)) return kUnreadable;
  const journal::Chart chart = journal::makeChart(data.value, request);
  if (!chart.note.empty()) return s.refuse(chart.note);

  // Painted with Qt's fonts, which need a graphical application; no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QtMessageHandler previous = qInstallMessageHandler(dropQtNotices);
  static int argc = 1;
  static char name[] = "kavrel";
  static char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);
  const std::string& path = *s.value(format->first);
  QString error;
  const bool written = journal::writeChart(QString::fromStdString(path), format->second, chart, &error);
  qInstallMessageHandler(previous);
  if (!written) {
    s.err << error.toStdString() << '\n';
    return kUnreadable;
  }
  s.out << "Graphique enregistré : " << path << '\n';
  return kDone;
}

// "HUZR : Jean Dupont, ouverture 80 mm, focale 1200 mm, projection"
std::string observerLine(const Observer& observer) {
  std::string line = observer.code + " : " + observer.name;
  if (const std::string instrument = journal::instrumentText(observer); !instrument.empty()) line += ", " + instrument;
  return line;
}

// --ajouter CODE NOM and the instrument: a new observer, or a name and an instrument given
// to a code the journal already has.
int addObserver(Journal& journal, Request& s) {
  Observer given;
  given.code = *s.value("--ajouter", 0);
  given.name = *s.value("--ajouter", 1);
  if (given.code.empty()) return s.refuse(kEmptyCode);
  if (given.name.empty()) given.name = given.code;
  const auto millimetres = [&](std::string_view option, std::string_view field, std::optional<int>& into) {
    const std::string* text = s.value(option);
    if (!text) return true;
    const auto value = wholeNumber(*text);
    if (!value || *value <= 0) {
      s.err << field << " : un nombre entier de millimètres (lu « " << *text << " »).\n";
      return false;
    }
    into = value;
    return true;
  };
  if (!millimetres("--ouverture", "Ouverture", given.apertureMm) ||
      !millimetres("--focale", "Focale", given.focalLengthMm))
    return kRefused;
  if (const std::string* method = s.value("--methode")) {
    static const std::map<std::string, journal::Method, std::less<>> kMethods{
        {"projection", journal::Method::Projection},
        {"filtre", journal::Method::FilterView},
        {"photo", journal::Method::Photograph}};
    const auto found = kMethods.find(*method);
    if (found == kMethods.end()) return s.refuse(kMethodMessage);
    given.method = found->second;
  }

  journal::Read<std::optional<Observer>> read = journal.observer(given.code);
  if (readFailed(read, s)) return kUnreadable;
  journal::Change stored;
  if (std::optional<Observer>& known = read.value) {
    known->name = given.name;
    if (given.apertureMm) known->apertureMm = given.apertureMm;
    if (given.focalLengthMm) known->focalLengthMm = given.focalLengthMm;
    if (given.method != journal::Method::Unknown) known->method = given.method;
    stored = journal.updateObserver(*known);
    given = *known;
  } else {
    stored = journal.addObserver(given);
  }
  if (!stored.done()) return s.failed(stored);
  s.out << "Observateur enregistré : " << observerLine(given) << '\n';
  return kDone;
}

// --renommer CODE NOUVEAU: the observer's code changed, checked as the window checks it.
int renameObserver(journal::Session& session, Request& s) {
  const std::string& code = *s.value("--renommer", 0);
  const std::string& renamed = *s.value("--renommer", 1);
  const journal::Read<std::optional<Observer>> named = session.journal().observer(code);
  if (readFailed(named, s)) return kUnreadable;
  const std::optional<Observer>& observer = named.value;
  if (!observer) return s.refuse("Observateur : le journal n'a pas d'observateur « " + code + " ».");
  journal::ObserverTexts texts = journal::observerTexts(*observer);
  texts.code = renamed;
  if (observer->name == observer->code) texts.name.clear();  // a name that was the code follows it
  const journal::ObserverReading read = journal::readObserver(texts, observer->id);
  if (!read.observer) {
    for (const auto& problem : read.problems) s.err << problem << '\n';
    return kRefused;
  }
  const journal::Outcome outcome = session.changeObserver(*read.observer);
  if (outcome.failed()) {
    s.err << outcome.message << '\n';
    return outcome.kind == journal::Outcome::Kind::NotWritten ? kUnreadable : kRefused;
  }
  s.out << "Observateur renommé : " << code << " devient " << read.observer->code << '\n';
  return kDone;
}

int listObservers(const Fields& f, Request& s) {
  if (!f.empty()) return -1;
  const bool adding = s.has("--ajouter");
  if (adding && s.has("--renommer")) return s.refuse(kRenameAlone);
  if (!adding && (s.has("--ouverture") || s.has("--focale") || s.has("--methode")))
    return s.refuse(kObserverOptionsAlone);
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  if (adding) return addObserver(opened, s);
  if (s.has("--renommer")) return renameObserver(*session, s);
  const auto observers = opened.observers();
  if (readFailed(observers, s)) return kUnreadable;
  if (observers.value.empty()) s.out << kNoObservers << '\n';
  for (const auto& observer : observers.value) s.out << observerLine(observer) << '\n';
  return kDone;
}

// ---------------------------------------------------------------------------------------
// Groups listed by others.

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

int importGroupFile(const std::string& name, Request& s) {
  std::string text;
  if (const std::string reason = readFileWhole(name, text); !reason.empty()) {
    s.err << "Le fichier « " << name << " » n'a pas pu être lu : " << reason << ".\n";
    return kUnreadable;
  }
  const journal::GroupFile file = journal::parseGroupFile(text);
  if (!file.error.empty()) {
    s.err << "ligne " << file.line << " : " << file.error << '\n' << "Aucun groupe importé.\n";
    return kRefused;
  }
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  if (const journal::Change imported = opened.importGroupRecords(file); !imported.done()) return s.failed(imported);
  const auto day = [](journal::Day d) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return std::string(text);
  };
  s.out << "Groupes importés (" << journal::groupSourceName(file.records.empty() ? journal::GroupSource::Srs
                                                                                 : file.records.front().source)
        << ") : " << file.records.size() << (file.records.size() > 1 ? " lignes" : " ligne");
  if (file.firstDay == file.lastDay)
    s.out << ", le " << day(file.firstDay) << '\n';
  else
    s.out << ", du " << day(file.firstDay) << " au " << day(file.lastDay) << '\n';
  return kDone;
}

int groupYearSummary(const std::string& yearText, Request& s) {
  const auto year = wholeNumber(yearText);
  if (!year || *year < 1 || *year > 9999) return s.refuse(kYearMessage);
  bool refused = false;
  const auto source = sourceOption(s, refused);
  if (refused) return kRefused;
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  const auto records = opened.groupRecords({*year, 1, 1}, {*year, 12, 31}, source);
  if (readFailed(records, s)) return kUnreadable;
  for (const auto& line : journal::groupYearLines(journal::groupYear(records.value), s.decimalSeparator))
    s.out << line << '\n';
  return kDone;
}

int groups(const Fields& f, Request& s) {
  if (f.size() != 2) return -1;
  if (f[0] == "importer") {
    if (s.has("--source")) return -1;
    return importGroupFile(f[1], s);
  }
  if (f[0] == "resume" || f[0] == "résumé") return groupYearSummary(f[1], s);
  return -1;
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

int groupDayCounts(const Fields& f, Request& s) {
  if (f.size() != 1 && f.size() != 3) return -1;
  const auto day = dayOf(f);
  if (!day || day->year < 1 || day->year > 9999 || day->month < 1 || day->month > 12 || day->day < 1 ||
      day->day > daysInMonth(day->year, day->month))
    return s.refuse(kDateMessage);
  bool refused = false;
  auto source = sourceOption(s, refused);
  if (refused) return kRefused;
  const auto session = s.open();
  if (!session) return kUnreadable;
  Journal& opened = session->journal();
  const auto read = opened.groupRecords(*day, *day, source);
  if (readFailed(read, s)) return kUnreadable;
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
    if (readFailed(covered, s)) return kUnreadable;
    if (covered.value) covering.push_back(candidate);
  }
  if (covering.empty()) {
    s.out << "Aucun fichier de groupes importé ne couvre ce jour.\n";
    return kDone;
  }
  // Two sources of one day would count its groups twice.
  if (covering.size() > 1)
    return s.refuse("Le journal tient les groupes de ce jour de deux sources : choisissez-en une avec "
                    "--source greenwich ou --source srs.");
  source = covering.front();
  for (const auto& line : journal::groupDayLines(*day, *source, journal::groupDay(records))) s.out << line << '\n';
  return kDone;
}

struct Action {
  std::string_view name;
  std::string_view synopsis;  // after "journal "
  HelpText summary;
  std::vector<Option> options;
  // The action's status, or -1 when its words do not fit its synopsis.
  int (*run)(const Fields&, Request&) = nullptr;
};

const std::vector<Action>& actions() {
  static const std::vector<Action> table{
      {"ajouter",
       "ajouter DATE HEURE --nord G F --sud G F | --disque G F [--seeing N] [--transparence N] "
       "[--observateur CODE] [--remarque TEXTE] | ajouter DATE [HEURE] --sans-observation [--remarque TEXTE] "
       "[--observateur CODE]",
       {"enregistre une observation : DATE 2014-02-03 ou 3 2 2014, HEURE TU 09:05 ou\n"
        "9 5, les nombres de groupes G et de taches F du nord et du sud, ou du disque\n"
        "entier ; seeing de 1 à 5 (5 le meilleur) ou E G F P, transparence de 1 à 5.\n"
        "Sans --observateur, le seul observateur qui a des observations (ou le seul du\n"
        "journal) ; un code nouveau crée son observateur. Affiche « Observation\n"
        "enregistrée : R = 109 (nord 25, sud 84) ».\n"
        "--sans-observation marque DATE comme un jour sans observation (nuages, pluie),\n"
        "la remarque disant le temps, l'heure si elle est donnée ; refusé pour un jour\n"
        "que l'observateur a observé",
        "records an observation: DATE 2014-02-03 or 3 2 2014, TIME (UT) 09:05 or 9 5,\n"
        "the numbers of groups G and of spots F of the north and the south, or of the\n"
        "whole disc; seeing 1 to 5 (5 the best) or E G F P, transparency 1 to 5.\n"
        "Without --observateur, the only observer who has observations (or the\n"
        "journal's only one); a new code creates its observer. Prints \"Observation\n"
        "enregistrée : R = 109 (nord 25, sud 84)\".\n"
        "--sans-observation marks DATE as a day not observed (clouds, rain), the\n"
        "remark saying the weather, the time kept when given; refused for a day the\n"
        "observer observed"},
       {{"--nord", 2}, {"--sud", 2}, {"--disque", 2}, {"--seeing", 1}, {"--transparence", 1},
        {"--observateur", 1}, {"--remarque", 1}, {"--sans-observation", 0}},
       addObservation},
      {"corriger",
       "corriger DATE HEURE [--nord G F --sud G F | --disque G F] [--seeing N] [--transparence N] "
       "[--remarque TEXTE] [--date NOUVELLE_DATE] [--heure NOUVELLE_HEURE] [--observateur CODE]",
       {"corrige l'observation de DATE à HEURE (écrites comme pour ajouter) : les comptes,\n"
        "le seeing et la transparence (« - » les efface), la remarque, et avec --date et\n"
        "--heure son jour et son heure ; ses groupes restent. Les vérifications\n"
        "d'ajouter s'appliquent. Affiche « Observation corrigée : le 3 février 2014 à\n"
        "09:05, R = 109 »",
        "corrects the observation of DATE at TIME (written as for ajouter): the counts,\n"
        "the seeing and the transparency (\"-\" clears them), the remark, and with --date\n"
        "and --heure its day and time; its groups stay. The checks of ajouter apply.\n"
        "Prints \"Observation corrigée : le 3 février 2014 à 09:05, R = 109\""},
       {{"--nord", 2}, {"--sud", 2}, {"--disque", 2}, {"--seeing", 1}, {"--transparence", 1}, {"--remarque", 1},
        {"--date", 1}, {"--heure", 1}, {"--observateur", 1}},
       correctObservation},
      {"supprimer", "supprimer DATE HEURE [--observateur CODE] | supprimer DATE --sans-observation",
       {"supprime l'observation de DATE à HEURE avec ses groupes, ou le jour sans\n"
        "observation DATE. Affiche « Observation supprimée : le 3 février 2014 à 09:05,\n"
        "R = 109 »",
        "removes the observation of DATE at TIME with its groups, or the day not\n"
        "observed DATE. Prints \"Observation supprimée : le 3 février 2014 à 09:05,\n"
        "R = 109\""},
       {{"--observateur", 1}, {"--sans-observation", 0}},
       removeObservation},
      {"retenir", "retenir DATE HEURE [--observateur CODE]",
       {"retient l'observation de DATE à HEURE (écrites comme pour ajouter) pour son\n"
        "jour : le tableau du mois, ses moyennes et les rapports la prennent au lieu de\n"
        "celle du meilleur seeing. Affiche « Observation retenue pour le 3 février\n"
        "2014 : 09:05, R = 109 » ; une observation qui n'existe pas est refusée",
        "keeps the observation of DATE at TIME (written as for ajouter) for its day:\n"
        "the month's table, its means and the reports take it instead of the one of the\n"
        "best seeing. Prints \"Observation retenue pour le 3 février 2014 : 09:05,\n"
        "R = 109\"; an observation that does not exist is refused"},
       {{"--observateur", 1}},
       retainObservation},
      {"importer", "importer FICHIER|- [--partiel]",
       {"importe le journal d'un tableur (FICHIER, ou l'entrée standard pour « - »),\n"
        "d'en-tête date;heure_tu;g_nord;f_nord;g_sud;f_sud;seeing;observateur;remarque,\n"
        "ou g_disque;f_disque à la place des quatre colonnes des hémisphères (« ; » avec\n"
        "la virgule décimale, « , » avec le point). Une ligne refusée, et rien n'est\n"
        "importé : chaque ligne refusée est listée, « ligne N : message » (l'en-tête est\n"
        "la ligne 1) ; --partiel importe les autres. Une ligne sans comptes, seeing ni\n"
        "transparence mais avec sa remarque (le temps : C, R, C-R…) est un jour sans\n"
        "observation. Affiche « Observations importées : 23 ; jours sans observation :\n"
        "8 »",
        "imports a spreadsheet's log (FICHIER, or the standard input for \"-\"), with\n"
        "the header date;heure_tu;g_nord;f_nord;g_sud;f_sud;seeing;observateur;remarque,\n"
        "or g_disque;f_disque in place of the four columns of the hemispheres (\";\"\n"
        "with the decimal comma, \",\" with the point). One refused line, and nothing is\n"
        "imported: each refused line is listed, \"ligne N : message\" (the header is\n"
        "line 1); --partiel imports the others. A line without counts, seeing nor\n"
        "transparency but with its remark (the weather: C, R, C-R...) is a day not\n"
        "observed. Prints \"Observations importées : 23 ; jours sans observation : 8\""},
       {{"--partiel", 0}},
       importLog},
      {"mois", "mois MOIS ANNEE [--observateur CODE]",
       {"le mois d'un observateur : une ligne par jour observé (l'observation du jour :\n"
        "celle choisie, sinon le meilleur seeing, puis la plus tôt) ou sans observation\n"
        "(« – » pour l'heure et les comptes), ses remarques au bout, puis les lignes\n"
        "« Jours d'observation », « Moyenne de R », « Moyenne de R nord », « Moyenne de\n"
        "R sud » et « Groupes par jour », moyennes sur les jours observés ; avec un k\n"
        "choisi (k --choisir), la moyenne de R multipliée suit : « (× 1,22 : 106,5) »",
        "an observer's month: one line per day observed (the day's observation: the\n"
        "one chosen, else the best seeing, then the earliest) or not observed (\"–\"\n"
        "for the time and the counts), its remarks last, then the lines \"Jours\n"
        "d'observation\", \"Moyenne de R\", \"Moyenne de R nord\", \"Moyenne de R sud\"\n"
        "and \"Groupes par jour\", means over the days observed; with a chosen k (k\n"
        "--choisir), the mean R multiplied follows: \"(× 1,22 : 106,5)\""},
       {{"--observateur", 1}},
       printMonth},
      {"rapport", "rapport MOIS ANNEE --format aavso|baa|ceslopol|csv [--sortie F] [--observateur CODE] [--k K]",
       {"le rapport du mois pour un réseau : aavso (le texte mensuel de sa section\n"
        "solaire, fichier CODEAAMM.RAW), baa (le formulaire en lumière blanche, en CSV),\n"
        "ceslopol (CSV en Windows-1250) ou csv (toutes les observations du mois, R nord\n"
        "et sud compris) ; sur la sortie standard, ou écrit entier dans F (dans un\n"
        "dossier : sous le nom que le réseau attend). --observateur quand le journal\n"
        "tient plusieurs observateurs. Les rapports des réseaux gardent les comptes\n"
        "bruts, dont chaque réseau tire lui-même le k de l'observateur : --k y est\n"
        "refusé. Le csv garde R tel que compté et, avec le k choisi (k --choisir) ou\n"
        "--k K, ajoute les colonnes k et R_k (R × k arrondi à l'entier)",
        "the month's report for a network: aavso (the monthly text of its solar\n"
        "section, file CODEYYMM.RAW), baa (the white-light form, as CSV), ceslopol (CSV\n"
        "in Windows-1250) or csv (every observation of the month, R north and south\n"
        "included); to the standard output, or written whole to F (into a folder:\n"
        "under the name the network expects). --observateur where the journal holds\n"
        "several observers. The networks' reports keep the raw counts, from which each\n"
        "network derives the observer's k itself: --k is refused there. The csv keeps\n"
        "R as counted and, with the chosen k (k --choisir) or --k K, adds the columns\n"
        "k and R_k (R × k rounded to the whole number)"},
       {{"--format", 1}, {"--sortie", 1}, {"--observateur", 1}, {"--k", 1}},
       writeReport},
      {"sauvegarder", "sauvegarder F",
       {"une copie du journal dans F, faite pendant qu'il sert, écrite entière ou pas du\n"
        "tout",
        "a copy of the journal in F, made while it is in use, written whole or not at\n"
        "all"},
       {},
       saveCopy},
      {"graphique",
       "graphique mensuel|k|papillon --png F | --svg F | --pdf F [--du A] [--au A] [--observateur CODE] [--k K]",
       {"un graphique du journal écrit entier en PNG, SVG ou PDF (sans écran) : mensuel\n"
        "(le R mensuel de l'observateur, multiplié par K avec --k, sinon par le k choisi,\n"
        "les moyennes mensuelles et lissées sur 13 mois de SILSO), k (le R quotidien de\n"
        "l'observateur contre le nombre international, la droite de K ou du k choisi,\n"
        "sinon du rapport des sommes) ou papillon (la latitude des groupes de\n"
        "l'observateur et des groupes importés au fil du temps, le nombre mensuel\n"
        "dessous) ; des années A de --du à --au, sinon celles de l'observateur",
        "a picture of the journal written whole as PNG, SVG or PDF (no display needed):\n"
        "mensuel (the observer's monthly R, multiplied by K with --k, else by the chosen\n"
        "k, SILSO's monthly and 13-month smoothed means), k (the observer's daily R\n"
        "against the international number, the line of K or of the chosen k, else of\n"
        "the ratio of sums) or papillon (the latitude of the observer's groups and of\n"
        "the imported ones over time, the monthly number under it); the years A from\n"
        "--du to --au, else the observer's"},
       {{"--png", 1}, {"--svg", 1}, {"--pdf", 1}, {"--du", 1}, {"--au", 1}, {"--observateur", 1}, {"--k", 1}},
       drawChart},
      {"observateurs",
       "observateurs [--ajouter CODE NOM [--ouverture MM] [--focale MM] [--methode projection|filtre|photo]] | "
       "observateurs --renommer CODE NOUVEAU_CODE",
       {"la liste des observateurs du journal ; --ajouter enregistre un observateur, ou\n"
        "donne un nom et un instrument à un code déjà connu : ouverture et focale en mm,\n"
        "méthode projection, filtre (vision directe) ou photo ; --renommer donne un autre\n"
        "code à un observateur (celui de son réseau, par exemple), ses observations le\n"
        "suivent",
        "the list of the journal's observers; --ajouter records an observer, or gives\n"
        "a name and an instrument to a known code: aperture and focal length in mm,\n"
        "method projection, filtre (direct view) or photo; --renommer gives an observer\n"
        "another code (their network's, say), their observations following"},
       {{"--ajouter", 2}, {"--ouverture", 1}, {"--focale", 1}, {"--methode", 1}, {"--renommer", 2}},
       listObservers},
      {"groupes", "groupes importer FICHIER | groupes resume ANNEE [--source greenwich|srs]",
       {"les groupes listés par d'autres, gardés à part de ceux de l'observateur :\n"
        "importer lit un fichier annuel gAAAA.txt de Greenwich ou de la NOAA (source\n"
        "greenwich) ou un résumé quotidien des régions SRS de la NOAA (source srs) ; il\n"
        "remplace les groupes de cette source des jours que le fichier couvre ; une ligne\n"
        "illisible et rien n'est importé. resume compte les groupes de l'année, chacun\n"
        "une fois, au nord ou au sud selon le signe de sa latitude moyenne :\n"
        "« Groupes : 512 », « Nord : 240 groupes, latitude moyenne 17,42° », « Sud : … »",
        "the groups listed by others, kept apart from the observer's: importer reads a\n"
        "yearly file gYYYY.txt of Greenwich or NOAA (source greenwich) or a daily NOAA\n"
        "Solar Region Summary SRS (source srs); it replaces that source's groups of the\n"
        "days the file covers; one unreadable line and nothing is imported. resume\n"
        "counts the year's groups, each once, north or south by the sign of its mean\n"
        "latitude: \"Groupes : 512\", \"Nord : 240 groupes, latitude moyenne 17,42°\"..."},
       {{"--source", 1}},
       groups},
      {"jour", "jour DATE [--source srs|greenwich]",
       {"les comptes d'un jour (DATE 2014-02-03 ou 3 2 2014) faits des groupes importés,\n"
        "comme mois donne ceux de l'observateur : g, f et R du nord, du sud et du disque ;\n"
        "f et R laissés vides (–) pour Greenwich, qui ne compte pas les taches.\n"
        "--source quand le journal tient le jour des deux sources",
        "a day's counts (DATE 2014-02-03 or 3 2 2014) made of the imported groups, as\n"
        "mois gives the observer's: g, f and R of the north, the south and the disc; f\n"
        "and R left empty (–) for Greenwich, which does not count spots. --source\n"
        "where the journal holds the day from both sources"},
       {{"--source", 1}},
       groupDayCounts},
      {"silso", "silso [--hemispheres] FICHIER",
       {"importe le fichier quotidien du nombre de taches international de SILSO,\n"
        "SN_d_tot_V2.0.csv, ou avec --hemispheres celui des hémisphères,\n"
        "SN_d_hem_V2.0.csv : le fichier entier, qui remplace celui de même sorte déjà\n"
        "importé, ses jours provisoires marqués. Une ligne mal formée refuse le\n"
        "fichier, avec son numéro, et laisse le journal tel quel",
        "imports SILSO's daily file of the international sunspot number,\n"
        "SN_d_tot_V2.0.csv, or with --hemispheres that of the hemispheres,\n"
        "SN_d_hem_V2.0.csv: the whole file, replacing the one of the same kind already\n"
        "imported, its provisional days marked. A malformed line refuses the file,\n"
        "with its number, and leaves the journal as it was"},
       {{"--hemispheres", 0}},
       importSilso},
      {"silso-mois", "silso-mois MOIS ANNEE",
       {"le nombre international du mois : « Moyenne mensuelle » (la moyenne simple des\n"
        "jours) et « Moyenne lissée sur 13 mois » (les mois m-6 et m+6 pesant ½, les\n"
        "onze entre eux 1, divisé par 12 ; « – » à moins de six mois des bouts du\n"
        "fichier)",
        "the month's international number: \"Moyenne mensuelle\" (the plain mean of the\n"
        "days) and \"Moyenne lissée sur 13 mois\" (the months m-6 and m+6 weighted ½,\n"
        "the eleven between 1, divided by 12; \"–\" within six months of the file's\n"
        "ends)"},
       {},
       printSilsoMonth},
      {"k", "k [--du DATE] [--au DATE] [--observateur CODE] [--par-mois] | k --choisir K [--observateur CODE]",
       {"le k de l'observateur, R international ≈ k · R de l'observateur, sur les jours\n"
        "que le journal et SILSO ont tous deux (DATE 2014-02-03) : le rapport des sommes\n"
        "ΣSN / ΣR (les jours de R = 0 comptent), la moyenne des rapports SN/R sur les\n"
        "jours de R > 0 avec leur écart type, et leur médiane ; k nord et k sud avec le\n"
        "fichier des hémisphères ; --par-mois, une ligne par mois. Il faut au moins 20\n"
        "jours communs. « k choisi : 1,22 » les précède quand un k est choisi.\n"
        "--choisir K garde dans le journal le k choisi pour l'observateur, que mois,\n"
        "graphique et rapport --format csv appliquent ; --choisir \"\" l'efface",
        "the observer's k, international R ≈ k · the observer's R, over the days both\n"
        "the journal and SILSO have (DATE 2014-02-03): the ratio of sums ΣSN / ΣR (days\n"
        "of R = 0 count), the mean of the ratios SN/R over the days of R > 0 with their\n"
        "standard deviation, and their median; k north and k south with the\n"
        "hemispheric file; --par-mois, one line per month. At least 20 common days\n"
        "are needed. \"k choisi : 1,22\" comes first when a k is chosen. --choisir K\n"
        "keeps in the journal the k chosen for the observer, which mois, graphique and\n"
        "rapport --format csv apply; --choisir \"\" clears it"},
       {{"--du", 1}, {"--au", 1}, {"--observateur", 1}, {"--par-mois", 0}, {"--choisir", 1}},
       printK},
  };
  return table;
}

void printActionUsage(const Action& action, std::ostream& err) {
  err << "Usage : kavrel journal [--fichier F] " << action.synopsis << '\n';
}

void printUsage(std::ostream& err) {
  err << "Usage : kavrel journal [--fichier F] ACTION ARGUMENTS...\n";
  for (const auto& action : actions()) err << "        kavrel journal " << action.synopsis << '\n';
}

}  // namespace

std::string_view journalSynopsis() { return kSynopsis; }

std::vector<Help::Subcommand> journalHelp() {
  std::vector<Help::Subcommand> entries{
      {"journal [--fichier F] ACTION",
       {"le journal de l'observateur (Journal) : ses comptes de groupes g et de taches f,\n"
        "nord et sud, R = 10g + f. Le journal est le fichier F, sinon\n"
        "$XDG_DATA_HOME/kavrel/journal.sqlite (~/.local/share/kavrel/journal.sqlite) ;\n"
        "un fichier qui n'existe pas est créé, vide. ACTION est l'une des suivantes",
        "the observer's log (Journal): the counts of groups g and spots f, north and\n"
        "south, R = 10g + f. The journal is the file F, else\n"
        "$XDG_DATA_HOME/kavrel/journal.sqlite (~/.local/share/kavrel/journal.sqlite);\n"
        "a file that does not exist is created, empty. ACTION is one of the following"}},
  };
  for (const auto& action : actions()) entries.push_back({"journal " + std::string(action.synopsis), action.summary});
  return entries;
}

namespace {

bool asksHelp(std::string_view word) { return word == "--help" || word == "-h"; }

// `kavrel journal --help`: what the journal is, then each action, as `kavrel --help` lists
// the subcommands.
void printJournalHelp(std::ostream& out) {
  const std::vector<Help::Subcommand> entries = journalHelp();
  out << "kavrel " << entries.front().synopsis << " ARGUMENTS...\n\n";
  writeIndented(out, entries.front().summary.french, "");
  out << " :\n";
  for (auto entry = entries.begin() + 1; entry != entries.end(); ++entry) {
    out << "  kavrel " << entry->synopsis << "\n      ";
    writeIndented(out, entry->summary.french, "      ");
    out << '\n';
  }
  out << "\nCodes de sortie : 0 fait ; 1 un fichier illisible ou impossible à écrire (le journal,\n"
         "un journal importé, un rapport, une copie), avec la raison ; 2 une demande refusée\n"
         "(usage, champ, ligne d'un journal importé).\n";
}

// `kavrel journal ACTION --help`.
void printActionHelp(const Action& action, std::ostream& out) {
  out << "Usage : kavrel journal [--fichier F] " << action.synopsis << "\n\n";
  writeIndented(out, action.summary.french, "");
  out << ".\n";
}

}  // namespace

int runJournal(const std::vector<std::string>& arguments, std::string_view decimalSeparator, std::ostream& out,
               std::ostream& err) {
  auto word = arguments.begin();
  if (word != arguments.end() && asksHelp(*word)) {
    printJournalHelp(out);
    return kDone;
  }
  std::string path;
  if (word != arguments.end() && *word == kFileOption) {
    if (arguments.end() - word < 2) {
      err << "kavrel : l'option « --fichier » demande une valeur\n";
      printUsage(err);
      return kRefused;
    }
    path = *++word;
    ++word;
    // SQLite would take the empty name for a temporary journal, gone at the end.
    if (path.empty()) {
      err << kNoFileName << '\n';
      return kRefused;
    }
  } else {
    path = journal::defaultJournalPath();
  }
  if (word == arguments.end()) {
    printUsage(err);
    return kRefused;
  }
  const auto& table = actions();
  const auto action = std::find_if(table.begin(), table.end(), [&](const Action& a) { return a.name == *word; });
  if (action == table.end()) {
    err << "kavrel : action du journal inconnue « " << *word << " »\n";
    printUsage(err);
    return kRefused;
  }

  if (std::any_of(word + 1, arguments.end(), [](const std::string& w) { return asksHelp(w); }) &&
      std::find(word + 1, arguments.end(), "--") == arguments.end()) {
    printActionHelp(*action, out);
    return kDone;
  }

  Request request{path, decimalSeparator, out, err, {}};
  Fields fields;
  bool optionsEnded = false;
  for (++word; word != arguments.end(); ++word) {
    if (!optionsEnded && *word == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || !word->starts_with("--")) {
      fields.push_back(*word);
      continue;
    }
    if (*word == kFileOption) {
      err << kFileOptionPlace << '\n';
      return kRefused;
    }
    const auto option = std::find_if(action->options.begin(), action->options.end(),
                                     [&](const Option& o) { return o.name == *word; });
    if (option == action->options.end()) {
      err << "kavrel : option inconnue « " << *word << " »\n";
      printActionUsage(*action, err);
      return kRefused;
    }
    if (request.options.contains(*word)) {
      err << "kavrel : l'option « " << *word << " » est donnée deux fois\n";
      return kRefused;
    }
    if (arguments.end() - word <= option->values) {
      err << "kavrel : l'option « " << *word << " » demande "
          << (option->values == 1 ? std::string("une valeur") : std::to_string(option->values) + " valeurs") << '\n';
      printActionUsage(*action, err);
      return kRefused;
    }
    std::vector<std::string>& values = request.options[*word];
    for (int i = 0; i < option->values; ++i) values.push_back(*++word);
  }
  const int status = action->run(fields, request);
  if (status < 0) {
    printActionUsage(*action, err);
    return kRefused;
  }
  return status;
}

}  // namespace kavrel::cli
