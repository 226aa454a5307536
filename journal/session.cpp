// The observer's editing of the log (session.h).
#include "journal/session.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "journal/month.h"

namespace kavrel::journal {
namespace {

constexpr char kStoreFirst[] = "L'observation n'est pas encore enregistrée : corrigez-la d'abord.";
constexpr char kNothingToUndo[] = "Il n'y a rien à annuler.";
constexpr char kNoObservation[] = "Aucune observation n'est ouverte.";
constexpr char kGroupGone[] = "Ce groupe n'est plus dans le journal.";
constexpr char kObserverGone[] = "Cet observateur n'est plus dans le journal.";

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

std::string codesOf(const std::vector<Observer>& observers) {
  std::string codes;
  for (const Observer& observer : observers) codes += (codes.empty() ? "" : ", ") + observer.code;
  return codes;
}

Outcome refused(std::string message) { return {Outcome::Kind::Refused, std::move(message), 0}; }

bool blank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

// A decimal written so that it reads back the same, to the last bit.
std::string exactText(double value) {
  char text[400];  // the widest double written out in full
  const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return error == std::errc{} ? std::string(text, end) : std::string();
}

}  // namespace

Session::Session(std::unique_ptr<Journal> journal, std::string separator, UtClock clock)
    : m_journal(std::move(journal)), m_separator(std::move(separator)), m_clock(std::move(clock)) {
  const Day today = m_clock().day;
  m_year = today.year;
  m_month = today.month;
  const ObserverChoice choice = chooseObserver();
  m_observer = choice.observer ? choice.observer : choice.latest;
}

Session::~Session() = default;

Session::Opened Session::open(const std::string& path, std::string decimalSeparator, UtClock clock) {
  Journal::Opened opened = Journal::open(path);
  if (!opened.journal) return {nullptr, std::move(opened.error)};
  std::unique_ptr<Session> session(
      new Session(std::move(opened.journal), std::move(decimalSeparator), clock ? std::move(clock) : clockNow));
  session->newObservation();
  return {std::move(session), {}};
}

void Session::showToday() {
  const Day day = today();
  showMonth(day.year, day.month);
  const Read<MonthView>& month = monthView();
  if (month.ok()) {
    const std::vector<Observation> days = observationsOfDays(month.value.observations);
    if (!days.empty() && days.back().date == day && openObservation(days.back().id)) return;
  }
  newObservation();
}

Outcome Session::outcomeOf(const Change& change) const {
  if (change.done()) return {Outcome::Kind::Stored, {}, change.id};
  return {change.notWritten() ? Outcome::Kind::NotWritten : Outcome::Kind::Refused, change.error, 0};
}

void Session::changed() {
  m_monthView.reset();
  m_groups.reset();
}

void Session::refresh() {
  changed();
  if (m_observer)
    if (Read<std::optional<Observer>> again = m_journal->observer(m_observer->id); again.value)
      m_observer = std::move(again.value);
  // What the form edits may have been changed elsewhere: what is typed and not stored
  // stays; what is stored is read again. What cannot be read stays as it is shown, the
  // month's reading saying why.
  if (m_typed != m_left || !m_typing.empty()) return;
  if (m_edited) {
    const Read<std::optional<Observation>> stored = m_journal->observation(m_edited);
    if (stored.value)
      formFor(stored.value, dayTexts(*stored.value));
    else if (stored.ok())
      newObservation();
  } else if (m_unobserved) {
    const Read<std::optional<UnobservedDay>> day = m_journal->unobservedDay(m_unobserved->id);
    if (day.value)
      formFor(*day.value);
    else if (day.ok())
      newObservation();
  }
}

void Session::takeObserver(Id id) {
  Read<std::optional<Observer>> read = m_journal->observer(id);
  if (read.ok()) {
    m_observer = std::move(read.value);
  } else if (id && (!m_observer || m_observer->id != id)) {
    m_observer = Observer{};
    m_observer->id = id;
  }
}

// --- The observer ------------------------------------------------------------------------

ObserverChoice Session::chooseObserver(std::string_view code) const {
  const auto unreadable = [](const std::string& error) {
    ObserverChoice choice;
    choice.refusal = error;
    choice.unreadable = true;
    return choice;
  };
  ObserverChoice choice;
  if (!code.empty()) {
    Read<std::optional<Observer>> named = m_journal->observer(code);
    if (!named.ok()) return unreadable(named.error);
    choice.observer = std::move(named.value);
    if (!choice.observer) {
      const Read<std::vector<Observer>> all = m_journal->observers();
      if (!all.ok()) return unreadable(all.error);
      choice.refusal = "Observateur : le journal n'a pas d'observateur « " + std::string(code) + " »" +
                       (all.value.empty() ? std::string() : " (codes : " + codesOf(all.value) + ")") + '.';
    }
    return choice;
  }
  if (m_observer && m_observerChosen) {
    Read<std::optional<Observer>> chosen = m_journal->observer(m_observer->id);
    if (!chosen.ok()) return unreadable(chosen.error);
    choice.observer = std::move(chosen.value);
    if (choice.observer) return choice;
  }
  const Read<std::vector<Id>> observing = m_journal->observersObserving();
  if (!observing.ok()) return unreadable(observing.error);
  if (observing.value.size() == 1) {
    Read<std::optional<Observer>> only = m_journal->observer(observing.value.front());
    if (!only.ok()) return unreadable(only.error);
    choice.observer = std::move(only.value);
    return choice;
  }
  if (observing.value.size() > 1) {
    std::vector<Observer> observers;
    for (const Id id : observing.value) {
      Read<std::optional<Observer>> observer = m_journal->observer(id);
      if (!observer.ok()) return unreadable(observer.error);
      if (observer.value) observers.push_back(std::move(*observer.value));
    }
    if (!observers.empty() && observers.front().id == observing.value.front()) choice.latest = observers.front();
    std::sort(observers.begin(), observers.end(), [](const Observer& a, const Observer& b) { return a.code < b.code; });
    choice.refusal = "Le journal tient plusieurs observateurs (" + codesOf(observers) +
                     ") : choisissez-en un avec --observateur CODE.";
    return choice;
  }
  const Read<std::vector<Observer>> all = m_journal->observers();
  if (!all.ok()) return unreadable(all.error);
  if (all.value.size() == 1) choice.observer = all.value.front();
  return choice;
}

bool Session::showObserver(Id id, std::string* error) {
  Read<std::optional<Observer>> observer = m_journal->observer(id);
  if (!observer.value) {
    if (error) *error = observer.ok() ? kObserverGone : observer.error;
    return false;
  }
  m_observer = std::move(observer.value);
  m_observerChosen = true;
  changed();
  newObservation();
  return true;
}

Outcome Session::changeObserver(const Observer& given) {
  const Read<std::optional<Observer>> read = m_journal->observer(given.id);
  if (!read.ok()) return {Outcome::Kind::NotWritten, read.error, 0};
  if (!read.value) return refused(kObserverGone);
  const Observer* before = &*read.value;
  Observer observer = given;
  if (blank(observer.name)) observer.name = observer.code;
  if (observer.code == before->code && observer.name == before->name && observer.apertureMm == before->apertureMm &&
      observer.focalLengthMm == before->focalLengthMm && observer.method == before->method)
    return {};
  const Outcome outcome = outcomeOf(m_journal->updateObserver(observer));
  if (outcome.stored() && m_observer && m_observer->id == observer.id) m_observer = observer;
  changed();
  return outcome;
}

Outcome Session::chooseK(Id observerId, std::optional<double> k) {
  const Outcome outcome = outcomeOf(m_journal->setChosenK(observerId, k));
  if (outcome.stored() && m_observer && m_observer->id == observerId) {
    m_observer->chosenK = k;
    takeObserver(observerId);
  }
  changed();
  return outcome;
}

Outcome Session::changeObserver(const ObserverTexts& texts) {
  const ObserverReading read = readObserver(texts, m_observer ? m_observer->id : 0);
  if (!read.observer) return refused(joined(read.problems));
  if (m_observer) return changeObserver(*read.observer);
  const Outcome outcome = outcomeOf(m_journal->addObserver(*read.observer));
  // The form typed meanwhile stays: it becomes the new observer's.
  if (outcome.stored()) {
    m_observer = *read.observer;
    m_observer->id = outcome.id;
    if (m_observer->name.empty()) m_observer->name = m_observer->code;
    takeObserver(outcome.id);
    changed();
  }
  return outcome;
}

Read<std::vector<Observer>> Session::observers() const { return m_journal->observers(); }

// --- The month -----------------------------------------------------------------------------

bool Session::showMonth(int year, int month) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  if (year == m_year && month == m_month) return true;
  m_year = year;
  m_month = month;
  m_monthView.reset();
  return true;
}

