// The disc window (form Disque).
#include "programs/disque/disque_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <array>
#include <string>
#include <utility>

#include "about/about_variant.h"
#include "common/display_mask.h"
#include "programs/dalvoren/aspect_texts.h"
#include "programs/disque/disc_view.h"
#include "programs/qt_text.h"
#include "resources/program_icon.h"

namespace kavrel::disque {

using ui::Align;
using ui::Background;
using ui::ControlRow;
using ui::Kind;

namespace {

constexpr int kLeft = 120;
constexpr int kColumnWidth = 4920;
constexpr int kResultLeft = 2400;
constexpr int kResultWidth = 1980;
constexpr int kUnitLeft = 4440;
constexpr int kLabelHeight = 252;
constexpr int kFieldHeight = 285;
constexpr int kButtonHeight = 375;
const ui::Twips kDiscAt{5280, 120, 7200, 7200};

// The columns of the spots' table.
const QStringList kSpotColumns = {"N°", "θ (°)", "r", "B (°)", "L (°)", "DMC (°)"};

const QString kPointerNames[] = {"lblPtAngle", "lblPtDistance", "lblPtB", "lblPtL", "lblPtDMC"};

QString defaultSaveDialog(const QString& suggested, PageFormat& format) {
  const QString pdf = QStringLiteral("PDF (*.pdf)");
  const QString svg = QStringLiteral("SVG (*.svg)");
  QFileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(kSaveTitle), suggested, pdf + ";;" + svg);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.setWindowModality(Qt::ApplicationModal);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, svg](const QString& filter) {
    dialog.setDefaultSuffix(filter == svg ? QStringLiteral("svg") : QStringLiteral("pdf"));
  });
  dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString path = dialog.selectedFiles().first();
  format = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? PageFormat::Svg : PageFormat::Pdf;
  return path;
}

}  // namespace

