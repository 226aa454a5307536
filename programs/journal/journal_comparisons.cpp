// The Journal's tab "Comparaisons" (journal_comparisons.h), and the Journal window's
// side of it: the tabs, the chosen k in the month's means.
#include "programs/journal/journal_comparisons.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>
#include <charconv>

#include "journal/month.h"
#include "journal/month_sheet.h"
#include "journal/observer_k.h"
#include "pictures/journal_charts.h"
#include "programs/journal/journal_window.h"
#include "host/qt_text.h"
#include "ui/file_dialog.h"
#include "ui/list_box.h"

namespace kavrel::journal {

using ui::Background;
using ui::ControlRow;
using ui::Kind;

namespace {

constexpr int kLabelHeight = 255;
constexpr int kFieldHeight = 285;
constexpr int kButtonHeight = 375;
constexpr int kLeftWidth = 4080;
constexpr ui::Twips kPictureAt{4320, 120, 11760, 7200};
constexpr int kCaptionWidth = 15960;
constexpr int kListWidth = kCaptionWidth - 1440 - 120;

constexpr char kYearMessage[] = "Année : un nombre entier, 2014 par exemple.";
constexpr char kYearsOrder[] = "Années : « Du » vient avant « Au ».";
constexpr char kKMessage[] = "k : un nombre positif, 1,22 par exemple ; vide, le R n'est pas multiplié.";
constexpr char kKCaption[] = "k &choisi";
constexpr char kKCaptionFor[] = "k &choisi pour %1";
constexpr char kKSaid[] = "k choisi";
constexpr char kKSaidFor[] = "k choisi pour %1, gardé dans le journal";
constexpr char kNoObserver[] = "Ce journal n'a encore aucun observateur : il n'y a rien à comparer.";
constexpr char kImageWritten[] = "Image enregistrée : %1";
// The three definitions of k, shown as the help of its results.
constexpr char kKDefinitions[] =
    "R international ≈ k × R de l'observateur, sur les jours que le journal et SILSO ont tous deux.\n"
    "Rapport des sommes : ΣSN / ΣR (les jours de R = 0 comptent).\n"
    "Moyenne des rapports : la moyenne de SN/R sur les jours de R > 0, ± l'écart type de ces rapports.\n"
    "Médiane : celle des mêmes rapports.\n"
    "Elles diffèrent de quelques pour cent : les jours de petit R pèsent lourd dans la moyenne des rapports.";

QString defaultImageDialog(const QString& suggested) {
  return ui::askSavePath(QStringLiteral("Enregistrer l'image"), suggested,
                         QStringLiteral("Image PNG (*.png);;Dessin SVG (*.svg);;Document PDF (*.pdf)"));
}

ControlRow caption(const QString& name, const QString& text, ui::Twips at, const QString& frame = QString()) {
  return {.name = name, .caption = text, .at = at, .middle = true, .frame = frame};
}

std::optional<int> yearOf(const QString& text) {
  const std::string digits = text.trimmed().toStdString();
  int year = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), year);
  if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() || year < 1 || year > 9999)
    return std::nullopt;
  return year;
}

}  // namespace

