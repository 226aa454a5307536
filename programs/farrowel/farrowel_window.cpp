// The Julian-day window.
#include "programs/farrowel/farrowel_window.h"

#include "calculators/julian_day_text.h"
#include "host/qt_text.h"
#include "resources/program_icon.h"
#include "ui/maker.h"

namespace kavrel::farrowel {

using ui::Align;
using ui::Background;
using ui::Kind;

ui::FormTable farrowelForm() {
  ui::FormTable form;
  form.name = "Farrowel";
  form.title = " Calcul du jour julien";
  form.clientWidth = 3384;
  form.clientHeight = 2472;
  form.controls = {
      {.name = "Label1", .caption = "Jour", .at = {240, 240, 372, 252}, .align = Align::Centre},
      {.name = "Label2", .caption = "Mois", .at = {720, 240, 372, 252}, .align = Align::Centre},
      {.name = "Label3", .caption = "Année", .at = {1200, 240, 492, 252}, .align = Align::Centre},
      {.name = "Label4", .caption = "Heure TU", .at = {1920, 240, 732, 252}},
      {.name = "Label5", .caption = "Min", .at = {2760, 240, 372, 252}, .align = Align::Centre},
      {.name = "txtJour", .kind = Kind::TextBox, .at = {240, 480, 375, 285}, .widest = "31", .namedBy = {"Label1"}},
      {.name = "txtMois", .kind = Kind::TextBox, .at = {720, 480, 375, 285}, .widest = "12", .namedBy = {"Label2"}},
      {.name = "txtAnnée", .kind = Kind::TextBox, .at = {1200, 480, 495, 285}, .widest = "2026",
       .namedBy = {"Label3"}},
      {.name = "txtHeure", .kind = Kind::TextBox, .at = {2040, 480, 375, 285}, .widest = "23",
       .namedBy = {"Label4"}},
      {.name = "txtMinute", .kind = Kind::TextBox, .at = {2760, 480, 375, 285}, .widest = "59",
       .namedBy = {"Label5"}, .accessibleName = "Minute"},
      {.name = "chkZero", .kind = Kind::CheckBox, .caption = "Ramener à 0 heure", .at = {240, 960, 1815, 255}},
      {.name = "Label6", .caption = "Numéro de jour julien", .at = {240, 1392, 1572, 288}, .align = Align::Centre},
      {.name = "lblJourJulien",
       .at = {1920, 1320, 1212, 288},
       .align = Align::Centre,
       .border = true,
       .background = Background::Window,
       .widest = "2451545,000",
       .namedBy = {"Label6"}},
      {.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter", .at = {1680, 1920, 1455, 375}},
      {.name = "Label7", .caption = ui::kMakerNotice, .at = {240, 2040, 1212, 372}, .wrap = true},
  };
  form.tabOrder = {"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute", "chkZero", "cmdMenu"};
  return form;
}

Farrowel::Farrowel(ui::Desktop desktop, std::string decimalSeparator)
    : Form(farrowelForm()),
      m_desktop(desktop),
      m_decimalSeparator(std::move(decimalSeparator)),
      m_fields(*this, desktop, CheckForm::NumberRead, [this] { jourjulien(); }, YearRule::KeepResults) {
  setWindowIcon(programIcon(ProgramIcon::Farrowel));
  onLoad([this] { Form_Load(); });
  onClick("cmdMenu", [this] { cmdMenu_Click(); });
}

void Farrowel::Form_Load() {
  const ui::LocalTime now = m_desktop.clock.now();
  m_fields.fillDate(now);
  m_fields.fillTime(now);
  jourjulien();
}

void Farrowel::cmdMenu_Click() { unload(); }

void Farrowel::jourjulien() {
  const FieldTexts fields(*this);
  setText("lblJourJulien", toQString(julianDayText(fields.view(), m_decimalSeparator)));
}

}  // namespace kavrel::farrowel