ui::FormTable disqueForm() {
  ui::FormTable form;
  form.name = "Disque";
  form.title = QStringLiteral(" ") + QString::fromUtf8(kDocumentTitle);
  form.clientWidth = 12600;
  form.clientHeight = 10080;
  std::vector<ControlRow>& c = form.controls;
  c = {
      {.name = "Label1", .caption = "Jour", .at = {120, 120, 480, 252}, .align = Align::Centre},
      {.name = "Label2", .caption = "Mois", .at = {720, 120, 480, 252}, .align = Align::Centre},
      {.name = "Label3", .caption = "Année", .at = {1320, 120, 660, 252}, .align = Align::Centre},
      {.name = "Label4", .caption = "Heure TU", .at = {2160, 120, 960, 252}},
      {.name = "Label5", .caption = "Min", .at = {3240, 120, 480, 252}, .align = Align::Centre},
      {.name = "txtJour", .kind = Kind::TextBox, .at = {120, 360, 480, kFieldHeight}, .widest = "31",
       .namedBy = {"Label1"}, .accessibleName = "Jour"},
      {.name = "txtMois", .kind = Kind::TextBox, .at = {720, 360, 480, kFieldHeight}, .widest = "12",
       .namedBy = {"Label2"}, .accessibleName = "Mois"},
      {.name = "txtAnnée", .kind = Kind::TextBox, .at = {1320, 360, 660, kFieldHeight}, .widest = "2026",
       .namedBy = {"Label3"}, .accessibleName = "Année"},
      {.name = "txtHeure", .kind = Kind::TextBox, .at = {2280, 360, 480, kFieldHeight}, .widest = "23",
       .namedBy = {"Label4"}, .accessibleName = "Heure TU"},
      {.name = "txtMinute", .kind = Kind::TextBox, .at = {3240, 360, 480, kFieldHeight}, .widest = "59",
       .namedBy = {"Label5"}, .accessibleName = "Minute"},
      {.name = "chkZero", .kind = Kind::CheckBox, .caption = "Ramener à 0 heure", .at = {240, 780, 2400, 255},
       .accessibleName = "Ramener à 0 heure"},
  };
  const ui::ResultColumns columns{.captionLeft = kLeft,
                                   .captionWidth = 2280,
                                   .resultLeft = 2400,
                                   .resultWidth = 1980,
                                   .unitLeft = 4440,
                                   .unitWidth = 600,
                                   .height = kLabelHeight,
                                   .widest = toQString(kEmptyResult)};
  const ui::ResultRow results[] = {
      {.top = 1140, .captionName = "Label9", .caption = "Rotation synodique", .resultName = "lblRotSyn",
       .accessibleName = "Rotation synodique"},
      {.top = 1470, .captionName = "Label10", .caption = "Demi diamètre apparent", .resultName = "lblDemidiam",
       .unitName = "Label16", .unit = "'  \"", .accessibleName = "Demi diamètre apparent, minutes et secondes d'arc"},
      {.top = 1800, .captionName = "Label12", .caption = "Angle aux pôles", .resultName = "lblP",
       .unitName = "Label17", .unit = "°", .accessibleName = "Angle aux pôles P, degrés"},
      {.top = 2130, .captionName = "Label13", .caption = "Latitude du centre", .resultName = "lblBo",
       .unitName = "Label18", .unit = "°", .accessibleName = "Latitude du centre B0, degrés"},
      {.top = 2460, .captionName = "Label14", .caption = "Longitude du centre", .resultName = "lblLo",
       .unitName = "Label19", .unit = "°", .accessibleName = "Longitude du centre L0, degrés"},
  };
  for (const ui::ResultRow& row : results) ui::addResultRow(c, columns, row);

  c.push_back({.name = "fraPas", .kind = Kind::Frame, .caption = "Pas de la grille", .at = {kLeft, 2820, kColumnWidth, 600}});
  const struct {
    int degrees;
    const char* caption;
  } steps[] = {{5, "&5°"}, {10, "1&0°"}, {15, "&15°"}};
  for (int i = 0; i < 3; ++i)
    c.push_back({.name = QStringLiteral("optPas%1").arg(steps[i].degrees),
                 .kind = Kind::OptionButton,
                 .caption = QString::fromUtf8(steps[i].caption),
                 .at = {240 + 1500 * i, 270, 1320, 255},
                 .frame = "fraPas",
                 .checked = steps[i].degrees == 10,
                 .accessibleName = QStringLiteral("Grille de %1 degrés").arg(steps[i].degrees)});
  c.push_back({.name = "fraSens", .kind = Kind::Frame, .caption = "Orientation du dessin",
               .at = {kLeft, 3480, kColumnWidth, 900}});
  c.push_back({.name = "optEstGauche", .kind = Kind::OptionButton,
               .caption = "Est à &gauche (vue directe, photographie)", .at = {240, 270, 4560, 255},
               .frame = "fraSens", .checked = true});
  c.push_back({.name = "optEstDroite", .kind = Kind::OptionButton, .caption = "Est à &droite (écran de projection)",
               .at = {240, 570, 4560, 255}, .frame = "fraSens"});
  c.push_back({.name = "lblDiametre", .caption = "Diamè&tre du dessin (mm)", .at = {kLeft, 4500, 2640, kLabelHeight}});
  c.push_back({.name = "txtDiametre", .kind = Kind::TextBox, .caption = "150", .at = {2880, 4470, 720, kFieldHeight},
               .widest = "250,5", .namedBy = {"lblDiametre"}, .accessibleName = "Diamètre du dessin en millimètres"});

  // The pointer's read-out: five captions over five results, and a line of explanation.
  const QString captions[] = {"θ (°)", "r", "B (°)", "L (°)", "DMC (°)"};
  const QString pointerSaid[] = {"Angle de position du pointeur, degrés", "Distance du pointeur au centre, en rayons",
                                 "Latitude héliographique du pointeur, degrés",
                                 "Longitude de Carrington du pointeur, degrés",
                                 "Distance au méridien central du pointeur, degrés"};
  for (int i = 0; i < 5; ++i) {
    c.push_back({.name = QStringLiteral("lblPtCaption%1").arg(i), .caption = captions[i],
                 .at = {kLeft + 984 * i, 4860, 936, kLabelHeight}, .align = Align::Centre});
    c.push_back({.name = kPointerNames[i], .at = {kLeft + 984 * i, 5130, 936, kLabelHeight}, .align = Align::Centre,
                 .background = Background::Window, .widest = "-179,99", .accessibleName = pointerSaid[i]});
  }
  c.push_back({.name = "lblPtEtat", .caption = kPointerHint, .at = {kLeft, 5430, kColumnWidth, 510}, .wrap = true,
               .accessibleName = "État du pointeur"});
  c.push_back({.name = "lblAide",
               .caption = "θ : angle de position compté depuis le nord céleste, vers l'est (0° nord, 90° est, "
                          "180° sud, 270° ouest). r : distance au centre, en rayons du disque (0 à 1). "
                          "B : latitude héliographique, positive au nord ; L : longitude de Carrington ; "
                          "DMC : distance au méridien central, négative à l'est, positive à l'ouest.",
               .at = {kLeft, 5940, kColumnWidth, 1440},
               .wrap = true});

  // The spots: their table, and what types one in.
  c.push_back({.name = "lblTaches", .caption = "Taches (un clic sur le disque en ajoute une)",
               .at = {kLeft, 7440, 8400, kLabelHeight}});
  c.push_back({.name = "grdTaches", .kind = Kind::Table, .at = {kLeft, 7740, 8400, 1740}, .columns = kSpotColumns,
               .accessibleName = "Taches"});
  c.push_back({.name = "lblAngle", .caption = "θ (°)", .at = {8640, 7770, 720, kLabelHeight}});
  c.push_back({.name = "txtAngle", .kind = Kind::TextBox, .at = {9360, 7740, 900, kFieldHeight}, .widest = "359,9",
               .namedBy = {"lblAngle"}, .accessibleName = "Angle de position de la tache, degrés"});
  c.push_back({.name = "lblDistance", .caption = "r", .at = {10500, 7770, 480, kLabelHeight}});
  c.push_back({.name = "txtDistance", .kind = Kind::TextBox, .at = {11100, 7740, 900, kFieldHeight},
               .widest = "0,999", .namedBy = {"lblDistance"},
               .accessibleName = "Distance de la tache au centre, en rayons"});
  c.push_back({.name = "chkDepuisAxe", .kind = Kind::CheckBox, .caption = "θ compté depuis le &pôle nord solaire",
               .at = {8640, 8100, 3840, 255}, .accessibleName = "Angle compté depuis le pôle nord du Soleil"});
  c.push_back({.name = "cmdAjouter", .kind = Kind::CommandButton, .caption = "A&jouter (θ, r)",
               .at = {8640, 8400, 3840, kButtonHeight}});
  c.push_back({.name = "lblX", .caption = "x (mm)", .at = {8640, 8910, 720, kLabelHeight}});
  c.push_back({.name = "txtX", .kind = Kind::TextBox, .at = {9360, 8880, 900, kFieldHeight}, .widest = "-124,5",
               .namedBy = {"lblX"}, .accessibleName = "Position x de la tache sur le dessin, millimètres"});
  c.push_back({.name = "lblY", .caption = "y (mm)", .at = {10380, 8910, 720, kLabelHeight}});
  c.push_back({.name = "txtY", .kind = Kind::TextBox, .at = {11100, 8880, 900, kFieldHeight}, .widest = "-124,5",
               .namedBy = {"lblY"}, .accessibleName = "Position y de la tache sur le dessin, millimètres"});
  c.push_back({.name = "cmdAjouterXY", .kind = Kind::CommandButton, .caption = "Ajouter (&x, y)",
               .at = {8640, 9240, 3840, kButtonHeight}});
  c.push_back({.name = "cmdSupprimer", .kind = Kind::CommandButton, .caption = "&Supprimer la tache",
               .at = {kLeft, 9600, 2400, kButtonHeight}});

  c.push_back({.name = "Command1", .kind = Kind::CommandButton, .caption = "&A propos", .at = {3360, 9600, 1212, kButtonHeight}});
  c.push_back({.name = "cmdImprimer", .kind = Kind::CommandButton, .caption = "&Imprimer",
               .at = {4800, 9600, 1212, kButtonHeight}});
  c.push_back({.name = "cmdEnregistrer", .kind = Kind::CommandButton, .caption = "&Enregistrer…",
               .at = {6240, 9600, 1452, kButtonHeight}});
  c.push_back({.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter", .at = {11268, 9600, 1212, kButtonHeight}});

  form.tabOrder = {"txtJour",      "txtMois",    "txtAnnée",    "txtHeure",       "txtMinute",    "chkZero",
                   "optPas5",      "optPas10",   "optPas15",    "optEstGauche",   "optEstDroite", "txtDiametre",
                   "grdTaches",    "txtAngle",   "txtDistance", "chkDepuisAxe",   "cmdAjouter",   "txtX",
                   "txtY",         "cmdAjouterXY", "cmdSupprimer", "Command1",     "cmdImprimer",  "cmdEnregistrer",
                   "cmdMenu"};
  return form;
}

Disque::Disque(ui::Desktop desktop, std::string decimalSeparator)
    : Form(disqueForm()),
      m_desktop(desktop),
      m_separator(std::move(decimalSeparator)),
      m_fields(*this, desktop, CheckForm::ExactText, [this] { Calcul(); }),
      m_about(about::disqueAbout(), desktop, this),
      m_printer(std::make_unique<QtPagePrinter>(desktop.messages)),
      m_saveDialog(&defaultSaveDialog) {
  setWindowIcon(programIcon(ProgramIcon::Disque));
  m_view = new DiscView(this);
  m_view->setObjectName("picDisque");
  m_view->setGeometry(toPixels(kDiscAt));
  m_view->setDecimalSeparator(m_separator);
  nameForAccessibility();
  m_table = table("grdTaches");
  m_table->installEventFilter(this);

  onLoad([this] { Form_Load(); });
  for (const char* step : {"optPas5", "optPas10", "optPas15"}) onClick(step, [this] { optPas_Click(); });
  onClick("optEstGauche", [this] { optEst_Click(); });
  onClick("optEstDroite", [this] { optEst_Click(); });
  m_view->onPointer([this](std::optional<DiscPoint> point) { picDisque_MouseMove(point); });
  m_view->onPress([this](DiscPoint point) { picDisque_MouseDown(point); });
  onClick("cmdAjouter", [this] { cmdAjouter_Click(); });
  onClick("cmdAjouterXY", [this] { cmdAjouterXY_Click(); });
  onClick("cmdSupprimer", [this] { cmdSupprimer_Click(); });
  onClick("cmdImprimer", [this] { cmdImprimer_Click(); });
  onClick("cmdEnregistrer", [this] { cmdEnregistrer_Click(); });
  onClick("Command1", [this] { Command1_Click(); });
  onClick("cmdMenu", [this] { cmdMenu_Click(); });
}

Disque::~Disque() = default;

// The disc is the one control the window adds to its table; the table names the others.
void Disque::nameForAccessibility() {
  m_view->setAccessibleName(QString::fromUtf8(kDocumentTitle));
  m_view->setAccessibleDescription(QStringLiteral("Le pointeur lit θ, r, B, L et DMC ; un clic ajoute une tache."));
}

bool Disque::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_table && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && !m_spots.spots().empty()) {
    cmdSupprimer_Click();
    return true;
  }
  return Form::eventFilter(watched, event);
}

