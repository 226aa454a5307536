// The disc window (form Disque).
#include "programs/disque/disque_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <functional>

#include "about/about_variant.h"
#include "common/display_mask.h"
#include "common/julian_day.h"
#include "common/strict_number.h"
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

void addResultRow(std::vector<ControlRow>& controls, int top, const QString& captionName, const QString& caption,
                  const QString& resultName, const QString& unitName = {}, const QString& unit = {}) {
  controls.push_back({.name = captionName, .caption = caption, .at = {kLeft, top, 2280, kLabelHeight}});
  controls.push_back({.name = resultName,
                      .at = {kResultLeft, top, kResultWidth, kLabelHeight},
                      .align = Align::Centre,
                      .background = Background::Window,
                      .widest = toQString(kEmptyResult)});
  if (!unitName.isEmpty())
    controls.push_back({.name = unitName, .caption = unit, .at = {kUnitLeft, top, 600, kLabelHeight}});
}

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
  form.title = " Disque solaire";
  form.clientWidth = 12600;
  form.clientHeight = 10080;
  std::vector<ControlRow>& c = form.controls;
  c = {
      {.name = "Label1", .caption = "Jour", .at = {120, 120, 480, 252}, .align = Align::Centre},
      {.name = "Label2", .caption = "Mois", .at = {720, 120, 480, 252}, .align = Align::Centre},
      {.name = "Label3", .caption = "Année", .at = {1320, 120, 660, 252}, .align = Align::Centre},
      {.name = "Label4", .caption = "Heure TU", .at = {2160, 120, 960, 252}},
      {.name = "Label5", .caption = "Min", .at = {3240, 120, 480, 252}, .align = Align::Centre},
      {.name = "txtJour", .kind = Kind::TextBox, .at = {120, 360, 480, kFieldHeight}, .widest = "31"},
      {.name = "txtMois", .kind = Kind::TextBox, .at = {720, 360, 480, kFieldHeight}, .widest = "12"},
      {.name = "txtAnnée", .kind = Kind::TextBox, .at = {1320, 360, 660, kFieldHeight}, .widest = "2026"},
      {.name = "txtHeure", .kind = Kind::TextBox, .at = {2280, 360, 480, kFieldHeight}, .widest = "23"},
      {.name = "txtMinute", .kind = Kind::TextBox, .at = {3240, 360, 480, kFieldHeight}, .widest = "59"},
      {.name = "chkZero", .kind = Kind::CheckBox, .caption = "Ramener à 0 heure", .at = {240, 780, 2400, 255}},
  };
  addResultRow(c, 1140, "Label9", "Rotation synodique", "lblRotSyn");
  addResultRow(c, 1470, "Label10", "Demi diamètre apparent", "lblDemidiam", "Label16", "'  \"");
  addResultRow(c, 1800, "Label12", "Angle aux pôles", "lblP", "Label17", "°");
  addResultRow(c, 2130, "Label13", "Latitude du centre", "lblBo", "Label18", "°");
  addResultRow(c, 2460, "Label14", "Longitude du centre", "lblLo", "Label19", "°");

  c.push_back({.name = "fraPas", .kind = Kind::Frame, .caption = "Pas de la grille", .at = {kLeft, 2820, kColumnWidth, 600}});
  c.push_back({.name = "fraSens", .kind = Kind::Frame, .caption = "Orientation du dessin",
               .at = {kLeft, 3480, kColumnWidth, 900}});
  c.push_back({.name = "lblDiametre", .caption = "Diamè&tre du dessin (mm)", .at = {kLeft, 4500, 2640, kLabelHeight}});
  c.push_back({.name = "txtDiametre", .kind = Kind::TextBox, .caption = "150", .at = {2880, 4470, 720, kFieldHeight},
               .widest = "250,5"});

  // The pointer's read-out: five captions over five results, and a line of explanation.
  const QString captions[] = {"θ (°)", "r", "B (°)", "L (°)", "DMC (°)"};
  for (int i = 0; i < 5; ++i) {
    c.push_back({.name = QStringLiteral("lblPtCaption%1").arg(i), .caption = captions[i],
                 .at = {kLeft + 984 * i, 4860, 936, kLabelHeight}, .align = Align::Centre});
    c.push_back({.name = kPointerNames[i], .at = {kLeft + 984 * i, 5130, 936, kLabelHeight}, .align = Align::Centre,
                 .background = Background::Window, .widest = "-179,99"});
  }
  c.push_back({.name = "lblPtEtat", .caption = kPointerHint, .at = {kLeft, 5430, kColumnWidth, 510}, .wrap = true});
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
  c.push_back({.name = "lblAngle", .caption = "θ (°)", .at = {8640, 7770, 720, kLabelHeight}});
  c.push_back({.name = "txtAngle", .kind = Kind::TextBox, .at = {9360, 7740, 900, kFieldHeight}, .widest = "359,9"});
  c.push_back({.name = "lblDistance", .caption = "r", .at = {10500, 7770, 480, kLabelHeight}});
  c.push_back({.name = "txtDistance", .kind = Kind::TextBox, .at = {11100, 7740, 900, kFieldHeight},
               .widest = "0,999"});
  c.push_back({.name = "chkDepuisAxe", .kind = Kind::CheckBox, .caption = "θ compté depuis le &pôle nord solaire",
               .at = {8640, 8100, 3840, 255}});
  c.push_back({.name = "cmdAjouter", .kind = Kind::CommandButton, .caption = "A&jouter (θ, r)",
               .at = {8640, 8400, 3840, kButtonHeight}});
  c.push_back({.name = "lblX", .caption = "x (mm)", .at = {8640, 8910, 720, kLabelHeight}});
  c.push_back({.name = "txtX", .kind = Kind::TextBox, .at = {9360, 8880, 900, kFieldHeight}, .widest = "-124,5"});
  c.push_back({.name = "lblY", .caption = "y (mm)", .at = {10380, 8910, 720, kLabelHeight}});
  c.push_back({.name = "txtY", .kind = Kind::TextBox, .at = {11100, 8880, 900, kFieldHeight}, .widest = "-124,5"});
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

  // What a screen reader says for each field and result; each date field is also the
  // buddy of the caption above it.
  const std::pair<QString, QString> names[] = {
      {"txtJour", "Jour"},
      {"txtMois", "Mois"},
      {"txtAnnée", "Année"},
      {"txtHeure", "Heure TU"},
      {"txtMinute", "Minute"},
      {"chkZero", "Ramener à 0 heure"},
      {"lblRotSyn", "Rotation synodique"},
      {"lblDemidiam", "Demi diamètre apparent, minutes et secondes d'arc"},
      {"lblP", "Angle aux pôles P, degrés"},
      {"lblBo", "Latitude du centre B0, degrés"},
      {"lblLo", "Longitude du centre L0, degrés"},
      {"txtDiametre", "Diamètre du dessin en millimètres"},
      {"lblPtAngle", "Angle de position du pointeur, degrés"},
      {"lblPtDistance", "Distance du pointeur au centre, en rayons"},
      {"lblPtB", "Latitude héliographique du pointeur, degrés"},
      {"lblPtL", "Longitude de Carrington du pointeur, degrés"},
      {"lblPtDMC", "Distance au méridien central du pointeur, degrés"},
      {"lblPtEtat", "État du pointeur"},
      {"txtAngle", "Angle de position de la tache, degrés"},
      {"txtDistance", "Distance de la tache au centre, en rayons"},
      {"chkDepuisAxe", "Angle compté depuis le pôle nord du Soleil"},
      {"txtX", "Position x de la tache sur le dessin, millimètres"},
      {"txtY", "Position y de la tache sur le dessin, millimètres"},
  };
  const std::pair<QString, QString> captionAbove[] = {
      {"txtJour", "Label1"}, {"txtMois", "Label2"}, {"txtAnnée", "Label3"}, {"txtHeure", "Label4"}, {"txtMinute", "Label5"},
      {"txtAngle", "lblAngle"}, {"txtDistance", "lblDistance"}, {"txtX", "lblX"}, {"txtY", "lblY"},
      {"txtDiametre", "lblDiametre"}};
  for (ControlRow& row : c) {
    for (const auto& [name, accessible] : names)
      if (row.name == name) row.accessibleName = accessible;
    for (const auto& [field, caption] : captionAbove)
      if (row.name == field) row.namedBy = {caption};
  }
  return form;
}

