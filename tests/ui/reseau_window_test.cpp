// The network's window on a base of the test's own: a table imported through the window
// and its numbers in the observers' and month's tabs; refused rows listed and imported
// only when the user says so; foreign files refused with a message, the base open kept;
// every control named for a screen reader, access keys unique; the month's bulletin
// printed; and the Journal window sending its month into the same base.
#include <QtTest>
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include "common/calendar_date.h"
#include "host/qt_text.h"
#include "programs/journal/journal_window.h"
#include "programs/reseau/reseau_window.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::testing;

namespace {

QString write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
  return path;
}

// Two observers on the same 120 days, 2013-11-01 to 2014-02-28, SILSO 60 each day: A
// counts R = 50 in 2013 and 40 in 2014 (k 1,2 then 1,5), B counts 60 throughout (k 1).
QByteArray twoObservers() {
  QByteArray csv = "observer;instrument;date;time_ut;quality;g;f\n";
  const int first = reseau::dayNumber({2013, 11, 1});
  for (int day = first; day < first + 120; ++day) {
    const reseau::Day d = reseau::dayOfNumber(day);
    const QByteArray date = QStringLiteral("%1-%2-%3").arg(d.year).arg(d.month, 2, 10, QChar('0'))
                                .arg(d.day, 2, 10, QChar('0')).toUtf8();
    csv += "A;R 80;" + date + ";09:00;3;" + (d.year == 2013 ? "4;10\n" : "3;10\n");
    csv += "B;R 100;" + date + ";10:00;4;5;10\n";
  }
  return csv;
}

QByteArray silso() {
  QByteArray text;
  const int first = reseau::dayNumber({2013, 1, 1});
  for (int day = first; day < first + 500; ++day) {
    const reseau::Day d = reseau::dayOfNumber(day);
    text += QStringLiteral("%1;%2;%3;%1.500;   60;  5.0;  20;1\n")
                .arg(d.year).arg(d.month, 2, 10, QChar('0')).arg(d.day, 2, 10, QChar('0')).toUtf8();
  }
  return text;
}

QStringList row(QTableWidget* table, int r) {
  QStringList cells;
  for (int c = 0; c < table->columnCount(); ++c) cells << table->item(r, c)->text();
  return cells;
}

struct Fixture : OpenWindow<reseau::ReseauWindow> {
  QTemporaryDir dir;
  QString base = dir.filePath("reseau.sqlite");
  // The answers the refusal dialog gave, and what it was shown.
  bool importValid = false;
  QStringList refusalLines;
  QString question;

  Fixture() {
    auto opened = reseau::Store::open(base.toStdString());
    const journal::SilsoFile file = journal::parseSilso(silso().toStdString(), journal::SilsoFile::Kind::Total);
    if (!opened.store || !file.error.empty() || !opened.store->importSilso(file).done()) qFatal("no base");
    opened.store.reset();
    w().setRefusalDialog([this](const QString&, const QStringList& lines, const QString& asked) {
      refusalLines = lines;
      question = asked;
      return importValid;
    });
    w().openBase(base);
  }
  int stored(int year, int month) const { return static_cast<int>(window->store()->month(year, month).value.size()); }
};

}  // namespace

class ReseauWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", m_home->path().toUtf8());
  }

  void anImportedTableShowsItsKDriftAndMonth() {
    Fixture f;
    f.w().importPath(write(f.dir.filePath("mois.csv"), twoObservers()));
    QCOMPARE(f.desktop.messages.shown.size(), 0u);
    QVERIFY(f.w().text("lblEtat").contains(QStringLiteral("Observations importées : 240")));
    QTableWidget* observers = f.w().observerTable();
    QCOMPARE(observers->rowCount(), 2);
    // k over both years: 120 × 60 / (61 × 50 + 59 × 40); the yearly k rise by 0,3 a year.
    QCOMPARE(row(observers, 0), QStringList({"A", "A", "120", "120", "1,3309", "+0,3000",
                                             "1,2000 (2013) → 1,5000 (2014)"}));
    QCOMPARE(row(observers, 1), QStringList({"B", "B", "120", "120", "1,0000", "+0,0000",
                                             "1,0000 (2013) → 1,0000 (2014)"}));
    f.w().showMonthOf(2014, 2);
    QTableWidget* month = f.w().monthTable();
    QCOMPARE(month->rowCount(), 2);
    // The k the network's number took in 2014: the one known before, 2013's.
    QCOMPARE(row(month, 0), QStringList({"A", "28", "40,0", "1,2000", "48,0"}));
    QCOMPARE(row(month, 1), QStringList({"B", "28", "60,0", "1,0000", "60,0"}));
    QVERIFY(f.w().monthSummary()->text().startsWith(QStringLiteral("Bulletin du réseau — février 2014")));
    QVERIFY(f.w().monthSummary()->text().contains(QStringLiteral("Moyenne mensuelle SILSO : 60,0")));
    // Imported again, the same file changes nothing.
    f.w().importPath(f.dir.filePath("mois.csv"));
    QVERIFY(f.w().text("lblEtat").contains(QStringLiteral("rien n'a changé")));
    QCOMPARE(f.stored(2014, 2), 56);
  }

  // A base without observations shows the current month, not the year field's lowest;
  // the first import then shows its last month.
  void theMonthShownIsTodaysThenTheLastImported() {
    Fixture f;
    const QDate today = QDate::currentDate();
    const QString title = QStringLiteral("Bulletin du réseau — %1 %2");
    QVERIFY(f.w().monthSummary()->text().startsWith(
        title.arg(toQString(monthName(today.month()))).arg(today.year())));
    f.w().importPath(write(f.dir.filePath("mois.csv"), twoObservers()));
    QVERIFY(f.w().monthSummary()->text().startsWith(title.arg(QStringLiteral("février")).arg(2014)));
  }

  void refusedRowsAreListedAndImportedOnlyWhenAsked_data() {
    QTest::addColumn<bool>("importValid");
    QTest::addColumn<int>("stored");
    QTest::newRow("the user declines: nothing written") << false << 0;
    QTest::newRow("the user imports the valid rows") << true << 2;
  }
  void refusedRowsAreListedAndImportedOnlyWhenAsked() {
    QFETCH(bool, importValid);
    QFETCH(int, stored);
    Fixture f;
    f.importValid = importValid;
    f.w().importPath(write(f.dir.filePath("t.csv"), "observer;date;g;f\nA;2014-02-03;2;5\nA;2014-02-04;5;3\n"
                                                    "B;2014-02-04;0;0\n"));
    QCOMPARE(f.refusalLines.size(), 1);
    QVERIFY(f.refusalLines[0].startsWith(QStringLiteral("ligne 3 : ")));
    QCOMPARE(f.question, QStringLiteral("Importer les 2 lignes valables ?"));
    QCOMPARE(f.stored(2014, 2), stored);
  }

  void foreignFilesAreRefusedWithAMessage_data() {
    QTest::addColumn<bool>("asBase");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("a text opened as a base") << true << QByteArray("ceci n'est pas une base\n");
    QTest::newRow("another program's SQLite opened as a base")
        << true << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\0');
    QTest::newRow("an image imported") << false << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  }

  // Read whole and closed by the import, the open base would lose its locks.
  void theOpenBaseIsNotImportedIntoItself() {
    Fixture f;
    f.w().importPath(f.base);
    QCOMPARE(f.desktop.messages.shown.size(), 1u);
    QVERIFY(f.w().text("lblEtat").contains(QStringLiteral("est la base ouverte")));
  }
  void foreignFilesAreRefusedWithAMessage() {
    QFETCH(bool, asBase);
    QFETCH(QByteArray, bytes);
    Fixture f;
    const QString path = write(f.dir.filePath("etranger"), bytes);
    const QString before = f.w().text("lblBaseNom");
    if (asBase) {
      f.w().openBase(path);
      QCOMPARE(f.desktop.messages.shown.size(), 1u);
    } else {
      f.w().importPath(path);
      QVERIFY(f.desktop.messages.shown.size() + f.refusalLines.size() >= 1);
    }
    QCOMPARE(f.w().text("lblBaseNom"), before);
    QCOMPARE(f.stored(2014, 2), 0);
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), bytes);
  }

  // Asked again with why, until the user gives up; the base open stays, and the password
  // typed is neither shown again nor named in the base's line.
  void aServerRefusedIsAskedAgainWithWhy_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("problem");
    QTest::newRow("no host") << "" << "5432" << "Donnez l'hôte et la base";
    QTest::newRow("a port that is no number") << "localhost" << "cinq" << "Donnez l'hôte et la base";
    QTest::newRow("no server answers") << "127.0.0.1" << "1" << "";
  }
  void aServerRefusedIsAskedAgainWithWhy() {
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(QString, problem);
    Fixture f;
    const QString before = f.w().text("lblBaseNom");
    QStringList problems;
    QList<reseau::ServerAnswer> shown;
    f.w().setServerDialog([&](const reseau::ServerAnswer& last,
                              const QString& why) -> std::optional<reseau::ServerAnswer> {
      shown << last;
      problems << why;
      if (problems.size() > 1) return std::nullopt;
      return reseau::ServerAnswer{host, port, "reseau", "marie", "secret"};
    });
    f.w().button("cmdServeur")->click();
    QCOMPARE(problems.size(), 2);
    QVERIFY2(!problems[1].isEmpty() && problems[1].startsWith(problem), qPrintable(problems[1]));
    QCOMPARE(shown[1].host, host);
    QCOMPARE(shown[1].password, QString());
    QCOMPARE(f.w().text("lblBaseNom"), before);
    QVERIFY(!f.w().text("lblEtat").contains(QStringLiteral("secret")));
  }

  void everyControlIsNamedAndItsAccessKeyUnique() {
    Fixture f;
    const QStringList named = {"lblBaseNom", "cmdOuvrir", "cmdServeur", "cmdImporter", "cmdImprimer", "Command1",
                               "cmdMenu", "grdObservateurs", "grdMois", "cboMois", "spnAnnee", "picGraphique",
                               "optMensuel", "optK", "optObservateurs", "lblResume"};
    for (const QString& name : named) {
      QWidget* control = f.w().findChild<QWidget*>(name);
      QVERIFY2(control, qPrintable(name));
      QVERIFY2(!accessibleName(control).isEmpty(), qPrintable(name));
    }
    QVERIFY(accessibleName(f.w().control("lblBaseNom")).startsWith(QStringLiteral("Base ouverte")));
    // Each "&x" of the window once, its tabs' included.
    QStringList keys;
    const QRegularExpression key(QStringLiteral("&([^&])"));
    QStringList captions;
    for (auto* button : f.w().findChildren<QAbstractButton*>()) captions << button->text();
    for (auto* label : f.w().findChildren<QLabel*>()) captions << label->text();
    for (int i = 0; i < f.w().tabs()->count(); ++i) captions << f.w().tabs()->tabText(i);
    for (const QString& caption : captions)
      if (const auto match = key.match(caption); match.hasMatch()) keys << match.captured(1).toLower();
    QVERIFY(keys.size() >= 14);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
  }

  void theMonthsBulletinIsPrinted() {
    Fixture f;
    f.w().importPath(write(f.dir.filePath("mois.csv"), twoObservers()));
    f.w().showMonthOf(2014, 2);
    const QString pdf = f.dir.filePath("bulletin.pdf");
    ui::DocumentPrinter::Hooks hooks;
    hooks.askSavePdf = [](const QString&) { return ui::DocumentPrinter::Choice::SavePdf; };
    hooks.askPdfPath = [pdf](const QString&) { return pdf; };
    // No print server answers (CUPS_SERVER): the PDF is offered, never a printer asked.
    hooks.askDestination = [](const QStringList&, const QString&) {
      return std::optional<ui::DocumentPrinter::Destination>{};
    };
    f.w().setPrinterHooks(hooks);
    f.w().button("cmdImprimer")->click();
    QProcess text;
    text.start("/usr/bin/pdftotext", {pdf, "-"});
    text.waitForFinished();
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(printed.contains(QStringLiteral("Bulletin du réseau — février 2014")), qPrintable(printed));
  }

  void theJournalSendsItsMonthIntoTheBase() {
    Fixture f;
    OpenWindow<journal::JournalWindow> journal;
    const QStringList fields = {"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute",
                                "txtGNord", "txtFNord", "txtGSud", "txtFSud"};
    const QStringList typed = {"3", "2", "2014", "9", "05", "2", "5", "1", "4"};
    for (int i = 0; i < fields.size(); ++i) {
      retype(journal.w(), fields[i], typed[i]);
      QTest::keyClick(journal.w().textBox(fields[i]), Qt::Key_Return);
    }
    QString asked;
    journal.w().setNetworkDialog([&](const QString& shown) {
      asked = shown;
      return journal::JournalWindow::NetworkAnswer{f.base, QString()};
    });
    journal.w().button("cmdEnvoyer")->click();
    QCOMPARE(journal.desktop.messages.shown.size(), 0u);
    QVERIFY2(journal.w().text("lblEtat").startsWith(QStringLiteral("Mois envoyé au réseau : ")),
             qPrintable(journal.w().text("lblEtat")));
    const auto month = f.w().store()->month(2014, 2);
    QCOMPARE(month.value.size(), 1u);
    QCOMPARE(month.value[0].disc.groups, 3);
    QCOMPARE(month.value[0].disc.spots, 9);
    // Sent again, the base is told the same month and the next dialog offers the same base.
    journal.w().button("cmdEnvoyer")->click();
    QCOMPARE(asked, f.base);
    QCOMPARE(f.w().store()->month(2014, 2).value.size(), 1u);
  }

 private:
  std::unique_ptr<QTemporaryDir> m_home;
};

QTEST_MAIN(ReseauWindowTest)
#include "reseau_window_test.moc"
