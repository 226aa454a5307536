// The desktop's Qt message box and link opening, and the line printer's number format.
#include <QtTest>

#include <QMessageBox>
#include <QPushButton>

#include "fake_xdg_open.h"
#include "ui/qt_desktop.h"

using namespace kavrel::ui;

class DesktopTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QGuiApplication::setApplicationDisplayName("Kestrum"); }
  void messageBoxIsModalAndStyled_data();
  void messageBoxIsModalAndStyled();
  void linkOpenerReportsWhetherItOpened_data();
  void linkOpenerReportsWhetherItOpened();
  void printedNumber_data();
  void printedNumber();
};

void DesktopTest::messageBoxIsModalAndStyled_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("style");
  QTest::addColumn<QString>("title");
  QTest::addColumn<int>("icon");
  QTest::addColumn<QString>("shownText");
  QTest::addColumn<QString>("shownTitle");

  QTest::newRow("refused entry: exclamation")
      << "Valeur incorrecte" << 48 << "Message d'erreur" << int(QMessageBox::Warning) << "Valeur incorrecte"
      << "Message d'erreur";
  QTest::newRow("link failure: no icon")
      << "Une erreur s'est produite" << 0 << "Dalvoren" << int(QMessageBox::NoIcon) << "Une erreur s'est produite"
      << "Dalvoren";
  QTest::newRow("carriage return starts a second line")
      << "Le programme n'a pas été conçu pour calculer\rd'après un nombre négatif !" << 48 << "Message d'erreur"
      << int(QMessageBox::Warning) << "Le programme n'a pas été conçu pour calculer\nd'après un nombre négatif !"
      << "Message d'erreur";
  QTest::newRow("no title: the program's name")
      << "Message" << 0 << "" << int(QMessageBox::NoIcon) << "Message" << "Kestrum";
  QTest::newRow("markup shows as typed") << "<b>1</b>" << 0 << "t" << int(QMessageBox::NoIcon) << "<b>1</b>" << "t";
}

void DesktopTest::messageBoxIsModalAndStyled() {
  QFETCH(QString, text);
  QFETCH(int, style);
  QFETCH(QString, title);
  QFETCH(int, icon);
  QFETCH(QString, shownText);
  QFETCH(QString, shownTitle);

  // What the box showed, noted while it was open; the test checks it once show() has
  // returned, which it does only after the box is closed.
  struct Seen {
    bool whileWaiting = false;
    Qt::WindowModality modality = Qt::NonModal;
    int icon = -1;
    QString text, title;
    Qt::TextFormat format = Qt::AutoText;
    QList<QMessageBox::StandardButton> buttons;
  } seen;
  bool returned = false;
  QTimer::singleShot(0, this, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen.whileWaiting = !returned;
    seen.modality = box->windowModality();
    seen.icon = int(box->icon());
    seen.text = box->text();
    seen.title = box->windowTitle();
    seen.format = box->textFormat();
    for (QAbstractButton* button : box->buttons()) seen.buttons << box->standardButton(button);
    box->buttons().first()->click();
  });
  QtMessageBox messages;
  messages.show(text, style, title);
  returned = true;

  QVERIFY(seen.whileWaiting);
  QCOMPARE(seen.modality, Qt::ApplicationModal);
  QCOMPARE(seen.icon, icon);
  QCOMPARE(seen.text, shownText);
  QCOMPARE(seen.format, Qt::PlainText);
  QCOMPARE(seen.title, shownTitle);
  QCOMPARE(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
  QVERIFY(!QApplication::activeModalWidget());
}

void DesktopTest::linkOpenerReportsWhetherItOpened_data() {
  QTest::addColumn<QString>("target");
  QTest::addColumn<QByteArray>("xdgOpen");  // what the fake xdg-open does; empty: there is none
  QTest::addColumn<bool>("opened");
  QTest::addColumn<QString>("arguments");  // what it was given, each followed by "|"

  const QString mail = "mailto:kavrel@example.org";
  const QString help = "https://www.example.org/logiciels/data/Kavrel/aide";
  QTest::newRow("mail program found") << mail << QByteArray("exit 0") << true << mail + "|";
  QTest::newRow("help page, browser found") << help << QByteArray("exit 0") << true << help + "|";
  QTest::newRow("no mail program: exit 3") << mail << QByteArray("exit 3") << false << mail + "|";
  QTest::newRow("xdg-open crashes") << mail << QByteArray("kill -SEGV $$") << false << mail + "|";
  QTest::newRow("still opening after the wait: a browser in the foreground")
      << help << QByteArray("exec /bin/sleep 2") << true << help + "|";
  QTest::newRow("no xdg-open at all") << mail << QByteArray() << false << "";
  QTest::newRow("nothing to open") << "" << QByteArray("exit 0") << false << "";
  QTest::newRow("malformed address") << "http://[kavrel" << QByteArray("exit 0") << false << "";
}

void DesktopTest::linkOpenerReportsWhetherItOpened() {
  QFETCH(QString, target);
  QFETCH(QByteArray, xdgOpen);
  QFETCH(bool, opened);
  QFETCH(QString, arguments);
  kavrel::testing::FakeXdgOpen fake(xdgOpen.isEmpty() ? nullptr : xdgOpen.constData());
  QtLinkOpener links(std::chrono::milliseconds(500));
  QElapsedTimer clock;
  clock.start();
  QCOMPARE(links.open(target), opened);
  QVERIFY(clock.elapsed() < 1500);  // the wait is bounded
  QCOMPARE(fake.arguments(), arguments);
}

void DesktopTest::printedNumber_data() {
  QTest::addColumn<qlonglong>("number");
  QTest::addColumn<QString>("printed");
  QTest::newRow("first page") << 1LL << " 1 ";
  QTest::newRow("two digits") << 12LL << " 12 ";
  QTest::newRow("zero") << 0LL << " 0 ";
  QTest::newRow("negative") << -3LL << "-3 ";
}

void DesktopTest::printedNumber() {
  QFETCH(qlonglong, number);
  QFETCH(QString, printed);
  QCOMPARE(kavrel::ui::printedNumber(number), printed);
}

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
