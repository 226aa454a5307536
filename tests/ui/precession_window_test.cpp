// The precession window driven key by key: the worked positions, the year warnings,
// the data check, the results emptied by any change, and the About and Quitter buttons.
#include <QtTest>

#include <QPointer>
#include <QPushButton>

#include "about/about_window.h"
#include "calculators/precession.h"
#include "programs/precession/precession_window.h"
#include "ui/doubles.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::testing;
using Shown = ui::RecordingMessageBox::Shown;

namespace {

const QString kTitle = "Message d'erreur";
const QString kData = "Données incorrectes";
const QString kYears = "Le programme n'est prévue que pour traiter entre les années 1700 et 2200";

const QStringList kInputs{"Text1", "Text2", "Text3", "Text4"};
const QStringList kAllBoxes{"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"};


// The worked values are written with "."; a window in a French locale shows ",".
QString inSeparator(QString text, const QString& separator) { return text.replace('.', separator); }

struct Fixture : OpenWindow<precession::Precession> {
  using OpenWindow::OpenWindow;

  // Types the four inputs key by key: reference year, position, target year.
  void typeInputs(const QString& y0, const QString& ra, const QString& dec, const QString& y1) {
    typeInto(w(), "Text1", y0);
    typeInto(w(), "Text2", ra);
    typeInto(w(), "Text3", dec);
    typeInto(w(), "Text4", y1);
  }
  void calcul() { w().button("Command1")->click(); }
  QStringList boxes(const QStringList& names = kAllBoxes) const { return texts(names); }
  QStringList messagesShown() const {
    QStringList texts;
    for (const Shown& shown : desktop.messages.shown) {
      if (shown.style != 48 || shown.title != kTitle) return {"wrong style or title: " + shown.text};
      texts << shown.text;
    }
    return texts;
  }
};

}  // namespace

class PrecessionWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void opensEmpty();
  void workedPositions_data();
  void workedPositions();
  void rowJoints_data();
  void rowJoints();
  void yearsOutOfRange_data();
  void yearsOutOfRange();
  void refusedData_data();
  void refusedData();
  void anyChangeOfAnInputEmptiesTheResults_data();
  void anyChangeOfAnInputEmptiesTheResults();
  void resultsCannotBeTypedInto();
  void tabOrder();
  void calculByItsAccessKey();
  void aProposTwiceLeavesOneWindow();
  void quitter_data();
  void quitter();
  void screenReaderNames_data();
  void screenReaderNames();
  void referenceYearStandsClearOfItsBox();
};

void PrecessionWindowTest::opensEmpty() {
  Fixture f;
  QCOMPARE(f.boxes(), QStringList(6, QString()));
  QCOMPARE(f.w().windowTitle(), QString("Précession des équinoxes (calcul approché)"));
  QVERIFY(f.desktop.messages.shown.empty());
  QVERIFY(f.w().about().window() == nullptr);
}

void PrecessionWindowTest::workedPositions_data() {
  QTest::addColumn<QString>("separator");
  QTest::addColumn<QString>("y0");
  QTest::addColumn<QString>("ra");
  QTest::addColumn<QString>("dec");
  QTest::addColumn<QString>("y1");
  QTest::addColumn<QString>("ra1");
  QTest::addColumn<QString>("dec1");
  for (const QString separator : {",", "."}) {
    const auto row = [&](const char* name) -> QTestData& {
      return QTest::addRow("%s, %s", name, qPrintable(separator)) << separator;
    };
    const auto shown = [&](const char* text) { return inSeparator(text, separator); };
    row("1950 to 2000") << "1950" << "6.4245" << "-16.3858" << "2000" << shown("6.4459") << shown("-16.4203");
    // Going back does not undo going forward.
    row("2000 back to 1950") << "2000" << "6.4459" << "-16.4203" << "1950" << shown("6.4245") << shown("-16.3847");
    row("1800 to 2000") << "1800" << "18.3656" << "38.4701" << "2000" << shown("18.4338") << shown("38.5744");
    row("same year") << "1950" << "6.42" << "1.15" << "1950" << shown("6.4200") << shown("1.1500");
    row("back across 0 h") << "2100" << "0.001" << "0" << "2000" << shown("-0.0457") << shown("-0.3323");
  }
}

void PrecessionWindowTest::workedPositions() {
  QFETCH(QString, separator);
  QFETCH(QString, y0);
  QFETCH(QString, ra);
  QFETCH(QString, dec);
  QFETCH(QString, y1);
  QFETCH(QString, ra1);
  QFETCH(QString, dec1);
  Fixture f(separator);
  f.typeInputs(y0, ra, dec, y1);
  f.calcul();
  QCOMPARE(f.messagesShown(), QStringList());
  QCOMPARE(f.boxes(), (QStringList{y0, ra, dec, y1, ra1, dec1}));
}

void PrecessionWindowTest::rowJoints_data() {
  QTest::addColumn<QString>("y1");
  QTest::newRow("1750, last year of row 1") << "1750";
  QTest::newRow("1751, first year of row 2") << "1751";
  QTest::newRow("2150, last year of row 5") << "2150";
  QTest::newRow("2151, first year of row 6") << "2151";
}