ui::FormTable comparisonsForm() {
  ui::FormTable form;
  form.name = "Comparaisons";
  form.title = " Comparaisons";
  form.clientWidth = 16200;
  form.clientHeight = 10080;
  auto& c = form.controls;
  const QString f = "fraGraphique";
  c.push_back({.name = f, .kind = Kind::Frame, .caption = "Graphique", .at = {120, 120, kLeftWidth, 1380}});
  c.push_back({.name = "optMensuel", .kind = Kind::OptionButton, .caption = "Nombre &mensuel", .at = {120, 300, 3720, 285},
               .frame = f, .checked = true});
  c.push_back({.name = "optK", .kind = Kind::OptionButton, .caption = "&k de l'observateur", .at = {120, 630, 3720, 285},
               .frame = f});
  c.push_back({.name = "optPapillon", .kind = Kind::OptionButton, .caption = "&Papillon (latitude des groupes)",
               .at = {120, 960, 3720, 285}, .frame = f});
  c.push_back(caption("lblDu", "&Du (année)", {120, 1650, 1320, kLabelHeight}));
  c.push_back({.name = "txtDu", .kind = Kind::TextBox, .at = {1440, 1635, 720, kFieldHeight}, .widest = "2014",
               .namedBy = {"lblDu"}, .accessibleName = "Première année"});
  c.push_back(caption("lblAu", "&Au", {2400, 1650, 600, kLabelHeight}));
  c.push_back({.name = "txtAu", .kind = Kind::TextBox, .at = {3000, 1635, 720, kFieldHeight}, .widest = "2014",
               .namedBy = {"lblAu"}, .accessibleName = "Dernière année"});
  c.push_back(caption("lblKChoisi", "k &choisi", {120, 2070, 2760, kLabelHeight}));
  c.push_back({.name = "txtK", .kind = Kind::TextBox, .at = {2880, 2055, 1080, kFieldHeight}, .widest = "1,2210",
               .namedBy = {"lblKChoisi"}, .accessibleName = kKSaid});
  c.push_back({.name = "lblKAide",
               .caption = "multiplie le R moyen et le R_k du CSV ; les réseaux ont les comptes bruts",
               .at = {120, 2400, kLeftWidth, 510}, .wrap = true});
  c.push_back({.name = "lblKTitre", .caption = "k de l'observateur sur ces années", .at = {120, 3000, kLeftWidth, kLabelHeight}});
  c.push_back({.name = "lblK", .at = {120, 3270, kLeftWidth, 1920}, .border = true, .background = Background::Window,
               .wrap = true, .accessibleName = "k de l'observateur sur ces années"});
  c.push_back({.name = "cmdEnregistrer", .kind = Kind::CommandButton, .caption = "&Enregistrer l'image…",
               .at = {120, 5310, 2640, kButtonHeight}});
  c.push_back({.name = "lblMessage", .at = {120, 5790, kLeftWidth, 1500}, .wrap = true, .accessibleName = "Message"});
  c.push_back({.name = "picGraphique", .kind = Kind::PictureBox, .at = kPictureAt, .border = true,
               .accessibleName = "Graphique"});
  c.push_back({.name = "lblKMois", .caption = "k de chaque m&ois (rapport des sommes, puis moyenne et médiane des rapports)",
               .at = {120, 7440, kCaptionWidth, kLabelHeight}});
  c.push_back({.name = "lstKMois", .kind = Kind::ListBox, .at = {120, 7710, kListWidth, 2220}, .namedBy = {"lblKMois"}});
  // Where the month's tab has it.
  c.push_back({.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter",
               .at = {16080 - 1440, 8760, 1440, kButtonHeight}});
  form.tabOrder = {"optMensuel", "optK", "optPapillon", "txtDu", "txtAu", "txtK", "cmdEnregistrer", "lstKMois",
                   "cmdMenu"};
  // The picture takes what the window grows by; the months' k under it follow.
  form.grows = kPictureAt;
  return form;
}

ComparisonsForm::ComparisonsForm(std::string decimalSeparator)
    : Form(comparisonsForm()), m_separator(std::move(decimalSeparator)), m_imageDialog(&defaultImageDialog) {
  label("lblKMois")->setBuddy(listBox("lstKMois"));
  for (const char* name : {"lblKTitre", "lblK"}) control(name)->setToolTip(QString::fromUtf8(kKDefinitions));
  control("lblK")->setAccessibleDescription(QString::fromUtf8(kKDefinitions));
  for (const char* name : {"optMensuel", "optK", "optPapillon"}) onClick(name, [this] { optGraphique_Click(); });
  for (const char* name : {"txtDu", "txtAu"})
    connect(textBox(name), &QLineEdit::editingFinished, this, [this] { annees_LostFocus(); });
  connect(textBox("txtK"), &QLineEdit::editingFinished, this, [this] { txtK_LostFocus(); });
  onClick("cmdEnregistrer", [this] { cmdEnregistrer_Click(); });
  onClick("cmdMenu", [this] {
    if (m_quit) m_quit();
  });
  onResize([this] { Form_Resize(); });
}

// Form moved the controls under the picture down; the picture and the list widen, and
// "Quitter" keeps to the right edge.
void ComparisonsForm::Form_Resize() {
  const QSize growth = this->growth();
  control("picGraphique")->setGeometry(toPixels(kPictureAt).adjusted(0, 0, growth.width(), growth.height()));
  QWidget* caption = control("lblKMois");
  caption->resize(toPixels({0, 0, kCaptionWidth, 0}).width() + growth.width(), caption->height());
  QWidget* list = control("lstKMois");
  list->resize(toPixels({0, 0, kListWidth, 0}).width() + growth.width(), list->height());
  QWidget* quit = control("cmdMenu");
  quit->move(toPixels({16080 - 1440, 0, 0, 0}).left() + growth.width(), quit->y());
  paintChart();
}

void ComparisonsForm::setJournal(const Journal* journal, std::optional<Observer> observer) {
  m_journal = journal;
  m_observer = std::move(observer);
  showChosenK();
  showAll();
}

