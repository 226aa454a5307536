// The observer's log window: a month at a glance (the days observed with g, f and R north,
// south and of the whole disc, the month's means under them), the day's observation (date,
// time, seeing, transparency, remarks, the counts north and south or of the disc alone,
// R shown as typed and the checks' messages beside), and the observation's groups, typed
// or made from the spots Disque measured. Every change is stored in the journal as soon as
// a field is left (Enter, Tab, another control): there is no "Save" to forget, and
// Ctrl+Z takes back the last change. The window is a front end of the editing session
// (journal/session.h), which holds the observer and month shown, the observation typed,
// its checks and undo; every text shown comes from the log's core, and the window moves
// texts between its controls and the session.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "about/about_launcher.h"
#include "journal/day_form.h"
#include "journal/journal.h"
#include "journal/session.h"
#include "journal/reports.h"
#include "ui/desktop.h"
#include "ui/document_printer.h"
#include "ui/form.h"

class QTableWidget;

namespace kavrel::journal {

class ComparisonsForm;
class RegionsForm;

[[nodiscard]] ui::FormTable journalForm();

class JournalWindow : public ui::Form {
  Q_OBJECT

 public:
  // `decimalSeparator` is the user's locale's ("," in French).
  JournalWindow(ui::Desktop desktop, std::string decimalSeparator);
  ~JournalWindow() override;

  // What the window asks of the user, each defaulting to its dialog; the tests answer
  // them. An empty path or no answer: the user gave up.
  using PathDialog = std::function<QString(const QString& suggested)>;
  void setJournalDialog(PathDialog dialog) { m_journalDialog = std::move(dialog); }
  void setSpotFileDialog(PathDialog dialog) { m_spotFileDialog = std::move(dialog); }
  void setReportDialog(PathDialog dialog) { m_reportDialog = std::move(dialog); }
  using FormatQuestion = std::function<std::optional<ReportFormat>()>;
  void setFormatQuestion(FormatQuestion question) { m_formatQuestion = std::move(question); }
  // The indexes of the spots chosen among the lines shown.
  using SpotChooser = std::function<std::vector<int>(const QStringList& spots)>;
  void setSpotChooser(SpotChooser chooser) { m_spotChooser = std::move(chooser); }
  // Whether to close though the observation typed is refused (its problems given).
  using CloseQuestion = std::function<bool(const QString& text)>;
  void setCloseQuestion(CloseQuestion question) { m_closeQuestion = std::move(question); }
  // Whether to make one group of spots lying on both sides of the equator.
  using EquatorQuestion = std::function<bool(const QString& text)>;
  void setEquatorQuestion(EquatorQuestion question) { m_equatorQuestion = std::move(question); }
  // The observer's code, name and instrument as the user types them, from what is shown
  // and why the last ones typed were refused (empty the first time); none: the user gave
  // up.
  using ObserverDialog = std::function<std::optional<ObserverTexts>(const ObserverTexts& shown, const QString& problem)>;
  void setObserverDialog(ObserverDialog dialog) { m_observerDialog = std::move(dialog); }
  void setPrinterHooks(ui::DocumentPrinter::Hooks hooks);
  // The network's base the month is sent to (a file or a server's URI) and the password
  // of a server that asks one, from the base given last; none: the user gave up.
  struct NetworkAnswer {
    QString base;
    QString password;
  };
  using NetworkDialog = std::function<std::optional<NetworkAnswer>(const QString& shown)>;
  void setNetworkDialog(NetworkDialog dialog) { m_networkDialog = std::move(dialog); }

  // Opens (or creates) the journal at `path` as "Ouvrir un journal…" does; a refused file
  // is said and the journal open stays.
  void openJournal(const QString& path);

