// The two-date window driven key by key and click by click, with the clock, the message
// boxes and the printer faked.
#include <QtTest>

#include <QPointer>
#include <QPushButton>

#include "programs/brennic/brennic_window.h"
#include "ui/doubles.h"
#include "ui/list_box.h"
#include "date_refusals.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::testing;
using Shown = ui::RecordingMessageBox::Shown;

namespace {

const QString kTitle = "Message d'erreur";
const QString kEmpty = "#############";
const Shown kDates{"Dates incorrectes", 48, kTitle};
const Shown kLimit{"Le logiciel limite le calcul pour 100 dates seulement.", 48, "Message"};

const QStringList kTodayFields = {"6", "12", "2001", "6", "12", "2001"};
const QStringList kTodayRow = {"2452249,500", "1983", "62,26"};
const QString kTodayLine = "Le 06/12/2001 à 00 h 00 min TU, rotation 1983 et longitude Lo 62,26°";

// 1 January 2000 to 1 June 2000.
const QStringList kExample = {
    "Le 01/01/2000 à 00 h 00 min TU, rotation 1957 et longitude Lo 8,04°",
    "Le 01/01/2000 à 14 h 39 min TU, début de la rotation n° 1958",
    "Le 28/01/2000 à 22 h 47 min TU, début de la rotation n° 1959",
    "Le 25/02/2000 à 06 h 56 min TU, début de la rotation n° 1960",
    "Le 23/03/2000 à 14 h 36 min TU, début de la rotation n° 1961",
    "Le 19/04/2000 à 21 h 17 min TU, début de la rotation n° 1962",
    "Le 17/05/2000 à 02 h 57 min TU, début de la rotation n° 1963",
    "Le 01/06/2000 à 00 h 00 min TU, rotation 1963 et longitude Lo 163,16°.",
};

const QStringList kFields = {"txtJour", "txtMois", "txtAnnée", "txtJourF", "txtMoisF", "txtAnnéeF"};

struct Fixture : OpenWindow<brennic::Brennic> {
  QStringList fields() const { return texts(kFields); }
  QStringList row(const QString& suffix = {}) const {
    return {window->text("lblJourJulien" + suffix), window->text("lblRotSyn" + suffix),
            window->text("lblLo" + suffix)};
  }
  QStringList list() const {
    QStringList items;
    const ui::ListBox* box = window->listBox("List1");
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
  }
  QStringList lignes() const {
    QStringList lines;
    for (int i = 0; i <= window->dernLigne(); ++i) lines << window->lignes()[static_cast<std::size_t>(i)];
    return lines;
  }
  // Both dates typed key by key, the first date's fields and then the second's.
  void typeDates(const QStringList& texts) {
    for (int i = 0; i < kFields.size(); ++i) retype(w(), kFields[i], texts[i]);
  }
  void click(const char* button) { window->button(button)->click(); }
};

}  // namespace

class BrennicWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void opensOnTodayTwice();
  void theExampleThroughTheWindow();
  void calculOutcomes_data();
  void calculOutcomes();
  void theLimitShowsLineZeroThenEmptiesTheList();
  void messagesShowOverTheTypedDates_data();
  void messagesShowOverTheTypedDates();
  void clickingIntoAFieldEmptiesTheList_data();
  void clickingIntoAFieldEmptiesTheList();
  void refusedEntriesEmptyTheirOwnDate_data();
  void refusedEntriesEmptyTheirOwnDate();
  void emptiedSecondDayKeepsItsRotationAndL0();
  void nettoyerKeepsTheLinesOfTheCalculation();
  void printout_data();
  void printout();
  void quitterLeavesNoWindow();
  void screenReaderNames_data();
  void screenReaderNames();
  void captionsStandLevelWithTheirValues_data();
  void captionsStandLevelWithTheirValues();
};

void BrennicWindowTest::opensOnTodayTwice() {
  Fixture f;
  QCOMPARE(f.w().windowTitle(), QString(" Rotations synodiques solaires entre deux dates"));
  QCOMPARE(f.w().objectName(), QString("Brennic_deux_dates"));
  QCOMPARE(f.fields(), kTodayFields);
  QCOMPARE(f.row(), kTodayRow);
  QCOMPARE(f.row("F"), kTodayRow);
  QVERIFY(f.list().isEmpty());
  QCOMPARE(f.w().dernLigne(), 0);
  QVERIFY(f.desktop.messages.shown.empty());

  f.click("cmdCalcul");
  QCOMPARE(f.list(), (QStringList{kTodayLine, kTodayLine + "."}));
  QCOMPARE(f.lignes(), f.list());
}