// The observer's k as the journal holds it, named with the observer it belongs to; the
// field waits for an observer.
void ComparisonsForm::showChosenK() {
  const QString code = m_observer ? toQString(m_observer->code) : QString();
  setText("lblKChoisi", m_observer ? QString::fromUtf8(kKCaptionFor).arg(code) : QString::fromUtf8(kKCaption));
  auto* field = textBox("txtK");
  field->setAccessibleName(m_observer ? QString::fromUtf8(kKSaidFor).arg(code) : QString::fromUtf8(kKSaid));
  field->setEnabled(m_observer.has_value());
  const std::optional<double> k = chosenK();
  field->setText(k ? toQString(chosenKText(*k, m_separator)) : QString());
}

void ComparisonsForm::optGraphique_Click() { showChart(); }

void ComparisonsForm::annees_LostFocus() {
  if (readYears()) showAll();
}

void ComparisonsForm::txtK_LostFocus() {
  if (!m_observer) return;
  const QString text = this->text("txtK").trimmed();
  std::optional<double> k;
  if (!text.isEmpty()) {
    k = journal::chosenK(text.toStdString());
    if (!k) {
      setText("lblMessage", QString::fromUtf8(kKMessage));
      return;
    }
  }
  setText("lblMessage", QString());
  if (k == m_observer->chosenK) return;
  // Not stored: the field shows again the k the journal holds.
  if (!m_storeK || !m_storeK(m_observer->id, k)) return showChosenK();
  m_observer->chosenK = k;
  showChosenK();
  showChart();
}

void ComparisonsForm::cmdEnregistrer_Click() {
  const QString suggested = toQString(chartFileName(request().kind, m_chart));
  QString path = m_imageDialog(suggested);
  if (path.isEmpty()) return;
  const QString suffix = QFileInfo(path).suffix().toLower();
  ChartFormat format = ChartFormat::Png;
  if (suffix == "svg") format = ChartFormat::Svg;
  else if (suffix == "pdf") format = ChartFormat::Pdf;
  else if (suffix != "png") path += ".png";
  QString error;
  if (!writeChart(path, format, m_chart, &error)) {
    setText("lblMessage", error);
    return;
  }
  setText("lblMessage", QString::fromUtf8(kImageWritten).arg(path));
}

bool ComparisonsForm::readYears() {
  std::optional<int> years[2];
  const char* fields[2] = {"txtDu", "txtAu"};
  for (int i = 0; i < 2; ++i) {
    const QString text = this->text(fields[i]).trimmed();
    if (text.isEmpty()) continue;
    if (!(years[i] = yearOf(text))) {
      setText("lblMessage", QString::fromUtf8(kYearMessage));
      return false;
    }
  }
  if (years[0] && years[1] && *years[0] > *years[1]) {
    setText("lblMessage", QString::fromUtf8(kYearsOrder));
    return false;
  }
  setText("lblMessage", QString());
  m_firstYear = years[0];
  m_lastYear = years[1];
  return true;
}

ChartRequest ComparisonsForm::request() const {
  ChartRequest r;
  r.kind = value("optK") ? ChartKind::K : value("optPapillon") ? ChartKind::Butterfly : ChartKind::Monthly;
  r.firstYear = m_firstYear;
  r.lastYear = m_lastYear;
  if (m_observer) {
    r.observerId = m_observer->id;
    r.observerCode = m_observer->code;
  }
  r.k = chosenK();
  r.decimalSeparator = m_separator;
  return r;
}

void ComparisonsForm::showAll() {
  showChart();
  showK();
}

// k over the picture's years, its hemispheres, and month by month.
void ComparisonsForm::showK() {
  auto* months = listBox("lstKMois");
  months->clear();
  if (!m_journal || !m_observer) {
    setText("lblK", m_journal ? QString::fromUtf8(kNoObserver) : QString());
    return;
  }
  ChartRequest r = request();
  r.kind = ChartKind::Monthly;
  // A journal that could not be read says why in place of its k.
  const Read<ChartData> data = chartData(*m_journal, r);
  if (!data.ok()) return setText("lblK", toQString(data.error));
  if (data.value.firstYear == 0) {
    setText("lblK", toQString(tooFewDaysLine(0)));
    return;
  }
  const Day first{data.value.firstYear, 1, 1}, last{data.value.lastYear, 12, 31};
  const Read<std::vector<PairedDay>> paired = m_journal->pairedDays(first, last, m_observer->id);
  if (!paired.ok()) return setText("lblK", toQString(paired.error));
  const KEstimate estimate = estimateK(paired.value);
  QStringList lines;
  if (estimate.days < kFewestPairedDays) lines << toQString(tooFewDaysLine(estimate.days));
  for (const auto& line : kLines(estimate, m_separator)) lines << toQString(line);
  const struct {
    Journal::Part part;
    const char* name;
  } hemispheres[] = {{Journal::Part::North, "nord"}, {Journal::Part::South, "sud"}};
  for (const auto& h : hemispheres) {
    const Read<std::vector<PairedDay>> days = m_journal->pairedDays(first, last, m_observer->id, h.part);
    if (!days.ok()) return setText("lblK", toQString(days.error));
    if (!days.value.empty()) lines << toQString(kHemisphereLine(h.name, estimateK(days.value), m_separator));
  }
  setText("lblK", lines.join(u'\n'));
  for (const auto& month : estimateKByMonth(paired.value)) months->append(toQString(kMonthLine(month, m_separator)));
}

