// The About window: its three variants, its lifecycle under a main window's
// "&A propos" and "&Quitter", and what its contact and help buttons ask of the desktop.
#include <QtTest>

#include <QLabel>
#include <QPushButton>

#include "about/about_launcher.h"
#include "resources/icon_drawing.h"
#include "fake_xdg_open.h"
#include "ui/doubles.h"
#include "ui/line_control.h"
#include "ui/qt_desktop.h"

using namespace kavrel;
using about::AboutLauncher;
using about::AboutVariant;
using about::AboutWindow;

Q_DECLARE_METATYPE(const AboutVariant*)

namespace {

// A main window as the three programs have it: "&A propos" and "&Quitter".
class MainWindow : public ui::Form {
 public:
  MainWindow(const AboutVariant& about, ui::Desktop desktop) : Form(table()), m_about(about, desktop, this) {
    onClick("Command1", [this] { m_about.show(); });
    onClick("cmdMenu", [this] {
      m_about.unload();
      unload();
    });
  }
  AboutLauncher& about() { return m_about; }

 private:
  static ui::FormTable table() {
    ui::FormTable form;
    form.name = "Kestrum";
    form.title = " Temps sidéral de Greenwich à 0 h TU";
    form.clientWidth = 3984;
    form.clientHeight = 2064;
    form.controls = {
        {.name = "Command1", .kind = ui::Kind::CommandButton, .caption = "&A propos", .at = {600, 1560, 1212, 372}},
        {.name = "cmdMenu", .kind = ui::Kind::CommandButton, .caption = "&Quitter", .at = {2160, 1560, 1212, 375}},
    };
    return form;
  }
  AboutLauncher m_about;
};

// Counts how often any About window is shown, whoever shows it.
class ShowCounter : public QObject {
 public:
  ShowCounter() { qApp->installEventFilter(this); }
  ~ShowCounter() override { qApp->removeEventFilter(this); }
  int shows = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && qobject_cast<AboutWindow*>(watched)) ++shows;
    return false;
  }
};

int loadedAboutWindows() {
  int count = 0;
  for (QWidget* widget : QApplication::allWidgets())
    if (qobject_cast<AboutWindow*>(widget)) ++count;
  return count;
}

void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

void addVariants() {
  QTest::addColumn<const AboutVariant*>("about");
  QTest::newRow("Dalvoren") << &about::dalvorenAbout();
  QTest::newRow("Kestrum") << &about::kestrumAbout();
  QTest::newRow("precession") << &about::precessionAbout();
  QTest::newRow("Disque") << &about::disqueAbout();
  QTest::newRow("Journal") << &about::journalAbout();
  QTest::newRow("Réseau") << &about::reseauAbout();
}

}  // namespace

class AboutTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();
  void variantsShowTheirTexts_data();
  void variantsShowTheirTexts();
  void controlsStandWhereTheTableSays_data();
  void controlsStandWhereTheTableSays();
  void secondAProposLeavesOneWindow();
  void okAndCloseUnloadIt_data();
  void okAndCloseUnloadIt();
  void quitterNeverShowsIt_data();
  void quitterNeverShowsIt();
  void iconsArePaintedAsTheDesktopShowsThem_data();
  void iconsArePaintedAsTheDesktopShowsThem();
  void contactFailureIsReportedOnce_data() { addVariants(); }
  void contactFailureIsReportedOnce();
  void separatorIsEtched();
  void helpButtonOpensTheHelpPage_data();
  void helpButtonOpensTheHelpPage();
  void placedBesideItsMainWindow_data();
  void placedBesideItsMainWindow();
  void opensWithoutCoveringItsMainWindow();
  void linkButtonsThroughXdgOpen_data();
  void linkButtonsThroughXdgOpen();
};

void AboutTest::cleanup() {
  // Main windows left by a test; their About windows go with them.
  QList<QPointer<QWidget>> windows;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (!widget->parent()) windows << widget;
  for (const QPointer<QWidget>& window : windows) delete window.data();
  settle();
}