Outcome Session::showMonth(int month, std::string_view yearText) {
  const MonthTyped typed = readMonth(month, yearText);
  if (!typed.first) return refused(typed.problem);
  if (typed.first->year == m_year && typed.first->month == m_month) return {};
  showMonth(typed.first->year, typed.first->month);
  return {Outcome::Kind::Stored, {}, 0};
}

const Read<MonthView>& Session::monthView() {
  if (m_monthView) return *m_monthView;
  Read<MonthView> read;
  MonthView& view = read.value;
  view.year = m_year;
  view.month = m_month;
  if (m_observer) {
    Read<std::vector<Observation>> observations = m_journal->monthObservations(m_year, m_month, m_observer->id);
    view.observations = std::move(observations.value);
    read.error = std::move(observations.error);
    if (read.ok()) {
      Read<std::vector<UnobservedDay>> unobserved = m_journal->monthUnobservedDays(m_year, m_month, m_observer->id);
      view.unobserved = std::move(unobserved.value);
      read.error = std::move(unobserved.error);
    }
  }
  view.sheet = monthSheet(view.observations, m_separator, m_observer ? m_observer->chosenK : std::nullopt,
                          view.unobserved);
  m_monthView = std::move(read);
  return *m_monthView;
}

// --- The form ------------------------------------------------------------------------------

