// The observer's log window driven key by key on a journal of the test's own: a day's
// counts typed, stored as the field is left, taken back by Ctrl+Z and found again after
// the window is reopened; a refused day said beside the form and not stored; a group made
// from a spots' file that Disque saved; the month's sheet printed (as PDF, no printer
// answering) and its report written; a file that is no journal refused; the month typed,
// the observer named and chosen, the window enlarged, "Quitter" on both tabs.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include "programs/journal/journal_comparisons.h"
#include "programs/journal/journal_regions.h"
#include "programs/journal/journal_window.h"
#include "host/qt_text.h"
#include "tests/scratch_file_system.h"
#include "ui/list_box.h"
#include "window_test_support.h"

using namespace kavrel;
using namespace kavrel::testing;

namespace {

struct Fixture : OpenWindow<journal::JournalWindow> {
  // The cells of the month table's column R (R of the day, whole disc).
  QStringList monthR() const {
    QStringList cells;
    QTableWidget* table = window->table("grdMois");
    int r = 0;
    while (r < table->columnCount() && table->horizontalHeaderItem(r)->text() != QStringLiteral("R")) ++r;
    for (int row = 0; row < table->rowCount(); ++row) cells << table->item(row, r)->text();
    return cells;
  }
  // Types a field and leaves it with Enter, as a person does.
  void enter(const QString& name, const QString& text) {
    retype(w(), name, text);
    QTest::keyClick(window->textBox(name), Qt::Key_Return);
  }
  void typeDay(const QStringList& texts) {
    const QStringList fields = {"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute",
                                "txtGNord", "txtFNord", "txtGSud", "txtFSud"};
    for (int i = 0; i < fields.size(); ++i) enter(fields[i], texts[i]);
  }
  // "&Imprimer" with no printer answering, the sheet saved as the PDF `pdf`; its text as
  // pdftotext gives it with `how` ("-layout", "-bbox").
  QString printed(const QString& pdf, const QString& how) {
    ui::DocumentPrinter::Hooks hooks;
    hooks.askSavePdf = [](const QString&) { return ui::DocumentPrinter::Choice::SavePdf; };
    hooks.askPdfPath = [pdf](const QString&) { return pdf; };
    window->setPrinterHooks(hooks);
    window->button("cmdImprimer")->click();
    QProcess text;
    text.start("/usr/bin/pdftotext", {how, pdf, "-"});
    text.waitForFinished();
    return QString::fromUtf8(text.readAllStandardOutput());
  }
  // The month shown, "février 2014".
  QString month() const { return window->text("cboMois") + ' ' + window->text("txtAnnéeMois"); }
  // A month chosen in its list as a person does, from the keyboard.
  void chooseMonth(int month) {
    QComboBox* months = window->comboBox("cboMois");
    while (months->currentIndex() + 1 < month) QTest::keyClick(months, Qt::Key_Down);
    while (months->currentIndex() + 1 > month) QTest::keyClick(months, Qt::Key_Up);
  }
  // A spots' file of Disque's with the spots given as "B;L;aire" lines.
  static QString spotFile(const QString& path, const QStringList& spots) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write("date;heure_tu;numero;x_px;y_px;angle;distance;B_deg;L_deg;DMC_deg;aire_msh\n");
    for (int i = 0; i < spots.size(); ++i) {
      const QStringList cells = spots[i].split(';');
      file.write(QStringLiteral("2014-02-03;09:05;%1;10;10;1;0,1;%2;%3;-10,00;%4\n")
                     .arg(i + 1)
                     .arg(cells[0], cells[1], cells[2])
                     .toUtf8());
    }
    return path;
  }
};

// Where a control stands in its window, and whether the window shows it whole.
bool wholeInWindow(QWidget* control) {
  const QRect at(control->mapTo(control->window(), QPoint(0, 0)), control->size());
  return control->isVisible() && control->window()->rect().contains(at);
}

}  // namespace

class JournalWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", m_home->path().toUtf8());
  }

  void aDayTypedIsStoredUndoneAndFoundAgain() {
    {
      Fixture f;
      QCOMPARE(f.desktop.messages.shown.size(), 0u);
      f.typeDay({"3", "2", "2014", "9", "05", "2", "5", "8", "44"});
      QCOMPARE(f.texts({"lblRNord", "lblRSud", "lblRDisque", "txtGDisque", "txtFDisque"}),
               QStringList({"25", "124", "149", "10", "49"}));
      QCOMPARE(f.month(), QStringLiteral("février 2014"));
      QCOMPARE(f.monthR(), QStringList{"149"});
      QVERIFY(f.w().currentObservation() != 0);

      f.enter("txtFNord", "7");
      QCOMPARE(f.w().text("lblRNord"), QStringLiteral("27"));
      QCOMPARE(f.monthR(), QStringList{"151"});

      QTest::keyClick(f.w().textBox("txtFSud"), Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(f.texts({"txtFNord", "lblRNord", "lblRDisque"}), QStringList({"5", "25", "149"}));
      QCOMPARE(f.monthR(), QStringList{"149"});
      QCOMPARE(f.desktop.messages.shown.size(), 0u);
    }
    // Reopened: the month of the observation shows it as stored before Ctrl+Z.
    Fixture f;
    f.chooseMonth(2);
    f.enter("txtAnnéeMois", "2014");
    QCOMPARE(f.month(), QStringLiteral("février 2014"));
    QCOMPARE(f.monthR(), QStringList{"149"});
    f.w().table("grdMois")->selectRow(0);
    QCOMPARE(f.texts({"txtJour", "txtMois", "txtAnnée", "txtGNord", "txtFNord", "txtGSud", "txtFSud", "lblRDisque"}),
             QStringList({"3", "2", "2014", "2", "5", "8", "44", "149"}));
  }

  void aRefusedDayIsSaidAndNotStored_data() {
    QTest::addColumn<QStringList>("day");
    QTest::addColumn<QString>("said");
    QTest::newRow("fewer spots than groups") << QStringList{"3", "2", "2014", "9", "05", "3", "2", "0", "0"}
                                             << "f nord : chaque groupe a au moins une tache";
    QTest::newRow("spots without a group") << QStringList{"3", "2", "2014", "9", "05", "0", "4", "1", "1"}
                                           << "g nord : des taches sans groupe";
    QTest::newRow("a day after today") << QStringList{"3", "2", "2999", "9", "05", "1", "1", "1", "1"}
                                       << "est après aujourd'hui";
    QTest::newRow("a minute past 59") << QStringList{"3", "2", "2014", "9", "75", "1", "1", "1", "1"}
                                      << "Heure TU : 9:75 n'existe pas ; de 0:00 à 23:59.";
    QTest::newRow("a count that is no number") << QStringList{"3", "2", "2014", "9", "05", "1", "1", "un", "1"}
                                               << "g sud : « un » n'est pas un nombre entier de groupes.";
    QTest::newRow("every problem at once") << QStringList{"3", "fev", "2014", "9", "05", "3", "2", "1", "1"}
                                           << "Date, mois : « fev » n'est pas un mois en chiffres.\n"
                                              "f nord : chaque groupe a au moins une tache (f = 2 est inférieur à g = 3).";
  }
  void aRefusedDayIsSaidAndNotStored() {
    QFETCH(QStringList, day);
    QFETCH(QString, said);
    Fixture f;
    f.typeDay(day);
    QVERIFY2(f.w().text("lblVerifs").contains(said), qPrintable(f.w().text("lblVerifs")));
    QCOMPARE(f.w().currentObservation(), journal::Id{0});
    QVERIFY(f.w().journal()->monthObservations(day[2].toInt(), 2).value.empty());
  }

  // Ctrl+Z takes back what the status line says it will: the field being typed, then the
  // fields left while the observation could not be stored yet, then the journal's change.
  void ctrlZTakesBackWhatItsCaptionSays() {
    Fixture f;
    const QStringList fields = {"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute", "txtGNord", "txtFNord",
                                "txtGSud"};
    const QStringList day = {"3", "2", "2014", "9", "05", "2", "5", "8"};
    for (int i = 0; i < fields.size(); ++i) f.enter(fields[i], day[i]);
    retype(f.w(), "txtFSud", "44");
    const auto undoing = [&](const QString& caption) {
      QVERIFY2(f.w().text("lblEtat").contains("Ctrl+Z : " + caption), qPrintable(f.w().text("lblEtat")));
      QTest::keyClick(f.w().textBox("txtFSud"), Qt::Key_Z, Qt::ControlModifier);
    };
    undoing("Annuler la saisie dans f sud");
    QCOMPARE(f.texts({"txtGNord", "txtFNord", "txtGSud", "txtFSud"}), QStringList({"2", "5", "8", ""}));
    undoing("Annuler la saisie dans g sud");
    QCOMPARE(f.texts({"txtGNord", "txtFNord", "txtGSud", "txtFSud"}), QStringList({"2", "5", "", ""}));
    QCOMPARE(f.w().currentObservation(), journal::Id{0});
    f.enter("txtGSud", "8");
    f.enter("txtFSud", "44");
    QVERIFY(f.w().currentObservation() != 0);
    undoing("Annuler l'ajout de l'observation du 3 février 2014");
    QVERIFY(f.w().journal()->monthObservations(2014, 2).value.empty());
    QCOMPARE(f.desktop.messages.shown.size(), 0u);
  }

  // A day of clouds kept with its weather, counted in no mean; opened again from the month
  // and observed after all, the journal then keeps the observation alone.
  void aDayNotObservedKeptThenObserved() {
    Fixture f;
    for (const auto& [name, text] : {std::pair{"txtJour", "3"}, {"txtMois", "2"}, {"txtAnnée", "2014"}})
      f.enter(name, text);
    f.w().checkBox("chkSansObservation")->click();
    f.enter("txtRemarque", "C");
    QCOMPARE(f.w().journal()->monthUnobservedDays(2014, 2).value.size(), 1u);
    QTableWidget* month = f.w().table("grdMois");
    QCOMPARE(month->rowCount(), 1);
    QCOMPARE(month->item(0, month->columnCount() - 1)->text(), QStringLiteral("C"));
    QVERIFY(f.w().text("lblMoyennes").startsWith("Jours d'observation : 0"));
    f.w().button("cmdNouvelle")->click();
    QVERIFY(!f.w().checkBox("chkSansObservation")->isChecked());
    month->selectRow(0);
    QVERIFY(f.w().checkBox("chkSansObservation")->isChecked());
    QCOMPARE(f.w().text("txtRemarque"), QStringLiteral("C"));
    f.w().checkBox("chkSansObservation")->click();
    for (const auto& [name, text] : {std::pair{"txtGNord", "1"}, {"txtFNord", "1"}, {"txtGSud", "0"}, {"txtFSud", "0"}})
      f.enter(name, text);
    QVERIFY(f.w().currentObservation() != 0);
    QVERIFY(f.w().journal()->monthUnobservedDays(2014, 2).value.empty());
    QCOMPARE(f.monthR(), QStringList{"11"});
    QCOMPARE(f.desktop.messages.shown.size(), 0u);
  }

  // Closing on an observation the checks refuse asks first; Enter keeps the window open.
  void closingOnARefusedObservationKeepsItByDefault() {
    Fixture f;
    f.typeDay({"3", "2", "2014", "9", "05", "3", "2", "0", "0"});
    f.w().show();
    QTimer::singleShot(0, [] {
      if (QWidget* question = QApplication::activeModalWidget()) QTest::keyClick(question, Qt::Key_Return);
    });
    QVERIFY(!f.w().close());
    QVERIFY(f.w().isVisible());
    QCOMPARE(f.w().text("txtGNord"), QStringLiteral("3"));
  }

  void aGroupFromDisqueSpots() {
    Fixture f;
    f.typeDay({"3", "2", "2014", "9", "05", "2", "5", "0", "0"});
    // Two spots of a photograph astride L = 0°, the larger one weighing three times more;
    // a third spot off the disc, which cannot be chosen.
    const QString csv = m_home->filePath("photo.csv");
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("date;heure_tu;numero;x_px;y_px;angle;distance;B_deg;L_deg;DMC_deg;aire_msh\n"
               "2014-02-03;09:05;1;10;10;1;0,1;12,00;359,00;-10,00;30,0\n"
               "2014-02-03;09:05;2;12;10;1;0,1;16,00;3,00;-6,00;90,0\n"
               "2014-02-03;09:05;3;0;0;;;;;;\n");
    file.close();
    QStringList offered;
    f.w().setSpotFileDialog([csv](const QString&) { return csv; });
    f.w().setSpotChooser([&offered](const QStringList& spots) {
      offered = spots;
      return std::vector<int>{0, 1};
    });
    f.w().button("cmdDepuisCsv")->click();
    QCOMPARE(offered.size(), 2);
    QTableWidget* groups = f.w().table("grdGroupes");
    QCOMPARE(groups->rowCount(), 1);
    QStringList row;
    for (int column = 0; column < groups->columnCount(); ++column) row << groups->item(0, column)->text();
    QCOMPARE(row, QStringList({"1", "", "N", "15,00", "2,00", "-7,00", "", "", "2", "120"}));
    QCOMPARE(f.desktop.messages.shown.size(), 0u);
  }

  // No print server answers (CUPS_SERVER points nowhere): the sheet is offered as a PDF.
  void theMonthPrintedAndReported() {
    Fixture f;
    f.typeDay({"3", "2", "2014", "9", "05", "2", "5", "8", "44"});
    const QString printed = f.printed(m_home->filePath("mois.pdf"), "-layout");
    QVERIFY2(printed.contains("février 2014") && printed.contains("Moyenne de R : 149,00"), qPrintable(printed));

    QString suggested;
    const QString report = m_home->filePath("rapport.RAW");
    f.w().setFormatQuestion([] { return journal::ReportFormat::Aavso; });
    f.w().setReportDialog([&](const QString& name) {
      suggested = QFileInfo(name).fileName();
      return report;
    });
    f.w().button("cmdRapport")->click();
    QCOMPARE(suggested, QStringLiteral("OBS1402.RAW"));
    QFile written(report);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().startsWith("Solar data from: OBS"));
    // A report that cannot be written is said, naming the file.
    f.w().setReportDialog([&](const QString&) { return m_home->filePath("absent/rapport.RAW"); });
    f.w().button("cmdRapport")->click();
    QCOMPARE(f.desktop.messages.shown.size(), 1u);
    QVERIFY(f.desktop.messages.shown[0].text.contains("absent/rapport.RAW"));
  }

  // The printed month stays 10 mm inside the page's edges and gives the observer's
  // instrument, the k chosen and each day's remarks.
  void thePrintedMonthKeepsItsMargins() {
    Fixture f;
    f.typeDay({"3", "2", "2014", "9", "05", "2", "5", "8", "44"});
    paste(f.w(), "txtRemarque", "voile léger, turbulence forte près du bord est, mesures refaites deux fois");
    QTest::keyClick(f.w().textBox("txtRemarque"), Qt::Key_Return);
    f.w().setObserverDialog([](const journal::ObserverTexts&, const QString& problem) -> std::optional<journal::ObserverTexts> {
      if (!problem.isEmpty()) return std::nullopt;
      return journal::ObserverTexts{"HUZR", "Jean Dupont", "80", "1200", journal::Method::Projection};
    });
    f.w().button("cmdObservateur")->click();
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    QTest::keyClick(&f.w(), Qt::Key_2, Qt::AltModifier);
    retype(f.w().comparisons(), "txtK", "1,2");
    QTest::keyClick(f.w().comparisons().textBox("txtK"), Qt::Key_Return);
    QTest::keyClick(&f.w(), Qt::Key_1, Qt::AltModifier);

    const QString boxes = f.printed(m_home->filePath("mois.pdf"), "-bbox");
    const QRegularExpression page(R"re(<page width="([\d.]+)" height="([\d.]+)")re");
    const QRegularExpressionMatch size = page.match(boxes);
    QVERIFY2(size.hasMatch(), qPrintable(boxes));
    const double width = size.captured(1).toDouble(), height = size.captured(2).toDouble();
    const double margin = 10 / 25.4 * 72 - 0.05;  // points
    QStringList words;
    const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = word.globalMatch(boxes); it.hasNext();) {
      const QRegularExpressionMatch m = it.next();
      words << m.captured(5);
      QVERIFY2(m.captured(1).toDouble() >= margin && m.captured(2).toDouble() >= margin &&
                   m.captured(3).toDouble() <= width - margin && m.captured(4).toDouble() <= height - margin,
               qPrintable(m.captured(0)));
    }
    const QString printed = words.join(' ');
    for (const char* expected : {"Jean Dupont (HUZR)", "Instrument : ouverture 80 mm, focale 1200 mm, projection",
                                 "k choisi : 1,2", "Moyenne de R : 149,00 (× 1,2 : 178,8)", "Remarques",
                                 "3 : voile léger, turbulence forte"})
      QVERIFY2(printed.contains(QString::fromUtf8(expected)), qPrintable(printed));
  }

  // The k chosen in "Comparaisons" is the observer's, kept in the journal: it multiplies the
  // month's mean R shown and the suite's CSV (R_k), never a network's report; Ctrl+Z takes
  // it back; another journal shows its own; the window started again finds it.
  void theChosenKBelongsToTheJournal() {
    const QString kept = m_home->filePath("kavrel/journal.sqlite");
    const auto showTab = [](Fixture& f, int tab) {
      QTest::keyClick(&f.w(), Qt::Key(Qt::Key_0 + tab), Qt::AltModifier);
    };
    {
      Fixture f;
      f.typeDay({"3", "2", "2014", "9", "05", "2", "5", "8", "44"});
      f.w().show();
      QVERIFY(QTest::qWaitForWindowActive(&f.w()));
      showTab(f, 2);
      journal::ComparisonsForm& tab = f.w().comparisons();
      QVERIFY(tab.isVisible());
      QCOMPARE(tab.text("lblKChoisi"), QStringLiteral("k &choisi pour OBS"));
      QCOMPARE(tab.chart().title, std::string("Nombre de taches mensuel, 2014"));
      const auto typeK = [&](const QString& k) {
        retype(tab, "txtK", k);
        QTest::keyClick(tab.textBox("txtK"), Qt::Key_Return);
      };
      typeK("-1");
      QVERIFY(tab.text("lblMessage").startsWith("k : un nombre positif"));
      QVERIFY(!tab.chosenK());
      typeK("1,2");
      QCOMPARE(f.w().journal()->observer("OBS").value->chosenK, std::optional<double>(1.2));
      QVERIFY2(f.w().text("lblMoyennes").contains("Moyenne de R : 149,00 (× 1,2 : 178,8)"),
               qPrintable(f.w().text("lblMoyennes")));
      QCOMPARE(tab.chart().panels[0].series.back().name, std::string("R mensuel de OBS × 1,2"));

      const struct {
        journal::ReportFormat format;
        const char* holds;
        const char* said;
      } reports[] = {
          {journal::ReportFormat::Baa, ",149\n", "Comptes bruts : le réseau calcule lui-même le k"},
          {journal::ReportFormat::Csv, ";1,2;179;", "R multiplié par k = 1,2 dans la colonne R_k"},
      };
      for (const auto& r : reports) {
        const QString report = m_home->filePath("rapport.csv");
        f.w().setFormatQuestion([&] { return r.format; });
        f.w().setReportDialog([&](const QString&) { return report; });
        f.w().button("cmdRapport")->click();
        QFile written(report);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QString bytes = QString::fromUtf8(written.readAll());
        QVERIFY2(bytes.contains(r.holds), qPrintable(bytes));
        QVERIFY2(f.w().text("lblEtat").contains(r.said), qPrintable(f.w().text("lblEtat")));
      }

      f.w().undo();
      QCOMPARE(tab.text("txtK"), QString());
      QCOMPARE(f.w().journal()->observer("OBS").value->chosenK, std::nullopt);
      QVERIFY2(!f.w().text("lblMoyennes").contains("×"), qPrintable(f.w().text("lblMoyennes")));
      typeK("1,2");

      // Another journal, with an observer of the same code: none of this k.
      f.w().openJournal(m_home->filePath("autre.sqlite"));
      showTab(f, 1);
      f.typeDay({"4", "2", "2014", "9", "05", "1", "1", "0", "0"});
      showTab(f, 2);
      QCOMPARE(tab.text("lblKChoisi"), QStringLiteral("k &choisi pour OBS"));
      QCOMPARE(tab.text("txtK"), QString());
      QVERIFY(!tab.chosenK());
      f.w().openJournal(kept);
      QCOMPARE(tab.text("txtK"), QStringLiteral("1,2"));
      QCOMPARE(f.desktop.messages.shown.size(), 0u);
    }
    Fixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    showTab(f, 2);
    QCOMPARE(f.w().comparisons().text("txtK"), QStringLiteral("1,2"));
    QCOMPARE(f.w().comparisons().chosenK(), std::optional<double>(1.2));
  }

  // Two observations of one day: the better seeing makes the month's R until the other
  // is kept for the day; Ctrl+Z takes the choice back. Either is opened from the list.
  void oneOfTheDaysObservationsKept() {
    Fixture f;
    f.typeDay({"3", "2", "2014", "9", "05", "2", "5", "8", "44"});
    f.enter("txtSeeing", "4");
    f.w().button("cmdNouvelle")->click();
    f.typeDay({"3", "2", "2014", "10", "00", "1", "1", "1", "1"});
    f.enter("txtSeeing", "2");
    const journal::Id later = f.w().currentObservation();
    QCOMPARE(f.w().journal()->monthObservations(2014, 2).value.size(), 2u);
    ui::ListBox* list = f.w().listBox("lstJour");
    const auto items = [list] {
      QStringList texts;
      for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
      return texts;
    };
    QVERIFY(list->isVisibleTo(&f.w()));
    QCOMPARE(items(), QStringList({"09:05 (retenue)", "10:00"}));
    QCOMPARE(f.monthR(), QStringList{"149"});

    f.w().button("cmdRetenir")->click();
    QCOMPARE(f.monthR(), QStringList{"22"});
    QCOMPARE(items(), QStringList({"09:05", "10:00 (retenue)"}));
    QVERIFY2(f.w().text("lblMoyennes").contains("Moyenne de R : 22,00"), qPrintable(f.w().text("lblMoyennes")));

    QTest::keyClick(f.w().textBox("txtFSud"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.monthR(), QStringList{"149"});
    QCOMPARE(f.w().currentObservation(), later);

    list->setCurrentRow(0);
    QVERIFY(f.w().currentObservation() != later);
    QCOMPARE(f.w().text("lblRDisque"), QStringLiteral("149"));
    QCOMPARE(f.desktop.messages.shown.size(), 0u);
  }

  // A journal on a read-only medium is read; the window says why once (one message, the
  // status line), its fields cannot be typed into, and it closes without a word.
  void aReadOnlyJournalIsReadAndSaidOnce() {
    const QString model = m_home->filePath("model.sqlite");
    {
      auto made = journal::Journal::open(model.toStdString());
      QVERIFY(made.journal);
      QVERIFY(made.journal->addObservation({0, {2014, 2, 3}, {9, 5}, 0, 4, {}, "", journal::Tally::wholeDisc({2, 4}),
                                            false}, "", {2026, 1, 1}).done());
    }
    QFile bytes(model);
    QVERIFY(bytes.open(QIODevice::ReadOnly));
    const testing::ScratchFileSystem medium(testing::Place::ReadOnly, "journal.sqlite", bytes.readAll().toStdString());
    if (!medium.reason().empty()) QSKIP(medium.reason().c_str());
    const QString reason = QStringLiteral("Ce journal est en lecture seule : il est sur un support en lecture seule.");

    Fixture f;
    f.w().openJournal(toQString(medium.path()));
    QTest::qWait(0);
    QCOMPARE(toQString(f.w().journal()->path()), toQString(medium.path()));
    QCOMPARE(f.desktop.messages.shown.size(), 1u);
    QCOMPARE(f.desktop.messages.shown[0].text, reason);
    QVERIFY2(f.w().text("lblEtat").contains(reason), qPrintable(f.w().text("lblEtat")));
    QCOMPARE(f.w().journal()->monthObservations(2014, 2).value.size(), 1u);
    for (const char* name : {"txtJour", "txtHeure", "txtGDisque", "txtGNord", "txtGrNumero"})
      QVERIFY2(f.w().textBox(name)->isReadOnly(), name);
    for (const char* name : {"chkDisque", "cmdNouvelle", "cmdRayer", "cmdAjouterGroupe", "cmdDepuisCsv"})
      QVERIFY2(!f.w().control(name)->isEnabled(), name);
    QVERIFY(f.w().control("cmdRapport")->isEnabled());
    f.w().close();
    QCOMPARE(f.desktop.messages.shown.size(), 1u);
  }

  // Another month reached by its year typed, in one step, or by the arrow keys in the
  // year; a year refused is said and the month shown stays.
  void theMonthTyped_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("year");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("said");
    QTest::newRow("a year far back") << 6 << "1975" << int(Qt::Key_Return) << "juin 1975" << "";
    QTest::newRow("the year after, by the up arrow") << 6 << "1975" << int(Qt::Key_Up) << "juin 1976" << "";
    // The month chosen is shown at once, in the year shown.
    QTest::newRow("a letter in the year") << 6 << "19a5" << int(Qt::Key_Return) << "juin 2014"
                                          << "Année : « 19a5 » n'est pas une année de 1 à 9999.";
    QTest::newRow("year 0") << 2 << "0" << int(Qt::Key_Return) << "février 2014"
                            << "Année : « 0 » n'est pas une année de 1 à 9999.";
  }
  void theMonthTyped() {
    QFETCH(int, month);
    QFETCH(QString, year);
    QFETCH(int, key);
    QFETCH(QString, shown);
    QFETCH(QString, said);
    Fixture f;
    f.typeDay({"3", "2", "2014", "9", "05", "2", "5", "8", "44"});
    QCOMPARE(f.month(), QStringLiteral("février 2014"));
    f.chooseMonth(month);
    retype(f.w(), "txtAnnéeMois", year);
    if (key == Qt::Key_Up) QTest::keyClick(f.w().textBox("txtAnnéeMois"), Qt::Key_Return);
    QTest::keyClick(f.w().textBox("txtAnnéeMois"), Qt::Key(key));
    QCOMPARE(f.month(), shown);
    QCOMPARE(f.desktop.messages.shown.size(), said.isEmpty() ? 0u : 1u);
    if (!said.isEmpty()) QCOMPARE(f.desktop.messages.shown[0].text, said);
    QCOMPARE(f.monthR(), shown == "février 2014" ? QStringList{"149"} : QStringList{});
  }

  // The observer named and given an instrument, asked again while refused; another chosen.
  void theObserverNamedAndChosen() {
    Fixture f;
    f.typeDay({"3", "2", "2014", "9", "05", "2", "5", "8", "44"});
    QComboBox* observers = f.w().comboBox("cboObservateur");
    QCOMPARE(observers->currentText(), QStringLiteral("OBS"));
    QStringList problems;
    f.w().setObserverDialog([&](const journal::ObserverTexts& shown, const QString& problem) {
      problems << problem;
      journal::ObserverTexts typed = shown;
      typed.code = "HUZR";
      typed.name = "Jean Dupont";
      typed.aperture = problems.size() == 1 ? "8o" : "80";
      typed.method = journal::Method::Projection;
      return std::optional(typed);
    });
    f.w().button("cmdObservateur")->click();
    QCOMPARE(problems, QStringList({"", "Ouverture : « 8o » n'est pas un nombre entier de millimètres."}));
    QCOMPARE(observers->currentText(), QStringLiteral("Jean Dupont (HUZR)"));
    QCOMPARE(observers->toolTip(), QStringLiteral("ouverture 80 mm, projection"));
    QCOMPARE(labelledBy(observers), QStringList{"lblObservateur"});

    // A second observer, without observations: their month is empty, the first's comes back.
    journal::Observer other;
    other.code = "ABCD";
    other.name = "ABCD";
    QVERIFY(f.w().journal()->addObserver(other).done());
    f.w().button("cmdMoisSuivant")->click();
    f.w().button("cmdMoisPrecedent")->click();
    QCOMPARE(observers->count(), 2);
    observers->setFocus();
    QTest::keyClick(observers, observers->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(f.w().session()->observer()->code, std::string("ABCD"));
    QCOMPARE(f.monthR(), QStringList{});
    QTest::keyClick(observers, observers->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(f.monthR(), QStringList{"149"});
    QCOMPARE(f.desktop.messages.shown.size(), 0u);
  }

  // Spots on both sides of the equator make one group only when the observer says so.
  void aGroupAstrideTheEquatorIsQuestioned_data() {
    QTest::addColumn<QStringList>("spots");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("groups");
    QTest::newRow("both sides, answered no") << QStringList{"3,00;100,00;10", "-2,00;101,00;10"} << false << 1 << 0;
    QTest::newRow("both sides, answered yes") << QStringList{"3,00;100,00;10", "-2,00;101,00;10"} << true << 1 << 1;
    QTest::newRow("one side: not asked") << QStringList{"3,00;100,00;10", "5,00;101,00;10"} << false << 0 << 1;
  }
  void aGroupAstrideTheEquatorIsQuestioned() {
    QFETCH(QStringList, spots);
    QFETCH(bool, answer);
    QFETCH(int, asked);
    QFETCH(int, groups);
    Fixture f;
    f.typeDay({"3", "2", "2014", "9", "05", "2", "5", "0", "0"});
    const QString csv = Fixture::spotFile(m_home->filePath("photo.csv"), spots);
    f.w().setSpotFileDialog([csv](const QString&) { return csv; });
    f.w().setSpotChooser([](const QStringList&) { return std::vector<int>{0, 1}; });
    int questions = 0;
    f.w().setEquatorQuestion([&](const QString& text) {
      ++questions;
      return text.contains("équateur") && answer;
    });
    f.w().button("cmdDepuisCsv")->click();
    QCOMPARE(questions, asked);
    QCOMPARE(f.w().table("grdGroupes")->rowCount(), groups);
    if (groups == 0) QVERIFY2(f.w().text("lblEtat").contains("pas été formé"), qPrintable(f.w().text("lblEtat")));
  }

  // The window enlarged: both tables and the Comparisons' picture take the room, and what
  // stood under and beside them stays in the window, whole.
  void theWindowEnlarged() {
    Fixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
    const QSize smallest = f.w().size();
    QCOMPARE(f.w().minimumSize(), smallest);
    QTableWidget* month = f.w().table("grdMois");
    QTableWidget* groups = f.w().table("grdGroupes");
    const QSize monthBefore = month->size(), groupsBefore = groups->size();
    f.w().resize(smallest + QSize(400, 300));
    QTRY_COMPARE(month->size(), monthBefore + QSize(200, 300));
    QCOMPARE(groups->size(), groupsBefore + QSize(200, 300));
    QVERIFY(groups->x() > month->geometry().right());
    for (const char* name : {"cmdMenu", "lblEtat", "lblMoyennes", "cmdDepuisCsv", "txtGrAire", "cmdImprimer"})
      QVERIFY2(wholeInWindow(f.w().control(name)), name);
    QVERIFY(f.w().control("lblMoyennes")->y() > month->geometry().bottom());
    QVERIFY(f.w().control("txtGrNumero")->y() > groups->geometry().bottom());

    QTest::keyClick(&f.w(), Qt::Key_2, Qt::AltModifier);
    journal::ComparisonsForm& tab = f.w().comparisons();
    QTRY_VERIFY(tab.isVisible());
    const QSize picture = tab.control("picGraphique")->size();
    QCOMPARE(picture, tab.toPixels({4320, 120, 11760, 7200}).size() + QSize(400, 300));
    QCOMPARE(qobject_cast<QLabel*>(tab.control("picGraphique"))->pixmap().deviceIndependentSize().toSize(),
             tab.control("picGraphique")->contentsRect().size());
    for (const char* name : {"cmdMenu", "lstKMois", "cmdEnregistrer"}) QVERIFY2(wholeInWindow(tab.control(name)), name);
  }

  // "Quitter" on either tab, with its one access key, closes as the month's does: asking
  // first when the observation typed is refused.
  void quitOnEitherTab_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("refused");
    QTest::newRow("the month's tab") << 1 << false;
    QTest::newRow("Comparaisons") << 2 << false;
    QTest::newRow("Comparaisons, an observation refused") << 2 << true;
    QTest::newRow("Régions") << 4 << false;
  }
  void quitOnEitherTab() {
    QFETCH(int, tab);
    QFETCH(bool, refused);
    Fixture f;
    if (refused) f.typeDay({"3", "2", "2014", "9", "05", "3", "2", "0", "0"});
    int asked = 0;
    f.w().setCloseQuestion([&](const QString&) {
      ++asked;
      return false;
    });
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    QTest::keyClick(&f.w(), Qt::Key(Qt::Key_0 + tab), Qt::AltModifier);
    // A button's access key presses it as a click of the mouse does, a moment later.
    QTest::keyClick(&f.w(), Qt::Key_Q, Qt::AltModifier);
    if (refused) {
      QTRY_COMPARE(asked, 1);
      QVERIFY(f.w().isVisible());
    } else {
      QTRY_VERIFY(!f.window || !f.window->isVisible());
      QCOMPARE(asked, 0);
    }
  }

  // Every access key of a tab is its own: the same letter twice would reach only one.
  void accessKeysAreUniqueOnEachTab() {
    Fixture f;
    f.w().show();
    const auto keys = [](QWidget* page) {
      QStringList letters;
      QList<QWidget*> controls = page->findChildren<QWidget*>();
      for (QWidget* control : controls) {
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(control)) text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(control); label && label->buddy()) text = label->text();
        const qsizetype at = text.indexOf('&');
        if (at >= 0 && at + 1 < text.size() && text[at + 1] != '&') letters << text.mid(at + 1, 1).toLower();
      }
      return letters;
    };
    const auto* tabs = f.w().findChild<QTabWidget*>("tabJournal");
    for (int i = 0; i < tabs->count(); ++i) {
      QStringList letters = keys(tabs->widget(i));
      letters << "1" << "2" << "4";
      QVERIFY2(letters.contains("q"), qPrintable(tabs->tabText(i)));
      letters.sort();
      QCOMPARE(letters.removeDuplicates(), 0);
    }
  }

  // The disc's counts, the sums of north and south, say why they take no key.
  void theDiscSumsSayWhy() {
    Fixture f;
    QLineEdit* groups = f.w().textBox("txtGDisque");
    QVERIFY(groups->isReadOnly());
    QVERIFY(groups->toolTip().contains("somme du nord et du sud"));
    QCOMPARE(groups->accessibleDescription(), groups->toolTip());
    QTest::keyClick(groups, Qt::Key_4);
    QVERIFY2(f.w().text("lblEtat").contains("somme du nord et du sud"), qPrintable(f.w().text("lblEtat")));
    QCOMPARE(groups->text(), QString());
  }

  // Greenwich's records imported in the journal: the tab "Régions" (its access key) shows the
  // month's regions with their numbers, and the days of the one chosen.
  void theRegionsTabShowsTheMonthsRegionsAndTheDaysOfOne() {
    {
      journal::Journal::Opened opened = journal::Journal::open(journal::defaultJournalPath());
      QVERIFY(opened.journal);
      // group, day of February 2014, Carrington longitude, latitude, central-meridian distance
      const struct { int group, day; double longitude, latitude, cmd; } seen[] = {
          {11966, 3, 225, -16, -20}, {11966, 4, 225, -16, -7}, {11966, 5, 225.5, -16, 6},
          {11967, 4, 100, 12, 30},   {11967, 5, 100, 12, 43},  {11970, 20, 300, 8, -10}};
      std::string lines;
      for (const auto& s : seen)
        lines += QString::asprintf("2014 2%2d.500%8d BGD    0  270    0  210 0.764 251.7%6.1f%6.1f%6.1f\n", s.day,
                                   s.group, s.longitude, s.latitude, s.cmd).toStdString();
      const journal::GroupFile file = journal::parseGroupFile(lines);
      QCOMPARE(QString::fromStdString(file.error), QString());
      QVERIFY(opened.journal->importGroupRecords(file).done());
    }
    Fixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    f.chooseMonth(2);
    f.enter("txtAnnéeMois", "2014");
    QTest::keyClick(&f.w(), Qt::Key_4, Qt::AltModifier);
    journal::RegionsForm& tab = f.w().regions();
    QTRY_VERIFY(tab.isVisible());
    QTest::keyClick(&tab, Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(tab.table("grdRegions")->rowCount(), 3);
    QStringList numbers, firsts;
    for (int row = 0; row < 3; ++row) {
      numbers << tab.table("grdRegions")->item(row, 10)->text();
      firsts << tab.table("grdRegions")->item(row, 1)->text();
    }
    QCOMPARE(numbers, QStringList({"11966", "11967", "11970"}));
    QCOMPARE(firsts, QStringList({"03/02/2014", "04/02/2014", "20/02/2014"}));
    QVERIFY2(tab.text("lblMoisRegions").startsWith("3 régions de Greenwich"), qPrintable(tab.text("lblMoisRegions")));
    QCOMPARE(tab.table("grdJours")->rowCount(), 0);
    QVERIFY(!tab.button("cmdEnregistrer")->isEnabled());
    tab.table("grdRegions")->selectRow(1);
    QCOMPARE(tab.text("lblMessage"), QString());
    QTableWidget* days = tab.table("grdJours");
    QCOMPARE(days->rowCount(), 2);
    QCOMPARE(QStringList({days->item(0, 0)->text(), days->item(1, 0)->text(), days->item(1, 2)->text()}),
             QStringList({"04/02/2014", "05/02/2014", "12,00"}));
    QCOMPARE(accessibleName(days), QStringLiteral("Jours de la région 2"));

    // The rotation's map saved: a folder that does not exist is said, never reported written.
    QTest::keyClick(&tab, Qt::Key_C, Qt::AltModifier);
    QTRY_COMPARE(accessibleName(tab.control("picImage")), QStringLiteral("Carte de la rotation 2147"));
    QString answer = m_home->filePath("nowhere/carte.svg");
    tab.setImageDialog([&](const QString&) { return answer; });
    tab.button("cmdEnregistrer")->click();
    QVERIFY2(tab.text("lblMessage").contains("n'a pas pu être écrit"), qPrintable(tab.text("lblMessage")));
    answer = m_home->filePath("carte.svg");
    tab.button("cmdEnregistrer")->click();
    QCOMPARE(tab.text("lblMessage"), "Image enregistrée : " + answer);
    QVERIFY(QFileInfo(answer).size() > 0);
  }

  void aFileThatIsNoJournalIsRefused() {
    Fixture f;
    const QString kept = toQString(f.w().journal()->path());
    const QString picture = m_home->filePath("photo.sqlite");
    QFile file(picture);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG\r\n\x1a\n not a journal at all, but long enough to be read as a file's header......");
    file.close();
    f.w().openJournal(picture);
    QCOMPARE(f.desktop.messages.shown.size(), 1u);
    QCOMPARE(toQString(f.w().journal()->path()), kept);
  }

 private:
  std::unique_ptr<QTemporaryDir> m_home;
};

QTEST_MAIN(JournalWindowTest)
#include "journal_window_test.moc"
