// The date and time fields of a window, checked after every change.
#include "programs/date_fields.h"

#include "host/qt_text.h"
#include "ui/document_printer.h"

namespace kavrel {

namespace {
std::string fieldText(const ui::Form& form, const QString& name, const char* absent = nullptr) {
  if (absent && !form.has(name)) return absent;
  return toUtf8(form.text(name));
}
}  // namespace

FieldTexts::FieldTexts(const ui::Form& form, const QString& suffix)
    : m_day(fieldText(form, "txtJour" + suffix)),
      m_month(fieldText(form, "txtMois" + suffix)),
      m_year(fieldText(form, "txtAnnée" + suffix)),
      m_hour(fieldText(form, "txtHeure" + suffix, "0")),
      m_minute(fieldText(form, "txtMinute" + suffix, "0")) {}

DateFields::DateFields(ui::Form& form, ui::MessageBox& messages, CheckForm checkForm)
    : m_form(form), m_messages(messages), m_checkForm(checkForm) {}

DateFields::DateFields(ui::Form& form, const ui::Desktop& desktop, CheckForm checkForm, ui::Handler recompute,
                       YearRule yearRule)
    : m_form(form),
      m_messages(desktop.messages),
      m_checkForm(checkForm),
      m_clock(&desktop.clock),
      m_recompute(std::move(recompute)),
      m_yearRule(yearRule) {
  form.onChange("txtJour", [this] { txtJour_Change(); });
  form.onChange("txtMois", [this] { txtMois_Change(); });
  form.onChange("txtAnnée", [this] { txtAnnée_Change(); });
  if (!form.has("txtHeure")) return;
  form.onChange("txtHeure", [this] { txtHeure_Change(); });
  form.onChange("txtMinute", [this] { txtMinute_Change(); });
  form.onClick("chkZero", [this] { chkZero_Click(); });
}

// Whatever the check says, the results follow the texts as they now stand.
void DateFields::txtJour_Change() {
  check(DateField::Day, "txtJour");
  m_recompute();
}

void DateFields::txtMois_Change() {
  check(DateField::Month, "txtMois");
  m_recompute();
}

void DateFields::txtAnnée_Change() {
  if (m_yearRule == YearRule::KeepResults) {
    if (m_form.text("txtAnnée").isEmpty()) return;
    if (check(DateField::Year, "txtAnnée") != Refusal::None) return;
  } else {
    check(DateField::Year, "txtAnnée");
  }
  m_recompute();
}

void DateFields::txtHeure_Change() {
  checkTime(DateField::Hour, "txtHeure");
  m_recompute();
}

void DateFields::txtMinute_Change() {
  checkTime(DateField::Minute, "txtMinute");
  m_recompute();
}

void DateFields::chkZero_Click() {
  followZeroBox(m_clock->now());
  m_recompute();
}

Refusal DateFields::check(DateField field, const QString& name) {
  const Refusal refusal = checkField(field, m_checkForm, toUtf8(m_form.text(name)));
  if (refusal != Refusal::None) {
    m_messages.show(toQString(refusalMessage(refusal)), ui::kStyleExclamation, toQString(kErrorTitle));
    m_form.setText(name, QString());
  }
  return refusal;
}

void DateFields::fillDate(const ui::LocalTime& now, const QString& suffix) {
  m_form.setText("txtJour" + suffix, QString::number(now.day));
  m_form.setText("txtMois" + suffix, QString::number(now.month));
  m_form.setText("txtAnnée" + suffix, QString::number(now.year));
}

void DateFields::fillTime(const ui::LocalTime& now) {
  m_form.setText("txtMinute", QString::number(now.minute));
  m_form.setText("txtHeure", QString::number(now.hour));
}

void DateFields::checkTime(DateField field, const QString& name) {
  if (m_form.value("chkZero") == 1) {
    m_form.setText("txtHeure", "0");
    m_form.setText("txtMinute", "0");
    return;
  }
  check(field, name);
}

void DateFields::followZeroBox(const ui::LocalTime& now) {
  if (m_form.value("chkZero") == 1) {
    m_form.setText("txtHeure", "0");
    m_form.setText("txtMinute", "0");
  } else {
    fillTime(now);
  }
}

QString documentName(const QString& what, const ui::Form& form) {
  QString name = what;
  const QString date = ui::documentDate(form.text("txtJour"), form.text("txtMois"), form.text("txtAnnée"));
  if (date.isEmpty()) return name;
  name += u' ' + date;
  if (!form.has("txtHeure") || !form.has("txtMinute")) return name;
  bool hourOk = false;
  bool minuteOk = false;
  const int hour = form.text("txtHeure").toInt(&hourOk);
  const int minute = form.text("txtMinute").toInt(&minuteOk);
  if (hourOk && minuteOk)
    name += QStringLiteral(" %1h%2").arg(hour, 2, 10, QChar(u'0')).arg(minute, 2, 10, QChar(u'0'));
  return name;
}

}  // namespace kavrel
