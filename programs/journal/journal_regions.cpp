// The Journal's tab "Régions" (journal_regions.h), and the Journal window's side of it.
#include "programs/journal/journal_regions.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>
#include <QTableWidget>

#include "host/qt_text.h"
#include "programs/journal/journal_window.h"
#include "ui/file_dialog.h"

namespace kavrel::journal {

using ui::Background;
using ui::ControlRow;
using ui::Kind;

namespace {

constexpr int kLabelHeight = 255;
constexpr int kButtonHeight = 375;
constexpr int kWidth = 15960;
constexpr ui::Twips kRegionsAt{120, 1470, kWidth, 3480};
constexpr ui::Twips kDaysAt{120, 5730, 7560, 2880};
constexpr ui::Twips kPictureAt{7800, 5460, 8280, 3150};

constexpr char kImageWritten[] = "Image enregistrée : %1";
constexpr char kChooseRegion[] = "Choisissez une région dans le tableau pour voir ses jours et son aire.";

QString defaultImageDialog(const QString& suggested) {
  return ui::askSavePath(QStringLiteral("Enregistrer l'image"), suggested,
                         QStringLiteral("Image PNG (*.png);;Dessin SVG (*.svg);;Document PDF (*.pdf)"));
}

void fill(QTableWidget* table, const std::vector<std::string>& headings,
          const std::vector<std::vector<std::string>>& rows) {
  const QSignalBlocker quiet(table);
  QStringList texts;
  for (const std::string& heading : headings) texts << toQString(heading);
  table->setColumnCount(static_cast<int>(texts.size()));
  table->setHorizontalHeaderLabels(texts);
  table->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const std::vector<std::string>& cells = rows[static_cast<std::size_t>(row)];
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      auto* item = new QTableWidgetItem(toQString(cells[static_cast<std::size_t>(column)]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table->setItem(row, column, item);
    }
  }
}

}  // namespace

ui::FormTable regionsForm() {
  ui::FormTable form;
  form.name = "Regions";
  form.title = " Régions";
  form.clientWidth = 16200;
  form.clientHeight = 10080;
  auto& c = form.controls;
  const QString f = "fraSource";
  c.push_back({.name = f, .kind = Kind::Frame, .caption = "Source", .at = {120, 120, 6600, 660}});
  c.push_back({.name = "optObservateur", .kind = Kind::OptionButton, .caption = "&Observateur",
               .at = {120, 270, 1920, 285}, .frame = f, .checked = true});
  c.push_back({.name = "optGreenwich", .kind = Kind::OptionButton, .caption = "&Greenwich", .at = {2160, 270, 1920, 285},
               .frame = f});
  c.push_back({.name = "optSrs", .kind = Kind::OptionButton, .caption = "&SRS de NOAA", .at = {4200, 270, 2280, 285},
               .frame = f});
  const QString g = "fraImage";
  c.push_back({.name = g, .kind = Kind::Frame, .caption = "Image", .at = {6840, 120, 6360, 660}});
  c.push_back({.name = "optAire", .kind = Kind::OptionButton, .caption = "&Aire de la région",
               .at = {120, 270, 2640, 285}, .frame = g, .checked = true});
  c.push_back({.name = "optCarte", .kind = Kind::OptionButton, .caption = "&Carte de la rotation",
               .at = {2880, 270, 3360, 285}, .frame = g});
  c.push_back({.name = "cmdEnregistrer", .kind = Kind::CommandButton, .caption = "&Enregistrer l'image…",
               .at = {13320, 270, 2760, kButtonHeight}});
  c.push_back({.name = "lblRegions", .caption = "Régio&ns du mois", .at = {120, 900, 2400, kLabelHeight}});
  c.push_back({.name = "lblMoisRegions", .at = {2520, 900, kWidth - 2400, kLabelHeight},
               .accessibleName = "Régions du mois, source et jours"});
  c.push_back({.name = "grdRegions", .kind = Kind::Table, .at = kRegionsAt, .accessibleName = "Régions du mois"});
  c.push_back({.name = "lblNumeros", .at = {120, 5040, kWidth, kLabelHeight}, .accessibleName = "Numéros des régions"});
  c.push_back({.name = "lblJoursRegion", .caption = "&Jours de la région", .at = {120, 5460, 7560, kLabelHeight}});
  c.push_back({.name = "grdJours", .kind = Kind::Table, .at = kDaysAt, .accessibleName = "Jours de la région"});
  c.push_back({.name = "picImage", .kind = Kind::PictureBox, .at = kPictureAt, .border = true,
               .accessibleName = "Aire de la région"});
  c.push_back({.name = "lblMessage", .at = {120, 8700, 14400, 510}, .wrap = true, .accessibleName = "Message"});
  // Where the month's tab has it.
  c.push_back({.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter",
               .at = {16080 - 1440, 8760, 1440, kButtonHeight}});
  form.tabOrder = {"optObservateur", "optGreenwich", "optSrs", "grdRegions", "grdJours", "optAire", "optCarte",
                   "cmdEnregistrer", "cmdMenu"};
  // The regions' table takes what the window grows by; what stands under it follows.
  form.grows = kRegionsAt;
  return form;
}

RegionsForm::RegionsForm(std::string decimalSeparator)
    : Form(regionsForm()), m_separator(std::move(decimalSeparator)), m_imageDialog(&defaultImageDialog) {
  label("lblRegions")->setBuddy(table("grdRegions"));
  label("lblJoursRegion")->setBuddy(table("grdJours"));
  for (const char* name : {"grdRegions", "grdJours"}) {
    QTableWidget* grid = table(name);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->verticalHeader()->setVisible(false);
  }
  fill(table("grdRegions"), regionHeadings(), {});
  fill(table("grdJours"), regionDayHeadings(), {});
  for (const char* name : {"optObservateur", "optGreenwich", "optSrs"}) onClick(name, [this] { optSource_Click(); });
  for (const char* name : {"optAire", "optCarte"}) onClick(name, [this] { optImage_Click(); });
  connect(table("grdRegions"), &QTableWidget::itemSelectionChanged, this, [this] { grdRegions_Click(); });
  onClick("cmdEnregistrer", [this] { cmdEnregistrer_Click(); });
  onClick("cmdMenu", [this] {
    if (m_quit) m_quit();
  });
  onResize([this] { Form_Resize(); });
}

// Form moved what stands under the regions' table down by all the height gained (and put
// every control back at its table's size); the regions' table and the days with the
// picture share the height, its lines widen, the days' table and the picture share the
// width, and "Quitter" keeps to the right edge.
void RegionsForm::Form_Resize() {
  const QSize growth = this->growth();
  const int half = growth.width() / 2;
  // The regions' table takes half the height gained, the days and the picture the rest.
  const int lower = growth.height() - growth.height() / 2;
  control("grdRegions")->setGeometry(toPixels(kRegionsAt).adjusted(0, 0, growth.width(), growth.height() / 2));
  for (const char* name : {"lblMoisRegions", "lblNumeros"}) {
    QWidget* line = control(name);
    line->resize(line->width() + growth.width(), line->height());
  }
  for (const char* name : {"lblNumeros", "lblJoursRegion"}) control(name)->move(control(name)->x(), control(name)->y() - lower);
  const QRect days = toPixels(kDaysAt);
  QWidget* daysTable = control("grdJours");
  daysTable->setGeometry(days.x(), daysTable->y() - lower, days.width() + half, days.height() + lower);
  const QRect at = toPixels(kPictureAt);
  QWidget* picture = control("picImage");
  picture->setGeometry(at.x() + half, picture->y() - lower, at.width() + growth.width() - half, at.height() + lower);
  QWidget* quit = control("cmdMenu");
  quit->move(toPixels({16080 - 1440, 0, 0, 0}).left() + growth.width(), quit->y());
  paintPicture();
}

void RegionsForm::setJournal(const Journal* journal, std::optional<Observer> observer, int year, int month) {
  m_journal = journal;
  m_observer = std::move(observer);
  m_year = year;
  m_month = month;
  showAll();
}

RegionSource RegionsForm::source() const {
  if (value("optGreenwich")) return RegionSource::Greenwich;
  if (value("optSrs")) return RegionSource::Srs;
  return RegionSource::Observer;
}

bool RegionsForm::mapChosen() const { return value("optCarte") != 0; }

std::optional<std::size_t> RegionsForm::chosenRegion() const {
  const QModelIndexList rows = table("grdRegions")->selectionModel()->selectedRows();
  if (rows.isEmpty()) return std::nullopt;
  const auto row = static_cast<std::size_t>(rows.first().row());
  if (row >= m_regions.regions.size()) return std::nullopt;
  return row;
}

void RegionsForm::optSource_Click() { showAll(); }

void RegionsForm::grdRegions_Click() {
  showDays();
  paintPicture();
}

void RegionsForm::optImage_Click() { paintPicture(); }

// The regions read again, the region chosen kept when it is still there (by its id).
void RegionsForm::showAll() {
  const std::optional<std::size_t> chosen = chosenRegion();
  // Region ids start at 1: 0 is none chosen.
  const int chosenId = chosen ? m_regions.regions[*chosen].id : 0;
  m_regions = RegionMonth();
  setText("lblMessage", QString());
  if (m_journal && m_month >= 1 && (m_observer || source() != RegionSource::Observer)) {
    const std::optional<Id> observer = m_observer ? std::optional<Id>(m_observer->id) : std::nullopt;
    Read<RegionMonth> read = readRegionMonth(*m_journal, m_year, m_month, source(), observer);
    // A journal that could not be read says why, not an empty month.
    if (!read.ok()) setText("lblMessage", toQString(read.error));
    m_regions = std::move(read.value);
  }
  const std::string mapError = readMap();
  if (!mapError.empty() && text("lblMessage").isEmpty()) setText("lblMessage", toQString(mapError));
  setText("optCarte", m_map ? QStringLiteral("&Carte de la rotation %1").arg(m_map->rotation)
                            : QStringLiteral("&Carte de la rotation"));
  showRegions();
  QTableWidget* grid = table("grdRegions");
  for (std::size_t i = 0; i < m_regions.regions.size(); ++i)
    if (chosenId != 0 && m_regions.regions[i].id == chosenId) grid->selectRow(static_cast<int>(i));
  showDays();
  paintPicture();
}

void RegionsForm::showRegions() {
  if (!m_journal) {
    setText("lblMoisRegions", QStringLiteral("Aucun journal n'est ouvert."));
  } else if (!m_observer && source() == RegionSource::Observer) {
    setText("lblMoisRegions", QStringLiteral("Ce journal n'a encore aucun observateur."));
  } else {
    setText("lblMoisRegions", toQString(regionMonthLine(m_regions)));
  }
  setText("lblNumeros", toQString(m_regions.numbering));
  fill(table("grdRegions"), regionHeadings(), regionRows(m_regions, m_separator));
}

void RegionsForm::showDays() {
  const std::optional<std::size_t> chosen = chosenRegion();
  fill(table("grdJours"), regionDayHeadings(),
       chosen ? regionDayRows(m_regions, *chosen, m_separator) : std::vector<std::vector<std::string>>{});
  const QString title = chosen ? QStringLiteral("Jours de la région %1").arg(m_regions.regions[*chosen].id)
                               : QStringLiteral("Jours de la région");
  table("grdJours")->setAccessibleName(title);
  // The hint goes once a region is chosen; another message (a journal not read) stays.
  const QString hint = QString::fromUtf8(kChooseRegion);
  if (!m_regions.regions.empty() && !chosen && text("lblMessage").isEmpty()) setText("lblMessage", hint);
  if (chosen && text("lblMessage") == hint) setText("lblMessage", QString());
}

std::string RegionsForm::readMap() {
  m_map.reset();
  const std::optional<int> rotation = monthRotation(m_year, m_month);
  if (!m_journal || !rotation) return {};
  const std::optional<Id> observer = m_observer ? std::optional<Id>(m_observer->id) : std::nullopt;
  Read<RotationRegions> read = readRotationRegions(*m_journal, *rotation, observer);
  if (!read.ok()) return read.error;
  RotationRegions& r = read.value;
  m_map = rotationMap(*rotation, {std::move(r.observerRegions), std::move(r.observerSightings)},
                      {std::move(r.importedRegions), std::move(r.importedSightings)}, regionSourceTitle(r.imported));
  return {};
}

std::optional<std::pair<Painting, QString>> RegionsForm::painting() const {
  if (mapChosen()) {
    if (!m_map) return std::nullopt;
    return std::pair{Painting([map = *m_map](QPainter& painter, const QRectF& area) { paintRotationMap(painter, area, map); }),
                     QStringLiteral("Carte de la rotation %1").arg(m_map->rotation)};
  }
  const std::optional<std::size_t> chosen = chosenRegion();
  if (!chosen) return std::nullopt;
  RegionAreaPicture area{.region = m_regions.regions[*chosen], .sightings = regionSightings(m_regions, *chosen)};
  const QString title = QStringLiteral("Aire de la région %1").arg(area.region.id);
  return std::pair{Painting([area = std::move(area)](QPainter& painter, const QRectF& at) {
                     paintRegionArea(painter, at, area);
                   }),
                   title};
}

void RegionsForm::paintPicture() {
  auto* picture = qobject_cast<QLabel*>(control("picImage"));
  const QSize size = picture->contentsRect().size();
  const double ratio = devicePixelRatioF();
  const auto paint = painting();
  QImage image;
  if (paint) {
    image = paintingImage(paint->first, static_cast<int>(size.width() * ratio), static_cast<int>(size.height() * ratio));
  } else {
    image = QImage(static_cast<int>(size.width() * ratio), static_cast<int>(size.height() * ratio), QImage::Format_RGB32);
    image.fill(Qt::white);
  }
  QPixmap pixmap = QPixmap::fromImage(image);
  pixmap.setDevicePixelRatio(ratio);
  picture->setPixmap(pixmap);
  const QString none = mapChosen() ? QStringLiteral("Carte de la rotation : aucune") : QStringLiteral("Aire de la région : aucune région choisie");
  picture->setAccessibleName(paint ? paint->second : none);
  control("cmdEnregistrer")->setEnabled(paint.has_value());
}

// The picture shown written whole; a file not written is said with its reason.
void RegionsForm::cmdEnregistrer_Click() {
  const auto paint = painting();
  if (!paint) return;
  QString path = m_imageDialog(paint->second + QStringLiteral(".png"));
  if (path.isEmpty()) return;
  const QString suffix = QFileInfo(path).suffix().toLower();
  ChartFormat format = ChartFormat::Png;
  if (suffix == "svg") format = ChartFormat::Svg;
  else if (suffix == "pdf") format = ChartFormat::Pdf;
  else if (suffix != "png") path += ".png";
  QString error;
  if (!writePainting(path, format, paint->first, paint->second, &error)) return setText("lblMessage", error);
  setText("lblMessage", QString::fromUtf8(kImageWritten).arg(path));
}

}  // namespace kavrel::journal