void Session::formFor(const std::optional<Observation>& stored, const DayTexts& texts) {
  m_stored = stored;
  m_unobserved.reset();
  m_edited = stored ? stored->id : 0;
  m_typed = texts;
  m_left = texts;
  m_typing.clear();
  m_groups.reset();
}

DayReading Session::reading() const {
  Observation stored = m_stored.value_or(Observation{});
  if (m_unobserved) {
    stored.id = m_unobserved->id;
    stored.observerId = m_unobserved->observerId;
  }
  return readDay(m_typed, stored, today());
}

DayReading Session::type(const DayTexts& texts) {
  m_typed = texts;
  return reading();
}

bool Session::untouched() const {
  if (m_edited || m_unobserved) return false;
  const DayTexts& t = m_typed;
  return !t.notObserved && blank(t.seeing) && blank(t.transparency) && blank(t.remarks) && blank(t.groupsNorth) &&
         blank(t.spotsNorth) && blank(t.groupsSouth) && blank(t.spotsSouth) && blank(t.groupsDisc) &&
         blank(t.spotsDisc);
}

Outcome Session::leave(const DayTexts& texts) {
  m_typed = texts;
  if (texts != m_left) {
    m_typing.push_back({m_left, changedField(m_left, texts)});
    m_left = texts;
  }
  return store();
}

Outcome Session::store() {
  const DayReading read = reading();
  if (read.unobserved) return storeUnobserved(*read.unobserved);
  if (!read.observation) {
    if (untouched()) return {};
    return refused(joined(read.problems));
  }
  if (m_stored && sameObservation(*read.observation, *m_stored)) {
    m_typing.clear();
    return {};
  }
  Observation observation = *read.observation;
  if (!m_stored && m_observer) observation.observerId = m_observer->id;
  // A day not observed whose counts are now typed becomes an observation: the journal
  // takes the mark of its day away as it stores it.
  const Change change = m_stored ? m_journal->updateObservation(observation, today())
                                 : m_journal->addObservation(observation, {}, today());
  const Outcome outcome = outcomeOf(change);
  if (!outcome.stored()) return outcome;
  observation.id = change.id;
  if (!observation.observerId)
    if (const Read<std::optional<Observation>> stored = m_journal->observation(change.id); stored.value)
      observation.observerId = stored.value->observerId;
  if (!m_observer || m_observer->id != observation.observerId) takeObserver(observation.observerId);
  m_observerChosen = true;
  // The month shown follows the observation stored; what was typed is now the journal's
  // change, taken back as one.
  m_stored = observation;
  m_unobserved.reset();
  m_edited = observation.id;
  m_typing.clear();
  m_left = m_typed;
  m_year = observation.date.year;
  m_month = observation.date.month;
  changed();
  return outcome;
}

Outcome Session::storeUnobserved(const UnobservedDay& typed) {
  if (m_stored)
    return refused("Sans observation : cette observation a ses comptes ; rayez-la pour en faire un jour sans "
                   "observation.");
  UnobservedDay day = typed;
  if (m_unobserved) {
    day.id = m_unobserved->id;
    day.observerId = m_unobserved->observerId;
    if (day.date == m_unobserved->date && day.time == m_unobserved->time && day.remarks == m_unobserved->remarks) {
      m_typing.clear();
      return {};
    }
  } else if (m_observer) {
    day.observerId = m_observer->id;
  }
  const Change change = m_unobserved ? m_journal->updateUnobservedDay(day, today())
                                     : m_journal->addUnobservedDay(day, {}, today());
  const Outcome outcome = outcomeOf(change);
  if (!outcome.stored()) return outcome;
  const Read<std::optional<UnobservedDay>> stored = m_journal->unobservedDay(change.id);
  m_unobserved = stored.value ? *stored.value : day;
  if (!m_observer || m_observer->id != m_unobserved->observerId) takeObserver(m_unobserved->observerId);
  m_observerChosen = true;
  m_typing.clear();
  m_left = m_typed;
  m_year = m_unobserved->date.year;
  m_month = m_unobserved->date.month;
  changed();
  return outcome;
}

