// Batches of instants for `kavrel soleil --csv` and `kavrel tache --csv`: one line of an
// observer's log read, checked and turned into one CSV row.
//
// A line holds an instant of Universal Time, either as the five fields of the date
// windows ("6 12 2001 9 5", checked as the solar-aspect window checks them) or in ISO 8601
// ("2001-12-06T09:05", "2001-12-06 09:05", "2001-12-06T09:05:30"; astronomical years,
// "-0044-03-15"); for spots it is followed by the position angle (degrees) and the
// distance from the centre (disc radii). A day the month does not have (31 February) is
// refused, where the windows would carry it into the next month. A refused line gives a
// row of empty values with its French message in the last column, never a guess.
// Rows: solar aspect as the ephemeris of sun/ephemeris.h gives it (decimal hours and
// degrees, minutes of arc for the semi-diameter), B, L and DMC as sun/heliographic.h
// gives them; numbers are rounded to their column's decimals, except the rotation, whose
// fraction is cut so that its integer part stays the window's rotation number. The
// theory is meant for a few millennia around 1900; a year far beyond gives its numbers
// all the same, and a year with more than 15 digits is refused.
// Files are read line by line in constant memory: a line longer than kMaxLineLength is
// refused whole.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "common/csv.h"
#include "common/julian_day.h"

namespace kavrel::batch {

inline constexpr std::size_t kMaxLineLength = 1000;

inline constexpr std::string_view kSunLineMessage =
    "Ligne illisible : attendu JOUR MOIS ANNEE HEURE MINUTE ou AAAA-MM-JJTHH:MM[:SS]";
inline constexpr std::string_view kSpotLineMessage =
    "Ligne illisible : attendu JOUR MOIS ANNEE HEURE MINUTE ANGLE DISTANCE ou AAAA-MM-JJTHH:MM[:SS] ANGLE DISTANCE";
inline constexpr std::string_view kLongLineMessage = "Ligne trop longue : plus de 1000 caractères";
inline constexpr std::string_view kNoSuchDayMessage = "Ce jour n'existe pas dans ce mois";
inline constexpr std::string_view kSecondMessage = "Les secondes doivent être comprises entre 0 et 59 s";
inline constexpr std::string_view kAngleMessage = "L'angle de position doit être un nombre de degrés";
inline constexpr std::string_view kDistanceMessage =
    "La distance au centre doit être un nombre de rayons du disque, de 0 à 1";
inline constexpr std::string_view kImpossibleMessage = "Calcul impossible";

// An instant of a line, and how its row writes it.
struct Instant {
  DateTime when{};   // the minute carries the seconds as its fraction
  std::string date;  // "2001-12-06", "-0044-03-15"
  std::string time;  // "09:05", or "09:05:30" when the line gave seconds
};

// A line read: its instant, or the message of its refusal.
struct SunLine {
  std::optional<Instant> instant;
  std::string_view refusal;
};

struct SpotLine {
  std::optional<Instant> instant;
  double angle = 0;     // degrees, as given (from celestial north, or from the Sun's pole)
  double distance = 0;  // disc radii
  std::string_view refusal;
};

// True for a line that gives no row: empty, blanks only, or a comment ("#" first).
[[nodiscard]] bool isSkipped(std::string_view line) noexcept;

[[nodiscard]] SunLine parseSunLine(std::string_view line);
// The angle and the distance take the locale's decimal separator or a point.
[[nodiscard]] SpotLine parseSpotLine(std::string_view line, std::string_view decimalSeparator);

// The CSV of common/csv.h, in the locale's dialect.
using CsvFormat = csv::Format;

[[nodiscard]] std::string sunHeader(CsvFormat format);
[[nodiscard]] std::string spotHeader(CsvFormat format);

// One row, its line ending included, appended to `row`; false when it carries a message.
bool appendSunRow(std::string& row, const SunLine& line, CsvFormat format);
// `fromSolarNorth`: the angle is measured from the Sun's north pole (--depuis-axe).
bool appendSpotRow(std::string& row, const SpotLine& line, bool fromSolarNorth, CsvFormat format);

// A whole batch, the header first. Stops at the first write error.
struct Summary {
  std::size_t rows = 0;
  std::size_t refused = 0;  // rows with a message
  bool readFailed = false;
  bool writeFailed = false;
};
enum class Kind { SolarAspect, Spot };
[[nodiscard]] Summary runBatch(Kind kind, std::istream& in, std::ostream& out, std::string_view decimalSeparator,
                               bool fromSolarNorth = false);

}  // namespace kavrel::batch