void AboutTest::variantsShowTheirTexts_data() {
  QTest::addColumn<const AboutVariant*>("about");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("descriptionStart");
  QTest::addColumn<bool>("secondNote");
  QTest::addColumn<bool>("helpButton");

  QTest::newRow("Dalvoren") << &about::dalvorenAbout() << "A propos d'Aspect du Soleil" << "Aspect du Soleil"
                            << "Application destinée à calculer les éléments caractéristiques" << false << true;
  QTest::newRow("Kestrum") << &about::kestrumAbout() << "A propos de Kestrum"
                           << "Temps sidéral de Greenwich à 0 h TU"
                           << "Application destinée à calculer le temps sidéral de Greenwich" << false << false;
  QTest::newRow("precession") << &about::precessionAbout() << "A propos de Précession Equinoxe"
                              << "Précession Equinoxe" << "Application destinée à convertir l'ascension droite"
                              << true << false;
  QTest::newRow("Disque") << &about::disqueAbout() << "A propos de Disque solaire"
                          << "Disque solaire et coordonnées héliographiques"
                          << "Application destinée à dessiner le disque solaire" << false << false;
  QTest::newRow("Journal") << &about::journalAbout() << "A propos du Journal d'observation"
                           << "Journal d'observation des taches solaires"
                           << "Application destinée à tenir le journal des comptages" << false << false;
  QTest::newRow("Réseau") << &about::reseauAbout() << "A propos de Réseau" << "Réseau d'observateurs des taches solaires"
                          << "Application destinée à rassembler les comptages quotidiens" << false << false;
}