void BrennicWindowTest::theExampleThroughTheWindow() {
  Fixture f;
  f.typeDates({"1", "1", "2000", "1", "6", "2000"});
  QCOMPARE(f.row(), (QStringList{"2451544,500", "1957", "8,04"}));
  QVERIFY(f.desktop.messages.shown.empty());
  f.click("cmdCalcul");
  QCOMPARE(f.list(), kExample);
  QCOMPARE(f.w().dernLigne(), 7);
  QCOMPARE(f.lignes(), kExample);
  QVERIFY(f.desktop.messages.shown.empty());
}

void BrennicWindowTest::calculOutcomes_data() {
  QTest::addColumn<QStringList>("dates");
  QTest::addColumn<QString>("firstRotation");  // lblRotSyn before "&Calcul"
  QTest::addColumn<bool>("refused");           // "Dates incorrectes", then both dates today
  QTest::addColumn<int>("lines");
  QTest::newRow("second date a day before the first")
      << QStringList{"6", "12", "2001", "5", "12", "2001"} << "1983" << true << 0;
  QTest::newRow("second date incomplete") << QStringList{"6", "12", "2001", "", "12", "2001"} << "1983" << true << 0;
  // The rotation keeps the example's first date.
  QTest::newRow("first date incomplete") << QStringList{"", "12", "2001", "6", "12", "2001"} << "1957" << false << 0;
  QTest::newRow("first date before rotation 1")
      << QStringList{"7", "11", "1853", "1", "1", "1854"} << " < 1" << false << 0;
  QTest::newRow("first date in rotation 1")
      << QStringList{"1", "12", "1853", "1", "12", "1853"} << "1" << false << 2;
  QTest::newRow("98 starts") << QStringList{"1", "1", "2000", "15", "4", "2007"} << "1957" << false << 100;
}

// Only a calculation that lists something replaces the lines kept from the example.
void BrennicWindowTest::calculOutcomes() {
  QFETCH(QStringList, dates);
  QFETCH(QString, firstRotation);
  QFETCH(bool, refused);
  QFETCH(int, lines);
  Fixture f;
  f.typeDates({"1", "1", "2000", "1", "6", "2000"});
  f.click("cmdCalcul");
  f.typeDates(dates);
  QCOMPARE(f.w().text("lblRotSyn"), firstRotation);
  f.click("cmdCalcul");

  QCOMPARE(f.desktop.messages.shown, refused ? std::vector<Shown>{kDates} : std::vector<Shown>{});
  QCOMPARE(f.fields(), refused ? kTodayFields : dates);
  QCOMPARE(f.list().size(), lines);
  if (lines == 0) {
    QCOMPARE(f.lignes(), kExample);
  } else {
    QCOMPARE(f.w().dernLigne(), lines - 1);
    QCOMPARE(f.lignes(), f.list());
    QVERIFY(f.list().last().endsWith("°."));
  }
}

void BrennicWindowTest::theLimitShowsLineZeroThenEmptiesTheList() {
  Fixture f;
  f.typeDates({"1", "1", "2000", "20", "5", "2007"});
  QStringList behindTheBox;
  f.desktop.messages.whileShown = [&](const Shown&) { behindTheBox = f.list(); };
  f.click("cmdCalcul");
  QCOMPARE(f.desktop.messages.shown, std::vector<Shown>{kLimit});
  QCOMPARE(behindTheBox, QStringList{kExample[0]});
  QVERIFY(f.list().isEmpty());
  QCOMPARE(f.fields(), kTodayFields);
  QCOMPARE(f.row(), kTodayRow);
  // The search's lines stay behind, though nothing of them is on screen.
  QCOMPARE(f.w().dernLigne(), 100);
  QCOMPARE(f.w().lignes()[0], kExample[0]);
  QCOMPARE(f.w().lignes()[1], kExample[1]);
}

void BrennicWindowTest::messagesShowOverTheTypedDates_data() {
  QTest::addColumn<QStringList>("dates");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("firstJulianDay");  // behind the box
  QTest::newRow("second date before the first") << QStringList{"1", "1", "2000", "31", "12", "1999"}
                                                << "Dates incorrectes" << "2451544,500";
  QTest::newRow("more than 100 dates") << QStringList{"1", "1", "2000", "20", "5", "2007"}
                                       << "Le logiciel limite le calcul pour 100 dates seulement." << "2451544,500";
}

