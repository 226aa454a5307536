// Printing the solar report through a real print server: a scheduler started here in a
// private folder, with a PDF queue on the PDF printer driver, and the program's window
// pointed at it through CUPS_SERVER. Each row sets the server up as a user may find it
// (queue taking jobs, refusing them, a device that fails, the server stopped) and reads
// what the user is told and where the page went: the job's file on the server, or the
// PDF offered in its place, read back with pdftotext. Disque asks first which printer and
// how many copies, read back from the server's jobs.
#include <QtTest>

#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cups/cups.h>
#include <unistd.h>

#include "programs/dalvoren/dalvoren_window.h"
#include "programs/disque/disque_window.h"
#include "tests/ui/window_test_support.h"
#include "ui/document_printer.h"
#include "ui/doubles.h"
#include "ui/qt_line_printer.h"

using namespace kavrel;
using Choice = ui::DocumentPrinter::Choice;

namespace {

const QString kScheduler = QStringLiteral("/usr/sbin/cupsd");
const QString kPdfDriver = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
const QString kPdfToText = QStringLiteral("/usr/bin/pdftotext");

// The report of the window as opened on 6 December 2001 at 09:05, as pdftotext reads it.
const QStringList kReport = {
    "Aspect du Soleil - page 1",
    "Date : 6.12.2001 à 9h 5min",
    "Jour julien : 2452249,878",
    "Ascension droite : 16,5153( hh.mmss)",
    "Déclinaison : -22,3059( °. ' \" )",
    "Rotation synodique : 1983",
    "Demi diamètre apparent : 16 15,5( ' \" )",
    "P : 13,93°",
    "Bo : 0,18°",
    "Lo : 57,27°",
};

QStringList textOf(const QString& pdf) {
  QProcess process;
  process.start(kPdfToText, {"-layout", "-enc", "UTF-8", pdf, "-"});
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
  QStringList lines;
  for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(u'\n')) {
    if (!line.trimmed().isEmpty()) lines << line.simplified().remove(u'\f');
  }
  return lines;
}

// The copies asked of the server's job `job`; 0 when it says nothing of them.
int copiesOf(int job) {
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/jobs/%d", job);
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "copies");
  ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
  ipp_attribute_t* attribute = response ? ippFindAttribute(response, "copies", IPP_TAG_INTEGER) : nullptr;
  const int copies = attribute ? ippGetInteger(attribute, 0) : 0;
  ippDelete(response);
  return copies;
}

// Every job the server has had on `printer`, finished or not: its number and copies.
QMap<int, int> jobsOn(const char* printer) {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, printer, 0, CUPS_WHICHJOBS_ALL);
  QMap<int, int> copies;
  for (int i = 0; i < count; ++i) copies.insert(jobs[i].id, copiesOf(jobs[i].id));
  cupsFreeJobs(count, jobs);
  return copies;
}

// A backend that keeps what it is sent, and one whose device is missing.
constexpr const char* kKeepBackend =
    "#!/bin/sh\n[ $# -eq 0 ] && exit 0\ncat \"${6:--}\" > \"$(dirname \"$0\")/../../out/job-$1\"\n";
constexpr const char* kFailBackend = "#!/bin/sh\n[ $# -eq 0 ] && exit 0\ncat > /dev/null\necho 'ERROR: no device' >&2\nexit 1\n";

}  // namespace

class PrintServerTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  // Before report(), whose last row stops the server.
  void disqueAsksWhereToPrint_data();
  void disqueAsksWhereToPrint();
  void report_data();
  void report();

 private:
  bool run(const QString& program, const QStringList& arguments);
  QString file(const QString& name) const { return m_dir.filePath(name); }
  QStringList jobFiles() const;

  QTemporaryDir m_dir{QDir::temp().filePath(QStringLiteral("kavrel-cups-XXXXXX"))};
  QProcess m_scheduler;
  QString m_socket;
};

bool PrintServerTest::run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QStringList PrintServerTest::jobFiles() const {
  QStringList files;
  for (const QString& name : QDir(file("spool")).entryList({"d*"}, QDir::Files, QDir::Name)) files << file("spool/" + name);
  return files;
}

