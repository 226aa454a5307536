// The Julian-day window driven key by key, with the clock and the message boxes faked.
#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QPointer>

#include "programs/farrowel/farrowel_window.h"
#include "ui/doubles.h"
#include "date_refusals.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::testing;
using Shown = ui::RecordingMessageBox::Shown;

namespace {

const QString kTitle = "Message d'erreur";
const QString kEmpty = "#############";

struct Fixture : OpenWindow<farrowel::Farrowel> {
  using OpenWindow::OpenWindow;
  QString result() const { return window->text("lblJourJulien"); }
  QStringList fields() const { return texts({"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute"}); }
};

}  // namespace

class FarrowelWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void opensOnTheClock_data();
  void opensOnTheClock();
  void theLoadFillsTheMinuteBeforeTheHour();
  void yearTypedKeyByKey();
  void zeroThenMinusZeroInTheYear();
  void refusedEntries_data();
  void refusedEntries();
  void acceptedEntries_data();
  void acceptedEntries();
  void emptiedYearKeepsTheResult();
  void refusedYearKeepsTheResult_data();
  void refusedYearKeepsTheResult();
  void checkBoxPinsTheTimeAndGivesBackTheClock();
  void quitterUnloadsTheWindow();
  void screenReaderNames_data();
  void screenReaderNames();
};

void FarrowelWindowTest::opensOnTheClock_data() {
  QTest::addColumn<QString>("separator");
  QTest::addColumn<QString>("result");
  QTest::newRow("French") << "," << "2452249,878";
  QTest::newRow("English") << "." << "2452249.878";
}

void FarrowelWindowTest::opensOnTheClock() {
  QFETCH(QString, separator);
  QFETCH(QString, result);
  Fixture f(separator.toUtf8().constData());
  QCOMPARE(f.fields(), (QStringList{"6", "12", "2001", "9", "5"}));
  QCOMPARE(f.result(), result);
  QCOMPARE(f.w().value("chkZero"), 0);
  QVERIFY(f.desktop.messages.shown.empty());
  QCOMPARE(f.w().windowTitle(), QString(" Calcul du jour julien"));
}

void FarrowelWindowTest::theLoadFillsTheMinuteBeforeTheHour() {
  // Each assignment runs its handler: until the hour is filled the result is undefined.
  ui::TestDesktop desktop;
  QStringList resultsSeen;
  auto* window = new farrowel::Farrowel(desktop.desktop(), ",");
  window->onChange("txtHeure", [&] { resultsSeen << window->text("txtMinute"); });
  window->load();
  QCOMPARE(resultsSeen, QStringList{"5"});  // the minute was already there when the hour came
  QCOMPARE(window->text("lblJourJulien"), QString("2452249,878"));
  delete window;
}

void FarrowelWindowTest::yearTypedKeyByKey() {
  Fixture f;
  clearField(f.w(), "txtAnnée");
  const QStringList expected = {"1721762,878", "1728336,878", "1793716,878", "2446040,878"};
  const QString keys = "1984";
  for (int i = 0; i < keys.size(); ++i) {
    typeInto(f.w(), "txtAnnée", keys.mid(i, 1));
    QCOMPARE(f.w().text("txtAnnée"), keys.left(i + 1));
    QCOMPARE(f.result(), expected[i]);
  }
  QVERIFY(f.desktop.messages.shown.empty());
}

void FarrowelWindowTest::zeroThenMinusZeroInTheYear() {
  Fixture f;
  clearField(f.w(), "txtAnnée");
  typeInto(f.w(), "txtAnnée", "0");
  QCOMPARE(f.desktop.messages.shown, (std::vector<Shown>{{"Valeur incorrecte", 48, kTitle}}));
  QCOMPARE(f.w().text("txtAnnée"), QString());
  typeInto(f.w(), "txtAnnée", "-0");
  QCOMPARE(f.desktop.messages.shown.size(), 1u);
  QCOMPARE(f.w().text("txtAnnée"), QString("-0"));
  QCOMPARE(f.result(), QString("1721397,878"));  // 6 December of year 0, 9 h 5
}

void FarrowelWindowTest::refusedEntries_data() { dateRefusalRows(CheckForm::NumberRead, true); }

void FarrowelWindowTest::refusedEntries() {
  QFETCH(QString, field);
  Fixture f;
  if (!enterRefused(f.w(), f.desktop.messages)) return;
  // The refused year is not computed (refusedYearKeepsTheResult); the others are.
  if (field != "txtAnnée") QCOMPARE(f.result(), kEmpty);
  typingGoesOn(f.w());
}

void FarrowelWindowTest::acceptedEntries_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QString>("result");
  QTest::newRow("day 07 read as 7") << "txtJour" << "07" << "2452250,878";
  QTest::newRow("day 5h read as 5") << "txtJour" << "5h" << "2452248,878";
  QTest::newRow("month 01") << "txtMois" << "01" << "2451915,878";
  QTest::newRow("month 1") << "txtMois" << "1" << "2451915,878";
  QTest::newRow("hour 0") << "txtHeure" << "0" << "2452249,503";
  QTest::newRow("hour 09") << "txtHeure" << "09" << "2452249,878";
  QTest::newRow("minute 59") << "txtMinute" << "59" << "2452249,916";
  QTest::newRow("year with a letter inside") << "txtAnnée" << "20x1" << "1728702,878";
}

