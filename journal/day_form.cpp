// The Journal window's fields read and written (day_form.h).
#include "journal/day_form.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <utility>

#include "common/calendar_date.h"
#include "common/date_text.h"
#include "common/display_mask.h"
#include "common/text.h"
#include "journal/checks.h"
#include "journal/month.h"

namespace kavrel::journal {

namespace {

std::string_view trimmed(std::string_view text) { return kavrel::trimmed(text, kWhiteSpace); }

// A whole number as typed: digits, a leading "-" (refused later by the checks, with
// their message); none for anything else or more than nine digits.
std::optional<int> wholeNumber(std::string_view text) {
  text = trimmed(text);
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = 10 * value + (c - '0');
  }
  return negative ? -value : value;
}

// A decimal number with the user's separator or a point; none for an empty text, and
// `bad` set for one that is not a number.
std::optional<double> decimalNumber(std::string_view text, bool& bad) {
  const std::string_view plain = trimmed(text);
  if (plain.empty()) return std::nullopt;
  const std::optional<double> value = kavrel::decimalNumber(plain, ",");
  if (!value) bad = true;
  return value;
}

std::string numberText(std::optional<int> value) { return value ? std::to_string(*value) : std::string(); }

// An angle to the hundredth; one that rounds to zero shows no sign ("0,00", not "-0,00"),
// so that the text read back shows the same.
std::string angleText(const std::optional<double>& value, std::string_view separator) {
  if (!value) return {};
  std::string text = formatMask(*value, "##0.00", separator);
  if (text.starts_with('-') && text.find_first_not_of("0.,", 1) == std::string::npos) text.erase(0, 1);
  return text;
}

// A Carrington longitude to the hundredth, within 0 to 360: one that rounds to 360 shows
// as 0, the same meridian, so that the text read back is a longitude.
std::string longitudeText(const std::optional<double>& value, std::string_view separator) {
  std::string text = angleText(value, separator);
  if (text.size() == 6 && text.starts_with("360")) text = "0" + text.substr(3);
  return text;
}

// A field that could not be read, said with what was typed: "g sud : « un » n'est pas
// un nombre entier de groupes.", or asked for when it is empty: "g sud : tapez le nombre
// de groupes."
struct Wanted {
  std::string_view what;  // "un nombre entier de groupes"
  std::string_view ask;   // "le nombre de groupes"
};
std::string unread(std::string_view field, std::string_view typed, Wanted wanted) {
  const std::string_view shown = trimmed(typed);
  if (shown.empty()) return std::string(field) + " : tapez " + std::string(wanted.ask) + '.';
  return std::string(field) + " : « " + std::string(shown) + " » n'est pas " + std::string(wanted.what) + '.';
}

constexpr Wanted kGroups{"un nombre entier de groupes", "le nombre de groupes"};
constexpr Wanted kSpots{"un nombre entier de taches", "le nombre de taches"};

// R of counts as typed; none for a negative count, which the checks refuse (its R would
// mean nothing, and could leave an int).
std::string shownR(Counts counts) {
  return counts.groups < 0 || counts.spots < 0 ? std::string() : std::to_string(relativeNumber(counts));
}

struct CountsRead {
  std::optional<Counts> counts;
  std::string relative;
};

// One row of the counts: R shows once both numbers are read.
CountsRead readCounts(const std::string& groups, const std::string& spots, std::string_view row,
                      std::vector<std::string>& problems) {
  const std::optional<int> g = wholeNumber(groups);
  const std::optional<int> f = wholeNumber(spots);
  if (!g) problems.push_back(unread("g " + std::string(row), groups, kGroups));
  if (!f) problems.push_back(unread("f " + std::string(row), spots, kSpots));
  if (!g || !f) return {};
  // No count of a disc reaches a million; above it, R = 10 g + f would leave an int.
  if (*g > kMostCount) problems.push_back("g " + std::string(row) + " : au plus 999 999 groupes.");
  if (*f > kMostCount) problems.push_back("f " + std::string(row) + " : au plus 999 999 taches.");
  if (*g > kMostCount || *f > kMostCount) return {};
  const Counts counts{*g, *f};
  return {counts, shownR(counts)};
}

bool blank(const std::string& text) { return trimmed(text).empty(); }

// The whole number of a field, its problem said when it cannot be read.
std::optional<int> fieldNumber(std::string_view field, const std::string& typed, Wanted what,
                               std::vector<std::string>& problems) {
  const std::optional<int> value = wholeNumber(typed);
  if (!value) problems.push_back(unread(field, typed, what));
  return value;
}

// How many problems the date left, and the date with the time: a day not observed keeps
// those of the fields it reads.
struct WhenRead {
  std::size_t afterDate = 0;
  std::size_t afterTime = 0;
};

// The date and the time UT typed, into `observation` once read, checked against `today`.
WhenRead readWhen(const DayTexts& texts, Day today, Observation& observation, std::vector<std::string>& problems) {
  const std::optional<int> day = fieldNumber("Date, jour", texts.day, {"un jour en chiffres", "le jour"}, problems);
  const std::optional<int> month = fieldNumber("Date, mois", texts.month, {"un mois en chiffres", "le mois"}, problems);
  const std::optional<int> year =
      fieldNumber("Date, année", texts.year, {"une année en chiffres", "l'année"}, problems);
  if (day && month && year) {
    observation.date = {*year, *month, *day};
    checkDate(observation.date, today, problems);
  }
  WhenRead when;
  when.afterDate = problems.size();
  const std::optional<int> hour =
      fieldNumber("Heure TU, heure", texts.hour, {"une heure en chiffres", "l'heure"}, problems);
  const std::optional<int> minute =
      fieldNumber("Heure TU, minute", texts.minute, {"une minute en chiffres", "la minute"}, problems);
  if (hour && minute) {
    observation.time = {*hour, *minute};
    checkTime(observation.time, problems);
  }
  when.afterTime = problems.size();
  return when;
}

// Seeing (1 to 5 or a letter), transparency and the remarks, into `observation`.
void readConditions(const DayTexts& texts, Observation& observation, std::vector<std::string>& problems) {
  if (const std::string_view seeing = trimmed(texts.seeing); !seeing.empty()) {
    if (seeing.size() == 1 && seeingOfLetter(seeing.front()))
      observation.seeing = seeingOfLetter(seeing.front());
    else if (const std::optional<int> scale = wholeNumber(seeing))
      observation.seeing = scale;
    else
      problems.push_back(unread("Seeing", texts.seeing, {"de 1 à 5 (5 le meilleur) ni une lettre E, G, F, P", ""}));
  }
  if (!blank(texts.transparency)) {
    if (const std::optional<int> scale = wholeNumber(texts.transparency))
      observation.transparency = scale;
    else
      problems.push_back(unread("Transparence", texts.transparency, {"de 1 à 5 (5 la meilleure)", ""}));
  }
  checkScales(observation, problems);
  observation.remarks = std::string(trimmed(texts.remarks));
}

// A day not observed: the date of `typed`, its remark (the weather), its time when one is
// typed; no count is read, and `problems` keeps those of these fields alone. None while
// one remains.
std::optional<UnobservedDay> readUnobserved(const DayTexts& texts, const Observation& typed, WhenRead when,
                                            std::vector<std::string>& problems) {
  const bool timeTyped = !blank(texts.hour) || !blank(texts.minute);
  problems.resize(timeTyped ? when.afterTime : when.afterDate);
  if (!problems.empty()) return std::nullopt;
  UnobservedDay unobserved;
  unobserved.id = typed.id;
  unobserved.observerId = typed.observerId;
  unobserved.date = typed.date;
  if (timeTyped) unobserved.time = typed.time;
  unobserved.remarks = typed.remarks;
  return unobserved;
}

// The counts, north and south or the disc alone, into observation.counts once read and
// checked; R of each row and the disc's sums into `reading`.
void readTally(const DayTexts& texts, Observation& observation, DayReading& reading) {
  std::vector<std::string>& problems = reading.problems;
  // A form whose counts are all still empty asks for them once, rather than four times.
  const bool nothingCounted = texts.wholeDisc
                                  ? blank(texts.groupsDisc) && blank(texts.spotsDisc)
                                  : blank(texts.groupsNorth) && blank(texts.spotsNorth) &&
                                        blank(texts.groupsSouth) && blank(texts.spotsSouth);
  if (nothingCounted) {
    problems.push_back("Comptes : tapez le nombre de groupes g et le nombre de taches f.");
  } else if (texts.wholeDisc) {
    const CountsRead disc = readCounts(texts.groupsDisc, texts.spotsDisc, "disque", problems);
    reading.relativeDisc = disc.relative;
    if (disc.counts) {
      observation.counts = Tally::wholeDisc(*disc.counts);
      checkTally(observation.counts, problems);
    }
  } else {
    const CountsRead north = readCounts(texts.groupsNorth, texts.spotsNorth, "nord", problems);
    const CountsRead south = readCounts(texts.groupsSouth, texts.spotsSouth, "sud", problems);
    reading.relativeNorth = north.relative;
    reading.relativeSouth = south.relative;
    if (north.counts && south.counts) {
      observation.counts = Tally::of(*north.counts, *south.counts);
      reading.relativeDisc = shownR(observation.counts.disc);
      reading.groupsDisc = std::to_string(observation.counts.disc.groups);
      reading.spotsDisc = std::to_string(observation.counts.disc.spots);
      checkTally(observation.counts, problems);
    } else {
      // The hemisphere read still has its own checks.
      if (north.counts) checkCounts(*north.counts, "nord", problems);
      if (south.counts) checkCounts(*south.counts, "sud", problems);
    }
  }
}

// The hemisphere typed (N, S, nord, sud), B's sign when none is (north at 0); none for
// anything else.
std::optional<Hemisphere> hemisphereOf(const std::string& typed, const std::optional<double>& latitude) {
  const std::string_view hemisphere = trimmed(typed);
  if (hemisphere.empty()) return latitude && *latitude < 0 ? Hemisphere::South : Hemisphere::North;
  if (hemisphere == "N" || hemisphere == "n" || hemisphere == "nord") return Hemisphere::North;
  if (hemisphere == "S" || hemisphere == "s" || hemisphere == "sud") return Hemisphere::South;
  return std::nullopt;
}

// B, L, DMC and the area, into `group`; an empty field is none.
void readGroupDecimals(const GroupTexts& texts, Group& group, std::vector<std::string>& problems) {
  const struct {
    const std::string& text;
    std::optional<double>& value;
    const char* problem;
  } decimals[] = {{texts.latitude, group.latitude, "B : une latitude en degrés."},
                  {texts.longitude, group.longitude, "L : une longitude en degrés."},
                  {texts.centralMeridianDistance, group.centralMeridianDistance, "DMC : une distance en degrés."},
                  {texts.area, group.areaMsh, "Aire : un nombre de millionièmes de l'hémisphère."}};
  for (const auto& decimal : decimals) {
    bool bad = false;
    decimal.value = decimalNumber(decimal.text, bad);
    if (bad) problems.push_back(decimal.problem);
  }
}

// The Zurich class (one letter, shown capital), the McIntosh class as typed and the
// spots (none typed: 0), into `group`.
void readGroupClasses(const GroupTexts& texts, Group& group, std::vector<std::string>& problems) {
  if (const std::string_view zurich = trimmed(texts.zurichClass); !zurich.empty()) {
    if (zurich.size() == 1 && std::isalpha(static_cast<unsigned char>(zurich.front())))
      group.zurichClass = static_cast<char>(std::toupper(static_cast<unsigned char>(zurich.front())));
    else
      problems.push_back("Classe de Zurich : une lettre de A à J.");
  }
  group.mcintoshClass = std::string(trimmed(texts.mcintoshClass));
  if (blank(texts.spots))
    group.spots = 0;
  else if (const std::optional<int> spots = wholeNumber(texts.spots))
    group.spots = *spots;
  else
    problems.push_back("Taches : un nombre entier.");
}

}  // namespace