void PrintServerTest::initTestCase() {
  if (geteuid() != 0) QSKIP("the print server runs as root (as in CI); not root here");
  for (const QString& needed : {kScheduler, kPdfDriver, kPdfToText, QStringLiteral("/usr/sbin/lpadmin")}) {
    if (!QFile::exists(needed)) QSKIP(qPrintable(needed + " is not installed (cups, printer-driver-cups-pdf, poppler-utils)"));
  }
  QVERIFY(m_dir.isValid());
  // The filters run as the scheduler's own user: the folder is theirs to read.
  QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) | QFile::ReadGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::ExeOther);
  for (const char* folder : {"conf", "spool/tmp", "log", "cache", "state", "bin/backend", "out"}) {
    QVERIFY(QDir(m_dir.path()).mkpath(QString::fromUtf8(folder)));
  }
  for (const char* part : {"cgi-bin", "daemon", "filter", "monitor", "notifier", "driver"}) {
    QFile::link(QStringLiteral("/usr/lib/cups/") + part, file(QStringLiteral("bin/") + part));
  }
  const auto write = [this](const QString& name, const QByteArray& content, bool executable = false) {
    QFile out(file(name));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(content);
    out.close();
    if (executable) out.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  };
  write("bin/backend/keep", kKeepBackend, true);
  write("bin/backend/fail", kFailBackend, true);
  m_socket = file("sock");
  write("conf/cupsd.conf", ("Listen " + m_socket +
                            "\nLogLevel warn\nPreserveJobFiles Yes\nBrowsing No\nWebInterface No\n"
                            "DefaultAuthType None\n<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                            "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n")
                               .toUtf8());
  QByteArray files = "SystemGroup root\nSandboxing Relaxed\nDataDir /usr/share/cups\n";
  for (const auto& [key, folder] : std::initializer_list<std::pair<const char*, const char*>>{
           {"ServerRoot", "conf"}, {"RequestRoot", "spool"}, {"TempDir", "spool/tmp"}, {"CacheDir", "cache"},
           {"StateDir", "state"}, {"ServerBin", "bin"}, {"ErrorLog", "log/error_log"},
           {"AccessLog", "log/access_log"}, {"PageLog", "log/page_log"}}) {
    files += QByteArray(key) + ' ' + file(QString::fromUtf8(folder)).toUtf8() + '\n';
  }
  write("conf/cups-files.conf", files);

  m_scheduler.start(kScheduler, {"-f", "-c", file("conf/cupsd.conf"), "-s", file("conf/cups-files.conf")});
  if (!m_scheduler.waitForStarted(5000)) QSKIP("cupsd cannot start here");
  QDeadlineTimer listening(10000);
  while (!QFile::exists(m_socket) && !listening.hasExpired() && m_scheduler.state() == QProcess::Running) {
    QTest::qWait(20);
  }
  if (!QFile::exists(m_socket)) QSKIP(qPrintable("cupsd did not start: " + m_scheduler.readAllStandardError()));
  qputenv("CUPS_SERVER", m_socket.toUtf8());  // before anything of the test asks the server
  QVERIFY(run("/usr/sbin/lpadmin", {"-p", "PDF", "-E", "-v", "keep:/", "-P", kPdfDriver}));
  // Without filters, the failing device is reached at once: the job is held well within
  // the moment the printer watches it, even on a busy machine.
  QVERIFY(run("/usr/sbin/lpadmin", {"-p", "Panne", "-E", "-v", "fail:/", "-m", "raw"}));
  QVERIFY(run("/usr/sbin/lpadmin", {"-d", "PDF"}));
  // The program's main font, pinned so that the report lays out alike everywhere.
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
}

void PrintServerTest::cleanupTestCase() {
  if (m_scheduler.state() == QProcess::NotRunning) return;
  m_scheduler.terminate();
  if (!m_scheduler.waitForFinished(5000)) m_scheduler.kill();
  m_scheduler.waitForFinished(5000);
}

void PrintServerTest::disqueAsksWhereToPrint_data() {
  QTest::addColumn<bool>("chosen");  // false: the dialog cancelled
  QTest::newRow("the other printer, 2 copies") << true;
  QTest::newRow("cancelled") << false;
}

// The default printer is the failing one: a job there would be held and said.
void PrintServerTest::disqueAsksWhereToPrint() {
  QFETCH(bool, chosen);
  QVERIFY(run("/usr/sbin/cupsaccept", {"PDF"}));
  QVERIFY(run("/usr/sbin/lpadmin", {"-d", "Panne"}));
  const QMap<int, int> before = jobsOn("PDF");
  const QMap<int, int> beforeElsewhere = jobsOn("Panne");

  QList<QStringList> asked;
  {
    testing::OpenWindow<disque::Disque> f;
    f.w().setPrintDialog([&](const QStringList& printers, const QString& preferred) {
      asked << (QStringList(printers) << preferred);
      return chosen ? std::optional(ui::DocumentPrinter::Destination{.printer = "PDF", .copies = 2}) : std::nullopt;
    });
    qobject_cast<QPushButton*>(f.w().control("cmdImprimer"))->click();

    QCOMPARE(asked, QList<QStringList>{(QStringList{"Panne", "PDF", "Panne"})});
    QMap<int, int> added = jobsOn("PDF");
    for (const int job : before.keys()) added.remove(job);
    QCOMPARE(jobsOn("Panne"), beforeElsewhere);
    QStringList texts;
    for (const auto& box : f.desktop.messages.shown) texts << box.text;
    QCOMPARE(texts, QStringList{});
    if (!chosen) {
      QCOMPARE(added, (QMap<int, int>{}));
      QCOMPARE(f.w().text("lblPhotoEtat"), QString());
      return;
    }
    QCOMPARE(added.size(), 1);
    QCOMPARE(added.first(), 2);
    QCOMPARE(f.w().text("lblPhotoEtat"), QString("Le travail n° %1 a été envoyé à « PDF ».").arg(added.firstKey()));
  }
}

