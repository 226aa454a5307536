// What runs each action of `kavrel journal`, by subject; the rows that name them, with
// their help, are in journal_actions.cpp. Each takes the words left after the options and
// the request, and returns its kind (Usage when the words do not fit its synopsis).
// Qt-free, but for drawChart, drawRotation and drawRotationMap (see cli/painting.h).
#pragma once

#include "cli/journal_request.h"

namespace kavrel::cli::logbook {

// The log's days (journal_days.cpp).
[[nodiscard]] Status addObservation(const Fields& f, Request& s);
[[nodiscard]] Status correctObservation(const Fields& f, Request& s);
[[nodiscard]] Status removeObservation(const Fields& f, Request& s);
[[nodiscard]] Status retainObservation(const Fields& f, Request& s);
[[nodiscard]] Status importLog(const Fields& f, Request& s);
[[nodiscard]] Status printMonth(const Fields& f, Request& s);

// The reports (journal_reports.cpp).
[[nodiscard]] Status writeReport(const Fields& f, Request& s);
[[nodiscard]] Status saveCopy(const Fields& f, Request& s);

// The month sent to the observer's network (journal_send.cpp).
[[nodiscard]] Status sendMonth(const Fields& f, Request& s);

// The charts (journal_chart.cpp in kavrel-dessin, handed over to it by kavrel).
[[nodiscard]] Status drawChart(const Fields& f, Request& s);

// The observers (journal_observers.cpp).
[[nodiscard]] Status listObservers(const Fields& f, Request& s);

// The groups listed by others (journal_groups.cpp).
[[nodiscard]] Status groups(const Fields& f, Request& s);
[[nodiscard]] Status groupDayCounts(const Fields& f, Request& s);

// The regions followed from day to day, the rotation law fitted on them
// (journal_regions.cpp), their pictures (journal_region_pictures.cpp in kavrel-dessin,
// handed over to it by kavrel).
[[nodiscard]] Status printRegions(const Fields& f, Request& s);
[[nodiscard]] Status printRotation(const Fields& f, Request& s);
[[nodiscard]] Status drawRotation(const Fields& f, Request& s);
[[nodiscard]] Status drawRotationMap(const Fields& f, Request& s);

// SILSO's numbers and the observer's k (journal_k.cpp).
[[nodiscard]] Status importSilso(const Fields& f, Request& s);
[[nodiscard]] Status printSilsoMonth(const Fields& f, Request& s);
[[nodiscard]] Status printK(const Fields& f, Request& s);

}  // namespace kavrel::cli::logbook