DayReading readDay(const DayTexts& texts, const Observation& stored, Day today) {
  DayReading reading;
  Observation observation;
  observation.id = stored.id;
  observation.observerId = stored.observerId;
  observation.chosenForDay = stored.chosenForDay;
  // Every field is read and every check of what could be read is made, so that the
  // observer sees all the problems at once.
  const WhenRead when = readWhen(texts, today, observation, reading.problems);
  readConditions(texts, observation, reading.problems);
  if (texts.notObserved) {
    reading.unobserved = readUnobserved(texts, observation, when, reading.problems);
    return reading;
  }
  readTally(texts, observation, reading);
  if (reading.problems.empty()) reading.observation = std::move(observation);
  return reading;
}

bool sameObservation(const Observation& typed, const Observation& stored) {
  return typed.date == stored.date && typed.time == stored.time && typed.seeing == stored.seeing &&
         typed.transparency == stored.transparency && typed.remarks == stored.remarks &&
         typed.counts.north == stored.counts.north && typed.counts.south == stored.counts.south &&
         typed.counts.disc == stored.counts.disc;
}

std::string changedField(const DayTexts& before, const DayTexts& after) {
  const std::pair<std::string DayTexts::*, const char*> fields[] = {
      {&DayTexts::day, "Date, jour"},          {&DayTexts::month, "Date, mois"},
      {&DayTexts::year, "Date, année"},        {&DayTexts::hour, "Heure TU, heure"},
      {&DayTexts::minute, "Heure TU, minute"}, {&DayTexts::seeing, "Seeing"},
      {&DayTexts::transparency, "Transparence"}, {&DayTexts::remarks, "Remarques"},
      {&DayTexts::groupsNorth, "g nord"},      {&DayTexts::spotsNorth, "f nord"},
      {&DayTexts::groupsSouth, "g sud"},       {&DayTexts::spotsSouth, "f sud"},
      {&DayTexts::groupsDisc, "g disque"},     {&DayTexts::spotsDisc, "f disque"}};
  if (before.notObserved != after.notObserved) return "Sans observation";
  if (before.wholeDisc != after.wholeDisc) return "Disque entier seulement";
  for (const auto& [member, caption] : fields)
    if (before.*member != after.*member) return caption;
  return {};
}