Disque::Disque(ui::Desktop desktop, std::string decimalSeparator)
    : Form(disqueForm()),
      m_desktop(desktop),
      m_separator(toQString(decimalSeparator)),
      m_fields(*this, desktop.messages, CheckForm::ExactText),
      m_about(about::disqueAbout(), desktop, this),
      m_printer(std::make_unique<QtPagePrinter>(desktop.messages)),
      m_saveDialog(&defaultSaveDialog) {
  setWindowIcon(programIcon(ProgramIcon::Disque));
  m_view = new DiscView(this);
  m_view->setObjectName("picDisque");
  m_view->setGeometry(toPixels(kDiscAt));
  m_view->setDecimalSeparator(m_separator);
  buildChoices();
  buildTable();
  nameForAccessibility();
  orderKeyboard();

  onLoad([this] { Form_Load(); });
  onChange("txtJour", [this] { txtJour_Change(); });
  onChange("txtMois", [this] { txtMois_Change(); });
  onChange("txtAnnée", [this] { txtAnnée_Change(); });
  onChange("txtHeure", [this] { txtHeure_Change(); });
  onChange("txtMinute", [this] { txtMinute_Change(); });
  onClick("chkZero", [this] { chkZero_Click(); });
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

void Disque::buildChoices() {
  QGroupBox* steps = frame("fraPas");
  m_steps = new QButtonGroup(this);
  const struct {
    int degrees;
    const char* caption;
  } choices[] = {{5, "&5°"}, {10, "1&0°"}, {15, "&15°"}};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QRadioButton(QString::fromUtf8(choices[i].caption), steps);
    button->setObjectName(QStringLiteral("optPas%1").arg(choices[i].degrees));
    button->setGeometry(toPixels({240 + 1500 * i, 270, 1320, 255}));
    m_steps->addButton(button, choices[i].degrees);
  }
  m_steps->button(10)->setChecked(true);
  connect(m_steps, &QButtonGroup::idClicked, this, [this] { optPas_Click(); });

  QGroupBox* sides = frame("fraSens");
  m_eastLeft = new QRadioButton(QStringLiteral("Est à &gauche (vue directe, photographie)"), sides);
  m_eastLeft->setObjectName("optEstGauche");
  m_eastLeft->setGeometry(toPixels({240, 270, 4560, 255}));
  m_eastRight = new QRadioButton(QStringLiteral("Est à &droite (écran de projection)"), sides);
  m_eastRight->setObjectName("optEstDroite");
  m_eastRight->setGeometry(toPixels({240, 570, 4560, 255}));
  m_eastLeft->setChecked(true);
  auto* group = new QButtonGroup(this);
  group->addButton(m_eastLeft);
  group->addButton(m_eastRight);
  connect(group, &QButtonGroup::buttonClicked, this, [this] { optEst_Click(); });
}

