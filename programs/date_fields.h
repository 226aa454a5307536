// The date and time fields of a window, checked after every change.
//
// Each change handler of a date-driven window first checks its field's whole text
// (common/field_check.h). A refused text is reported by a modal message titled
// "Message d'erreur" with the exclamation icon (errJour, errMois, errHeure, errMinute,
// errNombre), then the field is emptied; emptying it runs its change handler again,
// nested, on the empty text. The handler then recomputes the window's results, except
// where a window keeps them after an emptied or refused year.
#pragma once

#include <QString>
#include <string>

#include "common/field_check.h"
#include "common/julian_day.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace kavrel {

// The texts of a window's date fields, held while the core reads them: txtJour, txtMois
// and txtAnnée (with `suffix`, e.g. "F" for the second date), and txtHeure and txtMinute
// where the window has them (otherwise "0", which is 0 h UT).
class FieldTexts {
 public:
  explicit FieldTexts(const ui::Form& form, const QString& suffix = {});

  [[nodiscard]] DateTexts view() const { return {m_day, m_month, m_year, m_hour, m_minute}; }

 private:
  std::string m_day, m_month, m_year, m_hour, m_minute;
};

// The name of a document printed from a window's date and time fields: `what`, the date
// ("2001-12-06") and the time ("09h05") where the fields hold them, e.g. "Aspect du Soleil
// 2001-12-06 09h05"; the print job's name and that of the PDF file offered in its place.
[[nodiscard]] QString documentName(const QString& what, const ui::Form& form);

// What the year's handler does after an emptied or refused year.
enum class YearRule {
  Recompute,    // recomputes in every case
  KeepResults,  // recomputes only an accepted year: the results stay as they were until
                // another field changes
};

class DateFields {
 public:
  // The checks only, for a window that keeps its own handlers.
  DateFields(ui::Form& form, ui::MessageBox& messages, CheckForm checkForm);
  // Owns the change handlers of the form's date fields: txtJour, txtMois, txtAnnée, and
  // txtHeure, txtMinute and chkZero where the form holds them. Each checks its field,
  // then runs `recompute`, the window's one routine that rewrites its results.
  DateFields(ui::Form& form, const ui::Desktop& desktop, CheckForm checkForm, ui::Handler recompute,
             YearRule yearRule = YearRule::Recompute);

  // Checks the current text of the text box `name`, holding a `field`; on refusal shows
  // the message and empties the box. Returns the refusal (Refusal::None if accepted).
  Refusal check(DateField field, const QString& name);

  // Today's date from the clock into txtJour, txtMois and txtAnnée (with `suffix`, e.g.
  // "F" for the second date), in this order, each as an integer without leading zero.
  void fillDate(const ui::LocalTime& now, const QString& suffix = {});
  // The clock's minute, then its hour, into txtMinute and txtHeure.
  void fillTime(const ui::LocalTime& now);

 private:
  void txtJour_Change();
  void txtMois_Change();
  void txtAnnée_Change();
  void txtHeure_Change();
  void txtMinute_Change();
  void chkZero_Click();

  // The hour and minute checks beside "Ramener à 0 heure" (chkZero): while the box is
  // ticked the time goes back to 0 h 0 min and nothing is checked (assigning the "0" a
  // field already holds runs nothing, which ends the nesting); otherwise the field is
  // checked.
  void checkTime(DateField field, const QString& name);
  // What a change of chkZero does to the time: ticked, 0 h 0 min; unticked, the clock's
  // current time (not the time before ticking).
  void followZeroBox(const ui::LocalTime& now);

  ui::Form& m_form;
  ui::MessageBox& m_messages;
  CheckForm m_checkForm;
  ui::Clock* m_clock = nullptr;
  ui::Handler m_recompute;
  YearRule m_yearRule = YearRule::Recompute;
};

}  // namespace kavrel