DayTexts dayTexts(const UnobservedDay& day) {
  DayTexts texts = newDayTexts(day.date, day.time.value_or(TimeOfDay{}));
  if (!day.time) texts.hour = texts.minute = "";
  texts.remarks = day.remarks;
  texts.notObserved = true;
  return texts;
}

DayTexts dayTexts(const Observation& observation) {
  DayTexts texts = newDayTexts(observation.date, observation.time);
  texts.seeing = numberText(observation.seeing);
  texts.transparency = numberText(observation.transparency);
  texts.remarks = observation.remarks;
  const Tally& counts = observation.counts;
  texts.wholeDisc = !counts.split();
  if (counts.split()) {
    texts.groupsNorth = std::to_string(counts.north->groups);
    texts.spotsNorth = std::to_string(counts.north->spots);
    texts.groupsSouth = std::to_string(counts.south->groups);
    texts.spotsSouth = std::to_string(counts.south->spots);
  }
  texts.groupsDisc = std::to_string(counts.disc.groups);
  texts.spotsDisc = std::to_string(counts.disc.spots);
  return texts;
}

ClockReading clockNow() {
  using namespace std::chrono;
  const auto now = floor<minutes>(system_clock::now());
  const auto midnight = floor<days>(now);
  const year_month_day date{midnight};
  const hh_mm_ss time{now - midnight};
  return {{static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
           static_cast<int>(static_cast<unsigned>(date.day()))},
          {static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count())}};
}

