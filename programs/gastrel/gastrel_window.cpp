// The window of the date of a Julian day.
#include "programs/gastrel/gastrel_window.h"

#include "common/field_check.h"
#include "calculators/date_of_julian_day.h"
#include "host/qt_text.h"
#include "resources/program_icon.h"
#include "ui/maker.h"

namespace kavrel::gastrel {

using ui::Background;
using ui::Kind;

ui::FormTable gastrelForm() {
  ui::FormTable form;
  form.name = "invFarrowel";
  form.title = " Calcul de la date d'après le jour julien";
  form.clientWidth = 4608;
  form.clientHeight = 2580;
  form.controls = {
      {.name = "Frame1", .kind = Kind::Frame, .caption = "Jour julien", .at = {600, 120, 3255, 735}},
      {.name = "txtJourJulien", .kind = Kind::TextBox, .at = {1560, 360, 1575, 285}, .frame = "Frame1",
       .widest = "2451545.5000"},
      {.name = "Frame2", .kind = Kind::Frame, .caption = "Date", .at = {600, 1080, 3255, 735}},
      {.name = "lblDate", .at = {840, 360, 2295, 285}, .background = Background::ActiveBorder, .frame = "Frame2",
       .widest = "Le 30,500  septembre  2000"},
      {.name = "Label1", .caption = ui::kMakerNotice, .at = {600, 2040, 1572, 372}, .wrap = true},
      {.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter", .at = {2880, 2040, 1455, 375}},
  };
  form.tabOrder = {"txtJourJulien", "cmdMenu"};
  return form;
}

Gastrel::Gastrel(ui::Desktop desktop, std::string decimalSeparator)
    : Form(gastrelForm()), m_desktop(desktop), m_decimalSeparator(std::move(decimalSeparator)) {
  setWindowIcon(programIcon(ProgramIcon::Gastrel));
  onChange("txtJourJulien", [this] { txtJourJulien_Change(); });
  onClick("cmdMenu", [this] { cmdMenu_Click(); });
}

void Gastrel::txtJourJulien_Change() {
  const std::string typed = toUtf8(text("txtJourJulien"));
  switch (checkJulianDayText(typed)) {
    case Refusal::Negative:
      errJourJulien();
      return;
    case Refusal::Number:
      errNombre();
      return;
    case Refusal::None:
      setText("lblDate", toQString(dateText(typed, m_decimalSeparator)));
      return;
  }
}

void Gastrel::errJourJulien() {
  refuse(toQString(kNegativeMessageLine1) + QChar('\r') + toQString(kNegativeMessageLine2));
}

void Gastrel::errNombre() { refuse(toQString(kNumberMessage)); }

// Emptying the field shows the date of Julian day 0 for a moment; blanking the date
// afterwards leaves both empty.
void Gastrel::refuse(const QString& message) {
  m_desktop.messages.show(message, ui::kStyleExclamation, toQString(kErrorTitle));
  setText("txtJourJulien", QString());
  setText("lblDate", QString());
}

void Gastrel::cmdMenu_Click() { unload(); }

}  // namespace kavrel::gastrel