// The user reads the message over the dates as typed; only once it is closed do both
// dates go back to today.
void BrennicWindowTest::messagesShowOverTheTypedDates() {
  QFETCH(QStringList, dates);
  QFETCH(QString, message);
  QFETCH(QString, firstJulianDay);
  Fixture f;
  f.typeDates(dates);
  QStringList fieldsBehind;
  QString julianDayBehind;
  f.desktop.messages.whileShown = [&](const Shown&) {
    fieldsBehind = f.fields();
    julianDayBehind = f.w().text("lblJourJulien");
  };
  f.click("cmdCalcul");
  QCOMPARE(f.desktop.messages.shown.size(), 1u);
  QCOMPARE(f.desktop.messages.shown[0].text, message);
  QCOMPARE(fieldsBehind, dates);
  QCOMPARE(julianDayBehind, firstJulianDay);
  QCOMPARE(f.fields(), kTodayFields);
  QCOMPARE(f.row(), kTodayRow);
}

void BrennicWindowTest::clickingIntoAFieldEmptiesTheList_data() {
  QTest::addColumn<QString>("field");
  for (const QString& field : kFields) QTest::newRow(qPrintable(field)) << field;
}

void BrennicWindowTest::clickingIntoAFieldEmptiesTheList() {
  QFETCH(QString, field);
  Fixture f;
  f.w().show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window));
  f.click("cmdCalcul");
  QCOMPARE(f.list().size(), 2);
  QTest::mouseClick(f.w().textBox(field), Qt::LeftButton);
  QVERIFY(f.list().isEmpty());
  QCOMPARE(f.fields(), kTodayFields);
  QCOMPARE(f.row(), kTodayRow);
  QCOMPARE(f.row("F"), kTodayRow);
  QCOMPARE(f.w().dernLigne(), 1);

  // So does a keystroke that the field accepts.
  f.click("cmdCalcul");
  f.w().textBox(field)->end(false);
  QTest::keyClick(f.w().textBox(field), Qt::Key_Backspace);
  QVERIFY(f.list().isEmpty());
  QVERIFY(f.desktop.messages.shown.empty());
}

void BrennicWindowTest::refusedEntriesEmptyTheirOwnDate_data() {
  dateRefusalRows(CheckForm::ExactText, false, {QString(), QStringLiteral("F")});
}

void BrennicWindowTest::refusedEntriesEmptyTheirOwnDate() {
  QFETCH(QString, field);
  Fixture f;
  f.click("cmdCalcul");
  QStringList listBehindTheBox{"not shown"};
  if (!enterRefused(f.w(), f.desktop.messages, [&] { listBehindTheBox = f.list(); })) return;
  QVERIFY(listBehindTheBox.isEmpty());  // emptied before the check

  QStringList fields = kTodayFields;
  fields[kFields.indexOf(field)] = QString();
  QCOMPARE(f.fields(), fields);
  const bool second = field.endsWith("F");
  QCOMPARE(f.w().text(second ? "lblJourJulienF" : "lblJourJulien"), kEmpty);
  QCOMPARE(f.row(second ? "" : "F"), kTodayRow);
  typingGoesOn(f.w());
}

void BrennicWindowTest::emptiedSecondDayKeepsItsRotationAndL0() {
  Fixture f;
  f.typeDates({"1", "1", "2000", "1", "6", "2000"});
  clearField(f.w(), "txtJourF");
  // Read as day 0, the date would be 31 May: another L0.
  QCOMPARE(f.row("F"), (QStringList{kEmpty, "1963", "163,16"}));
  QCOMPARE(f.row(), (QStringList{"2451544,500", "1957", "8,04"}));
  QVERIFY(f.desktop.messages.shown.empty());
}

void BrennicWindowTest::nettoyerKeepsTheLinesOfTheCalculation() {
  Fixture f;
  f.typeDates({"1", "1", "2000", "1", "6", "2000"});
  f.click("cmdCalcul");
  f.desktop.clock.time = {14, 7, 2003, 22, 30};
  f.click("cmdNettoyer");
  QVERIFY(f.list().isEmpty());
  QCOMPARE(f.fields(), (QStringList{"14", "7", "2003", "14", "7", "2003"}));
  QCOMPARE(f.row(), f.row("F"));
  QCOMPARE(f.lignes(), kExample);
  QVERIFY(f.desktop.messages.shown.empty());
}

