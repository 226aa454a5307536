// The line printer end to end, with a print server that does not answer (the test's
// environment points CUPS_SERVER at a socket nobody listens on): every document is
// offered as a PDF file, saved where the hooks answer, and read back with pdftotext (the
// text as a person reads it on paper: accents, degree signs, no ligatures, where each
// page breaks). The user's answers are given by hooks so that no dialog ever shows;
// the two dialogs themselves are driven at the end.
#include <QtTest>

#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <cerrno>

#include "ui/doubles.h"
#include "ui/qt_line_printer.h"
#include "ui/whole_file.h"

using namespace kavrel::ui;
using Choice = DocumentPrinter::Choice;

Q_DECLARE_METATYPE(Choice)

namespace {

const QString kPdfToText = QStringLiteral("/usr/bin/pdftotext");
constexpr const char* kNoPdfToText = "pdftotext (poppler-utils) is not installed";

// The nine lines of the solar report below its heading, as the window prints them.
const QStringList kReportBody = {
    "Date : 6.12.2001 à 9h 5min",
    "Jour julien : 2452249,878",
    "Ascension droite : 16,5153( hh.mmss)",
    "Déclinaison : -22,3059( °. ' \" )",
    "Rotation synodique : 1983",
    "Demi diamètre apparent : 16  15,5( '  \" )",
    "P : 13,93°",
    "Bo : 0,18°",
    "Lo : 57,27°",
};

// What a reader sees of a line: runs of spaces count as one, as pdftotext folds them.
QString folded(const QString& line) { return line.simplified(); }

QStringList folded(const QStringList& lines) {
  QStringList result;
  for (const QString& line : lines) result << folded(line);
  return result;
}

// The pages of a PDF file as pdftotext lays them out, each line folded; the blank lines
// pdftotext adds at the end of a page are dropped.
QList<QStringList> pagesOf(const QString& pdf) {
  QProcess process;
  process.start(kPdfToText, {"-layout", "-enc", "UTF-8", pdf, "-"});
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
  QList<QStringList> pages;
  QStringList pageTexts = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
  if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty()) pageTexts.removeLast();
  for (const QString& text : pageTexts) {
    QStringList lines = folded(text.split(u'\n'));
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    pages << lines;
  }
  return pages;
}

// The page size pdfinfo reads in a PDF file, as "595.276 x 841.89 pts (A4)".
QString pageSizeOf(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("/usr/bin/pdfinfo"), {pdf});
  if (!process.waitForFinished(30000)) return {};
  for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(u'\n')) {
    if (line.startsWith(QStringLiteral("Page size:"))) return line.mid(10).trimmed();
  }
  return {};
}

void printLines(LinePrinter& printer, const QStringList& lines) {
  for (const QString& line : lines) {
    printer.print(line);
    printer.endLine();
  }
}

// The user's answers when the document cannot be printed, and what was asked of them.
struct Answers {
  Choice choice = Choice::SavePdf;
  QString path;  // the file name given in the file dialog; empty: the dialog cancelled
  QStringList reasons;    // every reason the PDF was offered for
  QStringList suggested;  // every path the file dialog was opened on
};

DocumentPrinter::Hooks answering(Answers& answers) {
  DocumentPrinter::Hooks hooks;
  hooks.askSavePdf = [&answers](const QString& reason) {
    answers.reasons << reason;
    return answers.choice;
  };
  hooks.askPdfPath = [&answers](const QString& suggested) {
    answers.suggested << suggested;
    return answers.path;
  };
  return hooks;
}

// A line printer on a document printer whose questions `answers` answers.
struct Printer {
  RecordingMessageBox messages;
  DocumentPrinter documents;
  QtLinePrinter lines{documents};

  explicit Printer(Answers& answers) : documents(messages, answering(answers)) {}
};

QString serverDown() {
  return QString::fromUtf8(DocumentPrinter::kServerDownText).arg(QString::fromLocal8Bit(qgetenv("CUPS_SERVER")));
}

}  // namespace

class QtLinePrinterTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void linesComeBackAsPrinted_data();
  void linesComeBackAsPrinted();
  void pageCountsLinesThatFit_data();
  void pageCountsLinesThatFit();
  void longListGoesOnToASecondPage();
  void eachDocumentStartsOnPageOne();
  void openDocumentIsSentWhenThePrinterGoes();
  void withoutPrinter_data();
  void withoutPrinter();
  void offerBoxSaysWhyAndOffersPdfOrCancel_data();
  void offerBoxSaysWhyAndOffersPdfOrCancel();
  void pdfDialogOpensOnTheSuggestedFile();

 private:
  QTemporaryDir m_dir;
};

void QtLinePrinterTest::initTestCase() {
  QVERIFY(m_dir.isValid());
  // The printer's default font is the application's: pinned, so that a page holds the
  // same number of lines on every machine.
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
}

void QtLinePrinterTest::linesComeBackAsPrinted_data() {
  QTest::addColumn<QString>("heading");  // printed with the page number after it
  QTest::addColumn<QStringList>("body");
  QTest::addColumn<QStringList>("read");

  QTest::newRow("solar report: accents, degree signs, quotes")
      << "Aspect du Soleil - page " << kReportBody
      << (QStringList{"Aspect du Soleil - page 1"} + folded(kReportBody));
  QTest::newRow("rotation list heading")
      << "Kavrel - Rotations synodiques - page "
      << QStringList{"Rotations synodiques", "Le 07/01/2002 à 01 h 18 min TU, début de la rotation n° 1985"}
      << QStringList{"Kavrel - Rotations synodiques - page 1", "Rotations synodiques",
                     "Le 07/01/2002 à 01 h 18 min TU, début de la rotation n° 1985"};
  QTest::newRow("fi, fl, ff stay letters, not ligatures")
      << "" << QStringList{"fin de la rotation", "flèche, effet, affiché, ffl"}
      << QStringList{"fin de la rotation", "flèche, effet, affiché, ffl"};
  QTest::newRow("empty report fields") << "" << QStringList{"Date : .12.2026 à 9h 5min", "P : #############°"}
                                       << QStringList{"Date : .12.2026 à 9h 5min", "P : #############°"};
}

void QtLinePrinterTest::linesComeBackAsPrinted() {
  QFETCH(QString, heading);
  QFETCH(QStringList, body);
  QFETCH(QStringList, read);
  if (!QFile::exists(kPdfToText)) QSKIP(kNoPdfToText);

  Answers answers;
  const QString pdf = m_dir.filePath(QStringLiteral("lines.pdf"));
  answers.path = pdf;
  Printer p(answers);
  QtLinePrinter& printer = p.lines;
  if (!heading.isEmpty()) {
    printer.print(heading);
    printer.printNumber(printer.page());
    printer.endLine();
  }
  printLines(printer, body);
  printer.endDocument(QStringLiteral("Lignes"));

  QCOMPARE(pagesOf(pdf), QList<QStringList>{read});
  QVERIFY2(pageSizeOf(pdf).endsWith(QStringLiteral("(A4)")), qPrintable(pageSizeOf(pdf)));
  QVERIFY(p.messages.shown.empty());
  QCOMPARE(answers.reasons, QStringList{serverDown()});
}

void QtLinePrinterTest::pageCountsLinesThatFit_data() {
  QTest::addColumn<int>("fullPages");  // lines ended before page() is read: so many
  QTest::addColumn<int>("extra");      // pages' worth, plus these
  QTest::addColumn<bool>("lineStarted");  // and a text printed on the next line
  QTest::addColumn<int>("page");

  QTest::newRow("first line of a document") << 0 << 0 << false << 1;
  QTest::newRow("heading started, page number next") << 0 << 0 << true << 1;
  QTest::newRow("last line of the first page") << 1 << -1 << false << 1;
  QTest::newRow("heading started on the last line of page 1") << 1 << -1 << true << 1;
  QTest::newRow("first page full: next line on page 2") << 1 << 0 << false << 2;
  QTest::newRow("a line started on page 2") << 1 << 0 << true << 2;
  QTest::newRow("middle of page 2") << 1 << 10 << false << 2;
  QTest::newRow("two pages full") << 2 << 0 << false << 3;
}

