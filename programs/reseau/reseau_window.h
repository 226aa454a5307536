// The network's window: a base opened (a SQLite file, or a PostgreSQL server whose
// password is asked and kept in memory only), its observers with their k, days and drift,
// a month's table, the network's pictures; files imported, the month's bulletin printed.
// Everything shown comes from the network's core (reseau/overview.h); the window reads
// its fields, calls the core and shows what it returns.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "about/about_launcher.h"
#include "reseau/overview.h"
#include "reseau/store.h"
#include "ui/desktop.h"
#include "ui/document_printer.h"
#include "ui/form.h"

class QComboBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace kavrel::reseau {

[[nodiscard]] ui::FormTable reseauForm();

// A server to connect to, as the user types it; the password stays in memory.
struct ServerAnswer {
  QString host, port, base, user, password;
};

class ReseauWindow : public ui::Form {
  Q_OBJECT

 public:
  // `decimalSeparator` is the user's locale's ("," in French).
  ReseauWindow(ui::Desktop desktop, std::string decimalSeparator);
  ~ReseauWindow() override;

  // What the window asks of the user, each defaulting to its dialog; the tests answer
  // them. An empty path or no answer: the user gave up.
  using PathDialog = std::function<QString(const QString& suggested)>;
  void setBaseDialog(PathDialog dialog) { m_baseDialog = std::move(dialog); }
  void setImportDialog(PathDialog dialog) { m_importDialog = std::move(dialog); }
  using ServerDialog = std::function<std::optional<ServerAnswer>(const ServerAnswer& shown, const QString& problem)>;
  void setServerDialog(ServerDialog dialog) { m_serverDialog = std::move(dialog); }
  // The refused rows listed (`summary`, then one line each); with `question` not empty,
  // whether to import the rows that are valid.
  using RefusalDialog = std::function<bool(const QString& summary, const QStringList& lines, const QString& question)>;
  void setRefusalDialog(RefusalDialog dialog) { m_refusalDialog = std::move(dialog); }
  void setPrinterHooks(ui::DocumentPrinter::Hooks hooks);

  // Opens the base at `base` (a file or a server's URI) as "Ouvrir une base…" does; a
  // base refused is said and the one open stays.
  void openBase(const QString& base, const QString& password = QString());
  // Imports the file at `path` as "Importer…" does.
  void importPath(const QString& path);

  [[nodiscard]] Store* store() const { return m_store.get(); }
  [[nodiscard]] const Overview& overview() const { return m_overview; }
  [[nodiscard]] about::AboutLauncher& about() { return m_about; }
  [[nodiscard]] QTabWidget* tabs() const { return m_tabs; }
  [[nodiscard]] QTableWidget* observerTable() const { return m_observers; }
  [[nodiscard]] QTableWidget* monthTable() const { return m_month; }
  [[nodiscard]] QLabel* monthSummary() const { return m_summary; }
  [[nodiscard]] QComboBox* monthChoice() const { return m_monthChoice; }
  [[nodiscard]] const journal::Chart& chart() const { return m_chart; }
  // Shows the month of `year` as the month/year controls do.
  void showMonthOf(int year, int month);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void cmdOuvrir_Click();
  void cmdServeur_Click();
  void cmdImporter_Click();
  void cmdImprimer_Click();
  void Command1_Click();

  void addTabs();
  [[nodiscard]] QWidget* observersPage();
  [[nodiscard]] QWidget* monthPage();
  [[nodiscard]] QWidget* chartsPage();
  // The base's name, its engine, the overview read again and shown.
  void showAll();
  void showObservers();
  void showMonth();
  void showChart();
  void paintChart();
  void showStatus(const QString& news = QString());
  void sayError(const QString& error);
  // Takes the base opened, or says why not and keeps the one open; true when taken.
  bool take(Store::Opened opened, const QString& name);

  ui::Desktop m_desktop;
  std::string m_separator;
  about::AboutLauncher m_about;
  std::unique_ptr<ui::DocumentPrinter> m_printer;
  PathDialog m_baseDialog;
  PathDialog m_importDialog;
  ServerDialog m_serverDialog;
  RefusalDialog m_refusalDialog;

  std::unique_ptr<Store> m_store;
  QString m_baseName;  // the file's path, or the URI (no password in it)
  [[nodiscard]] bool namesBase(const QString& path) const;
  ServerAnswer m_server;  // the last server typed, without its password
  Overview m_overview;
  journal::Chart m_chart;

  QTabWidget* m_tabs = nullptr;
  QTableWidget* m_observers = nullptr;
  QComboBox* m_monthChoice = nullptr;
  QSpinBox* m_yearField = nullptr;
  bool m_monthFollowsBase = true;  // until the user picks a month: the base's last, or today's
  QTableWidget* m_month = nullptr;
  QLabel* m_summary = nullptr;
  QLabel* m_picture = nullptr;
  QRadioButton* m_chartKinds[3] = {};
};

}  // namespace kavrel::reseau
