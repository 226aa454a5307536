// The date and time fields of a window, checked after every change.
//
// Each change handler of a date-driven window first checks its field's whole text
// (common/field_check.h). A refused text is reported by a modal message titled
// "Message d'erreur" with the exclamation icon (errJour, errMois, errHeure, errMinute,
// errNombre), then the field is emptied; emptying it runs its change handler again,
// nested, on the empty text. The handler then goes on as its window says (most
// recompute).
#pragma once

#include <QString>

#include "common/field_check.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace kavrel {

class DateFields {
 public:
  DateFields(ui::Form& form, ui::MessageBox& messages, CheckForm checkForm);

  // Checks the current text of the text box `name`, holding a `field`; on refusal shows
  // the message and empties the box. Returns the refusal (Refusal::None if accepted).
  Refusal check(DateField field, const QString& name);

 private:
  ui::Form& m_form;
  ui::MessageBox& m_messages;
  CheckForm m_checkForm;
};

}  // namespace kavrel
