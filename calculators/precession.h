// Mean right ascension and declination carried from one year to another by the annual
// precession:
//   delta alpha = (m + n sin(alpha) tan(delta)) N    seconds of time
//   delta delta = n' cos(alpha) N                    seconds of arc
// over N = target year - reference year, with m, n, n' from a table chosen by the target
// year. Approximate, meant for epochs not far apart within 1700..2200.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::precession {

inline constexpr std::string_view kDataMessage = "Données incorrectes";
inline constexpr std::string_view kYearMessage =
    "Le programme n'est prévue que pour traiter entre les années 1700 et 2200";

struct Coefficients {
  double m = 0;       // seconds of time per year
  double n = 0;       // seconds of time per year
  double nPrime = 0;  // seconds of arc per year
};

// The row of the target year: each row whose open interval holds the year overwrites
// the coefficients, so at a joint (1750 < y < 1751) the later row wins; none gives zeros.
[[nodiscard]] Coefficients coefficientsFor(double targetYear) noexcept;

// The four input texts of the window.
struct Inputs {
  std::string_view referenceYear;   // Text1
  std::string_view rightAscension;  // Text2, h.mmss
  std::string_view declination;     // Text3, d.mmss
  std::string_view targetYear;      // Text4
};

enum class Message { YearOutOfRange, BadData };

struct Outcome {
  // The message boxes to show, in order: up to two year warnings, then possibly
  // "Données incorrectes" (after which every box is emptied).
  std::vector<Message> messages;
  // Text5 and Text6 under "#######0.0000"; absent when nothing is written (bad data,
  // or a computation that left the double range).
  std::optional<std::string> rightAscension;
  std::optional<std::string> declination;
};

[[nodiscard]] Outcome compute(const Inputs& inputs, std::string_view decimalSeparator);

[[nodiscard]] std::string_view messageText(Message message) noexcept;

}  // namespace kavrel::precession
