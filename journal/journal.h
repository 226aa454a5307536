// An observer's log kept in one SQLite file that the user owns (the engine of the Journal
// window and of `kavrel journal`; no Qt, so the command needs no display).
//
// The file: a schema version in PRAGMA user_version, migrated on opening when older;
// foreign keys on; WAL and a busy timeout, so that the window and the command may hold
// the same file at once; every change one transaction, so that a full disk, a read-only
// folder or a process killed in the middle leaves the journal as it was. A file that is
// not a journal, is of a newer version, or fails PRAGMA quick_check is refused with its
// reason and never written. A file that does not exist is created as an empty journal
// (its folder too). A journal that cannot be written (its file, its folder, its medium) is
// read, and says why every change is refused.
//
// Only SQLite opens the file: a descriptor of it opened and closed elsewhere in the process
// would drop the locks SQLite holds on it, and another program would then take the journal
// for free (see release()).
//
// Every answer that can fail is an outcome with a French reason, every reading a Read
// (read.h) whose error travels with its value; nothing here throws.
// The observation added without an observer's code goes to the journal's only observer,
// or to one created with the code "OBS" when there is none; a code met for the first time
// creates its observer, named as its code.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/group_list.h"
#include "journal/group_records.h"
#include "journal/import.h"
#include "journal/observer_k.h"
#include "journal/read.h"
#include "journal/records.h"
#include "journal/regions.h"
#include "journal/silso.h"

struct sqlite3;

namespace kavrel::journal {

// $XDG_DATA_HOME/kavrel/journal.sqlite, ~/.local/share/kavrel/journal.sqlite without it.
[[nodiscard]] std::string defaultJournalPath();

// What a change did: its id when it stored something, else the reason it was refused
// or failed ("Le journal n'a pas été modifié : plus de place sur le disque.") and which.
struct Change {
  std::string error;  // empty when done
  Id id = 0;
  Failure failure = Failure::Refused;  // when not done
  [[nodiscard]] bool done() const noexcept { return error.empty(); }
  [[nodiscard]] bool notWritten() const noexcept { return !done() && failure == Failure::NotWritten; }
};

struct Imported {
  int stored = 0;                 // observations stored (none when refused and not partial)
  int unobservedStored = 0;       // days not observed stored, alike
  std::vector<Refusal> refusals;  // the rows refused by the checks
  std::string error;              // the file could not be written: nothing stored
};

class Journal {
 public:
  struct Opened;
  // Opens or creates the journal at `path`.
  [[nodiscard]] static Opened open(const std::string& path);

  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;
  ~Journal();

  [[nodiscard]] const std::string& path() const noexcept { return path_; }

  // Whether the journal can only be read, and why ("Ce journal est en lecture seule : son
  // dossier /media/cd ne peut être écrit."), the reason every change is then refused with.
  [[nodiscard]] bool readOnly() const noexcept { return !readOnlyReason_.empty(); }
  [[nodiscard]] const std::string& readOnlyReason() const noexcept { return readOnlyReason_; }

  // The file let go while code the suite does not control may open it (a file dialog
  // reading a file's first bytes for its type, a thumbnailer): this process then holds no
  // lock on it to lose. Meanwhile every reading comes back empty with its error and
  // every change is refused. reacquire() takes the file again once it is checked to be the
  // same file, still a journal of this version (without the whole quick_check); else it
  // says why ("Le journal … a été remplacé …") and the journal stays let go, nothing
  // written. The undo history is kept.
  void release();
  [[nodiscard]] std::string reacquire();
  [[nodiscard]] bool released() const noexcept { return released_; }

  // Observers, by code.
  [[nodiscard]] Read<std::vector<Observer>> observers() const;
  [[nodiscard]] Read<std::optional<Observer>> observer(std::string_view code) const;
  [[nodiscard]] Read<std::optional<Observer>> observer(Id id) const;
  // The observers who have observations, the one who observed last first.
  [[nodiscard]] Read<std::vector<Id>> observersObserving() const;
  Change addObserver(const Observer& observer);
  // The observer's identity and instrument; its chosen k stays as it is.
  Change updateObserver(const Observer& observer);
  // The k chosen for an observer (none: cleared), above 0 and at most kLargestChosenK.
  Change setChosenK(Id observerId, std::optional<double> k);

  // Observations. `observerCode` empty: the observation's observerId when set, else the
  // default observer (see above). The checks of checks.h apply, against `today`; an
  // observer's second observation at the same minute is refused.
  Change addObservation(const Observation& observation, std::string_view observerCode, Day today);
  Change updateObservation(const Observation& observation, Day today);
  Change removeObservation(Id id);  // with its groups
  Change chooseForDay(Id id);       // the day's observation of its observer, for the reports
  [[nodiscard]] Read<std::optional<Observation>> observation(Id id) const;
  // An observer's observations of a month (every observer's with 0), in date order.
  [[nodiscard]] Read<std::vector<Observation>> monthObservations(int year, int month, Id observerId = 0) const;
  // Between two days inclusive, in date order.
  [[nodiscard]] Read<std::vector<Observation>> observationsBetween(Day first, Day last, Id observerId = 0) const;

