// The disc window: a date and a time of Universal Time as in the solar-aspect window, the
// rotation number, semi-diameter, P, B0 and L0 at that instant, and the disc drawn for it.
// The pointer over the disc reads theta, r, B, L and DMC; a click adds a spot to the
// table, as does typing its theta and r, or its x and y on a drawing of the given
// diameter. The page (heading, disc at true scale, spots) is printed or saved as PDF or SVG.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "about/about_launcher.h"
#include "programs/date_fields.h"
#include "programs/disque/disc_page.h"
#include "programs/disque/page_printer.h"
#include "ui/desktop.h"
#include "ui/form.h"

class QTableWidget;

namespace kavrel::disque {

class DiscView;

[[nodiscard]] ui::FormTable disqueForm();

// The window's own messages.
inline constexpr char kIncompleteDate[] = "La date et l'heure doivent être remplies.";
inline constexpr char kAngleRefused[] = "L'angle de position doit être un nombre.";
inline constexpr char kDistanceRefused[] = "La distance au centre doit être un nombre.";
inline constexpr char kMillimetresRefused[] = "Les positions x et y doivent être des nombres (en millimètres).";
inline constexpr char kNothingToRemove[] = "Choisissez d'abord dans le tableau la tache à supprimer.";
inline constexpr char kPointerHint[] = "Placez le pointeur sur le disque ; un clic ajoute une tache.";
inline constexpr char kSaveTitle[] = "Enregistrer la page";

class Disque : public ui::Form {
  Q_OBJECT

 public:
  // `decimalSeparator` is the user's locale's ("," in French).
  Disque(ui::Desktop desktop, std::string decimalSeparator);
  ~Disque() override;

  // The file "&Enregistrer…" writes, asked with its format from a suggested path; an
  // empty path when the user gives up. Defaults to the file dialog.
  using SaveDialog = std::function<QString(const QString& suggested, PageFormat& format)>;
  void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }
  void setPagePrinter(std::unique_ptr<PagePrinter> printer) { m_printer = std::move(printer); }

  [[nodiscard]] about::AboutLauncher& about() { return m_about; }
  [[nodiscard]] DiscView* discView() const { return m_view; }
  [[nodiscard]] QTableWidget* spotTable() const { return m_table; }
  // The page as it would be printed now; nothing while the instant or the options are
  // refused (the reason in `error`).
  [[nodiscard]] std::optional<PageContent> pageContent(QString* error = nullptr) const;
  [[nodiscard]] std::optional<PageOptions> pageOptions(QString* error = nullptr) const;

 protected:
  // Delete in the spots' table removes the chosen spots.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();
  void optPas_Click();
  void optEst_Click();
  void picDisque_MouseMove(std::optional<DiscPoint> point);
  void picDisque_MouseDown(DiscPoint point);
  void cmdAjouter_Click();
  void cmdAjouterXY_Click();
  void cmdSupprimer_Click();
  void cmdImprimer_Click();
  void cmdEnregistrer_Click();
  void Command1_Click();
  void cmdMenu_Click();
  void Calcul();

  void nameForAccessibility();
  void addSpot(DiscPoint point);
  void showSpots();
  void showPointer();
  void refuse(const QString& text);
  [[nodiscard]] std::optional<double> numberIn(const QString& field) const;
  [[nodiscard]] int gridStep() const;
  [[nodiscard]] DrawingOrientation orientation() const;

  ui::Desktop m_desktop;
  QString m_separator;
  DateFields m_fields;
  about::AboutLauncher m_about;
  std::unique_ptr<PagePrinter> m_printer;
  SaveDialog m_saveDialog;
  DiscView* m_view = nullptr;
  QTableWidget* m_table = nullptr;
  std::optional<double> m_julianDay;
  std::optional<DiscOrientation> m_disc;
  std::optional<DiscPoint> m_pointer;
  std::vector<Spot> m_spots;
  int m_nextNumber = 1;
};

}  // namespace kavrel::disque
