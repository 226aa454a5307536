// The date and time fields of a window, checked after every change.
#include "programs/date_fields.h"

#include "programs/qt_text.h"

namespace kavrel {

DateFields::DateFields(ui::Form& form, ui::MessageBox& messages, CheckForm checkForm)
    : m_form(form), m_messages(messages), m_checkForm(checkForm) {}

Refusal DateFields::check(DateField field, const QString& name) {
  const Refusal refusal = checkField(field, m_checkForm, toUtf8(m_form.text(name)));
  if (refusal != Refusal::None) {
    m_messages.show(toQString(refusalMessage(refusal)), ui::kStyleExclamation, toQString(kErrorTitle));
    m_form.setText(name, QString());
  }
  return refusal;
}

}  // namespace kavrel
