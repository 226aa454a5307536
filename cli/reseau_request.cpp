// The network's request and the words its actions read (see reseau_request.h).
#include "cli/reseau_request.h"

#include <algorithm>
#include <charconv>

#include "common/calendar_date.h"
#include "common/date_text.h"
#include "common/fixed_decimals.h"
#include "journal/day_form.h"

namespace kavrel::cli::network {
namespace {

constexpr std::string_view kQualityMessage = "Qualité : un nombre entier de 0 à 5.";
constexpr std::string_view kFewestMessage = "Jours communs : un nombre entier positif, 100 par exemple.";

std::optional<int> wholeNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

// --du or --au: a date, or a year taken from its first day (--du) or to its last (--au).
std::optional<int> periodEnd(const std::string& text, bool last) {
  if (const auto day = dayOf(text)) return reseau::dayNumber(*day);
  const auto year = wholeNumber(text);
  if (!year || *year < 1 || *year > 9999) return std::nullopt;
  return reseau::dayNumber(last ? Day{*year, 12, 31} : Day{*year, 1, 1});
}

}  // namespace

std::unique_ptr<Store> Request::open() const {
  Store::Opened opened = Store::open(file);
  if (opened.store) return std::move(opened.store);
  err << opened.error << '\n';
  return nullptr;
}

Status Request::failed(const reseau::Change& change) const {
  err << change.error << '\n';
  return change.failure == reseau::Change::Failure::NotWritten ? Status::Failed : Status::Refused;
}

std::optional<reseau::KOptions> Request::kOptions() const {
  reseau::KOptions k;
  k.first = reseau::dayNumber({1, 1, 1});
  k.last = reseau::dayNumber({9999, 12, 31});
  for (const auto& [option, last] : {std::pair{"--du", false}, std::pair{"--au", true}}) {
    const std::string* text = value(option);
    if (!text) continue;
    const std::optional<int> day = periodEnd(*text, last);
    if (!day) {
      refuse(kPeriodMessage);
      return std::nullopt;
    }
    (last ? k.last : k.first) = *day;
  }
  if (k.first > k.last) {
    refuse(kPeriodOrder);
    return std::nullopt;
  }
  if (const std::string* pilot = value("--pilote")) k.pilot = *pilot;
  if (const std::string* text = value("--qualite-min")) {
    const auto quality = wholeNumber(*text);
    if (!quality || *quality < 0 || *quality > 5) {
      refuse(kQualityMessage);
      return std::nullopt;
    }
    k.qualityAtLeast = *quality;
  }
  for (const auto& [option, target] : {std::pair{"--jours-min", &k.fewestDays}, {"--jours-min-annee", &k.fewestDaysInYear}}) {
    const std::string* text = value(option);
    if (!text) continue;
    const auto days = wholeNumber(*text);
    if (!days || *days < 1) {
      refuse(kFewestMessage);
      return std::nullopt;
    }
    *target = *days;
  }
  return k;
}

std::optional<reseau::NetworkRule> Request::rule() const {
  const std::string* text = value("--k");
  if (!text) return reseau::NetworkRule::Default;
  if (*text == "global") return reseau::NetworkRule::Global;
  refuse("k : « global » (un k par observateur sur toute la période), ou rien.");
  return std::nullopt;
}

bool Request::coverBase(reseau::KOptions& options, const Store& store) const {
  if (has("--du") && has("--au")) return true;
  const auto span = store.span();
  if (!span.ok()) {
    err << span.error << '\n';
    return false;
  }
  // A base without observations: today, so that the months asked stay few.
  const int today = reseau::dayNumber(journal::clockNow().day);
  const auto [first, last] = span.value.value_or(std::pair{today, today});
  if (!has("--du")) options.first = std::min(first, options.last);
  if (!has("--au")) options.last = std::max(last, options.first);
  return true;
}

std::optional<std::pair<int, int>> monthOf(const Fields& f, const Request& s) {
  const auto month = wholeNumber(f[0]);
  const auto year = wholeNumber(f[1]);
  if (!month || *month < 1 || *month > 12) {
    s.refuse("Mois : un nombre de 1 à 12.");
    return std::nullopt;
  }
  if (!year || *year < 1 || *year > 9999) {
    s.refuse("Année : un nombre entier, 2014 par exemple.");
    return std::nullopt;
  }
  return std::pair{*month, *year};
}

std::optional<Day> dayOf(std::string_view text) {
  const auto date = readIsoDate(text);
  if (!date || date->year < 1 || date->month < 1 || date->month > 12 || date->day < 1 ||
      date->day > daysInMonth(date->year, date->month))
    return std::nullopt;
  return Day{date->year, date->month, date->day};
}

std::string decimal(double value, int decimals, std::string_view separator) {
  std::string text;
  appendFixed(text, value, decimals, separator.empty() ? '.' : separator.front());
  return text;
}

}  // namespace kavrel::cli::network
