// The Journal's tab "Comparaisons": the observer set beside the world. One of the three
// pictures (chart_series.h) over the years chosen, the observer's k over those years in
// its three definitions (and for each hemisphere when SILSO's hemispheric file is in the
// journal), k month by month, and the k the user chooses for the observer, kept in the
// journal with the observer (so that it follows the journal, not the window), which the
// Journal applies to the month's R it shows and to its own CSV report. Every text and
// number comes from the journal's core; the tab reads its fields and shows what the core
// returns.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "journal/chart_series.h"
#include "journal/journal.h"
#include "ui/form.h"

namespace kavrel::journal {

[[nodiscard]] ui::FormTable comparisonsForm();

class ComparisonsForm : public ui::Form {
  Q_OBJECT

 public:
  explicit ComparisonsForm(std::string decimalSeparator);

  // The journal and the observer compared (none: nothing to compare), the observer's
  // chosen k as the journal holds it; shown again.
  void setJournal(const Journal* journal, std::optional<Observer> observer);
  // The observer's chosen k shown, none when there is none.
  [[nodiscard]] std::optional<double> chosenK() const { return m_observer ? m_observer->chosenK : std::nullopt; }
  // Stores a k typed for the observer (none: cleared); true when stored, false when it
  // could not be (said by the handler). The Journal window stores it in the journal.
  using KStore = std::function<bool(Id observerId, std::optional<double> k)>;
  void onChosenK(KStore store) { m_storeK = std::move(store); }
  // Where "Enregistrer l'image…" writes; empty: the user gave up. The tests answer it.
  using PathDialog = std::function<QString(const QString& suggested)>;
  void setImageDialog(PathDialog dialog) { m_imageDialog = std::move(dialog); }
  // The picture shown, as painted.
  [[nodiscard]] const Chart& chart() const { return m_chart; }
  // Runs on "&Quitter", which closes the Journal as the month's tab does.
  void onQuit(std::function<void()> handler) { m_quit = std::move(handler); }

 private:
  void optGraphique_Click();
  void annees_LostFocus();
  void txtK_LostFocus();
  void cmdEnregistrer_Click();
  void Form_Resize();

  // Reads the years; false when one is refused (said).
  bool readYears();
  void showAll();
  void showK();
  void showChosenK();
  void showChart();
  // The picture painted at the size of its box.
  void paintChart();
  [[nodiscard]] ChartRequest request() const;

  std::string m_separator;
  const Journal* m_journal = nullptr;
  std::optional<Observer> m_observer;
  std::optional<int> m_firstYear;
  std::optional<int> m_lastYear;
  Chart m_chart;
  KStore m_storeK;
  std::function<void()> m_quit;
  PathDialog m_imageDialog;
};

}  // namespace kavrel::journal
