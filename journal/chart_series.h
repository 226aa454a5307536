// The pictures of the journal set beside the world's numbers, as numbers and texts: their
// series, the ranges and ticks of their axes, their French titles and legends. No Qt: the
// window's tab and `kavrel journal graphique` paint what these say (journal_charts.h).
//
// - "mensuel": the observer's monthly mean R (times k when a k is given), SILSO's monthly
//   means and its 13-month smoothed mean, against time;
// - "k": the observer's R of each paired day (x) against SILSO's SN of the day (y), with
//   the line SN = k R of the chosen k (else the ratio of sums of observer_k.h);
// - "papillon": the latitude of groups against time: the observer's own (every group with
//   a latitude in the day's observations, one mark a day: the observer's numbering says
//   nothing of the days before), and the imported ones, one mark per group: the
//   mean date and latitude of the consecutive records of one source and number, none more
//   than kGroupGapDays apart (the numbers come round again); under it, SILSO's monthly
//   means and the observer's.
// Time is in decimal years: a day at its middle, a month at its middle. A NaN y in a series
// breaks its line (a month without a value). The years asked are whole years, first to
// last; the smoothed mean at the range's edges is made from the months beyond it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/group_records.h"
#include "journal/observer_k.h"
#include "journal/read.h"
#include "journal/records.h"
#include "journal/silso.h"

namespace kavrel::journal {

class Journal;

enum class ChartKind { Monthly, K, Butterfly };

// "mensuel", "k", "papillon"; none for another name.
[[nodiscard]] std::optional<ChartKind> chartKindNamed(std::string_view name) noexcept;

// How a series is drawn, so that it reads in black and white: by its marks and dashes as
// much as by its ink.
enum class Look {
  ThinLine,     // a thin solid line
  ThickLine,    // a thick solid line
  DashedMarks,  // open circles joined by a dashed line
  Dots,         // small filled squares
  Crosses,      // diagonal crosses
  Bars,         // bars from zero, filled light
  LineDots,     // filled squares joined by a thin solid line
  LineCrosses,  // diagonal crosses joined by a thin solid line
};
enum class Ink { Black, Grey, Blue, Red };

struct ChartPoint {
  double x = 0;
  double y = 0;
};

struct ChartSeries {
  std::string name;  // the legend's text
  Look look = Look::ThinLine;
  Ink ink = Ink::Black;
  std::vector<ChartPoint> points;
};

struct Tick {
  double value = 0;
  std::string label;
};

struct Axis {
  std::string title;
  double low = 0;
  double high = 1;
  std::vector<Tick> ticks;  // within [low, high], ascending
};

struct Panel {
  Axis x;
  Axis y;
  std::vector<ChartSeries> series;  // painted in this order, the last on top
  double heightShare = 1;           // of the panels' height
};

struct Chart {
  std::string title;
  std::vector<Panel> panels;  // top to bottom; a butterfly's share their x axis
  std::string credit;         // the sources drawn, empty when none is named
  std::string note;           // why nothing is drawn, empty when something is
  int firstYear = 0;          // the years drawn, 0 when nothing is
  int lastYear = 0;
};

inline constexpr int kGroupGapDays = 30;
inline constexpr char kSilsoCredit[] = "Source : WDC-SILSO, Observatoire royal de Belgique, Bruxelles";
inline constexpr char kNothingToDraw[] = "Rien à dessiner pour ces années.";

// What a picture is made of, read from the journal (chartData) or given by a test.
struct ChartData {
  int firstYear = 0;
  int lastYear = 0;
  std::string observer;                // its code, for the legends
  std::vector<Observation> days;       // the observer's day observations (month.h)
  std::vector<SilsoDay> silso;         // in date order; may run beyond the years
  std::vector<PairedDay> paired;       // the "k" picture's days
  std::vector<GroupRecord> ownGroups;  // the observer's groups with a latitude (date, latitude)
  std::vector<GroupRecord> imported;   // in any order
};

struct ChartRequest {
  ChartKind kind = ChartKind::Monthly;
  std::optional<int> firstYear;  // none: the observer's first year (else the data's)
  std::optional<int> lastYear;
  Id observerId = 0;             // 0: no observer's series
  std::string observerCode;
  std::optional<double> k;       // the observer's R multiplied ("mensuel"), the line ("k")
  std::string decimalSeparator = ",";
};

// The data of a request, its years settled (firstYear 0 when there is nothing at all); a
// journal that could not be read gives none, and why.
[[nodiscard]] Read<ChartData> chartData(const Journal& journal, const ChartRequest& request);

[[nodiscard]] Chart makeChart(const ChartData& data, const ChartRequest& request);

// The name a saved picture is offered under, saying what it shows and over which years:
// "journal-mensuel-2008-2020.png", "journal-k-2014.png", "journal-papillon.png" when
// nothing is drawn. `extension` without its dot.
[[nodiscard]] std::string chartFileName(ChartKind kind, const Chart& chart, std::string_view extension = "png");

// Decimal years.
[[nodiscard]] double decimalYear(Day day) noexcept;
[[nodiscard]] double decimalYear(int year, int month) noexcept;  // the month's middle

// Ticks at round steps (1, 2 or 5 times a power of ten) over [low, high], about `wanted`
// of them; the range widened to whole steps.
[[nodiscard]] Axis valueAxis(std::string title, double low, double high, int wanted,
                             std::string_view decimalSeparator);
// A time axis over whole years; months marked over three years or fewer.
[[nodiscard]] Axis yearAxis(int firstYear, int lastYear);

}  // namespace kavrel::journal
