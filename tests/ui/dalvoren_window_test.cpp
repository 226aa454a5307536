// The solar-aspect window driven key by key, with the clock, the message boxes, the
// links and the printer faked.
#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "about/about_window.h"
#include "programs/dalvoren/dalvoren_window.h"
#include "ui/doubles.h"
#include "date_refusals.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::testing;
using Shown = ui::RecordingMessageBox::Shown;

namespace {

const QString kTitle = "Message d'erreur";
const QString kEmpty = "#############";
const QString kReportTitleLine = "Aspect du Soleil - page  1 ";
const QStringList kResults = {"lblJourJulien", "lblAD", "lblDéc", "lblRotSyn",
                              "lblDemidiam",   "lblP",  "lblBo",  "lblLo"};
const QStringList kFields = {"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute"};


struct Fixture : OpenWindow<dalvoren::Dalvoren> {
  using OpenWindow::OpenWindow;
  QStringList results() const { return texts(kResults); }
  QStringList fields() const { return texts(kFields); }
};

}  // namespace

class DalvorenWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void opensOnTheClock_data();
  void opensOnTheClock();
  void theLoadFillsTheMinuteBeforeTheHour();
  void workedValuesTypedKeyByKey_data();
  void workedValuesTypedKeyByKey();
  void anEmptiedFieldEmptiesEveryResult_data();
  void anEmptiedFieldEmptiesEveryResult();
  void refusedTexts_data();
  void refusedTexts();
  void acceptedTexts_data();
  void acceptedTexts();
  void checkBoxPinsTheTimeAndGivesBackTheClock();
  void report_data();
  void report();
  void printingTwiceGivesTwoDocuments();
  void emptyResultFitsItsLabel();
  void keyboardOrder();
  void screenReaderNames_data();
  void screenReaderNames();
  void captionsStandLevelWithTheirValues_data();
  void captionsStandLevelWithTheirValues();
  void aProposTwiceLeavesOneWindowWithItsHelpButton();
  void quitter_data();
  void quitter();
};

void DalvorenWindowTest::opensOnTheClock_data() {
  QTest::addColumn<QString>("separator");
  QTest::addColumn<QStringList>("results");
  // 6 December 2001 at 9 h 5 min UT.
  QTest::newRow("French") << ","
                          << QStringList{"2452249,878", "16,5153", "-22,3059", "1983",
                                         "16  15,5",    "13,93",   "0,18",     "57,27"};
  QTest::newRow("English") << "."
                           << QStringList{"2452249.878", "16.5153", "-22.3059", "1983",
                                          "16  15.5",    "13.93",   "0.18",     "57.27"};
}

void DalvorenWindowTest::opensOnTheClock() {
  QFETCH(QString, separator);
  QFETCH(QStringList, results);
  Fixture f(separator.toUtf8().constData());
  QCOMPARE(f.fields(), (QStringList{"6", "12", "2001", "9", "5"}));
  QCOMPARE(f.results(), results);
  QCOMPARE(f.w().value("chkZero"), 0);
  QVERIFY(f.desktop.messages.shown.empty());
  QCOMPARE(f.w().windowTitle(), QString(" Aspect du Soleil"));
  QVERIFY(f.w().about().window() == nullptr);
}

void DalvorenWindowTest::theLoadFillsTheMinuteBeforeTheHour() {
  ui::TestDesktop desktop;
  QStringList order;
  auto* window = new dalvoren::Dalvoren(desktop.desktop(), ",");
  for (const QString& field : kFields) window->onChange(field, [&order, field] { order << field; });
  window->load();
  QCOMPARE(order, (QStringList{"txtJour", "txtMois", "txtAnnée", "txtMinute", "txtHeure"}));
  delete window;
  settle();
}

