// The network's window (form Reseau): the base's name and engine, the commands, and three
// tabs (observers, month, pictures) showing what reseau/overview.h computes.
#include "programs/reseau/reseau_window.h"

#include <algorithm>
#include <filesystem>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPagedPaintDevice>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "about/about_variant.h"
#include "common/calendar_date.h"
#include "host/qt_text.h"
#include "journal/day_form.h"
#include "pictures/journal_charts.h"
#include "pictures/network_bulletin.h"
#include "resources/program_icon.h"
#include "ui/file_dialog.h"
#include "ui/maker.h"
#include "ui/print_dialog.h"

namespace kavrel::reseau {

using ui::Background;
using ui::ControlRow;
using ui::Kind;

namespace {

constexpr int kLabelHeight = 255;
constexpr int kButtonHeight = 375;
constexpr int kWidth = 13200;
// The tabs take what the window grows by.
constexpr ui::Twips kTabsAt{120, 1080, kWidth - 240, 7020};

constexpr char kNoBase[] = "Aucune base n'est ouverte.";
constexpr char kBaseLine[] = "%1 — %2";
constexpr char kBaseRole[] = "%1 — %2, rôle %3";
constexpr char kNoObservation[] = "La base n'a encore aucune observation : importez un fichier.";
constexpr char kNothingImported[] = "Rien n'a été importé.";
constexpr char kIsTheBase[] = "« %1 » est la base ouverte : elle ne s'importe pas en elle-même.";
constexpr char kServerTitle[] = "Se connecter à un serveur";
constexpr char kServerIncomplete[] =
    "Donnez l'hôte et la base ; le port, s'il est donné, est un nombre de 1 à 65535.";
constexpr char kRefusalTitle[] = "Lignes refusées";

QString defaultBaseDialog(const QString& suggested) {
  ui::FileDialog dialog(QApplication::activeWindow(), QStringLiteral("Ouvrir une base"), suggested,
                        QStringLiteral("Bases du réseau (*.sqlite);;Tous les fichiers (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Ouvrir"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString defaultImportDialog(const QString& suggested) {
  return ui::askOpenPath(QStringLiteral("Importer des observations"), suggested,
                         QStringLiteral("Tables et rapports (*.csv *.CSV *.txt *.RAW *.raw);;Journaux (*.sqlite);;"
                                        "Tous les fichiers (*)"));
}

// Host, port, base and user typed; the password in a field that does not show it.
std::optional<ServerAnswer> defaultServerDialog(const ServerAnswer& shown, const QString& problem) {
  QDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(QString::fromUtf8(kServerTitle));
  auto* layout = new QFormLayout(&dialog);
  const auto field = [&](const QString& caption, const QString& said, const QString& text) {
    auto* edit = new QLineEdit(text, &dialog);
    edit->setAccessibleName(said);
    layout->addRow(caption, edit);
    return edit;
  };
  QLineEdit* host = field(QStringLiteral("&Hôte"), QStringLiteral("Hôte du serveur"), shown.host);
  QLineEdit* port = field(QStringLiteral("P&ort"), QStringLiteral("Port du serveur"), shown.port);
  QLineEdit* base = field(QStringLiteral("&Base"), QStringLiteral("Base du réseau"), shown.base);
  QLineEdit* user = field(QStringLiteral("&Utilisateur"), QStringLiteral("Utilisateur"), shown.user);
  QLineEdit* password = field(QStringLiteral("&Mot de passe"), QStringLiteral("Mot de passe"), QString());
  password->setEchoMode(QLineEdit::Password);
  auto* said = new QLabel(problem, &dialog);
  said->setWordWrap(true);
  said->setAccessibleName(QStringLiteral("Problème"));
  said->setVisible(!problem.isEmpty());
  layout->addRow(said);
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("Se &connecter"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ServerAnswer{host->text().trimmed(), port->text().trimmed(), base->text().trimmed(), user->text().trimmed(),
                      password->text()};
}

// The refused rows, each with its line; importing the others is never the default.
bool defaultRefusalDialog(const QString& summary, const QStringList& lines, const QString& question) {
  QDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(QString::fromUtf8(kRefusalTitle));
  auto* layout = new QVBoxLayout(&dialog);
  auto* caption = new QLabel(summary, &dialog);
  caption->setWordWrap(true);
  auto* list = new QListWidget(&dialog);
  list->addItems(lines);
  list->setAccessibleName(QString::fromUtf8(kRefusalTitle));
  // Wide enough for the longest reason (up to a screen's width), not cut at the dialog's.
  const int widest = list->sizeHintForColumn(0) + 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width();
  list->setMinimumWidth(std::min(widest, 1000));
  caption->setBuddy(list);
  layout->addWidget(caption);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(&dialog);
  if (!question.isEmpty()) {
    auto* asked = new QLabel(question, &dialog);
    layout->addWidget(asked);
    buttons->addButton(QStringLiteral("&Ne rien importer"), QDialogButtonBox::RejectRole)->setDefault(true);
    buttons->addButton(QStringLiteral("&Importer les lignes valables"), QDialogButtonBox::AcceptRole);
  } else {
    buttons->addButton(QStringLiteral("&Fermer"), QDialogButtonBox::RejectRole)->setDefault(true);
  }
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return dialog.exec() == QDialog::Accepted && !question.isEmpty();
}

ControlRow button(const QString& name, const QString& text, ui::Twips at) {
  return {.name = name, .kind = Kind::CommandButton, .caption = text, .at = at};
}

QTableWidget* readOnlyTable(const QString& name, const QString& said, const QStringList& headings) {
  auto* table = new QTableWidget(0, static_cast<int>(headings.size()));
  table->setObjectName(name);
  table->setAccessibleName(said);
  table->setHorizontalHeaderLabels(headings);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->verticalHeader()->setVisible(false);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

// The first `texts` columns are names, at left; the numbers stand at right.
template <std::size_t N>
void fillRow(QTableWidget* table, int row, const std::array<std::string, N>& cells, std::size_t texts = 1) {
  for (std::size_t column = 0; column < N; ++column) {
    auto* item = new QTableWidgetItem(toQString(cells[column]));
    if (column >= texts) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, static_cast<int>(column), item);
  }
}

}  // namespace

ui::FormTable reseauForm() {
  ui::FormTable form;
  form.name = "Reseau";
  form.title = "Réseau";
  form.clientWidth = kWidth;
  form.clientHeight = 9120;
  auto& c = form.controls;
  c.push_back({.name = "lblBase", .caption = "Base", .at = {120, 180, 720, kLabelHeight}, .middle = true});
  c.push_back({.name = "lblBaseNom", .at = {840, 150, kWidth - 960, 285}, .border = true,
               .background = Background::Window, .namedBy = {"lblBase"}, .accessibleName = "Base ouverte"});
  const int y = 570;
  c.push_back(button("cmdOuvrir", "&Ouvrir une base…", {120, y, 2280, kButtonHeight}));
  c.push_back(button("cmdServeur", "Se co&nnecter à un serveur…", {2520, y, 3000, kButtonHeight}));
  c.push_back(button("cmdImporter", "&Importer…", {5640, y, 1560, kButtonHeight}));
  c.push_back(button("cmdImprimer", "Im&primer", {7320, y, 1440, kButtonHeight}));
  c.push_back(button("Command1", "&A propos", {8880, y, 1440, kButtonHeight}));
  c.push_back(button("cmdMenu", "&Quitter", {kWidth - 1560, y, 1440, kButtonHeight}));
  c.push_back({.name = "lblEtat", .at = {120, 8220, kWidth - 240, 510}, .wrap = true, .accessibleName = "État"});
  c.push_back({.name = "Label7", .caption = ui::kMakerNotice, .at = {120, 8790, 2052, 252}});
  form.tabOrder = {"cmdOuvrir", "cmdServeur", "cmdImporter", "cmdImprimer", "Command1", "cmdMenu"};
  form.grows = kTabsAt;
  return form;
}

ReseauWindow::ReseauWindow(ui::Desktop desktop, std::string decimalSeparator)
    : Form(reseauForm()),
      m_desktop(desktop),
      m_separator(std::move(decimalSeparator)),
      m_about(about::reseauAbout(), desktop, this),
      m_printer(std::make_unique<ui::DocumentPrinter>(desktop.messages)),
      m_baseDialog(&defaultBaseDialog),
      m_importDialog(&defaultImportDialog),
      m_serverDialog(&defaultServerDialog),
      m_refusalDialog(&defaultRefusalDialog) {
  setWindowIcon(programIcon(ProgramIcon::Reseau));
  // The coordinator's own base, created on first use as `kavrel reseau` creates it.
  onLoad([this] { openBase(toQString(defaultBasePath())); });
  onClick("cmdOuvrir", [this] { cmdOuvrir_Click(); });
  onClick("cmdServeur", [this] { cmdServeur_Click(); });
  onClick("cmdImporter", [this] { cmdImporter_Click(); });
  onClick("cmdImprimer", [this] { cmdImprimer_Click(); });
  onClick("Command1", [this] { Command1_Click(); });
  onClick("cmdMenu", [this] { close(); });
  setPrinterHooks({});
  addTabs();
  onResize([this] {
    m_tabs->setGeometry(toPixels(kTabsAt).adjusted(0, 0, growth().width(), growth().height()));
    paintChart();
  });
  showAll();
}

ReseauWindow::~ReseauWindow() {
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
}

void ReseauWindow::setPrinterHooks(ui::DocumentPrinter::Hooks hooks) {
  if (!hooks.askDestination) hooks.askDestination = &ui::askPrintDestination;
  m_printer = std::make_unique<ui::DocumentPrinter>(m_desktop.messages, std::move(hooks));
}

// --- The tabs ---------------------------------------------------------------------------

void ReseauWindow::addTabs() {
  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName("tabReseau");
  m_tabs->setAccessibleName(QStringLiteral("Onglets"));
  m_tabs->addTab(observersPage(), QStringLiteral("&1 Observateurs"));
  m_tabs->addTab(monthPage(), QStringLiteral("&2 Mois"));
  m_tabs->addTab(chartsPage(), QStringLiteral("&3 Graphiques"));
  m_tabs->setGeometry(toPixels(kTabsAt));
  connect(m_tabs, &QTabWidget::currentChanged, this, [this] { paintChart(); });
  setTabOrder(control("cmdMenu"), m_tabs);
}

QWidget* ReseauWindow::observersPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  QStringList headings;
  for (const char* caption : kObserverLineCaptions) headings << QString::fromUtf8(caption);
  m_observers = readOnlyTable("grdObservateurs", QStringLiteral("Observateurs du réseau"), headings);
  m_observers->setToolTip(QStringLiteral(
      "k : R de SILSO ≈ k × R de l'observateur, rapport des sommes sur les jours communs.\n"
      "Dérive : la pente des k annuels, en k par an ; puis le premier et le dernier k annuel."));
  auto* caption = new QLabel(QStringLiteral("Observateurs, leur k, leurs jours et la dérive de leur k"), page);
  caption->setBuddy(m_observers);
  layout->addWidget(caption);
  layout->addWidget(m_observers);
  return page;
}

QWidget* ReseauWindow::monthPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* row = new QHBoxLayout;
  m_monthChoice = new QComboBox(page);
  m_monthChoice->setObjectName("cboMois");
  for (int month = 1; month <= 12; ++month) m_monthChoice->addItem(toQString(monthName(month)));
  m_monthChoice->setAccessibleName(QStringLiteral("Mois affiché, mois"));
  m_yearField = new QSpinBox(page);
  m_yearField->setObjectName("spnAnnee");
  m_yearField->setRange(1610, 9999);
  m_yearField->setAccessibleName(QStringLiteral("Mois affiché, année"));
  auto* monthCaption = new QLabel(QStringLiteral("&Mois"), page);
  monthCaption->setBuddy(m_monthChoice);
  auto* yearCaption = new QLabel(QStringLiteral("Anné&e"), page);
  yearCaption->setBuddy(m_yearField);
  row->addWidget(monthCaption);
  row->addWidget(m_monthChoice);
  row->addWidget(yearCaption);
  row->addWidget(m_yearField);
  row->addStretch();
  layout->addLayout(row);
  m_summary = new QLabel(page);
  m_summary->setObjectName("lblResume");
  m_summary->setWordWrap(true);
  m_summary->setAccessibleName(QStringLiteral("Le réseau ce mois-ci"));
  m_summary->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  layout->addWidget(m_summary);
  QStringList headings;
  for (const char* caption : kObserverCaptions) headings << QString::fromUtf8(caption);
  m_month = readOnlyTable("grdMois", QStringLiteral("Observateurs du mois"), headings);
  layout->addWidget(m_month);
  connect(m_monthChoice, &QComboBox::activated, this, [this] {
    m_monthFollowsBase = false;
    showMonth();
  });
  connect(m_yearField, &QSpinBox::editingFinished, this, [this] {
    m_monthFollowsBase = false;
    showMonth();
  });
  return page;
}

QWidget* ReseauWindow::chartsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* row = new QHBoxLayout;
  const char* captions[] = {"Nombre mensue&l", "&k de chaque observateur", "O&bservateurs par mois"};
  const char* names[] = {"optMensuel", "optK", "optObservateurs"};
  for (int i = 0; i < 3; ++i) {
    m_chartKinds[i] = new QRadioButton(QString::fromUtf8(captions[i]), page);
    m_chartKinds[i]->setObjectName(names[i]);
    row->addWidget(m_chartKinds[i]);
  }
  m_chartKinds[0]->setChecked(true);
  for (QRadioButton* kind : m_chartKinds)
    connect(kind, &QRadioButton::toggled, this, [this](bool on) {
      if (on) showChart();
    });
  row->addStretch();
  layout->addLayout(row);
  m_picture = new QLabel(page);
  m_picture->setObjectName("picGraphique");
  m_picture->setMinimumSize(200, 150);
  m_picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  m_picture->setAccessibleName(QStringLiteral("Graphique"));
  layout->addWidget(m_picture, 1);
  return page;
}

// --- What is shown -----------------------------------------------------------------------

void ReseauWindow::showAll() {
  if (m_store) {
    m_overview = readOverview(*m_store, m_separator);
    if (!m_overview.error.empty()) sayError(toQString(m_overview.error));
  } else {
    m_overview = Overview{};
  }
  const QString engine = m_store ? toQString(m_store->engine()) : QString();
  const QString role = m_store ? toQString(m_store->role()) : QString();
  setText("lblBaseNom", !m_store        ? QString::fromUtf8(kNoBase)
                        : role.isEmpty() ? QString::fromUtf8(kBaseLine).arg(m_baseName, engine)
                                         : QString::fromUtf8(kBaseRole).arg(m_baseName, engine, role));
  for (const char* name : {"cmdImporter", "cmdImprimer"}) control(name)->setEnabled(m_store != nullptr);
  showObservers();
  // The month shown: the last observed, or the current one in a base without observations,
  // until the user picks one.
  if (m_monthFollowsBase) {
    const QDate today = QDate::currentDate();
    const Day shown = m_overview.lastDay ? dayOfNumber(*m_overview.lastDay) : Day{today.year(), today.month(), 1};
    m_monthChoice->setCurrentIndex(shown.month - 1);
    m_yearField->setValue(shown.year);
  }
  showMonth();
  showChart();
  showStatus();
}

void ReseauWindow::showObservers() {
  m_observers->setRowCount(static_cast<int>(m_overview.observers.size()));
  for (int row = 0; row < m_observers->rowCount(); ++row)
    fillRow(m_observers, row, m_overview.observers[static_cast<std::size_t>(row)].cells, 2);
}

void ReseauWindow::showMonthOf(int year, int month) {
  m_monthFollowsBase = false;
  m_monthChoice->setCurrentIndex(month - 1);
  m_yearField->setValue(year);
  showMonth();
}

void ReseauWindow::showMonth() {
  m_month->setRowCount(0);
  if (!m_store) {
    m_summary->setText(QString::fromUtf8(kNoBase));
    return;
  }
  const MonthTable table =
      reseau::monthTable(*m_store, m_overview, m_yearField->value(), m_monthChoice->currentIndex() + 1, m_separator);
  if (!table.error.empty()) sayError(toQString(table.error));
  QStringList lines{toQString(table.bulletin.title)};
  for (const std::string& line : table.bulletin.summary) lines << toQString(line);
  m_summary->setText(lines.join(u'\n'));
  m_month->setRowCount(static_cast<int>(table.bulletin.observers.size()));
  for (int row = 0; row < m_month->rowCount(); ++row)
    fillRow(m_month, row, table.bulletin.observers[static_cast<std::size_t>(row)].cells);
}

void ReseauWindow::showChart() {
  const NetworkChartKind kinds[] = {NetworkChartKind::Monthly, NetworkChartKind::K, NetworkChartKind::Observers};
  NetworkChartKind kind = kinds[0];
  for (int i = 0; i < 3; ++i)
    if (m_chartKinds[i]->isChecked()) kind = kinds[i];
  m_chart = overviewChart(kind, m_overview, m_separator);
  QStringList said;
  for (const auto& panel : m_chart.panels)
    for (const auto& series : panel.series) said << toQString(series.name);
  if (!m_chart.note.empty()) said << toQString(m_chart.note);
  m_picture->setAccessibleName(m_chart.title.empty() ? QStringLiteral("Graphique") : toQString(m_chart.title));
  m_picture->setAccessibleDescription(said.join(QStringLiteral(" ; ")));
  paintChart();
}

void ReseauWindow::paintChart() {
  if (!m_picture || !m_picture->isVisible()) return;
  const QSize size = m_picture->contentsRect().size();
  if (size.isEmpty()) return;
  const double ratio = devicePixelRatioF();
  QPixmap pixmap = QPixmap::fromImage(journal::chartImage(m_chart, static_cast<int>(size.width() * ratio),
                                                          static_cast<int>(size.height() * ratio)));
  pixmap.setDevicePixelRatio(ratio);
  m_picture->setPixmap(pixmap);
}

void ReseauWindow::showStatus(const QString& news) {
  QStringList lines;
  if (!news.isEmpty()) lines << news;
  if (m_store && !m_overview.firstDay) lines << QString::fromUtf8(kNoObservation);
  setText("lblEtat", lines.join(QStringLiteral(" — ")));
}

void ReseauWindow::sayError(const QString& error) { m_desktop.messages.show(error, ui::kStyleExclamation, QString()); }

void ReseauWindow::resizeEvent(QResizeEvent* event) {
  Form::resizeEvent(event);
  paintChart();
}

void ReseauWindow::closeEvent(QCloseEvent* event) {
  m_about.unload();
  Form::closeEvent(event);
}

// --- Bases --------------------------------------------------------------------------------

bool ReseauWindow::take(Store::Opened opened, const QString& name) {
  if (!opened.store) {
    const QString error = toQString(opened.error);
    sayError(error);
    showStatus(error);
    return false;
  }
  m_store = std::move(opened.store);
  m_baseName = name;
  m_monthFollowsBase = true;
  showAll();
  return true;
}

void ReseauWindow::openBase(const QString& base, const QString& password) {
  take(Store::open(toUtf8(base), toUtf8(password)), base);
}

void ReseauWindow::cmdOuvrir_Click() {
  const QString suggested = m_store && !isServer(toUtf8(m_baseName)) ? m_baseName : toQString(defaultBasePath());
  const QString path = m_baseDialog(suggested);
  if (!path.isEmpty()) openBase(path);
}

// Asked again, with what was typed and why it was refused, until a server answers or the
// user gives up; the password is never shown again nor kept beyond the connection.
void ReseauWindow::cmdServeur_Click() {
  QString problem;
  for (;;) {
    std::optional<ServerAnswer> answer = m_serverDialog(m_server, problem);
    if (!answer) return;
    m_server = *answer;
    m_server.password.clear();
    const std::optional<std::string> uri =
        serverUri(toUtf8(answer->host), toUtf8(answer->port), toUtf8(answer->base), toUtf8(answer->user));
    if (!uri) {
      problem = QString::fromUtf8(kServerIncomplete);
      continue;
    }
    Store::Opened opened = Store::open(*uri, toUtf8(answer->password));
    answer->password.fill(u'\0');
    if (opened.store) {
      take(std::move(opened), toQString(*uri));
      return;
    }
    problem = toQString(opened.error);
  }
}

// --- Import, printing ---------------------------------------------------------------------

// Whether `path` is the open base's file or one of SQLite's beside it (stat alone, no file
// opened).
bool ReseauWindow::namesBase(const QString& path) const {
  if (!m_store || path.isEmpty() || reseau::isServer(toUtf8(m_baseName))) return false;
  std::error_code ignored;
  for (const char* beside : {"", "-wal", "-shm", "-journal"})
    if (std::filesystem::equivalent(toUtf8(path), toUtf8(m_baseName) + beside, ignored)) return true;
  return false;
}

void ReseauWindow::cmdImporter_Click() {
  if (!m_store) return sayError(QString::fromUtf8(kNoBase));
  const QString path = m_importDialog(QString());
  if (!path.isEmpty()) importPath(path);
}

void ReseauWindow::importPath(const QString& path) {
  if (!m_store) return sayError(QString::fromUtf8(kNoBase));
  // Read whole and closed, the open base's file would lose the locks SQLite keeps on it.
  if (namesBase(path)) {
    const QString refused = QString::fromUtf8(kIsTheBase).arg(path);
    sayError(refused);
    return showStatus(refused);
  }
  const ImportFile file = readImportFile(toUtf8(path), journal::clockNow().day);
  if (!file.error.empty()) {
    sayError(toQString(file.error));
    return showStatus(toQString(file.error));
  }
  bool partial = false;
  if (!file.refusals.empty()) {
    QStringList lines;
    for (const std::string& line : refusalLines(file)) lines << toQString(line);
    const QString question = file.rows.empty() ? QString() : toQString(partialQuestion(file));
    partial = m_refusalDialog(toQString(readSummary(file)), lines, question);
    if (!partial) return showStatus(toQString(readSummary(file)) + QStringLiteral(" — ") +
                                    QString::fromUtf8(kNothingImported));
  }
  const char* login = std::getenv("USER");
  const std::string by = !m_store->role().empty() ? m_store->role() : login ? login : "";
  const ImportOutcome outcome = importFile(*m_store, file, partial, by, utcNow());
  if (!outcome.done()) {
    sayError(toQString(outcome.message));
    return showStatus(toQString(outcome.message));
  }
  showAll();
  showStatus(toQString(readSummary(file)) + QStringLiteral(" — ") + toQString(outcome.message));
}

void ReseauWindow::cmdImprimer_Click() {
  if (!m_store) return sayError(QString::fromUtf8(kNoBase));
  const int year = m_yearField->value();
  const int month = m_monthChoice->currentIndex() + 1;
  const MonthTable table = reseau::monthTable(*m_store, m_overview, year, month, m_separator);
  if (!table.error.empty()) return sayError(toQString(table.error));
  const QString name = toQString(bulletinFileName(year, month)).chopped(4);
  m_printer->print(name, bulletinPageLayout(), [&](QPainter& painter, QPagedPaintDevice& device) {
    return paintBulletin(painter, device, table.bulletin);
  });
}

void ReseauWindow::Command1_Click() { m_about.show(); }

}  // namespace kavrel::reseau
