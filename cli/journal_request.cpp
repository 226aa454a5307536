// The journal's request and the words every action reads (see journal_request.h).
#include "cli/journal_request.h"

#include <charconv>

namespace kavrel::cli::logbook {
std::unique_ptr<journal::Session> Request::open() const {
  journal::Session::Opened opened = journal::Session::open(file, std::string(decimalSeparator));
  if (opened.session) return std::move(opened.session);
  std::string reason = opened.error;
  if (reason.find(file) == std::string::npos) {
    if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z') reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
    reason = "Journal « " + file + " » : " + reason;
  }
  err << reason << '\n';
  return nullptr;
}

Status Request::failed(const journal::Change& change) const {
  err << change.error << '\n';
  return change.notWritten() ? Status::Failed : Status::Refused;
}

Day today() { return journal::clockNow().day; }

std::optional<int> wholeNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  if (text.empty() || text.front() == '+') return std::nullopt;
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

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

ObserverChoice chooseObserver(const journal::Session& session, const Request& s) {
  const std::string* code = s.value("--observateur");
  journal::ObserverChoice choice = session.chooseObserver(code ? std::string_view(*code) : std::string_view());
  if (choice.refusal.empty()) return {std::move(choice.observer)};
  s.err << choice.refusal << '\n';
  return {std::nullopt, true, choice.unreadable ? Status::Failed : Status::Refused};
}

std::optional<std::string> observerCodeToStore(const journal::Session& session, const Request& s, Status& status) {
  if (const std::string* code = s.value("--observateur")) return *code;
  const journal::ObserverChoice choice = session.chooseObserver();
  if (!choice.refusal.empty()) {
    s.err << choice.refusal << '\n';
    status = choice.unreadable ? Status::Failed : Status::Refused;
    return std::nullopt;
  }
  return choice.observer ? choice.observer->code : std::string();
}

}  // namespace kavrel::cli::logbook
