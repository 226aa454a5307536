// The solar-aspect window (form Aspect).
#include "programs/dalvoren/dalvoren_window.h"

#include "about/about_variant.h"
#include "common/display_mask.h"
#include "calculators/aspect_texts.h"
#include "host/qt_text.h"
#include "resources/program_icon.h"
#include "ui/document_printer.h"

namespace kavrel::dalvoren {

using ui::Align;
using ui::ControlRow;
using ui::Kind;

ui::FormTable dalvorenForm() {
  ui::FormTable form;
  form.name = "Aspect";
  form.title = " Aspect du Soleil";
  form.clientWidth = 5784;
  form.clientHeight = 4728;
  std::vector<ControlRow>& c = form.controls;
  c = {
      {.name = "Label1", .caption = "Jour", .at = {960, 120, 375, 252}, .align = Align::Centre},
      {.name = "Label2", .caption = "Mois", .at = {1440, 120, 375, 252}, .align = Align::Centre},
      {.name = "Label3", .caption = "Année", .at = {1920, 120, 495, 252}, .align = Align::Centre},
      {.name = "Label4", .caption = "Heure TU", .at = {2640, 120, 735, 252}},
      {.name = "Label5", .caption = "Min", .at = {3480, 120, 375, 252}, .align = Align::Centre},
      {.name = "txtJour", .kind = Kind::TextBox, .at = {960, 360, 375, 285}, .widest = "31", .namedBy = {"Label1"}},
      {.name = "txtMois", .kind = Kind::TextBox, .at = {1440, 360, 375, 285}, .widest = "12", .namedBy = {"Label2"}},
      {.name = "txtAnnée", .kind = Kind::TextBox, .at = {1920, 360, 495, 285}, .widest = "2026",
       .namedBy = {"Label3"}},
      {.name = "txtHeure", .kind = Kind::TextBox, .at = {2760, 360, 375, 285}, .widest = "23",
       .namedBy = {"Label4"}},
      {.name = "txtMinute", .kind = Kind::TextBox, .at = {3480, 360, 375, 285}, .widest = "59",
       .namedBy = {"Label5"}, .accessibleName = "Minute"},
      {.name = "chkZero", .kind = Kind::CheckBox, .caption = "Ramener à 0 heure", .at = {1080, 840, 1815, 255}},
  };
  // The empty-field text is wider than any result ("2451545,000", "-23,0158", "16  17,4",
  // "359,99"); fitting it costs a window about a third larger, which still sits well on a
  // small screen.
  const ui::ResultColumns columns{.captionLeft = 960,
                                   .captionWidth = 1812,
                                   .resultLeft = 2880,
                                   .resultWidth = 1212,
                                   .unitLeft = 4200,
                                   .unitWidth = 1092,
                                   .height = 252,
                                   .middle = true,
                                   .widest = toQString(kEmptyResult)};
  const ui::ResultRow results[] = {
      {.top = 1200, .captionName = "Label6", .caption = "Numéro de jour julien", .resultName = "lblJourJulien"},
      {.top = 1560, .captionName = "Label7", .caption = "Ascension droite", .resultName = "lblAD",
       .unitName = "Label11", .unit = "hh,mmss"},
      {.top = 1920, .captionName = "Label8", .caption = "Déclinaison", .resultName = "lblDéc", .unitName = "Label15",
       .unit = "°, '  \""},
      {.top = 2280, .captionName = "Label9", .caption = "Rotation synodique", .resultName = "lblRotSyn"},
      {.top = 2640, .captionName = "Label10", .caption = "Demi diamètre apparent", .resultName = "lblDemidiam",
       .unitName = "Label16", .unit = "'  \""},
      {.top = 3000, .captionName = "Label12", .caption = "Angle aux pôles", .resultName = "lblP",
       .unitName = "Label17", .unit = "°"},
      {.top = 3360, .captionName = "Label13", .caption = "Latitude du centre", .resultName = "lblBo",
       .unitName = "Label18", .unit = "°"},
      {.top = 3720, .captionName = "Label14", .caption = "Longitude du centre", .resultName = "lblLo",
       .unitName = "Label19", .unit = "°"},
  };
  for (const ui::ResultRow& row : results) ui::addResultRow(c, columns, row);
  c.push_back({.name = "Command1", .kind = Kind::CommandButton, .caption = "&A propos", .at = {960, 4200, 1212, 375}});
  c.push_back(
      {.name = "cmdImprimer", .kind = Kind::CommandButton, .caption = "&Imprimer", .at = {2280, 4200, 1212, 375}});
  c.push_back({.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter", .at = {3600, 4200, 1212, 375}});
  // The layer gives the focus at opening to the first of the keyboard order, so it goes
  // to "&Imprimer", not to the day field.
  form.tabOrder = {"cmdImprimer", "txtJour", "txtMois", "txtAnnée", "txtHeure",
                   "txtMinute",   "cmdMenu", "chkZero", "Command1"};
  return form;
}

Dalvoren::Dalvoren(ui::Desktop desktop, std::string decimalSeparator)
    : Form(dalvorenForm()),
      m_desktop(desktop),
      m_decimalSeparator(std::move(decimalSeparator)),
      m_fields(*this, desktop, CheckForm::ExactText, [this] { Calcul(); }),
      m_about(about::dalvorenAbout(), desktop, this) {
  setWindowIcon(programIcon(ProgramIcon::Dalvoren));
  onLoad([this] { Form_Load(); });
  onClick("Command1", [this] { Command1_Click(); });
  onClick("cmdImprimer", [this] { cmdImprimer_Click(); });
  onClick("cmdMenu", [this] { cmdMenu_Click(); });
}

void Dalvoren::Form_Load() {
  const ui::LocalTime now = m_desktop.clock.now();
  m_fields.fillDate(now);
  m_fields.fillTime(now);
  Calcul();
}

void Dalvoren::Command1_Click() { m_about.show(); }

// The report is made of what the window shows, as it stands; it is named after the
// date and time of its fields, "Aspect du Soleil 2001-12-06 09h05".
void Dalvoren::cmdImprimer_Click() {
  ui::LinePrinter* printer = &m_desktop.printer;
  const FieldTexts fields(*this);
  const AspectTexts labels{toUtf8(text("lblJourJulien")), toUtf8(text("lblAD")),     toUtf8(text("lblDéc")),
                           toUtf8(text("lblRotSyn")),     toUtf8(text("lblDemidiam")), toUtf8(text("lblP")),
                           toUtf8(text("lblBo")),         toUtf8(text("lblLo"))};
  printer->print(toQString(kReportTitle));
  printer->printNumber(printer->page());
  printer->endLine();
  for (const std::string& line : reportLines(fields.view(), labels)) {
    printer->print(toQString(line));
    printer->endLine();
  }
  printer->endDocument(documentName(QStringLiteral("Aspect du Soleil"), *this));
}

void Dalvoren::cmdMenu_Click() {
  m_about.unload();
  unload();
}

void Dalvoren::Calcul() {
  const FieldTexts fields(*this);
  const AspectTexts texts = aspectTexts(fields.view(), m_decimalSeparator);
  setText("lblJourJulien", toQString(texts.julianDay));
  setText("lblAD", toQString(texts.rightAscension));
  setText("lblDéc", toQString(texts.declination));
  setText("lblRotSyn", toQString(texts.rotation));
  setText("lblDemidiam", toQString(texts.semiDiameter));
  setText("lblP", toQString(texts.p));
  setText("lblBo", toQString(texts.b0));
  setText("lblLo", toQString(texts.l0));
}

}  // namespace kavrel::dalvoren
