// What every action of `kavrel journal` shares: the request (the journal's file, the
// options, the output streams), the journal opened for it, the words read as numbers,
// months and days, and the observer chosen. Dates are the calendar's (UT), months 1 to
// 12, years 1 to 9999. Qt-free.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/family.h"
#include "cli/help_text.h"
#include "cli/options.h"
#include "cli/status.h"
#include "journal/journal.h"
#include "journal/session.h"

namespace kavrel::cli::logbook {

using journal::Counts;
using journal::Day;
using journal::Journal;
using journal::Observer;

inline constexpr std::string_view kDateMessage = "Date : attendue sous la forme 2014-02-03 ou 3 2 2014.";
inline constexpr std::string_view kTimeMessage = "Heure TU : attendue sous la forme 09:05 ou 9 5.";
inline constexpr std::string_view kMonthMessage = "Mois : un nombre de 1 à 12.";
inline constexpr std::string_view kYearMessage = "Année : un nombre entier, 2014 par exemple.";
inline constexpr std::string_view kKMessage = "k : un nombre positif, 1,22 par exemple.";
inline constexpr std::string_view kNoObserver =
    "Le journal n'a encore aucun observateur : il n'y a rien à rapporter.";

// What an action is given (cli/family.h), and the journal it opens.
struct Request : ActionRequest {
  // The journal's editing session, the journal opened or created; none when it cannot be,
  // the reason said with the file's name.
  [[nodiscard]] std::unique_ptr<journal::Session> open() const;
  // A change the journal did not make, said: refused for what was given, or failed when
  // the journal could not be written (a full disc, a read-only journal).
  Status failed(const journal::Change& change) const;
};

// A row of the journal's table.
using JournalAction = FamilyAction<Request>;

// The observations are dated in UT, so today is the UT date: in the evening of the
// Americas it is already tomorrow's, in the morning of Asia still yesterday's. The
// session's clock, read before a journal is opened for what is given.
[[nodiscard]] Day today();

// A whole word as a whole number, an optional minus sign before the digits.
[[nodiscard]] std::optional<int> wholeNumber(std::string_view text);
// "2014-02-03" or "09:05": the numbers between the separators, `count` of them.
[[nodiscard]] std::optional<std::vector<int>> numbersSplit(std::string_view text, char separator, std::size_t count);

// MOIS ANNEE as the month's numbers (month, year); refused (said) when one is wrong.
[[nodiscard]] std::optional<std::pair<int, int>> monthOf(const Fields& f, const Request& s);

// A reading that failed says so (failed) rather than show an empty month.
template <class T>
[[nodiscard]] bool readFailed(const journal::Read<T>& read, const Request& s) {
  if (read.ok()) return false;
  s.err << read.error << '\n';
  return true;
}

// The observer of --observateur, else the session's rule (journal/session.h); none when
// the journal has no observer yet, or when the choice is refused (said, with its kind:
// refused for a code unknown or several observers and none named, failed for a journal
// unreadable).
struct ObserverChoice {
  std::optional<Observer> observer;
  bool refused = false;
  Status status = Status::Done;
};
[[nodiscard]] ObserverChoice chooseObserver(const journal::Session& session, const Request& s);

// The code new rows (a day, an imported list) are stored under: --observateur's (a new
// code makes its observer), else the observer the session's rule chooses, else "" (the
// journal's first observer is then made); none when the choice is refused (said, `status`
// set).
[[nodiscard]] std::optional<std::string> observerCodeToStore(const journal::Session& session, const Request& s,
                                                             Status& status);

}  // namespace kavrel::cli::logbook
