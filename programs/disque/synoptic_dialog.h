// The dialog "Carte synoptique", asked once the photographs are chosen: the Carrington
// rotation to map (the one under way at the first photograph proposed) and the map's step
// in degrees of longitude and latitude a pixel. It holds the two texts as typed; the
// synoptic engine reads and refuses them (disque/synoptic_map.h).
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;

namespace kavrel::disque {

// The rotation and the step as typed.
struct SynopticChoice {
  QString rotation;
  QString step;
};

class SynopticDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Carte synoptique";
  static constexpr const char* kRotationLabel = "&Rotation de Carrington :";
  static constexpr const char* kStepLabel = "&Pas (degrés par pixel) :";
  static constexpr const char* kMakeButton = "&Faire la carte";
  static constexpr const char* kCancelButton = "Annuler";
  static constexpr const char* kRotationName = "Rotation de Carrington à cartographier";
  static constexpr const char* kStepName = "Pas de la carte, degrés de longitude et de latitude par pixel";
  static constexpr const char* kPhotographsName = "Photographies choisies";

  // `photographs` says which were chosen ("3 photographies, du … au …").
  SynopticDialog(const QString& photographs, const SynopticChoice& proposed, QWidget* parent = nullptr);

  [[nodiscard]] SynopticChoice choice() const;
  [[nodiscard]] QLineEdit* rotation() const { return m_rotation; }
  [[nodiscard]] QLineEdit* step() const { return m_step; }

 private:
  QLineEdit* m_rotation = nullptr;
  QLineEdit* m_step = nullptr;
};

// The dialog, modal over the active window; nothing when the user gives up.
[[nodiscard]] std::optional<SynopticChoice> askSynopticChoice(const QString& photographs,
                                                              const SynopticChoice& proposed);

}  // namespace kavrel::disque