void DalvorenWindowTest::workedValuesTypedKeyByKey_data() {
  QTest::addColumn<QString>("separator");
  QTest::addColumn<QStringList>("results");
  // 2000 January 1 at 12 h 0 min UT.
  QTest::newRow("French") << ","
                          << QStringList{"2451545,000", "18,4506", "-23,0158", "1957",
                                         "16  17,4",    "2,13",    "-3,01",    "1,45"};
  QTest::newRow("English") << "."
                           << QStringList{"2451545.000", "18.4506", "-23.0158", "1957",
                                          "16  17.4",    "2.13",    "-3.01",    "1.45"};
}

void DalvorenWindowTest::workedValuesTypedKeyByKey() {
  QFETCH(QString, separator);
  QFETCH(QStringList, results);
  Fixture f(separator.toUtf8().constData());
  retype(f.w(), "txtJour", "1");
  retype(f.w(), "txtMois", "1");
  retype(f.w(), "txtAnnée", "2000");
  retype(f.w(), "txtHeure", "12");
  retype(f.w(), "txtMinute", "0");
  QVERIFY(f.desktop.messages.shown.empty());
  QCOMPARE(f.results(), results);
}

void DalvorenWindowTest::anEmptiedFieldEmptiesEveryResult_data() {
  QTest::addColumn<QString>("field");
  for (const QString& field : kFields) QTest::newRow(qPrintable(field)) << field;
}

void DalvorenWindowTest::anEmptiedFieldEmptiesEveryResult() {
  QFETCH(QString, field);
  Fixture f;
  clearField(f.w(), field);
  QVERIFY(f.desktop.messages.shown.empty());
  QCOMPARE(f.w().text(field), QString());
  QCOMPARE(f.results(), QStringList(kResults.size(), kEmpty));
  // Typed back, the results come back.
  typeInto(f.w(), field, QStringList{"6", "12", "2001", "9", "5"}[kFields.indexOf(field)]);
  QCOMPARE(f.w().text("lblJourJulien"), QString("2452249,878"));
}

void DalvorenWindowTest::refusedTexts_data() { dateRefusalRows(CheckForm::ExactText, true); }

void DalvorenWindowTest::refusedTexts() {
  Fixture f;
  if (!enterRefused(f.w(), f.desktop.messages)) return;
  // The year too recomputes once emptied.
  QCOMPARE(f.results(), QStringList(kResults.size(), kEmpty));
  typingGoesOn(f.w());
}

void DalvorenWindowTest::acceptedTexts_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QString>("julianDay");
  // Typed key by key: "0" is accepted on its way to "00".
  QTest::newRow("hour 00") << "txtHeure" << "00" << "2452249,503";
  QTest::newRow("minute 00") << "txtMinute" << "00" << "2452249,875";
  QTest::newRow("day 31") << "txtJour" << "31" << "2452274,878";
}

void DalvorenWindowTest::acceptedTexts() {
  QFETCH(QString, field);
  QFETCH(QString, keys);
  QFETCH(QString, julianDay);
  Fixture f;
  retype(f.w(), field, keys);
  QVERIFY(f.desktop.messages.shown.empty());
  QCOMPARE(f.w().text(field), keys);
  QCOMPARE(f.w().text("lblJourJulien"), julianDay);
}

void DalvorenWindowTest::checkBoxPinsTheTimeAndGivesBackTheClock() {
  Fixture f;
  QCheckBox* box = f.w().checkBox("chkZero");
  box->click();
  QCOMPARE(f.w().value("chkZero"), 1);
  QCOMPARE(f.fields(), (QStringList{"6", "12", "2001", "0", "0"}));
  const QStringList atZero = {"2452249,500", "16,5014", "-22,2816", "1983", "16  15,4", "14,09", "0,23", "62,26"};
  QCOMPARE(f.results(), atZero);

  // While it is ticked, an edit of the hour or the minute is undone at once.
  typeInto(f.w(), "txtHeure", "5");
  QCOMPARE(f.w().text("txtHeure"), QString("0"));
  clearField(f.w(), "txtMinute");
  QCOMPARE(f.w().text("txtMinute"), QString("0"));
  QCOMPARE(f.results(), atZero);
  QVERIFY(f.desktop.messages.shown.empty());

  // Unticking gives back the clock's time now, not the time before ticking.
  f.desktop.clock.time = {6, 12, 2001, 14, 7};
  box->click();
  QCOMPARE(f.fields(), (QStringList{"6", "12", "2001", "14", "7"}));
  QCOMPARE(f.w().text("lblJourJulien"), QString("2452250,088"));
  QCOMPARE(f.w().text("lblAD"), QString("16,5248"));
}