void QtLinePrinterTest::pageCountsLinesThatFit() {
  QFETCH(int, fullPages);
  QFETCH(int, extra);
  QFETCH(bool, lineStarted);
  QFETCH(int, page);

  Answers answers;
  Printer p(answers);
  QtLinePrinter& printer = p.lines;
  const int perPage = printer.linesPerPage();
  // A4 in a 10-point font: between forty and a hundred lines.
  QVERIFY2(perPage > 40 && perPage < 100, qPrintable(QString::number(perPage)));
  for (int i = 0; i < fullPages * perPage + extra; ++i) printLines(printer, {QStringLiteral("ligne %1").arg(i)});
  if (lineStarted) printer.print(QStringLiteral("Kavrel - Rotations synodiques - page "));
  QCOMPARE(printer.page(), page);
}

// A list of 100 rotations under its two heading lines: 102 lines, two pages, the heading
// only at the top of the first.
void QtLinePrinterTest::longListGoesOnToASecondPage() {
  if (!QFile::exists(kPdfToText)) QSKIP(kNoPdfToText);
  Answers answers;
  const QString pdf = m_dir.filePath(QStringLiteral("list.pdf"));
  answers.path = pdf;
  Printer p(answers);
  QtLinePrinter& printer = p.lines;

  QStringList printed;
  QList<int> pages;  // page() just before each line
  pages << printer.page();
  printer.print(QStringLiteral("Kavrel - Rotations synodiques - page "));
  printer.printNumber(printer.page());
  printer.endLine();
  printed << QStringLiteral("Kavrel - Rotations synodiques - page 1");
  QStringList list{QStringLiteral("Rotations synodiques")};
  for (int n = 1; n <= 100; ++n) {
    list << QStringLiteral("Le 07/01/2002 à 01 h 18 min TU, début de la rotation n° %1").arg(1900 + n);
  }
  for (const QString& line : list) {
    pages << printer.page();
    printer.print(line);
    printer.endLine();
    printed << line;
  }
  const int perPage = printer.linesPerPage();
  QVERIFY2(perPage >= 51 && perPage < 102, qPrintable(QString::number(perPage)));
  printer.endDocument(QStringLiteral("Rotations"));

  QList<int> expectedPages;
  for (int i = 0; i < 102; ++i) expectedPages << (i < perPage ? 1 : 2);
  QCOMPARE(pages, expectedPages);
  const QList<QStringList> read = pagesOf(pdf);
  QCOMPARE(read, (QList<QStringList>{printed.mid(0, perPage), printed.mid(perPage)}));
  QVERIFY(p.messages.shown.empty());
}

void QtLinePrinterTest::eachDocumentStartsOnPageOne() {
  if (!QFile::exists(kPdfToText)) QSKIP(kNoPdfToText);
  Answers answers;
  Printer p(answers);
  QtLinePrinter& printer = p.lines;
  const QString first = m_dir.filePath(QStringLiteral("first.pdf"));
  const QString second = m_dir.filePath(QStringLiteral("second.pdf"));

  answers.path = first;
  const int perPage = printer.linesPerPage();
  for (int i = 0; i < perPage + 3; ++i) printLines(printer, {QStringLiteral("ligne %1").arg(i)});
  QCOMPARE(printer.page(), 2);
  printer.endDocument(QStringLiteral("Premier"));

  answers.path = second;
  QCOMPARE(printer.page(), 1);
  printer.print(QStringLiteral("Aspect du Soleil - page "));
  printer.printNumber(printer.page());
  printer.endLine();
  printer.print(kReportBody.first());  // left unfinished: ending the document ends it
  printer.endDocument(QStringLiteral("Second"));

  QCOMPARE(pagesOf(first).size(), 2);
  QCOMPARE(pagesOf(second),
           (QList<QStringList>{{"Aspect du Soleil - page 1", folded(kReportBody.first())}}));
  QVERIFY(p.messages.shown.empty());
}

