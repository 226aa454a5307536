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

// The window's own message; the others come with the spots and the page (disc_spots.h,
// disc_texts.h).
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

  [[nodiscard]] about::AboutLauncher& about() { return m_about; }
  [[nodiscard]] DiscView* discView() const { return m_view; }
  [[nodiscard]] QTableWidget* spotTable() const { return m_table; }
  [[nodiscard]] const std::vector<Spot>& spots() const { return m_spots.spots(); }
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
  [[nodiscard]] GridStep gridStep() const;
  [[nodiscard]] DrawingOrientation orientation() const;
  // The options as the fields stand, refused or not.
  [[nodiscard]] PageOptions drawingOptions() const;
  [[nodiscard]] QString pageName() const;
  // The instant's orientation, as the core's functions take it.
  [[nodiscard]] std::optional<DiscOrientation> disc() const;

  ui::Desktop m_desktop;
  std::string m_separator;
  DateFields m_fields;
  about::AboutLauncher m_about;
  std::unique_ptr<PagePrinter> m_printer;
  SaveDialog m_saveDialog;
  DiscView* m_view = nullptr;
  QTableWidget* m_table = nullptr;
  std::optional<DiscInstant> m_instant;
  std::optional<DiscPoint> m_pointer;
  SpotList m_spots;
};

}  // namespace kavrel::disque