bool Session::openUnobservedDay(Id id, std::string* error) {
  const Read<std::optional<UnobservedDay>> day = m_journal->unobservedDay(id);
  if (!day.value) {
    if (error) *error = day.ok() ? "Ce jour sans observation n'est plus dans le journal." : day.error;
    return false;
  }
  formFor(*day.value);
  return true;
}

void Session::formFor(const UnobservedDay& day) {
  formFor(std::nullopt, dayTexts(day));
  m_unobserved = day;
  if (!m_observer || m_observer->id != day.observerId) {
    takeObserver(day.observerId);
    m_monthView.reset();
  }
  m_observerChosen = true;
  showMonth(day.date.year, day.date.month);
}

void Session::newObservation() {
  const ClockReading clock = now();
  DayTexts texts;
  if (clock.day.year == m_year && clock.day.month == m_month) {
    texts = newDayTexts(clock.day, clock.time);
  } else {
    texts.month = std::to_string(m_month);
    texts.year = std::to_string(m_year);
  }
  formFor(std::nullopt, texts);
}

bool Session::openObservation(Id id, std::string* error) {
  const Read<std::optional<Observation>> read = m_journal->observation(id);
  if (!read.value) {
    if (error) *error = read.ok() ? "Cette observation n'est plus dans le journal." : read.error;
    return false;
  }
  const Observation* stored = &*read.value;
  formFor(read.value, dayTexts(*stored));
  if (!m_observer || m_observer->id != stored->observerId) {
    takeObserver(stored->observerId);
    m_monthView.reset();
  }
  m_observerChosen = true;
  showMonth(stored->date.year, stored->date.month);
  return true;
}

Outcome Session::removeObservation() {
  if (m_unobserved) {
    const Outcome outcome = outcomeOf(m_journal->removeUnobservedDay(m_unobserved->id));
    if (!outcome.stored()) return outcome;
    changed();
    newObservation();
    return outcome;
  }
  if (!m_edited) {
    newObservation();
    return {};
  }
  const Outcome outcome = outcomeOf(m_journal->removeObservation(m_edited));
  if (!outcome.stored()) return outcome;
  changed();
  newObservation();
  return outcome;
}

Outcome Session::retainForDay() {
  if (const Outcome stored = store(); stored.failed()) return stored;
  if (!m_edited) return refused(kNoObservation);
  const Outcome outcome = outcomeOf(m_journal->chooseForDay(m_edited));
  if (outcome.stored()) {
    changed();
    if (m_stored) m_stored->chosenForDay = true;
  }
  return outcome;
}

std::vector<DayChoice> Session::dayChoices() {
  if (!m_stored) return {};
  const Read<MonthView>& view = monthView();
  if (m_stored->date.year != view.value.year || m_stored->date.month != view.value.month) return {};
  return journal::dayChoices(view.value.observations, m_stored->date);
}

// --- Groups --------------------------------------------------------------------------------

const Read<std::vector<Group>>& Session::groups() {
  if (m_groups) return *m_groups;
  Read<std::vector<Group>> read;
  if (m_edited) read = m_journal->groups(m_edited);
  m_groups = std::move(read);
  return *m_groups;
}

Outcome Session::readyForGroups() {
  if (m_typed.notObserved) return refused("Un jour sans observation n'a pas de groupes.");
  const Outcome stored = store();
  if (stored.kind == Outcome::Kind::NotWritten) return stored;
  if (m_edited && !stored.failed()) return {};
  const std::vector<std::string> problems = reading().problems;
  return refused(std::string(kStoreFirst) + (problems.empty() ? "" : "\n" + joined(problems)));
}

Outcome Session::addGroup(const GroupTexts& texts) {
  if (const Outcome ready = readyForGroups(); ready.failed()) return ready;
  GroupTexts typed = texts;
  if (blank(typed.number)) {
    const Read<std::vector<Group>>& stored = groups();
    if (!stored.ok()) return {Outcome::Kind::NotWritten, stored.error, 0};
    typed.number = std::to_string(nextGroupNumber(stored.value));
  }
  const GroupReading read = readGroup(typed, 0, m_edited, GroupOrigin::Typed, m_separator);
  if (!read.group) return refused(joined(read.problems));
  const Outcome outcome = outcomeOf(m_journal->addGroup(*read.group));
  if (outcome.stored()) m_groups.reset();
  return outcome;
}