void AboutTest::variantsShowTheirTexts() {
  QFETCH(const AboutVariant*, about);
  QFETCH(QString, caption);
  QFETCH(QString, title);
  QFETCH(QString, descriptionStart);
  QFETCH(bool, secondNote);
  QFETCH(bool, helpButton);

  ui::TestDesktop desktop;
  AboutWindow window(*about, desktop.desktop());
  QCOMPARE(window.objectName(), QString("apropos"));
  QCOMPARE(window.windowTitle(), caption);
  QCOMPARE(window.findChild<QLabel*>("A")->text(), title);
  QVERIFY(window.findChild<QLabel*>("Label1")->text().startsWith(descriptionStart));
  QCOMPARE(window.findChild<QLabel*>("lblDisclaimer")->text(), QString("Logiciel interdit à la vente."));
  QCOMPARE(window.findChild<QPushButton*>("cmdSysInfo")->text(),
           QString("&Contact : kavrel@example.org"));
  QCOMPARE(window.findChild<QPushButton*>("cmdOK")->text(), QString("OK"));
  QCOMPARE(window.findChild<QLabel*>("Label2") != nullptr, secondNote);
  if (secondNote)
    QVERIFY(window.findChild<QLabel*>("Label2")->text().endsWith("entre les années 1700 et 2200."));
  auto* help = window.findChild<QPushButton*>("Command1");
  QCOMPARE(help != nullptr, helpButton);
  if (helpButton) QCOMPARE(help->text(), QString("Pour en savoir plus sur le logiciel Kavrel"));
  QCOMPARE(window.findChildren<ui::LineControl*>("Line1").size(), 2);
  QVERIFY(!(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
  QCOMPARE(window.windowType(), Qt::Dialog);
  QCOMPARE(window.minimumSize(), window.maximumSize());
  QVERIFY(!window.windowIcon().isNull());
  QVERIFY(!window.findChild<QLabel*>("picIcon")->pixmap().isNull());
}

void AboutTest::controlsStandWhereTheTableSays_data() {
  QTest::addColumn<const AboutVariant*>("about");
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("index");
  QTest::addColumn<QRect>("twips");  // left, top, width, height

  const AboutVariant* d = &about::dalvorenAbout();
  const AboutVariant* k = &about::kestrumAbout();
  const AboutVariant* p = &about::precessionAbout();
  QTest::newRow("Kestrum icon") << k << "picIcon" << -1 << QRect(240, 360, 432, 432);
  QTest::newRow("Kestrum OK") << k << "cmdOK" << -1 << QRect(3840, 2520, 1212, 345);
  QTest::newRow("Dalvoren title") << d << "A" << -1 << QRect(960, 120, 3888, 240);
  QTest::newRow("Dalvoren description") << d << "Label1" << -1 << QRect(960, 600, 4332, 732);
  QTest::newRow("Dalvoren help") << d << "Command1" << -1 << QRect(1200, 1560, 3852, 372);
  QTest::newRow("precession note") << p << "Label2" << -1 << QRect(960, 1200, 5532, 612);
  QTest::newRow("precession notice") << p << "Label3" << -1 << QRect(120, 2520, 1332, 372);
  QTest::newRow("precession OK") << p << "cmdOK" << -1 << QRect(4920, 2520, 1260, 345);
  QTest::newRow("Kestrum white line") << k << "Line1" << 0 << QRect(120, 2040, 5400, 0);
  QTest::newRow("precession grey line") << p << "Line1" << 1 << QRect(120, 2040, 6360, 0);
}

void AboutTest::controlsStandWhereTheTableSays() {
  QFETCH(const AboutVariant*, about);
  QFETCH(QString, name);
  QFETCH(int, index);
  QFETCH(QRect, twips);

  ui::TestDesktop desktop;
  AboutWindow window(*about, desktop.desktop());
  const QRect expected = window.toPixels({twips.x(), twips.y(), twips.width(), twips.height()});
  QWidget* control = window.control(name, index);
  if (auto* line = qobject_cast<ui::LineControl*>(control)) {
    QCOMPARE(line->pos(), expected.topLeft());
    QCOMPARE(line->width(), expected.width());
    QCOMPARE(line->height(), index == 0 ? 2 : 1);
    QCOMPARE(line->colour(), index == 0 ? QColor(255, 255, 255) : QColor(128, 128, 128));
  } else {
    QCOMPARE(control->geometry(), expected);
  }
  QCOMPARE(window.size(), window.toPixels({0, 0, about->clientWidth, 3024}).size());
}

void AboutTest::secondAProposLeavesOneWindow() {
  ui::TestDesktop desktop;
  auto* main = new MainWindow(about::kestrumAbout(), desktop.desktop());
  main->show();

  main->button("Command1")->click();
  AboutWindow* first = main->about().window();
  QVERIFY(first && first->isVisible());
  main->button("Command1")->click();
  settle();

  QCOMPARE(main->about().window(), first);
  QCOMPARE(loadedAboutWindows(), 1);
  QVERIFY(main->isVisible());  // modeless: the main window stays as it was
  QVERIFY(!first->isModal());
}

void AboutTest::okAndCloseUnloadIt_data() {
  QTest::addColumn<bool>("byOk");
  QTest::newRow("OK") << true;
  QTest::newRow("title bar close") << false;
}

void AboutTest::okAndCloseUnloadIt() {
  QFETCH(bool, byOk);
  ui::TestDesktop desktop;
  auto* main = new MainWindow(about::dalvorenAbout(), desktop.desktop());
  main->show();
  main->button("Command1")->click();
  QPointer<AboutWindow> about = main->about().window();

  if (byOk)
    about->button("cmdOK")->click();
  else
    about->close();

  QCOMPARE(main->about().window(), nullptr);  // gone at once for its owner
  settle();
  QVERIFY(about.isNull());
  QVERIFY(main->isVisible());

  // "&A propos" creates it again.
  main->button("Command1")->click();
  QVERIFY(main->about().window() && main->about().window()->isVisible());
  QCOMPARE(loadedAboutWindows(), 1);
}

void AboutTest::quitterNeverShowsIt_data() {
  QTest::addColumn<QString>("before");
  QTest::newRow("never opened") << "";
  QTest::newRow("open") << "open";
  QTest::newRow("opened and closed with OK") << "open ok";
  QTest::newRow("opened twice") << "open open";
}

void AboutTest::quitterNeverShowsIt() {
  QFETCH(QString, before);
  ui::TestDesktop desktop;
  QPointer<MainWindow> main = new MainWindow(about::precessionAbout(), desktop.desktop());
  main->show();
  for (const QString& step : before.split(' ', Qt::SkipEmptyParts)) {
    if (step == "open") main->button("Command1")->click();
    if (step == "ok") main->about().window()->button("cmdOK")->click();
  }
  settle();

  ShowCounter counter;
  main->button("cmdMenu")->click();
  settle();

  QCOMPARE(counter.shows, 0);
  QCOMPARE(loadedAboutWindows(), 0);
  QVERIFY(main.isNull());
  for (QWidget* window : QApplication::topLevelWidgets())
    QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));  // the program ends
}