// The Journal window's side of the tab.
namespace kavrel::journal {

// The third tab, beside "Comparaisons" (journal_comparisons.cpp), at the month's page's
// size. Alt+4 chooses it: Alt+3 sends the month to the network, and every letter of
// "Régions" is an access key of the month's tab already.
void JournalWindow::addRegionsTab() {
  auto* tabs = qobject_cast<QTabWidget*>(m_tabs);
  m_regions = new RegionsForm(m_separator);
  m_regions->setParent(nullptr);
  m_regions->setWindowFlags(Qt::Widget);
  m_regions->setMinimumSize(m_monthPageSize);
  const int index = tabs->addTab(m_regions, QStringLiteral("&4 Régions"));
  tabs->setTabToolTip(index, QStringLiteral("Les groupes du mois suivis de jour en jour, et la carte de la rotation"));
  m_regions->setImageDialog([this](const QString& suggested) {
    return savePathAsked(&defaultImageDialog, suggested);
  });
  m_regions->onQuit([this] { close(); });
  connect(tabs, &QTabWidget::currentChanged, this, [this, index](int shown) {
    if (shown == index) readRegionsTab();
  });
}

// Read again only while the tab is shown; the tab reads the journal when it comes to the
// front, for the month and the observer the month's tab shows.
void JournalWindow::showRegions() {
  if (m_regions && m_regions->isVisible()) readRegionsTab();
}

void JournalWindow::readRegionsTab() {
  if (!m_session) return m_regions->setJournal(nullptr, std::nullopt, 0, 0);
  m_regions->setJournal(journal(), m_session->observer(), m_session->year(), m_session->month());
}

}  // namespace kavrel::journal
