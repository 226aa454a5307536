// The per-keystroke checks of the date and time fields.
//
// Each date-driven window checks a field's whole text after every change and either
// accepts it or names the refusal, whose message the window shows before emptying the
// field. Two forms exist:
//  - NumberRead (the Julian-day window): day, hour and minute are read with the number
//    reader and must equal an integer of their range ("05", " 5" and "5h" pass);
//  - ExactText (the other windows): day, hour and minute must be one of the texts of
//    their range written without leading zero ("0" and "00" to "09" are also hours and
//    minutes).
// The month and the year are checked the same way in both forms. The empty text is
// always accepted: an empty field is not an error.
#pragma once

#include <string_view>

namespace kavrel {

enum class DateField { Day, Month, Year, Hour, Minute };
enum class CheckForm { NumberRead, ExactText };

// The refusal a field's text raises, one per error routine of the windows.
enum class Refusal {
  None,    // accepted
  Day,     // errJour
  Month,   // errMois
  Hour,    // errHeure
  Minute,  // errMinute
  Number,  // errNombre (the year)
};

inline constexpr std::string_view kErrorTitle = "Message d'erreur";
inline constexpr std::string_view kDayMessage = "Le jour doit être compris entre 1 et 31";
inline constexpr std::string_view kMonthMessage = "Le mois doit être compris entre 1 et 12";
inline constexpr std::string_view kHourMessage = "L'heure doit être comprise entre 0 et 23 h";
inline constexpr std::string_view kMinuteMessage =
    "Les minutes doivent être comprises entre 0 et 59 min";
inline constexpr std::string_view kNumberMessage = "Valeur incorrecte";

[[nodiscard]] Refusal checkField(DateField field, CheckForm form, std::string_view text) noexcept;

// The message box text of a refusal; empty for Refusal::None.
[[nodiscard]] std::string_view refusalMessage(Refusal refusal) noexcept;

}  // namespace kavrel