void FarrowelWindowTest::acceptedEntries() {
  QFETCH(QString, field);
  QFETCH(QString, keys);
  QFETCH(QString, result);
  Fixture f;
  if (field == "txtAnnée") {
    // "20x1": the letter goes in with the insertion point moved back.
    retype(f.w(), field, "201");
    f.w().textBox(field)->setCursorPosition(2);
    QTest::keyClicks(f.w().textBox(field), "x");
    QCOMPARE(f.w().text(field), QString("20x1"));
  } else {
    // Pasted whole: typed key by key, the "0" of "07" would be refused on its own.
    paste(f.w(), field, keys);
  }
  QVERIFY(f.desktop.messages.shown.empty());
  QCOMPARE(f.result(), result);
}

void FarrowelWindowTest::emptiedYearKeepsTheResult() {
  Fixture f;
  clearField(f.w(), "txtAnnée");
  QCOMPARE(f.result(), QString("2452249,878"));
  clearField(f.w(), "txtJour");  // another field changes: now the result follows
  QCOMPARE(f.result(), kEmpty);
  QVERIFY(f.desktop.messages.shown.empty());
}

void FarrowelWindowTest::refusedYearKeepsTheResult_data() {
  QTest::addColumn<QString>("keys");  // typed into the emptied year
  QTest::addColumn<QString>("kept");  // the result behind the message and after it
  QTest::newRow("0: the result of 2001 from before the emptying") << "0" << "2452249,878";
  QTest::newRow("1-: the result of year 1") << "1-" << "1721762,878";
  QTest::newRow("19a: the result of year 19") << "19a" << "1728336,878";
}

// Neither the refused text nor the emptied field is computed.
void FarrowelWindowTest::refusedYearKeepsTheResult() {
  QFETCH(QString, keys);
  QFETCH(QString, kept);
  Fixture f;
  clearField(f.w(), "txtAnnée");
  QString behindTheBox;
  f.desktop.messages.whileShown = [&](const Shown&) { behindTheBox = f.result(); };
  typeInto(f.w(), "txtAnnée", keys);
  QCOMPARE(f.desktop.messages.shown, (std::vector<Shown>{{"Valeur incorrecte", 48, kTitle}}));
  QCOMPARE(behindTheBox, kept);
  QCOMPARE(f.w().text("txtAnnée"), QString());
  QCOMPARE(f.result(), kept);
}

void FarrowelWindowTest::checkBoxPinsTheTimeAndGivesBackTheClock() {
  Fixture f;
  QCheckBox* box = f.w().checkBox("chkZero");
  box->click();
  QCOMPARE(f.w().text("txtHeure"), QString("0"));
  QCOMPARE(f.w().text("txtMinute"), QString("0"));
  QCOMPARE(f.result(), QString("2452249,500"));

  // While it is ticked, an edit of the hour or the minute is undone at once.
  typeInto(f.w(), "txtHeure", "5");
  QCOMPARE(f.w().text("txtHeure"), QString("0"));
  clearField(f.w(), "txtMinute");
  QCOMPARE(f.w().text("txtMinute"), QString("0"));
  QCOMPARE(f.result(), QString("2452249,500"));
  QVERIFY(f.desktop.messages.shown.empty());

  // Unticking gives back the clock's time now, not the time before ticking.
  f.desktop.clock.time = {6, 12, 2001, 14, 7};
  box->click();
  QCOMPARE(f.w().text("txtHeure"), QString("14"));
  QCOMPARE(f.w().text("txtMinute"), QString("7"));
  QCOMPARE(f.result(), QString("2452250,088"));
}

void FarrowelWindowTest::quitterUnloadsTheWindow() {
  Fixture f;
  f.w().show();
  QVERIFY(QTest::qWaitForWindowActive(f.window));
  QTest::keyClick(f.window, Qt::Key_Q, Qt::AltModifier);
  QTRY_VERIFY(f.window.isNull());
}

void FarrowelWindowTest::screenReaderNames_data() {
  accessibilityColumns();
  QTest::newRow("day") << "txtJour" << "Jour" << QStringList{"Label1"};
  QTest::newRow("month") << "txtMois" << "Mois" << QStringList{"Label2"};
  QTest::newRow("year") << "txtAnnée" << "Année" << QStringList{"Label3"};
  QTest::newRow("hour") << "txtHeure" << "Heure TU" << QStringList{"Label4"};
  QTest::newRow("minute, said in full") << "txtMinute" << "Minute" << QStringList{"Label5"};
  QTest::newRow("Julian day") << "lblJourJulien" << "Numéro de jour julien" << QStringList{};
}

void FarrowelWindowTest::screenReaderNames() {
  Fixture f;
  checkAccessibility(f.w());
}

QTEST_MAIN(FarrowelWindowTest)
#include "farrowel_window_test.moc"
