// What the window Réseau shows, computed from a network's base without Qt: the observers
// with their coefficient and its drift, a month's table (the bulletin's values), the
// network's pictures, a file read and imported as `kavrel reseau importer` does, and a
// server's connection URI built from its parts. Every text is French and ready to show;
// every number comes from coefficients.h and bulletin.h, none is computed in the window.
//
// The drift of an observer's k is read from its yearly k by the ratio of sums (computeK
// per calendar year, 20 paired days a year at least): the least-squares slope of k
// against the year, in k per year, and the first and last yearly k. Two years with a k
// at least, or no drift.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/chart_series.h"
#include "reseau/bulletin.h"
#include "reseau/coefficients.h"
#include "reseau/network_charts.h"
#include "reseau/send_month.h"
#include "reseau/store.h"
#include "reseau/table.h"

namespace kavrel::reseau {

// One observer's line of the tab "Observateurs".
struct ObserverLine {
  std::string code;
  int days = 0;        // days observed in the base
  int pairedDays = 0;  // of them, those SILSO (or the pilot) has too
  std::optional<double> k;        // ratio of sums over the whole period
  std::optional<double> slope;    // k per year
  std::optional<int> firstYear, lastYear;
  std::optional<double> firstK, lastK;
  // Observateur, Nom, Jours, Jours communs, k, Dérive (k/an), Premier → dernier k; "–"
  // where there is no value.
  std::array<std::string, 7> cells;
};

inline constexpr std::array<const char*, 7> kObserverLineCaptions = {
    "Observateur", "Nom", "Jours", "Jours communs", "k", "Dérive (k/an)", "Premier → dernier k"};

// The slope and the ends of the yearly k given; none below two years with a k.
struct Drift {
  std::optional<double> slope;
  std::optional<int> firstYear, lastYear;
  std::optional<double> firstK, lastK;
};
[[nodiscard]] Drift driftOf(const std::vector<ObserverK>& yearly, const std::string& code);

// The base read once for the window: its period, the observers' lines, the yearly and
// whole-period k, the network's series and the observers of each month.
struct Overview {
  std::optional<int> firstDay, lastDay;  // the observations' day numbers; none: no observation
  std::vector<ObserverLine> observers;   // by code
  std::vector<ObserverK> ks;             // the whole period's (year 0) and each year's
  NetworkSeries series;                  // the default rule
  std::vector<MonthObservers> perMonth;
  std::string error;  // a reading that failed, in French; what was read before stays
};
[[nodiscard]] Overview readOverview(const Store& store, std::string_view decimalSeparator);

// The month's bulletin from the overview and the base's month.
struct MonthTable {
  Bulletin bulletin;
  std::string error;
};
[[nodiscard]] MonthTable monthTable(const Store& store, const Overview& overview, int year, int month,
                                    std::string_view decimalSeparator);

// The month's bulletin and the network's pictures for a period, a rule and a reference
// chosen (kavrel reseau mois, bulletin, graphique): the same values read from the base
// for those options alone.
[[nodiscard]] MonthTable monthBulletin(const Store& store, const KOptions& options, NetworkRule rule, int year,
                                       int month, std::string_view decimalSeparator);
struct ChartMade {
  journal::Chart chart;
  std::string error;
};
[[nodiscard]] ChartMade networkChart(const Store& store, const KOptions& options, NetworkRule rule,
                                     NetworkChartKind kind, std::string_view decimalSeparator);

[[nodiscard]] journal::Chart overviewChart(NetworkChartKind kind, const Overview& overview,
                                           std::string_view decimalSeparator);

// "postgresql://marie@sol.example.org:5432/reseau": user and base percent-encoded, an
// IPv6 address in brackets, the port left out when empty. None when the host or the
// base is empty or the port is not 1..65535.
[[nodiscard]] std::optional<std::string> serverUri(std::string_view host, std::string_view port,
                                                   std::string_view base, std::string_view user);

// A file read for import: a coordinator's table or a Journal's report (table.h), or a
// Kavrel journal (its every observer's days). `error` when it could not be read or is
// refused whole (a journal that does not open); then nothing else is set.
struct ImportFile {
  std::string fileName;  // without its folder
  std::string checksum;
  std::string kind;      // "table d'un coordinateur", "journal de Kavrel"…
  std::vector<TableRow> rows;
  std::vector<TableRefusal> refusals;
  std::vector<std::string> setAside;
  std::vector<int> otherOfDay;  // a Journal CSV's lines of a day's other observations, left out
  std::string error;
  bool unreadable = false;  // the error is the system's (the file could not be read), not a refusal
};
[[nodiscard]] ImportFile readImportFile(const std::string& path, Day today);

// "Lu : table d'un coordinateur, 12 lignes valables, 2 refusées", the columns set aside
// and the lines of a day's other observations left out.
[[nodiscard]] std::string readSummary(const ImportFile& file);
// "ligne 4 : f (3) est inférieur à g (5)", one per refusal.
[[nodiscard]] std::vector<std::string> refusalLines(const ImportFile& file);
// "Importer les 12 lignes valables ?"
[[nodiscard]] std::string partialQuestion(const ImportFile& file);

// The rows stored, `partial` when some were refused and the user chose to import the
// rest; `by` the login or role. What the import did, said in `message`.
struct ImportOutcome {
  Imported imported;
  std::string message;
  [[nodiscard]] bool done() const noexcept { return imported.error.empty(); }
};
[[nodiscard]] ImportOutcome importFile(Store& store, const ImportFile& file, bool partial, const std::string& by,
                                       const std::string& now);

}  // namespace kavrel::reseau