void PrintServerTest::report_data() {
  QTest::addColumn<QList<QStringList>>("setUp");  // commands run before printing
  QTest::addColumn<bool>("stopServer");
  QTest::addColumn<QString>("offered");  // the reason the PDF is offered for; empty: none
  QTest::addColumn<QString>("shown");    // a message, as a pattern; empty: none
  QTest::addColumn<bool>("spooled");     // the report sent to the server

  QTest::newRow("queue taking jobs") << QList<QStringList>{} << false << "" << "" << true;
  QTest::newRow("queue refusing jobs")
      << QList<QStringList>{{"/usr/sbin/cupsreject", "-r", "Plus de papier", "PDF"}} << false
      << "L'imprimante « PDF » refuse les travaux : Plus de papier" << "" << false;
  QTest::newRow("device failing: the job held")
      << QList<QStringList>{{"/usr/sbin/lpadmin", "-d", "Panne"}} << false << ""
      << "^Le travail n° \\d+ est en attente sur « Panne » : no device$" << true;
  QTest::newRow("server stopped") << QList<QStringList>{} << true << "Le serveur d'impression « %1 » ne répond pas."
                                  << "" << false;
}

void PrintServerTest::report() {
  QFETCH(QList<QStringList>, setUp);
  QFETCH(bool, stopServer);
  QFETCH(QString, offered);
  QFETCH(QString, shown);
  QFETCH(bool, spooled);
  if (offered.contains(u"%1")) offered = offered.arg(m_socket);

  QVERIFY(run("/usr/sbin/cupsaccept", {"PDF"}));
  QVERIFY(run("/usr/sbin/lpadmin", {"-d", "PDF"}));
  for (const QStringList& command : setUp) QVERIFY(run(command.first(), command.mid(1)));
  if (stopServer) cleanupTestCase();
  const QStringList jobsBefore = jobFiles();

  ui::TestDesktop doubles;
  QStringList reasons;
  QStringList suggested;
  const QString pdf = file(QStringLiteral("offered-%1.pdf").arg(QTest::currentDataTag()).replace(u' ', u'-'));
  ui::DocumentPrinter::Hooks hooks;
  hooks.askSavePdf = [&](const QString& reason) {
    reasons << reason;
    return Choice::SavePdf;
  };
  hooks.askPdfPath = [&](const QString& path) {
    suggested << path;
    return pdf;
  };
  ui::DocumentPrinter documents(doubles.messages, hooks);
  ui::QtLinePrinter printer(documents);
  {
    auto* window = new dalvoren::Dalvoren({doubles.messages, doubles.clock, doubles.links, printer}, ",");
    window->load();
    QElapsedTimer clock;
    clock.start();
    window->button("cmdImprimer")->click();
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    delete window;
    testing::settle();
  }

  QCOMPARE(reasons, offered.isEmpty() ? QStringList{} : QStringList{offered});
  if (!offered.isEmpty()) {
    QCOMPARE(suggested, QStringList{QDir::home().filePath("Aspect du Soleil 2001-12-06 09h05.pdf")});
    QCOMPARE(textOf(pdf), kReport);
  }
  QStringList texts;
  for (const auto& box : doubles.messages.shown) texts << box.text;
  if (shown.isEmpty()) {
    QCOMPARE(texts, QStringList{});
  } else {
    QCOMPARE(texts.size(), 1);
    QVERIFY2(QRegularExpression(shown).match(texts.first()).hasMatch(), qPrintable(texts.first()));
  }
  const QStringList jobs = jobFiles();
  QCOMPARE(jobs.size(), jobsBefore.size() + (spooled ? 1 : 0));
  if (spooled) QCOMPARE(textOf(jobs.last()), kReport);
}

QTEST_MAIN(PrintServerTest)
#include "print_server_test.moc"
