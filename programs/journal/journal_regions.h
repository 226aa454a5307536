// The Journal's tab "Régions": the groups of the month shown followed from day to day into
// regions, for one source at a time (the observer's own, Greenwich's, NOAA's SRS), with the
// NOAA or Greenwich numbers matched; for the region chosen, its days and its area against
// time; and the Carrington map of the rotation under way in the middle of the month, which
// can be saved as PNG, SVG or PDF. The regions, their texts and the rotation come from the
// journal's core (journal/region_view.h), the pictures from pictures/region_pictures.h; the
// tab reads its controls and shows what they return.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "journal/journal.h"
#include "journal/region_view.h"
#include "pictures/region_pictures.h"
#include "ui/form.h"

namespace kavrel::journal {

[[nodiscard]] ui::FormTable regionsForm();

class RegionsForm : public ui::Form {
  Q_OBJECT

 public:
  explicit RegionsForm(std::string decimalSeparator);

  // The journal, the observer and the month the Journal shows (no journal: nothing shown);
  // read again.
  void setJournal(const Journal* journal, std::optional<Observer> observer, int year, int month);
  // Where "Enregistrer l'image…" writes; empty: the user gave up. The tests answer it.
  using PathDialog = std::function<QString(const QString& suggested)>;
  void setImageDialog(PathDialog dialog) { m_imageDialog = std::move(dialog); }
  // Runs on "&Quitter", which closes the Journal as the month's tab does.
  void onQuit(std::function<void()> handler) { m_quit = std::move(handler); }
  // The regions shown, as the core returned them, and the map of the month's rotation
  // (none where it could not be read: said).
  [[nodiscard]] const RegionMonth& regions() const { return m_regions; }
  [[nodiscard]] const std::optional<RotationMap>& map() const { return m_map; }

 private:
  void optSource_Click();
  void grdRegions_Click();
  void optImage_Click();
  void cmdEnregistrer_Click();
  void Form_Resize();

  [[nodiscard]] RegionSource source() const;
  void showAll();
  void showRegions();
  void showDays();
  // The picture chosen (the region's area, the rotation's map) painted at its box's size.
  void paintPicture();
  // The rotation of the month's map read; why not, empty when read.
  [[nodiscard]] std::string readMap();
  // What the picture chosen paints, with its title; none when there is nothing to paint
  // (no region chosen, no map).
  [[nodiscard]] std::optional<std::pair<Painting, QString>> painting() const;
  [[nodiscard]] bool mapChosen() const;
  // The index of the region chosen in the table, none without one.
  [[nodiscard]] std::optional<std::size_t> chosenRegion() const;

  std::string m_separator;
  const Journal* m_journal = nullptr;
  std::optional<Observer> m_observer;
  int m_year = 0;
  int m_month = 0;
  RegionMonth m_regions;
  std::optional<RotationMap> m_map;
  std::function<void()> m_quit;
  PathDialog m_imageDialog;
};

}  // namespace kavrel::journal
