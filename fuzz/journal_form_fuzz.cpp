// The Journal window's fields typed with arbitrary text: the day's form and a group's.
//
// Fields: separator | options (a "d" for the disc alone, an "n" for a day not observed) |
// day | month | year | hour | minute | seeing | transparency | remarks | g north | f north |
// g south | f south | g disc | f disc | then a group's ten fields.
//
// Whatever is typed, the reading ends; what it accepts passes the journal's checks (an
// observation or a day not observed, never both), a form refused says at least one
// problem, and what is accepted, shown again in the form and read back, is the same; every
// problem is UTF-8 when what was typed is. A group accepted and shown again reads back as
// the same row of the groups' table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "journal/checks.h"
#include "journal/day_form.h"

using kavrel::fuzz::isUtf8;
using kavrel::fuzz::require;
namespace journal = kavrel::journal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kavrel::fuzz::Fields fields = kavrel::fuzz::splitFields(data, size, 25);
  const auto text = [&](std::size_t i) { return std::string(fields.texts[i]); };
  constexpr journal::Day kToday{2014, 12, 31};

  journal::DayTexts typed;
  typed.wholeDisc = fields.texts[0].find('d') != std::string_view::npos;
  typed.notObserved = fields.texts[0].find('n') != std::string_view::npos;
  std::string* day[] = {&typed.day,        &typed.month,       &typed.year,       &typed.hour,
                        &typed.minute,     &typed.seeing,      &typed.transparency, &typed.remarks,
                        &typed.groupsNorth, &typed.spotsNorth, &typed.groupsSouth, &typed.spotsSouth,
                        &typed.groupsDisc, &typed.spotsDisc};
  bool utf8 = true;
  for (std::size_t i = 0; i < std::size(day); ++i) {
    *day[i] = text(i + 1);
    utf8 = utf8 && isUtf8(*day[i]);
  }

  const journal::DayReading reading = journal::readDay(typed, journal::Observation{}, kToday);
  require(!(reading.observation && reading.unobserved));
  require(reading.problems.empty() == (reading.observation || reading.unobserved));
  if (utf8)
    for (const std::string& problem : reading.problems) require(isUtf8(problem));
  if (reading.observation) {
    require(journal::checkObservation(*reading.observation, kToday).empty());
    const journal::DayReading again = journal::readDay(journal::dayTexts(*reading.observation), {}, kToday);
    require(again.observation && journal::sameObservation(*again.observation, *reading.observation));
  }
  if (reading.unobserved) {
    require(journal::checkUnobservedDay(*reading.unobserved, kToday).empty());
    const journal::DayReading again = journal::readDay(journal::dayTexts(*reading.unobserved), {}, kToday);
    require(again.unobserved && again.unobserved->date == reading.unobserved->date &&
            again.unobserved->time == reading.unobserved->time &&
            again.unobserved->remarks == reading.unobserved->remarks);
  }

  journal::GroupTexts group;
  std::string* cells[] = {&group.number,        &group.noaaRegion, &group.hemisphere, &group.latitude,
                          &group.longitude,     &group.centralMeridianDistance,       &group.zurichClass,
                          &group.mcintoshClass, &group.spots,      &group.area};
  for (std::size_t i = 0; i < std::size(cells); ++i) *cells[i] = text(15 + i);
  const journal::GroupReading read = journal::readGroup(group, 0, 1, journal::GroupOrigin::Typed, fields.separator);
  require(read.problems.empty() == read.group.has_value());
  if (read.group) {
    require(journal::checkGroup(*read.group).empty());
    const journal::GroupReading again =
        journal::readGroup(journal::groupTexts(*read.group, fields.separator), 0, 1, journal::GroupOrigin::Typed,
                           fields.separator);
    require(again.group && journal::groupCells(*again.group, fields.separator) ==
                               journal::groupCells(*read.group, fields.separator));
  }
  return 0;
}
