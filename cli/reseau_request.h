// What every action of `kavrel reseau` shares: the request (the network's base, the
// options, the output streams), the base opened for it, the words read as dates and
// periods. Dates are the calendar's (UT). Qt-free.
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
#include "reseau/coefficients.h"
#include "reseau/store.h"

namespace kavrel::cli::network {

using reseau::Day;
using reseau::Store;

inline constexpr std::string_view kDateMessage = "Date : attendue sous la forme 2014-02-03.";
inline constexpr std::string_view kPeriodMessage = "Période : --du et --au, une date 2014-02-03 ou une année 2014.";
inline constexpr std::string_view kPeriodOrder = "Période : --du vient avant --au.";

// What an action is given (cli/family.h), and the base it opens.
struct Request : ActionRequest {
  // The base opened (a file created on first use); none when it cannot be, said.
  [[nodiscard]] std::unique_ptr<Store> open() const;
  // A change the base did not make, said, by its kind.
  Status failed(const reseau::Change& change) const;
  // The options every computation reads (--du, --au, --pilote, --qualite-min,
  // --jours-min, --jours-min-annee); none when one is refused (said).
  [[nodiscard]] std::optional<reseau::KOptions> kOptions() const;
  // --k global, or the default rule; none when refused (said).
  [[nodiscard]] std::optional<reseau::NetworkRule> rule() const;
  // The ends of the period not given (--du, --au) taken from the base's observations;
  // false when the base could not be read (said).
  [[nodiscard]] bool coverBase(reseau::KOptions& options, const Store& store) const;
};

// A row of the network's table.
using ReseauAction = FamilyAction<Request>;

[[nodiscard]] const std::vector<ReseauAction>& reseauActions();

// MOIS ANNEE as (month, year); refused (said) when one is wrong.
[[nodiscard]] std::optional<std::pair<int, int>> monthOf(const Fields& f, const Request& s);
// "2014-02-03" as a day; none for anything else.
[[nodiscard]] std::optional<Day> dayOf(std::string_view text);
// A reading that failed says so (failed) rather than show nothing.
template <class T>
[[nodiscard]] bool readFailed(const journal::Read<T>& read, const Request& s) {
  if (read.ok()) return false;
  s.err << read.error << '\n';
  return true;
}
// A number with `decimals` decimals and the request's separator.
[[nodiscard]] std::string decimal(double value, int decimals, std::string_view separator);

// The runs (reseau_base.cpp, reseau_numbers.cpp; reseau_pictures.cpp in kavrel-dessin).
[[nodiscard]] Status listObservers(const Fields& f, Request& s);
[[nodiscard]] Status importFile(const Fields& f, Request& s);
[[nodiscard]] Status importSilso(const Fields& f, Request& s);
[[nodiscard]] Status printK(const Fields& f, Request& s);
[[nodiscard]] Status printDay(const Fields& f, Request& s);
[[nodiscard]] Status printMonth(const Fields& f, Request& s);
[[nodiscard]] Status writeSeries(const Fields& f, Request& s);
[[nodiscard]] Status drawPicture(const Fields& f, Request& s);
[[nodiscard]] Status writeBulletin(const Fields& f, Request& s);

}  // namespace kavrel::cli::network