void Disque::Form_Load() {
  const ui::LocalTime now = m_desktop.clock.now();
  m_fields.fillDate(now);
  m_fields.fillTime(now);
  Calcul();
}

void Disque::optPas_Click() { m_view->setGridStep(gridStep()); }

void Disque::optEst_Click() { m_view->setOrientation(orientation()); }

void Disque::picDisque_MouseMove(std::optional<DiscPoint> point) {
  m_pointer = point;
  showPointer();
}

void Disque::picDisque_MouseDown(DiscPoint point) {
  if (const std::optional<DiscPoint> spot = spotOfClick(disc(), point)) addSpot(*spot);
}

void Disque::cmdAjouter_Click() {
  const SpotEntry entry =
      spotOfAngle(toUtf8(text("txtAngle")), toUtf8(text("txtDistance")), value("chkDepuisAxe"), disc(), m_separator);
  if (!entry.point) return refuse(toQString(entry.refusal));
  addSpot(*entry.point);
}

void Disque::cmdAjouterXY_Click() {
  const SpotEntry entry = spotOfDrawing(toUtf8(text("txtX")), toUtf8(text("txtY")), drawingOptions(), m_separator);
  if (!entry.point) return refuse(toQString(entry.refusal));
  addSpot(*entry.point);
}

void Disque::cmdSupprimer_Click() {
  std::vector<int> rows;
  for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) rows.push_back(index.row());
  if (!m_spots.remove(std::move(rows))) return refuse(kNothingToRemove);
  showSpots();
}