void QtLinePrinterTest::openDocumentIsSentWhenThePrinterGoes() {
  if (!QFile::exists(kPdfToText)) QSKIP(kNoPdfToText);
  Answers answers;
  const QString pdf = m_dir.filePath(QStringLiteral("at-exit.pdf"));
  answers.path = pdf;
  {
    Printer p(answers);
    printLines(p.lines, {QStringLiteral("Rotations synodiques")});
    QVERIFY(!QFile::exists(pdf));  // nothing goes out before the document ends
  }
  QCOMPARE(pagesOf(pdf), (QList<QStringList>{{"Rotations synodiques"}}));
}

void QtLinePrinterTest::withoutPrinter_data() {
  QTest::addColumn<bool>("report");   // the report printed; false: nothing printed
  QTest::addColumn<QString>("name");  // of the document
  QTest::addColumn<Choice>("choice");
  QTest::addColumn<QString>("fileName");  // answered in the file dialog, in the temp dir
  QTest::addColumn<int>("offers");
  QTest::addColumn<QString>("suggested");  // in the home folder; empty: no dialog
  QTest::addColumn<bool>("written");
  QTest::addColumn<QStringList>("messages");

  const QString pdfFailed = QString::fromUtf8(DocumentPrinter::kPdfFailedText);
  const QString aspect = QStringLiteral("Aspect du Soleil 2001-12-06 09h05");
  QTest::newRow("saved as PDF, named after the report")
      << true << aspect << Choice::SavePdf << "rapport.pdf" << 1 << aspect + ".pdf" << true << QStringList{};
  QTest::newRow("cancelled: nothing written, nothing shown")
      << true << aspect << Choice::Cancel << "rapport.pdf" << 1 << "" << false << QStringList{};
  QTest::newRow("file dialog cancelled")
      << true << "Rotations 2000-01-01 2000-06-01" << Choice::SavePdf << "" << 1
      << "Rotations 2000-01-01 2000-06-01.pdf" << false << QStringList{};
  QTest::newRow("a slash in the name is no folder")
      << true << "Rotations 1/2" << Choice::SavePdf << "" << 1 << "Rotations 1-2.pdf" << false << QStringList{};
  QTest::newRow("no name: the suite's") << true << "" << Choice::SavePdf << "" << 1 << "Kavrel.pdf" << false
                                        << QStringList{};
  QTest::newRow("PDF in a folder that does not exist")
      << true << aspect << Choice::SavePdf << "absent/rapport.pdf" << 1 << aspect + ".pdf" << false
      << QStringList{pdfFailed.arg(QStringLiteral("%1"), fileErrorReason(ENOENT))};  // %1: the path
  QTest::newRow("nothing printed: nothing asked")
      << false << aspect << Choice::SavePdf << "rapport.pdf" << 0 << "" << false << QStringList{};
}

void QtLinePrinterTest::withoutPrinter() {
  QFETCH(bool, report);
  QFETCH(QString, name);
  QFETCH(Choice, choice);
  QFETCH(QString, fileName);
  QFETCH(int, offers);
  QFETCH(QString, suggested);
  QFETCH(bool, written);
  QFETCH(QStringList, messages);

  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  Answers answers;
  answers.choice = choice;
  answers.path = fileName.isEmpty() ? QString() : dir.filePath(fileName);
  Printer p(answers);
  QtLinePrinter& printer = p.lines;
  if (report) {
    printer.print(QStringLiteral("Aspect du Soleil - page "));
    printer.printNumber(printer.page());
    printer.endLine();
    printLines(printer, kReportBody);
  }
  printer.endDocument(name);

  QCOMPARE(answers.reasons, QStringList(offers, serverDown()));
  QCOMPARE(answers.suggested, suggested.isEmpty() ? QStringList{} : QStringList{QDir::home().filePath(suggested)});
  QCOMPARE(!answers.path.isEmpty() && QFile::exists(answers.path), written);
  QStringList texts;
  for (const auto& box : p.messages.shown) {
    texts << box.text;
    QCOMPARE(box.style, kStyleExclamation);
  }
  for (QString& message : messages) message = message.arg(answers.path);
  QCOMPARE(texts, messages);
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), written ? 1 : 0);
  if (written && QFile::exists(kPdfToText)) {
    QCOMPARE(pagesOf(answers.path),
             (QList<QStringList>{QStringList{"Aspect du Soleil - page 1"} + folded(kReportBody)}));
  }
  // The printer is ready for the next document, on page 1.
  QCOMPARE(printer.page(), 1);
}