void ComparisonsForm::showChart() {
  const ChartRequest r = request();
  if (m_journal) {
    // A journal that could not be read is said where the picture would be.
    const Read<ChartData> data = chartData(*m_journal, r);
    if (data.ok()) {
      m_chart = makeChart(data.value, r);
    } else {
      m_chart = Chart();
      m_chart.note = data.error;
    }
  } else {
    m_chart = Chart();
    m_chart.note = kNothingToDraw;
  }
  paintChart();
  auto* picture = qobject_cast<QLabel*>(control("picGraphique"));
  // What the picture shows, said by a screen reader.
  QStringList said;
  for (const auto& panel : m_chart.panels)
    for (const auto& series : panel.series) said << toQString(series.name);
  if (!m_chart.note.empty()) said << toQString(m_chart.note);
  if (!m_chart.credit.empty()) said << toQString(m_chart.credit);
  picture->setAccessibleName(m_chart.title.empty() ? QStringLiteral("Graphique") : toQString(m_chart.title));
  picture->setAccessibleDescription(said.join(QStringLiteral(" ; ")));
}

void ComparisonsForm::paintChart() {
  auto* picture = qobject_cast<QLabel*>(control("picGraphique"));
  const QSize size = picture->contentsRect().size();
  const double ratio = devicePixelRatioF();
  QPixmap pixmap = QPixmap::fromImage(chartImage(m_chart, static_cast<int>(size.width() * ratio),
                                                 static_cast<int>(size.height() * ratio)));
  pixmap.setDevicePixelRatio(ratio);
  picture->setPixmap(pixmap);
}

}  // namespace kavrel::journal

// The Journal window's side of the tab.
namespace kavrel::journal {

// The month's controls move into the first tab as the table placed them; the window grows
// by the tabs' bar. Alt+1 and Alt+2 choose the tab (every letter of "Comparaisons" is
// already an access key of the month's tab). The window may then be enlarged: each page
// places its controls at its size (placeMonthPage, ComparisonsForm's own table).
void JournalWindow::addComparisonsTab() {
  const QSize pageSize = size();
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName("tabJournal");
  tabs->setDocumentMode(true);
  auto* month = new QWidget;
  month->setObjectName("pageMois");
  for (QObject* child : children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget && widget != tabs && !widget->isWindow()) {
      widget->setParent(month);
      m_monthPlaces.emplace_back(widget, widget->geometry());
    }
  }
  month->setMinimumSize(pageSize);
  month->installEventFilter(this);
  m_monthPage = month;
  m_monthPageSize = pageSize;
  m_comparisons = new ComparisonsForm(m_separator);
  m_comparisons->setParent(nullptr);
  m_comparisons->setWindowFlags(Qt::Widget);
  m_comparisons->setMinimumSize(pageSize);
  tabs->addTab(month, QStringLiteral("&1 Journal du mois"));
  tabs->addTab(m_comparisons, QStringLiteral("&2 Comparaisons"));
  tabs->setTabToolTip(1, QStringLiteral("Le k de l'observateur, le nombre de SILSO et les groupes importés"));
  const QSize whole(pageSize.width(), pageSize.height() + tabs->tabBar()->sizeHint().height());
  tabs->setGeometry(QRect(QPoint(0, 0), whole));
  m_tabs = tabs;
  setMinimumSize(whole);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
  resize(whole);
  m_comparisons->setImageDialog(
      [this](const QString& suggested) { return savePathAsked(&defaultImageDialog, suggested); });
  m_comparisons->onChosenK([this](Id observerId, std::optional<double> k) {
    return m_session && shown(m_session->chooseK(observerId, k));
  });
  m_comparisons->onQuit([this] { close(); });
  connect(tabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == 1) m_comparisons->setJournal(journal(), m_session ? m_session->observer() : std::nullopt);
  });
}

void JournalWindow::resizeEvent(QResizeEvent* event) {
  Form::resizeEvent(event);
  if (m_tabs) m_tabs->setGeometry(rect());
}

// Read again only while the tab is shown (a century of imported groups takes half a
// second); the tab reads the journal when it comes to the front.
void JournalWindow::showComparisons() {
  if (m_comparisons && m_comparisons->isVisible()) m_comparisons->setJournal(journal(), m_session ? m_session->observer() : std::nullopt);
}

}  // namespace kavrel::journal
