// One journal shared by the Journal window and others at once, while the window shows its
// real file dialog on the journal's folder: the `kavrel journal` command, or a second
// window in another process (this test's binary started again, KAVREL_SECOND_WINDOW set).
// Every observation stored by anyone is in the journal at the end, and the file is sound.
#include <QtTest>

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <sqlite3.h>

#include "programs/journal/journal_window.h"
#include "host/qt_text.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::testing;

namespace {

using Window = OpenWindow<journal::JournalWindow>;

// Types the observation's day, time and disc counts, leaving each field with Enter.
void typeObservation(Window& f, const QStringList& texts) {
  f.w().setValue("chkDisque", 1);
  const QStringList fields = {"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute", "txtGDisque", "txtFDisque"};
  for (int i = 0; i < fields.size(); ++i) {
    retype(f.w(), fields[i], texts[i]);
    QTest::keyClick(f.w().textBox(fields[i]), Qt::Key_Return);
  }
}

// The second window: stores the observation of KAVREL_SECOND_WINDOW ("4 2 2014 10 30 2
// 2"), says "prête", closes when told, and exits with the number of messages it showed.
int secondWindow(int argc, char** argv) {
  QApplication application(argc, argv);
  int said = 0;
  {
    Window f;
    typeObservation(f, qEnvironmentVariable("KAVREL_SECOND_WINDOW").split(' '));
    QTextStream(stdout) << (f.w().currentObservation() ? "prête" : "refusée") << Qt::endl;
    QTextStream(stdin).readLine();
    f.w().close();
    said = static_cast<int>(f.desktop.messages.shown.size());
  }
  return said;
}

// The dialog's view of the folder once it lists the journal.
QAbstractItemView* listing(QFileDialog* dialog) {
  for (QAbstractItemView* view : dialog->findChildren<QAbstractItemView*>()) {
    if (!view->isVisible() || view->objectName() == "sidebar") continue;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
      if (view->model()->index(row, 0, root).data().toString() == "journal.sqlite") return view;
  }
  return nullptr;
}

// The journal's observations as "date time", and PRAGMA integrity_check's answer.
QStringList storedIn(const QString& path, QString& integrity) {
  sqlite3* db = nullptr;
  QStringList rows;
  if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT date || ' ' || time_ut FROM observations NOT INDEXED ORDER BY date, time_ut", -1,
                       &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW)
      rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW)
      integrity += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return rows;
}

}  // namespace

class JournalSharingTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", m_home->path().toUtf8());
  }

  // Others write the journal twice while the window holds it: once after its dialog was
  // shown, then again after the window read the month anew (a month browsed).
  void everyObservationKept_data() {
    QTest::addColumn<bool>("command");  // else a second window
    QTest::addColumn<bool>("reading");  // a dialog that reads the folder's files, else Qt's
    QTest::newRow("the window and the command") << true << false;
    QTest::newRow("two windows") << false << false;
    QTest::newRow("a dialog that reads the journal's files") << true << true;
  }
  void everyObservationKept() {
    QFETCH(bool, command);
    QFETCH(bool, reading);
    const QString journal = m_home->filePath("kavrel/journal.sqlite");
    auto f = std::make_unique<Window>();
    typeObservation(*f, {"3", "2", "2014", "9", "00", "1", "3"});
    QVERIFY(f->w().currentObservation() != 0);
    QStringList expected = {"2014-02-03 09:00", "2014-02-05 09:00", "2014-02-06 11:00"};

    // The second window, started; it stores its observation and closes when told.
    const auto startSecond = [&](QProcess& second, const QString& day) {
      second.setProgram(QCoreApplication::applicationFilePath());
      QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
      environment.insert("KAVREL_SECOND_WINDOW", day);
      second.setProcessEnvironment(environment);
      second.start();
      return second.waitForReadyRead(20000) && QString::fromUtf8(second.readLine()).trimmed() == "prête";
    };
    const auto closeSecond = [](QProcess& second) {
      second.write("\n");
      return second.waitForFinished(20000) && second.exitCode() == 0;
    };
    const auto kavrel = [&](const QStringList& words) {
      QProcess run;
      run.start(KAVREL_BINARY, QStringList{"journal", "--fichier", journal} + words);
      run.waitForFinished(20000);
      return QString::fromUtf8(run.exitCode() == 0 ? run.readAllStandardOutput() : run.readAllStandardError());
    };

    QProcess second;
    if (!command) {
      QVERIFY(startSecond(second, "4 2 2014 10 30 2 2"));
      expected << "2014-02-04 10:30";
    }

    // "Ouvrir un journal…" shows the real dialog on the journal's folder; it is cancelled
    // once its view has listed and painted the folder's files.
    f->w().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f->w()));
    bool listed = false;
    if (reading) {
      // As a platform's dialog or a thumbnailer may: each file opened, read and closed.
      f->w().setJournalDialog([&](const QString&) {
        for (const char* beside : {"-wal", "-shm", ""}) {
          QFile file(journal + beside);
          listed = file.open(QIODevice::ReadOnly) && !file.read(64).isEmpty();
        }
        return QString();
      });
    }
    QTimer::singleShot(0, [&] {
      QWidget* modal = nullptr;
      const int patience = reading ? 0 : 10000;  // a dialog that reads shows nothing
      (void)QTest::qWaitFor([&] { return (modal = QApplication::activeModalWidget()) != nullptr; }, patience);
      if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        listed = QTest::qWaitFor([&] { return listing(dialog) != nullptr; }, 10000);
        QTest::qWait(300);  // the types and icons asked for as the rows are painted
        if (listed) listing(dialog)->viewport()->grab();
      }
      if (modal) QTest::keyClick(modal, Qt::Key_Escape);
      if (modal && modal->isVisible()) modal->close();
    });
    QTest::mouseClick(f->w().button("cmdOuvrir"), Qt::LeftButton);
    QVERIFY(listed);
    QCOMPARE(toQString(f->w().journal()->path()), journal);

    if (command)
      QVERIFY(kavrel({"mois", "2", "2014"}).contains("Jours d'observation : 1"));
    else
      QVERIFY(closeSecond(second));
    f->w().button("cmdMoisSuivant")->click();
    f->w().button("cmdMoisPrecedent")->click();
    if (command) {
      QCOMPARE(kavrel({"ajouter", "2014-02-05", "09:00", "--disque", "1", "1"}),
               QStringLiteral("Observation enregistrée : R = 11\n"));
    } else {
      QProcess again;
      QVERIFY(startSecond(again, "5 2 2014 9 00 1 1"));
      QVERIFY(closeSecond(again));
    }
    f->w().button("cmdNouvelle")->click();
    typeObservation(*f, {"6", "2", "2014", "11", "00", "3", "9"});
    f->w().close();
    QCOMPARE(f->desktop.messages.shown.size(), 0u);
    f.reset();

    expected.sort();
    QString integrity;
    QCOMPARE(storedIn(journal, integrity), expected);
    QCOMPARE(integrity, QStringLiteral("ok"));
  }

 private:
  std::unique_ptr<QTemporaryDir> m_home;
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsSet("KAVREL_SECOND_WINDOW")) return secondWindow(argc, argv);
  QApplication application(argc, argv);
  JournalSharingTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "journal_sharing_test.moc"