void QtLinePrinterTest::offerBoxSaysWhyAndOffersPdfOrCancel_data() {
  QTest::addColumn<QString>("button");  // clicked; empty: the box closed with Escape
  QTest::addColumn<Choice>("choice");
  QTest::newRow("save as PDF") << QString::fromUtf8(DocumentPrinter::kSavePdfButton) << Choice::SavePdf;
  QTest::newRow("cancel") << QString::fromUtf8(DocumentPrinter::kCancelButton) << Choice::Cancel;
  QTest::newRow("Escape cancels") << QString() << Choice::Cancel;
}

void QtLinePrinterTest::offerBoxSaysWhyAndOffersPdfOrCancel() {
  QFETCH(QString, button);
  QFETCH(Choice, choice);

  struct Seen {
    QString text;
    QStringList buttons;
    Qt::WindowModality modality = Qt::NonModal;
  } seen;
  QTimer::singleShot(0, this, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box);
    seen.text = box->text();
    seen.modality = box->windowModality();
    for (QAbstractButton* each : box->buttons()) seen.buttons << each->text();
    if (button.isEmpty()) {
      QTest::keyClick(box, Qt::Key_Escape);
      return;
    }
    for (QAbstractButton* each : box->buttons()) {
      if (each->text() == button) each->click();
    }
  });
  const QString reason = QStringLiteral("L'imprimante « PDF » refuse les travaux : Plus de papier");
  QCOMPARE(DocumentPrinter::askSavePdfWithMessageBox(reason), choice);
  QCOMPARE(seen.text, reason);
  seen.buttons.sort();
  QCOMPARE(seen.buttons, (QStringList{"Annuler", "Enregistrer en PDF…"}));
  QCOMPARE(seen.modality, Qt::ApplicationModal);
  QVERIFY(!QApplication::activeModalWidget());
}

// The file dialog opens on the suggested file and gives back what is accepted, with the
// ".pdf" suffix added to a name typed without it; an existing file is only given back
// once its replacement is confirmed.
void QtLinePrinterTest::pdfDialogOpensOnTheSuggestedFile() {
  const QString suggested = m_dir.filePath(QStringLiteral("Aspect du Soleil 2001-12-06 09h05.pdf"));
  QStringList seenSelection;
  QTimer::singleShot(0, this, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    seenSelection = dialog->selectedFiles();
    dialog->selectFile(QStringLiteral("rapport"));
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept(), as the Save button
  });
  QCOMPARE(DocumentPrinter::askPdfPathWithDialog(suggested), m_dir.filePath(QStringLiteral("rapport.pdf")));
  QCOMPARE(seenSelection, QStringList{suggested});

  QTimer::singleShot(0, this, [] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
  QCOMPARE(DocumentPrinter::askPdfPathWithDialog(suggested), QString());

  // An existing file: the dialog asks; "No" keeps the dialog open, "Yes" gives the file.
  QFile existing(suggested);
  QVERIFY(existing.open(QIODevice::WriteOnly));
  existing.close();
  QStringList asked;
  const auto answer = [&](QMessageBox::StandardButton button, auto next) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    asked << box->text();
    box->button(button)->click();
    next();
  };
  QTimer::singleShot(0, this, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    QTimer::singleShot(0, this, [&, dialog] {
      answer(QMessageBox::No, [&, dialog] {
        QTimer::singleShot(0, this, [&] { answer(QMessageBox::Yes, [] {}); });
        static_cast<QDialog*>(dialog)->accept();
      });
    });
    static_cast<QDialog*>(dialog)->accept();
  });
  QCOMPARE(DocumentPrinter::askPdfPathWithDialog(suggested), suggested);
  QCOMPARE(asked.size(), 2);
}

QTEST_MAIN(QtLinePrinterTest)
#include "qt_line_printer_test.moc"
