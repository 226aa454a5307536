// The text field's notifications: a change handler after every change, nested inside
// the program's own assignments, none for an assignment of the same text, handlers
// that read the current text, and the click notification.
#include <QtTest>

#include "ui/text_field.h"

using kavrel::ui::TextField;

class TextFieldTest : public QObject {
  Q_OBJECT

 private slots:
  void everyKeystrokeRunsTheHandler_data();
  void everyKeystrokeRunsTheHandler();
  void assignmentRunsTheHandlerBeforeTheAssignerGoesOn();
  void assigningTheHeldTextRaisesNothing_data();
  void assigningTheHeldTextRaisesNothing();
  void handlerAfterANestedEmptyingReadsTheCurrentText();
  void clickIntoTheField_data();
  void clickIntoTheField();
};

void TextFieldTest::everyKeystrokeRunsTheHandler_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("key");  // a key pressed after typing, or 0
  QTest::addColumn<QStringList>("seen");

  QTest::newRow("year typed digit by digit")
      << "" << "1984" << 0 << QStringList{"1", "19", "198", "1984"};
  QTest::newRow("backspace deletes one character")
      << "" << "32" << int(Qt::Key_Backspace) << QStringList{"3", "32", "3"};
  QTest::newRow("appended after existing text")
      << "20" << "01" << 0 << QStringList{"200", "2001"};
}

void TextFieldTest::everyKeystrokeRunsTheHandler() {
  QFETCH(QString, start);
  QFETCH(QString, typed);
  QFETCH(int, key);
  QFETCH(QStringList, seen);

  TextField field;
  field.setText(start);
  QStringList texts;
  field.onChange([&] { texts << field.text(); });
  field.show();
  field.setFocus();
  field.end(false);
  QTest::keyClicks(&field, typed);
  if (key) QTest::keyClick(&field, Qt::Key(key));
  QCOMPARE(texts, seen);
}

void TextFieldTest::assignmentRunsTheHandlerBeforeTheAssignerGoesOn() {
  TextField hour;
  TextField minute;
  QStringList log;
  hour.onChange([&] { log << "hour " + hour.text(); });
  minute.onChange([&] { log << "minute " + minute.text(); });

  // As the check box "Ramener à 0 heure" does: two assignments, then a recompute.
  hour.setText("0");
  log << "between";
  minute.setText("0");
  log << "recompute";

  QCOMPARE(log, (QStringList{"hour 0", "between", "minute 0", "recompute"}));
}

void TextFieldTest::assigningTheHeldTextRaisesNothing_data() {
  QTest::addColumn<QString>("held");
  QTest::addColumn<QString>("assigned");
  QTest::addColumn<int>("notifications");

  QTest::newRow("same digits") << "12" << "12" << 0;
  QTest::newRow("same empty text") << "" << "" << 0;
  QTest::newRow("other digits") << "12" << "13" << 1;
  QTest::newRow("emptied") << "12" << "" << 1;
  QTest::newRow("leading zero differs") << "7" << "07" << 1;
}

void TextFieldTest::assigningTheHeldTextRaisesNothing() {
  QFETCH(QString, held);
  QFETCH(QString, assigned);
  QFETCH(int, notifications);

  TextField field;
  field.setText(held);
  int count = 0;
  field.onChange([&] { ++count; });
  field.setText(assigned);
  QCOMPARE(count, notifications);
}

void TextFieldTest::handlerAfterANestedEmptyingReadsTheCurrentText() {
  // A day field refuses "32" and empties itself from its own handler; a second handler
  // of the same field runs after it, once for the nested emptying and once for "32".
  TextField day;
  QStringList laterHandler;
  QStringList signalArgument;
  day.onChange([&] {
    if (day.text() == "32") day.setText("");
  });
  day.onChange([&] { laterHandler << day.text(); });
  connect(&day, &QLineEdit::textChanged, this, [&](const QString& text) { signalArgument << text; });
  day.show();
  day.setFocus();

  QTest::keyClicks(&day, "32");

  QCOMPARE(day.text(), QString());
  QCOMPARE(laterHandler, (QStringList{"3", "", ""}));
  // What a handler taking the signal's text would have seen: the refused "32" last.
  QCOMPARE(signalArgument, (QStringList{"3", "", "32"}));

  QTest::keyClicks(&day, "5");  // typing goes on in the emptied field
  QCOMPARE(day.text(), QString("5"));
}

void TextFieldTest::clickIntoTheField_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<int>("clicks");

  QTest::newRow("left click") << "left" << 1;
  QTest::newRow("right click") << "right" << 0;
  QTest::newRow("typing") << "type" << 0;
  QTest::newRow("assignment") << "assign" << 0;
}

void TextFieldTest::clickIntoTheField() {
  QFETCH(QString, action);
  QFETCH(int, clicks);

  TextField field;
  field.resize(80, 22);
  int count = 0;
  QString textAtClick;
  field.onClick([&] {
    ++count;
    textAtClick = field.text();
  });
  field.setText("2001");
  field.show();
  QVERIFY(QTest::qWaitForWindowExposed(&field));

  for (const QString& step : action.split(' ')) {
    if (step == "left") QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(10, 10));
    if (step == "right") QTest::mouseClick(&field, Qt::RightButton, {}, QPoint(10, 10));
    if (step == "type") QTest::keyClicks(&field, "5");
    if (step == "assign") field.setText("1999");
  }
  QCOMPARE(count, clicks);
  if (clicks) QCOMPARE(textAtClick, QString("2001"));
}

QTEST_MAIN(TextFieldTest)
#include "text_field_test.moc"