void Disque::cmdImprimer_Click() {
  QString error;
  const std::optional<PageContent> content = pageContent(&error);
  const std::optional<PageOptions> options = content ? pageOptions(&error) : std::nullopt;
  if (!content || !options) return refuse(error);
  m_printer->print(pageName(), *content, *options);
}

void Disque::cmdEnregistrer_Click() {
  QString error;
  const std::optional<PageContent> content = pageContent(&error);
  const std::optional<PageOptions> options = content ? pageOptions(&error) : std::nullopt;
  if (!content || !options) return refuse(error);
  PageFormat format = PageFormat::Pdf;
  const QString path = m_saveDialog(QDir::home().filePath(pageName() + QStringLiteral(".pdf")), format);
  if (path.isEmpty()) return;
  // A page not written is said, naming the file and why; the window stays as it was, its
  // spots kept, for another "Enregistrer…" elsewhere. A file it would replace is intact.
  if (!writeDiscPage(path, format, *content, *options, &error)) refuse(error);
}

void Disque::Command1_Click() { m_about.show(); }

void Disque::cmdMenu_Click() {
  m_about.unload();
  unload();
}

void Disque::Calcul() {
  const FieldTexts fields(*this);
  const dalvoren::AspectTexts texts = dalvoren::aspectTexts(fields.view(), m_separator);
  setText("lblRotSyn", toQString(texts.rotation));
  setText("lblDemidiam", toQString(texts.semiDiameter));
  setText("lblP", toQString(texts.p));
  setText("lblBo", toQString(texts.b0));
  setText("lblLo", toQString(texts.l0));

  m_instant = discInstant(fields.view());
  m_view->setDisc(disc());
  showSpots();
  showPointer();
}