void DalvorenWindowTest::report_data() {
  QTest::addColumn<QString>("emptied");
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<QString>("name");  // of the document
  QTest::newRow("as opened") << ""
                             << QStringList{kReportTitleLine,
                                            "Date : 6.12.2001 à 9h 5min",
                                            "Jour julien : 2452249,878",
                                            "Ascension droite : 16,5153( hh.mmss)",
                                            "Déclinaison : -22,3059( °. ' \" )",
                                            "Rotation synodique : 1983",
                                            "Demi diamètre apparent : 16  15,5( '  \" )",
                                            "P : 13,93°",
                                            "Bo : 0,18°",
                                            "Lo : 57,27°"}
                             << "Aspect du Soleil 2001-12-06 09h05";
  QTest::newRow("day emptied: no date in the name") << "txtJour"
                               << QStringList{kReportTitleLine,
                                              "Date : .12.2001 à 9h 5min",
                                              "Jour julien : #############",
                                              "Ascension droite : #############( hh.mmss)",
                                              "Déclinaison : #############( °. ' \" )",
                                              "Rotation synodique : #############",
                                              "Demi diamètre apparent : #############( '  \" )",
                                              "P : #############°",
                                              "Bo : #############°",
                                              "Lo : #############°"}
                               << "Aspect du Soleil";
}

void DalvorenWindowTest::report() {
  QFETCH(QString, emptied);
  QFETCH(QStringList, lines);
  QFETCH(QString, name);
  Fixture f;
  if (!emptied.isEmpty()) clearField(f.w(), emptied);
  const QStringList fieldsBefore = f.fields();
  const QStringList resultsBefore = f.results();
  f.w().button("cmdImprimer")->click();
  QCOMPARE(f.desktop.printer.documents.size(), 1u);
  QCOMPARE(f.desktop.printer.documents[0], lines);
  QCOMPARE(f.desktop.printer.names, QStringList{name});
  QVERIFY(f.desktop.printer.line.isEmpty());
  QCOMPARE(f.fields(), fieldsBefore);
  QCOMPARE(f.results(), resultsBefore);
}

void DalvorenWindowTest::printingTwiceGivesTwoDocuments() {
  Fixture f;
  f.w().button("cmdImprimer")->click();
  f.w().button("cmdImprimer")->click();
  const auto& documents = f.desktop.printer.documents;
  QCOMPARE(documents.size(), 2u);
  for (const QStringList& document : documents) {
    QCOMPARE(document.size(), 10);
    QCOMPARE(document.first(), kReportTitleLine);
  }
  // The page number is the printer's, asked once a document.
  QCOMPARE(f.desktop.printer.pageReads, 2);
  QVERIFY(f.desktop.messages.shown.empty());
}

void DalvorenWindowTest::emptyResultFitsItsLabel() {
  Fixture f;
  clearField(f.w(), "txtJour");
  for (const QString& name : kResults) {
    QLabel* label = f.w().label(name);
    QVERIFY2(label->fontMetrics().horizontalAdvance(kEmpty) <= label->contentsRect().width(), qPrintable(name));
  }
}

