// The sidereal-time window, its exact-text checks and its About window.
#include <QtTest>

#include <QPointer>
#include <QPushButton>

#include "about/about_window.h"
#include "programs/kestrum/kestrum_window.h"
#include "ui/doubles.h"
#include "date_refusals.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::testing;
using Shown = ui::RecordingMessageBox::Shown;

namespace {

const QString kTitle = "Message d'erreur";
const QString kEmpty = "#############";


}  // namespace

class KestrumWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    window = new kestrum::Kestrum(desktop.desktop(), ",");
    window->load();
  }
  void cleanup() {
    delete window;
    settle();
    desktop.messages.shown.clear();
  }

  void opensOnTheClock();
  void refusedEntries_data();
  void refusedEntries();
  void dateEntries_data();
  void dateEntries();
  void emptiedDayShowsDayZero();
  void aProposTwiceLeavesOneWindow();
  void quitter_data();
  void quitter();
  void screenReaderNames_data();
  void screenReaderNames();

 private:
  ui::TestDesktop desktop;
  QPointer<kestrum::Kestrum> window;
};

void KestrumWindowTest::opensOnTheClock() {
  QCOMPARE(window->text("txtJour"), QString("6"));
  QCOMPARE(window->text("txtMois"), QString("12"));
  QCOMPARE(window->text("txtAnnée"), QString("2001"));
  QCOMPARE(window->text("lblJourJulien"), QString("2452249,500"));
  QCOMPARE(window->text("Label7"), QString("04,5923"));
  QVERIFY(desktop.messages.shown.empty());
  QVERIFY(window->about().window() == nullptr);
}

void KestrumWindowTest::refusedEntries_data() { dateRefusalRows(CheckForm::ExactText, false); }

void KestrumWindowTest::refusedEntries() {
  if (!enterRefused(*window, desktop.messages)) return;
  // Unlike the Julian-day window, even an emptied year recomputes.
  QCOMPARE(window->text("Label7"), kEmpty);
  typingGoesOn(*window);
}

void KestrumWindowTest::dateEntries_data() {
  QTest::addColumn<QString>("day");
  QTest::addColumn<QString>("month");
  QTest::addColumn<QString>("year");
  QTest::addColumn<QString>("julianDay");
  QTest::addColumn<QString>("siderealTime");
  QTest::newRow("1987") << "10" << "4" << "1987" << "2446895,500" << "13,1046";
  QTest::newRow("J2000") << "1" << "1" << "2000" << "2451544,500" << "06,3952";
  QTest::newRow("first Gregorian day") << "15" << "10" << "1582" << "2299160,500" << "01,3220";
  QTest::newRow("last Julian day") << "4" << "10" << "1582" << "2299159,500" << "01,2824";
  QTest::newRow("year 1") << "1" << "1" << "1" << "1721423,500" << "06,3309";
}

void KestrumWindowTest::dateEntries() {
  QFETCH(QString, day);
  QFETCH(QString, month);
  QFETCH(QString, year);
  QFETCH(QString, julianDay);
  QFETCH(QString, siderealTime);
  retype(*window, "txtAnnée", year);
  retype(*window, "txtMois", month);
  retype(*window, "txtJour", day);
  QVERIFY(desktop.messages.shown.empty());
  QCOMPARE(window->text("lblJourJulien"), julianDay);
  QCOMPARE(window->text("Label7"), siderealTime);
}

void KestrumWindowTest::emptiedDayShowsDayZero() {
  clearField(*window, "txtJour");
  QCOMPARE(window->text("Label7"), kEmpty);
  QCOMPARE(window->text("lblJourJulien"), QString("2452243,500"));  // 30 November 2001
}

void KestrumWindowTest::aProposTwiceLeavesOneWindow() {
  window->button("Command1")->click();
  QPointer<about::AboutWindow> first = window->about().window();
  QVERIFY(first);
  QVERIFY(first->isVisible());
  window->button("Command1")->click();
  QCOMPARE(window->about().window(), first.data());
  QCOMPARE(window->findChildren<about::AboutWindow*>().size(), 1);
}

void KestrumWindowTest::quitter_data() {
  QTest::addColumn<bool>("aboutOpen");
  QTest::newRow("About window closed") << false;
  QTest::newRow("About window open") << true;
}

void KestrumWindowTest::quitter() {
  QFETCH(bool, aboutOpen);
  if (aboutOpen) window->button("Command1")->click();
  QPointer<about::AboutWindow> about = window->about().window();
  window->button("cmdMenu")->click();
  settle();
  QVERIFY(window.isNull());
  QVERIFY(about.isNull());
  for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void KestrumWindowTest::screenReaderNames_data() {
  accessibilityColumns();
  QTest::newRow("day") << "txtJour" << "Jour" << QStringList{"Label1"};
  QTest::newRow("month") << "txtMois" << "Mois" << QStringList{"Label2"};
  QTest::newRow("year") << "txtAnnée" << "Année" << QStringList{"Label3"};
  QTest::newRow("Julian day, uncaptioned") << "lblJourJulien" << "Numéro de jour julien à 0 h TU" << QStringList{};
  QTest::newRow("sidereal time") << "Label7" << "Temps sidéral de Greenwich à 0 h TU (hh.mmss)" << QStringList{};
}

void KestrumWindowTest::screenReaderNames() { checkAccessibility(*window); }

QTEST_MAIN(KestrumWindowTest)
#include "kestrum_window_test.moc"