void AboutTest::contactFailureIsReportedOnce() {
  QFETCH(const AboutVariant*, about);
  ui::TestDesktop desktop;
  desktop.links.result = false;
  auto* main = new MainWindow(*about, desktop.desktop());
  main->show();
  main->button("Command1")->click();
  AboutWindow* window = main->about().window();

  window->button("cmdSysInfo")->click();

  QCOMPARE(desktop.links.targets, QStringList{"mailto:kavrel@example.org"});
  QCOMPARE(desktop.messages.shown.size(), size_t(1));
  QCOMPARE(desktop.messages.shown[0].text, QString("Une erreur s'est produite"));
  QCOMPARE(desktop.messages.shown[0].style, 0);
  QCOMPARE(desktop.messages.shown[0].title, about->programName);
  settle();
  QCOMPARE(main->about().window(), window);
  QVERIFY(window->isVisible());
}

void AboutTest::separatorIsEtched() {
  ui::TestDesktop desktop;
  AboutWindow window(about::kestrumAbout(), desktop.desktop());
  const QRect line = window.toPixels({120, 2040, 5400, 0});
  const QImage image = window.grab().toImage();
  // The grey line lies on top of the white one, which shows on the row below.
  QCOMPARE(image.pixelColor(line.center().x(), line.top()), QColor(128, 128, 128));
  QCOMPARE(image.pixelColor(line.center().x(), line.top() + 1), QColor(Qt::white));
}

void AboutTest::helpButtonOpensTheHelpPage_data() {
  QTest::addColumn<bool>("opens");
  QTest::addColumn<int>("messages");
  QTest::newRow("browser available") << true << 0;
  QTest::newRow("no browser") << false << 1;
}

void AboutTest::helpButtonOpensTheHelpPage() {
  QFETCH(bool, opens);
  QFETCH(int, messages);
  ui::TestDesktop desktop;
  desktop.links.result = opens;
  AboutWindow window(about::dalvorenAbout(), desktop.desktop());
  window.show();
  window.button("Command1")->click();

  QCOMPARE(desktop.links.targets.size(), 1);
  const QUrl page(desktop.links.targets.first());
  QCOMPARE(page.scheme(), QString("https"));
  QCOMPARE(page.host(), QString("www.example.org"));
  QCOMPARE(page.path(), QString("/logiciels/data/Kavrel/aide"));
  QCOMPARE(int(desktop.messages.shown.size()), messages);
  if (messages) QCOMPARE(desktop.messages.shown[0], (ui::RecordingMessageBox::Shown{"Une erreur s'est produite", 0, "Dalvoren"}));
  QVERIFY(window.isVisible());
}

void AboutTest::placedBesideItsMainWindow_data() {
  QTest::addColumn<QRect>("owner");
  QTest::addColumn<QRect>("screen");
  QTest::addColumn<QPoint>("at");  // the About window's frame, 400 by 210

  const QRect screen(0, 0, 1920, 1040);
  QTest::newRow("room on the right") << QRect(100, 100, 600, 400) << screen << QPoint(708, 100);
  QTest::newRow("right, just fits") << QRect(0, 0, 1512, 300) << screen << QPoint(1520, 0);
  QTest::newRow("right, lifted onto the screen") << QRect(100, 900, 600, 140) << screen << QPoint(708, 830);
  QTest::newRow("right, main window above the screen's top") << QRect(100, -50, 600, 400) << screen << QPoint(708, 0);
  QTest::newRow("below, moved back onto the screen") << QRect(1600, 100, 300, 400) << screen << QPoint(1520, 508);
  QTest::newRow("right one pixel short: below") << QRect(0, 0, 1513, 300) << screen << QPoint(0, 308);
  QTest::newRow("neither: centred") << QRect(1400, 700, 500, 300) << screen << QPoint(760, 415);
  QTest::newRow("second screen, left of the origin")
      << QRect(-1200, 50, 500, 300) << QRect(-1280, 0, 1280, 1024) << QPoint(-692, 50);
}

void AboutTest::placedBesideItsMainWindow() {
  QFETCH(QRect, owner);
  QFETCH(QRect, screen);
  QFETCH(QPoint, at);
  QCOMPARE(about::besideOwner(owner, {400, 210}, screen), at);
}