void DalvorenWindowTest::keyboardOrder() {
  Fixture f;
  f.w().show();
  QVERIFY(QTest::qWaitForWindowActive(f.window));
  // The first of the keyboard order has the focus at opening.
  QCOMPARE(QApplication::focusWidget(), f.w().control("cmdImprimer"));
  QStringList order{QApplication::focusWidget()->objectName()};
  for (int i = 0; i < 9; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(order, (QStringList{"cmdImprimer", "txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute", "cmdMenu",
                               "chkZero", "Command1", "cmdImprimer"}));
}

void DalvorenWindowTest::screenReaderNames_data() {
  accessibilityColumns();
  QTest::newRow("day") << "txtJour" << "Jour" << QStringList{"Label1"};
  QTest::newRow("month") << "txtMois" << "Mois" << QStringList{"Label2"};
  QTest::newRow("year") << "txtAnnée" << "Année" << QStringList{"Label3"};
  QTest::newRow("hour") << "txtHeure" << "Heure TU" << QStringList{"Label4"};
  QTest::newRow("minute, said in full") << "txtMinute" << "Minute" << QStringList{"Label5"};
  QTest::newRow("Julian day") << "lblJourJulien" << "Numéro de jour julien" << QStringList{};
  QTest::newRow("right ascension") << "lblAD" << "Ascension droite (hh,mmss)" << QStringList{};
  QTest::newRow("declination") << "lblDéc" << "Déclinaison (°, '  \")" << QStringList{};
  QTest::newRow("rotation") << "lblRotSyn" << "Rotation synodique" << QStringList{};
  QTest::newRow("semi-diameter") << "lblDemidiam" << "Demi diamètre apparent ('  \")" << QStringList{};
  QTest::newRow("P") << "lblP" << "Angle aux pôles (°)" << QStringList{};
  QTest::newRow("B0") << "lblBo" << "Latitude du centre (°)" << QStringList{};
  QTest::newRow("L0") << "lblLo" << "Longitude du centre (°)" << QStringList{};
}

void DalvorenWindowTest::screenReaderNames() {
  Fixture f;
  checkAccessibility(f.w());
}

void DalvorenWindowTest::captionsStandLevelWithTheirValues_data() {
  levelColumns();
  const QStringList captions = {"Label6", "Label7", "Label8", "Label9", "Label10", "Label12", "Label13", "Label14"};
  for (int i = 0; i < captions.size(); ++i) QTest::newRow(qPrintable(captions[i])) << captions[i] << kResults[i];
  for (const auto& [unit, value] : {std::pair{"Label11", "lblAD"}, {"Label15", "lblDéc"}, {"Label16", "lblDemidiam"},
                                    {"Label17", "lblP"}, {"Label18", "lblBo"}, {"Label19", "lblLo"}})
    QTest::newRow(unit) << QString(unit) << QString(value);
}

void DalvorenWindowTest::captionsStandLevelWithTheirValues() {
  Fixture f;
  checkLevel(f.w());
}

void DalvorenWindowTest::aProposTwiceLeavesOneWindowWithItsHelpButton() {
  Fixture f;
  f.w().button("Command1")->click();
  QPointer<about::AboutWindow> first = f.w().about().window();
  QVERIFY(first);
  QVERIFY(first->isVisible());
  f.w().button("Command1")->click();
  QCOMPARE(f.w().about().window(), first.data());
  QCOMPARE(f.w().findChildren<about::AboutWindow*>().size(), 1);
  QCOMPARE(first->windowTitle(), QString("A propos d'Aspect du Soleil"));

  first->button("Command1")->click();
  QCOMPARE(f.desktop.links.targets.size(), 1);
  QVERIFY2(f.desktop.links.targets[0].endsWith("/logiciels/data/Kavrel/aide"),
           qPrintable(f.desktop.links.targets[0]));
  QVERIFY(f.desktop.messages.shown.empty());
}

void DalvorenWindowTest::quitter_data() {
  QTest::addColumn<bool>("aboutOpen");
  QTest::newRow("About window closed") << false;
  QTest::newRow("About window open") << true;
}

void DalvorenWindowTest::quitter() {
  QFETCH(bool, aboutOpen);
  Fixture f;
  f.w().show();
  if (aboutOpen) f.w().button("Command1")->click();
  QPointer<about::AboutWindow> about = f.w().about().window();
  QCOMPARE(about.isNull(), !aboutOpen);
  f.w().button("cmdMenu")->click();
  settle();
  QVERIFY(f.window.isNull());
  QVERIFY(about.isNull());
  for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

QTEST_MAIN(DalvorenWindowTest)
#include "dalvoren_window_test.moc"