void Disque::buildTable() {
  m_table = new QTableWidget(0, static_cast<int>(kSpotColumns.size()), this);
  m_table->setObjectName("grdTaches");
  m_table->setHorizontalHeaderLabels(kSpotColumns);
  m_table->verticalHeader()->hide();
  m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  m_table->setGeometry(toPixels({kLeft, 7740, 8400, 1740}));
  m_table->installEventFilter(this);
}

// Screen-reader names of the controls the window adds to its table: the disc, the
// spots' table, the grid choices. The table's own controls are named in disqueForm().
void Disque::nameForAccessibility() {
  m_view->setAccessibleName(QStringLiteral("Disque solaire"));
  m_view->setAccessibleDescription(QStringLiteral("Le pointeur lit θ, r, B, L et DMC ; un clic ajoute une tache."));
  m_table->setAccessibleName(QStringLiteral("Taches"));
  m_steps->button(5)->setAccessibleName(QStringLiteral("Grille de 5 degrés"));
  m_steps->button(10)->setAccessibleName(QStringLiteral("Grille de 10 degrés"));
  m_steps->button(15)->setAccessibleName(QStringLiteral("Grille de 15 degrés"));
}

void Disque::orderKeyboard() {
  const QList<QWidget*> order = {
      textBox("txtJour"), textBox("txtMois"), textBox("txtAnnée"), textBox("txtHeure"), textBox("txtMinute"),
      checkBox("chkZero"), m_steps->button(5), m_steps->button(10), m_steps->button(15), m_eastLeft, m_eastRight,
      textBox("txtDiametre"), m_table, textBox("txtAngle"), textBox("txtDistance"), checkBox("chkDepuisAxe"),
      button("cmdAjouter"), textBox("txtX"), textBox("txtY"), button("cmdAjouterXY"), button("cmdSupprimer"),
      button("Command1"), button("cmdImprimer"), button("cmdEnregistrer"), button("cmdMenu")};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

bool Disque::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_table && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && !m_spots.empty()) {
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
  textBox("txtJour")->setFocus();
}

