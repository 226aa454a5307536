// Each observer's k and the network's number read from a base (coefficients.h): the
// reference and the observations streamed from the Store into network_number.h's
// accumulators. No arithmetic here beyond choosing what is read.
#include "reseau/coefficients.h"

#include <algorithm>
#include <map>

#include "common/calendar_date.h"

namespace kavrel::reseau {
namespace {

struct ReferenceRead {
  Reference reference;
  std::string error;
  bool refused = false;  // the pilot asked is not in the base
};

// SILSO's days, or the pilot's (of the quality asked), between two day numbers.
ReferenceRead referenceOf(const Store& store, const KOptions& options, const std::map<Id, std::string>& codes,
                          int first, int last) {
  if (!options.pilot) {
    Read<std::vector<std::pair<int, int>>> silso = store.silso(first, last);
    return {Reference(std::move(silso.value)), silso.error};
  }
  const auto pilot =
      std::find_if(codes.begin(), codes.end(), [&](const auto& c) { return c.second == *options.pilot; });
  if (pilot == codes.end())
    return {{}, "L'observateur pilote « " + *options.pilot + " » n'est pas dans la base.", true};
  PilotDays days(pilot->first, {first, last, options.qualityAtLeast});
  const Read<bool> scanned =
      store.scan(first, last, Store::Order::ByDate, [&](const ObservationRow& row) { days.add(row); });
  return {days.finish(), scanned.error};
}

Read<std::map<Id, std::string>> codesOf(const Store& store) {
  Read<std::vector<NetworkObserver>> observers = store.observers();
  Read<std::map<Id, std::string>> codes{{}, observers.error};
  for (const NetworkObserver& observer : observers.value) codes.value[observer.id] = observer.code;
  return codes;
}

}  // namespace

KTable computeK(const Store& store, const KOptions& options, bool perYear) {
  const Read<std::map<Id, std::string>> codes = codesOf(store);
  if (!codes.ok()) return {{}, codes.error};
  const ReferenceRead reference = referenceOf(store, options, codes.value, options.first, options.last);
  if (!reference.error.empty()) return {{}, reference.error, reference.refused};
  ObserverKs ks(reference.reference, {options.first, options.last, options.qualityAtLeast},
                {options.fewestDays, options.fewestDaysInYear}, perYear);
  const Read<bool> scanned = store.scan(options.first, options.last, Store::Order::ByObserver,
                                        [&](const ObservationRow& row) { ks.add(row); });
  if (!scanned.ok()) return {{}, scanned.error};
  KTable table;
  for (ObserverKResult& result : ks.finish()) {
    const auto code = codes.value.find(result.observer);
    table.rows.push_back({result.observer, code == codes.value.end() ? std::string() : code->second, result.year,
                          std::move(result.estimate), result.given});
  }
  std::stable_sort(table.rows.begin(), table.rows.end(), [](const ObserverK& a, const ObserverK& b) {
    return std::pair{a.code, a.year} < std::pair{b.code, b.year};
  });
  return table;
}

NetworkSeries computeNetwork(const Store& store, const KOptions& options, NetworkRule rule) {
  const Read<std::map<Id, std::string>> codes = codesOf(store);
  if (!codes.ok()) return {{}, {}, codes.error, {}};
  const RowFilter filter{options.first, options.last, options.qualityAtLeast};
  // The scale reads the years before the first day too; the reference is read as far.
  const int readFrom = NetworkScale(Reference(), filter, rule).reads().first;
  const ReferenceRead reference = referenceOf(store, options, codes.value, readFrom, options.last);
  if (!reference.error.empty()) return {{}, {}, reference.error, {}};

  NetworkScale scale(reference.reference, filter, rule, options.fewestDays);
  Read<bool> scanned =
      store.scan(readFrom, options.last, Store::Order::ByObserver, [&](const ObservationRow& row) { scale.add(row); });
  if (!scanned.ok()) return {{}, {}, scanned.error, {}};
  scale.finish();

  NetworkDays days(scale, filter);
  scanned =
      store.scan(options.first, options.last, Store::Order::ByDate, [&](const ObservationRow& row) { days.add(row); });
  if (!scanned.ok()) return {{}, {}, scanned.error, {}};
  // SILSO read over the whole months, so that a period starting or ending mid-month
  // still compares the network's month with SILSO's whole month.
  const Day firstDay = dayOfNumber(options.first), lastDay = dayOfNumber(options.last);
  const Read<std::vector<std::pair<int, int>>> silso =
      store.silso(dayNumber({firstDay.year, firstDay.month, 1}),
                  dayNumber({lastDay.year, lastDay.month, daysInMonth(lastDay.year, lastDay.month)}));
  if (!silso.ok()) return {{}, {}, silso.error, {}};
  NetworkSeries series{days.finish(), {}, {}, scale.entries()};
  series.months = networkMonths(series.days, silso.value, options.first, options.last);
  return series;
}

}  // namespace kavrel::reseau
