// The precession window.
#include "programs/precession/precession_window.h"

#include "about/about_variant.h"
#include "common/field_check.h"
#include "calculators/precession.h"
#include "host/qt_text.h"
#include "resources/program_icon.h"

namespace kavrel::precession {

using ui::Kind;

ui::FormTable precessionForm() {
  ui::FormTable form;
  form.name = "Form1";
  form.title = "Précession des équinoxes (calcul approché)";
  form.clientWidth = 6648;
  form.clientHeight = 3024;
  form.controls = {
      {.name = "Label2", .caption = "Ascension Droite", .at = {3000, 120, 1812, 252}},
      {.name = "Label3", .caption = "Déclinaison", .at = {4800, 120, 1812, 252}},
      {.name = "Label7", .caption = "hh.mmss", .at = {3000, 360, 1572, 252}},
      {.name = "Label8", .caption = "dd.mmss", .at = {4800, 360, 1572, 252}},
      // Drawn 1812 wide, the caption would run under Text1 (at 1800) and lose its last
      // letters: it is measured short of Text1, so that the window grows until it fits
      // there with a gap before the box.
      {.name = "Label1", .caption = "Année de référence", .at = {120, 840, 1560, 252}},
      {.name = "Text1", .kind = Kind::TextBox, .at = {1800, 720, 732, 288}, .widest = "2000",
       .namedBy = {"Label1"}},
      {.name = "Text2", .kind = Kind::TextBox, .at = {3000, 720, 1572, 288}, .widest = "-16,4203",
       .namedBy = {"Label1", "Label2"}, .unit = "Label7"},
      {.name = "Text3", .kind = Kind::TextBox, .at = {4800, 720, 1572, 288}, .widest = "-16,4203",
       .namedBy = {"Label1", "Label3"}, .unit = "Label8"},
      {.name = "Label4", .caption = "Année cible", .at = {120, 1560, 1572, 252}},
      {.name = "Text4", .kind = Kind::TextBox, .at = {1800, 1440, 732, 288}, .widest = "2000",
       .namedBy = {"Label4"}},
      {.name = "Text5", .kind = Kind::TextBox, .at = {3000, 1440, 1572, 288}, .widest = "-16,4203",
       .namedBy = {"Label4", "Label2"}, .unit = "Label7"},
      {.name = "Text6", .kind = Kind::TextBox, .at = {4800, 1440, 1572, 288}, .widest = "-16,4203",
       .namedBy = {"Label4", "Label3"}, .unit = "Label8"},
      {.name = "Command3", .kind = Kind::CommandButton, .caption = "&A propos", .at = {3000, 2040, 1572, 372}},
      {.name = "Command1", .kind = Kind::CommandButton, .caption = "&Calcul", .at = {4800, 2040, 1572, 372}},
      {.name = "Command2", .kind = Kind::CommandButton, .caption = "&Quitter", .at = {4800, 2520, 1572, 372}},
  };
  form.tabOrder = {"Text1",  "Label1", "Text2",  "Text3",  "Label2",   "Label3",   "Text4",    "Text5",
                   "Text6",  "Label4", "Label7", "Label8", "Command1", "Command2", "Command3"};
  form.minimiseButton = false;
  form.centred = true;
  return form;
}

Precession::Precession(ui::Desktop desktop, std::string decimalSeparator)
    : Form(precessionForm()),
      m_desktop(desktop),
      m_decimalSeparator(std::move(decimalSeparator)),
      m_about(about::precessionAbout(), desktop, this) {
  setWindowIcon(programIcon(ProgramIcon::Precession));
  // The results are only ever written by the computation; they stay selectable.
  textBox("Text5")->setReadOnly(true);
  textBox("Text6")->setReadOnly(true);
  onChange("Text1", [this] { Text1_Change(); });
  onChange("Text2", [this] { Text2_Change(); });
  onChange("Text3", [this] { Text3_Change(); });
  onChange("Text4", [this] { Text4_Change(); });
  onClick("Command1", [this] { Command1_Click(); });
  onClick("Command2", [this] { Command2_Click(); });
  onClick("Command3", [this] { Command3_Click(); });
}

void Precession::Command1_Click() {
  const std::string referenceYear = toUtf8(text("Text1"));
  const std::string rightAscension = toUtf8(text("Text2"));
  const std::string declination = toUtf8(text("Text3"));
  const std::string targetYear = toUtf8(text("Text4"));
  const Outcome outcome = compute({referenceYear, rightAscension, declination, targetYear}, m_decimalSeparator);
  for (const Message message : outcome.messages) {
    if (message == Message::BadData) {
      err_donnees();
      return;
    }
    err_annee();
  }
  if (outcome.rightAscension) setText("Text5", toQString(*outcome.rightAscension));
  if (outcome.declination) setText("Text6", toQString(*outcome.declination));
}

void Precession::Command2_Click() {
  m_about.unload();
  unload();
}

void Precession::Command3_Click() { m_about.show(); }

void Precession::Text1_Change() { emptyResults(); }
void Precession::Text2_Change() { emptyResults(); }
void Precession::Text3_Change() { emptyResults(); }
void Precession::Text4_Change() { emptyResults(); }

void Precession::emptyResults() {
  setText("Text5", QString());
  setText("Text6", QString());
}

void Precession::err_donnees() {
  m_desktop.messages.show(toQString(messageText(Message::BadData)), ui::kStyleExclamation, toQString(kErrorTitle));
  for (const char* box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"}) setText(box, QString());
}

void Precession::err_annee() {
  m_desktop.messages.show(toQString(messageText(Message::YearOutOfRange)), ui::kStyleExclamation,
                          toQString(kErrorTitle));
}

}  // namespace kavrel::precession