void AboutTest::opensWithoutCoveringItsMainWindow() {
  ui::TestDesktop desktop;
  auto* main = new MainWindow(about::dalvorenAbout(), desktop.desktop());
  main->move(40, 40);
  main->show();
  main->button("Command1")->click();
  AboutWindow* window = main->about().window();

  QVERIFY(!window->frameGeometry().intersects(main->frameGeometry()));
  QVERIFY(main->screen()->availableGeometry().contains(window->frameGeometry()));
  QVERIFY(!window->isModal());
}

void AboutTest::linkButtonsThroughXdgOpen_data() {
  QTest::addColumn<const AboutVariant*>("about");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QByteArray>("xdgOpen");  // empty: there is none
  QTest::addColumn<QString>("arguments");
  QTest::addColumn<bool>("failed");

  const QString mail = "mailto:kavrel@example.org|";
  const QString help = "https://www.example.org/logiciels/data/Kavrel/aide|";
  QTest::newRow("Kestrum contact, opened") << &about::kestrumAbout() << "cmdSysInfo" << QByteArray("exit 0") << mail
                                           << false;
  QTest::newRow("Kestrum contact, no mail program")
      << &about::kestrumAbout() << "cmdSysInfo" << QByteArray("exit 3") << mail << true;
  QTest::newRow("precession contact, no xdg-open") << &about::precessionAbout() << "cmdSysInfo" << QByteArray() << ""
                                                   << true;
  QTest::newRow("Dalvoren help, opened") << &about::dalvorenAbout() << "Command1" << QByteArray("exit 0") << help
                                         << false;
  QTest::newRow("Dalvoren help, no browser") << &about::dalvorenAbout() << "Command1" << QByteArray("exit 3") << help
                                             << true;
}

// The buttons on the desktop's own opener, with an xdg-open of the test's.
void AboutTest::linkButtonsThroughXdgOpen() {
  QFETCH(const AboutVariant*, about);
  QFETCH(QString, button);
  QFETCH(QByteArray, xdgOpen);
  QFETCH(QString, arguments);
  QFETCH(bool, failed);
  testing::FakeXdgOpen fake(xdgOpen.isEmpty() ? nullptr : xdgOpen.constData());
  ui::TestDesktop doubles;
  ui::QtLinkOpener links;
  AboutWindow window(*about, {doubles.messages, doubles.clock, links, doubles.printer});
  window.show();

  window.button(button)->click();

  QCOMPARE(fake.arguments(), arguments);
  const auto expected = failed ? std::vector<ui::RecordingMessageBox::Shown>{{"Une erreur s'est produite", 0,
                                                                               about->programName}}
                               : std::vector<ui::RecordingMessageBox::Shown>{};
  QCOMPARE(doubles.messages.shown, expected);
  QVERIFY(window.isVisible());
}

// The windows paint their icons; the desktop shows the PNGs saved from the same drawings.
// A drawing changed without its files saved again, or a program left without its symbol,
// shows here.
void AboutTest::iconsArePaintedAsTheDesktopShowsThem_data() {
  QTest::addColumn<int>("program");
  QTest::addColumn<int>("size");
  using kavrel::ProgramIcon;
  for (ProgramIcon program : {ProgramIcon::Farrowel, ProgramIcon::Gastrel, ProgramIcon::Kestrum,
                              ProgramIcon::Precession, ProgramIcon::Dalvoren, ProgramIcon::Brennic,
                              ProgramIcon::Disque, ProgramIcon::Journal, ProgramIcon::Reseau}) {
    for (int size : {16, 64})
      QTest::addRow("%s %d", kavrel::iconName(program), size) << int(program) << size;
  }
}

void AboutTest::iconsArePaintedAsTheDesktopShowsThem() {
  QFETCH(int, program);
  QFETCH(int, size);
  const auto icon = static_cast<kavrel::ProgramIcon>(program);
  const QString file = QStringLiteral(KAVREL_ICONS_DIR "/%1-%2.png").arg(QLatin1String(kavrel::iconName(icon)));
  const QImage saved(file.arg(size));
  QVERIFY(!saved.isNull());
  QCOMPARE(kavrel::drawnIcon(icon, size).convertToFormat(QImage::Format_ARGB32),
           saved.convertToFormat(QImage::Format_ARGB32));
  QCOMPARE(kavrel::programIcon(icon).availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {64, 64}}));
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