// As in the solar-aspect window, the results follow the texts as they now stand.
void Disque::txtJour_Change() {
  m_fields.check(DateField::Day, "txtJour");
  Calcul();
}

void Disque::txtMois_Change() {
  m_fields.check(DateField::Month, "txtMois");
  Calcul();
}

void Disque::txtAnnée_Change() {
  m_fields.check(DateField::Year, "txtAnnée");
  Calcul();
}

void Disque::txtHeure_Change() {
  m_fields.checkTime(DateField::Hour, "txtHeure");
  Calcul();
}

void Disque::txtMinute_Change() {
  m_fields.checkTime(DateField::Minute, "txtMinute");
  Calcul();
}

void Disque::chkZero_Click() {
  m_fields.followZeroBox(m_desktop.clock.now());
  Calcul();
}

void Disque::optPas_Click() { m_view->setGridStep(gridStep()); }

void Disque::optEst_Click() { m_view->setOrientation(orientation()); }

void Disque::picDisque_MouseMove(std::optional<DiscPoint> point) {
  m_pointer = point;
  showPointer();
}

void Disque::picDisque_MouseDown(DiscPoint point) {
  if (!m_disc) return;
  if (heliographicOf(*m_disc, point).refusal != DiscRefusal::None) return;  // a click beside the disc
  addSpot(point);
}

void Disque::cmdAjouter_Click() {
  const std::optional<double> angle = numberIn("txtAngle");
  if (!angle) return refuse(kAngleRefused);
  const std::optional<double> distance = numberIn("txtDistance");
  if (!distance) return refuse(kDistanceRefused);
  DiscPoint point{std::remainder(*angle, 360.0), *distance};
  if (value("chkDepuisAxe")) {
    if (!m_disc) return refuse(kIncompleteDate);
    point.theta = celestialPositionAngle(*m_disc, *angle);
  }
  if (point.theta < 0) point.theta += 360;
  if (const DiscRefusal refusal = heliographicOf(DiscOrientation{}, point).refusal; refusal != DiscRefusal::None)
    return refuse(toQString(refusalMessage(refusal)));
  addSpot(point);
}

void Disque::cmdAjouterXY_Click() {
  QString error;
  const std::optional<PageOptions> options = pageOptions(&error);
  if (!options) return refuse(error);
  const std::optional<double> x = numberIn("txtX");
  const std::optional<double> y = numberIn("txtY");
  if (!x || !y) return refuse(kMillimetresRefused);
  const DiscPoint point = discPointOfDrawing(*x, *y, options->diameterMm, orientation());
  if (const DiscRefusal refusal = heliographicOf(DiscOrientation{}, point).refusal; refusal != DiscRefusal::None)
    return refuse(toQString(refusalMessage(refusal)));
  addSpot(point);
}

void Disque::cmdSupprimer_Click() {
  QList<int> rows;
  for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) rows << index.row();
  if (rows.isEmpty()) return refuse(kNothingToRemove);
  std::sort(rows.begin(), rows.end(), std::greater<>());
  for (int row : rows) m_spots.erase(m_spots.begin() + row);
  showSpots();
}

void Disque::cmdImprimer_Click() {
  QString error;
  const std::optional<PageContent> content = pageContent(&error);
  const std::optional<PageOptions> options = content ? pageOptions(&error) : std::nullopt;
  if (!content || !options) return refuse(error);
  m_printer->print(documentName(QStringLiteral("Disque solaire"), *this), *content, *options);
}