// No worked value exists at the joints: the window must show what the computation gives
// for the texts typed, with the row of the target year.
void PrecessionWindowTest::rowJoints() {
  QFETCH(QString, y1);
  Fixture f;
  f.typeInputs("1950", "18.3656", "38.4701", y1);
  f.calcul();
  const std::string target = y1.toStdString();
  const precession::Outcome expected = precession::compute({"1950", "18.3656", "38.4701", target}, ",");
  QVERIFY(expected.messages.empty() && expected.rightAscension && expected.declination);
  QCOMPARE(f.messagesShown(), QStringList());
  QCOMPARE(f.boxes({"Text5", "Text6"}),
           (QStringList{QString::fromStdString(*expected.rightAscension),
                        QString::fromStdString(*expected.declination)}));
}

void PrecessionWindowTest::yearsOutOfRange_data() {
  QTest::addColumn<QString>("y0");
  QTest::addColumn<QString>("y1");
  QTest::addColumn<int>("warnings");
  QTest::newRow("target 1699") << "2000" << "1699" << 1;
  QTest::newRow("target 2201") << "2000" << "2201" << 1;
  QTest::newRow("both out of range") << "1600" << "2300" << 2;
}

// No row applies to a target year out of range: the position comes back unchanged.
void PrecessionWindowTest::yearsOutOfRange() {
  QFETCH(QString, y0);
  QFETCH(QString, y1);
  QFETCH(int, warnings);
  Fixture f;
  f.typeInputs(y0, "6.4245", "-16.3858", y1);
  f.calcul();
  QCOMPARE(f.messagesShown(), QStringList(warnings, kYears));
  QCOMPARE(f.boxes(), (QStringList{y0, "6.4245", "-16.3858", y1, "6,4245", "-16,3858"}));
}

void PrecessionWindowTest::refusedData_data() {
  QTest::addColumn<QStringList>("inputs");
  QTest::addColumn<QStringList>("messages");
  QTest::newRow("all empty") << QStringList{"", "", "", ""} << QStringList{kData};
  QTest::newRow("right ascension 24.0001") << QStringList{"1950", "24.0001", "10", "2000"} << QStringList{kData};
  QTest::newRow("right ascension -0.0001") << QStringList{"1950", "-0.0001", "10", "2000"} << QStringList{kData};
  QTest::newRow("declination 90.0001") << QStringList{"1950", "6.42", "90.0001", "2000"} << QStringList{kData};
  QTest::newRow("declination -90.0001") << QStringList{"1950", "6.42", "-90.0001", "2000"} << QStringList{kData};
  QTest::newRow("empty target year") << QStringList{"1950", "6.42", "1.15", ""} << QStringList{kData};
  QTest::newRow("letters in the reference year") << QStringList{"19a0", "6.42", "1.15", "2000"}
                                                 << QStringList{kData};
  // The target year is checked first: its warning comes before the refusal.
  QTest::newRow("bad reference year, target 2300") << QStringList{"abc", "6.42", "1.15", "2300"}
                                                   << QStringList{kYears, kData};
}

void PrecessionWindowTest::refusedData() {
  QFETCH(QStringList, inputs);
  QFETCH(QStringList, messages);
  Fixture f;
  QList<QStringList> seenBehindTheBoxes;
  f.desktop.messages.whileShown = [&](const Shown&) { seenBehindTheBoxes << f.boxes(); };
  f.typeInputs(inputs[0], inputs[1], inputs[2], inputs[3]);
  f.calcul();
  QCOMPARE(f.messagesShown(), messages);
  // Every message is read while the inputs still stand; they go only afterwards.
  const QStringList typed = inputs + QStringList{"", ""};
  QCOMPARE(seenBehindTheBoxes, QList<QStringList>(messages.size(), typed));
  QCOMPARE(f.boxes(), QStringList(6, QString()));
}

void PrecessionWindowTest::anyChangeOfAnInputEmptiesTheResults_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("how");
  QTest::newRow("reference year typed") << "Text1" << "type";
  QTest::newRow("right ascension typed") << "Text2" << "type";
  QTest::newRow("declination typed") << "Text3" << "type";
  QTest::newRow("target year typed") << "Text4" << "type";
  QTest::newRow("target year, a digit deleted") << "Text4" << "delete";
  QTest::newRow("declination assigned") << "Text3" << "assign";
}

void PrecessionWindowTest::anyChangeOfAnInputEmptiesTheResults() {
  QFETCH(QString, box);
  QFETCH(QString, how);
  Fixture f;
  f.typeInputs("1950", "6.4245", "-16.3858", "2000");
  f.calcul();
  QCOMPARE(f.boxes({"Text5", "Text6"}), (QStringList{"6,4459", "-16,4203"}));

  QStringList declinationWhenRightAscensionWent;
  QObject::connect(f.w().textBox("Text5"), &QLineEdit::textChanged,
                   [&] { declinationWhenRightAscensionWent << f.w().text("Text6"); });
  if (how == "type") {
    typeInto(f.w(), box, "1");
  } else if (how == "delete") {
    f.w().textBox(box)->end(false);
    QTest::keyClick(f.w().textBox(box), Qt::Key_Backspace);
  } else {
    f.w().setText(box, "1.2");
  }
  QCOMPARE(f.boxes({"Text5", "Text6"}), (QStringList{"", ""}));
  QCOMPARE(declinationWhenRightAscensionWent, QStringList{"-16,4203"});  // Text5 first, then Text6
  QVERIFY(f.desktop.messages.shown.empty());
}

