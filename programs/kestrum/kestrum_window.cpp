// The sidereal-time window.
#include "programs/kestrum/kestrum_window.h"

#include "about/about_variant.h"
#include "calculators/sidereal_time.h"
#include "host/qt_text.h"
#include "resources/program_icon.h"

namespace kavrel::kestrum {

using ui::Align;
using ui::Background;
using ui::Kind;

ui::FormTable kestrumForm() {
  ui::FormTable form;
  form.name = "Kestrum";
  form.title = " Temps sidéral de Greenwich à 0 h TU";
  form.clientWidth = 3984;
  form.clientHeight = 2064;
  form.controls = {
      {.name = "Label1", .caption = "Jour", .at = {720, 120, 372, 252}, .align = Align::Centre},
      {.name = "Label2", .caption = "Mois", .at = {1200, 120, 372, 252}, .align = Align::Centre},
      {.name = "Label3", .caption = "Année", .at = {1680, 120, 492, 252}, .align = Align::Centre},
      {.name = "Label4", .caption = "Date", .at = {120, 360, 492, 252}},
      {.name = "txtJour", .kind = Kind::TextBox, .at = {720, 360, 375, 285}, .widest = "31", .namedBy = {"Label1"}},
      {.name = "txtMois", .kind = Kind::TextBox, .at = {1200, 360, 375, 285}, .widest = "12", .namedBy = {"Label2"}},
      {.name = "txtAnnée", .kind = Kind::TextBox, .at = {1680, 360, 495, 285}, .widest = "2026",
       .namedBy = {"Label3"}},
      // No caption names the Julian day: it stands on the date's row.
      {.name = "lblJourJulien",
       .at = {2400, 360, 1452, 252},
       .align = Align::Centre,
       .border = true,
       .widest = "2451545,000",
       .accessibleName = "Numéro de jour julien à 0 h TU"},
      {.name = "Label6", .caption = "Temps sidéral de Greenwich à 0 h TU", .at = {120, 840, 2892, 252}},
      {.name = "Label7", .at = {1200, 1150, 1212, 252}, .align = Align::Centre, .border = true, .widest = "23,5959",
       .namedBy = {"Label6"}, .unit = "Label5"},
      {.name = "Label5", .caption = "hh.mmss", .at = {2640, 1200, 972, 252}},
      {.name = "Command1", .kind = Kind::CommandButton, .caption = "&A propos", .at = {600, 1560, 1212, 372}},
      {.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter", .at = {2160, 1560, 1212, 375}},
  };
  form.tabOrder = {"txtJour", "txtMois", "txtAnnée", "cmdMenu", "Command1"};
  form.minimiseButton = false;
  form.centred = true;
  return form;
}

Kestrum::Kestrum(ui::Desktop desktop, std::string decimalSeparator)
    : Form(kestrumForm()),
      m_desktop(desktop),
      m_decimalSeparator(std::move(decimalSeparator)),
      m_fields(*this, desktop, CheckForm::ExactText, [this] { Calcul(); }),
      m_about(about::kestrumAbout(), desktop, this) {
  setWindowIcon(programIcon(ProgramIcon::Kestrum));
  onLoad([this] { Form_Load(); });
  onClick("Command1", [this] { Command1_Click(); });
  onClick("cmdMenu", [this] { cmdMenu_Click(); });
}

void Kestrum::Form_Load() {
  const ui::LocalTime now = m_desktop.clock.now();
  m_fields.fillDate(now);
  Calcul();
}

void Kestrum::Command1_Click() { m_about.show(); }

void Kestrum::cmdMenu_Click() {
  m_about.unload();
  unload();
}

void Kestrum::Calcul() {
  const FieldTexts fields(*this);
  const SiderealTexts texts = siderealTexts(fields.view(), m_decimalSeparator);
  setText("lblJourJulien", toQString(texts.julianDay));
  setText("Label7", toQString(texts.siderealTime));
}

}  // namespace kavrel::kestrum