DayTexts newDayTexts(Day day, TimeOfDay time) {
  DayTexts texts;
  texts.day = std::to_string(day.day);
  texts.month = std::to_string(day.month);
  texts.year = std::to_string(day.year);
  texts.hour = std::to_string(time.hour);
  texts.minute = (time.minute < 10 ? "0" : "") + std::to_string(time.minute);
  return texts;
}

namespace {

std::string clockText(TimeOfDay time) { return hourMinute(time.hour, time.minute); }

}  // namespace

std::vector<DayChoice> dayChoices(const std::vector<Observation>& observations, Day day) {
  std::vector<Observation> ofDay;
  for (const Observation& observation : observations)
    if (observation.date == day) ofDay.push_back(observation);
  std::sort(ofDay.begin(), ofDay.end(), [](const Observation& a, const Observation& b) { return a.time < b.time; });
  const std::vector<Observation> taken = observationsOfDays(ofDay);
  const Id retained = taken.empty() ? 0 : taken.front().id;
  std::vector<DayChoice> choices;
  for (const Observation& observation : ofDay) {
    const bool kept = observation.id == retained;
    choices.push_back({observation.id, clockText(observation.time) + (kept ? " (retenue)" : ""), kept});
  }
  return choices;
}

std::string retainedText(const Observation& observation) {
  const Day& d = observation.date;
  return "Observation retenue pour le " + frenchLongDate(d.year, d.month, d.day) + " : " + clockText(observation.time) +
         ", R = " + std::to_string(relativeNumber(observation.counts.disc));
}