void Disque::addSpot(DiscPoint point) {
  m_spots.add(point);
  showSpots();
  m_table->scrollToBottom();
}

// The table and the drawing follow the spots; B, L and DMC follow the instant.
void Disque::showSpots() {
  const std::vector<Spot>& spots = m_spots.spots();
  const std::optional<DiscOrientation> orientation = disc();
  m_table->setRowCount(static_cast<int>(spots.size()));
  for (int row = 0; row < static_cast<int>(spots.size()); ++row) {
    const std::array<std::string, 6> cells = spotRow(orientation, spots[static_cast<std::size_t>(row)], m_separator).cells();
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      auto* item = new QTableWidgetItem(toQString(cells[static_cast<std::size_t>(column)]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_table->setItem(row, column, item);
    }
  }
  m_view->setSpots(spots);
}

void Disque::showPointer() {
  const PointerReadout readout = pointerReadout(disc(), m_pointer, m_separator);
  for (std::size_t i = 0; i < readout.cells.size(); ++i) setText(kPointerNames[i], toQString(readout.cells[i]));
  setText("lblPtEtat", toQString(readout.state));
}

void Disque::refuse(const QString& text) { m_desktop.messages.show(text, ui::kStyleExclamation, QString()); }

GridStep Disque::gridStep() const {
  for (const int degrees : GridStep::kAllowed)
    if (value(QStringLiteral("optPas%1").arg(degrees))) return GridStep{degrees};
  return GridStep{};
}

DrawingOrientation Disque::orientation() const {
  return value("optEstDroite") ? DrawingOrientation::EastRight : DrawingOrientation::EastLeft;
}

PageOptions Disque::drawingOptions() const {
  return pageOptionsOf(toUtf8(text("txtDiametre")), orientation(), gridStep(), m_separator);
}

QString Disque::pageName() const { return documentName(QString::fromUtf8(kDocumentTitle), *this); }

std::optional<DiscOrientation> Disque::disc() const {
  return m_instant ? std::optional(m_instant->disc) : std::nullopt;
}

std::optional<PageContent> Disque::pageContent(QString* error) const {
  if (!m_instant) {
    if (error) *error = QString::fromUtf8(kIncompleteDate);
    return std::nullopt;
  }
  return PageContent{m_instant->julianDay, m_separator, m_spots.spots()};
}

std::optional<PageOptions> Disque::pageOptions(QString* error) const {
  const PageOptions options = drawingOptions();
  if (const std::string refusal = refusalOf(options); !refusal.empty()) {
    if (error) *error = toQString(refusal);
    return std::nullopt;
  }
  return options;
}

}  // namespace kavrel::disque