void BrennicWindowTest::printout_data() {
  QTest::addColumn<bool>("calculate");
  QTest::addColumn<bool>("clickIntoAField");
  QTest::addColumn<QStringList>("printed");  // after the two heading lines
  QTest::addColumn<QStringList>("dates");    // typed into the six fields
  QTest::addColumn<QString>("name");         // of the document
  const QStringList example{"1", "1", "2000", "1", "6", "2000"};
  QTest::newRow("the example") << true << false << kExample << example << "Rotations 2000-01-01 2000-06-01";
  QTest::newRow("list emptied by a click") << true << true << QStringList{} << example
                                           << "Rotations 2000-01-01 2000-06-01";
  QTest::newRow("nothing calculated, day 31, month 12")
      << false << false << QStringList{} << QStringList{"31", "12", "1999", "9", "3", "2001"}
      << "Rotations 1999-12-31 2001-03-09";
}

void BrennicWindowTest::printout() {
  QFETCH(bool, calculate);
  QFETCH(bool, clickIntoAField);
  QFETCH(QStringList, printed);
  QFETCH(QStringList, dates);
  QFETCH(QString, name);
  Fixture f;
  f.typeDates(dates);
  if (calculate) f.click("cmdCalcul");
  if (clickIntoAField) QTest::mouseClick(f.w().textBox("txtMoisF"), Qt::LeftButton);
  f.click("cmdImprimer");

  const QStringList heading = {"Kavrel - Rotations synodiques - page  1 ", "Rotations synodiques"};
  QCOMPARE(f.desktop.printer.documents.size(), 1u);
  QCOMPARE(f.desktop.printer.documents[0], heading + printed);
  QCOMPARE(f.desktop.printer.names, QStringList{name});
  QCOMPARE(f.desktop.printer.line, QString());
  // The selection follows the printing down the list.
  QCOMPARE(f.w().listBox("List1")->currentRow(), printed.size() - 1);
}

void BrennicWindowTest::quitterLeavesNoWindow() {
  Fixture f;
  f.w().show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window));
  f.click("cmdMenu");
  QTRY_VERIFY(f.window.isNull());
  for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void BrennicWindowTest::screenReaderNames_data() {
  accessibilityColumns();
  const QString start = "Date de début, ";
  const QString end = "Date de fin, ";
  QTest::newRow("start day") << "txtJour" << start + "Jour" << QStringList{"Label1", "Label11"};
  QTest::newRow("start month") << "txtMois" << start + "Mois" << QStringList{"Label2"};
  QTest::newRow("start year") << "txtAnnée" << start + "Année" << QStringList{"Label3"};
  QTest::newRow("end day") << "txtJourF" << end + "Jour" << QStringList{"Label26", "Label15"};
  QTest::newRow("end month") << "txtMoisF" << end + "Mois" << QStringList{"Label25"};
  QTest::newRow("end year") << "txtAnnéeF" << end + "Année" << QStringList{"Label24"};
  QTest::newRow("start Julian day") << "lblJourJulien" << start + "Numéro de jour julien" << QStringList{};
  QTest::newRow("start rotation") << "lblRotSyn" << start + "Rotation synodique" << QStringList{};
  QTest::newRow("start L0") << "lblLo" << start + "Longitude du centre" << QStringList{};
  QTest::newRow("end Julian day") << "lblJourJulienF" << end + "Numéro de jour julien" << QStringList{};
  QTest::newRow("end rotation") << "lblRotSynF" << end + "Rotation synodique" << QStringList{};
  QTest::newRow("end L0") << "lblLoF" << end + "Longitude du centre" << QStringList{};
  QTest::newRow("list of starts") << "List1" << "Débuts des rotations synodiques" << QStringList{};
}

void BrennicWindowTest::screenReaderNames() {
  Fixture f;
  checkAccessibility(f.w());
}

void BrennicWindowTest::captionsStandLevelWithTheirValues_data() {
  levelColumns();
  QTest::newRow("Date de début") << "Label11" << "lblJourJulien";
  QTest::newRow("first à 0 h 00 TU") << "Label4" << "lblJourJulien";
  QTest::newRow("Date de fin") << "Label15" << "lblJourJulienF";
  QTest::newRow("second à 0 h 00 TU") << "Label5" << "lblJourJulienF";
}

void BrennicWindowTest::captionsStandLevelWithTheirValues() {
  Fixture f;
  checkLevel(f.w());
}

QTEST_MAIN(BrennicWindowTest)
#include "brennic_window_test.moc"
