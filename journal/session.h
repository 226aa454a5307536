// The observer's editing of the log: one engine for the Journal window and `kavrel
// journal`, which only read what the user gives it and show what it returns. No Qt.
//
// A session holds one journal (journal.h) and:
// - the observer whose log is shown, chosen by one rule for every front end: the code
//   given; else the one the user chose, or whose observation is open, in this session;
//   else the only observer who has observations (an observer who has none yet does not
//   count); else the journal's only observer. Where several have observations and none is
//   named, the choice is a question: the command asks for --observateur, the window shows
//   the one who observed last and lets the user choose;
// - the month shown, its observations and its sheet (month_sheet.h), read once after each
//   change rather than at every keystroke;
// - the observation being typed (or a day not observed, its weather): the form's texts,
//   read and checked at every keystroke (every problem at once, each naming its field and
//   quoting what was typed), stored when a field is left and the form differs from what
//   is stored, and the observation's groups;
// - undo, newest first: what is being typed in a field, the fields left and not yet
//   stored (a form the checks refuse), one by one, then the journal's changes of this
//   session, so that Ctrl+Z always takes back what its caption says;
// - one clock of Universal Time, given at opening: the day the checks call today, the
//   month a new session shows, the time a new observation starts with.
// Every reading returns its error with its value (Read, read.h), so that a journal that
// could not be read is said, never shown as an empty month.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/day_form.h"
#include "journal/group_from_spots.h"
#include "journal/journal.h"
#include "journal/month_sheet.h"
#include "journal/read.h"

namespace kavrel::journal {

// The computer's clock in UT unless a test gives another.
using UtClock = std::function<ClockReading()>;

// The outcome of a change asked of the session: stored, nothing to store, refused for
// what was given (the message names the fields), or not written (the journal's reason).
struct Outcome {
  enum class Kind { Stored, Unchanged, Refused, NotWritten };
  Kind kind = Kind::Unchanged;
  std::string message;
  Id id = 0;  // what was stored
  [[nodiscard]] bool failed() const noexcept { return kind == Kind::Refused || kind == Kind::NotWritten; }
  [[nodiscard]] bool stored() const noexcept { return kind == Kind::Stored; }
};

// The observer chosen by the session's rule (see above).
struct ObserverChoice {
  std::optional<Observer> observer;  // none: no observer yet, or `refusal`
  // Why none was chosen: a code the journal does not hold, several observers with
  // observations and none named, or a journal that could not be read (`unreadable`).
  std::string refusal;
  bool unreadable = false;
  // With several observers and none named, the one who observed last.
  std::optional<Observer> latest;
};

// The month shown: the observer's observations of it and its sheet.
struct MonthView {
  int year = 0;
  int month = 0;
  std::vector<Observation> observations;  // every one of the month, in date order
  std::vector<UnobservedDay> unobserved;  // the days not observed
  MonthSheet sheet;  // its rowObservations and rowUnobservedDays say what each row opens
};

class Session {
 public:
  struct Opened {
    std::unique_ptr<Session> session;  // none when the journal is refused
    std::string error;
  };
  // Opens (or creates) the journal at `path`; `decimalSeparator` is the user's (",").
  [[nodiscard]] static Opened open(const std::string& path, std::string decimalSeparator, UtClock clock = clockNow);

  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();

  [[nodiscard]] Journal& journal() noexcept { return *m_journal; }
  [[nodiscard]] const Journal& journal() const noexcept { return *m_journal; }
  [[nodiscard]] ClockReading now() const { return m_clock(); }
  [[nodiscard]] Day today() const { return now().day; }
  [[nodiscard]] const std::string& decimalSeparator() const noexcept { return m_separator; }

  // --- The observer ---------------------------------------------------------------------
  // The rule above; `code` empty when none is named.
  [[nodiscard]] ObserverChoice chooseObserver(std::string_view code = {}) const;
  // The observer shown (none in a journal without observers).
  [[nodiscard]] const std::optional<Observer>& observer() const noexcept { return m_observer; }
  // Shows the observer `id`: their month, and a new observation of theirs in the form;
  // false when they could not be read or are gone (`error`), nothing changed.
  bool showObserver(Id id, std::string* error = nullptr);
  // An observer's code, name and instrument changed (a network's code given to "OBS", say);
  // an empty name is the code.
  Outcome changeObserver(const Observer& given);
  // The observer shown as typed (day_form.h); in a journal without observers, the first
  // one, then shown. Refused with every problem of the fields, or a code another has.
  Outcome changeObserver(const ObserverTexts& texts);
  // Every observer, by code, for the user to choose the one shown.
  [[nodiscard]] Read<std::vector<Observer>> observers() const;

  // The k chosen for an observer (none: no k), kept in the journal; the month's mean R of
  // the observer shown is followed by it times k.
  Outcome chooseK(Id observerId, std::optional<double> k);

