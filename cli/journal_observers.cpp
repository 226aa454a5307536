// The observers in `kavrel journal observateurs`: listed, added (a code, a name, an
// instrument in millimetres) or renamed. Qt-free.
#include "cli/journal_runs.h"

#include <map>

#include "journal/day_form.h"

namespace kavrel::cli::logbook {
namespace {

constexpr std::string_view kNoObservers = "Aucun observateur.";
constexpr std::string_view kRenameAlone = "kavrel : --renommer se donne seul, sans --ajouter";
constexpr std::string_view kObserverOptionsAlone =
    "kavrel : --ouverture, --focale et --methode se donnent avec --ajouter CODE NOM";
constexpr std::string_view kMethodMessage = "Méthode : projection, filtre ou photo.";
constexpr std::string_view kEmptyCode = "Code : l'observateur a besoin d'un code, HUZR par exemple.";

std::string observerLine(const Observer& observer) {
  std::string line = observer.code + " : " + observer.name;
  if (const std::string instrument = journal::instrumentText(observer); !instrument.empty()) line += ", " + instrument;
  return line;
}

// --ajouter CODE NOM and the instrument: a new observer, or a name and an instrument given
// to a code the journal already has.
Status addObserver(Journal& journal, Request& s) {
  Observer given;
  given.code = *s.value("--ajouter", 0);
  given.name = *s.value("--ajouter", 1);
  if (given.code.empty()) return s.refuse(kEmptyCode);
  if (given.name.empty()) given.name = given.code;
  const auto millimetres = [&](std::string_view option, std::string_view field, std::optional<int>& into) {
    const std::string* text = s.value(option);
    if (!text) return true;
    const auto value = wholeNumber(*text);
    if (!value || *value <= 0) {
      s.err << field << " : un nombre entier de millimètres (lu « " << *text << " »).\n";
      return false;
    }
    into = value;
    return true;
  };
  if (!millimetres("--ouverture", "Ouverture", given.apertureMm) ||
      !millimetres("--focale", "Focale", given.focalLengthMm))
    return Status::Refused;
  if (const std::string* method = s.value("--methode")) {
    static const std::map<std::string, journal::Method, std::less<>> kMethods{
        {"projection", journal::Method::Projection},
        {"filtre", journal::Method::FilterView},
        {"photo", journal::Method::Photograph}};
    const auto found = kMethods.find(*method);
    if (found == kMethods.end()) return s.refuse(kMethodMessage);
    given.method = found->second;
  }

  journal::Read<std::optional<Observer>> read = journal.observer(given.code);
  if (readFailed(read, s)) return Status::Failed;
  journal::Change stored;
  if (std::optional<Observer>& known = read.value) {
    known->name = given.name;
    if (given.apertureMm) known->apertureMm = given.apertureMm;
    if (given.focalLengthMm) known->focalLengthMm = given.focalLengthMm;
    if (given.method != journal::Method::Unknown) known->method = given.method;
    stored = journal.updateObserver(*known);
    given = *known;
  } else {
    stored = journal.addObserver(given);
  }
  if (!stored.done()) return s.failed(stored);
  s.out << "Observateur enregistré : " << observerLine(given) << '\n';
  return Status::Done;
}

// --renommer CODE NOUVEAU: the observer's code changed, checked as the window checks it.
Status renameObserver(journal::Session& session, Request& s) {
  const std::string& code = *s.value("--renommer", 0);
  const std::string& renamed = *s.value("--renommer", 1);
  const journal::Read<std::optional<Observer>> named = session.journal().observer(code);
  if (readFailed(named, s)) return Status::Failed;
  const std::optional<Observer>& observer = named.value;
  if (!observer) return s.refuse("Observateur : le journal n'a pas d'observateur « " + code + " ».");
  journal::ObserverTexts texts = journal::observerTexts(*observer);
  texts.code = renamed;
  if (observer->name == observer->code) texts.name.clear();  // a name that was the code follows it
  const journal::ObserverReading read = journal::readObserver(texts, observer->id);
  if (!read.observer) {
    for (const auto& problem : read.problems) s.err << problem << '\n';
    return Status::Refused;
  }
  const journal::Outcome outcome = session.changeObserver(*read.observer);
  if (outcome.failed()) {
    s.err << outcome.message << '\n';
    return outcome.kind == journal::Outcome::Kind::NotWritten ? Status::Failed : Status::Refused;
  }
  s.out << "Observateur renommé : " << code << " devient " << read.observer->code << '\n';
  return Status::Done;
}

}  // namespace

Status listObservers(const Fields& f, Request& s) {
  if (!f.empty()) return Status::Usage;
  const bool adding = s.has("--ajouter");
  if (adding && s.has("--renommer")) return s.refuse(kRenameAlone);
  if (!adding && (s.has("--ouverture") || s.has("--focale") || s.has("--methode")))
    return s.refuse(kObserverOptionsAlone);
  const auto session = s.open();
  if (!session) return Status::Failed;
  Journal& opened = session->journal();
  if (adding) return addObserver(opened, s);
  if (s.has("--renommer")) return renameObserver(*session, s);
  const auto observers = opened.observers();
  if (readFailed(observers, s)) return Status::Failed;
  if (observers.value.empty()) s.out << kNoObservers << '\n';
  for (const auto& observer : observers.value) s.out << observerLine(observer) << '\n';
  return Status::Done;
}

}  // namespace kavrel::cli::logbook
