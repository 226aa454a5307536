// Each observer's k and the network's daily and monthly number from streamed observations
// (network_number.h): sums per observer and year, one observer's paired days, one day's
// observers at a time.
#include "reseau/network_number.h"

#include <algorithm>
#include <cmath>

namespace kavrel::reseau {
namespace {

// The default rule's windows: the three calendar years before the day's year, else the
// ten years before; and the fewest paired days each needs.
constexpr int kRecentYears = 3;
constexpr int kRecentFewest = 60;
constexpr int kLongYears = 10;
constexpr int kLongFewest = 20;
// The smallest scatter s² a weight is made of: an observer matching the reference to 1 %
// already counts ten thousand times one who scatters by 100 %.
constexpr double kSmallestScatter = 1e-4;

int firstDayOfYear(int year) noexcept { return dayNumber({year, 1, 1}); }

}  // namespace

int yearOf(int day) noexcept { return dayOfNumber(day).year; }

Reference::Reference(std::vector<std::pair<int, int>> days) : days_(std::move(days)) {
  std::sort(days_.begin(), days_.end());
  if (days_.empty()) return;
  first_ = days_.front().first;
  values_.assign(static_cast<std::size_t>(days_.back().first - first_ + 1), kNoDay);
  for (const auto& [day, value] : days_) values_[static_cast<std::size_t>(day - first_)] = value;
}

std::optional<int> Reference::on(int day) const {
  if (day < first_ || day - first_ >= static_cast<int>(values_.size())) return std::nullopt;
  const int value = values_[static_cast<std::size_t>(day - first_)];
  if (value == kNoDay) return std::nullopt;
  return value;
}

bool RowFilter::keeps(const ObservationRow& row) const noexcept {
  if (row.day < first || row.day > last) return false;
  return !qualityAtLeast || (row.quality && *row.quality >= *qualityAtLeast);
}

void PilotDays::add(const ObservationRow& row) {
  if (row.observer == pilot_ && filter_.keeps(row)) days_.emplace_back(row.day, row.relative);
}

// ---- Each observer's k by the three rules.

ObserverKs::ObserverKs(const Reference& reference, RowFilter filter, Fewest fewest, bool perYear)
    : reference_(reference), filter_(filter), fewest_(fewest), perYear_(perYear) {}

void ObserverKs::add(const ObservationRow& row) {
  if (current_ != row.observer) {
    close();
    current_ = row.observer;
  }
  if (!filter_.keeps(row)) return;
  if (const std::optional<int> international = reference_.on(row.day))
    paired_.push_back({dayOfNumber(row.day), row.relative, *international});
}

void ObserverKs::close() {
  if (!current_) return;
  std::sort(paired_.begin(), paired_.end(), [](const auto& a, const auto& b) { return a.date < b.date; });
  if (!perYear_) {
    ObserverKResult result{*current_, 0, journal::estimateK(paired_), false};
    result.given = result.estimate.days >= fewest_.period;
    results_.push_back(std::move(result));
  }
  for (auto first = paired_.begin(); perYear_ && first != paired_.end();) {
    const auto last =
        std::find_if(first, paired_.end(), [&](const auto& d) { return d.date.year != first->date.year; });
    ObserverKResult result{*current_, first->date.year, journal::estimateK({first, last}), false};
    result.given = result.estimate.days >= fewest_.year;
    results_.push_back(std::move(result));
    first = last;
  }
  paired_.clear();
}

std::vector<ObserverKResult> ObserverKs::finish() {
  close();
  current_.reset();
  return std::move(results_);
}

// ---- The scale each observer's day is brought to.

NetworkScale::NetworkScale(const Reference& reference, RowFilter filter, NetworkRule rule, int fewestGlobal)
    : reference_(reference), filter_(filter), reads_(filter), rule_(rule), fewestGlobal_(fewestGlobal) {
  if (rule_ == NetworkRule::Default)
    reads_.first = std::min(filter_.first, firstDayOfYear(yearOf(filter_.first) - kLongYears));
}

void NetworkScale::add(const ObservationRow& row) {
  if (current_ != row.observer) {
    close();
    current_ = row.observer;
  }
  if (!reads_.keeps(row)) return;
  if (filter_.keeps(row)) {
    const int year = yearOf(row.day);
    if (observedYears_.empty() || observedYears_.back() != year) observedYears_.push_back(year);
  }
  if (const std::optional<int> international = reference_.on(row.day))
    paired_.push_back({row.day, row.relative, *international});
}

std::optional<ScaleEntry> NetworkScale::window(int year, int years, int fewest) const {
  const auto from = std::lower_bound(paired_.begin(), paired_.end(), firstDayOfYear(year - years),
                                     [](const Paired& p, int day) { return p.day < day; });
  const auto to =
      std::lower_bound(from, paired_.end(), firstDayOfYear(year), [](const Paired& p, int day) { return p.day < day; });
  double international = 0, observer = 0;
  for (auto p = from; p != to; ++p) {
    international += p->reference;
    observer += p->observer;
  }
  const int days = static_cast<int>(to - from);
  if (days < fewest || observer <= 0) return std::nullopt;
  const double k = international / observer;
  double scatter = 0;
  int counted = 0;
  for (auto p = from; p != to; ++p) {
    const double both = p->reference + k * p->observer;
    if (both <= 0) continue;
    const double relative = (p->reference - k * p->observer) / both;
    scatter += relative * relative;
    ++counted;
  }
  scatter = std::max(scatter / counted, kSmallestScatter);
  return ScaleEntry{*current_, year, k, 1 / scatter, days};
}

void NetworkScale::close() {
  if (!current_) return;
  std::sort(paired_.begin(), paired_.end(), [](const Paired& a, const Paired& b) { return a.day < b.day; });
  if (rule_ == NetworkRule::Global) {
    const auto from = std::lower_bound(paired_.begin(), paired_.end(), filter_.first,
                                       [](const Paired& p, int day) { return p.day < day; });
    double international = 0, observer = 0;
    for (auto p = from; p != paired_.end(); ++p) {
      international += p->reference;
      observer += p->observer;
    }
    const int days = static_cast<int>(paired_.end() - from);
    if (days >= fewestGlobal_ && observer > 0) entries_.push_back({*current_, 0, international / observer, 1, days});
  } else {
    std::sort(observedYears_.begin(), observedYears_.end());
    observedYears_.erase(std::unique(observedYears_.begin(), observedYears_.end()), observedYears_.end());
    for (const int year : observedYears_) {
      std::optional<ScaleEntry> entry = window(year, kRecentYears, kRecentFewest);
      if (!entry) entry = window(year, kLongYears, kLongFewest);
      if (entry) entries_.push_back(*entry);
    }
  }
  paired_.clear();
  observedYears_.clear();
}

void NetworkScale::finish() {
  close();
  current_.reset();
  std::sort(entries_.begin(), entries_.end(), [](const ScaleEntry& a, const ScaleEntry& b) {
    return std::pair{a.observer, a.year} < std::pair{b.observer, b.year};
  });
}

const ScaleEntry* NetworkScale::on(Id observer, int day) const {
  const std::pair key{observer, rule_ == NetworkRule::Global ? 0 : yearOf(day)};
  const auto at = std::lower_bound(entries_.begin(), entries_.end(), key, [](const ScaleEntry& e, const auto& k) {
    return std::pair{e.observer, e.year} < k;
  });
  if (at == entries_.end() || at->observer != key.first || at->year != key.second) return nullptr;
  return &*at;
}

// ---- The network's days.

NetworkDays::NetworkDays(const NetworkScale& scale, RowFilter filter) : scale_(scale), filter_(filter) {}

void NetworkDays::add(const ObservationRow& row) {
  if (day_ != row.day) {
    close();
    day_ = row.day;
  }
  if (!filter_.keeps(row)) return;
  if (const ScaleEntry* entry = scale_.on(row.observer, row.day))
    values_.emplace_back(entry->k * row.relative, entry->weight);
}

void NetworkDays::close() {
  if (values_.empty()) return;
  double weights = 0, sum = 0;
  for (const auto& [value, weight] : values_) {
    weights += weight;
    sum += weight * value;
  }
  const double mean = sum / weights;
  double squares = 0;
  for (const auto& [value, weight] : values_) squares += weight * (value - mean) * (value - mean);
  days_.push_back({*day_, static_cast<int>(values_.size()), mean, std::sqrt(squares / weights)});
  values_.clear();
}

std::vector<NetworkDay> NetworkDays::finish() {
  close();
  day_.reset();
  return std::move(days_);
}

// ---- The months.

namespace {

int monthIndex(Day day) noexcept { return day.year * 12 + day.month - 1; }

}  // namespace

std::vector<NetworkMonth> networkMonths(const std::vector<NetworkDay>& days,
                                        const std::vector<std::pair<int, int>>& silso, int first, int last) {
  const int firstMonth = monthIndex(dayOfNumber(first));
  const int count = monthIndex(dayOfNumber(last)) - firstMonth + 1;
  if (count <= 0) return {};
  std::vector<NetworkMonth> months(static_cast<std::size_t>(count));
  std::vector<double> sums(months.size(), 0.0), observers(months.size(), 0.0);
  for (std::size_t i = 0; i < months.size(); ++i) {
    months[i].year = (firstMonth + static_cast<int>(i)) / 12;
    months[i].month = (firstMonth + static_cast<int>(i)) % 12 + 1;
  }
  for (const NetworkDay& day : days) {
    const int i = monthIndex(dayOfNumber(day.day)) - firstMonth;
    if (i < 0 || i >= count) continue;
    sums[static_cast<std::size_t>(i)] += day.mean;
    observers[static_cast<std::size_t>(i)] += day.observers;
    ++months[static_cast<std::size_t>(i)].days;
  }
  std::vector<journal::SilsoDay> silsoDays;
  // SILSO's monthly mean is that of all the month's days, even where the period starts or
  // ends inside the month.
  for (const auto& [day, value] : silso) {
    const int i = monthIndex(dayOfNumber(day)) - firstMonth;
    if (i >= 0 && i < count) silsoDays.push_back({dayOfNumber(day), value, std::nullopt, std::nullopt, true});
  }
  std::sort(silsoDays.begin(), silsoDays.end(), [](const auto& a, const auto& b) { return a.date < b.date; });
  for (const journal::MonthValue& mean : journal::monthlyMeans(silsoDays)) {
    const int i = mean.year * 12 + mean.month - 1 - firstMonth;
    if (i >= 0 && i < count) months[static_cast<std::size_t>(i)].silso = mean.value;
  }
  std::vector<journal::MonthValue> network(months.size());
  for (std::size_t i = 0; i < months.size(); ++i) {
    NetworkMonth& month = months[i];
    if (month.days > 0) {
      month.network = sums[i] / month.days;
      month.observersMean = observers[i] / month.days;
    }
    network[i] = {month.year, month.month, month.network, month.days};
  }
  const std::vector<journal::MonthValue> smoothed = journal::smoothed13(network);
  for (std::size_t i = 0; i < months.size(); ++i) months[i].smoothed = smoothed[i].value;
  return months;
}

}  // namespace kavrel::reseau