  [[nodiscard]] Journal* journal() const { return m_session ? &m_session->journal() : nullptr; }
  [[nodiscard]] Session* session() const { return m_session.get(); }
  [[nodiscard]] about::AboutLauncher& about() { return m_about; }
  // The stored observation the form shows (0 while it is a new one not stored yet).
  [[nodiscard]] Id currentObservation() const { return m_session ? m_session->edited() : 0; }
  // Ctrl+Z.
  void undo();
  // The tab "Comparaisons" (journal_comparisons.h).
  [[nodiscard]] ComparisonsForm& comparisons() const { return *m_comparisons; }
  // The tab "Régions" (journal_regions.h).
  [[nodiscard]] RegionsForm& regions() const { return *m_regions; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Closing stores the observation typed; one refused is asked about first.
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load();
  void cmdMoisPrecedent_Click();
  void cmdMoisSuivant_Click();
  void cmdAnneePrecedente_Click();
  void cmdAnneeSuivante_Click();
  void cboMois_Click();
  void txtAnneeMois_LostFocus();
  void cboObservateur_Click();
  void cmdObservateur_Click();
  void grdMois_Click();
  void jour_Change();
  void jour_LostFocus();
  void chkDisque_Click();
  void chkSansObservation_Click();
  void cmdNouvelle_Click();
  void cmdRayer_Click();
  void lstJour_Click();
  void cmdRetenir_Click();
  void grdGroupes_Click();
  void groupe_LostFocus();
  void cmdAjouterGroupe_Click();
  void cmdRetirerGroupe_Click();
  void cmdDepuisCsv_Click();
  void cmdOuvrir_Click();
  void cmdRapport_Click();
  void cmdImprimer_Click();
  void cmdEnvoyer_Click();
  void Command1_Click();
  void cmdMenu_Click();

  [[nodiscard]] DayTexts typedDay() const;
  [[nodiscard]] GroupTexts typedGroup() const;
  void showDay(const DayTexts& texts);
  void showDayReading(const DayReading& reading);
  void showCountsMode();
  void showMonth();
  // The observers listed; the failure of their reading, empty when read whole.
  std::string showObservers();
  // The month typed or chosen shown, or why not said; what is shown is put back.
  void showMonthTyped();
  void showDayChoices();
  void showGroups();
  void showGroup(const std::optional<Group>& group);
  void fitGroupColumns();
  void placeGroupFields();
  void showStatus(const QString& news = QString());
  void showEnabled();
  // The form, the month, the groups and the status as the session holds them.
  void showAll();
  // Opens the journal at `path`; the reason when it is refused, empty when open.
  [[nodiscard]] QString openAt(const QString& path);
  void moveMonth(int step);
  // Stores what is typed when it differs from what is stored; false when it is refused
  // (its problems stand under the counts) or could not be stored (said).
  bool storeDay();
  // What a change did, shown: the month and groups read again when something was stored,
  // a failure to write said in a message; false when it failed.
  bool shown(const Outcome& outcome);
  void sayError(const QString& error);
  // `work` (a file dialog, and reading the file it names) run with the journal let go: a
  // dialog may open any file of the folder it shows, and closing it would drop the locks
  // SQLite holds on the journal (journal.h, release()). False when the journal could not be
  // taken again after: said, and the window holds no journal.
  bool withJournalReleased(const std::function<void()>& work);
  // Whether `path` names the journal open or one of SQLite's files beside it.
  [[nodiscard]] bool namesJournal(const QString& path) const;
  // The path a save dialog gave, or none when it names the journal (said).
  [[nodiscard]] QString savePathAsked(const PathDialog& dialog, const QString& suggested);
  // The month's tab and the tab "Comparaisons" (journal_comparisons.cpp).
  void addComparisonsTab();
  void showComparisons();
  // The tab "Régions" (journal_regions.cpp), and what it shows read again while it is shown.
  void addRegionsTab();
  void showRegions();
  void readRegionsTab();
  // The month's page at its size: its two tables take what the window grew by, the
  // controls under and beside them move with them.
  void placeMonthPage();

  ui::Desktop m_desktop;
  std::string m_separator;
  about::AboutLauncher m_about;
  std::unique_ptr<ui::DocumentPrinter> m_printer;
  PathDialog m_journalDialog;
  PathDialog m_spotFileDialog;
  PathDialog m_reportDialog;
  FormatQuestion m_formatQuestion;
  SpotChooser m_spotChooser;
  CloseQuestion m_closeQuestion;
  EquatorQuestion m_equatorQuestion;
  ObserverDialog m_observerDialog;
  NetworkDialog m_networkDialog;
  QString m_networkBase;  // the base the month was sent to last, for this session

  std::unique_ptr<Session> m_session;
  Id m_group = 0;                // the group in the group's fields
  std::vector<Id> m_dayRows;     // the month table's rows: the day's observation of each
  std::vector<Id> m_unobservedRows;  // and the day not observed of each (0 for an observation)
  std::vector<Id> m_groupRows;   // the groups' table rows
  std::vector<Id> m_dayChoices;  // the rows of the day's observations
  bool m_showing = false;        // the window fills its fields: nothing typed
  QString m_readErrorSaid;       // a reading's failure already said, not said twice
  QString m_groupsErrorSaid;     // the groups' alike
  QTableWidget* m_monthTable = nullptr;
  QTableWidget* m_groupTable = nullptr;
  ComparisonsForm* m_comparisons = nullptr;
  RegionsForm* m_regions = nullptr;
  QWidget* m_tabs = nullptr;
  QWidget* m_monthPage = nullptr;
  // The month page's controls where the table puts them, at the window's smallest.
  std::vector<std::pair<QWidget*, QRect>> m_monthPlaces;
  QSize m_monthPageSize;
};

}  // namespace kavrel::journal
