// The texts of the disc's page and window that do not depend on Qt: the heading (the
// instant to the minute, P, B0, L0 from the precise ephemeris, the rotation as the suite
// counts it), the line saying how the disc is drawn, the
// drawing's options with their refusals, and the window's and command's shared messages.
//
// Angles in degrees, diameters in millimetres on the paper, numbers with the decimal
// separator given. The heading is meaningful wherever the ephemeris gives a finite
// orientation (discInstant); a day number beyond double's minutes shows 0 h 00.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/calendar_date.h"
#include "disque/disc_grid.h"
#include "sun/heliographic.h"

namespace kavrel::disque {

// The name of what is drawn: the window's title, the page's title, the document's name.
inline constexpr char kDocumentTitle[] = "Disque solaire";
// Shown wherever the disc is asked for while a date or time field is empty.
inline constexpr char kIncompleteDate[] = "La date et l'heure doivent être complètes pour dessiner le disque";
inline constexpr char kPointerHint[] = "Placez le pointeur sur le disque ; un clic ajoute une tache.";
// Which ephemeris gives the disc's P, B0 and L0 (sun/precise_aspect.h), said beside them.
inline constexpr char kEphemerisText[] = "Éphéméride précise (ERFA, IAU)";

inline constexpr double kDefaultDiameterMm = 150;
inline constexpr double kMinDiameterMm = 50;
inline constexpr double kMaxDiameterMm = 250;

namespace detail {

// A message assembled at compile time from the limits it states.
struct FixedText {
  std::array<char, 96> chars{};
  std::size_t size = 0;

  constexpr FixedText& operator<<(std::string_view text) {
    for (char c : text) chars[size++] = c;
    return *this;
  }
  constexpr FixedText& operator<<(int number) {
    char digits[12] = {};
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + number % 10);
      number /= 10;
    } while (number > 0);
    while (count > 0) chars[size++] = digits[--count];
    return *this;
  }
};

constexpr FixedText diameterRefused() {
  FixedText text;
  text << "Le diamètre doit être compris entre " << static_cast<int>(kMinDiameterMm) << " et "
       << static_cast<int>(kMaxDiameterMm) << " mm.";
  return text;
}

constexpr FixedText stepRefused() {
  FixedText text;
  text << "Le pas de la grille doit être de " << GridStep::kAllowed[0] << ", " << GridStep::kAllowed[1] << " ou "
       << GridStep::kAllowed[2] << " degrés.";
  return text;
}

inline constexpr FixedText kDiameterRefusedText = diameterRefused();
inline constexpr FixedText kStepRefusedText = stepRefused();

}  // namespace detail

// Shown when the options are outside what the page can draw.
inline constexpr const char* kDiameterRefused = detail::kDiameterRefusedText.chars.data();
inline constexpr const char* kStepRefused = detail::kStepRefusedText.chars.data();

// How the disc is drawn on the page.
struct PageOptions {
  double diameterMm = kDefaultDiameterMm;  // kMinDiameterMm..kMaxDiameterMm
  DrawingOrientation orientation = DrawingOrientation::EastLeft;
  GridStep step{};
};

// The options from the diameter as typed (a text that is not a number is a diameter the
// page refuses).
[[nodiscard]] PageOptions pageOptionsOf(std::string_view diameter, DrawingOrientation orientation, GridStep step,
                                        std::string_view decimalSeparator);

// Empty when the options can be drawn, else the French reason.
[[nodiscard]] std::string refusalOf(const PageOptions& options);

// The instant of the heading, to the nearest minute, the date taken at that minute.
struct HeadingTime {
  CalendarDate date{};
  int hour = 0;
  int minute = 0;
};
[[nodiscard]] HeadingTime headingTime(double julianDay) noexcept;

// "Le 6 décembre 2001 à 9 h 05 TU     P 13,93°     B0 0,18°     L0 57,27°     Rotation 1983"
[[nodiscard]] std::string headingLine(double julianDay, std::string_view decimalSeparator);
// The same with P, B0 and L0 given (a photograph's observer).
[[nodiscard]] std::string headingLine(double julianDay, const DiscOrientation& disc,
                                      std::string_view decimalSeparator);
// "Disque de 150 mm, est à gauche (vue directe, photographie), grille de 10°"
[[nodiscard]] std::string drawingLine(const PageOptions& options, std::string_view decimalSeparator);
// The window's semi-diameter, P, B0 and L0 from the precise ephemeris, written as the
// solar-aspect window writes the suite's ("16  17,4", "###0.00" cut to hundredths); the
// empty-result text for each while there is no orientation.
struct DiscAspectTexts {
  std::string semiDiameter;  // minutes, two spaces, seconds
  std::string p;
  std::string b0;
  std::string l0;
};
[[nodiscard]] DiscAspectTexts discAspectTexts(const std::optional<DiscOrientation>& disc,
                                              std::string_view decimalSeparator);
// "L0 57,27°", written beside the central meridian.
[[nodiscard]] std::string centralMeridianLabel(const DiscOrientation& disc, std::string_view decimalSeparator);

}  // namespace kavrel::disque