void PrecessionWindowTest::resultsCannotBeTypedInto() {
  Fixture f;
  f.typeInputs("1950", "6.4245", "-16.3858", "2000");
  f.calcul();
  for (const QString box : {"Text5", "Text6"}) {
    const QString shown = f.w().text(box);
    typeInto(f.w(), box, "9");
    QCOMPARE(f.w().text(box), shown);
    QTest::keyClick(f.w().textBox(box), Qt::Key_Backspace);
    QCOMPARE(f.w().text(box), shown);
  }
  QCOMPARE(f.boxes({"Text1", "Text2", "Text3", "Text4"}), (QStringList{"1950", "6.4245", "-16.3858", "2000"}));
}

void PrecessionWindowTest::tabOrder() {
  Fixture f;
  f.w().show();
  QVERIFY(QTest::qWaitForWindowActive(f.window));
  const QStringList expected{"Text1", "Text2",    "Text3",    "Text4",    "Text5",
                             "Text6", "Command1", "Command2", "Command3", "Text1"};
  QStringList visited{QApplication::focusWidget()->objectName()};
  for (int i = 1; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(visited, expected);
}

void PrecessionWindowTest::calculByItsAccessKey() {
  Fixture f;
  f.w().show();
  QVERIFY(QTest::qWaitForWindowActive(f.window));
  f.typeInputs("1800", "18.3656", "38.4701", "2000");
  QTest::keyClick(f.window, Qt::Key_C, Qt::AltModifier);
  // The button clicks about 100 ms after its access key.
  QTRY_COMPARE(f.boxes({"Text5", "Text6"}), (QStringList{"18,4338", "38,5744"}));
  QCOMPARE(f.w().text("Text4"), QString("2000"));  // the key went to the button, not the field
}

void PrecessionWindowTest::aProposTwiceLeavesOneWindow() {
  Fixture f;
  f.w().button("Command3")->click();
  QPointer<about::AboutWindow> first = f.w().about().window();
  QVERIFY(first);
  QVERIFY(first->isVisible());
  QCOMPARE(first->windowTitle(), QString("A propos de Précession Equinoxe"));
  f.w().button("Command3")->click();
  QCOMPARE(f.w().about().window(), first.data());
  QCOMPARE(f.w().findChildren<about::AboutWindow*>().size(), 1);
}

void PrecessionWindowTest::quitter_data() {
  QTest::addColumn<bool>("aboutOpen");
  QTest::newRow("About window closed") << false;
  QTest::newRow("About window open") << true;
}

void PrecessionWindowTest::quitter() {
  QFETCH(bool, aboutOpen);
  Fixture f;
  f.w().show();
  if (aboutOpen) f.w().button("Command3")->click();
  QPointer<about::AboutWindow> about = f.w().about().window();
  QCOMPARE(about.isNull(), !aboutOpen);
  f.w().button("Command2")->click();
  settle();
  QVERIFY(f.window.isNull());
  QVERIFY(about.isNull());
  for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void PrecessionWindowTest::screenReaderNames_data() {
  accessibilityColumns();
  const QString reference = "Année de référence";
  const QString target = "Année cible";
  QTest::newRow("reference year") << "Text1" << reference << QStringList{"Label1"};
  QTest::newRow("right ascension") << "Text2" << reference + ", Ascension Droite (hh.mmss)"
                                   << QStringList{"Label2", "Label7"};
  QTest::newRow("declination") << "Text3" << reference + ", Déclinaison (dd.mmss)" << QStringList{"Label3", "Label8"};
  QTest::newRow("target year") << "Text4" << target << QStringList{"Label4"};
  QTest::newRow("carried right ascension") << "Text5" << target + ", Ascension Droite (hh.mmss)" << QStringList{};
  QTest::newRow("carried declination") << "Text6" << target + ", Déclinaison (dd.mmss)" << QStringList{};
}

void PrecessionWindowTest::screenReaderNames() {
  Fixture f;
  checkAccessibility(f.w());
}

void PrecessionWindowTest::referenceYearStandsClearOfItsBox() {
  Fixture f;
  const int captionEnd = drawnText(f.w().label("Label1")).right();
  const int boxStart = f.w().control("Text1")->geometry().left();
  QVERIFY2(boxStart - captionEnd >= 4, qPrintable(QString("caption ends at %1 px, box starts at %2 px")
                                                      .arg(captionEnd).arg(boxStart)));
}

QTEST_MAIN(PrecessionWindowTest)
#include "precession_window_test.moc"
