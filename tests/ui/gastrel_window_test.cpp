// The window of the date of a Julian day, typed key by key and pasted.
#include <QtTest>

#include <QPointer>

#include "programs/gastrel/gastrel_window.h"
#include "ui/doubles.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::testing;
using Shown = ui::RecordingMessageBox::Shown;

namespace {

const QString kTitle = "Message d'erreur";
const QString kNumber = "Valeur incorrecte";
const QString kNegative = "Le programme n'a pas été conçu pour calculer\rd'après un nombre négatif !";

}  // namespace

class GastrelWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    window = new gastrel::Gastrel(desktop.desktop(), ",");
    window->load();
  }
  void cleanup() {
    delete window;
    desktop.messages.shown.clear();
  }

  void opensEmpty();
  void typedKeyByKey_data();
  void typedKeyByKey();
  void pasted_data();
  void pasted();
  void refusalEmptiesFieldAndDate_data();
  void refusalEmptiesFieldAndDate();
  void deletingEverythingShowsJulianDayZero();
  void theSeparatorFollowsTheLocale();

 private:
  ui::TestDesktop desktop;
  QPointer<gastrel::Gastrel> window;
};

void GastrelWindowTest::opensEmpty() {
  QCOMPARE(window->text("txtJourJulien"), QString());
  QCOMPARE(window->text("lblDate"), QString());
  QCOMPARE(window->windowTitle(), QString(" Calcul de la date d'après le jour julien"));
}

void GastrelWindowTest::typedKeyByKey_data() {
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QString>("date");
  QTest::newRow("J2000") << "2451545" << "Le 01,500  janvier  2000";
  QTest::newRow("first Gregorian day") << "2299160.5" << "Le 15,000  octobre  1582";
  QTest::newRow("Julian calendar") << "2299160" << "Le 04,500  octobre  1582";
  QTest::newRow("a trailing point while typing") << "2451545." << "Le 01,500  janvier  2000";
  QTest::newRow("the day is not carried") << "2451544.4999" << "Le 32,000  décembre  1999";
  QTest::newRow("zero point five") << "0.5" << "Le 02,000  janvier  -4712";
}

void GastrelWindowTest::typedKeyByKey() {
  QFETCH(QString, keys);
  QFETCH(QString, date);
  typeInto(*window, "txtJourJulien", keys);
  QVERIFY(desktop.messages.shown.empty());
  QCOMPARE(window->text("txtJourJulien"), keys);
  QCOMPARE(window->text("lblDate"), date);
}

void GastrelWindowTest::pasted_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("date");
  // A comma inside a pasted text is not refused; it ends the number.
  QTest::newRow("decimal comma") << "2451545,5" << "Le 01,500  janvier  2000";
  QTest::newRow("1957") << "2436116.31" << "Le 04,810  octobre  1957";
  // Typed key by key, the space and the letter would be refused as last characters.
  QTest::newRow("a space before the sign") << " -5" << "Le 27,500  décembre  -4713";
  QTest::newRow("a letter inside") << "24a5" << "Le 25,500  janvier  -4712";
}

void GastrelWindowTest::pasted() {
  QFETCH(QString, text);
  QFETCH(QString, date);
  paste(*window, "txtJourJulien", text);
  QVERIFY(desktop.messages.shown.empty());
  QCOMPARE(window->text("lblDate"), date);
}

void GastrelWindowTest::refusalEmptiesFieldAndDate_data() {
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QString>("message");
  QTest::addColumn<bool>("pasted");
  QTest::newRow("a leading point") << ".5" << kNumber << true;
  QTest::newRow("a point typed first") << "." << kNumber << false;
  QTest::newRow("a second point") << "2451545.5." << kNumber << false;
  QTest::newRow("a second point inside") << "24.51.5" << kNumber << true;
  QTest::newRow("a comma typed last") << "2451545," << kNumber << false;
  QTest::newRow("a letter typed last") << "24515a" << kNumber << false;
  QTest::newRow("a slash") << "12/" << kNumber << false;
  QTest::newRow("a minus sign first") << "-" << kNegative << false;
  QTest::newRow("a negative number") << "-5" << kNegative << true;
}

void GastrelWindowTest::refusalEmptiesFieldAndDate() {
  QFETCH(QString, keys);
  QFETCH(QString, message);
  QFETCH(bool, pasted);
  if (pasted) {
    paste(*window, "txtJourJulien", keys);
  } else {
    typeInto(*window, "txtJourJulien", keys);
  }
  QCOMPARE(desktop.messages.shown, (std::vector<Shown>{{message, 48, kTitle}}));
  QCOMPARE(window->text("txtJourJulien"), QString());
  QCOMPARE(window->text("lblDate"), QString());
  // The user types again in the emptied field.
  typeInto(*window, "txtJourJulien", "2451545");
  QCOMPARE(window->text("lblDate"), QString("Le 01,500  janvier  2000"));
}

void GastrelWindowTest::deletingEverythingShowsJulianDayZero() {
  typeInto(*window, "txtJourJulien", "2451545");
  clearField(*window, "txtJourJulien");
  QCOMPARE(window->text("lblDate"), QString("Le 01,500  janvier  -4712"));
  QVERIFY(desktop.messages.shown.empty());
}

void GastrelWindowTest::theSeparatorFollowsTheLocale() {
  QPointer<gastrel::Gastrel> english = new gastrel::Gastrel(desktop.desktop(), ".");
  english->load();
  typeInto(*english, "txtJourJulien", "2451545");
  QCOMPARE(english->text("lblDate"), QString("Le 01.500  janvier  2000"));
  delete english;
}

QTEST_MAIN(GastrelWindowTest)
#include "gastrel_window_test.moc"