void Disque::cmdEnregistrer_Click() {
  QString error;
  const std::optional<PageContent> content = pageContent(&error);
  const std::optional<PageOptions> options = content ? pageOptions(&error) : std::nullopt;
  if (!content || !options) return refuse(error);
  PageFormat format = PageFormat::Pdf;
  const QString path = m_saveDialog(QDir::home().filePath(documentName(QStringLiteral("Disque solaire"), *this) + QStringLiteral(".pdf")), format);
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
  const dalvoren::AspectTexts texts = dalvoren::aspectTexts(fields.view(), toUtf8(m_separator));
  setText("lblRotSyn", toQString(texts.rotation));
  setText("lblDemidiam", toQString(texts.semiDiameter));
  setText("lblP", toQString(texts.p));
  setText("lblBo", toQString(texts.b0));
  setText("lblLo", toQString(texts.l0));

  const std::optional<DiscInstant> instant = discInstant(fields.view());
  m_julianDay = instant ? std::optional(instant->julianDay) : std::nullopt;
  m_disc = instant ? std::optional(instant->disc) : std::nullopt;
  m_view->setDisc(m_disc);
  showSpots();
  showPointer();
}

void Disque::addSpot(DiscPoint point) {
  m_spots.push_back({m_nextNumber++, point});
  showSpots();
  m_table->scrollToBottom();
}

// The table and the drawing follow the spots; B, L and DMC follow the instant.
void Disque::showSpots() {
  m_table->setRowCount(static_cast<int>(m_spots.size()));
  for (int row = 0; row < static_cast<int>(m_spots.size()); ++row) {
    const SpotRow texts = m_disc ? spotRow(*m_disc, m_spots[static_cast<std::size_t>(row)], m_separator)
                                 : spotRow(DiscOrientation{}, m_spots[static_cast<std::size_t>(row)], m_separator);
    QStringList cells = {texts.number, texts.theta, texts.r, texts.latitude, texts.longitude, texts.fromCentralMeridian};
    if (!m_disc) cells[3] = cells[4] = cells[5] = toQString(kEmptyResult);
    for (int column = 0; column < cells.size(); ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_table->setItem(row, column, item);
    }
  }
  m_view->setSpots(m_spots);
}

void Disque::showPointer() {
  QString cells[5];
  QString state = QString::fromUtf8(kPointerHint);
  if (m_pointer && !m_disc) {
    state = DiscView::kNoInstant;
  } else if (m_pointer) {
    const SpotRow row = spotRow(*m_disc, Spot{0, *m_pointer}, m_separator);
    cells[0] = row.theta;
    cells[1] = row.r;
    const DiscRefusal refusal = heliographicOf(*m_disc, *m_pointer).refusal;
    if (refusal == DiscRefusal::None) {
      cells[2] = row.latitude;
      cells[3] = row.longitude;
      cells[4] = row.fromCentralMeridian;
      state = QString();
    } else {
      state = toQString(refusalMessage(refusal));
    }
  }
  for (int i = 0; i < 5; ++i) setText(kPointerNames[i], cells[i]);
  setText("lblPtEtat", state);
}

void Disque::refuse(const QString& text) { m_desktop.messages.show(text, ui::kStyleExclamation, QString()); }

std::optional<double> Disque::numberIn(const QString& field) const {
  return parseStrictNumber(toUtf8(text(field)), toUtf8(m_separator));
}

int Disque::gridStep() const { return m_steps->checkedId() > 0 ? m_steps->checkedId() : 10; }

DrawingOrientation Disque::orientation() const {
  return m_eastRight->isChecked() ? DrawingOrientation::EastRight : DrawingOrientation::EastLeft;
}

std::optional<PageContent> Disque::pageContent(QString* error) const {
  if (!m_julianDay) {
    if (error) *error = QString::fromUtf8(kIncompleteDate);
    return std::nullopt;
  }
  return PageContent{*m_julianDay, m_separator, m_spots};
}

std::optional<PageOptions> Disque::pageOptions(QString* error) const {
  PageOptions options;
  options.diameterMm = numberIn("txtDiametre").value_or(std::nan(""));
  options.eastRight = orientation() == DrawingOrientation::EastRight;
  options.gridStep = gridStep();
  if (const QString refusal = refusalOf(options); !refusal.isEmpty()) {
    if (error) *error = refusal;
    return std::nullopt;
  }
  return options;
}

}  // namespace kavrel::disque