Outcome Session::storeGroup(Id id, const GroupTexts& texts) {
  const Read<std::vector<Group>>& kept = groups();
  if (!kept.ok()) return {Outcome::Kind::NotWritten, kept.error, 0};
  const std::vector<Group>& stored = kept.value;
  const auto found = std::find_if(stored.begin(), stored.end(), [id](const Group& g) { return g.id == id; });
  if (found == stored.end()) return refused(kGroupGone);
  // A decimal left as shown, rounded, keeps what is stored: a group measured in Disque
  // keeps its B, L, DMC and area whole when its class is typed (and an L of 359,998, shown
  // 360,00, stays within its range).
  GroupTexts typed = texts;
  const GroupTexts shown = groupTexts(*found, m_separator);
  const struct {
    std::string GroupTexts::*text;
    std::optional<double> Group::*value;
  } decimals[] = {{&GroupTexts::latitude, &Group::latitude},
                  {&GroupTexts::longitude, &Group::longitude},
                  {&GroupTexts::centralMeridianDistance, &Group::centralMeridianDistance},
                  {&GroupTexts::area, &Group::areaMsh}};
  for (const auto& decimal : decimals)
    if (typed.*decimal.text == shown.*decimal.text && (*found).*decimal.value)
      typed.*decimal.text = exactText(*((*found).*decimal.value));
  const GroupReading read = readGroup(typed, id, m_edited, found->origin, m_separator);
  if (!read.group) return refused(joined(read.problems));
  if (groupCells(*read.group, m_separator) == groupCells(*found, m_separator) &&
      read.group->latitude == found->latitude && read.group->longitude == found->longitude &&
      read.group->centralMeridianDistance == found->centralMeridianDistance && read.group->areaMsh == found->areaMsh)
    return {};
  const Outcome outcome = outcomeOf(m_journal->updateGroup(*read.group));
  if (outcome.stored()) m_groups.reset();
  return outcome;
}

Outcome Session::removeGroup(Id id) {
  const Outcome outcome = outcomeOf(m_journal->removeGroup(id));
  if (outcome.stored()) m_groups.reset();
  return outcome;
}

Outcome Session::addGroupFromSpots(const std::vector<MeasuredSpot>& spots, GroupOrigin origin) {
  if (spots.empty()) return refused("Aucune tache choisie : le groupe n'a pas été ajouté.");
  if (const Outcome ready = readyForGroups(); ready.failed()) return ready;
  const Read<std::vector<Group>>& stored = groups();
  if (!stored.ok()) return {Outcome::Kind::NotWritten, stored.error, 0};
  Group group = groupFromSpots(spots, nextGroupNumber(stored.value), origin);
  group.observationId = m_edited;
  const Outcome outcome = outcomeOf(m_journal->addGroup(group));
  if (outcome.stored()) m_groups.reset();
  return outcome;
}

// --- Undo ----------------------------------------------------------------------------------

std::string Session::undoCaption() const {
  if (m_typed != m_left) return "Annuler la saisie dans " + changedField(m_left, m_typed);
  if (!m_typing.empty()) return "Annuler la saisie dans " + m_typing.back().field;
  return m_journal->undoCaption();
}

Outcome Session::undo() {
  // What is being typed in a field, then the fields left without being stored.
  if (m_typed != m_left) {
    m_typed = m_left;
    return {Outcome::Kind::Stored, {}, m_edited};
  }
  if (!m_typing.empty()) {
    m_typed = m_left = m_typing.back().before;
    m_typing.pop_back();
    return {Outcome::Kind::Stored, {}, m_edited};
  }
  if (m_journal->undoCaption().empty()) return refused(kNothingToUndo);
  const Outcome outcome = outcomeOf(m_journal->undo());
  if (!outcome.stored()) return outcome;
  changed();
  // The observer shown as they now stand: renamed back, or gone where the change undone
  // made them.
  if (m_observer) {
    Read<std::optional<Observer>> again = m_journal->observer(m_observer->id);
    if (again.value) {
      m_observer = std::move(again.value);
    } else if (again.ok()) {
      const ObserverChoice choice = chooseObserver();
      m_observer = choice.observer ? choice.observer : choice.latest;
    }
  }
  // The observation edited as it now stands, or a new one where the change undone was its
  // making.
  if (m_unobserved) {
    if (!openUnobservedDay(m_unobserved->id)) newObservation();
  } else if (!m_edited || !openObservation(m_edited)) {
    newObservation();
  }
  return outcome;
}

}  // namespace kavrel::journal