  // --- The month shown ------------------------------------------------------------------
  [[nodiscard]] int year() const noexcept { return m_year; }
  [[nodiscard]] int month() const noexcept { return m_month; }
  // Another month; a month outside the years 1 to 9999 is refused (nothing changes).
  bool showMonth(int year, int month);
  // The month chosen (1 to 12) in the year typed ("1975"); refused, saying why, when the
  // year is no year from 1 to 9999 (nothing changes).
  Outcome showMonth(int month, std::string_view yearText);
  // The month shown, read once and kept until a change or refresh().
  [[nodiscard]] const Read<MonthView>& monthView();
  // Another program may have written the journal: what is shown is read again.
  void refresh();

  // --- The observation typed ------------------------------------------------------------
  [[nodiscard]] const DayTexts& typed() const noexcept { return m_typed; }
  // The stored observation the form edits, 0 while it is a new one or a day not observed.
  [[nodiscard]] Id edited() const noexcept { return m_edited; }
  // The stored day not observed the form edits, 0 when none.
  [[nodiscard]] Id editedUnobserved() const noexcept { return m_unobserved ? m_unobserved->id : 0; }
  // What the form shows beside its fields for what is typed: R, the sums, the problems.
  [[nodiscard]] DayReading reading() const;
  // A keystroke: the texts typed so far, read and checked; nothing is stored.
  DayReading type(const DayTexts& texts);
  // A field left: what it changed can be taken back, and the form is stored when it can
  // be and differs from what is stored.
  Outcome leave(const DayTexts& texts);
  // Stores the form when it differs from what is stored. A new form into which nothing
  // but its date and time was typed stores nothing and refuses nothing.
  Outcome store();
  // A new observation of the observer shown, dated today in this month, else in the month
  // shown with its day and time left to type.
  void newObservation();
  // Today's month, with today's observation in the form when there is one (the day's, of
  // the observer shown), else a new one.
  void showToday();
  // The stored observation `id` in the form; false when it could not be read (`error`).
  bool openObservation(Id id, std::string* error = nullptr);
  // The stored day not observed `id` in the form (its "Sans observation" ticked).
  bool openUnobservedDay(Id id, std::string* error = nullptr);
  // The observation edited struck out with its groups (or the day not observed); the form
  // then holds a new one.
  Outcome removeObservation();
  // The observation edited made its day's (for the month's sheet and the reports).
  Outcome retainForDay();
  // The observations of the day edited, when there are several, as the window lists them.
  [[nodiscard]] std::vector<DayChoice> dayChoices();

  // --- The groups of the observation edited ---------------------------------------------
  [[nodiscard]] const Read<std::vector<Group>>& groups();
  // A new group as typed (its number the next one when none is typed); the form is stored
  // first, and a form that cannot be is said.
  Outcome addGroup(const GroupTexts& texts);
  Outcome storeGroup(Id id, const GroupTexts& texts);
  Outcome removeGroup(Id id);
  // A group of the spots measured in Disque, chosen by the observer.
  Outcome addGroupFromSpots(const std::vector<MeasuredSpot>& spots, GroupOrigin origin);
  // The form stored (or holding nothing new), so that groups can be added to it; else why
  // they must wait, with the form's problems.
  Outcome readyForGroups();

  // --- Undo -------------------------------------------------------------------------------
  // What Ctrl+Z will take back ("Annuler la saisie dans g nord", "Annuler l'ajout de
  // l'observation du 3 février 2014"); empty when nothing is left.
  [[nodiscard]] std::string undoCaption() const;
  Outcome undo();

 private:
  Session(std::unique_ptr<Journal> journal, std::string separator, UtClock clock);
  struct TypingStep {
    DayTexts before;
    std::string field;  // the caption of the field it changed
  };

  Outcome outcomeOf(const Change& change) const;
  void formFor(const std::optional<Observation>& stored, const DayTexts& texts);
  // The day not observed in the form, its observer's month shown.
  void formFor(const UnobservedDay& day);
  // The observer `id` as the journal holds them now; while it cannot be read, the one shown
  // is kept when it is theirs, else one known by that id alone, so that the month read next
  // says why rather than showing no observer's month.
  void takeObserver(Id id);
  Outcome storeUnobserved(const UnobservedDay& day);
  [[nodiscard]] bool untouched() const;
  void changed();  // what was read is read again when next asked for

  std::unique_ptr<Journal> m_journal;
  std::string m_separator;
  UtClock m_clock;
  std::optional<Observer> m_observer;
  bool m_observerChosen = false;  // by the user, or by the observation open: the rule's second step
  int m_year = 0;
  int m_month = 0;
  std::optional<Read<MonthView>> m_monthView;
  // The form: the observation it edits as stored, the texts typed, the texts as they were
  // when a field was last left, and what was typed and not stored since.
  Id m_edited = 0;
  std::optional<Observation> m_stored;
  std::optional<UnobservedDay> m_unobserved;
  DayTexts m_typed;
  DayTexts m_left;
  std::vector<TypingStep> m_typing;
  std::optional<Read<std::vector<Group>>> m_groups;
};

}  // namespace kavrel::journal