  // Days not observed (records.h), one per observer and day. `observerCode` as for an
  // observation. A day the observer has an observation is refused, naming the day, and an
  // observation stored on a day not observed takes that mark away in its own transaction
  // (its undo gives it back).
  Change addUnobservedDay(const UnobservedDay& day, std::string_view observerCode, Day today);
  Change updateUnobservedDay(const UnobservedDay& day, Day today);
  Change removeUnobservedDay(Id id);
  [[nodiscard]] Read<std::optional<UnobservedDay>> unobservedDay(Id id) const;
  // An observer's days not observed of a month (every observer's with 0), in date order.
  [[nodiscard]] Read<std::vector<UnobservedDay>> monthUnobservedDays(int year, int month, Id observerId = 0) const;
  // Between two days inclusive, in date order.
  [[nodiscard]] Read<std::vector<UnobservedDay>> unobservedDaysBetween(Day first, Day last, Id observerId = 0) const;

  // Groups of an observation, by number.
  [[nodiscard]] Read<std::vector<Group>> groups(Id observationId) const;
  Change addGroup(const Group& group);
  Change updateGroup(const Group& group);
  Change removeGroup(Id id);

  // The rows of a parsed log in one transaction, its observations and its days not
  // observed: all or none, unless `partial`, when the refused rows are left out and the
  // others stored. A day the file both observes and not is refused as not observed.
  Imported importLog(const ParsedLog& log, bool partial, Day today);

  // The international number (journal_silso.cpp): a re-import replaces the series of its
  // kind (total or hemispheric) whole, in one transaction.
  Change importSilso(const SilsoFile& file);
  // SILSO's days between two days inclusive, total and hemispheres joined by date.
  [[nodiscard]] Read<std::vector<SilsoDay>> silsoDays(Day first, Day last) const;
  // The observer's day observations (month.h's choice) paired with SILSO's number of the
  // same day, for the disc or one hemisphere.
  enum class Part { Disc, North, South };
  [[nodiscard]] Read<std::vector<PairedDay>> pairedDays(Day first, Day last, Id observerId,
                                                        Part part = Part::Disc) const;

  // Groups listed by others (journal_groups.cpp), kept apart from the observer's own; a
  // re-import of a file replaces its source's records of the days it covers.
  Change importGroupRecords(const GroupFile& file);
  [[nodiscard]] Read<std::vector<GroupRecord>> groupRecords(Day first, Day last,
                                                            std::optional<GroupSource> source = std::nullopt) const;
  // Whether a file of `source` imported covered `day`, with groups or without.
  [[nodiscard]] Read<bool> groupDayCovered(Day day, GroupSource source) const;

  // The observer's own lists of groups (journal_lists.cpp), kept per observer apart from
  // the groups typed in observations and from the records of others: the groups of
  // `list` (read and placed, group_list.h) stored under `observerCode` (as for an
  // observation), replacing that observer's groups of every day the list covers, in one
  // transaction. A day of groups needs no observation. The id is the observer's.
  Change importGroupList(const GroupList& list, std::string_view observerCode);
  // An observer's imported groups between two days inclusive, by date, time and number;
  // the days their lists covered, with groups or without.
  [[nodiscard]] Read<std::vector<ListedGroup>> listedGroups(Day first, Day last, Id observerId) const;
  [[nodiscard]] Read<std::vector<Day>> listedGroupDays(Day first, Day last, Id observerId) const;

  // The groups of one source between two days inclusive, as the regions follow them, in
  // time order. Observer: the observer's imported groups and the groups typed in their
  // observations that have a latitude and a longitude or a distance (every observer's
  // without `observer`), numbered by their NOAA region where given. Greenwich, Srs: that
  // source's records, numbered by their group or region. A distance without its longitude
  // is placed with the precise ephemeris at the group's time; a group that cannot be
  // placed is left out.
  [[nodiscard]] Read<std::vector<Sighting>> sightings(Day first, Day last, RegionSource source,
                                                      std::optional<Id> observer = std::nullopt) const;

  // A live copy of the journal at `target` (SQLite's backup), written whole or not at all.
  Change saveCopy(const std::string& target) const;

  // The last change of this session undone (Ctrl+Z), one at a time back to the opening;
  // undoCaption() says what it will undo ("Annuler l'ajout de l'observation du 3 février
  // 2014"), empty when nothing is left.
  Change undo();
  [[nodiscard]] std::string undoCaption() const;

 private:
  explicit Journal(sqlite3* db, std::string path);
  struct UndoStep;
  sqlite3* db_ = nullptr;
  std::string path_;
  std::string readOnlyReason_;
  // How the file was opened, to open it alike again, and which file it was.
  std::string openedName_;
  int openedFlags_ = 0;
  unsigned long long device_ = 0;
  unsigned long long inode_ = 0;
  bool released_ = false;
  std::vector<std::unique_ptr<UndoStep>> undo_;
};

struct Journal::Opened {
  std::unique_ptr<Journal> journal;  // none when refused
  std::string error;                 // why: "Ce fichier n'est pas un journal de Kavrel."…
};

}  // namespace kavrel::journal
