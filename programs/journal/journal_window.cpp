// The observer's log window (form Journal).
#include "programs/journal/journal_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPagedPaintDevice>
#include <QPageLayout>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "about/about_variant.h"
#include "common/calendar_date.h"
#include "journal/group_from_spots.h"
#include "journal/month.h"
#include "journal/month_sheet.h"
#include "programs/journal/journal_comparisons.h"
#include "programs/journal/journal_regions.h"
#include "reseau/send_month.h"
#include "reseau/store.h"
#include "host/qt_text.h"
#include "resources/program_icon.h"
#include "ui/file_dialog.h"
#include "ui/list_box.h"
#include "ui/maker.h"
#include "ui/question.h"
#include "ui/whole_file.h"

namespace kavrel::journal {

using ui::Align;
using ui::Background;
using ui::ControlRow;
using ui::Kind;

namespace {

constexpr int kLabelHeight = 255;
constexpr int kFieldHeight = 285;
constexpr int kButtonHeight = 375;
// The day's column, right of the month's.
constexpr int kMonthWidth = 7920;
constexpr int kDayLeft = 8160;
constexpr int kDayWidth = 7920;

// The day's fields: every change is read at once, and stored when the field is left.
const QString kDayFields[] = {"txtJour",     "txtMois",  "txtAnnée", "txtHeure", "txtMinute",  "txtSeeing",
                              "txtTransparence", "txtRemarque", "txtGNord", "txtFNord", "txtGSud", "txtFSud",
                              "txtGDisque", "txtFDisque"};
const QString kGroupFields[] = {"txtGrNumero", "txtGrNoaa",   "txtGrHemisphere", "txtGrB",      "txtGrL",
                                "txtGrDMC",    "txtGrZurich", "txtGrMcIntosh",   "txtGrTaches", "txtGrAire"};
const char* const kGroupSaid[] = {"Groupe, numéro",       "Groupe, région NOAA",       "Groupe, hémisphère N ou S",
                                  "Groupe, latitude B en degrés", "Groupe, longitude L en degrés",
                                  "Groupe, distance au méridien central en degrés", "Groupe, classe de Zurich",
                                  "Groupe, classe de McIntosh", "Groupe, nombre de taches",
                                  "Groupe, aire en millionièmes de l'hémisphère"};
// The controls that need an open journal.
const QString kJournalControls[] = {"grdMois", "fraJour", "cmdNouvelle", "cmdRayer", "grdGroupes", "cmdAjouterGroupe",
                                    "cmdRetirerGroupe", "cmdDepuisCsv", "cmdRapport", "cmdImprimer", "cmdEnvoyer", "cboMois",
                                    "txtAnnéeMois", "cboObservateur", "cmdObservateur"};

constexpr char kNoJournal[] = "Aucun journal n'est ouvert.";
constexpr char kNotOpened[] = "Le journal n'a pas pu être ouvert.";
constexpr char kOpenAfterChecks[] =
    "L'observation tapée n'est pas enregistrée : corrigez-la avant d'ouvrir un autre journal.";
constexpr char kJournalLine[] = "Journal : %1";
constexpr char kUndoHint[] = "Ctrl+Z : %1";
constexpr char kNothingToUndo[] = "Rien à annuler.";
constexpr char kNoGroupChosen[] = "Choisissez d'abord un groupe dans le tableau.";
constexpr char kNoSpotChosen[] = "Aucune tache choisie : le groupe n'a pas été ajouté.";
constexpr char kFileUnread[] = "Le fichier « %1 » n'a pas pu être lu : %2";
constexpr char kReportNotWritten[] = "Le rapport « %1 » n'a pas été écrit : %2.";
constexpr char kReportWritten[] = "Rapport écrit : %1. %2";
constexpr char kNoObserver[] = "Ce journal n'a encore aucune observation.";
constexpr char kCloseRefused[] =
    "L'observation tapée n'est pas enregistrée :\n%1\nFermer sans l'enregistrer ?";
constexpr char kGroupRefused[] = "Le groupe n'a pas été enregistré :\n%1";
constexpr char kIsTheJournal[] = "« %1 » est le journal ouvert : choisissez un autre fichier.";
constexpr char kPrintTitle[] = "Journal d'observation";
constexpr char kPrintInstrument[] = "Instrument : %1";
constexpr char kPrintK[] = "k choisi : %1 (R international ≈ k × R de l'observateur)";
constexpr char kPrintRemarks[] = "Remarques";
// Printers that let the page run to 3,5 mm of its edge cut or smudge the outer lines; a
// glyph may stand a little left of where it is drawn, hence more than 10 mm.
constexpr double kPrintMarginMm = 12;
constexpr char kDiscIsSum[] =
    "Le disque entier est la somme du nord et du sud : tapez-les, ou cochez « Disque entier seulement ».";
constexpr char kAstrideEquator[] =
    "Les taches choisies sont de part et d'autre de l'équateur : un groupe ne le traverse presque jamais, "
    "ce sont sans doute deux groupes, un au nord et un au sud.\n\nFormer quand même un seul groupe ?";
constexpr char kEquatorDeclined[] =
    "Le groupe n'a pas été formé : choisissez les taches d'un seul côté de l'équateur.";
constexpr char kObserverTitle[] = "Observateur";
constexpr char kNoObserverYet[] = "aucun encore";
constexpr char kSpotsTitle[] = "Taches du groupe";
constexpr char kSpotsText[] = "Cochez les taches qui forment le groupe :";
constexpr char kNetworkTitle[] = "Envoyer au réseau";
constexpr char kNetworkIsJournal[] = "« %1 » est le journal ouvert, pas la base du réseau.";

// A journal that does not exist yet may be named: it is created.
QString defaultJournalDialog(const QString& suggested) {
  ui::FileDialog dialog(QApplication::activeWindow(), QStringLiteral("Ouvrir un journal"), suggested,
                        QStringLiteral("Journaux (*.sqlite);;Tous les fichiers (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Ouvrir"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString defaultSpotFileDialog(const QString& suggested) {
  return ui::askOpenPath(QStringLiteral("Taches relevées dans Disque"), suggested,
                         QStringLiteral("CSV (*.csv *.CSV);;Tous les fichiers (*)"));
}

QString defaultReportDialog(const QString& suggested) {
  return ui::askSavePath(QStringLiteral("Rapport du mois"), suggested);
}

std::optional<ReportFormat> defaultFormatQuestion() {
  const QStringList items = {QStringLiteral("AAVSO : texte mensuel (.RAW), comptes bruts"),
                             QStringLiteral("BAA : formulaire en CSV, comptes bruts"),
                             QStringLiteral("Réseau tchèque et slovaque : CSV en Windows-1250, comptes bruts"),
                             QStringLiteral("CSV de Kavrel : toutes les observations du mois, R × k choisi en plus")};
  const ReportFormat formats[] = {ReportFormat::Aavso, ReportFormat::Baa, ReportFormat::Ceslopol, ReportFormat::Csv};
  bool chosen = false;
  const QString item = QInputDialog::getItem(QApplication::activeWindow(), QStringLiteral("Rapport du mois"),
                                             QStringLiteral("&Format du rapport :"), items, 0, false, &chosen);
  if (!chosen) return std::nullopt;
  return formats[std::max<qsizetype>(0, items.indexOf(item))];
}

std::vector<int> defaultSpotChooser(const QStringList& spots) {
  QDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(QString::fromUtf8(kSpotsTitle));
  auto* layout = new QVBoxLayout(&dialog);
  auto* caption = new QLabel(QString::fromUtf8(kSpotsText), &dialog);
  auto* list = new QListWidget(&dialog);
  list->setAccessibleName(QString::fromUtf8(kSpotsTitle));
  int widest = 0;
  for (const QString& spot : spots) widest = std::max(widest, list->fontMetrics().horizontalAdvance(spot));
  list->setMinimumWidth(widest + 4 * list->fontMetrics().height());
  caption->setBuddy(list);
  for (const QString& spot : spots) {
    auto* item = new QListWidgetItem(spot, list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("&Former le groupe"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(caption);
  layout->addWidget(list);
  layout->addWidget(buttons);
  std::vector<int> chosen;
  if (dialog.exec() != QDialog::Accepted) return chosen;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->checkState() == Qt::Checked) chosen.push_back(i);
  return chosen;
}

// Going back to the observation is the default (Enter, Esc): closing loses what was typed.
bool defaultCloseQuestion(const QString& text) {
  return ui::askQuestion(text, {QStringLiteral("&Revenir à l'observation"), QStringLiteral("&Fermer sans l'enregistrer")},
                         0) == 1;
}

// Not making the group is the default (Enter, Esc).
bool defaultEquatorQuestion(const QString& text) {
  return ui::askQuestion(text, {QStringLiteral("&Ne pas former le groupe"), QStringLiteral("&Former un seul groupe")},
                         0) == 1;
}

// The observer's code, name and instrument, with why the last ones typed were refused.
std::optional<ObserverTexts> defaultObserverDialog(const ObserverTexts& shown, const QString& problem) {
  QDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(QString::fromUtf8(kObserverTitle));
  auto* layout = new QFormLayout(&dialog);
  const auto field = [&](const QString& caption, const QString& said, const std::string& text) {
    auto* edit = new QLineEdit(toQString(text), &dialog);
    edit->setAccessibleName(said);
    layout->addRow(caption, edit);
    return edit;
  };
  QLineEdit* code = field(QStringLiteral("&Code dans le réseau"), QStringLiteral("Code dans le réseau"), shown.code);
  QLineEdit* name = field(QStringLiteral("&Nom"), QStringLiteral("Nom"), shown.name);
  QLineEdit* aperture = field(QStringLiteral("&Ouverture (mm)"), QStringLiteral("Ouverture en millimètres"),
                              shown.aperture);
  QLineEdit* focal = field(QStringLiteral("&Focale (mm)"), QStringLiteral("Focale en millimètres"), shown.focalLength);
  auto* method = new QComboBox(&dialog);
  for (const std::string& text : methodNames()) method->addItem(toQString(text));
  method->setCurrentIndex(static_cast<int>(shown.method));
  method->setAccessibleName(QStringLiteral("Méthode d'observation"));
  layout->addRow(QStringLiteral("&Méthode"), method);
  auto* said = new QLabel(problem, &dialog);
  said->setWordWrap(true);
  said->setAccessibleName(QStringLiteral("Problèmes"));
  said->setVisible(!problem.isEmpty());
  layout->addRow(said);
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("&Enregistrer"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ObserverTexts{toUtf8(code->text()), toUtf8(name->text()), toUtf8(aperture->text()), toUtf8(focal->text()),
                       static_cast<Method>(std::max(0, method->currentIndex()))};
}

// The network's base, a file chosen or a server's URI typed, and the password of a server
// that asks one (never kept beyond the send).
std::optional<JournalWindow::NetworkAnswer> defaultNetworkDialog(const QString& shown) {
  QDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(QString::fromUtf8(kNetworkTitle));
  auto* layout = new QFormLayout(&dialog);
  auto* base = new QLineEdit(shown, &dialog);
  base->setAccessibleName(QStringLiteral("Base du réseau, un fichier ou postgresql://…"));
  base->setMinimumWidth(
      base->fontMetrics().horizontalAdvance(QStringLiteral("postgresql://observateur@serveur/reseau")));
  auto* browse = new QPushButton(QStringLiteral("&Parcourir…"), &dialog);
  QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
    const QString path = ui::askOpenPath(QString::fromUtf8(kNetworkTitle), base->text(),
                                         QStringLiteral("Bases du réseau (*.sqlite);;Tous les fichiers (*)"));
    if (!path.isEmpty()) base->setText(path);
  });
  auto* row = new QHBoxLayout;
  row->addWidget(base, 1);
  row->addWidget(browse);
  layout->addRow(QStringLiteral("&Base du réseau"), row);
  qobject_cast<QLabel*>(layout->labelForField(row))->setBuddy(base);
  auto* password = new QLineEdit(&dialog);
  password->setEchoMode(QLineEdit::Password);
  password->setAccessibleName(QStringLiteral("Mot de passe du serveur, s'il en demande un"));
  layout->addRow(QStringLiteral("&Mot de passe (serveur)"), password);
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("&Envoyer"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted || base->text().trimmed().isEmpty()) return std::nullopt;
  return JournalWindow::NetworkAnswer{base->text().trimmed(), password->text()};
}

// A field of the form, named for screen readers by its caption (or `said`).
ControlRow field(const QString& name, ui::Twips at, const QString& widest, const QStringList& namedBy,
                 const QString& frame = QString(), const QString& said = QString()) {
  return {.name = name, .kind = Kind::TextBox, .at = at, .frame = frame, .widest = widest, .namedBy = namedBy,
          .accessibleName = said};
}

ControlRow caption(const QString& name, const QString& text, ui::Twips at, const QString& frame = QString()) {
  return {.name = name, .caption = text, .at = at, .middle = true, .frame = frame};
}

ControlRow button(const QString& name, const QString& text, ui::Twips at) {
  return {.name = name, .kind = Kind::CommandButton, .caption = text, .at = at};
}

// The month: its navigation, the observer whose month it is, the days' table and the
// means. The month and the year shown stand between their arrows, each chosen or typed.
void addMonthColumn(std::vector<ControlRow>& c) {
  QStringList months;
  for (int month = 1; month <= 12; ++month) months << toQString(monthName(month));
  c.push_back(button("cmdMoisPrecedent", "◀ Mois &précédent", {120, 120, 2520, kButtonHeight}));
  c.push_back(caption("lblMoisAffiché", "Mois", {2760, 180, 660, kLabelHeight}));
  c.push_back({.name = "cboMois", .kind = Kind::ComboBox, .at = {3420, 120, 1980, kButtonHeight}, .items = months,
               .namedBy = {"lblMoisAffiché"}});
  c.push_back(button("cmdMoisSuivant", "Mois &suivant ▶", {5520, 120, 2520, kButtonHeight}));
  c.push_back(button("cmdAnneePrecedente", "◀ Année pré&cédente", {120, 540, 2520, kButtonHeight}));
  c.push_back(caption("lblAnnéeMois", "Année", {2760, 600, 660, kLabelHeight}));
  c.push_back({.name = "txtAnnéeMois", .kind = Kind::TextBox, .at = {3420, 540, 1980, kButtonHeight},
               .align = Align::Centre, .widest = "2014", .namedBy = {"lblAnnéeMois"},
               .accessibleName = "Mois affiché, année"});
  c.push_back(button("cmdAnneeSuivante", "Année sui&vante ▶", {5520, 540, 2520, kButtonHeight}));
  c.push_back(caption("lblObservateur", "Observateur (&z)", {120, 1020, 1560, kLabelHeight}));
  c.push_back({.name = "cboObservateur", .kind = Kind::ComboBox, .at = {1680, 960, 3720, kButtonHeight},
               .widest = "Marie-Claire Dupont (HUZR)", .namedBy = {"lblObservateur"},
               .accessibleName = "Observateur"});
  c.push_back(button("cmdObservateur", "Nom et instrument… (&k)", {5520, 960, 2520, kButtonHeight}));
  c.push_back({.name = "lblJours", .caption = "Jours du mois (un clic ouvre le jour)",
               .at = {120, 1425, kMonthWidth, kLabelHeight}});
  c.push_back({.name = "grdMois", .kind = Kind::Table, .at = {120, 1695, kMonthWidth, 5445},
               .columns = {"Jour", "g", "f", "R"}, .accessibleName = "Jours du mois"});
  c.push_back({.name = "lblMoyennes", .at = {120, 7230, kMonthWidth, 1395}, .border = true,
               .background = Background::Window, .wrap = true, .accessibleName = "Moyennes du mois"});
}

// The day's observation.
void addDayFrame(std::vector<ControlRow>& c) {
  const QString f = "fraJour";
  c.push_back({.name = f, .kind = Kind::Frame, .caption = "Observation", .at = {kDayLeft, 120, kDayWidth, 4440}});
  c.push_back(caption("lblDate", "&Date", {120, 330, 840, kLabelHeight}, f));
  c.push_back(field("txtJour", {960, 315, 480, kFieldHeight}, "31", {"lblDate"}, f, "Date, jour"));
  c.push_back(field("txtMois", {1500, 315, 480, kFieldHeight}, "12", {}, f, "Date, mois"));
  c.push_back(field("txtAnnée", {2040, 315, 720, kFieldHeight}, "2026", {}, f, "Date, année"));
  c.push_back(caption("lblHeure", "&Heure TU", {3000, 330, 1080, kLabelHeight}, f));
  c.push_back(field("txtHeure", {4080, 315, 480, kFieldHeight}, "23", {"lblHeure"}, f, "Heure TU, heure"));
  c.push_back(caption("lblDeuxPoints", "h", {4620, 330, 180, kLabelHeight}, f));
  c.push_back(field("txtMinute", {4860, 315, 480, kFieldHeight}, "59", {}, f, "Heure TU, minute"));
  // A day of clouds is a day of the log: its remark (the weather) without counts.
  c.push_back({.name = "chkSansObservation", .kind = Kind::CheckBox, .caption = "Sans observation (&0)",
               .at = {5520, 345, 2280, 255}, .frame = f});
  c.push_back(caption("lblSeeing", "S&eeing (1 à 5, E G F P)", {120, 720, 2760, kLabelHeight}, f));
  c.push_back(field("txtSeeing", {2880, 705, 480, kFieldHeight}, "5", {"lblSeeing"}, f));
  c.push_back(caption("lblTransparence", "&Transparence (1 à 5)", {3600, 720, 2280, kLabelHeight}, f));
  c.push_back(field("txtTransparence", {5880, 705, 480, kFieldHeight}, "5", {"lblTransparence"}, f));
  c.push_back(caption("lblRemarque", "Re&marques", {120, 1110, 1200, kLabelHeight}, f));
  c.push_back(field("txtRemarque", {1320, 1095, kDayWidth - 1560, kFieldHeight}, QString(), {"lblRemarque"}, f));
  c.push_back({.name = "chkDisque", .kind = Kind::CheckBox, .caption = "Disque entier seu&lement (sans nord ni sud)",
               .at = {120, 1500, 6000, 255}, .frame = f});
  // The counts: a row per hemisphere and one for the disc, g and f typed, R shown.
  const int top = 1830;
  c.push_back({.name = "lblG", .caption = "g", .at = {1800, top, 720, kLabelHeight}, .align = Align::Centre,
               .frame = f});
  c.push_back({.name = "lblF", .caption = "f", .at = {2640, top, 720, kLabelHeight}, .align = Align::Centre,
               .frame = f});
  c.push_back({.name = "lblR", .caption = "R", .at = {3480, top, 960, kLabelHeight}, .align = Align::Centre,
               .frame = f});
  const struct {
    const char* row;
    const char* text;
    const char* suffix;
  } rows[] = {{"lblNord", "&Nord", "Nord"}, {"lblSud", "S&ud", "Sud"}, {"lblDisque", "Disque entier", "Disque"}};
  for (int i = 0; i < 3; ++i) {
    const int y = top + 300 + 360 * i;
    const QString suffix = rows[i].suffix;
    c.push_back(caption(rows[i].row, rows[i].text, {120, y + 15, 1560, kLabelHeight}, f));
    c.push_back(field("txtG" + suffix, {1800, y, 720, kFieldHeight}, "999", {rows[i].row, "lblG"}, f));
    c.push_back(field("txtF" + suffix, {2640, y, 720, kFieldHeight}, "999", {rows[i].row, "lblF"}, f));
    c.push_back({.name = "lblR" + suffix, .at = {3480, y, 960, kFieldHeight}, .align = Align::Centre, .border = true,
                 .background = Background::Window, .frame = f, .widest = "9999", .namedBy = {rows[i].row, "lblR"}});
  }
  // The day's observations, when there are more than one: either is opened, and one is
  // kept for the month's table and the reports.
  c.push_back({.name = "lblChoixJour", .caption = "Choi&x du jour", .at = {4680, top, 3000, kLabelHeight}, .frame = f});
  c.push_back({.name = "lstJour", .kind = Kind::ListBox, .at = {4680, top + 300, 3000, 1020}, .frame = f,
               .widest = "23:59 (retenue)", .accessibleName = "Observations du jour"});
  c.push_back({.name = "lblVerifs", .at = {120, top + 1410, kDayWidth - 360, 1080}, .wrap = true, .frame = f,
               .accessibleName = "Vérifications"});
  c.push_back(button("cmdNouvelle", "Nouvelle o&bservation", {kDayLeft, 4650, 2400, kButtonHeight}));
  c.push_back(button("cmdRayer", "Ra&yer l'observation", {kDayLeft + 2520, 4650, 2400, kButtonHeight}));
  c.push_back(button("cmdRetenir", "Retenir pour le jour (&w)", {kDayLeft + 5040, 4650, 2880, kButtonHeight}));
}

// The observation's groups: their table, the chosen one's fields, what adds and removes.
void addGroups(std::vector<ControlRow>& c) {
  QStringList headings;
  for (const std::string& heading : groupHeadings()) headings << toQString(heading);
  c.push_back({.name = "lblGroupes", .caption = "Groupes de l'observation", .at = {kDayLeft, 5130, kDayWidth, kLabelHeight}});
  c.push_back({.name = "grdGroupes", .kind = Kind::Table, .at = {kDayLeft, 5400, kDayWidth, 1980}, .columns = headings,
               .accessibleName = "Groupes de l'observation"});
  const int width = kDayWidth / 10;
  for (int i = 0; i < 10; ++i)
    c.push_back(field(kGroupFields[i], {kDayLeft + width * i, 7440, width - 30, kFieldHeight}, QString(), {}, QString(),
                      QString::fromUtf8(kGroupSaid[i])));
  c.push_back(button("cmdAjouterGroupe", "A&jouter un groupe", {kDayLeft, 7800, 2520, kButtonHeight}));
  c.push_back(button("cmdRetirerGroupe", "Retirer le &groupe", {kDayLeft + 2640, 7800, 2520, kButtonHeight}));
  c.push_back(button("cmdDepuisCsv", "Depuis un &fichier CSV…", {kDayLeft + 5280, 7800, 2640, kButtonHeight}));
}

void addCommands(std::vector<ControlRow>& c) {
  const int y = 8760;
  c.push_back(button("cmdOuvrir", "&Ouvrir un journal…", {120, y, 2400, kButtonHeight}));
  c.push_back(button("cmdRapport", "&Rapport du mois…", {2640, y, 2400, kButtonHeight}));
  c.push_back(button("cmdImprimer", "&Imprimer", {5160, y, 1440, kButtonHeight}));
  c.push_back(button("Command1", "&A propos", {6720, y, 1440, kButtonHeight}));
  // Every letter is an access key of the window already.
  c.push_back(button("cmdEnvoyer", "Envoyer au réseau… (&3)", {8280, y, 2880, kButtonHeight}));
  c.push_back(button("cmdMenu", "&Quitter", {kDayLeft + kDayWidth - 1440, y, 1440, kButtonHeight}));
  c.push_back({.name = "lblEtat", .at = {120, 9240, kDayLeft + kDayWidth - 120, 510}, .wrap = true,
               .accessibleName = "État"});
  c.push_back({.name = "Label7", .caption = ui::kMakerNotice, .at = {120, 9780, 2052, 252}});
}

}  // namespace

ui::FormTable journalForm() {
  ui::FormTable form;
  form.name = "Journal";
  form.title = " Journal d'observation des taches solaires";
  form.clientWidth = kDayLeft + kDayWidth + 120;
  form.clientHeight = 10080;
  addMonthColumn(form.controls);
  addDayFrame(form.controls);
  addGroups(form.controls);
  addCommands(form.controls);
  // The day's fields first: a journal is opened to type the day's counts.
  form.tabOrder = {"txtJour",     "txtMois",   "txtAnnée",   "txtHeure",   "txtMinute",  "txtSeeing",
                   "txtTransparence", "txtRemarque", "chkSansObservation", "chkDisque", "txtGNord", "txtFNord", "txtGSud",
                   "txtFSud",     "txtGDisque", "txtFDisque", "lstJour",    "cmdNouvelle", "cmdRayer",
                   "cmdRetenir", "grdGroupes"};
  for (const QString& name : kGroupFields) form.tabOrder << name;
  form.tabOrder << "cmdAjouterGroupe" << "cmdRetirerGroupe" << "cmdDepuisCsv" << "cmdMoisPrecedent" << "cboMois"
                << "cmdMoisSuivant" << "cmdAnneePrecedente" << "txtAnnéeMois" << "cmdAnneeSuivante"
                << "cboObservateur" << "cmdObservateur" << "grdMois" << "cmdOuvrir" << "cmdRapport"
                << "cmdImprimer" << "Command1" << "cmdEnvoyer" << "cmdMenu";
  return form;
}

JournalWindow::JournalWindow(ui::Desktop desktop, std::string decimalSeparator)
    : Form(journalForm()),
      m_desktop(desktop),
      m_separator(std::move(decimalSeparator)),
      m_about(about::journalAbout(), desktop, this),
      m_printer(std::make_unique<ui::DocumentPrinter>(desktop.messages)),
      m_journalDialog(&defaultJournalDialog),
      m_spotFileDialog(&defaultSpotFileDialog),
      m_reportDialog(&defaultReportDialog),
      m_formatQuestion(&defaultFormatQuestion),
      m_spotChooser(&defaultSpotChooser),
      m_closeQuestion(&defaultCloseQuestion),
      m_equatorQuestion(&defaultEquatorQuestion),
      m_observerDialog(&defaultObserverDialog),
      m_networkDialog(&defaultNetworkDialog) {
  setWindowIcon(programIcon(ProgramIcon::Journal));
  m_monthTable = table("grdMois");
  m_monthTable->setSelectionMode(QAbstractItemView::SingleSelection);
  // Twelve columns: each as wide as its heading or its widest cell.
  m_monthTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_monthTable->horizontalHeader()->setStretchLastSection(true);
  // The remarks come last, as long as the observer wrote them: the table scrolls to them
  // where the window is too narrow, and each one is whole in its cell's tooltip.
  m_monthTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_groupTable = table("grdGroupes");
  m_groupTable->setSelectionMode(QAbstractItemView::SingleSelection);
  m_groupTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  m_groupTable->horizontalHeader()->setStretchLastSection(false);
  // The chosen group's fields stand under the columns they fill.
  m_groupTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(m_groupTable->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { placeGroupFields(); });
  connect(m_groupTable->horizontalHeader(), &QHeaderView::geometriesChanged, this, [this] { fitGroupColumns(); });
  m_groupTable->installEventFilter(this);
  label("lblJours")->setBuddy(m_monthTable);
  label("lblGroupes")->setBuddy(m_groupTable);
  label("lblChoixJour")->setBuddy(listBox("lstJour"));

  onLoad([this] { Form_Load(); });
  onClick("cmdMoisPrecedent", [this] { cmdMoisPrecedent_Click(); });
  onClick("cmdMoisSuivant", [this] { cmdMoisSuivant_Click(); });
  onClick("cmdAnneePrecedente", [this] { cmdAnneePrecedente_Click(); });
  onClick("cmdAnneeSuivante", [this] { cmdAnneeSuivante_Click(); });
  connect(comboBox("cboMois"), &QComboBox::activated, this, [this] { cboMois_Click(); });
  connect(textBox("txtAnnéeMois"), &QLineEdit::editingFinished, this, [this] { txtAnneeMois_LostFocus(); });
  textBox("txtAnnéeMois")->installEventFilter(this);
  comboBox("cboObservateur")->setPlaceholderText(QString::fromUtf8(kNoObserverYet));
  connect(comboBox("cboObservateur"), &QComboBox::activated, this, [this] { cboObservateur_Click(); });
  onClick("cmdObservateur", [this] { cmdObservateur_Click(); });
  // The disc's counts are the sums while north and south are typed: said where they stand.
  for (const char* name : {"txtGDisque", "txtFDisque"}) {
    textBox(name)->setToolTip(QString::fromUtf8(kDiscIsSum));
    textBox(name)->setAccessibleDescription(QString::fromUtf8(kDiscIsSum));
  }
  connect(m_monthTable, &QTableWidget::itemSelectionChanged, this, [this] { grdMois_Click(); });
  for (const QString& name : kDayFields) {
    onChange(name, [this] { jour_Change(); });
    connect(textBox(name), &QLineEdit::editingFinished, this, [this] { jour_LostFocus(); });
    textBox(name)->installEventFilter(this);
  }
  onClick("chkDisque", [this] { chkDisque_Click(); });
  onClick("chkSansObservation", [this] { chkSansObservation_Click(); });
  onClick("cmdNouvelle", [this] { cmdNouvelle_Click(); });
  onClick("cmdRayer", [this] { cmdRayer_Click(); });
  connect(listBox("lstJour"), &QListWidget::itemSelectionChanged, this, [this] { lstJour_Click(); });
  onClick("cmdRetenir", [this] { cmdRetenir_Click(); });
  connect(m_groupTable, &QTableWidget::itemSelectionChanged, this, [this] { grdGroupes_Click(); });
  for (const QString& name : kGroupFields) {
    connect(textBox(name), &QLineEdit::editingFinished, this, [this] { groupe_LostFocus(); });
    textBox(name)->installEventFilter(this);
  }
  onClick("cmdAjouterGroupe", [this] { cmdAjouterGroupe_Click(); });
  onClick("cmdRetirerGroupe", [this] { cmdRetirerGroupe_Click(); });
  onClick("cmdDepuisCsv", [this] { cmdDepuisCsv_Click(); });
  onClick("cmdOuvrir", [this] { cmdOuvrir_Click(); });
  onClick("cmdRapport", [this] { cmdRapport_Click(); });
  onClick("cmdImprimer", [this] { cmdImprimer_Click(); });
  onClick("Command1", [this] { Command1_Click(); });
  onClick("cmdEnvoyer", [this] { cmdEnvoyer_Click(); });
  onClick("cmdMenu", [this] { cmdMenu_Click(); });
  // Ctrl+Z where no field takes it; the fields pass it on (eventFilter).
  auto* undoKey = new QShortcut(QKeySequence::Undo, this);
  connect(undoKey, &QShortcut::activated, this, [this] { undo(); });
  setPrinterHooks({});
  addComparisonsTab();
  addRegionsTab();
}

JournalWindow::~JournalWindow() {
  // What the controls do as they go (a field losing its focus, a table's header resized,
  // the month's page resized) must not reach a window half gone: every signal and event
  // filter of theirs that leads here is cut first.
  for (QObject* child : findChildren<QObject*>()) {
    child->disconnect(this);
    child->removeEventFilter(this);
  }
}

void JournalWindow::setPrinterHooks(ui::DocumentPrinter::Hooks hooks) {
  hooks.askPdfPath = [this, ask = std::move(hooks.askPdfPath)](const QString& suggested) {
    return savePathAsked(ask, suggested);
  };
  m_printer = std::make_unique<ui::DocumentPrinter>(m_desktop.messages, std::move(hooks));
}

// `kavrel journal` may have written the same file meanwhile: the month is read again
// whenever the window comes back to the front.
void JournalWindow::changeEvent(QEvent* event) {
  Form::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_session &&
      !m_session->journal().released()) {
    m_session->refresh();
    showAll();
    showComparisons();
    showRegions();
  }
}

bool JournalWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_monthPage && event->type() == QEvent::Resize) placeMonthPage();
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // The year shown steps as in a spin box.
    if (watched == textBox("txtAnnéeMois") && key->modifiers() == Qt::NoModifier &&
        (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
      moveMonth(key->key() == Qt::Key_Up ? 12 : -12);
      return true;
    }
    // A key typed into the disc's sums says why it changes nothing.
    if ((watched == textBox("txtGDisque") || watched == textBox("txtFDisque")) &&
        static_cast<QLineEdit*>(watched)->isReadOnly() && !key->text().isEmpty() && key->text().at(0).isPrint())
      showStatus(QString::fromUtf8(kDiscIsSum));
  }
  if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Ctrl+Z in a field is the journal's, not the field's own: what was typed is stored
    // first, then taken back, so that the field shows what it held before. The field
    // would take the key for itself: it is left to the window's shortcut.
    if (key->matches(QKeySequence::Undo) && qobject_cast<QLineEdit*>(watched)) {
      if (event->type() == QEvent::KeyPress) {
        undo();
      } else {
        event->ignore();
      }
      return true;
    }
    if (watched == m_groupTable && event->type() == QEvent::KeyPress && key->key() == Qt::Key_Delete && m_group &&
        control("cmdRetirerGroupe")->isEnabled()) {
      cmdRetirerGroupe_Click();
      return true;
    }
  }
  return Form::eventFilter(watched, event);
}

// --- Opening --------------------------------------------------------------------------

void JournalWindow::Form_Load() {
  const QString refused = openAt(toQString(defaultJournalPath()));
  if (refused.isEmpty()) return;
  showEnabled();
  // Said once the window stands behind the message.
  QTimer::singleShot(0, this, [this, refused] { sayError(refused); });
}

void JournalWindow::openJournal(const QString& path) {
  if (const QString refused = openAt(path); !refused.isEmpty()) sayError(refused);
}

QString JournalWindow::openAt(const QString& path) {
  if (m_session && !storeDay()) return QString::fromUtf8(kOpenAfterChecks);
  Session::Opened opened = Session::open(toUtf8(path), m_separator);
  if (!opened.session) {
    const QString refused = opened.error.empty() ? QString::fromUtf8(kNotOpened) : toQString(opened.error);
    showStatus(refused);
    return refused;
  }
  m_session = std::move(opened.session);
  m_session->showToday();
  m_group = 0;
  m_readErrorSaid.clear();
  m_groupsErrorSaid.clear();
  showAll();
  showComparisons();
  showRegions();
  // Said once, when the window stands behind the message; the status line keeps it.
  if (m_session->journal().readOnly())
    QTimer::singleShot(0, this, [this, said = toQString(m_session->journal().readOnlyReason())] { sayError(said); });
  return {};
}

void JournalWindow::showAll() {
  showDay(m_session->typed());
  showMonth();
  showGroups();
  showEnabled();
  showStatus();
}

void JournalWindow::showEnabled() {
  for (const QString& name : kJournalControls) control(name)->setEnabled(m_session != nullptr);
  for (const QString& name : kGroupFields) control(name)->setEnabled(m_session != nullptr);
  // A journal read only is read as any other, its fields still focused and read aloud.
  const bool readOnly = m_session && m_session->journal().readOnly();
  for (const QString& name : kDayFields) textBox(name)->setReadOnly(readOnly);
  for (const QString& name : kGroupFields) textBox(name)->setReadOnly(readOnly);
  for (const char* name : {"chkDisque", "chkSansObservation", "cmdNouvelle", "cmdRayer", "cmdRetenir", "cmdAjouterGroupe",
                           "cmdRetirerGroupe", "cmdDepuisCsv"})
    if (readOnly) control(name)->setEnabled(false);
  showCountsMode();
}

// --- The month ------------------------------------------------------------------------

void JournalWindow::showMonth() {
  if (!m_session) {
    m_dayRows.clear();
    m_unobservedRows.clear();
    m_monthTable->setRowCount(0);
    setText("lblMoyennes", QString());
    return showDayChoices();
  }
  {
    const QSignalBlocker quiet(comboBox("cboMois"));
    comboBox("cboMois")->setCurrentIndex(m_session->month() - 1);
    const QScopedValueRollback<bool> showing(m_showing, true);
    setText("txtAnnéeMois", QString::number(m_session->year()));
  }
  const std::string observersError = showObservers();
  const Read<MonthView>& view = m_session->monthView();
  // A month that could not be read is said, not shown as a month without observations;
  // once, not at every field left. So are the observers that could not be listed.
  const std::string& error = view.ok() ? observersError : view.error;
  if (!error.empty() && toQString(error) != m_readErrorSaid) {
    m_readErrorSaid = toQString(error);
    sayError(m_readErrorSaid);
  } else if (error.empty()) {
    m_readErrorSaid.clear();
  }
  const MonthSheet& sheet = view.value.sheet;
  m_dayRows = sheet.rowObservations;
  m_unobservedRows = sheet.rowUnobservedDays;
  // The day of the observation shown stays marked, though another of its observations is
  // the day's; so does the day not observed shown.
  int chosen = -1;
  if (const Id edited = m_session->edited()) {
    std::vector<Id> sameDay{edited};
    for (const DayChoice& choice : m_session->dayChoices()) sameDay.push_back(choice.id);
    for (std::size_t row = 0; row < m_dayRows.size(); ++row)
      if (std::find(sameDay.begin(), sameDay.end(), m_dayRows[row]) != sameDay.end()) chosen = static_cast<int>(row);
  } else if (const Id unobserved = m_session->editedUnobserved()) {
    const auto found = std::find(m_unobservedRows.begin(), m_unobservedRows.end(), unobserved);
    if (found != m_unobservedRows.end()) chosen = static_cast<int>(found - m_unobservedRows.begin());
  }

  const QSignalBlocker quiet(m_monthTable);
  QStringList headings;
  for (const std::string& heading : sheet.headings) headings << toQString(heading);
  m_monthTable->setColumnCount(static_cast<int>(headings.size()));
  m_monthTable->setHorizontalHeaderLabels(headings);
  m_monthTable->setRowCount(static_cast<int>(sheet.rows.size()));
  for (int row = 0; row < static_cast<int>(sheet.rows.size()); ++row) {
    const std::vector<std::string>& cells = sheet.rows[static_cast<std::size_t>(row)];
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      const QString cell = toQString(cells[static_cast<std::size_t>(column)]);
      auto* item = new QTableWidgetItem(cell);
      const bool remark = sheet.headings.size() == cells.size() && column + 1 == static_cast<int>(cells.size()) &&
                          sheet.headings.back() == kRemarksHeading;
      item->setTextAlignment((remark ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      if (remark) item->setToolTip(cell);
      m_monthTable->setItem(row, column, item);
    }
  }
  m_monthTable->clearSelection();
  if (chosen >= 0) m_monthTable->selectRow(chosen);
  QStringList means;
  for (const std::string& line : sheet.meansLines) means << toQString(line);
  setText("lblMoyennes", means.join(u'\n'));
  showDayChoices();
}

// The observations of the day shown, listed when there are more than one.
void JournalWindow::showDayChoices() {
  const std::vector<DayChoice> choices = m_session ? m_session->dayChoices() : std::vector<DayChoice>{};
  ui::ListBox* list = listBox("lstJour");
  const QSignalBlocker quiet(list);
  list->clear();
  m_dayChoices.clear();
  bool retained = false;
  for (const DayChoice& choice : choices) {
    list->append(toQString(choice.text));
    m_dayChoices.push_back(choice.id);
    if (choice.id == m_session->edited()) {
      list->setCurrentRow(list->count() - 1);
      retained = choice.retained;
    }
  }
  const bool several = choices.size() > 1;
  for (const char* name : {"lblChoixJour", "lstJour", "cmdRetenir"}) control(name)->setVisible(several);
  control("cmdRetenir")->setEnabled(several && !retained && !m_session->journal().readOnly());
}

void JournalWindow::lstJour_Click() {
  const int row = listBox("lstJour")->currentRow();
  if (!m_session || row < 0 || static_cast<std::size_t>(row) >= m_dayChoices.size()) return;
  const Id wanted = m_dayChoices[static_cast<std::size_t>(row)];
  if (wanted == m_session->edited()) return;
  if (!storeDay()) return showDayChoices();
  std::string error;
  if (!m_session->openObservation(wanted, &error)) sayError(toQString(error));
  m_group = 0;
  showAll();
}

void JournalWindow::cmdRetenir_Click() {
  if (!m_session) return;
  if (!shown(m_session->retainForDay())) return;
  showComparisons();
}

void JournalWindow::moveMonth(int step) {
  if (!m_session) return;
  const Day moved = monthMoved(m_session->year(), m_session->month(), step);
  if (m_session->showMonth(moved.year, moved.month)) showMonth();
}

void JournalWindow::cboMois_Click() { showMonthTyped(); }

void JournalWindow::txtAnneeMois_LostFocus() {
  if (m_showing || !m_session || text("txtAnnéeMois").trimmed() == QString::number(m_session->year())) return;
  showMonthTyped();
}

void JournalWindow::showMonthTyped() {
  if (!m_session) return;
  const Outcome shown = m_session->showMonth(comboBox("cboMois")->currentIndex() + 1, toUtf8(text("txtAnnéeMois")));
  // A refused year gives way to the one shown before it is said.
  showMonth();
  if (shown.kind == Outcome::Kind::Refused) sayError(toQString(shown.message));
}

// The observers, the one whose month is shown chosen; their instrument said beside.
std::string JournalWindow::showObservers() {
  QComboBox* list = comboBox("cboObservateur");
  const QSignalBlocker quiet(list);
  list->clear();
  const std::optional<Observer>& shown = m_session ? m_session->observer() : std::nullopt;
  const Read<std::vector<Observer>> observers = m_session ? m_session->observers() : Read<std::vector<Observer>>{};
  for (const Observer& observer : observers.value) {
    list->addItem(toQString(observerChoiceText(observer)), QVariant::fromValue<qlonglong>(observer.id));
    if (shown && observer.id == shown->id) list->setCurrentIndex(list->count() - 1);
  }
  const QString instrument = shown ? toQString(instrumentText(*shown)) : QString();
  list->setToolTip(instrument);
  list->setAccessibleDescription(instrument);
  return observers.error;
}

void JournalWindow::cboObservateur_Click() {
  QComboBox* list = comboBox("cboObservateur");
  if (!m_session || list->currentIndex() < 0) return;
  const Id wanted = list->currentData().toLongLong();
  if (m_session->observer() && m_session->observer()->id == wanted) return;
  // What is typed is the observer's shown so far: stored first, or kept with them.
  if (!storeDay()) {
    showObservers();
    return;
  }
  // Said once: the month shown next does not say it again.
  if (std::string error; !m_session->showObserver(wanted, &error)) {
    m_readErrorSaid = toQString(error);
    sayError(m_readErrorSaid);
  }
  m_group = 0;
  showAll();
  showComparisons();
}

// The observer shown named and given an instrument, or the journal's first observer made;
// asked again with why while what is typed is refused.
void JournalWindow::cmdObservateur_Click() {
  if (!m_session) return;
  ObserverTexts texts = m_session->observer() ? observerTexts(*m_session->observer()) : ObserverTexts{};
  QString problem;
  while (const std::optional<ObserverTexts> typed = m_observerDialog(texts, problem)) {
    const Outcome outcome = m_session->changeObserver(*typed);
    if (outcome.kind != Outcome::Kind::Refused) {
      shown(outcome);
      showComparisons();
      return;
    }
    texts = *typed;
    problem = toQString(outcome.message);
  }
}

void JournalWindow::placeMonthPage() {
  const QSize grown = m_monthPage->size() - m_monthPageSize;
  const int wider = std::max(0, grown.width()), taller = std::max(0, grown.height());
  // The tables take the room: both the height, the width shared between the month's (its
  // remarks come last) and the groups'; the observation's column moves right by the
  // month's share, what stands under the tables moves down, "Quitter" and the status line
  // keep to the right edge.
  const int monthWider = wider / 2;
  int dayColumn = 0;
  for (const auto& [widget, at] : m_monthPlaces)
    if (widget == m_monthTable) dayColumn = at.right();
  const QStringList under = {"lblMoyennes", "cmdAjouterGroupe", "cmdRetirerGroupe", "cmdDepuisCsv", "cmdOuvrir",
                             "cmdRapport",  "cmdImprimer",      "Command1",         "cmdEnvoyer", "Label7"};
  for (const auto& [widget, at] : m_monthPlaces) {
    const QString name = widget->objectName();
    QRect place = at;
    if (name == "lblEtat") {
      place = at.translated(0, taller).adjusted(0, 0, wider, 0);
    } else if (name == "cmdMenu") {
      place = at.translated(wider, taller);
    } else {
      if (at.left() > dayColumn) place.translate(monthWider, 0);
      if (under.contains(name) ||
          std::find(std::begin(kGroupFields), std::end(kGroupFields), name) != std::end(kGroupFields))
        place.translate(0, taller);
      if (widget == m_monthTable) place.setSize(at.size() + QSize(monthWider, taller));
      if (name == "lblMoyennes") place.setWidth(at.width() + monthWider);
      if (widget == m_groupTable) place.setSize(at.size() + QSize(wider - monthWider, taller));
    }
    widget->setGeometry(place);
  }
  fitGroupColumns();
}

void JournalWindow::cmdMoisPrecedent_Click() { moveMonth(-1); }
void JournalWindow::cmdMoisSuivant_Click() { moveMonth(1); }
void JournalWindow::cmdAnneePrecedente_Click() { moveMonth(-12); }
void JournalWindow::cmdAnneeSuivante_Click() { moveMonth(12); }

void JournalWindow::grdMois_Click() {
  const QModelIndexList rows = m_monthTable->selectionModel()->selectedRows();
  if (rows.isEmpty() || !m_session) return;
  const std::size_t row = static_cast<std::size_t>(rows.first().row());
  if (row >= m_dayRows.size()) return;
  const Id wanted = m_dayRows[row];
  const Id unobserved = m_unobservedRows[row];
  if (wanted ? wanted == m_session->edited() : unobserved == m_session->editedUnobserved()) return;
  // What is typed is kept before another day is shown; a refused form stays.
  if (!storeDay()) return showMonth();
  std::string error;
  if (!(wanted ? m_session->openObservation(wanted, &error) : m_session->openUnobservedDay(unobserved, &error)))
    sayError(toQString(error));
  m_group = 0;
  showAll();
}

// --- The day's observation ------------------------------------------------------------

DayTexts JournalWindow::typedDay() const {
  DayTexts t;
  t.day = toUtf8(text("txtJour"));
  t.month = toUtf8(text("txtMois"));
  t.year = toUtf8(text("txtAnnée"));
  t.hour = toUtf8(text("txtHeure"));
  t.minute = toUtf8(text("txtMinute"));
  t.seeing = toUtf8(text("txtSeeing"));
  t.transparency = toUtf8(text("txtTransparence"));
  t.remarks = toUtf8(text("txtRemarque"));
  t.wholeDisc = value("chkDisque") != 0;
  t.notObserved = value("chkSansObservation") != 0;
  t.groupsNorth = toUtf8(text("txtGNord"));
  t.spotsNorth = toUtf8(text("txtFNord"));
  t.groupsSouth = toUtf8(text("txtGSud"));
  t.spotsSouth = toUtf8(text("txtFSud"));
  t.groupsDisc = toUtf8(text("txtGDisque"));
  t.spotsDisc = toUtf8(text("txtFDisque"));
  return t;
}

void JournalWindow::showDay(const DayTexts& t) {
  const QScopedValueRollback<bool> showing(m_showing, true);
  setText("txtJour", toQString(t.day));
  setText("txtMois", toQString(t.month));
  setText("txtAnnée", toQString(t.year));
  setText("txtHeure", toQString(t.hour));
  setText("txtMinute", toQString(t.minute));
  setText("txtSeeing", toQString(t.seeing));
  setText("txtTransparence", toQString(t.transparency));
  setText("txtRemarque", toQString(t.remarks));
  setValue("chkDisque", t.wholeDisc ? 1 : 0);
  setValue("chkSansObservation", t.notObserved ? 1 : 0);
  setText("txtGNord", toQString(t.groupsNorth));
  setText("txtFNord", toQString(t.spotsNorth));
  setText("txtGSud", toQString(t.groupsSouth));
  setText("txtFSud", toQString(t.spotsSouth));
  setText("txtGDisque", toQString(t.groupsDisc));
  setText("txtFDisque", toQString(t.spotsDisc));
  showCountsMode();
  if (m_session) showDayReading(m_session->type(typedDay()));
}

// North and south are typed, the disc's counts being their sums, or the disc's alone.
// A day not observed has neither counts nor seeing; an observation stored keeps its counts
// (it is struck out, not turned into a day of clouds).
void JournalWindow::showCountsMode() {
  const bool unobserved = value("chkSansObservation") != 0;
  const bool whole = value("chkDisque") != 0;
  const bool readOnly = m_session && m_session->journal().readOnly();
  for (const char* name : {"txtGNord", "txtFNord", "txtGSud", "txtFSud", "lblNord", "lblSud"})
    control(name)->setEnabled(!whole && !unobserved);
  for (const char* name : {"txtGDisque", "txtFDisque", "lblDisque", "txtSeeing", "lblSeeing", "txtTransparence",
                           "lblTransparence"})
    control(name)->setEnabled(!unobserved);
  control("chkDisque")->setEnabled(!unobserved && !readOnly);
  control("chkSansObservation")->setEnabled(!readOnly && (!m_session || !m_session->edited()));
  for (const char* name : {"txtGDisque", "txtFDisque"}) textBox(name)->setReadOnly(!whole || readOnly);
}

void JournalWindow::showDayReading(const DayReading& reading) {
  setText("lblRNord", toQString(reading.relativeNorth));
  setText("lblRSud", toQString(reading.relativeSouth));
  setText("lblRDisque", toQString(reading.relativeDisc));
  if (value("chkDisque") == 0) {
    const QScopedValueRollback<bool> showing(m_showing, true);
    setText("txtGDisque", toQString(reading.groupsDisc));
    setText("txtFDisque", toQString(reading.spotsDisc));
  }
  QStringList problems;
  for (const std::string& problem : reading.problems) problems << toQString(problem);
  setText("lblVerifs", problems.join(u'\n'));
}

void JournalWindow::jour_Change() {
  if (m_showing || !m_session) return;
  showDayReading(m_session->type(typedDay()));
  showStatus();
}

void JournalWindow::jour_LostFocus() {
  if (m_showing) return;
  storeDay();
}

void JournalWindow::chkDisque_Click() {
  if (m_showing) return;
  showCountsMode();
  if (value("chkDisque") != 0) {
    // The sums of north and south become the disc's counts, to keep or retype.
    const QScopedValueRollback<bool> showing(m_showing, true);
    for (const char* name : {"txtGNord", "txtFNord", "txtGSud", "txtFSud"}) setText(name, QString());
  }
  if (m_session) showDayReading(m_session->type(typedDay()));
  storeDay();
}

void JournalWindow::chkSansObservation_Click() {
  if (m_showing) return;
  if (value("chkSansObservation") != 0) {
    // Nothing counted on a day not observed: the remark says why.
    const QScopedValueRollback<bool> showing(m_showing, true);
    for (const char* name : {"txtGNord", "txtFNord", "txtGSud", "txtFSud", "txtGDisque", "txtFDisque", "txtSeeing",
                             "txtTransparence"})
      setText(name, QString());
  }
  showCountsMode();
  if (m_session) showDayReading(m_session->type(typedDay()));
  storeDay();
}

bool JournalWindow::storeDay() {
  // Nothing can be typed into a journal read only (showEnabled): nothing to store.
  if (!m_session || m_session->journal().readOnly()) return true;
  const Outcome outcome = m_session->leave(typedDay());
  showDayReading(m_session->reading());
  if (outcome.kind == Outcome::Kind::Refused) {
    showStatus();
    return false;
  }
  return shown(outcome);
}

bool JournalWindow::shown(const Outcome& outcome) {
  if (outcome.kind == Outcome::Kind::NotWritten) {
    sayError(toQString(outcome.message));
    showStatus(toQString(outcome.message));
    return false;
  }
  if (outcome.kind == Outcome::Kind::Refused) {
    sayError(toQString(outcome.message));
    showStatus();
    return false;
  }
  if (outcome.stored()) {
    showMonth();
    showGroups();
  }
  showStatus();
  return true;
}

void JournalWindow::cmdNouvelle_Click() {
  if (!m_session || !storeDay()) return;
  m_session->newObservation();
  m_group = 0;
  showAll();
  // The day is to be typed where the month shown is not today's.
  textBox(m_session->typed().day.empty() ? "txtJour" : "txtGNord")->setFocus();
}

void JournalWindow::cmdRayer_Click() {
  if (!m_session) return;
  if (!shown(m_session->removeObservation())) return;
  m_group = 0;
  showAll();
}

// --- Groups ---------------------------------------------------------------------------

void JournalWindow::showGroups() {
  const QSignalBlocker quiet(m_groupTable);
  const Read<std::vector<Group>> read = m_session ? m_session->groups() : Read<std::vector<Group>>{};
  // Groups that could not be read are said, not shown as none; once, and not again when
  // the month's failure said it.
  const QString error = toQString(read.error);
  if (!read.ok() && error != m_readErrorSaid && error != m_groupsErrorSaid) sayError(error);
  m_groupsErrorSaid = error;
  const std::vector<Group>& groups = read.value;
  m_groupRows.clear();
  m_groupTable->setRowCount(static_cast<int>(groups.size()));
  std::optional<Group> chosen;
  for (int row = 0; row < static_cast<int>(groups.size()); ++row) {
    const Group& group = groups[static_cast<std::size_t>(row)];
    m_groupRows.push_back(group.id);
    const std::vector<std::string> cells = groupCells(group, m_separator);
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      auto* item = new QTableWidgetItem(toQString(cells[static_cast<std::size_t>(column)]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_groupTable->setItem(row, column, item);
    }
    if (group.id == m_group) chosen = group;
  }
  fitGroupColumns();
  m_groupTable->clearSelection();
  if (chosen) m_groupTable->selectRow(static_cast<int>(std::find(m_groupRows.begin(), m_groupRows.end(), m_group) -
                                                       m_groupRows.begin()));
  showGroup(chosen);
}

// Each column as wide as its heading or widest cell, the room left shared among them, so
// that the fields under them show what they hold.
void JournalWindow::fitGroupColumns() {
  QHeaderView* header = m_groupTable->horizontalHeader();
  m_groupTable->resizeColumnsToContents();
  const int columns = header->count();
  if (columns == 0) return;
  const int share = (m_groupTable->viewport()->width() - header->length()) / columns;
  for (int i = 0; i < columns; ++i) header->resizeSection(i, std::max(24, header->sectionSize(i) + share));
  placeGroupFields();
}

void JournalWindow::placeGroupFields() {
  const QHeaderView* header = m_groupTable->horizontalHeader();
  const int left = m_groupTable->x() + m_groupTable->frameWidth();
  const int right = m_groupTable->geometry().right();
  for (int i = 0; i < 10; ++i) {
    QWidget* field = control(kGroupFields[i]);
    const int x = left + header->sectionViewportPosition(i);
    field->setGeometry(x, field->y(), std::max(8, std::min(header->sectionSize(i) - 2, right - x)), field->height());
  }
}

void JournalWindow::showGroup(const std::optional<Group>& group) {
  m_group = group ? group->id : 0;
  const GroupTexts t = group ? groupTexts(*group, m_separator) : GroupTexts{};
  const std::string* texts[] = {&t.number,    &t.noaaRegion,  &t.hemisphere,    &t.latitude, &t.longitude,
                                &t.centralMeridianDistance, &t.zurichClass, &t.mcintoshClass, &t.spots, &t.area};
  const QScopedValueRollback<bool> showing(m_showing, true);
  for (int i = 0; i < 10; ++i) setText(kGroupFields[i], toQString(*texts[i]));
}

GroupTexts JournalWindow::typedGroup() const {
  GroupTexts t;
  std::string* texts[] = {&t.number,    &t.noaaRegion,  &t.hemisphere,    &t.latitude, &t.longitude,
                          &t.centralMeridianDistance, &t.zurichClass, &t.mcintoshClass, &t.spots, &t.area};
  for (int i = 0; i < 10; ++i) *texts[i] = toUtf8(text(kGroupFields[i]));
  return t;
}

void JournalWindow::grdGroupes_Click() {
  const QModelIndexList rows = m_groupTable->selectionModel()->selectedRows();
  if (rows.isEmpty() || !m_session) return;
  const std::size_t row = static_cast<std::size_t>(rows.first().row());
  if (row >= m_groupRows.size() || m_groupRows[row] == m_group) return;
  for (const Group& group : m_session->groups().value)
    if (group.id == m_groupRows[row]) return showGroup(group);
}

// The chosen group's fields are stored when left, as the day's are.
void JournalWindow::groupe_LostFocus() {
  if (m_showing || !m_session || !m_group) return;
  const Outcome outcome = m_session->storeGroup(m_group, typedGroup());
  if (outcome.kind == Outcome::Kind::Refused)
    return setText("lblEtat", QString::fromUtf8(kGroupRefused).arg(toQString(outcome.message)));
  shown(outcome);
}

void JournalWindow::cmdAjouterGroupe_Click() {
  if (!m_session) return;
  // The fields typed without a group chosen make the new group; while they show the chosen
  // one, the new group starts empty, for its fields to be typed once it is chosen.
  const Outcome added = m_session->addGroup(m_group ? GroupTexts{} : typedGroup());
  if (!shown(added)) return;
  m_group = added.id;
  showGroups();
  textBox(kGroupFields[0])->setFocus();
}

void JournalWindow::cmdRetirerGroupe_Click() {
  if (!m_session) return;
  if (!m_group) return sayError(QString::fromUtf8(kNoGroupChosen));
  if (!shown(m_session->removeGroup(m_group))) return;
  m_group = 0;
  showGroups();
}

void JournalWindow::cmdDepuisCsv_Click() {
  if (!m_session) return;
  if (!shown(m_session->readyForGroups())) return;
  QString path;
  QString unread;
  QByteArray bytes;
  // The file chosen is read before the journal is taken again: it may be the journal.
  if (!withJournalReleased([&] {
        path = m_spotFileDialog(QDir::homePath());
        if (path.isEmpty()) return;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
          bytes = file.readAll();
        else
          unread = file.errorString();
      }))
    return;
  if (path.isEmpty()) return;
  if (!unread.isEmpty()) return sayError(QString::fromUtf8(kFileUnread).arg(path, unread));
  const SpotFile spots = readSpotFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!spots.refusal.empty())
    return sayError(QString::fromUtf8(kFileUnread).arg(path, toQString(spots.refusal)));
  QStringList lines;
  for (const MeasuredSpot& spot : spots.spots) lines << toQString(spotLine(spot, m_separator));
  std::vector<MeasuredSpot> chosen;
  for (const int index : m_spotChooser(lines))
    if (index >= 0 && static_cast<std::size_t>(index) < spots.spots.size())
      chosen.push_back(spots.spots[static_cast<std::size_t>(index)]);
  if (chosen.empty()) return showStatus(QString::fromUtf8(kNoSpotChosen));
  if (astrideEquator(chosen) && !m_equatorQuestion(QString::fromUtf8(kAstrideEquator)))
    return showStatus(QString::fromUtf8(kEquatorDeclined));
  const Outcome added = m_session->addGroupFromSpots(chosen, spots.origin);
  if (!shown(added)) return;
  m_group = added.id;
  showGroups();
}

// --- Undo, errors, status -------------------------------------------------------------

void JournalWindow::undo() {
  if (!m_session) return;
  if (m_session->undoCaption().empty()) return showStatus(QString::fromUtf8(kNothingToUndo));
  const Outcome undone = m_session->undo();
  if (undone.failed()) {
    shown(undone);
    return;
  }
  showAll();
  showComparisons();
  showRegions();
}

void JournalWindow::sayError(const QString& error) {
  m_desktop.messages.show(error, ui::kStyleExclamation, QString());
}

void JournalWindow::showStatus(const QString& news) {
  QStringList lines;
  if (!news.isEmpty()) lines << news;
  if (!m_session) {
    lines << QString::fromUtf8(kNoJournal);
  } else {
    const Journal& journal = m_session->journal();
    lines << QString::fromUtf8(kJournalLine).arg(QDir::toNativeSeparators(toQString(journal.path())));
    if (journal.readOnly() && news != toQString(journal.readOnlyReason())) lines << toQString(journal.readOnlyReason());
    if (const std::string next = m_session->undoCaption(); !next.empty())
      lines << QString::fromUtf8(kUndoHint).arg(toQString(next));
  }
  setText("lblEtat", lines.join(QStringLiteral(" — ")));
}

// --- Files, reports, printing -----------------------------------------------------------

bool JournalWindow::withJournalReleased(const std::function<void()>& work) {
  if (!m_session) {
    work();
    return true;
  }
  m_session->journal().release();
  work();
  const std::string lost = m_session->journal().reacquire();
  if (lost.empty()) return true;
  m_session.reset();
  m_group = 0;
  if (m_comparisons) m_comparisons->setJournal(nullptr, std::nullopt);
  if (m_regions) m_regions->setJournal(nullptr, std::nullopt, 0, 0);
  showMonth();
  showGroups();
  showEnabled();
  showStatus(toQString(lost));
  sayError(toQString(lost));
  return false;
}

bool JournalWindow::namesJournal(const QString& path) const {
  if (!m_session || path.isEmpty()) return false;
  std::error_code ignored;
  for (const char* beside : {"", "-wal", "-shm", "-journal"})
    if (std::filesystem::equivalent(toUtf8(path), m_session->journal().path() + beside, ignored)) return true;
  return false;
}

QString JournalWindow::savePathAsked(const PathDialog& dialog, const QString& suggested) {
  QString path;
  if (!withJournalReleased([&] { path = dialog(suggested); })) return {};
  // Written whole, the file would take the journal's place.
  if (namesJournal(path)) {
    const QString refused = QString::fromUtf8(kIsTheJournal).arg(QDir::toNativeSeparators(path));
    sayError(refused);
    showStatus(refused);
    return {};
  }
  return path;
}

void JournalWindow::cmdOuvrir_Click() {
  const QString suggested =
      m_session ? toQString(m_session->journal().path()) : toQString(defaultJournalPath());
  QString path;
  withJournalReleased([&] { path = m_journalDialog(suggested); });
  if (!path.isEmpty()) openJournal(path);
}

void JournalWindow::cmdRapport_Click() {
  if (!m_session || !storeDay()) return;
  const std::optional<Observer>& observer = m_session->observer();
  if (!observer) return sayError(QString::fromUtf8(kNoObserver));
  const std::optional<ReportFormat> format = m_formatQuestion();
  if (!format) return;
  const Read<MonthView>& month = m_session->monthView();
  if (!month.ok()) return sayError(toQString(month.error));
  // The networks take the raw counts; the suite's CSV carries the observer's chosen k.
  const std::optional<double> k = carriesK(*format) ? observer->chosenK : std::nullopt;
  const Report report =
      monthReport(*format, *observer, month.value.year, month.value.month, month.value.observations, m_separator, k);
  const QString path = savePathAsked(m_reportDialog, QDir::home().filePath(toQString(report.fileName)));
  if (path.isEmpty()) return;
  if (const QString reason = ui::writeWholeFile(path, QByteArray::fromStdString(report.bytes)); !reason.isEmpty()) {
    const QString error = QString::fromUtf8(kReportNotWritten).arg(path, reason);
    m_desktop.messages.show(error, ui::kStyleExclamation, QString());
    return showStatus(error);
  }
  showStatus(QString::fromUtf8(kReportWritten)
                 .arg(QDir::toNativeSeparators(path), toQString(reportKNote(*format, k, m_separator))));
}

namespace {

// The month's sheet on paper: its heading lines (the month and observer, the instrument,
// the k chosen), the table of the days, the month's lines and the days' remarks.
bool paintSheet(QPainter& painter, QPagedPaintDevice& device, const QStringList& heading, const MonthSheet& sheet) {
  const int width = device.width();
  QFont font = painter.font();
  font.setPointSizeF(11);
  painter.setFont(font);
  const int line = painter.fontMetrics().height() + 4;
  int y = line;
  for (const QString& text : heading) {
    painter.drawText(QPoint(0, y), text);
    y += line;
  }
  y += line;
  // Each column as wide as its widest text (the headings in bold), the page's width left
  // shared among them; the remarks, of any length, are listed under the table instead.
  const int columns = static_cast<int>(sheet.headings.size()) - (sheet.remarks.empty() ? 0 : 1);
  std::vector<int> widths(static_cast<std::size_t>(columns), 0);
  QFont bold = painter.font();
  bold.setBold(true);
  const QFontMetrics headingMetrics(bold, &device);
  const QFontMetrics cellMetrics(painter.font(), &device);
  for (int i = 0; i < columns; ++i) {
    int& widest = widths[static_cast<std::size_t>(i)];
    widest = headingMetrics.horizontalAdvance(toQString(sheet.headings[static_cast<std::size_t>(i)]));
    for (const std::vector<std::string>& cells : sheet.rows)
      if (static_cast<std::size_t>(i) < cells.size())
        widest = std::max(widest, cellMetrics.horizontalAdvance(toQString(cells[static_cast<std::size_t>(i)])));
  }
  int used = 0;
  for (const int w : widths) used += w;
  const int gap = columns > 0 ? std::max(cellMetrics.horizontalAdvance(u' '), (width - used) / columns) : 0;
  const auto row = [&](const std::vector<std::string>& cells, bool heading) {
    QFont face = painter.font();
    face.setBold(heading);
    painter.setFont(face);
    int x = 0;
    for (int i = 0; i < static_cast<int>(cells.size()) && i < columns; ++i) {
      const int w = widths[static_cast<std::size_t>(i)] + gap;
      painter.drawText(QRect(x, y - line + 4, w, line), Qt::AlignRight | Qt::AlignVCenter,
                       toQString(cells[static_cast<std::size_t>(i)]));
      x += w;
    }
    y += line;
  };
  row(sheet.headings, true);
  for (const std::vector<std::string>& cells : sheet.rows) {
    if (y + line > device.height()) {
      if (!device.newPage()) return false;
      y = line;
      row(sheet.headings, true);
    }
    row(cells, false);
  }
  y += line;
  QFont plain = painter.font();
  plain.setBold(false);
  painter.setFont(plain);
  // A text of its own lines, wrapped at the page's width, on the next page when it does
  // not fit under what is drawn.
  const auto paragraph = [&](const QString& text) {
    const QRect room(0, y - line + 4, width, device.height());
    const int height = painter.boundingRect(room, Qt::TextWordWrap, text).height();
    if (y - line + 4 + height > device.height()) {
      if (!device.newPage()) return false;
      y = line;
    }
    painter.drawText(QRect(0, y - line + 4, width, height), Qt::TextWordWrap, text);
    y += std::max(line, height);
    return true;
  };
  for (const std::string& text : sheet.meansLines)
    if (!paragraph(toQString(text))) return false;
  if (sheet.remarks.empty()) return true;
  y += line;
  painter.setFont(bold);
  if (!paragraph(QString::fromUtf8(kPrintRemarks))) return false;
  painter.setFont(plain);
  for (const std::string& text : sheet.remarks)
    if (!paragraph(toQString(text))) return false;
  return true;
}

// The printer's page with margins of at least kPrintMarginMm on every side.
QPageLayout withMargins(QPageLayout layout) {
  layout.setUnits(QPageLayout::Millimeter);
  const QMarginsF given = layout.margins();
  layout.setMargins(QMarginsF(std::max(given.left(), kPrintMarginMm), std::max(given.top(), kPrintMarginMm),
                              std::max(given.right(), kPrintMarginMm), std::max(given.bottom(), kPrintMarginMm)));
  return layout;
}

}  // namespace

void JournalWindow::cmdImprimer_Click() {
  if (!m_session || !storeDay()) return;
  const Read<MonthView>& month = m_session->monthView();
  if (!month.ok()) return sayError(toQString(month.error));
  const int year = month.value.year;
  const int monthNumber = month.value.month;
  const std::optional<double> k = m_comparisons->chosenK();
  const MonthSheet sheet = monthSheet(month.value.observations, m_separator, k);
  const std::optional<Observer>& observer = m_session->observer();
  QStringList heading{QString::fromUtf8(kPrintTitle) + QStringLiteral(" — ") + toQString(monthTitle(year, monthNumber))};
  if (observer) {
    heading.first() += QStringLiteral(" — ") + toQString(observerChoiceText(*observer));
    if (const std::string instrument = instrumentText(*observer); !instrument.empty())
      heading << QString::fromUtf8(kPrintInstrument).arg(toQString(instrument));
  }
  if (k) heading << QString::fromUtf8(kPrintK).arg(toQString(chosenKText(*k, m_separator)));
  const QString name =
      QStringLiteral("Journal %1-%2").arg(year, 4, 10, QChar(u'0')).arg(monthNumber, 2, 10, QChar(u'0'));
  m_printer->print(name, withMargins(m_printer->pageLayout()), [&](QPainter& painter, QPagedPaintDevice& device) {
    return paintSheet(painter, device, heading, sheet);
  });
}

// The observer's month shown, sent with the connection's own role; what the base did said.
void JournalWindow::cmdEnvoyer_Click() {
  if (!m_session || !storeDay()) return;
  const std::optional<Observer> observer = m_session->observer();
  if (!observer) return sayError(QString::fromUtf8(kNoObserver));
  std::optional<NetworkAnswer> answer;
  if (!withJournalReleased([&] { answer = m_networkDialog(m_networkBase); }) || !answer) return;
  m_networkBase = answer->base;
  // Opened by the base's engine, then closed, the journal's file would lose its locks.
  if (namesJournal(answer->base)) {
    const QString refused = QString::fromUtf8(kNetworkIsJournal).arg(QDir::toNativeSeparators(answer->base));
    sayError(refused);
    return showStatus(refused);
  }
  const Read<MonthView>& month = m_session->monthView();
  if (!month.ok()) return sayError(toQString(month.error));
  const int year = month.value.year;
  const int monthNumber = month.value.month;
  const auto observations = m_session->journal().monthObservations(year, monthNumber, observer->id);
  if (!observations.ok()) return sayError(toQString(observations.error));
  const reseau::MonthSent sent = reseau::sendJournalMonth(toUtf8(answer->base), toUtf8(answer->password),
                                                          observations.value, *observer, year, monthNumber,
                                                          reseau::utcNow());
  answer->password.fill(u'\0');
  if (!sent.done) sayError(toQString(sent.message));
  showStatus(toQString(sent.message));
}

void JournalWindow::Command1_Click() { m_about.show(); }

void JournalWindow::cmdMenu_Click() { close(); }

void JournalWindow::closeEvent(QCloseEvent* event) {
  if (m_session && !storeDay()) {
    QStringList problems;
    for (const std::string& problem : m_session->reading().problems) problems << toQString(problem);
    if (!m_closeQuestion(QString::fromUtf8(kCloseRefused).arg(problems.join(u'\n')))) return event->ignore();
  }
  m_about.unload();
  Form::closeEvent(event);
}

}  // namespace kavrel::journal
