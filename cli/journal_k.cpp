// SILSO's numbers and the observer's k in `kavrel journal`: silso (the daily file
// imported), silso-mois (a month's mean and its 13-month smoothed mean) and k (the ratio
// of the international number to the observer's R, chosen or estimated). Qt-free.
#include "cli/journal_runs.h"

#include <algorithm>

#include "common/calendar_date.h"
#include "common/file_bytes.h"
#include "common/fixed_decimals.h"
#include "common/text.h"
#include "journal/observer_k.h"
#include "journal/silso.h"

namespace kavrel::cli::logbook {
namespace {

constexpr std::string_view kNoSilso =
    "Le journal n'a pas le nombre de SILSO de ce mois : importez SN_d_tot_V2.0.csv avec « kavrel journal silso "
    "FICHIER ».";
constexpr std::string_view kChooseKAlone = "kavrel : --choisir K se donne seul, avec --observateur CODE au besoin";
constexpr std::string_view kNoObserverForK = "Le journal n'a encore aucun observateur : il n'y a pas de k à choisir.";

std::string oneDecimal(double value, std::string_view decimalSeparator) {
  std::string text;
  appendFixed(text, journal::roundedToTenth(value), 1, decimalSeparator.empty() ? '.' : decimalSeparator.front());
  return text;
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
Status chooseK(const std::string& text, Request& s) {
  if (s.has("--du") || s.has("--au") || s.has("--par-mois")) return s.refuse(kChooseKAlone);
  const bool clear = trimmed(text).empty();
  const std::optional<double> k = clear ? std::nullopt : journal::chosenK(text);
  if (!clear && !k) return s.refuse(kKMessage);
  const auto session = s.open();
  if (!session) return Status::Failed;
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
  return Status::Done;
}

}  // namespace

// FICHIER, or --hemispheres FICHIER: SILSO's daily file kept whole in the journal.
Status importSilso(const Fields& f, Request& s) {
  if (f.size() != 1) return Status::Usage;
  std::string text;
  if (const std::string reason = readFileWhole(f[0], text); !reason.empty()) {
    s.err << "Le fichier « " << f[0] << " » n'a pas pu être lu : " << reason << ".\n";
    return Status::Failed;
  }
  const bool hemispheric = s.has("--hemispheres");
  const journal::SilsoFile file =
      journal::parseSilso(text, hemispheric ? journal::SilsoFile::Kind::Hemispheric : journal::SilsoFile::Kind::Total);
  if (!file.error.empty()) {
    s.err << "Le fichier « " << f[0] << " » est refusé, " << file.error << " Le journal n'a pas été modifié.\n";
    return Status::Refused;
  }
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  if (const journal::Change stored = opened.importSilso(file); !stored.done()) return s.failed(stored);
  const auto provisional = std::count_if(file.days.begin(), file.days.end(),
                                         [](const journal::SilsoDay& day) { return !day.definitive; });
  s.out << (hemispheric ? "Nombres de SILSO par hémisphère importés : " : "Nombres de SILSO importés : ")
        << file.days.size() << " jours, dont " << provisional << " provisoires\n";
  return Status::Done;
}

// SILSO's monthly mean of a month and its 13-month smoothed mean, from the days kept.
Status printSilsoMonth(const Fields& f, Request& s) {
  if (f.size() != 2) return Status::Usage;
  const auto month = monthOf(f, s);
  if (!month) return Status::Refused;
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  const int m = month->first, year = month->second;
  const int index = year * 12 + m - 1;
  const auto day = [](int monthIndex, int dayOfMonth) {
    return Day{monthIndex / 12, monthIndex % 12 + 1, dayOfMonth};
  };
  const journal::Read<std::vector<journal::SilsoDay>> kept = opened.silsoDays(day(index - 6, 1), day(index + 6, 31));
  if (readFailed(kept, s)) return Status::Failed;
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
  return Status::Done;
}

// The observer's k over the days both the journal and SILSO have, after the k chosen when
// there is one.
Status printK(const Fields& f, Request& s) {
  if (!f.empty()) return Status::Usage;
  if (const std::string* chosen = s.value("--choisir")) return chooseK(*chosen, s);
  Day first{1, 1, 1}, last{9999, 12, 31};
  for (const auto& [option, into] : {std::pair{"--du", &first}, std::pair{"--au", &last}}) {
    const std::string* text = s.value(option);
    if (!text) continue;
    const auto day = dayOf(*text);
    if (!day) {
      s.err << (option == std::string_view("--du") ? "Du" : "Au") << " : « " << *text
            << " » n'est pas une date (2014-02-03 attendu).\n";
      return Status::Refused;
    }
    *into = *day;
  }
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  const ObserverChoice choice = chooseObserver(*session, s);
  if (choice.refused) return choice.status;
  if (!choice.observer) return s.refuse(kNoObserver);
  if (choice.observer->chosenK)
    s.out << "k choisi : " << journal::chosenKText(*choice.observer->chosenK, s.decimalSeparator) << '\n';
  const auto read = opened.pairedDays(first, last, choice.observer->id);
  if (readFailed(read, s)) return Status::Failed;
  const std::vector<journal::PairedDay>& paired = read.value;
  if (static_cast<int>(paired.size()) < journal::kFewestPairedDays)
    return s.refuse(journal::tooFewDaysLine(static_cast<int>(paired.size())));
  // The hemispheres read before the k is printed, so that a failure does not follow half
  // an answer.
  std::vector<std::string> lines = journal::kLines(journal::estimateK(paired), s.decimalSeparator);
  for (const auto& [part, name] : {std::pair{Journal::Part::North, "nord"}, std::pair{Journal::Part::South, "sud"}}) {
    const auto hemisphere = opened.pairedDays(first, last, choice.observer->id, part);
    if (readFailed(hemisphere, s)) return Status::Failed;
    if (static_cast<int>(hemisphere.value.size()) >= journal::kFewestPairedDays)
      lines.push_back(journal::kHemisphereLine(name, journal::estimateK(hemisphere.value), s.decimalSeparator));
  }
  for (const auto& line : lines) s.out << line << '\n';
  if (s.has("--par-mois"))
    for (const auto& month : journal::estimateKByMonth(paired))
      s.out << journal::kMonthLine(month, s.decimalSeparator) << '\n';
  return Status::Done;
}

}  // namespace kavrel::cli::logbook