std::string monthTitle(int year, int month) { return monthName(month) + ' ' + std::to_string(year); }

Day monthMoved(int year, int month, int step) {
  const int index = year * 12 + (month - 1) + step;
  const int newYear = index >= 0 ? index / 12 : (index - 11) / 12;
  return {newYear, index - newYear * 12 + 1, 1};
}

MonthTyped readMonth(int month, std::string_view yearText) {
  if (month < 1 || month > 12) return {std::nullopt, "Mois : choisissez-en un de janvier à décembre."};
  const std::optional<int> year = wholeNumber(yearText);
  if (!year || *year < 1 || *year > 9999) {
    const std::string_view shown = trimmed(yearText);
    if (shown.empty()) return {std::nullopt, "Année : tapez l'année du mois à afficher, 1975 par exemple."};
    return {std::nullopt, "Année : « " + std::string(shown) + " » n'est pas une année de 1 à 9999."};
  }
  return {Day{*year, month, 1}, {}};
}

ObserverTexts observerTexts(const Observer& observer) {
  return {observer.code, observer.name, numberText(observer.apertureMm), numberText(observer.focalLengthMm),
          observer.method};
}

ObserverReading readObserver(const ObserverTexts& texts, Id id) {
  ObserverReading reading;
  Observer observer;
  observer.id = id;
  observer.code = std::string(trimmed(texts.code));
  observer.name = std::string(trimmed(texts.name));
  observer.method = texts.method;
  if (observer.code.empty()) {
    reading.problems.push_back("Code : tapez le code de l'observateur dans son réseau, HUZR par exemple.");
  } else if (observer.code.size() > 20 ||
             !std::all_of(observer.code.begin(), observer.code.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
             })) {
    reading.problems.push_back("Code : « " + observer.code +
                               " » ne convient pas ; 20 lettres, chiffres, « . », « - » ou « _ » au plus, "
                               "sans espace ni accent.");
  }
  if (observer.name.empty()) observer.name = observer.code;
  const auto millimetres = [&](std::string_view field, const std::string& typed, std::optional<int>& into) {
    if (trimmed(typed).empty()) return;
    const std::optional<int> value = wholeNumber(typed);
    if (value && *value > 0 && *value <= 100000) {
      into = value;
      return;
    }
    reading.problems.push_back(std::string(field) + " : « " + std::string(trimmed(typed)) +
                               " » n'est pas un nombre entier de millimètres.");
  };
  millimetres("Ouverture", texts.aperture, observer.apertureMm);
  millimetres("Focale", texts.focalLength, observer.focalLengthMm);
  if (reading.problems.empty()) reading.observer = std::move(observer);
  return reading;
}

const std::vector<std::string>& methodNames() {
  static const std::vector<std::string> names{"non précisée", methodName(Method::Projection),
                                              methodName(Method::FilterView), methodName(Method::Photograph)};
  return names;
}

