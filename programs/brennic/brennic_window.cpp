// The two-date window.
#include "programs/brennic/brennic_window.h"

#include "common/display_mask.h"
#include "calculators/rotation_list.h"
#include "host/qt_text.h"
#include "resources/program_icon.h"
#include "ui/document_printer.h"
#include "ui/list_box.h"
#include "ui/maker.h"

namespace kavrel::brennic {

using ui::Align;
using ui::Background;
using ui::Kind;

namespace {

const QString kPrintHeading = QStringLiteral("Kavrel - Rotations synodiques - page ");
const QString kPrintTitle = QStringLiteral("Rotations synodiques");

// A result label: centred, with a single-line border, on the window's background; named
// by the caption of its date's row and the heading of its column.
ui::ControlRow result(const QString& name, ui::Twips at, const QString& widest, const QStringList& namedBy) {
  return {.name = name, .at = at, .align = Align::Centre, .border = true, .background = Background::Window,
          .widest = widest, .namedBy = namedBy};
}

// A date field, named as the result labels are.
ui::ControlRow field(const QString& name, ui::Twips at, const QString& widest, const QStringList& namedBy) {
  return {.name = name, .kind = Kind::TextBox, .at = at, .widest = widest, .namedBy = namedBy};
}

// A caption standing level with the fields and results of its row.
ui::ControlRow rowCaption(const QString& name, const QString& caption, ui::Twips at) {
  return {.name = name, .caption = caption, .at = at, .middle = true};
}

// A field heading, centred over its field.
ui::ControlRow heading(const QString& name, const QString& caption, ui::Twips at) {
  return {.name = name, .caption = caption, .at = at, .align = Align::Centre};
}

}  // namespace

ui::FormTable brennicForm() {
  ui::FormTable form;
  form.name = "Brennic_deux_dates";
  form.title = " Rotations synodiques solaires entre deux dates";
  form.clientWidth = 8844;
  form.clientHeight = 3612;
  form.controls = {
      heading("Label1", "Jour", {1320, 120, 375, 255}),
      heading("Label2", "Mois", {1800, 120, 375, 255}),
      heading("Label3", "Année", {2280, 120, 495, 255}),
      {.name = "Label6", .caption = "Numéro de jour julien", .at = {3960, 120, 1575, 255}},
      {.name = "Label9", .caption = "Rotation synodique", .at = {5640, 120, 1575, 255}},
      {.name = "Label14", .caption = "Longitude du centre", .at = {7320, 120, 1695, 255}},
      rowCaption("Label11", "Date de début", {120, 360, 1095, 255}),
      field("txtJour", {1320, 360, 375, 285}, "31", {"Label11", "Label1"}),
      field("txtMois", {1800, 360, 375, 285}, "12", {"Label11", "Label2"}),
      field("txtAnnée", {2280, 360, 495, 285}, "2026", {"Label11", "Label3"}),
      rowCaption("Label4", "à 0 h 00 TU", {2880, 360, 975, 255}),
      result("lblJourJulien", {4080, 360, 1215, 255}, "2451545,500", {"Label11", "Label6"}),
      result("lblRotSyn", {5760, 360, 1215, 255}, toQString(kBeforeRotationOne), {"Label11", "Label9"}),
      result("lblLo", {7440, 360, 1215, 255}, "359,99", {"Label11", "Label14"}),
      heading("Label26", "Jour", {1320, 720, 375, 255}),
      heading("Label25", "Mois", {1800, 720, 375, 255}),
      heading("Label24", "Année", {2280, 720, 495, 255}),
      rowCaption("Label15", "Date de fin", {120, 960, 1215, 255}),
      field("txtJourF", {1320, 960, 375, 285}, "31", {"Label15", "Label26"}),
      field("txtMoisF", {1800, 960, 375, 285}, "12", {"Label15", "Label25"}),
      field("txtAnnéeF", {2280, 960, 495, 285}, "2026", {"Label15", "Label24"}),
      rowCaption("Label5", "à 0 h 00 TU", {2880, 960, 975, 255}),
      result("lblJourJulienF", {4080, 960, 1215, 255}, "2451545,500", {"Label15", "Label6"}),
      result("lblRotSynF", {5760, 960, 1215, 255}, toQString(kBeforeRotationOne), {"Label15", "Label9"}),
      result("lblLoF", {7440, 960, 1215, 255}, "359,99", {"Label15", "Label14"}),
      {.name = "List1",
       .kind = Kind::ListBox,
       .at = {120, 1440, 6855, 1776},
       .widest = "Le 01/01/2000 à 00 h 00 min TU, rotation 1957 et longitude Lo 163,16°.",
       .accessibleName = "Débuts des rotations synodiques"},
      {.name = "cmdCalcul", .kind = Kind::CommandButton, .caption = "&Calcul", .at = {7440, 1440, 1215, 375}},
      {.name = "cmdNettoyer", .kind = Kind::CommandButton, .caption = "&Nettoyer", .at = {7440, 1920, 1215, 375}},
      {.name = "cmdImprimer", .kind = Kind::CommandButton, .caption = "&Imprimer", .at = {7440, 2400, 1215, 375}},
      {.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter", .at = {7440, 2880, 1215, 375}},
      {.name = "Label7", .caption = ui::kMakerNotice, .at = {120, 3360, 2052, 252}},
  };
  form.tabOrder = {"txtJour",   "txtMois",     "txtAnnée",    "txtJourF", "txtMoisF", "txtAnnéeF",
                   "cmdCalcul", "cmdNettoyer", "cmdImprimer", "cmdMenu",  "List1"};
  return form;
}

Brennic::Brennic(ui::Desktop desktop, std::string decimalSeparator)
    : Form(brennicForm()),
      m_desktop(desktop),
      m_decimalSeparator(std::move(decimalSeparator)),
      m_fields(*this, desktop.messages, CheckForm::ExactText) {
  setWindowIcon(programIcon(ProgramIcon::Brennic));
  onLoad([this] { Form_Load(); });
  onChange("txtJour", [this] { txtJour_Change(); });
  onChange("txtMois", [this] { txtMois_Change(); });
  onChange("txtAnnée", [this] { txtAnnée_Change(); });
  onChange("txtJourF", [this] { txtJourF_Change(); });
  onChange("txtMoisF", [this] { txtMoisF_Change(); });
  onChange("txtAnnéeF", [this] { txtAnnéeF_Change(); });
  onClick("txtJour", [this] { txtJour_Click(); });
  onClick("txtMois", [this] { txtMois_Click(); });
  onClick("txtAnnée", [this] { txtAnnée_Click(); });
  onClick("txtJourF", [this] { txtJourF_Click(); });
  onClick("txtMoisF", [this] { txtMoisF_Click(); });
  onClick("txtAnnéeF", [this] { txtAnnéeF_Click(); });
  onClick("cmdCalcul", [this] { cmdCalcul_Click(); });
  onClick("cmdNettoyer", [this] { cmdNettoyer_Click(); });
  onClick("cmdImprimer", [this] { cmdImprimer_Click(); });
  onClick("cmdMenu", [this] { cmdMenu_Click(); });
}

void Brennic::Form_Load() { aujourdhui(); }

// Each assignment runs the field's change handler, which empties the list and
// recomputes the field's date.
void Brennic::aujourdhui() {
  const ui::LocalTime now = m_desktop.clock.now();
  m_fields.fillDate(now);
  m_fields.fillDate(now, "F");
  Calcul1();
  Calcul2();
}

// Whatever the check says, the date's results follow its texts as they now stand; a
// refused text empties its own field, of this date.
void Brennic::txtJour_Change() {
  viderListe();
  m_fields.check(DateField::Day, "txtJour");
  Calcul1();
}

void Brennic::txtMois_Change() {
  viderListe();
  m_fields.check(DateField::Month, "txtMois");
  Calcul1();
}

void Brennic::txtAnnée_Change() {
  viderListe();
  m_fields.check(DateField::Year, "txtAnnée");
  Calcul1();
}

void Brennic::txtJourF_Change() {
  viderListe();
  m_fields.check(DateField::Day, "txtJourF");
  Calcul2();
}

void Brennic::txtMoisF_Change() {
  viderListe();
  m_fields.check(DateField::Month, "txtMoisF");
  Calcul2();
}

void Brennic::txtAnnéeF_Change() {
  viderListe();
  m_fields.check(DateField::Year, "txtAnnéeF");
  Calcul2();
}

void Brennic::txtJour_Click() {
  viderListe();
  Calcul1();
}

void Brennic::txtMois_Click() {
  viderListe();
  Calcul1();
}

void Brennic::txtAnnée_Click() {
  viderListe();
  Calcul1();
}

void Brennic::txtJourF_Click() {
  viderListe();
  Calcul2();
}

void Brennic::txtMoisF_Click() {
  viderListe();
  Calcul2();
}

void Brennic::txtAnnéeF_Click() {
  viderListe();
  Calcul2();
}

void Brennic::Calcul1() { calcul(QString()); }

void Brennic::Calcul2() { calcul(QStringLiteral("F")); }

// While a field of the date is empty only its Julian day shows "#############"; its
// rotation and L0 keep what they showed.
void Brennic::calcul(const QString& suffix) {
  const FieldTexts date(*this, suffix);
  const DateRow row = dateRow(date.view(), m_decimalSeparator);
  setText("lblJourJulien" + suffix, toQString(row.julianDay));
  if (!row.complete) return;
  setText("lblRotSyn" + suffix, toQString(row.rotation));
  setText("lblLo" + suffix, toQString(row.l0));
}

void Brennic::cmdCalcul_Click() {
  const FieldTexts first(*this);
  const FieldTexts second(*this, QStringLiteral("F"));
  const RotationList list = rotationList(first.view(), second.view(), m_decimalSeparator);

  viderListe();
  switch (list.outcome) {
    case ListOutcome::DatesIncorrect:
      errDate();
      aujourdhui();
      return;
    case ListOutcome::Silent:
      return;
    case ListOutcome::Listed:
    case ListOutcome::Limit:
      break;
  }

  // Only a calculation that got this far replaces the lines that "&Imprimer" reads.
  for (std::size_t i = 0; i < list.lines.size() && i < m_lignes.size(); ++i) m_lignes[i] = toQString(list.lines[i]);
  m_dernLigne = list.lastLine;

  // The first date's line shows as soon as the search starts, the others once it ended.
  ui::ListBox* list1 = listBox("List1");
  list1->append(m_lignes[0]);
  if (list.outcome == ListOutcome::Limit) {
    msgLimite();
    return;
  }
  for (int i = 1; i <= m_dernLigne; ++i) list1->append(m_lignes[static_cast<std::size_t>(i)]);
}

void Brennic::errDate() {
  m_desktop.messages.show(toQString(kDatesMessage), ui::kStyleExclamation, toQString(kErrorTitle));
}

void Brennic::msgLimite() {
  m_desktop.messages.show(toQString(kLimitMessage), ui::kStyleExclamation, toQString(kLimitTitle));
  viderListe();
  aujourdhui();
}

void Brennic::cmdNettoyer_Click() {
  viderListe();
  aujourdhui();
}

// Prints the lines 0 to dernLigne that the list still shows, selecting each as it goes;
// once the list has been emptied only the heading comes out. Each printout is its own
// document, named after the two dates of the fields, "Rotations 2000-01-01 2000-06-01".
void Brennic::cmdImprimer_Click() {
  ui::LinePrinter* printer = &m_desktop.printer;
  printer->print(kPrintHeading);
  printer->printNumber(printer->page());
  printer->endLine();
  printer->print(kPrintTitle);
  printer->endLine();
  ui::ListBox* list1 = listBox("List1");
  for (int i = 0; i <= m_dernLigne; ++i) {
    if (i >= list1->count()) break;
    const QString line = list1->itemText(i);
    list1->selectFirst(line);
    printer->print(line);
    printer->endLine();
  }
  QString name = QStringLiteral("Rotations");
  for (const QString& date : {ui::documentDate(text("txtJour"), text("txtMois"), text("txtAnnée")),
                              ui::documentDate(text("txtJourF"), text("txtMoisF"), text("txtAnnéeF"))}) {
    if (!date.isEmpty()) name += u' ' + date;
  }
  printer->endDocument(name);
}

void Brennic::cmdMenu_Click() { unload(); }

void Brennic::viderListe() { listBox("List1")->clear(); }

}  // namespace kavrel::brennic
