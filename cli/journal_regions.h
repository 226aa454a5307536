// What `kavrel journal regions`, `rotation` and `carte` share: the span and source asked
// for, the sightings of that source read from the journal, followed into regions, and the
// observer's regions numbered from the imported records of the same days. Dates are UT
// days; the default span is the journal's whole (years 1 to 9999). Qt-free.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/journal_request.h"
#include "journal/regions.h"

namespace kavrel::cli::logbook {

inline constexpr std::string_view kRegionSourceMessage = "Source : observateur, greenwich ou srs.";

struct RegionQuery {
  Day first{1, 1, 1};
  Day last{9999, 12, 31};
  journal::RegionSource source = journal::RegionSource::Observer;
};

// --du D, --au D (2014-02-03) and --source S; none when refused (said).
[[nodiscard]] std::optional<RegionQuery> regionQuery(const Request& s);

// One source's sightings and the regions made of them.
struct Followed {
  std::vector<journal::Sighting> sightings;
  std::vector<journal::Region> regions;
};

// The regions of `query` (the observer chosen by --observateur, or the only one, for the
// observer's source); none when the journal cannot be read or the observer is refused
// (said, `status` then telling which).
[[nodiscard]] std::optional<Followed> followedRegions(const journal::Session& session, const RegionQuery& query,
                                                      const Request& s, Status& status);

// The imported sources whose records numbered some of `regions` (the observer's), SRS
// first then Greenwich for those still without; none when the journal cannot be read.
[[nodiscard]] std::optional<std::vector<journal::RegionSource>> numberFromImported(
    const journal::Session& session, const RegionQuery& query, Followed& followed, const Request& s);

// "A : 14,41 ± 0,06 °/jour", "B : -2,9 ± 0,4 °/jour", "Régions : 212".
[[nodiscard]] std::vector<std::string> rotationLines(const journal::RotationLaw& law, std::string_view separator);
// Said when fewer than three regions (or all at one latitude) leave the law unfitted.
[[nodiscard]] std::string tooFewRegionsLine(const journal::RotationLaw& law);

// The law of `query`'s regions, its lines printed; none when refused or failed (said,
// `status` telling which). `subtitle` receives the picture's subtitle.
[[nodiscard]] std::optional<journal::RotationLaw> printedRotation(const Request& s, Status& status,
                                                                  std::string& subtitle);

// "de l'observateur", "de Greenwich", "des résumés SRS".
[[nodiscard]] std::string regionSourceLabel(journal::RegionSource source);

}  // namespace kavrel::cli::logbook