std::string methodName(Method method) {
  switch (method) {
    case Method::Projection: return "projection";
    case Method::FilterView: return "vision directe à travers un filtre";
    case Method::Photograph: return "photographie";
    case Method::Unknown: break;
  }
  return {};
}

std::string instrumentText(const Observer& observer) {
  std::string text;
  const auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
  if (observer.apertureMm) add("ouverture " + std::to_string(*observer.apertureMm) + " mm");
  if (observer.focalLengthMm) add("focale " + std::to_string(*observer.focalLengthMm) + " mm");
  if (const std::string method = methodName(observer.method); !method.empty()) add(method);
  return text;
}

std::string observerChoiceText(const Observer& observer) {
  if (observer.name.empty() || observer.name == observer.code) return observer.code;
  return observer.name + " (" + observer.code + ")";
}

const std::vector<std::string>& groupHeadings() {
  static const std::vector<std::string> headings{"N°",  "NOAA",   "Hém.",     "B (°)",  "L (°)",
                                                 "DMC (°)", "Zurich", "McIntosh", "Taches", "MSH"};
  return headings;
}

GroupTexts groupTexts(const Group& group, std::string_view decimalSeparator) {
  GroupTexts texts;
  texts.number = std::to_string(group.number);
  texts.noaaRegion = numberText(group.noaaRegion);
  texts.hemisphere = group.hemisphere == Hemisphere::North ? "N" : "S";
  texts.latitude = angleText(group.latitude, decimalSeparator);
  texts.longitude = longitudeText(group.longitude, decimalSeparator);
  texts.centralMeridianDistance = angleText(group.centralMeridianDistance, decimalSeparator);
  texts.zurichClass = group.zurichClass ? std::string(1, *group.zurichClass) : std::string();
  texts.mcintoshClass = group.mcintoshClass;
  texts.spots = std::to_string(group.spots);
  texts.area = group.areaMsh ? formatMask(*group.areaMsh, "0", decimalSeparator) : std::string();
  return texts;
}

std::vector<std::string> groupCells(const Group& group, std::string_view decimalSeparator) {
  GroupTexts t = groupTexts(group, decimalSeparator);
  return {t.number, t.noaaRegion, t.hemisphere, t.latitude, t.longitude, t.centralMeridianDistance,
          t.zurichClass, t.mcintoshClass, t.spots, t.area};
}

int nextGroupNumber(const std::vector<Group>& groups) {
  int next = 1;
  for (const Group& group : groups) next = std::max(next, group.number + 1);
  return next;
}

GroupReading readGroup(const GroupTexts& texts, Id id, Id observationId, GroupOrigin origin,
                       std::string_view decimalSeparator) {
  (void)decimalSeparator;  // either separator is read
  GroupReading reading;
  std::vector<std::string>& problems = reading.problems;
  Group group;
  group.id = id;
  group.observationId = observationId;
  group.origin = origin;

  if (const std::optional<int> number = wholeNumber(texts.number))
    group.number = *number;
  else
    problems.push_back("Numéro : un nombre entier.");
  if (!blank(texts.noaaRegion)) {
    if (const std::optional<int> region = wholeNumber(texts.noaaRegion))
      group.noaaRegion = region;
    else
      problems.push_back("Région NOAA : un nombre entier.");
  }
  bool badLatitude = false;
  const std::optional<double> latitude = decimalNumber(texts.latitude, badLatitude);
  if (const std::optional<Hemisphere> hemisphere = hemisphereOf(texts.hemisphere, latitude))
    group.hemisphere = *hemisphere;
  else
    problems.push_back("Hémisphère : N pour le nord, S pour le sud.");
  readGroupDecimals(texts, group, problems);
  readGroupClasses(texts, group, problems);

  if (problems.empty())
    for (std::string& problem : checkGroup(group)) problems.push_back(std::move(problem));
  if (problems.empty()) reading.group = std::move(group);
  return reading;
}

}  // namespace kavrel::journal
