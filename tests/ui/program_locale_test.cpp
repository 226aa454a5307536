// The programs as shipped, started in a French session: every number they show at start
// has the decimal comma. Each executable runs unchanged, its clock set to 6 December 2001,
// 09:05 by libfaketime, its window read back by the window probe (window_probe/).
#include <QtTest>

#include <QProcess>

namespace {

// What one program showed, "name=text" by name.
QMap<QString, QString> shownAtStart(const QString& program) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("LC_ALL", "fr_FR.UTF-8");
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("QT_PLUGIN_PATH", KAVREL_WINDOW_PROBE_DIR);
  environment.insert("QT_QPA_GENERIC_PLUGINS", "kavrelwindowprobe");
  environment.insert("LD_PRELOAD", KAVREL_LIBFAKETIME);
  environment.insert("FAKETIME", "@2001-12-06 09:05:00");
  // libfaketime comes in ahead of the sanitizers' runtime in a sanitized build.
  environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
  process.setProcessEnvironment(environment);
  process.start(program, {});
  if (!process.waitForFinished(30000)) {
    process.kill();
    process.waitForFinished();
    qWarning() << program << "did not end";
    return {};
  }
  QMap<QString, QString> shown;
  for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
    const qsizetype equals = line.indexOf('=');
    if (equals > 0) shown.insert(line.left(equals), line.mid(equals + 1));
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    qWarning() << program << process.readAllStandardError();
  return shown;
}

}  // namespace

class ProgramLocaleTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (QString(KAVREL_LIBFAKETIME).isEmpty()) QSKIP("libfaketime is not installed (make deps)");
  }
  void decimalCommaAtStart_data();
  void decimalCommaAtStart();
};

void ProgramLocaleTest::decimalCommaAtStart_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QStringList>("shown");  // "name=text"
  QTest::newRow("Farrowel") << KAVREL_FARROWEL << QStringList{"lblJourJulien=2452249,878"};
  QTest::newRow("Kestrum") << KAVREL_KESTRUM << QStringList{"lblJourJulien=2452249,500"};
  QTest::newRow("Dalvoren") << KAVREL_DALVOREN
                            << QStringList{"lblJourJulien=2452249,878", "lblAD=16,5153", "lblLo=57,27"};
  QTest::newRow("Brennic") << KAVREL_BRENNIC
                           << QStringList{"lblJourJulien=2452249,500", "lblLoF=62,26"};
}

void ProgramLocaleTest::decimalCommaAtStart() {
  QFETCH(QString, program);
  QFETCH(QStringList, shown);
  const QMap<QString, QString> seen = shownAtStart(program);
  QVERIFY2(seen.contains("window"), qPrintable(program + " showed no window"));
  for (const QString& expected : shown) {
    const QString name = expected.section('=', 0, 0);
    QCOMPARE(name + "=" + seen.value(name, "(nothing)"), expected);
  }
}

QTEST_MAIN(ProgramLocaleTest)
#include "program_locale_test.moc"
