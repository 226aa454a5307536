// The Journal window's fields as the observer types them, read into the log's values, and
// those values written back as the fields and the groups' table show them. Pure text
// work, without Qt: the window only moves these texts between its controls and the
// journal.
//
// Counts are whole numbers; R = 10 g + f is shown as soon as g and f of its row are read,
// whatever the checks say, so that the observer sees the number as typed. Seeing is 1..5
// or a letter E G F P; transparency 1..5. Decimals (B, L, DMC, area) take the user's
// separator or a point.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/records.h"

namespace kavrel::journal {

// The day's form, as typed.
struct DayTexts {
  std::string day, month, year, hour, minute;
  std::string seeing, transparency, remarks;
  bool wholeDisc = false;  // the disc's counts typed alone, without north and south
  bool notObserved = false;  // a day the observer did not observe: its remark, no counts
  std::string groupsNorth, spotsNorth, groupsSouth, spotsSouth, groupsDisc, spotsDisc;
  bool operator==(const DayTexts&) const = default;
};

// What the form shows beside its fields: R of each row, the disc's sums while split, and
// every problem of the observation (checks.h), in the order of the fields.
struct DayReading {
  std::optional<Observation> observation;  // none while a field cannot be read or a check refuses it
  std::optional<UnobservedDay> unobserved;  // a day not observed as typed, when it may be stored
  std::vector<std::string> problems;
  std::string relativeNorth, relativeSouth, relativeDisc;  // "" until g and f are read
  std::string groupsDisc, spotsDisc;                       // the sums, when split
};

// `stored` is the observation the form edits, whose id, observer and choice for the day
// are kept (a default Observation for a new one).
[[nodiscard]] DayReading readDay(const DayTexts& texts, const Observation& stored, Day today);

// Whether the form's observation holds what is stored (ids, observer and choice aside).
[[nodiscard]] bool sameObservation(const Observation& typed, const Observation& stored);

// The caption of the first field whose text differs between the two forms ("g nord",
// "Date, jour"), as the status line and a screen reader name it.
[[nodiscard]] std::string changedField(const DayTexts& before, const DayTexts& after);

// A stored day not observed as the form shows it.
[[nodiscard]] DayTexts dayTexts(const UnobservedDay& day);

// The stored observation as the form shows it.
[[nodiscard]] DayTexts dayTexts(const Observation& observation);

// The computer's clock in UT, to the minute: the day the checks call today, and the time
// a new observation starts with.
struct ClockReading {
  Day day;
  TimeOfDay time;
};
[[nodiscard]] ClockReading clockNow();

// An empty form for a new observation at `day` and `time`.
[[nodiscard]] DayTexts newDayTexts(Day day, TimeOfDay time);

// "février 2014".
[[nodiscard]] std::string monthTitle(int year, int month);

// The previous or next month (`step` -1 or 1), or the same month a year before or after
// (`step` -12 or 12).
[[nodiscard]] Day monthMoved(int year, int month, int step);

// The month chosen (1 to 12) with its year as typed ("1975"): the first day of that month,
// or why it cannot be shown ("Année : « 19a5 » n'est pas une année de 1 à 9999.").
struct MonthTyped {
  std::optional<Day> first;
  std::string problem;
};
[[nodiscard]] MonthTyped readMonth(int month, std::string_view yearText);

// The observers' fields as typed: the code of their network ("HUZR"), their name, their
// instrument. Aperture and focal length are whole millimetres, left empty when unknown.
struct ObserverTexts {
  std::string code{}, name{}, aperture{}, focalLength{};
  Method method = Method::Unknown;
  bool operator==(const ObserverTexts&) const = default;
};
[[nodiscard]] ObserverTexts observerTexts(const Observer& observer);

struct ObserverReading {
  std::optional<Observer> observer;  // none when refused
  std::vector<std::string> problems;
};
// The observer `id` as typed; a blank name is the code's. A code is what a network knows
// the observer by and names the reports' files: letters, digits, ".", "-" and "_" only.
[[nodiscard]] ObserverReading readObserver(const ObserverTexts& texts, Id id);

// The methods in their order (Method::Unknown first, "non précisée"), as a list offers them.
[[nodiscard]] const std::vector<std::string>& methodNames();
// "projection", "vision directe à travers un filtre", "photographie"; empty when unknown.
[[nodiscard]] std::string methodName(Method method);
// "ouverture 80 mm, focale 1200 mm, projection": what is known of the instrument, empty
// when nothing is.
[[nodiscard]] std::string instrumentText(const Observer& observer);
// How a list of observers names one: "Jean Dupont (HUZR)", the code alone while the name
// is the code.
[[nodiscard]] std::string observerChoiceText(const Observer& observer);

// The observations of one day, by time, as the window lists them: "05:40 (retenue)" for
// the one the reports take (month.h), "09:10" for another.
struct DayChoice {
  Id id = 0;
  std::string text;
  bool retained = false;
};
[[nodiscard]] std::vector<DayChoice> dayChoices(const std::vector<Observation>& observations, Day day);

// "Observation retenue pour le 3 février 2014 : 09:05, R = 109".
[[nodiscard]] std::string retainedText(const Observation& observation);

// The group's fields, as typed, in the order of the table's columns.
struct GroupTexts {
  std::string number, noaaRegion, hemisphere, latitude, longitude, centralMeridianDistance;
  std::string zurichClass, mcintoshClass, spots, area;
  bool operator==(const GroupTexts&) const = default;
};

[[nodiscard]] const std::vector<std::string>& groupHeadings();
// The table's row of a group, and its fields as the form shows them.
[[nodiscard]] std::vector<std::string> groupCells(const Group& group, std::string_view decimalSeparator);
[[nodiscard]] GroupTexts groupTexts(const Group& group, std::string_view decimalSeparator);

struct GroupReading {
  std::optional<Group> group;  // none when refused
  std::vector<std::string> problems;
};

// The number after the observation's highest, 1 for its first group.
[[nodiscard]] int nextGroupNumber(const std::vector<Group>& groups);

// The group as typed (its hemisphere, left empty, is B's, else north), for the observation `observationId` (its id is `id`, 0 for a new
// group; its origin is kept from `origin`).
[[nodiscard]] GroupReading readGroup(const GroupTexts& texts, Id id, Id observationId, GroupOrigin origin,
                                     std::string_view decimalSeparator);

}  // namespace kavrel::journal
